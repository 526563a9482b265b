// The options dialog: fullscreen, the game cursor, the volumes; works with no listener.
#pragma once
#include <string>

#include "ui/classic_window.h"
#include "ui/slider.h"

class TOptionsWindow : public TFlyWindow {
public:
    enum { kId = 24, kFullscreenId = 2, kMusic = 5, kSound = 6, kVoice = 9, kFourth = 10 };
    TOptionsWindow(const std::string& layoutFile, TFlyWindowListener* listener);
    ~TOptionsWindow() override;

    bool Update(float dt) override;
    void OnButtonClicking(int parentId, TMyWindow* parent, int buttonId, TMyButton* button, bool* allow) override;
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    void OnSliderChanged(int id, float value, TBaseSlider* slider) override;

    // Any of them may be missing from a layout.
    TMyButton* mFullscreen = nullptr;
    TMyButton* mWidescreen = nullptr;
    TMyButton* mCustomCursor = nullptr;
    TMyButton* mMenu = nullptr;
    TMyButton* mOk = nullptr;
    TMyButton* mDifficulty = nullptr;
    bool mMenuMusicStarted = false;
};
