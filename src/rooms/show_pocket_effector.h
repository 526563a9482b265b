// The movement that grows a pocket out of its room and shrinks it back, and who hears when
// it ends.
#pragma once
#include <cstdint>

#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "rooms/effector.h"

class TShowPocketEffector;

class TShowPocketEffectorListener {
public:
    virtual ~TShowPocketEffectorListener() = default;
    virtual void OnShowPocketDone(TShowPocketEffector* effector) = 0;
};

// Moves the zoom point from the start point to the end point while the target's scale runs
// from the start scale to the end scale; the target is scaled about that point, so a pocket
// grows out of the point it was opened from and lands at (0, 0) at full size.
class TShowPocketEffector : public TEffector {
public:
    void Update(float dt) override;
    void Play() override;
    void Stop() override;
    void Reset() override {}
    TEffector* Clone() const override;

    int32_t mHiding = 0;  // 1 while a hide movement runs
    TLineMover mMover;
    IncValue mScaleX;
    IncValue mScaleY;
    float mStartX = 0.0f, mStartY = 0.0f, mEndX = 0.0f, mEndY = 0.0f;
    float mStartScaleX = 0.2f, mStartScaleY = 0.2f, mEndScaleX = 1.0f, mEndScaleY = 1.0f;
    float mDuration = 0.3f;
    bool mDone = false;
    TShowPocketEffectorListener* mDoneListener = nullptr;  // not owned; told once
};
