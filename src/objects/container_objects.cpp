#include "objects/container_objects.h"

#include <tinyxml.h>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "objects/anim_objects.h"
#include "objects/clock_arrow_objects.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "ui/cursors.h"

TTransparentObject::~TTransparentObject() = default;
TGroupObject::~TGroupObject() = default;
TFoudedGroupObject::~TFoudedGroupObject() = default;
TBringToTopObject::~TBringToTopObject() = default;
TMouseEventsGroup::~TMouseEventsGroup() = default;
TMouseEnterObject::~TMouseEnterObject() = default;
TClockObject::~TClockObject() = default;
TClickButtonObject::~TClickButtonObject() = default;
TShutterObject::~TShutterObject() = default;
TDialogObject::~TDialogObject() = default;

// --- the transparent container ---

TObject* TTransparentObject::RoutePress(const TSceneMouseEvent& event, bool* ownTaken)
{
    *ownTaken = false;
    if (!IsVisible()) return nullptr;
    *ownTaken = TObject::OnMouseDown(event);
    return OfferTopmostFirst([&event](TObject& child) { return child.OnMouseDown(event); });
}

bool TTransparentObject::OnMouseDown(const TSceneMouseEvent& event)
{
    bool own = false;
    return RoutePress(event, &own) != nullptr || own;
}

bool TTransparentObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    if (!IsVisible()) return false;
    const bool own = TObject::OnMouseMove(event, hoverTaken);
    if (OfferTopmostFirst([&](TObject& child) { return child.OnMouseMove(event, hoverTaken); })) return true;
    return own;
}

bool TTransparentObject::OnMouseUp(const TSceneMouseEvent& event)
{
    if (!IsVisible()) return false;
    const bool own = TObject::OnMouseUp(event);
    if (OfferTopmostFirst([&event](TObject& child) { return child.OnMouseUp(event); })) return true;
    return own;
}

bool TTransparentObject::OnMouseDrag(const TSceneMouseEvent& event)
{
    if (!IsVisible()) return false;
    return OfferTopmostFirst([&event](TObject& child) { return child.OnMouseDrag(event); }) != nullptr;
}

// --- groups ---

void TGroupObject::SetVisible(bool visible)
{
    TObject::SetVisible(visible);
    for (auto& child : mChildren) child->SetVisible(visible);
}

bool TGroupObject::OnMouseDown(const TSceneMouseEvent& event)
{
    const bool taken = TTransparentObject::OnMouseDown(event);
    // The "tool" cursor goes once the last tool use is made.
    if (taken && event.mTool != nullptr && mCursorName.empty() && IsLastAllowedUse())
        for (auto& child : mChildren) child->mCursorName.clear();
    return taken;
}

void TGroupObject::OnLoaded()
{
    for (auto& child : mChildren) {
        child->mHints = mHints;
        child->mLockedHints = mLockedHints;
        child->mToolHints = mToolHints;
        child->mUseMessages = mUseMessages;
        child->mCursorName = mCursorName;
        if (!mNeededTools.empty() && mCursorName.empty()) child->mCursorName = "tool";
    }
}

void TGroupObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    for (auto& child : mChildren) child->Activate(count, x, y);
}

void TGroupObject::Unlock()
{
    TObject::Unlock();
    for (auto& child : mChildren) child->Unlock();
}

void TGroupObject::Lock()
{
    TObject::Lock();
    for (auto& child : mChildren) child->Lock();
}

void TGroupObject::CollectHintables(std::vector<TObject*>& collector)
{
    if (IsHintable() && !mChildren.empty()) collector.push_back(mChildren.front().get());
}

bool TFoudedGroupObject::AllChildrenUsedUp() const
{
    for (const auto& child : mChildren)
        if (!child->IsLastAllowedUse()) return false;
    return true;
}

bool TFoudedGroupObject::OnMouseDown(const TSceneMouseEvent& event)
{
    const bool taken = TGroupObject::OnMouseDown(event);
    if (AllChildrenUsedUp()) {
        RunEventReactions(0);
        ApplyFlags(0, mEventFlags);
        ApplyStates(0, mEventStates);
    }
    return taken;
}

// --- bring to top and the broadcasting group ---

