#include "game/stages.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/xml_document.h"
#include "game/tilesets.h"
#include "graphics/drawing_fixture.h"
#include "log_watch.h"
#include "sound/sound_manager.h"
#include "sound/sound_test_support.h"

namespace {

using TKeys = std::vector<std::string>;

// A temporary assets folder with a renderer and a sound manager over the loopback device;
// every table "stages.xml" fills is released before the renderer goes.
class StagesTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseSoundOutput(OpenLoopbackOutput);
        MakeFolder("sounds");
        ASSERT_TRUE(WriteWholeFile(AssetPath("sounds/short.ogg"), ReadWholeFile(SoundFile("short.ogg"))));
    }
    void TearDown() override
    {
        ReleaseStages();
        ReleaseLayoutDescriptors();
        ReleaseSoundForNextTest();
        SetAlOutputOpener(nullptr);
        CanvasTest::TearDown();
    }
    void WriteStages(const std::string& body)
    {
        ASSERT_TRUE(WriteWholeFile(AssetPath("stages.xml"), "<?xml version=\"1.0\"?>\n<stagesfile>" + body +
                                                                 "</stagesfile>\n"));
    }
    static TLevelInfoMosaic* Mosaic(int stage, int level, bool usual = false)
    {
        TLevelInfo* info = GetStage(stage, usual)->mLevels[level].get();
        EXPECT_EQ(info->mKind, kLevelMosaic);
        return static_cast<TLevelInfoMosaic*>(info);
    }
};

// Reads one "level" element the way a stage does.
TLevelInfoMosaic ReadMosaic(const std::string& attributes, const std::string& folder = "")
{
    TiXmlDocument doc;
    ParseXmlText(&doc, "<level " + attributes + "/>");
    TLevelInfoMosaic level;
    level.LoadXml(doc.RootElement(), folder);
    return level;
}

}  // namespace

TEST_F(StagesTest, LevelKindsFollowTheTypeAndAnUnknownTypeIsSkipped)
{
    WriteStages(
        "<stages folder=\"f/\"><stage>"
        "<level filename=\"a.png\" name=\"a\"/><level type=\"mahjong\" filename=\"b.png\"/>"
        "<level type=\"xo\" filename=\"c.png\" name=\"c\" tileset=\"t\"/><level type=\"click\" filename=\"d.png\"/>"
        "<level type=\"m3\" filename=\"e.png\"/></stage>"
        "<stage><level filename=\"g.png\"/><level type=\"puzzle\" filename=\"h.png\"/><level filename=\"i.png\"/>"
        "</stage></stages>");
    TLogWatch log;
    LoadStages();

    ASSERT_EQ(GetStageList(false).size(), 2u);
    const auto& first = GetStage(0, false)->mLevels;
    ASSERT_EQ(first.size(), 5u);
    const struct {
        int kind;
        const char* filename;
    } expected[] = {{kLevelMosaic, "f/a.png"}, {kLevelMosaic, "f/b.png"}, {kLevelXo, "f/c.png"},
                    {kLevelClick, "f/d.png"}, {kLevelM3, "f/e.png"}};
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i]->mKind, expected[i].kind) << i;
        EXPECT_EQ(first[i]->mFilename, expected[i].filename) << i;
        EXPECT_EQ(dynamic_cast<TLevelInfoMosaic*>(first[i].get()) != nullptr, expected[i].kind == kLevelMosaic) << i;
    }
    EXPECT_EQ(first[0]->mName, "a");
    EXPECT_EQ(first[2]->mName, "") << "plain records keep the filename only";
    EXPECT_EQ(first[2]->mTileset, "");

    const auto& second = GetStage(1, false)->mLevels;
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0]->mFilename, "f/g.png");
    EXPECT_EQ(second[1]->mFilename, "f/i.png");
    EXPECT_TRUE(log.Has("stages.xml: unknown level type \"puzzle\", level skipped"));
    EXPECT_EQ(TotalLevelCount(GetStageList(false)), 7);
}

