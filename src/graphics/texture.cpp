#include "graphics/texture.h"

#include <SDL_image.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "core/app_state.h"
#include "core/localization.h"
#include "core/numbers.h"
#include "core/virtual_files.h"

bool KeepTextureAlpha = true;
bool KeepTextureColors = false;

namespace {

int gLiveTextures = 0;

struct TSurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfaceOwner = std::unique_ptr<SDL_Surface, TSurfaceDeleter>;

struct TFormatDeleter {
    void operator()(SDL_PixelFormat* f) const { SDL_FreeFormat(f); }
};

// Holds a surface locked while its pixels are read, when SDL asks for it.
class TSurfaceLock {
public:
    explicit TSurfaceLock(SDL_Surface* s) : mSurface(s)
    {
        mOk = !SDL_MUSTLOCK(s) || SDL_LockSurface(s) == 0;
        mLocked = mOk && SDL_MUSTLOCK(s);
    }
    ~TSurfaceLock()
    {
        if (mLocked) SDL_UnlockSurface(mSurface);
    }
    bool Ok() const { return mOk && mSurface->pixels != nullptr; }

private:
    SDL_Surface* mSurface;
    bool mOk = false;
    bool mLocked = false;
};

// One raw pixel value, read by the surface's own byte width: a 32-bit read of a 3-byte
// pixel would run past the end of the last row.
uint32_t ReadPixel(const SDL_Surface* s, int x, int y)
{
    const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch +
                       static_cast<size_t>(x) * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1:
        return *p;
    case 2: {
        uint16_t v;
        memcpy(&v, p, 2);
        return v;
    }
    case 3:
        if (SDL_BYTEORDER == SDL_LIL_ENDIAN) return p[0] | (p[1] << 8) | (p[2] << 16);
        return (p[0] << 16) | (p[1] << 8) | p[2];
    default: {
        uint32_t v;
        memcpy(&v, p, 4);
        return v;
    }
    }
}

struct TRgba8 {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

// A paletted pixel whose index lies past the palette keeps the previous pixel's values.
TRgba8 ReadRgba(const SDL_Surface* s, int x, int y, TRgba8* previous)
{
    uint32_t pixel = ReadPixel(s, x, y);
    const SDL_Palette* palette = s->format->palette;
    if (palette && pixel >= static_cast<uint32_t>(palette->ncolors)) return *previous;
    TRgba8 c;
    SDL_GetRGBA(pixel, s->format, &c.r, &c.g, &c.b, &c.a);
    *previous = c;
    return c;
}

uint8_t ClampToByte(float v)
{
    float scaled = v * 255.0f;
    if (!(scaled > 0.0f)) return 0;
    if (scaled >= 255.0f) return 255;
    return static_cast<uint8_t>(scaled);
}

bool HasDot(const std::string& path) { return path.find('.') != std::string::npos; }

std::string UnderAssets(const std::string& name)
{
    if (!name.empty() && name[0] == '/') return name;
    return "assets/" + name;
}

bool ImageExists(const std::string& path)
{
    if (!path.empty() && path[0] == '/') {
        struct stat st;
        return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    return FileExists(path);
}

SDL_Surface* LoadImage(const std::string& path) { return IMG_Load(path.c_str()); }

// A streaming ARGB texture held locked while the merged and paletted loaders write it;
// destroyed again unless it is handed over.
class TArgbWriter {
public:
    TArgbWriter(int w, int h) : mFormat(SDL_AllocFormat(SDL_PIXELFORMAT_ARGB8888))
    {
        SDL_Renderer* renderer = GetRenderer();
        if (!mFormat || !renderer || w <= 0 || h <= 0) return;
        mTexture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
        if (mTexture && (SDL_LockTexture(mTexture, nullptr, &mPixels, &mPitch) != 0 || !mPixels)) {
            SDL_DestroyTexture(mTexture);
            mTexture = nullptr;
        }
    }
    ~TArgbWriter()
    {
        if (mTexture) SDL_DestroyTexture(mTexture);
    }
    bool Ok() const { return mTexture != nullptr; }
    uint32_t* Row(int y) const
    {
        return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(mPixels) + static_cast<size_t>(y) * mPitch);
    }
    uint32_t Map(uint8_t r, uint8_t g, uint8_t b, uint8_t a) const { return SDL_MapRGBA(mFormat.get(), r, g, b, a); }
    SDL_Texture* Finish()
    {
        SDL_UnlockTexture(mTexture);
        SDL_Texture* done = mTexture;
        mTexture = nullptr;
        return done;
    }

private:
    std::unique_ptr<SDL_PixelFormat, TFormatDeleter> mFormat;
    SDL_Texture* mTexture = nullptr;
    void* mPixels = nullptr;
    int mPitch = 0;
};

}  // namespace

