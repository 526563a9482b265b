#include "game/user_info.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/buffer.h"
#include "core/system.h"
#include "game/rewards.h"
#include "game/stages.h"
#include "log_watch.h"
#include "test_support.h"

namespace {

const char kGoldenProfile[] =
    "75 3B A4 D3  E8 03 00 00"
    "64 00 00 00  C8 00 00 00  BC 02 00 00"
    "07 00 00 00  01  00  01 00"
    "0A 00 49 48 65 6C 70 53 68 6F 77 6E  04 00 74 69 70 31"
    "02  01  05 00 00 00  DC 05 00 00"
    "00 00 00 00  01 00 00 00  1E 00 00 00  90 01 00 00  00 00 00 00"
    "00 01 00 01 01  02 00 00 00"
    "41 00 00 00  78 00 00 00  03 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
    "00 00 00 00  FF FF FF FF  00 00 00 00  00 00 00 00  00 00 00 00"
    "00 00 00 00 01  01 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
    "2D 00 00 00  01 00 00 00  05 00 00 00  C4 09 00 00";

std::string UserPath(const std::string& name) { return GetSystem()->UserFolder() + "/" + name; }

struct TRecordingListener : TBaseUserInfoListener {
    std::vector<std::string> mEvents;
    void OnPairAdded(const std::string& k, const std::string& v) override { mEvents.push_back("add " + k + "=" + v); }
    void OnValueChanged(const std::string& k, const std::string& v) override
    {
        mEvents.push_back("change " + k + "=" + v);
    }
};

}  // namespace

class UserInfoTest : public ::testing::Test {
protected:
    void SetUp() override { Reset({}, {}); }
    void TearDown() override
    {
        ClearStages();
        mInfo->SetListener(nullptr);
        mInfo->ResetDefaults();
        mInfo->ResetPreset();
    }
    void Reset(const std::vector<int>& stages, const std::vector<int>& usual)
    {
        FillStageLists(stages, usual);
        mInfo->ResetDefaults();
        mInfo->ResetPreset();
    }
    // The profile of the golden file, built through the operations.
    void BuildGolden()
    {
        Reset({2}, {1});
        mInfo->mMusicVolume = 0.1f;
        mInfo->mVoiceVolume = 0.2f;
        mInfo->mSoundVolume = 0.7f;
        mInfo->AddToCounter(7);
        mInfo->SetFlag();
        mInfo->AddPair("IHelpShown", "tip1");
        mInfo->mDifficulty = 2;
        mInfo->mMode = 1;
        mInfo->mSavedValue = 5;
        mInfo->mViewValue = 1.5f;
        TModeProgress& r = mInfo->mProgress[0];
        r.mStage = 0;
        r.mLevel = 1;
        r.mLevelScore = 30;
        r.mTotalScore = 400;
        r.mFlag1 = 1;
        r.mFlag2 = 1;
        r.mFlag3 = 0;
        r.mFlag4 = 0;
        r.mFlag5 = 1;
        r.mEntries[0] = TLevelEntry{9, 65, 120, 3};
        mInfo->mPreset->usetimer = 1;
        mInfo->mPreset->fillcolorrecharge = 45;
        mInfo->mPreset->maxerrorscount = 5;
        mInfo->mPreset->secsperonecell = 2.5f;
    }
    TUserInfo* mInfo = GetUserInfo();
};