TEST(StageLevel, MosaicAttributesAndDefaults)
{
    TLevelInfoMosaic cat = ReadMosaic("filename=\"  cat.png\"", "stage1/");
    EXPECT_EQ(cat.mFilename, "stage1/cat.png");
    EXPECT_EQ(cat.mPictureName, "cat");
    EXPECT_EQ(cat.mKind, kLevelMosaic);
    EXPECT_FLOAT_EQ(cat.mTime, 20.0f);
    EXPECT_EQ(cat.mPreviewType, 1);
    EXPECT_EQ(cat.mHiddenCells, 1);
    EXPECT_EQ(cat.mBackIdx, -1);
    EXPECT_EQ(cat.mSecretIdx, -1);
    EXPECT_EQ(cat.mLayType, 0);
    EXPECT_EQ(cat.mMaxErrors, 0);

    TLevelInfoMosaic full = ReadMosaic(
        "filename=\"dir/Sea Side.png \" laytype=\"2+3\" name=\"n\" time=\"45.5\" tileset=\"pastel\" "
        "secrettileset=\"a, b\" secrets=\"x\" secretpoints=\"3,4;5,6\" maxerrors=\"7\" sound=\"s\" frame=\"fr\" "
        "framepocket=\"fp\" startx=\"1\" starty=\"2\" previewtype=\"2\" hiddencells=\"0\" backidx=\"3\" "
        "secretidx=\"4\" info=\"i\"");
    EXPECT_EQ(full.mFilename, "dir/Sea Side.png ") << "trailing blanks stay";
    EXPECT_EQ(full.mLayType, 5);
    EXPECT_EQ(full.mName, "n");
    EXPECT_FLOAT_EQ(full.mTime, 45.5f);
    EXPECT_EQ(full.mTileset, "pastel");
    EXPECT_EQ(full.mSecretTileset, (TKeys{"a", "b"}));
    EXPECT_EQ(full.mSecrets, (TKeys{"x"}));
    ASSERT_EQ(full.mSecretPoints.size(), 2u);
    EXPECT_EQ(full.mSecretPoints[0].x, 3);
    EXPECT_EQ(full.mSecretPoints[0].y, 4);
    EXPECT_EQ(full.mSecretPoints[1].x, 5);
    EXPECT_EQ(full.mSecretPoints[1].y, 6);
    EXPECT_EQ(full.mMaxErrors, 7);
    EXPECT_EQ(full.mSound, "s");
    EXPECT_EQ(full.mFrame, "fr");
    EXPECT_EQ(full.mFramePocket, "fp");
    EXPECT_EQ(full.mStartX, 1);
    EXPECT_EQ(full.mStartY, 2);
    EXPECT_EQ(full.mPreviewType, 2);
    EXPECT_EQ(full.mHiddenCells, 0);
    EXPECT_EQ(full.mBackIdx, 3);
    EXPECT_EQ(full.mSecretIdx, 4);
    EXPECT_EQ(full.mInfo, "i");
}

TEST(StageLevel, ValuesOutOfRangeAreBroughtInWithOneLineEach)
{
    TLogWatch log;
    TLevelInfoMosaic level = ReadMosaic("time=\"nan\" maxerrors=\"-4\" startx=\"2147483647\" starty=\"-2147483648\"");
    EXPECT_FLOAT_EQ(level.mTime, 20.0f);
    EXPECT_EQ(level.mMaxErrors, 0);
    EXPECT_EQ(level.mStartX, kMaxFileCoordinate);
    EXPECT_EQ(level.mStartY, -kMaxFileCoordinate);
    EXPECT_EQ(log.Text(), "stages.xml: level \"time\" = \"nan\" is out of range, taken as 20\n"
                          "stages.xml: level \"maxerrors\" = \"-4\" is out of range, taken as 0\n"
                          "stages.xml: level \"startx\" = \"2147483647\" is out of range, taken as 1048576\n"
                          "stages.xml: level \"starty\" = \"-2147483648\" is out of range, taken as -1048576\n");
    // Infinity and a negative time.
    EXPECT_FLOAT_EQ(ReadMosaic("time=\"1e39\"").mTime, 20.0f);
    EXPECT_FLOAT_EQ(ReadMosaic("time=\"-3\"").mTime, 0.0f);
}

