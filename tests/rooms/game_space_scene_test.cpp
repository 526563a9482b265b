// A space filled with probes in code: input routing, lookups and cursor names, the show,
// hide and close sequences, update, ownership.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "rooms/effector.h"
#include "rooms/scene_probe.h"
#include "rooms/test_space.h"

namespace {

class SpaceScene : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        ClearGameEvents();
        GetUserInfo()->ResetDefaults();
    }

    TProbe* Probe(const std::string& name, int x = 0, int y = 0, int w = 100, int h = 100)
    {
        return mSpace.Add(new TProbe(name, &mTrace, x, y, w, h));
    }

    TTrace mTrace;
    TTestSpace mSpace;
};

TTool* FakeTool(int& somewhere) { return reinterpret_cast<TTool*>(&somewhere); }

TEST_F(SpaceScene, PressIsOfferedTopmostFirstUntilOneTakesIt)
{
    TProbe* a = Probe("A");
    TProbe* b = Probe("B", 50, 50);
    int toolPlace = 0;
    TSceneMouseEvent event;
    event.mTool = FakeTool(toolPlace);
    a->mDownAnswer = true;
    EXPECT_TRUE(mSpace.OnMouseDown(event));
    EXPECT_EQ(mTrace, (TTrace{"B down", "A down"}));
    EXPECT_EQ(mSpace.mPressedObject, a);
    EXPECT_EQ(mSpace.mCurrentTool, event.mTool);

    mTrace.clear();
    b->mDownAnswer = true;
    EXPECT_TRUE(mSpace.OnMouseDown(TSceneMouseEvent()));
    EXPECT_EQ(mTrace, (TTrace{"B down"}));
    EXPECT_EQ(mSpace.mPressedObject, b);
    EXPECT_EQ(mSpace.mCurrentTool, nullptr);

    a->mDownAnswer = b->mDownAnswer = false;
    EXPECT_FALSE(mSpace.OnMouseDown(TSceneMouseEvent()));
    EXPECT_EQ(mSpace.mPressedObject, nullptr);
}

// With needed tools only the tool uses count; the limit is compared without wrapping.
TEST_F(SpaceScene, PressSkipsObjectsWithoutUsesLeft)
{
    struct TCase {
        const char* mTitle;
        bool mNeedsTool;
        int32_t mClicks, mMaxClicks, mToolUses, mMaxToolUses;
        bool mOffered;
    } cases[] = {
        {"one click allowed, none made", false, -1, 1, -1, 0, true},
        {"one click allowed, one made", false, 0, 1, -1, 0, false},
        {"needed tool: tool uses left, clicks used up", true, 5, 1, -1, 2, true},
        {"needed tool: tool uses used up, clicks left", true, -1, 99, 1, 2, false},
        {"smallest limit", false, -1, INT_MIN, -1, 0, false},
        {"largest counter", false, INT_MAX, INT_MAX, -1, 0, false},
        {"largest limit", false, INT_MAX - 2, INT_MAX, -1, 0, true},
    };
    TProbe* probe = Probe("P");
    probe->mDownAnswer = true;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.mTitle);
        mTrace.clear();
        probe->mNeededTools = c.mNeedsTool ? std::vector<std::string>{"key"} : std::vector<std::string>{};
        probe->mClickCounter = c.mClicks;
        probe->mMaxClicks = c.mMaxClicks;
        probe->mToolCounter = c.mToolUses;
        probe->mMaxToolUses = c.mMaxToolUses;
        EXPECT_EQ(mSpace.OnMouseDown(TSceneMouseEvent()), c.mOffered);
        EXPECT_EQ(mTrace.size(), c.mOffered ? 1u : 0u);
    }
}

