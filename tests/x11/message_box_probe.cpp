// Whole-program check under a real X server: the game's start-up and frame loop in its real
// window, an empty screen, and the quit question over it. Prints where its buttons are once
// it has arrived and which one closed it; tests/x11/message_box_click.sh clicks them.
#include <cstdio>

#include "probe_support.h"

namespace {

// Draws one frame and reads a pixel of the panel and one beside the box.
bool ReadFramePixels(TProbeColor* panel, TProbeColor* outside)
{
    TProbeFrame frame;
    return frame.Read() && frame.At(683, 329, panel) && frame.At(200, 600, outside);
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
    ShowProbeScreen();
    TProbeListener listener;
    manager->AddWindow(new TMessageBoxOkCancelWindow(&listener, "quit", "sureexit", 20), 0);

    int status = 0;
    bool reported = false;
    const Uint32 start = SDL_GetTicks();
    while (!app.mQuit) {
        RunFrame();
        if (ProbeScreenPressed()) {
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
            const unsigned long window = ProbeWindowId();
            if (!window) {
                status = 1;
                break;
            }
            int okX = 0, okY = 0, cancelX = 0, cancelY = 0;
            ButtonCentre(listener.mBox, "ok", &okX, &okY);
            ButtonCentre(listener.mBox, "cancel", &cancelX, &cancelY);
            std::printf("shown window=%lu ok=%d,%d cancel=%d,%d\n", window, okX, okY, cancelX, cancelY);
            std::fflush(stdout);
        }
        if (listener.mClosed) {
            std::printf("closed id=%d result=%d\n", listener.mId, listener.mResult);
            break;
        }
        if (ProbeGaveUp(start, 30000, "no answer")) {
            status = 1;
            break;
        }
        SDL_Delay(5);
    }
    return EndProbe(status);
}
