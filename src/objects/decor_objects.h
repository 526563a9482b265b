// Decorative objects that bring a room to life without being puzzles: scrolled and spun
// pictures, drifting clouds, particles, a spinning star, a rotator, a focusing veil and a
// picture stretched upwards from its bottom edge.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/numbers.h"
#include "graphics/particle_system.h"
#include "graphics/rotation_effects.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/object.h"

// Reads a "points" attribute: groups split at ';', each split at '.' into x and y (`atoi`);
// a group that does not give exactly two parts is skipped. With two points or more the
// bounding box is written to the four numbers (width and height counted inclusively).
std::vector<TIntPoint> ReadDottedPoints(TiXmlElement* element, const char* name);
void PointsBoundingBox(const std::vector<TIntPoint>& points, float* x, float* y, float* w, float* h);

// A picture tiled over a texture window: the window 0 to 3 shows it three times side by side.
class TUVObject : public TObject {
public:
    // Windows with more cells than this (or with an edge that is not finite) are not drawn.
    static constexpr double kMaxCells = 4096.0;

    ~TUVObject() override;
    int GetTypeCode() const override { return 57; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void Draw(float alphaFactor) override;

    float mU1 = 0.0f;
    float mV1 = 0.0f;
    float mU2 = 1.0f;
    float mV2 = 1.0f;
};

// A texture window that keeps moving by one texture height per spin.
class TUVSpinObject : public TUVObject {
public:
    ~TUVSpinObject() override;
    int GetTypeCode() const override { return 59; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool Update(float dt) override;
    void StartSpin();

    float mStartDelay = 0.0f;
    float mSpinTime = 15.0f;
    float mBaseTop = 0.0f;
    float mBaseBottom = 1.0f;
    IncValue mSpin;
    TTimer mStartTimer;
    bool mAscending = true;
};

// Up to two layers of pictures drifting over a rectangle, in front of a back picture.
class TCloudsObject : public TObject {
public:
    ~TCloudsObject() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    void FreeResources() override;
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;

    std::string mBackName;
    std::string mLayerNames[2];
    float mSpeeds[2] = {0.0f, 0.0f};
    float mOffsets[2] = {0.0f, 0.0f};  // pixels; never reset
    bool mUp = false;
    bool mCanUseFilter = false;
    int32_t mRectX = 0, mRectY = 0, mRectW = 0, mRectH = 0;
    StaticImage mBackImage;
    StaticImage mLayerImages[2];
    bool mCentred = false;
    bool mClip = true;  // "setcliprect"
};

// An emitter of particles, started by activation.
class TParticleObject : public TObject {
public:
    TParticleObject();
    ~TParticleObject() override;
    int GetTypeCode() const override { return 47; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    void Activate(int x, int y, int flags) override;
    void ResetBehaviour();
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;

    std::unique_ptr<ParticleSystem> mEmitter;
    std::string mParticleFile;
    int32_t mAreaType = 3;
    std::vector<TIntPoint> mPoints;

private:
    void MakeEmitter();
};

// A star that turns without end once activated.
class TAsterixObject : public TObject {
public:
    ~TAsterixObject() override;
    int GetTypeCode() const override { return 14; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    bool Update(float dt) override;
    void Restart() override;
    void Activate(int x, int y, int flags) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;

    IncValue mSpin;  // degrees
    float mSpinTime = 3.0f;
    bool mClockwise = true;
    bool mSpinning = false;
};

// Turns its picture by whole turns at each activation.
class TRotatorObject : public TObject, public TRotationEffectListener {
public:
    ~TRotatorObject() override;
    int GetTypeCode() const override { return 46; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    void FreeResources() override;
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    void Activate(int x, int y, int flags) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    void OnRotationFinished(const std::string& name) override;
    void StartRotation();

    float mTurns = 0.0f;
    float mTurnTime = -1.0f;
    bool mFinishedOnRestore = false;
    StaticImage mTurningImage;
    TRotationEffectsList mRotations;
};

// A veil that fades in or out at each activation.
class TFocuserObject : public TObject {
public:
    ~TFocuserObject() override;
    int GetTypeCode() const override { return 60; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool Update(float dt) override;
    void Activate(int x, int y, int flags) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    // While any of it shows, the veil takes every press that reaches it.
    bool HitTestSelf(int x, int y) override;

    IncValue mFade;
    float mFullAlpha = 1.0f;
    float mTime = 1.0f;
    bool mFadeInNext = true;
};

// Only the base of the stretching kinds; never built on its own. SetScaleXY means
// (target scale, seconds) here: a negative time takes "time".
class TFlexibleObject : public TObject {
public:
    ~TFlexibleObject() override;
    int GetTypeCode() const override { return 24; }
    bool IsMovable() const override { return true; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SetScaleXY(float target, float seconds) override;
    bool Update(float dt) override;
    void OnSpaceShown() override;
    virtual void ApplyScale(float scale) = 0;
    virtual float HeightRatio(float height) = 0;
    virtual int32_t ScaledHeight(float scale) = 0;

    int32_t mBaseX = 0, mBaseY = 0, mBaseW = 0, mBaseH = 0;
    int32_t mCurX = 0, mCurY = 0, mCurW = 0, mCurH = 0;
    float mScale = 1.0f;
    float mStretchTime = 0.1f;
    IncValue mStretch;

protected:
    TFlexibleObject() = default;
};

// Stretches upwards: its bottom edge stays.
class TUDFlexibleObject : public TFlexibleObject {
public:
    ~TUDFlexibleObject() override;
    int GetTypeCode() const override { return 25; }
    void ApplyScale(float scale) override;
    float HeightRatio(float height) override;
    int32_t ScaledHeight(float scale) override;
};
