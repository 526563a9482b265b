#include "graphics/image_font.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "graphics/static_image.h"
#include "graphics/texture_cache.h"
#include "graphics/tweens.h"

namespace {

// One glyph waiting to be drawn. The texture is held only until its bucket is drawn, so
// no font texture outlives the draw call (or the renderer) through the pool.
struct TGlyphRecord {
    TexturePtr mTexture;
    int mX = 0;
    int mY = 0;
    SDL_Rect mSource{0, 0, 0, 0};
    int mDrawMode = 0;
    uint32_t mColor = 0;
    TGlyphRecord* mNext = nullptr;
};

struct TGlyphPool {
    std::array<TGlyphRecord, ImageFont::kGlyphPoolSize> mRecords;
    std::array<TGlyphRecord*, 256> mHeads{};
    std::array<TGlyphRecord*, 256> mTails{};
};

TGlyphPool& GlyphPool()
{
    static TGlyphPool pool;
    return pool;
}

bool HasBlockFor(const FontLayer& layer, int code)
{
    return code >= 0 && code <= 0xFFFF && layer.HasBlock(code >> 8);
}

uint32_t LayerColor(uint32_t color, uint32_t mult, uint32_t add)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t m = (mult >> shift) & 0xFF, c = (color >> shift) & 0xFF, a = (add >> shift) & 0xFF;
        out |= std::min<uint32_t>(255, m * c / 255 + a) << shift;
    }
    return out;
}

// SDL_SetRenderTarget puts back only the screen's viewport and scale; a texture target
// gets its own back here, with the draw colour the atlas clear changed.
class TRenderTargetScope {
public:
    TRenderTargetScope(SDL_Renderer* renderer, SDL_Texture* target) : mRenderer(renderer)
    {
        mPrevious = SDL_GetRenderTarget(renderer);
        SDL_RenderGetViewport(renderer, &mViewport);
        SDL_RenderGetScale(renderer, &mScaleX, &mScaleY);
        mClipped = SDL_RenderIsClipEnabled(renderer);
        SDL_RenderGetClipRect(renderer, &mClip);
        SDL_GetRenderDrawColor(renderer, &mR, &mG, &mB, &mA);
        SDL_GetRenderDrawBlendMode(renderer, &mBlend);
        mOk = SDL_SetRenderTarget(renderer, target) == 0;
    }
    ~TRenderTargetScope()
    {
        SDL_SetRenderTarget(mRenderer, mPrevious);
        if (mPrevious) {
            SDL_RenderSetScale(mRenderer, mScaleX, mScaleY);
            SDL_RenderSetViewport(mRenderer, &mViewport);
            SDL_RenderSetClipRect(mRenderer, mClipped ? &mClip : nullptr);
        }
        SDL_SetRenderDrawColor(mRenderer, mR, mG, mB, mA);
        SDL_SetRenderDrawBlendMode(mRenderer, mBlend);
    }
    TRenderTargetScope(const TRenderTargetScope&) = delete;
    TRenderTargetScope& operator=(const TRenderTargetScope&) = delete;
    bool Ok() const { return mOk; }

private:
    SDL_Renderer* mRenderer;
    SDL_Texture* mPrevious = nullptr;
    SDL_Rect mViewport{0, 0, 0, 0};
    SDL_Rect mClip{0, 0, 0, 0};
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    bool mClipped = false;
    Uint8 mR = 0, mG = 0, mB = 0, mA = 0;
    SDL_BlendMode mBlend = SDL_BLENDMODE_NONE;
    bool mOk = false;
};

}  // namespace

ActiveFontLayer::ActiveFontLayer(const ActiveFontLayer& other)
    : mLayer(other.mLayer), mTexture(other.mTexture), mScaled(other.mScaled)
{
    for (size_t b = 0; b < mRects.size(); ++b)
        if (other.mRects[b]) mRects[b] = std::make_unique<CharRectBlock>(*other.mRects[b]);
}

const SDL_Rect* ActiveFontLayer::GetRect(int code) const
{
    if (code < 0 || code > 0xFFFF || !mRects[code >> 8]) return nullptr;
    return &(*mRects[code >> 8])[code & 0xFF];
}

