// One image of the shared renderer: loaded by name from assets/ as a plain image, a colour
// image with a separate mask, or a lockable paletted image; keeps the pixel maps that hit
// tests read, and draws itself from the parameters a drawable hands it.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/counted_ptr.h"

// Row-vector 3x3 matrix: rows 0 and 1 carry the scale (their lengths), row 2 the position.
struct TMatrix3 {
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    void SetIdentity();
    // Only the upper-left 2x2 parts are multiplied; the translation row stays this one's.
    TMatrix3 Multiply(const TMatrix3& other) const;
    void Scale(float sx, float sy);
};

enum {
    kDrawFlipH = 1,
    kDrawFlipV = 2,
    kDrawSourceRect = 4,
    kDrawCentre = 8,
};

enum {
    kBlendNone = 0,
    kBlendAlpha = 1,
    kBlendAdd = 2,
    kBlendMod = 3,
};

struct DrawTransform {
    TMatrix3 mMatrix;
    float mCentreX = 0.0f;
    float mCentreY = 0.0f;
    float mUnused0 = 0.0f;
    float mUnused1 = 0.0f;
    float mRed = 1.0f;
    float mGreen = 1.0f;
    float mBlue = 1.0f;
    float mColorW = 1.0f;
    float mAlpha = 1.0f;
    float mSrcX = 0.0f;
    float mSrcY = 0.0f;
    float mSrcW = 0.0f;
    float mSrcH = 0.0f;
    int mFlags = 0;
    float mAngle = 0.0f;  // radians
    int mBlendMode = kBlendAlpha;

    // Draws only this part of the texture, in texture pixels.
    void SetSourceRect(int x, int y, int w, int h)
    {
        mSrcX = static_cast<float>(x);
        mSrcY = static_cast<float>(y);
        mSrcW = static_cast<float>(w);
        mSrcH = static_cast<float>(h);
        mFlags |= kDrawSourceRect;
    }
    // Back to the whole texture: the size goes too, since an image's width and height answer
    // a source rectangle's size while it is above 0.
    void ClearSourceRect()
    {
        mSrcX = mSrcY = mSrcW = mSrcH = 0.0f;
        mFlags &= ~kDrawSourceRect;
    }
};

// The largest scale a drawable takes from a data file or a saved track: no scene grows a
// picture past sixteen times its size, and a software renderer pays for every pixel of it.
const float kMaxDrawScale = 16.0f;

// Read when a plain image is loaded: the alpha map feeds hit tests, the colour copy the
// colour hit tests of some scene objects.
extern bool KeepTextureAlpha;
extern bool KeepTextureColors;

// Turns one of the load switches for a scope and puts it back however the scope ends.
class TTextureSwitchScope {
public:
    TTextureSwitchScope(bool& flag, bool value) : mFlag(flag), mOld(flag) { mFlag = value; }
    ~TTextureSwitchScope() { mFlag = mOld; }
    TTextureSwitchScope(const TTextureSwitchScope&) = delete;
    TTextureSwitchScope& operator=(const TTextureSwitchScope&) = delete;

private:
    bool& mFlag;
    bool mOld;
};

struct TRgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

struct TRgbaF {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

class TTexture {
public:
    TTexture();
    explicit TTexture(const std::string& name);
    TTexture(const std::string& colorName, const std::string& maskName, bool bothRequired);
    TTexture(const TTexture&) = delete;
    TTexture& operator=(const TTexture&) = delete;
    virtual ~TTexture();

    virtual void SetDrawParams(float, float, const DrawTransform& transform);
    virtual void Draw(const DrawTransform& transform);
    // Fonts copy glyphs into a scaled atlas through this; it only lets go of the target.
    virtual void CopyInto(float x, float y, const SDL_Rect* source, CountedHandle<TTexture> target);
    virtual bool Lock(uint32_t** pixels, int* pitch);
    virtual void Unlock();
    virtual bool IsLocked() const { return mLockedPixels != nullptr; }
    virtual int GetWidth() const { return mWidth; }
    virtual int GetHeight() const { return mHeight; }
    virtual bool FalseHook() { return false; }
    virtual uint8_t GetAlphaAt(int x, int y) const;
    virtual bool GetColorAt(int x, int y, TRgb* rgb) const;
    virtual void EmptyHookArg(int, int, int) {}
    virtual const std::string& GetName() const { return mName; }

    bool LoadFromFile(const std::string& name);
    // The same with the layout and language folders given (the game passes none).
    bool LoadFromFile(const std::string& name, const std::string& layout, const std::string& language);
    bool LoadMerged(const std::string& colorName, const std::string& maskName, bool bothRequired);
    bool LoadMerged(const std::string& colorName, const std::string& maskName, bool bothRequired,
                    const std::string& language);
    bool LoadPaletted(const std::string& name);

    // The pixel conversions of the merged and paletted loaders, on surfaces already decoded.
    bool MergeColorAndMask(SDL_Surface* color, SDL_Surface* mask);
    bool CreatePalettedTexture(SDL_Surface* surface);
    // Takes over an SDL texture made elsewhere (blank textures).
    void Adopt(SDL_Texture* texture);

    SDL_Texture* GetSdlTexture() const { return mTexture; }
    bool IsLoaded() const { return mTexture != nullptr; }
    const std::string& GetPath() const { return mPath; }
    const std::string& GetMaskPath() const { return mMaskPath; }
    const std::vector<TRgbaF>& GetPalette() const { return mPalette; }

private:
    void ApplyDrawParams(const DrawTransform& transform);
    void ReadSize();

    std::vector<TRgb> mColors;
    std::vector<uint8_t> mAlphaMap;
    std::vector<TRgbaF> mPalette;
    SDL_Texture* mTexture = nullptr;
    std::string mPath;
    std::string mMaskPath;
    std::string mName;
    uint32_t* mLockedPixels = nullptr;
    int mWidth = 0;
    int mHeight = 0;
};

using TexturePtr = CountedHandle<TTexture>;

// How many TTexture objects exist: none may outlive the renderer that made their textures.
int GetLiveTextureCount();
// The candidate names of a plain image, most specific first.
std::vector<std::string> ImageCandidateNames(const std::string& layout, const std::string& language,
                                             const std::string& name);
