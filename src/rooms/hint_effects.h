// The small effects that point the player at something: the pulsing back arrow, the field of
// sparkles over an object, and the single blink. Their owners update them every frame, draw
// them, and delete them once they report done.
#pragma once
#include <cstdint>
#include <string>

#include "graphics/draw_object.h"
#include "graphics/objects_manager.h"
#include "graphics/static_image.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"

// A pulsing image centred on a point, shown for a limited time.
class TEffectBackHint : public DrawObject {
public:
    TEffectBackHint(int32_t x, int32_t y, const std::string& imageName, float duration);
    ~TEffectBackHint() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;

    StaticImage mImage;
    PulseValue mScalePulse;
    IncValue mLifetime;
};

// One sparkle of the field: rises, grows, shrinks and fades after a random delay.
class TEffectRoomXoItemHint : public DrawObject {
public:
    TEffectRoomXoItemHint(int32_t x, int32_t y);
    ~TEffectRoomXoItemHint() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;

    StaticImage mImage;
    PulseValue mScalePulse;
    PulseValue mAlphaPulse;
    TLineMover mRise;
    int32_t mSpawnX = 0;
    int32_t mSpawnY = 0;
    float mStartDelay = 0.0f;
    float mElapsed = 0.0f;
    bool mStarted = false;
};

// Sparkles over a rectangle, one more each frame up to a count that grows with the area.
// Never done: its owner removes it.
class TEffectRoomXoHint : public DrawObject {
public:
    TEffectRoomXoHint(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    ~TEffectRoomXoHint() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;

    ObjectsManager mSparkles;  // owns them
    int32_t mX1 = 0;
    int32_t mY1 = 0;
    int32_t mX2 = 0;
    int32_t mY2 = 0;
    int32_t mTargetCount = 0;
};

// A single sprite that, after a random delay, turns half a circle while it grows and fades
// in and back out.
class EffectBlink : public DrawObject {
public:
    EffectBlink(int32_t x, int32_t y, const std::string& imageName, float duration, float largestDelay);
    ~EffectBlink() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    bool IsDone() const override;

    StaticImage mImage;
    IncValue mAngle;
    PulseValue mScalePulse;
    PulseValue mAlphaPulse;
    float mDelay = 0.0f;
    float mDuration = 0.0f;

private:
    void Start();
};
