#include "rooms/hint_effects.h"

#include <algorithm>
#include <cmath>

#include "core/random.h"

namespace {

const char* const kSparkleTexture = "textures/effect/particles";
const float kRiseSeconds = 2.5f;

// (rand() % 32767) / 32767: a fraction in [0, 1), exactly 0 for two generator values.
float RandomFraction()
{
    const int draw = GameRand() % 32767;
    return static_cast<float>(draw) / 32767.0f;
}

}  // namespace

TEffectBackHint::TEffectBackHint(int32_t x, int32_t y, const std::string& imageName, float duration)
{
    mImage.SetTexture(imageName);
    mImage.SetPosition(static_cast<float>(x), static_cast<float>(y), true);
    mScalePulse.mCycleLimit = -1;
    mScalePulse.Start(1.0f, 0.95f, 0.9f, 1.0f);
    mLifetime.Set(0.0f, 1.0f, duration, true);
}

TEffectBackHint::~TEffectBackHint() = default;

bool TEffectBackHint::Update(float dt)
{
    mLifetime.Update(dt);
    mScalePulse.Update(dt);
    mImage.SetScale(mScalePulse.GetValue());
    mDone = mLifetime.mFinished;
    return false;
}

void TEffectBackHint::Draw(float /*alphaFactor*/) { mImage.Draw(1.0f); }

TEffectRoomXoItemHint::TEffectRoomXoItemHint(int32_t x, int32_t y) : mSpawnX(x), mSpawnY(y)
{
    mImage.SetTexture(kSparkleTexture);
    mImage.mTransform.SetSourceRect(32, 64, 32, 32);
    mImage.SetPosition(static_cast<float>(x), static_cast<float>(y), true);
    mScalePulse.mStopAtLow = true;
    mScalePulse.Start(0.2f, 1.0f, 0.2f, 1.0f);
    mAlphaPulse.mStopAtLow = true;
    mAlphaPulse.Start(1.0f, 0.5f, 1.0f, 1.0f);
    mStartDelay = RandomFraction();
}

TEffectRoomXoItemHint::~TEffectRoomXoItemHint() = default;

bool TEffectRoomXoItemHint::Update(float dt)
{
    mElapsed += dt;
    if (mElapsed < mStartDelay) return false;
    if (!mStarted) {
        mStarted = true;
        const int rise = 50 + GameRand() % 50;
        const float x = static_cast<float>(mSpawnX);
        const float y = static_cast<float>(mSpawnY);
        mRise.StartSegment(x, y, x, static_cast<float>(static_cast<int64_t>(mSpawnY) - rise), kRiseSeconds, 0.0f, 0,
                           false);
    }
    mScalePulse.Update(dt);
    mAlphaPulse.Update(dt);
    mRise.Update(dt);
    mDone = mAlphaPulse.mFinished;
    return false;
}

void TEffectRoomXoItemHint::Draw(float /*alphaFactor*/)
{
    const float x = mStarted ? mRise.mX : static_cast<float>(mSpawnX);
    const float y = mStarted ? mRise.mY : static_cast<float>(mSpawnY);
    mImage.SetPosition(x, y, true);
    mImage.mAlpha = mAlphaPulse.GetValue();
    mImage.SetScale(mScalePulse.GetValue());
    mImage.Draw(1.0f);
}

TEffectRoomXoHint::TEffectRoomXoHint(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
    : mX1(x1), mY1(y1), mX2(x2), mY2(y2)
{
    // In double: the sides of the widest rectangle make an area beyond 64 bits.
    const double area = (static_cast<double>(x2) - x1) * (static_cast<double>(y2) - y1) * 100.0;
    const float count = static_cast<float>(area) / 10000.0f * 15.0f / 100.0f;
    mTargetCount = static_cast<int32_t>(std::clamp(static_cast<double>(count), double(INT32_MIN), double(INT32_MAX)));
}

TEffectRoomXoHint::~TEffectRoomXoHint() { mSparkles.DeleteAll(); }

bool TEffectRoomXoHint::Update(float dt)
{
    if (static_cast<int64_t>(mSparkles.Count()) < mTargetCount) {
        const int64_t width = static_cast<int64_t>(mX2) - mX1;
        const int64_t height = static_cast<int64_t>(mY2) - mY1;
        const int64_t x = mX1 + GameRand() % width;
        const int64_t y = mY1 + GameRand() % height;
        mSparkles.Add(0.0f, new TEffectRoomXoItemHint(static_cast<int32_t>(x), static_cast<int32_t>(y)));
    }
    mSparkles.Update(dt);
    return false;
}

void TEffectRoomXoHint::Draw(float /*alphaFactor*/)
{
    for (size_t i = 0; i < mSparkles.Count(); ++i)
        if (mSparkles.IsStarted(i)) mSparkles.At(i)->Draw(1.0f);
}

EffectBlink::EffectBlink(int32_t x, int32_t y, const std::string& imageName, float duration, float largestDelay)
    : mDuration(duration)
{
    mImage.SetTexture(imageName);
    mImage.SetPosition(static_cast<float>(x), static_cast<float>(y), true);
    // Until it starts, both pulses rest at 0: nothing shows.
    mScalePulse.mStopAtLow = true;
    mAlphaPulse.mStopAtLow = true;
    mDelay = RandomFraction() * largestDelay;
    if (mDelay <= 0.0f) Start();
}

EffectBlink::~EffectBlink() = default;

void EffectBlink::Start()
{
    const float angle = RandomFraction() * 179.0f * 0.017453292f;
    mAngle.Set(angle, angle + 3.1415927f, mDuration, true);
    mScalePulse.Start(0.0f, 1.0f, 0.0f, mDuration);
    mAlphaPulse.Start(0.0f, 1.0f, 0.0f, mDuration);
}

bool EffectBlink::Update(float dt)
{
    if (mDelay > 0.0f) {
        mDelay -= dt;
        if (mDelay > 0.0f) return false;
        Start();
    }
    mAngle.Update(dt);
    mScalePulse.Update(dt);
    mAlphaPulse.Update(dt);
    return false;
}

bool EffectBlink::IsDone() const { return mDelay <= 0.0f && mAlphaPulse.mFinished; }

void EffectBlink::Draw(float /*alphaFactor*/)
{
    mImage.mAlpha = mAlphaPulse.GetValue();
    mImage.SetAngle(mAngle.mCurrent);
    mImage.SetScale(mScalePulse.GetValue());
    mImage.Draw(1.0f);
}
