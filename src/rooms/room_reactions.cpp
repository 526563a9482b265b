// What a room does with what its objects report: pockets opened and closed, rooms, mini-games
// and dialogs asked for through game events, progress recorded in the profile, the tools
// that open pockets, and the hint that points at something to do.
#include <algorithm>
#include <cfloat>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/random.h"
#include "game/board_effects.h"
#include "game/user_info.h"
#include "objects/object.h"
#include "rooms/game_event.h"
#include "rooms/hint_effects.h"
#include "rooms/inventory_panel.h"
#include "rooms/pocket.h"
#include "rooms/room.h"
#include "rooms/tool.h"
#include "sound/sound_manager.h"
#include "ui/window_manager.h"

namespace {

void AddProfilePair(const std::string& key, const std::string& value)
{
    if (TUserInfo* profile = GetUserInfo()) profile->AddPair(key, value);
}

void PlayHintSound()
{
    PlayNamedSound("hint");
}

// The player's highlight option lives with the application; this game never sets it.
bool HighlightOptionSet() { return GetAppState().mHighlightOption; }

// Each name a space added to an object's list, for the silent log.
void LogAddedTools(const char* format, const std::string& space, const std::vector<std::string>& names, size_t from)
{
    for (size_t i = from; i < names.size(); ++i) GetLogger()->LogDebug(format, space.c_str(), names[i].c_str());
}

TRoom* FindRegisteredRoom(const std::string& name)
{
    TSpacesRegistry* registry = GetAppState().mSpacesRegistry;
    return registry ? dynamic_cast<TRoom*>(registry->FindSpace(name)) : nullptr;
}

}  // namespace

// ---- TBaseRoom ----

bool TBaseRoom::PostObjectEvent(const std::string& name, int value, TObject* object)
{
    TGameEvent event(name, value, "");
    event.mObject = object;
    PostGameEvent(event, false);
    return false;
}

bool TBaseRoom::PostObjectEventRecord(const TFlagRef& record, TObject* object)
{
    TGameEvent event = TGameEvent::FromRecord(record);
    event.mObject = object;
    PostGameEvent(event, false);
    return false;
}

void TBaseRoom::HighlightObjects(int on)
{
    for (const auto& object : mObjects) {
        object->mHighlight = on != 0 && HighlightOptionSet();
        if (!object->mHighlight) continue;
        const bool target = !object->mRoomXo.empty() || !object->mRoom.empty() || !object->mPocket.empty() ||
                            !object->mMinigame.empty();
        object->mHighlight = object->HasToolUse() || object->IsHintable() || (!object->IsLocked() && target) ||
                             object->GetTypeCode() == 64;
    }
}

// ---- TRoom: object reports ----

bool TRoom::OnObjectToolUsed(TObject* object, TTool* tool, int flag)
{
    if (mOwnerListener) {
        mOwnerListener->OnToolApplied(this, object, tool);
        bool holds = false;
        mOwnerListener->OwnerHoldsTool(tool ? tool->mUseCount : 0, object ? object->mHoldToolAfterUse : 0, holds);
        if (holds) mOwnerListener->OnToolUseEnded(flag);
    }
    if (object) {
        OpenTarget(object, object->mPocketAfterTool, object->mRoomAfterTool, object->mRoomXoAfterTool,
                   object->mMinigameAfterTool, object->mDialogAfterTool, object->mDialogAfterTool2, true);
    }
    return false;
}

bool TRoom::OnObjectActivated(TObject* object)
{
    if (!object) return false;
    if (!object->mActivationKind.empty() && object->mActivationKind != "simple") return false;
    OpenTarget(object, object->mPocket, object->mRoom, object->mRoomXo, object->mMinigame, object->mDialog,
               object->mDialog2, false);
    return true;
}

