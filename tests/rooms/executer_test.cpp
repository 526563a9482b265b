#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/random.h"
#include "game/board_effects.h"
#include "objects/object.h"
#include "objects/object_fixture.h"
#include "rooms/executer.h"
#include "rooms/ghost_catcher_tool.h"
#include "rooms/room.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/test_space.h"
#include "rooms/xo_owner.h"
#include "rooms/tool.h"

TEST(Executers, EightNamesGiveEightDistinctPrototypes)
{
    std::set<TExecuter*> seen;
    for (const char* name : {"xo", "xomiss", "xodouble", "tool", "toolaftertool", "tooltool", "hint", "iteraction"}) {
        TExecuter* executer = GetExecuter(name);
        ASSERT_NE(executer, nullptr) << name;
        EXPECT_EQ(GetExecuter(name), executer) << name;
        seen.insert(executer);
    }
    EXPECT_EQ(seen.size(), 8u);
    EXPECT_EQ(ExecuterRegistry().size(), 8u);
}

TEST(Executers, UnknownNamesGiveNull)
{
    for (const char* name : {"", "nosuch", "Tool", "interaction", "hint "}) EXPECT_EQ(GetExecuter(name), nullptr) << name;
}

TEST(Executers, BaseAnswers)
{
    TExecuter executer;
    TSceneMouseEvent event;
    EXPECT_TRUE(executer.AcceptsTool(nullptr, "saw"));
    EXPECT_TRUE(executer.Hook2(nullptr, event));
    EXPECT_FALSE(executer.OnClick(nullptr, event));
    EXPECT_FALSE(executer.OnTool(nullptr, event));
    EXPECT_FALSE(executer.Hook5(nullptr, event));
    EXPECT_FALSE(executer.OnMouseOver(nullptr, event));
    EXPECT_FALSE(executer.OnMouseUp(nullptr, event));
    executer.Hook8(nullptr, 0.1f);
}

// ---- What the kinds do to the objects that name them.

namespace {

class ExecuterKinds : public ::testing::Test {
protected:
    void SetUp() override { mRoom.SetOwnerListener(&mOwner); }

    // An object of the room, read from the text.
    TObject* Add(const std::string& xml)
    {
        mRoom.mObjects.push_back(LoadObjectFrom(xml, "scene/", &mRoom));
        TObject* object = mRoom.mObjects.back().get();
        object->SetListener(&mRoom);
        return object;
    }
    // An accepted click or tool use, as object input advances the counter first.
    static bool Click(TObject* object, TTool* tool = nullptr)
    {
        TSceneMouseEvent event;
        event.mTool = tool;
        ++object->mClickCounter;
        return object->mClickExecuter->OnClick(object, event);
    }
    static bool UseTool(TObject* object)
    {
        ++object->mToolCounter;
        return object->mClickExecuter->OnTool(object, TSceneMouseEvent());
    }
    size_t RunCommandsCalls() const
    {
        size_t n = 0;
        for (const TOwnerCall& call : mOwner.mCalls) n += call.mOperation == "RunCommands";
        return n;
    }

