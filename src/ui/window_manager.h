// The window manager: owns the screens, dialogs and faders, steps and draws them.
#pragma once
#include <memory>
#include <vector>

#include "ui/window.h"

struct TInputEvent;

class TFaderShadow : public TMyWindow {};

class TMyWindowManager {
public:
    ~TMyWindowManager();
    void AddFader(TFaderShadow* fader);
    void ShowScreen(TMyWindow* screen, bool removeOthers, int fader);
    void AddWindow(TMyWindow* window, float delay);
    // Takes the first window with the id out and hands it back; null when none has it.
    std::unique_ptr<TMyWindow> CloseWindow(int id);
    void SetAllPaused(bool paused);
    void HandleEvent(const TInputEvent& event);
    void ReloadTextures();
    void Update(float dt);
    void Draw();

    const std::vector<std::unique_ptr<TMyWindow>>& Windows() const { return mWindows; }
    int FaderCount() const { return static_cast<int>(mFaders.size()); }

private:
    std::vector<std::unique_ptr<TFaderShadow>> mFaders;
    std::vector<std::unique_ptr<TMyWindow>> mWindows;
};

// Created on first use and kept in the application state.
TMyWindowManager* GetWindowManager();
void DestroyWindowManager();
