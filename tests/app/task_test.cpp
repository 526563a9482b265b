#include <gtest/gtest.h>

#include "app/task.h"

namespace {
uint32_t gTaskNow = 0;
uint32_t TaskTicks() { return gTaskNow; }

struct TCountingTask : TMyTask {
    int mRuns = 0;
    // Ends a runaway catch-up so a fault fails the test instead of hanging it.
    bool Execute() override { return ++mRuns < 1000; }
};

class TaskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gTaskNow = 1000;
        SetTickSource(TaskTicks);
    }
    void TearDown() override { SetTickSource(nullptr); }
};
}

TEST_F(TaskTest, NeverDueTaskIsNotDue)
{
    TCountingTask task;
    task.mDueTick = TMyTask::kNever;
    gTaskNow = 0xFFFFFFF0u;
    EXPECT_FALSE(task.IsDue());
}

TEST_F(TaskTest, DueFollowsSignedDifferenceAcrossWrap)
{
    TCountingTask task;
    task.mDueTick = 0xFFFFFFF0u;
    gTaskNow = 0xFFFFFFEFu;
    EXPECT_FALSE(task.IsDue());
    gTaskNow = 5;  // wrapped past the due tick
    EXPECT_TRUE(task.IsDue());
}

TEST_F(TaskTest, CatchUpRunsMissedStepsButAStallResynchronises)
{
    struct Case {
        bool catchUp;
        uint32_t late;
        int runs;
        uint32_t due;
    } cases[] = {
        {false, 100, 1, 1000 + 10},          // one step, next due one interval on from the old due
        {true, 100, 10, 1000 + 100},         // steps while due is still below now
        {true, 1500, 1, 1000 + 1500 + 10},   // over a second late: restart from now
        {false, 1500, 1, 1000 + 1500 + 10},
    };
    for (const Case& c : cases) {
        TCountingTask task;
        task.mInterval = 10;
        task.mCatchUp = c.catchUp;
        task.mDueTick = 1000;
        gTaskNow = 1000 + c.late;
        ASSERT_TRUE(task.IsDue());
        task.Run();
        EXPECT_EQ(task.mRuns, c.runs) << c.catchUp << " " << c.late;
        EXPECT_EQ(task.mDueTick, c.due) << c.catchUp << " " << c.late;
    }
}

TEST_F(TaskTest, ResetToNowSchedulesFromTheCurrentTick)
{
    TCountingTask task;
    task.mInterval = 16;
    task.mResetToNow = true;
    task.mDueTick = 1000;
    gTaskNow = 1040;
    task.Run();
    EXPECT_EQ(task.mRuns, 1);
    EXPECT_EQ(task.mDueTick, 1056u);
}

// A late step at the tick wrap, and a catch-up task without an interval, run one step.
TEST_F(TaskTest, CatchUpAtTheWrapOrWithoutIntervalRunsOnce)
{
    struct Case {
        uint32_t due;
        uint32_t now;
        int32_t interval;
        int runs;
    } cases[] = {
        {0xFFFFFFF0u, 0xFFFFFFFAu, 16, 1},
        {0xFFFFFFF0u, 0x00000015u, 16, 3},
        {1000, 1100, 0, 1},
    };
    for (const Case& c : cases) {
        TCountingTask task;
        task.mInterval = c.interval;
        task.mCatchUp = true;
        task.mDueTick = c.due;
        gTaskNow = c.now;
        task.Run();
        EXPECT_EQ(task.mRuns, c.runs) << c.due << " " << c.now;
    }
}
