// The shipped level data read by the real loaders: "stages.xml", "tilesets/tilesets.xml" and
// the over colours of "settings.xml", checked against the pictures, textures and sounds that
// ship beside them.
#include <gtest/gtest.h>

#include <SDL_image.h>
#include <dirent.h>
#include <tinyxml.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/settings.h"
#include "audio_cases.h"
#include "game/user_info.h"
#include "core/xml_document.h"
#include "game/difficulty.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "graphics/drawing_fixture.h"
#include "sound/sound_manager.h"

namespace {

// A renderer, the repository's own assets and a fresh sound manager; every table goes again
// before the renderer.
class ShippedLevelDataTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        std::string assets = BRISALO_ASSETS;
        ASSERT_EQ(0, chdir(assets.substr(0, assets.rfind('/')).c_str()));
        RearmSoundManagerForTests();
        InitMosaicStars();
    }
    void TearDown() override
    {
        ReleaseTilesets();
        ReleaseLayoutDescriptors();
        ReleaseStages();
        ReleaseSoundForNextTest();
        CanvasTest::TearDown();
    }
    static std::vector<TLevelInfoMosaic*> Levels(bool usual)
    {
        std::vector<TLevelInfoMosaic*> out;
        for (const auto& stage : GetStageList(usual))
            for (const auto& level : stage->mLevels)
                if (level->mKind == kLevelMosaic) out.push_back(static_cast<TLevelInfoMosaic*>(level.get()));
        return out;
    }
};

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') names.insert(entry->d_name);
        closedir(dir);
    }
    return names;
}

}  // namespace

TEST_F(ShippedLevelDataTest, OverColoursLeaveTheDifficultyRangesAlone)
{
    TiXmlElement* root = LoadXmlDocument("settings.xml");
    ASSERT_NE(root, nullptr);
    TOverColors colors;
    ASSERT_TRUE(colors.LoadXml(root));
    EXPECT_EQ(colors.mBaseColors.size(), 2u);
    EXPECT_EQ(colors.mColors.size(), 2u);
    EXPECT_EQ(colors.mColors.count("selected"), 1u);
    EXPECT_EQ(colors.mColors.count("wrong"), 1u);

    TDifficultyRanges withColours;
    withColours.LoadXml(root);
    for (const char* tag : {"baseovercolor", "overcolor"})
        while (TiXmlElement* e = root->FirstChildElement(tag)) root->RemoveChild(e);
    TDifficultyRanges without;
    without.LoadXml(root);
    DeleteCurrentXmlDocument();
    EXPECT_EQ(withColours.errorsmin, without.errorsmin);
    EXPECT_EQ(withColours.errorsmax, without.errorsmax);
    EXPECT_EQ(withColours.fillcolorrechargemax, without.fillcolorrechargemax);
    EXPECT_EQ(withColours.secsperonecellmax, without.secsperonecellmax);
    ASSERT_EQ(withColours.presets.size(), 4u);
    ASSERT_EQ(without.presets.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(withColours.presets[i].maxerrorscount, without.presets[i].maxerrorscount);
        EXPECT_EQ(withColours.presets[i].usetimer, without.presets[i].usetimer);
        EXPECT_FLOAT_EQ(withColours.presets[i].secsperonecell, without.presets[i].secsperonecell);
    }
}

TEST_F(ShippedLevelDataTest, EveryLevelNamesOneShippedPictureWithStarsForEveryDifficulty)
{
    LoadStages();
    std::set<std::string> baseNames;
    std::map<std::string, int> pictureUses;
    for (bool usual : {false, true}) {
        const TStageList& list = GetStageList(usual);
        ASSERT_EQ(list.size(), 3u) << usual;
        for (const auto& stage : list) {
            EXPECT_GE(stage->mLevels.size(), 1u);
            EXPECT_LE(stage->mLevels.size(), 8u);
            for (const auto& level : stage->mLevels) EXPECT_EQ(level->mKind, kLevelMosaic) << level->mFilename;
        }
        for (TLevelInfoMosaic* level : Levels(usual)) {
            SCOPED_TRACE(level->mFilename);
            EXPECT_TRUE(baseNames.insert(level->mPictureName).second) << "progress files are keyed by base name";
            ++pictureUses[level->mFilename];
            SDL_Surface* picture = IMG_Load(("assets/textures/" + level->mFilename).c_str());
            ASSERT_NE(picture, nullptr) << IMG_GetError();
            int expectedPreview = picture->w != picture->h ? 2 : picture->w <= 16 ? 0 : 1;
            EXPECT_EQ(level->mPreviewType, expectedPreview) << picture->w << "x" << picture->h;
            SDL_FreeSurface(picture);

            ASSERT_GE(level->mStars.size(), 5u);
            for (const auto& keys : level->mStars) {
                EXPECT_GE(keys.size(), 1u);
                EXPECT_LE(keys.size(), 3u);
                for (const std::string& key : keys) EXPECT_NE(FindMosaicStar(key), nullptr) << key;
            }
        }
    }
    for (const std::string& file : FilesIn("assets/textures/levels"))
        EXPECT_EQ(pictureUses["levels/" + file], 1) << file << " is named by exactly one level";
    EXPECT_EQ(pictureUses.size(), FilesIn("assets/textures/levels").size());

    bool reached = false;
    for (TLevelInfoMosaic* level : Levels(false))
        if (level->mSecretIdx == 0) {
            EXPECT_EQ(level->mInfos, std::vector<std::string>{"hidden"});
            reached = true;
        }
    EXPECT_TRUE(reached);
}

