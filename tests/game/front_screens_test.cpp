// The front screens: the logos splash sequence, the main menu with its buttons, dialogs and
// players, the more-games screen and the pause window, on the shipped layouts.
#include "game/front_screens.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "audio_cases.h"
#include "game/help_window.h"
#include "game/level_complete_window.h"
#include "game/map_window.h"
#include "game/options_window.h"
#include "game/profile_fixture.h"
#include "rooms/sound_calls.h"
#include "ui/tutorial_window.h"

namespace {

const float kTick = 1.0f / 16.0f;

class PauseWindowTest : public DialogTest {};

TEST_F(PauseWindowTest, CoversTheScreenAndClosesOnlyOnSpaceOrEscape)
{
    struct TCase {
        int32_t character;
        bool closes;
    };
    const TCase cases[] = {{'a', false}, {13, false}, {32, true}, {27, true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.character);
        TPauseWindow pause;
        EXPECT_EQ(pause.mId, kPauseWindowId);
        EXPECT_EQ(pause.GetWidth(), 1366);
        EXPECT_EQ(pause.GetHeight(), 768);
        pause.OnTextInput(c.character);
        EXPECT_EQ(pause.mClosed, c.closes);
        if (c.closes) {
            EXPECT_EQ(pause.mResultCode, 0);
        }
    }
}

TEST_F(PauseWindowTest, EveryChildIsDisabled)
{
    TPauseWindow pause;
    ASSERT_EQ(pause.mChildren.size(), 2u);
    for (TMyWindow* child : pause.mChildren) EXPECT_TRUE(child->mDisabled);
}

// Splash files in the test's own assets; the window stepped by hand, 1/16 s at a time.
class LogosWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        MakeFolder("branding");
        mManager->AddFader(new TFaderShadow());
    }
    void Splash(const char* name) { SolidPng(std::string("branding/") + name, 80, 40, SDL_Color{250, 250, 250, 255}); }
    void SplashJpg(const char* name) { SolidJpg(std::string("branding/") + name, 80, 40, SDL_Color{250, 250, 250, 255}); }
    // A shown logos window, drawn once so that its sequence runs.
    TLogosWindow* Show()
    {
        auto* logos = new TLogosWindow();
        mManager->ShowScreen(logos, false, 0);
        logos->DrawSelf();
        return logos;
    }
    static std::vector<std::string> Paths(const TLogosWindow& logos)
    {
        std::vector<std::string> paths;
        for (const auto& splash : logos.mSplashes) paths.push_back(splash.mPath);
        return paths;
    }
    TLogWatch mWatch;
};

TEST_F(LogosWindowTest, SplashListTakesConsecutiveNumbersJpegFirst)
{
    struct TCase {
        std::vector<const char*> files;
        std::vector<std::string> expected;
    };
    const TCase cases[] = {
        {{"splash1.png", "splash2.jpg"}, {"branding/splash1.png", "branding/splash2.jpg"}},
        {{"splash1.jpg", "splash3.png"}, {"branding/splash1.jpg"}},
        {{"splash1.jpg", "splash1.png"}, {"branding/splash1.jpg"}},
    };
    for (const TCase& c : cases) {
        ASSERT_EQ(0, system(("rm -f '" + AssetPath("branding") + "'/*").c_str()));
        for (const char* file : c.files) {
            if (std::string(file).find(".jpg") != std::string::npos)
                SplashJpg(file);
            else
                Splash(file);
        }
        TLogosWindow logos;
        EXPECT_EQ(Paths(logos), c.expected) << c.files[0];
        EXPECT_EQ(logos.mState, TLogosWindow::kWaitingForDraw);
        EXPECT_EQ(logos.mIndex, -1);
    }
}

