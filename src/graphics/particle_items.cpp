#include "graphics/particle_items.h"

#include <tinyxml.h>

#include "core/xml_attributes.h"

TParticleItem::~TParticleItem() = default;

void TParticleItem::LoadXml(const TiXmlElement* element)
{
    mSystem.reset();
    const std::string path = GetAttrString(element, "particle", "");
    mPosX = GetAttrInt(element, "x", 0);
    mPosY = GetAttrInt(element, "y", 0);
    mZ = GetAttrInt(element, "z", 0);
    mSystem = std::make_unique<ParticleSystem>();
    mSystem->Load(path, TexturePtr());
    if (GetAttrBool(element, "active", false)) Restart();
}

void TParticleItem::Draw(float alphaFactor)
{
    if (!IsVisible() || !mSystem) return;
    mSystem->Render(alphaFactor, static_cast<float>(mPosX) + mShiftX, static_cast<float>(mPosY) + mShiftY);
}

bool TParticleItem::Update(float dt)
{
    if (!mSystem) return false;
    if (dt != 0.0f) {
        mSystem->Update(dt);
        mSystem->MoveParticles(dt);
    }
    return mSystem->mStopped;
}

void TParticleItem::SetPosition(float x, float y, bool /*centred*/)
{
    mShiftX = x;
    mShiftY = y;
}

void TParticleItem::Restart()
{
    if (mSystem) mSystem->Start();
}

TParticleVectors::~TParticleVectors() = default;

void TParticleVectors::LoadXml(const TiXmlElement* element)
{
    mItems.clear();
    if (!element) return;
    for (const TiXmlElement* e = element->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
        mItems.push_back(std::make_unique<TParticleItem>());
        mItems.back()->LoadXml(e);
    }
}

void TParticleVectors::Draw(float alphaFactor)
{
    for (auto& item : mItems) item->Draw(alphaFactor);
}

bool TParticleVectors::Update(float dt)
{
    bool done = true;
    for (auto& item : mItems)
        if (!item->Update(dt)) done = false;
    return done;
}

void TParticleVectors::SetPosition(float x, float y, bool centred)
{
    for (auto& item : mItems) item->SetPosition(x, y, centred);
}

void TParticleVectors::Restart()
{
    for (auto& item : mItems) item->Restart();
}

void TParticleVectors::DrawLayer(int z, float alphaFactor)
{
    for (auto& item : mItems)
        if (item->mZ == z) item->Draw(alphaFactor);
}
