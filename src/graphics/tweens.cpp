#include "graphics/tweens.h"

#include <climits>

#include <cmath>
#include <limits>
#include <string>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/random.h"
#include "core/text.h"

void IncValue::Set(float from, float to, float duration, bool start)
{
    mFrom = mCurrent = from;
    mTo = to;
    mDuration = std::fabs(duration);
    mElapsed = 0.0f;
    if (from == to && mFinishAtOnce) {
        mFinished = true;
        mRunning = false;
    } else if (start) {
        mFinished = false;
        mRunning = true;
        mPaused = false;
    }
}

void IncValue::SetInt(int from, int to, float duration, bool start)
{
    Set(static_cast<float>(from), static_cast<float>(to), duration, start);
}

void IncValue::StartUnit(float duration)
{
    mFrom = mCurrent = 0.0f;
    mTo = 1.0f;
    mDuration = std::fabs(duration);
    mElapsed = 0.0f;
    mRunning = true;
    mFinished = false;
    mPaused = false;
}

void IncValue::SetValue(float v)
{
    mFrom = mCurrent = mTo = v;
    mElapsed = 0.0f;
    mFinished = true;
    mRunning = false;
}

bool IncValue::Update(float dt)
{
    if (mPaused || mFinished) return mFinished;
    if (mDelay > 0.0f) {
        mDelay -= dt;
        if (mDelay > 0.0f) return false;
        mDelay = 0.0f;
    }
    mElapsed += dt;
    if (mElapsed > mDuration) mElapsed = mDuration;
    float t = mDuration == 0.0f ? 1.0f : mElapsed / mDuration;
    mCurrent = mFrom + (mTo - mFrom) * t;
    mFinished = mElapsed >= mDuration;
    if (mFinished) {
        mRunning = false;
        mPaused = false;
        mCurrent = mTo;
        if (mListener) mListener->OnIncValueFinished(this);
    }
    return mFinished;
}

void IncValue::SaveState(TBaseBuffer* b) const
{
    b->WriteMilli(mCurrent);
    b->WriteMilli(mFrom);
    b->WriteMilli(mTo);
    b->WriteMilli(mDuration);
    b->WriteMilli(mElapsed);
    b->WriteByte(mFinished);
    b->WriteByte(mRunning);
    b->WriteByte(mPaused);
    b->WriteByte(mFinishAtOnce);
}

namespace {

// Reads a tween's record and takes it when it can be used; otherwise the tween stays as it
// was and the answer says why, for the line of whoever reports the refusal.
std::string TakeTweenRecord(TBaseBuffer* b, IncValue* tween)
{
    IncValue read = *tween;
    read.mCurrent = b->ReadMilli();
    read.mFrom = b->ReadMilli();
    read.mTo = b->ReadMilli();
    read.mDuration = b->ReadMilli();
    read.mElapsed = b->ReadMilli();
    read.mFinished = b->ReadByte() != 0;
    read.mRunning = b->ReadByte() != 0;
    read.mPaused = b->ReadByte() != 0;
    read.mFinishAtOnce = b->ReadByte() != 0;
    const bool flagsAgree = !(read.mFinished && (read.mRunning || read.mPaused)) && !(read.mPaused && !read.mRunning);
    if (!flagsAgree || read.mDuration < 0.0f || read.mElapsed < 0.0f || read.mElapsed > read.mDuration)
        return "its flags or times disagree";
    if (!IsUsableSeconds(read.mDuration))
        return FormatString("its duration of %.3f s is beyond an hour", static_cast<double>(read.mDuration));
    *tween = read;
    return std::string();
}

}  // namespace

bool IncValue::ReadState(TBaseBuffer* b) { return TakeTweenRecord(b, this).empty(); }

bool IncValue::LoadState(TBaseBuffer* b)
{
    const std::string fault = TakeTweenRecord(b, this);
    if (fault.empty()) return true;
    GetLogger()->LogMessage("saved tween refused: %s", fault.c_str());
    return false;
}

void PulseValue::Start(float start, float peak, float low, float segmentTime)
{
    mStart = start;
    mPeak = peak;
    mLow = low;
    mSegmentTime = segmentTime;
    mSegments = {{start, peak}, {peak, low}, {low, peak}, {peak, start}};
    mSegmentIndex = 0;
    mCyclesDone = 0;
    mFinished = false;
    mPhase = 0;
    mPauseElapsed = 0.0f;
    StartSegment();
    mActive = true;
}

