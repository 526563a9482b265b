#include "graphics/image_font.h"

#include "font_fixture.h"
#include "log_watch.h"

namespace {

// A red A (4x6, advance 5) and a green B (3x6, advance 4), spacing 1, AB kerned by -3, and
// a half-black shadow one pixel down-right drawn before the main layer.
const wchar_t kTwoLayers[] =
    L"CreateLayer main; LayerSetImage main 'glyphs.png'; LayerSetAscent main 6; LayerSetSpacing main 1;\n"
    L"CreateLayerFrom shadow main; LayerSetOffset shadow (1 1); LayerSetColorMult shadow (0 0 0 0.5);\n"
    L"LayerSetBaseOrder shadow -1;\n"
    L"LayerSetImageMap main ('A' 'B') ((0 0 4 6) (4 0 3 6));\n"
    L"LayerSetCharWidths main ('A' 'B') (5 4);\n"
    L"LayerSetKerningPairs main ('AB') (-3);\n"
    L"LayerSetImageMap shadow ('A' 'B') ((0 0 4 6) (4 0 3 6));\n"
    L"LayerSetCharWidths shadow ('A' 'B') (5 4);\n"
    L"LayerSetKerningPairs shadow ('AB') (-3);\n";

const uint32_t kWhite = 0xFFFFFFFFu;

class ImageFontTest : public FontTest {
protected:
    void SetUp() override
    {
        Open(64, 48);
        OpenFonts();
        SavePng("fonts/glyphs.png", MakeSurface(8, 6, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                    return x < 4 ? SDL_Color{255, 0, 0, 255} : x < 7 ? SDL_Color{0, 255, 0, 255} : SDL_Color{0, 0, 0, 0};
                }));
    }

    std::vector<SDL_Rect> Rects(ImageFont& font, const std::wstring& text, int* width, bool wide = true)
    {
        std::vector<SDL_Rect> rects;
        if (wide) font.DrawWStringEx(0, 10, text, kWhite, 0, &rects, width, false);
        else font.DrawStringEx(0, 10, text, kWhite, 0, &rects, width, false);
        return rects;
    }
};

TEST_F(ImageFontTest, LayersDrawKernedInTheirOrder)
{
    auto font = MakeFont(kTwoLayers);
    Clear(128, 128, 128);
    std::vector<SDL_Rect> rects;
    int width = -1;
    font->DrawWStringEx(10, 20, L"AB", kWhite, 0, &rects, &width, true);
    EXPECT_EQ((std::vector<SDL_Rect>{{10, 14, 4, 6}, {11, 15, 4, 6}, {13, 14, 3, 6}, {14, 15, 3, 6}}), rects);
    EXPECT_EQ(7, width);
    EXPECT_EQ(7, font->WStringWidth(L"AB"));
    EXPECT_EQ(7, font->StringWidth(L"AB"));
    ExpectPixel(10, 14, 255, 0, 0);
    ExpectPixel(13, 14, 0, 255, 0);   // the later character on top
    ExpectPixel(14, 15, 0, 255, 0);   // shadows under every main glyph, though their layer comes later
    ExpectPixel(16, 20, 64, 64, 64, 1);
    ExpectPixel(11, 20, 64, 64, 64, 1);
    ExpectPixel(16, 14, 128, 128, 128);
    EXPECT_EQ(6, font->GetAscent());
    EXPECT_EQ(6, font->GetHeight());

    auto reordered = MakeFont(std::wstring(kTwoLayers) + L"LayerSetCharOrders main ('B') (-5);");
    Clear(128, 128, 128);
    reordered->DrawWString(10, 20, L"AB", kWhite, 0, true);
    ExpectPixel(13, 14, 255, 0, 0);
}

