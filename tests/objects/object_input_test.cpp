// Presses, clicks and tool uses of scene objects: counters, reaction runs, the press filter,
// tools and their records, flags, activation and the hint queries.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/random.h"
#include "objects/object.h"
#include "objects/mover_objects.h"
#include "objects/object_fixture.h"
#include "objects/recording_listener.h"
#include "objects/timer_objects.h"
#include "rooms/executer.h"
#include "rooms/game_event.h"
#include "rooms/game_space.h"
#include "rooms/hint_effects.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"
#include "sound/sound_manager.h"

namespace {

// An executer that writes what it is asked into the same log.
class TCountingExecuter : public TExecuter {
public:
    explicit TCountingExecuter(TCalls& calls) : mCalls(calls) {}
    TCalls& mCalls;
    bool mTakePress = true;
    bool mAcceptTool = true;

    bool AcceptsTool(TObject*, const std::string& tool) override
    {
        mCalls.push_back("exe AcceptsTool " + tool);
        return mAcceptTool;
    }
    bool Hook2(TObject*, const TSceneMouseEvent&) override
    {
        mCalls.push_back("exe Hook2");
        return mTakePress;
    }
    bool OnClick(TObject*, const TSceneMouseEvent&) override
    {
        mCalls.push_back("exe OnClick");
        return true;
    }
    bool OnTool(TObject*, const TSceneMouseEvent&) override
    {
        mCalls.push_back("exe OnTool");
        return true;
    }
    bool OnMouseOver(TObject*, const TSceneMouseEvent&) override
    {
        mCalls.push_back("exe OnMouseOver");
        return true;
    }
    bool OnMouseUp(TObject*, const TSceneMouseEvent&) override
    {
        mCalls.push_back("exe OnMouseUp");
        return true;
    }
};

// A space that writes the sounds its objects ask it for.
class TSoundSpace : public TGameSpace {
public:
    explicit TSoundSpace(TCalls& calls) : mCalls(calls) {}
    TCalls& mCalls;
    void PlaySound(const std::string& name) override { mCalls.push_back("space " + name); }
};

// A kind that writes the count its click action receives.
class TClickActionObject : public TObject {
public:
    TCalls* mLog = nullptr;
    void OnClickAction(int count, int, int) override
    {
        if (mLog) mLog->push_back("action " + std::to_string(count));
    }
};

class ObjectInputTest : public ::testing::Test {
protected:
    // A bounds-only object at (0, 0), 100 x 100, in the recording space, heard by the listener.
    template <class Kind = TObject>
    std::unique_ptr<Kind> Object(const std::string& attributes)
    {
        auto object = LoadObjectFrom<Kind>(R"(<object name="o" x="0" y="0" w="100" h="100" cob="1" )" + attributes + "/>",
                                           "scene/", &mSpace);
        object->SetListener(&mListener);
        return object;
    }

    void SetUp() override { GetSoundManager()->SetCallObserver(&mSoundManagerCalls); }
    void TearDown() override { GetSoundManager()->SetCallObserver(nullptr); }

    // The sound manager's calls, in the same log as the rest.
    struct TManagerCalls : TSoundCallObserver {
        explicit TManagerCalls(TCalls& calls) : mCalls(calls) {}
        TCalls& mCalls;
        void OnSoundCall(const char* call, const std::string& id) override
        {
            mCalls.push_back(std::string("manager ") + call + " " + id);
        }
    };

    TCalls mCalls;
    TManagerCalls mSoundManagerCalls{mCalls};
    TRecordingListener mListener{mCalls};
    TCountingExecuter mExecuter{mCalls};
    TSoundSpace mSpace{mCalls};
};

}  // namespace

