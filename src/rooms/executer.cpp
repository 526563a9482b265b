#include "rooms/executer.h"

#include <climits>

#include "core/logger.h"
#include "core/random.h"
#include "game/board_effects.h"
#include "objects/object.h"
#include "rooms/items_list.h"
#include "rooms/room.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"
#include "sound/sound_manager.h"

void RegisterExecuters(std::map<std::string, std::unique_ptr<TExecuter>>& registry)
{
    registry["xo"] = std::make_unique<TXOExecuter>();
    registry["xomiss"] = std::make_unique<TXOMissExecuter>();
    registry["xodouble"] = std::make_unique<TXODoubleScoresExecuter>();
    registry["tool"] = std::make_unique<TGiveTool>();
    registry["toolaftertool"] = std::make_unique<TGiveToolAfterTool>();
    registry["tooltool"] = std::make_unique<TToolToolExecuter>();
    registry["hint"] = std::make_unique<THintExecuter>();
    registry["iteraction"] = std::make_unique<TIteractionExecuter>();
}

std::map<std::string, std::unique_ptr<TExecuter>>& ExecuterRegistry()
{
    // Built on first use, so no static object can ask before it exists.
    static std::map<std::string, std::unique_ptr<TExecuter>> registry = [] {
        std::map<std::string, std::unique_ptr<TExecuter>> made;
        RegisterExecuters(made);
        return made;
    }();
    return registry;
}

TExecuter* GetExecuter(const std::string& name)
{
    auto& registry = ExecuterRegistry();
    auto it = registry.find(name);
    if (it == registry.end()) {
        GetLogger()->LogDebug("Wrong executer %s", name.c_str());
        return nullptr;
    }
    return it->second.get();
}

namespace {

// The object's own space when it is a room (pockets are rooms too).
TRoom* RoomOf(const TObject* object) { return dynamic_cast<TRoom*>(object->mOwnerSpace); }

// The hint pointer goes when it points at the object; one aimed elsewhere, or another
// effect in the slot, stays.
void RemoveHintPointer(TRoom* room, const TObject* object)
{
    auto* pointer = dynamic_cast<EffectHint*>(room->mEffects[0].get());
    if (pointer && pointer->GetTarget() == object) room->mEffects[0].reset();
}

// A found or used object: no further uses, hidden (its xo sparkle with it), no pointer.
void TakeOut(TObject* object, TRoom* room)
{
    object->ExhaustUses();
    object->SetVisible(false);
    if (room) RemoveHintPointer(room, object);
}

}  // namespace

bool TXOExecuter::OnClick(TObject* object, const TSceneMouseEvent& /*event*/)
{
    TRoom* room = RoomOf(object);
    ItemsList* list = room ? room->GetCurrentList() : nullptr;
    if (!list) return true;
    TGameSpaceListener* owner = room->GetOwnerListener();
    ItemsListItem* item = list->FindItemOf(object);
    if (!item || !item->mFindable) {
        if (owner) owner->OnXoMiss(object, room);
        return true;
    }
    if (object->mLocked) return true;
    PlayNamedSound("ho_item_found");
    TakeOut(object, room);
    if (owner) owner->OnXoItemFound(object, room);
    return true;
}

bool TXOMissExecuter::OnClick(TObject* object, const TSceneMouseEvent& /*event*/)
{
    TRoom* room = RoomOf(object);
    if (room && room->GetOwnerListener()) room->GetOwnerListener()->OnXoMiss(object, room);
    return true;
}

bool TXODoubleScoresExecuter::OnClick(TObject* object, const TSceneMouseEvent& /*event*/)
{
    if (object->mLocked) return true;
    TRoom* room = RoomOf(object);
    TakeOut(object, room);
    if (room && room->GetOwnerListener()) room->GetOwnerListener()->OnXoItemFound(object, room);
    return true;
}

bool TIteractionExecuter::OnClick(TObject* object, const TSceneMouseEvent& /*event*/)
{
    TRoom* room = RoomOf(object);
    ItemsList* list = room ? room->GetCurrentList() : nullptr;
    if (!list || !list->ContainsObject(object) || object->mLocked) return true;
    TakeOut(object, room);
    if (room->GetOwnerListener()) room->GetOwnerListener()->OnXoInteraction(object, room);
    return true;
}

bool TGiveTool::OnClick(TObject* object, const TSceneMouseEvent& /*event*/)
{
    if (!object->UseToolRecord(object->mClickCounter, object->mToolRecords)) return true;
    const bool withTools = !object->mNeededTools.empty();
    const long long counter = withTools ? object->mToolCounter : object->mClickCounter;
    const long long limit = withTools ? object->mMaxToolUses : object->mMaxClicks;
    // Straight to the flag: an xo sparkle the object shows stays.
    if (counter >= limit - 1 && object->mHideAfterTakeTool) object->mVisible = false;
    return true;
}

bool TGiveToolAfterTool::OnTool(TObject* object, const TSceneMouseEvent& /*event*/)
{
    const long long freeze = static_cast<long long>(object->mFreezeToolClicks) - 1;
    if (object->mToolCounter > freeze) object->mToolCounter = static_cast<int32_t>(freeze);
    object->UseToolRecord(object->mToolCounter, object->mToolRecords);
    if (object->mHideAfterTakeTool) object->mVisible = false;
    return true;
}

bool TToolToolExecuter::OnClick(TObject* object, const TSceneMouseEvent& /*event*/)
{
    return object->UseToolRecord(object->mClickCounter, object->mToolRecords);
}

bool TToolToolExecuter::OnTool(TObject* object, const TSceneMouseEvent& /*event*/)
{
    return object->UseToolRecord(object->mToolCounter, object->mToolRecords);
}

std::string THintExecuter::GetHintText(TObject* object, const TSceneMouseEvent& event)
{
    TTool* tool = event.mTool;
    if (object->mWrongToolPressed) {
        for (const TWrongToolHint& entry : object->mWrongToolHints) {
            if (tool && !entry.mHints.empty() && tool->GetCurrentName() == entry.mTool)
                return entry.mHints[static_cast<size_t>(GameRand()) % entry.mHints.size()];
        }
        return object->GetWrongToolSound(tool);
    }
    if (tool) return std::string();
    if (object->mLocked) return object->mLockedHints.empty() ? std::string() : object->mLockedHints.front();
    if (!object->mToolHints.empty() && !object->mToolApplied) return object->mToolHints.front();
    const std::vector<std::string>& hints = object->mHints;
    if (hints.empty()) {
        if (!object->mHintFromParent || !object->mParentObject) return std::string();
        return object->mParentObject->GetHintText(event);
    }
    // The first text once, then the others in turn. A damaged save may leave the counter
    // below 0: it counts as 0.
    const int32_t count = static_cast<int32_t>(hints.size());
    int32_t cycle = object->mHintCycle < 0 ? 0 : object->mHintCycle;
    if (cycle == 0 || count == 1) {
        object->mHintCycle = cycle < INT32_MAX ? cycle + 1 : cycle;
        return hints.front();
    }
    int32_t index = cycle % count;
    if (index == 0) index = 1;
    cycle = static_cast<int32_t>((static_cast<long long>(cycle) + 1) % count);
    object->mHintCycle = cycle == 0 ? 1 : cycle;
    return hints[static_cast<size_t>(index)];
}
