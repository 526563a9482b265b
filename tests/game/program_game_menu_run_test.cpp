// Whole-program test: a player who has seen every tip paints a few cells of the first level and
// then drives the in-game menu with real SDL clicks: the music volume saved from the options,
// expert chosen in the difficulty dialog and followed by the board at once, replay, the level
// map, and quitting to the main menu after the question; and a focus change under the open
// menu, which must not set the board's clock going.
#include <string>

#include "app/settings.h"
#include "audio_cases.h"
#include "core/virtual_files.h"
#include "game/difficulty_window.h"
#include "game/front_screens.h"
#include "game/game_menu_window.h"
#include "game/help_window.h"
#include "game/level_complete_window.h"
#include "game/map_window.h"
#include "game/options_window.h"
#include "game/picture_grid.h"
#include "game/room_window.h"
#include "game/tilesets.h"
#include "game/user_info.h"
#include "program_fixture.h"
#include "ui/window_manager.h"

namespace {

const char* const kTips[] = {
    "TipMoveToPaint", "TipUseRightMouse",     "TipDoubleToFill", "TipFillAllToComplete",   "TipChangeColor",
    "TipUseArrowsToScroll", "TipChangeScale", "TipChangeBackColor", "TipScaleFit",         "TipMapClickToPlay",
    "TipMapClickToNextStage", "TipMapLockedCities",
};

// Each channel within a little of the expected colour: the frame is scaled to the window.
::testing::AssertionResult Near(SDL_Color got, SDL_Color want)
{
    auto off = [](int a, int b) { return a > b ? a - b : b - a; };
    if (off(got.r, want.r) <= 6 && off(got.g, want.g) <= 6 && off(got.b, want.b) <= 6)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << int(got.r) << "," << int(got.g) << "," << int(got.b) << " want "
                                         << int(want.r) << "," << int(want.g) << "," << int(want.b);
}

class ProgramGameMenuRun : public TProgramRunTest {
protected:
    TMyWindowManager* Manager() { return GetWindowManager(); }
    template <class T>
    T* Window(int id)
    {
        return dynamic_cast<T*>(Manager()->FindWindow(id));
    }
    // Runs until the dialog has flown in and takes clicks.
    void Arrive(TFlyWindow* window)
    {
        for (int i = 0; i < 300 && (Manager()->IsPending(window) || window->GetState() != TFlyWindow::kShown); ++i)
            Frame();
        ASSERT_EQ(window->GetState(), TFlyWindow::kShown);
    }
    void WaitGone(int id)
    {
        for (int i = 0; i < 300 && Manager()->FindWindow(id); ++i) Frame();
        ASSERT_EQ(Manager()->FindWindow(id), nullptr) << id;
    }
    void WaitPlaying()
    {
        for (int i = 0; i < 400 && (Board()->mState != TBoardMahjong::kStatePlaying || Manager()->ActiveFader()); ++i)
            Frame();
        ASSERT_EQ(Board()->mState, TBoardMahjong::kStatePlaying);
        Frames(30);
    }
    TGameMenuWindow* OpenMenu()
    {
        ClickWidget(Board()->mMenuButton);
        auto* menu = Window<TGameMenuWindow>(TGameMenuWindow::kId);
        if (menu) Arrive(menu);
        return menu;
    }
    // Opens the room window as the level map does, on stage 0 level 0.
    void OpenFirstLevel()
    {
        TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
        progress.mStage = 0;
        progress.mLevel = 0;
        Manager()->ShowScreen(new TRoomWindow(), true, 1);
        WaitPlaying();
    }
    // A new player "Jo" who has seen every tip, on the first level.
    void StartOnTheFirstLevel()
    {
        ASSERT_TRUE(Start());
        ASSERT_TRUE(GetAppState().mSettings->AddUser("Jo"));
        for (const char* tip : kTips) GetUserInfo()->AddPair("IHelpShown", tip);
        OpenFirstLevel();
    }
    std::string ProfileFile() { return mUser.UserFolder() + "/user" + GetAppState().mSettings->CurrentUserIdText(); }
    int PaintedCells()
    {
        TPaintByNumber& picture = Board()->mPicture;
        int painted = 0;
        for (int r = 0; r < picture.GetRowCount(); ++r)
            for (int c = 0; c < picture.GetColumnCount(); ++c)
                painted += picture.GetCell(c, r)->IsVisible() && picture.GetCell(c, r)->GetPainted() != TPictureGrid::kUnpainted ? 1 : 0;
        return painted;
    }
    int VisibleErrorMarks()
    {
        int shown = 0;
        for (TMyImage* mark : Board()->mErrorMarks) shown += mark->mVisible ? 1 : 0;
        return shown;
    }
};

TEST_F(ProgramGameMenuRun, MenuDialogsChangeTheProfileAndTheBoardAndLeadToEveryScreen)
{
    ASSERT_NO_FATAL_FAILURE(StartOnTheFirstLevel());

    // A few cells of colour 0.
    TPaintByNumber& picture = Board()->mPicture;
    const int unpainted = PaintedCells();
    SelectSwatch(0);
    int done = 0;
    for (int r = 0; r < picture.GetRowCount() && done < 3; ++r)
        for (int c = 0; c < picture.GetColumnCount() && done < 3; ++c)
            if (picture.GetCell(c, r)->IsVisible() && picture.GetCell(c, r)->GetNumber() == 0) {
                int x = 0, y = 0;
                CellPoint(c, r, &x, &y);
                Click(x, y);
                ++done;
            }
    ASSERT_EQ(PaintedCells(), unpainted + 3);
    const std::string progressFile = picture.GetProgressPath();
    ASSERT_TRUE(FileExists(progressFile));

    // The menu as it arrives: the button column and the first tileset's preview.
    TGameMenuWindow* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    Shot("game_menu_e2e.png");
    const int mx = menu->GetX(), my = menu->GetY();
    const SDL_Color button = FilePixel(std::string(BRISALO_ASSETS) + "/textures/gui/buttons/large.png", 10, 28);
    for (int k = 0; k < 7; ++k) EXPECT_TRUE(Near(ScreenPixel(mx + 50, my + 107 + 65 * k), button)) << "button " << k;
    const std::string previews = std::string(BRISALO_ASSETS) + "/textures/tilesets/preview";
    // The centre, and a point of the frame round the tiles, where the two previews differ.
    EXPECT_TRUE(Near(ScreenPixel(mx + 470, my + 250), FilePixel(previews + "classic.png", -1, -1)));
    EXPECT_TRUE(Near(ScreenPixel(mx + 393, my + 250), FilePixel(previews + "classic.png", 3, 50)));
    ASSERT_TRUE(menu->mNext && menu->mPrev);
    EXPECT_TRUE(menu->mNext->mVisible && menu->mPrev->mVisible) << "the board's game type has two tilesets";
    EXPECT_TRUE(menu->mPrev->mDisabled);
    ClickChild(menu, "next");
    EXPECT_TRUE(Near(ScreenPixel(mx + 470, my + 250), FilePixel(previews + "pastel.png", -1, -1)));
    EXPECT_TRUE(Near(ScreenPixel(mx + 393, my + 250), FilePixel(previews + "pastel.png", 3, 50)));
    EXPECT_EQ(CurrentTilesetIndex(), 1);
    Shot("game_menu_e2e_next.png");

    // Options: the music slider at a quarter, then OK saves the profile.
    ClickChild(menu, "gamemenu_options");
    auto* options = Window<TOptionsWindow>(TOptionsWindow::kId);
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(menu->mVisible);
    Arrive(options);
    Shot("game_menu_e2e_options.png");
    auto* music = dynamic_cast<TBaseSlider*>(options->FindChildById(TOptionsWindow::kMusic));
    ASSERT_NE(music, nullptr);
    ASSERT_EQ(music->TrackWidth() % 4, 0);
    // At this window's scale (1024 pixels for 1366) not every design x can be pointed at;
    // the quarter point of the shipped slider can.
    int sx = 0, sy = 0;
    music->GetAbsolutePosition(&sx, &sy);
    Click(sx + music->mTrackInsetX + music->TrackWidth() / 4, sy + music->GetHeight() / 2);
    EXPECT_FLOAT_EQ(GetUserInfo()->mMusicVolume, 0.25f);
    ClickChild(options, "ok");
    WaitGone(TOptionsWindow::kId);
    EXPECT_TRUE(menu->mVisible);
    {
        const std::string bytes = ReadWholeFile(ProfileFile());
        ASSERT_GE(bytes.size(), 12u);
        EXPECT_EQ(bytes.substr(8, 4), HexBytes("FA 00 00 00"));
    }
    ClickChild(menu, "gamemenu_continue");
    WaitGone(TGameMenuWindow::kId);

    // Expert: saved at once, and the board shows its error marks before the menu is gone.
    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    ClickChild(menu, "gamemenu_changedifficulty");
    auto* difficulty = Window<TSelectDifficultyModeWindow>(TSelectDifficultyModeWindow::kId);
    ASSERT_NE(difficulty, nullptr);
    EXPECT_TRUE(menu->mVisible);
    Arrive(difficulty);
    ClickChild(difficulty, "customcb");
    Shot("game_menu_e2e_custom.png");
    ClickChild(difficulty, "expertcb");
    ClickChild(difficulty, "apply");
    EXPECT_EQ(VisibleErrorMarks(), 5);
    WaitGone(TSelectDifficultyModeWindow::kId);
    {
        const std::string bytes = ReadWholeFile(ProfileFile());
        ASSERT_GE(bytes.size(), 16u);
        TUserInfo saved;
        ASSERT_TRUE(saved.Load("user:user" + GetAppState().mSettings->CurrentUserIdText()));
        EXPECT_EQ(saved.mDifficulty, 2);
        EXPECT_EQ(bytes.substr(bytes.size() - 16),
                  HexBytes("3C 00 00 00 01 00 00 00 05 00 00 00 D0 07 00 00"));
    }
    ClickChild(menu, "gamemenu_continue");
    WaitGone(TGameMenuWindow::kId);
    Frames(10);
    ASSERT_NE(Board()->mTimerLabel, nullptr);
    EXPECT_TRUE(Board()->mTimerLabel->mVisible);

    // Replay: the painting is gone.
    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    ClickChild(menu, "gamemenu_replay");
    WaitGone(TGameMenuWindow::kId);
    WaitPlaying();
    EXPECT_FALSE(FileExists(progressFile));
    EXPECT_EQ(PaintedCells(), unpainted);

    // Select level: the level map.
    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    ClickChild(menu, "gamemenu_selectlevel");
    WaitGone(TGameMenuWindow::kId);
    for (int i = 0; i < 300 && !dynamic_cast<TMapWindow*>(Manager()->TopScreen()); ++i) Frame();
    EXPECT_NE(dynamic_cast<TMapWindow*>(Manager()->TopScreen()), nullptr);

    // Back on a level: Quit, Yes leads to the main menu.
    OpenFirstLevel();
    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    ClickChild(menu, "gamemenu_quit");
    auto* question = Window<TFlyWindow>(TGameMenuWindow::kQuitQuestionId);
    ASSERT_NE(question, nullptr);
    Arrive(question);
    ClickChild(question, "yes");
    WaitGone(TGameMenuWindow::kId);
    for (int i = 0; i < 300 && !dynamic_cast<TMainMenu*>(Manager()->TopScreen()); ++i) Frame();
    EXPECT_NE(dynamic_cast<TMainMenu*>(Manager()->TopScreen()), nullptr);
}

// The player is not billed for time under an open dialog: the focus going and coming back
// under the menu, its options or its help leaves the board held until the menu is gone.
TEST_F(ProgramGameMenuRun, FocusReturnUnderAnOpenMenuLeavesTheBoardStill)
{
    ASSERT_NO_FATAL_FAILURE(StartOnTheFirstLevel());
    ASSERT_NE(Board()->mFillButton, nullptr);

    const struct {
        const char* button;  // the menu's button that opens a dialog over it, "" for none
        int dialogId;
        const char* close;  // the dialog's button that closes it
    } cases[] = {{"", 0, ""},
                 {"gamemenu_options", TOptionsWindow::kId, "menu"},
                 {"gamemenu_help", THelpWindow::kId, "help_close"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.button ? c.button : "the menu alone");
        Board()->mFillButton->StartRecharge();
        TGameMenuWindow* menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        TFlyWindow* dialog = nullptr;
        if (*c.button) {
            ClickChild(menu, c.button);
            dialog = Window<TFlyWindow>(c.dialogId);
            ASSERT_NE(dialog, nullptr);
            Arrive(dialog);
        }
        const float seconds = Board()->mSecondsUsed;
        const float charge = Board()->mFillButton->GetCharge();
        ASSERT_LT(charge, 1.0f);

        Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
        Frame();
        ASSERT_NE(Manager()->FindWindow(kPauseWindowId), nullptr);
        Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
        Frame();
        ASSERT_EQ(Manager()->FindWindow(kPauseWindowId), nullptr);
        Frames(120);
        EXPECT_EQ(Board()->mSecondsUsed, seconds) << "no time is billed under the menu";
        EXPECT_EQ(Board()->mFillButton->GetCharge(), charge) << "the fill does not recharge under the menu";

        if (dialog) {
            ClickChild(dialog, c.close);
            WaitGone(c.dialogId);
            EXPECT_EQ(Board()->mSecondsUsed, seconds) << "the menu is back and still holds the board";
        }
        ClickChild(menu, "gamemenu_continue");
        WaitGone(TGameMenuWindow::kId);
        Frames(30);
        EXPECT_GT(Board()->mSecondsUsed, seconds) << "the clock runs once the menu is gone";
        EXPECT_GT(Board()->mFillButton->GetCharge(), charge);
    }
}

}  // namespace