namespace {

// Groups named after their list and index: "lac0;lac1" hands "lac0" at the first use.
std::string Groups(const char* key, int count)
{
    std::string text = std::string(key) + "=\"";
    for (int i = 0; i < count; ++i) text += (i ? ";" : "") + std::string(key) + std::to_string(i);
    return text + "\" ";
}

TEST_F(ObjectInputTest, MaxClicksTwoAcceptsTwoClicksAndAnswersTheThird)
{
    auto object = Object(Groups("lockafterclick", 3) + R"(maxclicks="2")");
    object->mClickExecuter = &mExecuter;
    EXPECT_FALSE(object->IsLastAllowedUse());
    const TCalls expected[] = {
        {"exe Hook2", "Lock lockafterclick0", "exe OnClick", "OnObjectActivated", "MouseDown"},
        {"exe Hook2", "Lock lockafterclick1", "exe OnClick", "OnObjectActivated", "MouseDown"},
        {"exe Hook2", "MouseDown"},
    };
    for (const TCalls& calls : expected) {
        mCalls.clear();
        EXPECT_TRUE(object->OnMouseDown(PressAt(10, 10)));
        EXPECT_EQ(mCalls, calls);
    }
    EXPECT_EQ(object->mClickCounter, 1);
    EXPECT_TRUE(object->IsLastAllowedUse());
}

TEST_F(ObjectInputTest, FreezeClicksHoldsTheGroupAndTheActionCount)
{
    auto object = Object<TClickActionObject>(Groups("lockafterclick", 3) + R"(freezeclicks="2")");
    object->mLog = &mCalls;
    for (int i = 0; i < 4; ++i) object->OnMouseDown(PressAt(10, 10));
    EXPECT_EQ(mCalls, (TCalls{"action 1", "Lock lockafterclick0", "OnObjectActivated", "MouseDown",  //
                              "action 2", "Lock lockafterclick1", "OnObjectActivated", "MouseDown",  //
                              "action 2", "Lock lockafterclick1", "OnObjectActivated", "MouseDown",  //
                              "action 2", "Lock lockafterclick1", "OnObjectActivated", "MouseDown"}));

    // Freeze 0 holds the counter at -1: the action hears 0 and nothing else runs.
    auto frozen = Object<TClickActionObject>(Groups("lockafterclick", 1) + R"(freezeclicks="0" flags="f")");
    frozen->mLog = &mCalls;
    mCalls.clear();
    frozen->OnMouseDown(PressAt(10, 10));
    EXPECT_EQ(frozen->mClickCounter, -1);
    EXPECT_EQ(mCalls, (TCalls{"action 0", "OnObjectActivated", "MouseDown"}));
}

TEST_F(ObjectInputTest, NoClicksAllowedAndTheExtremeLimits)
{
    auto none = Object(Groups("lockafterclick", 1) + R"(maxclicks="0")");
    EXPECT_TRUE(none->IsLastAllowedUse());
    EXPECT_TRUE(none->OnMouseDown(PressAt(10, 10)));
    EXPECT_EQ(mCalls, (TCalls{"MouseDown"}));
    EXPECT_EQ(none->mClickCounter, -1);

    // The smallest int as a limit refuses without overflowing.
    int32_t counter = -1;
    EXPECT_FALSE(TObject::IncUseCounter(counter, INT32_MIN));
    EXPECT_TRUE(TObject::IncUseCounter(counter, INT32_MAX));
    EXPECT_EQ(counter, 0);
}

TEST_F(ObjectInputTest, ExhaustAndResetUses)
{
    auto clicks = Object(R"(maxclicks="3")");
    clicks->ExhaustUses();
    EXPECT_EQ(clicks->mClickCounter, 3);
    EXPECT_EQ(clicks->mToolCounter, -1);
    EXPECT_TRUE(clicks->IsLastAllowedUse());
    clicks->SetVisible(false);
    clicks->ResetUses();
    EXPECT_EQ(clicks->mClickCounter, -1);
    EXPECT_TRUE(clicks->IsVisible());
    EXPECT_FALSE(clicks->IsLastAllowedUse());

    auto tools = Object(R"(tool="key" maxclickstool="2")");
    tools->ExhaustUses();
    EXPECT_EQ(tools->mToolCounter, 2);
    EXPECT_EQ(tools->mClickCounter, -1);
    EXPECT_TRUE(tools->IsLastAllowedUse());
    tools->ResetUses();
    EXPECT_EQ(tools->mToolCounter, -1);
}

}  // namespace