void TMatrix3::SetIdentity() { *this = TMatrix3(); }

TMatrix3 TMatrix3::Multiply(const TMatrix3& b) const
{
    TMatrix3 r;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) r.m[row * 3 + col] = m[row * 3] * b.m[col] + m[row * 3 + 1] * b.m[3 + col];
        r.m[row * 3 + 2] = 0.0f;
    }
    r.m[6] = m[6];
    r.m[7] = m[7];
    r.m[8] = m[8];
    return r;
}

void TMatrix3::Scale(float sx, float sy)
{
    TMatrix3 d;
    d.m[0] = sx;
    d.m[4] = sy;
    *this = Multiply(d);
}

int GetLiveTextureCount() { return gLiveTextures; }

std::vector<std::string> ImageCandidateNames(const std::string& layout, const std::string& language,
                                             const std::string& name)
{
    std::vector<std::string> out;
    if (!layout.empty()) {
        if (!language.empty()) out.push_back(layout + "/" + language + "/" + name);
        out.push_back(layout + "/" + name);
    } else if (!language.empty()) {
        out.push_back(language + "/" + name);
    } else {
        out.push_back(name);
    }
    return out;
}

TTexture::TTexture() { ++gLiveTextures; }

TTexture::TTexture(const std::string& name) : TTexture() { LoadFromFile(name); }

TTexture::TTexture(const std::string& colorName, const std::string& maskName, bool bothRequired) : TTexture()
{
    LoadMerged(colorName, maskName, bothRequired);
}

TTexture::~TTexture()
{
    if (mTexture) SDL_DestroyTexture(mTexture);
    --gLiveTextures;
}

void TTexture::ReadSize()
{
    mWidth = mHeight = 0;
    if (mTexture) SDL_QueryTexture(mTexture, nullptr, nullptr, &mWidth, &mHeight);
}

void TTexture::Adopt(SDL_Texture* texture)
{
    if (mTexture) SDL_DestroyTexture(mTexture);
    mTexture = texture;
    ReadSize();
}

bool TTexture::LoadFromFile(const std::string& name)
{
    // No layout is ever selected, so only the language folder can come before the name.
    return LoadFromFile(name, std::string(), GetLanguageCode());
}

