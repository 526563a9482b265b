#include "game/tilesets.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/app_state.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "log_watch.h"

namespace {

struct TParsed {
    TiXmlDocument doc;
    explicit TParsed(const char* text) { ParseXmlText(&doc, text); }
    TiXmlElement* Root() { return doc.RootElement(); }
};

void ExpectColor(const TFloatColor& c, float r, float g, float b, float a)
{
    EXPECT_NEAR(c.r, r, 0.002f);
    EXPECT_NEAR(c.g, g, 0.002f);
    EXPECT_NEAR(c.b, b, 0.002f);
    EXPECT_NEAR(c.a, a, 0.002f);
}

// Tileset files and their images in a temporary assets folder; the list is released before
// the renderer goes.
class TilesetsTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        MakeFolder("tilesets");
        MakeFolder("tiles");
    }
    void TearDown() override
    {
        ReleaseTilesets();
        CanvasTest::TearDown();
    }
    void Write(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(WriteWholeFile(AssetPath(name), "<?xml version=\"1.0\"?>\n" + text + "\n"));
    }
    // "one" has two tiles sharing a sprite, one without a file and one without a sprite;
    // "two" has one tile of its own.
    void WriteTwoTilesets()
    {
        SolidPng("tiles/a.png", 26, 26, SDL_Color{255, 0, 0, 255});
        SolidPng("tiles/b.png", 26, 26, SDL_Color{0, 0, 255, 255});
        SolidPng("tiles/shape.png", 26, 26, SDL_Color{0, 255, 0, 255});
        Write("tilesets/one.xml",
              "<tileset><tile sprite=\"tiles/a\"/><tile sprite=\"tiles/a\"/><tile sprite=\"tiles/none\"/>"
              "<tile/><numbershapes sprite=\"tiles/shape\"/></tileset>");
        Write("tilesets/two.xml", "<tileset><tile sprite=\"tiles/b\"/></tileset>");
        Write("tilesets/tilesets.xml",
              "<tilesets><tileset name=\"one\" path=\"tilesets/one.xml\"/>"
              "<tileset name=\"two\" path=\"tilesets/two.xml\"/></tilesets>");
    }
    static TTileset& Tileset(int i) { return *GetTilesets()[i]; }
    static TTexture* Tex(int tileset, int tile) { return Tileset(tileset).mTiles[tile]->mImage.GetTexture(); }
};

}  // namespace

TEST(OverColors, BaseColoursInOrderAndALaterIdWins)
{
    TParsed xml(
        "<gamesettings><settings/><baseovercolor color=\"255.0.0.255\"/><baseovercolor color=\"80ff0000\"/>"
        "<overcolor id=\"a\" color=\"0.0.255.255\"/><overcolor id=\"a\" color=\"0.255.0.255\"/>"
        "<overcolor id=\"b\"/><overcolor color=\"255.255.255\"/></gamesettings>");
    TOverColors colors;
    ASSERT_TRUE(colors.LoadXml(xml.Root()));
    ASSERT_EQ(colors.mBaseColors.size(), 2u);
    ExpectColor(colors.mBaseColors[0], 1, 0, 0, 1);
    ExpectColor(colors.mBaseColors[1], 1, 0, 0, 0x80 / 255.0f);
    ASSERT_EQ(colors.mColors.size(), 3u);
    ExpectColor(colors.mColors["a"], 0, 1, 0, 1);
    ExpectColor(colors.mColors["b"], 0, 0, 0, 0);
    EXPECT_EQ(colors.mColors.count(""), 1u) << "an element without id stores under the empty id";
    EXPECT_FALSE(colors.LoadXml(nullptr));
}

TEST(OverColors, TheApplicationStateHoldsTheTableUntilItIsDestroyed)
{
    TOverColors::Destroy();
    ASSERT_EQ(GetAppState().mOverColors, nullptr);
    TOverColors* colors = GetOverColors();
    EXPECT_EQ(GetAppState().mOverColors.get(), colors);
    EXPECT_TRUE(colors->mBaseColors.empty() && colors->mColors.empty());
    EXPECT_EQ(GetOverColors(), colors);
    TOverColors::Destroy();
    EXPECT_EQ(GetAppState().mOverColors, nullptr);
}

TEST(LayoutDescriptors, NegativeLengthsAndFarCoordinatesAreBroughtIn)
{
    TParsed xml("<stagesfile><mosaicinfo collnumbersheight=\"-3\" rownumberswidth=\"-1\" hintx=\"3000000000\" "
                "hinty=\"-2147483648\"/></stagesfile>");
    TLogWatch log;
    ReleaseLayoutDescriptors();
    ReadLayoutDescriptors(xml.Root());
    const TMosaicLayoutInfo& d = *GetLayoutDescriptors().at(0);
    EXPECT_EQ(d.mCollNumbersHeight, 0);
    EXPECT_EQ(d.mRowNumbersWidth, 0);
    EXPECT_EQ(d.mHintX, kMaxFileCoordinate);
    EXPECT_EQ(d.mHintY, -kMaxFileCoordinate);
    const std::string text = log.Text();
    EXPECT_NE(text.find("stages.xml: mosaicinfo \"collnumbersheight\" = \"-3\" is out of range, taken as 0"),
              std::string::npos)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    ReleaseLayoutDescriptors();
}

