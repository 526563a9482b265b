#include <gtest/gtest.h>

#include "game/color_table.h"
#include "picture_fixture.h"

namespace {

struct TTableRecorder : TColorTableListener {
    std::vector<std::string> mEvents;
    void OnColorSelected(int n) override { mEvents.push_back("selected " + std::to_string(n)); }
    void OnColorCompleted(int n) override { mEvents.push_back("completed " + std::to_string(n)); }
};

TMouseEvent Release(int x, int y) { return PointerAt(x, y, 1); }

class ColorTable : public TPictureTest {
protected:
    // A panel at (100, 50), 232 wide and `rows` swatches (56 + 2) high.
    void Build(int count, int rows)
    {
        mTable.SetPosition(100.0f, 50.0f, false);
        mTable.SetWidth(232);
        mTable.SetHeight(rows * 58);
        std::vector<TRgbaF> colors;
        for (int i = 0; i < count; ++i) colors.push_back({i / 40.0f, 0.5f, 1.0f - i / 40.0f, 1.0f});
        mTable.SetColors(colors, count);
        mTable.mListener = &mRecorder;
    }
    // The centre of swatch i as laid out (page 0 scroll).
    TMouseEvent On(int i) const { return Release(100 + (i % 4) * 58 + 28, 50 + (i / 4) * 58 + 28); }

    TColorsTableGrid mTable;
    TTableRecorder mRecorder;
};

}  // namespace

TEST_F(ColorTable, PagesHoldWholeRows)
{
    Build(9, 3);
    EXPECT_EQ(mTable.mRowsPerPage, 3);
    EXPECT_EQ(mTable.mPageCount, 1);
    Build(9, 2);
    EXPECT_EQ(mTable.mPageCount, 2);
    EXPECT_EQ(mTable.mItemWidth, 56);
    EXPECT_FLOAT_EQ(mTable.mItems[5].GetX(), 100.0f + 58.0f);
    EXPECT_FLOAT_EQ(mTable.mItems[5].GetY(), 50.0f + 58.0f);
    // A panel lower than one swatch still shows one row a page.
    Build(9, 0);
    EXPECT_EQ(mTable.mRowsPerPage, 1);
    EXPECT_EQ(mTable.mPageCount, 3);
    Build(0, 3);
    EXPECT_TRUE(mTable.mItems.empty());
    EXPECT_FALSE(mTable.MouseUp(On(0)));
}

TEST_F(ColorTable, CompletingTheSelectedColourMovesTheSelectionOn)
{
    struct TCase {
        int count, selected;
        std::vector<bool> bits;
        std::vector<std::string> events;
        int nowSelected;
    };
    const TCase cases[] = {
        {6, 3, {false, false, false, true, true, false}, {"completed 3", "selected 5"}, 5},
        {6, 5, {false, false, true, true, true, true}, {"completed 5", "selected 0"}, 0},
        {3, 2, {true, true, true}, {"completed 2"}, 2},
        {3, 1, {false, false, true}, {}, 1},
    };
    for (const TCase& c : cases) {
        Build(c.count, 3);
        mTable.mItems[c.selected].Select();
        mRecorder.mEvents.clear();
        mTable.SetCompleted(c.bits);
        EXPECT_EQ(mRecorder.mEvents, c.events);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(mTable.mItems[i].mSelected, i == c.nowSelected) << i;
            EXPECT_EQ(mTable.mItems[i].mCompleted, c.bits[i]) << i;
        }
    }
}

TEST_F(ColorTable, ClickSelectsAFreeSwatchOnly)
{
    Build(6, 3);
    mTable.mItems[0].Select();
    mTable.mItems[2].mCompleted = true;
    EXPECT_TRUE(mTable.MouseUp(On(4)));
    EXPECT_EQ(mRecorder.mEvents, (std::vector<std::string>{"selected 4"}));
    EXPECT_FALSE(mTable.mItems[0].mSelected);
    EXPECT_TRUE(mTable.mItems[4].mSelected);
    EXPECT_FALSE(mTable.MouseUp(On(4)));  // already selected
    EXPECT_FALSE(mTable.MouseUp(On(2)));  // completed
    EXPECT_FALSE(mTable.MouseUp(Release(90, 60)));
    EXPECT_EQ(mRecorder.mEvents.size(), 1u);
}

TEST_F(ColorTable, ClickBelowThePanelChoosesNothing)
{
    Build(12, 2);  // swatches 8 .. 11 lie on page 2, below the panel
    mTable.mItems[0].Select();
    EXPECT_FALSE(mTable.MouseUp(On(9)));
    EXPECT_TRUE(mTable.mItems[0].mSelected);
    EXPECT_FALSE(mTable.mItems[9].mSelected);
    EXPECT_TRUE(mRecorder.mEvents.empty());
}

