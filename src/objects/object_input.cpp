// Object input: hit tests through the tree, hover notices, presses that become clicks or tool
// uses within their limits, the reaction runs, activation and locking, tool records and the
// hint queries.
#include "objects/object.h"

#include <cmath>
#include <cstdint>

#include "core/numbers.h"
#include "rooms/executer.h"
#include "rooms/game_event.h"
#include "rooms/game_space.h"
#include "rooms/hint_effects.h"
#include "rooms/pocket.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"
#include "core/app_state.h"
#include "sound/sound_manager.h"

namespace {

// A space of the game shell's registry; this game has none, so nothing is found.
TGameSpace* RegisteredSpace(const std::string& name)
{
    if (name.empty()) return nullptr;
    TSpacesRegistry* registry = GetAppState().mSpacesRegistry;
    return registry ? registry->FindSpace(name) : nullptr;
}

template <class List>
auto GroupAt(const List& list, int64_t index) -> const typename List::value_type*
{
    if (index < 0 || index >= static_cast<int64_t>(list.size())) return nullptr;
    return &list[static_cast<size_t>(index)];
}

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& n : names)
        if (n == name) return true;
    return false;
}

}  // namespace

// Where the drawn image shows the screen point, in its own unscaled pixels: the draw's
// destination corner, rotation centre, scales and clockwise turn, undone. False when the image
// has no size on screen.
bool ImagePointAt(const StaticImage& image, int x, int y, float* u, float* v)
{
    const float sx = image.GetScaleX();
    const float sy = image.GetScaleY();
    const float ax = std::fabs(sx);
    const float ay = std::fabs(sy);
    if (!(ax > 0.0f) || !(ay > 0.0f)) return false;
    const DrawTransform& t = image.mTransform;
    const bool sourceRect = (t.mFlags & kDrawSourceRect) != 0;
    const float srcX = sourceRect ? t.mSrcX : 0.0f;
    const float srcY = sourceRect ? t.mSrcY : 0.0f;
    float cornerX = image.mOffsetX + image.mX;
    float cornerY = image.mOffsetY + image.mY;
    float pivotX = 0.0f, pivotY = 0.0f;
    if (image.mCentred) {
        // Placed by its centre: the middle of the frame (or of the texture), unless the owner
        // wrote one.
        float centreX = t.mCentreX, centreY = t.mCentreY;
        bool pivot = (t.mFlags & kDrawCentre) != 0;
        if (sourceRect) {
            centreX = t.mSrcW / 2;
            centreY = t.mSrcH / 2;
        } else if (image.GetTexture() && !image.mOwnCentre) {
            centreX = image.GetTexture()->GetWidth() / 2.0f;
            centreY = image.GetTexture()->GetHeight() / 2.0f;
            pivot = true;
        }
        cornerX -= centreX * sx;
        cornerY -= centreY * sy;
        if (pivot) {
            pivotX = centreX * ax;
            pivotY = centreY * ay;
        }
    } else if (image.mOwnCentre) {
        cornerX -= (t.mCentreX - srcX) * sx;
        cornerY -= (t.mCentreY - srcY) * sy;
        if (t.mFlags & kDrawCentre) {
            pivotX = (t.mCentreX - srcX) * ax;
            pivotY = (t.mCentreY - srcY) * ay;
        }
    }
    pivotX += cornerX;
    pivotY += cornerY;
    const float dx = static_cast<float>(x) - pivotX;
    const float dy = static_cast<float>(y) - pivotY;
    const float c = std::cos(image.GetAngle());
    const float s = std::sin(image.GetAngle());
    *u = (pivotX + c * dx + s * dy - cornerX) / ax;
    *v = (pivotY - s * dx + c * dy - cornerY) / ay;
    return std::isfinite(*u) && std::isfinite(*v);
}

bool ImagePixelAt(const StaticImage& image, int x, int y, int* px, int* py)
{
    float u = 0.0f, v = 0.0f;
    if (!ImagePointAt(image, x, y, &u, &v)) return false;
    const DrawTransform& t = image.mTransform;
    const bool sourceRect = (t.mFlags & kDrawSourceRect) != 0;
    return ToIntChecked(u + (sourceRect ? t.mSrcX : 0.0f), px) && ToIntChecked(v + (sourceRect ? t.mSrcY : 0.0f), py);
}

bool PictureShowsPoint(const StaticImage& image, int x, int y)
{
    int px = 0, py = 0;
    return ImagePixelAt(image, x, y, &px, &py) && image.HitTestAlpha(px, py, 63);
}

