// What a room does with its objects' clicks, tools and tool records: close-ups opened, rooms,
// mini-games and dialogs asked for, close requests posted, progress recorded, and the hint.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/random.h"
#include "game/board_effects.h"
#include "rooms/hint_effects.h"
#include "rooms/pocket_room_fixture.h"

namespace {

using RoomReactions = PocketRoomTest;

TEST_F(RoomReactions, ClickOnAPocketTargetOpensItFromTheObjectsCentreOnly)
{
    TRoom* room = Hall();
    room->SetListener(&mOwner);
    EXPECT_TRUE(room->OnObjectActivated(Object("chest")));
    TPocket* a = Pocket("a");
    EXPECT_EQ(room->mOpenPocket, a);
    EXPECT_TRUE(a->mShowRequest);
    EXPECT_EQ(a->mStartX, 640.0f);
    EXPECT_EQ(a->mStartY, 360.0f);
    EXPECT_TRUE(HasPair("IHelpShown", "WAS_SHOW_POCKET"));
    EXPECT_FALSE(HasPair("IHelpShown", "WAS_ENTER_ROOM"));
    EXPECT_TRUE(mOwner.mCalls.empty());
}

TEST_F(RoomReactions, ClickTargetsAskForRoomsDialogsAndMiniGames)
{
    struct Row {
        const char* mKeys;
        bool mWithOwner;
        bool mAnswer;
        const char* mOwnerCall;  // "" for none
        const char* mPending;    // the pending event's name and parameter, "" for none
        const char* mParameter;
        const char* mHandled;  // an event of value 0 the handler got, "" for none
    };
    const Row rows[] = {
        {R"(room="r2")", true, true, "OpenRoomAfterTool r2 1", "", "", ""},
        {R"(roomxo="r3")", true, true, "OpenRoomXoAfterTool r3", "", "", ""},
        {R"(dialog2="anna")", false, true, "", "dialog2", "personages/anna", ""},
        {R"(dialog="intro")", false, true, "", "dialog", "intro", ""},
        {R"(minigame="m")", false, true, "", "", "", "runminigame"},
        {R"(pocket="nowhere")", true, true, "", "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mKeys);
        GetUserInfo()->ResetDefaults();
        ClearGameEvents();
        mEvents.mEvents.clear();
        mOwner.mCalls.clear();
        TRoom* room = Load(std::string(R"(<room><Common name="hall"/><Objects><object id="o" w="10" h="10" )") +
                           row.mKeys + "/></Objects></room>");
        if (row.mWithOwner) room->SetListener(&mOwner);
        EXPECT_EQ(room->OnObjectActivated(Object("o")), row.mAnswer);
        if (*row.mOwnerCall) {
            ASSERT_EQ(mOwner.mCalls.size(), 1u);
            EXPECT_EQ(mOwner.mCalls[0], row.mOwnerCall);
            EXPECT_EQ(mOwner.mRoom, room);
            EXPECT_TRUE(HasPair("IHelpShown", "WAS_ENTER_ROOM"));
        } else {
            EXPECT_TRUE(mOwner.mCalls.empty());
        }
        if (*row.mPending) {
            ASSERT_EQ(PendingGameEventCount(), 1u);
            EXPECT_EQ(PendingGameEvent(0)->mName, row.mPending);
            EXPECT_EQ(PendingGameEvent(0)->mValue, 300);
            EXPECT_EQ(PendingGameEvent(0)->mParams[0], row.mParameter);
        } else {
            EXPECT_EQ(PendingGameEventCount(), 0u);
        }
        if (*row.mHandled) {
            ASSERT_EQ(mEvents.mEvents.size(), 1u);
            EXPECT_EQ(mEvents.mEvents[0].mName, row.mHandled);
            EXPECT_EQ(mEvents.mEvents[0].mValue, 0);
            EXPECT_EQ(mEvents.mEvents[0].mParameter, "m");
        } else {
            EXPECT_TRUE(mEvents.mEvents.empty());
        }
        EXPECT_EQ(room->mOpenPocket, nullptr);
    }
}

TEST_F(RoomReactions, AnActivationThatIsNotSimpleDoesNothing)
{
    TRoom* room = Hall();
    Object("chest")->mActivationKind = "other";
    EXPECT_FALSE(room->OnObjectActivated(Object("chest")));
    EXPECT_EQ(room->mOpenPocket, nullptr);
    EXPECT_TRUE(GetUserInfo()->Pairs().empty());
    Object("chest")->mActivationKind = "simple";
    EXPECT_TRUE(room->OnObjectActivated(Object("chest")));
    EXPECT_EQ(room->mOpenPocket, Pocket("a"));
}

TEST_F(RoomReactions, AToolOpensThePocketFromTheCornerAndASecondOpeningChangesNothing)
{
    TRoom* room = Hall();
    room->SetListener(&mOwner);
    TObject* chest = Object("chest");
    chest->mPocket.clear();
    chest->mPocketAfterTool = "a";
    EXPECT_FALSE(room->OnObjectToolUsed(chest, nullptr, 1));
    ASSERT_EQ(mOwner.mCalls.size(), 1u);
    EXPECT_EQ(mOwner.mCalls[0], "OnToolApplied chest");
    TPocket* a = Pocket("a");
    EXPECT_EQ(room->mOpenPocket, a);
    EXPECT_EQ(a->mStartX, 0.0f);
    EXPECT_EQ(a->mStartY, 0.0f);
    TShowPocketEffector* show = a->GetShowEffector();
    ASSERT_NE(show, nullptr);
    room->Update(0.1f);
    const float scale = a->GetScaleX();
    // Already open: neither a new start point nor a restarted movement.
    chest->mPocket = "a";
    EXPECT_TRUE(room->OnObjectActivated(chest));
    EXPECT_EQ(a->mStartX, 0.0f);
    EXPECT_EQ(a->GetScaleX(), scale);
    EXPECT_EQ(show->mScaleX.mElapsed, 0.1f);
}

// ---- Closing ----

TEST_F(RoomReactions, AllToolsTakenPostsAForcedCloseRequest)
{
    const char* pocketRoom = R"(<room><Common name="hall"/><Objects/><pockets>
        <pocket name="p" closeafteralltoolstaken="1" x="10" y="10" w="50" h="50">
          <object id="giver" w="10" h="10" tools="key"/>
          <pocket name="q" x="10" y="10" w="20" h="20"><object id="q1" w="5" h="5"/></pocket>
        </pocket></pockets></room>)";
    TRoom* room = Load(pocketRoom);
    TPocket* p = Pocket("p");
    TObject* giver = Object("giver");
    p->RunCommands(&giver->mToolRecords, giver, 0.1f);
    EXPECT_EQ(PendingGameEventCount(), 0u) << "a record still unused";
    giver->mToolRecords[0].mUsed = true;
    p->RunCommands(&giver->mToolRecords, giver, 0.1f);
    ASSERT_NE(Pending("closepocket"), nullptr);
    EXPECT_EQ(Pending("closepocket")->mValue, 150);
    EXPECT_EQ(Pending("closepocket")->mWords[0], 1);
    // Forced: a second one is queued behind the first, larger while a close-up shrinks inside.
    p->OpenPocket(Pocket("q"), 0.0f, 0.0f);
    p->RunCommands(&giver->mToolRecords, giver, 0.1f);
    ASSERT_EQ(PendingGameEventCount(), 2u);
    EXPECT_EQ(PendingGameEvent(1)->mValue, 350);
    EXPECT_EQ(room->mOpenPocket, nullptr);

    ClearGameEvents();
    TRoom* plain = Load(R"(<room><Common name="hall" closeafteralltoolstaken="1"/><Objects/></room>)");
    plain->RunCommands(nullptr, nullptr, 0.1f);
    ASSERT_NE(Pending("goback"), nullptr);
    EXPECT_EQ(Pending("goback")->mValue, 800);
}

TEST_F(RoomReactions, ToolsToCloseNeedEveryNameUsed)
{
    Load(R"(<room><Common name="hall"/><Objects/><pockets>
        <pocket name="p" toolstoclosepocket="key,lamp" x="1" y="1" w="9" h="9">
          <object id="k" w="1" h="1" tools="key"/><object id="l" w="1" h="1" tools="lamp"/>
        </pocket></pockets></room>)");
    TPocket* p = Pocket("p");
    Object("k")->mToolRecords[0].mUsed = true;
    p->RunCommands(nullptr, nullptr, 0.1f);
    EXPECT_EQ(Pending("closepocket"), nullptr);
    Object("l")->mToolRecords[0].mUsed = true;
    p->RunCommands(nullptr, nullptr, 0.1f);
    EXPECT_NE(Pending("closepocket"), nullptr);
}

TEST_F(RoomReactions, CloseAfterUpdateAsksOnceThenClearsItsFlag)
{
    TRoom* room = Load(R"(<room><Common name="hall" closeafteralltoolstakenupdate="1"/><Objects/><pockets>
        <pocket name="p" closeafteralltoolstakenupdate="1" x="1" y="1" w="9" h="9" appeartime="0">
          <object id="k" w="1" h="1"/></pocket></pockets></room>)");
    TPocket* p = Pocket("p");
    room->OpenPocket(p, 0.0f, 0.0f);
    room->Update(0.016f);
    room->Update(0.016f);
    // The open pocket's update comes before the room's own check.
    ASSERT_EQ(PendingGameEventCount(), 2u);
    EXPECT_EQ(PendingGameEvent(0)->mName, "closepocket");
    EXPECT_EQ(PendingGameEvent(0)->mValue, 500);
    EXPECT_EQ(PendingGameEvent(1)->mName, "goback");
    EXPECT_EQ(PendingGameEvent(1)->mValue, 100);
    EXPECT_FALSE(room->mCloseAfterUpdate);
    EXPECT_FALSE(p->mCloseAfterUpdate);
}

TEST_F(RoomReactions, BackFinishesTheOpenPocketAndLeavesItOpen)
{
    TRoom* room = Hall();
    EXPECT_TRUE(room->HandleBack(1));
    EXPECT_FALSE(room->HandleBack(0));
    room->OpenPocket(Pocket("a"), 640.0f, 360.0f);
    mEvents.mEvents.clear();
    EXPECT_TRUE(room->HandleBack(0));
    EXPECT_EQ(room->mOpenPocket, Pocket("a"));
    EXPECT_EQ(mEvents.Count("afinish"), 1);
    EXPECT_TRUE(HasPair("adone", "yes"));
    EXPECT_TRUE(HasPair("PD", "hall.a"));
}

// ---- Hints ----

TEST_F(RoomReactions, NothingHintableShowsTheBackArrowOnlyWhereThereIsOne)
{
    struct Row {
        const char* mCommon;
        bool mAnswer;
    };
    const Row rows[] = {
        {R"(canshowbackhint="0" back_hint_x="40" back_hint_y="700")", false},
        {R"(canshowbackhint="1" back_hint_x="40" back_hint_y="700")", true},
        {R"(canshowbackhint="1")", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mCommon);
        TRoom* room = Load(std::string(R"(<room><Common name="hall" )") + row.mCommon +
                           R"(/><Objects><object id="plain" w="5" h="5"/></Objects></room>)");
        room->mHintPending = true;
        EXPECT_EQ(room->ShowHint(), row.mAnswer);
        EXPECT_TRUE(room->mHintUsed);
        EXPECT_FALSE(room->mHintPending);
        auto* arrow = dynamic_cast<TEffectBackHint*>(room->mEffects[0].get());
        EXPECT_EQ(arrow != nullptr, row.mAnswer);
        if (arrow) {
            EXPECT_EQ(arrow->mLifetime.mDuration, 6.0f);
        }
    }
}

TEST_F(RoomReactions, AHintPointsAtAHintableAndAtWhoTakesItsTool)
{
    TRoom* room = Load(R"(<room><Common name="hall"/>
        <Objects><object id="plain" w="5" h="5"/>
          <object id="shelf" x="100" y="100" w="40" h="20" hpx="5" tools="key"/>
          <object id="lock" x="300" y="300" w="20" h="20" tool="key"/></Objects>
        <tools><tool id="key"/></tools></room>)");
    ASSERT_NE(GlobalToolsList().FindTool("key"), nullptr);
    EXPECT_TRUE(room->ShowHint());
    auto* hint = dynamic_cast<EffectHint*>(room->mEffects[0].get());
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->GetTarget(), Object("shelf"));
    EXPECT_EQ(room->mHintPointX1, 125);
    EXPECT_EQ(room->mHintPointY1, 110);
    EXPECT_TRUE(room->mHintUsed);
    EXPECT_TRUE(room->mHintPending);
    auto* taker = dynamic_cast<EffectHint*>(room->mEffects[1].get());
    ASSERT_NE(taker, nullptr);
    EXPECT_EQ(taker->GetTarget(), Object("lock"));

