#include "rooms/pocket.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "game/user_info.h"
#include "graphics/texture.h"
#include "objects/object.h"
#include "rooms/frame_object.h"
#include "rooms/room_factory.h"
#include "rooms/scene_mouse_event.h"
#include "ui/window_manager.h"

namespace {

// The show effector comes from the application's effector factory, as every effector does.
// Without it the pocket builds the same kinds itself.
struct TPocketEffectorKinds : TEffectorsFactory {
    using TEffectorsFactory::CreateEffector;
};

// A movement longer than this is a damaged file, not a slow close-up: while a pocket shrinks
// the room takes no press.
const float kMaxMovementSeconds = 10.0f;

// NaN, infinity, a negative or an absurd time is refused where it is read, so that showing
// and hiding agree on whether there is a movement.
float ReadMovementTime(TiXmlElement* element, const char* key, const std::string& pocket)
{
    const float seconds = GetAttrFloat(element, key, 0.3f);
    if (seconds >= 0.0f && seconds <= kMaxMovementSeconds) return seconds;
    GetLogger()->LogMessage("pocket %s: %s %g refused, taken as 0.3", pocket.c_str(), key, static_cast<double>(seconds));
    return 0.3f;
}

// A start point is a place on the screen, or unset (the largest float) for the point the
// pocket is opened from. Anything else (NaN, an infinity, a point far off every screen) would
// carry into the render origin while the pocket grows: it is taken as unset, with a line.
float ReadStartPoint(TiXmlElement* element, const char* key)
{
    const float value = GetAttrFloat(element, key, TPocket::kUnset);
    const float limit = static_cast<float>(kMaxFileCoordinate);
    if (value == TPocket::kUnset || (value >= -limit && value <= limit)) return value;
    LogAttrOutOfRange(element, key, ElementFileName(element), "unset");
    return TPocket::kUnset;
}

TEffector* BuildShowEffector(const std::string& type)
{
    if (auto* factory = GetAppState().mEffectorsFactory.get()) return factory->Create(type);
    return TPocketEffectorKinds().CreateEffector(type);
}

int32_t Truncated(float value) { return TruncToInt(value); }

// One movement of a pocket (or of its room's zoom): from a point at one scale to a point at
// another, played on the target.
void StartMovement(TShowPocketEffector& effector, DrawObject* target, float fromX, float fromY, float toX, float toY,
                   float fromScale, float toScaleX, float toScaleY, float duration, bool hiding,
                   TShowPocketEffectorListener* listener)
{
    effector.mStartX = fromX;
    effector.mStartY = fromY;
    effector.mEndX = toX;
    effector.mEndY = toY;
    effector.mStartScaleX = effector.mStartScaleY = fromScale;
    effector.mEndScaleX = toScaleX;
    effector.mEndScaleY = toScaleY;
    effector.mDuration = duration;
    effector.mHiding = hiding ? 1 : 0;
    effector.Play();
    effector.SetTarget(target);
    effector.mDoneListener = listener;
}

}  // namespace

// ---- TShowPocketEffector ----

void TShowPocketEffector::Play()
{
    mMover.StartSegment(mStartX, mStartY, mEndX, mEndY, mDuration, 0.0f, 0, false);
    mScaleX.Set(mStartScaleX, mEndScaleX, std::fabs(mDuration), true);
    mScaleY.Set(mStartScaleY, mEndScaleY, std::fabs(mDuration), true);
    mDone = false;
}

void TShowPocketEffector::Update(float dt)
{
    if (!mTarget) return;
    mMover.Update(dt);
    mScaleX.Update(dt);
    mScaleY.Update(dt);
    const float sx = mScaleX.mCurrent;
    const float sy = mScaleY.mCurrent;
    mTarget->SetScaleXY(sx, sy);
    // Scaled about the moving point: that point stays where it is on screen.
    const float referenceX = mHiding ? mStartScaleX : mEndScaleX;
    const float referenceY = mHiding ? mStartScaleY : mEndScaleY;
    mTarget->SetPosition((referenceX - sx) * mMover.mX, (referenceY - sy) * mMover.mY, true);
    mDone = mScaleY.mFinished;
    // The listener clears the target, so it hears this once.
    if (mDone && mDoneListener) mDoneListener->OnShowPocketDone(this);
}

void TShowPocketEffector::Stop()
{
    mMover.SetPoint(mEndX, mEndY);
    mScaleX.SetValue(mEndScaleX);
    mScaleY.SetValue(mEndScaleY);
    mDone = true;
}

