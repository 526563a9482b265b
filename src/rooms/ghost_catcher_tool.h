// The ghost catcher: the tool through which rooms reveal ghosts. In the hand it shows a target,
// a finger, a pulsing glow and an eye; applied, it plays its catching movie where it was used,
// fades the target, shows the last eye and may send green sparkle trails downwards.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "graphics/draw_object.h"
#include "graphics/particle.h"
#include "graphics/static_image.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "objects/movie_objects.h"
#include "rooms/tool.h"

// One eye picture with its own offset.
class TGhostCatcherEye : public StaticImage {
public:
    int32_t mOffsetX = 0;
    int32_t mOffsetY = 0;
};

// A trail of sparkles left by a point travelling an arc from A to B in one second.
class TEffectCatchGhost : public DrawObject {
public:
    TEffectCatchGhost(int side, int ax, int ay, int bx, int by);
    ~TEffectCatchGhost() override;

    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    bool IsDone() const override { return mDone; }
    void SpawnSparkle();

    size_t SparkleCount() const { return mSparkles.size(); }
    bool HasArrived() const { return mArrived; }

private:
    std::unique_ptr<TTrajectory> mTrajectory;
    std::unique_ptr<MoveObj_t> mMover;
    bool mArrived = false;
    std::vector<std::unique_ptr<Particle>> mSparkles;
};

// Six trails, three on each side, a little below one another.
class TEffectCatchGhostFull : public DrawObject {
public:
    TEffectCatchGhostFull(int startX, int startY, int endX, int endY);
    ~TEffectCatchGhostFull() override;

    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    bool IsDone() const override { return mTrails.empty(); }

    std::vector<std::unique_ptr<TEffectCatchGhost>> mTrails;
};

class TGhostCatcherTool : public TTool {
public:
    static constexpr int kType = 3;
    // The sparkles' picture: fourteen 10 x 10 frames in a row.
    static const char* const kSparkleImage;

    TGhostCatcherTool();
    ~TGhostCatcherTool() override;

    int GetType() const override { return kType; }
    void Reset() override;
    void Select(int a, int b) override;
    void Apply(int x, int y, int useNumber) override;
    void Update(float dt) override;
    void DrawEffects(float x, float y, float a, float b) override;
    void DrawEffectsTop(float x, float y, float a, float b) override;
    void LoadXml(TiXmlElement* element) override;
    void LoadResources() override;
    void FreeResources() override;

    void SetCatchProgress(float progress);
    void StartFullEffect(int x, int y);

    // The lens through which rooms reveal ghost and infrared objects; none until it is loaded.
    StaticImage* GetShapeImage() { return mShapeImage.GetTexture() ? &mShapeImage : nullptr; }
    TVideoObject& GetMovie() { return mMovie; }
    TEffectCatchGhostFull* GetCatchEffect() const { return mCatchEffect.get(); }
    int GetEyeIndex() const { return mEyeIndex; }
    float GetTargetAlpha() const { return mTargetAlpha; }
    float GetGlow() const { return mGlow.GetValue(); }
    bool IsFingerShown() const { return mFingerImage.IsVisible(); }

    StaticImage mShapeImage, mTargetImage, mFingerImage, mGlowImage;
    std::string mShapeName, mTargetName, mFingerName, mGlowName;
    float mTargetAlpha = 0.0f;
    int32_t mFingerX = 0, mFingerY = 0;
    IncValue mFingerFade;
    bool mFadeRunning = false;
    PulseValue mGlow;
    std::vector<std::unique_ptr<TGhostCatcherEye>> mEyes;
    int32_t mEyeIndex = 0;
    int32_t mEyeX = 0, mEyeY = 0;
    int32_t mGlowX = 0, mGlowY = 0;
    int32_t mVideoX = 0, mVideoY = 0;
    std::unique_ptr<TEffectCatchGhostFull> mCatchEffect;
    TVideoObject mMovie;
    bool mRunEffect = false;

private:
    // Every visual back at rest: the movie finished and not drawn, its end of playback run.
    void StopMovie();
};
