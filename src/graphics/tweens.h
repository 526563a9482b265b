// Time-driven values that animated things are built from: a linear tween, a pulse, a key
// track, a seconds counter; all advanced by the frame time in seconds.
#pragma once
#include <cstdint>
#include <vector>

#include "core/numbers.h"

class TBaseBuffer;
struct IncValue;

class IncValueListener {
public:
    virtual ~IncValueListener() = default;
    virtual void OnIncValueFinished(IncValue* value) = 0;
};

struct IncValue {
    float mFrom = 0.0f;
    float mElapsed = 0.0f;
    float mCurrent = 0.0f;
    float mTo = 0.0f;
    float mDuration = 0.0f;
    bool mFinished = true;
    bool mRunning = false;
    bool mPaused = false;
    bool mFinishAtOnce = true;
    float mDelay = 0.0f;
    IncValueListener* mListener = nullptr;

    void Set(float from, float to, float duration, bool start);
    void SetInt(int from, int to, float duration, bool start);
    void StartUnit(float duration);
    void SetValue(float v);
    bool Update(float dt);
    void SaveState(TBaseBuffer* buffer) const;
    // A record whose flags or times disagree (finished yet running, paused without running,
    // elapsed outside its duration), or whose duration lies beyond an hour, would hold the
    // tween for good and everything that waits for its end: refused with a line, the tween
    // left as it was; false then.
    bool LoadState(TBaseBuffer* buffer);
    // The same without the line, for a record that reports the refusal as a whole.
    bool ReadState(TBaseBuffer* buffer);
};

struct TPulseSegment {
    float mFrom = 0.0f;
    float mTo = 0.0f;
};

// Swings start, peak, low, peak, start for a number of cycles.
class PulseValue {
public:
    void Start(float start, float peak, float low, float segmentTime);
    bool Update(float dt);
    float GetValue() const { return mTween.mCurrent; }
    void SaveState(TBaseBuffer* buffer) const;
    // Taken whole or not at all: a record whose tween is refused, or whose segment time or
    // pause lies beyond an hour, is refused with a line and the pulse left as it was; false
    // then. A record past its cycles or segments finishes the pulse.
    bool LoadState(TBaseBuffer* buffer);

    std::vector<TPulseSegment> mSegments;
    int mSegmentIndex = 0;
    int mCyclesDone = 0;
    int mCycleLimit = 1;  // -1 endless
    float mStart = 0.0f;
    float mLow = 0.0f;
    float mPeak = 0.0f;
    int mPhase = 3;  // 0 running a segment, 1 pausing, 3 not started
    float mSegmentTime = 0.0f;
    bool mFinished = true;
    float mPause = 0.0f;
    float mPauseElapsed = 0.0f;
    bool mStopAtLow = false;  // finish after the second segment
    IncValue mTween;
    float mStartDelay = 0.0f;
    bool mActive = false;

private:
    void StartSegment();
};

// A piecewise-linear key track with a loop count.
class TEffectorChannel {
public:
    void Clear();
    void SeekSegment(int index);
    bool Update(float dt);
    float GetValue() const { return mTween.mCurrent; }
    int KeyCount() const;
    void SaveState(TBaseBuffer* buffer) const;
    // False, with the track left as it was, when the record's tween is refused or a key time
    // lies beyond an hour (its owner tells); a segment outside the keys finishes the track.
    bool LoadState(TBaseBuffer* buffer);

    std::vector<float> mValues;
    std::vector<float> mTimes;
    bool mFinished = true;
    IncValue mTween;
    int mSegmentIndex = 0;
    int mLoops = 1;  // -1 endless
};

class TSecondsCounter;

class TSecondsCounterListener {
public:
    virtual ~TSecondsCounterListener() = default;
    // Answer false to stop hearing about the counter.
    virtual bool OnSecondsChanged(TSecondsCounter* counter) = 0;
};

class TSecondsCounter {
public:
    void Update(float dt);
    int GetSeconds() const;
    int GetMinutes() const;

    float mValue = 0.0f;
    bool mPaused = false;
    bool mCountDown = false;
    TSecondsCounterListener* mListener = nullptr;
};

// 0xAARRGGBB.
struct TPackedColor {
    uint32_t mArgb = 0;
};

TPackedColor MakePackedColor(int red, int green, int blue, int alpha);
// a + (rand() % 32767) / 32767 x (b - a): never b itself.
float RandomFloat(float a, float b);
