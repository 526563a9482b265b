// The sliding-tile board (dealing, slides, the solved check, the hidden tile, its record) and
// the maze (its board, straight ball moves, the exit).
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/buffer.h"
#include "core/random.h"
#include "log_watch.h"
#include "objects/board_puzzle_objects.h"
#include "objects/object_scene_fixture.h"
#include "objects/puzzle_fixture.h"

namespace {

constexpr int kLeft = 600;
constexpr int kTop = 300;
constexpr int kTile = 20;

int CellX(int k) { return kLeft + 10 + 24 * (k % 4) + kTile / 2; }
int CellY(int k) { return kTop + 10 + 24 * (k / 4) + kTile / 2; }

std::string TileName(int value) { return "pz/t" + std::to_string(value); }

// The board's elements: positions, then the image list as given.
std::string Board(const std::vector<int>& values, const std::string& extra = "")
{
    std::string xml = "<object id=\"board\" type=\"tag_object\" x=\"" + std::to_string(kLeft) + "\" y=\"" +
                      std::to_string(kTop) + "\" move_sound=\"slide\" vae=\"g0;g1\" " + extra + ">";
    for (int k = 0; k < 16; ++k)
        xml += "<pos x=\"" + std::to_string(CellX(k)) + "\" y=\"" + std::to_string(CellY(k)) + "\"/>";
    for (int v : values)
        xml += "<image val=\"" + std::to_string(v) + "\" filename=\"" + (v ? TileName(v) : std::string()) + "\"/>";
    return xml + "</object>";
}

std::vector<int> FullSet()
{
    std::vector<int> values;
    for (int v = 1; v <= 15; ++v) values.push_back(v);
    values.push_back(0);
    return values;
}

// The deal written out again: shuffle, 13 to cell 3, the gap last, until the count is even.
std::vector<int> ReferenceDeal(unsigned seed)
{
    SeedRandom(seed);
    std::vector<int> v = FullSet();
    auto inversions = [&v]() {
        int n = 0;
        for (size_t i = 0; i < v.size(); ++i)
            for (size_t j = i + 1; j < v.size(); ++j) n += v[j] > 0 && v[j] < v[i];
        return n;
    };
    do {
        for (size_t i = 1; i < v.size(); ++i) std::swap(v[i], v[static_cast<size_t>(GameRand()) % (i + 1)]);
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i] == 13) {
                std::swap(v[i], v[3]);
                break;
            }
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i] == 0) {
                std::swap(v[i], v[15]);
                break;
            }
    } while (inversions() % 2);
    return v;
}

std::vector<int> Tiles(const TTagObject& board)
{
    std::vector<int> tiles;
    for (const TTagCell& cell : board.mCells) tiles.push_back(cell.mTile);
    return tiles;
}

class TagBoardTest : public PuzzleTest {
protected:
    void SetUp() override
    {
        PuzzleTest::SetUp();
        for (int v = 1; v <= 15; ++v) {
            // Opaque with a clear rim of two pixels.
            SavePng(TileName(v) + ".png", MakeSurface(kTile, kTile, SDL_PIXELFORMAT_ABGR8888, [v](int x, int y) {
                        const bool rim = x < 2 || y < 2 || x >= kTile - 2 || y >= kTile - 2;
                        return SDL_Color{static_cast<Uint8>(10 * v), 200, 40, static_cast<Uint8>(rim ? 0 : 255)};
                    }));
        }
    }

    // A board restored from a record of the given arrangement, with its textures loaded.
    TTagObject* Restored(const std::vector<int>& arrangement, const std::string& extra = "")
    {
        TTagObject* board = Load<TTagObject>(Board(FullSet(), extra));
        if (!board) return nullptr;
        for (int k = 0; k < 16; ++k) {
            TTagCell& cell = board->mCells[k];
            cell.mTile = arrangement[k];
            cell.mImage.reset();
            if (!cell.mTile) continue;
            cell.mImage = std::make_unique<StaticImage>();
            cell.mImage->mTextureName = TileName(cell.mTile);
            cell.mImage->SetPosition(static_cast<float>(cell.mX), static_cast<float>(cell.mY), true);
        }
        TBaseBuffer buffer;
        board->SaveState(buffer);
        TTagObject* restored = Load<TTagObject>(Board(FullSet(), extra));
        restored->LoadState(buffer);
        restored->LoadResources();
        return restored;
    }
};

