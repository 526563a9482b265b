// The scales: the beam's tilt for each pair of pan totals, pans and weights placed on the
// beam, weights dropped from the hand into rooms and pockets, the solved report; and linked
// weights stepping and pushing each other.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/buffer.h"
#include "core/messages.h"
#include "log_watch.h"
#include "objects/object_scene_fixture.h"
#include "objects/recording_listener.h"
#include "objects/weight_objects.h"
#include "rooms/pocket_room_fixture.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/sound_calls.h"

namespace {

constexpr float kDeg = 0.017453292f;

// Scales built by hand: pans "left" and "right" holding weights of the given tags.
struct TScales {
    std::unique_ptr<TWeightSystemObject> mScales;
    TWeightPartObject* mLeft = nullptr;
    TWeightPartObject* mRight = nullptr;
};

TScales MakeScales(const std::string& keys, const std::vector<float>& left, const std::vector<float>& right)
{
    TScales s;
    s.mScales = LoadObjectFrom<TWeightSystemObject>("<object id=\"scales\" " + keys + "/>");
    s.mLeft = NestChild<TWeightPartObject>(*s.mScales, R"(<object id="left"/>)");
    s.mRight = NestChild<TWeightPartObject>(*s.mScales, R"(<object id="right"/>)");
    for (float tag : left) NestChild(*s.mLeft, "<object id=\"l\" tag=\"" + std::to_string(tag) + "\"/>");
    for (float tag : right) NestChild(*s.mRight, "<object id=\"r\" tag=\"" + std::to_string(tag) + "\"/>");
    return s;
}

class WeightObjects : public ::testing::Test {
protected:
    void TearDown() override { DestroyMessageManager(); }
};

TEST_F(WeightObjects, RebalanceTiltsTowardsTheHeavierPan)
{
    struct Case {
        const char* keys;
        std::vector<float> left, right;
        float degrees, seconds;
    } cases[] = {
        {"", {10}, {}, -45.0f, 0.3f},
        {"", {}, {10}, 45.0f, 0.3f},
        {"", {10}, {40}, 30.0f, 2.0f / 3.0f},
        {"", {100}, {1}, -45.0f, 1.0f},
        {"", {1}, {100}, 45.0f, 1.0f},
        {"maxangle=\"20\" maxweightdif=\"10\"", {4}, {1, 1}, -4.0f, 0.2f},
        // No difference to scale by: any difference tilts all the way.
        {"maxweightdif=\"0\"", {1}, {2}, 45.0f, 1.0f},
        {"maxweightdif=\"0\"", {2}, {1}, -45.0f, 1.0f},
        {"maxweightdif=\"-5\"", {1}, {2}, 45.0f, 1.0f},
        {"maxweightdif=\"-5\"", {2}, {1}, -45.0f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " " + std::to_string(c.left.size()) + "/" + std::to_string(c.right.size()));
        TScales s = MakeScales(c.keys, c.left, c.right);
        s.mScales->Rebalance();
        EXPECT_NEAR(s.mScales->mBeam.mTo / kDeg, c.degrees, 1e-3);
        EXPECT_NEAR(s.mScales->mBeam.mDuration, c.seconds, 1e-5);
        EXPECT_FALSE(s.mScales->mBeam.mFinished);
        s.mScales->Update(c.seconds);
        EXPECT_NEAR(s.mScales->mAngle / kDeg, c.degrees, 1e-3);
        EXPECT_TRUE(std::isfinite(s.mRight->mX) && std::isfinite(s.mRight->mY));
    }
}

TEST_F(WeightObjects, EqualPansStayLevelAndSwappedPansMirror)
{
    for (const char* keys : {"", "maxweightdif=\"0\"", "maxweightdif=\"-5\""}) {
        SCOPED_TRACE(keys);
        TScales level = MakeScales(keys, {3}, {3});
        level.mScales->Rebalance();
        EXPECT_TRUE(level.mScales->mBeam.mFinished);  // nothing runs
        EXPECT_EQ(level.mScales->mBeam.mCurrent, 0.0f);
        TScales even = MakeScales(keys, {2}, {2});
        even.mScales->Update(0.1f);
        EXPECT_TRUE(std::isfinite(even.mLeft->mX) && std::isfinite(even.mLeft->mY));
    }

    TScales s = MakeScales("", {1}, {2});
    s.mScales->Rebalance();
    s.mScales->Update(1.0f);
    const float tilt = s.mScales->mAngle;
    EXPECT_NEAR(tilt / kDeg, 1.0f, 1e-4);
    // Swapped: the same way back through level to the mirror, over twice the time.
    s.mLeft->mChildren[0]->mTag = 2;
    s.mRight->mChildren[0]->mTag = 1;
    s.mScales->Rebalance();
    EXPECT_NEAR(s.mScales->mBeam.mTo, -tilt, 1e-6);
    EXPECT_NEAR(s.mScales->mBeam.mDuration, 2.0f / 45.0f, 1e-5);
}

TEST_F(WeightObjects, HiddenWeightsDoNotCount)
{
    TScales s = MakeScales("", {10, 5}, {5});
    s.mLeft->mChildren[0]->SetVisible(false);
    EXPECT_EQ(s.mScales->GetTotalWeight(), 10.0f);
    s.mScales->Rebalance();
    EXPECT_TRUE(s.mScales->mBeam.mFinished);  // 5 against 5
}

TEST_F(WeightObjects, PansHangFromTheBeamEndsAndWeightsStandOnThePlate)
{
    auto scales = LoadObjectFrom<TWeightSystemObject>(R"(<object id="scales" x="300" y="200" sholder="45"/>)");
    auto* left = NestChild<TWeightPartObject>(*scales, R"(<object id="left" tcx="25" tcy="4" w="50" h="40"/>)");
    auto* right = NestChild<TWeightPartObject>(
        *scales, R"(<object id="right" tcx="25" tcy="4" w="50" h="40" platex="10" platey="50" platew="80"/>)");
    auto* arrow = NestChild(*scales, R"(<object id="arrow" tcx="3" tcy="30" w="6" h="40"/>)");
    auto* cover = NestChild(*scales, R"(<object id="cover" tcx="5" tcy="5" w="10" h="10"/>)");
    auto* small = NestChild(*right, R"(<object id="small" w="20" h="10"/>)");
    auto* big = NestChild(*right, R"(<object id="big" w="30" h="16"/>)");
    scales->LoadResources();
    scales->mBeam.SetValue(-30.0f * kDeg);
    scales->Update(0.0f);

    const float a = -30.0f * kDeg;
    EXPECT_NEAR(right->GetX(), 300.0f + 45.0f * std::cos(a), 1e-3);
    EXPECT_NEAR(right->GetY(), 200.0f + 45.0f * std::sin(a), 1e-3);
    EXPECT_NEAR(left->GetX(), 300.0f + 45.0f * std::cos(a + 3.1415927f), 1e-3);
    EXPECT_NEAR(left->GetY(), 200.0f + 45.0f * std::sin(a + 3.1415927f), 1e-3);
    for (TObject* pinned : {arrow, cover}) {
        EXPECT_FLOAT_EQ(pinned->GetX(), 300.0f);
        EXPECT_FLOAT_EQ(pinned->GetY(), 200.0f);
    }

    // Centred on the 80 wide plate from x 10: 25 and 45 from the pan's left edge, bottoms on 50.
    EXPECT_EQ(small->mRefX, 25);
    EXPECT_EQ(big->mRefX, 45);
    const float edge = right->GetX() - 25.0f;
    EXPECT_NEAR(small->GetX(), edge + 25.0f, 1e-3);
    EXPECT_NEAR(big->GetX(), edge + 45.0f, 1e-3);
    EXPECT_NEAR(small->GetY() + 10.0f, right->GetY() + 50.0f, 1e-3);
    EXPECT_NEAR(big->GetY() + 16.0f, right->GetY() + 50.0f, 1e-3);

    right->SetPosition(500.0f, 100.0f, true);
    EXPECT_FLOAT_EQ(small->GetX(), 525.0f + 25.0f - 25.0f);
    EXPECT_FLOAT_EQ(big->GetY(), 104.0f + 50.0f - 16.0f);
}

TEST_F(WeightObjects, RectanglesAreTheirOwnOrTheirChildrensUnion)
{
    auto scales = LoadObjectFrom<TWeightSystemObject>(R"(<object id="scales"/>)");
    float x = 1, y = 1, w = 1, h = 1;
    scales->GetRect(&x, &y, &w, &h);
    EXPECT_EQ(w, 0.0f);
    EXPECT_EQ(h, 0.0f);
    auto* pan = NestChild<TWeightPartObject>(*scales, R"(<object id="left"/>)");
    NestChild(*pan, R"(<object id="a" x="10" y="20" w="5" h="5"/>)");
    NestChild(*scales, R"(<object id="b" x="40" y="5" w="10" h="30"/>)");
    // The pan has placed "a" on its empty plate, at (-2, -5).
    static_cast<TObject&>(*scales).GetRect(&x, &y, &w, &h);
    EXPECT_EQ(x, -2.0f);
    EXPECT_EQ(y, -5.0f);
    EXPECT_EQ(w, 52.0f);
    EXPECT_EQ(h, 40.0f);
    auto sized = LoadObjectFrom<TWeightPartObject>(R"(<object id="p" x="3" y="4" w="7" h="8"/>)");
    NestChild(*sized, R"(<object id="c" x="100" y="100" w="5" h="5"/>)");
    sized->GetRect(&x, &y, &w, &h);
    EXPECT_EQ(x, 3.0f);
    EXPECT_EQ(w, 7.0f);
}

// ---- Drops in rooms ----

const char* const kPans =
    R"(<object id="left" type="weight_part" x="0" y="100" w="50" h="40" maxclickstool="100" tool="%T"/>
       <object id="right" type="weight_part" x="150" y="100" w="50" h="40" maxclickstool="100" tool="%T"/>)";