    // A tool nobody holds points at nobody else.
    GlobalToolsList().Clear();
    EXPECT_TRUE(room->ShowHint());
    EXPECT_NE(room->mEffects[0], nullptr);
    EXPECT_EQ(room->mEffects[1], nullptr);
}

TEST_F(RoomReactions, TheHintPicksAmongTheHintablesAndAlwaysALoneOne)
{
    TRoom* room = Load(R"(<room><Common name="hall"/><Objects>
        <object id="h1" w="5" h="5" dialog="a"/><object id="plain" w="5" h="5"/>
        <object id="h2" w="5" h="5" roomxo="b"/><object id="h3" w="5" h="5" hint_mod="show_hint"/>
        </Objects></room>)");
    std::vector<TObject*> seen;
    for (unsigned seed = 1; seed <= 50; ++seed) {
        SeedRandom(seed);
        ASSERT_TRUE(room->ShowHint());
        auto* hint = dynamic_cast<EffectHint*>(room->mEffects[0].get());
        ASSERT_NE(hint, nullptr);
        EXPECT_NE(hint->GetTarget(), Object("plain"));
        if (std::find(seen.begin(), seen.end(), hint->GetTarget()) == seen.end()) seen.push_back(hint->GetTarget());
    }
    EXPECT_EQ(seen.size(), 3u);

    Object("h1")->mDialog.clear();
    Object("h2")->mRoomXo.clear();
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SeedRandom(seed);
        ASSERT_TRUE(room->ShowHint());
        EXPECT_EQ(static_cast<EffectHint*>(room->mEffects[0].get())->GetTarget(), Object("h3"));
    }
}