TEST_F(TagBoardTest, DealsASolvableBoardWithTheHiddenTileInTheCorner)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        const std::vector<int> expected = ReferenceDeal(seed);
        SeedRandom(seed);
        TTagObject* board = Load<TTagObject>(Board(FullSet()));
        ASSERT_NE(nullptr, board);
        EXPECT_EQ(Tiles(*board), expected);
        EXPECT_EQ(board->mCells[3].mTile, 13);
        ASSERT_TRUE(board->mCells[3].mImage);
        EXPECT_FALSE(board->mCells[3].mImage->IsVisible());
        EXPECT_EQ(board->mCells[15].mTile, 0);
        EXPECT_FALSE(board->mCells[15].mImage);
        EXPECT_EQ(board->mCells[15].mTarget, 0);
        std::vector<TTagTile> dealt;
        for (const TTagCell& cell : board->mCells) dealt.push_back({cell.mTile, ""});
        EXPECT_EQ(CountInversions(dealt) % 2, 0);
        for (int k = 0; k < 15; ++k) {
            const TTagCell& cell = board->mCells[k];
            EXPECT_EQ(cell.mTarget, k + 1);
            ASSERT_TRUE(cell.mImage);
            EXPECT_EQ(cell.mImage->mTextureName, TileName(cell.mTile));
            EXPECT_TRUE(cell.mImage->mCentred);
            EXPECT_EQ(cell.mImage->mX, static_cast<float>(CellX(k)));
            EXPECT_EQ(cell.mImage->mY, static_cast<float>(CellY(k)));
        }
        mSpace.mObjects.clear();
    }
}

TEST_F(TagBoardTest, MalformedTileSetsLoadEmptyAndSay)
{
    std::vector<int> fifteen = FullSet();
    fifteen.pop_back();
    std::vector<int> seventeen = FullSet();
    seventeen.push_back(0);
    std::vector<int> no13 = FullSet();
    no13[12] = 16;
    std::vector<int> no0 = FullSet();
    no0[15] = 16;
    // Its parity never changes with a shuffle: as written the deal would never end.
    std::vector<int> stuck(1, 13);
    stuck.insert(stuck.end(), 14, 1);
    stuck.push_back(0);
    const std::vector<std::vector<int>> sets = {fifteen, seventeen, no13, no0, stuck};
    for (size_t i = 0; i < sets.size(); ++i) {
        SCOPED_TRACE(i);
        TLogWatch log;
        const auto start = std::chrono::steady_clock::now();
        TTagObject* board = Load<TTagObject>(Board(sets[i]));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        ASSERT_NE(nullptr, board);
        for (const TTagCell& cell : board->mCells) {
            EXPECT_EQ(cell.mTile, 0);
            EXPECT_FALSE(cell.mImage);
        }
        EXPECT_TRUE(log.Has("Object board: tile set ignored"));
        mSpace.mObjects.clear();
    }
}

// Gap in cell 14: the tile 15 in cell 15 completes the picture by one slide to the left.
std::vector<int> OneFromSolved()
{
    std::vector<int> values = FullSet();
    values[14] = 0;
    values[15] = 15;
    return values;
}

TEST_F(TagBoardTest, ATileSlidesIntoTheGapAndCompletesThePicture)
{
    TTagObject* board = Restored(OneFromSolved());
    ASSERT_NE(nullptr, board);
    TRecordedSoundCalls calls;
    // The board has no picture of its own: the tile slides and the press goes on below.
    EXPECT_FALSE(board->OnMouseDown(PressAt(CellX(15), CellY(15))));
    EXPECT_EQ(calls.mCalls, (std::vector<std::string>{"play slide"}));
    EXPECT_EQ(board->mCells[14].mTile, 15);
    EXPECT_EQ(board->mCells[15].mTile, 0);
    EXPECT_FALSE(board->mCells[15].mImage);

    // Mid-slide the same press finds the moving tile: it sounds and nothing moves.
    board->Update(0.04f);
    board->OnMouseDown(PressAt(CellX(14) + 12, CellY(14)));
    EXPECT_EQ(calls.mCalls.size(), 2u);
    EXPECT_EQ(Tiles(*board), FullSet());
    EXPECT_TRUE(mGroups.mGroups.empty());

    board->Update(0.0401f);
    ASSERT_TRUE(board->mCells[14].mImage);
    EXPECT_EQ(board->mCells[14].mImage->mX, static_cast<float>(CellX(14)));
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound onwin"}));
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));

    // Away and back: solved again, the reactions again.
    board->OnMouseDown(PressAt(CellX(14), CellY(14)));
    board->Update(0.1f);
    board->OnMouseDown(PressAt(CellX(15), CellY(15)));
    board->Update(0.1f);
    EXPECT_EQ(mGroups.Count("g0"), 2);
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound onwin", "sound onwin"}));
}

