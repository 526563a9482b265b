#include "game/front_screens.h"

#include <SDL.h>

#include <cstdio>

#include "core/display.h"
#include "core/logger.h"
#include "core/system.h"
#include "core/text.h"
#include "core/virtual_files.h"
#include "core/xml_document.h"
#include "game/board.h"
#include "game/help_window.h"
#include "game/level_complete_window.h"
#include "game/map_window.h"
#include "game/options_window.h"
#include "game/select_user_window.h"
#include "game/user_info.h"
#include "game/user_list.h"
#include "game/user_name_window.h"
#include "sound/sound_manager.h"
#include "ui/button.h"
#include "ui/text_image.h"
#include "ui/tutorial_window.h"
#include "ui/ui_info_holder.h"
#include "ui/window_manager.h"

namespace {

const int kMainMenuId = 5;
const int kExitBoxId = 20;

// Every screen change goes through the darkening shadow, the old screen leaving with it.
void ReplaceScreen(TMyWindow* screen) { GetWindowManager()->ShowScreen(screen, true, 1); }

std::string SplashPath(int n, const char* extension)
{
    char path[64];
    std::snprintf(path, sizeof(path), "branding/splash%d.%s", n, extension);
    return path;
}

bool gFirstMenuShow = true;

}  // namespace

TLogosWindow::TLogosWindow() : TClassicWindow("", false)
{
    GetLogger()->LogMessage("LogosWindow start constructor");
    SetRect(0, 0, GetLayoutWidth(), GetLayoutHeight());
    for (int n = 1;; ++n) {
        std::string path = SplashPath(n, "jpg");
        if (!FileExists(path)) path = SplashPath(n, "png");
        if (!FileExists(path)) break;
        mSplashes.push_back(TSplash{path, 2.0f});
    }
    mScale.SetValue(1.0f);
    GetLogger()->LogMessage("LogosWindow end constructor");
}

bool TLogosWindow::Update(float dt)
{
    mScale.Update(dt);
    mImage.SetScale(mScale.mCurrent);
    if (!mWasDrawn) return false;
    if (mState == kWaitingForDraw) ShowNext();

    if (mImage.Update(dt)) {
        // The timer restarts only with the change: states 1 and 3 count on it.
        if (mState == kFadingIn) {
            mState = kShowing;
            mTimer = 0.0f;
        } else if (mState == kFadingOut) {
            mState = kPausing;
            mTimer = 0.0f;
        }
    }
    if (mState == kShowing && mIndex >= 0 && mIndex < static_cast<int>(mSplashes.size())) {
        const float showTime = mSplashes[static_cast<size_t>(mIndex)].mShowTime;
        mTimer += dt;
        if (mTimer >= showTime / 2.0f && !mScale.mRunning) mScale.Set(1.0f, 1.1f, showTime, true);
        if (mTimer >= showTime) {
            mImage.StartFade(1.0f, 0.0f, 1.0f);
            mState = kFadingOut;
        }
    } else if (mState == kPausing) {
        mTimer += dt;
        if (mTimer >= 0.5f || mIndex + 1 >= static_cast<int>(mSplashes.size())) ShowNext();
    }
    return false;
}

void TLogosWindow::DrawSelf()
{
    mWasDrawn = true;
    mImage.Draw(1.0f);
}

void TLogosWindow::OnMouseDown(const TMouseEvent& /*event*/)
{
    if (mState != kFadingIn && mState != kShowing) return;
    mImage.StartFade(1.0f, 0.0f, 0.5f);
    mState = kFadingOut;
}

void TLogosWindow::ShowNext()
{
    if (mIndex == kMenuRequested) return;
    GetLogger()->LogMessage("logos next %d", mIndex);
    ++mIndex;
    if (mIndex < static_cast<int>(mSplashes.size())) {
        mImage.SetTexture(mSplashes[static_cast<size_t>(mIndex)].mPath);
        mImage.SetPosition(static_cast<float>(GetLayoutWidth() / 2), static_cast<float>(GetLayoutHeight() / 2), true);
        mImage.StartFade(0.0f, 1.0f, 1.0f);
        mScale.SetValue(1.0f);
        mState = kFadingIn;
        return;
    }
    mIndex = kMenuRequested;
    mImage.FreeTexture();
    GetLogger()->LogMessage("add mainmenu");
    ReplaceScreen(new TMainMenu());
}