void PulseValue::StartSegment()
{
    const TPulseSegment& s = mSegments[static_cast<size_t>(mSegmentIndex)];
    mTween.Set(s.mFrom, s.mTo, mSegmentTime, true);
}

bool PulseValue::Update(float dt)
{
    if (mFinished) return true;
    if (mStartDelay > 0.0f) {
        mStartDelay -= dt;
        if (mStartDelay > 0.0f) return false;
        mStartDelay = 0.0f;
    }
    if (mPhase == 1) {
        mPauseElapsed += dt;
        if (mPause <= mPauseElapsed) {
            mPauseElapsed = 0.0f;
            mPhase = 0;
            StartSegment();
        }
        return mFinished;
    }
    // A segment with equal ends is finished before its first update: the answer of the
    // update, not a state change, is what moves the pulse on.
    if (mTween.Update(dt) && mPhase == 0) {
        if (++mSegmentIndex == 4) {
            mSegmentIndex = 0;
            // An endless pulse counts on for as long as it runs: the count stops at its top.
            if (mCyclesDone < INT32_MAX) ++mCyclesDone;
        }
        if ((mCycleLimit != -1 && mCyclesDone == mCycleLimit && mSegmentIndex == 0) ||
            (mStopAtLow && mSegmentIndex == 2)) {
            mFinished = true;
            mActive = false;
            return true;
        }
        if (mPause == 0.0f) {
            StartSegment();
        } else {
            mPhase = 1;
            mPauseElapsed = 0.0f;
        }
    }
    return mFinished;
}

void PulseValue::SaveState(TBaseBuffer* b) const
{
    b->WriteInt32(mSegmentIndex);
    b->WriteInt32(mCyclesDone);
    b->WriteInt32(mCycleLimit);
    b->WriteMilli(mStart);
    b->WriteMilli(mLow);
    b->WriteMilli(mPeak);
    b->WriteInt32(mPhase);
    b->WriteMilli(mPauseElapsed);
    b->WriteMilli(mSegmentTime);
    b->WriteMilli(mPause);
    b->WriteByte(mFinished);
    b->WriteByte(mStopAtLow);
    mTween.SaveState(b);
    b->WriteInt32(static_cast<int32_t>(mSegments.size()));
    for (const TPulseSegment& s : mSegments) {
        b->WriteMilli(s.mFrom);
        b->WriteMilli(s.mTo);
    }
}

namespace {

// A count read from saved bytes is believed only when the bytes left can hold that many
// items: a damaged count must not loop or allocate its way through billions.
bool CountFits(int32_t count, size_t itemBytes, const TBaseBuffer* b)
{
    return count > 0 && static_cast<uint64_t>(count) * itemBytes <= b->BytesLeft();
}

void ReadMilliList(TBaseBuffer* b, std::vector<float>* out)
{
    out->clear();
    int32_t count = b->ReadInt32();
    if (!CountFits(count, 4, b)) return;
    out->reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) out->push_back(b->ReadMilli());
}

}  // namespace

bool PulseValue::LoadState(TBaseBuffer* b)
{
    PulseValue read = *this;
    read.mSegmentIndex = b->ReadInt32();
    read.mCyclesDone = b->ReadInt32();
    read.mCycleLimit = b->ReadInt32();
    read.mStart = b->ReadMilli();
    read.mLow = b->ReadMilli();
    read.mPeak = b->ReadMilli();
    read.mPhase = b->ReadInt32();
    read.mPauseElapsed = b->ReadMilli();
    read.mSegmentTime = b->ReadMilli();
    read.mPause = b->ReadMilli();
    read.mFinished = b->ReadByte() != 0;
    read.mStopAtLow = b->ReadByte() != 0;
    std::string fault = TakeTweenRecord(b, &read.mTween);
    read.mSegments.clear();
    int32_t count = b->ReadInt32();
    if (CountFits(count, 8, b)) {
        read.mSegments.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            TPulseSegment s;
            s.mFrom = b->ReadMilli();
            s.mTo = b->ReadMilli();
            read.mSegments.push_back(s);
        }
    }
    // The next segment runs for the segment time and a pause waits until its elapsed time
    // reaches the pause: either past an hour would hold the pulse for good.
    if (fault.empty() && !(IsUsableSeconds(read.mSegmentTime) && IsUsableSeconds(read.mPause) &&
                           IsUsableSeconds(read.mPauseElapsed)))
        fault = "its segment time or pause is beyond an hour";
    if (!fault.empty()) {
        GetLogger()->LogMessage("saved pulse refused: %s", fault.c_str());
        return false;
    }
    bool cyclesDone = read.mCyclesDone < 0 || (read.mCycleLimit >= 0 && read.mCyclesDone >= read.mCycleLimit);
    if (cyclesDone || read.mSegments.size() != 4 || read.mSegmentIndex < 0 || read.mSegmentIndex > 3) {
        read.mFinished = true;
        read.mActive = false;
    }
    *this = std::move(read);
    return true;
}

