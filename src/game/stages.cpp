#include "game/stages.h"

#include "core/xml_document.h"

namespace {
TStageList gStages;
TStageList gStagesUsual;
}

TStageList& GetStageList(bool usual) { return usual ? gStagesUsual : gStages; }

TStage* GetStage(int stageIndex, bool usual) { return GetStageList(usual)[stageIndex].get(); }

int TotalLevelCount(const TStageList& list)
{
    int count = 0;
    for (const auto& stage : list) count += static_cast<int>(stage->mLevels.size());
    return count;
}

void LoadStages()
{
    LoadXmlDocument("stages.xml");
    DeleteCurrentXmlDocument();
}

void ClearStages()
{
    gStages.clear();
    gStagesUsual.clear();
}