TEST_F(ImageFontTest, WidthsCountSpacingBetweenCharactersOnly)
{
    // Code 0 is mapped like any other (written as a NUL character between the quotes).
    auto font = MakeFont(std::wstring(kTwoLayers) + L"SetCharMap ('C' '" + wchar_t(0) + L"') ('A' 'B');\n" +
                         L"LayerSetImageMap main ('\u0100') ((0 0 4 6)); LayerSetCharWidths main ('\u0100') (9);");
    int width = 0;
    EXPECT_EQ(5, font->WStringWidth(L"A"));
    EXPECT_EQ(1u, Rects(*font, L"A", &width).size() / 2);
    EXPECT_EQ(5, width);
    EXPECT_EQ(17, font->WStringWidth(L"AAA"));
    EXPECT_EQ(17, font->StringWidth(L"AAA"));
    Rects(*font, L"AAA", &width);
    EXPECT_EQ(17, width);
    EXPECT_EQ(5, font->WStringWidth(L"C"));
    EXPECT_EQ(5, font->StringWidth(std::wstring(1, L'C' + 0x200)));
    EXPECT_EQ(4, font->CharWidth8(0));
    EXPECT_EQ(4, font->WCharWidth(0));
    EXPECT_EQ(9, font->WCharWidth(0x100));
    // The shadow has no block for U+0100: one glyph, and the main layer's advance.
    std::vector<SDL_Rect> rects = Rects(*font, L"\u0100", &width);
    EXPECT_EQ(1u, rects.size());
    EXPECT_EQ(9, width);
}

TEST_F(ImageFontTest, LayerSelectionByPointSizeAndTags)
{
    auto font = MakeFont(L"CreateLayer r; LayerPointRange r 10 -1; LayerRequireTags r ('bold');\n"
                         L"CreateLayer e; LayerExcludeTags e ('Bold'); CreateLayer any;");
    auto names = [&]() {
        std::vector<const FontLayer*> out;
        for (const auto& a : font->GetActiveLayers()) out.push_back(a->mLayer);
        return out;
    };
    const FontData* d = font->GetDescriptor();
    const FontLayer* r = d->FindLayer(L"r");
    const FontLayer* e = d->FindLayer(L"e");
    const FontLayer* any = d->FindLayer(L"any");
    font->SetPointSize(10);
    EXPECT_EQ((std::vector<const FontLayer*>{e, any}), names());
    EXPECT_TRUE(font->AddTag("Bold"));
    EXPECT_FALSE(font->AddTag("bOLD"));
    EXPECT_TRUE(font->HasTag("boLd"));
    font->WStringWidth(L"x");
    EXPECT_EQ((std::vector<const FontLayer*>{r, any}), names());
    for (int size : {1000, 9}) {
        font->SetPointSize(size);
        font->EnsureActive();
        EXPECT_EQ(size == 9 ? 1u : 2u, names().size()) << size;
    }
    EXPECT_TRUE(font->RemoveTag("BOLD"));
    EXPECT_FALSE(font->RemoveTag("bold"));
    font->EnsureActive();
    EXPECT_EQ((std::vector<const FontLayer*>{e, any}), names());
}

TEST_F(ImageFontTest, LayerColours)
{
    auto font = MakeFont(L"CreateLayer m; LayerSetImage m 'atlas.png'; LayerSetAscent m 6;\n"
                         L"LayerSetImageMap m ('a') ((0 0 4 6)); LayerSetCharWidths m ('a') (5);\n"
                         L"CreateLayer add; LayerSetImage add 'atlas.png'; LayerSetAscent add 6; LayerSetOffset add (10 0);\n"
                         L"LayerSetColorAdd add (0.5 0 0 0);\n"
                         L"LayerSetImageMap add ('a') ((0 0 4 6)); LayerSetCharWidths add ('a') (5);");
    Clear(0, 0, 0);
    font->DrawWString(0, 10, L"a", 0xFFC08040u, 0, true);
    ExpectPixel(1, 5, 0xC0, 0x80, 0x40);
    ExpectPixel(11, 5, 0xFF, 0x80, 0x40);  // 0xC0 + 0x7F stops at 255
}

