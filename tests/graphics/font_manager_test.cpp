#include "graphics/font_manager.h"

#include <SDL_image.h>
#include <tinyxml.h>

#include <dirent.h>

#include <set>

#include "core/xml_document.h"
#include "font_fixture.h"
#include "log_watch.h"

namespace {

class FontManagerTest : public FontTest {
protected:
    void TearDown() override
    {
        TFontManager::Destroy();
        FontTest::TearDown();
    }

    bool LoadRegistry(const std::string& xml)
    {
        if (!WriteWholeFile(AssetPath("fonts.xml"), xml)) return false;
        TiXmlElement* root = LoadXmlDocument("fonts.xml");
        bool ok = TFontManager::Instance()->Load(root);
        DeleteCurrentXmlDocument();
        return ok;
    }
};

const wchar_t kOneGlyph[] = L"CreateLayer m; LayerSetImage m '%s'; LayerSetAscent m 6;\n"
                            L"LayerSetImageMap m ('a') ((0 0 4 6)); LayerSetCharWidths m ('a') (%d);";

std::wstring OneGlyph(const char* image, int advance)
{
    wchar_t text[512];
    swprintf(text, 512, kOneGlyph, image, advance);
    return text;
}

TEST_F(FontManagerTest, RegistryByIdWithReplacedAndMissingFonts)
{
    SolidPng("fonts/other.png", 8, 8, SDL_Color{255, 255, 255, 255});
    WriteScript("one.txt", OneGlyph("atlas.png", 5));
    WriteScript("two.txt", OneGlyph("other.png", 7));
    const int before = GetLiveTextureCount();
    TLogWatch log;
    ASSERT_TRUE(LoadRegistry("<fonts><font id='x' name='fonts/one.txt'/><font id='y' name='fonts/one.txt'/>"
                             "<font id='x' name='fonts/two.txt'/><font id='gone' name='fonts/none.txt'/></fonts>"));
    EXPECT_EQ(7, TFontManager::Instance()->GetFont("x")->WCharWidth('a'));
    EXPECT_EQ(5, TFontManager::Instance()->GetFont("y")->WCharWidth('a'));
    // The replaced font is gone with its image: "y" and the second "x" hold one each.
    EXPECT_EQ(before + 2, GetLiveTextureCount());
    EXPECT_EQ(nullptr, TFontManager::Instance()->GetFont("z"));
    ImageFont* gone = TFontManager::Instance()->GetFont("gone");
    ASSERT_NE(nullptr, gone);
    EXPECT_EQ(0, gone->WStringWidth(L"a"));
    EXPECT_TRUE(log.Has("error load font file fonts/none.txt"));
}

TEST_F(FontManagerTest, DestroyLeavesNoTextureBehind)
{
    WriteScript("one.txt", OneGlyph("atlas.png", 5));
    const int before = GetLiveTextureCount();
    ASSERT_TRUE(LoadRegistry("<fonts><font id='x' name='fonts/one.txt'/></fonts>"));
    ImageFont* font = TFontManager::Instance()->GetFont("x");
    font->DrawWString(0, 10, L"aaa", 0xFFFFFFFFu, 0, true);
    font->SetScale(0.5f);
    font->DrawWString(0, 10, L"aaa", 0xFFFFFFFFu, 0, true);
    TFontManager::Destroy();
    EXPECT_EQ(before, GetLiveTextureCount());
}

// The fonts the game ships, read from the canvas's assets/ through a link.
class ShippedFontsTest : public FontManagerTest {
protected:
    void SetUp() override
    {
        Open(160, 128);
        ASSERT_EQ(0, symlink(BRISALO_ASSETS "/fonts", AssetPath("fonts").c_str()));
        TiXmlElement* root = LoadXmlDocument(BRISALO_ASSETS "/fonts.xml");
        ASSERT_NE(nullptr, root);
        for (TiXmlElement* e = root->FirstChildElement("font"); e; e = e->NextSiblingElement("font"))
            mIds.push_back(e->Attribute("id"));
        DeleteCurrentXmlDocument();
        ASSERT_TRUE(LoadRegistry(ReadWholeFile(BRISALO_ASSETS "/fonts.xml")));
    }

