// Particle emitters described by INI files: up to 500 textured sparks sprayed from an area,
// pushed by gravity and radial and tangential forces while their size, spin and colour ramp
// towards the description's end values. Random values come from a fixed table of the game's
// generator through a 16-bit cursor shared by every emitter.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/texture.h"

// The table holds 65,536 successive values of the game's generator, drawn before main.
const std::vector<int>& GetParticleRandomTable();
uint16_t GetParticleRandomCursor();
void SetParticleRandomCursor(uint16_t cursor);
// The rectangle counter that emitters without random rectangles share.
int GetParticleRectCounter();
void SetParticleRectCounter(int counter);

class ParticleSystem;

// Held by owners that want to hear from an emitter; no emitter calls it.
class ParticleSystemListener {
public:
    virtual ~ParticleSystemListener() = default;
    virtual void EmptyHookArg(ParticleSystem* /*system*/, int /*event*/) {}
};

struct TParticleRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

struct TParticleRecord {
    float x = 0.0f;
    float y = 0.0f;
    float velX = 0.0f;
    float velY = 0.0f;
    float gravity = 0.0f;
    float radial = 0.0f;
    float tangential = 0.0f;
    float spin = 0.0f;
    float spinDelta = 0.0f;
    float size = 0.0f;
    float sizeDelta = 0.0f;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;
    float redDelta = 0.0f;
    float greenDelta = 0.0f;
    float blueDelta = 0.0f;
    float alphaDelta = 0.0f;
    float age = 0.0f;
    float life = 0.0f;
    TParticleRect rect;
};

class ParticleSystem {
public:
    static const int kMaxParticles = 500;

    ParticleSystem() = default;
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Always leaves the system stopped; a missing file or section leaves the defaults.
    void Load(const std::string& path, const TexturePtr& areaMask);
    // Emission resumes: an endless emitter's age stays at -1, a timed one counts from 0.
    void Start();
    void Update(float dt);
    void MoveParticles(float dt);
    void Render(float alphaFactor, float offsetX, float offsetY);
    void SetPolygonArea(const std::vector<TIntPoint>& points);

    int Count() const { return mCount; }
    const TParticleRecord& At(int i) const { return mParticles[i]; }
    TParticleRecord& At(int i) { return mParticles[i]; }

    bool mStopped = true;
    TexturePtr mTexture;
    std::string mImageName;
    TexturePtr mAreaMask;

    int mEmission = 50;
    float mLifetime = -1.0f;
    float mLifeMin = 1.0f;
    float mLifeMax = 3.0f;
    float mDirection = 3.14159274f;
    float mSpread = 3.14159274f;
    bool mRelative = false;
    float mSpeedMin = 1.0f;
    float mSpeedMax = 1.0f;
    float mGravityMin = 0.0f;
    float mGravityMax = 0.0f;
    float mRadialMin = 0.0f;
    float mRadialMax = 0.0f;
    float mTangentialMin = 0.0f;
    float mTangentialMax = 0.0f;
    float mSizeStart = 1.0f;
    float mSizeEnd = 1.0f;
    float mSizeVar = 0.5f;
    float mSpinStart = 0.0f;
    float mSpinEnd = 0.0f;
    float mSpinVar = 0.0f;
    float mColorStartR = 0.0f;
    float mColorStartG = 0.0f;
    float mColorStartB = 0.0f;
    float mColorStartA = 0.0f;
    float mColorEndR = 0.0f;
    float mColorEndG = 0.0f;
    float mColorEndB = 0.0f;
    float mColorEndA = 0.0f;
    float mColorVar = 0.5f;
    float mAlphaVar = 0.5f;
    int mBlendMode = kBlendAlpha;

    std::vector<TParticleRect> mRects;
    bool mRandomRect = true;

    int mAreaType = 0;  // 0 jitter, 1 rectangle, 2 ellipse, 3 mask, 4 polygon
    float mAreaSizeX = 0.0f;
    float mAreaSizeY = 0.0f;
    std::vector<TIntPoint> mPolygon;  // relative to the outline's bounding box

    float mAge = 0.0f;  // a negative age stands still
    float mRemainder = 0.0f;
    float mPrevX = 0.0f;
    float mPrevY = 0.0f;
    float mX = 0.0f;
    float mY = 0.0f;

private:
    void Reset();
    void ReadInfo(class IniFile_t& ini, const std::string& path);
    bool ParseTextureRect(const std::string& text, TParticleRect* rect) const;
    void Emit(TParticleRecord& p);
    void AreaOffset(uint16_t& cursor, float* dx, float* dy) const;
    bool InsidePolygon(float x, float y) const;

    int mCount = 0;
    TParticleRecord mParticles[kMaxParticles];
};