TEST_F(ImageFontTest, GlyphPoolEndsLongTexts)
{
    auto font = MakeFont(kTwoLayers);
    const std::wstring text(5000, L'A');
    int width = 0;
    std::vector<SDL_Rect> rects = Rects(*font, text, &width);
    EXPECT_EQ(4096u, rects.size());
    EXPECT_EQ(2048 * 6, width);
    EXPECT_EQ(4999 * 6 + 5, font->WStringWidth(text));
}

TEST_F(ImageFontTest, ClonesShareTheDescriptor)
{
    for (bool deleteOriginal : {true, false}) {
        auto original = MakeFont(kTwoLayers);
        std::unique_ptr<TMyFont> copy = original->Clone();
        ImageFont* kept = deleteOriginal ? static_cast<ImageFont*>(copy.get()) : original.get();
        if (deleteOriginal) original.reset();
        else copy.reset();
        EXPECT_EQ(7, kept->WStringWidth(L"AB"));
        Clear(128, 128, 128);
        kept->DrawWString(10, 20, L"AB", kWhite, 0, true);
        ExpectPixel(13, 14, 0, 255, 0);
    }
}

TEST_F(ImageFontTest, ExtremeValuesStayInRange)
{
    auto font = MakeFont(
        L"CreateLayer m; LayerSetImage m 'atlas.png'; LayerSetAscent m -2147483648; LayerSetSpacing m 2147483647;\n"
        L"LayerSetOffset m (2147483647 2147483647); LayerSetBaseOrder m 2147483647;\n"
        L"LayerSetImageMap m ('a') ((0 0 4 6)); LayerSetCharWidths m ('a') (2147483647);\n"
        L"LayerSetCharOffsets m ('a') ((2147483647 2147483647)); LayerSetCharOrders m ('a') (2147483647);\n"
        L"LayerSetKerningPairs m ('aa') (127);");
    int width = 0;
    std::vector<SDL_Rect> rects = Rects(*font, L"aa", &width);
    EXPECT_EQ(2147483647, width);
    EXPECT_EQ(2147483647, font->WStringWidth(L"aa"));
    EXPECT_EQ(2147483647, font->StringWidth(L"aa"));
    EXPECT_EQ(2147483647, font->CharWidthKern8('a', 'a'));
    ASSERT_EQ(2u, rects.size());
    EXPECT_EQ(2147483647, rects[0].x);
    EXPECT_EQ(2147483647, rects[0].y);
    font->DrawWString(0, 10, L"aa", kWhite, 0, true);
    font->SetScale(0.5f);
    EXPECT_EQ(1073741824, font->WCharWidth('a'));
    font->DrawWString(-2147483647, 10, L"aa", kWhite, 0, true);
}

TEST_F(ImageFontTest, CodesAbove16BitsHaveNoGlyph)
{
    auto font = MakeFont(kTwoLayers);
    int width = 0;
    std::vector<SDL_Rect> rects = Rects(*font, L"A\U00010041", &width);
    EXPECT_EQ(2u, rects.size());
    EXPECT_EQ(6, width);
    EXPECT_EQ(5, font->WStringWidth(L"A\U00010041"));
    EXPECT_EQ(font->CharWidthKern8(65, 65), font->CharWidthKern8(65, 321));
    EXPECT_EQ(6, font->CharWidthKern8(65, 65));
}

