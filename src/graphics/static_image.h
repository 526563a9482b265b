// The drawable of one named texture: positioned, scaled, rotated and tinted through its
// draw transform, with a hit test on the texture's alpha; plus a fading and a clipped one.
#pragma once
#include <string>

#include "graphics/draw_object.h"
#include "graphics/texture.h"
#include "graphics/tweens.h"

class StaticImage : public DrawObject {
public:
    StaticImage();
    StaticImage(const StaticImage& other) = default;
    StaticImage& operator=(const StaticImage& other) = default;
    ~StaticImage() override;

    // Tries the name as a ".jpg" colour image with a ".png" mask first, then as a plain image.
    void SetTexture(const std::string& name);
    void SetStreamingTexture(const std::string& name);
    void FreeTexture() { mTexture.Reset(); }
    void ShareTexture(const StaticImage& other) { mTexture = other.mTexture; }
    TexturePtr GetTexturePtr() const { return mTexture; }
    TTexture* GetTexture() const { return mTexture.Get(); }
    const std::string& GetTextureName() const { return mTextureName; }

    void Draw(float alphaFactor) override;
    void SetPosition(float x, float y, bool centred) override;
    float GetX() const override;
    float GetY() const override;
    int GetWidth() const override;
    int GetHeight() const override;

    bool HitTestAlpha(int x, int y, int threshold) const;
    bool HitTest(int x, int y) const;

    bool mCentred = false;
    std::string mTextureName;
    TexturePtr mTexture;
    DrawTransform mTransform;
    bool mOwnCentre = false;  // the owner wrote the rotation centre (and set flag 8)

private:
    void UpdateTransform();
};

class AlphaStaticImage : public StaticImage {
public:
    AlphaStaticImage();
    bool Update(float dt) override;
    bool IsDone() const override { return mFade.mFinished; }
    void SetAlpha(float a);
    void StartFade(float from, float to, float duration);

    float mHoldTime = 0.0f;  // seconds before the fade moves
    IncValue mFade;
};

class TClippingImage : public StaticImage {
public:
    // Design pixels; all zero (or no width) draws unclipped. The renderer's clip is as it
    // was afterwards.
    void DrawClipped();

    int mClipX = 0;
    int mClipY = 0;
    int mClipW = 0;
    int mClipH = 0;
};

class TiXmlElement;

// The common sprite attributes of a scene object, read into an image; the texture name gets
// the folder prefix in front. Only an "additive" attribute that is present changes the blend.
void ReadStaticImageAttrs(TiXmlElement* element, StaticImage* image, const std::string& folderPrefix);
