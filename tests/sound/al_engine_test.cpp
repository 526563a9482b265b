#include <gtest/gtest.h>

#include <future>
#include <memory>

#include "audio_cases.h"
#include "sound/al_engine.h"
#include "sound/sound_test_support.h"

namespace {

class AlEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAlOutputOpener(OpenLoopbackOutput);
        mEngine.reset(new TAlEngine());
        ASSERT_TRUE(mEngine->HasContext());
    }
    void TearDown() override
    {
        mEngine.reset();
        SetAlOutputOpener(nullptr);
    }
    TAlEngine* Engine() { return mEngine.get(); }

    std::unique_ptr<TAlEngine> mEngine;
};

const float kShortSeconds = 0.2f;
const float kLongSeconds = 1.5f;
// OpenAL fades a paused or stopped source out over a few milliseconds instead of cutting it.
const size_t kDeclickTail = 2 * 4410;
const double kSilence = 5.0;  // the mixer dithers one bit

}  // namespace

TEST_F(AlEngineTest, BadFilesGiveNoHandleAndTheExactLogLine)
{
    struct {
        const char* file;
        const char* line;
    } cases[] = {
        {"missing.ogg", "ERROR: Could not find file named \"%s\""},
        {"notogg.ogg", "Cannot open og file %s"},
    };
    for (auto& c : cases) {
        std::string path = SoundFile(c.file);
        EXPECT_EQ(Engine()->OpenStream(path), 0u) << c.file;
        char expected[1024];
        snprintf(expected, sizeof(expected), c.line, path.c_str());
        EXPECT_NE(LogText().find(std::string(expected) + "\n"), std::string::npos) << expected;
    }
    EXPECT_EQ(Engine()->StreamCount(), 0u);
}

TEST_F(AlEngineTest, DamagedFileOpensPlaysAndEndsWithoutHanging)
{
    unsigned handle = Engine()->OpenStream(SoundFile("damaged.ogg"));
    ASSERT_NE(handle, 0u);
    Engine()->Play(handle, false, 1.0f);
    RenderSeconds(Engine(), 3.0f);
    EXPECT_NE(Engine()->StreamState(handle), 1);
    // The run goes on: a healthy stream still plays.
    unsigned good = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned source = Engine()->Play(good, false, 1.0f);
    EXPECT_NE(source, 0u);
    EXPECT_TRUE(Engine()->IsPlaying(source));
}

TEST_F(AlEngineTest, UnknownHandlesChangeNothingAndFreeTheLock)
{
    unsigned handle = Engine()->OpenStream(SoundFile("short.ogg"));
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(Engine()->Play(0, false, 1.0f), 0u);
    EXPECT_EQ(Engine()->Play(handle + 1000, false, 1.0f), 0u);
    Engine()->CloseStream(handle + 1000);
    EXPECT_EQ(Engine()->StreamCount(), 1u);
    EXPECT_EQ(Engine()->StreamState(handle), 0);
    // Another thread must get the engine at once.
    auto other = std::async(std::launch::async, [this] { return Engine()->StreamCount(); });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(other.get(), 1u);
}

TEST_F(AlEngineTest, StreamWithoutLoopStopsAfterItsEnd)
{
    unsigned handle = Engine()->OpenStream(SoundFile("short.ogg"));
    unsigned source = Engine()->Play(handle, false, 1.0f);
    ASSERT_NE(source, 0u);
    EXPECT_TRUE(Engine()->IsPlaying(source));
    std::vector<short> out = RenderSeconds(Engine(), kShortSeconds + 0.2f);
    Engine()->Update();
    EXPECT_GT(Rms(out), 100.0);
    EXPECT_FALSE(Engine()->IsPlaying(source));
    EXPECT_EQ(Engine()->StreamState(handle), 2);
}

TEST_F(AlEngineTest, LoopingStreamWrapsAndKeepsSounding)
{
    unsigned handle = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned source = Engine()->Play(handle, true, 1.0f);
    ASSERT_NE(source, 0u);
    std::vector<short> out = RenderSeconds(Engine(), 3 * kLongSeconds);
    EXPECT_TRUE(Engine()->IsPlaying(source));
    EXPECT_EQ(Engine()->StreamState(handle), 1);
    // The last second lies after the second wrap.
    size_t lastSecond = out.size() - 2 * 44100;
    EXPECT_GT(Rms(out, lastSecond), 1000.0);
}

TEST_F(AlEngineTest, PausedStreamKeepsItsQueueUntilResumed)
{
    unsigned handle = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned source = Engine()->Play(handle, false, 1.0f);
    RenderSeconds(Engine(), 0.3f);
    Engine()->SetPaused(source, true);
    EXPECT_TRUE(Engine()->IsPaused(source));
    EXPECT_FALSE(Engine()->IsPlaying(source));
    ALint queued = 0, offset = SourceOffset(source);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    std::vector<short> silent = RenderSeconds(Engine(), 0.5f);
    ALint queuedAfter = 0;
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queuedAfter);
    EXPECT_EQ(queuedAfter, queued);
    EXPECT_EQ(SourceOffset(source), offset);
    EXPECT_LT(Rms(silent, kDeclickTail), kSilence);

    Engine()->SetPaused(source, false);
    EXPECT_TRUE(Engine()->IsPlaying(source));
    std::vector<short> out = RenderSeconds(Engine(), 0.2f);
    EXPECT_GT(Rms(out), 1000.0);
}

