#include "graphics/particle.h"

#include "core/numbers.h"

Particle::Particle(float startX, float startY, float velocityY, const std::string& imageName, int stripX, int stripY,
                   int frameWidth, int frameHeight)
    : mVelY(velocityY), mStripX(stripX), mStripY(stripY), mFrameWidth(frameWidth), mFrameHeight(frameHeight)
{
    mStartX = startX;
    mStartY = startY;
    mX = startX;
    mY = startY;
    mImage.SetTexture(imageName);
}

Particle::~Particle() = default;

bool Particle::Update(float /*dt*/)
{
    if (mLife <= 0.0f) return true;
    mX += mVelX;
    mY += mVelY;
    mLife -= mFadeStep;
    if (mLife < 0.0f) mLife = 0.0f;
    if (mLife > 1.0f) mLife = 1.0f;
    ++mCounter;
    const int delay = mFrameDelay < 1 ? 1 : mFrameDelay;
    if (mFrameCount > 0 && mCounter % delay == 0) mFrame = (mFrame + 1) % mFrameCount;
    return IsDone();
}

void Particle::Draw(float alphaFactor)
{
    if (mLife <= 0.0f) return;
    DrawTransform& t = mImage.mTransform;
    if (mFrameWidth != 0) {
        t.SetSourceRect(mStripX + mFrameWidth * mFrame, mStripY, mFrameWidth, mFrameHeight);
    }
    t.mBlendMode = mAdditive ? kBlendAdd : kBlendAlpha;
    if (mScale != 1.0f) mImage.SetScale(mScale);
    t.mRed = static_cast<float>((mColor.mArgb >> 16) & 0xFF) / 255.0f;
    t.mGreen = static_cast<float>((mColor.mArgb >> 8) & 0xFF) / 255.0f;
    t.mBlue = static_cast<float>(mColor.mArgb & 0xFF) / 255.0f;
    t.mColorW = static_cast<float>((mColor.mArgb >> 24) & 0xFF) / 255.0f;
    mImage.SetPosition(static_cast<float>(TruncToInt(mX)), static_cast<float>(TruncToInt(mY)), mCentred);
    mImage.SetAngle(-mAngle);
    mImage.mAlpha = mLife;
    mImage.Draw(alphaFactor);
}
