#include "rooms/ghost_catcher_tool.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/xml_attributes.h"

const char* const TGhostCatcherTool::kSparkleImage = "textures/effect/sparklegreen";

namespace {

const int kSparkleFrames = 14;
const int kSparkleSide = 10;
const float kSparkleScale = 2.5f;
const float kSparkleFade = 0.03f;
const int kTrailDrop = 250;

void LoadIfNamed(StaticImage& image, const std::string& name)
{
    if (!name.empty()) image.SetTexture(name);
}

// The folder joined to the value without a separator; an empty value names nothing.
std::string JoinedName(const std::string& folder, const std::string& value)
{
    return value.empty() ? std::string() : folder + value;
}

}  // namespace

// ---- Sparkle trails.

TEffectCatchGhost::TEffectCatchGhost(int side, int ax, int ay, int bx, int by)
{
    const double dx = static_cast<double>(bx) - ax;
    const double dy = static_cast<double>(by) - ay;
    const int bend = TruncToInt(side * std::sqrt(dx * dx + dy * dy));
    mTrajectory = MakeArcTrajectory(ax, ay, bx, by, bend);
    // The arc's length per second: every trail takes one second, however it bends.
    mMover = std::make_unique<MoveObj_t>(mTrajectory->mTotalLength, mTrajectory.get(), TMoveOwnerRecord());
}

TEffectCatchGhost::~TEffectCatchGhost() = default;

void TEffectCatchGhost::SpawnSparkle()
{
    auto sparkle = std::make_unique<Particle>(mMover->mX, mMover->mY, 0.0f, TGhostCatcherTool::kSparkleImage, 0, 0,
                                              kSparkleSide, kSparkleSide);
    sparkle->mFrameCount = kSparkleFrames;
    sparkle->mFrameDelay = 1;
    sparkle->mCentred = true;
    sparkle->mScale = kSparkleScale;
    sparkle->mFadeStep = kSparkleFade;
    mSparkles.push_back(std::move(sparkle));
}

bool TEffectCatchGhost::Update(float dt)
{
    if (mDone) return true;
    mMover->Update(dt);
    mArrived = mMover->IsFinished();
    for (auto& sparkle : mSparkles) sparkle->Update(dt);
    mSparkles.erase(std::remove_if(mSparkles.begin(), mSparkles.end(),
                                   [](const std::unique_ptr<Particle>& p) { return p->IsDone(); }),
                    mSparkles.end());
    if (!mArrived) SpawnSparkle();
    mDone = mArrived && mSparkles.empty();
    return mDone;
}

void TEffectCatchGhost::Draw(float /*alphaFactor*/)
{
    for (auto& sparkle : mSparkles) sparkle->Draw(1.0f);
}

TEffectCatchGhostFull::TEffectCatchGhostFull(int startX, int startY, int endX, int endY)
{
    static const int kShift[6] = {10, 30, 50, 10, 30, 50};
    static const int kSide[6] = {1, 1, 1, -1, -1, -1};
    for (int i = 0; i < 6; ++i)
        mTrails.push_back(std::make_unique<TEffectCatchGhost>(kSide[i], startX, startY + kShift[i], endX,
                                                              endY + kShift[i]));
}

TEffectCatchGhostFull::~TEffectCatchGhostFull() = default;

bool TEffectCatchGhostFull::Update(float dt)
{
    for (auto& trail : mTrails) trail->Update(dt);
    mTrails.erase(std::remove_if(mTrails.begin(), mTrails.end(),
                                 [](const std::unique_ptr<TEffectCatchGhost>& t) { return t->IsDone(); }),
                  mTrails.end());
    return IsDone();
}

void TEffectCatchGhostFull::Draw(float alphaFactor)
{
    for (auto& trail : mTrails) trail->Draw(alphaFactor);
}

// ---- The tool.

TGhostCatcherTool::TGhostCatcherTool()
{
    // The catching movie: its alpha beside its colour, unstretched, and practically no limit
    // on its starts.
    mMovie.mWithAlpha = true;
    mMovie.mStretch = false;
    mMovie.mMaxActivations = 10000000;
}

TGhostCatcherTool::~TGhostCatcherTool() = default;

void TGhostCatcherTool::StopMovie()
{
    mMovie.MarkFinishedWithoutFrame();
    mMovie.FinishPlayback();
}

void TGhostCatcherTool::Select(int /*a*/, int /*b*/)
{
    // No take sound, effect or mode: the catcher is always ready.
    mCatchEffect.reset();
    mFingerImage.SetVisible(true);
    mFadeRunning = false;
    mFingerFade.SetValue(0.0f);
    mGlow = PulseValue();
    StopMovie();
}

void TGhostCatcherTool::Reset()
{
    TTool::Reset();
    mTargetAlpha = 0.0f;
    mFadeRunning = false;
    mGlow = PulseValue();
    mCatchEffect.reset();
    StopMovie();
}

void TGhostCatcherTool::Apply(int x, int y, int useNumber)
{
    TTool::Apply(x, y, useNumber);
    mFingerFade.Set(0.0f, 1.0f, 0.5f, true);
    mGlow.Start(0.0f, 1.0f, 0.0f, 0.3f);
    mGlow.mStopAtLow = true;
    mFingerImage.SetVisible(false);
    mFadeRunning = true;
    SetCatchProgress(10000.0f);
    if (mRunEffect) StartFullEffect(x, y);
    StopMovie();
    mMovie.FreeResources();
    mMovie.Activate(0, 0, 0);
    // Past its start limit the movie has no decoder to be centred by: it stays where it was.
    if (TVideoWindow* decoder = mMovie.GetDecoder()) {
        const int w = mMovie.GetFrameWidth();
        const int h = decoder->GetPictureHeight();
        mMovie.SetPosition(static_cast<float>(x - w / 2), static_cast<float>(y - h / 2), true);
    }
}

