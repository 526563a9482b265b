#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include <tinyxml.h>

#include "audio_cases.h"
#include "core/random.h"
#include "core/xml_document.h"
#include "log_watch.h"
#include "sound/al_engine.h"
#include "sound/sound_info.h"
#include "sound/sound_manager.h"
#include "sound/sound_test_support.h"

namespace {

struct TFinishRecorder : TSoundInfoListener {
    void OnSoundFinished() override { ++mFinished; }
    int mFinished = 0;
};

// The loopback engine as the process's engine, with "lists.xml" loaded from the fixtures.
class PlayListTest : public ::testing::Test {
protected:
    PlayListTest() : mAssets(SoundData()) {}
    void SetUp() override
    {
        UseSoundOutput(OpenLoopbackOutput);
        ASSERT_TRUE(GetAlEngine()->HasContext());
        mRoot = LoadXmlDocument("lists.xml");
        ASSERT_NE(mRoot, nullptr);
    }
    void TearDown() override
    {
        DeleteCurrentXmlDocument();
        ReleaseSoundForNextTest();
        SetAlOutputOpener(nullptr);
    }
    TAlEngine* Engine() { return GetAlEngine(); }
    ALfloat Gain(unsigned source) { return SourceGain(Engine(), source); }

    TAssetsFolder mAssets;
    TiXmlElement* mRoot = nullptr;
};

const float kStep = 0.5f;

}  // namespace

TEST_F(PlayListTest, NewTrackWaitsForTheOldOneToFadeOut)
{
    TMusicPlayList list(mRoot, "music");
    ASSERT_EQ(list.mSounds.size(), 3u);
    SharedPtr<TAlSoundInfo> a = list.FindSound("track1"), b = list.FindSound("track2");
    ASSERT_TRUE(list.PlayTrack("track1"));
    for (int i = 0; i < 10; ++i) list.Update(kStep);
    ASSERT_NEAR(list.Level(), 1.0f, 1e-4);
    unsigned sourceA = a->mSource;
    EXPECT_TRUE(list.IsPlaying("track1"));

    ASSERT_TRUE(list.PlayTrack("track2"));
    for (int i = 1; i <= 10; ++i) {
        list.Update(kStep);
        if (i < 10) {
            EXPECT_NEAR(list.Level(), 1.0f - i * 0.1f, 1e-4) << i;
            EXPECT_TRUE(list.IsPlaying("track1"));
            EXPECT_NEAR(Gain(sourceA), list.Level(), 1e-4);
        }
    }
    EXPECT_FALSE(Engine()->IsPlaying(sourceA));
    EXPECT_TRUE(list.mCurrent == b);
    EXPECT_NEAR(list.Level(), 0.0f, 1e-4);
    EXPECT_TRUE(list.IsPlaying("track2"));
    for (int i = 1; i <= 10; ++i) {
        list.Update(kStep);
        EXPECT_NEAR(list.Level(), i * 0.1f, 1e-4) << i;
    }
    EXPECT_NEAR(Gain(b->mSource), 1.0f, 1e-4);
}

TEST_F(PlayListTest, ReplayDuringFadeOutDropsThePendingTrack)
{
    TMusicPlayList list(mRoot, "music");
    list.PlayTrack("track1");
    for (int i = 0; i < 10; ++i) list.Update(kStep);
    list.PlayTrack("track2");
    for (int i = 0; i < 6; ++i) list.Update(kStep);
    ASSERT_NEAR(list.Level(), 0.4f, 1e-4);
    list.PlayTrack("track1");
    EXPECT_FALSE(list.mPending);
    for (int i = 0; i < 6; ++i) list.Update(kStep);
    EXPECT_NEAR(list.Level(), 1.0f, 1e-4);
    EXPECT_TRUE(list.IsPlaying("track1"));
    for (int i = 0; i < 20; ++i) list.Update(kStep);
    EXPECT_TRUE(list.IsPlaying("track1"));
    EXPECT_FALSE(list.IsPlaying("track2"));
}

TEST_F(PlayListTest, EndedTrackMovesOnAndWrapsToTheFirst)
{
    struct {
        const char* start;
        const char* next;
    } cases[] = {{"track1", "track2"}, {"track3", "track1"}};
    for (auto& c : cases) {
        TMusicPlayList list(mRoot, "music");
        list.PlayTrack(c.start);
        list.Update(kStep);
        RenderSeconds(Engine(), 0.5f);  // the short track runs out
        list.Update(kStep);
        ASSERT_TRUE(list.mCurrent) << c.start;
        EXPECT_EQ(list.mCurrent->mId, c.next);
        EXPECT_TRUE(list.IsPlaying(c.next));
    }
}

TEST_F(PlayListTest, PlayFirstPicksWhatTheGeneratorPredicts)
{
    bool seen[3] = {false, false, false};
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SeedRandom(seed);
        int expected = GameRand() % 3;
        SeedRandom(seed);
        TMusicPlayList list(mRoot, "music");
        ASSERT_TRUE(list.PlayFirst(true));
        ASSERT_TRUE(list.mCurrent);
        EXPECT_TRUE(list.mCurrent == list.mSounds[expected]) << seed;
        seen[expected] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);

    TMusicPlayList ordered(mRoot, "music");
    ASSERT_TRUE(ordered.PlayFirst(false));
    EXPECT_EQ(ordered.mCurrent->mId, "track1");
    TMusicPlayList empty(mRoot, "nosuchtag");
    EXPECT_FALSE(empty.PlayFirst(true));
    EXPECT_FALSE(empty.mCurrent);
}

