#include "rooms/random_effectors.h"

#include <tinyxml.h>

#include <cmath>

#include "core/logger.h"
#include "core/numbers.h"
#include "graphics/draw_object.h"
#include "graphics/tweens.h"

namespace {

int ChannelOfId(const std::string& id)
{
    static const char* const kIds[kChannelCount] = {"x", "y", "a", "o", "s", "sx", "sy"};
    for (int i = 0; i < kChannelCount; ++i)
        if (id == kIds[i]) return i;
    return -1;
}


}  // namespace

// ---- TRandomEffector ----

void TRandomEffector::LoadXml(const TiXmlElement* e)
{
    TEffector::LoadXml(e);
    std::vector<std::string> ids;
    GetAttrList(e, "tracks", ',', ids);
    for (const std::string& id : ids) {
        const int channel = ChannelOfId(id);
        if (channel >= 0) mTracks.push_back(channel);
    }
    GetAttrPointListF(e, "minmax", mRanges);
    mChanges = GetAttrInt(e, "changes", mChanges);
    if (mChanges < 0 || mChanges > kMaxChanges) {
        const int32_t bounded = mChanges < 0 ? 0 : kMaxChanges;
        GetLogger()->LogMessage("Effector %s: changes %d taken as %d", mName.c_str(), mChanges, bounded);
        mChanges = bounded;
    }
    mRegenerate = GetAttrBool(e, "regen", true);
    mReturnToStart = GetAttrBool(e, "rts", false);
    mRelative = GetAttrBool(e, "relative", mRelative);
    mRestAtStart = GetAttrBool(e, "rst", mRestAtStart);
    mStepTime = GetAttrFloat(e, "dt", 0.0f);
    mStepSpread = GetAttrFloat(e, "dtd", 0.0f);
    mHoldTime = GetAttrFloat(e, "tbc", 0.0f);
    mHoldSpread = GetAttrFloat(e, "tbcd", 0.0f);
    mLastHoldTime = GetAttrFloat(e, "tbr", mHoldTime);
    mLastHoldSpread = GetAttrFloat(e, "tbrd", mHoldSpread);
}

float TRandomEffector::CurrentValue(int channel) const
{
    const DrawObject* t = mTarget;
    if (!t) return 0.0f;
    switch (channel) {
    case kChannelX:
        return t->mX;
    case kChannelY:
        return t->mY;
    case kChannelAngle:
        return t->GetAngle();
    case kChannelAlpha:
        return t->mAlpha;
    case kChannelScale:
    case kChannelScaleX:
        return t->GetScaleX();
    case kChannelScaleY:
        return t->GetScaleY();
    default:
        return 0.0f;
    }
}

void TRandomEffector::CaptureBaseValues()
{
    // Not emptied: a second binding keeps the first values.
    for (int channel : mTracks) mBaseValues.push_back(CurrentValue(channel));
}

void TRandomEffector::SetTarget(DrawObject* target)
{
    TEffector::SetTarget(target);
    if (!target) return;
    CaptureBaseValues();
    Regenerate();
    if (mPlay) Play();
}