TMainMenu::TMainMenu() : TClassicWindow("ui/mainmenu.xml", true)
{
    GetLogger()->LogMessage("mainmenu start constructor");
    mId = kMainMenuId;
    if (TUserList* users = GetUserList()) {
        // Players with none current (the current one deleted, or a stored index the settings
        // refused): everything the player does would be saved nowhere.
        if (users->UserCount() > 0 && users->CurrentUserIndex() == -1) {
            users->SelectUser(0);
            GetLogger()->LogMessage("no current user: first user selected");
        } else {
            users->LoadCurrentUser();
        }
    }
    auto button = [this](const char* name) { return dynamic_cast<TMyButton*>(FindChild(name)); };
    mPlay = button("main_play");
    mHelp = button("main_help");
    mOptions = button("main_options");
    mExit = button("main_exit");
    mMoreGames = button("main_moregames");
    mProfiles = button("main_profiles");
    mNameLabel = dynamic_cast<TSimpleTextImage*>(FindChild("namelbl"));
    mNotYouLabel = dynamic_cast<TSimpleTextImage*>(FindChild("notyoulbl"));
    if (mNameLabel) mNameLabel->ClearText();
    if (mNotYouLabel) mNotYouLabel->SetListener(this);

    mRoom.LoadFromXml("mainmenu.xml");
    mRoom.LoadObjectResources(0);

    if (TiXmlElement* root = LoadXmlDocument("mainleft.xml")) mLeftPaint.LoadXml(root);
    DeleteCurrentXmlDocument();
    if (TiXmlElement* root = LoadXmlDocument("mainright.xml")) mRightPaint.LoadXml(root);
    DeleteCurrentXmlDocument();
    GetLogger()->LogMessage("mainmenu end constructor");
}

TMainMenu::~TMainMenu() = default;

void TMainMenu::ResetFirstShow() { gFirstMenuShow = true; }

bool TMainMenu::Update(float dt)
{
    TClassicWindow::Update(dt);
    if (mShadow) {
        mShadow->Update(dt);
        if (mShadow->mDone) mShadow.reset();
    }
    mRoom.Update(dt);
    if (mNameLabel) {
        TUserList* users = GetUserList();
        if (users && users->UserCount() > 0)
            mNameLabel->mText = WidenStoredName(users->UserName(users->CurrentUserIndex()));
        else
            mNameLabel->ClearText();
    }
    mLeftPaint.Update(dt);
    mRightPaint.Update(dt);
    return false;
}

void TMainMenu::DrawSelf()
{
    TClassicWindow::DrawSelf();
    mRoom.Draw();
    mLeftPaint.Draw(1.0f);
    mRightPaint.Draw(1.0f);
}

void TMainMenu::DrawOver()
{
    if (mShadow) mShadow->Draw();
}

// Replaces the classic show whole: the children are not told and nothing fades in; the
// room's show selects the cursor.
void TMainMenu::OnShown()
{
    GetWindowManager()->DeleteTopWindows();
    if (gFirstMenuShow) {
        PlaySoundByName("gamename");
        gFirstMenuShow = false;
    }
    if (TSoundManager* sound = FindSoundManager()) {
        if (!sound->IsMusicPlaying("mainmenu")) sound->PlayMusic("mainmenu");
    }
    mRoom.mShowRequest = true;
    mRoom.OnShow();
    mLeftPaint.Start(0);
    mRightPaint.Start(0);
}

bool TMainMenu::IsBusy() const
{
    const TMyWindowManager* manager = GetWindowManager();
    return manager->ActiveFader() != nullptr || manager->TopWindowCount() > 0;
}

void TMainMenu::OpenProfiles() { GetWindowManager()->AddWindow(new TSelectUserWindow(this), 0.0f); }

