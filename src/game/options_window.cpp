#include "game/options_window.h"

#include "core/app_state.h"
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
    if (mCustomCursor) mCustomCursor->mTicked = GetGameCursors()->IsCustomMode();

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
        GetGameCursors()->SetCustomMode(button->mTicked);
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
