#include "game/board_effects.h"

#include <cmath>

#include "core/numbers.h"

EffectGo::EffectGo(const std::string& imageName, float x, float y, float hold, EffectGoListener* listener, int kind,
                   float fadeOutTime)
    : mKind(kind), mCentreX(x), mCentreY(y), mHold(hold), mFadeOutTime(fadeOutTime), mListener(listener)
{
    mImage.SetTexture(imageName);
    mImage.SetPosition(x, y, true);
    mAlphaTween.Set(0.0f, 1.0f, 0.4f, true);
    mScaleTween.Set(1.0f, 1.0f, 0.0f, false);
}

void EffectGo::Draw(float /*alphaFactor*/)
{
    mImage.SetScale(mScaleTween.mCurrent);
    mImage.mAlpha = mAlphaTween.mCurrent;
    mImage.Draw(1.0f);
}

bool EffectGo::Update(float dt)
{
    if (mDone) return true;
    switch (mPhase) {
    case 0:
        mTimer += dt;
        if (mStartDelay > 0.0f) {
            if (mTimer < mStartDelay) break;
            mStartDelay = 0.0f;
            mTimer = 0.0f;
            if (mListener) mListener->OnEffectGoStarted(this);
        }
        mAlphaTween.Update(dt);
        if (mAlphaTween.mFinished && mTimer >= mHold) {
            mAlphaTween.Set(1.0f, 0.0f, mFadeOutTime, true);
            mScaleTween.Set(1.0f, mGrowTo, mGrowTime, true);
            mPhase = 1;
        }
        break;
    case 1:
        // One timer from construction: the wait ends a second after the caption appeared,
        // whatever the hold was.
        mTimer += dt;
        if (mTimer >= 1.0f) {
            mPhase = 2;
            if (mListener) mListener->OnEffectGoShown(this);
        }
        break;
    default:
        mScaleTween.Update(dt);
        mAlphaTween.Update(dt);
        if (mAlphaTween.mFinished) {
            mDone = true;
            if (mListener) mListener->OnEffectGoFinished(this);
        }
        break;
    }
    return mDone;
}

RollingParticle::RollingParticle(int x, int y, int centreX, int centreY, int radius, float angle)
    : mRadius(radius), mRollAngle(angle)
{
    mImage.SetTexture("textures/effect/adot_alpha");
    mPosition.x = x;
    mPosition.y = y;
    mCentre.x = centreX;
    mCentre.y = centreY;
    mAlphaTween.Set(1.0f, 0.0f, 2.5f, true);
}

void RollingParticle::Draw(float /*alphaFactor*/) { DrawParticle(); }

bool RollingParticle::Update(float dt)
{
    mElapsed += dt;
    mRollAngle += dt;
    float r = static_cast<float>(mRadius);
    float a = -mRollAngle;
    mPosition.x = ClampToInt(static_cast<long long>(mCentre.x) + TruncToInt(r * std::cos(a) + r * std::sin(a)));
    mPosition.y = ClampToInt(static_cast<long long>(mCentre.y) + TruncToInt(r * std::cos(a) - r * std::sin(a)));
    mAlphaTween.Update(dt);
    if (mAlphaTween.mFinished) mDone = true;
    return mDone;
}

void RollingParticle::DrawParticle()
{
    mImage.SetPosition(static_cast<float>(mPosition.x), static_cast<float>(mPosition.y), true);
    mImage.SetAngle(mRollAngle);
    mImage.SetScale(0.3f);
    mImage.mTransform.mRed = mColor[0];
    mImage.mTransform.mGreen = mColor[1];
    mImage.mTransform.mBlue = mColor[2];
    mImage.mTransform.mColorW = mColor[3];
    mImage.mAlpha = mAlphaTween.mCurrent;
    mImage.Draw(1.0f);
}

EffectHint::EffectHint(int x, int y, TObject* target) : mTarget(target)
{
    mCentre.x = x;
    mCentre.y = y;
}

void EffectHint::Draw(float /*alphaFactor*/) { mParticles.Draw(); }

bool EffectHint::Update(float dt)
{
    if (mBurstsLeft > 0) {
        --mBurstsLeft;
        const float r = static_cast<float>(mRadius);
        for (int step = 0; step < 6; ++step) {
            float theta = static_cast<float>(step * 72) * static_cast<float>(M_PI) / 180.0f;
            int x = ClampToInt(static_cast<long long>(mCentre.x) + TruncToInt(r * (std::cos(theta) + std::sin(theta))));
            int y = ClampToInt(static_cast<long long>(mCentre.y) + TruncToInt(r * (std::cos(theta) - std::sin(theta))));
            // The next step's angle in degrees, read as radians by the particle: only its
            // first update decides where it is drawn.
            float angle = static_cast<float>((step + 1) * 72);
            mParticles.Add(0.0f, new RollingParticle(x, y, mCentre.x, mCentre.y, mRadius, angle));
        }
    }
    mParticles.Update(dt);
    if (mParticles.Count() == 0) mDone = true;
    return mDone;
}
