#include <gtest/gtest.h>

#include "game/cell_item.h"

#include "core/random.h"
#include "game/picture.h"
#include "game/picture_grid.h"
#include "graphics/objects_manager.h"
#include "graphics/static_image.h"
#include "picture_fixture.h"
#include "ui/text_fixture.h"

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

namespace {

struct TNavigatorSpy : TPaintByNumberOffsetTableListener {
    std::vector<std::pair<float, float>> mHeard;
    TPaintByNumber* mModel = nullptr;
    void OnOffsetMoved(TPaintByNumberOffsetTable*, float u, float v) override
    {
        mHeard.push_back({u, v});
        if (mModel) mModel->SetPanFromNavigator(u, v);
    }
};

// The shipped navigator images over a 40 x 2 picture at cell size 26.
class Navigator : public TPictureTest {
protected:
    void SetUp() override
    {
        TPictureTest::SetUp();
        MakeUserFolder("3");
        const SDL_Color red{200, 30, 40, 255}, blue{30, 60, 200, 255};
        std::vector<uint8_t> pixels(80);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = i % 2;
        mModel.mViewportWidth = 1040;
        mModel.mViewportHeight = 52;
        mModel.LoadPicture(26, "textures/levels/navigator", "3", MakePicture(40, 2, {red, blue}, pixels));
        mSpy.mModel = &mModel;
    }

    TPaintByNumber mModel;
    TNavigatorSpy mSpy;
};

}  // namespace

TEST_F(Navigator, ResetCentresThePictureThroughTheListener)
{
    TPaintByNumberOffsetTable navigator;
    navigator.SetPosition(10.0f, 20.0f, false);  // no listener: nobody to tell
    EXPECT_EQ(75, navigator.mPointOffsetX);
    EXPECT_EQ(50, navigator.mPointOffsetY);
    EXPECT_EQ(151, navigator.GetWidth());
    EXPECT_EQ(101, navigator.GetHeight());

    navigator.mListener = &mSpy;
    navigator.Reset();
    ASSERT_EQ(1u, mSpy.mHeard.size());
    EXPECT_FLOAT_EQ(0.49668875f, mSpy.mHeard[0].first);
    EXPECT_FLOAT_EQ(0.4950495f, mSpy.mHeard[0].second);
    EXPECT_EQ(-3, mModel.mPanX);
    EXPECT_EQ(0, mModel.mPanY);
}

TEST_F(Navigator, WithoutBackImageTheMiddleIsReported)
{
    TPaintByNumberOffsetTable navigator;
    navigator.mBackImage.FreeTexture();
    navigator.mListener = &mSpy;
    navigator.SetPosition(10.0f, 20.0f, false);
    ASSERT_EQ(1u, mSpy.mHeard.size());
    EXPECT_FLOAT_EQ(0.5f, mSpy.mHeard[0].first);
    EXPECT_FLOAT_EQ(0.5f, mSpy.mHeard[0].second);
    EXPECT_EQ(0, mModel.mPanX);
    EXPECT_EQ(0, mModel.mPanY);
}

namespace {

// The board's small drawables with their own images: a blue 151 x 101 navigator back, a red
// 11 x 11 point and a white bubble.
class BoardDrawables : public TextTest {
protected:
    void SetUp() override
    {
        TextTest::SetUp();
        MakeFolder("textures/gui/gamescreen");
        MakeFolder("textures/gui/windows");
        SolidPng("textures/gui/gamescreen/tableback.png", 151, 101, {0, 0, 255, 255});
        SolidPng("textures/gui/gamescreen/tablepoint.png", 11, 11, {255, 0, 0, 255});
        SolidPng("textures/gui/windows/hint.png", 40, 20, {255, 255, 255, 255});
    }

    static std::unique_ptr<TBrisaloHintText> Bubble(const std::vector<std::string>& keys)
    {
        return std::make_unique<TBrisaloHintText>(keys, 20, 30, 0, 0, "big", TFloatColor{1, 0, 0, 1});
    }
};

}  // namespace

