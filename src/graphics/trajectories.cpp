#include "graphics/trajectories.h"

bool TTrajectoryList::Load(const std::string& /*path*/) { return false; }

TTrajectoryList& GetTrajectoryList()
{
    static TTrajectoryList list;
    return list;
}
