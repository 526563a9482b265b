#include "game/difficulty_window.h"

#include <memory>

#include "core/numbers.h"
#include "core/text.h"
#include "game/user_info.h"
#include "ui/button.h"

TSelectDifficultyModeWindow::TSelectDifficultyModeWindow(TFlyWindowListener* listener)
    : TFlyWindow(listener, true, "ui/selectdifficultymode.xml")
{
    mId = kId;
    TUserInfo* user = GetUserInfo();
    if (user->mPreset) mPreset = *user->mPreset;
    mMode = user->mDifficulty;

    const char* const modeBoxes[] = {"casualcb", "normalcb", "expertcb", "customcb"};
    for (int i = 0; i < 4; ++i) mModeBoxes[i] = dynamic_cast<TMyButton*>(FindChild(modeBoxes[i]));
    for (int i = 1;; ++i) {
        auto* label = dynamic_cast<TSimpleTextImage*>(FindChild(FormatString("usual%d", i)));
        if (!label) break;
        mDescriptions.push_back(label);
    }

    const TDifficultyRanges* ranges = GetDifficultyRanges();
    mFill = FindGroup("colorfillrechargebtn", "colorfillrechargesld", "colorfillrechargelbl",
                      ranges->fillcolorrechargemin, ranges->fillcolorrechargemax);
    mErrors = FindGroup("errorsbtn", "errorssld", "errorlblvle", ranges->errorsmin, ranges->errorsmax);
    // The clock's slider runs over the seconds-per-cell range, yet its value goes to "usetimer".
    mTimer = FindGroup("usetimerbtn", "usetimersld", "usetimerlblvle", ranges->secsperonecellmin,
                       ranges->secsperonecellmax);

    TBasePaintByNumberSettings start = mPreset;
    if (mMode == kNoneChosen) {
        // A player who never chose sees casual, with the custom rows at their defaults.
        start = ranges->Preset(kCustom);
        mMode = kCasual;
    }
    InitGroup(mFill, static_cast<float>(start.fillcolorrecharge));
    InitGroup(mErrors, static_cast<float>(start.maxerrorscount));
    InitGroup(mTimer, static_cast<float>(start.usetimer));
    Select(mMode);
}

TSelectDifficultyModeWindow::TCustomGroup TSelectDifficultyModeWindow::FindGroup(const char* box, const char* slider,
                                                                                  const char* label, int32_t min,
                                                                                  int32_t max)
{
    TCustomGroup group;
    group.mBox = dynamic_cast<TMyButton*>(FindChild(box));
    group.mSlider = dynamic_cast<TBaseSlider*>(FindChild(slider));
    group.mLabel = dynamic_cast<TSimpleTextImage*>(FindChild(label));
    if (group.mSlider) {
        group.mSlider->mRangeMin = static_cast<float>(min);
        group.mSlider->mRangeMax = static_cast<float>(max);
    }
    return group;
}

void TSelectDifficultyModeWindow::InitGroup(TCustomGroup& group, float value)
{
    if (group.mBox) group.mBox->mTicked = value != 0.0f;
    if (TBaseSlider* slider = group.mSlider) {
        slider->mVisible = group.Ticked();
        // In float, as the slider reads it back: every whole value of the range returns unchanged.
        const float min = slider->mRangeMin;
        const float max = slider->mRangeMax;
        slider->SetValue(max != min ? (value - min) / (max - min) : 0.0f);
    }
    ShowValue(group, value);
}

void TSelectDifficultyModeWindow::ShowValue(TCustomGroup& group, float value)
{
    if (!group.mLabel) return;
    const int whole = TruncToInt(value);
    if (whole == 0) {
        group.mLabel->SetTextKey("off_txt");
    } else {
        group.mLabel->ClearText();
        group.mLabel->SetPlainText(FormatString("%d", whole));
    }
}

void TSelectDifficultyModeWindow::FollowBox(TCustomGroup& group)
{
    if (group.mSlider) group.mSlider->mVisible = group.Ticked();
    ShowValue(group, group.Ticked() && group.mSlider ? group.mSlider->GetRangeValue() : 0.0f);
}

void TSelectDifficultyModeWindow::Select(int mode)
{
    for (int i = 0; i < 4; ++i)
        if (mModeBoxes[i]) mModeBoxes[i]->mTicked = i == mode;
    const bool custom = mode == kCustom;
    for (TCustomGroup* group : {&mTimer, &mFill, &mErrors}) {
        if (group->mBox) group->mBox->mVisible = custom;
        if (group->mLabel) group->mLabel->mVisible = custom;
        if (group->mSlider) group->mSlider->mVisible = custom && group->Ticked();
    }
    const char* const keys[] = {"dif_casual", "dif_normal", "dif_expert"};
    for (size_t i = 0; i < mDescriptions.size(); ++i) {
        mDescriptions[i]->mVisible = !custom;
        if (!custom && mode >= 0 && mode < 3)
            mDescriptions[i]->SetTextKey(FormatString("%s%d", keys[mode], static_cast<int>(i + 1)));
    }
}

void TSelectDifficultyModeWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId,
                                                TMyButton* /*button*/)
{
    mResultCode = buttonId;
    switch (buttonId) {
    case 1:
    case 2:
    case 3:
    case 4:
        mMode = buttonId - 1;
        Select(mMode);
        break;
    case kTimerBox:
        FollowBox(mTimer);
        break;
    case kFillBox:
        FollowBox(mFill);
        break;
    case kErrorsBox:
        FollowBox(mErrors);
        break;
    case kCancel:
        Close(kCancel);
        break;
    case kApply:
        Close(kApply);
        Apply();
        break;
    default:
        break;
    }
}

void TSelectDifficultyModeWindow::OnSliderChanged(int /*id*/, float value, TBaseSlider* slider)
{
    if (!slider) return;
    for (TCustomGroup* group : {&mTimer, &mFill, &mErrors})
        if (group->mSlider == slider) ShowValue(*group, value);
}

void TSelectDifficultyModeWindow::Apply()
{
    TUserInfo* user = GetUserInfo();
    if (!user->mPreset) user->mPreset = std::make_unique<TBasePaintByNumberSettings>();
    TBasePaintByNumberSettings& preset = *user->mPreset;
    if (mMode == kCustom) {
        auto chosen = [](const TCustomGroup& group) {
            return group.Ticked() && group.mSlider ? static_cast<int32_t>(TruncToInt(group.mSlider->GetRangeValue()))
                                                   : 0;
        };
        preset.fillcolorrecharge = chosen(mFill);
        preset.maxerrorscount = chosen(mErrors);
        preset.usetimer = chosen(mTimer);
    } else {
        const TBasePaintByNumberSettings chosen = GetDifficultyRanges()->Preset(mMode);
        preset.usetimer = chosen.usetimer;
        preset.fillcolorrecharge = chosen.fillcolorrecharge;
        preset.maxerrorscount = chosen.maxerrorscount;
        preset.secsperonecell = chosen.secsperonecell;
    }
    if (TBaseUserInfoListener* listener = user->GetListener()) listener->OnUserInfoChanged();
    user->mDifficulty = mMode;
    SaveCurrentUserProfile();
}