std::string Pans(const std::string& tools)
{
    std::string pans = kPans;
    for (size_t at; (at = pans.find("%T")) != std::string::npos;) pans.replace(at, 2, tools);
    return pans;
}

class WeightDrops : public PocketRoomTest {
protected:
    void TearDown() override
    {
        PocketRoomTest::TearDown();
        DestroyMessageManager();
    }

    // A room with a box of weights, a loose weight and the scales.
    TRoom* ScalesRoom(const std::string& scalesKeys = "", const std::string& pans = Pans("w1,w2,w3,loose,ghost"))
    {
        TRoom* room = Load(R"(<room><Common name="r"/>
            <tools><tool id="w1"/><tool id="w2"/><tool id="w3"/><tool id="loose"/><tool id="ghost"/>
                   <tool id="right"/><tool id="a"/><tool id="b"/></tools>
            <Objects>
              <object id="box" w="10" h="10">
                <object id="w1" tag="2" w="20" h="10"/><object id="w2" tag="3" w="20" h="10"/>
                <object id="w3" tag="1" w="20" h="10"/></object>
              <object id="loose" tag="5" w="5" h="5"/>
              <object id="scales" type="weight_system" x="100" y="100" soundtool="clunk" )" +
                             scalesKeys + ">" + pans + R"(</object>
            </Objects></room>)");
        room->LoadObjectResources(0);
        return room;
    }

    bool Drop(const std::string& toolName, int x, int y)
    {
        TTool* tool = GlobalToolsList().FindTool(toolName);
        EXPECT_NE(tool, nullptr) << toolName;
        return Press(tool, x, y);
    }
    bool Press(TTool* tool, int x, int y)
    {
        TSceneMouseEvent event;
        event.mX = x;
        event.mY = y;
        event.mButton = 1;
        event.mTool = tool;
        return Object("scales")->OnMouseDown(event);
    }
    static std::string Names(const TObject* object)
    {
        std::string names;
        for (const auto& child : object->mChildren) names += child->GetName() + " ";
        return names;
    }
};