TEST_F(TagBoardTest, TheLastTwoTilesSlidingTogetherCompleteThePictureOnce)
{
    std::vector<int> twoFromSolved = FullSet();
    twoFromSolved[13] = 0;
    twoFromSolved[14] = 14;
    twoFromSolved[15] = 15;
    TTagObject* board = Restored(twoFromSolved);
    ASSERT_NE(nullptr, board);
    board->OnMouseDown(PressAt(CellX(14), CellY(14)));
    board->Update(0.02f);
    board->OnMouseDown(PressAt(CellX(15), CellY(15)));
    EXPECT_EQ(Tiles(*board), FullSet());
    board->Update(0.07f);  // the first tile arrives while the second still slides
    EXPECT_TRUE(mGroups.mGroups.empty());
    board->Update(0.1f);
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound onwin"}));
}

TEST_F(TagBoardTest, ATileSavedWhileSlidingIsRestoredOnItsCell)
{
    TTagObject* board = Restored(OneFromSolved());
    ASSERT_NE(nullptr, board);
    board->OnMouseDown(PressAt(CellX(15), CellY(15)));
    board->Update(0.04f);
    ASSERT_NE(board->mCells[14].mImage->mX, static_cast<float>(CellX(14)));
    TBaseBuffer buffer;
    board->SaveState(buffer);

    TTagObject* fresh = Load<TTagObject>(Board(FullSet()));
    fresh->LoadState(buffer);
    ASSERT_TRUE(fresh->mCells[14].mImage);
    EXPECT_FALSE(fresh->mCells[14].mMover.mActive);
    EXPECT_EQ(fresh->mCells[14].mImage->mX, static_cast<float>(CellX(14)));
    EXPECT_EQ(fresh->mCells[14].mImage->mY, static_cast<float>(CellY(14)));
    EXPECT_EQ(fresh->mCells[0].mImage->mX, static_cast<float>(CellX(0)));
}

TEST_F(TagBoardTest, BlockedTilesSoundWrongAndOtherPressesChangeNothing)
{
    TTagObject* board = Restored(OneFromSolved());
    ASSERT_NE(nullptr, board);
    TRecordedSoundCalls calls;
    board->OnMouseDown(PressAt(CellX(0), CellY(0)));
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound wrong"}));
    EXPECT_TRUE(calls.mCalls.empty());
    // Not the left button.
    TSceneMouseEvent right = PressAt(CellX(15), CellY(15));
    right.mButton = 2;
    board->OnMouseDown(right);
    // The old reading of the point from the screen's corner: the same offset from (0, 0).
    board->OnMouseDown(PressAt(CellX(15) - kLeft, CellY(15) - kTop));
    board->OnMouseDown(PressAt(12, 12));
    // The tile's clear rim is not the tile.
    board->OnMouseDown(PressAt(CellX(15) - kTile / 2, CellY(15)));
    EXPECT_EQ(Tiles(*board), OneFromSolved());
    EXPECT_TRUE(calls.mCalls.empty());
    board->Lock();
    EXPECT_FALSE(board->OnMouseDown(PressAt(CellX(15), CellY(15))));
    EXPECT_EQ(Tiles(*board), OneFromSolved());
}

TEST_F(TagBoardTest, ActivationHidesCellTwelveAndUnlockRevealsTheHiddenTile)
{
    TTagObject* board = Restored(FullSet(), "locked=\"1\"");
    ASSERT_NE(nullptr, board);
    board->mCells[3].mImage->SetVisible(false);
    board->Activate(0, 0, 0);
    EXPECT_FALSE(board->mCells[12].mImage->IsVisible());
    EXPECT_FALSE(board->mActive);
    EXPECT_EQ(board->mStage, 1);
    board->Unlock();
    EXPECT_FALSE(board->IsLocked());
    EXPECT_TRUE(board->mRevealed);
    EXPECT_TRUE(board->mCells[3].mImage->IsVisible());
    EXPECT_EQ(board->mStage, 2);

    TBaseBuffer buffer;
    board->SaveState(buffer);
    TTagObject* fresh = Load<TTagObject>(Board(FullSet()));
    fresh->LoadState(buffer);
    EXPECT_TRUE(buffer.ReadAtEnd());
    EXPECT_EQ(fresh->mStage, 2);
    EXPECT_TRUE(fresh->mRevealed);
    fresh->mCells[3].mImage->SetVisible(false);
    fresh->OnSpaceShown();
    EXPECT_TRUE(fresh->mCells[3].mImage->IsVisible());
}