TEST_F(LogosWindowTest, OneSplashFadesInShowsGrowsFadesOutAndPauses)
{
    Splash("splash1.png");
    Splash("splash2.png");
    auto* logos = new TLogosWindow();
    mManager->ShowScreen(logos, false, 0);
    for (int i = 0; i < 10; ++i) logos->Update(kTick);
    EXPECT_EQ(logos->mState, TLogosWindow::kWaitingForDraw);
    EXPECT_FALSE(mWatch.Has("logos next -1"));
    logos->DrawSelf();

    // The time of each change, counted in updates after the first draw.
    float changedAt[5] = {-1, -1, -1, -1, -1};
    float scaleAt2 = 0.0f, scaleBefore2 = 0.0f, scaleAtFadeOutEnd = 0.0f;
    int lastState = TLogosWindow::kWaitingForDraw;
    for (int i = 1; i <= 80; ++i) {
        logos->Update(kTick);
        const float t = static_cast<float>(i) * kTick;
        if (i == 1) {
            EXPECT_TRUE(mWatch.Has("logos next -1"));
        }
        if (logos->mState != lastState) {
            if (logos->mIndex == 1) {
                changedAt[4] = t;
                break;
            }
            changedAt[logos->mState] = t;
            if (logos->mState == TLogosWindow::kPausing) scaleAtFadeOutEnd = logos->mImage.GetScaleX();
            lastState = logos->mState;
        }
        if (std::fabs(t - 1.875f) < 1e-4f) scaleBefore2 = logos->mImage.GetScaleX();
        if (std::fabs(t - 2.5f) < 1e-4f) scaleAt2 = logos->mImage.GetScaleX();
    }
    // Each stage within one update of its length: the timer of a stage counts the update
    // that began it.
    const float tolerance = kTick + 1e-4f;
    EXPECT_NEAR(changedAt[TLogosWindow::kShowing], 1.0f, tolerance);
    EXPECT_NEAR(changedAt[TLogosWindow::kFadingOut] - changedAt[TLogosWindow::kShowing], 2.0f, tolerance);
    EXPECT_NEAR(changedAt[TLogosWindow::kPausing] - changedAt[TLogosWindow::kFadingOut], 1.0f, tolerance);
    EXPECT_NEAR(changedAt[4] - changedAt[TLogosWindow::kPausing], 0.5f, tolerance);
    EXPECT_TRUE(mWatch.Has("logos next 0"));
    EXPECT_FLOAT_EQ(scaleBefore2, 1.0f);
    EXPECT_GT(scaleAt2, 1.0f);
    EXPECT_NEAR(scaleAtFadeOutEnd, 1.1f, 0.01f);
    EXPECT_FLOAT_EQ(logos->mScale.mCurrent, 1.0f);  // the next splash starts at its own size
}

TEST_F(LogosWindowTest, AfterTheLastFadeOutTheMenuIsAskedForOnce)
{
    Splash("splash1.png");
    TLogosWindow* logos = Show();
    int i = 0;
    while (logos->mState != TLogosWindow::kPausing && i++ < 200) {
        logos->Update(kTick);
        if (logos->mState == TLogosWindow::kFadingOut && logos->mImage.IsDone()) break;
    }
    // No pause after the last splash: the update that ends the fade-out asks for the menu.
    EXPECT_EQ(logos->mIndex, TLogosWindow::kMenuRequested);
    EXPECT_TRUE(mWatch.Has("add mainmenu"));
    EXPECT_NE(nullptr, dynamic_cast<TMainMenu*>(mManager->WaitingScreen()));
    EXPECT_NE(nullptr, mManager->ActiveFader());
    logos->ShowNext();
    logos->Update(kTick);
    EXPECT_EQ(mWatch.Count("add mainmenu"), 1u);
    EXPECT_EQ(mWatch.Count("logos next -2"), 0u);
}

