// What a room does with its objects' clicks, tools and tool records: close-ups opened, rooms,
// mini-games and dialogs asked for, close requests posted, progress recorded, and the hint.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <functional>

#include "audio_cases.h"
#include "core/buffer.h"
#include "core/random.h"
#include "core/xml_document.h"
#include "game/board_effects.h"
#include "objects/clock_arrow_objects.h"
#include "objects/scene_press.h"
#include "rooms/executer.h"
#include "rooms/hint_effects.h"
#include "rooms/inventory_panel.h"
#include "rooms/items_list.h"
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

TEST_F(RoomReactions, AnObjectFindsItsPocketThroughTheRoomItLiesIn)
{
    Hall();
    EXPECT_EQ(Object("chest")->GetPocketSpace(), Pocket("a"));
    // From inside a close-up the search starts at the outermost room again: the coin of "b"
    // finds "a", which "b" itself does not hold.
    EXPECT_EQ(Object("drawer")->GetPocketSpace(), Pocket("b"));
    Object("coin")->mPocket = "a";
    EXPECT_EQ(Object("coin")->GetPocketSpace(), Pocket("a"));
    EXPECT_EQ(Object("box")->GetPocketSpace(), nullptr);
    Object("chest")->mPocket = "nowhere";
    EXPECT_EQ(Object("chest")->GetPocketSpace(), nullptr);

    // In a space that is not a room nothing is a pocket.
    TGameSpace plain;
    TObject loose;
    loose.mOwnerSpace = &plain;
    loose.mPocket = "a";
    EXPECT_EQ(loose.GetPocketSpace(), nullptr);
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

// ---- The application's panel, spaces and highlight option ----

TEST_F(RoomReactions, WithoutAPlaceOfItsOwnTheBackArrowPointsAtTheInventorysBackButton)
{
    TInventoryPanel panel;
    panel.mBackButtonX = 20;
    panel.mBackButtonY = 700;
    panel.mBackButtonW = 60;
    panel.mBackButtonH = 40;
    GetAppState().mInventoryPanel = &panel;
    struct Row {
        const char* mCommon;
        float mX, mY;
    };
    const Row rows[] = {
        {R"(canshowbackhint="1")", 50.0f, 720.0f},
        {R"(canshowbackhint="1" back_hint_x="40" back_hint_y="0")", 40.0f, 0.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mCommon);
        TRoom* room = Load(std::string(R"(<room><Common name="hall" )") + row.mCommon +
                           R"(/><Objects><object id="plain" w="5" h="5"/></Objects></room>)");
        EXPECT_TRUE(room->ShowHint());
        auto* arrow = dynamic_cast<TEffectBackHint*>(room->mEffects[0].get());
        ASSERT_NE(arrow, nullptr);
        EXPECT_EQ(arrow->mImage.mX, row.mX);
        EXPECT_EQ(arrow->mImage.mY, row.mY);
    }
}

TEST_F(RoomReactions, AToolInTheInventoryPointsTheHintAtWhoTakesItAndAtItsSlot)
{
    TRoom* room = Load(R"(<room><Common name="hall"/><Objects>
        <object id="talker" w="5" h="5" dialog="a"/>
        <object id="lock" x="300" y="300" w="20" h="20" tool="key" hint_mod="show_hint"/></Objects>
        <tools><tool id="key"/><tool id="lamp"/></tools></room>)");
    TInventoryPanel panel;
    panel.mScrollSlots.resize(2);
    panel.mFixedSlots.resize(1);
    panel.mScrollSlots[0].SetTool(GlobalToolsList().FindTool("lamp"));
    panel.mScrollSlots[0].mX = 600;
    panel.mFixedSlots[0].SetTool(GlobalToolsList().FindTool("key"));
    panel.mFixedSlots[0].mX = 1300;
    panel.mFixedSlots[0].mY = 740;
    GetAppState().mInventoryPanel = &panel;
    for (unsigned seed = 1; seed <= 10; ++seed) {
        SeedRandom(seed);
        ASSERT_TRUE(room->ShowHint());
        EXPECT_EQ(static_cast<EffectHint*>(room->mEffects[0].get())->GetTarget(), Object("lock"));
        auto* slot = dynamic_cast<EffectHint*>(room->mEffects[2].get());
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot->GetCentre().x, 1300);
        EXPECT_EQ(slot->GetCentre().y, 740);
    }

    // Nothing in the panel that a hintable takes: the pick stands and no slot is hinted.
    panel.mFixedSlots[0].SetTool(nullptr);
    std::vector<TObject*> picked;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SeedRandom(seed);
        ASSERT_TRUE(room->ShowHint());
        EXPECT_EQ(room->mEffects[2], nullptr);
        picked.push_back(static_cast<EffectHint*>(room->mEffects[0].get())->GetTarget());
    }
    EXPECT_NE(std::find(picked.begin(), picked.end(), Object("talker")), picked.end());
}

