// A hidden window with SDL's software renderer for the picture and colour table tests, and
// small helpers: in-memory paletted pictures, pixel read-back, the log, user folders.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <SDL_image.h>
#include <sys/stat.h>

#include "core/app_state.h"
#include "core/system.h"
#include "graphics/texture.h"
#include "test_support.h"

class TPictureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // An 8-bit paletted picture as the paletted loader would make it from a file.
    static TexturePtr MakePicture(int width, int height, const std::vector<SDL_Color>& palette,
                                  const std::vector<uint8_t>& pixels);
    static SDL_Color ReadPixel(int x, int y);
    static std::vector<uint32_t> ReadWindow();
    static std::string LogText();
    // "user:<id>/" of the tests' user folder, made when missing; answers its real path.
    static std::string MakeUserFolder(const std::string& id);
    static std::string UserPath(const std::string& relative);
};

inline bool SameColor(SDL_Color c, int r, int g, int b)
{
    return c.r == r && c.g == g && c.b == b;
}

namespace picture_fixture {
inline SDL_Window* gWindow = nullptr;
inline TRenderDevice* gDevice = nullptr;  // owned by the application state
}  // namespace picture_fixture

inline void TPictureTest::SetUpTestSuite()
{
    SetExeDirAsCurrent();
    SDL_Init(SDL_INIT_VIDEO);
    IMG_Init(IMG_INIT_PNG);
    picture_fixture::gWindow = SDL_CreateWindow("pictures", 0, 0, 1366, 768, SDL_WINDOW_HIDDEN);
    GetAppState().mRenderDevice.reset(new TRenderDevice());
    picture_fixture::gDevice = GetAppState().mRenderDevice.get();
    picture_fixture::gDevice->mRenderer = SDL_CreateRenderer(picture_fixture::gWindow, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    GetAppState().mWindow = picture_fixture::gWindow;
}

inline void TPictureTest::TearDownTestSuite()
{
    GetAppState().mWindow = nullptr;
    if (picture_fixture::gDevice->mRenderer) SDL_DestroyRenderer(picture_fixture::gDevice->mRenderer);
    GetAppState().mRenderDevice.reset();
    picture_fixture::gDevice = nullptr;
    if (picture_fixture::gWindow) SDL_DestroyWindow(picture_fixture::gWindow);
    picture_fixture::gWindow = nullptr;
}

inline void TPictureTest::SetUp()
{
    ASSERT_NE(picture_fixture::gDevice->mRenderer, nullptr) << SDL_GetError();
    SDL_SetRenderDrawColor(picture_fixture::gDevice->mRenderer, 0, 0, 0, 255);
    SDL_RenderClear(picture_fixture::gDevice->mRenderer);
}

inline TexturePtr TPictureTest::MakePicture(int width, int height, const std::vector<SDL_Color>& palette,
                                     const std::vector<uint8_t>& pixels)
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 8, SDL_PIXELFORMAT_INDEX8);
    SDL_SetPaletteColors(surface->format->palette, palette.data(), 0, static_cast<int>(palette.size()));
    surface->format->palette->ncolors = static_cast<int>(palette.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            static_cast<uint8_t*>(surface->pixels)[y * surface->pitch + x] = pixels[y * width + x];
    TTexture* texture = new TTexture();
    const bool ok = texture->CreatePalettedTexture(surface);
    SDL_FreeSurface(surface);
    if (!ok) {
        delete texture;
        return TexturePtr();
    }
    return TexturePtr(texture);
}

inline SDL_Color TPictureTest::ReadPixel(int x, int y)
{
    uint32_t pixel = 0;
    SDL_Rect r{x, y, 1, 1};
    SDL_RenderReadPixels(picture_fixture::gDevice->mRenderer, &r, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
    return SDL_Color{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                     static_cast<uint8_t>(pixel), 255};
}

inline std::vector<uint32_t> TPictureTest::ReadWindow()
{
    std::vector<uint32_t> pixels(1366 * 768);
    SDL_RenderReadPixels(picture_fixture::gDevice->mRenderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 1366 * 4);
    return pixels;
}

inline std::string TPictureTest::LogText()
{
    return ReadWholeFile(GetSystem()->UserFolder() + "/log.txt");
}

inline std::string TPictureTest::MakeUserFolder(const std::string& id)
{
    std::string path = GetSystem()->UserFolder() + "/" + id;
    mkdir(path.c_str(), 0755);
    return path;
}

inline std::string TPictureTest::UserPath(const std::string& relative)
{
    return GetSystem()->UserFolder() + "/" + relative;
}
