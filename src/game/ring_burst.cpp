#include "game/ring_burst.h"

#include "core/random.h"

namespace {
// The fourth colour of each list is never picked.
const char* const kRings[] = {"textures/rings/ringyellow", "textures/rings/ringblue", "textures/rings/ringgreen",
                              "textures/rings/ringpurple"};
const char* const kOvals[] = {"textures/rings/ovalyellow", "textures/rings/ovalblue", "textures/rings/ovalgreen",
                              "textures/rings/ovalpurple"};
}  // namespace

EffectChange3One::EffectChange3One(float x, float y, float cycleTime, float endScale, float alphaFrom, bool white)
    : mCentreX(x), mCentreY(y), mAlphaFrom(alphaFrom), mEndScale(endScale), mCycleTime(cycleTime)
{
    mImage.mTransform.mBlendMode = kBlendAdd;
    if (white) SetImage("textures/effect/rings/ringwhite");
    Reset();
}

EffectChange3One::~EffectChange3One() = default;

void EffectChange3One::SetImage(const std::string& name)
{
    mImage.SetTexture(name);
    mImage.SetPosition(mCentreX, mCentreY, true);
    mImageChosen = true;
}

void EffectChange3One::Reset()
{
    if (!mImageChosen) {
        const int pick = GameRand() % 3;
        mImage.SetTexture(mOval ? kOvals[pick] : kRings[pick]);
        mImage.SetPosition(mCentreX, mCentreY, true);
    }
    mTimer = 0.0f;
    // Two statements: the start scale takes its generator value before the duration does.
    const float startScale = RandomFloat(0.35f, 0.40f);
    const float duration = RandomFloat(mCycleTime, mCycleTime + 0.1f);
    mScaleTween.Set(startScale, mEndScale, duration, true);
    mAlphaTween.Set(mAlphaFrom, 0.0f, mCycleTime, true);
}

bool EffectChange3One::Update(float dt)
{
    if (mDone) return true;
    mTimer += dt;
    mAlphaTween.Update(dt);
    mScaleTween.Update(dt);
    if (mScaleTween.mFinished) {
        ++mCyclesDone;
        Reset();
    }
    if (mCycleLimit != -1 && mCyclesDone >= mCycleLimit) {
        mDone = true;
        if (mListener) mListener->OnRingBurstDone(this);
    }
    return mDone;
}

void EffectChange3One::Draw(float alphaFactor)
{
    if (mDone) return;
    if (mAdditive) mImage.mTransform.mBlendMode = kBlendAdd;
    mImage.SetScale(mScaleTween.mCurrent);
    mImage.SetPosition(mCentreX, mCentreY, true);
    mImage.mAlpha = mAlphaTween.mCurrent * alphaFactor;
    mImage.Draw(1.0f);
}