class TMiniGameSpace : public TGameSpace {
public:
    int GetSpaceType() const override { return kSpaceMiniGame; }
};

TEST_F(RoomReactions, ARegisteredMiniGameAddsWhatItsUnlockedObjectsNeedToItsOpener)
{
    TMiniGameSpace puzzle;
    puzzle.mSpaceName = "puzzle";
    TObject* free = new TObject();
    free->mNeededTools = {"key"};
    TObject* inner = new TObject();
    inner->mNeededTools = {"wire"};
    free->mChildren.emplace_back(inner);
    TObject* shut = new TObject();
    shut->mNeededTools = {"lamp"};
    shut->Lock();
    puzzle.mObjects.emplace_back(free);
    puzzle.mObjects.emplace_back(shut);
    TRoom sameName;
    sameName.mSpaceName = "puzzle";
    TSpacesRegistry registry;

    struct Row {
        const char* mName;
        TGameSpace* mRegistered;  // null: no registry at all
        std::vector<std::string> mTools;
    };
    const Row rows[] = {
        {"mini-game", &puzzle, {"rope", "key", "wire"}},
        {"a room of that name", &sameName, {"rope"}},
        {"no registry", nullptr, {"rope"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mName);
        registry.mSpaces = {row.mRegistered};
        GetAppState().mSpacesRegistry = row.mRegistered ? &registry : nullptr;
        TRoom* room = Load(R"(<room><Common name="hall"/><Objects>
            <object id="door" w="10" h="10" minigame="puzzle" tooltoopenminigame="rope"/>
            <object id="plain" w="10" h="10" tooltoopenminigame="rope"/></Objects></room>)");
        room->OnFirstShow();
        EXPECT_EQ(Object("door")->mMinigameTools, row.mTools);
        EXPECT_EQ(Object("plain")->mMinigameTools, std::vector<std::string>{"rope"});
    }
}

TEST_F(RoomReactions, HighlightsFollowThePlayersOptionAndMarkWhatCanBeUsed)
{
    TRoom* room = Load(R"(<room><Common name="hall"/><Objects>
        <object id="plain" w="5" h="5"/><object id="talker" w="5" h="5" dialog="a"/>
        <object id="exit" w="5" h="5" room="r2"/><object id="shut" w="5" h="5" room="r3" l="1"/>
        </Objects></room>)");
    auto lit = [this]() {
        std::string names;
        for (const char* name : {"plain", "talker", "exit", "shut"})
            if (Object(name)->mHighlight) names += std::string(names.empty() ? "" : " ") + name;
        return names;
    };
    struct Row {
        bool mOption;
        int mOn;
        const char* mLit;
    };
    const Row rows[] = {{false, 1, ""}, {true, 0, ""}, {true, 1, "talker exit"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mLit);
        GetAppState().mHighlightOption = row.mOption;
        room->HighlightObjects(row.mOn);
        EXPECT_EQ(lit(), row.mLit);
    }

    // Showing the room asks for highlights only when the application says so.
    room->OnShow();
    EXPECT_EQ(lit(), "");
    GetAppState().mHighlightOnShow = true;
    room->OnShow();
    EXPECT_EQ(lit(), "talker exit");
}

TEST_F(RoomReactions, ANeededToolMakesItsTakerHintableOnceThePlayerHoldsItWhole)
{
    Load(R"(<room><Common name="hall"/><Objects><object id="lock" w="20" h="20" tool="key"/></Objects></room>)");
    TObject* lock = Object("lock");
    EXPECT_FALSE(lock->IsHintable());

    TiXmlDocument doc;
    ParseXmlText(&doc, R"(<held><tools><tool id="lamp"/><tool id="key"/></tools></held>)");
    TToolsList held;
    held.Load(doc.RootElement(), false, "");
    TTool* key = held.FindTool("key");
    ASSERT_NE(key, nullptr);
    key->mUseCount = 0;
    key->mPartCount = 2;
    GetAppState().mPlayerTools = &held;
    EXPECT_FALSE(lock->IsHintable());
    key->mUseCount = 2;
    EXPECT_TRUE(lock->IsHintable());
    held.mTools.erase(held.mTools.begin() + 1);
    EXPECT_FALSE(lock->IsHintable());
}

// An owner that also hears the completion groups and decides whether it keeps a used tool.
class TFinishOwner : public TReactionOwner {
public:
    void UnlockObjects(const TObjectRefGroup* group) override { Heard("Unlock", group); }
    void LockObjects(const TObjectRefGroup* group) override { Heard("Lock", group); }
    void ShowObjects(const TObjectRefGroup* group) override { Heard("Show", group); }
    void HideObjects(const TObjectRefGroup* group) override { Heard("Hide", group); }
    void ActivateObjects(const TObjectRefGroup* group) override { Heard("Activate", group); }
    void DeactivateObjects(const TObjectRefGroup* group) override { Heard("Deactivate", group); }
    void OwnerHoldsTool(int toolCount, int holdToolAfterUse, bool& holds) override
    {
        mCalls.push_back("OwnerHoldsTool " + std::to_string(toolCount) + " " + std::to_string(holdToolAfterUse));
        holds = holdToolAfterUse != 0;
    }
    void OnToolUseEnded(int flag) override { mCalls.push_back("OnToolUseEnded " + std::to_string(flag)); }

private:
    void Heard(const char* what, const TObjectRefGroup* group)
    {
        mCalls.push_back(std::string(what) + " " + (group && !group->empty() ? group->front().mObject : "?"));
    }
};

// A room that counts its items list for finishing, as a hidden-object room would.
class TFindingRoom : public TRoom {
public:
    int GetSpaceType() const override { return kSpaceRoom | 16; }
};

class TRecordingExecuter : public TExecuter {
public:
    bool OnMouseOver(TObject* object, const TSceneMouseEvent&) override
    {
        mCalls.push_back("OnMouseOver " + object->GetName());
        return true;
    }
    bool OnMouseUp(TObject* object, const TSceneMouseEvent&) override
    {
        mCalls.push_back("OnMouseUp " + object->GetName());
        return true;
    }
    std::vector<std::string> mCalls;
};

const char* const kFinishingHall = R"(<room><Common name="hall" unlock="u" lock="l" visible="v" hide="h"
    activate="a" deactivate="d" flags="solved.5" states="st.yes"/><Objects/></room>)";

