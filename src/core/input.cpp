#include "core/input.h"

bool TranslateSdlEvent(const SDL_Event& sdl, TInputEvent* out)
{
    *out = TInputEvent();
    if (sdl.type == SDL_QUIT) out->mType = kInputQuit;
    return out->mType != -1;
}

bool DispatchEvent(const TInputEvent& event)
{
    return event.mType != kInputQuit;
}
