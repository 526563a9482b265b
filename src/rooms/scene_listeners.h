// How scene objects report to their space (TObjectListener), how a space plays sounds for
// its objects (TGameSoundPlayer) and how a space reports to its owner (TGameSpaceListener).
// Lists are handed by pointer: the receiver reads them and never owns them.
#pragma once
#include <string>
#include <vector>

#include "objects/object_refs.h"

class TObject;
class TGameSpace;
class TRoom;
class TTool;
struct TSceneMouseEvent;

class TObjectListener {
public:
    virtual ~TObjectListener() = default;

    // A yes/no question an object asks its scene by name.
    virtual bool OnObjectMessage(std::string /*name*/, TObject* /*object*/) { return false; }
    virtual bool RunCommands(const TToolRecordList* /*records*/, TObject* /*object*/, float /*delay*/)
    {
        return false;
    }
    virtual bool OnObjectToolUsed(TObject* /*object*/, TTool* /*tool*/, int /*flag*/) { return false; }
    virtual bool OnObjectActivated(TObject* /*object*/) { return false; }
    virtual bool PostObjectEventRecord(const TFlagRef& /*record*/, TObject* /*object*/) { return false; }
    virtual bool PostObjectEvent(const std::string& /*name*/, int /*value*/, TObject* /*object*/) { return false; }
    virtual bool OnObjectEventsPosted() { return false; }
    virtual void UnlockObjects(const TObjectRefGroup* /*group*/) {}
    virtual void LockObjects(const TObjectRefGroup* /*group*/) {}
    virtual void ActivateObjects(const TObjectRefGroup* /*group*/) {}
    virtual void DeactivateObjects(const TObjectRefGroup* /*group*/) {}
    virtual void ShowObjects(const TObjectRefGroup* /*group*/) {}
    virtual void HideObjects(const TObjectRefGroup* /*group*/) {}
    virtual void ApplyEffList(const TObjectRefGroup* /*group*/, TObject* /*object*/) {}
    virtual void ApplyEffsList(const TObjectRefGroup* /*group*/, TObject* /*object*/) {}
    virtual void Signal() {}
    virtual void AddTasks(const TNameGroup* /*tasks*/, TObject* /*object*/) {}
    virtual void RemoveTasks(const TNameGroup* /*tasks*/, TObject* /*object*/) {}
    virtual void ApplyAobj(const TNameGroup* /*names*/, TObject* /*object*/) {}
    virtual void ApplyRobj(const TNameGroup* /*names*/, TObject* /*object*/) {}
    virtual void ApplyCobj(const TNameGroup* /*names*/, TObject* /*object*/) {}
    virtual void OnObjectCode(int /*code*/) {}
    virtual void OnObjectMouseEnter(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectMouseLeave(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectMouseOver(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectMouseDown(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectMouseUp(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectNote(int /*value*/) {}
};

class TGameSoundPlayer {
public:
    virtual ~TGameSoundPlayer() = default;
    virtual void PlaySound(const std::string& /*name*/) {}
    // The answer is the number of names played.
    virtual int PlayShowSounds() { return 0; }
};

// The owner of a space. Nothing in this game implements it: a space without an owner drops
// what it would hand on.
class TGameSpaceListener {
public:
    virtual ~TGameSpaceListener() = default;

    virtual void OnMiniGameClosed(TGameSpace* /*space*/) {}
    virtual void OnSpaceFirstShown(TGameSpace* /*space*/) {}
    virtual void OnSpaceShown(TGameSpace* /*space*/) {}
    virtual int OnSpaceHidden(TGameSpace* /*space*/) { return 0; }
    virtual void OnRoomFinished(TRoom* /*room*/) {}
    virtual void ActivateObjects(const TObjectRefGroup* /*group*/) {}
    virtual void DeactivateObjects(const TObjectRefGroup* /*group*/) {}
    virtual void ShowObjects(const TObjectRefGroup* /*group*/) {}
    virtual void HideObjects(const TObjectRefGroup* /*group*/) {}
    virtual void LockObjects(const TObjectRefGroup* /*group*/) {}
    virtual void UnlockObjects(const TObjectRefGroup* /*group*/) {}
    virtual void AddTasks(const TNameGroup* /*tasks*/) {}
    virtual void RemoveTasks(const TNameGroup* /*tasks*/) {}
    virtual void ApplyAobj(const TNameGroup* /*names*/) {}
    virtual void ApplyRobj(const TNameGroup* /*names*/) {}
    virtual void ApplyCobj(const TNameGroup* /*names*/) {}
    virtual void ApplyEffList(const TObjectRefGroup* /*group*/, TObject* /*object*/) {}
    virtual void ApplyEffsList(const TObjectRefGroup* /*group*/, TObject* /*object*/) {}
    virtual void RunCommands(const TToolRecordList* /*records*/, TObject* /*object*/, float /*delay*/) {}
    virtual void OnObjectMouseEnter(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectMouseLeave(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectMouseOver(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OnObjectMouseDown(TObject* /*object*/, const TSceneMouseEvent& /*event*/) {}
    virtual void OpenRoomAfterTool(const std::string& /*roomName*/, TRoom* /*room*/, int /*flag*/) {}
    virtual void OpenRoomXoAfterTool(const std::string& /*roomName*/, TRoom* /*room*/) {}
    virtual void OnXoItemFound(TObject* /*object*/, TRoom* /*room*/) {}
    virtual void OnXoMiss(TObject* /*object*/, TRoom* /*room*/) {}
    virtual void OnXoInteraction(TObject* /*object*/, TRoom* /*room*/) {}
    virtual void OnToolUseEnded(int /*flag*/) {}
    virtual void OnToolApplied(TRoom* /*room*/, TObject* /*object*/, TTool* /*tool*/) {}
    virtual void OwnerHoldsTool(int /*toolCount*/, int /*holdToolAfterUse*/, bool& /*holds*/) {}
    virtual void OnListToolFound(const TObjectToolRecord& /*record*/) {}
    virtual void Signal() {}
    virtual void NotifyOwner(int /*value*/) {}
    virtual void OnRoomFrame(TRoom* /*room*/) {}
};
