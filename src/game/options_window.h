// The options dialog (fullscreen, the game cursor, the volumes; works with no listener), and the
// difficulty dialog.
#pragma once
#include <string>
#include <vector>

#include "game/difficulty.h"
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

// The difficulty dialog: casual, normal or expert, or custom values for the clock, the fill
// recharge and the error marks. Only its apply button (-1) writes the choice to the profile.
class TSelectDifficultyModeWindow : public TFlyWindow {
public:
    enum {
        kId = 11,
        kCasual = 0,
        kNormal = 1,
        kExpert = 2,
        kCustom = 3,
        kNoneChosen = 4,
        kTimerBox = 101,
        kFillBox = 102,
        kErrorsBox = 103,
        kApply = -1,
        kCancel = -2,
    };

    // One custom value: its check box, its slider over the value's range and its value label.
    struct TCustomGroup {
        TMyButton* mBox = nullptr;
        TBaseSlider* mSlider = nullptr;
        TSimpleTextImage* mLabel = nullptr;
        bool Ticked() const { return mBox && mBox->mTicked; }
    };

    explicit TSelectDifficultyModeWindow(TFlyWindowListener* listener);

    // Ticks the mode's box and shows what belongs to it: the custom rows, or the descriptions.
    void Select(int mode);
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    void OnSliderChanged(int id, float value, TBaseSlider* slider) override;

    int mMode = kCasual;
    TMyButton* mModeBoxes[4] = {};  // casual, normal, expert, custom
    TCustomGroup mTimer;
    TCustomGroup mFill;
    TCustomGroup mErrors;
    std::vector<TSimpleTextImage*> mDescriptions;  // "usual1", "usual2", ... up to the first gap
    TBasePaintByNumberSettings mPreset;            // the profile's, as the dialog opened

private:
    TCustomGroup FindGroup(const char* box, const char* slider, const char* label, int32_t min, int32_t max);
    void InitGroup(TCustomGroup& group, float value);
    // The slider shows exactly while the box is ticked; the label the slider's value, or off.
    void FollowBox(TCustomGroup& group);
    void ShowValue(TCustomGroup& group, float value);
    void Apply();
};
