#include <gtest/gtest.h>

#include "game/cell_item.h"
#include "game/picture_grid.h"
#include "graphics/static_image.h"
#include "picture_fixture.h"

namespace {

struct TDraw {
    std::string image;
    float r, g, b, alpha;
    float srcY, srcH;
    bool hasSource;
};

// Records every draw instead of drawing.
class TRecordingImage : public StaticImage {
public:
    TRecordingImage(const std::string& name, std::vector<TDraw>* log) : mLabel(name), mLog(log) {}
    void Draw(float alpha) override
    {
        const DrawTransform& t = mTransform;
        mLog->push_back({mLabel, t.mRed, t.mGreen, t.mBlue, alpha, t.mSrcY, t.mSrcH,
                         (t.mFlags & kDrawSourceRect) != 0});
    }
    std::string mLabel;
    std::vector<TDraw>* mLog;
};

class CellItem : public TPictureTest {
protected:
    void SetUp() override
    {
        TPictureTest::SetUp();
        mNumbers.SetTexture("textures/tilesets/basenumbers20");
        mGrid.Reset(6, 1);
        mGrid.mNumbers = {0, 1, 2, 3, 4, 9};
        mColors = {{1, 0, 0, 1}, {0.9f, 0.9f, 0.2f, 1}, {0, 0, 1, 1}, {0, 1, 0, 1}, {0.2f, 0.2f, 0.2f, 1}};
        mRamp = mColors;
        for (int i = 0; i < 5; ++i) mRamp[i] = {0.2f + 0.1f * i, 0.2f + 0.1f * i, 0.2f + 0.1f * i, 1};
        mLightness = {0.5f, 0.55f, 0.5f, 0.5f, 0.2f};
        mShared = {&mNumbers, &mFrame, &mPainted, &mUnpainted, &mRamp, &mColors, &mLightness, &mGrid};
    }
    std::vector<TDraw> DrawCell(int column, float a)
    {
        mLog.clear();
        TPaintByNumberItem cell(&mShared, column, 0);
        cell.SetWidth(26);
        cell.SetHeight(26);
        cell.DrawCell(a);
        return mLog;
    }
    static std::vector<std::string> Names(const std::vector<TDraw>& draws)
    {
        std::vector<std::string> names;
        for (const TDraw& d : draws) names.push_back(d.image);
        return names;
    }

    std::vector<TDraw> mLog;
    TRecordingImage mNumbers{"number", &mLog};
    TRecordingImage mFrame{"frame", &mLog};
    TRecordingImage mPainted{"paint", &mLog};
    TRecordingImage mUnpainted{"grey", &mLog};
    TPictureGrid mGrid;
    std::vector<TRgbaF> mColors, mRamp;
    std::vector<float> mLightness;
    TPaintByNumberCellShared mShared;
};

}  // namespace

TEST_F(CellItem, RightCellDrawsOnlyItsColour)
{
    mGrid.mPainted[2] = 2;
    const std::vector<TDraw> draws = DrawCell(2, 0.3f);
    ASSERT_EQ(Names(draws), (std::vector<std::string>{"paint"}));
    EXPECT_FLOAT_EQ(draws[0].b, 1.0f);
    EXPECT_FLOAT_EQ(draws[0].alpha, 1.0f);
}

TEST_F(CellItem, UnpaintedCellShowsFrameGreyAndNumber)
{
    std::vector<TDraw> draws = DrawCell(1, 0.8f);
    ASSERT_EQ(Names(draws), (std::vector<std::string>{"frame", "grey", "number"}));
    EXPECT_FLOAT_EQ(draws[1].alpha, 1.0f - 0.8f);
    EXPECT_FLOAT_EQ(draws[1].r, static_cast<int>(0.3f * 255.0f) / 255.0f);  // quantised ramp grey
    EXPECT_FLOAT_EQ(draws[2].alpha, 0.8f);
    EXPECT_FLOAT_EQ(draws[2].r, 0.0f);  // lightness 0.55: a dark number

    // Highlighted at a = 0.8: the highlight grey at 0.8, since 1 - 0.8 <= 0.5.
    mGrid.mHighlight[1] = 1;
    draws = DrawCell(1, 0.8f);
    EXPECT_FLOAT_EQ(draws[1].alpha, 0.8f);
    EXPECT_FLOAT_EQ(draws[1].r, 127.0f / 255.0f);
    draws = DrawCell(1, 0.3f);
    EXPECT_FLOAT_EQ(draws[1].alpha, 0.7f);
}

TEST_F(CellItem, WrongCellVeilsItsPaint)
{
    mGrid.mPainted[0] = 2;
    const std::vector<TDraw> draws = DrawCell(0, 0.5f);
    ASSERT_EQ(Names(draws), (std::vector<std::string>{"frame", "number", "paint"}));
    EXPECT_FLOAT_EQ(draws[1].r, 1.0f);  // lightness 0.5 is not above: a light number
    EXPECT_FLOAT_EQ(draws[2].alpha, 0.6f);
    EXPECT_FLOAT_EQ(draws[2].b, 1.0f);
}

TEST_F(CellItem, GlyphRowFollowsTheNumber)
{
    const std::vector<TDraw> draws = DrawCell(4, 0.5f);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_TRUE(draws[2].hasSource);
    EXPECT_FLOAT_EQ(draws[2].srcY, 80.0f);
    EXPECT_FLOAT_EQ(draws[2].srcH, 20.0f);
}

TEST_F(CellItem, NumbersAndPaintPastTheListsDrawSafely)
{
    // Number 9 has no lightness and no ramp entry; paint 77 has no colour.
    mGrid.mPainted[5] = 77;
    std::vector<TDraw> draws = DrawCell(5, 0.5f);
    ASSERT_EQ(Names(draws), (std::vector<std::string>{"frame", "number", "paint"}));
    EXPECT_FLOAT_EQ(draws[1].r, 1.0f);  // the light number colour
    EXPECT_FLOAT_EQ(draws[2].r + draws[2].g + draws[2].b, 0.0f);
    EXPECT_FLOAT_EQ(draws[2].alpha, 0.6f);
    mGrid.mPainted[5] = 255;
    draws = DrawCell(5, 0.5f);
    EXPECT_FLOAT_EQ(draws[1].r + draws[1].g + draws[1].b, 0.0f);  // opaque black grey
    mLog.clear();
    TPaintByNumberItem cell(&mShared, 5, 0);
    mGrid.mPainted[5] = 77;
    cell.DrawFlat();
    ASSERT_EQ(Names(mLog), (std::vector<std::string>{"paint"}));
    EXPECT_FLOAT_EQ(mLog[0].alpha, 1.0f);
}

TEST_F(CellItem, FlatDrawSkipsInvisibleCells)
{
    TPaintByNumberItem cell(&mShared, 0, 0);
    cell.SetVisible(false);
    cell.DrawFlat();
    EXPECT_TRUE(mLog.empty());
    cell.SetVisible(true);
    cell.DrawFlat();
    ASSERT_EQ(Names(mLog), (std::vector<std::string>{"grey"}));
    cell.Reset();
    EXPECT_EQ(cell.GetPainted(), 0);
    EXPECT_EQ(cell.GetNumber(), 0);
}