TEST_F(SpaceScene, MoveReachesEveryObjectWithOneSharedFlag)
{
    Probe("A");
    TProbe* b = Probe("B");
    Probe("C");
    int toolPlace = 0;
    TSceneMouseEvent event;
    event.mTool = FakeTool(toolPlace);
    EXPECT_FALSE(mSpace.OnMouseMove(event));
    EXPECT_EQ(mTrace, (TTrace{"C move 0", "B move 0", "A move 0"}));
    EXPECT_EQ(mSpace.mCurrentTool, event.mTool);

    mTrace.clear();
    b->mMoveAnswer = true;
    EXPECT_TRUE(mSpace.OnMouseMove(TSceneMouseEvent()));
    EXPECT_EQ(mTrace, (TTrace{"C move 0", "B move 0", "A move 1"}));
    EXPECT_EQ(mSpace.mCurrentTool, nullptr);
}

TEST_F(SpaceScene, ReleaseStopsAtTheFirstTakerAndKeepsTheTool)
{
    Probe("A");
    TProbe* b = Probe("B");
    Probe("C");
    int toolPlace = 0;
    mSpace.mCurrentTool = FakeTool(toolPlace);
    b->mUpAnswer = true;
    EXPECT_TRUE(mSpace.OnMouseUp(TSceneMouseEvent()));
    EXPECT_EQ(mTrace, (TTrace{"C up", "B up"}));
    EXPECT_EQ(mSpace.mCurrentTool, FakeTool(toolPlace));

    mTrace.clear();
    b->mUpAnswer = false;
    EXPECT_FALSE(mSpace.OnMouseUp(TSceneMouseEvent()));
    EXPECT_EQ(mTrace, (TTrace{"C up", "B up", "A up"}));
}

TEST_F(SpaceScene, LookupAnswersTheTopmostHitOrItsHitDescendant)
{
    TProbe* a = Probe("A", 0, 0);
    TProbe* b = Probe("B", 50, 50);
    auto* inner = new TObject();
    b->AddChild(inner);
    EXPECT_EQ(mSpace.GetObjectAt(60, 60), b);
    EXPECT_EQ(mSpace.GetObjectAt(10, 10), a);
    EXPECT_EQ(mSpace.GetObjectAtForClick(60, 60), b);
    EXPECT_EQ(mSpace.GetObjectAt(500, 500), nullptr);
    b->mHitChild = inner;
    EXPECT_EQ(mSpace.GetObjectAt(60, 60), inner);
    b->mIgnoreSubObjects = true;
    EXPECT_EQ(mSpace.GetObjectAtForClick(60, 60), b);
    for (bool flag : b->mHitFlags) EXPECT_TRUE(flag);

    TTestSpace empty;
    EXPECT_EQ(empty.GetObjectAt(0, 0), nullptr);
    std::string name = "x";
    EXPECT_FALSE(empty.GetCursorName(0, 0, name));
    EXPECT_EQ(name, "");
}

// A tool in hand does not move the point the lookup tests.
TEST_F(SpaceScene, ToolInHandKeepsThePointerPoint)
{
    Probe("corner", 0, 0, 10, 10)->mCursorName = "corner";
    TProbe* under = Probe("under", 450, 250, 100, 100);
    under->mCursorName = "probe";
    int toolPlace = 0;
    TSceneMouseEvent move;
    move.mX = 500;
    move.mY = 300;
    move.mTool = FakeTool(toolPlace);
    mSpace.OnMouseMove(move);
    ASSERT_EQ(mSpace.mCurrentTool, move.mTool);
    EXPECT_EQ(mSpace.GetObjectAt(500, 300), under);
    std::string name;
    EXPECT_TRUE(mSpace.GetCursorName(500, 300, name));
    EXPECT_EQ(name, "probe");
}