void TGhostCatcherTool::SetCatchProgress(float progress)
{
    mTargetAlpha = 1.0f - std::min(1.0f, progress);
    const int eyes = static_cast<int>(mEyes.size());
    mEyeIndex = std::min(eyes, TruncToInt(static_cast<double>(eyes) * progress));
}

void TGhostCatcherTool::StartFullEffect(int x, int y)
{
    mCatchEffect.reset();
    mCatchEffect = std::make_unique<TEffectCatchGhostFull>(x, y, x, y + kTrailDrop);
}

void TGhostCatcherTool::Update(float dt)
{
    TTool::Update(dt);
    if (mFadeRunning && mFingerFade.Update(dt)) {
        mFingerImage.SetVisible(true);
        mFadeRunning = false;
    }
    mGlow.Update(dt);
    mGlowImage.mAlpha = mGlow.GetValue();
    if (mCatchEffect && (mCatchEffect->Update(dt) || mCatchEffect->IsDone())) mCatchEffect.reset();
    mMovie.Update(dt);
}

void TGhostCatcherTool::DrawEffects(float x, float y, float a, float b)
{
    mMovie.DrawMovieFrame();
    if (mCatchEffect) mCatchEffect->Draw(1.0f);
    TTool::DrawEffects(x, y, a, b);
    const TIntPoint hand = GetHandOffset();
    mTargetImage.mAlpha = mTargetAlpha;
    mTargetImage.SetPosition(x + static_cast<float>(hand.x), y + static_cast<float>(hand.y), true);
    mTargetImage.Draw(1.0f);
}

void TGhostCatcherTool::DrawEffectsTop(float x, float y, float a, float b)
{
    TTool::DrawEffectsTop(x, y, a, b);
    if (mFingerImage.IsVisible()) {
        mFingerImage.SetPosition(x + static_cast<float>(mFingerX), y + static_cast<float>(mFingerY), false);
        mFingerImage.Draw(1.0f);
    }
    mGlowImage.SetPosition(x + static_cast<float>(mGlowX), y + static_cast<float>(mGlowY), false);
    mGlowImage.Draw(1.0f);
    if (mEyeIndex >= 1 && static_cast<size_t>(mEyeIndex) <= mEyes.size()) {
        TGhostCatcherEye& eye = *mEyes[static_cast<size_t>(mEyeIndex) - 1];
        eye.SetPosition(x + static_cast<float>(mEyeX + eye.mOffsetX), y + static_cast<float>(mEyeY + eye.mOffsetY),
                        false);
        eye.Draw(1.0f);
    }
}

void TGhostCatcherTool::LoadXml(TiXmlElement* e)
{
    TTool::LoadXml(e);
    if (!e) return;
    const std::string folderValue = GetAttrString(e, "folder", "");
    const std::string folder = folderValue.empty() ? std::string() : "textures/tools/" + folderValue;
    mShapeName = JoinedName(folder, GetAttrString(e, "shape", ""));
    mTargetName = JoinedName(folder, GetAttrString(e, "target", ""));
    mFingerName = JoinedName(folder, GetAttrString(e, "finger", ""));
    mGlowName = JoinedName(folder, GetAttrString(e, "glow", ""));
    mFingerX = GetAttrInt(e, "fingerx", 0);
    mFingerY = GetAttrInt(e, "fingery", 0);
    mEyeX = GetAttrInt(e, "eyex", 0);
    mEyeY = GetAttrInt(e, "eyey", 0);
    mGlowX = GetAttrInt(e, "glowx", 0);
    mGlowY = GetAttrInt(e, "glowy", 0);
    mEyes.clear();
    for (TiXmlElement* eye = e->FirstChildElement("eye"); eye; eye = eye->NextSiblingElement("eye")) {
        auto image = std::make_unique<TGhostCatcherEye>();
        image->mTextureName = JoinedName(folder, GetAttrString(eye, "name", ""));
        image->mOffsetX = GetAttrInt(eye, "x", 0);
        image->mOffsetY = GetAttrInt(eye, "y", 0);
        mEyes.push_back(std::move(image));
    }
    mVideoX = GetAttrInt(e, "videox", 0);
    mVideoY = GetAttrInt(e, "videoy", 0);
    mMovie.mImagePath = JoinedName(folder, GetAttrString(e, "video", ""));
    mRunEffect = GetAttrBool(e, "runeffect", false);
}

void TGhostCatcherTool::LoadResources()
{
    if (mResourcesLoaded) return;
    TTool::LoadResources();
    LoadIfNamed(mShapeImage, mShapeName);
    LoadIfNamed(mTargetImage, mTargetName);
    LoadIfNamed(mFingerImage, mFingerName);
    LoadIfNamed(mGlowImage, mGlowName);
    for (auto& eye : mEyes) LoadIfNamed(*eye, eye->mTextureName);
    mMovie.LoadResources();
}

void TGhostCatcherTool::FreeResources()
{
    TTool::FreeResources();
    mShapeImage.FreeTexture();
    mTargetImage.FreeTexture();
    mFingerImage.FreeTexture();
    mGlowImage.FreeTexture();
    for (auto& eye : mEyes) eye->FreeTexture();
    mMovie.FreeResources();
}
