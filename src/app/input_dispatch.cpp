#include "app/input_dispatch.h"

#include "app/settings.h"
#include "core/app_state.h"
#include "core/logger.h"
#include "game/front_screens.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/window_manager.h"

namespace {

class TAppInputHost : public TInputHost {
public:
    bool IsFullscreenChosen() const override
    {
        TSettings* settings = GetAppState().mSettings.get();
        return !settings || settings->IsFullscreen();
    }
    void ReloadTextures() override
    {
        if (TMyWindowManager* windows = GetAppState().mWindowManager.get()) windows->ReloadTextures();
    }
};

TAppInputHost gAppInputHost;

}  // namespace

TInputHost* GetAppInputHost() { return &gAppInputHost; }

bool DispatchEvent(const TInputEvent& original)
{
    TAppState& app = GetAppState();
    TInputEvent event = original;
    if (app.mApp) MapToDesign(&event);
    TGameCursors* cursors = GetGameCursors();

    if (event.mType == kInputLeave) cursors->SetInside(false);
    if (event.mType == kInputQuit) {
        SDL_Event quit;
        SDL_zero(quit);
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        return false;
    }
    if (event.mType == kInputMove) {
        cursors->SetInside(true);
        cursors->SetMousePosition(event.mX, event.mY);
    }
    if (event.mType == kInputFocus) {
        app.mActive = event.mParam != 0;
        GetLogger()->LogMessage(app.mActive ? "Got Focus" : "Lost Focus");
        if (TSoundManager* sound = GetSoundManager()) sound->PauseAll(!app.mActive);
        TMyWindowManager* windows = GetWindowManager();
        if (!app.mActive) {
            windows->SetAllPaused(true);
            // A second loss without a gain in between (the desktop can send both) must not
            // stack another pause window: one gain closes only one, and the other would stay.
            if (!windows->FindWindow(kPauseWindowId)) windows->AddWindow(new TPauseWindow(), 0.0f);
        } else {
            windows->CloseWindow(kPauseWindowId);  // handed back and deleted here
            windows->SetAllPaused(false);
        }
    }
    // Drawn cursors follow every move; the system cursor is told on clicks as well.
    if (!cursors->IsCustomMode() && (event.mType == kInputLeftDown || event.mType == kInputLeftUp))
        cursors->SetMousePosition(event.mX, event.mY);
    GetWindowManager()->HandleEvent(event);
    return true;
}