TEST_F(LogosWindowTest, PressSkipsOnlyWhileTheSplashFadesInOrShows)
{
    Splash("splash1.png");
    for (int pressState : {TLogosWindow::kFadingIn, TLogosWindow::kShowing, TLogosWindow::kFadingOut,
                           TLogosWindow::kPausing, TLogosWindow::kWaitingForDraw}) {
        SCOPED_TRACE(pressState);
        TLogosWindow logos;
        if (pressState != TLogosWindow::kWaitingForDraw) {
            logos.DrawSelf();
            for (int i = 0; i < 200 && logos.mState != pressState; ++i) logos.Update(kTick);
            ASSERT_EQ(logos.mState, pressState);
            for (int i = 0; i < 3; ++i) logos.Update(kTick);  // into the state a little
            if (pressState == TLogosWindow::kShowing)
                for (int i = 0; i < 18; ++i) logos.Update(kTick);  // past the start of the growth
        }
        const bool growing = logos.mScale.mRunning;
        const float alphaBefore = logos.mImage.mAlpha;
        const int stateBefore = logos.mState;
        logos.OnMouseDown(PointerAt(10, 10, 1));
        const bool skips = pressState == TLogosWindow::kFadingIn || pressState == TLogosWindow::kShowing;
        if (!skips) {
            EXPECT_EQ(logos.mState, stateBefore);
            EXPECT_FLOAT_EQ(logos.mImage.mAlpha, alphaBefore);
            continue;
        }
        EXPECT_EQ(logos.mState, TLogosWindow::kFadingOut);
        EXPECT_FLOAT_EQ(logos.mImage.mAlpha, 1.0f);
        for (int i = 0; i < 8; ++i) logos.Update(kTick);
        EXPECT_NEAR(logos.mImage.mAlpha, 0.0f, 1e-4f);
        EXPECT_EQ(logos.mScale.mRunning || logos.mScale.mCurrent > 1.0f, growing);
        // The fade-out ends after its 0.5 s, and the window asks for the menu.
        logos.Update(kTick);
        EXPECT_EQ(logos.mIndex, TLogosWindow::kMenuRequested);
    }
}

// The main menu on the shipped layouts and pictures, with a real players list.
class MainMenuTest : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        for (const char* shipped : {"mainleft.xml", "mainright.xml"})
            ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + shipped).c_str(), AssetPath(shipped).c_str()));
        mManager->AddFader(new TFaderShadow());
        TMainMenu::ResetFirstShow();
        SetShellOpenHook(nullptr);
    }
    void TearDown() override
    {
        GetAppState().mBoard.reset();  // made by a new game's start
        ProfileTest::TearDown();
    }
    // A new menu as the only screen.
    TMainMenu* ShowMenu()
    {
        auto* menu = new TMainMenu();
        mManager->ShowScreen(menu, false, 0);
        Updates(1);
        Take();
        return menu;
    }
    static void CentreOf(const TMyWindow* widget, int* x, int* y)
    {
        int32_t ax = 0, ay = 0;
        widget->GetAbsolutePosition(&ax, &ay);
        *x = ax + widget->GetWidth() / 2;
        *y = ay + widget->GetHeight() / 2;
    }
    void ClickOn(const TMyWindow* widget)
    {
        ASSERT_NE(nullptr, widget);
        int x = 0, y = 0;
        CentreOf(widget, &x, &y);
        Click(x, y);
    }
    // Runs the manager until the screen change has ended.
    void FinishFade()
    {
        for (int i = 0; i < 40 && mManager->ActiveFader(); ++i) Updates(1);
    }
    template <class T>
    T* Top() const
    {
        return dynamic_cast<T*>(mManager->FindTopModal());
    }
    // The first player's profile as its file holds it.
    static std::unique_ptr<TUserInfo> StoredProfile()
    {
        std::unique_ptr<TUserInfo> stored(new TUserInfo());
        EXPECT_TRUE(stored->Load("user:user1"));
        return stored;
    }
    void ExpectMapAfterFade()
    {
        FinishFade();
        EXPECT_NE(nullptr, dynamic_cast<TMapWindow*>(mManager->TopScreen()));
    }
    void StartedLevel(bool started)
    {
        GetUserInfo()->CurrentModeProgress().mFlag3 = started ? 1 : 0;
        ASSERT_TRUE(Settings()->SaveCurrentUser());
    }
};

TEST_F(MainMenuTest, FirstMenuOfARunGreetsAndClearsEveryDialog)
{
    mManager->AddWindow(new TMessageBoxOkWindow(nullptr, "quit", "sureexit", -1), 0.0f);
    mManager->AddWindow(new TMessageBoxOkWindow(nullptr, "quit", "sureexit", -1), 5.0f);
    Updates(1);
    ASSERT_EQ(mManager->TopWindowCount(), 1);
    ASSERT_EQ(mManager->PendingCount(), 1);
    auto* menu = new TMainMenu();
    TRecordedSoundCalls calls;
    mManager->ShowScreen(menu, false, 0);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
    EXPECT_EQ(mManager->PendingCount(), 0);
    EXPECT_EQ(std::count(mLog.begin(), mLog.end(), "sound gamename"), 1);
    EXPECT_EQ(std::count(calls.mCalls.begin(), calls.mCalls.end(), "music mainmenu"), 1);
    EXPECT_EQ(menu->mLeftPaint.mState, EffectBrisaloPaint::kPainting);
    EXPECT_EQ(menu->mRightPaint.mState, EffectBrisaloPaint::kPainting);
    EXPECT_FALSE(menu->mLeftPaint.mRows.empty());
    mLog.clear();

    mManager->ShowScreen(new TMainMenu(), true, 1);
    FinishFade();
    EXPECT_NE(menu, mManager->TopScreen());
    EXPECT_EQ(std::count(mLog.begin(), mLog.end(), "sound gamename"), 0);
}

