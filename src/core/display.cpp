#include "core/display.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/system.h"

namespace {

TSoundSink* gSoundSink = nullptr;

bool FitsWindowed(const TDisplayMode& mode)
{
    const TAppState& app = GetAppState();
    return mode.mWidth < app.mWidthBeforeStart && mode.mHeight < app.mHeightBeforeStart &&
           mode.mWidth <= kDesignWidth && mode.mHeight <= kDesignHeight;
}

}  // namespace

Uint8 ColorByte(float component)
{
    float v = component * 255.0f;
    if (!(v >= 0.0f)) return 0;
    if (v > 255.0f) return 255;
    return static_cast<Uint8>(v);
}

int GetLayoutWidth() { return kDesignWidth; }

int GetLayoutHeight() { return kDesignHeight; }

std::string GetLayoutName() { return std::string(); }

bool IsWindowFullscreen()
{
    SDL_Window* window = GetAppState().mWindow;
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
}

int GetWindowWidth()
{
    const TAppState& app = GetAppState();
    return IsWindowFullscreen() ? app.mRealResolutionWidth : app.mWindowedResolutionWidth;
}

int GetWindowHeight()
{
    const TAppState& app = GetAppState();
    return IsWindowFullscreen() ? app.mRealResolutionHeight : app.mWindowedResolutionHeight;
}

void GetScreenSizeBeforeStart(int32_t* width, int32_t* height)
{
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        *width = mode.w;
        *height = mode.h;
    } else {
        *width = kDesignWidth;
        *height = kDesignHeight;
    }
}

void AddDisplayMode(TDisplayModeSet& modes, const SDL_DisplayMode& sdl)
{
    if (sdl.format != SDL_PIXELFORMAT_RGB888 && sdl.format != SDL_PIXELFORMAT_ARGB8888) return;
    if (sdl.w <= 0 || sdl.h <= 0) return;
    TDisplayMode mode;
    mode.mWidth = sdl.w;
    mode.mHeight = sdl.h;
    mode.mFormat = sdl.format;
    mode.mAspect = static_cast<float>(std::max(sdl.w, sdl.h)) / static_cast<float>(std::min(sdl.w, sdl.h));
    modes.emplace(static_cast<int64_t>(sdl.w) * sdl.h, mode);
}

void TSystem::GetDisplayModes(TDisplayModeSet& modes) const
{
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0) AddDisplayMode(modes, mode);
    }
}

void ChooseScreenResolution()
{
    TDisplayModeSet modes;
    if (TSystem* sys = GetSystem()) sys->GetDisplayModes(modes);
    ChooseScreenResolutionFrom(modes);
}

void ChooseScreenResolutionFrom(const TDisplayModeSet& modes)
{
    TAppState& app = GetAppState();
    TLogger* log = GetLogger();
    app.mLargestModeWidth = kDesignWidth;
    app.mLargestModeHeight = kDesignHeight;
    for (const auto& entry : modes) {
        const TDisplayMode& mode = entry.second;
        app.mLargestModeWidth = std::max(app.mLargestModeWidth, mode.mWidth);
        app.mLargestModeHeight = std::max(app.mLargestModeHeight, mode.mHeight);
        log->LogMessage("screen resolution %d %d", mode.mWidth, mode.mHeight);
    }
    app.mRealResolutionWidth = std::min(app.mLargestModeWidth, kDesignWidth);
    app.mRealResolutionHeight = std::min(app.mLargestModeHeight, kDesignHeight);
    app.mPortrait = app.mWidthBeforeStart < app.mHeightBeforeStart;
    if (app.mPortrait) {
        log->LogMessage("portrait mode");
        std::swap(app.mRealResolutionWidth, app.mRealResolutionHeight);
    }
    log->LogMessage("mRealResolutionWidth =  %d  mRealResolutionHeight = %d", app.mRealResolutionWidth,
                    app.mRealResolutionHeight);
    ChooseWindowedSize(modes);
}

