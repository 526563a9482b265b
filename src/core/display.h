// Design size, display modes and render scaling. The game is drawn on a 1366 x 768 canvas
// stretched to the window (or the screen when fullscreen); scale x and y may differ.
#pragma once
#include <SDL.h>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

const int kDesignWidth = 1366;
const int kDesignHeight = 768;

// No layout is ever selected: the design size and no asset sub-folder.
int GetLayoutWidth();
int GetLayoutHeight();
std::string GetLayoutName();
// The real resolution while the window is fullscreen, else the windowed size.
int GetWindowWidth();
int GetWindowHeight();
bool IsWindowFullscreen();

// The desktop size before any window exists; the design size when SDL cannot tell.
void GetScreenSizeBeforeStart(int32_t* width, int32_t* height);

struct TDisplayMode {
    int mWidth = 0;
    int mHeight = 0;
    uint32_t mFormat = 0;
    float mAspect = 0.0f;  // longer side / shorter side
    std::string mName;
};

// Usable modes by area, largest first; a later mode of an area already held is dropped.
using TDisplayModeSet = std::map<int64_t, TDisplayMode, std::greater<int64_t>>;
// Keeps the mode when its format is RGB888 or ARGB8888.
void AddDisplayMode(TDisplayModeSet& modes, const SDL_DisplayMode& mode);

// Fills the largest-mode, real and windowed sizes of the application state from the modes
// of display 0 and the screen size read at start.
void ChooseScreenResolution();
void ChooseScreenResolutionFrom(const TDisplayModeSet& modes);
void ChooseWindowedSize(const TDisplayModeSet& modes);
// The real resolution for the mode: the screen size, made smaller for a small screen's window.
void ChooseRealResolution(bool fullscreen);
// Window pixels per design pixel: the real size when fullscreen, else the windowed size.
void UpdateRenderScale(bool fullscreen);
// The display half of the settings' UpdateDisplay: choose the sizes and, with apply, scale
// and switch the window.
void UpdateDisplayState(bool fullscreen, bool apply);

// Replaces the renderer of the window: accelerated and vsynced when possible, else
// SDL's software renderer. Logs the driver that was created.
bool RecreateRenderer();
void DestroyRenderer();

// A colour component (0-1) as a byte: clamped to 0..255, NaN to 0, then truncated. An
// unclamped colour (a data file may say "300.0.0.255") must not wrap or overflow a channel.
Uint8 ColorByte(float component);

// A one-pixel outline with the render device's FillRect; sides off the canvas are skipped.
void DrawRectOutline(int x, int y, int w, int h, float r, float g, float b, float a);

// The display knows that something plays a sound by name, not what: the host sets the sink
// at start-up and clears it at shutdown.
struct TSoundSink {
    virtual ~TSoundSink() = default;
    virtual void PlayByName(const std::string& name) = 0;
};
void SetSoundSink(TSoundSink* sink);

// Sound conveniences of the screens.
void PlaySoundByName(const std::string& name);
void PlaySoundIfNamed(const std::string& name);