TEST_F(SpaceScene, CursorNameFollowsTheObjectUnderThePoint)
{
    struct TCase {
        const char* mTitle;
        void (*mSetUp)(TProbe&);
        const char* mName;
        bool mAnswer;
    } cases[] = {
        {"plain", [](TProbe&) {}, "", true},
        {"invisible", [](TProbe& p) { p.SetVisible(false); }, "", false},
        {"locked", [](TProbe& p) { p.mLocked = true; }, "", false},
        {"own cursor", [](TProbe& p) { p.mCursorName = "hand"; }, "hand", true},
        {"own cursor wins over tools", [](TProbe& p) {
             p.mCursorName = "hand";
             p.mToolRecords.emplace_back("rope", 0, "", nullptr);
         }, "hand", true},
        {"tool records", [](TProbe& p) { p.mToolRecords.emplace_back("rope", 0, "", nullptr); }, "active", true},
        {"needed tools", [](TProbe& p) { p.mNeededTools = {"key"}; }, "tool", true},
        {"tool records at the last click", [](TProbe& p) {
             p.mToolRecords.emplace_back("rope", 0, "", nullptr);
             p.mMaxClicks = 1;
             p.mClickCounter = 0;
         }, "", true},
        {"needed tools at the last tool use, with a pocket", [](TProbe& p) {
             p.mNeededTools = {"key"};
             p.mMaxToolUses = 1;
             p.mToolCounter = 0;
             p.mPocket = "drawer";
         }, "glass", true},
        {"pocket", [](TProbe& p) { p.mPocket = "drawer"; }, "glass", true},
        {"mini-game", [](TProbe& p) { p.mMinigame = "puzzle"; }, "glass", true},
        {"room xo", [](TProbe& p) { p.mRoomXo = "attic"; }, "glass", true},
        {"dialog", [](TProbe& p) { p.mDialog = "hello"; }, "glass", true},
        {"glass whatever the uses", [](TProbe& p) {
             p.mDialog = "hello";
             p.mMaxClicks = 0;
         }, "glass", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.mTitle);
        TTestSpace space;
        TProbe* probe = space.Add(new TProbe("P", nullptr, 0, 0, 10, 10));
        c.mSetUp(*probe);
        std::string name = "old";
        EXPECT_EQ(space.GetCursorName(5, 5, name), c.mAnswer);
        EXPECT_EQ(name, c.mName);
        name = "old";
        EXPECT_FALSE(space.GetCursorName(50, 50, name));
        EXPECT_EQ(name, "");
    }
}

TEST_F(SpaceScene, FindObjectSearchesEachTreeBeforeTheNextObject)
{
    TProbe* a = Probe("A");
    TProbe* b = Probe("dup");
    auto* kid = new TObject();
    kid->SetName("kid");
    a->AddChild(kid);
    auto* leaf = new TObject();
    leaf->SetName("dup");
    kid->AddChild(leaf);
    auto* leaf2 = new TObject();
    leaf2->SetName("Leaf");
    kid->AddChild(leaf2);

    EXPECT_EQ(mSpace.FindObject("A"), a);
    EXPECT_EQ(mSpace.FindObject("dup"), leaf);
    EXPECT_EQ(mSpace.FindObject("Leaf"), leaf2);
    EXPECT_EQ(mSpace.FindObject("leaf"), nullptr);
    EXPECT_EQ(mSpace.FindOwnerObject(kid), a);
    EXPECT_EQ(mSpace.FindOwnerObject(leaf2), a);
    EXPECT_EQ(mSpace.FindOwnerObject(b), nullptr);

    mSpace.SetObjectsListener(&mSpace);
    EXPECT_EQ(leaf2->mListener, &mSpace);
    EXPECT_EQ(b->mListener, &mSpace);
}

TEST_F(SpaceScene, ContainsPointEdgesEffectorIndexAndRegistry)
{
    mSpace.mRectX = 10;
    mSpace.mRectY = 20;
    mSpace.mRectW = 30;
    mSpace.mRectH = 40;
    struct TCase {
        int mX, mY;
        bool mInside;
    } points[] = {{10, 20, true}, {39, 59, true}, {9, 20, false}, {40, 20, false}, {10, 19, false}, {10, 60, false}};
    for (const TCase& p : points) EXPECT_EQ(mSpace.ContainsPoint(p.mX, p.mY), p.mInside) << p.mX << "," << p.mY;
    // The far edge of the widest rectangle lies past the int range.
    mSpace.mRectW = mSpace.mRectH = INT32_MAX;
    EXPECT_TRUE(mSpace.ContainsPoint(INT32_MAX, INT32_MAX));
    mSpace.mRectW = 30;
    mSpace.mRectH = 40;

    EXPECT_EQ(mSpace.GetEffector(0), nullptr);
    mSpace.mEffectors.emplace_back(new TEffector());
    EXPECT_EQ(mSpace.GetEffector(0), mSpace.mEffectors[0].get());
    EXPECT_EQ(mSpace.GetEffector(-1), nullptr);
    EXPECT_EQ(mSpace.GetEffector(1), nullptr);
    EXPECT_EQ(mSpace.GetEffectorCount(), 1);

    TTestSpace hall, other;
    hall.mSpaceName = "hall";
    other.mSpaceName = "Hall";
    TSpacesRegistry registry;
    EXPECT_EQ(registry.FindSpace(""), nullptr);
    registry.mSpaces = {&hall, &other};
    registry.mCurrent = &other;
    EXPECT_EQ(registry.FindSpace(""), &other);
    EXPECT_EQ(registry.FindSpace("hall"), &hall);
    EXPECT_EQ(registry.FindSpace("Hall"), &other);
    EXPECT_EQ(registry.FindSpace("HALL"), nullptr);
}

