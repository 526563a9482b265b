// A space the scene tests can own objects with: it takes an owner listener and a scroll
// offset and writes the sounds it is asked to play into a trace; and an owner that records
// every call it receives.
#pragma once
#include <string>
#include <vector>

#include "rooms/game_space.h"

class TTestSpace : public TGameSpace {
public:
    explicit TTestSpace(TGameSpaceListener* owner = nullptr, float offsetX = 0.0f, float offsetY = 0.0f)
    {
        mOwnerListener = owner;
        mOffsetX = offsetX;
        mOffsetY = offsetY;
    }

    // Plays nothing: the sound manager is left alone.
    void PlaySound(const std::string& name) override
    {
        if (mTrace) mTrace->push_back("sound " + name);
    }

    // Appends a top-level object above the others, as a loader would.
    template <class Kind>
    Kind* Add(Kind* object)
    {
        object->mOwnerSpace = this;
        mObjects.emplace_back(object);
        return object;
    }

    std::vector<std::string>* mTrace = nullptr;
};

// One call as the owner saw it: the operation, the list handed over, the object and delay.
struct TOwnerCall {
    std::string mOperation;
    const void* mList = nullptr;
    TObject* mObject = nullptr;
    float mDelay = 0.0f;
};

class TRecordingOwner : public TGameSpaceListener {
public:
    std::vector<TOwnerCall> mCalls;
    std::vector<std::string>* mTrace = nullptr;  // also gets "owner <operation>"
    int mHiddenAnswer = 0;

    void OnMiniGameClosed(TGameSpace* space) override { Record("OnMiniGameClosed", space); }
    void OnSpaceFirstShown(TGameSpace* space) override { Record("OnSpaceFirstShown", space); }
    void OnSpaceShown(TGameSpace* space) override { Record("OnSpaceShown", space); }
    int OnSpaceHidden(TGameSpace* space) override
    {
        Record("OnSpaceHidden", space);
        return mHiddenAnswer;
    }

    void ActivateObjects(const TObjectRefGroup* group) override { Record("ActivateObjects", group); }
    void DeactivateObjects(const TObjectRefGroup* group) override { Record("DeactivateObjects", group); }
    void ShowObjects(const TObjectRefGroup* group) override { Record("ShowObjects", group); }
    void HideObjects(const TObjectRefGroup* group) override { Record("HideObjects", group); }
    void LockObjects(const TObjectRefGroup* group) override { Record("LockObjects", group); }
    void UnlockObjects(const TObjectRefGroup* group) override { Record("UnlockObjects", group); }
    void AddTasks(const TNameGroup* tasks) override { Record("AddTasks", tasks); }
    void RemoveTasks(const TNameGroup* tasks) override { Record("RemoveTasks", tasks); }
    void ApplyAobj(const TNameGroup* names) override { Record("ApplyAobj", names); }
    void ApplyRobj(const TNameGroup* names) override { Record("ApplyRobj", names); }
    void ApplyCobj(const TNameGroup* names) override { Record("ApplyCobj", names); }
    void ApplyEffList(const TObjectRefGroup* group, TObject* object) override
    {
        Record("ApplyEffList", group, object);
    }
    void ApplyEffsList(const TObjectRefGroup* group, TObject* object) override
    {
        Record("ApplyEffsList", group, object);
    }
    void RunCommands(const TToolRecordList* records, TObject* object, float delay) override
    {
        Record("RunCommands", records, object, delay);
    }

private:
    void Record(const char* operation, const void* list, TObject* object = nullptr, float delay = 0.0f)
    {
        mCalls.push_back({operation, list, object, delay});
        if (mTrace) mTrace->push_back(std::string("owner ") + operation);
    }
};