TEST_F(PlayListTest, LoopTwoPlaysTwiceThenReportsOnce)
{
    TSoundPlayList list(mRoot, "sound", true, 0);
    SharedPtr<TAlSoundInfo> sound = list.FindSound("twice");
    TFinishRecorder recorder;
    sound->mOwner = &recorder;
    ASSERT_TRUE(list.Play("twice"));
    unsigned source = sound->mSource;
    ASSERT_NE(source, 0u);
    RenderSeconds(Engine(), 0.5f);
    ASSERT_FALSE(Engine()->IsPlaying(source));
    list.Update(kStep);
    EXPECT_TRUE(list.IsPlaying("twice"));  // the second play
    EXPECT_EQ(recorder.mFinished, 0);
    RenderSeconds(Engine(), 0.5f);
    list.Update(kStep);
    EXPECT_FALSE(list.IsPlaying("twice"));
    EXPECT_EQ(recorder.mFinished, 1);
    EXPECT_EQ(sound->mSource, 0u);
    list.Update(kStep);
    EXPECT_EQ(recorder.mFinished, 1);
}

TEST_F(PlayListTest, EndlessLoopNeverReportsAnEnd)
{
    TSoundPlayList list(mRoot, "sound", true, 0);
    TFinishRecorder recorder;
    list.FindSound("endless")->mOwner = &recorder;
    list.Play("endless");
    for (int i = 0; i < 8; ++i) {
        RenderSeconds(Engine(), 0.5f);
        list.Update(kStep);
    }
    EXPECT_TRUE(list.IsPlaying("endless"));
    EXPECT_EQ(recorder.mFinished, 0);
}

TEST_F(PlayListTest, DelayedSoundStartsOnTheFourthHalfSecond)
{
    TSoundPlayList list(mRoot, "sound", true, 0);
    ASSERT_TRUE(list.Play("later"));
    for (int i = 1; i <= 3; ++i) {
        list.Update(kStep);
        EXPECT_FALSE(list.IsPlaying("later")) << i;
    }
    list.Update(kStep);
    EXPECT_TRUE(list.IsPlaying("later"));
}

TEST_F(PlayListTest, ClosedListPlaysNothingUntilReopened)
{
    TSoundPlayList list(mRoot, "sound", true, 0);
    list.CloseStreams();
    EXPECT_FALSE(list.mOpen);
    EXPECT_EQ(Engine()->StreamCount(), 0u);
    EXPECT_TRUE(list.Play("both"));
    EXPECT_EQ(list.FindSound("both")->mSource, 0u);
    EXPECT_FALSE(list.IsPlaying("both"));
    list.OpenStreams();
    EXPECT_TRUE(list.Play("both"));
    EXPECT_TRUE(list.IsPlaying("both"));
}

TEST_F(PlayListTest, VolumeIsClampedAndScaledByTheBase)
{
    TSoundPlayList list(mRoot, "sound", true, 0);
    SharedPtr<TAlSoundInfo> soft = list.FindSound("soft");
    ASSERT_FLOAT_EQ(soft->mBaseVolume, 0.8f);
    list.Play("soft");
    struct {
        float volume, effective;
    } cases[] = {{-0.5f, 0.0f}, {0.3f, 0.24f}, {1.5f, 0.8f}};
    for (auto& c : cases) {
        list.SetVolume(c.volume);
        EXPECT_NEAR(soft->mVolume, c.effective, 1e-6) << c.volume;
        Engine()->Update();
        EXPECT_NEAR(Gain(soft->mSource), c.effective, 1e-6) << c.volume;
        soft->SetVolume(c.volume);
        EXPECT_NEAR(soft->mVolume, c.effective, 1e-6) << c.volume;
    }
}

// Base volumes outside 0..1 are clamped once, at load, with a line naming the sound; no
// gain OpenAL would refuse ever reaches it.
TEST_F(PlayListTest, BaseVolumesOutOfRangeAreClampedAtLoad)
{
    TLogWatch watch;
    DeleteCurrentXmlDocument();
    TiXmlElement* root = LoadXmlDocument("volumes.xml");
    ASSERT_NE(root, nullptr);
    TSoundPlayList list(root, "sound", true, 0);
    struct {
        const char* id;
        float base;
    } cases[] = {{"negative", 0.0f}, {"notanumber", 1.0f}, {"loud", 1.0f}, {"half", 0.5f}};
    for (auto& c : cases) {
        SharedPtr<TAlSoundInfo> sound = list.FindSound(c.id);
        ASSERT_TRUE(sound.Get()) << c.id;
        EXPECT_FLOAT_EQ(sound->mBaseVolume, c.base) << c.id;
        list.Play(c.id);
        Engine()->Update();
        EXPECT_FLOAT_EQ(Gain(sound->mSource), c.base) << c.id;
        EXPECT_EQ(watch.CountStartingWith("sound " + std::string(c.id) + ":"), c.base == 0.5f ? 0u : 1u) << c.id;
    }
    Engine()->SetGain(list.FindSound("half")->mSource, NAN);
    EXPECT_FLOAT_EQ(Gain(list.FindSound("half")->mSource), 1.0f);
    Engine()->SetGain(list.FindSound("half")->mSource, -2.0f);
    EXPECT_FLOAT_EQ(Gain(list.FindSound("half")->mSource), 0.0f);
    EXPECT_EQ(watch.Text().find("OpenAL error"), std::string::npos) << watch.Text();
}

// A list dropped without CloseStreams still closes its streams and silences its loop.
TEST_F(PlayListTest, DestroyedListClosesItsStreams)
{
    size_t before = Engine()->StreamCount();
    {
        TSoundPlayList list(mRoot, "sound", true, 0);
        list.Play("endless");
        EXPECT_GT(Engine()->StreamCount(), before);
    }
    EXPECT_EQ(Engine()->StreamCount(), before);
    EXPECT_LT(Rms(RenderSeconds(Engine(), 0.3f), 2 * 4410), 5.0);
}