ImageFont::ImageFont(const std::string& descriptorPath) : mDescriptor(new FontData())
{
    mDescriptor->Load(descriptorPath);
    Init();
}

ImageFont::ImageFont(FontData* descriptor) : mDescriptor(descriptor) { Init(); }

void ImageFont::Init()
{
    mPointSize = mDescriptor->GetDefaultPointSize();
    mScale = 1.0f;
    ActivateLayers();
    mActive = true;
}

ImageFont::ImageFont(const ImageFont& other)
    : TMyFont(other), mDescriptor(other.mDescriptor), mPointSize(other.mPointSize), mTags(other.mTags),
      mActive(other.mActive), mScale(other.mScale)
{
    ++mDescriptor->mShareCount;
    for (const auto& layer : other.mActiveLayers) mActiveLayers.push_back(std::make_unique<ActiveFontLayer>(*layer));
}

ImageFont::~ImageFont()
{
    mActiveLayers.clear();
    if (--mDescriptor->mShareCount == 0) delete mDescriptor;
}

std::unique_ptr<TMyFont> ImageFont::Clone() const { return std::make_unique<ImageFont>(*this); }

int ImageFont::ScaleForLayer(int64_t v, const FontLayer& layer) const
{
    if (layer.mPointSize == 0) return TruncToInt(static_cast<float>(v) * mScale);
    return TruncToInt(static_cast<float>(v) * (static_cast<float>(mPointSize) * mScale) /
                      static_cast<float>(layer.mPointSize));
}

void ImageFont::ActivateLayers()
{
    mActiveLayers.clear();
    mAscent = mAscentPadding = mHeight = mLineSpacingOffset = 0;
    if (!mDescriptor->IsLoaded()) return;
    int64_t pixelsLeft = kMaxAtlasPixels;
    bool first = true;
    for (const auto& owned : mDescriptor->GetLayers()) {
        FontLayer& layer = *owned;
        if (mPointSize < layer.mPointMin) continue;
        if (layer.mPointMax != -1 && mPointSize > layer.mPointMax) continue;
        auto hasTag = [this](const std::wstring& tag) { return std::find(mTags.begin(), mTags.end(), tag) != mTags.end(); };
        if (!std::all_of(layer.mRequiredTags.begin(), layer.mRequiredTags.end(), hasTag)) continue;
        bool excluded = false;
        for (const std::wstring& tag : mTags)
            if (std::find(layer.mExcludedTags.begin(), layer.mExcludedTags.end(), tag) != layer.mExcludedTags.end())
                excluded = true;
        if (excluded) continue;

        auto active = std::make_unique<ActiveFontLayer>(&layer);
        if (mScale == 1.0f && (layer.mPointSize == 0 || layer.mPointSize == mPointSize)) {
            active->mTexture = layer.mImage;
            for (int b = 0; b < 256; ++b) {
                const CharBlock* block = layer.GetBlock(b);
                if (!block) continue;
                active->mRects[b] = std::make_unique<CharRectBlock>();
                for (int i = 0; i < 256; ++i) {
                    const CharData& c = (*block)[i];
                    (*active->mRects[b])[i] = SDL_Rect{c.mX, c.mY, c.mWidth, c.mHeight};
                }
            }
        } else {
            BuildAtlas(*active, &pixelsLeft);
        }
        mActiveLayers.push_back(std::move(active));

        int ascent = ScaleForLayer(layer.mAscent, layer), height = ScaleForLayer(layer.mHeight, layer);
        int padding = ScaleForLayer(layer.mAscentPadding, layer);
        int lineOffset = ScaleForLayer(layer.mLineSpacingOffset, layer);
        if (first) {
            mAscent = ascent;
            mHeight = height;
            mAscentPadding = padding;
            mLineSpacingOffset = lineOffset;
            first = false;
        } else {
            mAscent = std::max(mAscent, ascent);
            mHeight = std::max(mHeight, height);
            mAscentPadding = std::min(mAscentPadding, padding);
            mLineSpacingOffset = std::max(mLineSpacingOffset, lineOffset);
        }
    }
}