TEST_F(AlEngineTest, PlayingAgainRestartsOnTheSameSource)
{
    unsigned handle = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned source = Engine()->Play(handle, false, 1.0f);
    RenderSeconds(Engine(), 0.2f, false);
    EXPECT_GT(SourceOffset(source), 4000);
    EXPECT_EQ(Engine()->Play(handle, false, 1.0f), source);
    EXPECT_LT(SourceOffset(source), 100);
    EXPECT_TRUE(Engine()->IsPlaying(source));
}

TEST_F(AlEngineTest, ForeignSourceAnswersFromItsOpenAlState)
{
    ALuint source = 0, buffer = 0;
    alGenSources(1, &source);
    alGenBuffers(1, &buffer);
    std::vector<short> tone(22050);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<short>((i % 50) * 400 - 10000);
    alBufferData(buffer, AL_FORMAT_MONO16, tone.data(), static_cast<ALsizei>(tone.size() * 2), 22050);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    EXPECT_FALSE(Engine()->IsPlaying(source));
    alSourcePlay(source);
    EXPECT_TRUE(Engine()->IsPlaying(source));
    alSourcePause(source);
    EXPECT_TRUE(Engine()->IsPaused(source));
    Engine()->Stop(source);
    EXPECT_FALSE(Engine()->IsPlaying(source));
    EXPECT_FALSE(Engine()->IsPaused(source));
    alDeleteSources(1, &source);
    alDeleteBuffers(1, &buffer);
    EXPECT_FALSE(Engine()->IsPlaying(source));
}

// An ended sound keeps its source name, so nobody else's sound answers for it.
TEST_F(AlEngineTest, EndedStreamKeepsItsSourceApartFromTheNextSound)
{
    unsigned a = Engine()->OpenStream(SoundFile("short.ogg"));
    unsigned b = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned sourceA = Engine()->Play(a, false, 1.0f);
    RenderSeconds(Engine(), kShortSeconds + 0.3f);
    ASSERT_FALSE(Engine()->IsPlaying(sourceA));
    unsigned sourceB = Engine()->Play(b, false, 1.0f);
    EXPECT_NE(sourceB, sourceA);
    Engine()->Stop(sourceA);
    EXPECT_FALSE(Engine()->IsPlaying(sourceA));
    EXPECT_TRUE(Engine()->IsPlaying(sourceB));
    EXPECT_GT(Rms(RenderSeconds(Engine(), 0.2f)), 1000.0);
}

TEST_F(AlEngineTest, ResumeWithoutPauseNeitherRestartsNorRevives)
{
    unsigned ended = Engine()->OpenStream(SoundFile("short.ogg"));
    unsigned endedSource = Engine()->Play(ended, false, 1.0f);
    RenderSeconds(Engine(), kShortSeconds + 0.3f);
    ASSERT_FALSE(Engine()->IsPlaying(endedSource));

    unsigned playing = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned source = Engine()->Play(playing, false, 1.0f);
    RenderSeconds(Engine(), 0.2f, false);
    ALint offset = SourceOffset(source);
    ASSERT_GT(offset, 4000);
    Engine()->SetPaused(source, false);
    Engine()->SetPaused(endedSource, false);
    EXPECT_EQ(SourceOffset(source), offset);
    EXPECT_TRUE(Engine()->IsPlaying(source));
    EXPECT_FALSE(Engine()->IsPlaying(endedSource));
    Engine()->Update();
    EXPECT_EQ(Engine()->StreamState(ended), 2);
}

TEST_F(AlEngineTest, StopAndCloseReleaseTheStream)
{
    unsigned handle = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned source = Engine()->Play(handle, true, 0.5f);
    Engine()->Stop(source);
    EXPECT_FALSE(Engine()->IsPlaying(source));
    EXPECT_EQ(Engine()->StreamState(handle), 2);
    EXPECT_LT(Rms(RenderSeconds(Engine(), 0.3f), kDeclickTail), kSilence);
    // A stopped stream plays again from its start on its own source.
    EXPECT_EQ(Engine()->Play(handle, false, 1.0f), source);
    Engine()->CloseStream(handle);
    EXPECT_EQ(Engine()->StreamCount(), 0u);
    EXPECT_FALSE(Engine()->IsPlaying(source));
}

TEST_F(AlEngineTest, GainIsKeptAndReappliedByTheStep)
{
    unsigned handle = Engine()->OpenStream(SoundFile("long.ogg"));
    unsigned source = Engine()->Play(handle, false, 1.0f);
    Engine()->SetGain(source, 0.25f);
    alSourcef(source, AL_GAIN, 1.0f);  // behind the engine's back
    Engine()->Update();
    ALfloat gain = 0;
    alGetSourcef(source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.25f);
}

TEST(AlEngineNoDevice, EveryOperationFailsQuietly)
{
    SetAlOutputOpener(OpenNoOutput);
    {
        TAlEngine engine;
        EXPECT_FALSE(engine.HasContext());
        unsigned handle = engine.OpenStream(SoundFile("short.ogg"));
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(engine.Play(handle, false, 1.0f), 0u);
        EXPECT_EQ(engine.Play(1, false, 1.0f), 0u);
        EXPECT_FALSE(engine.IsPlaying(1));
        EXPECT_FALSE(engine.IsPaused(1));
        engine.Stop(1);
        engine.SetPaused(1, true);
        engine.SetGain(1, 0.5f);
        engine.CloseStream(1);
        EXPECT_TRUE(engine.Update());
        engine.RequestStop();
        EXPECT_FALSE(engine.Update());
    }
    SetAlOutputOpener(nullptr);
    EXPECT_NE(LogText().find("No audio device: the game runs silent\n"), std::string::npos);
}
