#include "game/rewards.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

#include "game/stages.h"
#include "graphics/drawing_fixture.h"
#include "log_watch.h"

namespace {

// Loads from the temporary assets folder; every test starts and ends with no reward.
class RewardsTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        DeleteRewards();
        GetRewardConnector() = TRewardConnector();
    }
    void TearDown() override
    {
        DeleteRewards();
        GetRewardConnector() = TRewardConnector();
        ClearStages();
        CanvasTest::TearDown();
    }
    void WriteAsset(const std::string& name, const std::string& text)
    {
        ASSERT_TRUE(WriteWholeFile(AssetPath(name), text));
    }
    // One reward of that type and threshold, alone in the list.
    TReward* Only(const std::string& type, int value)
    {
        DeleteRewards();
        WriteAsset("one.xml", "<rewards><reward type=\"" + type + "\" value=\"" + std::to_string(value) +
                                  "\"/></rewards>");
        LoadRewards("one.xml");
        return GetRewards().size() == 1 ? GetRewards()[0].get() : nullptr;
    }
    bool Collects(const TRewardConnector& stats)
    {
        std::vector<TReward*> earned;
        return CollectEarnedRewards(stats, earned);
    }
};

TEST_F(RewardsTest, FixtureGivesEveryKnownTypeInFileOrder)
{
    ASSERT_TRUE(WriteWholeFile(AssetPath("rewards.xml"), ReadWholeFile(BRISALO_TEST_DATA "/game/rewards.xml")));
    LoadRewards("rewards.xml");
    const auto& rewards = GetRewards();
    ASSERT_EQ(rewards.size(), 7u);
    const std::type_info* expected[] = {&typeid(TRewardScores),        &typeid(TRewardRemovePairs10sec),
                                        &typeid(TRewardPercentComplete), &typeid(TRewardRemoveColls),
                                        &typeid(TReward3StarsCount),     &typeid(TRewardNotUseHint),
                                        &typeid(TRewardNotUseShuffle)};
    const int flags[] = {1, 2, 1, 2, 1, 1, 1};
    for (size_t i = 0; i < rewards.size(); ++i) {
        EXPECT_EQ(typeid(*rewards[i]), *expected[i]) << i;
        EXPECT_EQ(rewards[i]->GetKindFlags(), flags[i]) << i;
        EXPECT_FALSE(rewards[i]->mEarned);
    }
    const TReward& scores = *rewards[0];
    EXPECT_EQ(scores.mValue, 1000);
    EXPECT_EQ(scores.mHint, "h_scores");
    EXPECT_EQ(scores.mHintComplete, "d_scores");
    EXPECT_EQ(scores.mX, 10);
    EXPECT_EQ(scores.mY, 20);
    EXPECT_EQ(scores.mTipX, 30);
    EXPECT_EQ(scores.mTipY, 40);
    const TReward& bare = *rewards[5];  // type only
    EXPECT_EQ(bare.mValue, 0);
    EXPECT_EQ(bare.mHint, "");
    EXPECT_EQ(bare.mHintComplete, "");
    EXPECT_EQ(bare.mX, 0);
    EXPECT_EQ(bare.mTipY, 0);
    EXPECT_EQ(bare.mImage.GetTexture(), nullptr);
    EXPECT_EQ(rewards[6]->mHint, "h_shuffle");
}