TEST_F(BoardDrawables, NavigatorDrawsBackAtItsPositionAndPointAtTheMiddle)
{
    TPaintByNumberOffsetTable navigator;
    navigator.SetPosition(10.0f, 20.0f, false);
    Clear(0, 0, 0);
    navigator.Draw(1.0f);
    EXPECT_EQ((SDL_Rect{10, 20, 151, 101}), DrawnBox(0, 0, 0));
    ExpectPixel(10, 20, 0, 0, 255);
    for (int d : {-4, 0, 4}) {
        ExpectPixel(85 + d, 70, 255, 0, 0);
        ExpectPixel(85, 70 + d, 255, 0, 0);
    }
    ExpectPixel(85 - 7, 70, 0, 0, 255);
    ExpectPixel(85 + 7, 70, 0, 0, 255);
    ExpectPixel(85, 70 - 7, 0, 0, 255);
}

TEST_F(BoardDrawables, HintBubbleFadesInStaysAndFadesOut)
{
    std::unique_ptr<TBrisaloHintText> bubble = Bubble({"flyhint1"});
    // 0.5 s in, 3 s shown, 0.5 s out: 2 + 8 + 2 steps of 0.375 s, no time carried over.
    for (int i = 1; i <= 11; ++i) EXPECT_FALSE(bubble->Update(0.375f)) << i;
    EXPECT_TRUE(bubble->Update(0.375f));
    EXPECT_TRUE(bubble->IsDone());
    EXPECT_TRUE(bubble->Update(0.375f));
    EXPECT_EQ(TBrisaloHintText::kFinished, bubble->mState);

    bubble = Bubble({"flyhint1"});
    bubble->Update(0.25f);
    Clear(0, 0, 0);
    bubble->Draw(1.0f);
    ExpectPixel(25, 35, 127, 127, 127, 1);
    EXPECT_FLOAT_EQ(0.5f, bubble->mText.mAlpha);
}

TEST_F(BoardDrawables, HintBubblePlacesItsTextInsideTheImage)
{
    std::unique_ptr<TBrisaloHintText> bubble = Bubble({"flyhint1"});
    EXPECT_EQ(57, bubble->mText.mX);
    EXPECT_EQ(67, bubble->mText.mY);
    EXPECT_EQ(1025, bubble->mText.mWidth);
    EXPECT_EQ(44, bubble->mText.mHeight);
    EXPECT_EQ(0, bubble->mText.mAlignment);
    EXPECT_FALSE(bubble->mText.mWrapped);
    EXPECT_EQ(TFontManager::Instance()->GetFont("big"), bubble->mText.mFont);
    EXPECT_FLOAT_EQ(20.0f, bubble->mBubble.GetX());
    EXPECT_FLOAT_EQ(30.0f, bubble->mBubble.GetY());
}

TEST_F(BoardDrawables, HintBubblePicksItsKeyWithTheGameGenerator)
{
    const std::vector<std::string> keys{"k0", "k1", "k2", "k3"};
    for (unsigned seed : {1u, 77u, 4242u}) {
        SeedRandom(seed);
        const int pick = GameRand() % 4;
        SeedRandom(seed);
        EXPECT_EQ(keys[pick], Bubble(keys)->mText.mKey) << seed;
        EXPECT_EQ(L"only", Bubble({"only"})->mText.mText);
    }

    // No keys: no value drawn, no text, and the bubble still finishes after 4 s.
    SeedRandom(9);
    const int next = GameRand();
    SeedRandom(9);
    std::unique_ptr<TBrisaloHintText> bubble = Bubble({});
    EXPECT_EQ(next, GameRand());
    EXPECT_TRUE(bubble->mText.mText.empty());
    for (int i = 1; i < 8; ++i) EXPECT_FALSE(bubble->Update(0.5f)) << i;
    EXPECT_TRUE(bubble->Update(0.5f));
}

TEST_F(BoardDrawables, OwningListDeletesTheFinishedBubble)
{
    ObjectsManager list(true);
    list.Add(0.0f, Bubble({"flyhint1"}).release());
    for (int i = 0; i < 11; ++i) list.Update(0.375f);
    EXPECT_EQ(1u, list.Count());
    list.Update(0.375f);
    EXPECT_EQ(0u, list.Count());
}
