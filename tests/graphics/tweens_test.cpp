#include "graphics/tweens.h"

#include <gtest/gtest.h>

#include <climits>

#include <functional>

#include "core/buffer.h"
#include "core/random.h"
#include "log_watch.h"

namespace {

struct TCountingListener : IncValueListener {
    int told = 0;
    void OnIncValueFinished(IncValue*) override { ++told; }
};

TEST(IncValue, RunsLinearlyAndTellsTheListenerOnce)
{
    IncValue v;
    TCountingListener listener;
    v.mListener = &listener;
    v.Set(0, 1, 2, true);
    const float expected[] = {0.25f, 0.5f, 0.75f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        bool finished = v.Update(0.5f);
        EXPECT_FLOAT_EQ(expected[i], v.mCurrent);
        EXPECT_EQ(i == 3, finished);
    }
    EXPECT_TRUE(v.Update(0.5f));
    EXPECT_EQ(1, listener.told);
}

TEST(IncValue, EdgeCases)
{
    IncValue zero;
    zero.Set(3, 7, 0, true);
    EXPECT_TRUE(zero.Update(0.01f));
    EXPECT_FLOAT_EQ(7, zero.mCurrent);

    IncValue delayed;
    delayed.Set(0, 1, 1, true);
    delayed.mDelay = 0.3f;
    EXPECT_FALSE(delayed.Update(0.2f));
    EXPECT_FLOAT_EQ(0, delayed.mCurrent);
    delayed.Update(0.2f);
    EXPECT_FLOAT_EQ(0.2f, delayed.mCurrent);

    IncValue flat;
    flat.Set(1, 1, 5, true);
    EXPECT_TRUE(flat.mFinished);
    EXPECT_FALSE(flat.mRunning);

    IncValue set;
    set.mFinishAtOnce = false;
    set.Set(0, 1, 1, true);
    set.SetValue(4);
    EXPECT_TRUE(set.mFinished);
    EXPECT_FLOAT_EQ(4, set.mCurrent);
    EXPECT_FLOAT_EQ(4, set.mTo);
}

TEST(PulseValue, SwingsThroughItsFourSegments)
{
    PulseValue p;
    p.Start(0, 1, 0.5f, 0.2f);
    const float expected[] = {1, 0.5f, 1, 0};
    for (int i = 0; i < 4; ++i) {
        bool finished = p.Update(0.2f);
        EXPECT_FLOAT_EQ(expected[i], p.GetValue()) << i;
        EXPECT_EQ(i == 3, finished) << i;
    }
    EXPECT_FALSE(p.mActive);

    PulseValue low;
    low.mStopAtLow = true;
    low.Start(0, 1, 0.5f, 0.2f);
    EXPECT_FALSE(low.Update(0.2f));
    EXPECT_TRUE(low.Update(0.2f));
    EXPECT_FLOAT_EQ(0.5f, low.GetValue());

    PulseValue paused;
    paused.mPause = 0.4f;
    paused.Start(0, 1, 0.5f, 0.2f);
    paused.Update(0.2f);  // reaches the peak, then pauses
    paused.Update(0.2f);
    paused.Update(0.2f);  // pause over: the second segment starts
    EXPECT_FLOAT_EQ(1, paused.GetValue());
    paused.Update(0.2f);
    EXPECT_FLOAT_EQ(0.5f, paused.GetValue());
}

TEST(PulseValue, SegmentWithEqualEndsMovesOnAtTheNextUpdate)
{
    PulseValue p;
    p.Start(1, 1, 0, 0.5f);  // start→peak is flat
    p.Update(0.5f);
    p.Update(0.5f);
    EXPECT_FLOAT_EQ(0, p.GetValue());
}

// Keys at 0, 1 and 3 seconds; the finish time tells how many times the track played.
TEST(TEffectorChannel, LoopCounts)
{
    struct Case {
        int loops;
        float finishAt;  // 0: never within 20 s
    };
    for (Case c : {Case{1, 3}, Case{2, 6}, Case{0, 3}, Case{-1, 0}}) {
        TEffectorChannel ch;
        ch.mValues = {0, 10, 4};
        ch.mTimes = {0, 1, 3};
        ch.mLoops = c.loops;
        ch.mFinished = false;
        ch.SeekSegment(0);
        float t = 0;
        bool done = false;
        while (!done && t < 20) {
            done = ch.Update(0.5f);
            t += 0.5f;
        }
        if (c.finishAt == 0) {
            EXPECT_FALSE(done) << c.loops;
        } else {
            EXPECT_TRUE(ch.mFinished) << c.loops;
            EXPECT_FLOAT_EQ(c.finishAt, t) << c.loops;
            EXPECT_FLOAT_EQ(4, ch.GetValue()) << c.loops;
        }
    }
}

TEST(SavedState, IncValueIsTwentyFourExactBytes)
{
    IncValue v;
    v.Set(1, 2.5f, 4, true);
    v.Update(1);
    TBaseBuffer b;
    v.SaveState(&b);
    const std::vector<uint8_t> expected = {
        0x5F, 0x05, 0, 0,  // current 1.375
        0xE8, 0x03, 0, 0,  // from 1
        0xC4, 0x09, 0, 0,  // to 2.5
        0xA0, 0x0F, 0, 0,  // duration 4
        0xE8, 0x03, 0, 0,  // elapsed 1
        0, 1, 0, 1};
    EXPECT_EQ(expected, b.Bytes());
    IncValue back;
    back.LoadState(&b);
    EXPECT_FLOAT_EQ(1.375f, back.mCurrent);
    EXPECT_TRUE(back.mRunning);
    EXPECT_FLOAT_EQ(1.75f, (back.Update(1), back.mCurrent));
}

// The record's flags and times must agree: a tween finished yet running, or paused without
// running, never ends, and whatever waits for its end waits for good.
TEST(SavedState, IncValueRecordsThatDisagreeAreRefused)
{
    struct Case {
        int32_t duration, elapsed;  // thousandths
        uint8_t finished, running, paused;
        bool taken;
    };
    const Case cases[] = {
        {2000, 500, 1, 1, 0, false}, {2000, 500, 1, 0, 1, false}, {2000, 500, 0, 0, 1, false},
        {2000, 2500, 0, 1, 0, false}, {2000, -1, 0, 1, 0, false},  {-2000, -1000, 0, 1, 0, false},
        {2000, 500, 0, 1, 1, true},   {2000, 500, 0, 0, 0, true},  {2000, 2000, 1, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duration << " " << c.elapsed << " " << int(c.finished) << int(c.running)
                                        << int(c.paused));
        TBaseBuffer b;
        for (int32_t v : {3000, 1000, 9000, c.duration, c.elapsed}) b.WriteInt32(v);
        for (uint8_t v : {c.finished, c.running, c.paused, uint8_t(1)}) b.WriteByte(v);
        IncValue tween;
        tween.Set(0, 10, 2, true);
        tween.Update(1);
        TLogWatch log;
        EXPECT_EQ(tween.LoadState(&b), c.taken);
        EXPECT_EQ(log.Count("saved tween refused: its flags or times disagree"), c.taken ? 0u : 1u);
        EXPECT_FLOAT_EQ(tween.mCurrent, c.taken ? 3.0f : 5.0f);
        EXPECT_EQ(b.BytesLeft(), 0u);
        if (!c.taken) {
            EXPECT_TRUE(tween.mRunning);
            EXPECT_TRUE(tween.Update(1)) << "the tween kept runs to its end";
        }
    }
}

// Nothing in the game runs for an hour: a tween saved running for longer would hold whatever
// waits for its end for good.
TEST(SavedState, IncValueRecordsPastAnHourAreRefused)
{
    struct Case {
        int32_t duration;  // thousandths
        const char* line;  // null: taken
    };
    const Case cases[] = {
        {3600000, nullptr},
        {3600001, "saved tween refused: its duration of 3600.001 s is beyond an hour"},
        {2000000000, "saved tween refused: its duration of 2000000.000 s is beyond an hour"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.duration);
        TBaseBuffer b;
        for (int32_t v : {3000, 1000, 9000, c.duration, 500}) b.WriteInt32(v);
        for (uint8_t v : {0, 1, 0, 1}) b.WriteByte(v);
        IncValue tween;
        tween.Set(0, 10, 2, true);
        tween.Update(1);
        TLogWatch log;
        EXPECT_EQ(tween.LoadState(&b), c.line == nullptr);
        EXPECT_EQ(b.BytesLeft(), 0u);
        if (c.line) {
            EXPECT_EQ(log.Count(c.line), 1u) << log.Text();
            EXPECT_FLOAT_EQ(tween.mCurrent, 5.0f);
            EXPECT_TRUE(tween.Update(1)) << "the tween kept runs to its end";
        } else {
            EXPECT_EQ(log.Text(), "");
            EXPECT_FLOAT_EQ(tween.mCurrent, 3.0f);
        }
    }
}

// A pulse or a key track with a time past an hour in its record is refused whole: the one it
// would replace goes on as it was.
TEST(SavedState, PulsesAndTracksWithTimesPastAnHourAreRefusedWhole)
{
    const char* kPastAnHour = "saved pulse refused: its segment time or pause is beyond an hour";
    struct Case {
        const char* label;
        std::function<void(PulseValue&)> damage;
        const char* line;  // null: taken
    };
    const std::vector<Case> pulses = {
        {"segment time", [](PulseValue& p) { p.mSegmentTime = 2000000.0f; }, kPastAnHour},
        {"pause", [](PulseValue& p) { p.mPause = 2000000.0f; }, kPastAnHour},
        {"pause elapsed", [](PulseValue& p) { p.mPauseElapsed = -2000000.0f; }, kPastAnHour},
        {"tween", [](PulseValue& p) { p.mTween.mDuration = 2000000.0f; },
         "saved pulse refused: its duration of 2000000.000 s is beyond an hour"},
        {"an hour's pause", [](PulseValue& p) { p.mPause = 3600.0f; }, nullptr},
    };
    for (const Case& c : pulses) {
        SCOPED_TRACE(c.label);
        PulseValue source;
        source.Start(0, 1, 0.5f, 0.2f);
        c.damage(source);
        TBaseBuffer b;
        source.SaveState(&b);
        PulseValue p;
        p.Start(5, 6, 5.5f, 0.1f);
        TLogWatch log;
        EXPECT_EQ(p.LoadState(&b), c.line == nullptr);
        EXPECT_EQ(b.BytesLeft(), 0u);
        if (c.line) {
            EXPECT_EQ(log.Count(c.line), 1u) << log.Text();
            EXPECT_FLOAT_EQ(p.mStart, 5.0f);
            for (int i = 0; i < 5; ++i) p.Update(0.1f);
            EXPECT_TRUE(p.mFinished) << "the pulse kept runs to its end";
        } else {
            EXPECT_EQ(log.Text(), "");
            EXPECT_FLOAT_EQ(p.mStart, 0.0f);
        }
    }

    for (float lastKey : {3600.0f, 2000000.0f}) {
        SCOPED_TRACE(lastKey);
        TEffectorChannel source;
        source.mValues = {0, 10, 4};
        source.mTimes = {0, 1, lastKey};
        source.mFinished = false;
        source.SeekSegment(0);
        TBaseBuffer b;
        source.SaveState(&b);
        TEffectorChannel ch;
        ch.mValues = {7, 8};
        ch.mTimes = {0, 1};
        ch.mFinished = false;
        ch.SeekSegment(0);
        const bool taken = lastKey == 3600.0f;
        EXPECT_EQ(ch.LoadState(&b), taken);
        EXPECT_EQ(b.BytesLeft(), 0u);
        EXPECT_EQ(ch.mValues, taken ? source.mValues : std::vector<float>({7, 8}));
    }
}

TEST(SavedState, PulseAndChannelRoundTrip)
{
    PulseValue p;
    p.mCycleLimit = 3;
    p.Start(0, 1, 0.5f, 0.2f);
    p.Update(0.3f);
    TEffectorChannel ch;
    ch.mValues = {0, 10, 4};
    ch.mTimes = {0, 1, 3};
    ch.mFinished = false;
    ch.SeekSegment(0);
    ch.Update(1.5f);
    TBaseBuffer b;
    p.SaveState(&b);
    ch.SaveState(&b);
    PulseValue p2;
    TEffectorChannel ch2;
    p2.LoadState(&b);
    ch2.LoadState(&b);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(p.Update(0.1f), p2.Update(0.1f));
        EXPECT_FLOAT_EQ(p.GetValue(), p2.GetValue());
        EXPECT_EQ(ch.Update(0.1f), ch2.Update(0.1f));
        EXPECT_FLOAT_EQ(ch.GetValue(), ch2.GetValue());
    }
}

