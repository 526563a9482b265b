#include "core/localization.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/system.h"
#include "test_support.h"

namespace {

const char kFixture[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Workbook xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n"
    " <Worksheet><Table>\n"
    "  <Row><Cell><Data>GAMENAME</Data></Cell><Cell><Data>Mosaic &#1046;</Data></Cell></Row>\n"
    "  <Row><Cell><Data>lines</Data></Cell><Cell><Data>a#b</Data></Cell></Row>\n"
    "  <Row><Cell><Data>rich</Data></Cell><Cell><ss:Data><Font>rich text</Font></ss:Data></Cell></Row>\n"
    "  <Row><Cell><Data>lonely</Data></Cell></Row>\n"
    "  <Row><Cell><Data></Data></Cell><Cell><Data>no key</Data></Cell></Row>\n"
    "  <Row><Cell><Data>twice</Data></Cell><Cell><Data>first</Data></Cell></Row>\n"
    "  <Row><Cell><Data>Twice</Data></Cell><Cell><Data>last</Data></Cell><Cell><Data>ignored</Data></Cell></Row>\n"
    " </Table></Worksheet>\n"
    "</Workbook>\n";

class LocalizationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteWholeFile(GetSystem()->UserFolder() + "/fixture_termins.xml", kFixture)); }
    TLocalization mTable;
};

}  // namespace

TEST_F(LocalizationTest, KeysMatchInAnyAsciiCase)
{
    ASSERT_TRUE(mTable.Load("user:fixture_termins.xml"));
    EXPECT_EQ(mTable.GetText("GameName"), (std::wstring(L"Mosaic ") + wchar_t(0x416)));
    EXPECT_EQ(mTable.GetText("gamename"), mTable.GetText("GAMENAME"));
    // Narrow text is Latin-1: a character above U+00FF leaves nothing.
    EXPECT_EQ(mTable.GetTextNarrow("GameName"), "");
    EXPECT_EQ(mTable.GetTextNarrow("LINES"), "a\nb");
}

TEST_F(LocalizationTest, RowsAndCells)
{
    ASSERT_TRUE(mTable.Load("user:fixture_termins.xml"));
    EXPECT_EQ(mTable.GetText("lines"), L"a\nb");
    EXPECT_EQ(mTable.GetText("rich"), L"rich text");
    EXPECT_EQ(mTable.GetText("lonely"), L"lonely");
    EXPECT_EQ(mTable.GetText("twice"), L"last");
    EXPECT_EQ(mTable.GetText("Unknown_Key"), L"Unknown_Key");
    EXPECT_EQ(mTable.GetTextNarrow("Unknown_Key"), "Unknown_Key");
    EXPECT_EQ(mTable.GetText(""), L"");
    // The row without a key is skipped: "" has no text, and the rows without text neither.
    EXPECT_EQ(mTable.GetTextNarrow(""), "");
    EXPECT_EQ(mTable.Size(), 4u);
}

TEST_F(LocalizationTest, BrokenTablesLeaveKeysShowing)
{
    EXPECT_FALSE(mTable.Load("user:no_such_termins.xml"));
    EXPECT_EQ(mTable.GetText("GameName"), L"GameName");
    EXPECT_EQ(mTable.GetTextNarrow("GameName"), "GameName");

    ASSERT_TRUE(WriteWholeFile(GetSystem()->UserFolder() + "/flat.xml", "<Workbook><Table/></Workbook>"));
    EXPECT_FALSE(mTable.Load("user:flat.xml"));
}