void ChooseWindowedSize(const TDisplayModeSet& modes)
{
    TAppState& app = GetAppState();
    const float target = static_cast<float>(kDesignWidth) / static_cast<float>(kDesignHeight);
    const TDisplayMode* chosen = nullptr;
    for (const auto& entry : modes) {
        if (std::fabs(entry.second.mAspect - target) <= 0.1f && FitsWindowed(entry.second)) {
            chosen = &entry.second;
            break;
        }
    }
    if (!chosen) {
        for (const auto& entry : modes) {
            if (entry.second.mAspect == 4.0f / 3.0f && FitsWindowed(entry.second)) {
                chosen = &entry.second;
                break;
            }
        }
    }
    app.mWindowedResolutionWidth = chosen ? chosen->mWidth : 800;
    app.mWindowedResolutionHeight = chosen ? chosen->mHeight : 600;
}

void ChooseRealResolution(bool fullscreen)
{
    TAppState& app = GetAppState();
    int w = app.mWidthBeforeStart;
    int h = app.mHeightBeforeStart;
    if (!app.mPortrait) {
        if (!fullscreen && (w <= 1024 || h <= 800)) {
            w = 1024;
            h = 600;
        }
    } else if (fullscreen) {
        h = kDesignWidth;
    } else if (w <= 800 || h <= 1024) {
        w = 600;
        h = 800;
    } else {
        h = kDesignWidth;
    }
    app.mRealResolutionWidth = w;
    app.mRealResolutionHeight = h;
}

void UpdateRenderScale(bool fullscreen)
{
    TAppState& app = GetAppState();
    int w = fullscreen ? app.mRealResolutionWidth : app.mWindowedResolutionWidth;
    int h = fullscreen ? app.mRealResolutionHeight : app.mWindowedResolutionHeight;
    app.mScaleX = static_cast<float>(w) / static_cast<float>(kDesignWidth);
    app.mScaleY = static_cast<float>(h) / static_cast<float>(kDesignHeight);
}

void UpdateDisplayState(bool fullscreen, bool apply)
{
    TAppState& app = GetAppState();
    TLogger* log = GetLogger();
    ChooseScreenResolution();
    log->LogMessage("mWidthBeforeStart %d  mHeightBeforeStart %d", app.mWidthBeforeStart, app.mHeightBeforeStart);
    ChooseRealResolution(fullscreen);
    if (apply) {
        app.mOffsetX = 0;
        UpdateRenderScale(fullscreen);
        if (TSystem* sys = GetSystem()) {
            if (fullscreen)
                sys->SetDisplayMode(app.mRealResolutionWidth, app.mRealResolutionHeight, true);
            else
                sys->SetDisplayMode(app.mWindowedResolutionWidth, app.mWindowedResolutionHeight, false);
        }
    }
    log->LogMessage("update display fullscreen = %d mRealResolutionWidth =  %d  mRealResolutionHeight = %d  "
                    "mWindowedResolutionWidth =  %d  mWindowedResolutionHeight = %d offsetx = %d  offsety = %d",
                    fullscreen ? 1 : 0, app.mRealResolutionWidth, app.mRealResolutionHeight,
                    app.mWindowedResolutionWidth, app.mWindowedResolutionHeight, app.mOffsetX, app.mOffsetY);
    log->LogMessage("scalex=%f scaley=%f", app.mScaleX, app.mScaleY);
}