void PutInt(TBaseBuffer* b, int32_t v) { b->WriteInt32(v); }

// Saved scene state can be damaged: every load ends at once and updates stay in bounds.
TEST(SavedState, DamagedChannelsAndPulsesLoadSafely)
{
    struct Case {
        const char* label;
        std::function<void(TBaseBuffer*)> fill;
    };
    const std::vector<Case> channels = {
        {"huge count", [](TBaseBuffer* b) { PutInt(b, 0x7FFFFFFF); }},
        {"negative count", [](TBaseBuffer* b) { PutInt(b, -5); }},
        {"lists of different lengths",
         [](TBaseBuffer* b) {
             PutInt(b, 3);
             for (int i = 0; i < 3; ++i) PutInt(b, i * 1000);
             PutInt(b, 1);
             PutInt(b, 0);
             b->WriteByte(0);
             PutInt(b, 0);
             PutInt(b, -1);
             IncValue running;
             running.Set(0, 1, 1, true);
             running.SaveState(b);
         }},
        {"negative index",
         [](TBaseBuffer* b) {
             PutInt(b, 2);
             PutInt(b, 0);
             PutInt(b, 1000);
             PutInt(b, 2);
             PutInt(b, 0);
             PutInt(b, 1000);
             b->WriteByte(0);
             PutInt(b, -3);
             PutInt(b, -1);
             IncValue running;
             running.Set(0, 1, 1, true);
             running.SaveState(b);
         }},
        {"empty buffer", [](TBaseBuffer*) {}},
    };
    for (const Case& c : channels) {
        TBaseBuffer b;
        c.fill(&b);
        TEffectorChannel ch;
        ch.LoadState(&b);
        for (int i = 0; i < 10; ++i) ch.Update(0.4f);
        EXPECT_LE(ch.mValues.size(), 3u) << c.label;
        // Lists of different lengths are no damage: the shorter one decides, one key here,
        // looping without end.
        bool endsAtOnce = std::string(c.label) != "lists of different lengths";
        EXPECT_EQ(ch.mFinished, endsAtOnce) << c.label;
        if (endsAtOnce) {
            EXPECT_TRUE(ch.Update(0.1f)) << c.label;
        }
    }

    const std::vector<Case> pulses = {
        {"two segments",
         [](TBaseBuffer* b) {
             PulseValue p;
             p.Start(0, 1, 0.5f, 0.2f);
             p.mSegments.resize(2);
             p.SaveState(b);
         }},
        {"index 7",
         [](TBaseBuffer* b) {
             PulseValue p;
             p.Start(0, 1, 0.5f, 0.2f);
             p.mSegmentIndex = 7;
             p.SaveState(b);
         }},
        {"huge segment count",
         [](TBaseBuffer* b) {
             PulseValue p;
             p.Start(0, 1, 0.5f, 0.2f);
             TBaseBuffer whole;
             p.SaveState(&whole);
             std::vector<uint8_t> bytes = whole.Bytes();
             size_t countAt = bytes.size() - 4 * 8 - 4;
             bytes[countAt] = bytes[countAt + 1] = bytes[countAt + 2] = 0xFF;
             bytes[countAt + 3] = 0x7F;
             for (uint8_t v : bytes) b->WriteByte(v);
         }},
        {"negative cycles done",
         [](TBaseBuffer* b) {
             PulseValue p;
             p.Start(0, 1, 0.5f, 0.2f);
             p.mCyclesDone = -4;
             p.SaveState(b);
         }},
        {"cycles done at the limit",
         [](TBaseBuffer* b) {
             PulseValue p;
             p.Start(0, 1, 0.5f, 0.2f);
             p.mCycleLimit = 3;
             p.mCyclesDone = 3;
             p.SaveState(b);
         }},
    };
    for (const Case& c : pulses) {
        TBaseBuffer b;
        c.fill(&b);
        PulseValue p;
        p.LoadState(&b);
        EXPECT_TRUE(p.Update(0.1f)) << c.label;
    }

    // An endless pulse saved at the top of its count runs on without counting past it.
    PulseValue endless;
    endless.Start(0, 1, 0.5f, 0.1f);
    endless.mCycleLimit = -1;
    endless.mCyclesDone = INT32_MAX;
    TBaseBuffer b;
    endless.SaveState(&b);
    PulseValue loaded;
    loaded.LoadState(&b);
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(loaded.Update(0.1f));
    EXPECT_EQ(loaded.mCyclesDone, INT32_MAX);
}