bool ImageFont::BuildAtlas(ActiveFontLayer& active, int64_t* pixelsLeft)
{
    const FontLayer& layer = *active.mLayer;
    active.mScaled = true;
    int64_t runX = 0, atlasH = 0;
    for (int b = 0; b < 256; ++b) {
        const CharBlock* block = layer.GetBlock(b);
        if (!block) continue;
        active.mRects[b] = std::make_unique<CharRectBlock>();
        for (int i = 0; i < 256; ++i) {
            const CharData& c = (*block)[i];
            int w = ScaleForLayer(c.mWidth, layer), h = ScaleForLayer(c.mHeight, layer);
            (*active.mRects[b])[i] = SDL_Rect{ClampToInt(runX), 0, w, h};
            runX += w;
            atlasH = std::max<int64_t>(atlasH, h);
        }
    }
    SDL_Renderer* renderer = GetRenderer();
    if (runX <= 0 || atlasH <= 0 || !renderer) return false;
    SDL_RendererInfo info;
    int maxW = 16384, maxH = 16384;
    if (SDL_GetRendererInfo(renderer, &info) == 0) {
        if (info.max_texture_width > 0) maxW = info.max_texture_width;
        if (info.max_texture_height > 0) maxH = info.max_texture_height;
    }
    if (runX > maxW || atlasH > maxH || runX * atlasH > *pixelsLeft) {
        GetLogger()->LogMessage("font %s: scaled layer of %lld x %lld pixels not built", mDescriptor->GetPath().c_str(),
                                static_cast<long long>(runX), static_cast<long long>(atlasH));
        return false;
    }
    *pixelsLeft -= runX * atlasH;
    TexturePtr atlas = CreateBlankTexture(static_cast<int>(runX), static_cast<int>(atlasH), 2, SDL_PIXELFORMAT_ARGB8888);
    if (!atlas) return false;
    {
        TRenderTargetScope target(renderer, atlas->GetSdlTexture());
        if (!target.Ok()) return false;
        // Transparent white: a filtered edge fades to the glyph colour, not to black.
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(renderer, 255, 255, 255, 0);
        SDL_RenderClear(renderer);
        SDL_Texture* image = layer.mImage ? layer.mImage->GetSdlTexture() : nullptr;
        if (image) {
            // The layer image keeps the tint of its last glyph draw.
            SDL_SetTextureBlendMode(image, SDL_BLENDMODE_NONE);
            SDL_SetTextureColorMod(image, 255, 255, 255);
            SDL_SetTextureAlphaMod(image, 255);
            for (int b = 0; b < 256; ++b) {
                const CharBlock* block = layer.GetBlock(b);
                if (!block) continue;
                for (int i = 0; i < 256; ++i) {
                    const CharData& c = (*block)[i];
                    const SDL_Rect& dst = (*active.mRects[b])[i];
                    if (c.mWidth <= 0 || c.mHeight <= 0 || dst.w <= 0 || dst.h <= 0) continue;
                    SDL_Rect src{c.mX, c.mY, c.mWidth, c.mHeight};
                    SDL_RenderCopy(renderer, image, &src, &dst);
                }
            }
        }
    }
    active.mTexture = atlas;
    return true;
}

void ImageFont::EnsureActive()
{
    if (mActive) return;
    ActivateLayers();
    mActive = true;
}

int ImageFont::LayerWidth(const ActiveFontLayer& active, int code, int previous) const
{
    const FontLayer& layer = *active.mLayer;
    const CharData* c = layer.GetChar(code);
    int64_t w = c ? ScaleForLayer(c->mAdvance, layer) : 0;
    int64_t k = 0;
    if (previous != 0) {
        const CharData* p = layer.GetChar(previous);
        k = ScaleForLayer(int64_t(layer.mSpacing) + (p ? p->Kerning(code) : 0), layer);
    }
    return ClampToInt(w + k);
}

int ImageFont::CharWidth8(int code) { return CharWidthKern8(code, 0); }

int ImageFont::CharWidthKern8(int code, int previous)
{
    EnsureActive();
    int c = mDescriptor->MapChar(code);
    int p = previous != 0 ? mDescriptor->MapChar(previous) : 0;
    bool any = false;
    int best = 0;
    for (const auto& active : mActiveLayers) {
        if (!active->mLayer->HasBlock(0)) continue;
        int w = LayerWidth(*active, c, p);
        if (!any || w > best) best = w;
        any = true;
    }
    return best;
}