bool TObject::HitTestSelf(int x, int y)
{
    if (!IsVisible() || !(mAlpha > 0.0f)) return false;
    const bool boundsOnly = mCheckOnlyBounds || mAlphaThreshold == 0;
    const bool turned = mAngle != 0.0f;
    if (mImage && (turned || mImage->mOwnCentre)) {
        // Turned or turned about its own centre: test the point where the image shows it.
        float u = 0.0f, v = 0.0f;
        if (!ImagePointAt(*mImage, x, y, &u, &v)) return false;
        if (!(u >= 0.0f && u < mWidth && v >= 0.0f && v < mHeight)) return false;
        if (boundsOnly) return true;
        int px = 0, py = 0;
        if (!ImagePixelAt(*mImage, x, y, &px, &py)) return false;
        return mImage->HitTestAlpha(px, py, mAlphaThreshold);
    }
    if (turned) return false;
    const float left = GetX();
    const float top = GetY();
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    const bool inside = left <= fx && fx < left + mScaleX * mWidth && top <= fy && fy < top + mScaleY * mHeight;
    if (boundsOnly) return inside;
    if (!inside || !mImage) return false;
    // The local point, in float before it becomes an int: a tiny scale must not overflow.
    int lx = 0, ly = 0;
    const double localX = static_cast<double>(static_cast<int64_t>(x) - TruncToInt(left)) / mScaleX;
    const double localY = static_cast<double>(static_cast<int64_t>(y) - TruncToInt(top)) / mScaleY;
    if (!ToIntChecked(localX, &lx) || !ToIntChecked(localY, &ly)) return false;
    return mImage->HitTestAlpha(lx, ly, mAlphaThreshold);
}

bool TObject::HitTest(int x, int y, bool respectLock)
{
    mHitDescendant = nullptr;
    mLastHit = false;
    if ((!IsVisible() && !mCheckOnlyBounds) || (respectLock && IsLocked())) return false;
    mLastHit = HitTestSelf(x, y);
    if (mLastHit) return true;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it) {
        if (!(*it)->HitTest(x, y, respectLock)) continue;
        mHitDescendant = (*it)->GetHitObject();
        return true;
    }
    return false;
}

bool TObject::GetLastHit(int /*x*/, int /*y*/, bool respectLock) const
{
    if ((!IsVisible() && !mCheckOnlyBounds) || (respectLock && IsLocked())) return false;
    return mLastHit;
}

TObject* TObject::GetHitObject()
{
    TObject* object = this;
    while (object->mHitDescendant && object->mHitDescendant != object) object = object->mHitDescendant;
    return object;
}

TObject* TObject::FindChildAt(int x, int y, bool respectLock)
{
    for (auto& child : mChildren) {
        if (TObject* inner = child->FindChildAt(x, y, respectLock)) return inner;
        if (child->HitTest(x, y, respectLock)) return child.get();
    }
    return nullptr;
}

void TObject::PlayThroughRootSpace(const std::string& name)
{
    if (name.empty()) return;
    if (TGameSpace* space = GetRootSpace()) space->PlaySound(name);
}

void TObject::OnMouseEnter(int /*x*/, int /*y*/) { PlayThroughRootSpace(mSoundMouseEnter); }

void TObject::OnMouseLeave(int /*x*/, int /*y*/) { PlayThroughRootSpace(mSoundMouseLeave); }

namespace {

// The point an object tests for a carried tool: shifted by the tool's press offset, on a copy.
TSceneMouseEvent ShiftedByTool(const TSceneMouseEvent& event)
{
    TSceneMouseEvent shifted = event;
    if (event.mTool) {
        shifted.mX = ClampToInt(static_cast<long long>(event.mX) + event.mTool->mPressOffsetX);
        shifted.mY = ClampToInt(static_cast<long long>(event.mY) + event.mTool->mPressOffsetY);
    }
    return shifted;
}

}  // namespace

bool TObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    const TSceneMouseEvent at = ShiftedByTool(event);
    const bool hit = HitTest(at.mX, at.mY, true);
    if (hit && mClickExecuter) mClickExecuter->OnMouseOver(this, event);
    if (!mHovered && hit && mListener) {
        mListener->OnObjectMouseEnter(this, event);
        OnMouseEnter(at.mX, at.mY);
    }
    if (mHovered && !hit && mListener) {
        mListener->OnObjectMouseLeave(this, event);
        OnMouseLeave(at.mX, at.mY);
    }
    mHovered = false;
    if (!hoverTaken && hit) {
        if (mListener) mListener->OnObjectMouseOver(this, event);
        mHovered = true;
        hoverTaken = true;
    }
    return hit;
}

