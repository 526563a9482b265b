// Timers, shown sequences, activation counters, delayed and scene-bound sounds, the pulse
// and the flickering light, stepped in frames of 1/60 s.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include <tinyxml.h>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/buffer.h"
#include "core/random.h"
#include "core/xml_document.h"
#include "objects/object_factory.h"
#include "objects/scene_timing_fixture.h"
#include "objects/timer_objects.h"

namespace {

using TimerTest = SceneTimingTest;

TEST_F(TimerTest, FiresOnceAsIfClickedThenIdles)
{
    auto timer = Load<TTimerObject>("<object time='2' sound='beep' activateafterclick='c0;c1'/>");
    EXPECT_FALSE(timer->IsActive());
    timer->Activate(0, 0, 0);
    Run(*timer, 1.9f);
    EXPECT_TRUE(mTrace.empty());
    Run(*timer, 0.1f + kStep);
    EXPECT_EQ(mTrace, (std::vector<std::string>{"activate c0", "sound beep"}));
    EXPECT_EQ(timer->mClickCounter, 0);
    EXPECT_FALSE(timer->IsActive());
    Run(*timer, 3.0f);
    EXPECT_EQ(mTrace.size(), 2u);
    timer->Activate(0, 0, 0);
    Run(*timer, 2.0f + kStep);
    EXPECT_EQ(Count("activate c1"), 1);
}

TEST_F(TimerTest, ClickLimitKeepsItCountingWithoutFiring)
{
    auto timer = Load<TTimerObject>("<object time='1' sound='beep' maxclicks='1'/>");
    timer->Activate(0, 0, 0);
    Run(*timer, 1.0f + kStep);
    EXPECT_EQ(Count("sound beep"), 1);
    timer->Activate(0, 0, 0);
    Run(*timer, 3.0f);
    EXPECT_EQ(Count("sound beep"), 1);
    EXPECT_TRUE(timer->IsActive());
    EXPECT_GT(timer->mElapsed, 2.9f);
}

TEST_F(TimerTest, ResetAndRecord)
{
    auto timer = Load<TTimerObject>("<object time='2' maxactive='4'/>");
    timer->Activate(0, 0, 0);
    Run(*timer, 0.5f);
    TBaseBuffer buffer;
    timer->SaveState(buffer);
    auto copy = Load<TTimerObject>("<object time='2'/>");
    copy->LoadState(buffer);
    EXPECT_TRUE(copy->IsActive());
    EXPECT_NEAR(copy->mElapsed, 0.5f, 0.002f);

    timer->ResetBehaviour();
    EXPECT_FALSE(timer->IsActive());
    EXPECT_EQ(timer->mTime, 0.0f);
    EXPECT_EQ(timer->mElapsed, 0.0f);
    EXPECT_EQ(timer->mActivationCount, 0);
    EXPECT_EQ(timer->mMaxActive, 1);
}

// ---------------------------------------------------------------- sequence

// The index of the only visible child; -1 for none, -2 for more than one.
int Shown(const TObject& parent)
{
    int shown = -1;
    for (size_t i = 0; i < parent.mChildren.size(); ++i) {
        if (!parent.mChildren[i]->IsVisible()) continue;
        if (shown != -1) return -2;
        shown = static_cast<int>(i);
    }
    return shown;
}

struct TSample {
    float time;
    int shown;
};

// Steps the object from 0 to each sample's time in turn.
void ExpectShown(TObject& sequence, const std::vector<TSample>& samples, int startFrame = 0)
{
    int frame = startFrame;
    for (const TSample& s : samples) {
        const int until = static_cast<int>(s.time * 60.0f + 0.5f);
        for (; frame < until; ++frame) sequence.Update(kStep);
        EXPECT_EQ(Shown(sequence), s.shown) << "at " << s.time << " s";
    }
}

const std::vector<TSample> kOnePass{{0.5f, 0}, {1.25f, -1}, {2.0f, 1}, {2.75f, -1}, {3.5f, 2}, {4.25f, -1}, {5.0f, -1}};

using SequenceTest = SceneTimingTest;

TEST_F(SequenceTest, ShowsEachChildInTurnThenIdles)
{
    auto sequence = Load<TShowSequenceObject>("<object sounda='chime'/>");
    for (int i = 0; i < 3; ++i) NestChild(*sequence, "<object/>", &mSpace);
    sequence->ActivateSimple();
    ExpectShown(*sequence, kOnePass);
    EXPECT_EQ(sequence->mPhase, 0);
    EXPECT_EQ(Count("sound chime"), 3);
}

TEST_F(SequenceTest, EndlessCountStartsOver)
{
    auto sequence = Load<TShowSequenceObject>("<object count='-1'/>");
    for (int i = 0; i < 3; ++i) NestChild(*sequence, "<object/>", &mSpace);
    sequence->ActivateSimple();
    ExpectShown(*sequence, {{4.25f, -1}, {5.0f, 0}, {6.5f, 1}});
}

TEST_F(SequenceTest, LockedOrActivatedItNeverStarts)
{
    auto locked = Load<TShowSequenceObject>("<object l='1'/>");
    NestChild(*locked, "<object/>", &mSpace);
    locked->ActivateSimple();
    EXPECT_EQ(locked->mPhase, 0);
    auto activated = Load<TShowSequenceObject>("<object/>");
    NestChild(*activated, "<object/>", &mSpace);
    activated->Activate(0, 0, 0);
    EXPECT_EQ(activated->mPhase, 0);
    EXPECT_TRUE(activated->IsActive());
}

TEST_F(SequenceTest, StartedByItsElementShowsOneChildFromTheLoad)
{
    TOwned<TObjectFactory> oldFactory = std::move(GetAppState().mObjectFactory);
    GetAppState().mObjectFactory.reset(new TObjectFactory());
    TiXmlDocument doc;
    ParseXmlText(&doc, "<Objects><object id='seq' type='seq_show' active='1' sounda='chime'>"
                       "<object id='a'/><object id='b'/><object id='c'/></object></Objects>");
    mSpace.LoadObjects(doc.RootElement(), nullptr);
    ASSERT_EQ(mSpace.mObjects.size(), 1u);
    TObject& sequence = *mSpace.mObjects.front();
    EXPECT_EQ(Shown(sequence), 0);
    ExpectShown(sequence, {{0.5f, 0}, {1.25f, -1}, {2.0f, 1}});
    GetAppState().mObjectFactory = std::move(oldFactory);
}

// ---------------------------------------------------------------- counter

using CounterTest = SceneTimingTest;

TEST_F(CounterTest, ReportsOnTheThirdActivationOnly)
{
    auto counter = Load<TActivateCounter>("<object count='3' activateafterevent='g0'/>");
    counter->Activate(0, 0, 0);
    counter->Activate(0, 0, 0);
    EXPECT_TRUE(mTrace.empty());
    counter->Activate(0, 0, 0);
    EXPECT_EQ(mTrace, (std::vector<std::string>{"activate g0"}));
    counter->Activate(0, 0, 0);
    EXPECT_EQ(mTrace.size(), 1u);
    EXPECT_FALSE(counter->IsActive());

    TBaseBuffer record;
    counter->TObject::SaveState(record);
    for (uint8_t byte : {0x00, 0x00, 0x00, 0x80}) record.WriteByte(byte);
    auto damaged = Load<TActivateCounter>("<object count='3'/>");
    damaged->LoadState(record);
    damaged->Activate(0, 0, 0);
    damaged->Activate(0, 0, 0);
    EXPECT_EQ(damaged->mRemaining, INT32_MIN);

    TBaseBuffer roundTrip;
    counter->SaveState(roundTrip);
    auto copy = Load<TActivateCounter>("<object count='3'/>");
    copy->LoadState(roundTrip);
    EXPECT_EQ(copy->mRemaining, -1);
}

// ---------------------------------------------------------------- sounds

using DelayedSoundTest = SceneTimingTest;

// Seconds since the start at which the sound manager was asked to play the id.
std::vector<float> PlayTimes(TObject& object, const std::vector<std::string>& trace, const std::string& id,
                             float seconds)
{
    std::vector<float> times;
    size_t seen = trace.size();
    const int frames = static_cast<int>(seconds * 60.0f + 0.5f);
    for (int frame = 1; frame <= frames; ++frame) {
        object.Update(kStep);
        for (; seen < trace.size(); ++seen)
            if (trace[seen] == "manager play " + id) times.push_back(static_cast<float>(frame) / 60.0f);
    }
    return times;
}

// Each wait starts in the update after the one that ended the last: a frame at most per wait.
void ExpectTimes(const std::vector<float>& got, const std::vector<float>& expected)
{
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], expected[i], (static_cast<float>(i) + 1.5f) / 60.0f) << i;
}

