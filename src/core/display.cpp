#include "core/display.h"

#include <SDL.h>

#include "core/app_state.h"
#include "core/logger.h"

int GetLayoutWidth() { return kDesignWidth; }

int GetLayoutHeight() { return kDesignHeight; }

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

void ChooseScreenResolution()
{
    TAppState& app = GetAppState();
    app.mBaseWidth = kDesignWidth;
    app.mBaseHeight = kDesignHeight;
    app.mRealResolutionWidth = kDesignWidth;
    app.mRealResolutionHeight = kDesignHeight;
    app.mWindowedResolutionWidth = kDesignWidth;
    app.mWindowedResolutionHeight = kDesignHeight;
}

void DestroyRenderer()
{
    TAppState& app = GetAppState();
    if (app.mRenderDevice) {
        if (app.mRenderDevice->mRenderer) SDL_DestroyRenderer(app.mRenderDevice->mRenderer);
        delete app.mRenderDevice;
        app.mRenderDevice = nullptr;
    }
}

bool RecreateRenderer()
{
    TAppState& app = GetAppState();
    DestroyRenderer();
    if (!app.mWindow) return false;
    SDL_Renderer* renderer = SDL_CreateRenderer(
        app.mWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer) renderer = SDL_CreateRenderer(app.mWindow, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer) {
        GetLogger()->LogMessage("renderer cannot be created: %s", SDL_GetError());
        return false;
    }
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) == 0) GetLogger()->LogMessage("renderer driver %s", info.name);
    app.mRenderDevice = new TRenderDevice();
    app.mRenderDevice->mRenderer = renderer;
    return true;
}