void TRoom::OpenTarget(TObject* object, const std::string& pocket, const std::string& room,
                       const std::string& roomXo, const std::string& minigame, const std::string& dialog,
                       const std::string& dialog2, bool afterTool)
{
    if (!pocket.empty()) {
        TPocket* found = FindPocket(pocket);
        if (!found) {
            GetLogger()->LogDebug("Pocket not found %s", pocket.c_str());
            return;
        }
        if (found->mShowRequest || !found->CanBeOpened()) return;
        // A tool opens from the corner, a click from the object's centre.
        if (afterTool) {
            OpenPocket(found, 0.0f, 0.0f);
        } else {
            OpenPocket(found, static_cast<float>(object->GetCenterX()), static_cast<float>(object->GetCenterY()));
        }
    } else if (!room.empty()) {
        AddProfilePair("IHelpShown", "WAS_ENTER_ROOM");
        if (mOwnerListener) mOwnerListener->OpenRoomAfterTool(room, this, 1);
    } else if (!roomXo.empty()) {
        AddProfilePair("IHelpShown", "WAS_ENTER_ROOM");
        if (mOwnerListener) mOwnerListener->OpenRoomXoAfterTool(roomXo, this);
    } else if (!minigame.empty()) {
        PostGameEvent(TGameEvent("runminigame", 0, minigame), false);
    } else if (!dialog.empty()) {
        PostGameEvent(TGameEvent("dialog", 300, dialog), false);
    } else if (!dialog2.empty()) {
        PostGameEvent(TGameEvent("dialog2", 300, "personages/" + dialog2), false);
    }
}

bool TRoom::RunCommands(const TToolRecordList* records, TObject* object, float delay)
{
    if (records) {
        for (const TObjectToolRecord& record : *records) {
            TTool* tool = GlobalToolsList().FindTool(record.mToolName);
            if (tool && tool->CompletesWithNextPart()) AddProfilePair("T", record.mToolName);
        }
    }
    bool close = false;
    if (mCloseAfterAllToolsTaken) {
        close = AreAllToolsTaken();
    } else if (!mToolsToClose.empty()) {
        close = std::all_of(mToolsToClose.begin(), mToolsToClose.end(), [this](const std::string& name) {
            return std::any_of(mObjects.rbegin(), mObjects.rend(),
                               [&name](const std::unique_ptr<TObject>& o) { return o->IsToolRecordUsed(name); });
        });
    }
    if (close) PostCloseRequest();
    if (mOwnerListener) mOwnerListener->RunCommands(records, object, delay);
    return false;
}

void TRoom::PostCloseRequest()
{
    if (GetSpaceType() == kSpacePocket) {
        const bool shrinking = mOpenPocket && mOpenPocket->GetShowEffector();
        TGameEvent event("closepocket", shrinking ? 350 : 150, "");
        event.mWords[0] = 1;
        PostGameEvent(event, true);
    } else {
        PostGameEvent(TGameEvent("goback", 800, ""), true);
    }
}

void TRoom::UnlockObjects(const TObjectRefGroup* group)
{
    TGameSpace::UnlockObjects(group);
    if (mToolsOpenPockets) CheckToolsToOpenPockets();
}

void TRoom::LockObjects(const TObjectRefGroup* group)
{
    TGameSpace::LockObjects(group);
    if (mToolsOpenPockets) CheckToolsToOpenPockets();
}

// ---- TRoom: pockets ----

void TRoom::OpenPocket(TPocket* pocket, float x, float y)
{
    if (!pocket) return;
    mOpenPocket = pocket;
    // The first opening's point stays for good.
    if (pocket->mStartX == FLT_MAX) pocket->mStartX = x;
    if (pocket->mStartY == FLT_MAX) pocket->mStartY = y;
    pocket->mShowRequest = true;
    pocket->OnShow();
    AddProfilePair("IHelpShown", "WAS_SHOW_POCKET");
    if (pocket->mActivateShadow) ShowPocketShadow();
}

void TRoom::ShowPocketShadow()
{
    TGameSpace* outermost = this;
    while (outermost->mParentSpace) outermost = outermost->mParentSpace;
    auto* outerRoom = dynamic_cast<TRoom*>(outermost);
    if ((outerRoom && outerRoom->mPocketShadow) || mPocketShadow) return;
    std::unique_ptr<TFaderShadow> shadow(new TFaderShadow());
    shadow->mKeepShown = true;
    shadow->FadeBetween(0.0f, 0.7f, 0.2f);
    mPocketShadow = std::move(shadow);
}

bool TRoom::ClosePocket(int flag)
{
    if (!mOpenPocket) return false;
    if (!mOpenPocket->ClosePocket(flag)) {
        // A pocket still shrinking from an earlier close is not hidden a second time.
        if (mOpenPocket->mShowRequest) {
            mOpenPocket->mShowRequest = false;
            mOpenPocket->OnHide();
        }
        mPocketShadow.reset();
        if (!mOpenPocket->HasHideMovement()) mOpenPocket = nullptr;
        if (GetSpaceType() == kSpacePocket && mCloseAfterAllToolsTaken && AreAllToolsTaken()) PostCloseRequest();
    }
    return flag == 0;
}