bool TTexture::LoadFromFile(const std::string& name, const std::string& layout, const std::string& language)
{
    if (mTexture) return true;
    SurfaceOwner surface;
    std::string loadedPath;
    std::string plain = UnderAssets(name);
    for (const std::string& candidate : ImageCandidateNames(layout, language, name)) {
        std::string path = UnderAssets(candidate);
        if (!HasDot(path)) {
            loadedPath = ImageExists(path + ".png") ? path + ".png" : plain + ".png";
            surface.reset(LoadImage(loadedPath));
            if (!surface) {
                loadedPath = ImageExists(path + ".jpg") ? path + ".jpg" : plain + ".jpg";
                surface.reset(LoadImage(loadedPath));
            }
        } else {
            loadedPath = ImageExists(path) ? path : plain;
            surface.reset(LoadImage(loadedPath));
        }
        if (surface) break;
    }
    if (!surface) return false;

    SDL_Surface* s = surface.get();
    if (KeepTextureAlpha || KeepTextureColors) {
        TSurfaceLock lock(s);
        if (lock.Ok()) {
            size_t count = static_cast<size_t>(s->w) * static_cast<size_t>(s->h);
            if (KeepTextureAlpha) mAlphaMap.assign(count, 0);
            if (KeepTextureColors) mColors.assign(count, TRgb());
            for (int y = 0; y < s->h; ++y) {
                for (int x = 0; x < s->w; ++x) {
                    TRgba8 c;
                    SDL_GetRGBA(ReadPixel(s, x, y), s->format, &c.r, &c.g, &c.b, &c.a);
                    size_t i = static_cast<size_t>(y) * s->w + x;
                    if (KeepTextureAlpha) mAlphaMap[i] = c.a;
                    if (KeepTextureColors) mColors[i] = TRgb{c.r, c.g, c.b};
                }
            }
        }
    }
    SDL_Renderer* renderer = GetRenderer();
    mTexture = renderer ? SDL_CreateTextureFromSurface(renderer, s) : nullptr;
    if (!mTexture) {
        mAlphaMap.clear();
        mColors.clear();
        return false;
    }
    ReadSize();
    mPath = loadedPath;
    mName = name;
    return true;
}

bool TTexture::LoadMerged(const std::string& colorName, const std::string& maskName, bool bothRequired)
{
    return LoadMerged(colorName, maskName, bothRequired, GetLanguageCode());
}

bool TTexture::LoadMerged(const std::string& colorName, const std::string& maskName, bool bothRequired,
                          const std::string& language)
{
    if (mTexture) return true;
    auto localise = [&](const std::string& n) {
        return (!language.empty() && n.find('/', 1) != std::string::npos) ? language + "/" + n : n;
    };
    auto withExt = [](std::string path, const char* ext) { return HasDot(path) ? path : path + ext; };
    std::string locColor = withExt("assets/" + localise(colorName), ".jpg");
    std::string locMask = withExt("assets/" + localise(maskName), ".png");
    std::string plainColor = withExt("assets/" + colorName, ".jpg");
    std::string plainMask = withExt("assets/" + maskName, ".png");
    if (locColor == locMask || plainColor == plainMask) return false;

    SurfaceOwner color;
    SurfaceOwner mask;
    std::string colorPath;
    std::string maskPath;
    if (ImageExists(locColor) && ImageExists(locMask)) {
        colorPath = locColor;
        maskPath = locMask;
        color.reset(LoadImage(colorPath));
        mask.reset(LoadImage(maskPath));
    } else if (!bothRequired && ImageExists(locMask)) {
        maskPath = locMask;
        mask.reset(LoadImage(maskPath));
    } else {
        colorPath = plainColor;
        maskPath = plainMask;
        color.reset(LoadImage(colorPath));
        // Most plain images come through here first: decoding their PNG only to throw it
        // away would double every first load.
        if (!color && bothRequired) return false;
        mask.reset(LoadImage(maskPath));
    }
    if (!mask || (bothRequired && !color)) return false;
    if (!MergeColorAndMask(color.get(), mask.get())) return false;
    mPath = color ? colorPath : std::string();
    mMaskPath = maskPath;
    mName = colorName;
    return true;
}

bool TTexture::MergeColorAndMask(SDL_Surface* color, SDL_Surface* mask)
{
    if (!mask) return false;
    if (color && (color->w != mask->w || color->h != mask->h)) return false;
    TSurfaceLock maskLock(mask);
    std::unique_ptr<TSurfaceLock> colorLock(color ? new TSurfaceLock(color) : nullptr);
    if (!maskLock.Ok() || (colorLock && !colorLock->Ok())) return false;
    TArgbWriter writer(mask->w, mask->h);
    if (!writer.Ok()) return false;
    std::vector<uint8_t> alphaMap(static_cast<size_t>(mask->w) * static_cast<size_t>(mask->h), 0);
    TRgba8 previousColor;
    TRgba8 previousMask;
    for (int y = 0; y < mask->h; ++y) {
        uint32_t* row = writer.Row(y);
        for (int x = 0; x < mask->w; ++x) {
            TRgba8 c{255, 255, 255, 255};
            if (color) c = ReadRgba(color, x, y, &previousColor);
            uint8_t alpha = ReadRgba(mask, x, y, &previousMask).r;
            alphaMap[static_cast<size_t>(y) * mask->w + x] = alpha;
            row[x] = writer.Map(c.r, c.g, c.b, alpha);
        }
    }
    Adopt(writer.Finish());
    mAlphaMap.swap(alphaMap);
    mColors.clear();
    return true;
}

