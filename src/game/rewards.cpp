#include "game/rewards.h"

#include "core/xml_document.h"

TRewardConnector& GetRewardConnector()
{
    static TRewardConnector connector;
    return connector;
}

void LoadRewards(const std::string& path)
{
    LoadXmlDocument(path);
    DeleteCurrentXmlDocument();
}

void DeleteRewards() {}