bool TObject::OnMouseDown(const TSceneMouseEvent& event)
{
    mWrongToolPressed = false;
    TTool* tool = event.mTool;
    const TSceneMouseEvent at = tool && tool->mMode == 1 ? ShiftedByTool(event) : event;
    if (!HitTest(at.mX, at.mY, true)) return false;
    if (mClickExecuter && !mClickExecuter->Hook2(this, event)) return false;
    if (mClickDelayCountdown > 0.0f) return false;
    if (tool) {
        const bool usable = HasToolUse() && AcceptsTool(tool);
        if (usable && tool->IsUsedUp()) {
            if (!mPocketTools.empty() || !mMinigameTools.empty()) {
                if (mListener) {
                    mListener->OnObjectActivated(this);
                    mListener->OnObjectMouseDown(this, event);
                }
                return true;
            }
            if (IncUseCounter(mToolCounter, mMaxToolUses)) OnToolAccepted(event);
        }
        if (!usable) mWrongToolPressed = true;
    } else {
        if (mClickEnabled && (mAllowClickWithTool || mNeededTools.empty()) && IncUseCounter(mClickCounter, mMaxClicks))
            OnClickAccepted(event);
        if (!mNeededTools.empty() && !IsLastAllowedUse()) PlayThroughRootSpace(mSoundNeedTool);
    }
    if (mListener) mListener->OnObjectMouseDown(this, event);
    return true;
}

bool TObject::OnMouseDrag(const TSceneMouseEvent& /*event*/) { return false; }

bool TObject::OnMouseUp(const TSceneMouseEvent& event)
{
    const TSceneMouseEvent at = ShiftedByTool(event);
    const bool hit = HitTest(at.mX, at.mY, true);
    if (hit && mClickExecuter) mClickExecuter->OnMouseUp(this, event);
    if (mListener) mListener->OnObjectMouseUp(this, event);
    return hit;
}

// In 64 bits: a limit of INT_MIN must not wrap.
bool TObject::IncUseCounter(int32_t& counter, int32_t limit)
{
    if (static_cast<int64_t>(counter) >= static_cast<int64_t>(limit) - 1) return false;
    ++counter;
    return true;
}

// In 64 bits: a limit of INT_MIN must not wrap.
bool TObject::IsLastAllowedUse() const
{
    if (!mNeededTools.empty()) return static_cast<int64_t>(mToolCounter) >= static_cast<int64_t>(mMaxToolUses) - 1;
    return static_cast<int64_t>(mClickCounter) >= static_cast<int64_t>(mMaxClicks) - 1;
}

void TObject::ResetUses()
{
    SetVisible(true);
    mClickCounter = -1;
    mToolCounter = -1;
}

bool TObject::OnClickAccepted(const TSceneMouseEvent& event)
{
    const int64_t frozen = static_cast<int64_t>(mFreezeClicks) - 1;
    if (mClickCounter > frozen) mClickCounter = static_cast<int32_t>(frozen < INT32_MIN ? INT32_MIN : frozen);
    OnClickAction(static_cast<int32_t>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(mClickCounter) + 1)), event.mX, event.mY);
    RunClickReactions(event.mX, event.mY);
    if (mClickExecuter) mClickExecuter->OnClick(this, event);
    if (mListener) mListener->OnObjectActivated(this);
    if (mHideOnClick) SetVisible(false);
    PlayThroughRootSpace(mSound);
    if (mClickCounter >= 0) {
        ApplyFlags(mClickCounter, mFlags);
        ApplyStates(mClickCounter, mStates);
    }
    return true;
}

bool TObject::OnToolAccepted(const TSceneMouseEvent& event)
{
    TTool* tool = event.mTool;
    if (mToolPower >= 0.0f && tool) tool->SetPower(mToolPower);
    if (tool) tool->Apply(event.mX, event.mY, mToolCounter);
    PlayNamedSound(mSoundTool);
    mToolApplied = true;
    Activate(mToolCounter + 1, event.mX, event.mY);
    RunToolReactions(event.mX, event.mY);
    if (mClickExecuter) mClickExecuter->OnTool(this, event);
    if (mListener) mListener->OnObjectToolUsed(this, tool, 1);
    if (mToolCounter >= 0) {
        ApplyFlags(mToolCounter, mToolFlags);
        ApplyStates(mToolCounter, mToolStates);
    }
    return true;
}