TEST(StageLevel, StarListsOnePerDifficultyWithTheFirstFillingTheGaps)
{
    const TKeys c0{"complete", "0error"};
    const struct {
        const char* attribute;
        std::vector<TKeys> lists;
    } cases[] = {
        {"", {{}, {}, {}, {}}},
        {"stars=\"complete,0error;complete\"", {c0, {"complete"}, c0, c0}},
        {"stars=\"a;b;c;d;e\"", {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}}},
        {"stars=\" complete , 0error ; ;  , ;90time\"", {c0, c0, {"90time"}, c0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadMosaic(c.attribute).mStars, c.lists) << c.attribute;
}

TEST_F(StagesTest, SecretsReachOnlyMosaicLevelsOfTheFirstList)
{
    WriteStages(
        "<stages><stage><level secretidx=\"0\" framepocket=\"old\"/><level secretidx=\"1\" secrets=\"own\"/>"
        "<level type=\"xo\" secretidx=\"0\"/></stage></stages>"
        "<stagesusual><stage><level secretidx=\"0\"/></stage></stagesusual>"
        "<secrets><level secrettileset=\"pastel\" secrets=\"kite, boat\" secretpoints=\"2,3;5,1\" "
        "framepocket=\"plain\" info=\"hidden\"/></secrets>");
    LoadStages();

    TLevelInfoMosaic* reached = Mosaic(0, 0);
    EXPECT_EQ(reached->mSecretTileset, (TKeys{"pastel"}));
    EXPECT_EQ(reached->mSecrets, (TKeys{"kite", "boat"}));
    ASSERT_EQ(reached->mSecretPoints.size(), 2u);
    EXPECT_EQ(reached->mSecretPoints[1].x, 5);
    EXPECT_EQ(reached->mSecretPoints[1].y, 1);
    EXPECT_EQ(reached->mFramePocket, "plain");
    EXPECT_EQ(reached->mInfos, (TKeys{"hidden"}));

    TLevelInfoMosaic* outside = Mosaic(0, 1);
    EXPECT_EQ(outside->mSecrets, (TKeys{"own"}));
    EXPECT_TRUE(outside->mInfos.empty());

    TLevelInfoMosaic* usual = Mosaic(0, 0, true);
    EXPECT_TRUE(usual->mSecrets.empty());
    EXPECT_TRUE(usual->mInfos.empty());
    EXPECT_EQ(GetSecrets().size(), 1u);
}

TEST_F(StagesTest, LookupsOverBothLists)
{
    FillStageLists({5, 4, 6}, {2, 3});
    const struct {
        int stage, level;
        bool usual;
        int number;
    } numbers[] = {{2, 3, false, 12}, {7, 0, false, 15}, {3, 0, false, 15}, {0, 2, false, 2},
                   {-1, 3, false, 3}, {1, 1, true, 3},   {2, 0, true, 5}};
    for (const auto& n : numbers)
        EXPECT_EQ(GlobalLevelNumber(n.stage, n.level, n.usual), n.number) << n.stage << "," << n.level;
    EXPECT_EQ(TotalLevelCount(GetStageList(false)), 15);
    EXPECT_EQ(TotalLevelCount(GetStageList(true)), 5);

    EXPECT_EQ(GetStage(2, false), GetStageList(false)[2].get());
    EXPECT_EQ(GetStage(1, true)->mLevels.size(), 3u);
    EXPECT_EQ(GetStage(-1, false), nullptr);
    EXPECT_EQ(GetStage(3, false), nullptr);
    EXPECT_EQ(GetStage(2, true), nullptr);
    ClearStages();
    EXPECT_EQ(GetStage(0, false), nullptr);
}

TEST_F(StagesTest, StageTilesetRecordsAreReadUnderTheFirstListOnly)
{
    WriteStages(
        "<stages><tilesets gametype=\"0\" canchange=\"1\" needreshuffle=\"true\" tilesets=\"a, b\"/>"
        "<tilesets gametype=\"0\" canchange=\"yes\" tilesets=\"c\"/><back back=\"sky\" hero=\"h\"/></stages>"
        "<stagesusual><tilesets gametype=\"3\"/><back/></stagesusual>");
    LoadStages();

    ASSERT_EQ(GetStageTilesets().size(), 2u);
    TStageTilesets* first = FindStageTilesets(0);
    ASSERT_EQ(first, &GetStageTilesets()[0]);
    EXPECT_TRUE(first->mCanChange);
    EXPECT_TRUE(first->mNeedReshuffle);
    EXPECT_EQ(first->mTilesets, (TKeys{"a", "b"}));
    EXPECT_FALSE(GetStageTilesets()[1].mCanChange) << "only \"1\" and \"true\" are true";
    EXPECT_EQ(FindStageTilesets(7), nullptr);
    EXPECT_EQ(FindStageTilesets(3), nullptr);
    ASSERT_EQ(GetBackgrounds().size(), 1u);
    EXPECT_EQ(GetBackgrounds()[0].mBack, "sky");
    EXPECT_EQ(GetBackgrounds()[0].mHero, "h");
}

TEST_F(StagesTest, StageSoundListLivesUnopenedAsLongAsItsStage)
{
    WriteStages(
        "<stages><stage soundlist=\"s1\"><sound id=\"chime\" name=\"sounds/short\"/>"
        "<sound id=\"chime2\" name=\"sounds/short\"/><level/></stage>"
        "<stage soundlist=\"\"><sound id=\"lost\" name=\"sounds/short\"/></stage>"
        "<stage soundlist=\"s3\"><sound id=\"gone\" name=\"sounds/short\"/></stage></stages>");
    LoadStages();
    TSoundManager* sound = GetSoundManager();
    SharedPtr<TSoundPlayList> list = sound->FindSoundList("s1");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->mSounds.size(), 2u);
    EXPECT_FALSE(list->mOpen);
    EXPECT_EQ(list->mCategory, 0);
    EXPECT_FALSE(sound->PlaySound("chime")) << "a stage list waits for its level to open it";
    list->OpenStreams();
    EXPECT_TRUE(sound->PlaySound("chime"));
    EXPECT_FALSE(sound->FindSoundList(""));
    EXPECT_FALSE(sound->PlaySound("lost"));
    EXPECT_EQ(GetStage(1, false)->mSoundList, "");

    // A list removed beforehand: the stage's release must leave a new one of that name alone.
    sound->RemoveSoundList("s3");
    TiXmlDocument doc;
    ParseXmlText(&doc, "<r><sound id=\"other\" name=\"sounds/short\"/></r>");
    sound->AddSoundList("keep", doc.RootElement(), "sound", true, 0);

    ClearStages();
    EXPECT_FALSE(sound->FindSoundList("s1"));
    EXPECT_FALSE(list->IsPlaying("chime")) << "the released list was stopped";
    EXPECT_FALSE(list->mOpen) << "and its streams closed";
    EXPECT_TRUE(sound->FindSoundList("keep"));
}

