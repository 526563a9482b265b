// Image widgets drawn into memory: fitting, natural size, the crossed overlays, keep-alpha loads.
#include "ui/image.h"

#include "graphics/drawing_fixture.h"
#include "graphics/texture.h"
#include "ui/ui_elements.h"
#include "ui/ui_test_layout.h"

namespace {

class ImageTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        SolidPng("wide.png", 200, 100, SDL_Color{255, 0, 0, 255});
        SolidPng("green.png", 4, 4, SDL_Color{0, 255, 0, 255});
        SolidPng("blue.png", 4, 4, SDL_Color{0, 0, 255, 255});
    }
    // An image widget on a screen at (0, 0) from one "image" element named "o".
    TMyImage* Make(const std::string& attributes)
    {
        const TUIMyImage* info = ReadObject<TUIMyImage>(mHolder, "<object name=\"o\" type=\"image\" " + attributes + "/>");
        EXPECT_NE(info, nullptr);
        return CreateImage(info, &mScreen);
    }
    SDL_Rect DrawScreen()
    {
        Clear(0, 0, 0);
        mScreen.Draw();
        return DrawnBox(0, 0, 0);
    }

    // The widgets hold textures, which must go before the renderer.
    void TearDown() override
    {
        mScreen.RemoveAllChildren(true, false);
        CanvasTest::TearDown();
    }

    TUIInfoHolder mHolder;
    TMyWindow mScreen;
};

TEST_F(ImageTest, FitModeScalesAndCentresTheMainPicture)
{
    TMyImage* image = Make("image=\"wide\" x=\"10\" y=\"10\" w=\"100\" h=\"100\" drawmode=\"1\"");
    EXPECT_EQ(DrawScreen(), (SDL_Rect{10, 35, 100, 50}));
    EXPECT_EQ(image->mFitX, 0);
    EXPECT_EQ(image->mFitY, 25);
    EXPECT_EQ(mScreen.mChildren.size(), 1u);

    image->mDrawMode = 0;
    EXPECT_EQ(DrawScreen(), (SDL_Rect{10, 10, 200, 100}));
    EXPECT_EQ(image->mFitY, 0);
}

TEST_F(ImageTest, SizeComesFromTheTexturePlusTheExtraRectangle)
{
    TMyImage* image = Make("image=\"wide\" x=\"5\" y=\"6\" w=\"0\" vr=\"0.0.10.3\"");
    EXPECT_EQ(image->GetWidth(), 210);
    EXPECT_EQ(image->GetHeight(), 103);
    EXPECT_EQ(CreateImage(nullptr, &mScreen), nullptr);
}

TEST_F(ImageTest, OverlayNamesCross)
{
    TMyImage* image = Make("image=\"wide\" image2=\"green\" imagechecked=\"blue\" w=\"4\" h=\"4\" x=\"0\" y=\"0\" "
                           "checked=\"1\" checkedx=\"300\" checkedy=\"10\" draw2x=\"400\" draw2y=\"20\"");
    image->mImage.SetVisible(false);
    EXPECT_EQ(DrawScreen(), (SDL_Rect{300, 10, 4, 4}));
    ExpectPixel(301, 11, 0, 255, 0);
    image->mChecked = false;
    image->mDrawThird = true;
    EXPECT_EQ(DrawScreen(), (SDL_Rect{400, 20, 4, 4}));
    ExpectPixel(401, 21, 0, 0, 255);

    // The colour tints the main picture only.
    image->mImage.SetVisible(true);
    image->mColor = TFloatColor{0.5f, 1.0f, 0.0f, 1.0f};
    image->mDrawThird = false;
    image->mChecked = true;
    DrawScreen();
    ExpectPixel(10, 10, 127, 0, 0, 1);
    ExpectPixel(301, 11, 0, 255, 0);
}

TEST_F(ImageTest, FitModeWithoutAMainPictureDrawsTheOverlaysAtNaturalSize)
{
    Make("image=\"missing\" image2=\"green\" checked=\"1\" checkedx=\"5\" checkedy=\"6\" drawmode=\"1\" "
         "x=\"20\" y=\"30\" w=\"100\" h=\"100\"");
    EXPECT_EQ(DrawScreen(), (SDL_Rect{25, 36, 4, 4}));
}

TEST_F(ImageTest, OnlyLaterLoadsHonourNeedCache)
{
    SolidPng("solid_a.png", 4, 4, SDL_Color{9, 9, 9, 255});
    SolidPng("solid_b.png", 4, 4, SDL_Color{9, 9, 9, 255});
    TMyImage* image = Make("image=\"solid_a\" needcache=\"1\"");
    EXPECT_FALSE(image->mImage.HitTestAlpha(1, 1, 255));
    image->SetImage("solid_b");
    EXPECT_TRUE(image->mImage.HitTestAlpha(1, 1, 255));
    EXPECT_TRUE(KeepTextureAlpha);
}

}  // namespace