namespace {

using TRefCall = void (TObjectListener::*)(const TObjectRefGroup*);
using TRefObjectCall = void (TObjectListener::*)(const TObjectRefGroup*, TObject*);
using TNameCall = void (TObjectListener::*)(const TNameGroup*, TObject*);

// One run's hand-over to the listener: each list's group at the run's index.
struct TReactionRun {
    TObject* mObject;
    TObjectListener* mListener;
    int64_t mIndex;

    void Refs(const TObjectRefList& list, TRefCall call) const
    {
        if (const TObjectRefGroup* group = GroupAt(list, mIndex)) (mListener->*call)(group);
    }
    void RefsFor(const TObjectRefList& list, TRefObjectCall call) const
    {
        if (const TObjectRefGroup* group = GroupAt(list, mIndex)) (mListener->*call)(group, mObject);
    }
    void Names(const TNameList& list, TNameCall call) const
    {
        if (const TNameGroup* group = GroupAt(list, mIndex)) (mListener->*call)(group, mObject);
    }
    // A flat name list goes whole, while the index is below its size (at most its size
    // with atMost).
    void Flat(const TNameGroup& names, TNameCall call, bool atMost) const
    {
        const int64_t size = static_cast<int64_t>(names.size());
        if (names.empty() || (atMost ? mIndex > size : mIndex >= size)) return;
        (mListener->*call)(&names, mObject);
    }
};

}  // namespace

void TObject::RunClickReactions(int /*x*/, int /*y*/)
{
    if (!mListener || mClickCounter < 0) return;
    const TReactionRun run{this, mListener, mClickCounter};
    run.Refs(mReactions[kLockAfterClick], &TObjectListener::LockObjects);
    run.Refs(mReactions[kUnlockAfterClick], &TObjectListener::UnlockObjects);
    run.Refs(mReactions[kVisibleAfterClick], &TObjectListener::ShowObjects);
    run.Refs(mReactions[kHideAfterClick], &TObjectListener::HideObjects);
    run.Refs(mReactions[kVisibleAfterClickCf], &TObjectListener::ShowObjects);
    run.Refs(mReactions[kHideAfterClickCf], &TObjectListener::HideObjects);
    run.Refs(mReactions[kActivateAfterClick], &TObjectListener::ActivateObjects);
    run.Refs(mReactions[kDeactivateAfterClick], &TObjectListener::DeactivateObjects);
    run.Names(mTasks, &TObjectListener::AddTasks);
    run.Names(mTasksRemove, &TObjectListener::RemoveTasks);
    run.RefsFor(mReactions[kEffsAfterClick], &TObjectListener::ApplyEffsList);
    run.RefsFor(mReactions[kEffAfterClick], &TObjectListener::ApplyEffList);
    run.Flat(mRobjAfterClick, &TObjectListener::ApplyRobj, true);
    run.Flat(mCobjAfterClick, &TObjectListener::ApplyCobj, true);
    run.Flat(mAobjAfterClick, &TObjectListener::ApplyAobj, true);
}

void TObject::RunToolReactions(int /*x*/, int /*y*/)
{
    if (!mListener || mToolCounter < 0) return;
    const TReactionRun run{this, mListener, mToolCounter};
    run.Refs(mReactions[kLockAfterTool], &TObjectListener::LockObjects);
    run.Refs(mReactions[kUnlockAfterTool], &TObjectListener::UnlockObjects);
    run.Refs(mReactions[kVisibleAfterTool], &TObjectListener::ShowObjects);
    run.Refs(mReactions[kHideAfterTool], &TObjectListener::HideObjects);
    run.Refs(mReactions[kVisibleAfterToolCf], &TObjectListener::ShowObjects);
    run.Refs(mReactions[kHideAfterToolCf], &TObjectListener::HideObjects);
    run.Refs(mReactions[kActivateAfterTool], &TObjectListener::ActivateObjects);
    run.Refs(mReactions[kDeactivateAfterTool], &TObjectListener::DeactivateObjects);
    run.Names(mToolTasks, &TObjectListener::AddTasks);
    run.Names(mToolTasksRemove, &TObjectListener::RemoveTasks);
    run.RefsFor(mReactions[kEffsAfterTool], &TObjectListener::ApplyEffsList);
    run.RefsFor(mReactions[kEffAfterTool], &TObjectListener::ApplyEffList);
    run.Flat(mRobjAfterTool, &TObjectListener::ApplyRobj, false);
    run.Flat(mCobjAfterTool, &TObjectListener::ApplyCobj, false);
    run.Flat(mAobjAfterTool, &TObjectListener::ApplyAobj, false);
}