TEffector* TShowPocketEffector::Clone() const
{
    TShowPocketEffector* clone = new TShowPocketEffector();
    CopyTo(clone);
    clone->mHiding = mHiding;
    clone->mMover = mMover;
    clone->mScaleX = mScaleX;
    clone->mScaleY = mScaleY;
    clone->mStartX = mStartX;
    clone->mStartY = mStartY;
    clone->mEndX = mEndX;
    clone->mEndY = mEndY;
    clone->mStartScaleX = mStartScaleX;
    clone->mStartScaleY = mStartScaleY;
    clone->mEndScaleX = mEndScaleX;
    clone->mEndScaleY = mEndScaleY;
    clone->mDuration = mDuration;
    clone->mDone = mDone;
    clone->mDoneListener = mDoneListener;
    return clone;
}

// ---- TPocket ----

TPocket::TPocket()
{
    mCanShowBackHint = false;
    mFrameImage.SetVisible(false);
}

void TPocket::LoadAttributes(TiXmlElement* element)
{
    TRoom::LoadAttributes(element);
    if (!element) return;
    mShowSound = GetAttrString(element, "showsound", "showpocket");
    mHideSound = GetAttrString(element, "hidesound", "hidepocket");
    mLoadWithOwner = GetAttrBool(element, "loadtexturesonloadowner", false);
    mToolsToClose.clear();
    GetAttrList(element, "toolstoclosepocket", ',', mToolsToClose);
    mBoxObjectName = GetAttrString(element, "boxobj", "");
    mBackImageX = GetAttrInt(element, "backimagex", 0);
    mBackImageY = GetAttrInt(element, "backimagey", 0);
    if (GetAttrBool(element, "alloweffectorshow", true)) {
        const std::string type = GetAttrString(element, "effector", "showpocket");
        mOwnEffector.reset(BuildShowEffector(type));
        if (!mOwnEffector) GetLogger()->LogDebug("pocket %s: no show effector of type %s", mSpaceName.c_str(), type.c_str());
    }
    mActivateShadow = GetAttrBool(element, "activateshadow", true);
    const std::string frame = GetAttrString(element, "frame", "");
    mFrameImage.mTextureName = frame;
    mFrameImage.SetVisible(!frame.empty());
    mStartX = ReadStartPoint(element, "startx");
    mStartY = ReadStartPoint(element, "starty");
    if (!frame.empty()) {
        mFrameImage.SetPosition(static_cast<float>(GetAttrInt(element, "framex", 0)),
                                static_cast<float>(GetAttrInt(element, "framey", 0)), false);
    }
    mAppearTime = ReadMovementTime(element, "appeartime", mSpaceName);
    mDisappearTime = ReadMovementTime(element, "disappeartime", mSpaceName);
}

TShowPocketEffector* TPocket::GetShowEffector() const
{
    return dynamic_cast<TShowPocketEffector*>(mOwnEffector.get());
}

void TPocket::OnShow()
{
    LoadObjectResources(0);
    TRoom::OnShow();

    // The owner zooms towards the pocket when it has a zoom of its own (no room here has).
    if (mOwnerRoom && (mOwnerRoom->GetSpaceType() == kSpaceRoom || mOwnerRoom->GetSpaceType() == 16) &&
        mAppearTime > 0.0f) {
        if (auto* zoom = dynamic_cast<TShowPocketEffector*>(mOwnerRoom->mOwnEffector.get())) {
            const float w = static_cast<float>(GetLayoutWidth());
            const float h = static_cast<float>(GetLayoutHeight());
            const int32_t dx = Truncated(w * 0.5f - mStartX);
            const int32_t dy = Truncated(h * 0.5f - mStartY);
            const int32_t mx = dx < 0 ? dx : 0;
            const int32_t my = dy < 0 ? dy : 0;
            const float sx = mx != 0 ? std::fabs(w / static_cast<float>(mx)) : 1.0f;
            const float sy = my != 0 ? std::fabs(h / static_cast<float>(my)) : 1.0f;
            StartMovement(*zoom, mOwnerRoom, 0.0f, 0.0f, static_cast<float>(mx), static_cast<float>(my), 1.0f, sx, sy,
                          mAppearTime, false, nullptr);
            SetScaleXY(sx, sy);
            SetPosition(0.0f, 0.0f, true);
        }
    }

    TShowPocketEffector* effector = GetShowEffector();
    if (effector && mAppearTime > 0.0f) {
        // Our render origin moves the viewport top-down on every driver: the start point is
        // taken as given, so the pocket grows out of the point it was opened from.
        StartMovement(*effector, this, mStartX, mStartY, static_cast<float>(mRectX), static_cast<float>(mRectY), 0.2f,
                      1.0f, 1.0f, mAppearTime, false, nullptr);
        SetScale(0.2f);
        SetPosition(mStartX, mStartY, true);
    } else {
        // Shown at full size at once; an earlier hide movement left it small.
        SetScale(1.0f);
        SetPosition(0.0f, 0.0f, true);
    }
}

