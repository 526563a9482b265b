// Stages and their levels, read from "stages.xml": two lists of stages ("stages" for mode 0,
// "stagesusual" for mode 1), each stage an ordered list of levels.
#pragma once
#include <memory>
#include <vector>

class TLevelInfo {
public:
    virtual ~TLevelInfo() = default;
};

struct TStage {
    std::vector<std::unique_ptr<TLevelInfo>> mLevels;
};

using TStageList = std::vector<std::unique_ptr<TStage>>;

// The process-wide list: "stagesusual" when usual is set, else "stages".
TStageList& GetStageList(bool usual);
// The index must be valid.
TStage* GetStage(int stageIndex, bool usual);
// The levels of all stages of a list.
int TotalLevelCount(const TStageList& list);

void LoadStages();
// Destroys every stage of both lists.
void ClearStages();
