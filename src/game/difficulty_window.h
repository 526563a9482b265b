// The difficulty dialog: the three presets and the custom values, written to the player's
// profile when applied.
#pragma once
#include <cstdint>
#include <vector>

#include "game/difficulty.h"
#include "ui/classic_window.h"
#include "ui/slider.h"

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