namespace {

// One group in every list of the three runs: each run hands them over in its fixed order.
const char* const kEveryList =
    R"(lockafterclick="lac" unlockafterclick="uac" visibleafterclick="vac" hideafterclick="hac" )"
    R"(visibleafterclickcf="vaccf" hideafterclickcf="haccf" activateafterclick="aac" deactivateafterclick="dac" )"
    R"(tasks="tasks" tasksr="tasksr" effsafterclick="esac" effafterclick="eac" )"
    R"(robjafterclick="robjc" cobjafterclick="cobjc" aobjafterclick="aobjc" flags="fc" states="a.b" )"
    R"(lockaftertool="lat" unlockaftertool="uat" visibleaftertool="vat" hideaftertool="hat" )"
    R"(visibleaftertoolcf="vatcf" hideaftertoolcf="hatcf" activateaftertool="aat" deactivateaftertool="dat" )"
    R"(ttasks="ttasks" ttasksr="ttasksr" effsaftertool="esat" effaftertool="eat" )"
    R"(robjaftertool="robjt" cobjaftertool="cobjt" aobjaftertool="aobjt" tflags="ft" tstates="c.d" )"
    R"(activateafterevent="aae" deactivateafterevent="dae" lockafterevent="lae" unlockafterevent="uae" )"
    R"(visibleafterevent="vae" hideafterevent="hae" effafterevent="eae" effsafterevent="esae" )"
    R"(etasks="etasks" etasksr="etasksr" robjafterevent="robje" cobjafterevent="cobje" aobjafterevent="aobje" )"
    R"(eflags="fe" estates="e.f" )";

TEST_F(ObjectInputTest, EachRunHandsItsListsOverInItsOrder)
{
    auto object = Object(kEveryList);
    object->mClickCounter = 0;
    object->RunClickReactions(0, 0);
    EXPECT_EQ(mCalls, (TCalls{"Lock lac", "Unlock uac", "Show vac", "Hide hac", "Show vaccf", "Hide haccf",
                              "Activate aac", "Deactivate dac", "AddTasks tasks", "RemoveTasks tasksr", "Effs esac",
                              "Eff eac", "Robj robjc", "Cobj cobjc", "Aobj aobjc"}));
    mCalls.clear();
    object->mToolCounter = 0;
    object->RunToolReactions(0, 0);
    EXPECT_EQ(mCalls, (TCalls{"Lock lat", "Unlock uat", "Show vat", "Hide hat", "Show vatcf", "Hide hatcf",
                              "Activate aat", "Deactivate dat", "AddTasks ttasks", "RemoveTasks ttasksr", "Effs esat",
                              "Eff eat", "Robj robjt", "Cobj cobjt", "Aobj aobjt"}));
    mCalls.clear();
    object->RunEventReactions(0);
    EXPECT_EQ(mCalls, (TCalls{"Activate aae", "Deactivate dae", "Lock lae", "Unlock uae", "Show vae", "Hide hae",
                              "Eff eae", "Effs esae", "AddTasks etasks", "RemoveTasks etasksr", "Robj robje",
                              "Cobj cobje", "Aobj aobje", "Post fe", "EventsPosted"}));

    // A click runs its reactions, then the flags; without a listener or below 0 nothing.
    auto clicked = Object(kEveryList);
    mCalls.clear();
    clicked->OnMouseDown(PressAt(1, 1));
    EXPECT_EQ(mCalls.size(), 15u + 4u);
    EXPECT_EQ(mCalls[15], "OnObjectActivated");
    EXPECT_EQ(mCalls[16], "Post fc");
    EXPECT_EQ(mCalls[17], "EventsPosted");
    mCalls.clear();
    object->RunEventReactions(-1);
    object->mClickCounter = -1;
    object->RunClickReactions(0, 0);
    object->mToolCounter = -1;
    object->RunToolReactions(0, 0);
    object->SetListener(nullptr);
    object->mClickCounter = 0;
    object->RunClickReactions(0, 0);
    object->RunEventReactions(0);
    EXPECT_TRUE(mCalls.empty());
}

TEST_F(ObjectInputTest, FlatNameListsGoOutWhileTheCounterAllows)
{
    auto object = Object(R"(aobjafterclick="a,b" aobjaftertool="c,d" aobjafterevent="e,f")");
    for (int counter = 0; counter < 4; ++counter) {
        mCalls.clear();
        object->mClickCounter = counter;
        object->mToolCounter = counter;
        object->RunClickReactions(0, 0);
        object->RunToolReactions(0, 0);
        object->RunEventReactions(counter);
        TCalls expected;
        if (counter <= 2) expected.push_back("Aobj a");
        if (counter < 2) expected.push_back("Aobj c");
        if (counter < 2) expected.push_back("Aobj e");
        EXPECT_EQ(mCalls, expected) << counter;
    }
}

TEST_F(ObjectInputTest, PressFilter)
{
    auto locked = Object(R"(l="1")");
    locked->mClickExecuter = &mExecuter;
    EXPECT_FALSE(locked->OnMouseDown(PressAt(10, 10)));
    EXPECT_TRUE(mCalls.empty());
    EXPECT_FALSE(locked->OnMouseUp(PressAt(10, 10)));
    EXPECT_EQ(mCalls, (TCalls{"MouseUp"}));

    auto delayed = Object(R"(delayclick="1")");
    delayed->mClickExecuter = &mExecuter;
    delayed->mClickDelayCountdown = 0.5f;
    mCalls.clear();
    EXPECT_FALSE(delayed->OnMouseDown(PressAt(10, 10)));
    EXPECT_EQ(mCalls, (TCalls{"exe Hook2"}));
    EXPECT_EQ(delayed->mClickCounter, -1);

    auto refused = Object("");
    refused->mClickExecuter = &mExecuter;
    mExecuter.mTakePress = false;
    mCalls.clear();
    EXPECT_FALSE(refused->OnMouseDown(PressAt(10, 10)));
    EXPECT_EQ(mCalls, (TCalls{"exe Hook2"}));
    EXPECT_EQ(refused->mClickCounter, -1);

    // A miss answers false at once.
    mCalls.clear();
    EXPECT_FALSE(refused->OnMouseDown(PressAt(150, 10)));
    EXPECT_TRUE(mCalls.empty());
}

TEST_F(ObjectInputTest, ClickOnAnObjectThatNeedsATool)
{
    auto strict = Object(R"(tool="key" maxclickstool="1" sound="click")");
    strict->OnMouseDown(PressAt(10, 10));
    EXPECT_EQ(strict->mClickCounter, -1);
    EXPECT_EQ(mCalls, (TCalls{"space need_tool", "MouseDown"}));
    strict->ExhaustUses();
    mCalls.clear();
    strict->OnMouseDown(PressAt(10, 10));
    EXPECT_EQ(mCalls, (TCalls{"MouseDown"}));

    auto lenient = Object(R"(tool="key" allowclickwithtool="1" sound="click")");
    mCalls.clear();
    lenient->OnMouseDown(PressAt(10, 10));
    EXPECT_EQ(lenient->mClickCounter, 0);
    EXPECT_EQ(mCalls, (TCalls{"OnObjectActivated", "space click", "space need_tool", "MouseDown"}));
}

}  // namespace