TEST_F(RoomReactions, AnOpenPocketShowsTheHintInItsOwnSlots)
{
    TRoom* room = Hall();
    Object("coin")->mHintMode = kHintShow;
    room->OpenPocket(Pocket("a"), 0.0f, 0.0f);
    Pocket("a")->OpenPocket(Pocket("b"), 0.0f, 0.0f);
    EXPECT_TRUE(room->ShowHint());
    EXPECT_EQ(room->mEffects[0], nullptr);
    EXPECT_EQ(Pocket("a")->mEffects[0], nullptr);
    ASSERT_NE(Pocket("b")->mEffects[0], nullptr);
    EXPECT_EQ(static_cast<EffectHint*>(Pocket("b")->mEffects[0].get())->GetTarget(), Object("coin"));
}

// An object of a close-up that names that same close-up: the room loads, its tool lists
// stop at the close-up itself, and the hint test does not go round in circles.
TEST_F(RoomReactions, APocketWhoseObjectOpensItLoadsAndHints)
{
    TRoom* room = Load(R"(<room><Common name="hall"/>
        <Objects><object id="door" w="10" h="10" pocket="p"/></Objects>
        <pockets><pocket name="p" x="1" y="1" w="50" h="50">
          <object id="loop" w="10" h="10" pocket="p"/><object id="lock" w="10" h="10" tool="key"/>
        </pocket></pockets><tools><tool id="key"/></tools></room>)");
    TTool* key = GlobalToolsList().FindTool("key");
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(Object("loop")->OpensPocketWithTool(key));
    EXPECT_TRUE(Object("door")->OpensPocketWithTool(key));
    EXPECT_FALSE(Pocket("p")->HasHintables());
    EXPECT_FALSE(room->HasHintables());
}