TEST_F(UserInfoTest, GoldenProfileSavesByteForByteAndLoadsBack)
{
    BuildGolden();
    ASSERT_TRUE(mInfo->Save("user:golden_profile"));
    std::string bytes = ReadWholeFile(UserPath("golden_profile"));
    EXPECT_EQ(bytes.size(), 166u);
    EXPECT_EQ(ToHex(bytes), ToHex(HexBytes(kGoldenProfile)));

    mInfo->ResetDefaults();
    mInfo->ResetPreset();
    ASSERT_TRUE(mInfo->Load("user:golden_profile"));
    EXPECT_FLOAT_EQ(mInfo->mMusicVolume, 0.1f);
    EXPECT_FLOAT_EQ(mInfo->mVoiceVolume, 0.2f);
    EXPECT_FLOAT_EQ(mInfo->mSoundVolume, 0.7f);
    EXPECT_EQ(mInfo->mCounter, 7);
    EXPECT_EQ(mInfo->mFlag, 1);
    EXPECT_FALSE(mInfo->mBool);
    EXPECT_TRUE(mInfo->HasPair("IHelpShown", "tip1"));
    EXPECT_EQ(mInfo->Pairs().size(), 1u);
    EXPECT_EQ(mInfo->mDifficulty, 2);
    EXPECT_EQ(mInfo->mMode, 1);
    EXPECT_EQ(mInfo->mSavedValue, 5);
    EXPECT_FLOAT_EQ(mInfo->mViewValue, 1.5f);
    const TModeProgress& r = mInfo->mProgress[0];
    EXPECT_EQ(r.mLevel, 1);
    EXPECT_EQ(r.mLevelScore, 30);
    EXPECT_EQ(r.mTotalScore, 400);
    EXPECT_EQ((std::vector<int>{r.mFlag1, r.mFlag2, r.mFlag3, r.mFlag4, r.mFlag5}), (std::vector<int>{1, 1, 0, 0, 1}));
    ASSERT_EQ(r.mEntries.size(), 2u);
    EXPECT_EQ(r.mEntries[0].mUnsaved, 0);
    EXPECT_EQ(r.mEntries[0].mTime, 65);
    EXPECT_EQ(r.mEntries[0].mBestScore, 120);
    EXPECT_EQ(r.mEntries[0].mBestStars, 3);
    EXPECT_EQ(mInfo->mProgress[1].mLevel, -1);
    EXPECT_EQ(mInfo->mProgress[1].mEntries.size(), 1u);
    EXPECT_EQ(mInfo->mPreset->fillcolorrecharge, 45);
    EXPECT_FLOAT_EQ(mInfo->mPreset->secsperonecell, 2.5f);
}

TEST_F(UserInfoTest, DefaultProfileIs112BytesAndTrailingBytesReadButFail)
{
    ASSERT_TRUE(mInfo->Save("user:default_profile"));
    std::string bytes = ReadWholeFile(UserPath("default_profile"));
    ASSERT_EQ(bytes.size(), 112u);
    EXPECT_EQ(ToHex(bytes.substr(0, 20)), ToHex(HexBytes("2C DB FB 71 E8 03 00 00 90 01 00 00 F4 01 00 00 F4 01 00 00")));
    EXPECT_EQ(ToHex(bytes.substr(96)), ToHex(HexBytes("1E 00 00 00 00 00 00 00 00 00 00 00 D0 07 00 00")));

    std::string longer = bytes.substr(4);
    longer[4] = static_cast<char>(0xE8);  // music 1000: 1.0
    longer[5] = 0x03;
    longer.push_back('\x7F');
    ASSERT_TRUE(WriteWholeFile(UserPath("trailing_profile"), WithCrc(longer)));
    EXPECT_FALSE(mInfo->Load("user:trailing_profile"));
    EXPECT_FLOAT_EQ(mInfo->mMusicVolume, 1.0f);
    EXPECT_FALSE(PathExists(UserPath("trailing_profile.bad")));
}

TEST_F(UserInfoTest, MissingOrDamagedFileKeepsTheProfile)
{
    mInfo->mCounter = 12;
    EXPECT_FALSE(mInfo->Load("user:no_such_profile"));
    ASSERT_TRUE(mInfo->Save("user:damaged_profile"));
    std::string bytes = ReadWholeFile(UserPath("damaged_profile"));
    bytes[30] ^= 1;
    ASSERT_TRUE(WriteWholeFile(UserPath("damaged_profile"), bytes));
    mInfo->mCounter = 13;
    EXPECT_FALSE(mInfo->Load("user:damaged_profile"));
    EXPECT_EQ(mInfo->mCounter, 13);
    EXPECT_EQ(ReadWholeFile(UserPath("damaged_profile.bad")), bytes);
}