TEST_F(TagBoardTest, RecordHoldsOneBlockPerCell)
{
    TTagObject* board = Restored(OneFromSolved());
    ASSERT_NE(nullptr, board);
    TBaseBuffer mine;
    board->SaveState(mine);
    TBaseBuffer reference;
    board->TObject::SaveState(reference);
    reference.WriteInt32(0);
    reference.WriteByte(0);
    for (int k = 0; k < 16; ++k) {
        TBaseBuffer block;
        const int tile = OneFromSolved()[k];
        block.WriteInt32(tile);
        if (tile) {
            block.WriteString(TileName(tile));
            block.WriteInt32(CellX(k));
            block.WriteInt32(CellY(k));
        }
        reference.WriteBuffer(block);
    }
    EXPECT_EQ(mine.Bytes(), reference.Bytes());
    // A cell restored empty loses the image it had.
    TTagObject* dealt = Load<TTagObject>(Board(FullSet()));
    ASSERT_TRUE(dealt->mCells[14].mImage);
    dealt->LoadState(mine);
    EXPECT_FALSE(dealt->mCells[14].mImage);
    EXPECT_EQ(Tiles(*dealt), OneFromSolved());
}

TEST_F(TagBoardTest, HiddenBoardDrawsNoTilesAndTakesNoPress)
{
    TTagObject* board = Restored(OneFromSolved());
    ASSERT_NE(nullptr, board);
    board->Draw(1.0f);
    EXPECT_GT(DrawnBox(0, 0, 0).w, 0);
    Clear(0, 0, 0);
    board->SetVisible(false);
    board->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), SDL_Rect({0, 0, 0, 0}));
    TRecordedSoundCalls calls;
    EXPECT_FALSE(board->OnMouseDown(PressAt(CellX(15), CellY(15))));
    EXPECT_EQ(Tiles(*board), OneFromSolved());
    EXPECT_TRUE(calls.mCalls.empty());
}

std::string Maze(const std::string& map, const std::string& desc, const std::string& size = "rows=\"1\" cols=\"4\"",
                 bool ball = true)
{
    return "<object id=\"maze\" type=\"labyrinth_object\" x=\"100\" y=\"100\" " + size +
           " ballobj=\"ball\" vae=\"g0;g1\"><rect width=\"10\" height=\"10\"/><map_desc " + desc + ">" + map +
           "</map_desc>" + (ball ? "<object id=\"ball\" drawtype=\"1\" x=\"0\" y=\"0\"/>" : "") + "</object>";
}

class MazeTest : public PuzzleTest {};

TEST_F(MazeTest, BallRollsStraightUpToAWall)
{
    TLabyrinthObject* maze =
        Load<TLabyrinthObject>(Maze("<map row=\"0 0 1 0\"/>", "start_i=\"0\" start_j=\"0\" end_i=\"0\" end_j=\"3\""));
    ASSERT_NE(nullptr, maze);
    maze->LoadResources();
    maze->OnSpaceShown();
    ASSERT_NE(nullptr, maze->mBall);
    EXPECT_EQ(maze->mBall->mX, 105.0f);
    EXPECT_EQ(maze->mBall->mY, 105.0f);
    TRecordedSoundCalls calls;
    // Behind the wall, and the ball's own cell.
    maze->OnMouseDown(PressAt(135, 105));
    maze->OnMouseDown(PressAt(105, 105));
    EXPECT_EQ(calls.mCalls, (std::vector<std::string>{"play need_tool", "play need_tool"}));
    EXPECT_TRUE(mTrace.empty());
    EXPECT_FALSE(maze->mMover.mActive);

    maze->OnMouseDown(PressAt(115, 105));
    EXPECT_EQ(mTrace, (std::vector<std::string>{"sound move"}));
    EXPECT_TRUE(maze->mBall->IsActive());
    EXPECT_EQ(maze->mCol, 1);
    maze->Update(0.05f);
    EXPECT_TRUE(maze->mBall->IsActive());
    maze->Update(0.0501f);
    EXPECT_FALSE(maze->mBall->IsActive());
    EXPECT_EQ(maze->mBall->mX, 115.0f);
    EXPECT_FALSE(maze->IsGoalReached());
}