    // Every character of the second cells of termins.xml, '#' being a line break.
    static std::set<wchar_t> TextCharacters()
    {
        std::set<wchar_t> out;
        TiXmlDocument doc;
        EXPECT_TRUE(ParseXmlText(&doc, ReadWholeFile(BRISALO_ASSETS "/termins.xml")));
        TiXmlElement* table = doc.RootElement()->FirstChildElement("Worksheet")->FirstChildElement("Table");
        for (TiXmlElement* row = table->FirstChildElement("Row"); row; row = row->NextSiblingElement("Row")) {
            TiXmlElement* cell = row->FirstChildElement("Cell");
            if (!cell || !(cell = cell->NextSiblingElement("Cell"))) continue;
            TiXmlElement* data = cell->FirstChildElement("Data");
            if (!data || !data->GetText()) continue;
            for (wchar_t c : ToWide(data->GetText()))
                if (c != L'#' && c != L'\n' && c != L'\r') out.insert(c);
        }
        return out;
    }

    std::vector<std::string> mIds;
};

TEST_F(ShippedFontsTest, EveryFontLoadsWithItsMetrics)
{
    EXPECT_EQ(7u, mIds.size());
    std::set<wchar_t> chars = TextCharacters();
    EXPECT_GT(chars.size(), 40u);
    for (wchar_t c = 0x410; c <= 0x44F; ++c) chars.insert(c);
    for (const std::string& id : mIds) {
        ImageFont* font = TFontManager::Instance()->GetFont(id);
        ASSERT_NE(nullptr, font) << id;
        ASSERT_TRUE(font->GetDescriptor()->IsLoaded()) << id;
        EXPECT_GT(font->GetAscent(), 0) << id;
        EXPECT_GT(font->GetHeight(), font->GetAscent()) << id;
        for (wchar_t c : chars) EXPECT_GT(font->WCharWidth(c), 0) << id << " U+" << std::hex << int(c);
    }
    ImageFont* font = TFontManager::Instance()->GetFont("default");
    EXPECT_EQ(font->WCharWidth('A') + font->WCharWidth('V') - 1, font->WStringWidth(L"AV"));
}

TEST_F(ShippedFontsTest, EveryFontALayoutNamesIsRegistered)
{
    const std::string folder = BRISALO_ASSETS "/ui";
    DIR* dir = opendir(folder.c_str());
    ASSERT_NE(nullptr, dir);
    int named = 0;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".xml") != 0) continue;
        const std::string text = ReadWholeFile(folder + "/" + name);
        for (size_t at = text.find(" font=\""); at != std::string::npos; at = text.find(" font=\"", at + 1)) {
            size_t begin = at + 7;
            std::string id = text.substr(begin, text.find('"', begin) - begin);
            EXPECT_NE(nullptr, TFontManager::Instance()->GetFont(id)) << name << " names font " << id;
            ++named;
        }
    }
    closedir(dir);
    EXPECT_GT(named, 0);
}

