// Effectors that make their keys as they go: random tracks regenerated every cycle, a
// trajectory ridden by the target, and a shake around where the target stands.
#pragma once
#include <cstdint>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/trajectories.h"
#include "rooms/effector.h"

// Draws new keys for its tracks from their ranges each cycle: every change moves to a new
// value over a step time and holds it; the cycle starts again from the base values.
class TRandomEffector : public TEffector {
public:
    // Each change makes two keys per track every cycle: far more than a scene ever asks for.
    static constexpr int32_t kMaxChanges = 4096;

    void Update(float dt) override;
    // Binding captures the base values and generates the first cycle.
    void SetTarget(DrawObject* target) override;
    void LoadXml(const TiXmlElement* element) override;
    void Play() override;
    TEffector* Clone() const override;

    virtual void Regenerate();
    virtual void CaptureBaseValues();
    virtual void OnRegenerate() {}

    std::vector<int> mTracks;  // channel indices
    std::vector<TFloatPoint> mRanges;  // (min, max) per track
    std::vector<float> mBaseValues;
    int32_t mChanges = 0;
    bool mRegenerate = true;
    bool mReturnToStart = false;
    bool mRelative = false;
    bool mRestAtStart = false;
    float mHoldTime = 0.0f, mHoldSpread = 0.0f;
    float mLastHoldTime = 0.0f, mLastHoldSpread = 0.0f;
    float mStepTime = 0.0f, mStepSpread = 0.0f;
    float mRegenDuration = 0.0f;
    float mRegenElapsed = 0.0f;
    bool mRegenActive = false;
    float mCycleLength = 0.0f;

protected:
    // The target's value of a channel, x and y as stored (what the x and y tracks write).
    float CurrentValue(int channel) const;
    void CopyRandomTo(TRandomEffector* clone) const;
};

// Each cycle starts from new random values drawn from the start ranges.
class TRandomEffectorOwnSV : public TRandomEffector {
public:
    TRandomEffectorOwnSV() { mChanges = 1; }
    void LoadXml(const TiXmlElement* element) override;
    TEffector* Clone() const override;
    void CaptureBaseValues() override;
    void OnRegenerate() override { CaptureBaseValues(); }

    std::vector<TFloatPoint> mStartRanges;
};

class TTrajectoryEffector : public TEffector {
public:
    void Update(float dt) override;
    void LoadXml(const TiXmlElement* element) override;
    void Play() override;
    void Stop() override;
    void Reset() override {}
    TEffector* Clone() const override;

    TTrajectoryMover mMover;
    bool mHide = true;  // hidden at the end of a run; the object counts as hidden in saved games
};

// Shakes the target along a short random path around where it was drawn when played, again
// and again until stopped; a stop glides it back.
class TShakeEffector : public TEffector {
public:
    void Update(float dt) override;
    void Play() override;
    void Stop() override;
    void Reset() override {}
    TEffector* Clone() const override;

    TLineMover mMover;
    bool mStopping = false;
    int32_t mBaseX = 0;
    int32_t mBaseY = 0;
    // Played before it had a target (at load): the path is built on the first update.
    bool mWaiting = false;
};
