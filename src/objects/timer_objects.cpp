#include "objects/timer_objects.h"

#include <climits>
#include <cmath>

#include "core/buffer.h"
#include "core/random.h"
#include "core/xml_attributes.h"
#include "rooms/scene_mouse_event.h"
#include "sound/sound_manager.h"

namespace {
float RandomUnit() { return static_cast<float>(GameRand() % 32767) / 32767.0f; }
}  // namespace

// ---------------------------------------------------------------- timer

TTimerObject::~TTimerObject() = default;

void TTimerObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mTime = GetAttrFloat(e, "time", 0.0f);
    mMaxActive = GetAttrInt(e, "maxactive", 1);
}

bool TTimerObject::Update(float dt)
{
    TObject::Update(dt);
    if (!mActive) return false;
    mElapsed += dt;
    // Past its click limit the timer keeps counting without firing.
    if (mElapsed >= mTime && static_cast<int64_t>(mClickCounter) < static_cast<int64_t>(mMaxClicks) - 1) {
        ++mClickCounter;
        mElapsed = 0.0f;
        mActive = false;
        OnClickAccepted(TSceneMouseEvent());
        UseToolRecord(0, mToolRecords);
    }
    return false;
}

void TTimerObject::ResetBehaviour()
{
    mActive = false;
    mTime = 0.0f;
    mElapsed = 0.0f;
    mActivationCount = 0;
    mMaxActive = 1;
}

void TTimerObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mActive ? 1 : 0);
    buffer.WriteMilli(mElapsed);
    buffer.WriteInt32(mActivationCount);
}

void TTimerObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool active = buffer.ReadByte() != 0;
    const float elapsed = buffer.ReadMilli();
    const int32_t activationCount = buffer.ReadInt32();
    if (StateRefused()) return;
    mActive = active;
    mElapsed = elapsed;
    mActivationCount = activationCount;
}

// ---------------------------------------------------------------- sequence

TShowSequenceObject::~TShowSequenceObject() = default;

void TShowSequenceObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mShowTime = GetAttrFloat(e, "showtime", 1.0f);
    mDelayTime = GetAttrFloat(e, "delaytime", 0.5f);
    mCount = GetAttrInt(e, "count", 1);
    mStartOnLoad = GetAttrBool(e, "active", false);
    if (mStartOnLoad) ActivateSimple();
}

// A sequence started while reading had no children yet: they arrive visible, and only the
// current one may stay so.
void TShowSequenceObject::OnLoaded()
{
    if (mPhase == 1) ShowOnly(mShownIndex);
}

void TShowSequenceObject::ShowOnly(int64_t index)
{
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->SetVisible(static_cast<int64_t>(i) == index);
}

void TShowSequenceObject::ShowChildAt(int32_t index)
{
    if (index >= 0 && static_cast<size_t>(index) < mChildren.size())
        for (const std::string& name : mActivationSounds) PlayThroughRootSpace(name);
    ShowOnly(index);
}

void TShowSequenceObject::StartSequence()
{
    mShownIndex = 0;
    mPhase = 1;
    mPhaseTimer.Set(0.0f, 1.0f, std::fabs(mShowTime), true);
    ShowChildAt(0);
}

void TShowSequenceObject::ActivateSimple()
{
    if (mLocked) return;
    mPassesDone = 0;
    StartSequence();
}

bool TShowSequenceObject::Update(float dt)
{
    // One phase change per update: the time left over is dropped.
    if (mPhase == 1) {
        if (mPhaseTimer.Update(dt)) {
            ShowOnly(-1);
            mPhaseTimer.Set(0.0f, 1.0f, std::fabs(mDelayTime), true);
            mPhase = 2;
        }
    } else if (mPhase == 2) {
        if (mPhaseTimer.Update(dt)) {
            mShownIndex = mShownIndex < INT32_MAX ? mShownIndex + 1 : INT32_MAX;
            ShowChildAt(mShownIndex);
            if (static_cast<size_t>(mShownIndex) >= mChildren.size()) {
                if (mPassesDone < INT32_MAX) ++mPassesDone;
                mShownIndex = 0;
                if (mPassesDone == mCount && mCount != -1) {
                    mPhase = 0;
                    ShowOnly(-1);
                } else {
                    ShowChildAt(0);
                }
            }
            if (mPhase != 0) {
                mPhase = 1;
                mPhaseTimer.Set(0.0f, 1.0f, std::fabs(mShowTime), true);
            }
        }
    }
    return TObject::Update(dt);
}

// ---------------------------------------------------------------- counter

TActivateCounter::~TActivateCounter() = default;

void TActivateCounter::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mRemaining = GetAttrInt(e, "count", 1);
}

void TActivateCounter::Activate(int /*count*/, int /*x*/, int /*y*/)
{
    // Counts on below 0 without effect, and stops at the smallest count.
    if (mRemaining == INT32_MIN) return;
    --mRemaining;
    if (mRemaining != 0) return;
    RunEventReactions(0);
    UseToolRecord(0, mToolRecords);
}

void TActivateCounter::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteInt32(mRemaining);
}

void TActivateCounter::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int32_t remaining = buffer.ReadInt32();
    if (!StateRefused()) mRemaining = remaining;
}

