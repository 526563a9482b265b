#include "ui/window_manager.h"

#include "core/app_state.h"

TMyWindowManager::~TMyWindowManager() = default;

void TMyWindowManager::AddFader(TFaderShadow* fader) { mFaders.emplace_back(fader); }

void TMyWindowManager::ShowScreen(TMyWindow* screen, bool /*removeOthers*/, int /*fader*/)
{
    mWindows.emplace_back(screen);
}

void TMyWindowManager::AddWindow(TMyWindow* window, float /*delay*/) { mWindows.emplace_back(window); }

void TMyWindowManager::Update(float dt)
{
    for (auto& w : mWindows) w->Update(dt);
}

void TMyWindowManager::Draw()
{
    for (auto& w : mWindows) w->Draw();
}

TMyWindowManager* GetWindowManager()
{
    TAppState& app = GetAppState();
    if (!app.mWindowManager) app.mWindowManager = new TMyWindowManager();
    return app.mWindowManager;
}

void DestroyWindowManager()
{
    TAppState& app = GetAppState();
    delete app.mWindowManager;
    app.mWindowManager = nullptr;
}
