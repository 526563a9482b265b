#include "graphics/clip_scope.h"

#include "core/app_state.h"

TClipScope::TClipScope(int x, int y, int w, int h)
{
    if (w <= 0) return;
    mRenderer = GetRenderer();
    if (!mRenderer) return;
    mOuterClipped = SDL_RenderIsClipEnabled(mRenderer) == SDL_TRUE;
    SDL_RenderGetClipRect(mRenderer, &mOuter);
    const SDL_Rect clip{x, y, w, h};
    SDL_RenderSetClipRect(mRenderer, &clip);
}

TClipScope::~TClipScope()
{
    if (mRenderer) SDL_RenderSetClipRect(mRenderer, mOuterClipped ? &mOuter : nullptr);
}
