// A scene (room or pocket) in its least form: it listens to its objects and hands what
// they report on to its owner, or drops it when it has none. Its scroll offset is the
// DrawObject offset pair, which its objects add to their drawn positions.
#pragma once
#include "graphics/draw_object.h"
#include "rooms/scene_listeners.h"

class TGameSpace : public TGameSoundPlayer, public DrawObject, public TObjectListener {
public:
    TGameSpace() = default;
    TGameSpace(const TGameSpace&) = delete;
    TGameSpace& operator=(const TGameSpace&) = delete;
    ~TGameSpace() override = default;

    TGameSpaceListener* GetOwnerListener() const { return mOwnerListener; }

    bool RunCommands(const TToolRecordList* records, TObject* object, float delay) override;
    void UnlockObjects(const TObjectRefGroup* group) override;
    void LockObjects(const TObjectRefGroup* group) override;
    void ActivateObjects(const TObjectRefGroup* group) override;
    void DeactivateObjects(const TObjectRefGroup* group) override;
    void ShowObjects(const TObjectRefGroup* group) override;
    void HideObjects(const TObjectRefGroup* group) override;
    void ApplyEffList(const TObjectRefGroup* group, TObject* object) override;
    void ApplyEffsList(const TObjectRefGroup* group, TObject* object) override;
    void AddTasks(const TNameGroup* tasks, TObject* object) override;
    void RemoveTasks(const TNameGroup* tasks, TObject* object) override;
    void ApplyAobj(const TNameGroup* names, TObject* object) override;
    void ApplyRobj(const TNameGroup* names, TObject* object) override;
    void ApplyCobj(const TNameGroup* names, TObject* object) override;

    // The space this one lies in (a pocket in its room); null for an outermost space.
    TGameSpace* mParentSpace = nullptr;

protected:
    TGameSpaceListener* mOwnerListener = nullptr;  // not owned; rooms set it
};
