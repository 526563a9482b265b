#include "game/options_window.h"

#include <memory>

#include "core/app_state.h"
#include "core/numbers.h"
#include "core/text.h"
#include "game/user_info.h"
#include "sound/sound_manager.h"
#include "ui/button.h"
#include "ui/cursors.h"
#include "ui/slider.h"
#include "ui/window_manager.h"

TOptionsWindow::TOptionsWindow(const std::string& layoutFile, TFlyWindowListener* listener)
    : TFlyWindow(listener, true, layoutFile)
{
    mId = kId;
    mFullscreen = dynamic_cast<TMyButton*>(FindChild("fullscreen"));
    mWidescreen = dynamic_cast<TMyButton*>(FindChild("widescreen"));
    mCustomCursor = dynamic_cast<TMyButton*>(FindChild("customcursor"));
    mMenu = dynamic_cast<TMyButton*>(FindChild("menu"));
    mOk = dynamic_cast<TMyButton*>(FindChild("ok"));
    mDifficulty = dynamic_cast<TMyButton*>(FindChild("difficulty"));

    const TProfileSaver* settings = GetProfileSaver();
    if (mFullscreen) mFullscreen->mTicked = settings && settings->IsFullscreen();
    if (mWidescreen) mWidescreen->mTicked = !(settings && settings->IsDisplayChangePending());
    if (mCustomCursor) mCustomCursor->mTicked = GetCursors() && GetCursors()->IsCustomMode();

    if (const TUserInfo* user = GetUserInfo()) {
        const std::pair<int, float> values[] = {{kMusic, user->mMusicVolume},
                                                {kSound, user->mSoundVolume},
                                                {kVoice, user->mVoiceVolume},
                                                {kFourth, user->mFourthVolume}};
        for (const auto& [id, value] : values)
            if (auto* slider = dynamic_cast<TBaseSlider*>(FindChildById(id))) slider->SetValue(value);
    }
}

TOptionsWindow::~TOptionsWindow()
{
    if (!mMenuMusicStarted) return;
    if (TSoundManager* sound = FindSoundManager()) sound->StopAllMusic();
}

bool TOptionsWindow::Update(float dt)
{
    const bool closed = TFlyWindow::Update(dt);
    // Follows a fullscreen change made elsewhere (a key, the window manager).
    if (mFullscreen) {
        const TProfileSaver* settings = GetProfileSaver();
        mFullscreen->mTicked = settings && settings->IsFullscreen();
    }
    return closed;
}

void TOptionsWindow::OnButtonClicking(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* /*button*/,
                                      bool* allow)
{
    mResultCode = buttonId;
    if (buttonId != kFullscreenId) return;
    const TProfileSaver* settings = GetProfileSaver();
    // A screen this small cannot show the game windowed.
    if (settings && settings->IsFullscreen() && GetAppState().mHeightBeforeStart <= 600) {
        if (allow) *allow = false;
        if (TMyWindowManager* manager = GetWindowManager())
            manager->AddWindow(new TMessageBoxOkWindow(nullptr, "", "wrongresolution", -1), 0.0f);
    }
}

void TOptionsWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* button)
{
    mResultCode = buttonId;
    if (!button) return;
    TProfileSaver* settings = GetProfileSaver();
    if (button == mMenu) {
        Close(mResultCode);
    } else if (button == mOk) {
        if (settings) settings->CommitUser();
        Close(mResultCode);
    } else if (button == mFullscreen) {
        if (settings) settings->ToggleFullscreen();
    } else if (button == mCustomCursor) {
        if (TGameCursors* cursors = GetCursors()) cursors->SetCustomMode(button->mTicked);
        if (settings) settings->SetCustomCursor(button->mTicked);
    }
}

void TOptionsWindow::OnSliderChanged(int id, float value, TBaseSlider* /*slider*/)
{
    TUserInfo* user = GetUserInfo();
    TSoundManager* sound = FindSoundManager();
    switch (id) {
    case kMusic:
        if (sound && !sound->IsAnyMusicPlaying()) {
            mMenuMusicStarted = true;
            sound->PlayMusic("mainmenu");
        }
        if (user) user->mMusicVolume = value;
        if (sound) sound->SetMusicVolume(value);
        break;
    case kSound:
        if (user) user->mSoundVolume = value;
        if (sound) sound->SetSoundVolume(value, 0);
        break;
    case kVoice:
        if (user) user->mVoiceVolume = value;
        if (sound) sound->SetSoundVolume(value, 1);
        break;
    case kFourth:
        if (user) user->mFourthVolume = value;
        if (sound) sound->SetSoundVolume(value, 2);
        break;
    default:
        break;
    }
}

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
