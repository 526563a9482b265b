// The window manager: owns the screens, dialogs and faders, steps and draws them.
#pragma once
#include <memory>
#include <vector>

#include "ui/window.h"

class TFaderShadow : public TMyWindow {};

class TMyWindowManager {
public:
    ~TMyWindowManager();
    void AddFader(TFaderShadow* fader);
    void ShowScreen(TMyWindow* screen, bool removeOthers, int fader);
    void AddWindow(TMyWindow* window, float delay);
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