TEST_F(MainMenuTest, TheMenuMusicRunsOnWhenTheMenuComesBack)
{
    // The shipped sounds and music, playing on OpenAL's null output.
    UseSoundOutput(nullptr);
    for (const char* name : {"sounds.xml", "sounds", "music"})
        ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + name).c_str(), AssetPath(name).c_str()));
    ASSERT_TRUE(GetSoundManager()->LoadSounds("sounds.xml"));
    {
        TRecordedSoundCalls calls;
        ShowMenu();
        EXPECT_EQ(std::count(calls.mCalls.begin(), calls.mCalls.end(), "music mainmenu"), 1);
        EXPECT_TRUE(GetSoundManager()->IsMusicPlaying("mainmenu"));
        // Back from another screen: the music runs on.
        mManager->ShowScreen(new TMainMenu(), true, 1);
        FinishFade();
        EXPECT_EQ(std::count(calls.mCalls.begin(), calls.mCalls.end(), "music mainmenu"), 1);
    }
    ReleaseSoundForNextTest();
}

TEST_F(MainMenuTest, PlayWithNoPlayerAsksForANameThenStartsAfresh)
{
    TMainMenu* menu = ShowMenu();
    ClickOn(menu->mPlay);
    auto* entry = NameWindow();
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(entry->mId, 101);
    EXPECT_EQ(entry->mFlyListener, menu);
    ASSERT_NE(nullptr, menu->mShadow);
    EXPECT_FLOAT_EQ(menu->mShadow->mTargetAlpha, 0.6f);
    for (const char* c : {"A", "d", "a"}) Type(c);
    Click(kNameOkX, kSmallButtonsY);
    Updates(8);

    ASSERT_EQ(Settings()->UserCount(), 1);
    EXPECT_EQ(Settings()->UserName(0), "Ada");
    EXPECT_EQ(Settings()->Users()[0].mId, 1);
    EXPECT_EQ(Settings()->CurrentUserIndex(), 0);
    EXPECT_EQ(StoredProfile()->mDifficulty, 0);
    EXPECT_EQ(StoredProfile()->mMode, 0);
    ExpectMapAfterFade();
}

TEST_F(MainMenuTest, PlayResetsAPlayerWhoNeverStartedALevel)
{
    AddUsers({"Bo"});
    GetUserInfo()->mMusicVolume = 0.9f;
    GetUserInfo()->AddPair("IHelpShown", "fill");
    StartedLevel(false);
    TMainMenu* menu = ShowMenu();
    EXPECT_FLOAT_EQ(GetUserInfo()->mMusicVolume, 0.9f);  // the menu reloads the stored profile
    ClickOn(menu->mPlay);
    std::unique_ptr<TUserInfo> stored = StoredProfile();
    TUserInfo fresh;
    fresh.ResetDefaults();
    EXPECT_FLOAT_EQ(stored->mMusicVolume, fresh.mMusicVolume);
    EXPECT_TRUE(stored->Pairs().empty());
    EXPECT_EQ(stored->mDifficulty, 0);
    ExpectMapAfterFade();
}

// A started player whose profile no longer loads reads as never started: Play starts afresh,
// and the log names the profile and where its damaged bytes are kept.
TEST_F(MainMenuTest, PlayOverADamagedProfileSaysWhereItsBytesAreKept)
{
    AddUsers({"Bo"});
    StartedLevel(true);
    std::string damaged = ReadWholeFile(UserFile("user1"));
    damaged[10] ^= 0x55;
    ASSERT_TRUE(WriteWholeFile(UserFile("user1"), damaged));
    Settings()->SelectUser(0);  // as a new run finds it
    TMainMenu* menu = ShowMenu();
    ClickOn(menu->mPlay);
    EXPECT_EQ(mWatch.Count("profile user:user1 could not be read and starts afresh; its damaged copy is kept as " +
                           UserFile("user1.bad")),
              1u)
        << mWatch.Text();
    EXPECT_EQ(ReadWholeFile(UserFile("user1.bad")), damaged);
    EXPECT_TRUE(StoredProfile()->Pairs().empty());
    ExpectMapAfterFade();
}

