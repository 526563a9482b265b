#include "game/difficulty.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tinyxml.h>

#include "core/buffer.h"
#include "core/localization.h"
#include "core/system.h"
#include "core/xml_document.h"
#include "log_watch.h"
#include "test_support.h"

namespace {

struct TParsed {
    TiXmlDocument doc;
    explicit TParsed(const char* text) { ParseXmlText(&doc, text); }
    const TiXmlElement* Root() const { return doc.RootElement(); }
};

void ExpectPreset(const TBasePaintByNumberSettings& p, int usetimer, int recharge, int errors, float secs)
{
    EXPECT_EQ(p.usetimer, usetimer);
    EXPECT_EQ(p.fillcolorrecharge, recharge);
    EXPECT_EQ(p.maxerrorscount, errors);
    EXPECT_FLOAT_EQ(p.secsperonecell, secs);
}

}  // namespace

TEST(DifficultyRanges, StartZeroedAndTakeDefaultsOnlyFromABareRoot)
{
    TDifficultyRanges fresh;
    EXPECT_EQ(fresh.fillcolorrechargemin + fresh.fillcolorrechargemax + fresh.errorsmin + fresh.errorsmax +
                  fresh.secsperonecellmin + fresh.secsperonecellmax,
              0);

    TParsed bare("<gamesettings><overcolor/></gamesettings>");
    TDifficultyRanges ranges;
    ranges.LoadXml(bare.Root());
    EXPECT_EQ(ranges.fillcolorrechargemin, 30);
    EXPECT_EQ(ranges.fillcolorrechargemax, 120);
    EXPECT_EQ(ranges.errorsmin, 1);
    EXPECT_EQ(ranges.errorsmax, 15);
    EXPECT_EQ(ranges.secsperonecellmin, 2);
    EXPECT_EQ(ranges.secsperonecellmax, 10);
    EXPECT_TRUE(ranges.presets.empty());
}

TEST(DifficultyRanges, PresetsKeepTheirDefaultsForMissingAttributes)
{
    TParsed xml("<r errorsmin=\"3\"><settings usetimer=\"1\"/><baseovercolor/>"
                "<settings fillcolorrecharge=\"50+10\" secsperonecell=\"2.5\"/></r>");
    TDifficultyRanges ranges;
    ranges.LoadXml(xml.Root());
    EXPECT_EQ(ranges.errorsmin, 3);
    ASSERT_EQ(ranges.presets.size(), 2u);
    ExpectPreset(ranges.presets[0], 1, 30, 0, 2.0f);
    ExpectPreset(ranges.presets[1], 0, 60, 0, 2.5f);
}

TEST(DifficultyPreset, BinaryFormIsSixteenBytesOutOfFieldOrder)
{
    TBasePaintByNumberSettings preset;
    preset.fillcolorrecharge = 30;
    preset.usetimer = 1;
    preset.maxerrorscount = 5;
    preset.secsperonecell = 2.5f;
    TBaseBuffer buffer;
    preset.SaveBinary(buffer);
    std::string bytes(buffer.Bytes().begin(), buffer.Bytes().end());
    EXPECT_EQ(ToHex(bytes), ToHex(HexBytes("1E 00 00 00 01 00 00 00 05 00 00 00 C4 09 00 00")));

    TBasePaintByNumberSettings back;
    back.LoadBinary(buffer);
    ExpectPreset(back, 1, 30, 5, 2.5f);

    // Thousandths truncate: 0.0019 keeps 1 and reads back as 0.001.
    TBasePaintByNumberSettings tiny;
    tiny.secsperonecell = 0.0019f;
    TBaseBuffer small;
    tiny.SaveBinary(small);
    EXPECT_EQ(small.Bytes()[12], 1);
    TBasePaintByNumberSettings tinyBack;
    tinyBack.LoadBinary(small);
    EXPECT_EQ(tinyBack.secsperonecell, 0.001f);
}

TEST(ShippedData, SettingsXmlHoldsFourSanePresetsWithCasualFirst)
{
    TiXmlDocument doc;
    ASSERT_TRUE(ReadXmlDocumentFile(&doc, BRISALO_ASSETS "/settings.xml"));
    TDifficultyRanges ranges;
    ranges.LoadXml(doc.RootElement());
    ASSERT_EQ(ranges.presets.size(), 4u);
    TBasePaintByNumberSettings construction;
    ExpectPreset(ranges.presets[0], construction.usetimer, construction.fillcolorrecharge,
                 construction.maxerrorscount, construction.secsperonecell);
    EXPECT_LT(ranges.fillcolorrechargemin, ranges.fillcolorrechargemax);
    EXPECT_LT(ranges.errorsmin, ranges.errorsmax);
    EXPECT_LT(ranges.secsperonecellmin, ranges.secsperonecellmax);
    EXPECT_GE(ranges.secsperonecellmin, 1);
}

TEST(ShippedData, EveryStarDescriptionHasItsText)
{
    TLocalization table;
    ASSERT_TRUE(table.Load(BRISALO_ASSETS "/termins.xml"));
    const char* keys[] = {"star_completelevel", "star_0hint", "star_1hint",  "star_2hint",  "star_3hint",
                          "star_4hint",         "star_5hint", "star_6hint",  "star_0error", "star_1error",
                          "star_2error",        "star_3error", "star_4error", "star_time"};
    for (const char* key : keys) EXPECT_NE(table.GetTextNarrow(key), key) << key;
    EXPECT_NE(table.GetTextNarrow("star_time").find("$$"), std::string::npos);
}

class MosaicStars : public ::testing::Test {
protected:
    void SetUp() override { InitMosaicStars(); }

