// Clock hands picked up, turned about their position and put down near their right angle,
// with tools; and the limited hand dragged within its bounds.
#include <gtest/gtest.h>

#include <cmath>

#include "audio_cases.h"
#include "core/buffer.h"
#include "core/numbers.h"
#include "objects/clock_arrow_objects.h"
#include "objects/container_objects.h"
#include "objects/object_scene_fixture.h"
#include "objects/recording_listener.h"
#include "objects/scene_controls_fixture.h"
#include "rooms/executer.h"
#include "rooms/tool.h"

namespace {

const float kRad = 0.017453292f;
const float kDegreesPerRadian = 57.295776f;

// A hand at (200, 200) whose bounds (no picture) take presses in 200..239 x 200..209.
std::string Hand(const std::string& keys)
{
    return "<object x='200' y='200' w='40' h='10' cob='1' aae='set' aac='clicked' " + keys + "/>";
}

class TRefusingExecuter : public TExecuter {
public:
    bool Hook2(TObject*, const TSceneMouseEvent&) override { return false; }
};

class TNamedTool : public TTool {
public:
    explicit TNamedTool(const std::string& id) { mId = id; }
};

// Picked up, then turned to a whole degree as a pointer would leave it.
void TurnedTo(TClockArrowObject& hand, int degrees)
{
    ASSERT_TRUE(hand.OnMouseDown(MouseAt(210, 205)));
    ASSERT_TRUE(hand.IsTurning());
    hand.mAngle = static_cast<float>(degrees) * kRad;
}

}  // namespace

TEST(ClockArrow, PickUpCountsAClickAndThePointerTurnsIt)
{
    TCalls calls;
    TRecordingListener listener(calls);
    auto hand = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='90'"));
    hand->SetListener(&listener);
    EXPECT_FALSE(hand->OnMouseDown(MouseAt(100, 100)));
    ASSERT_TRUE(hand->OnMouseDown(MouseAt(210, 205)));
    EXPECT_TRUE(hand->IsTurning());
    EXPECT_EQ(0, hand->mClickCounter);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(hand->HitTest(5, 5, true));  // a turning hand takes every point

    bool hover = false;
    EXPECT_TRUE(hand->OnMouseMove(MouseAt(200, 250, 0), hover));
    EXPECT_TRUE(hover);
    // Around (int GetX, int GetY), in whole degrees.
    const float a0 = std::atan2(5.0f, 10.0f);
    const float a1 = std::atan2(50.0f, 0.0f);
    const float d = (0.0f - (a0 - a1)) * kDegreesPerRadian;
    EXPECT_EQ(static_cast<float>(TruncToInt(d) % 360) * kRad, hand->mAngle);
    EXPECT_EQ(63, TruncToInt(hand->mAngle * kDegreesPerRadian + 0.5f));
    hand->OnMouseMove(MouseAt(200, 150, 0), hover);
    const float back = (0.0f - (a0 - std::atan2(-50.0f, 0.0f))) * kDegreesPerRadian;
    EXPECT_EQ(static_cast<float>(360 - TruncToInt(std::fabs(back)) % 360) * kRad, hand->mAngle);
    EXPECT_FALSE(hand->OnMouseUp(MouseAt(200, 150)));
    EXPECT_TRUE(hand->IsTurning());
}

TEST(ClockArrow, PutDownWithinFifteenDegreesEitherWayRoundSetsIt)
{
    struct Case {
        const char* keys;
        int dropped;
        bool set;
    };
    const Case cases[] = {
        {"rx='200' ry='100'", 270, true},  // straight above the pivot: -90 degrees
        {"rightangle='5'", 355, true},
        {"rightangle='350'", 2, true},
        {"rightangle='62'", 77, true},
        {"rightangle='90'", 106, false},
    };
    for (const Case& c : cases) {
        TCalls calls;
        TRecordingListener listener(calls);
        auto hand = LoadObjectFrom<TClockArrowObject>(Hand(c.keys));
        hand->SetListener(&listener);
        TurnedTo(*hand, c.dropped);
        hand->OnMouseDown(MouseAt(500, 500));
        EXPECT_FALSE(hand->IsTurning()) << c.keys;
        EXPECT_EQ(c.set, hand->IsGoalReached()) << c.keys;
        if (c.set) {
            EXPECT_EQ(hand->mRightAngle, hand->mAngle) << c.keys;
            ASSERT_GE(calls.size(), 2u);
            EXPECT_EQ("Activate set", calls[0]) << c.keys;  // the event group first, then the click
            EXPECT_EQ("Activate clicked", calls[1]) << c.keys;
        } else {
            EXPECT_EQ(static_cast<float>(c.dropped) * kRad, hand->mAngle);
            EXPECT_TRUE(calls.empty());
        }
    }
}

