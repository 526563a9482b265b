#include "game/stages.h"

#include <tinyxml.h>

#include <algorithm>

#include "core/logger.h"
#include "core/text.h"
#include "core/xml_document.h"
#include "game/tilesets.h"
#include "sound/sound_manager.h"

namespace {

struct TStageTables {
    TStageList mStages;
    TStageList mStagesUsual;
    std::vector<std::unique_ptr<TFrameInfo>> mFrames;
    std::vector<TSecretInfo> mSecrets;
    std::vector<TBackgroundInfo> mBackgrounds;
    std::vector<TStageTilesets> mStageTilesets;
};

// Created on first use and deleted by ReleaseStages: static destruction, after the renderer
// and the sound manager are gone, must find no frame texture and no stage sound list.
TStageTables* gTables = nullptr;
// From ReleaseStages until the lists are loaded, cleared or filled again, a reader finds empty
// tables and builds none: a late reader at exit would leave new tables behind.
bool gReleased = false;

// For filling: whatever a release left, the tables are live again.
TStageTables& LiveStageTables()
{
    gReleased = false;
    if (!gTables) gTables = new TStageTables();
    return *gTables;
}

// The released tables are const: a stage pushed into them would outlive the sound manager and
// be destroyed with the statics.
const TStageTables& ReadStageTables()
{
    if (!gTables && gReleased) {
        static const TStageTables released{};
        return released;
    }
    return LiveStageTables();
}

std::string WithoutLeadingBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// Groups at ';', keys at ','; at least four lists, and an empty list after the first
// takes the first one's keys.
std::vector<std::vector<std::string>> ReadStarLists(const std::string& text)
{
    std::vector<std::vector<std::string>> lists = SplitGroups(text, ';', ',');
    if (lists.size() < 4) lists.resize(4);
    for (size_t i = 1; i < lists.size(); ++i)
        if (lists[i].empty()) lists[i] = lists[0];
    return lists;
}

std::unique_ptr<TLevelInfo> MakeLevel(const std::string& type)
{
    if (type.empty() || type == "mahjong") return std::make_unique<TLevelInfoMosaic>();
    if (type == "xo") return std::make_unique<TLevelInfo>(kLevelXo);
    if (type == "click") return std::make_unique<TLevelInfo>(kLevelClick);
    if (type == "m3") return std::make_unique<TLevelInfo>(kLevelM3);
    return nullptr;
}

std::unique_ptr<TStage> ReadStage(TiXmlElement* element, const std::string& folder)
{
    auto stage = std::make_unique<TStage>();
    stage->mMapImage = GetAttrString(element, "mapimage", "");
    stage->mSlideshow = GetAttrString(element, "slideshow", "");
    stage->mTempleInfo = GetAttrString(element, "templeinfo", "");
    stage->mSoundList = GetAttrString(element, "soundlist", "");
    stage->mFrame = GetAttrString(element, "frame", "");
    // Without a name nothing would be registered: leave the manager unstarted.
    if (!stage->mSoundList.empty())
        if (TSoundManager* sound = GetSoundManager()) sound->AddSoundList(stage->mSoundList, element, "sound", false, 0);
    for (TiXmlElement* e = element->FirstChildElement("level"); e; e = e->NextSiblingElement("level")) {
        std::string type = GetAttrString(e, "type", "");
        std::unique_ptr<TLevelInfo> level = MakeLevel(type);
        if (!level) {
            GetLogger()->LogMessage("stages.xml: unknown level type \"%s\", level skipped", type.c_str());
            continue;
        }
        level->LoadXml(e, folder);
        stage->mLevels.push_back(std::move(level));
    }
    return stage;
}

void ReadStages(TiXmlElement* list, TStageList& out)
{
    if (!list) return;
    std::string folder = GetAttrString(list, "folder", "");
    for (TiXmlElement* e = list->FirstChildElement("stage"); e; e = e->NextSiblingElement("stage"))
        out.push_back(ReadStage(e, folder));
}

void ReadFrames(TiXmlElement* frames, std::vector<std::unique_ptr<TFrameInfo>>& out)
{
    if (!frames) return;
    for (TiXmlElement* e = frames->FirstChildElement("frame"); e; e = e->NextSiblingElement("frame")) {
        auto frame = std::make_unique<TFrameInfo>();
        frame->mX = GetAttrCoordinate(e, "x", 0, "stages.xml");
        frame->mY = GetAttrCoordinate(e, "y", 0, "stages.xml");
        frame->mXBack = GetAttrCoordinate(e, "xback", 0, "stages.xml");
        frame->mYBack = GetAttrCoordinate(e, "yback", 0, "stages.xml");
        frame->mFrame = GetAttrString(e, "frame", "");
        frame->mId = GetAttrString(e, "id", "");
        frame->mBack = GetAttrString(e, "back", "");
        frame->mFrameImage.SetPosition(static_cast<float>(frame->mX), static_cast<float>(frame->mY), false);
        frame->mFrameImage.mTextureName = frame->mFrame;
        frame->mBackImage.SetPosition(static_cast<float>(frame->mXBack), static_cast<float>(frame->mYBack), false);
        frame->mBackImage.mTextureName = frame->mBack;
        out.push_back(std::move(frame));
    }
}

void ReadSecrets(TiXmlElement* secrets, std::vector<TSecretInfo>& out)
{
    if (!secrets) return;
    for (TiXmlElement* e = secrets->FirstChildElement("level"); e; e = e->NextSiblingElement("level")) {
        TSecretInfo secret;
        GetAttrList(e, "secrettileset", ',', secret.mSecretTileset);
        GetAttrList(e, "secrets", ',', secret.mSecrets);
        GetAttrPointList(e, "secretpoints", secret.mSecretPoints);
        secret.mFramePocket = GetAttrString(e, "framepocket", "");
        secret.mInfo = GetAttrString(e, "info", "");
        out.push_back(std::move(secret));
    }
}

void ReadStageExtras(TiXmlElement* stages, TStageTables& tables)
{
    if (!stages) return;
    for (TiXmlElement* e = stages->FirstChildElement("back"); e; e = e->NextSiblingElement("back"))
        tables.mBackgrounds.push_back({GetAttrString(e, "back", ""), GetAttrString(e, "hero", "")});
    for (TiXmlElement* e = stages->FirstChildElement("tilesets"); e; e = e->NextSiblingElement("tilesets")) {
        TStageTilesets record;
        record.mGameType = GetAttrInt(e, "gametype", 0);
        record.mCanChange = GetAttrBool(e, "canchange", false);
        record.mNeedReshuffle = GetAttrBool(e, "needreshuffle", false);
        GetAttrList(e, "tilesets", ',', record.mTilesets);
        tables.mStageTilesets.push_back(std::move(record));
    }
}

// Secrets reach the mosaic levels of "stages" only.
void ApplySecrets(TStageTables& tables)
{
    const int count = static_cast<int>(tables.mSecrets.size());
    for (auto& stage : tables.mStages)
        for (auto& level : stage->mLevels) {
            if (level->mKind != kLevelMosaic) continue;
            auto* mosaic = static_cast<TLevelInfoMosaic*>(level.get());
            if (mosaic->mSecretIdx < 0 || mosaic->mSecretIdx >= count) continue;
            const TSecretInfo& secret = tables.mSecrets[mosaic->mSecretIdx];
            mosaic->mSecretTileset = secret.mSecretTileset;
            mosaic->mSecrets = secret.mSecrets;
            mosaic->mSecretPoints = secret.mSecretPoints;
            mosaic->mFramePocket = secret.mFramePocket;
            mosaic->mInfos = {secret.mInfo};
        }
}

}  // namespace