int TPocket::OnHide()
{
    if (HasHideMovement()) {
        StartMovement(*GetShowEffector(), this, mX, -mY, mStartX, mStartY, 1.0f, 0.2f, 0.2f, mDisappearTime, true,
                      mOwnerRoom);
    }
    ClosePocket(1);
    mOpenPocket = nullptr;
    mPocketShadow.reset();
    const int answer = TBaseRoom::OnHide();
    GetUserInfo()->AddPair("PH", (mOwnerRoom ? mOwnerRoom->mSpaceName : std::string()) + "." + mSpaceName);
    return answer;
}

void TPocket::Finish()
{
    TRoom::Finish();
    const TObjectRefList* const lists[6] = {&mUnlock, &mLock, &mVisible, &mHide, &mActivate, &mDeactivate};
    ApplyIndexedGroups(lists, mStates, mFlags, 0);
    GetUserInfo()->AddPair("PD", (mOwnerRoom ? mOwnerRoom->mSpaceName : std::string()) + "." + mSpaceName);
}

void TPocket::Draw()
{
    TRoom::Draw();
    // Over the transform: the frame and the top layer stay at full size while the content grows.
    if (mFrameImage.IsVisible()) mFrameImage.Draw(1.0f);
    DrawObjectsOfLayer(3);
    if (TFrameObject* frame = GetAppState().mFrameObject) frame->Draw(1.0f);
}

void TPocket::PlaceFrame(TiXmlElement* /*element*/)
{
    TFrameObject* frame = GetAppState().mFrameObject;
    if (!frame) return;
    frame->PlaceAt(static_cast<float>(static_cast<long long>(mBackImageX) + mRectX),
                   static_cast<float>(static_cast<long long>(mBackImageY) + mRectY));
}

void TPocket::LoadObjectResources(int mode)
{
    TRoom::LoadObjectResources(mode);
    if (!mFrameImage.mTextureName.empty()) {
        // The frame is never hit-tested: it keeps no alpha mask.
        const bool keep = KeepTextureAlpha;
        KeepTextureAlpha = false;
        mFrameImage.SetTexture(mFrameImage.mTextureName);
        KeepTextureAlpha = keep;
    }
    FitRectToObjects();
}

void TPocket::FreeObjectResources()
{
    TRoom::FreeObjectResources();
    mFrameImage.FreeTexture();
}

void TPocket::FitRectToObjects()
{
    mRectX = mLoadedX;
    mRectY = mLoadedY;
    mRectW = mLoadedW;
    mRectH = mLoadedH;
    bool any = false;
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    for (const auto& object : mObjects) {
        if (!object->IsVisible()) continue;
        float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
        object->GetRect(&x, &y, &w, &h);
        if (!any) {
            left = x;
            top = y;
            right = x + w;
            bottom = y + h;
            any = true;
        } else {
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + w);
            bottom = std::max(bottom, y + h);
        }
    }
    if (mRectX == 0) mRectX = Truncated(left);
    if (mRectY == 0) mRectY = Truncated(top);
    if (mRectW == 0) mRectW = Truncated(right - left);
    if (mRectH == 0) mRectH = Truncated(bottom - top);
}

bool TPocket::OnMouseDown(const TSceneMouseEvent& event)
{
    mHintText.clear();
    return TRoom::OnMouseDown(event);
}

bool TPocket::OnMouseUp(const TSceneMouseEvent& event) { return TRoom::OnMouseUp(event); }

bool TPocket::OnMouseMove(const TSceneMouseEvent& event)
{
    const bool inside = event.mX >= mRectX && event.mX < static_cast<long long>(mRectX) + mRectW &&
                        event.mY >= mRectY && event.mY < static_cast<long long>(mRectY) + mRectH;
    if (!inside || mInputDisabled) return false;
    if (mOpenPocket) {
        mOpenPocket->OnMouseMove(event);
    } else {
        TGameSpace::OnMouseMove(event);
    }
    return false;
}

TPocket* TPocket::FindPocket(const std::string& name)
{
    if (mSpaceName == name) return this;
    for (const auto& pocket : mPockets) {
        if (pocket->mSpaceName == name) return pocket.get();
    }
    return nullptr;
}

TEffector* TPocket::GetEffector(int index) const { return mOwnerRoom ? mOwnerRoom->GetEffector(index) : nullptr; }

int TPocket::GetEffectorCount() const { return mOwnerRoom ? mOwnerRoom->GetEffectorCount() : 0; }