TEST_F(WeightDrops, AWeightMovesFromItsHolderOntoThePanUnderThePointer)
{
    TRoom* room = ScalesRoom();
    TRecordedSoundCalls sounds;
    auto* scales = static_cast<TWeightSystemObject*>(Object("scales"));
    EXPECT_TRUE(Drop("w1", 160, 110));
    EXPECT_EQ(Names(Object("box")), "w2 w3 ");
    EXPECT_EQ(Names(Object("right")), "w1 ");
    EXPECT_EQ(Object("right")->mToolCounter, 0);
    EXPECT_EQ(sounds.mCalls, (TCalls{"play clunk"}));
    EXPECT_TRUE(Object("right")->mCheckOnlyBounds);

    // A second drop before the dispatcher's update: one message, one rebalance with both.
    EXPECT_TRUE(Drop("w2", 160, 110));
    EXPECT_EQ(Names(Object("right")), "w1 w2 ");
    EXPECT_EQ(GetMessageManager()->PendingCount(), 1u);
    EXPECT_TRUE(scales->mBeam.mFinished);
    GetMessageManager()->Update(0.0f);
    EXPECT_NEAR(scales->mBeam.mTo, 45.0f * kDeg, 1e-6);  // 5 against nothing
    EXPECT_EQ(GetMessageManager()->PendingCount(), 0u);
    (void)room;
}

