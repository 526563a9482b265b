#include "graphics/render_origin.h"

#include <SDL.h>

#include <cmath>

#include "core/app_state.h"
#include "core/numbers.h"

namespace {

// SDL keeps the viewport in output pixels and converts it at the scale of the moment; read
// back, the size loses a pixel to rounding at scales like 1920/1366 and shrinks every frame.
// Taking the size from the output at the current scale keeps it whole.
void PlaceViewport(SDL_Renderer* renderer, int x, int y)
{
    int outW = 0, outH = 0;
    float scaleX = 1.0f, scaleY = 1.0f;
    SDL_GetRendererOutputSize(renderer, &outW, &outH);
    SDL_RenderGetScale(renderer, &scaleX, &scaleY);
    SDL_Rect viewport{x, y, 0, 0};
    viewport.w = scaleX > 0.0f ? static_cast<int>(std::ceil(outW / scaleX)) : outW;
    viewport.h = scaleY > 0.0f ? static_cast<int>(std::ceil(outH / scaleY)) : outH;
    SDL_RenderSetViewport(renderer, &viewport);
}

}  // namespace

void SetRenderOrigin(float x, float y, float sx, float sy)
{
    TAppState& app = GetAppState();
    SDL_Renderer* renderer = GetRenderer();
    if (!renderer) return;
    // A pocket's movement hands its drawable's position on as it is: defined for any value.
    app.mRenderDevice->mOriginX = TruncToInt(x);
    app.mRenderDevice->mOriginY = TruncToInt(y);
    PlaceViewport(renderer, app.mRenderDevice->mOriginX, app.mRenderDevice->mOriginY);
    SDL_RenderSetScale(renderer, app.mScaleX * sx, app.mScaleY * sy);
}

TRenderOrigin& TRenderOrigin::SetRenderOriginChained(float x, float y, float sx, float sy)
{
    SetRenderOrigin(x, y, sx, sy);
    return *this;
}

void ResetRenderOrigin()
{
    TAppState& app = GetAppState();
    SDL_Renderer* renderer = GetRenderer();
    if (!renderer) return;
    SDL_RenderSetScale(renderer, app.mScaleX, app.mScaleY);
    app.mRenderDevice->mOriginX = 0;
    app.mRenderDevice->mOriginY = 0;
    PlaceViewport(renderer, 0, 0);
}