void TObject::RunEventReactions(int index)
{
    if (index < 0) return;
    // The listener is asked for before each call: a reaction may take it away.
    auto run = [this, index]() { return TReactionRun{this, mListener, index}; };
    if (mListener) run().Refs(mReactions[kActivateAfterEvent], &TObjectListener::ActivateObjects);
    if (mListener) run().Refs(mReactions[kDeactivateAfterEvent], &TObjectListener::DeactivateObjects);
    if (mListener) run().Refs(mReactions[kLockAfterEvent], &TObjectListener::LockObjects);
    if (mListener) run().Refs(mReactions[kUnlockAfterEvent], &TObjectListener::UnlockObjects);
    if (mListener) run().Refs(mReactions[kVisibleAfterEvent], &TObjectListener::ShowObjects);
    if (mListener) run().Refs(mReactions[kHideAfterEvent], &TObjectListener::HideObjects);
    if (mListener) run().RefsFor(mReactions[kEffAfterEvent], &TObjectListener::ApplyEffList);
    if (mListener) run().RefsFor(mReactions[kEffsAfterEvent], &TObjectListener::ApplyEffsList);
    if (mListener) run().Names(mEventTasks, &TObjectListener::AddTasks);
    if (mListener) run().Names(mEventTasksRemove, &TObjectListener::RemoveTasks);
    if (mListener) run().Flat(mRobjAfterEvent, &TObjectListener::ApplyRobj, false);
    if (mListener) run().Flat(mCobjAfterEvent, &TObjectListener::ApplyCobj, false);
    if (mListener) run().Flat(mAobjAfterEvent, &TObjectListener::ApplyAobj, false);
    ApplyFlags(index, mEventFlags);
    ApplyStates(index, mEventStates);
}

void TObject::ApplyFlags(int index, const TFlagRefList& flags)
{
    const std::vector<TFlagRef>* group = GroupAt(flags, index);
    if (!group || group->empty()) return;
    bool posted = false;
    for (const TFlagRef& flag : *group) {
        if (IsGameEventSuppressed(flag.mName)) continue;
        posted = true;
        if (mListener) mListener->PostObjectEventRecord(flag, this);
    }
    if (posted && mListener) mListener->OnObjectEventsPosted();
}

// The profile of this game keeps no states: the pairs are dropped.
void TObject::ApplyStates(int index, const TStateRefList& states) { (void)GroupAt(states, index); }

bool TObject::HasToolUse() const
{
    return !mNeededTools.empty() || !mPocketTools.empty() || !mMinigameTools.empty();
}

bool TObject::AcceptsTool(TTool* tool)
{
    if (!tool) return false;
    const std::string name = tool->GetCurrentName();
    if (mClickExecuter && !mClickExecuter->AcceptsTool(this, name)) return false;
    if (Contains(mNeededTools, name)) return true;
    return OpensPocketWithTool(tool) || OpensMinigameWithTool(tool);
}

bool TObject::OpensPocketWithTool(TTool* tool) const { return tool && Contains(mPocketTools, tool->GetCurrentName()); }

bool TObject::OpensMinigameWithTool(TTool* tool) const { return tool && Contains(mMinigameTools, tool->GetCurrentName()); }

TObject* TObject::FindChildAcceptingTool(TTool* tool)
{
    for (auto& child : mChildren) {
        if (child->AcceptsTool(tool)) return child.get();
        if (TObject* inner = child->FindChildAcceptingTool(tool)) return inner;
    }
    return nullptr;
}

TObject* TObject::FindObjectNeedingTool(const std::string& name)
{
    if (Contains(mNeededTools, name)) return this;
    for (auto& child : mChildren)
        if (child->FindObjectNeedingTool(name)) return child.get();
    return nullptr;
}

void TObject::CollectNeededTools(std::vector<std::string>& names, bool skipLocked) const
{
    if (!(skipLocked && IsLocked())) names.insert(names.end(), mNeededTools.begin(), mNeededTools.end());
    for (const auto& child : mChildren) child->CollectNeededTools(names, skipLocked);
}

