// Clips the renderer to a rectangle while the scope lives and puts back the clip it found.
// A width of 0 or below leaves the clip alone.
#pragma once
#include <SDL.h>

class TClipScope {
public:
    TClipScope(int x, int y, int w, int h);
    ~TClipScope();
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;

private:
    SDL_Renderer* mRenderer = nullptr;
    SDL_Rect mOuter{0, 0, 0, 0};
    bool mOuterClipped = false;
};