namespace {

TEST_F(ObjectInputTest, HoverNoticesWithASharedFlag)
{
    // The later object lies on top: the space offers the move to it first.
    auto top = Object(R"(soundmouseenter="in" soundmouseleave="out")");
    auto covered = Object(R"(soundmouseenter="in2" soundmouseleave="out2")");
    top->SetName("top");
    covered->SetName("covered");
    auto move = [&](int x, int y) {
        bool taken = false;
        top->OnMouseMove(PressAt(x, y), taken);
        covered->OnMouseMove(PressAt(x, y), taken);
    };
    move(10, 10);
    EXPECT_EQ(mCalls, (TCalls{"Enter top", "space in", "Over top", "Enter covered", "space in2"}));
    EXPECT_TRUE(top->mHovered);
    EXPECT_FALSE(covered->mHovered);
    mCalls.clear();
    move(20, 20);
    EXPECT_EQ(mCalls, (TCalls{"Over top", "Enter covered", "space in2"}));
    mCalls.clear();
    move(200, 200);
    EXPECT_EQ(mCalls, (TCalls{"Leave top", "space out"}));
    EXPECT_FALSE(top->mHovered);
}

}  // namespace

namespace {

// A tool that writes its use into the log, with the power it holds then.
class TLoggingTool : public TTool {
public:
    TLoggingTool(TCalls& calls, const std::string& id) : mCalls(calls) { mId = id; }
    TCalls& mCalls;
    void Apply(int x, int y, int useNumber) override
    {
        mCalls.push_back("Apply " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(useNumber) +
                         " power " + std::to_string(static_cast<int>(GetPower())));
        TTool::Apply(x, y, useNumber);
    }
};

class TGhostLikeTool : public TTool {
public:
    int GetType() const override { return 3; }
};

TEST_F(ObjectInputTest, AnAcceptedCompleteToolRunsTheToolPath)
{
    auto object = Object(Groups("lockaftertool", 1) + R"(tool="key" toolpower="2" tflags="opened")");
    object->mClickExecuter = &mExecuter;
    TLoggingTool key(mCalls, "key");
    key.mOwned = true;
    EXPECT_TRUE(object->OnMouseDown(PressAt(10, 20, &key)));
    EXPECT_EQ(mCalls, (TCalls{"exe Hook2", "exe AcceptsTool key", "Apply 10 20 0 power 2", "manager play drop_tool",
                              "Lock lockaftertool0", "exe OnTool", "OnObjectToolUsed 1", "Post opened",
                              "EventsPosted", "MouseDown"}));
    EXPECT_EQ(object->mToolCounter, 0);
    EXPECT_TRUE(object->IsActive());
    EXPECT_TRUE(object->mToolApplied);
    EXPECT_FALSE(object->mWrongToolPressed);

    // A negative tool power leaves the tool's power alone.
    auto weak = Object(R"(tool="key" toolpower="-1")");
    TLoggingTool other(mCalls, "key");
    other.UseUp();
    ASSERT_TRUE(other.IsUsedUp());
    other.SetPower(5.0f);
    mCalls.clear();
    weak->OnMouseDown(PressAt(1, 2, &other));
    EXPECT_EQ(mCalls.front(), "Apply 1 2 0 power 5");
}

TEST_F(ObjectInputTest, ToolsThatDoNotFit)
{
    auto object = Object(R"(tool="key")");
    object->mClickExecuter = &mExecuter;
    TLoggingTool incomplete(mCalls, "key");
    incomplete.mPartCount = 2;
    ASSERT_FALSE(incomplete.IsUsedUp());
    EXPECT_TRUE(object->OnMouseDown(PressAt(10, 10, &incomplete)));
    EXPECT_EQ(object->mToolCounter, -1);
    EXPECT_FALSE(object->mWrongToolPressed);
    EXPECT_EQ(mCalls, (TCalls{"exe Hook2", "exe AcceptsTool key", "MouseDown"}));

    TLoggingTool unknown(mCalls, "hammer");
    unknown.mOwned = true;
    EXPECT_TRUE(object->OnMouseDown(PressAt(10, 10, &unknown)));
    EXPECT_TRUE(object->mWrongToolPressed);
    EXPECT_EQ(object->mToolCounter, -1);

    // The executer's veto counts as a wrong tool; the next press clears the flag first.
    TLoggingTool key(mCalls, "key");
    key.mOwned = true;
    mExecuter.mAcceptTool = false;
    EXPECT_TRUE(object->OnMouseDown(PressAt(10, 10, &key)));
    EXPECT_TRUE(object->mWrongToolPressed);
    mExecuter.mAcceptTool = true;
    object->OnMouseDown(PressAt(10, 10, &incomplete));
    EXPECT_FALSE(object->mWrongToolPressed);

    // A plain object takes no tool at all.
    auto plain = Object("");
    EXPECT_TRUE(plain->OnMouseDown(PressAt(10, 10, &key)));
    EXPECT_TRUE(plain->mWrongToolPressed);
    EXPECT_EQ(plain->mClickCounter, -1);
}

TEST_F(ObjectInputTest, APocketToolActivatesWithoutCountingAUse)
{
    auto object = Object(R"(tooltoopenpocket="key")");
    TLoggingTool key(mCalls, "key");
    key.mOwned = true;
    EXPECT_TRUE(object->OnMouseDown(PressAt(10, 10, &key)));
    EXPECT_EQ(object->mToolCounter, -1);
    EXPECT_EQ(mCalls, (TCalls{"OnObjectActivated", "MouseDown"}));
    EXPECT_TRUE(object->OpensPocketWithTool(&key));
    EXPECT_FALSE(object->OpensMinigameWithTool(&key));
    EXPECT_FALSE(object->OpensPocketWithTool(nullptr));
}

TEST_F(ObjectInputTest, ToolRecordsHandedOutAndAsked)
{
    auto object = Object(R"(tools="a;b,false;c")");
    ASSERT_EQ(object->mToolRecords.size(), 3u);
    const size_t given = GivenToolRecords().size();
    EXPECT_FALSE(object->UseToolRecord(3, object->mToolRecords));
    EXPECT_FALSE(object->UseToolRecord(-1, object->mToolRecords));
    EXPECT_TRUE(mCalls.empty());
    EXPECT_EQ(GivenToolRecords().size(), given);
    EXPECT_FALSE(object->IsToolRecordUsed("a"));

    EXPECT_TRUE(object->UseToolRecord(0, object->mToolRecords));
    EXPECT_EQ(mCalls, (TCalls{"RunCommands 1 0.100000", "OnObjectActivated"}));
    EXPECT_EQ(GivenToolRecords().size(), given + 1);
    EXPECT_TRUE(object->mToolRecords[0].mUsed);
    mCalls.clear();
    EXPECT_TRUE(object->UseToolRecord(1, object->mToolRecords));
    EXPECT_EQ(mCalls, (TCalls{"OnObjectActivated"}));

    // Used records through a small tree.
    auto parent = Object("");
    auto child = Object(R"(tools="x")");
    auto grandchild = Object(R"(toolsae="y,false")");
    TObject* childRaw = child.get();
    TObject* grandRaw = grandchild.get();
    childRaw->AddChild(grandchild.release());
    parent->AddChild(child.release());
    EXPECT_FALSE(parent->AllToolRecordsUsed());
    childRaw->mToolRecords[0].mUsed = true;
    EXPECT_TRUE(parent->IsToolRecordUsed("x"));
    EXPECT_FALSE(parent->IsToolRecordUsed("y"));
    EXPECT_FALSE(parent->AllToolRecordsUsed());
    grandRaw->mAfterEventToolRecords[0].mUsed = true;
    EXPECT_TRUE(parent->IsToolRecordUsed("y"));
    EXPECT_TRUE(parent->AllToolRecordsUsed());
    EXPECT_TRUE(Object("")->AllToolRecordsUsed());
}

TEST_F(ObjectInputTest, ToolQueriesThroughTheTree)
{
    auto parent = Object("");
    auto middle = Object("");
    auto inner = Object(R"(tool="key,rope")");
    auto locked = Object(R"(tool="lamp" l="1")");
    auto lockedChild = Object(R"(tool="oil")");
    TObject* middleRaw = middle.get();
    TObject* innerRaw = inner.get();
    locked->AddChild(lockedChild.release());
    middleRaw->AddChild(inner.release());
    parent->AddChild(middle.release());
    parent->AddChild(locked.release());

    EXPECT_EQ(parent->FindObjectNeedingTool("key"), middleRaw);
    EXPECT_EQ(middleRaw->FindObjectNeedingTool("rope"), innerRaw);
    EXPECT_EQ(parent->FindObjectNeedingTool("saw"), nullptr);

    TLoggingTool key(mCalls, "key");
    EXPECT_EQ(parent->FindChildAcceptingTool(&key), innerRaw);
    EXPECT_EQ(innerRaw->FindChildAcceptingTool(&key), nullptr);  // never the object itself

    std::vector<std::string> names;
    parent->CollectNeededTools(names, true);
    EXPECT_EQ(names, (std::vector<std::string>{"key", "rope", "oil"}));
    names.clear();
    parent->CollectNeededTools(names, false);
    EXPECT_EQ(names, (std::vector<std::string>{"key", "rope", "lamp", "oil"}));
}

TEST_F(ObjectInputTest, FlagGroupsSkipSuppressedNames)
{
    AddSuppressedGameEvent("hushed");
    auto object = Object(R"(eflags="hushed,loud;hushed")");
    object->RunEventReactions(0);
    EXPECT_EQ(mCalls, (TCalls{"Post loud", "EventsPosted"}));
    mCalls.clear();
    object->RunEventReactions(1);
    object->RunEventReactions(2);
    EXPECT_TRUE(mCalls.empty());
}

TEST_F(ObjectInputTest, ActivationSoundsAndLocking)
{
    auto object = Object(R"(sounda="door,bell")");
    object->ActivateSimple();
    EXPECT_TRUE(object->IsActive());
    EXPECT_EQ(mCalls, (TCalls{"space door", "space bell"}));
    mCalls.clear();
    object->DeactivateSimple();
    EXPECT_FALSE(object->IsActive());
    EXPECT_EQ(mCalls, (TCalls{"manager stop door", "manager stop bell"}));

    // Outside any space there is no room to play through.
    auto alone = LoadObjectFrom(R"(<object name="o" sounda="door"/>)");
    mCalls.clear();
    alone->ActivateSimple();
    EXPECT_TRUE(alone->IsActive());
    EXPECT_TRUE(mCalls.empty());

    object->StartXoEffect();
    EXPECT_NE(dynamic_cast<TEffectRoomXoHint*>(object->mEffect.get()), nullptr);
    object->Lock();
    EXPECT_TRUE(object->IsLocked());
    EXPECT_EQ(object->mEffect, nullptr);
    object->Unlock();
    object->StartXoEffect();
    auto* field = dynamic_cast<TEffectRoomXoHint*>(object->mEffect.get());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->mTargetCount, 15);
    object->SetVisible(false);
    EXPECT_EQ(object->mEffect, nullptr);
}