TEST_F(SpaceScene, ObjectNeedingToolIsTheFirstInFileOrder)
{
    Probe("A")->mNeededToolName = "rope";
    TProbe* b = Probe("B");
    b->mNeededToolName = "key";
    Probe("C")->mNeededToolName = "key";
    EXPECT_EQ(mSpace.FindObjectNeedingTool("key"), b);
    EXPECT_EQ(mSpace.FindObjectNeedingTool("axe"), nullptr);
}

// A tool nobody has gives no giver, and no object is asked about it.
TEST_F(SpaceScene, ToolGiversOfAToolNobodyHasAreNull)
{
    TProbe* a = Probe("A");
    a->mHasToolUseAnswer = a->mAcceptsAnswer = true;
    Probe("B")->mChildAccepting = a;
    TObject wantsUnknown, wantsNothing;
    wantsUnknown.mToolRecords.emplace_back("nosuchtool", 0, "", nullptr);
    std::vector<TObject*> givers;
    EXPECT_TRUE(mSpace.FindToolGivers({&wantsUnknown, &wantsNothing}, givers));
    EXPECT_EQ(givers, (std::vector<TObject*>{nullptr, nullptr}));
    EXPECT_EQ(mTrace, TTrace{});

    givers.clear();
    EXPECT_FALSE(mSpace.FindToolGivers({}, givers));
    int slot = 0, index = 0;
    EXPECT_FALSE(mSpace.FindInventoryToolForHint({&wantsUnknown}, index, slot));
}

// The show with every list filled: the order of the steps, the pairs and the events.
class SpaceShow : public SpaceScene {
protected:
    void SetUp() override
    {
        SpaceScene::SetUp();
        mOwner.mTrace = &mTrace;
        mSpace.mTrace = &mTrace;
        mSpace.mSpaceName = "hall";
        Probe("A");
        Probe("B");
        mSpace.mRobjShow = {"r"};
        mSpace.mCobjShow = {"c"};
        mSpace.mAobjShow = {"a"};
        for (TObjectRefList* list : {&mSpace.mUnlockShow, &mSpace.mLockShow, &mSpace.mVisibleShow,
                                     &mSpace.mHideShow, &mSpace.mActivateShow, &mSpace.mDeactivateShow})
            *list = {{TObjectRef{"", "", "x"}}};
        mSpace.mStatesShow = {{{"k", "v"}}};
        mSpace.mFlagsShow = {{{"opened", 5, ""}, {"muted", 0, ""}, {"ping", 0, "x"}}};
        mSpace.mShowSound = "whoosh";
        mSpace.mShowSounds = {"s1", "s2"};
        AddSuppressedGameEvent("muted");
    }

    TRecordingOwner mOwner;
};

