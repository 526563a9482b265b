// The engine's own input record, made from SDL events, and its dispatch: positions are
// mapped to the design canvas, quit and focus are handled here, the rest goes to the
// window manager. Window-management events are handled while they are translated.
#pragma once
#include <SDL_events.h>
#include <cstdint>
#include <vector>

struct TInputEvent {
    int32_t mType = -1;
    int32_t mParam = 0;  // key, button flag, wheel direction, character or focus flag
    int32_t mX = 0;      // window pixels when made, design pixels once dispatched
    int32_t mY = 0;
    int32_t mMods = 0;   // SDL KMOD_* bits
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

const int kPauseWindowId = 304;

// Appends the input events the SDL event makes (text input makes one per character);
// true when there is at least one.
bool TranslateSdlEvent(const SDL_Event& sdl, std::vector<TInputEvent>* out);
// Window pixels to design pixels, with the render scale and the letterbox offset.
void MapToDesign(TInputEvent* event);
// False when the program must quit.
bool DispatchEvent(const TInputEvent& event);
