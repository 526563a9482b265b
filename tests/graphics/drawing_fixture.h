// Drawing without a window: a software renderer on an in-memory surface, the working folder
// in a temporary place with its own assets/, and helpers that write test images there.
#pragma once
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "graphics/texture.h"
#include "test_support.h"

inline bool operator==(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

inline std::ostream& operator<<(std::ostream& out, const SDL_Rect& r)
{
    return out << "(" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << ")";
}

struct TPixel {
    int r, g, b, a;
};

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { Open(1366, 768); }

    void Open(int w, int h)
    {
        char cwd[4096];
        mOldCwd = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(0, chdir(mDir.Path().c_str()));
        ASSERT_EQ(0, system(("mkdir -p '" + mDir.Path() + "/assets'").c_str()));
        mLiveBefore = GetLiveTextureCount();
        mSurface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(nullptr, mSurface);
        mRenderer = SDL_CreateSoftwareRenderer(mSurface);
        ASSERT_NE(nullptr, mRenderer);
        TAppState& app = GetAppState();
        mOldDevice = std::move(app.mRenderDevice);
        app.mRenderDevice.reset(new TRenderDevice());
        app.mRenderDevice->mRenderer = mRenderer;
        app.mScaleX = app.mScaleY = 1.0f;
        app.mOffsetX = app.mOffsetY = 0;
        Clear(0, 0, 0);
    }

    // The shipped assets in place of the canvas's own folder, through a link.
    void UseShippedAssets()
    {
        ASSERT_EQ(0, rmdir(AssetPath("").c_str()));
        ASSERT_EQ(0, symlink(BRISALO_ASSETS, (mDir.Path() + "/assets").c_str()));
        mShippedAssets = true;
    }

    void TearDown() override
    {
        // Only the link goes with the folder, never what it points at.
        if (mShippedAssets) unlink((mDir.Path() + "/assets").c_str());
        // No texture may outlive the renderer that made it.
        EXPECT_EQ(mLiveBefore, GetLiveTextureCount());
        TAppState& app = GetAppState();
        app.mRenderDevice = std::move(mOldDevice);
        app.mScaleX = app.mScaleY = 1.0f;
        app.mOffsetX = app.mOffsetY = 0;
        if (mRenderer) SDL_DestroyRenderer(mRenderer);
        if (mSurface) SDL_FreeSurface(mSurface);
        if (chdir(mOldCwd.c_str()) != 0) ADD_FAILURE() << "cannot return to " << mOldCwd;
    }

    void Clear(int r, int g, int b)
    {
        SDL_SetRenderDrawBlendMode(mRenderer, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(mRenderer, r, g, b, 255);
        SDL_RenderClear(mRenderer);
        SDL_RenderFlush(mRenderer);
    }

    TPixel Pixel(int x, int y)
    {
        SDL_RenderFlush(mRenderer);
        const uint8_t* row = static_cast<const uint8_t*>(mSurface->pixels) + y * mSurface->pitch;
        uint32_t v;
        memcpy(&v, row + x * 4, 4);
        TPixel p;
        p.a = (v >> 24) & 0xFF;
        p.r = (v >> 16) & 0xFF;
        p.g = (v >> 8) & 0xFF;
        p.b = v & 0xFF;
        return p;
    }

    // Compares colour only; a mismatch leaves the frame beside the test output to look at.
    void ExpectPixel(int x, int y, int r, int g, int b, int tolerance = 0)
    {
        TPixel p = Pixel(x, y);
        bool ok = std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
        EXPECT_TRUE(ok) << "pixel (" << x << ", " << y << ") is " << p.r << "," << p.g << "," << p.b << " not " << r
                        << "," << g << "," << b;
        if (!ok) SaveFrame();
    }

    void SaveFrame()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = mOldCwd + "/failed_" + info->test_suite_name() + "_" + info->name() + ".png";
        IMG_SavePNG(mSurface, name.c_str());
    }

    // The box of pixels that differ from the background colour.
    SDL_Rect DrawnBox(int r, int g, int b)
    {
        SDL_RenderFlush(mRenderer);
        int minX = mSurface->w, minY = mSurface->h, maxX = -1, maxY = -1;
        for (int y = 0; y < mSurface->h; ++y)
            for (int x = 0; x < mSurface->w; ++x) {
                TPixel p = Pixel(x, y);
                if (p.r == r && p.g == g && p.b == b) continue;
                if (x < minX) minX = x;
                if (y < minY) minY = y;
                if (x > maxX) maxX = x;
                if (y > maxY) maxY = y;
            }
        if (maxX < 0) return SDL_Rect{0, 0, 0, 0};
        return SDL_Rect{minX, minY, maxX - minX + 1, maxY - minY + 1};
    }

    std::string AssetPath(const std::string& name) const { return mDir.Path() + "/assets/" + name; }

    void MakeFolder(const std::string& relative)
    {
        ASSERT_EQ(0, system(("mkdir -p '" + mDir.Path() + "/assets/" + relative + "'").c_str()));
    }

    // format: SDL_PIXELFORMAT_ABGR8888 writes an RGBA PNG, SDL_PIXELFORMAT_RGB24 an RGB one.
    static SDL_Surface* MakeSurface(int w, int h, uint32_t format, const std::function<SDL_Color(int, int)>& colour)
    {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, SDL_BITSPERPIXEL(format), format);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                SDL_Color c = colour(x, y);
                SDL_Rect r{x, y, 1, 1};
                SDL_FillRect(s, &r, SDL_MapRGBA(s->format, c.r, c.g, c.b, c.a));
            }
        return s;
    }

    static SDL_Surface* MakeIndexed(int w, int h, const std::vector<SDL_Color>& palette,
                                    const std::function<int(int, int)>& index)
    {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8);
        SDL_Palette* own = SDL_AllocPalette(static_cast<int>(palette.size()));
        SDL_SetPaletteColors(own, palette.data(), 0, own->ncolors);
        SDL_SetSurfacePalette(s, own);
        SDL_FreePalette(own);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) static_cast<uint8_t*>(s->pixels)[y * s->pitch + x] = index(x, y);
        return s;
    }

    void SavePng(const std::string& name, SDL_Surface* s)
    {
        ASSERT_EQ(0, IMG_SavePNG(s, AssetPath(name).c_str())) << SDL_GetError();
        SDL_FreeSurface(s);
    }

    void SaveJpg(const std::string& name, SDL_Surface* s)
    {
        ASSERT_EQ(0, IMG_SaveJPG(s, AssetPath(name).c_str(), 95)) << SDL_GetError();
        SDL_FreeSurface(s);
    }

    void SolidPng(const std::string& name, int w, int h, SDL_Color c)
    {
        SavePng(name, MakeSurface(w, h, SDL_PIXELFORMAT_ABGR8888, [c](int, int) { return c; }));
    }

    void SolidJpg(const std::string& name, int w, int h, SDL_Color c)
    {
        SaveJpg(name, MakeSurface(w, h, SDL_PIXELFORMAT_RGB24, [c](int, int) { return c; }));
    }

    TTempDir mDir;
    bool mShippedAssets = false;
    std::string mOldCwd;
    SDL_Surface* mSurface = nullptr;
    SDL_Renderer* mRenderer = nullptr;
    std::unique_ptr<TRenderDevice> mOldDevice;
    int mLiveBefore = 0;
};
