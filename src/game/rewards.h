// Rewards (achievements) and the player's statistics record they are judged on.
#pragma once
#include <cstdint>
#include <string>

struct TRewardConnector {
    int32_t mLevelScore = 0;
    int32_t mPairsCounter = 0;
    int32_t mLevelsCompleted = 0;
    int32_t mSpareCounter = 0;
};

TRewardConnector& GetRewardConnector();
void LoadRewards(const std::string& path);
void DeleteRewards();
