#include "game/user_name_window.h"

#include "game/profile_fixture.h"

class UserNameWindowTest : public ProfileTest {
protected:
    TUserNameWindow* Open()
    {
        ShowUserNameWindow(&mFly);
        TUserNameWindow* window = NameWindow();
        Take();
        return window;
    }
};

TEST_F(UserNameWindowTest, AcceptsLatinCyrillicLettersAndDigitsOnly)
{
    TUserNameWindow window(nullptr);
    for (int c : std::initializer_list<int>{'a', 'z', 'A', 'Z', '0', '9', 0x410, 0x416, 0x44F}) EXPECT_TRUE(window.AcceptChar(0, c)) << c;
    for (int c : std::initializer_list<int>{' ', '-', '_', 0xE9, 0x401, 0x451, '@', 0x40F, 0x450}) EXPECT_FALSE(window.AcceptChar(0, c)) << c;
}

TEST_F(UserNameWindowTest, TypingReplacesTheDefaultAndStopsAtTen)
{
    TUserNameWindow* window = Open();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->mEdit, nullptr);
    EXPECT_EQ(window->mEdit->mText, L"Player");
    for (const char* c : {"A", "n", "n", " ", "a", "-", "2", "3", "4", "5", "6", "7", "8"}) Type(c);
    EXPECT_EQ(window->mEdit->mText, L"Anna234567");
    EXPECT_EQ(window->GetName(), "Anna234567");
}

TEST_F(UserNameWindowTest, ConfirmNeedsANameCancelDoesNot)
{
    TUserNameWindow* window = Open();
    ASSERT_NE(window, nullptr);
    window->mEdit->SetText(L"", true);
    Click(kNameOkX, kSmallButtonsY);
    Updates(8);
    EXPECT_EQ(window->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(Take(), TLog{});

    Type("M");
    Click(kNameOkX, kSmallButtonsY);
    Updates(8);
    EXPECT_EQ(Take(), (TLog{"fly button 101 1", "sound flywindow", "fly closing 101", "fly closed 101 result 1",
                            "window hidden 101"}));

    Open();
    Click(kNameCancelX, kSmallButtonsY);
    Updates(8);
    TLog log = Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "fly closed 101 result 2"), log.end());
}

TEST_F(UserNameWindowTest, TextInputRunsWhileTheWindowLives)
{
    SDL_StopTextInput();
    {
        TUserNameWindow window(nullptr);
        EXPECT_TRUE(SDL_IsTextInputActive());
    }
    EXPECT_FALSE(SDL_IsTextInputActive());
}