    bool Passes(const char* key, const TLevelPlayStats& stats)
    {
        const TMosaicStar* star = FindMosaicStar(key);
        EXPECT_NE(star, nullptr) << key;
        return star && star->Check(stats);
    }
};

TEST_F(MosaicStars, RegistryHoldsEighteenExactKeys)
{
    const char* keys[] = {"complete", "0hint",  "1hint",  "2hint",  "3hint",  "4hint",
                          "5hint",    "6hint",  "0error", "1error", "2error", "3error",
                          "4error",   "5error", "75time", "80time", "85time", "90time"};
    for (const char* key : keys) {
        const TMosaicStar* star = FindMosaicStar(key);
        ASSERT_NE(star, nullptr) << key;
        EXPECT_EQ(star->Key(), key);
    }
    EXPECT_EQ(FindMosaicStar("Complete"), nullptr);
    EXPECT_EQ(FindMosaicStar("complete "), nullptr);
    EXPECT_EQ(FindMosaicStar(""), nullptr);
    EXPECT_EQ(FindMosaicStar("5error")->DescriptionKey(), "star_4error");
    InitMosaicStars();  // a second fill replaces, it does not duplicate
    EXPECT_NE(FindMosaicStar("90time"), nullptr);
}

TEST_F(MosaicStars, HintAndErrorLimits)
{
    struct Case {
        const char* key;
        int hints;
        int errors;
        bool passes;
    } cases[] = {
        {"complete", 99, 99, true}, {"0hint", 0, 0, true},    {"0hint", 1, 0, false},  {"1hint", 1, 0, true},
        {"2hint", 3, 0, false},     {"3hint", 2, 0, true},    {"3hint", 3, 0, false},  {"4hint", 3, 0, true},
        {"5hint", 5, 0, false},     {"6hint", 5, 0, true},    {"6hint", 6, 0, false},  {"0error", 0, 1, false},
        {"3error", 0, 3, true},     {"4error", 0, 5, false},  {"5error", 0, 5, false}, {"5error", 0, 4, true},
        {"1error", 0, -1, true},
    };
    for (const Case& c : cases) {
        TLevelPlayStats stats;
        stats.mHintsUsed = c.hints;
        stats.mErrors = c.errors;
        EXPECT_EQ(Passes(c.key, stats), c.passes) << c.key << " hints " << c.hints << " errors " << c.errors;
    }
}

TEST_F(MosaicStars, TimeRulesCompareTheRatioInFloat)
{
    TLevelPlayStats stats;
    stats.mSecondsUsed = 90.0f;
    stats.mSecondsAllowed = 100.0f;
    EXPECT_TRUE(Passes("90time", stats));
    EXPECT_FALSE(Passes("85time", stats));
    stats.mSecondsUsed = 75.0f;
    EXPECT_TRUE(Passes("75time", stats));

    for (float used : {0.0f, 10.0f}) {
        stats.mSecondsUsed = used;
        stats.mSecondsAllowed = 0.0f;
        for (const char* key : {"75time", "80time", "85time", "90time"})
            EXPECT_FALSE(Passes(key, stats)) << key << " used " << used;
    }
}

TEST(StarTime, MinutesModuloSixtyAndPaddedSeconds)
{
    struct Case {
        float seconds;
        const char* text;
    } cases[] = {
        {125.7f, "2 : 05"}, {3600.0f, "0 : 00"}, {59.0f, "0 : 59"}, {-5.0f, "0 : 00"},
        {70.0f, "1 : 10"},  {1e20f, "14 : 07"},   {NAN, "0 : 00"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatStarTime(c.seconds), c.text) << c.seconds;
}

TEST_F(MosaicStars, DescriptionsComeFromTheTextsWithTheTimeFilledIn)
{
    const char fixture[] =
        "<?xml version=\"1.0\"?><Workbook><Worksheet><Table>"
        "<Row><Cell><Data>star_time</Data></Cell><Cell><Data>in $$ or $$!</Data></Cell></Row>"
        "<Row><Cell><Data>star_4error</Data></Cell><Cell><Data>four</Data></Cell></Row>"
        "</Table></Worksheet></Workbook>";
    ASSERT_TRUE(WriteWholeFile(GetSystem()->UserFolder() + "/star_termins.xml", fixture));
    ASSERT_TRUE(GetLocalization()->Load("user:star_termins.xml"));
    TLevelPlayStats stats;
    stats.mSecondsAllowed = 125.7f;
    EXPECT_EQ(FindMosaicStar("80time")->GetDescription(stats), L"in 2 : 05 or 2 : 05!");
    EXPECT_EQ(FindMosaicStar("5error")->GetDescription(stats), L"four");
    DestroyLocalization();
}

TEST(DifficultyRanges, APresetPastTheListReadsAsDefaultsAndIsLogged)
{
    TParsed two("<gamesettings><settings usetimer=\"1\" fillcolorrecharge=\"40\" maxerrorscount=\"3\" "
                "secsperonecell=\"4\"/><settings/></gamesettings>");
    TDifficultyRanges ranges;
    ranges.LoadXml(two.Root());
    ASSERT_EQ(ranges.presets.size(), 2u);
    TLogWatch log;
    ExpectPreset(ranges.Preset(0), 1, 40, 3, 4.0f);
    EXPECT_FALSE(log.Has("settings.xml: no difficulty preset 0, defaults used"));
    for (int index : {2, 3, -1}) {
        ExpectPreset(ranges.Preset(index), 0, 30, 0, 2.0f);
        EXPECT_TRUE(log.Has("settings.xml: no difficulty preset " + std::to_string(index) + ", defaults used"));
    }
}