struct TDropListener : TSecondsCounterListener {
    int told = 0;
    bool OnSecondsChanged(TSecondsCounter*) override { return ++told < 2; }
};

TEST(SmallValues, SecondsCounterPackedColourAndRandomFloat)
{
    TSecondsCounter c;
    c.mValue = 3725;
    EXPECT_EQ(2, c.GetMinutes());
    EXPECT_EQ(5, c.GetSeconds());
    TDropListener listener;
    c.mListener = &listener;
    c.mCountDown = true;
    c.Update(5);
    EXPECT_FLOAT_EQ(3720, c.mValue);
    c.Update(1);
    EXPECT_EQ(nullptr, c.mListener);
    c.Update(1);
    EXPECT_EQ(2, listener.told);
    c.mPaused = true;
    c.Update(100);
    EXPECT_FLOAT_EQ(3718, c.mValue);

    EXPECT_EQ(0xFFFF8000u, MakePackedColor(255, 128, 0, 255).mArgb);

    // Draws of the seeded generator, found by stepping it; the float maths is the game's own.
    SeedRandom(12345);
    std::vector<int> draws;
    for (int i = 0; i < 200000; ++i) draws.push_back(GameRand());
    auto at = [&](int value) {
        for (size_t i = 0; i < draws.size(); ++i)
            if (draws[i] == value) return static_cast<int>(i);
        return -1;
    };
    for (int value : {0, 32766, 32767}) {
        int index = at(value);
        ASSERT_GE(index, 0) << value;
        SeedRandom(12345);
        for (int i = 0; i < index; ++i) GameRand();
        float r = RandomFloat(2, 4);
        float expected = value == 32766 ? 2 + 32766.0f / 32767.0f * 2 : 2.0f;
        EXPECT_FLOAT_EQ(expected, r) << value;
        EXPECT_LT(r, 4.0f);
    }
}

}  // namespace