void TMainMenu::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* button)
{
    if (!button || IsBusy()) return;
    TMyWindowManager* manager = GetWindowManager();
    if (button == mPlay) {
        TUserList* users = GetUserList();
        if (!users || users->UserCount() == 0) {
            ShowUserNameWindow(this);
        } else if (!GetUserInfo()->CurrentModeProgress().mFlag3) {
            GetUserInfo()->mMode = 0;
            StartNewGame();
        } else {
            ReplaceScreen(new TMapWindow());
        }
    } else if (button == mOptions) {
        manager->AddWindow(new TOptionsWindow("ui/options.xml", nullptr), 0.0f);
    } else if (button == mHelp) {
        manager->AddWindow(new THelpWindow(this), 0.0f);
    } else if (button == mExit) {
        manager->AddWindow(new TMessageBoxOkCancelWindow(this, "quit", "sureexit", kExitBoxId), 0.0f);
    } else if (button == mMoreGames) {
        ReplaceScreen(new TMoreGamesWindow());
    } else if (button == mProfiles) {
        OpenProfiles();
    }
}

void TMainMenu::OnWindowMouseUp(TMyWindow* widget, const TMouseEvent& /*event*/)
{
    // Under the buttons' guard: a profile window opened while the menu is being replaced
    // would report to a deleted menu.
    if (widget && widget == mNotYouLabel && !IsBusy()) OpenProfiles();
}

void TMainMenu::OnFlyClosed(TFlyWindow* window, int id, int result)
{
    TUserList* users = GetUserList();
    if (id == kExitBoxId) {
        if (result == 1) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    } else if (id == TSelectUserWindow::kId) {
        auto* profiles = dynamic_cast<TSelectUserWindow*>(window);
        if (profiles && profiles->mChoiceMade && users) users->SelectUser(profiles->mSelectedIndex);
    } else if (id == TUserNameWindow::kId && result == 1) {
        auto* entry = dynamic_cast<TUserNameWindow*>(window);
        if (!entry || !users) return;
        users->AddUser(entry->GetName());
        users->LoadCurrentUser();
        StartNewGame();
    }
}

void TMainMenu::OnFlyWindowShown(TFlyWindow* /*window*/, int /*id*/)
{
    mShadow.reset(new TShadow());
    mShadow->mTargetAlpha = 0.6f;
    mShadow->mStay = true;
    mShadow->FadeIn();
}

void TMainMenu::OnFlyWindowHidden(TFlyWindow* /*window*/, int /*id*/)
{
    if (mShadow) mShadow->FadeOut();
}

void StartNewGame()
{
    TUserInfo* user = GetUserInfo();
    user->mMode = 0;
    GetBoard();
    // A profile that failed to load reads as never started: say what is written over it.
    if (!user->mDamagedPath.empty()) {
        if (!user->mDamagedKeptAs.empty())
            GetLogger()->LogMessage("profile %s could not be read and starts afresh; its damaged copy is kept as %s",
                                    user->mDamagedPath.c_str(), user->mDamagedKeptAs.c_str());
        else
            GetLogger()->LogMessage("profile %s could not be read and starts afresh; its damaged copy could not be kept",
                                    user->mDamagedPath.c_str());
    }
    if (TUserList* users = GetUserList()) users->ResetCurrentUser();
    if (user->mDifficulty == 4) {
        user->mDifficulty = 0;
        SaveCurrentUserProfile();
    }
    ReplaceScreen(new TMapWindow());
}

TMoreGamesWindow::TMoreGamesWindow() : TClassicWindow("ui/moregames.xml", true)
{
    for (const char* name : {"zeb", "zuv"}) {
        const TUIBaseBox* element = Holder() ? Holder()->Find(name) : nullptr;
        mAddresses.push_back(element ? element->mParam : std::string());
    }
}

void TMoreGamesWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* /*button*/)
{
    if (buttonId == 1) {
        ReplaceScreen(new TMainMenu());
    } else if (buttonId == 10 || buttonId == 11) {
        GetSystem();
        ShellOpen(mAddresses[buttonId == 10 ? 0 : 1]);
    }
}

TPauseWindow::TPauseWindow() : TClassicWindow("ui/pause.xml", true)
{
    mId = kPauseWindowId;
    // Its widgets only decorate the overlay: nothing on it may react to a click.
    SetChildrenDisabled(true);
}

void TPauseWindow::OnTextInput(int32_t character)
{
    if (character == 32 || character == 27) Close(0);
}