TEST_F(MainMenuTest, PlayOpensTheMapAsItIsForAStartedPlayer)
{
    AddUsers({"Bo"});
    GetUserInfo()->mMusicVolume = 0.9f;
    StartedLevel(true);
    const std::string before = ReadWholeFile(UserFile("user1"));
    TMainMenu* menu = ShowMenu();
    ClickOn(menu->mPlay);
    ExpectMapAfterFade();
    EXPECT_EQ(ReadWholeFile(UserFile("user1")), before);
}

TEST_F(MainMenuTest, ButtonsRestWhileAScreenChangesOrADialogIsOpen)
{
    AddUsers({"Bo"});
    StartedLevel(true);
    TMainMenu* menu = ShowMenu();
    mManager->AddWindow(new TMessageBoxOkWindow(nullptr, "quit", "sureexit", -1), 0.0f);
    Updates(1);
    for (TMyButton* button : {menu->mExit, menu->mOptions, menu->mProfiles, menu->mPlay})
        menu->OnButtonClick(menu->mId, menu, 0, button);
    EXPECT_EQ(mManager->TopWindowCount(), 1);
    EXPECT_EQ(nullptr, mManager->WaitingScreen());
    mManager->DeleteTopWindows();

    // "Not you?" during the darkening after Play: the profile window would outlive its menu.
    ClickOn(menu->mPlay);
    ASSERT_NE(nullptr, mManager->ActiveFader());
    ClickOn(menu->mNotYouLabel);
    menu->OnButtonClick(menu->mId, menu, 0, menu->mExit);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
    EXPECT_EQ(mManager->PendingCount(), 0);
    ExpectMapAfterFade();
    EXPECT_EQ(mManager->TopWindowCount(), 0);
}

TEST_F(MainMenuTest, NotYouOpensTheProfilesWhenTheMenuIsIdle)
{
    AddUsers({"Bo"});
    TMainMenu* menu = ShowMenu();
    ClickOn(menu->mNotYouLabel);
    Updates(2);
    auto* profiles = Top<TSelectUserWindow>();
    ASSERT_NE(nullptr, profiles);
    EXPECT_EQ(profiles->mFlyListener, menu);
}

TEST_F(MainMenuTest, OptionsOpenWithoutShadowHelpWithOne)
{
    TMainMenu* menu = ShowMenu();
    ClickOn(menu->mOptions);
    Updates(8);
    auto* options = Top<TOptionsWindow>();
    ASSERT_NE(nullptr, options);
    EXPECT_EQ(nullptr, options->mFlyListener);
    EXPECT_EQ(nullptr, menu->mShadow);
    mManager->DeleteTopWindows();

    ClickOn(menu->mHelp);
    Updates(8);
    auto* help = Top<THelpWindow>();
    ASSERT_NE(nullptr, help);
    EXPECT_EQ(help->mFlyListener, menu);
    ASSERT_NE(nullptr, menu->mShadow);
    EXPECT_TRUE(menu->mShadow->mStay);
}

TEST_F(MainMenuTest, ExitBoxQuitsOnlyOnOk)
{
    TMainMenu* menu = ShowMenu();
    ClickOn(menu->mExit);
    Updates(8);
    auto* box = Top<TMessageBoxOkCancelWindow>();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(box->mId, 20);
    EXPECT_EQ(box->mFlyListener, menu);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_Event e;
    menu->OnFlyClosed(box, 20, 2);
    EXPECT_EQ(0, SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT));
    menu->OnFlyClosed(box, 20, 1);
    ASSERT_EQ(1, SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT));
    EXPECT_EQ(e.type, static_cast<uint32_t>(SDL_QUIT));
}