bool TTexture::LoadPaletted(const std::string& name)
{
    if (mTexture) return true;
    std::string path = "assets/" + name;
    if (!HasDot(path)) path += ".png";
    SurfaceOwner surface(LoadImage(path));
    if (!surface || !CreatePalettedTexture(surface.get())) return false;
    mPath = path;
    mName = name;
    return true;
}

bool TTexture::CreatePalettedTexture(SDL_Surface* surface)
{
    if (!surface || surface->format->BitsPerPixel != 8 || !surface->format->palette) return false;
    TSurfaceLock lock(surface);
    if (!lock.Ok()) return false;
    TArgbWriter writer(surface->w, surface->h);
    if (!writer.Ok()) return false;
    const SDL_Palette* palette = surface->format->palette;
    std::vector<TRgbaF> floats(static_cast<size_t>(palette->ncolors));
    for (int i = 0; i < palette->ncolors; ++i) {
        const SDL_Color& c = palette->colors[i];
        floats[i] = TRgbaF{c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f};
    }
    std::vector<uint8_t> indexes(static_cast<size_t>(surface->w) * static_cast<size_t>(surface->h), 0);
    SDL_Color previous{0, 0, 0, 0};
    for (int y = 0; y < surface->h; ++y) {
        uint32_t* row = writer.Row(y);
        for (int x = 0; x < surface->w; ++x) {
            uint32_t index = ReadPixel(surface, x, y);
            if (index < static_cast<uint32_t>(palette->ncolors)) {
                previous = palette->colors[index];
                indexes[static_cast<size_t>(y) * surface->w + x] = static_cast<uint8_t>(index);
            }
            row[x] = writer.Map(previous.r, previous.g, previous.b, previous.a);
        }
    }
    Adopt(writer.Finish());
    mPalette.swap(floats);
    mAlphaMap.swap(indexes);
    mColors.clear();
    return true;
}

void TTexture::ApplyDrawParams(const DrawTransform& t)
{
    SDL_SetTextureColorMod(mTexture, ClampToByte(t.mRed), ClampToByte(t.mGreen), ClampToByte(t.mBlue));
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    switch (t.mBlendMode) {
    case kBlendAlpha: mode = SDL_BLENDMODE_BLEND; break;
    case kBlendAdd: mode = SDL_BLENDMODE_ADD; break;
    case kBlendMod: mode = SDL_BLENDMODE_MOD; break;
    default: break;
    }
    SDL_SetTextureBlendMode(mTexture, mode);
    SDL_SetTextureAlphaMod(mTexture, ClampToByte(t.mAlpha));
}

void TTexture::SetDrawParams(float, float, const DrawTransform& transform)
{
    if (mTexture) ApplyDrawParams(transform);
}

namespace {

// A picture this many screens across (or its pivot or corner this many screens away) is not
// drawn: SDL's software renderer makes the whole scaled picture before it crops it to the
// screen, and a few screens are far more than any scene shows.
const float kMaxDrawScreens = 4.0f;

bool DrawFitsTheScreen(SDL_Renderer* renderer, const SDL_FRect& dst, const SDL_FPoint& centre)
{
    int outW = 0, outH = 0;
    float scaleX = 1.0f, scaleY = 1.0f;
    if (SDL_GetRendererOutputSize(renderer, &outW, &outH) != 0) return false;
    SDL_RenderGetScale(renderer, &scaleX, &scaleY);
    const float reach = static_cast<float>(std::max(outW, outH)) * kMaxDrawScreens;
    const float lengths[] = {dst.x * scaleX, dst.y * scaleY, dst.w * scaleX, dst.h * scaleY, centre.x * scaleX,
                             centre.y * scaleY};
    // Written so that NaN fails too.
    for (float length : lengths)
        if (!(std::fabs(length) <= reach)) return false;
    return true;
}

}  // namespace