TEST_F(SpaceShow, StepsRunInOrderWithAnOwner)
{
    TTraceRecorders recorders(&mTrace);
    mSpace.SetOwnerListener(&mOwner);
    mSpace.OnShow();
    EXPECT_EQ(mTrace, (TTrace{"A firstshown", "B firstshown", "owner OnSpaceFirstShown", "owner ApplyRobj",
                              "owner ApplyCobj", "owner ApplyAobj", "A shown", "B shown", "owner UnlockObjects",
                              "owner LockObjects", "owner ShowObjects", "owner HideObjects",
                              "owner ActivateObjects", "owner DeactivateObjects", "pair k=v", "event ping 0 x",
                              "sound whoosh", "sound s1", "sound s2", "owner OnSpaceShown"}));
    EXPECT_EQ(mSpace.mShowCount, 1);
    EXPECT_TRUE(IsGameEventPending("opened"));
    EXPECT_EQ(PendingGameEventCount(), 1u);
    EXPECT_TRUE(GetUserInfo()->HasPair("k", "v"));

    // The first-show names and the groups of index 0 belong to the first show only.
    mTrace.clear();
    mSpace.OnShow();
    EXPECT_EQ(mTrace, (TTrace{"A shown", "B shown", "sound whoosh", "sound s1", "sound s2", "owner OnSpaceShown"}));
    EXPECT_EQ(mSpace.mShowCount, 2);

    // A count at either end of the int range (a saved state may hold one) neither wraps nor
    // reaches a group.
    for (int32_t count : {INT32_MAX, INT32_MIN}) {
        mSpace.mShowCount = count;
        mTrace.clear();
        mSpace.OnHide();
        mSpace.OnShow();
        EXPECT_EQ(mSpace.mShowCount, count == INT32_MAX ? INT32_MAX : INT32_MIN + 1);
        EXPECT_EQ(std::count(mTrace.begin(), mTrace.end(), "owner UnlockObjects"), 0);
    }
}

// Without an owner only the profile pairs and the events remain.
TEST_F(SpaceShow, WithoutOwnerPairsAndEventsStillLand)
{
    TTraceRecorders recorders(&mTrace);
    mSpace.OnShow();
    EXPECT_EQ(mTrace, (TTrace{"A firstshown", "B firstshown", "A shown", "B shown", "pair k=v", "event ping 0 x",
                              "sound whoosh", "sound s1", "sound s2"}));
    EXPECT_TRUE(IsGameEventPending("opened"));
    EXPECT_TRUE(GetUserInfo()->HasPair("k", "v"));
}

TEST_F(SpaceScene, ShowAppliesTheGroupOfItsCount)
{
    TRecordingOwner owner;
    mSpace.SetOwnerListener(&owner);
    mSpace.mVisibleShow = {{TObjectRef{"", "", "a"}}, {TObjectRef{"", "", "b"}}, {TObjectRef{"", "", "c"}}};
    const TObjectRefGroup* groups = mSpace.mVisibleShow.data();
    for (bool freeze : {false, true}) {
        SCOPED_TRACE(freeze ? "freeze" : "counted");
        mSpace.mShowCount = 0;
        mSpace.mFreeze = freeze;
        std::vector<const void*> shown;
        for (int show = 0; show < 4; ++show) {
            owner.mCalls.clear();
            mSpace.OnShow();
            const void* group = nullptr;
            for (const TOwnerCall& call : owner.mCalls)
                if (call.mOperation == "ShowObjects") group = call.mList;
            shown.push_back(group);
        }
        if (freeze) {
            EXPECT_EQ(shown, (std::vector<const void*>{&groups[0], &groups[0], &groups[0], &groups[0]}));
        } else {
            EXPECT_EQ(shown, (std::vector<const void*>{&groups[0], &groups[1], &groups[2], nullptr}));
        }
    }
}

// Counts its own deletion.
struct TCountedEffect : DrawObject {
    explicit TCountedEffect(int* deleted, int doneAfter = 0) : mDeleted(deleted), mDoneAfter(doneAfter) {}
    ~TCountedEffect() override { ++*mDeleted; }
    bool Update(float /*dt*/) override
    {
        if (++mUpdates == mDoneAfter) mDone = true;
        return false;
    }
    int* mDeleted;
    int mDoneAfter;
    int mUpdates = 0;
};