int ImageFont::WCharWidthKern(int code, int previous)
{
    EnsureActive();
    int c = code >= 0 && code < 256 ? mDescriptor->MapChar(code) : code;
    int p = previous == 0 ? 0 : previous > 0 && previous < 256 ? mDescriptor->MapChar(previous) : previous;
    bool any = false;
    int best = 0;
    for (const auto& active : mActiveLayers) {
        const FontLayer& layer = *active->mLayer;
        if (!HasBlockFor(layer, c) || (previous != 0 && !HasBlockFor(layer, p))) continue;
        int w = LayerWidth(*active, c, p);
        if (!any || w > best) best = w;
        any = true;
    }
    return best;
}

int ImageFont::WCharWidth(int code) { return WCharWidthKern(code, 0); }

int ImageFont::StringWidth(const std::wstring& text)
{
    int64_t sum = 0;
    for (size_t i = 0; i < text.size(); ++i)
        sum += CharWidthKern8(text[i] & 0xFF, i > 0 ? (text[i - 1] & 0xFF) : 0);
    return ClampToInt(sum);
}

int ImageFont::WStringWidth(const std::wstring& text)
{
    int64_t sum = 0;
    for (size_t i = 0; i < text.size(); ++i) sum += WCharWidthKern(text[i], i > 0 ? text[i - 1] : 0);
    return ClampToInt(sum);
}

void ImageFont::DrawStringEx(int x, int y, const std::wstring& text, uint32_t color, int, std::vector<SDL_Rect>* rects,
                             int* widthOut, bool draw)
{
    DrawTextEx(x, y, text, color, rects, widthOut, draw, false);
}

void ImageFont::DrawWStringEx(int x, int y, const std::wstring& text, uint32_t color, int,
                              std::vector<SDL_Rect>* rects, int* widthOut, bool draw)
{
    DrawTextEx(x, y, text, color, rects, widthOut, draw, true);
}

void ImageFont::DrawString(int x, int y, const std::wstring& text, uint32_t color, int unused, bool draw)
{
    DrawStringEx(x, y, text, color, unused, nullptr, nullptr, draw);
}

void ImageFont::DrawWString(int x, int y, const std::wstring& text, uint32_t color, int unused, bool draw)
{
    DrawWStringEx(x, y, text, color, unused, nullptr, nullptr, draw);
}

