// The engine's own input record, made from SDL events, and its dispatch.
#pragma once
#include <SDL_events.h>
#include <cstdint>

struct TInputEvent {
    int32_t mType = -1;
    int32_t mParam = 0;
    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mModifiers = 0;
};

enum TInputType {
    kInputQuit = 0,
    kInputLeftDown = 1,
    kInputRightButton = 2,
    kInputDoubleClick = 3,
    kInputWheel = 4,
    kInputLeftUp = 5,
    kInputMove = 6,
    kInputLeave = 7,
    kInputKeyDown = 9,
    kInputKeyUp = 10,
    kInputText = 11,
    kInputFocus = 14,
};

// True when an input event results.
bool TranslateSdlEvent(const SDL_Event& sdl, TInputEvent* out);
// False when the program must quit.
bool DispatchEvent(const TInputEvent& event);