TEST_F(ImageFontTest, ScaledLayersDrawFromTheirAtlas)
{
    auto font = MakeFont(std::wstring(kTwoLayers) + L"LayerSetPointSize main 10; LayerSetPointSize shadow 10;"
                                                    L"SetDefaultPointSize 10;");
    EXPECT_EQ(7, font->WStringWidth(L"AB"));
    font->SetPointSize(20);
    EXPECT_EQ(14, font->WStringWidth(L"AB"));
    EXPECT_EQ(12, font->GetAscent());
    Clear(128, 128, 128);
    std::vector<SDL_Rect> rects;
    font->DrawWStringEx(10, 30, L"A", kWhite, 0, &rects, nullptr, true);
    ASSERT_EQ(2u, rects.size());
    EXPECT_EQ((SDL_Rect{10, 18, 8, 12}), rects[0]);
    ExpectPixel(10, 18, 255, 0, 0);
    ExpectPixel(17, 29, 255, 0, 0);
    ExpectPixel(18, 18, 128, 128, 128);  // the atlas is transparent beside the glyph
    ExpectPixel(19, 31, 64, 64, 64, 1);  // the shadow at twice its offset
    // The frame after the atlas was built clears as before.
    Clear(0, 0, 255);
    ExpectPixel(0, 0, 0, 0, 255);
}

TEST_F(ImageFontTest, AtlasBuiltWhileDrawingIntoATextureKeepsThatTarget)
{
    auto font = MakeFont(std::wstring(kTwoLayers) + L"LayerSetPointSize main 10; SetDefaultPointSize 10;");
    SDL_Texture* target = SDL_CreateTexture(mRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 40, 40);
    ASSERT_NE(nullptr, target);
    ASSERT_EQ(0, SDL_SetRenderTarget(mRenderer, target));
    SDL_RenderSetScale(mRenderer, 2.0f, 2.0f);
    SDL_Rect viewport{2, 3, 10, 12};
    SDL_RenderSetViewport(mRenderer, &viewport);
    SDL_SetRenderDrawColor(mRenderer, 1, 2, 3, 4);
    font->SetPointSize(20);
    font->EnsureActive();
    ASSERT_TRUE(font->GetActiveLayers()[0]->mTexture);
    EXPECT_EQ(target, SDL_GetRenderTarget(mRenderer));
    float sx = 0, sy = 0;
    SDL_RenderGetScale(mRenderer, &sx, &sy);
    EXPECT_EQ(2.0f, sx);
    EXPECT_EQ(2.0f, sy);
    SDL_Rect now{0, 0, 0, 0};
    SDL_RenderGetViewport(mRenderer, &now);
    EXPECT_EQ(viewport, now);
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(mRenderer, &r, &g, &b, &a);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), (std::vector<int>{r, g, b, a}));
    SDL_SetRenderTarget(mRenderer, nullptr);
    SDL_DestroyTexture(target);
}

TEST_F(ImageFontTest, OversizedAtlasIsNotBuilt)
{
    const int before = GetLiveTextureCount();
    auto font = MakeFont(L"CreateLayer m; LayerSetImage m 'atlas.png'; LayerSetPointSize m 1; LayerSetAscent m 6;\n"
                         L"LayerSetImageMap m ('a') ((0 0 4 6)); LayerSetCharWidths m ('a') (5);");
    const int withImage = GetLiveTextureCount();
    EXPECT_EQ(before + 1, withImage);
    font->SetPointSize(100000);
    Clear(0, 0, 0);
    std::vector<SDL_Rect> rects;
    font->DrawWStringEx(0, 10, L"a", kWhite, 0, &rects, nullptr, true);
    ASSERT_EQ(1u, rects.size());
    EXPECT_EQ(400000, rects[0].w);
    EXPECT_EQ(withImage, GetLiveTextureCount());
    EXPECT_FALSE(font->GetActiveLayers()[0]->mTexture);
    EXPECT_EQ((SDL_Rect{0, 0, 0, 0}), DrawnBox(0, 0, 0));
}

TEST_F(ImageFontTest, EmptyFontFromAFailedDescriptor)
{
    auto data = Read(L"CreateLayer m; LayerSetImage m 'atlas.png'; LayerSetCharWidths m ('a') (5); Frob;");
    ImageFont font(data.release());
    int width = -1;
    std::vector<SDL_Rect> rects = Rects(font, L"a", &width);
    EXPECT_TRUE(rects.empty());
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, font.WStringWidth(L"a"));
    EXPECT_TRUE(font.GetActiveLayers().empty());
}

}  // namespace