bool TObject::IsToolRecordUsed(const std::string& name) const
{
    for (const TToolRecordList* list : {&mToolRecords, &mAfterEventToolRecords})
        for (const TObjectToolRecord& record : *list)
            if (record.mToolName == name && record.mUsed) return true;
    for (const auto& child : mChildren)
        if (child->IsToolRecordUsed(name)) return true;
    return false;
}

bool TObject::AllToolRecordsUsed() const
{
    for (const TToolRecordList* list : {&mToolRecords, &mAfterEventToolRecords})
        for (const TObjectToolRecord& record : *list)
            if (!record.mUsed) return false;
    for (const auto& child : mChildren)
        if (!child->AllToolRecordsUsed()) return false;
    return true;
}

void TObject::Activate(int /*count*/, int /*x*/, int /*y*/)
{
    mActive = true;
    for (const std::string& name : mActivationSounds) PlayThroughRootSpace(name);
}

void TObject::Deactivate(int /*count*/, int /*x*/, int /*y*/)
{
    mActive = false;
    for (const std::string& name : mActivationSounds) StopNamedSound(name);
}

void TObject::ActivateSimple() { Activate(0, 0, 0); }

void TObject::DeactivateSimple() { Deactivate(0, 0, 0); }

void TObject::Lock()
{
    mEffect.reset();
    mLocked = true;
}

bool TObject::IsInert() const
{
    return GetTypeCode() == 0 && !mDummy && mMinigame.empty() && mPocket.empty() && mDialog.empty() &&
           mDialog2.empty() && mRoomXo.empty() && mToolRecords.empty();
}

bool TObject::IsHintable()
{
    if (!IsVisible() || IsLocked()) return false;
    // The ghost object asks the profile's ghost hint setting, which this game's profile lacks.
    if (GetTypeCode() == 22) return false;
    if (mHintMode == kHintNone) return false;
    if (mHintMode == kHintShow) return true;
    if (!mNeededTools.empty()) {
        // A needed tool counts once the player holds it complete.
        const TToolsList* held = GetAppState().mPlayerTools;
        if (!held) return false;
        for (const std::string& name : mNeededTools) {
            const TTool* tool = held->FindTool(name);
            if (tool && tool->IsUsedUp()) return true;
        }
        return false;
    }
    if (!mToolRecords.empty()) return true;
    if (TPocket* pocket = GetPocketSpace()) {
        if (pocket->HasHintables()) return true;
    }
    if (TGameSpace* minigame = FindMiniGameSpace()) {
        if (minigame->IsHintAvailable()) return true;
    }
    if (auto* room = dynamic_cast<TRoom*>(FindRoomSpace())) {
        if (room->HasHintables()) return true;
    }
    if (!mRoomXo.empty() || !mDialog.empty() || !mDialog2.empty()) return true;
    return LinksToRoomWithWork(false);
}

void TObject::CollectHintables(std::vector<TObject*>& collector)
{
    if (IsHintable()) collector.push_back(this);
    for (auto& child : mChildren) child->CollectHintables(collector);
}

TPocket* TObject::GetPocketSpace() const
{
    if (mPocket.empty()) return nullptr;
    auto* room = dynamic_cast<TRoom*>(GetRootSpace());
    return room ? room->FindPocket(mPocket) : nullptr;
}

TGameSpace* TObject::FindMiniGameSpace() const
{
    TGameSpace* space = RegisteredSpace(mMinigame);
    return space && space->IsSpaceType(kSpaceMiniGame) ? space : nullptr;
}

TGameSpace* TObject::FindRoomSpace() const { return dynamic_cast<TRoom*>(RegisteredSpace(mMinigame)); }

bool TObject::LinksToRoomWithWork(bool force) const
{
    if (mRoom.empty()) return false;
    TSpacesRegistry* registry = GetAppState().mSpacesRegistry;
    auto* room = registry ? dynamic_cast<TRoom*>(registry->FindSpace(mRoom)) : nullptr;
    if (!room || (!force && room == registry->mCurrent)) return false;
    return room->HasHintables();
}

void TObject::StartXoEffect()
{
    const int32_t x = TruncToInt(mX);
    const int32_t y = TruncToInt(mY);
    mEffect.reset(new TEffectRoomXoHint(x, y, ClampToInt(static_cast<long long>(x) + TruncToInt(mWidth)),
                                        ClampToInt(static_cast<long long>(y) + TruncToInt(mHeight))));
}