TEST_F(MainMenuTest, ProfileWindowChoiceSelectsThePlayer)
{
    AddUsers({"Ann", "Bob"});
    TMainMenu* menu = ShowMenu();
    ASSERT_EQ(Settings()->CurrentUserIndex(), 1);
    TSelectUserWindow profiles(menu);
    profiles.mSelectedIndex = 0;
    profiles.mChoiceMade = false;
    menu->OnFlyClosed(&profiles, 305, 3);
    EXPECT_EQ(Settings()->CurrentUserIndex(), 1);
    profiles.mChoiceMade = true;
    menu->OnFlyClosed(&profiles, 305, 3);
    EXPECT_EQ(Settings()->CurrentUserIndex(), 0);
}

TEST_F(MainMenuTest, PlayersWithNoneCurrentGetTheFirstSelected)
{
    AddUsers({"Ann", "Bob", "Cy"});
    Settings()->DeleteUser(2);
    ASSERT_EQ(Settings()->CurrentUserIndex(), -1);
    TMainMenu* menu = ShowMenu();
    EXPECT_EQ(Settings()->CurrentUserIndex(), 0);
    EXPECT_TRUE(mWatch.Has("no current user: first user selected"));
    ASSERT_NE(nullptr, menu->mNameLabel);
    EXPECT_EQ(menu->mNameLabel->mText, L"Ann");
    ASSERT_EQ(0, remove(UserFile("user1").c_str()));
    ClickOn(menu->mPlay);
    EXPECT_TRUE(PathExists(UserFile("user1")));
}

TEST_F(MainMenuTest, NameLabelShowsStoredNamesAsTyped)
{
    AddUsers({"\xD0\x96\xD0\xBE\xD1\x80\xD0\xB0"});
    TMainMenu* menu = ShowMenu();
    ASSERT_NE(nullptr, menu->mNameLabel);
    EXPECT_EQ(menu->mNameLabel->mText, L"\u0416\u043E\u0440\u0430");
}

TEST_F(MainMenuTest, ALayoutWithOnlyPlayBuildsAndRuns)
{
    ASSERT_EQ(0, remove(AssetPath("ui").c_str()));
    MakeFolder("ui");
    ASSERT_EQ(0, system(("for f in '" + std::string(BRISALO_ASSETS) + "'/ui/*; do ln -s \"$f\" '" + AssetPath("ui") +
                         "'/; done")
                            .c_str()));
    ASSERT_EQ(0, remove(AssetPath("ui/mainmenu.xml").c_str()));
    WriteWholeFile(AssetPath("ui/mainmenu.xml"),
                   "<layout><object name=\"window\" type=\"window\" x=\"683\" y=\"384\" w=\"1366\" h=\"768\"/>"
                   "<object name=\"main_play\" type=\"button\" style=\"btnlarge\" x=\"563\" y=\"300\" text=\"btn_play\"/>"
                   "</layout>");
    TMainMenu* menu = ShowMenu();
    EXPECT_EQ(nullptr, menu->mNameLabel);
    EXPECT_EQ(nullptr, menu->mExit);
    Updates(4);
    mManager->Draw();
    ClickOn(menu->mPlay);
    EXPECT_NE(nullptr, NameWindow());
}

std::vector<std::string>& OpenedPages()
{
    static std::vector<std::string> pages;
    return pages;
}

TEST_F(MainMenuTest, MoreGamesOpensItsTwoPagesAndGoesBack)
{
    OpenedPages().clear();
    SetShellOpenHook([](const std::string& address) { OpenedPages().push_back(address); });
    auto* more = new TMoreGamesWindow();
    mManager->ShowScreen(more, false, 0);
    ASSERT_EQ(more->mAddresses.size(), 2u);
    more->OnButtonClick(0, more, 10, nullptr);
    more->OnButtonClick(0, more, 11, nullptr);
    more->OnButtonClick(0, more, 7, nullptr);
    EXPECT_EQ(OpenedPages(), (std::vector<std::string>{more->Holder()->Find("zeb")->mParam,
                                                       more->Holder()->Find("zuv")->mParam}));
    EXPECT_EQ(OpenedPages()[0].compare(0, 8, "https://"), 0);
    EXPECT_EQ(nullptr, mManager->WaitingScreen());
    more->OnButtonClick(0, more, 1, nullptr);
    EXPECT_NE(nullptr, dynamic_cast<TMainMenu*>(mManager->WaitingScreen()));
    SetShellOpenHook(nullptr);
}

}  // namespace
