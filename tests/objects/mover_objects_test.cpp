// Movers along points, the wobbling target, the finder's counter, the arc mover and the
// ticking clock hand: their steps in time, their reports, their records and bad input.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "audio_cases.h"
#include "core/buffer.h"
#include "log_watch.h"
#include "objects/mover_objects.h"
#include "objects/scene_timing_fixture.h"
#include "objects/shape_text_objects.h"
#include "rooms/pocket_room_fixture.h"

namespace {

constexpr const char* kPatrol = "<object cob='1' w='20' h='20' poss='0,0;100,0;100,100' activateafterevent='g0;g1' ";

void ExpectAt(const TObject& object, float x, float y, float tolerance = 0.01f)
{
    EXPECT_NEAR(object.mX, x, tolerance);
    EXPECT_NEAR(object.mY, y, tolerance);
}

using MoverTest = SceneTimingTest;

TEST_F(MoverTest, ClickedPatrolStepsPointByPointAndReportsItsEnd)
{
    auto mover = Load<TMoverObject>(std::string(kPatrol) + "time='1'/>");
    ASSERT_TRUE(Press(*mover));
    Run(*mover, 0.5f);
    ExpectAt(*mover, 50.0f, 0.0f);
    EXPECT_TRUE(mover->IsActive());
    Run(*mover, 0.5f + kStep);
    ExpectAt(*mover, 100.0f, 0.0f);
    EXPECT_FALSE(mover->IsActive());
    EXPECT_EQ(mTrace, (std::vector<std::string>{"activate g0"}));
    mTrace.clear();
    Press(*mover);
    Run(*mover, 1.0f + kStep);
    ExpectAt(*mover, 100.0f, 100.0f);
    EXPECT_EQ(mTrace, (std::vector<std::string>{"activate g0", "activate g1"}));
    Press(*mover);  // looped: back to the first point
    Run(*mover, 1.0f + kStep);
    ExpectAt(*mover, 0.0f, 0.0f);
}

TEST_F(MoverTest, ZeroTimeJumpsWithoutReports)
{
    auto mover = Load<TMoverObject>(std::string(kPatrol) + "time='0'/>");
    Press(*mover);
    ExpectAt(*mover, 100.0f, 0.0f);
    Run(*mover, 1.0f);
    ExpectAt(*mover, 100.0f, 0.0f);
    EXPECT_TRUE(mTrace.empty());
    EXPECT_FALSE(mover->IsActive());
}

TEST_F(MoverTest, NonLoopedMoverStaysAtItsLastPoint)
{
    auto mover = Load<TMoverObject>("<object cob='1' w='20' h='20' poss='0,0;100,0' time='1' animtype='once'/>");
    Press(*mover);
    Run(*mover, 1.0f + kStep);
    ExpectAt(*mover, 100.0f, 0.0f);
    Press(*mover);
    EXPECT_EQ(mover->mTarget, 1);
    EXPECT_EQ(mover->mMoving, 0);
    Run(*mover, 1.0f);
    ExpectAt(*mover, 100.0f, 0.0f);
}

TEST_F(MoverTest, ClickMidStepSkipsThePendingTarget)
{
    auto mover = Load<TMoverObject>(std::string(kPatrol) + "time='1'/>");
    Press(*mover);
    Run(*mover, 0.5f);
    Press(*mover);
    EXPECT_EQ(mover->mTarget, 2);
    Run(*mover, 0.5f);
    ExpectAt(*mover, 50.0f, 50.0f);
}

TEST_F(MoverTest, ContinuingMoverRunsAloneFromItsActivation)
{
    auto mover = Load<TMoverObject>(std::string(kPatrol) + "time='1' continuesteps='1' active='1'/>");
    Run(*mover, 1.0f + kStep);
    ExpectAt(*mover, 100.0f, 0.0f, 2.0f);
    Run(*mover, 1.0f);
    ExpectAt(*mover, 100.0f, 100.0f, 2.0f);
    Run(*mover, 1.0f);
    ExpectAt(*mover, 0.0f, 0.0f, 2.0f);
    EXPECT_EQ(Count("activate g1"), 1);
}

TEST_F(MoverTest, StepTimesFillFromTheFirst)
{
    auto mover = Load<TMoverObject>(std::string(kPatrol) + "time='1;0;2'/>");
    EXPECT_EQ(mover->mStepTimes, (std::vector<float>{1.0f, 1.0f, 2.0f}));
    auto shortList = Load<TMoverObject>(std::string(kPatrol) + "time='3'/>");
    EXPECT_EQ(shortList->mStepTimes, (std::vector<float>{3.0f, 3.0f, 3.0f}));
}

TEST_F(MoverTest, MoverWithoutPointsStaysPut)
{
    auto mover = Load<TMoverObject>("<object cob='1' w='20' h='20' x='30' y='40' time='1'/>");
    Press(*mover);
    mover->Activate(0, 0, 0);
    Run(*mover, 1.0f);
    ExpectAt(*mover, 30.0f, 40.0f);
    EXPECT_EQ(mover->mCurrent, 0);
    EXPECT_EQ(mover->mTarget, 0);
    EXPECT_EQ(mover->mMoving, 0);
}

TEST_F(MoverTest, TargetWithoutPointsStartsItsCrossAtTheFirstShow)
{
    auto target = Load<TTargetObject>("<object x='200' y='300' active='1' time='0.5'/>");
    target->OnSpaceFirstShown();
    Run(*target, 0.5f + kStep);
    ExpectAt(*target, 245.0f, 300.0f);
}

TEST_F(MoverTest, TargetStepsThroughItsCrossAndMeasuresItsGoal)
{
    auto target = Load<TTargetObject>("<object x='200' y='300' maxradius='45' time='0'/>");
    const std::vector<std::pair<int, int>> expected{{200, 300}, {245, 300}, {200, 300}, {155, 300},
                                                    {200, 300}, {200, 345}, {200, 300}, {200, 255}};
    ASSERT_EQ(target->mPoints.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(target->mPoints[i].x, expected[i].first) << i;
        EXPECT_EQ(target->mPoints[i].y, expected[i].second) << i;
    }
    EXPECT_EQ(target->mPointCount, 8);
    struct Case {
        float x;
        bool reached;
    };
    for (const Case c : {Case{200.0f, true}, Case{225.0f, true}, Case{226.0f, false}, Case{245.0f, false}}) {
        target->SetPosition(c.x, 300.0f, false);
        EXPECT_EQ(target->IsGoalReached(), c.reached) << c.x;
        EXPECT_EQ(target->mGoalReached, c.reached) << c.x;
    }
}

TEST_F(MoverTest, FinderLabelsItsFirstTextChild)
{
    auto finder = Load<TFinderMoverObject>(
        "<object x='10' y='20' poss='10,20;50,20' time='1' count='5' curcount='2' textx='7' texty='-4'/>");
    TTextObject* label = NestChild<TTextObject>(*finder, "<object/>", &mSpace);
    finder->OnSpaceFirstShown();
    EXPECT_EQ(label->mShownText, L"2/5");
    EXPECT_FLOAT_EQ(label->mX, 17.0f);
    EXPECT_FLOAT_EQ(label->mY, 16.0f);
    // Clicks never step a finder.
    finder->mCheckOnlyBounds = true;
    finder->mWidth = finder->mHeight = 20.0f;
    Press(*finder);
    Run(*finder, 1.0f);
    ExpectAt(*finder, 10.0f, 20.0f);

    auto saved = Load<TFinderMoverObject>("<object count='5' curcount='3'/>");
    NestChild<TTextObject>(*saved, "<object/>", &mSpace);
    TBaseBuffer buffer;
    saved->SaveState(buffer);
    finder->LoadState(buffer);
    EXPECT_EQ(finder->mFound, 3);
    EXPECT_EQ(label->mShownText, L"3/5");

    auto plain = Load<TFinderMoverObject>("<object count='5' curcount='2'/>");
    NestChild<TObject>(*plain, "<object/>", &mSpace);
    plain->OnSpaceFirstShown();
    plain->Update(kStep);
    EXPECT_EQ(plain->mLabel, nullptr);
}

constexpr const char* kArc = "<object rectX='100' rectY='100' rectW='200' rectH='100' startAngle='0' sweepAngle='360' "
                             "time='4' play_sound='whirr' activateafterevent='g0' ";

TEST_F(MoverTest, ArcRunsRoundItsEllipseAndReportsItsEndOnce)
{
    auto arc = Load<TArcMoverObject>(std::string(kArc) + "play='1'/>");
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound whirr"}));
    EXPECT_FALSE(arc->IsActive());
    Run(*arc, 1.0f);
    ExpectAt(*arc, 200.0f, 100.0f, 1.0f);
    Run(*arc, 1.0f);
    ExpectAt(*arc, 300.0f, 150.0f, 1.0f);
    Run(*arc, 2.0f + kStep);
    EXPECT_EQ(Count("activate g0"), 1);
    const float x = arc->mX, y = arc->mY;
    Run(*arc, 1.0f);
    ExpectAt(*arc, x, y, 0.0f);
    EXPECT_EQ(Count("activate g0"), 1);

    // Activated again: on from where it stopped, with its sound.
    mTrace.clear();
    arc->Activate(0, 0, 0);
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound whirr"}));
    Run(*arc, 1.0f);
    ExpectAt(*arc, 200.0f, 100.0f, 1.5f);
}

TEST_F(MoverTest, EndlessArcKeepsGoingAndDeactivationOnlyStopsItsSound)
{
    auto arc = Load<TArcMoverObject>(std::string(kArc) + "play='1' loop='-1'/>");
    Run(*arc, 9.0f);
    EXPECT_TRUE(arc->mArc.mRunning);
    EXPECT_EQ(Count("activate g0"), 0);
    // Each pass drops its last part-frame: a few pixels over three passes.
    ExpectAt(*arc, 200.0f, 100.0f, 4.0f);
    arc->Deactivate(0, 0, 0);
    EXPECT_EQ(Count("manager stop whirr"), 1);
    Run(*arc, 1.0f);
    ExpectAt(*arc, 300.0f, 150.0f, 4.0f);
}

TEST_F(MoverTest, ArcWithoutTimeStaysWhereItIs)
{
    auto arc = Load<TArcMoverObject>(
        "<object x='300' y='200' rectX='0' rectY='0' rectW='50' rectH='20' play='1' activateafterevent='g0'/>");
    Run(*arc, 1.0f);
    ExpectAt(*arc, 300.0f, 200.0f, 0.0f);
    EXPECT_EQ(Count("activate g0"), 1);
}

// ---------------------------------------------------------------- clock hand

using ClockHandTest = SceneTimingTest;

constexpr float kSixDegrees = 6 * 0.017453292f;

TEST_F(ClockHandTest, TicksOneDivisionThenPauses)
{
    auto hand = Load<TMovingClockArrowObject>("<object name='pic' tick_sound='tick'/>");
    hand->LoadResources();
    ASSERT_NE(hand->mImage, nullptr);
    EXPECT_EQ(Count("manager play tick"), 1);
    Run(*hand, 1.0f / 3.0f);
    EXPECT_NEAR(hand->mImage->GetAngle(), kSixDegrees, 1e-4f);
    Run(*hand, 0.9f - 1.0f / 3.0f);
    EXPECT_NEAR(hand->mImage->GetAngle(), kSixDegrees, 1e-6f);
    EXPECT_EQ(Count("manager play tick"), 1);
    Run(*hand, 0.1f + kStep);
    EXPECT_EQ(Count("manager play tick"), 2);
    Run(*hand, 1.0f / 3.0f);
    EXPECT_NEAR(hand->mImage->GetAngle(), 2 * kSixDegrees, 1e-3f);
    Run(*hand, 2.0f / 3.0f + 2 * kStep);
    EXPECT_EQ(Count("manager play tick"), 3);
    EXPECT_FLOAT_EQ(hand->mAngle, 0.0f);  // the object itself never turns
}

TEST_F(ClockHandTest, StepsCountsAndLocking)
{
    auto seven = Load<TMovingClockArrowObject>("<object div_num='7'/>");
    EXPECT_FLOAT_EQ(seven->mStepAngle, 51 * 0.017453292f);
    auto last = Load<TMovingClockArrowObject>("<object name='pic' start_count='59'/>");
    last->LoadResources();
    EXPECT_EQ(last->mCount, 0);

    auto locked = Load<TMovingClockArrowObject>("<object name='pic' l='1' start_count='5'/>");
    locked->LoadResources();
    const float angle = locked->mImage->GetAngle();
    Run(*locked, 2.0f);
    EXPECT_FLOAT_EQ(locked->mImage->GetAngle(), angle);
    EXPECT_EQ(locked->mCount, 6);
    EXPECT_EQ(locked->mPhase, 1);
}

TEST_F(ClockHandTest, TickAndPauseShareTheDivision)
{
    struct Case {
        const char* keys;
        float tick, pause;
    };
    for (const Case& c : {Case{"", 1.0f / 3.0f, 1.0f - 1.0f / 3.0f}, Case{"time_tick='0.2'", 0.2f, 0.8f},
                          Case{"time_tack='0.5'", 0.5f, 0.5f}, Case{"time_tick='0.6' time_tack='0.1'", 0.6f, 0.4f}}) {
        auto hand = Load<TMovingClockArrowObject>(std::string("<object ") + c.keys + "/>");
        EXPECT_FLOAT_EQ(hand->mTick, c.tick) << c.keys;
        EXPECT_FLOAT_EQ(hand->mPause, c.pause) << c.keys;
    }
}

TEST_F(ClockHandTest, SurvivesNoDivisionsHugeCountsAndMissingImage)
{
    auto none = Load<TMovingClockArrowObject>("<object name='pic' div_num='0' start_count='4' tick_sound='tick'/>");
    none->LoadResources();
    Run(*none, 3.0f);
    // A turn of nothing ends at once: only the pauses take time.
    EXPECT_GE(Count("manager play tick"), 4);
    EXPECT_EQ(none->mCount, 4);
    EXPECT_FLOAT_EQ(none->mImage->GetAngle(), 0.0f);

    auto huge = Load<TMovingClockArrowObject>("<object name='pic' div_num='7' start_count='2147483647'/>");
    huge->LoadResources();
    Run(*huge, 2.0f);
    EXPECT_GE(huge->mCount, 0);
    EXPECT_LT(huge->mCount, 7);

    auto freed = Load<TMovingClockArrowObject>("<object name='pic'/>");
    freed->LoadResources();
    freed->FreeResources();
    Run(*freed, 2.0f);
    const int32_t count = freed->mCount;
    freed->Reset();
    EXPECT_EQ(freed->mCount, 0);
    EXPECT_GE(count, 2);
}

using ClockHandFile = PocketRoomTest;

// A time that is no number turned the hand's picture to NaN, which SDL's software renderer
// crashed on; each time is brought in where the file is read.
TEST_F(ClockHandFile, TimesThatAreNoNumberAreBroughtInWithALine)
{
    struct Case {
        const char* keys;
        float tick, pause;
        const char* line;
    };
    const Case cases[] = {
        {"time_per_div='nan'", 1.0f / 3.0f, 2.0f / 3.0f,
         "room.xml: object \"time_per_div\" = \"nan\" is out of range, taken as 1"},
        {"time_tick='nan' time_tack='0.25'", 0.75f, 0.25f,
         "room.xml: object \"time_tick\" = \"nan\" is out of range, taken as 0"},
        {"time_tack='1e39'", 1.0f / 3.0f, 2.0f / 3.0f,
         "room.xml: object \"time_tack\" = \"1e39\" is out of range, taken as 0"},
        {"time_per_div='-1e30' time_tick='0.5'", 0.5f, -2147483.5f,
         "room.xml: object \"time_per_div\" = \"-1e30\" is out of range, taken as -2.14748e+06"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        TLogWatch log;
        TRoom* room = Load(std::string("<room><Common name='r'/><Objects><object id='hand' type='moving_clock_arrow' "
                                       "name='pic' x='50' y='50' ") +
                           c.keys + "/></Objects></room>");
        auto* hand = static_cast<TMovingClockArrowObject*>(Object("hand"));
        EXPECT_FLOAT_EQ(hand->mTick, c.tick);
        EXPECT_FLOAT_EQ(hand->mPause, c.pause);
        EXPECT_TRUE(log.Has(c.line));
        EXPECT_EQ(log.CountStartingWith("room.xml: object "), 1u);
        ShowAndDraw(room);
        ASSERT_NE(hand->mImage, nullptr);
        EXPECT_TRUE(std::isfinite(hand->mImage->GetAngle()));
    }
}

// ---------------------------------------------------------------- records

using MoverRecordTest = SceneTimingTest;

// The bytes written after the object's own record.
std::vector<uint8_t> KindBytes(TObject& object, TObject& bare)
{
    TBaseBuffer all, base;
    object.SaveState(all);
    bare.TObject::SaveState(base);
    return std::vector<uint8_t>(all.Bytes().begin() + static_cast<long>(base.Size()), all.Bytes().end());
}

TEST_F(MoverRecordTest, MoverMidStepWritesIndexesPointsAndItsLine)
{
    auto mover = Load<TMoverObject>(std::string(kPatrol) + "time='1'/>");
    Press(*mover);
    Run(*mover, 0.25f);
    const std::vector<uint8_t> bytes = KindBytes(*mover, *mover);
    std::vector<uint8_t> head;
    auto word = [&head](uint8_t low) { head.insert(head.end(), {low, 0, 0, 0}); };
    word(0);  // current
    word(1);  // target
    word(3);  // point count
    head.push_back(1);  // moving
    word(3);
    for (uint8_t v : {0, 0, 100, 0, 100, 100}) word(v);
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(head.size())), head);
    TBaseBuffer line;
    mover->mLineMover.SaveState(&line);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + static_cast<long>(head.size()), bytes.end()), line.Bytes());

    // Restored while active, it starts a step from its current point and skips the pending one.
    TBaseBuffer buffer;
    mover->SaveState(buffer);
    auto copy = Load<TMoverObject>(std::string(kPatrol) + "time='1'/>");
    copy->LoadState(buffer);
    EXPECT_EQ(copy->mCurrent, 0);
    EXPECT_EQ(copy->mTarget, 2);
    EXPECT_EQ(copy->mMoving, 1);
    Run(*copy, 1.0f + kStep);
    ExpectAt(*copy, 100.0f, 100.0f);
}

