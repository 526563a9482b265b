// The profile dialogs on the shipped layouts, fonts and texts, with a real players list in
// a temporary user folder, and the points of their buttons and lines on a 1366 x 768 canvas.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "game/select_user_window.h"
#include "game/user_info.h"
#include "game/user_list.h"
#include "game/user_name_window.h"
#include "graphics/font_manager.h"
#include "log_watch.h"
#include "ui/dialog_fixture.h"

// Reads the picked index and the choice when the profile window has closed.
struct TProfileSpy : TFlyWindowListener {
    TLog* mLog;
    explicit TProfileSpy(TLog* log) : mLog(log) {}
    void OnFlyClosed(TFlyWindow* window, int id, int result) override
    {
        std::string line = "closed " + std::to_string(id) + " result " + std::to_string(result);
        if (TSelectUserWindow* profiles = dynamic_cast<TSelectUserWindow*>(window))
            line += " choice " + std::to_string(profiles->mChoiceMade) + " selected " +
                    std::to_string(profiles->mSelectedIndex);
        mLog->push_back(line);
    }
};

class ProfileTest : public DialogTest {
protected:
    // The profile panel is 520 x 460, the name panel and the boxes 520 x 260, all centred.
    static constexpr int kProfileLeft = 683 - 260, kProfileTop = 384 - 230;
    static constexpr int kSmallLeft = 683 - 260, kSmallTop = 384 - 130;
    static constexpr int kCreateX = kProfileLeft + 17 + 75, kDeleteX = kProfileLeft + 185 + 75;
    static constexpr int kOkX = kProfileLeft + 353 + 75, kProfileButtonsY = kProfileTop + 386 + 22;
    static constexpr int kNameOkX = kSmallLeft + 95 + 75, kNameCancelX = kSmallLeft + 275 + 75;
    static constexpr int kSmallButtonsY = kSmallTop + 196 + 22;
    static constexpr int kBoxOkX = kSmallLeft + 185 + 75;  // the single button of an OK box
    static int LineY(int line) { return kProfileTop + 70 + 48 * (line - 1) + 22; }

    void SetUp() override
    {
        DialogTest::SetUp();
        for (const char* shipped : {"fonts", "fonts.xml"})
            ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + shipped).c_str(), AssetPath(shipped).c_str()));
        ASSERT_TRUE(TFontManager::Instance()->Load(LoadXmlDocument("fonts.xml")));
        DeleteCurrentXmlDocument();
        GetUserInfo()->ResetDefaults();
        CreateSettings("mysettings");
        SetUserList(GetSettingsUserList());
        SDL_StartTextInput();
    }
    void TearDown() override
    {
        // The windows go before the fonts, and the fonts before the canvas counts textures.
        DestroyWindowManager();
        TFontManager::Destroy();
        DialogTest::TearDown();
        SetUserList(nullptr);
        GetAppState().mSettings.reset();
        GetUserInfo()->ResetDefaults();
    }

    TMySettings* Settings() { return static_cast<TMySettings*>(GetAppState().mSettings.get()); }
    std::string UserFile(const std::string& name) const { return mUsers.UserFolder() + "/" + name; }
    void AddUsers(std::initializer_list<const char*> names)
    {
        for (const char* name : names) Settings()->AddUser(name);
    }
    // A profile window shown and ready for clicks.
    TSelectUserWindow* OpenProfiles()
    {
        auto* window = new TSelectUserWindow(&mSpy);
        mManager->AddWindow(window, 0);
        Updates(2);
        Take();
        return window;
    }
    // The name dialog on top, flown in.
    TUserNameWindow* NameWindow()
    {
        Updates(8);
        return dynamic_cast<TUserNameWindow*>(mManager->FindTopModal());
    }
    // The message box on top, flown in: "<key> id <id>", or "none".
    std::string TopBox()
    {
        Updates(8);
        auto* box = dynamic_cast<TMessageBoxWindow*>(mManager->FindTopModal());
        if (!box || !box->mMessage) return "none";
        return box->mMessage->mKey + " id " + std::to_string(box->mId);
    }
    void Type(const char* utf8)
    {
        Push(Text(utf8));
        RunFrame();
    }
    static std::wstring Line(TSelectUserWindow* window, int i) { return window->mLines[i] ? window->mLines[i]->mText : L"-"; }
    static bool DeleteDisabled(TSelectUserWindow* window) { return window->mDeleteButton->mDisabled; }

    // Made before the user folder moves: the log stays in the folder the run started with.
    TLogWatch mWatch;
    TUserFolderScope mUsers;
    TProfileSpy mSpy{&mLog};
};
