// Fonts as the text widgets see them: metrics, kerned widths of narrow and wide text, and
// drawing. ImageFont draws layered bitmap glyphs from a shared descriptor, choosing the
// layers for its point size, scale and tags, and sorting the glyphs by their drawing order.
#pragma once
#include <SDL.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/font_data.h"
#include "graphics/texture.h"

class TMyFont {
public:
    TMyFont() = default;
    TMyFont(const TMyFont&) = default;
    TMyFont& operator=(const TMyFont&) = default;
    virtual ~TMyFont() = default;

    virtual int GetAscent() const { return mAscent; }
    virtual int GetAscentPadding() const { return mAscentPadding; }
    virtual int GetDescent() const { return mHeight - mAscent; }
    virtual int GetHeight() const { return mHeight; }
    virtual int GetLineSpacingOffset() const { return mLineSpacingOffset; }
    virtual int GetLineSpacing() const { return mHeight + mLineSpacingOffset; }
    // The text read as 8-bit codes, the low byte of each character.
    virtual int StringWidth(const std::wstring&) { return 0; }
    virtual int CharWidth(int code) { return StringWidth(std::wstring(1, static_cast<wchar_t>(code))); }
    virtual int CharWidthKern(int code, int /*previous*/) { return CharWidth(code); }
    virtual int WStringWidth(const std::wstring&) { return 0; }
    virtual int WCharWidth(int code) { return WStringWidth(std::wstring(1, static_cast<wchar_t>(code))); }
    virtual int WCharWidthKern(int code, int /*previous*/) { return CharWidth(code); }
    virtual void DrawText(int, int, const std::wstring&, uint32_t, int) {}
    virtual std::unique_ptr<TMyFont> Clone() const { return nullptr; }

protected:
    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0;
    int mLineSpacingOffset = 0;
};

using CharRectBlock = std::array<SDL_Rect, 256>;

class ActiveFontLayer {
public:
    explicit ActiveFontLayer(FontLayer* layer) : mLayer(layer) {}
    ActiveFontLayer(const ActiveFontLayer& other);
    ActiveFontLayer& operator=(const ActiveFontLayer&) = delete;
    virtual ~ActiveFontLayer() = default;

    const SDL_Rect* GetRect(int code) const;

    FontLayer* mLayer;
    TexturePtr mTexture;
    bool mScaled = false;
    std::array<std::unique_ptr<CharRectBlock>, 256> mRects;
};

class ImageFont : public TMyFont {
public:
    explicit ImageFont(const std::string& descriptorPath);
    // Takes a descriptor made elsewhere (tests read scripts through their own FontData).
    explicit ImageFont(FontData* descriptor);
    ImageFont(const ImageFont& other);
    ImageFont& operator=(const ImageFont&) = delete;
    ~ImageFont() override;

    int StringWidth(const std::wstring& text) override;
    int WStringWidth(const std::wstring& text) override;
    int WCharWidth(int code) override;
    int WCharWidthKern(int code, int previous) override;
    std::unique_ptr<TMyFont> Clone() const override;

    virtual void ActivateLayers();
    virtual void DrawStringEx(int x, int y, const std::wstring& text, uint32_t color, int unused,
                              std::vector<SDL_Rect>* rects, int* widthOut, bool draw);
    virtual void DrawWStringEx(int x, int y, const std::wstring& text, uint32_t color, int unused,
                               std::vector<SDL_Rect>* rects, int* widthOut, bool draw);
    virtual int CharWidth8(int code);
    virtual int CharWidthKern8(int code, int previous);
    virtual void DrawString(int x, int y, const std::wstring& text, uint32_t color, int unused, bool draw);
    virtual void DrawWString(int x, int y, const std::wstring& text, uint32_t color, int unused, bool draw);
    virtual void SetPointSize(int size);
    virtual int GetPointSize() const { return mPointSize; }
    virtual void SetScale(float scale);
    virtual int GetDefaultPointSize() const;
    virtual bool AddTag(const std::string& name);
    virtual bool RemoveTag(const std::string& name);
    virtual bool HasTag(const std::string& name) const;
    virtual std::string GetDefine(const std::string& name) const;
    virtual void EnsureActive();

    const std::vector<std::unique_ptr<ActiveFontLayer>>& GetActiveLayers() const { return mActiveLayers; }
    const FontData* GetDescriptor() const { return mDescriptor; }

    // The most glyphs one draw call shows.
    static const int kGlyphPoolSize = 4096;
    // All the scaled atlases of one font together stay below this many pixels.
    static const int64_t kMaxAtlasPixels = 16777216;

private:
    void Init();
    void DrawTextEx(int x, int y, const std::wstring& text, uint32_t color, std::vector<SDL_Rect>* rects,
                    int* widthOut, bool draw, bool wide);
    bool BuildAtlas(ActiveFontLayer& active, int64_t* pixelsLeft);
    // trunc(v * (P * S) / Lp) in floats, trunc(v * S) when Lp is 0.
    int ScaleForLayer(int64_t v, const FontLayer& layer) const;
    int LayerWidth(const ActiveFontLayer& active, int code, int previous) const;

    FontData* mDescriptor = nullptr;
    int mPointSize = 0;
    std::vector<std::wstring> mTags;
    bool mActive = false;
    std::vector<std::unique_ptr<ActiveFontLayer>> mActiveLayers;
    float mScale = 1.0f;
};