TEST_F(SpaceScene, HideRunsItsListsAndAnswersTheOwnerOrTheShowSoundCount)
{
    TTraceRecorders recorders(&mTrace);
    TRecordingOwner owner;
    owner.mTrace = &mTrace;
    owner.mHiddenAnswer = 7;
    mSpace.mTrace = &mTrace;
    Probe("A");
    mSpace.mHideSound = "close";
    mSpace.mShowSounds = {"s1", "s2"};
    for (TObjectRefList* list : {&mSpace.mUnlockHide, &mSpace.mLockHide, &mSpace.mVisibleHide, &mSpace.mHideHide,
                                 &mSpace.mActivateHide, &mSpace.mDeactivateHide})
        *list = {{TObjectRef{"", "", "x"}}};
    mSpace.mStatesHide = {{{"gone", "1"}}};
    mSpace.mFlagsHide = {{{"left", 0, ""}}};
    int deleted = 0;
    for (auto& slot : mSpace.mEffects) slot.reset(new TCountedEffect(&deleted));

    // Before any show the index is -1: no group applies.
    EXPECT_EQ(mSpace.OnHide(), 2);
    EXPECT_EQ(deleted, 3);
    for (auto& slot : mSpace.mEffects) EXPECT_FALSE(slot);
    EXPECT_EQ(mTrace, (TTrace{"sound close", "A hidden"}));

    mTrace.clear();
    mSpace.SetOwnerListener(&owner);
    mSpace.mShowCount = 1;
    EXPECT_EQ(mSpace.OnHide(), 7);
    EXPECT_EQ(mTrace, (TTrace{"sound close", "A hidden", "owner UnlockObjects", "owner LockObjects",
                              "owner ShowObjects", "owner HideObjects", "owner ActivateObjects",
                              "owner DeactivateObjects", "pair gone=1", "event left 0 ", "owner OnSpaceHidden"}));

    // Past the last group nothing applies, unless "freezehide" keeps the first.
    mTrace.clear();
    mSpace.mShowCount = 2;
    mSpace.OnHide();
    EXPECT_EQ(mTrace, (TTrace{"sound close", "A hidden", "owner OnSpaceHidden"}));
    mTrace.clear();
    mSpace.mFreezeHide = true;
    mSpace.OnHide();
    EXPECT_EQ(mTrace.size(), 10u);
}

TEST_F(SpaceScene, CloseOfANeverShownSpace)
{
    TTraceRecorders recorders(&mTrace);
    TRecordingOwner owner;
    owner.mTrace = &mTrace;
    mSpace.SetOwnerListener(&owner);
    mSpace.mSpaceName = "mg";
    mSpace.mRobjShow = {"r"};
    mSpace.mCobjShow = {"c"};
    mSpace.mAobjShow = {"a"};
    mSpace.CloseMiniGame();
    EXPECT_TRUE(mSpace.mClosed);
    ASSERT_EQ(PendingGameEventCount(), 1u);
    EXPECT_EQ(PendingGameEvent(0)->mName, "closeminigame");
    EXPECT_EQ(PendingGameEvent(0)->mValue, 150);
    EXPECT_EQ(mTrace, (TTrace{"pair GSD=mg", "owner OnMiniGameClosed", "owner ApplyRobj", "owner ApplyCobj",
                              "owner ApplyAobj"}));
    EXPECT_TRUE(GetUserInfo()->HasPair("GSD", "mg"));

    mSpace.CloseMiniGame();
    EXPECT_EQ(PendingGameEventCount(), 1u);
    EXPECT_EQ(owner.mCalls.size(), 8u);

    // Once shown, only the notice.
    mTrace.clear();
    mSpace.mShowCount = 1;
    mSpace.CloseMiniGame();
    EXPECT_EQ(mTrace, (TTrace{"owner OnMiniGameClosed"}));
}

struct TUpdateCounter : TEffector {
    void Update(float /*dt*/) override { ++mUpdates; }
    int mUpdates = 0;
};

