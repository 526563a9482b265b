#include "objects/found_objects.h"

#include <tinyxml.h>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "game/map_window.h"
#include "game/user_info.h"
#include "rooms/collections.h"
#include "rooms/game_space.h"
#include "rooms/room.h"
#include "rooms/scene_mouse_event.h"
#include "sound/sound_manager.h"
#include "ui/text_image.h"
#include "ui/window_manager.h"

namespace {

}  // namespace

// ---------------------------------------------------------------- hidden item

THiddenObject::~THiddenObject() = default;

void THiddenObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mFadeTime = GetAttrFloat(e, "speed", 1.0f);
    mMaxAlpha = GetAttrFloat(e, "maxalpha", 1.0f);
    mMinAlpha = GetAttrFloat(e, "minalpha", 1.0f);
    const std::string type = GetAttrString(e, "animtype", "");
    mMode = type == "flipflop" ? kHiddenFlipFlop
            : type == "flash" ? kHiddenFlash
            : type == "flashrepeat" ? kHiddenFlashRepeat
                                    : kHiddenFadeOnce;
    mPause = GetAttrFloat(e, "pause", 0.0f);
    GetAttrList(e, "soundasteps", ',', mStepSounds);
    mFade.SetValue(mAlpha);
    mFlash.Start(mAlpha, mAlpha, mAlpha, 0.0f);
    mFlash.mFinished = true;
    mFlash.mActive = false;
    mPauseTimer.SetValue(0.0f);
}

void THiddenObject::ResetBehaviour()
{
    mMode = kHiddenFlipFlop;
    mFadeTime = 0.0f;
    mFade.SetValue(0.0f);
    mStarted = false;
    mTarget = 0.0f;
    mMinAlpha = 0.0f;
    mMaxAlpha = 1.0f;
    mPause = 0.0f;
}

void THiddenObject::ShowTweenAlpha() { TObject::SetAlpha(IsFlashMode() ? mFlash.GetValue() : mFade.mCurrent); }

void THiddenObject::PlayStepSounds()
{
    for (const std::string& name : mStepSounds) PlayThroughRootSpace(name);
}

void THiddenObject::StartFade(bool restoring)
{
    if (mFadeTime == 0.0f) return;
    switch (mMode) {
    case kHiddenFlipFlop:
        if (!restoring) mTarget = mAlpha > mMinAlpha ? mMinAlpha : mMaxAlpha;
        mFade.Set(mAlpha, mTarget, mFadeTime, true);
        PlayStepSounds();
        break;
    case kHiddenFlash:
    case kHiddenFlashRepeat:
        if (!restoring) mTarget = mMaxAlpha - mAlpha;
        mFlash.Start(mAlpha, mTarget, mAlpha, mFadeTime);
        PlayStepSounds();
        break;
    default:
        // An opaque item fades out to 0, a transparent one fades in.
        if (!restoring) mTarget = mMaxAlpha - mAlpha;
        mFade.Set(mAlpha, mTarget, mFadeTime, true);
        break;
    }
    ShowTweenAlpha();
}

void THiddenObject::StartNextStep()
{
    if (mPause != 0.0f)
        mPauseTimer.StartUnit(mPause);
    else
        StartFade(false);
}

void THiddenObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    if (mMode == kHiddenFadeOnce && mStarted) return;
    StartFade(false);
    mStarted = true;
    mClickDelayCountdown = mClickDelay;
    mActive = true;
}

void THiddenObject::OnClickAction(int /*count*/, int /*x*/, int /*y*/)
{
    if (!mClickEnabled || (mMode == kHiddenFadeOnce && mStarted)) return;
    StartFade(false);
    mStarted = true;
    // The click path plays "sound" once more after this.
    PlayThroughRootSpace(mSound);
}

bool THiddenObject::Update(float dt)
{
    TObject::Update(dt);
    if (mFade.mRunning && mFade.Update(dt)) {
        TObject::SetAlpha(mFade.mTo);
        if (mMode == kHiddenFlipFlop) {
            StartNextStep();
        } else {
            mActive = false;
            RunEventReactions(0);
        }
    }
    if (mFlash.mActive && mFlash.Update(dt)) {
        TObject::SetAlpha(mFlash.GetValue());
        if (mMode == kHiddenFlashRepeat) {
            StartNextStep();
        } else {
            mActive = false;
            RunEventReactions(0);
        }
    }
    // A pause started above already counts this update.
    if (mPauseTimer.mRunning && mPauseTimer.Update(dt) && (mMode == kHiddenFlipFlop || mMode == kHiddenFlashRepeat))
        StartFade(false);
    ShowTweenAlpha();
    return false;
}

void THiddenObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mActive ? 1 : 0);
    buffer.WriteByte(mMode);
    buffer.WriteMilli(mTarget);
    mFlash.SaveState(&buffer);
    mFade.SaveState(&buffer);
}

void THiddenObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool active = buffer.ReadByte() != 0;
    const int mode = buffer.ReadByte();
    const float target = buffer.ReadMilli();
    PulseValue flash = mFlash;
    flash.LoadState(&buffer);
    IncValue fade = mFade;
    fade.LoadState(&buffer);
    if (StateRefused()) return;
    mActive = active;
    if (mode >= kHiddenFlipFlop && mode <= kHiddenFlashRepeat)
        mMode = mode;
    else
        GetLogger()->LogDebug("Object %s: saved animation mode %d ignored", GetName().c_str(), mode);
    mTarget = target;
    mFlash = flash;
    mFade = fade;
    if (mActive) StartFade(true);
}

// ---------------------------------------------------------------- double score

TDoubleScoreObject::~TDoubleScoreObject() = default;

void TDoubleScoreObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mTime = GetAttrFloat(e, "time", 9.0f);
}

// ---------------------------------------------------------------- collection item

TCollectionItemObject::~TCollectionItemObject() = default;

void TCollectionItemObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mItemId = GetAttrString(e, "iid", "");
    if (TMyMessageManager* messages = GetMessageManager()) {
        // A second reading may name another item: only the latest one is heard.
        messages->Unsubscribe(this);
        messages->Subscribe(this, MessageName());
    }
    mCursorName = "active";
}

bool TCollectionItemObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (!TObject::OnMouseDown(event) || event.mTool) return false;
    TCollectionsCatalog* catalog = GetAppState().mCollectionsCatalog;
    TCollectionItem* item = catalog ? catalog->FindItem(mItemId) : nullptr;
    if (!item) return false;
    item->mFlag = true;
    GetUserInfo()->AddToCounter(item->mPoints);
    PlayNamedSound("collection_item_catch");
    if (TSpacesRegistry* registry = GetAppState().mSpacesRegistry) {
        const int x = ClampToInt(static_cast<long long>(TruncToInt(mX)) + GetWidth() / 2);
        const int y = ClampToInt(static_cast<long long>(TruncToInt(mY)) + GetHeight() / 2);
        const std::string picture = mImage ? mImage->GetTextureName() : std::string();
        registry->StartCollectionEffect(x, y, picture, 0.5f, MessageName(), item->mPoints, mItemId);
    }
    SetVisible(false);
    return true;
}

void TCollectionItemObject::OnMessage(SharedPtr<TMyMessage> message)
{
    if (!message || message->GetName() != MessageName()) return;
    if (TSpacesRegistry* registry = GetAppState().mSpacesRegistry) registry->OnCollectionEffectDone(mItemId);
}

// ---------------------------------------------------------------- notes

bool TNoteAlpha::Product(float* alpha) const
{
    const float product = mBase * mFactor;
    if (!(product >= 0.0f && product <= 1.0f)) return false;
    *alpha = product;
    return true;
}

void TNoteAlpha::Apply(TObject& object) const
{
    float alpha = 0.0f;
    if (Product(&alpha)) object.TObject::SetAlpha(alpha);
}

void TNoteAlpha::Set(TObject& object, float alpha)
{
    const TNoteAlpha next{mFactor, alpha};
    float product = 0.0f;
    if (!next.Product(&product)) return;
    mBase = alpha;
    object.TObject::SetAlpha(product);
}

TNoteCollectionObject::~TNoteCollectionObject() = default;

void TNoteCollectionObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mNoteAlpha = TNoteAlpha{1.0f, mAlpha};
    TCollectionsCatalog* catalog = GetAppState().mCollectionsCatalog;
    const TCollectionGroup* group = catalog ? catalog->FindGroup(GetName()) : nullptr;
    if (!group) return;
    mImagePath = group->mPicture;
    mNoteAlpha.mFactor = group->HasFlaggedItem() ? 1.0f : 0.3f;
}

