// Stages and their levels, read from "stages.xml": two lists of stages ("stages" for mode 0,
// "stagesusual" for mode 1), each stage an ordered list of levels with its own sound list,
// plus the frame, secret, background and per-game-type tileset tables of the same file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/static_image.h"

class TiXmlElement;

enum TLevelKind : int32_t { kLevelM3 = 0, kLevelXo = 1, kLevelClick = 2, kLevelMosaic = 3 };

class TLevelInfo {
public:
    explicit TLevelInfo(int32_t kind = kLevelM3) : mKind(kind) {}
    virtual ~TLevelInfo() = default;
    // Plain levels keep only their file name: the list's folder + the value without its
    // leading blanks.
    virtual void LoadXml(TiXmlElement* element, const std::string& folder);

    int32_t mKind;
    std::string mFilename;
    std::string mName;     // mosaic levels only
    std::string mTileset;  // mosaic levels only
};

class TLevelInfoMosaic : public TLevelInfo {
public:
    TLevelInfoMosaic() : TLevelInfo(kLevelMosaic) {}
    void LoadXml(TiXmlElement* element, const std::string& folder) override;

    int32_t mLayType = 0;
    float mTime = 20.0f;
    int32_t mStartX = 0;
    int32_t mStartY = 0;
    int32_t mMaxErrors = 0;
    std::string mPictureName;
    std::string mSound;
    std::string mFrame;
    std::string mFramePocket;
    int32_t mPreviewType = 1;
    int32_t mHiddenCells = 1;
    // At least four lists of star keys, list d for difficulty preset d.
    std::vector<std::vector<std::string>> mStars;
    // The star keys for a difficulty; an index the lists lack (a new profile has none chosen
    // yet, 4) takes list 0, which the reader copies into every list a level leaves out.
    const std::vector<std::string>& StarKeys(int difficulty) const;
    int32_t mBackIdx = -1;
    std::vector<std::string> mSecretTileset;
    std::vector<std::string> mSecrets;
    std::vector<TIntPoint> mSecretPoints;
    int32_t mSecretIdx = -1;
    std::string mInfo;
    std::vector<std::string> mInfos;
};

// A stage's sound list lives in the sound manager for as long as the stage does.
struct TStage {
    TStage() = default;
    TStage(const TStage&) = delete;
    TStage& operator=(const TStage&) = delete;
    ~TStage();

    std::vector<std::unique_ptr<TLevelInfo>> mLevels;
    std::string mMapImage;
    std::string mSlideshow;
    std::string mTempleInfo;
    std::string mSoundList;
    std::string mFrame;
};

using TStageList = std::vector<std::unique_ptr<TStage>>;

struct TFrameInfo {
    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mXBack = 0;
    int32_t mYBack = 0;
    std::string mFrame;
    std::string mId;
    std::string mBack;
    StaticImage mFrameImage;  // textured by LoadFrameTextures only
    StaticImage mBackImage;
};

struct TSecretInfo {
    std::vector<std::string> mSecretTileset;
    std::vector<std::string> mSecrets;
    std::vector<TIntPoint> mSecretPoints;
    std::string mFramePocket;
    std::string mInfo;
};

struct TBackgroundInfo {
    std::string mBack;
    std::string mHero;
};

struct TStageTilesets {
    int32_t mGameType = 0;
    bool mCanChange = false;
    bool mNeedReshuffle = false;
    std::vector<std::string> mTilesets;
};

// The process-wide list: "stagesusual" when usual is set, else "stages". Read-only: after
// ReleaseStages it is an empty list that nothing can fill.
const TStageList& GetStageList(bool usual);
// The same list, to fill by hand; after a release it starts the tables again, as ClearStages does.
TStageList& EditStageList(bool usual);
// Null for an index outside the chosen list.
TStage* GetStage(int stageIndex, bool usual);
// The levels of the stages before this one plus the level index; past the end, the list's total.
int GlobalLevelNumber(int stageIndex, int levelIndex, bool usual);
// The levels of all stages of a list.
int TotalLevelCount(const TStageList& list);
// The first record of that game type, or null.
TStageTilesets* FindStageTilesets(int gameType);

const std::vector<std::unique_ptr<TFrameInfo>>& GetFrames();
const std::vector<TSecretInfo>& GetSecrets();
const std::vector<TBackgroundInfo>& GetBackgrounds();
const std::vector<TStageTilesets>& GetStageTilesets();

void LoadStages();
void LoadFrameTextures();
// Destroys every stage of both lists, releasing their sound lists; the lists stay, empty.
void ClearStages();
// ClearStages, then every other table of "stages.xml"; a second call does nothing. Until the
// next LoadStages or ClearStages the getters answer empty tables without building new ones.
void ReleaseStages();