TEST_F(WeightDrops, WithoutCoordinatesTheFirstChildTakesTheWeight)
{
    ScalesRoom("checkcoords=\"0\"");
    EXPECT_TRUE(Drop("w1", 160, 110));
    EXPECT_EQ(Names(Object("left")), "w1 ");
    EXPECT_EQ(Names(Object("right")), "");
}

TEST_F(WeightDrops, RefusedDropsMoveNothing)
{
    ScalesRoom();
    ASSERT_TRUE(Drop("w1", 160, 110));
    ASSERT_TRUE(Drop("w2", 160, 110));
    // Full pan ("maxobj" 2): refused, but the use is counted.
    EXPECT_FALSE(Drop("w3", 160, 110));
    EXPECT_EQ(Names(Object("box")), "w3 ");
    EXPECT_EQ(Object("right")->mToolCounter, 2);
    // A name without an object and a weight nobody holds: nothing moves, the press is taken.
    EXPECT_TRUE(Drop("ghost", 10, 110));
    EXPECT_TRUE(Drop("loose", 10, 110));
    EXPECT_EQ(Names(Object("left")), "");
    EXPECT_NE(mRoom->FindObject("loose"), nullptr);
    EXPECT_FALSE(Drop("w3", 400, 400));  // no hit
}

TEST_F(WeightDrops, AnIncompleteToolPressesTheWrongToolFlag)
{
    ScalesRoom();
    TTool half;
    half.mId = "w1";
    half.mPartCount = 2;
    EXPECT_TRUE(Press(&half, 160, 110));
    EXPECT_TRUE(Object("scales")->mWrongToolPressed);
    EXPECT_EQ(Names(Object("right")), "");
    // An unknown tool too.
    Object("scales")->mWrongToolPressed = false;
    TTool other;
    other.mId = "spoon";
    other.mOwned = true;
    EXPECT_TRUE(Press(&other, 160, 110));
    EXPECT_TRUE(Object("scales")->mWrongToolPressed);
}

TEST_F(WeightDrops, KeepOrderWaitsForTheEarlierPan)
{
    ScalesRoom("keeporder=\"1\"",
               R"(<object id="left" type="weight_part" x="0" y="100" w="50" h="40" maxclickstool="100" tool="a"/>
                  <object id="right" type="weight_part" x="150" y="100" w="50" h="40" maxclickstool="100" tool="b"/>)");
    auto* scales = static_cast<TWeightSystemObject*>(Object("scales"));
    TTool* b = GlobalToolsList().FindTool("b");
    EXPECT_FALSE(scales->AcceptsTool(b));
    EXPECT_TRUE(Press(b, 160, 110));
    EXPECT_TRUE(scales->mWrongToolPressed);
    EXPECT_EQ(Object("right")->mToolCounter, -1);
    Object("left")->mToolApplied = true;
    EXPECT_TRUE(scales->AcceptsTool(b));
    scales->mKeepOrder = false;
    Object("left")->mToolApplied = false;
    EXPECT_TRUE(scales->AcceptsTool(b));
}