void TSystem::SetDisplayMode(int width, int height, bool fullscreen)
{
    TLogger* log = GetLogger();
    SDL_ClearError();
    SDL_DisplayMode mode = {SDL_PIXELFORMAT_RGB888, width, height, 0, nullptr};
    if (SDL_SetWindowDisplayMode(mWindow, &mode) != 0) log->LogMessage("ERROR SET DISPLAY MODE: %s", SDL_GetError());
    if (fullscreen) {
        if (SDL_SetWindowFullscreen(mWindow, SDL_WINDOW_FULLSCREEN) != 0) log->LogMessage("Error SDL_SetWindowFullscreen");
    } else {
        uint32_t start = SDL_GetTicks();
        if (SDL_SetWindowFullscreen(mWindow, 0) != 0) log->LogMessage("Error SDL_SetWindowFullscreen");
        log->LogMessage("END SDL_SetWindowFullscreen = %d", static_cast<int>(SDL_GetTicks() - start));
        log->LogMessage("SDL_SetWindowSize  w = %d   h= %d ", width, height);
        SDL_SetWindowSize(mWindow, width, height);
        const char* error = SDL_GetError();
        if (error && *error) log->LogMessage("ERROR: %s", error);
    }
    SDL_SetWindowPosition(mWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    int newWidth = 0;
    int newHeight = 0;
    if (mWindow) SDL_GetWindowSize(mWindow, &newWidth, &newHeight);
    log->LogMessage("set window size: w=%d h=%d  neww=%d newh=%d", width, height, newWidth, newHeight);
}

void DestroyRenderer()
{
    TAppState& app = GetAppState();
    if (app.mRenderDevice) {
        if (app.mRenderDevice->mRenderer) SDL_DestroyRenderer(app.mRenderDevice->mRenderer);
        app.mRenderDevice.reset();
    }
}

bool RecreateRenderer()
{
    TAppState& app = GetAppState();
    DestroyRenderer();
    app.mRenderDevice.reset(new TRenderDevice());
    if (!app.mWindow) return false;
    SDL_Renderer* renderer = SDL_CreateRenderer(
        app.mWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
    // Headless machines have no accelerated renderer.
    if (!renderer) renderer = SDL_CreateRenderer(app.mWindow, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    SDL_RendererInfo info;
    const char* driver = "";
    if (!renderer)
        GetLogger()->LogMessage("renderer cannot be created: %s", SDL_GetError());
    else if (SDL_GetRendererInfo(renderer, &info) == 0 && info.name)
        driver = info.name;
    GetLogger()->LogMessage("renderer driver %s", driver);
    app.mRenderDevice->mRenderer = renderer;
    app.mRenderDevice->mDirect3D = strcmp(driver, "direct3d") == 0;
    return renderer != nullptr;
}

void TRenderDevice::FillRect(const SDL_Rect& rect, float r, float g, float b, float a) const
{
    if (!mRenderer) return;
    Uint8 oldR = 0, oldG = 0, oldB = 0, oldA = 0;
    SDL_GetRenderDrawColor(mRenderer, &oldR, &oldG, &oldB, &oldA);
    SDL_SetRenderDrawColor(mRenderer, ColorByte(r), ColorByte(g), ColorByte(b), ColorByte(a));
    SDL_RenderFillRect(mRenderer, &rect);
    SDL_SetRenderDrawColor(mRenderer, oldR, oldG, oldB, oldA);
}

void DrawRectOutline(int x, int y, int w, int h, float r, float g, float b, float a)
{
    const TRenderDevice* device = GetAppState().mRenderDevice.get();
    if (!device) return;
    if (x >= 0 && y >= 0) device->FillRect(SDL_Rect{x, y, w, 1}, r, g, b, a);
    if (x >= 0 && y + h - 1 >= 0) device->FillRect(SDL_Rect{x, y + h - 1, w, 1}, r, g, b, a);
    if (x >= 0 && y >= 0) device->FillRect(SDL_Rect{x, y, 1, h}, r, g, b, a);
    if (y >= 0 && x + w - 1 >= 0) device->FillRect(SDL_Rect{x + w - 1, y, 1, h}, r, g, b, a);
}

void SetSoundSink(TSoundSink* sink) { gSoundSink = sink; }

// Before start-up and after shutdown there is no sink: a late caller plays nothing.
void PlaySoundByName(const std::string& name)
{
    if (gSoundSink) gSoundSink->PlayByName(name);
}

void PlaySoundIfNamed(const std::string& name)
{
    if (!name.empty()) PlaySoundByName(name);
}