TEST_F(MazeTest, TheExitCompletesOnArrival)
{
    TLabyrinthObject* maze =
        Load<TLabyrinthObject>(Maze("<map row=\"0 0 0 0\"/>", "start_i=\"0\" start_j=\"0\" end_i=\"0\" end_j=\"3\""));
    ASSERT_NE(nullptr, maze);
    maze->LoadResources();
    maze->OnSpaceShown();
    maze->OnMouseDown(PressAt(135, 105));
    EXPECT_FALSE(maze->IsGoalReached());
    EXPECT_TRUE(mGroups.mGroups.empty());
    maze->Update(0.2f);
    EXPECT_FALSE(maze->IsGoalReached());
    maze->Update(0.1001f);
    EXPECT_TRUE(maze->IsGoalReached());
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));
    EXPECT_EQ(maze->mBall->mX, 135.0f);
}

TEST_F(MazeTest, MalformedMazesLoadRepaired)
{
    struct TCase {
        const char* name;
        std::string xml;
        const char* repair;
    };
    const std::vector<TCase> cases = {
        {"negative rows", Maze("<map row=\"0\"/>", "", "rows=\"-1\" cols=\"4\""), "size"},
        {"huge cols", Maze("<map row=\"0\"/>", "", "rows=\"1\" cols=\"100000\""), "size"},
        {"start outside", Maze("", "start_i=\"9\" start_j=\"9\"", "rows=\"4\" cols=\"4\""), "start"},
        {"extra values", Maze("<map row=\"0 0 0 0 1 1\"/><map row=\"1\"/>", "", "rows=\"1\" cols=\"4\""), "extra map"},
        {"no ball", Maze("<map row=\"0 0 0 0\"/>", "", "rows=\"1\" cols=\"4\"", false), "no ball"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TLogWatch log;
        TLabyrinthObject* maze = Load<TLabyrinthObject>(c.xml);
        ASSERT_NE(nullptr, maze);
        EXPECT_TRUE(log.Has(std::string("Object maze: maze repaired (") + c.repair + ")"));
        maze->LoadResources();
        maze->OnSpaceShown();
        for (int x = 95; x < 150; x += 5) {
            maze->OnMouseDown(PressAt(x, 105));
            maze->OnMouseDown(PressAt(x, 135));
            maze->Update(0.5f);
        }
        mSpace.FreeObjectResources();
        mSpace.mObjects.clear();
    }
    TLabyrinthObject* clamped = Load<TLabyrinthObject>(Maze("", "start_i=\"9\" start_j=\"9\"", "rows=\"4\" cols=\"4\""));
    EXPECT_EQ(clamped->mRow, 3);
    EXPECT_EQ(clamped->mCol, 3);
}

TEST_F(MazeTest, HiddenMazeTakesNoPress)
{
    TLabyrinthObject* maze =
        Load<TLabyrinthObject>(Maze("<map row=\"0 0 0 0\"/>", "start_i=\"0\" start_j=\"0\"", "rows=\"1\" cols=\"4\""));
    ASSERT_NE(nullptr, maze);
    maze->LoadResources();
    maze->SetVisible(false);
    EXPECT_FALSE(maze->OnMouseDown(PressAt(125, 105)));
    EXPECT_EQ(maze->mCol, 0);
    EXPECT_TRUE(mTrace.empty());
}

// Outside any space the board's sounds go nowhere; the maze falls back on its own "sound".
TEST_F(MazeTest, OutsideASpaceTheMazeSoundsItsOwnSound)
{
    std::string xml = Maze("<map row=\"0 0 0 0\"/>", "start_i=\"0\" start_j=\"0\"", "rows=\"1\" cols=\"4\"", false);
    xml.replace(xml.find("ballobj"), 0, "sound=\"roll\" ");
    auto maze = LoadObjectFrom<TLabyrinthObject>(xml);
    NestChild(*maze, "<object id=\"ball\" drawtype=\"1\"/>");
    maze->LoadResources();
    auto board = LoadObjectFrom<TTagObject>(Board(FullSet()));
    TRecordedSoundCalls calls;
    maze->OnMouseDown(PressAt(115, 105));
    EXPECT_EQ(maze->mCol, 1);
    EXPECT_EQ(calls.mCalls, (std::vector<std::string>{"play roll"}));
    board->OnMouseDown(PressAt(CellX(0), CellY(0)));
    EXPECT_EQ(calls.mCalls.size(), 1u);
    maze->FreeResources();
}

}  // namespace
