// A listener that writes every call an object makes to it as one line of a shared log, and
// the left-button press the input tests hand their objects.
#pragma once
#include <string>
#include <vector>

#include "objects/object.h"
#include "rooms/scene_listeners.h"
#include "objects/scene_press.h"
#include "rooms/scene_mouse_event.h"

namespace {


using TCalls = std::vector<std::string>;

inline std::string FirstOf(const TObjectRefGroup* group) { return group && !group->empty() ? group->front().mObject : ""; }
inline std::string FirstOf(const TNameGroup* names) { return names && !names->empty() ? names->front() : ""; }

// Every call an object makes to its listener, as one line each.
class TRecordingListener : public TObjectListener {
public:
    explicit TRecordingListener(TCalls& calls) : mCalls(calls) {}
    TCalls& mCalls;

    bool RunCommands(const TToolRecordList* records, TObject*, float delay) override
    {
        mCalls.push_back("RunCommands " + std::to_string(records->size()) + " " + std::to_string(delay));
        return true;
    }
    bool OnObjectToolUsed(TObject*, TTool*, int flag) override
    {
        mCalls.push_back("OnObjectToolUsed " + std::to_string(flag));
        return true;
    }
    bool OnObjectActivated(TObject*) override
    {
        mCalls.push_back("OnObjectActivated");
        return true;
    }
    bool PostObjectEventRecord(const TFlagRef& record, TObject*) override
    {
        mCalls.push_back("Post " + record.mName);
        return true;
    }
    bool OnObjectEventsPosted() override
    {
        mCalls.push_back("EventsPosted");
        return true;
    }
    void UnlockObjects(const TObjectRefGroup* g) override { mCalls.push_back("Unlock " + FirstOf(g)); }
    void LockObjects(const TObjectRefGroup* g) override { mCalls.push_back("Lock " + FirstOf(g)); }
    void ActivateObjects(const TObjectRefGroup* g) override { mCalls.push_back("Activate " + FirstOf(g)); }
    void DeactivateObjects(const TObjectRefGroup* g) override { mCalls.push_back("Deactivate " + FirstOf(g)); }
    void ShowObjects(const TObjectRefGroup* g) override { mCalls.push_back("Show " + FirstOf(g)); }
    void HideObjects(const TObjectRefGroup* g) override { mCalls.push_back("Hide " + FirstOf(g)); }
    void ApplyEffList(const TObjectRefGroup* g, TObject*) override { mCalls.push_back("Eff " + FirstOf(g)); }
    void ApplyEffsList(const TObjectRefGroup* g, TObject*) override { mCalls.push_back("Effs " + FirstOf(g)); }
    void AddTasks(const TNameGroup* t, TObject*) override { mCalls.push_back("AddTasks " + FirstOf(t)); }
    void RemoveTasks(const TNameGroup* t, TObject*) override { mCalls.push_back("RemoveTasks " + FirstOf(t)); }
    void ApplyAobj(const TNameGroup* n, TObject*) override { mCalls.push_back("Aobj " + FirstOf(n)); }
    void ApplyRobj(const TNameGroup* n, TObject*) override { mCalls.push_back("Robj " + FirstOf(n)); }
    void ApplyCobj(const TNameGroup* n, TObject*) override { mCalls.push_back("Cobj " + FirstOf(n)); }
    void OnObjectMouseEnter(TObject* o, const TSceneMouseEvent&) override { mCalls.push_back("Enter " + o->GetName()); }
    void OnObjectMouseLeave(TObject* o, const TSceneMouseEvent&) override { mCalls.push_back("Leave " + o->GetName()); }
    void OnObjectMouseOver(TObject* o, const TSceneMouseEvent&) override { mCalls.push_back("Over " + o->GetName()); }
    void OnObjectMouseDown(TObject*, const TSceneMouseEvent&) override { mCalls.push_back("MouseDown"); }
    void OnObjectMouseUp(TObject*, const TSceneMouseEvent&) override { mCalls.push_back("MouseUp"); }
};

}  // namespace