TEST_F(MoverRecordTest, ClockAtHalfASecondWritesPhaseCountTweenAndPause)
{
    auto hand = Load<TMovingClockArrowObject>("<object name='pic'/>");
    hand->LoadResources();
    Run(*hand, 0.5f);
    const std::vector<uint8_t> bytes = KindBytes(*hand, *hand);
    ASSERT_EQ(bytes.size(), 1u + 4u + 24u + 4u + 1u);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 1, bytes.begin() + 5), (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 5, bytes.end()), (std::vector<uint8_t>{0x9A, 0x02, 0, 0, 1}));

    TBaseBuffer buffer;
    hand->SaveState(buffer);
    auto copy = Load<TMovingClockArrowObject>("<object name='pic'/>");
    copy->LoadResources();
    copy->LoadState(buffer);
    EXPECT_EQ(copy->mPhase, 2);
    EXPECT_EQ(copy->mCount, 1);
    EXPECT_TRUE(copy->mPauseTimer.IsActive());
}

TEST_F(MoverRecordTest, TargetFinderAndArcComeBack)
{
    auto target = Load<TTargetObject>("<object x='200' y='300' time='0.5'/>");
    target->Activate(0, 0, 0);
    Run(*target, 0.25f);
    TBaseBuffer targetRecord;
    target->SaveState(targetRecord);
    auto targetCopy = Load<TTargetObject>("<object x='200' y='300' time='0.5'/>");
    targetCopy->LoadState(targetRecord);
    EXPECT_EQ(targetCopy->mPoints.size(), 8u);
    EXPECT_EQ(targetCopy->mTarget, 2);  // active: the restore starts the next step
    EXPECT_FLOAT_EQ(targetCopy->mX, target->mX);

    auto arc = Load<TArcMoverObject>(std::string(kArc) + "play='1'/>");
    Run(*arc, 1.0f);
    TBaseBuffer arcRecord;
    arc->SaveState(arcRecord);
    auto arcCopy = Load<TArcMoverObject>(std::string(kArc) + "/>");
    arcCopy->LoadState(arcRecord);
    EXPECT_TRUE(arcCopy->mArc.mRunning);
    Run(*arcCopy, 1.0f);
    ExpectAt(*arcCopy, 300.0f, 150.0f, 1.5f);
}