TEST_F(DelayedSoundTest, PlaysAfterEachDelay)
{
    struct Case {
        const char* keys;
        std::vector<float> times;
        int reports;
    };
    const Case cases[] = {
        {"delays='1,2' loop='1'", {1.0f, 3.0f}, 1},
        {"delays='1,2' loop='-1'", {1.0f, 3.0f, 4.0f, 6.0f, 7.0f}, 0},
        {"delays='1,0,2'", {1.0f}, 0},
        {"", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        mTrace.clear();
        auto sound =
            Load<TDelayLoopsSoundObject>(std::string("<object sound='bird' activateafterevent='g0' ") + c.keys + "/>");
        sound->Activate(0, 0, 0);
        ExpectTimes(PlayTimes(*sound, mTrace, "bird", 7.5f), c.times);
        EXPECT_EQ(Count("activate g0"), c.reports);
    }
}

TEST_F(DelayedSoundTest, ActivationMidChainStartsOver)
{
    auto sound = Load<TDelayLoopsSoundObject>("<object sound='bird' delays='1,2'/>");
    sound->Activate(0, 0, 0);
    ExpectTimes(PlayTimes(*sound, mTrace, "bird", 2.0f), {1.0f});
    sound->Activate(0, 0, 0);
    ExpectTimes(PlayTimes(*sound, mTrace, "bird", 4.0f), {1.0f, 3.0f});
}

TEST_F(DelayedSoundTest, SoundObjectFollowsShowHideAndLock)
{
    auto sound = Load<TSoundObject>("<object id='hum'/>");
    sound->OnSpaceShown();
    sound->OnSpaceHidden();
    sound->Lock();
    sound->OnSpaceShown();
    sound->Unlock();
    EXPECT_EQ(mTrace, (std::vector<std::string>{"manager play hum", "manager stop hum", "manager stop hum",
                                                "manager play hum"}));
}

// ---------------------------------------------------------------- pulse and light

using LightTest = SceneTimingTest;

TEST_F(LightTest, PulseRunsUpAndDownOnce)
{
    auto pulse = Load<TBlendingObject>("<object time='0.5' alpha='0.7' activateafterevent='g0'/>");
    EXPECT_EQ(pulse->mAlpha, 0.0f);
    pulse->Activate(0, 0, 0);
    for (float expected : {0.5f, 1.0f, 0.5f, 0.0f}) {
        Run(*pulse, 0.5f);
        EXPECT_NEAR(pulse->mAlpha, expected, 0.02f);
    }
    Run(*pulse, 2 * kStep);
    Run(*pulse, 1.0f);
    EXPECT_EQ(mTrace, (std::vector<std::string>{"activate g0"}));
    EXPECT_EQ(pulse->mAlpha, 0.0f);
}

TEST_F(LightTest, PulseOnEachShowAndDarkWhenHidden)
{
    auto pulse = Load<TBlendingObject>("<object time='0.5' onshow='1'/>");
    for (int show = 0; show < 2; ++show) {
        pulse->OnSpaceShown();
        Run(*pulse, 1.0f);
        EXPECT_NEAR(pulse->mAlpha, 1.0f, 0.02f) << show;
        pulse->OnSpaceHidden();
        EXPECT_EQ(pulse->mAlpha, 0.0f);
    }
}

float Draw() { return static_cast<float>(GameRand() % 32767) / 32767.0f; }

TEST_F(LightTest, LightSwingsMonotonicallyBetweenItsBands)
{
    SeedRandom(1234);
    auto light = Load<TLightObject>("<object/>");
    SeedRandom(1234);
    const float u1 = Draw(), u2 = Draw(), u3 = Draw();
    const float target = 0.0f + u1 * 0.2f;
    const float time = 0.5f + u2 * (1.0f - 0.5f);
    const float k = 3.0f + 2.0f * u3;
    const float speed = (target - 1.0f) * 2.0f / ((k + 1.0f) * time);
    EXPECT_FLOAT_EQ(light->mTargetAlpha, target);
    EXPECT_FLOAT_EQ(light->mDuration, time);
    EXPECT_FLOAT_EQ(light->mStartSpeed, speed);
    EXPECT_FLOAT_EQ(light->mAcceleration, (speed * k - speed) / time);

    // Six swings: each moves one way to its target, and the bands alternate.
    bool low = true;
    for (int swing = 0; swing < 6; ++swing) {
        const float from = light->mAlpha;
        const float to = light->mTargetAlpha;
        EXPECT_TRUE(low ? (to >= 0.0f && to <= 0.2f) : (to >= 0.8f && to <= 1.0f)) << swing << " " << to;
        float previous = from;
        while (true) {
            light->Update(kStep);
            if (light->mStartAlpha != from || light->mTargetAlpha != to) break;  // the next swing began
            EXPECT_TRUE(to < from ? light->mAlpha <= previous + 1e-6f : light->mAlpha >= previous - 1e-6f) << swing;
            previous = light->mAlpha;
        }
        EXPECT_FLOAT_EQ(light->mAlpha, to) << swing;
        low = !low;
    }
}

TEST_F(LightTest, LightWithoutTimeTakesItsTargetEachUpdate)
{
    auto light = Load<TLightObject>("<object mint='0' maxt='0'/>");
    for (int i = 0; i < 10; ++i) {
        const float target = light->mTargetAlpha;
        light->Update(kStep);
        EXPECT_FALSE(std::isnan(light->mAlpha));
        EXPECT_FLOAT_EQ(light->mAlpha, target);
    }
}

}  // namespace