bool TBringToTopObject::OnMouseDown(const TSceneMouseEvent& event)
{
    TObject::OnMouseDown(event);
    TObject* taker = OfferTopmostFirst([&event](TObject& child) { return child.OnMouseDown(event); });
    if (!taker) return false;
    for (size_t i = 0; i + 1 < mChildren.size(); ++i) {
        if (mChildren[i].get() != taker) continue;
        std::unique_ptr<TObject> moved = std::move(mChildren[i]);
        mChildren.erase(mChildren.begin() + static_cast<std::ptrdiff_t>(i));
        mChildren.push_back(std::move(moved));
        break;
    }
    return true;
}

bool TMouseEventsGroup::OnMouseDown(const TSceneMouseEvent& event)
{
    bool taken = TObject::OnMouseDown(event);
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseDown(event) || taken;
    return taken;
}

bool TMouseEventsGroup::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    bool taken = TObject::OnMouseMove(event, hoverTaken);
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseMove(event, hoverTaken) || taken;
    return taken;
}

bool TMouseEventsGroup::OnMouseUp(const TSceneMouseEvent& event)
{
    bool taken = TObject::OnMouseUp(event);
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseUp(event) || taken;
    return taken;
}

bool TMouseEventsGroup::OnMouseDrag(const TSceneMouseEvent& event)
{
    bool taken = false;
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseDrag(event) || taken;
    return taken;
}

// --- hover object ---

void TMouseEnterObject::ShowHighlight(bool visible)
{
    if (!mChildren.empty()) mChildren.front()->SetVisible(visible);
}

void TMouseEnterObject::Draw(float /*alphaFactor*/)
{
    if (mSelectable && !mOver) ShowHighlight(mSelected);
    TObject::Draw(1.0f);
}

void TMouseEnterObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mOver = GetAttrBool(element, "over", false);
    mSelectable = GetAttrBool(element, "canselect", false);
    mSelected = GetAttrBool(element, "select", false);
}

void TMouseEnterObject::OnLoaded() { ShowHighlight(mOver); }

void TMouseEnterObject::OnMouseEnter(int x, int y)
{
    TObject::OnMouseEnter(x, y);
    mOver = true;
    ShowHighlight(true);
}

void TMouseEnterObject::OnMouseLeave(int x, int y)
{
    TObject::OnMouseLeave(x, y);
    mOver = false;
    ShowHighlight(false);
}

bool TMouseEnterObject::OnClickAccepted(const TSceneMouseEvent& event)
{
    if (mSelectable) mSelected = !mSelected;
    return TObject::OnClickAccepted(event);
}

// --- clock face ---

namespace {

// A hand of the clock: a clock arrow answering the hand's code (the limited arrow does not).
TClockArrowObject* AsHand(TObject* object)
{
    return object && object->GetTypeCode() == 20 ? dynamic_cast<TClockArrowObject*>(object) : nullptr;
}

}  // namespace

void TClockObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mKeepOrder = GetAttrBool(element, "keeporder", false);
    mClockClickEnabled = GetAttrBool(element, "onclick", true);
}

bool TClockObject::HitTest(int x, int y, bool respectLock)
{
    if (TObject::HitTest(x, y, respectLock)) return true;
    for (auto& child : mChildren)
        if (child->HitTest(x, y, respectLock)) return true;
    return false;
}

bool TClockObject::HasToolUse() const
{
    for (const auto& child : mChildren)
        if (child->HasToolUse()) return true;
    return false;
}

bool TClockObject::AcceptsTool(TTool* tool)
{
    bool inOrder = true;
    for (auto& child : mChildren) {
        const bool accepts = child->AcceptsTool(tool);
        if (mKeepOrder && child->HasToolUse() && !child->mToolApplied && !accepts) inOrder = false;
        if (accepts) return inOrder;
    }
    return false;
}

bool TClockObject::AllHandsSet() const
{
    for (const auto& child : mChildren)
        if (AsHand(child.get()) && !child->IsGoalReached()) return false;
    return true;
}

bool TClockObject::AllChildrenHadTool() const
{
    for (const auto& child : mChildren)
        if (!child->mToolApplied) return false;
    return true;
}

bool TClockObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (IsLocked()) return event.mTool ? false : HitTest(event.mX, event.mY, true);
    const bool hit = HitTest(event.mX, event.mY, false);
    if (!hit || mGoalReached) return false;
    GetGameCursors()->Select("active");
    return event.mTool ? PressWithTool(event, hit) : PressWithoutTool(event, hit);
}

