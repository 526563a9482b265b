// The ring burst behind an earned star: a coloured ring that grows from about a third of its
// size while it fades, cycle after cycle; the level complete window lights each star with two.
#pragma once
#include <string>

#include "graphics/draw_object.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"

class EffectChange3One;

class TRingBurstListener {
public:
    virtual ~TRingBurstListener() = default;
    virtual void OnRingBurstDone(EffectChange3One* burst) = 0;
};

class EffectChange3One : public DrawObject {
public:
    // The white flag fixes the image to the white ring; otherwise each cycle picks a colour
    // until SetImage chooses one.
    EffectChange3One(float x, float y, float cycleTime, float endScale, float alphaFrom, bool white);
    ~EffectChange3One() override;

    void SetImage(const std::string& name);
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    // Starts one ring cycle.
    void Reset() override;

    StaticImage mImage;
    IncValue mAlphaTween;
    IncValue mScaleTween;
    float mCentreX = 0.0f;
    float mCentreY = 0.0f;
    float mAlphaFrom = 0.0f;
    float mEndScale = 0.0f;
    float mCycleTime = 0.0f;
    int mCyclesDone = 0;
    bool mOval = false;
    int mCycleLimit = 1;  // -1: endless
    float mTimer = 0.0f;
    bool mAdditive = true;
    TRingBurstListener* mListener = nullptr;
    bool mImageChosen = false;
};
