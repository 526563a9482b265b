// Rewards (achievements) read from "rewards.xml", and the player's statistics record they are
// judged on whenever a level is finished. Nothing saves either: a new run earns them again.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"

class TiXmlElement;
class TBaseBuffer;

// Lives in memory only: every counter starts at 0 with the process and is never saved.
struct TRewardConnector {
    int32_t mLevelScore = 0;
    int32_t mTotalScore = 0;
    int32_t mLevelsWithoutShuffle = 0;
    int32_t mLevelsWithoutHint = 0;
    int32_t mPairsCounter = 0;
    int32_t mRemovedColumns = 0;
    int32_t mLevelsCompleted = 0;
    int32_t mLevelsFirstCompleted = 0;
    int32_t mSpareCounter = 0;
    int32_t mThreeStarLevels = 0;
};

class TReward {
public:
    virtual ~TReward() = default;
    virtual void Reset();
    // False once earned: a reward is collected at most once per run.
    virtual bool Check(const TRewardConnector& stats);
    virtual int GetKindFlags() const { return 1; }
    virtual void LoadState(TBaseBuffer* /*buffer*/) {}
    virtual void LoadXml(TiXmlElement* element);
    virtual void SaveState(TBaseBuffer* /*buffer*/) const {}
    virtual void LoadImages();
    virtual void ReleaseImages();

    bool mEarned = false;
    bool mJustEarned = false;
    std::string mHint;
    std::string mHintComplete;
    int32_t mValue = 0;
    StaticImage mImage;
    StaticImage mImageNotEarned;
    StaticImage mSmallImage;
    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mTipX = 0;
    int32_t mTipY = 0;

protected:
    virtual bool Condition(const TRewardConnector& /*stats*/) const { return false; }
};

class TRewardScores : public TReward {
protected:
    bool Condition(const TRewardConnector& stats) const override { return stats.mTotalScore >= mValue; }
};

class TRewardRemovePairs10sec : public TReward {
public:
    int GetKindFlags() const override { return 2; }

protected:
    bool Condition(const TRewardConnector& stats) const override { return stats.mPairsCounter >= mValue; }
};

class TRewardPercentComplete : public TReward {
protected:
    bool Condition(const TRewardConnector& stats) const override;
};

class TRewardRemoveColls : public TReward {
public:
    int GetKindFlags() const override { return 2; }

protected:
    bool Condition(const TRewardConnector& stats) const override { return stats.mRemovedColumns >= mValue; }
};

class TReward3StarsCount : public TReward {
protected:
    bool Condition(const TRewardConnector& stats) const override { return stats.mThreeStarLevels >= mValue; }
};

class TRewardNotUseHint : public TReward {
protected:
    bool Condition(const TRewardConnector& stats) const override { return stats.mLevelsWithoutHint >= mValue; }
};

class TRewardNotUseShuffle : public TReward {
protected:
    bool Condition(const TRewardConnector& stats) const override { return stats.mLevelsWithoutShuffle >= mValue; }
};

TRewardConnector& GetRewardConnector();
// A new reward of the type named in "rewards.xml", or null for a name it does not know.
TReward* CreateReward(const std::string& type);
// Reads the file into the global list (a file that cannot be read leaves it empty).
void LoadRewards(const std::string& path);
void LoadRewardElements(TiXmlElement* root);
const std::vector<std::unique_ptr<TReward>>& GetRewards();
// Appends every reward of the global list that this check earns; true when the list then
// holds at least one.
bool CollectEarnedRewards(const TRewardConnector& stats, std::vector<TReward*>& earned);
void DeleteRewards();