TEST_F(WeightDrops, GroupScalesOfferThePressToTheirChildren)
{
    for (bool group : {false, true}) {
        SCOPED_TRACE(group);
        ScalesRoom(group ? "group=\"1\"" : "", Pans(""));
        TSceneMouseEvent click;
        click.mX = 160;
        click.mY = 110;
        click.mButton = 1;
        EXPECT_TRUE(Object("scales")->OnMouseDown(click));
        EXPECT_FALSE(Object("right")->mCheckOnlyBounds);
        // The click itself, then the press offered again.
        EXPECT_EQ(Object("right")->mClickCounter, group ? 1 : 0);
        EXPECT_EQ(Object("scales")->mClickCounter, -1);
    }
}

TEST_F(WeightDrops, AWeightThatIsOrHoldsThePanIsRefused)
{
    ScalesRoom("", Pans("right,w1"));
    EXPECT_FALSE(Drop("right", 160, 110));
    EXPECT_EQ(Names(Object("scales")), "left right ");
    EXPECT_EQ(Object("right")->mToolCounter, 0);  // the use stays counted

    Load(R"(<room><Common name="r"/><tools><tool id="scales"/></tools><Objects>
        <object id="case" w="10" h="10">
          <object id="scales" type="weight_system" x="100" y="100">)" +
         Pans("scales") + R"(</object></object></Objects></room>)");
    mRoom->LoadObjectResources(0);
    EXPECT_FALSE(Drop("scales", 160, 110));
    EXPECT_EQ(Names(Object("case")), "scales ");
    EXPECT_EQ(Names(Object("right")), "");
    mRoom->Update(0.1f);
}

TEST_F(WeightDrops, ScalesInAPocketTakeTheWeightOfThatPocket)
{
    Load(R"(<room><Common name="r"/><tools><tool id="sack"/></tools><Objects/>
        <pockets><pocket name="shelf" x="0" y="0">
          <object id="crate" w="10" h="10"><object id="sack" tag="4" w="20" h="10"/></object>
          <object id="scales" type="weight_system" x="100" y="100">)" +
         Pans("sack") + R"(</object></pocket></pockets></room>)");
    mRoom->LoadObjectResources(0);
    EXPECT_TRUE(Drop("sack", 160, 110));
    EXPECT_EQ(Names(Object("right")), "sack ");
    EXPECT_EQ(Names(Object("crate")), "");
}

// An owner that records the use count the room hands it for a tool report.
class THoldsOwner : public TReactionOwner {
public:
    void OwnerHoldsTool(int toolCount, int holdToolAfterUse, bool& /*holds*/) override
    {
        mCalls.push_back("OwnerHoldsTool " + std::to_string(toolCount) + " " + std::to_string(holdToolAfterUse));
    }
};

TEST_F(WeightDrops, SolvedScalesReportOnceWhenTheBeamRests)
{
    Load(R"(<room><Common name="r"/><Objects>
        <object id="scales" type="weight_system" completevalue="3" hat="t0;t1">
          <object id="left" type="weight_part"><object id="a" tag="1"/></object>
          <object id="right" type="weight_part"><object id="b" tag="2"/></object>
        </object></Objects></room>)");
    mRoom->LoadObjectResources(0);
    auto* scales = static_cast<TWeightSystemObject*>(Object("scales"));
    TCalls calls;
    TRecordingListener listener(calls);
    scales->SetListener(&listener);
    ASSERT_FALSE(scales->mBeam.mFinished);
    scales->Update(0.01f);  // 1 degree takes 1/45 s
    EXPECT_FALSE(scales->IsGoalReached());
    EXPECT_TRUE(calls.empty());
    scales->Update(0.02f);
    EXPECT_TRUE(scales->mBeam.mFinished);
    EXPECT_TRUE(scales->IsGoalReached());
    for (int i = 0; i < 5; ++i) scales->Update(0.01f);
    EXPECT_EQ(calls, (TCalls{"Hide t0", "OnObjectToolUsed 1"}));
    EXPECT_EQ(scales->mToolCounter, 0);

    // Solved scales in a room: the owner hears of no tool, with a count of 0.
    scales->mGoalReached = false;
    THoldsOwner owner;
    mRoom->SetOwnerListener(&owner);
    scales->SetListener(mRoom.get());
    scales->Update(0.01f);
    EXPECT_EQ(owner.mCalls, (std::vector<std::string>{"OnToolApplied scales", "OwnerHoldsTool 0 0"}));
    mRoom->SetOwnerListener(nullptr);
}

