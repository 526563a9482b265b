// Page points: layout, drawing from the two halves of the sheet, and clicks that select pages.
#include "ui/page_points.h"

#include "graphics/drawing_fixture.h"
#include "ui/ui_elements.h"
#include "ui/ui_test_layout.h"

namespace {

struct TPageAnswer : TPointPageShowerListener {
    bool answer = true;
    int asked = 0;
    bool OnPageClicked() override
    {
        ++asked;
        return answer;
    }
};

class PagePointsTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        // 8 x 4: a green left half, a red right half.
        SavePng("points.png", MakeSurface(8, 4, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                    return x < 4 ? SDL_Color{0, 255, 0, 255} : SDL_Color{255, 0, 0, 255};
                }));
        const TUIMyButton* info = ReadObject<TUIMyButton>(
            mHolder, "<object name=\"o\" type=\"button\" image=\"points\" x=\"100\" y=\"200\" w=\"100\" h=\"20\"/>");
        ASSERT_NE(info, nullptr);
        mShower = new TPointPageShower(&mScreen);
        mShower->ApplyInfo(const_cast<TUIMyButton*>(info));
        mShower->mPageCount = 5;
        mShower->LayoutPoints();
        mShower->mPageListener = &mAnswer;
    }

    // The widgets hold textures, which must go before the renderer.
    void TearDown() override
    {
        mScreen.RemoveAllChildren(true, false);
        CanvasTest::TearDown();
    }

    TUIInfoHolder mHolder;
    TMyWindow mScreen;
    TPointPageShower* mShower = nullptr;
    TPageAnswer mAnswer;
};

TEST_F(PagePointsTest, FivePagesSpreadEvenly)
{
    ASSERT_EQ(mShower->mPoints.size(), 5u);
    const int xs[] = {10, 30, 50, 70, 90};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(mShower->mPoints[i].x, xs[i]);
        EXPECT_EQ(mShower->mPoints[i].y, 10);
    }
    mShower->mPageCount = 0;
    mShower->LayoutPoints();
    EXPECT_TRUE(mShower->mPoints.empty());
    EXPECT_EQ(mShower->PointAt(10, 10), -1);
}

TEST_F(PagePointsTest, CurrentPointDrawnFromTheRightHalf)
{
    mShower->mCurrentPage = 2;
    Clear(0, 0, 0);
    mScreen.Draw();
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{108, 208, 84, 4}));
    ExpectPixel(100 + 10, 210, 0, 255, 0);
    ExpectPixel(100 + 50, 210, 255, 0, 0);
    ExpectPixel(100 + 48, 208, 255, 0, 0);
    ExpectPixel(100 + 52, 210, 0, 0, 0);
}

TEST_F(PagePointsTest, ClickOnAPointSelectsItsPage)
{
    const struct {
        int x, y;
        bool answer;
        int page;
    } cases[] = {
        {50, 10, true, 2},   // the middle of point 3
        {48, 8, true, 2},    // its top-left pixel
        {40, 10, true, 0},   // between points
        {50, 11, false, 0},  // on it, refused
        {89, 11, true, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        mShower->mCurrentPage = 0;
        mAnswer.answer = c.answer;
        mShower->OnMouseUp(PointerAt(c.x, c.y, 1));
        EXPECT_EQ(mShower->mCurrentPage, c.page);
    }
    EXPECT_EQ(mAnswer.asked, 4);
}

}  // namespace