bool TClockObject::PressWithTool(const TSceneMouseEvent& event, bool hit)
{
    if (!HasToolUse()) return hit;
    if (!AcceptsTool(event.mTool)) {
        mWrongToolPressed = true;
        return hit;
    }
    for (size_t i = 0; i < mChildren.size(); ++i) {
        TObject* child = mChildren[i].get();
        if (!child->AcceptsTool(event.mTool)) continue;
        if (child->OnMouseDown(event) && AsHand(child) && child->IsGoalReached()) {
            mGoalReached = AllChildrenHadTool();
            if (mGoalReached) {
                RunEventReactions(0);
                OnToolAccepted(event);
            }
        }
        break;
    }
    return hit;
}

bool TClockObject::PressWithoutTool(const TSceneMouseEvent& event, bool hit)
{
    if (!mClockClickEnabled || mGoalReached) return false;
    if (!IncUseCounter(mClickCounter, mMaxClicks)) return hit;
    bool turningBefore = false;
    for (auto& child : mChildren)
        if (TClockArrowObject* hand = AsHand(child.get())) turningBefore = turningBefore || hand->IsTurning();
    bool leftTurning = false;
    // By index: a hand's reactions may reach this clock, but never its list of children.
    for (size_t i = 0; i < mChildren.size(); ++i) {
        TObject* child = mChildren[i].get();
        child->OnMouseDown(event);
        TClockArrowObject* hand = AsHand(child);
        if (!hand) continue;
        if (!turningBefore && !leftTurning && hand->IsTurning())
            leftTurning = true;
        else
            hand->ClearTurning();
        if (hand->IsGoalReached()) {
            mGoalReached = AllHandsSet();
            if (mGoalReached) {
                Complete(event);
                return true;
            }
        }
    }
    return hit;
}

void TClockObject::Complete(const TSceneMouseEvent& event)
{
    RunEventReactions(0);
    OnClickAccepted(event);
    if (mClickCounter < 0 || static_cast<size_t>(mClickCounter) >= mToolRecords.size()) {
        if (mListener) mListener->OnObjectActivated(this);
        return;
    }
    const TObjectToolRecord record = mToolRecords[static_cast<size_t>(mClickCounter)];
    GivenToolRecords().push_back(record);
    if (record.mMode != 0 && mListener) {
        const TToolRecordList handed{record};
        mListener->RunCommands(&handed, this, 0.1f);
    }
    if (mListener) mListener->OnObjectActivated(this);
    Lock();
    if (mHideOnClick) SetVisible(false);
}

bool TClockObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    bool turningAnswer = false;
    for (size_t i = 0; i < mChildren.size(); ++i) {
        TClockArrowObject* hand = AsHand(mChildren[i].get());
        if (!hand || !hand->IsTurning()) continue;
        turningAnswer = hand->OnMouseMove(event, hoverTaken);
        mLastTurningHand = static_cast<int32_t>(i);
    }
    bool otherAnswer = false;
    for (size_t i = 0; i < mChildren.size() && !otherAnswer; ++i) {
        TObject* child = mChildren[i].get();
        TClockArrowObject* hand = AsHand(child);
        if (hand && hand->IsTurning()) continue;
        otherAnswer = child->OnMouseMove(event, hoverTaken);
    }
    return turningAnswer || otherAnswer;
}

bool TClockObject::OnMouseUp(const TSceneMouseEvent& event)
{
    bool taken = false;
    for (size_t i = 0; i < mChildren.size(); ++i) taken = mChildren[i]->OnMouseUp(event) || taken;
    return taken;
}

// --- push button ---

void TClickButtonObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mNormalImage = std::make_unique<StaticImage>();
    mPressedImage = std::make_unique<StaticImage>();
    mPressed = false;
    const bool useDataFolder = GetAttrBool(element, "udf", true);
    const std::string folder = useDataFolder && !dataFolder.empty() ? dataFolder : "textures/";
    TiXmlElement* img = element ? element->FirstChildElement("img") : nullptr;
    if (img) {
        ReadStaticImageAttrs(img, mNormalImage.get(), folder);
        img = img->NextSiblingElement("img");
    }
    if (img) ReadStaticImageAttrs(img, mPressedImage.get(), folder);
}

void TClickButtonObject::LoadResources()
{
    TObject::LoadResources();
    for (StaticImage* image : {mNormalImage.get(), mPressedImage.get()})
        if (!image->mTextureName.empty()) image->SetTexture(image->mTextureName);
}

