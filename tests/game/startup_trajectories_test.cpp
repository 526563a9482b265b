// Whole-program test: the start-up loader reads the shipped trajectories into the global table,
// and their stored lengths are the ones the game itself measures.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "app/app.h"
#include "audio_cases.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/system.h"
#include "graphics/trajectories.h"
#include "log_watch.h"
#include "game/startup_fixture.h"

namespace {

class GameStartupTrajectories : public TGameStartupTest {};

TEST_F(GameStartupTrajectories, ShippedCurvesAreLoadedWithTheirMeasuredLengths)
{
    GetTrajectoryList().Clear();
    std::string logText;
    {
        TLogWatch log;
        ASSERT_TRUE(InitGame());
        logText = log.Text();
    }
    EXPECT_EQ(logText.find("ARRAY ERROR"), std::string::npos);
    EXPECT_EQ(logText.find("trajector"), std::string::npos);

    TTrajectoryList& list = GetTrajectoryList();
    const char* names[] = {"menuloop", "drift", "swoop"};
    ASSERT_EQ(list.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TTrajectory& stored = *list.Get(i);
        EXPECT_EQ(stored.mName, names[i]);
        TTrajectory measured = stored;
        BuildTrajectoryLengths(measured);
        for (size_t p = 0; p + 1 < stored.mPoints.size(); ++p) {
            EXPECT_NEAR(stored.mPoints[p].length, measured.mPoints[p].length, 0.01f) << names[i] << " " << p;
        }
        EXPECT_FLOAT_EQ(stored.mPoints.back().length, 0.0f);
    }
    const TTrajectory& loop = *list.Get(0);
    EXPECT_EQ(loop.mPoints.size(), 9u);
    EXPECT_EQ(loop.mPoints.front().x, loop.mPoints.back().x);
    EXPECT_EQ(loop.mPoints.front().y, loop.mPoints.back().y);
    MoveObj_t mover(200, &loop, TMoveOwnerRecord());
    const float dt = 0.01f;
    int steps = 0;
    while (!mover.Update(dt) && steps < 100000) ++steps;
    float elapsed = (steps + 1) * dt;
    EXPECT_GT(elapsed, loop.mTotalLength / 200);
    EXPECT_LE(elapsed, loop.mTotalLength / 200 + 2 * dt);
    EXPECT_NEAR(mover.GetX(), loop.mPoints[0].x, 0.01f);
    EXPECT_NEAR(mover.GetY(), loop.mPoints[0].y, 0.01f);

    ReleaseGame();
}

}  // namespace
