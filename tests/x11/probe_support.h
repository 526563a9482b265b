// What the X check's probes share: the empty screen beneath their dialogs (a press reaching
// it means a click went past the dialog), design points to window pixels, and one frame
// drawn as the loop draws it and read back before it is presented.
#pragma once
#include <SDL.h>

#include <cstdio>
#include <vector>

#include "app/app.h"
#include "core/app_state.h"
#include "core/display.h"
#include "ui/classic_window.h"
#include "ui/window_manager.h"

// Last: the X11 headers it pulls in define macros that clash with our names.
#include <SDL_syswm.h>

inline bool& ProbeScreenPressed()
{
    static bool pressed = false;
    return pressed;
}

class TProbeScreen : public TClassicWindow {
public:
    TProbeScreen() : TClassicWindow("", false) { SetRect(0, 0, 1366, 768); }
    void OnMouseDown(const TMouseEvent&) override { ProbeScreenPressed() = true; }
};

// Hears the dialog arrive and leave.
struct TProbeListener : TFlyWindowListener {
    bool mShown = false;
    bool mClosed = false;
    int mId = 0;
    int mResult = -1;
    TFlyWindow* mBox = nullptr;
    void OnFlyShown(TFlyWindow* window, int) override
    {
        mShown = true;
        mBox = window;
    }
    void OnFlyClosed(TFlyWindow*, int id, int result) override
    {
        mClosed = true;
        mBox = nullptr;
        mId = id;
        mResult = result;
    }
};

// Leaves the probe screen alone on the manager, under whatever the start-up showed.
inline void ShowProbeScreen()
{
    TMyWindowManager* manager = GetWindowManager();
    manager->DeleteTopWindows();
    while (TMyWindow* screen = manager->TopScreen()) delete manager->RemoveWindow(screen);
    manager->ShowScreen(new TProbeScreen(), false, 0);
}

// Design pixels to the window's pixels, through the game's scale and letterbox offsets.
inline void ToWindow(int x, int y, int* wx, int* wy)
{
    const TAppState& app = GetAppState();
    *wx = static_cast<int>((x + app.mOffsetX) * app.mScaleX);
    *wy = static_cast<int>((y + app.mOffsetY) * app.mScaleY);
}

struct TProbeColor {
    int r = 0, g = 0, b = 0;
    bool operator==(const TProbeColor& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const TProbeColor& o) const { return !(*this == o); }
};

// One frame as the loop draws it, read before it is presented.
class TProbeFrame {
public:
    bool Read()
    {
        SDL_Renderer* renderer = GetRenderer();
        if (!renderer) return false;
        SDL_RenderClear(renderer);
        RenderGame();
        SDL_GetRendererOutputSize(renderer, &mW, &mH);
        mPixels.assign(static_cast<size_t>(mW) * mH, 0);
        SDL_RenderSetScale(renderer, 1.0f, 1.0f);
        const bool read =
            SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, mPixels.data(), mW * 4) == 0;
        SDL_RenderPresent(renderer);
        if (!read) std::fprintf(stderr, "cannot read the frame: %s\n", SDL_GetError());
        return read;
    }
    // The colour at a design point; false outside the window.
    bool At(int x, int y, TProbeColor* out) const
    {
        int wx = 0, wy = 0;
        ToWindow(x, y, &wx, &wy);
        if (wx < 0 || wy < 0 || wx >= mW || wy >= mH) return false;
        const Uint32 v = mPixels[static_cast<size_t>(wy) * mW + wx];
        out->r = (v >> 16) & 0xFF;
        out->g = (v >> 8) & 0xFF;
        out->b = v & 0xFF;
        return true;
    }

private:
    std::vector<Uint32> mPixels;
    int mW = 0;
    int mH = 0;
};

// The button's centre in window pixels; (0, 0) for a dialog without it.
inline void ButtonCentre(TMyWindow* dialog, const char* name, int* x, int* y)
{
    TMyWindow* button = dialog->FindChild(name);
    int ax = 0, ay = 0;
    if (button) button->GetAbsolutePosition(&ax, &ay);
    ToWindow(ax + (button ? button->GetWidth() / 2 : 0), ay + (button ? button->GetHeight() / 2 : 0), x, y);
}

// True once the probe has waited past the limit; says what it waited for ("no answer" ...).
inline bool ProbeGaveUp(Uint32 start, Uint32 limitMs, const char* what)
{
    if (SDL_GetTicks() - start <= limitMs) return false;
    std::printf("%s after %u s\n", what, static_cast<unsigned>(limitMs / 1000));
    return true;
}

// Ends a probe: what it printed reaches the script before the game shuts down.
inline int EndProbe(int status)
{
    std::fflush(stdout);
    QuitGame();
    return status;
}

// The X11 id of the game's window, which the script clicks into; 0 without one.
inline unsigned long ProbeWindowId()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(GetAppState().mWindow, &info) || info.subsystem != SDL_SYSWM_X11) {
        std::printf("no X11 window: %s\n", SDL_GetError());
        return 0;
    }
    return static_cast<unsigned long>(info.info.x11.window);
}