    TXoOwner mOwner;
    TRoom mRoom;
};

TEST(ExecuterChoice, ByToolRecordsNeededToolsAndNames)
{
    const struct {
        const char* xml;
        const char* executer;  // null: none
    } cases[] = {
        {R"(<object tools="key"/>)", "tool"},
        {R"(<object tools="key" tool="lamp"/>)", "toolaftertool"},
        {R"(<object/>)", nullptr},
        {R"(<object tool="lamp"/>)", nullptr},
        {R"(<object exe="nosuch" tools="key"/>)", nullptr},
        {R"(<object exe="XO"/>)", nullptr},
        {R"(<object exe="xomiss" tools="key"/>)", "xomiss"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<TObject> object = LoadObjectFrom(c.xml);
        EXPECT_EQ(object->mClickExecuter, c.executer ? GetExecuter(c.executer) : nullptr) << c.xml;
        EXPECT_EQ(object->mHintExecuter, GetExecuter("hint")) << c.xml;
    }
    EXPECT_EQ(LoadObjectFrom(R"(<object hintexe=""/>)")->mHintExecuter, GetExecuter("hint"));
    EXPECT_EQ(LoadObjectFrom(R"(<object hintexe="nosuch"/>)")->mHintExecuter, nullptr);
    EXPECT_NE(dynamic_cast<THintExecuter*>(GetExecuter("hint")), nullptr);
    EXPECT_NE(dynamic_cast<TIteractionExecuter*>(GetExecuter("iteraction")), nullptr);
}

TEST_F(ExecuterKinds, ToolHandsOutOneRecordPerClickAndHidesAfterTheLast)
{
    TObject* drawer = Add(R"(<object name="drawer" tools="key,true;rope,false;lamp"/>)");
    EXPECT_EQ(drawer->mMaxClicks, 3);
    const size_t given = GivenToolRecords().size();
    for (int click = 0; click < 3; ++click) {
        EXPECT_TRUE(drawer->IsVisible()) << click;
        EXPECT_TRUE(Click(drawer));
        EXPECT_TRUE(drawer->mToolRecords[static_cast<size_t>(click)].mUsed) << click;
    }
    EXPECT_FALSE(drawer->IsVisible());
    ASSERT_EQ(GivenToolRecords().size(), given + 3);
    EXPECT_EQ(GivenToolRecords()[given + 1].mToolName, "rope");
    EXPECT_EQ(RunCommandsCalls(), 2u);  // the records of mode 0 ("key,true" and "lamp")
    Click(drawer);
    EXPECT_EQ(GivenToolRecords().size(), given + 3);

    TObject* keeps = Add(R"(<object name="keeps" tools="key;rope" hideaftertaketool="false"/>)");
    Click(keeps);
    Click(keeps);
    EXPECT_TRUE(keeps->IsVisible());
}

TEST_F(ExecuterKinds, ToolAfterToolOffersTheFirstRecordEveryTime)
{
    TObject* door = Add(R"(<object name="door" tool="key" tools="map;rope" maxclickstool="9"/>)");
    const size_t given = GivenToolRecords().size();
    for (int use = 0; use < 3; ++use) {
        EXPECT_TRUE(UseTool(door));
        EXPECT_EQ(door->mToolCounter, 0);
    }
    EXPECT_FALSE(door->IsVisible());
    ASSERT_EQ(GivenToolRecords().size(), given + 3);
    for (size_t i = given; i < given + 3; ++i) EXPECT_EQ(GivenToolRecords()[i].mToolName, "map");
    EXPECT_FALSE(door->mToolRecords[1].mUsed);

    TObject* frozen = Add(R"(<object name="frozen" tool="key" tools="map;rope;saw" ftc="2" maxclickstool="9"/>)");
    for (int use = 0; use < 3; ++use) UseTool(frozen);
    EXPECT_EQ(frozen->mToolCounter, 1);
    EXPECT_EQ(GivenToolRecords().back().mToolName, "rope");
}

TEST_F(ExecuterKinds, ToolToolAnswersWhatTheRecordAnswered)
{
    TObject* box = Add(R"(<object name="box" exe="tooltool" tools="amulet" tool="key"/>)");
    TSceneMouseEvent event;
    EXPECT_FALSE(box->mClickExecuter->OnClick(box, event));  // counter -1
    EXPECT_TRUE(Click(box));
    EXPECT_FALSE(Click(box));
    EXPECT_TRUE(UseTool(box));
    EXPECT_FALSE(UseTool(box));
    EXPECT_TRUE(box->IsVisible());
}

TEST_F(ExecuterKinds, UseCountersToolRecordsAndWrongTools)
{
    TObject* plain = Add(R"(<object name="plain" maxclicks="4"/>)");
    plain->ExhaustUses();
    EXPECT_EQ(plain->mClickCounter, 4);
    EXPECT_EQ(plain->mToolCounter, -1);
    TObject* needs = Add(R"(<object name="needs" tool="key" maxclickstool="2"/>)");
    needs->ExhaustUses();
    EXPECT_EQ(needs->mToolCounter, 2);
    EXPECT_EQ(needs->mClickCounter, -1);

    TToolRecordList records;
    EXPECT_FALSE(plain->UseToolRecord(0, records));
    records.emplace_back("saw", 1, "", nullptr);
    for (int index : {-1, 1, 3}) EXPECT_FALSE(plain->UseToolRecord(index, records)) << index;
    EXPECT_FALSE(records[0].mUsed);
    EXPECT_EQ(RunCommandsCalls(), 0u);

    TGhostCatcherTool catcher;
    TTool saw;
    needs->mWrongToolPressed = true;
    EXPECT_EQ(needs->GetWrongToolSound(&catcher), "");
    EXPECT_TRUE(needs->mWrongToolPressed);
    EXPECT_EQ(needs->GetWrongToolSound(&saw), "WrongTool1");
    EXPECT_FALSE(needs->mWrongToolPressed);
    needs->mWrongToolPressed = true;
    EXPECT_EQ(needs->GetWrongToolSound(nullptr), "WrongTool1");
    EXPECT_FALSE(needs->mWrongToolPressed);
}

TEST_F(ExecuterKinds, MissAndDoubleScores)
{
    TObject* stain = Add(R"(<object name="stain" exe="xomiss"/>)");
    Click(stain);
    ASSERT_EQ(mOwner.mXo.size(), 1u);
    EXPECT_EQ(mOwner.mXo[0].mWhat, "miss");
    EXPECT_EQ(mOwner.mXo[0].mObject, stain);
    EXPECT_EQ(mOwner.mXo[0].mRoom, &mRoom);
    EXPECT_TRUE(stain->IsVisible());

    TObject* coin = Add(R"(<object name="coin" exe="xodouble" maxclicks="3"/>)");
    TObject* other = Add(R"(<object name="other"/>)");
    coin->mLocked = true;
    Click(coin);
    EXPECT_TRUE(coin->IsVisible());
    EXPECT_EQ(mOwner.mXo.size(), 1u);
    coin->mLocked = false;
    mRoom.mEffects[0] = std::make_unique<EffectHint>(1, 2, other);
    Click(coin);
    EXPECT_NE(mRoom.mEffects[0], nullptr);  // aimed at another object: it stays
    EXPECT_FALSE(coin->IsVisible());
    EXPECT_EQ(coin->mClickCounter, 3);
    ASSERT_EQ(mOwner.mXo.size(), 2u);
    EXPECT_EQ(mOwner.mXo[1].mWhat, "found");
    coin->SetVisible(true);
    mRoom.mEffects[0] = std::make_unique<EffectHint>(1, 2, coin);
    Click(coin);
    EXPECT_EQ(mRoom.mEffects[0], nullptr);

    // Outside a room nobody hears of it; the double still takes the object out.
    TTestSpace bare(&mOwner);
    std::unique_ptr<TObject> loose = LoadObjectFrom(R"(<object exe="xomiss"/>)", "scene/", &bare);
    std::unique_ptr<TObject> looseCoin = LoadObjectFrom(R"(<object exe="xodouble"/>)", "scene/", &bare);
    Click(loose.get());
    Click(looseCoin.get());
    EXPECT_FALSE(looseCoin->IsVisible());
    EXPECT_EQ(mOwner.mXo.size(), 3u);
}

class HintTexts : public ExecuterKinds {
protected:
    static std::vector<std::string> Ask(TObject* object, int times, TTool* tool = nullptr)
    {
        TSceneMouseEvent event;
        event.mTool = tool;
        std::vector<std::string> texts;
        for (int i = 0; i < times; ++i) texts.push_back(object->GetHintText(event));
        return texts;
    }
    using Texts = std::vector<std::string>;
};

TEST_F(HintTexts, TheFirstTextOnceThenTheOthersInTurn)
{
    EXPECT_EQ(Ask(Add(R"(<object hint="a,b"/>)"), 4), (Texts{"a", "b", "b", "b"}));
    EXPECT_EQ(Ask(Add(R"(<object hint="a,b,c"/>)"), 5), (Texts{"a", "b", "c", "b", "c"}));
    EXPECT_EQ(Ask(Add(R"(<object hint="a"/>)"), 3), (Texts{"a", "a", "a"}));
    TObject* damaged = Add(R"(<object hint="a,b,c"/>)");
    damaged->mHintCycle = -3;  // a damaged save
    EXPECT_EQ(Ask(damaged, 2), (Texts{"a", "b"}));
    EXPECT_EQ(Ask(Add(R"(<object/>)"), 1), (Texts{""}));
}

TEST_F(HintTexts, LockedToolHintsHeldToolsAndParents)
{
    TObject* door = Add(R"(<object hint="h" hinttool="ht" hintlocked="hl,hl2"/>)");
    door->mLocked = true;
    EXPECT_EQ(Ask(door, 1), (Texts{"hl"}));
    TObject* bare = Add(R"(<object hint="h"/>)");
    bare->mLocked = true;
    EXPECT_EQ(Ask(bare, 1), (Texts{""}));
    door->mLocked = false;
    EXPECT_EQ(Ask(door, 2), (Texts{"ht", "ht"}));
    door->mToolApplied = true;
    EXPECT_EQ(Ask(door, 1), (Texts{"h"}));
    TTool saw;
    EXPECT_EQ(Ask(door, 1, &saw), (Texts{""}));

    TObject* cabinet = Add(R"(<object hint="p1,p2,p3"/>)");
    std::unique_ptr<TObject> handle = LoadObjectFrom(R"(<object/>)", "scene/", &mRoom);
    std::unique_ptr<TObject> knob = LoadObjectFrom(R"(<object phint="false"/>)", "scene/", &mRoom);
    handle->mParentObject = cabinet;
    knob->mParentObject = cabinet;
    EXPECT_EQ(Ask(handle.get(), 2), (Texts{"p1", "p2"}));
    EXPECT_EQ(Ask(cabinet, 1), (Texts{"p3"}));  // the parent's counter moved on
    EXPECT_EQ(Ask(knob.get(), 1), (Texts{""}));

    EXPECT_EQ(Ask(Add(R"(<object hint="h" hintexe="tool"/>)"), 1), (Texts{""}));
}

TEST_F(HintTexts, WrongTools)
{
    TObject* sign = Add(R"(<object tool="lamp" hint="s1,s2"/>)");
    sign->mWrongToolHints.resize(2);
    sign->mWrongToolHints[0].mTool = "key";  // no texts: never matches
    sign->mWrongToolHints[1].mTool = "key";
    sign->mWrongToolHints[1].mHints = {"k1", "k2"};
    TTool key;
    key.mId = "key";
    sign->mWrongToolPressed = true;
    SeedRandom(77);
    const std::string expected = GameRand() % 2 == 0 ? "k1" : "k2";
    SeedRandom(77);
    EXPECT_EQ(Ask(sign, 1, &key), (Texts{expected}));
    EXPECT_TRUE(sign->mWrongToolPressed);

    TTool saw;
    saw.mId = "saw";
    EXPECT_EQ(Ask(sign, 1, &saw), (Texts{"WrongTool1"}));
    EXPECT_FALSE(sign->mWrongToolPressed);
    EXPECT_EQ(Ask(sign, 1), (Texts{"s1"}));  // no new wrong press: the usual rules

    TGhostCatcherTool catcher;
    sign->mWrongToolPressed = true;
    EXPECT_EQ(Ask(sign, 1, &catcher), (Texts{""}));
    EXPECT_TRUE(sign->mWrongToolPressed);
}

}  // namespace
