#include "core/settings.h"

#include "core/app_state.h"

TSettings* CreateSettings(const std::string& /*name*/)
{
    TAppState& app = GetAppState();
    if (!app.mSettings) app.mSettings = new TMySettings();
    return app.mSettings;
}
