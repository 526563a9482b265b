// Particle emitters placed by XML: an item owns one emitter at a position and layer, and a
// list of items draws them layer by layer around the sprite that carries them.
#pragma once
#include <memory>
#include <vector>

#include "graphics/draw_object.h"
#include "graphics/particle_system.h"

class TiXmlElement;

class TParticleItem : public DrawObject {
public:
    TParticleItem() = default;
    ~TParticleItem() override;

    // "particle", "x", "y", "z"; an "active" item starts emitting at once.
    void LoadXml(const TiXmlElement* element);
    void Draw(float alphaFactor) override;
    // Done as soon as emission stops, while the last particles may still fly.
    bool Update(float dt) override;
    // Shifts the drawing only: the emitter stays at (0, 0), so the particles in flight move too.
    void SetPosition(float x, float y, bool centred) override;
    void Restart() override;

    ParticleSystem* GetSystem() const { return mSystem.get(); }

    int mPosX = 0;
    int mPosY = 0;
    int mZ = 0;
    float mShiftX = 0.0f;
    float mShiftY = 0.0f;
    std::unique_ptr<ParticleSystem> mSystem;
};

class TParticleVectors : public DrawObject {
public:
    TParticleVectors() = default;
    ~TParticleVectors() override;

    // One item per "object" child, in file order.
    void LoadXml(const TiXmlElement* element);
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    void SetPosition(float x, float y, bool centred) override;
    void Restart() override;
    virtual void DrawLayer(int z, float alphaFactor);

    std::vector<std::unique_ptr<TParticleItem>> mItems;
};
