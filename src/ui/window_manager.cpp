#include "ui/window_manager.h"

#include "core/app_state.h"

TMyWindowManager::~TMyWindowManager() = default;

void TMyWindowManager::AddFader(TFaderShadow* fader) { mFaders.emplace_back(fader); }

void TMyWindowManager::ShowScreen(TMyWindow* screen, bool /*removeOthers*/, int /*fader*/)
{
    mWindows.emplace_back(screen);
}

void TMyWindowManager::AddWindow(TMyWindow* window, float /*delay*/) { mWindows.emplace_back(window); }

std::unique_ptr<TMyWindow> TMyWindowManager::CloseWindow(int id)
{
    for (auto it = mWindows.begin(); it != mWindows.end(); ++it) {
        if ((*it)->mId == id) {
            std::unique_ptr<TMyWindow> window = std::move(*it);
            mWindows.erase(it);
            return window;
        }
    }
    return nullptr;
}

void TMyWindowManager::SetAllPaused(bool paused)
{
    for (auto& w : mWindows) w->SetPaused(paused);
}

// Seam: no widgets take input yet.
void TMyWindowManager::HandleEvent(const TInputEvent& /*event*/) {}

// Seam: only a direct3d renderer loses its textures, and this game never runs on one.
void TMyWindowManager::ReloadTextures() {}

void TMyWindowManager::Update(float dt)
{
    for (auto& w : mWindows)
        if (!w->IsPaused()) w->Update(dt);
}

void TMyWindowManager::Draw()
{
    for (auto& w : mWindows) w->Draw();
}

void DeleteOwned(TMyWindowManager* windows) { delete windows; }

TMyWindowManager* GetWindowManager()
{
    TAppState& app = GetAppState();
    if (!app.mWindowManager) app.mWindowManager.reset(new TMyWindowManager());
    return app.mWindowManager.get();
}

void DestroyWindowManager() { GetAppState().mWindowManager.reset(); }