TEST(ClockArrow, PressesThatStartNoTurn)
{
    auto set = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0'"));
    TurnedTo(*set, 3);
    set->OnMouseDown(MouseAt(210, 205));
    ASSERT_TRUE(set->IsGoalReached());
    EXPECT_TRUE(set->OnMouseDown(MouseAt(210, 205)));
    EXPECT_FALSE(set->IsTurning());

    auto twice = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0' maxclicks='2'"));
    for (int pickUp = 0; pickUp < 2; ++pickUp) {
        TurnedTo(*twice, 180);
        twice->OnMouseDown(MouseAt(210, 205));
        EXPECT_FALSE(twice->IsGoalReached());
        twice->mAngle = 0.0f;  // back where its bounds take the next press
    }
    EXPECT_TRUE(twice->OnMouseDown(MouseAt(210, 205)));
    EXPECT_FALSE(twice->IsTurning());

    auto delayed = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0'"));
    delayed->mClickDelayCountdown = 1.0f;
    EXPECT_FALSE(delayed->OnMouseDown(MouseAt(210, 205)));
    TRefusingExecuter refusing;
    auto vetoed = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0'"));
    vetoed->mClickExecuter = &refusing;
    EXPECT_FALSE(vetoed->OnMouseDown(MouseAt(210, 205)));
    EXPECT_FALSE(delayed->IsTurning() || vetoed->IsTurning());
    auto locked = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0' locked='1'"));
    EXPECT_FALSE(locked->OnMouseDown(MouseAt(210, 205)));
}

TEST(ClockArrow, ToolsPickUpAndPutDown)
{
    TCalls calls;
    TRecordingListener listener(calls);
    TNamedTool key("key"), stick("stick");
    auto hand = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0' tool='key'"));
    hand->SetListener(&listener);
    EXPECT_TRUE(hand->OnMouseDown(PressAt(210, 205, &key)));
    ASSERT_TRUE(hand->IsTurning());
    hand->mAngle = 10.0f * kRad;
    EXPECT_TRUE(hand->OnMouseDown(PressAt(500, 500, &stick)));  // refused: the turn goes on
    EXPECT_TRUE(hand->IsTurning());
    EXPECT_TRUE(hand->OnMouseDown(PressAt(500, 500, &key)));
    EXPECT_TRUE(hand->IsGoalReached());
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "OnObjectToolUsed 1"));
    // Once set, a tool hits it anywhere.
    EXPECT_TRUE(hand->OnMouseDown(PressAt(900, 900, &key)));
    EXPECT_FALSE(hand->IsTurning());

    calls.clear();
    auto pocket = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0' tooltoopenpocket='key'"));
    pocket->SetListener(&listener);
    EXPECT_TRUE(pocket->OnMouseDown(PressAt(210, 205, &key)));
    EXPECT_EQ((TCalls{"OnObjectActivated"}), calls);
    EXPECT_FALSE(pocket->IsTurning());
}

TEST(ClockArrow, RightAngleFromAPointAndTheSavedAngles)
{
    auto below = LoadObjectFrom<TClockArrowObject>(Hand("rx='200' ry='300'"));
    EXPECT_FLOAT_EQ(std::atan2(100.0f, 0.0f), below->mRightAngle);

    auto hand = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='90'"));
    hand->mAngle = 0.5235987f;
    TBaseBuffer saved, base;
    hand->SaveState(saved);
    hand->TObject::SaveState(base);
    const int right = static_cast<int>(90.0f * kRad * 1000.0f);
    EXPECT_EQ(1570, right);
    EXPECT_EQ(Bytes(base) + HexBytes("0B 02 00 00 22 06 00 00"), Bytes(saved));
    auto restored = LoadObjectFrom<TClockArrowObject>(Hand("rightangle='0'"));
    restored->LoadState(saved);
    EXPECT_FLOAT_EQ(0.523f, restored->mAngle);
    EXPECT_FLOAT_EQ(1.570f, restored->mRightAngle);
}

namespace {

// A limited hand turned from the pivot's right, at rest at a whole degree.
std::unique_ptr<TLimitedArrowObject> Limited(int low, int high, int at)
{
    auto hand = LoadObjectFrom<TLimitedArrowObject>(Hand("lbound='" + std::to_string(low) + "' ubound='" +
                                                         std::to_string(high) + "'"));
    hand->mAngle = static_cast<float>(at) * kRad;
    hand->mStartAngle = 0.0f;
    hand->mPressX = 300;
    hand->mPressY = 200;
    hand->mTurning = 1;
    return hand;
}

// The pointer's whole degree around the pivot, as the hand computes it.
int PointerDegree(TClockArrowObject& hand, int x, int y) { return TruncToInt(hand.AngleFor(x, y) * kDegreesPerRadian); }

}  // namespace