// A kind with its own type code.
class TCodedObject : public TObject {
public:
    int mCode = 0;
    int GetTypeCode() const override { return mCode; }
};

TEST_F(ObjectInputTest, HintableAndInert)
{
    struct Case {
        const char* attributes;
        int code;
        bool hintable;
    } cases[] = {
        {R"(v="0" tools="a")", 0, false},
        {R"(l="1" tools="a")", 0, false},
        {R"(hint_mod="show_hint")", 22, false},
        {R"(hint_mod="no_hint" tools="a")", 0, false},
        {R"(hint_mod="show_hint" tool="key")", 0, true},
        {R"(tools="a")", 0, true},
        {R"(dialog="d")", 0, true},
        {R"(roomxo="r")", 0, true},
        {"", 0, false},
        {R"(room="elsewhere")", 0, false},
        {R"(tool="key" tools="a")", 0, false},
    };
    for (const Case& c : cases) {
        auto object = Object<TCodedObject>(c.attributes);
        object->mCode = c.code;
        EXPECT_EQ(object->IsHintable(), c.hintable) << c.attributes;
    }

    auto parent = Object(R"(tools="a")");
    auto child = Object("");
    auto grandchild = Object(R"(dialog2="d")");
    TObject* grandRaw = grandchild.get();
    child->AddChild(grandchild.release());
    parent->AddChild(child.release());
    std::vector<TObject*> hintables;
    parent->CollectHintables(hintables);
    EXPECT_EQ(hintables, (std::vector<TObject*>{parent.get(), grandRaw}));

    EXPECT_TRUE(Object(R"(room="r")")->IsInert());
    EXPECT_FALSE(Object(R"(pocket="p")")->IsInert());
    EXPECT_FALSE(Object(R"(d="1")")->IsInert());
    auto coded = Object<TCodedObject>("");
    coded->mCode = 5;
    EXPECT_FALSE(coded->IsInert());

    auto mode = Object(R"(hint_mod="show_hint")");
    mode->SetHintMode("sometimes");
    EXPECT_EQ(mode->mHintMode, kHintShow);
    mode->SetHintMode("no_hint");
    EXPECT_EQ(mode->mHintMode, kHintNone);
}

