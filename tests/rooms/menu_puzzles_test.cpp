// The main menu's puzzle corner as the menu loads and shows it: the lock at rest on its
// start bands, a dealt tile board, the maze ball on its start cell and two item places, the
// left one set; the maze played through to its exit by scene presses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio_cases.h"
#include "log_watch.h"
#include "objects/board_puzzle_objects.h"
#include "objects/place_objects.h"
#include "objects/slide_rotator_objects.h"
#include "rooms/menu_scene_fixture.h"
#include "rooms/room.h"
#include "rooms/scene_mouse_event.h"

namespace {

class MenuPuzzlesTest : public MenuSceneTest {};

TEST_F(MenuPuzzlesTest, ShownAtRestAndTheMazePlaysToItsExit)
{
    TLogWatch log;
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));

    auto* lock = FindKind<TCaseLockObject>(room, "pz_lock");
    auto* tiles = FindKind<TTagObject>(room, "pz_tiles");
    auto* maze = FindKind<TLabyrinthObject>(room, "pz_maze");
    auto* shelf = FindKind<TPlacesItemsHandleObject>(room, "pz_shelf");
    ASSERT_TRUE(lock && tiles && maze && shelf);

    EXPECT_EQ(lock->mCombination, (std::vector<int32_t>{3, 1, 4}));
    const int bands[3] = {96, 240, 384};
    for (int k = 0; k < 3; ++k) {
        auto* wheel = FindKind<TSlideImageRotator>(room, ("pz_wheel" + std::to_string(k + 1)).c_str());
        ASSERT_NE(nullptr, wheel);
        EXPECT_EQ(wheel->mRotatorListener, lock);
        EXPECT_EQ(wheel->mStrip.mTransform.mSrcY, static_cast<float>(bands[k]));
        EXPECT_EQ(wheel->mStrip.mTransform.mSrcH, 48.0f);
        ASSERT_NE(nullptr, wheel->mStrip.GetTexture());
    }

    std::vector<TTagTile> dealt;
    for (const TTagCell& cell : tiles->mCells) {
        dealt.push_back({cell.mTile, ""});
        if (cell.mTile) {
            ASSERT_TRUE(cell.mImage);
            EXPECT_NE(nullptr, cell.mImage->GetTexture());
        }
    }
    EXPECT_EQ(tiles->mCells[3].mTile, 13);
    EXPECT_EQ(tiles->mCells[15].mTile, 0);
    EXPECT_EQ(CountInversions(dealt) % 2, 0);

    ASSERT_NE(nullptr, maze->mBall);
    EXPECT_EQ(maze->mBall->mX, 976.0f);
    EXPECT_EQ(maze->mBall->mY, 420.0f);

    auto* left = FindKind<TPlacesItemsObject>(room, "pz_place1");
    auto* right = FindKind<TPlacesItemsObject>(room, "pz_place2");
    ASSERT_TRUE(left && right);
    EXPECT_TRUE(left->mSet);
    EXPECT_TRUE(left->IsLocked());
    EXPECT_TRUE(left->mItemImage->IsVisible());
    EXPECT_NE(nullptr, left->mItemImage->GetTexture());
    EXPECT_FALSE(right->mSet);
    EXPECT_FALSE(right->mItemImage->IsVisible());

    // The maze's cells are 20 pixels from (966, 310); each press rolls the ball to the cell.
    const int path[][2] = {{5, 1}, {3, 1}, {3, 0}, {0, 0}, {0, 2}, {2, 2}, {2, 4}, {0, 4}, {0, 5}};
    for (const auto& cell : path) {
        EXPECT_FALSE(maze->IsGoalReached());
        TSceneMouseEvent press;
        press.mX = 966 + 20 * cell[1] + 10;
        press.mY = 310 + 20 * cell[0] + 10;
        press.mButton = 1;
        room.OnMouseDown(press);
        EXPECT_EQ(maze->mRow, cell[0]);
        EXPECT_EQ(maze->mCol, cell[1]);
        for (int i = 0; i < 40; ++i) room.Update(1.0f / 60);
    }
    EXPECT_TRUE(maze->IsGoalReached());
    EXPECT_EQ(maze->mBall->mX, 1076.0f);
    EXPECT_EQ(maze->mBall->mY, 320.0f);

    room.Draw();
    // The lock plate's brass between its windows, and the ring round the left gem.
    ExpectPixel(935, 510, 178, 140, 58, 8);
    EXPECT_EQ(log.CountStartingWith("Object pz_"), 0u);
    room.FreeObjectResources();
}

}  // namespace