void TTexture::Draw(const DrawTransform& t)
{
    if (!mTexture || !(t.mAlpha > 0.0f)) return;
    // SDL's rotation crashes on an angle that is not a number.
    if (!std::isfinite(t.mAngle)) return;
    SDL_Renderer* renderer = GetRenderer();
    if (!renderer) return;
    const float* m = t.mMatrix.m;
    float scaleX = std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);
    float scaleY = std::sqrt(m[3] * m[3] + m[4] * m[4] + m[5] * m[5]);
    SDL_Rect src{0, 0, mWidth, mHeight};
    if (t.mFlags & kDrawSourceRect)
        src = SDL_Rect{TruncToInt(t.mSrcX), TruncToInt(t.mSrcY), TruncToInt(t.mSrcW), TruncToInt(t.mSrcH)};
    SDL_FRect dst{m[6], m[7], src.w * scaleX, src.h * scaleY};
    // SDL wants the pivot relative to the destination, in destination units; a null pivot
    // would mean the middle, where we want the top-left corner.
    SDL_FPoint centre{0.0f, 0.0f};
    if (t.mFlags & kDrawCentre) centre = SDL_FPoint{t.mCentreX * scaleX, t.mCentreY * scaleY};
    if (!DrawFitsTheScreen(renderer, dst, centre)) return;
    int flip = SDL_FLIP_NONE;
    if (t.mFlags & kDrawFlipH) flip |= SDL_FLIP_HORIZONTAL;
    if (t.mFlags & kDrawFlipV) flip |= SDL_FLIP_VERTICAL;
    ApplyDrawParams(t);
    // Whole turns draw the same and keep SDL's own arithmetic on the angle small.
    const double degrees = std::fmod(static_cast<double>(t.mAngle) * 180.0 / M_PI, 360.0);
    SDL_RenderCopyExF(renderer, mTexture, &src, &dst, degrees, &centre, static_cast<SDL_RendererFlip>(flip));
}

void TTexture::CopyInto(float, float, const SDL_Rect*, CountedHandle<TTexture> target) { target.Release(); }

bool TTexture::Lock(uint32_t** pixels, int* pitch)
{
    if (!mTexture) return false;
    void* raw = nullptr;
    int bytes = 0;
    if (SDL_LockTexture(mTexture, nullptr, &raw, &bytes) != 0 || !raw) return false;
    mLockedPixels = static_cast<uint32_t*>(raw);
    if (pixels) *pixels = mLockedPixels;
    if (pitch) *pitch = bytes / 4;
    return true;
}

void TTexture::Unlock()
{
    mLockedPixels = nullptr;
    if (mTexture) SDL_UnlockTexture(mTexture);
}

uint8_t TTexture::GetAlphaAt(int x, int y) const
{
    // Only the index is tested: an x past the row end reads the next row.
    int64_t i = static_cast<int64_t>(x) + static_cast<int64_t>(y) * mWidth;
    if (i < 0 || i >= static_cast<int64_t>(mAlphaMap.size())) return 0;
    return mAlphaMap[static_cast<size_t>(i)];
}

bool TTexture::GetColorAt(int x, int y, TRgb* rgb) const
{
    int64_t i = static_cast<int64_t>(x) + static_cast<int64_t>(y) * mWidth;
    if (i < 0 || i >= static_cast<int64_t>(mColors.size())) return false;
    if (rgb) *rgb = mColors[static_cast<size_t>(i)];
    return true;
}