TEST_F(ShippedFontsTest, GlyphsDrawTheirAtlasCoverage)
{
    const int penX = 50, baseline = 80;
    for (const char* id : {"small", "default", "button", "big", "title"}) {
        ImageFont* font = TFontManager::Instance()->GetFont(id);
        ASSERT_NE(nullptr, font);
        const FontLayer* main = font->GetDescriptor()->FindLayer(L"main");
        ASSERT_NE(nullptr, main);
        SDL_Surface* atlas = IMG_Load(main->mImage->GetPath().c_str());
        ASSERT_NE(nullptr, atlas) << id;
        SDL_Surface* rgba = SDL_ConvertSurfaceFormat(atlas, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(atlas);
        int drawn = 0;
        for (int code = 0; code <= 0xFFFF; ++code) {
            const CharData* c = main->GetChar(code);
            if (!c || c->mWidth <= 0) continue;
            Clear(0, 0, 0);
            font->DrawWString(penX, baseline, std::wstring(1, static_cast<wchar_t>(code)), 0xFFFFFFFFu, 0, true);
            int bad = 0;
            for (int j = 0; j < c->mHeight; ++j)
                for (int i = 0; i < c->mWidth; ++i) {
                    const uint8_t* row = static_cast<const uint8_t*>(rgba->pixels) + (c->mY + j) * rgba->pitch;
                    int alpha = row[(c->mX + i) * 4 + 3];
                    TPixel p = Pixel(penX + c->mOffsetX + i, baseline - main->mAscent + c->mOffsetY + j);
                    if (std::abs(p.r - alpha) > 1 || p.r != p.g || p.g != p.b) ++bad;
                }
            EXPECT_EQ(0, bad) << id << " U+" << std::hex << code;
            if (bad) SaveFrame();
            ++drawn;
        }
        SDL_FreeSurface(rgba);
        EXPECT_GT(drawn, 250) << id;
    }
}

TEST_F(ShippedFontsTest, TitleCastsItsShadowDownRight)
{
    ImageFont* font = TFontManager::Instance()->GetFont("title");
    std::vector<SDL_Rect> rects;
    Clear(0, 0, 0);
    font->DrawWStringEx(20, 80, L"I", 0xFFFFFFFFu, 0, &rects, nullptr, true);
    ASSERT_EQ(2u, rects.size());
    EXPECT_EQ((SDL_Rect{rects[0].x + 2, rects[0].y + 2, rects[0].w, rects[0].h}), rects[1]);
    SDL_Rect ink = DrawnBox(0, 0, 0);  // on black only the white glyph shows
    ASSERT_GT(ink.w, 0);

    Clear(255, 255, 255);
    font->DrawWString(20, 80, L"I", 0xFFFFFFFFu, 0, true);
    EXPECT_EQ((SDL_Rect{ink.x + 2, ink.y + 2, ink.w, ink.h}), DrawnBox(255, 255, 255));
    // Beside the glyph's right edge, half way down: the shadow alone, half black.
    EXPECT_NEAR(128, Pixel(ink.x + ink.w, ink.y + ink.h / 2).r, 2);
}

TEST_F(ShippedFontsTest, ScaledDefaultDoublesExactly)
{
    std::unique_ptr<TMyFont> copy = TFontManager::Instance()->GetFont("default")->Clone();
    ImageFont* font = static_cast<ImageFont*>(copy.get());
    const std::wstring text = L"Number Mosaic: AVATAR, Ж and é";
    const int at20 = font->WStringWidth(text);
    font->SetPointSize(40);
    EXPECT_EQ(2 * at20, font->WStringWidth(text));

    const FontLayer* main = font->GetDescriptor()->FindLayer(L"main");
    int inked = 0;
    for (int code = 0; code <= 0xFFFF; ++code) {
        const CharData* c = main->GetChar(code);
        if (!c || c->mWidth <= 0) continue;
        Clear(0, 0, 0);
        std::vector<SDL_Rect> rects;
        font->DrawWStringEx(50, 90, std::wstring(1, static_cast<wchar_t>(code)), 0xFFFFFFFFu, 0, &rects, nullptr, true);
        ASSERT_EQ(1u, rects.size());
        SDL_Rect box = DrawnBox(0, 0, 0);
        const SDL_Rect& r = rects[0];
        bool inside = box.w > 0 && box.x >= r.x && box.y >= r.y && box.x + box.w <= r.x + r.w && box.y + box.h <= r.y + r.h;
        EXPECT_TRUE(inside) << "U+" << std::hex << code << " drawn " << box << " in " << r;
        ++inked;
    }
    EXPECT_GT(inked, 250);
}

}  // namespace
