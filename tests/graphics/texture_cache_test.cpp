#include "graphics/texture_cache.h"

#include "drawing_fixture.h"
#include "graphics/static_image.h"

namespace {

const SDL_Color kCacheRed{255, 0, 0, 255};
const SDL_Color kCacheGreen{0, 255, 0, 255};
const SDL_Color kCacheBlue{0, 0, 255, 255};
const SDL_Color kCacheWhite{255, 255, 255, 255};

class TextureCacheTest : public CanvasTest {
protected:
    // Draws the texture at (0, 0) with its own colours and reads the first pixel.
    TPixel Drawn(TTexture* texture)
    {
        Clear(0, 0, 0);
        DrawTransform t;
        t.mBlendMode = kBlendNone;
        texture->Draw(t);
        return Pixel(0, 0);
    }
};

TEST_F(TextureCacheTest, TwoRequestsShareOneTextureThatLivesUntilBothHandlesGo)
{
    SolidPng("a.png", 4, 4, kCacheRed);
    TexturePtr first = GetTexture("a");
    TexturePtr second = GetTexture("a");
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(2, second.HolderCount());
    first.Reset();
    EXPECT_EQ(1, second.HolderCount());
    EXPECT_EQ(255, Drawn(second.Get()).r);
    second.Reset();
    EXPECT_EQ(mLiveBefore, GetLiveTextureCount());
}

TEST_F(TextureCacheTest, RequestAfterLastHandleLoadsTheFileAgain)
{
    SolidPng("a.png", 4, 4, kCacheRed);
    GetTexture("a").Reset();
    SolidPng("a.png", 4, 4, kCacheBlue);
    TexturePtr again = GetTexture("a");
    ASSERT_TRUE(again);
    TPixel p = Drawn(again.Get());
    EXPECT_EQ(0, p.r);
    EXPECT_EQ(255, p.b);
}

TEST_F(TextureCacheTest, MissingNameIsNotCachedAndLoadsOnceItsFileAppears)
{
    EXPECT_FALSE(GetTexture("late"));
    EXPECT_FALSE(TextureCache::HasEntry("late"));
    SolidPng("late.png", 2, 2, kCacheGreen);
    TexturePtr t = GetTexture("late");
    ASSERT_TRUE(t);
    EXPECT_EQ(2, t->GetWidth());
}

TEST_F(TextureCacheTest, StaticImageAndGetTextureShareOneTexture)
{
    SolidPng("shared.png", 3, 3, kCacheGreen);
    StaticImage image;
    image.SetTexture("shared");
    TexturePtr t = GetTexture("shared");
    ASSERT_TRUE(t);
    EXPECT_EQ(image.GetTexture(), t.Get());
    EXPECT_EQ(2, t.HolderCount());
}

// A released copy must not count again when it is destroyed, and CopyInto only lets go of
// the handle it was given: a font atlas keeps its texture through both.
TEST_F(TextureCacheTest, ReleasedCopyAndCopyIntoLeaveTheOtherHandleAlive)
{
    SolidPng("a.png", 4, 4, kCacheRed);
    TexturePtr kept = GetTexture("a");
    {
        TexturePtr copy = kept;
        copy.Release();
        EXPECT_FALSE(copy);
    }
    EXPECT_EQ(1, kept.HolderCount());
    EXPECT_EQ(255, Drawn(kept.Get()).r);
    SDL_Rect area{0, 0, 1, 1};
    kept->CopyInto(0, 0, &area, kept);
    kept->CopyInto(0, 0, &area, kept);
    EXPECT_EQ(1, kept.HolderCount());
    EXPECT_EQ(255, Drawn(kept.Get()).r);
}

struct TLookupCase {
    const char* label;
    std::vector<std::pair<std::string, SDL_Color>> files;  // ".jpg" files are written as JPEG
    std::string name;
    std::string language;
    SDL_Color expected;
};

TEST_F(TextureCacheTest, LookupOrderOfPlainImages)
{
    const std::vector<TLookupCase> cases = {
        {"only jpg", {{"c1/x.jpg", kCacheRed}}, "c1/x", "", kCacheRed},
        {"png wins over jpg", {{"c2/x.jpg", kCacheRed}, {"c2/x.png", kCacheGreen}}, "c2/x", "", kCacheGreen},
        {"plain png wins over language jpg", {{"en/c3/x.jpg", kCacheBlue}, {"c3/x.png", kCacheGreen}}, "c3/x", "en", kCacheGreen},
        {"language png wins", {{"en/c4/x.png", kCacheWhite}, {"c4/x.png", kCacheGreen}}, "c4/x", "en", kCacheWhite},
        {"name with extension", {{"c5/x.jpg", kCacheRed}, {"c5/x.png", kCacheGreen}}, "c5/x.jpg", "", kCacheRed},
        {"absolute name", {{"c6/x.png", kCacheBlue}}, "", "", kCacheBlue},
    };
    TTextureSwitchScope colours(KeepTextureColors, true);
    for (const TLookupCase& c : cases) {
        for (const auto& file : c.files) {
            std::string folder = file.first.substr(0, file.first.rfind('/'));
            MakeFolder(folder);
            if (file.first.size() > 4 && file.first.compare(file.first.size() - 4, 4, ".jpg") == 0)
                SolidJpg(file.first, 4, 4, file.second);
            else
                SolidPng(file.first, 4, 4, file.second);
        }
        std::string name = c.name.empty() ? AssetPath("c6/x") : c.name;
        TTexture texture;
        ASSERT_TRUE(texture.LoadFromFile(name, "", c.language)) << c.label;
        TRgb rgb;
        ASSERT_TRUE(texture.GetColorAt(1, 1, &rgb)) << c.label;
        EXPECT_NEAR(c.expected.r, rgb.r, 8) << c.label;
        EXPECT_NEAR(c.expected.g, rgb.g, 8) << c.label;
        EXPECT_NEAR(c.expected.b, rgb.b, 8) << c.label;
    }
}

TEST_F(TextureCacheTest, MaskedTextureTakesColourFromJpegAndAlphaFromTheMaskRed)
{
    SolidJpg("rgbmask.jpg", 4, 2, SDL_Color{200, 100, 50, 255});
    SavePng("rgbmask.png", MakeSurface(4, 2, SDL_PIXELFORMAT_RGB24,
                                       [](int x, int) { return SDL_Color{Uint8(x * 60), 7, 9, 255}; }));
    SolidJpg("greymask.jpg", 4, 2, SDL_Color{200, 100, 50, 255});
    std::vector<SDL_Color> greys(256);
    for (int i = 0; i < 256; ++i) greys[i] = SDL_Color{Uint8(i), Uint8(i), Uint8(i), 255};
    SavePng("greymask.png", MakeIndexed(4, 2, greys, [](int x, int) { return x * 60; }));

    for (const char* name : {"rgbmask", "greymask"}) {
        TexturePtr t = GetMaskedTexture(name, name, true);
        ASSERT_TRUE(t) << name;
        for (int x = 0; x < 4; ++x) EXPECT_EQ(x * 60, t->GetAlphaAt(x, 1)) << name;
        Clear(0, 0, 0);
        DrawTransform plain;
        plain.mBlendMode = kBlendNone;
        t->Draw(plain);
        ExpectPixel(0, 0, 200, 100, 50, 8);
    }
}

TEST_F(TextureCacheTest, MaskedTextureFailures)
{
    SolidJpg("sizes.jpg", 4, 4, kCacheRed);
    SolidPng("sizes.png", 4, 2, kCacheRed);
    EXPECT_FALSE(GetMaskedTexture("sizes", "sizes", false));

    SavePng("alone.png", MakeSurface(2, 1, SDL_PIXELFORMAT_ABGR8888,
                                     [](int x, int) { return SDL_Color{Uint8(x ? 128 : 0), 0, 0, 255}; }));
    EXPECT_FALSE(GetMaskedTexture("alone", "alone", true));
    TexturePtr white = GetMaskedTexture("alone", "alone", false);
    ASSERT_TRUE(white);
    EXPECT_EQ(128, white->GetAlphaAt(1, 0));
    DrawTransform plain;
    plain.mBlendMode = kBlendNone;
    white->Draw(plain);
    ExpectPixel(0, 0, 255, 255, 255);

    EXPECT_FALSE(GetMaskedTexture("alone.png", "alone.png", false));
}

TEST_F(TextureCacheTest, NamesWithUnderscoreGoToTheMaskedGetter)
{
    SolidJpg("pair_a.jpg", 2, 2, kCacheRed);
    SolidPng("pair_a.png", 2, 2, kCacheWhite);
    SolidPng("single.png", 2, 2, kCacheWhite);
    TexturePtr masked = GetTextureByName("pair_a", true);
    ASSERT_TRUE(masked);
    EXPECT_FALSE(masked->GetMaskPath().empty());
    TexturePtr plain = GetTextureByName("single", true);
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->GetMaskPath().empty());
    EXPECT_FALSE(GetTextureByName("pair_a.png", true));
}

}  // namespace
