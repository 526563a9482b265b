// The board's drawable effects: the caption shown when a picture is complete or the time is
// up, and the burst of rolling dots the rooms use as a hint. Both live in an owning
// ObjectsManager and set their done flag when they end, which is when the list deletes them.
#pragma once
#include "core/xml_attributes.h"
#include "graphics/draw_object.h"
#include "graphics/objects_manager.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"

class EffectGo;
class TObject;

class EffectGoListener {
public:
    virtual ~EffectGoListener() = default;
    virtual void OnEffectGoFinished(EffectGo* /*effect*/) {}
    virtual void OnEffectGoStarted(EffectGo* /*effect*/) {}
    virtual void OnEffectGoShown(EffectGo* /*effect*/) {}
};

class EffectGo : public DrawObject {
public:
    EffectGo(const std::string& imageName, float x, float y, float hold, EffectGoListener* listener, int kind,
             float fadeOutTime);

    void Draw(float alphaFactor) override;
    bool Update(float dt) override;

    int GetKind() const { return mKind; }
    float GetAlphaValue() const { return mAlphaTween.mCurrent; }
    float GetScaleValue() const { return mScaleTween.mCurrent; }
    int GetPhase() const { return mPhase; }

private:
    int mKind;
    IncValue mScaleTween;
    IncValue mAlphaTween;
    StaticImage mImage;
    float mCentreX;
    float mCentreY;
    int mPhase = 0;  // 0 fade-in and hold, 1 wait, 2 fade-out
    float mTimer = 0.0f;
    float mHold;
    float mFadeOutTime;
    EffectGoListener* mListener;
    float mGrowTo = 1.1f;
    float mGrowTime = 0.75f;
    // Nothing ever sets one: the started notification exists only for a caption that waits.
    float mStartDelay = 0.0f;
};

class RollingParticle : public DrawObject {
public:
    RollingParticle(int x, int y, int centreX, int centreY, int radius, float angle);

    // The hint draws its particles through here.
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    virtual void DrawParticle();

    const TIntPoint& GetPosition() const { return mPosition; }
    float GetAlphaValue() const { return mAlphaTween.mCurrent; }

private:
    StaticImage mImage;
    TIntPoint mPosition;
    TIntPoint mCentre;
    int mRadius;
    float mElapsed = 0.0f;
    float mRollAngle;  // radians
    IncValue mAlphaTween;
    float mColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

class EffectHint : public DrawObject {
public:
    EffectHint(int x, int y, TObject* target);

    void Draw(float alphaFactor) override;
    bool Update(float dt) override;

    TObject* GetTarget() const { return mTarget; }
    TIntPoint GetCentre() const { return mCentre; }
    const ObjectsManager& Particles() const { return mParticles; }

private:
    TIntPoint mCentre;
    int mBurstsLeft = 20;
    int mRadius = 50;
    ObjectsManager mParticles{true};
    TObject* mTarget;  // not owned
};