TEST_F(StagesTest, ReadersAfterTheReleaseFindEmptyTablesAndBuildNone)
{
    WriteStages("<frames><frame id=\"a\"/></frames><stages><stage><level/></stage>"
                "<back back=\"b\"/><tilesets gametype=\"2\"/></stages><stagesusual><stage/></stagesusual>");
    const TStageList* released = nullptr;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        LoadStages();
        ASSERT_EQ(GetStageList(false).size(), 1u);
        ASSERT_EQ(GetFrames().size(), 1u);
        ReleaseStages();
        EXPECT_TRUE(GetStageList(false).empty());
        EXPECT_TRUE(GetStageList(true).empty());
        EXPECT_EQ(GetStage(0, false), nullptr);
        EXPECT_TRUE(GetFrames().empty());
        EXPECT_TRUE(GetBackgrounds().empty());
        EXPECT_TRUE(GetStageTilesets().empty());
        EXPECT_EQ(FindStageTilesets(2), nullptr);
        // Every reader after a release sees the same empty tables: none were made for it.
        if (released) {
            EXPECT_EQ(&GetStageList(false), released);
        }
        released = &GetStageList(false);
    }
    // Clearing the lists starts them again for whoever fills them.
    ClearStages();
    EXPECT_NE(&GetStageList(false), released);
}