// The reactions of a room that nothing else would notice going wrong, one case each.
TEST_F(RoomReactions, ReactionsThatOnlyTheirOwnCaseSees)
{
    TFinishOwner owner;
    std::unique_ptr<TFindingRoom> finder;
    // A finding room over kFinishingHall whose one list is complete or still waits for an entry.
    auto finding = [&](bool listDone, bool withOwner) {
        std::ofstream(AssetPath("finding.xml")) << kFinishingHall;
        finder = std::make_unique<TFindingRoom>();
        EXPECT_TRUE(finder->LoadFromXml("finding.xml"));
        auto list = std::make_unique<ItemsList>();
        if (!listDone) {
            list->mItems.push_back(std::make_unique<ItemsListItem>());
            list->mItems.back()->mNeeded = 1;
        }
        finder->mLists.push_back(std::move(list));
        finder->mCurrentListIndex = 0;
        if (withOwner) finder->SetListener(&owner);
        return finder.get();
    };
    const std::vector<std::string> allGroups = {"Unlock u", "Lock l", "Show v", "Hide h", "Activate a", "Deactivate d"};
    auto expectFinished = [&](bool groups, bool ho, bool heard) {
        std::vector<std::string> calls = groups ? allGroups : std::vector<std::string>();
        if (heard) calls.push_back("OnRoomFinished hall");
        EXPECT_EQ(owner.mCalls, calls);
        EXPECT_EQ(Pending("solved") != nullptr, groups);
        EXPECT_EQ(HasPair("st", "yes"), groups);
        EXPECT_EQ(HasPair("HO", "hall"), ho);
    };

    struct Case {
        const char* mName;
        std::function<void()> mCheck;
    };
    const Case cases[] = {
        {"a hint is available while something is hintable",
         [&]() {
             TRoom* room = Hall();
             EXPECT_FALSE(room->IsHintAvailable());
             Object("coin")->mHintMode = kHintShow;  // the chest's close-up now has work
             EXPECT_TRUE(room->IsHintAvailable());
         }},
        {"a room finishes with the first of its completion groups",
         [&]() {
             TRoom* room = Load(kFinishingHall);
             room->SetListener(&owner);
             room->Finish();
             expectFinished(true, false, true);
         }},
        {"a finding room with its list done records the room as finished",
         [&]() {
             finding(true, true)->Finish();
             expectFinished(true, true, true);
         }},
        {"a finding room whose list still waits applies nothing",
         [&]() {
             finding(false, true)->Finish();
             expectFinished(false, false, true);
         }},
        {"without an owner only the finished list is recorded",
         [&]() {
             finding(true, false)->Finish();
             expectFinished(false, true, false);
         }},
        {"xo sparkles go from the room and every close-up inside",
         [&]() {
             TRoom* room = Hall();
             Object("chest")->StartXoEffect();
             Object("coin")->StartXoEffect();
             room->RemoveXoEffects();
             EXPECT_EQ(Object("chest")->mEffect, nullptr);
             EXPECT_EQ(Object("coin")->mEffect, nullptr);
         }},
        {"an object's event carries the object",
         [&]() {
             TRoom* room = Hall();
             TObject* chest = Object("chest");
             EXPECT_FALSE(room->PostObjectEvent("seen", 5, chest));
             TFlagRef record;
             record.mName = "opened";
             record.mValue = 4;
             record.mText = "lid";
             EXPECT_FALSE(room->PostObjectEventRecord(record, chest));
             ASSERT_NE(Pending("seen"), nullptr);
             EXPECT_EQ(Pending("seen")->mObject, chest);
             ASSERT_NE(Pending("opened"), nullptr);
             EXPECT_EQ(Pending("opened")->mObject, chest);
             EXPECT_EQ(Pending("opened")->mParams[0], "lid");
         }},
        {"the owner ends the use of a tool it holds",
         [&]() {
             TRoom* room = Hall();
             room->SetListener(&owner);
             TTool tool;
             tool.mUseCount = 3;
             TObject* chest = Object("chest");
             chest->mPocket.clear();
             room->OnObjectToolUsed(chest, &tool, 7);
             chest->mHoldToolAfterUse = 1;
             room->OnObjectToolUsed(chest, &tool, 7);
             EXPECT_EQ(owner.mCalls, (std::vector<std::string>{"OnToolApplied chest", "OwnerHoldsTool 3 0",
                                                                "OnToolApplied chest", "OwnerHoldsTool 3 1",
                                                                "OnToolUseEnded 7"}));
         }},
        {"the click executer hears the pointer over and released on its object",
         [&]() {
             TRoom* room = Load(R"(<room><Common name="hall"/><Objects>
                 <object id="bell" x="0" y="0" w="50" h="50" cob="1"/></Objects></room>)");
             TRecordingExecuter executer;
             Object("bell")->mClickExecuter = &executer;
             room->OnMouseMove(PressAt(10, 10));
             room->OnMouseMove(PressAt(200, 200));
             room->OnMouseUp(PressAt(10, 10));
             room->OnMouseUp(PressAt(200, 200));
             EXPECT_EQ(executer.mCalls, (std::vector<std::string>{"OnMouseOver bell", "OnMouseUp bell"}));
             Object("bell")->mClickExecuter = nullptr;
         }},
        {"a clock hand picked up follows the pointer",
         [&]() {
             TRoom* room = Load(R"(<room><Common name="hall"/><Objects><object id="face" type="clock">
                 <object id="hand" type="clockarrow" x="100" y="100" w="40" h="10" cob="1" rightangle="90"/>
                 </object></Objects></room>)");
             auto* hand = dynamic_cast<TClockArrowObject*>(Object("hand"));
             ASSERT_NE(hand, nullptr);
             room->OnMouseDown(PressAt(110, 105));
             ASSERT_TRUE(hand->IsTurning());
             const float before = hand->mAngle;
             room->OnMouseMove(PressAt(100, 150, nullptr, 0));
             EXPECT_NE(hand->mAngle, before);
         }},
        {"the saved flag comes before the hint-used flag",
         [&]() {
             TRoom* room = Hall();
             room->mSaved = true;
             room->mHintUsed = false;
             TBaseBuffer buffer;
             room->SaveState(buffer);
             // After the name "hall": its 16-bit length and four bytes.
             ASSERT_GT(buffer.Size(), 7u);
             EXPECT_EQ(buffer.Bytes()[6], 1);
             EXPECT_EQ(buffer.Bytes()[7], 0);
             TRoom* restored = Hall();
             restored->LoadState(buffer);
             EXPECT_TRUE(restored->mSaved);
             EXPECT_FALSE(restored->mHintUsed);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mName);
        GetUserInfo()->ResetDefaults();
        ClearGameEvents();
        owner.mCalls.clear();
        c.mCheck();
        // The rooms point at the owner: they go before the next case.
        mRoom.reset();
        finder.reset();
    }
}

}  // namespace
