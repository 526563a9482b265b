#include <gtest/gtest.h>

#include "objects/object.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/test_space.h"

namespace {
// Every forward called once with distinct lists, so the owner's records show which one came.
struct TForwardCalls {
    TObject mObject;
    const TObjectRefGroup mRefs[8];
    const TNameGroup mNames[5];
    const TToolRecordList mRecords;

    // What RunCommands answered.
    bool CallAll(TObjectListener& listener)
    {
        listener.UnlockObjects(&mRefs[0]);
        listener.LockObjects(&mRefs[1]);
        listener.ActivateObjects(&mRefs[2]);
        listener.DeactivateObjects(&mRefs[3]);
        listener.ShowObjects(&mRefs[4]);
        listener.HideObjects(&mRefs[5]);
        listener.ApplyEffList(&mRefs[6], &mObject);
        listener.ApplyEffsList(&mRefs[7], &mObject);
        listener.AddTasks(&mNames[0], &mObject);
        listener.RemoveTasks(&mNames[1], &mObject);
        listener.ApplyAobj(&mNames[2], &mObject);
        listener.ApplyRobj(&mNames[3], &mObject);
        listener.ApplyCobj(&mNames[4], &mObject);
        return listener.RunCommands(&mRecords, &mObject, 0.1f);
    }
};
}  // namespace

TEST(GameSpace, ForwardsReachTheOwnerOperationOfTheSameName)
{
    TRecordingOwner owner;
    TTestSpace space(&owner);
    TForwardCalls calls;
    EXPECT_FALSE(calls.CallAll(space));

    struct Expected {
        const char* operation;
        const void* list;
        TObject* object;
    };
    const TObjectRefGroup* refs = calls.mRefs;
    const TNameGroup* names = calls.mNames;
    TObject* object = &calls.mObject;
    const Expected expected[] = {
        {"UnlockObjects", &refs[0], nullptr}, {"LockObjects", &refs[1], nullptr},
        {"ActivateObjects", &refs[2], nullptr}, {"DeactivateObjects", &refs[3], nullptr},
        {"ShowObjects", &refs[4], nullptr},   {"HideObjects", &refs[5], nullptr},
        {"ApplyEffList", &refs[6], object},   {"ApplyEffsList", &refs[7], object},
        {"AddTasks", &names[0], nullptr},     {"RemoveTasks", &names[1], nullptr},
        {"ApplyAobj", &names[2], nullptr},    {"ApplyRobj", &names[3], nullptr},
        {"ApplyCobj", &names[4], nullptr},    {"RunCommands", &calls.mRecords, object},
    };
    ASSERT_EQ(owner.mCalls.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < owner.mCalls.size(); ++i) {
        EXPECT_EQ(owner.mCalls[i].mOperation, expected[i].operation);
        EXPECT_EQ(owner.mCalls[i].mList, expected[i].list) << expected[i].operation;
        EXPECT_EQ(owner.mCalls[i].mObject, expected[i].object) << expected[i].operation;
    }
    EXPECT_FLOAT_EQ(owner.mCalls.back().mDelay, 0.1f);
    EXPECT_FALSE(space.OnObjectMessage("weigh", object));
}

TEST(GameSpace, WithoutOwnerEverythingIsDropped)
{
    TTestSpace space;
    TForwardCalls calls;
    EXPECT_FALSE(calls.CallAll(space));
    EXPECT_EQ(space.GetOwnerListener(), nullptr);
    EXPECT_FALSE(space.OnObjectMessage("weigh", &calls.mObject));
}

TEST(SceneListeners, DefaultsAnswerFalseAndDoNothing)
{
    TObjectListener listener;
    TObject object;
    TSceneMouseEvent event;
    const TFlagRef flag;
    EXPECT_FALSE(listener.OnObjectMessage("m", &object));
    EXPECT_FALSE(listener.RunCommands(nullptr, &object, 0.1f));
    EXPECT_FALSE(listener.OnObjectToolUsed(&object, nullptr, 1));
    EXPECT_FALSE(listener.OnObjectActivated(&object));
    EXPECT_FALSE(listener.PostObjectEventRecord(flag, &object));
    EXPECT_FALSE(listener.PostObjectEvent("e", 1, &object));
    EXPECT_FALSE(listener.OnObjectEventsPosted());
    listener.Signal();
    listener.OnObjectCode(1);
    listener.OnObjectMouseEnter(&object, event);
    listener.OnObjectNote(2);

    TGameSpaceListener owner;
    EXPECT_EQ(owner.OnSpaceHidden(nullptr), 0);
}

TEST(SceneMouseEvent, ClearZeroesEveryField)
{
    TSceneMouseEvent event;
    event.mX = 4;
    event.mY = 5;
    event.mButton = 1;
    event.mFlag = 1;
    event.mReserved[3] = 9;
    event.mTool = reinterpret_cast<TTool*>(&event);
    event.Clear();
    EXPECT_EQ(event.mX + event.mY + event.mButton + event.mFlag + event.mReserved[3], 0);
    EXPECT_EQ(event.mTool, nullptr);
}
