// The process-wide set of trajectories that path movers follow.
#pragma once
#include <string>

class TTrajectoryList {
public:
    bool Load(const std::string& path);
};

TTrajectoryList& GetTrajectoryList();