// ---------------------------------------------------------------- delayed sound

TDelayLoopsSoundObject::TDelayLoopsSoundObject() { mTimer.SetListener(this); }

TDelayLoopsSoundObject::~TDelayLoopsSoundObject() = default;

void TDelayLoopsSoundObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mLoop = GetAttrInt(e, "loop", 1);
    mSoundName = GetAttrString(e, "sound", "");
    mDelays.clear();
    std::vector<std::string> parts;
    GetAttrList(e, "delays", ',', parts);
    for (const std::string& part : parts) mDelays.push_back(ParseFloatClamped(part.c_str()));
}

void TDelayLoopsSoundObject::Restart()
{
    // Without delays there is nothing to wait for: as a first delay of 0.
    if (mDelays.empty()) return;
    mNextDelay = 1;
    if (mDelays[0] > 0.0f) mTimer.Start(mDelays[0]);
}

void TDelayLoopsSoundObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    Restart();
}

bool TDelayLoopsSoundObject::Update(float dt)
{
    TObject::Update(dt);
    if (mTimer.IsActive()) mTimer.Update(dt);
    return false;
}

// Called from inside the timer's update, which reads nothing of the timer afterwards: the
// next delay may start it again here.
void TDelayLoopsSoundObject::OnTimerDone()
{
    PlayNamedSound(mSoundName);
    if (mNextDelay >= mDelays.size()) {
        if (mLoop == -1)
            Restart();
        else
            RunEventReactions(0);
        return;
    }
    const float delay = mDelays[mNextDelay++];
    if (delay > 0.0f) mTimer.Start(delay);
}

// ---------------------------------------------------------------- sound

TSoundObject::~TSoundObject() = default;

void TSoundObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (!mLocked) PlayNamedSound(GetName());
}

void TSoundObject::OnSpaceHidden()
{
    TObject::OnSpaceHidden();
    StopNamedSound(GetName());
}

void TSoundObject::Lock()
{
    TObject::Lock();
    StopNamedSound(GetName());
}

void TSoundObject::Unlock()
{
    TObject::Unlock();
    PlayNamedSound(GetName());
}

// ---------------------------------------------------------------- pulse

TBlendingObject::~TBlendingObject() = default;

void TBlendingObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mOnShow = GetAttrBool(e, "onshow", false);
    mTime = GetAttrFloat(e, "time", 2.0f);
    SetAlpha(0.0f);
    if (GetAttrBool(e, "active", false)) Activate(0, 0, 0);
}

void TBlendingObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mPulse.Start(0.0f, 0.5f, 1.0f, mTime);
}

bool TBlendingObject::Update(float dt)
{
    TObject::Update(dt);
    if (!mPulse.mFinished) {
        mPulse.Update(dt);
        SetAlpha(mPulse.GetValue());
        if (mPulse.mFinished) RunEventReactions(0);
    }
    return false;
}

void TBlendingObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (mOnShow) Activate(0, 0, 0);
}

void TBlendingObject::OnSpaceHidden()
{
    TObject::OnSpaceHidden();
    if (mOnShow) SetAlpha(0.0f);
}

// ---------------------------------------------------------------- light

TLightObject::~TLightObject() = default;

void TLightObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mSwing = GetAttrFloat(e, "da", 0.2f);
    mMinAlpha = GetAttrFloat(e, "mina", 0.0f);
    mMaxAlpha = GetAttrFloat(e, "maxa", 1.0f);
    mMinTime = GetAttrFloat(e, "mint", 0.5f);
    mMaxTime = GetAttrFloat(e, "maxt", 1.0f);
    NextFlicker();
}

void TLightObject::NextFlicker()
{
    const float a = mAlpha;
    const float u1 = RandomUnit();
    const float u2 = RandomUnit();
    const float u3 = RandomUnit();
    if (a > (mMaxAlpha - mMinAlpha) * 0.5f)
        mTargetAlpha = mMinAlpha + u1 * mSwing;
    else
        mTargetAlpha = mMaxAlpha - mSwing + u1 * mSwing;
    mDuration = mMinTime + u2 * (mMaxTime - mMinTime);
    const float k = 3.0f + 2.0f * u3;
    // A swing without time ends at its first update; it has no speed to speak of.
    if (mDuration > 0.0f) {
        mStartSpeed = (mTargetAlpha - a) * 2.0f / ((k + 1.0f) * mDuration);
        mAcceleration = (mStartSpeed * k - mStartSpeed) / mDuration;
    } else {
        mStartSpeed = 0.0f;
        mAcceleration = 0.0f;
    }
    mStartAlpha = mCurrentAlpha = a;
    mElapsedTime = 0.0f;
    mRunning = true;
}

bool TLightObject::Update(float dt)
{
    TObject::Update(dt);
    if (!mRunning) return false;
    mElapsedTime += dt;
    const float t = mElapsedTime;
    if (t >= mDuration) {
        mCurrentAlpha = mTargetAlpha;
        mRunning = false;
    } else {
        mCurrentAlpha = mStartAlpha + mStartSpeed * t + mAcceleration * t * t / 2.0f;
    }
    SetAlpha(mCurrentAlpha);
    if (t >= mDuration) NextFlicker();
    return false;
}