// ---- Missing pans ----

TEST_F(WeightDrops, ScalesWithoutTheirPansSkipThem)
{
    Load(R"(<room><Common name="r"/><tools><tool id="w"/></tools><Objects>
        <object id="box" w="5" h="5"><object id="w" tag="1" w="5" h="5"/></object>
        <object id="scales" type="weight_system" x="100" y="100" completevalue="1">
          <object id="left" x="0" y="100" w="50" h="40" cob="1" tool="w" maxclickstool="9"/>
        </object></Objects></room>)");
    mRoom->LoadObjectResources(0);
    auto* scales = static_cast<TWeightSystemObject*>(Object("scales"));
    EXPECT_EQ(scales->mLeft, nullptr);
    EXPECT_EQ(scales->mRight, nullptr);
    EXPECT_EQ(scales->GetTotalWeight(), 0.0f);
    // The plain "left" takes the weight as any child would, and no pan counts it.
    EXPECT_TRUE(Drop("w", 10, 110));
    GetMessageManager()->Update(0.0f);
    for (int i = 0; i < 3; ++i) mRoom->Update(0.1f);
    EXPECT_FALSE(scales->IsGoalReached());
    TBaseBuffer buffer;
    mRoom->SaveState(buffer);
}

// ---- Damaged files ----

// A tilt that is no number turned the beam, and with it the scales' picture, to NaN, which
// SDL's software renderer crashed on.
TEST_F(WeightDrops, MaximumTiltThatIsNoNumberIsBroughtInWithALine)
{
    for (const char* maxAngle : {"nan", "-1e39"}) {
        SCOPED_TRACE(maxAngle);
        TLogWatch log;
        TRoom* room = Load(std::string(R"(<room><Common name="r"/><Objects>
            <object id="scales" type="weight_system" name="pic" x="100" y="100" maxangle=")") +
                           maxAngle + R"(">
              <object id="left" type="weight_part"><object id="w" tag="2" w="10" h="10"/></object>
              <object id="right" type="weight_part"/></object></Objects></room>)");
        auto* scales = static_cast<TWeightSystemObject*>(Object("scales"));
        EXPECT_FLOAT_EQ(scales->mMaxAngle, 45 * kDeg);
        EXPECT_TRUE(log.Has(std::string("room.xml: object \"maxangle\" = \"") + maxAngle +
                            "\" is out of range, taken as 45"));
        ShowAndDraw(room);
        EXPECT_FLOAT_EQ(scales->mAngle, -45 * kDeg) << "the heavier left pan goes down";
    }
}

// ---- Linked weights ----

class LinkedWeights : public PocketRoomTest {
protected:
    TConjunctWeightObject* Weight(const std::string& name)
    {
        return static_cast<TConjunctWeightObject*>(Object(name));
    }
    void Click(const std::string& name)
    {
        TObject* weight = Object(name);
        TSceneMouseEvent click;
        click.mX = weight->GetXInt() + 1;
        click.mY = weight->GetYInt() + 1;
        click.mButton = 1;
        weight->OnMouseDown(click);
    }
    void Show()
    {
        mRoom->LoadObjectResources(0);
        for (auto& object : mRoom->mObjects) object->OnSpaceShown();
    }
};

TEST_F(LinkedWeights, StepsForwardToTheLastAndBackToTheFirst)
{
    Load(R"(<room><Common name="r"/><Objects>
        <object id="a" type="conjunct_weight" cob="1" w="10" h="10" mov_time="0.5" ppos="0,0;100,0;200,50"/>
        </Objects></room>)");
    Show();
    TConjunctWeightObject* a = Weight("a");
    std::vector<int> visited;
    for (int i = 0; i < 5; ++i) {
        Click("a");
        visited.push_back(a->mCurrent);
        const int index = a->mCurrent;
        mRoom->Update(0.25f);
        Click("a");  // under way: nothing changes
        EXPECT_EQ(a->mCurrent, index);
        mRoom->Update(0.25f);
        EXPECT_FALSE(a->IsMoving());
        EXPECT_FLOAT_EQ(a->mX, static_cast<float>(a->mPositions[static_cast<size_t>(index)].x));
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 1, 0, 1}));
}