int TEffectorChannel::KeyCount() const
{
    return static_cast<int>(mValues.size() < mTimes.size() ? mValues.size() : mTimes.size());
}

void TEffectorChannel::Clear()
{
    mValues.clear();
    mTimes.clear();
    mFinished = true;
    mTween.SetValue(mTween.mCurrent);
}

void TEffectorChannel::SeekSegment(int index)
{
    if (index < 0 || index >= KeyCount() - 1) return;
    mSegmentIndex = index;
    size_t i = static_cast<size_t>(index);
    mTween.Set(mValues[i], mValues[i + 1], std::fabs(mTimes[i + 1] - mTimes[i]), true);
}

bool TEffectorChannel::Update(float dt)
{
    // A flat segment stops the tween at once: the track answers true from then on while
    // its finished flag stays false.
    if (!mTween.mRunning) return true;
    if (!mTween.Update(dt)) return mFinished;
    ++mSegmentIndex;
    if (mSegmentIndex > KeyCount() - 2) {
        if (mLoops > 0) --mLoops;
        if (mLoops <= 0 && mLoops != -1) {
            mFinished = true;
            return true;
        }
        mSegmentIndex = 0;
    }
    SeekSegment(mSegmentIndex);
    return mFinished;
}

void TEffectorChannel::SaveState(TBaseBuffer* b) const
{
    b->WriteInt32(static_cast<int32_t>(mValues.size()));
    for (float v : mValues) b->WriteMilli(v);
    b->WriteInt32(static_cast<int32_t>(mTimes.size()));
    for (float t : mTimes) b->WriteMilli(t);
    b->WriteByte(mFinished);
    b->WriteInt32(mSegmentIndex);
    b->WriteInt32(mLoops);
    mTween.SaveState(b);
}

bool TEffectorChannel::LoadState(TBaseBuffer* b)
{
    TEffectorChannel read;
    read.mTween = mTween;
    ReadMilliList(b, &read.mValues);
    ReadMilliList(b, &read.mTimes);
    read.mFinished = b->ReadByte() != 0;
    read.mSegmentIndex = b->ReadInt32();
    read.mLoops = b->ReadInt32();
    if (!read.mTween.ReadState(b)) return false;
    // Each key time starts a segment that runs until the next one.
    for (float t : read.mTimes)
        if (!IsUsableSeconds(t)) return false;
    if (read.mSegmentIndex < 0 || read.mSegmentIndex >= read.KeyCount()) {
        read.mFinished = true;
        read.mTween.SetValue(read.mTween.mCurrent);
    }
    *this = std::move(read);
    return true;
}

void TSecondsCounter::Update(float dt)
{
    if (mPaused) return;
    if (mCountDown)
        mValue -= dt;
    else
        mValue += dt;
    if (mListener && !mListener->OnSecondsChanged(this)) mListener = nullptr;
}

int TSecondsCounter::GetSeconds() const { return TruncToInt(mValue) % 60; }

int TSecondsCounter::GetMinutes() const { return (TruncToInt(mValue) / 60) % 60; }

TPackedColor MakePackedColor(int red, int green, int blue, int alpha)
{
    TPackedColor c;
    c.mArgb = (static_cast<uint32_t>(red & 0xFF) << 16) | (static_cast<uint32_t>(green & 0xFF) << 8) |
              static_cast<uint32_t>(blue & 0xFF) | (static_cast<uint32_t>(alpha & 0xFF) << 24);
    return c;
}

float RandomFloat(float a, float b)
{
    return a + static_cast<float>(GameRand() % 32767) / 32767.0f * (b - a);
}

