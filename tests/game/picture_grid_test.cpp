#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/random.h"
#include "game/picture_grid.h"

namespace {

// The cell-by-cell fill as first written: recursive, up, down, left, right; the start cell is
// painted only through a neighbour of its own number.
struct TReferenceFill {
    int w, h;
    std::vector<uint8_t> numbers, painted, visited;
    int selected;
    int errors = 0;

    int Flood(int c, int r, int key)
    {
        int count = 0;
        const int dc[4] = {0, 0, -1, 1};
        const int dr[4] = {-1, 1, 0, 0};
        for (int k = 0; k < 4; ++k) {
            const int nc = c + dc[k], nr = r + dr[k];
            if (nc < 0 || nc >= w || nr < 0 || nr >= h) continue;
            const int i = nr * w + nc;
            if (visited[i] || numbers[i] != key) continue;
            visited[i] = 1;
            if (numbers[i] != selected) ++errors;
            painted[i] = static_cast<uint8_t>(selected);
            count += 1 + Flood(nc, nr, key);
        }
        return count;
    }
};

void ExpectSameAsReference(const TPictureGrid& start, int c, int r, uint8_t color)
{
    TReferenceFill ref{start.Width(), start.Height(), start.mNumbers, start.mPainted,
                       std::vector<uint8_t>(start.Size(), 0), color};
    const int refCount = ref.Flood(c, r, start.mNumbers[start.IndexOf(c, r)]);

    TPictureGrid grid = start;
    const int count = grid.FillArea(c, r, color);
    const int key = grid.mNumbers[grid.IndexOf(c, r)];
    ASSERT_EQ(count, refCount) << "at " << c << "," << r;
    ASSERT_EQ(grid.mPainted, ref.painted) << "at " << c << "," << r;
    // The model adds the count to its errors when the area's number is not the colour.
    ASSERT_EQ(key != color ? count : 0, ref.errors);
}

}  // namespace

TEST(PictureGrid, ScanlineFillMatchesTheRecursiveFillOnRandomGrids)
{
    SeedRandom(7);
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + GameRand() % 12, h = 1 + GameRand() % 12;
        const int colours = 1 + GameRand() % 3;
        TPictureGrid grid;
        grid.Reset(w, h);
        for (size_t i = 0; i < grid.Size(); ++i) {
            grid.mNumbers[i] = static_cast<uint8_t>(GameRand() % colours);
            grid.mPainted[i] = GameRand() % 4 == 0 ? static_cast<uint8_t>(GameRand() % colours)
                                                    : TPictureGrid::kUnpainted;
        }
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) ExpectSameAsReference(grid, c, r, GameRand() % colours);
    }
}

TEST(PictureGrid, ScanlineFillFollowsAOnePixelSerpentine)
{
    // Rows of 1 joined alternately at the right and the left end, in a field of 0.
    const int w = 15, h = 15;
    TPictureGrid grid;
    grid.Reset(w, h);
    for (int r = 0; r < h; r += 2) {
        for (int c = 0; c < w; ++c) grid.mNumbers[grid.IndexOf(c, r)] = 1;
        if (r + 1 < h) grid.mNumbers[grid.IndexOf((r / 2) % 2 == 0 ? w - 1 : 0, r + 1)] = 1;
    }
    ExpectSameAsReference(grid, 0, 0, 1);
    ExpectSameAsReference(grid, 0, 0, 2);
    ExpectSameAsReference(grid, 3, 1, 0);
    EXPECT_EQ(grid.FillArea(0, 0, 2), 8 * 15 + 7);
}

TEST(PictureGrid, IsolatedCellAndOutsidePointPaintNothing)
{
    TPictureGrid grid;
    grid.Reset(3, 3);
    grid.mNumbers[4] = 2;
    EXPECT_EQ(grid.FillArea(1, 1, 5), 0);
    EXPECT_EQ(grid.mPainted[4], TPictureGrid::kUnpainted);
    EXPECT_EQ(grid.FillArea(3, 0, 5), 0);
    EXPECT_EQ(grid.FillArea(-1, 0, 5), 0);
    TPictureGrid single;
    single.Reset(1, 1);
    EXPECT_EQ(single.FillArea(0, 0, 0), 0);
}

TEST(PictureGrid, CompletionIgnoresInvisibleCellsAndNumbersPastTheCount)
{
    TPictureGrid grid;
    grid.Reset(4, 1);
    grid.mNumbers = {0, 1, 1, 3};
    grid.mPainted = {0, 1, 255, 255};
    std::vector<bool> bits;
    grid.ComputeCompletion(3, &bits);
    EXPECT_EQ(bits, (std::vector<bool>{true, false, true}));
    grid.mVisible[2] = 0;
    grid.ComputeCompletion(3, &bits);
    EXPECT_EQ(bits, (std::vector<bool>{true, true, true}));
    grid.mPainted[0] = 1;  // wrong paint
    grid.ComputeCompletion(3, &bits);
    EXPECT_EQ(bits, (std::vector<bool>{false, true, true}));
    grid.ComputeCompletion(0, &bits);
    EXPECT_TRUE(bits.empty());
}

// The play view redraws only the cells a fill marked, and everything once the marks pass an
// eighth of the picture (and 4096): at 200 x 200 a list holds at most 5000 marks.
TEST(PictureGrid, FillMarksItsCellsAndPastTheLimitTheWholePicture)
{
    struct TCase {
        int earlierMarks;
        int areaRows;  // rows of number 1 from the top, 200 cells each
        bool all;
    };
    const TCase cases[] = {{0, 2, false}, {3, 2, false}, {0, 25, false}, {1, 25, true}, {0, 26, true}};
    for (const TCase& c : cases) {
        TPictureGrid grid;
        grid.Reset(200, 200);
        for (int i = 0; i < 200 * c.areaRows; ++i) grid.mNumbers[i] = 1;
        std::vector<int32_t> marks;
        ASSERT_TRUE(grid.TakeChanges(&marks));  // a new picture counts as changed
        for (int i = 0; i < c.earlierMarks; ++i) grid.MarkChanged(39999 - i);
        const int painted = grid.FillArea(5, 0, 4);
        ASSERT_EQ(painted, 200 * c.areaRows);
        EXPECT_EQ(grid.TakeChanges(&marks), c.all) << c.earlierMarks << " " << c.areaRows;
        if (c.all) {
            EXPECT_TRUE(marks.empty());
            continue;
        }
        std::vector<int32_t> expected;
        for (int i = 0; i < c.earlierMarks; ++i) expected.push_back(39999 - i);
        for (int i = 0; i < painted; ++i) expected.push_back(i);
        std::sort(marks.begin(), marks.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(marks, expected) << c.earlierMarks << " " << c.areaRows;
        EXPECT_FALSE(grid.TakeChanges(&marks));
        EXPECT_TRUE(marks.empty());
    }
}