TEST_F(StagesTest, ReleasedListsCannotBeFilledAndFillingStartsLiveOnes)
{
    // A stage pushed into the released lists would be destroyed with the statics, after the
    // sound manager its sound list lives in.
    static_assert(std::is_same<decltype(GetStageList(false)), const TStageList&>::value,
                  "the lists a reader gets are read-only");
    ReleaseStages();
    const TStageList* released = &GetStageList(false);
    auto stage = std::make_unique<TStage>();
    stage->mLevels.push_back(std::make_unique<TLevelInfoMosaic>());
    EditStageList(false).push_back(std::move(stage));
    EXPECT_NE(&GetStageList(false), released);
    EXPECT_EQ(TotalLevelCount(GetStageList(false)), 1);
    EXPECT_NE(GetStage(0, false), nullptr);
    ReleaseStages();
    EXPECT_EQ(&GetStageList(false), released);
    EXPECT_TRUE(GetStageList(false).empty()) << "the release took the filled stage with it";
}

TEST_F(StagesTest, MissingOrPartialFileLeavesTablesEmpty)
{
    {
        TLogWatch log;
        LoadStages();
        EXPECT_NE(log.Text().find("File not found stages.xml"), std::string::npos);
        EXPECT_TRUE(GetStageList(false).empty());
        EXPECT_TRUE(GetStageList(true).empty());
        EXPECT_TRUE(GetFrames().empty());
        EXPECT_TRUE(GetSecrets().empty());
        EXPECT_TRUE(GetBackgrounds().empty());
        EXPECT_TRUE(GetStageTilesets().empty());
        EXPECT_TRUE(GetLayoutDescriptors().empty());
        EXPECT_EQ(CurrentXmlDocument(), nullptr);
    }
    WriteStages("<stages><stage><level/></stage></stages>");
    LoadStages();
    EXPECT_EQ(GetStageList(false).size(), 1u);
    EXPECT_TRUE(GetStageList(true).empty());
    EXPECT_TRUE(GetFrames().empty());
    EXPECT_TRUE(GetSecrets().empty());
    EXPECT_TRUE(GetStageTilesets().empty());
    EXPECT_EQ(CurrentXmlDocument(), nullptr) << "the document goes once read";
}

TEST_F(StagesTest, FrameImagesAreTexturedOnlyByLoadFrameTextures)
{
    MakeFolder("frames");
    SolidPng("frames/ring.png", 8, 6, SDL_Color{200, 0, 0, 255});
    SolidPng("frames/fill.png", 4, 4, SDL_Color{0, 200, 0, 255});
    WriteStages(
        "<frames><frame id=\"a\" frame=\"frames/ring\" back=\"frames/fill\" x=\"10\" y=\"20\" xback=\"14\" "
        "yback=\"24\"/><frame id=\"b\" frame=\"frames/none\"/></frames>");
    LoadStages();
    ASSERT_EQ(GetFrames().size(), 2u);
    const TFrameInfo& a = *GetFrames()[0];
    EXPECT_EQ(a.mId, "a");
    EXPECT_EQ(a.mFrameImage.GetTextureName(), "frames/ring");
    EXPECT_EQ(a.mFrameImage.GetTexture(), nullptr);
    EXPECT_EQ(a.mBackImage.GetTexture(), nullptr);

    LoadFrameTextures();
    ASSERT_NE(a.mFrameImage.GetTexture(), nullptr);
    ASSERT_NE(a.mBackImage.GetTexture(), nullptr);
    EXPECT_EQ(a.mFrameImage.GetWidth(), 8);
    EXPECT_EQ(a.mBackImage.GetWidth(), 4);
    EXPECT_FLOAT_EQ(a.mFrameImage.GetX(), 10.0f);
    EXPECT_FLOAT_EQ(a.mFrameImage.GetY(), 20.0f);
    EXPECT_FLOAT_EQ(a.mBackImage.GetX(), 14.0f);
    EXPECT_FLOAT_EQ(a.mBackImage.GetY(), 24.0f);
    EXPECT_EQ(GetFrames()[1]->mFrameImage.GetTexture(), nullptr);
    EXPECT_EQ(GetFrames()[1]->mBackImage.GetTexture(), nullptr);

    ReleaseStages();
    EXPECT_EQ(GetLiveTextureCount(), mLiveBefore) << "frames go with the tables";
    ReleaseStages();
}