TEST_F(RoomReactions, APocketWithWorkInsideMakesItsOpenerHintable)
{
    TRoom* room = Hall();
    EXPECT_FALSE(room->HasHintables());
    Object("coin")->mHintMode = kHintShow;
    EXPECT_TRUE(room->HasHintables());
    EXPECT_TRUE(Object("chest")->IsHintable());
}

// ---- Tools ----

TEST_F(RoomReactions, TheOpenerTakesWhatTheUnlockedObjectsOfItsPocketNeed)
{
    TRoom* room = Load(R"(<room><Common name="hall"/>
        <Objects><object id="door" w="10" h="10" pocket="p"/></Objects>
        <pockets><pocket name="p" x="1" y="1" w="50" h="50">
          <object id="free" w="10" h="10" tool="key"/><object id="shut" w="10" h="10" tool="lamp" l="1"/>
        </pocket></pockets><tools><tool id="key"/><tool id="lamp"/></tools></room>)");
    TObject* door = Object("door");
    EXPECT_TRUE(door->OpensPocketWithTool(GlobalToolsList().FindTool("key")));
    EXPECT_FALSE(door->OpensPocketWithTool(GlobalToolsList().FindTool("lamp")));
    // Unlocking refills the lists.
    Object("shut")->Unlock();
    TObjectRefGroup none;
    room->UnlockObjects(&none);
    EXPECT_TRUE(door->OpensPocketWithTool(GlobalToolsList().FindTool("lamp")));
}

TEST_F(RoomReactions, AUsedRecordWhoseToolCompletesRecordsItsName)
{
    TRoom* room = Load(R"(<room><Common name="hall"/><Objects>
        <object id="giver" w="10" h="10" tools="amulet"/></Objects>
        <tools><tool id="amulet" parts="2"/></tools></room>)");
    TTool* amulet = GlobalToolsList().FindTool("amulet");
    ASSERT_NE(amulet, nullptr);
    TObject* giver = Object("giver");
    // A room's own tool is always whole; this one is collected in parts.
    amulet->mOwned = false;
    amulet->mUseCount = 0;
    amulet->mPartCount = 3;
    room->RunCommands(&giver->mToolRecords, giver, 0.1f);
    EXPECT_FALSE(HasPair("T", "amulet"));
    amulet->mPartCount = 1;
    room->RunCommands(&giver->mToolRecords, giver, 0.1f);
    EXPECT_TRUE(HasPair("T", "amulet"));
}

}  // namespace