void TClickButtonObject::FreeResources()
{
    TObject::FreeResources();
    mNormalImage->FreeTexture();
    mPressedImage->FreeTexture();
}

bool TClickButtonObject::HitTestSelf(int x, int y)
{
    if (TObject::HitTestSelf(x, y)) return true;
    return PictureShowsPoint(CurrentImage(), x, y);
}

// A hidden button shows neither of its pictures.
void TClickButtonObject::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    CurrentImage().Draw(1.0f);
}

bool TClickButtonObject::OnMouseDown(const TSceneMouseEvent& event)
{
    mPressed = false;
    mPressed = TObject::OnMouseDown(event);
    return mPressed;
}

bool TClickButtonObject::OnMouseUp(const TSceneMouseEvent& event)
{
    mPressed = false;
    return TObject::OnMouseUp(event);
}

// --- shutter ---

namespace {
const float kShutterSlideTime = 0.2f;
const float kBallFallTime = 0.4f;
}  // namespace

void TShutterObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mShutterOffset = GetAttrInt(element, "shutter_offset", 0);
    mBallOffset = GetAttrInt(element, "ball_offset", 0);
}

void TShutterObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    mBall = dynamic_cast<TCadrObject*>(FindChild("sh_ball"));
}

// The shutter and its ball move by their stored positions: the drawn ones carry the draw
// type's shift, the centre and the space offset, which placing would add a second time.
void TShutterObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mPhase = kSliding;
    const float fromX = static_cast<float>(TruncToInt(mX));
    const float fromY = static_cast<float>(TruncToInt(mY));
    mMover.StartSegment(fromX, fromY, static_cast<float>(static_cast<double>(fromX) - mShutterOffset), fromY,
                        kShutterSlideTime, 0.0f, 0, false);
}

bool TShutterObject::Update(float dt)
{
    TObject::Update(dt);
    if (mPhase != kSliding && mPhase != kFalling) return false;
    const bool arrived = mMover.Update(dt);
    const float atX = static_cast<float>(TruncToInt(mMover.mX));
    const float atY = static_cast<float>(TruncToInt(mMover.mY));
    if (mPhase == kSliding) {
        SetPosition(atX, atY, false);
        if (!arrived) return false;
        RunEventReactions(1);
        mPhase = kFalling;
        float ballX = 0.0f, ballY = 0.0f;
        if (mBall) {
            mBall->ActivateSimple();
            ballX = static_cast<float>(TruncToInt(mBall->mX));
            ballY = static_cast<float>(TruncToInt(mBall->mY));
        }
        const float toY = mBall ? static_cast<float>(static_cast<double>(ballY) + mBallOffset) : ballY;
        mMover.StartSegment(ballX, ballY, ballX, toY, kBallFallTime, 0.0f, 0, false);
        return false;
    }
    if (mBall) mBall->SetPosition(atX, atY, true);
    if (!arrived) return false;
    if (mBall) mBall->DeactivateSimple();
    mPhase = kFinished;
    RunEventReactions(0);
    return false;
}

void TShutterObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mPhase & 0xFF);
    mMover.SaveState(&buffer);
}

void TShutterObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int phase = buffer.ReadByte() & 0xFF;
    TLineMover mover = mMover;
    mover.LoadState(&buffer);
    if (StateRefused()) return;
    mPhase = phase;
    if (mPhase > kFinished) {
        GetLogger()->LogMessage("Shutter %s: saved phase %d refused, the shutter stays idle", GetName().c_str(), mPhase);
        mPhase = kIdle;
    }
    mMover = mover;
}

// --- dialog object ---

void TDialogObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mArmed = true;
}

void TDialogObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (IsLastAllowedUse() || !mArmed) return;
    // Clicks itself where it stands: its stored position, whatever its draw type.
    mAlphaThreshold = 0;
    SetVisible(true);
    TSceneMouseEvent event;
    event.Clear();
    event.mX = TruncToInt(mX);
    event.mY = TruncToInt(mY);
    event.mButton = 1;
    OnMouseDown(event);
    SetVisible(false);
}

void TDialogObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mArmed ? 1 : 0);
}

void TDialogObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool armed = buffer.ReadByte() != 0;
    if (!StateRefused()) mArmed = armed;
}