TEST_F(RewardsTest, EachTypeIsEarnedAtItsThreshold)
{
    struct TCase {
        const char* type;
        int value;
        std::function<void(TRewardConnector&, int)> set;
    };
    const TCase cases[] = {
        {"scores", 1000, [](TRewardConnector& s, int v) { s.mTotalScore = v; }},
        {"3stars", 5, [](TRewardConnector& s, int v) { s.mThreeStarLevels = v; }},
        {"hint", 1, [](TRewardConnector& s, int v) { s.mLevelsWithoutHint = v; }},
        {"shuffle", 10, [](TRewardConnector& s, int v) { s.mLevelsWithoutShuffle = v; }},
        {"pairs10", 3, [](TRewardConnector& s, int v) { s.mPairsCounter = v; }},
        {"removecolls", 2, [](TRewardConnector& s, int v) { s.mRemovedColumns = v; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.type);
        ASSERT_NE(Only(c.type, c.value), nullptr);
        TRewardConnector stats;
        c.set(stats, c.value - 1);
        EXPECT_FALSE(Collects(stats));
        c.set(stats, c.value);
        EXPECT_TRUE(Collects(stats));
        EXPECT_TRUE(GetRewards()[0]->mEarned);
        EXPECT_TRUE(GetRewards()[0]->mJustEarned);
    }
}

TEST_F(RewardsTest, PercentCountsTheStagesListWhateverTheMode)
{
    FillStageLists({10, 10, 10, 10}, {7});
    ASSERT_NE(Only("percent", 50), nullptr);
    TRewardConnector stats;
    stats.mLevelsFirstCompleted = 19;
    EXPECT_FALSE(Collects(stats));
    stats.mLevelsFirstCompleted = 20;
    EXPECT_TRUE(Collects(stats));
    // The count times 100 stays inside the arithmetic however large the count.
    ASSERT_NE(Only("percent", 50), nullptr);
    stats.mLevelsFirstCompleted = 2147483647;
    EXPECT_TRUE(Collects(stats));
}

TEST_F(RewardsTest, PercentWithoutAnyLevelIsNeverEarned)
{
    FillStageLists({}, {7});
    ASSERT_NE(Only("percent", 0), nullptr);
    TRewardConnector stats;
    stats.mLevelsFirstCompleted = 5;
    EXPECT_FALSE(Collects(stats));
}

TEST_F(RewardsTest, CountersNothingRaisesEarnAtZeroOrNever)
{
    for (const char* type : {"pairs10", "removecolls"}) {
        SCOPED_TRACE(type);
        ASSERT_NE(Only(type, 0), nullptr);
        EXPECT_TRUE(Collects(TRewardConnector()));
        ASSERT_NE(Only(type, 1), nullptr);
        for (int i = 0; i < 3; ++i) EXPECT_FALSE(Collects(TRewardConnector()));
    }
}

TEST_F(RewardsTest, CollectedOnceAndStaysEarned)
{
    ASSERT_NE(Only("hint", 1), nullptr);
    TRewardConnector stats;
    stats.mLevelsWithoutHint = 1;
    std::vector<TReward*> first;
    EXPECT_TRUE(CollectEarnedRewards(stats, first));
    EXPECT_EQ(first.size(), 1u);
    stats.mLevelsWithoutHint = 2;
    std::vector<TReward*> second;
    EXPECT_FALSE(CollectEarnedRewards(stats, second));
    EXPECT_TRUE(second.empty());
    stats.mLevelsWithoutHint = 0;
    EXPECT_FALSE(Collects(stats));
    EXPECT_TRUE(GetRewards()[0]->mEarned);
}

TEST_F(RewardsTest, CollectAppendsAndAnswersFromTheWholeList)
{
    ASSERT_NE(Only("scores", 1000), nullptr);
    TReward other;
    std::vector<TReward*> list{&other};
    EXPECT_TRUE(CollectEarnedRewards(TRewardConnector(), list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], &other);
}

TEST_F(RewardsTest, UnreadableFilesLeaveTheListEmptyAndSaySo)
{
    struct TCase {
        const char* name;
        const char* text;  // null: no file
        std::vector<std::string> lines;
    };
    const std::string cut = "<?xml version=\"1.0\"?>\n<rewards>\n<reward type=\"hint\" value=\"1\"/>\n"
                            "<reward type=\"scores\" val";
    const TCase cases[] = {
        {"missing", nullptr, {"File not found rewards.xml ", "File not found rewards.xml error="}},
        {"broken", cut.c_str(), {"File not found rewards.xml ", "File not found rewards.xml error="}},
        {"no element", "<?xml version=\"1.0\"?>\n", {"rewards.xml: no root element"}},
        {"comment only", "<!-- nothing yet -->\n", {"rewards.xml: no root element"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(AssetPath("rewards.xml").c_str());
        if (c.text) WriteAsset("rewards.xml", c.text);
        TLogWatch log;
        LoadRewards("rewards.xml");
        EXPECT_TRUE(GetRewards().empty());
        for (const std::string& line : c.lines) EXPECT_NE(log.Text().find(line), std::string::npos) << line;
    }
}

TEST_F(RewardsTest, FarPositionsAreBroughtInWithALine)
{
    WriteAsset("far.xml", "<rewards><reward type=\"percent\" x=\"99999999999\" y=\"-5\" tipx=\"nan\" "
                          "tipy=\"-2147483648\"/></rewards>");
    TLogWatch log;
    LoadRewards("far.xml");
    ASSERT_EQ(GetRewards().size(), 1u);
    const TReward& r = *GetRewards()[0];
    EXPECT_EQ(r.mX, kMaxFileCoordinate);
    EXPECT_EQ(r.mY, -5);
    EXPECT_EQ(r.mTipY, -kMaxFileCoordinate);
    EXPECT_NE(log.Text().find("rewards.xml: reward \"x\" = \"99999999999\" is out of range, taken as 1048576"),
              std::string::npos)
        << log.Text();
}

TEST_F(RewardsTest, ShippedFileHoldsEightRewards)
{
    int elements = 0;
    std::string text = ReadWholeFile(BRISALO_ASSETS "/rewards.xml");
    for (size_t pos = text.find("<reward "); pos != std::string::npos; pos = text.find("<reward ", pos + 1)) ++elements;
    EXPECT_EQ(elements, 8);
    LoadRewards(BRISALO_ASSETS "/rewards.xml");
    ASSERT_EQ(GetRewards().size(), 8u);
    for (const auto& reward : GetRewards()) {
        EXPECT_GT(reward->mValue, 0);
        EXPECT_FALSE(reward->mHint.empty());
        EXPECT_FALSE(reward->mHintComplete.empty());
    }
}

}  // namespace