TEST(LayoutDescriptors, DefaultsAndDocumentOrder)
{
    TParsed xml("<stagesfile><mosaicinfo/><stages/><mosaicinfo id=\"7\" over=\"o\" collnumbersheight=\"3\" "
                "rownumberswidth=\"4\" drawnumberhints=\"1\" hintx=\"1\" hinty=\"2\" hintfont=\"f\"/></stagesfile>");
    ReadLayoutDescriptors(xml.Root());
    const TMosaicLayoutList& list = GetLayoutDescriptors();
    ASSERT_EQ(list.size(), 2u);
    const TMosaicLayoutInfo& d = *list[0];
    const std::string paths[] = {d.mCrossVert,  d.mCrossHorz, d.mOver,        d.mHighlight,
                                 d.mOverNumbers, d.mChain,    d.mRowBack,     d.mColBack,
                                 d.mRowBackLine, d.mColBackLine, d.mBaseNumbers, d.mBaseNumbersLines};
    const char* expected[] = {"textures/tilesets/numbercrossvert",   "textures/tilesets/numbercrosshorz",
                              "textures/tilesets/over",              "textures/tilesets/highlight",
                              "textures/tilesets/overnumbers",       "textures/tilesets/chain",
                              "textures/gui/gamescreen/rowback",     "textures/gui/gamescreen/colback",
                              "textures/gui/gamescreen/rowbackline", "textures/gui/gamescreen/colbackline",
                              "textures/tilesets/basenumbers",       "textures/tilesets/basenumberslines"};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(paths[i], expected[i]);
    EXPECT_EQ(d.mId, "");
    EXPECT_EQ(d.mHintFont, "defaultnumbers");
    EXPECT_EQ(d.mCollNumbersHeight, 0);
    EXPECT_EQ(d.mRowNumbersWidth, 0);
    EXPECT_FALSE(d.mDrawNumberHints);
    EXPECT_EQ(d.mHintX, 10);
    EXPECT_EQ(d.mHintY, 22);

    const TMosaicLayoutInfo& e = *list[1];
    EXPECT_EQ(e.mId, "7");
    EXPECT_EQ(e.mOver, "o");
    EXPECT_EQ(e.mChain, "textures/tilesets/chain");
    EXPECT_EQ(e.mHintFont, "f");
    EXPECT_EQ(e.mCollNumbersHeight, 3);
    EXPECT_EQ(e.mRowNumbersWidth, 4);
    EXPECT_TRUE(e.mDrawNumberHints);
    EXPECT_EQ(e.mHintX, 1);
    EXPECT_EQ(e.mHintY, 2);

    ReleaseLayoutDescriptors();
    EXPECT_TRUE(GetLayoutDescriptors().empty());
}

TEST_F(TilesetsTest, FilesGiveTilesNumberShapesAndNumbers)
{
    MakeFolder("previews");
    SolidPng("previews/p.png", 16, 10, SDL_Color{1, 2, 3, 255});
    Write("tilesets/full.xml",
          "<tileset numbers=\"1, 2,2,3\"><tile/><numbershapes group=\"2\" sprite=\"s\"/>"
          "<tile group=\"1\" type=\"2\" sprite=\"x\" mast=\"3\" overcolor=\"4\"/><other/></tileset>");
    Write("tilesets/tilesets.xml",
          "<tilesets><tileset name=\"full\" path=\"tilesets/full.xml\" preview=\"previews/p\"/>"
          "<tileset name=\"lost\" path=\"tilesets/lost.xml\" preview=\"previews/p\"/><tileset/></tilesets>");
    TLogWatch log;
    LoadTilesets("tilesets/tilesets.xml");
    ASSERT_EQ(GetTilesets().size(), 3u);

    TTileset& full = Tileset(0);
    EXPECT_EQ(full.mName, "full");
    ASSERT_EQ(full.mTiles.size(), 2u);
    const TTile& bare = *full.mTiles[0];
    EXPECT_EQ(bare.mGroup, 0);
    EXPECT_EQ(bare.mType, 0);
    EXPECT_EQ(bare.mSprite, "");
    EXPECT_EQ(bare.mMast, 0);
    EXPECT_EQ(bare.mOverColor, -1);
    const TTile& set = *full.mTiles[1];
    EXPECT_EQ(set.mGroup, 1);
    EXPECT_EQ(set.mType, 2);
    EXPECT_EQ(set.mSprite, "x");
    EXPECT_EQ(set.mMast, 3);
    EXPECT_EQ(set.mOverColor, 4);
    ASSERT_EQ(full.mNumberShapes.size(), 1u);
    EXPECT_EQ(full.mNumberShapes[0]->mGroup, 2);
    EXPECT_EQ(full.mNumbers, (std::set<std::string>{"1", "2", "3"}));
    EXPECT_EQ(full.mLoaded, 0);
    ASSERT_NE(full.mPreview.GetTexture(), nullptr);
    EXPECT_EQ(full.mPreview.GetWidth(), 16);

    TTileset& lost = Tileset(1);
    EXPECT_EQ(lost.mName, "lost");
    EXPECT_TRUE(lost.mTiles.empty());
    EXPECT_TRUE(lost.mNumbers.empty());
    EXPECT_EQ(lost.mPreview.GetTexture(), full.mPreview.GetTexture()) << "the preview is kept";
    EXPECT_TRUE(log.Has("File not found tilesets/lost.xml "));
    EXPECT_EQ(CurrentXmlDocument(), nullptr);
}