TEST_F(ShippedLevelDataTest, TilesetsFramesAndStageTilesetsLoadByName)
{
    LoadStages();
    LoadTilesets("tilesets/tilesets.xml");
    const TTilesetList& tilesets = GetTilesets();
    ASSERT_EQ(tilesets.size(), 2u);
    std::set<std::string> names;
    for (const auto& tileset : tilesets) {
        EXPECT_FALSE(tileset->mName.empty());
        EXPECT_TRUE(names.insert(tileset->mName).second) << tileset->mName;
        EXPECT_NE(tileset->mPreview.GetTexture(), nullptr) << tileset->mName;
        EXPECT_FALSE(tileset->mTiles.empty()) << tileset->mName;
    }
    for (int i = 0; i < static_cast<int>(tilesets.size()); ++i) {
        LayoutsInit(i);
        for (const auto& tile : tilesets[i]->mTiles) EXPECT_NE(tile->mImage.GetTexture(), nullptr) << tile->mSprite;
    }
    for (bool usual : {false, true})
        for (TLevelInfoMosaic* level : Levels(usual)) EXPECT_EQ(names.count(level->mTileset), 1u) << level->mFilename;
    TStageTilesets* choice = FindStageTilesets(0);
    ASSERT_NE(choice, nullptr);
    EXPECT_TRUE(choice->mCanChange);
    EXPECT_EQ(choice->mTilesets.size(), 2u);
    for (const TStageTilesets& record : GetStageTilesets())
        for (const std::string& name : record.mTilesets) EXPECT_EQ(names.count(name), 1u) << name;

    ASSERT_FALSE(GetFrames().empty());
    LoadFrameTextures();
    for (const auto& frame : GetFrames()) {
        EXPECT_NE(frame->mFrameImage.GetTexture(), nullptr) << frame->mFrame;
        EXPECT_NE(frame->mBackImage.GetTexture(), nullptr) << frame->mBack;
    }
}

TEST_F(ShippedLevelDataTest, StageSoundListsAreOwnNamesWithShippedFiles)
{
    TSoundManager* sound = GetSoundManager();
    ASSERT_NE(sound, nullptr);
    ASSERT_TRUE(sound->LoadSounds("sounds.xml"));
    LoadStages();
    std::set<std::string> lists;
    for (bool usual : {false, true})
        for (const auto& stage : GetStageList(usual)) {
            SCOPED_TRACE(stage->mSoundList);
            EXPECT_FALSE(stage->mSoundList.empty());
            EXPECT_TRUE(lists.insert(stage->mSoundList).second) << "a shared name loses a list";
            EXPECT_NE(stage->mSoundList, "sound");
            EXPECT_NE(stage->mSoundList, "voice");
            SharedPtr<TSoundPlayList> list = sound->FindSoundList(stage->mSoundList);
            ASSERT_TRUE(list);
            EXPECT_FALSE(list->mSounds.empty());
            for (const auto& info : list->mSounds) EXPECT_TRUE(PathExists(info->mPath)) << info->mPath;
            for (const auto& level : stage->mLevels) {
                const std::string& id = static_cast<TLevelInfoMosaic*>(level.get())->mSound;
                if (id.empty()) continue;
                EXPECT_TRUE(list->FindSound(id) || sound->FindSoundList("sound")->FindSound(id)) << id;
            }
        }
}

TEST_F(ShippedLevelDataTest, NewProfileHoldsOneEntryPerShippedLevel)
{
    TUserFolderScope scope;
    LoadStages();
    int levels = TotalLevelCount(GetStageList(false)) + TotalLevelCount(GetStageList(true));
    EXPECT_EQ(levels, 18);
    GetUserInfo()->ResetDefaults();
    TMySettings settings;
    settings.AddUser("Jo");
    EXPECT_EQ(ReadWholeFile(scope.UserFolder() + "/user1").size(), static_cast<size_t>(112 + 12 * levels));
    ClearStages();
    GetUserInfo()->ResetDefaults();
}