TEST_F(LinkedWeights, APressPushesTheLinkedWeightsOnce)
{
    Load(R"(<room><Common name="r"/><Objects>
        <object id="a" type="conjunct_weight" cob="1" w="10" h="10" ppos="0,0;100,0;200,0" objs="b,nobody"/>
        <object id="b" type="conjunct_weight" cob="1" w="10" h="10" ppos="0,50;100,50;200,50" cpos="2" inc="0" objs="c"/>
        <object id="c" type="conjunct_weight" cob="1" w="10" h="10" ppos="0,90;100,90"/>
        </Objects></room>)");
    Show();
    ASSERT_EQ(Weight("a")->mLinked.size(), 1u);
    Click("a");
    EXPECT_EQ(Weight("a")->mCurrent, 1);
    EXPECT_EQ(Weight("b")->mCurrent, 1);  // its own way: backwards
    EXPECT_EQ(Weight("c")->mCurrent, 0);  // links do not chain
    EXPECT_TRUE(Weight("b")->IsMoving());
}

TEST_F(LinkedWeights, TheParentReportsAndLocksAsTheLastMoveStarts)
{
    Load(R"(<room><Common name="r"/><Objects>
        <object id="p" type="conjunct_weightp" cor_pos="2" hae="done">
          <object id="a" type="conjunct_weight" cob="1" w="10" h="10" ppos="0,0;100,0;200,0" cpos="1"/>
          <object id="b" type="conjunct_weight" cob="1" w="10" h="10" ppos="0,50;100,50;200,50" cpos="2"/>
        </object></Objects></room>)");
    Show();
    auto* parent = static_cast<TConjunctWeightParentObject*>(Object("p"));
    mRoom->Update(0.01f);
    EXPECT_FALSE(parent->IsLocked());
    Click("a");
    ASSERT_TRUE(Weight("a")->IsMoving());
    TCalls calls;
    TRecordingListener listener(calls);
    parent->SetListener(&listener);
    mRoom->Update(0.01f);
    EXPECT_EQ(calls, (TCalls{"Hide done"}));
    EXPECT_TRUE(parent->IsLocked());
    EXPECT_TRUE(Weight("a")->IsLocked());
    EXPECT_TRUE(Weight("b")->IsLocked());
    mRoom->Update(0.01f);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(LinkedWeights, FewPositionsOrAStartOutsideThemAreSafe)
{
    Load(R"(<room><Common name="r"/><Objects>
        <object id="one" type="conjunct_weight" cob="1" w="10" h="10" ppos="30,40" objs="three"/>
        <object id="three" type="conjunct_weight" cob="1" w="10" h="10" ppos="0,0;100,0;200,0" cpos="5"/>
        <object id="none" type="conjunct_weight" cob="1" x="7" y="8" w="10" h="10" cpos="-3"/>
        </Objects></room>)");
    Show();
    EXPECT_EQ(Weight("three")->mCurrent, 0);
    EXPECT_FLOAT_EQ(Weight("three")->mX, 0.0f);
    EXPECT_FLOAT_EQ(Weight("one")->mX, 30.0f);
    EXPECT_FLOAT_EQ(Weight("none")->mX, 7.0f);  // not placed
    TSceneMouseEvent click;
    click.mX = 31;
    click.mY = 41;
    click.mButton = 1;
    // One position: the weight stays, but its press is taken and pushes its links.
    EXPECT_TRUE(Weight("one")->OnMouseDown(click));
    EXPECT_EQ(Weight("one")->mCurrent, 0);
    EXPECT_FALSE(Weight("one")->IsMoving());
    EXPECT_EQ(Weight("three")->mCurrent, 1);
    Weight("none")->Step();
    EXPECT_EQ(Weight("none")->mCurrent, 0);
    mRoom->Update(0.5f);
}

}  // namespace