// A damaged record: counts and indexes that point outside what it holds.
TEST_F(MoverRecordTest, DamagedRecordsStayInsideTheList)
{
    struct Case {
        const char* name;
        int32_t current, target, count;
    };
    for (const Case c : {Case{"huge count", 0, 1, INT32_MAX}, Case{"negative count", 0, 1, -1},
                         Case{"current 99", 99, 1, 3}, Case{"target -3", 0, -3, 3}}) {
        SCOPED_TRACE(c.name);
        auto source = Load<TMoverObject>(std::string(kPatrol) + "time='1' active='1'/>");
        TBaseBuffer base;
        source->TObject::SaveState(base);
        TBaseBuffer record;
        for (uint8_t byte : base.Bytes()) record.WriteByte(byte);
        record.WriteInt32(c.current);
        record.WriteInt32(c.target);
        record.WriteInt32(3);
        record.WriteByte(1);
        record.WriteInt32(c.count);
        for (int i = 0; i < 3 && c.count == 3; ++i) {
            record.WriteInt32(i * 10);
            record.WriteInt32(i * 10);
        }
        source->mLineMover.SaveState(&record);
        auto mover = Load<TMoverObject>(std::string(kPatrol) + "time='1'/>");
        mover->LoadState(record);
        EXPECT_EQ(mover->mPointCount, static_cast<int32_t>(mover->mPoints.size()));
        EXPECT_GE(mover->mCurrent, 0);
        EXPECT_LT(mover->mCurrent, mover->mPointCount);
        EXPECT_GE(mover->mTarget, 0);
        EXPECT_LT(mover->mTarget, mover->mPointCount);
        Run(*mover, 1.5f);
        Press(*mover);
        Run(*mover, 1.5f);
    }
}

}  // namespace