void TRandomEffector::Regenerate()
{
    const float tc = RandomFloat(mHoldTime, mHoldTime + mHoldSpread);
    const float tr = RandomFloat(mLastHoldTime, mLastHoldTime + mLastHoldSpread);
    float time = mRestAtStart ? tr : 0.0f;
    const size_t count = mTracks.size();
    // A track without a base value (nothing captured yet) starts from the target's current one.
    auto base = [this](size_t j) { return j < mBaseValues.size() ? mBaseValues[j] : CurrentValue(mTracks[j]); };
    for (size_t j = 0; j < count; ++j) {
        TEffectorChannelSlot& slot = mSlots[mTracks[j]];
        slot.mChannel.mTimes.push_back(time);
        slot.mChannel.mValues.push_back(base(j));
        slot.mHasKeys = true;
        // A hold is a flat segment: it has to run its time, not end the track.
        slot.mChannel.mTween.mFinishAtOnce = false;
    }
    for (int32_t i = 0; i < mChanges; ++i) {
        time += RandomFloat(mStepTime, mStepTime + mStepSpread);
        const bool last = i == mChanges - 1;
        const float hold = last ? tr : tc;
        for (size_t j = 0; j < count; ++j) {
            float value = base(j);
            if (last && mReturnToStart) {
                value = base(j);
            } else if (j < mRanges.size()) {
                const TFloatPoint& range = mRanges[j];
                if (mRelative) {
                    const float now = CurrentValue(mTracks[j]);
                    value = RandomFloat(now + range.x, now + range.y);
                } else {
                    value = RandomFloat(range.x, range.y);
                }
            }
            TEffectorChannel& channel = mSlots[mTracks[j]].mChannel;
            channel.mTimes.push_back(time);
            channel.mValues.push_back(value);
            channel.mTimes.push_back(time + hold);
            channel.mValues.push_back(value);
        }
        time += hold;
    }
    mCycleLength = time;
}

void TRandomEffector::Play()
{
    TEffector::Play();
    if (mRegenerate && mCycleLength > 0.0f) {
        mRegenDuration = mCycleLength;
        mRegenElapsed = 0.0f;
        mRegenActive = true;
    }
}

void TRandomEffector::Update(float dt)
{
    TEffector::Update(dt);
    if (!mRegenActive) return;
    mRegenElapsed += dt;
    if (mRegenElapsed < mRegenDuration) return;
    mRegenActive = false;
    OnRegenerate();
    TEffector::Stop();
    TEffector::Reset();
    Regenerate();
    Play();
}

void TRandomEffector::CopyRandomTo(TRandomEffector* clone) const
{
    CopyTo(clone);
    clone->mTracks = mTracks;
    clone->mRanges = mRanges;
    clone->mBaseValues = mBaseValues;
    clone->mChanges = mChanges;
    clone->mRegenerate = mRegenerate;
    clone->mReturnToStart = mReturnToStart;
    clone->mRelative = mRelative;
    clone->mRestAtStart = mRestAtStart;
    clone->mHoldTime = mHoldTime;
    clone->mHoldSpread = mHoldSpread;
    clone->mLastHoldTime = mLastHoldTime;
    clone->mLastHoldSpread = mLastHoldSpread;
    clone->mStepTime = mStepTime;
    clone->mStepSpread = mStepSpread;
    clone->mRegenDuration = mRegenDuration;
    clone->mRegenElapsed = mRegenElapsed;
    clone->mRegenActive = mRegenActive;
    clone->mCycleLength = mCycleLength;
}

TEffector* TRandomEffector::Clone() const
{
    TRandomEffector* clone = new TRandomEffector();
    CopyRandomTo(clone);
    return clone;
}

void TRandomEffectorOwnSV::LoadXml(const TiXmlElement* e)
{
    TRandomEffector::LoadXml(e);
    GetAttrPointListF(e, "sminmax", mStartRanges);
}

void TRandomEffectorOwnSV::CaptureBaseValues()
{
    mBaseValues.clear();
    for (size_t j = 0; j < mTracks.size(); ++j) {
        if (j < mStartRanges.size()) {
            mBaseValues.push_back(RandomFloat(mStartRanges[j].x, mStartRanges[j].y));
        } else {
            mBaseValues.push_back(CurrentValue(mTracks[j]));
        }
    }
}

TEffector* TRandomEffectorOwnSV::Clone() const
{
    TRandomEffectorOwnSV* clone = new TRandomEffectorOwnSV();
    CopyRandomTo(clone);
    clone->mStartRanges = mStartRanges;
    return clone;
}

// ---- TTrajectoryEffector ----

void TTrajectoryEffector::LoadXml(const TiXmlElement* e)
{
    mHide = GetAttrBool(e, "hide", true);
    mMover.LoadXml(e);
    TEffector::LoadXml(e);
}

void TTrajectoryEffector::Play()
{
    mMover.Start();
    if (mHide && mTarget) mTarget->SetVisible(true);
}

