#include "game/rewards.h"

#include <tinyxml.h>

#include "core/logger.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "game/stages.h"

namespace {

std::vector<std::unique_ptr<TReward>>& Rewards()
{
    static std::vector<std::unique_ptr<TReward>> rewards;
    return rewards;
}

}  // namespace

TRewardConnector& GetRewardConnector()
{
    static TRewardConnector connector;
    return connector;
}

void TReward::Reset()
{
    mEarned = false;
    mJustEarned = false;
}

bool TReward::Check(const TRewardConnector& stats)
{
    if (mEarned) return false;
    bool result = Condition(stats);
    mEarned = mJustEarned = result;
    return result;
}

void TReward::LoadXml(TiXmlElement* element)
{
    mHint = GetAttrString(element, "hint", "");
    mHintComplete = GetAttrString(element, "hintcomplete", "");
    mValue = GetAttrInt(element, "value", 0);
    // The images keep their names until LoadImages.
    mImage.mTextureName = GetAttrString(element, "image", "");
    mImageNotEarned.mTextureName = GetAttrString(element, "imagenotget", "");
    mSmallImage.mTextureName = GetAttrString(element, "small", "");
    mX = GetAttrCoordinate(element, "x", 0, "rewards.xml");
    mY = GetAttrCoordinate(element, "y", 0, "rewards.xml");
    mTipX = GetAttrCoordinate(element, "tipx", 0, "rewards.xml");
    mTipY = GetAttrCoordinate(element, "tipy", 0, "rewards.xml");
}

void TReward::LoadImages()
{
    for (StaticImage* image : {&mImage, &mImageNotEarned, &mSmallImage}) {
        std::string name = image->mTextureName;
        image->SetTexture(name);
    }
}

void TReward::ReleaseImages()
{
    mImage.FreeTexture();
    mImageNotEarned.FreeTexture();
    mSmallImage.FreeTexture();
}

bool TRewardPercentComplete::Condition(const TRewardConnector& stats) const
{
    // With no level at all there is no share to reach.
    int total = TotalLevelCount(GetStageList(false));
    if (total <= 0) return false;
    long long percent = static_cast<long long>(stats.mLevelsFirstCompleted) * 100 / total;
    return percent >= mValue;
}

TReward* CreateReward(const std::string& type)
{
    if (type == "scores") return new TRewardScores();
    if (type == "pairs10") return new TRewardRemovePairs10sec();
    if (type == "percent") return new TRewardPercentComplete();
    if (type == "removecolls") return new TRewardRemoveColls();
    if (type == "3stars") return new TReward3StarsCount();
    if (type == "hint") return new TRewardNotUseHint();
    if (type == "shuffle") return new TRewardNotUseShuffle();
    return nullptr;
}

void LoadRewardElements(TiXmlElement* root)
{
    std::vector<TiXmlElement*> elements;
    GetChildElements(root, "reward", elements);
    for (TiXmlElement* element : elements) {
        std::unique_ptr<TReward> reward(CreateReward(GetAttrString(element, "type", "")));
        if (!reward) continue;
        reward->LoadXml(element);
        Rewards().push_back(std::move(reward));
    }
}

void LoadRewards(const std::string& path)
{
    // A document of its own: a broken file must not leave a half-read tree behind, and a
    // document without any element reads without error but has no root to walk.
    TiXmlDocument* document = nullptr;
    TiXmlElement* root = LoadXmlFile(path, &document);
    std::unique_ptr<TiXmlDocument> owner(document);
    if (!root) {
        if (document) GetLogger()->LogMessage("%s: no root element", path.c_str());
        return;
    }
    LoadRewardElements(root);
    for (const std::unique_ptr<TReward>& reward : Rewards()) reward->LoadImages();
}

const std::vector<std::unique_ptr<TReward>>& GetRewards() { return Rewards(); }

bool CollectEarnedRewards(const TRewardConnector& stats, std::vector<TReward*>& earned)
{
    for (const std::unique_ptr<TReward>& reward : Rewards()) {
        if ((reward->GetKindFlags() & 3) && reward->Check(stats)) earned.push_back(reward.get());
    }
    return !earned.empty();
}

void DeleteRewards() { Rewards().clear(); }