void TRoom::OnShowPocketDone(TShowPocketEffector* effector)
{
    if (!effector) return;
    effector->SetTarget(nullptr);
    if (!effector->mHiding || !mOpenPocket) return;
    GetLogger()->LogDebug("OnShowPocketEffectorListenerDone %s", mOpenPocket->mSpaceName.c_str());
    // The objects' pictures go; the frame stays with the pocket.
    mOpenPocket->TGameSpace::FreeObjectResources();
    mOpenPocket = nullptr;
}

bool TRoom::HandleBack(int flag)
{
    if (mOpenPocket && !mOpenPocket->HandleBack(flag)) {
        mOpenPocket->Finish();
        return true;
    }
    return flag != 0;
}

void TRoom::RunCloseChecks()
{
    if (mOpenPocket && mOpenPocket->ReservedHook51()) PostGameEvent(TGameEvent("closepocket", 500, ""), false);
    if (mCloseAfterUpdate && AreAllToolsTaken()) {
        mCloseAfterUpdate = false;
        if (GetSpaceType() == kSpacePocket) {
            PostGameEvent(TGameEvent("closepocket", 500, ""), false);
        } else {
            PostGameEvent(TGameEvent("goback", 100, ""), false);
        }
    }
}

bool TRoom::AreAllToolsTaken()
{
    for (auto it = mObjects.rbegin(); it != mObjects.rend(); ++it) {
        if (!(*it)->AllToolRecordsUsed()) return false;
    }
    for (TObject* object : mLockToCloseObjects) {
        if (!object->IsLocked()) return false;
    }
    for (const auto& pocket : mPockets) {
        if (!pocket->AreAllToolsTaken()) return false;
    }
    return true;
}

void TRoom::Finish()
{
    const int type = GetSpaceType();
    const bool mayFinish = mOwnerListener && ((type & (1 | 8 | 16)) != 0 || (type == 4 && mClosed));
    ItemsList* list = (type & 16) ? GetCurrentList() : nullptr;
    const bool listDone = list && list->IsComplete();
    if (mayFinish && ((type & 16) == 0 || listDone)) {
        const TObjectRefList* const lists[6] = {&mUnlock, &mLock, &mVisible, &mHide, &mActivate, &mDeactivate};
        ApplyIndexedGroups(lists, mStates, mFlags, 0);
    }
    if (listDone) AddProfilePair("HO", mSpaceName);
    if (mOwnerListener) mOwnerListener->OnRoomFinished(this);
}

void TRoom::CheckToolsToOpenPockets()
{
    // A pocket's object may name that same pocket: the pocket does not descend into itself.
    if (mFillingToolLists) return;
    mFillingToolLists = true;
    for (const auto& object : mObjects) {
        object->mPocketTools.clear();
        if (object->mPocket.empty()) continue;
        TPocket* pocket = FindPocket(object->mPocket);
        if (!pocket) continue;
        pocket->CollectToolsToOpen(object->mPocketTools);
        LogAddedTools("pocket %s toolToOpenPocket - %s", pocket->mSpaceName, object->mPocketTools, 0);
        pocket->CheckToolsToOpenPockets();
    }
    mFillingToolLists = false;
}

// A registered mini-game space adds what opens it to the lists as loaded; without one they
// stay as they are.
void TRoom::CheckToolsToOpenMinigames()
{
    for (const auto& object : mObjects) {
        if (object->mMinigame.empty()) continue;
        TGameSpace* minigame = object->FindMiniGameSpace();
        if (!minigame) continue;
        const size_t from = object->mMinigameTools.size();
        minigame->CollectToolsToOpen(object->mMinigameTools);
        LogAddedTools("minigame %s toolToOpenMinigame - %s", minigame->mSpaceName, object->mMinigameTools, from);
    }
}

// ---- TRoom: hints ----

bool TRoom::HasHintables()
{
    if (mHintsBusy) return false;
    mHintsBusy = true;
    std::vector<TObject*> hintables;
    CollectHintables(hintables);
    mHintsBusy = false;
    return !hintables.empty();
}