TEST_F(ObjectInputTest, WrongToolHintKey)
{
    auto object = Object("");
    object->mWrongToolPressed = true;
    TLoggingTool key(mCalls, "key");
    EXPECT_EQ(object->GetWrongToolSound(&key), "WrongTool1");
    EXPECT_FALSE(object->mWrongToolPressed);
    object->mWrongToolPressed = true;
    TGhostLikeTool ghost;
    EXPECT_EQ(object->GetWrongToolSound(&ghost), "");
    EXPECT_TRUE(object->mWrongToolPressed);
}

// After the sound shutdown there is no manager: every sound of the scene code is then
// skipped, never asked of a manager that is gone.
TEST(SceneSounds, ObjectsStaySilentAfterTheSoundShutdown)
{
    ReleaseSoundManager();
    ASSERT_EQ(GetSoundManager(), nullptr);
    auto plain = LoadObjectFrom(R"(<object soundtool="use" sounda="hum"/>)");
    TSceneMouseEvent event;
    plain->OnToolAccepted(event);
    plain->Deactivate(0, 0, 0);
    auto bell = LoadObjectFrom<TSoundObject>(R"(<object id="bell"/>)");
    bell->OnSpaceHidden();
    bell->Lock();
    auto arc = LoadObjectFrom<TArcMoverObject>(R"(<object play_sound="whirr"/>)");
    arc->Deactivate(0, 0, 0);
    PlayNamedSound("tip");
    PlayNamedSoundOnce("clockticking");
    StopNamedSound("hum");
    RearmSoundManagerForTests();
}

}  // namespace