void TNoteCollectionObject::LoadResources()
{
    TObject::LoadResources();
    mNoteAlpha.Apply(*this);
}

void TNoteCollectionObject::SetAlpha(float a) { mNoteAlpha.Set(*this, a); }

TNoteCollectionItemObject::TNoteCollectionItemObject() : mLabel(new TSimpleTextImage())
{
    mLabel->SetFont("default");
    mLabel->mColor = TFloatColor{0.0f, 0.0f, 0.0f, 1.0f};
    mLabel->mWidth = 100;
    mLabel->mHeight = 20;
    mLabel->mAlignment = 0;
    mLabel->mAlpha = 0.0f;
    mLabelFade.SetValue(0.0f);
}

TNoteCollectionItemObject::~TNoteCollectionItemObject() = default;

void TNoteCollectionItemObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mNoteAlpha = TNoteAlpha{1.0f, mAlpha};
    mItem = nullptr;
    mLabelFadeTime = GetAttrFloat(e, "text_alpha_time", 0.2f);
    mLabel->SetPosition(GetAttrInt(e, "tx", 0), GetAttrInt(e, "ty", 0));
    TCollectionsCatalog* catalog = GetAppState().mCollectionsCatalog;
    mItem = catalog ? catalog->FindItem(GetName()) : nullptr;
    if (!mItem) return;
    mImagePath = mItem->mPicture;
    mNoteAlpha.mFactor = mItem->mFlag ? 1.0f : 0.3f;
    mLabel->mText = WidenAscii(FormatString("%d ", mItem->mPoints)) + GetLocalization()->GetText("points");
    mCheckOnlyBounds = true;
}

void TNoteCollectionItemObject::LoadResources()
{
    TObject::LoadResources();
    mNoteAlpha.Apply(*this);
}

void TNoteCollectionItemObject::SetAlpha(float a) { mNoteAlpha.Set(*this, a); }

bool TNoteCollectionItemObject::Update(float dt)
{
    TObject::Update(dt);
    mLabelFade.Update(dt);
    mLabel->mAlpha = mLabelFade.mCurrent;
    return false;
}

void TNoteCollectionItemObject::Draw(float /*alphaFactor*/)
{
    TObject::Draw(1.0f);
    mLabel->DrawSelf();
}

// Both fades take the time of the whole range in proportion to the way left.
void TNoteCollectionItemObject::OnMouseEnter(int /*x*/, int /*y*/)
{
    if (!mItem || !mItem->mFlag) return;
    const float a = mLabelFade.mCurrent;
    mLabelFade.Set(a, 1.0f, (1.0f - a) * mLabelFadeTime, true);
}

void TNoteCollectionItemObject::OnMouseLeave(int /*x*/, int /*y*/)
{
    const float a = mLabelFade.mCurrent;
    mLabelFade.Set(a, 0.0f, a * mLabelFadeTime, true);
}

// ---------------------------------------------------------------- map location

namespace {

// The first child element of that name, if any, into the image.
TiXmlElement* ReadChildImage(TiXmlElement* e, const char* name, StaticImage& image, const std::string& folder)
{
    TiXmlElement* child = e ? e->FirstChildElement(name) : nullptr;
    if (child) ReadStaticImageAttrs(child, &image, folder);
    return child;
}

}  // namespace

TMapObject::TMapObject() : mLabel(new TSimpleTextImage())
{
    mLabel->SetFont("maproomname");
    mLabel->mWrapped = true;
    mLabel->mColor = TFloatColor{1.0f, 1.0f, 1.0f, 1.0f};
    mLabel->mWidth = 174;
    mLabel->mHeight = 20;
    mLabel->mAlignment = 0;
    mLabel->mAlpha = 0.0f;
}

TMapObject::~TMapObject() = default;

void TMapObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mSoundMouseEnter = GetAttrString(e, "soundmouseenter", "mapmouseenter");
    ReadChildImage(e, "cur_img", mCurrentImage, dataFolder);
    ReadChildImage(e, "task_img", mTaskImage, dataFolder);
    ReadChildImage(e, "unav_img", mUnavailableImage, dataFolder);
    ReadChildImage(e, "out_img", mOutlineImage, dataFolder);
    if (TiXmlElement* preview = ReadChildImage(e, "prev_img", mPreviewImage, dataFolder)) {
        mPreviewX = GetAttrInt(preview, "x", 0);
        mPreviewY = GetAttrInt(preview, "y", 0);
    }
    mOutlineTime = GetAttrFloat(e, "out_time", 0.3f);
    mPreviewTime = GetAttrFloat(e, "prev_time", 0.3f);
    mPreviewOffset = GetAttrInt(e, "prev_offset", 10);
    mLabel->SetTextKey("room" + GetName());
    mLabel->SetPosition(ClampToInt(static_cast<long long>(mPreviewX) + mLabelOffsetX),
                        ClampToInt(static_cast<long long>(mPreviewY) + mLabelOffsetY));
}