TEST(LimitedArrow, TurnsOnDragsOnlyAndTheReleaseEndsTheTurn)
{
    auto hand = LoadObjectFrom<TLimitedArrowObject>(Hand(""));
    ASSERT_TRUE(hand->OnMouseDown(MouseAt(210, 205)));
    bool hover = false;
    hand->OnMouseMove(MouseAt(200, 250, 0), hover);
    EXPECT_EQ(0.0f, hand->mAngle);
    EXPECT_TRUE(hand->OnMouseDrag(MouseAt(200, 250, 0)));
    EXPECT_NE(0.0f, hand->mAngle);
    EXPECT_FALSE(hand->OnMouseUp(MouseAt(200, 250)));
    EXPECT_FALSE(hand->IsTurning());
    const float rested = hand->mAngle;
    hand->OnMouseDrag(MouseAt(250, 200, 0));
    EXPECT_EQ(rested, hand->mAngle);
}

TEST(LimitedArrow, KeepsWithinItsBounds)
{
    struct Case {
        int low, high, at, x, y;
        int expected;  // -1: the pointer's own degree
    };
    const Case cases[] = {
        {30, 120, 0, 270, 270, -1},    // 45 degrees: inside
        {30, 120, 45, 106, 166, 30},   // 200 degrees, nearer the lower bound
        {30, 120, 100, 250, 113, 120}, // 300 degrees, nearer the upper bound
        {300, 60, 0, 280, 230, -1},    // 20 degrees: inside across 0
        {300, 60, 0, 270, 130, -1},    // 315 degrees: inside across 0
        {300, 60, 30, 183, 298, 60},   // 100 degrees from 30: the near bound
        {300, 60, 330, 106, 166, 300}, // 200 degrees from 330
        {90, 90, 10, 270, 270, 90},
        {90, 90, 200, 106, 166, 90},
    };
    for (const Case& c : cases) {
        auto hand = Limited(c.low, c.high, c.at);
        const int expected = c.expected < 0 ? PointerDegree(*hand, c.x, c.y) : c.expected;
        EXPECT_TRUE(hand->OnMouseDrag(MouseAt(c.x, c.y, 0)));
        EXPECT_EQ(static_cast<float>(expected) * kRad, hand->mAngle)
            << c.low << ".." << c.high << " from " << c.at << " to " << PointerDegree(*hand, c.x, c.y);
    }

    // Further drags outside a range across 0 leave it at the near bound.
    auto hand = Limited(300, 60, 30);
    for (int i = 0; i < 21; ++i) hand->OnMouseDrag(MouseAt(183, 298, 0));
    EXPECT_EQ(60.0f * kRad, hand->mAngle);
}

namespace {

// A clock face with two hands: a at (100, 100), b at (300, 100).
std::unique_ptr<TClockObject> Face(const char* rightA, const char* rightB)
{
    auto clock = LoadObjectFrom<TClockObject>("<object aae='done'/>");
    NestChild<TClockArrowObject>(*clock, std::string("<object id='a' x='100' y='100' w='40' h='10' cob='1' "
                                                     "rightangle='") + rightA + "'/>");
    NestChild<TClockArrowObject>(*clock, std::string("<object id='b' x='300' y='100' w='40' h='10' cob='1' "
                                                     "rightangle='") + rightB + "'/>");
    return clock;
}

TClockArrowObject* HandOf(TClockObject& clock, size_t i)
{
    return static_cast<TClockArrowObject*>(clock.mChildren[i].get());
}

}  // namespace

TEST(ClockFace, RealHandsArePickedUpOneAtATimeAndSetTheClock)
{
    auto clock = Face("180", "180");
    TClockArrowObject* a = HandOf(*clock, 0);
    TClockArrowObject* b = HandOf(*clock, 1);
    clock->OnMouseDown(MouseAt(110, 105));
    EXPECT_TRUE(a->IsTurning());
    clock->OnMouseDown(MouseAt(110, 105));
    EXPECT_FALSE(a->IsTurning());
    EXPECT_FALSE(a->IsGoalReached());
    clock->OnMouseDown(MouseAt(110, 105));
    ASSERT_TRUE(a->IsTurning());
    clock->OnMouseDown(MouseAt(310, 105));
    EXPECT_FALSE(a->IsTurning() || b->IsTurning());

    TCalls calls;
    TRecordingListener listener(calls);
    auto done = Face("0", "0");
    done->SetListener(&listener);
    for (int x : {110, 110, 310, 310}) done->OnMouseDown(MouseAt(x, 105));
    EXPECT_TRUE(HandOf(*done, 0)->IsGoalReached() && HandOf(*done, 1)->IsGoalReached());
    EXPECT_TRUE(done->IsGoalReached());
    EXPECT_FALSE(done->OnMouseDown(MouseAt(110, 105)));
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "Activate done"));
}
