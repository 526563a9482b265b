#include "graphics/static_image.h"

#include <cmath>

#include "drawing_fixture.h"
#include "graphics/objects_manager.h"

namespace {

class StaticImageTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "0");
        SolidPng("box.png", 100, 50, SDL_Color{255, 255, 255, 255});
        SolidPng("sheet.png", 80, 20, SDL_Color{255, 255, 255, 255});
    }

    SDL_Rect DrawOnBlack(StaticImage& image)
    {
        Clear(0, 0, 0);
        image.Draw(1.0f);
        SDL_Rect box = DrawnBox(0, 0, 0);
        return box;
    }

    void ExpectBoxNear(const SDL_Rect& want, const SDL_Rect& got, int tolerance, const char* label)
    {
        bool ok = std::abs(want.x - got.x) <= tolerance && std::abs(want.y - got.y) <= tolerance &&
                  std::abs(want.w - got.w) <= tolerance && std::abs(want.h - got.h) <= tolerance;
        EXPECT_TRUE(ok) << label << ": drawn " << got << ", expected " << want;
        if (!ok) SaveFrame();
    }
};

TEST_F(StaticImageTest, CentredImagePlacement)
{
    StaticImage image;
    image.SetTexture("box");
    image.SetPosition(200, 100, true);
    ExpectBoxNear({150, 75, 100, 50}, DrawOnBlack(image), 0, "centred");

    GetAppState().mOffsetX = 10;
    GetAppState().mOffsetY = 20;
    ExpectBoxNear({160, 95, 100, 50}, DrawOnBlack(image), 0, "letterbox");
    GetAppState().mOffsetX = GetAppState().mOffsetY = 0;

    image.SetScale(2);
    ExpectBoxNear({100, 50, 200, 100}, DrawOnBlack(image), 0, "scale 2");
    image.SetScale(1);

    image.mOffsetX = 5;
    image.mOffsetY = 7;
    ExpectBoxNear({155, 82, 100, 50}, DrawOnBlack(image), 0, "offset");
    image.mOffsetX = image.mOffsetY = 0;

    image.mOwnCentre = true;
    image.mTransform.mCentreX = 10;
    image.mTransform.mCentreY = 5;
    image.mTransform.mFlags |= kDrawCentre;
    ExpectBoxNear({190, 95, 100, 50}, DrawOnBlack(image), 0, "own centre");
}

TEST_F(StaticImageTest, PositionAndSizeWithAndWithoutSourceRectangle)
{
    StaticImage image;
    image.SetTexture("box");
    image.SetPosition(200, 100, true);
    EXPECT_FLOAT_EQ(200, image.GetX());
    EXPECT_EQ(100, image.GetWidth());
    EXPECT_EQ(50, image.GetHeight());
    image.mTransform.mFlags |= kDrawSourceRect;
    image.mTransform.mSrcW = 40;
    image.mTransform.mSrcH = 20;
    EXPECT_FLOAT_EQ(220, image.GetX());
    EXPECT_FLOAT_EQ(110, image.GetY());
    EXPECT_EQ(40, image.GetWidth());

    StaticImage empty;
    empty.SetTexture("missing");
    EXPECT_EQ(0, empty.GetWidth());
    EXPECT_EQ("missing", empty.GetTextureName());
    EXPECT_FALSE(empty.HitTest(0, 0));
    empty.Draw(1.0f);
}

// A sheet frame away from the top-left cell, placed by its own centre, must turn about that
// centre; a centred frame with flag 8 turns about its middle.
TEST_F(StaticImageTest, RotationPivotIsThePointPlacedAtThePosition)
{
    StaticImage frame;
    frame.SetTexture("sheet");
    frame.SetPosition(300, 200, false);
    DrawTransform& t = frame.mTransform;
    t.mFlags = kDrawSourceRect | kDrawCentre;
    t.mSrcX = 40;
    t.mSrcW = 40;
    t.mSrcH = 20;
    t.mCentreX = t.mSrcX + t.mSrcW / 2;
    t.mCentreY = t.mSrcY + t.mSrcH / 2;
    frame.mOwnCentre = true;
    ExpectBoxNear({280, 190, 40, 20}, DrawOnBlack(frame), 0, "unrotated");
    frame.SetAngle(static_cast<float>(M_PI / 2));
    ExpectBoxNear({290, 180, 20, 40}, DrawOnBlack(frame), 1, "own centre, 90 degrees");
    EXPECT_FLOAT_EQ(60, t.mCentreX);

    StaticImage centred;
    centred.SetTexture("sheet");
    centred.SetPosition(500, 300, true);
    centred.mTransform.mFlags = kDrawSourceRect | kDrawCentre;
    centred.mTransform.mSrcX = 40;
    centred.mTransform.mSrcW = 40;
    centred.mTransform.mSrcH = 20;
    centred.SetAngle(static_cast<float>(M_PI / 2));
    ExpectBoxNear({490, 280, 20, 40}, DrawOnBlack(centred), 1, "centred, flag 8");
}

