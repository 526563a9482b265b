// Rewards (achievements) and the player's statistics record they are judged on.
#pragma once
#include <cstdint>
#include <string>

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

TRewardConnector& GetRewardConnector();
void LoadRewards(const std::string& path);
void DeleteRewards();