void TLevelInfo::LoadXml(TiXmlElement* element, const std::string& folder)
{
    mFilename = folder + WithoutLeadingBlanks(GetAttrString(element, "filename", ""));
}

void TLevelInfoMosaic::LoadXml(TiXmlElement* element, const std::string& folder)
{
    TLevelInfo::LoadXml(element, folder);
    mLayType = GetAttrInt(element, "laytype", 0);
    mName = GetAttrString(element, "name", "");
    mTime = GetAttrFloatInRange(element, "time", 20.0f, 0.0f, 86400.0f, "stages.xml");
    mTileset = GetAttrString(element, "tileset", "");
    GetAttrList(element, "secrettileset", ',', mSecretTileset);
    GetAttrList(element, "secrets", ',', mSecrets);
    mSecretPoints.clear();
    GetAttrPointList(element, "secretpoints", mSecretPoints);
    mMaxErrors = GetAttrIntInRange(element, "maxerrors", 0, 0, 1000000, "stages.xml");
    mSound = GetAttrString(element, "sound", "");
    mFrame = GetAttrString(element, "frame", "");
    mFramePocket = GetAttrString(element, "framepocket", "");
    mStartX = GetAttrCoordinate(element, "startx", 0, "stages.xml");
    mStartY = GetAttrCoordinate(element, "starty", 0, "stages.xml");
    mPreviewType = GetAttrInt(element, "previewtype", 1);
    mHiddenCells = GetAttrInt(element, "hiddencells", 1);
    mBackIdx = GetAttrInt(element, "backidx", -1);
    mSecretIdx = GetAttrInt(element, "secretidx", -1);
    mInfo = GetAttrString(element, "info", "");
    mStars = ReadStarLists(GetAttrString(element, "stars", ""));
    mPictureName = FileNameWithoutExt(mFilename);
}