void TMapObject::LoadResources()
{
    TObject::LoadResources();
    for (StaticImage* image : {static_cast<StaticImage*>(&mCurrentImage), &mTaskImage, &mUnavailableImage,
                               static_cast<StaticImage*>(&mOutlineImage), static_cast<StaticImage*>(&mPreviewImage)})
        if (!image->mTextureName.empty()) image->SetTexture(image->mTextureName);
}

void TMapObject::FreeResources()
{
    TObject::FreeResources();
    for (StaticImage* image : {static_cast<StaticImage*>(&mCurrentImage), &mTaskImage, &mUnavailableImage,
                               static_cast<StaticImage*>(&mOutlineImage), static_cast<StaticImage*>(&mPreviewImage)})
        image->FreeTexture();
}

void TMapObject::ClearHoverAlphas()
{
    mOutlineImage.SetAlpha(0.0f);
    mPreviewImage.SetAlpha(0.0f);
    mLabel->mAlpha = 0.0f;
}

void TMapObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    TSpacesRegistry* registry = GetAppState().mSpacesRegistry;
    mLinkedRoom = registry ? dynamic_cast<TRoom*>(registry->FindSpace(GetName())) : nullptr;
    if (mLinkedRoom) {
        mIsCurrent = mLinkedRoom->GetSavedFlagA();
        mUnavailable = mLinkedRoom->GetSavedFlagB();
        mHasTask = mLinkedRoom->IsHintAvailable();
    }
    mHidden = false;
    ClearHoverAlphas();
}

void TMapObject::OnSpaceHidden()
{
    TObject::OnSpaceHidden();
    mHidden = true;
    ClearHoverAlphas();
}

void TMapObject::SetAlpha(float a)
{
    TObject::SetAlpha(a);
    mCurrentImage.mAlpha = a;
    mTaskImage.mAlpha = a;
    mUnavailableImage.mAlpha = a;
    if (!mHidden) return;
    mOutlineImage.SetAlpha(mOutlineImage.mAlpha * a);
    mPreviewImage.SetAlpha(mPreviewImage.mAlpha * a);
}

bool TMapObject::Update(float dt)
{
    TObject::Update(dt);
    mOutlineImage.Update(dt);
    mPreviewImage.Update(dt);
    mLabel->mAlpha = mPreviewImage.mAlpha;
    if (mPreviewMover.mActive) {
        mPreviewMover.Update(dt);
        mPreviewImage.SetPosition(mPreviewMover.mX, mPreviewMover.mY, false);
        mLabel->SetPosition(ClampToInt(static_cast<long long>(TruncToInt(mPreviewMover.mX)) + mLabelOffsetX),
                            ClampToInt(static_cast<long long>(TruncToInt(mPreviewMover.mY)) + mLabelOffsetY));
    }
    return false;
}

void TMapObject::Draw(float /*alphaFactor*/)
{
    TObject::Draw(1.0f);
    if (mUnavailable) {
        mUnavailableImage.Draw(1.0f);
    } else {
        mOutlineImage.Draw(1.0f);
        if (mIsCurrent) mCurrentImage.Draw(1.0f);
    }
    mPreviewImage.Draw(1.0f);
    mLabel->DrawSelf();
}

void TMapObject::DrawExtra()
{
    if (mHasTask && !mUnavailable) mTaskImage.Draw(1.0f);
}

bool TMapObject::OnMouseDown(const TSceneMouseEvent& event)
{
    // The lock is not asked here: a locked location still leaves the map window, and the
    // object's own handling below refuses the press.
    if (!mUnavailable && HitTest(event.mX, event.mY, false) && mLinkedRoom) {
        if (TMyWindow* window = GetWindowManager()->FindWindow(TMapWindow::kMapId)) window->Hide();
        mRoom = mIsCurrent ? std::string() : GetName();
    }
    return TObject::OnMouseDown(event);
}