TEST_F(TilesetsTest, NoListFileGivesNoTilesets)
{
    TLogWatch log;
    LoadTilesets("tilesets/tilesets.xml");
    EXPECT_TRUE(GetTilesets().empty());
    EXPECT_TRUE(log.Has("File not found tilesets/tilesets.xml "));
    EXPECT_EQ(CurrentXmlDocument(), nullptr);
}

TEST_F(TilesetsTest, SelectionLoadsTheCurrentTilesetOnce)
{
    WriteTwoTilesets();
    LoadTilesets("tilesets/tilesets.xml");
    int live = GetLiveTextureCount();
    LayoutsInit(0);
    EXPECT_EQ(CurrentTilesetIndex(), 0);
    EXPECT_EQ(Tileset(0).mLoaded, 1);
    ASSERT_NE(Tex(0, 0), nullptr);
    EXPECT_EQ(Tex(0, 0), Tex(0, 1)) << "one sprite, one texture";
    EXPECT_EQ(Tex(0, 2), nullptr) << "a sprite naming no file";
    EXPECT_EQ(Tex(0, 3), nullptr);
    EXPECT_EQ(Tileset(0).mNumberShapes[0]->mImage.GetTexture(), nullptr) << "number shapes get no textures";
    EXPECT_EQ(Tex(1, 0), nullptr) << "only the current tileset loads";
    EXPECT_EQ(GetLiveTextureCount(), live + 1);

    // A tileset selected away from keeps its textures until a release finds it current.
    SelectTileset("two");
    EXPECT_EQ(CurrentTilesetIndex(), 1);
    TTexture* b = Tex(1, 0);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(Tex(0, 0), nullptr);
    EXPECT_EQ(GetLiveTextureCount(), live + 2);

    // With its file gone a second load would find nothing: the texture must stay as it is.
    ASSERT_EQ(0, remove(AssetPath("tiles/b.png").c_str()));
    SelectTileset("two");
    EXPECT_EQ(Tex(1, 0), b);
    EXPECT_EQ(GetLiveTextureCount(), live + 2);

    SelectTileset("Two");
    SelectTileset("");
    EXPECT_EQ(CurrentTilesetIndex(), 1) << "no exact match changes nothing";
    EXPECT_EQ(Tex(1, 0), b);

    SolidPng("tiles/b.png", 26, 26, SDL_Color{0, 0, 255, 255});
    ReleaseTilesetTextures();
    EXPECT_EQ(Tex(1, 0), nullptr);
    EXPECT_EQ(Tileset(1).mLoaded, 0);
    EXPECT_NE(Tex(0, 0), nullptr) << "only the current tileset lets go";
    EXPECT_EQ(GetLiveTextureCount(), live + 1);

    // The preview lookup selects too: the released tileset is loaded afresh.
    TTileset* two = FindTileset("two");
    ASSERT_EQ(two, &Tileset(1));
    EXPECT_EQ(two->mLoaded, 1);
    EXPECT_NE(Tex(1, 0), nullptr);
    EXPECT_EQ(FindTileset("three"), nullptr);
    EXPECT_EQ(CurrentTilesetIndex(), 1);
    EXPECT_EQ(FindTileset("one"), &Tileset(0));
    EXPECT_EQ(CurrentTilesetIndex(), 0);
}

TEST_F(TilesetsTest, AnEmptyListTakesIndexZeroAndLoadsNothing)
{
    Write("tilesets/tilesets.xml", "<tilesets/>");
    LoadTilesets("tilesets/tilesets.xml");
    int live = GetLiveTextureCount();
    LayoutsInit(0);
    EXPECT_EQ(CurrentTilesetIndex(), 0);
    ReleaseTilesetTextures();
    EXPECT_EQ(CurrentTilesetIndex(), 0);
    EXPECT_EQ(GetLiveTextureCount(), live);
    EXPECT_EQ(FindTileset(""), nullptr);
}