namespace {
// Sets or unsets an environment variable for the life of the object.
class TEnvScope {
public:
    TEnvScope(const char* name, const char* value) : mName(name)
    {
        if (const char* old = getenv(name)) {
            mHad = true;
            mOld = old;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~TEnvScope()
    {
        if (mHad)
            setenv(mName.c_str(), mOld.c_str(), 1);
        else
            unsetenv(mName.c_str());
    }

private:
    std::string mName;
    std::string mOld;
    bool mHad = false;
};
}  // namespace

// Every variable that picks the user's locale names one that is not installed.
TEST_F(LocalizationTest, UninstalledUserLocaleDoesNotStopTheGame)
{
    {
        TEnvScope lang("LANG", "xx_YY.UTF-8");
        TEnvScope all("LC_ALL", "xx_YY.UTF-8");
        TEnvScope ctype("LC_CTYPE", nullptr);
        DestroyLocalization();
        TLocalization* table = GetLocalization();
        ASSERT_NE(table, nullptr);
        EXPECT_TRUE(table->Load("user:fixture_termins.xml"));
        EXPECT_EQ(table->Widen("\xD0\x96"), std::wstring(1, 0x416));
        // Narrow is UTF-8, Widen's inverse: a Cyrillic name survives the round trip.
        EXPECT_EQ(table->Narrow(std::wstring(1, 0xE9)), "\xC3\xA9");
        EXPECT_EQ(table->Narrow(std::wstring{0x416, 0x43E}), "\xD0\x96\xD0\xBE");
        EXPECT_EQ(table->Widen(table->Narrow(std::wstring{L'A', 0x44F})), (std::wstring{L'A', 0x44F}));
        DestroyLocalization();
    }
    EXPECT_EQ(GetLanguageCode(), "");
    EXPECT_FALSE(IsJapanese());
}

// After shutdown a late caller gets an empty table, the same one each time, never a new
// loaded one.
TEST_F(LocalizationTest, AfterShutdownTheGetterAnswersAnEmptyTable)
{
    DestroyLocalization();
    GetLocalization()->Load("user:fixture_termins.xml");
    DestroyLocalization();
    SetLocalizationShutDown(true);
    TLocalization* late = GetLocalization();
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->Size(), 0u);
    EXPECT_EQ(late->GetText("GameName"), L"GameName");
    EXPECT_EQ(GetLocalization(), late);
    SetLocalizationShutDown(false);
    EXPECT_NE(GetLocalization(), late);
    DestroyLocalization();
}

TEST(ShippedTexts, EveryKeyHasItsText)
{
    TLocalization table;
    ASSERT_TRUE(table.Load(BRISALO_ASSETS "/termins.xml"));
    const char* keys[] = {
        "GameName", "star_completelevel", "star_0hint", "star_1hint", "star_2hint", "star_3hint", "star_4hint",
        "star_5hint", "star_6hint", "star_0error", "star_1error", "star_2error", "star_3error", "star_4error",
        "star_time", "timeisovermessageMosaic", "GameOneColor", "GameThreeColor", "GameShapes", "GameRome",
        "GameLabyrinth", "GameMysteryLands", "GameMixColors", "GameLego", "flyhint1", "flyhint2", "flyhint3",
        "flyhint4", "TipMoveToPaint", "TipChangeColor", "TipScaleFit", "TipUseArrowsToScroll", "TipUseRightMouse",
        "TipDoubleToFill", "TipChangeScale", "TipChangeBackColor", "TipFillAllToComplete", "TipMapClickToPlay",
        "TipMapClickToNextStage", "TipMapLockedCities", "TipContinue", "quit", "sureexit", "wrongresolution",
        "off_txt", "dif_casual1", "dif_casual2", "dif_casual3", "dif_normal1", "dif_normal2", "dif_normal3",
        "dif_expert1", "dif_expert2", "dif_expert3", "NoMorePlayersAvalible", "DeleteWarning", "EnterCorrectName",
        "defaultname",
    };
    for (const char* key : keys) {
        std::wstring text = table.GetText(key);
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_NE(text, std::wstring(key, key + strlen(key))) << key;
    }
    EXPECT_EQ(table.GetText("GameName"), L"Number Mosaic");
    std::string name = table.GetTextNarrow("defaultname");
    EXPECT_LE(name.size(), 10u);
    for (char c : name) EXPECT_TRUE(isalnum(static_cast<unsigned char>(c))) << name;
}