TEST_F(SpaceScene, UpdateMovesTheOffsetRunsTheOwnEffectorObjectsAndEffects)
{
    TProbe* probe = Probe("A");
    auto* own = new TUpdateCounter();
    mSpace.mOwnEffector.reset(own);
    mSpace.mOffsetTweenX.Set(0.0f, 100.0f, 1.0f, true);
    mSpace.mOffsetTweenY.Set(10.0f, 50.0f, 1.0f, true);
    int deleted = 0;
    mSpace.mEffects[1].reset(new TCountedEffect(&deleted, 2));

    EXPECT_FALSE(mSpace.Update(0.5f));
    EXPECT_FLOAT_EQ(mSpace.mOffsetX, 50.0f);
    EXPECT_FLOAT_EQ(mSpace.mOffsetY, 30.0f);
    EXPECT_EQ(own->mUpdates, 1);
    EXPECT_EQ(probe->mUpdates, 1);
    EXPECT_TRUE(mSpace.mEffects[1]);

    mSpace.mUpdateObjects = false;
    mSpace.Update(0.25f);
    EXPECT_EQ(own->mUpdates, 2);
    EXPECT_EQ(probe->mUpdates, 1);
    EXPECT_FALSE(mSpace.mEffects[1]);
    EXPECT_EQ(deleted, 1);
    // The objects' drawn positions read the offset.
    EXPECT_FLOAT_EQ(probe->GetOwnerOffsetX(), mSpace.mOffsetX);
}

TEST_F(SpaceScene, EffectorsBindToTheLastObjectNamingThem)
{
    TProbe* a = Probe("A");
    TProbe* b = Probe("B");
    TProbe* c = Probe("C");
    a->mEffectorName = "spin";
    b->mEffectorName = "spin";
    c->mEffectorName = "outer";
    auto* child = new TObject();
    child->mEffectorName = "wave";
    c->AddChild(child);

    mSpace.BindEffectors();
    EXPECT_EQ(a->mEffector, nullptr);

    auto* spin = new TEffector();
    spin->mName = "spin";
    auto* wave = new TEffector();
    wave->mName = "wave";
    mSpace.mEffectors.emplace_back(spin);
    mSpace.mEffectors.emplace_back(wave);
    mSpace.BindEffectors();
    EXPECT_EQ(spin->mTarget, b);
    EXPECT_EQ(b->mEffector, spin);
    EXPECT_EQ(child->mEffector, wave);
    EXPECT_EQ(wave->mTarget, child);
    EXPECT_EQ(c->mEffector, nullptr);
}

// Under ASan: whatever is left in a space goes with it.
TEST_F(SpaceScene, ClearDestroyAndDestructionFreeWhatTheSpaceOwns)
{
    auto fill = [](TTestSpace& space) {
        TProbe* probe = space.Add(new TProbe("A", nullptr));
        probe->AddChild(new TObject());
        space.mEffectorRefs.push_back(&probe->mEffectorName);
        space.mEffectors.emplace_back(new TEffector());
        space.mOwnEffector.reset(new TEffector());
        space.mEffects[0].reset(new DrawObject());
        space.mEffects[2].reset(new DrawObject());
    };
    {
        TTestSpace space;
        fill(space);
        space.mTime = 3.0f;
        space.mClosed = space.mMark = true;
        space.Clear(false);
        EXPECT_EQ(space.mTime, 0.0f);
        EXPECT_FALSE(space.mClosed || space.mMark);
        EXPECT_TRUE(space.mEffectorRefs.empty());
        EXPECT_EQ(space.mObjects.size(), 1u);
        EXPECT_EQ(space.mEffectors.size(), 1u);
        space.Clear(true);
        EXPECT_TRUE(space.mObjects.empty());
        EXPECT_TRUE(space.mEffectors.empty());
    }
    {
        TTestSpace space;
        fill(space);
        space.DestroyObjects(false);
        EXPECT_EQ(space.mObjects.size(), 1u);
        EXPECT_TRUE(space.mObjects[0]->mChildren.empty());
        EXPECT_TRUE(space.mEffectorRefs.empty());
        fill(space);
        space.DestroyObjects(true);
        EXPECT_TRUE(space.mObjects.empty());
    }
    {
        TTestSpace space;
        fill(space);
    }
}

}  // namespace