bool TRoom::IsHintAvailable()
{
    // Connected rooms may name each other: a room asked again meanwhile answers false.
    if (mHintQueryBusy) return false;
    mHintQueryBusy = true;
    mConnectedSpaces.clear();
    if (TSpacesRegistry* registry = GetAppState().mSpacesRegistry) {
        for (const std::string& name : mConnectedRooms) {
            if (TGameSpace* space = registry->FindSpace(name)) mConnectedSpaces.push_back(space);
        }
    }
    bool available = false;
    std::vector<TObject*> hintables;
    CollectHintables(hintables);
    for (TObject* object : hintables) {
        if (object->mRoom.empty()) {
            available = true;
            break;
        }
        TRoom* room = FindRegisteredRoom(object->mRoom);
        if (!room || !room->HasHintables()) {
            available = true;
            break;
        }
    }
    for (size_t i = 0; !available && i < mConnectedSpaces.size(); ++i) available = mConnectedSpaces[i]->IsHintAvailable();
    mHintQueryBusy = false;
    return available;
}

bool TRoom::ShowHint()
{
    mHintUsed = true;
    if (mOpenPocket) return mOpenPocket->ShowHint();
    std::vector<TObject*> hintables;
    CollectHintables(hintables);
    if (hintables.empty()) {
        const bool shown = mCanShowBackHint && ShowBackArrow();
        mHintPending = false;
        return shown;
    }
    for (auto& effect : mEffects) effect.reset();
    for (size_t i = 1; i < hintables.size(); ++i)
        std::swap(hintables[i], hintables[static_cast<size_t>(GameRand()) % (i + 1)]);
    const size_t index = static_cast<size_t>(GameRand()) % hintables.size();
    TObject* picked = hintables[index];
    const int spaceX = TruncToInt(mX);
    const int spaceY = TruncToInt(mY);

    std::vector<TObject*> givers;
    FindToolGivers(hintables, givers);
    if (index < givers.size() && givers[index]) {
        TObject* giver = givers[index];
        const TIntPoint point = giver->GetHintPoint();
        mEffects[1].reset(new EffectHint(point.x + spaceX, point.y + spaceY, giver));
    } else if (TInventoryPanel* panel = GetAppState().mInventoryPanel) {
        int needing = 0;
        int slot = 0;
        if (FindInventoryToolForHint(hintables, needing, slot)) {
            const TInventorySlot* shown = panel->SlotAt(slot);
            mEffects[2].reset(new EffectHint(shown->mX, shown->mY, nullptr));
            picked = hintables[static_cast<size_t>(needing)];
        }
    }

    const TIntPoint point = picked->GetHintPoint();
    mHintPointX1 = mHintPointX2 = point.x;
    mHintPointY1 = mHintPointY2 = point.y;
    mEffects[0].reset(new EffectHint(point.x + spaceX, point.y + spaceY, picked));
    mHintPointX1 += spaceX;
    mHintPointX2 += spaceX;
    mHintPointY1 += spaceY;
    mHintPointY2 += spaceY;
    PlayHintSound();

    TRoom* target = picked->mRoom.empty() ? nullptr : FindRegisteredRoom(picked->mRoom);
    mHintPending = !(target && target->HasHintables());
    return true;
}

void TRoom::ShowBackHint() { ShowBackArrow(); }

bool TRoom::ShowBackArrow()
{
    mEffects[0].reset();
    mEffects[1].reset();
    TIntPoint at{mBackHintX, mBackHintY};
    if (at.x == 0 && at.y == 0) {
        // Without a place of its own the arrow points at the inventory's back button.
        TInventoryPanel* panel = GetAppState().mInventoryPanel;
        if (!panel) return false;
        at = panel->GetBackButtonCentre();
    }
    mEffects[0].reset(new TEffectBackHint(at.x, at.y, "textures/gui/backarrow", 6.0f));
    PlayHintSound();
    return true;
}

void TRoom::HighlightObjects(int on)
{
    TBaseRoom::HighlightObjects(on);
    for (const auto& pocket : mPockets) pocket->HighlightObjects(on);
}

void TRoom::RemoveXoEffects()
{
    for (const auto& object : mObjects) object->RemoveXoEffects();
    for (const auto& pocket : mPockets) pocket->RemoveXoEffects();
}
