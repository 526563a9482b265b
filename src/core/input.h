// The engine's own input record, made from SDL events: positions are mapped to the design
// canvas by the dispatch above this floor. Window-management events are handled while they
// are translated.
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

// What the translation needs from the floors above: whether the settings chose fullscreen
// (a manual resize of a window is undone) and new textures after the render targets were
// lost. The host sets it at start-up; without one the game counts as fullscreen.
class TInputHost {
public:
    virtual ~TInputHost() = default;
    virtual bool IsFullscreenChosen() const = 0;
    virtual void ReloadTextures() = 0;
};
void SetInputHost(TInputHost* host);

// Appends the input events the SDL event makes (text input makes one per character);
// true when there is at least one.
bool TranslateSdlEvent(const SDL_Event& sdl, std::vector<TInputEvent>* out);
// Window pixels to design pixels, with the render scale and the letterbox offset.
void MapToDesign(TInputEvent* event);
