// Whole-program check under a real X server: the game's start-up and frame loop in its real
// window, an empty screen, and the quit question over it. Prints where its buttons are once
// it has arrived and which one closed it; tests/x11/message_box_click.sh clicks them.
#include <SDL.h>

#include <cstdio>
#include <vector>

#include "app/app.h"
#include "app/task.h"
#include "core/app_state.h"
#include "core/display.h"
#include "ui/classic_window.h"
#include "ui/window_manager.h"

// Last: the X11 headers it pulls in define macros that clash with our names.
#include <SDL_syswm.h>

namespace {

bool gScreenPressed = false;

// The only screen: a press that reaches it went past the dialog.
class TProbeScreen : public TClassicWindow {
public:
    TProbeScreen() : TClassicWindow("", false) { SetRect(0, 0, 1366, 768); }
    void OnMouseDown(const TMouseEvent&) override { gScreenPressed = true; }
};

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

// Design pixels to the window's pixels, through the game's scale and letterbox offsets.
void ToWindow(int x, int y, int* wx, int* wy)
{
    const TAppState& app = GetAppState();
    *wx = static_cast<int>((x + app.mOffsetX) * app.mScaleX);
    *wy = static_cast<int>((y + app.mOffsetY) * app.mScaleY);
}

struct TProbeColor {
    int r = 0, g = 0, b = 0;
};

// Draws one frame as the loop does and reads the two pixels before it is presented.
bool ReadFramePixels(TProbeColor* panel, TProbeColor* outside)
{
    SDL_Renderer* renderer = GetRenderer();
    if (!renderer) return false;
    SDL_RenderClear(renderer);
    RenderGame();
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    std::vector<Uint32> pixels(static_cast<size_t>(w) * h);
    SDL_RenderSetScale(renderer, 1.0f, 1.0f);
    const bool read = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), w * 4) == 0;
    SDL_RenderPresent(renderer);
    if (!read) {
        std::fprintf(stderr, "cannot read the frame: %s\n", SDL_GetError());
        return false;
    }
    auto at = [&](int x, int y, TProbeColor* out) {
        int wx = 0, wy = 0;
        ToWindow(x, y, &wx, &wy);
        if (wx < 0 || wy < 0 || wx >= w || wy >= h) return false;
        const Uint32 v = pixels[static_cast<size_t>(wy) * w + wx];
        out->r = (v >> 16) & 0xFF;
        out->g = (v >> 8) & 0xFF;
        out->b = v & 0xFF;
        return true;
    };
    return at(683, 329, panel) && at(200, 600, outside);
}

void ButtonCentre(TFlyWindow* box, const char* name, int* x, int* y)
{
    TMyWindow* button = box->FindChild(name);
    int ax = 0, ay = 0;
    if (button) button->GetAbsolutePosition(&ax, &ay);
    ToWindow(ax + (button ? button->GetWidth() / 2 : 0), ay + (button ? button->GetHeight() / 2 : 0), x, y);
}

}  // namespace

int main()
{
    if (!StartGame()) {
        std::fprintf(stderr, "start-up failed\n");
        return 2;
    }
    TAppState& app = GetAppState();
    TMyWindowManager* manager = GetWindowManager();
    manager->DeleteTopWindows();
    while (TMyWindow* screen = manager->TopScreen()) delete manager->RemoveWindow(screen);
    manager->ShowScreen(new TProbeScreen(), false, 0);
    TProbeListener listener;
    manager->AddWindow(new TMessageBoxOkCancelWindow(&listener, "quit", "sureexit", 20), 0);

    int status = 0;
    bool reported = false;
    const Uint32 start = SDL_GetTicks();
    while (!app.mQuit) {
        RunFrame();
        if (gScreenPressed) {
            std::printf("a press reached the screen beneath the box\n");
            status = 1;
            break;
        }
        if (listener.mShown && !reported && listener.mBox) {
            reported = true;
            TProbeColor panel, outside;
            if (!ReadFramePixels(&panel, &outside)) {
                status = 1;
                break;
            }
            if (panel.r != 36 || panel.g != 44 || panel.b != 66 || outside.r || outside.g || outside.b) {
                std::printf("box drawn wrongly: panel %d,%d,%d outside %d,%d,%d\n", panel.r, panel.g, panel.b,
                            outside.r, outside.g, outside.b);
                status = 1;
                break;
            }
            SDL_SysWMinfo info;
            SDL_VERSION(&info.version);
            if (!SDL_GetWindowWMInfo(app.mWindow, &info) || info.subsystem != SDL_SYSWM_X11) {
                std::printf("no X11 window: %s\n", SDL_GetError());
                status = 1;
                break;
            }
            int okX = 0, okY = 0, cancelX = 0, cancelY = 0;
            ButtonCentre(listener.mBox, "ok", &okX, &okY);
            ButtonCentre(listener.mBox, "cancel", &cancelX, &cancelY);
            std::printf("shown window=%lu ok=%d,%d cancel=%d,%d\n", static_cast<unsigned long>(info.info.x11.window),
                        okX, okY, cancelX, cancelY);
            std::fflush(stdout);
        }
        if (listener.mClosed) {
            std::printf("closed id=%d result=%d\n", listener.mId, listener.mResult);
            break;
        }
        if (SDL_GetTicks() - start > 30000) {
            std::printf("no answer after 30 s\n");
            status = 1;
            break;
        }
        SDL_Delay(5);
    }
    std::fflush(stdout);
    QuitGame();
    return status;
}