TStage::~TStage()
{
    TSoundManager* sound = FindSoundManager();
    if (!sound) return;
    if (SharedPtr<TSoundPlayList> list = sound->FindSoundList(mSoundList)) {
        list->StopAll();
        list->CloseStreams();
        sound->RemoveSoundList(mSoundList);
    }
}

const TStageList& GetStageList(bool usual)
{
    const TStageTables& tables = ReadStageTables();
    return usual ? tables.mStagesUsual : tables.mStages;
}

TStageList& EditStageList(bool usual)
{
    TStageTables& tables = LiveStageTables();
    return usual ? tables.mStagesUsual : tables.mStages;
}

TStage* GetStage(int stageIndex, bool usual)
{
    const TStageList& list = GetStageList(usual);
    if (stageIndex < 0 || stageIndex >= static_cast<int>(list.size())) return nullptr;
    return list[stageIndex].get();
}

int GlobalLevelNumber(int stageIndex, int levelIndex, bool usual)
{
    const TStageList& list = GetStageList(usual);
    if (stageIndex >= static_cast<int>(list.size())) return TotalLevelCount(list);
    int number = levelIndex;
    for (int i = 0; i < stageIndex; ++i) number += static_cast<int>(list[i]->mLevels.size());
    return number;
}

int TotalLevelCount(const TStageList& list)
{
    int count = 0;
    for (const auto& stage : list) count += static_cast<int>(stage->mLevels.size());
    return count;
}

TStageTilesets* FindStageTilesets(int gameType)
{
    if (!gTables) return nullptr;
    for (TStageTilesets& record : gTables->mStageTilesets)
        if (record.mGameType == gameType) return &record;
    return nullptr;
}

const std::vector<std::unique_ptr<TFrameInfo>>& GetFrames() { return ReadStageTables().mFrames; }
const std::vector<TSecretInfo>& GetSecrets() { return ReadStageTables().mSecrets; }
const std::vector<TBackgroundInfo>& GetBackgrounds() { return ReadStageTables().mBackgrounds; }
const std::vector<TStageTilesets>& GetStageTilesets() { return ReadStageTables().mStageTilesets; }

void LoadStages()
{
    gReleased = false;
    if (TiXmlElement* root = LoadXmlDocument("stages.xml")) {
        TStageTables& tables = LiveStageTables();
        ReadFrames(root->FirstChildElement("frames"), tables.mFrames);
        TiXmlElement* stages = root->FirstChildElement("stages");
        ReadStages(stages, tables.mStages);
        ReadStages(root->FirstChildElement("stagesusual"), tables.mStagesUsual);
        ReadStageExtras(stages, tables);
        ReadLayoutDescriptors(root);
        ReadSecrets(root->FirstChildElement("secrets"), tables.mSecrets);
        ApplySecrets(tables);
    }
    DeleteCurrentXmlDocument();
}

void LoadFrameTextures()
{
    if (!gTables) return;
    for (auto& frame : gTables->mFrames) {
        frame->mFrameImage.SetTexture(frame->mFrame);
        frame->mBackImage.SetTexture(frame->mBack);
    }
}

void ClearStages()
{
    gReleased = false;
    if (!gTables) return;
    gTables->mStages.clear();
    gTables->mStagesUsual.clear();
}

void ReleaseStages()
{
    ClearStages();
    delete gTables;
    gTables = nullptr;
    gReleased = true;
}

const std::vector<std::string>& TLevelInfoMosaic::StarKeys(int difficulty) const
{
    static const std::vector<std::string> kNone;
    if (mStars.empty()) return kNone;
    if (difficulty < 0 || difficulty >= static_cast<int>(mStars.size())) difficulty = 0;
    return mStars[static_cast<size_t>(difficulty)];
}