TEST_F(ColorTable, ScrollPageClampsAndFinishesAtOnceAtItsTarget)
{
    Build(20, 2);  // 3 pages of 116 pixels
    mTable.ScrollPage(-1);
    EXPECT_EQ(mTable.mCurrentPage, 0);
    EXPECT_TRUE(mTable.mScroll.mFinished);
    mTable.ScrollPage(5);
    EXPECT_EQ(mTable.mCurrentPage, 2);
    EXPECT_TRUE(mTable.mScroll.mRunning);
    mTable.Update(0.1f);
    mTable.Update(0.2f);
    EXPECT_FLOAT_EQ(mTable.mOffsetY, -232.0f);
    EXPECT_FLOAT_EQ(mTable.mItems[0].mOffsetY, -232.0f);
    mTable.ScrollPage(1);
    EXPECT_EQ(mTable.mCurrentPage, 2);
    EXPECT_TRUE(mTable.mScroll.mFinished);
    // On page 2 a click on the first swatch of the page selects it.
    const TMouseEvent e = Release(100 + 28, 50 + 28);
    EXPECT_TRUE(mTable.MouseUp(e));
    EXPECT_TRUE(mTable.mItems[16].mSelected);
}

TEST_F(ColorTable, DragReleaseTurnsPagesAndAnswersFalse)
{
    Build(20, 2);
    mTable.mDragging = true;
    mTable.mPressY = 100;
    EXPECT_FALSE(mTable.MouseUp(Release(150, 100 + 120)));  // about one panel down
    EXPECT_EQ(mTable.mCurrentPage, 1);
    EXPECT_FLOAT_EQ(mTable.mItems[0].mOffsetY, -120.0f);
    EXPECT_TRUE(mTable.mDragging);
    mTable.Update(1.0f);
    EXPECT_FLOAT_EQ(mTable.mOffsetY, -116.0f);
    mTable.mPressY = 300;
    EXPECT_FALSE(mTable.MouseUp(Release(150, 0)));  // far up: clamped to page 0
    EXPECT_EQ(mTable.mCurrentPage, 0);
    EXPECT_TRUE(mRecorder.mEvents.empty());
}

// A release exactly a page from the press lands on the page at once; the next page turn
// starts from there, and the swatches follow the page the table reports.
TEST_F(ColorTable, DragOfExactlyOnePageKeepsOffsetAndPageTogether)
{
    Build(20, 2);
    mTable.mDragging = true;
    mTable.mPressY = 100;
    EXPECT_FALSE(mTable.MouseUp(Release(150, 216)));
    EXPECT_EQ(mTable.mCurrentPage, 1);
    EXPECT_FLOAT_EQ(mTable.mOffsetY, -116.0f);
    mTable.mDragging = false;
    mTable.ScrollPage(-1);
    EXPECT_EQ(mTable.mCurrentPage, 0);
    mTable.Update(1.0f);
    EXPECT_FLOAT_EQ(mTable.mOffsetY, 0.0f);
    EXPECT_FLOAT_EQ(mTable.mItems[0].mOffsetY, 0.0f);
    EXPECT_TRUE(mTable.MouseUp(On(1)));
    EXPECT_TRUE(mTable.mItems[1].mSelected);
}

TEST_F(ColorTable, SelectPulsesAndDeselectReturns)
{
    Build(2, 1);
    TColorsTableItem& item = mTable.mItems[1];
    item.Select();
    mTable.Update(0.5f);
    EXPECT_FLOAT_EQ(item.mPulse.mCurrent, 1.1f);
    item.Deselect();
    mTable.Update(0.5f);
    EXPECT_FLOAT_EQ(item.mPulse.mCurrent, 1.0f);
    item.Deselect();  // from exactly 1.0 nothing runs
    EXPECT_FALSE(item.mPulse.mRunning);
    EXPECT_FLOAT_EQ(item.mNumberColor.r, 1.0f);  // a dark fill gets a white number
    item.SetColor({1.0f, 1.0f, 0.5f, 1.0f});
    EXPECT_FLOAT_EQ(item.mNumberColor.r, 0.0f);
}

TEST_F(ColorTable, MissingSwatchTextureNeitherDividesNorTakesClicks)
{
    TColorsTableItem probe;
    ASSERT_EQ(probe.GetHeight(), 56);
    mTable.SetPosition(100.0f, 50.0f, false);
    mTable.SetWidth(232);
    mTable.SetHeight(290);
    std::vector<TRgbaF> colors(9, TRgbaF{0.5f, 0.5f, 0.5f, 1.0f});
    mTable.mSwatchTexture = "textures/tilesets/nothing";
    mTable.SetColors(colors, 9);
    EXPECT_EQ(mTable.mPageCount, 3);  // ceil(9 / 4)
    EXPECT_NE(LogText().find("colour table: textures/tilesets/nothing is missing"), std::string::npos);
    EXPECT_FALSE(mTable.MouseUp(Release(110, 60)));
    mTable.Draw(1.0f);
}