void ImageFont::DrawTextEx(int x, int y, const std::wstring& text, uint32_t color, std::vector<SDL_Rect>* rects,
                           int* widthOut, bool draw, bool wide)
{
    TGlyphPool& pool = GlyphPool();
    pool.mHeads.fill(nullptr);
    pool.mTails.fill(nullptr);
    if (rects) rects->clear();
    if (!mDescriptor->IsLoaded()) {
        if (widthOut) *widthOut = 0;
        return;
    }
    EnsureActive();
    auto mapCode = [this, wide](wchar_t ch) -> int {
        int code = static_cast<int>(ch);
        if (!wide) return mDescriptor->MapChar(code);
        return code >= 0 && code < 256 ? mDescriptor->MapChar(code) : code;
    };
    int64_t pen = x;
    size_t used = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const int code = mapCode(text[i]);
        const bool hasNext = i + 1 < text.size();
        const int next = hasNext ? mapCode(text[i + 1]) : 0;
        bool any = false;
        int64_t nextPen = pen;
        for (const auto& activePtr : mActiveLayers) {
            const ActiveFontLayer& active = *activePtr;
            const FontLayer& layer = *active.mLayer;
            if (wide ? !HasBlockFor(layer, code) : !layer.HasBlock(0)) continue;
            if (used >= pool.mRecords.size()) break;
            const CharData& c = *layer.GetChar(code);
            const float f = layer.mPointSize != 0
                                ? static_cast<float>(mPointSize) / static_cast<float>(layer.mPointSize) * mScale
                                : mScale;
            const int64_t kern = hasNext ? int64_t(layer.mSpacing) + c.Kerning(next) : 0;
            int64_t gx, gy, advance, extra;
            if (f == 1.0f) {
                gx = pen + c.mOffsetX + layer.mOffsetX;
                gy = int64_t(y) + c.mOffsetY + layer.mOffsetY - layer.mAscent;
                advance = c.mAdvance;
                extra = kern;
            } else {
                gx = pen + TruncToInt(static_cast<float>(int64_t(c.mOffsetX) + layer.mOffsetX) * f);
                gy = int64_t(y) -
                     TruncToInt(static_cast<float>(int64_t(layer.mAscent) - c.mOffsetY - layer.mOffsetY) * f);
                advance = TruncToInt(static_cast<float>(c.mAdvance) * f);
                extra = hasNext ? TruncToInt(static_cast<float>(kern) * f) : 0;
            }
            const int bucket =
                static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(255, int64_t(c.mOrder) + layer.mBaseOrder + 128)));
            TGlyphRecord& record = pool.mRecords[used++];
            record.mTexture = active.mTexture;
            record.mX = ClampToInt(gx);
            record.mY = ClampToInt(gy);
            const SDL_Rect* source = active.GetRect(code);
            record.mSource = source ? *source : SDL_Rect{0, 0, 0, 0};
            record.mDrawMode = layer.mDrawMode;
            record.mColor = LayerColor(color, layer.mColorMult, layer.mColorAdd);
            record.mNext = nullptr;
            if (pool.mTails[bucket]) pool.mTails[bucket]->mNext = &record;
            else pool.mHeads[bucket] = &record;
            pool.mTails[bucket] = &record;
            if (rects) rects->push_back(SDL_Rect{record.mX, record.mY, record.mSource.w, record.mSource.h});
            const int64_t candidate = pen + advance + extra;
            if (!any || candidate > nextPen) nextPen = candidate;
            any = true;
        }
        pen = nextPen;
    }
    if (widthOut) *widthOut = ClampToInt(pen - x);

    StaticImage glyph;
    glyph.mTransform.mFlags |= kDrawSourceRect;
    for (int b = 0; b < 256; ++b) {
        for (TGlyphRecord* r = pool.mHeads[b]; r; r = r->mNext) {
            if (draw && r->mTexture && r->mSource.w > 0 && r->mSource.h > 0) {
                glyph.mTexture = r->mTexture;
                glyph.mTransform.mSrcX = static_cast<float>(r->mSource.x);
                glyph.mTransform.mSrcY = static_cast<float>(r->mSource.y);
                glyph.mTransform.mSrcW = static_cast<float>(r->mSource.w);
                glyph.mTransform.mSrcH = static_cast<float>(r->mSource.h);
                glyph.mTransform.mRed = ((r->mColor >> 16) & 0xFF) / 255.0f;
                glyph.mTransform.mGreen = ((r->mColor >> 8) & 0xFF) / 255.0f;
                glyph.mTransform.mBlue = (r->mColor & 0xFF) / 255.0f;
                glyph.mAlpha = ((r->mColor >> 24) & 0xFF) / 255.0f;
                glyph.SetPosition(static_cast<float>(r->mX), static_cast<float>(r->mY), false);
                glyph.Draw(1.0f);
            }
            r->mTexture.Release();
        }
    }
    glyph.FreeTexture();
}

void ImageFont::SetPointSize(int size)
{
    mPointSize = size;
    mActive = false;
}

void ImageFont::SetScale(float scale)
{
    mScale = scale;
    mActive = false;
}

int ImageFont::GetDefaultPointSize() const { return mDescriptor->GetDefaultPointSize(); }

bool ImageFont::AddTag(const std::string& name)
{
    if (HasTag(name)) return false;
    mTags.push_back(ToUpperW(WidenAscii(name)));
    mActive = false;
    return true;
}

bool ImageFont::RemoveTag(const std::string& name)
{
    auto it = std::find(mTags.begin(), mTags.end(), ToUpperW(WidenAscii(name)));
    if (it == mTags.end()) return false;
    mTags.erase(it);
    mActive = false;
    return true;
}

bool ImageFont::HasTag(const std::string& name) const
{
    return std::find(mTags.begin(), mTags.end(), ToUpperW(WidenAscii(name))) != mTags.end();
}

std::string ImageFont::GetDefine(const std::string& name) const
{
    const DataElement* value = mDescriptor->GetDefine(WidenAscii(name));
    return value ? ToUtf8(FormatValue(*value)) : std::string();
}
