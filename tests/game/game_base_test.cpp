#include "game/game_base.h"

#include <gtest/gtest.h>

#include "game/board.h"
#include "core/app_state.h"

namespace {

struct TCountingGame : TGameBase {
    int mFirstActivations = 0;
    void OnFirstActivate() override { ++mFirstActivations; }
};

TEST(GameBase, StartsClearedAndCountsActivations)
{
    TCountingGame game;
    EXPECT_FALSE(game.mActive);
    EXPECT_EQ(game.mActivationCount, 0);
    EXPECT_EQ(game.mPaused, 0);
    EXPECT_FALSE(game.mFinished);
    EXPECT_EQ(game.mListener, nullptr);
    EXPECT_EQ(game.GetKind(), 0);
    for (int i = 0; i < 3; ++i) game.Activate();
    EXPECT_EQ(game.mActivationCount, 3);
    EXPECT_EQ(game.mFirstActivations, 1);
    game.FinishNow();
    EXPECT_TRUE(game.mFinished);
}

TEST(GameBase, BoardIsOneGameKeptByTheApplication)
{
    TBoardMahjong* board = GetBoard();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(GetBoard(), board);
    EXPECT_EQ(board->GetKind(), 1);
    EXPECT_EQ(GetAppState().mBoard.get(), board);
    GetAppState().mBoard.reset();
}

}  // namespace