void TTrajectoryEffector::Stop() { mMover.Stop(); }

void TTrajectoryEffector::Update(float dt)
{
    TEffector::Update(dt);
    if (!mMover.IsRunning()) return;
    mMover.Update(dt);
    if (mTarget) {
        mTarget->SetPosition(mMover.GetX(), mMover.GetY(), true);
        mTarget->SetAngle(mMover.GetAngle());
    }
    if (mMover.IsRunning()) return;
    if (mLoop == -1) {
        mMover.Start();
    } else if (mHide && mTarget) {
        mTarget->SetVisible(false);
    }
}

TEffector* TTrajectoryEffector::Clone() const
{
    TTrajectoryEffector* clone = new TTrajectoryEffector();
    CopyTo(clone);
    // The clone's mover owns its own copy of the curves.
    clone->mMover = mMover;
    if (mMover.IsRunning()) clone->mMover.Start();
    clone->mHide = mHide;
    return clone;
}

// ---- TShakeEffector ----

void TShakeEffector::Play()
{
    if (!mTarget) {
        // Around (0, 0) the object would travel to the corner: wait for the target.
        mWaiting = true;
        return;
    }
    mWaiting = false;
    const float x = mTarget->GetX();
    const float y = mTarget->GetY();
    mBaseX = TruncToInt(x);
    mBaseY = TruncToInt(y);
    float px[6];
    float py[6];
    px[0] = px[5] = static_cast<float>(mBaseX);
    py[0] = py[5] = static_cast<float>(mBaseY);
    float r = 10.0f;
    for (int i = 1; i <= 4; ++i) {
        float degrees = 180.0f / static_cast<float>(i);
        if (i % 2 == 1) degrees = -degrees;
        if (degrees < 0.0f) degrees += 360.0f;
        const float angle = degrees * kDegToRad;
        px[i] = static_cast<float>(TruncToInt(x - std::cos(angle) * r));
        py[i] = static_cast<float>(TruncToInt(y - std::sin(angle) * r));
        r = RandomFloat(10.0f, 15.0f);
    }
    std::vector<TLineWaypoint> path;
    for (int i = 0; i < 5; ++i) {
        TLineWaypoint w;
        w.fromX = px[i];
        w.fromY = py[i];
        w.toX = px[i + 1];
        w.toY = py[i + 1];
        w.duration = RandomFloat(0.2f, 0.3f);
        path.push_back(w);
    }
    mMover.SetWaypoints(0.0f, path);
    mMover.Restart();
    mStopping = false;
}

void TShakeEffector::Update(float dt)
{
    TEffector::Update(dt);
    if (mWaiting && mTarget) Play();
    if (!mMover.mActive || !mTarget) return;
    mMover.Update(dt);
    // The path is in drawn coordinates; the target stores its position without its draw
    // type's shift, centre and offset.
    const float storedMinusDrawnX = mTarget->mX - mTarget->GetX();
    const float storedMinusDrawnY = mTarget->mY - mTarget->GetY();
    mTarget->SetPosition(mMover.mX + storedMinusDrawnX, mMover.mY + storedMinusDrawnY, true);
    if (!mMover.mActive && !mStopping) Play();
}

void TShakeEffector::Stop()
{
    if (mWaiting) {
        mWaiting = false;
        return;
    }
    mStopping = true;
    TLineWaypoint back;
    back.fromX = mMover.mX;
    back.fromY = mMover.mY;
    back.toX = static_cast<float>(mBaseX);
    back.toY = static_cast<float>(mBaseY);
    back.duration = 0.2f;
    mMover.SetWaypoints(0.0f, {back});
    mMover.Restart();
}

TEffector* TShakeEffector::Clone() const
{
    TShakeEffector* clone = new TShakeEffector();
    CopyTo(clone);
    clone->mMover = mMover;
    clone->mStopping = mStopping;
    clone->mBaseX = mBaseX;
    clone->mBaseY = mBaseY;
    clone->mWaiting = mWaiting;
    return clone;
}