// A profile that was not written answers false, whether the folder is missing or the
// file size limit stops the write.
TEST_F(UserInfoTest, FailedSaveAnswersFalse)
{
    EXPECT_FALSE(mInfo->Save("user:no_such_folder/profile"));
    EXPECT_FALSE(PathExists(UserPath("no_such_folder/profile")));

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {64, 64};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(11);
        _exit(mInfo->Save("user:limited_profile") ? 12 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(PathExists(UserPath("limited_profile")));
}

TEST_F(UserInfoTest, PairsNotifyOnlyRealChanges)
{
    TRecordingListener listener;
    mInfo->SetListener(&listener);
    mInfo->SetValue("k", "v");
    mInfo->SetValue("k", "v");
    EXPECT_EQ(listener.mEvents, (std::vector<std::string>{"add k=v"}));

    listener.mEvents.clear();
    mInfo->AddPair("k", "w");
    mInfo->AddPair("k", "w");
    mInfo->SetValue("k", "x");
    EXPECT_EQ(listener.mEvents, (std::vector<std::string>{"add k=w", "change k=x"}));
    ASSERT_EQ(mInfo->Pairs().size(), 2u);
    EXPECT_EQ(mInfo->Pairs()[0].second, "x");
    EXPECT_EQ(mInfo->Pairs()[1].second, "w");
    EXPECT_TRUE(mInfo->HasKey("k"));
    EXPECT_FALSE(mInfo->HasPair("k", "v"));
}

TEST_F(UserInfoTest, CounterAndTotalScoreClampAtZero)
{
    mInfo->mCounter = 3;
    EXPECT_EQ(mInfo->AddToCounter(-5), -5);
    EXPECT_EQ(mInfo->mCounter, 0);
    mInfo->mCounter = 2147483000;
    mInfo->AddToCounter(1000);
    EXPECT_EQ(mInfo->mCounter, 2147483647);

    mInfo->CurrentModeProgress().mTotalScore = 30;
    mInfo->AddToTotalScore(-50);
    EXPECT_EQ(mInfo->CurrentModeProgress().mTotalScore, 0);
    EXPECT_EQ(GetRewardConnector().mTotalScore, 0);
    mInfo->AddToTotalScore(20);
    EXPECT_EQ(mInfo->CurrentModeProgress().mTotalScore, 20);
    EXPECT_EQ(GetRewardConnector().mTotalScore, 20);
    mInfo->CurrentModeProgress().mTotalScore = 2147483000;
    mInfo->AddToTotalScore(1000);
    EXPECT_EQ(mInfo->CurrentModeProgress().mTotalScore, 2147483647);
    EXPECT_EQ(GetRewardConnector().mTotalScore, 2147483647);
}

TEST_F(UserInfoTest, AdvanceStageFollowsTheModesOwnList)
{
    struct Case {
        int mode;
        int stage, level;
        int result;
        int newStage, newLevel;
    } cases[] = {
        {0, 0, 0, 1, 0, 0}, {0, 0, 1, 0, 1, -1}, {0, 1, 2, 2, 0, -1},
        {0, 4, 0, 2, 0, -1}, {0, -1, 0, 2, 0, -1}, {1, 0, 0, 2, 0, -1},
    };
    Reset({2, 3}, {1});
    for (const Case& c : cases) {
        mInfo->mMode = c.mode;
        TModeProgress& p = mInfo->CurrentModeProgress();
        p.mStage = c.stage;
        p.mLevel = c.level;
        EXPECT_EQ(mInfo->AdvanceStage(), c.result) << "mode " << c.mode << " at " << c.stage << "," << c.level;
        EXPECT_EQ(p.mStage, c.newStage);
        EXPECT_EQ(p.mLevel, c.newLevel);
    }
}

TEST_F(UserInfoTest, FirstStageChecksCountBestScores)
{
    struct Case {
        std::vector<int> scores;
        bool complete;
        bool five;
    } cases[] = {
        {{5, 0, 1, 1, 1, 1}, false, true},
        {{-1, -1, 1, 1, 1, 1}, true, false},
    };
    Reset({6}, {});
    for (const Case& c : cases) {
        TModeProgress& p = mInfo->mProgress[0];
        for (size_t i = 0; i < c.scores.size(); ++i) p.mEntries[i].mBestScore = c.scores[i];
        EXPECT_EQ(p.FirstStageComplete(false), c.complete);
        EXPECT_EQ(p.FiveLevelsComplete(false), c.five);
    }
    // "stagesusual" has no stage at all: a first stage of no levels.
    EXPECT_TRUE(mInfo->mProgress[1].FirstStageComplete(true));
    EXPECT_FALSE(mInfo->mProgress[1].FiveLevelsComplete(true));
}

TEST_F(UserInfoTest, OutOfRangeModeDifficultyAndCountLoadSafely)
{
    // Body of a default profile with mode 7, difficulty 9 and record 0 claiming 0x7FFFFFFF entries.
    std::string body = HexBytes(
        "E8 03 00 00  90 01 00 00  F4 01 00 00  F4 01 00 00  00 00 00 00  00 00  00 00"
        "09 07  00 00 00 00  E8 03 00 00"
        "00 00 00 00  FF FF FF FF  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00 01  FF FF FF 7F"
        "00 00 00 00  FF FF FF FF  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00 01  00 00 00 00"
        "1E 00 00 00  00 00 00 00  00 00 00 00  D0 07 00 00");
    ASSERT_TRUE(WriteWholeFile(UserPath("crafted_profile"), WithCrc(body)));
    TLogWatch watch;
    // The count takes what the 45 remaining bytes hold; the reads that follow run out of
    // data but leave nothing over.
    EXPECT_TRUE(mInfo->Load("user:crafted_profile"));
    EXPECT_EQ(mInfo->mMode, 0);
    EXPECT_EQ(mInfo->mDifficulty, 4);
    EXPECT_EQ(mInfo->mProgress[0].mEntries.size(), 45u / 12u);
    EXPECT_TRUE(watch.Has("profile names 2147483647 level entries, room for 3"));
    EXPECT_TRUE(watch.Has("profile difficulty 9 out of range, none chosen"));
}

namespace {
struct TManyPairs : TBaseUserInfo {
    void Fill(size_t n)
    {
        mPairs.clear();
        for (size_t i = 0; i < n; ++i) mPairs.emplace_back("k" + std::to_string(i), "v");
    }
};
}  // namespace

// The pair count is 16 bits: the pairs beyond it are not saved; a count beyond the data
// reads only the pairs that are there.
TEST_F(UserInfoTest, PairCountKeepsToItsFieldAndToTheData)
{
    TManyPairs many;
    many.Fill(65536);
    ASSERT_TRUE(many.Save("user:many_pairs"));
    TManyPairs loaded;
    ASSERT_TRUE(loaded.Load("user:many_pairs"));
    ASSERT_EQ(loaded.Pairs().size(), 65535u);
    EXPECT_EQ(loaded.Pairs().back().first, "k65534");

    std::string body = HexBytes(
        "E8 03 00 00  90 01 00 00  F4 01 00 00  F4 01 00 00  00 00 00 00  00 00"
        "05 00  01 00 61  01 00 62");
    ASSERT_TRUE(WriteWholeFile(UserPath("short_pairs"), WithCrc(body)));
    TManyPairs shortList;
    EXPECT_TRUE(shortList.Load("user:short_pairs"));
    ASSERT_EQ(shortList.Pairs().size(), 1u);
    EXPECT_EQ(shortList.Pairs()[0], std::make_pair(std::string("a"), std::string("b")));
}

TEST_F(UserInfoTest, ShortEntryListsGrowToTheLevelsAfterLoad)
{
    Reset({1}, {});
    mInfo->mProgress[0].mEntries[0] = TLevelEntry{0, 11, 22, 2};
    ASSERT_TRUE(mInfo->Save("user:short_profile"));

    FillStageLists({1, 2}, {1});
    ASSERT_TRUE(mInfo->Load("user:short_profile"));
    ASSERT_EQ(mInfo->mProgress[0].mEntries.size(), 3u);
    EXPECT_EQ(mInfo->mProgress[0].mEntries[0].mBestScore, 22);
    EXPECT_EQ(mInfo->mProgress[0].mEntries[2].mBestScore, 0);
    EXPECT_EQ(mInfo->mProgress[1].mEntries.size(), 1u);

    // A missing file grows the lists all the same.
    FillStageLists({1, 2, 3}, {1});
    EXPECT_FALSE(mInfo->Load("user:no_such_profile"));
    EXPECT_EQ(mInfo->mProgress[0].mEntries.size(), 6u);
}
