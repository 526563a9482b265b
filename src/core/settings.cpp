#include "core/settings.h"

#include "core/app_state.h"
#include "core/display.h"
#include "core/system.h"

void TMySettings::Apply() { UpdateDisplay(mFullscreen, true); }

void TMySettings::ReadFullscreenFromWindow() { mFullscreen = IsWindowFullscreen(); }

bool TMySettings::ReapplyDisplayMode()
{
    if (TSystem* sys = GetSystem()) sys->SetDisplayMode(kDesignWidth, kDesignHeight, IsWindowFullscreen());
    mDisplayChangePending = false;
    return true;
}

void TMySettings::UpdateDisplay(bool fullscreen, bool apply)
{
    UpdateDisplayState(fullscreen, apply);
    if (apply) ReadFullscreenFromWindow();
}

TSettings* CreateSettings(const std::string& /*name*/)
{
    TAppState& app = GetAppState();
    if (!app.mSettings) app.mSettings = new TMySettings();
    return app.mSettings;
}