TEST_F(StaticImageTest, HitTests)
{
    SavePng("hits.png", MakeSurface(4, 2, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                return SDL_Color{255, 255, 255, Uint8(x == 0 ? 62 : x == 1 ? 63 : 255)};
            }));
    StaticImage image;
    image.SetTexture("hits");
    struct Case {
        const char* label;
        float scale;
        int x, y;
        bool hit;
    };
    const Case cases[] = {
        {"alpha 62", 1, 0, 0, false},
        {"alpha 63", 1, 1, 0, true},
        {"x = width", 1, 4, 0, false},
        {"negative", 1, -1, 0, false},
        {"below", 1, 2, 2, false},
        {"scale 2 maps back", 2, 3, 0, true},
        {"scale 2 maps to 62", 2, 1, 0, false},
        {"scale 0", 0, 2, 0, false},
        {"tiny scale", 1e-38f, 2, 0, false},
    };
    for (const Case& c : cases) {
        image.SetScale(c.scale);
        EXPECT_EQ(c.hit, image.HitTest(c.x, c.y)) << c.label;
    }

    // Own centre: the point is turned back into the image's frame about its position.
    StaticImage turned;
    SavePng("strip.png", MakeSurface(40, 20, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                return SDL_Color{0, 0, 0, Uint8(x >= 30 ? 255 : 0)};
            }));
    turned.SetTexture("strip");
    turned.SetPosition(100, 100, false);
    turned.mOwnCentre = true;
    turned.SetAngle(static_cast<float>(M_PI / 2));
    // The opaque end (x 30..39 of the frame) lies below the position once turned by 90 degrees.
    EXPECT_TRUE(turned.HitTest(100, 115));
    EXPECT_FALSE(turned.HitTest(100, 85));
    turned.SetScale(0);
    EXPECT_FALSE(turned.HitTest(100, 115));
}

TEST_F(StaticImageTest, AlphaImageHoldsThenFades)
{
    AlphaStaticImage image;
    image.mHoldTime = 0.5f;
    image.StartFade(0, 1, 1);
    EXPECT_FALSE(image.Update(0.25f));
    EXPECT_FALSE(image.Update(0.25f));
    EXPECT_FLOAT_EQ(0, image.mAlpha);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(image.Update(0.25f));
    EXPECT_FLOAT_EQ(0.75f, image.mAlpha);
    EXPECT_TRUE(image.Update(0.25f));
    EXPECT_FLOAT_EQ(1, image.mAlpha);

    AlphaStaticImage flat;
    flat.StartFade(0, 0, 1);
    EXPECT_TRUE(flat.Update(0.25f));
    EXPECT_TRUE(flat.IsDone());

    // Done until a fade starts: an owning manager drops it at its next update.
    ObjectsManager owner(true);
    AlphaStaticImage* set = new AlphaStaticImage();
    set->StartFade(0, 1, 1);
    owner.Add(0, set);
    set->SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(0.5f, set->mAlpha);
    owner.Update(0.1f);
    EXPECT_EQ(0u, owner.Count());
}

TEST_F(StaticImageTest, ClippingImageClipsAndLeavesNoClipBehind)
{
    TClippingImage image;
    image.SetTexture("box");
    image.SetPosition(0, 0, false);
    image.mClipX = 10;
    image.mClipY = 5;
    image.mClipW = 20;
    image.mClipH = 10;
    Clear(0, 0, 0);
    image.DrawClipped();
    EXPECT_EQ((SDL_Rect{10, 5, 20, 10}), DrawnBox(0, 0, 0));
    EXPECT_FALSE(SDL_RenderIsClipEnabled(mRenderer));

    image.mClipX = image.mClipY = image.mClipW = image.mClipH = 0;
    Clear(0, 0, 0);
    image.DrawClipped();
    EXPECT_EQ((SDL_Rect{0, 0, 100, 50}), DrawnBox(0, 0, 0));
}

TEST_F(StaticImageTest, InvisibleOrTransparentImageDrawsNothing)
{
    StaticImage image;
    image.SetTexture("box");
    image.SetVisible(false);
    EXPECT_EQ((SDL_Rect{0, 0, 0, 0}), DrawOnBlack(image));
    image.SetVisible(true);
    image.mAlpha = 0;
    EXPECT_EQ((SDL_Rect{0, 0, 0, 0}), DrawOnBlack(image));
}

}  // namespace
