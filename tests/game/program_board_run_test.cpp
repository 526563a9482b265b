// Whole-program test: a new player "Jo" plays the first level of the shipped game with real
// SDL events only (swatch clicks, strokes, a wrong cell put right, a double-click fill, the
// tips as they come); the level complete window reveals the judged stars, and "nextlevel" goes
// on while "repeat" starts the level afresh.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "audio_cases.h"
#include "core/virtual_files.h"
#include "game/board.h"
#include "game/level_complete_window.h"
#include "game/room_window.h"
#include "game/user_info.h"
#include "program_fixture.h"
#include "ui/tutorial_window.h"
#include "ui/window_manager.h"

namespace {

class ProgramBoardRun : public TProgramRunTest {
protected:
    void DoubleClick(int x, int y)
    {
        Click(x, y, 1);
        Click(x, y, 2);
    }

    // A shown tutorial tip closes on a click of its own, and its key goes in the profile.
    void CloseTipIfShown()
    {
        TMyWindowManager* manager = GetWindowManager();
        for (int i = 0; i < 5; ++i) {
            TMyWindow* tip = manager->FindWindow(GetTutorialWindow() ? GetTutorialWindow()->mId : -999);
            if (!tip || !tip->mVisible || manager->IsPending(tip)) return;
            Frames(40);
            int ax = 0, ay = 0;
            tip->GetAbsolutePosition(&ax, &ay);
            Click(ax + tip->GetWidth() / 2, ay + tip->GetHeight() / 2);
            Frames(40);
        }
    }

    // A double click on the first unpainted cell of the colour that has unpainted neighbours of
    // its own colour: the press paints the cell itself, only the fill reaches the neighbours.
    // False when no cell of the colour has such neighbours.
    bool FillAroundACell(int number)
    {
        TPaintByNumber& picture = Board()->mPicture;
        if (!Board()->mFillButton || Board()->mFillButton->GetCharge() != 1.0f) return false;
        for (int r = 0; r < picture.GetRowCount(); ++r)
            for (int c = 0; c < picture.GetColumnCount(); ++c) {
                TPaintByNumberItem* cell = picture.GetCell(c, r);
                if (!cell->IsVisible() || cell->GetNumber() != number || cell->GetPainted() == number) continue;
                std::vector<TPaintByNumberItem*> around;
                for (const auto& d : {std::make_pair(-1, 0), std::make_pair(1, 0), std::make_pair(0, -1),
                                      std::make_pair(0, 1)}) {
                    TPaintByNumberItem* next = picture.GetCell(c + d.first, r + d.second);
                    if (next && next->IsVisible() && next->GetNumber() == number && next->GetPainted() != number)
                        around.push_back(next);
                }
                if (around.empty()) continue;
                int x = 0, y = 0;
                CellPoint(c, r, &x, &y);
                // A tip that the first click's stroke brings up takes the second click; the
                // next try starts from the cell it painted.
                for (int tries = 0; tries < 3 && Board()->mFillButton->GetCharge() == 1.0f; ++tries) {
                    CloseTipIfShown();
                    DoubleClick(x, y);
                    Frames(40);
                }
                EXPECT_LT(Board()->mFillButton->GetCharge(), 1.0f) << "the fill ran and recharges";
                for (TPaintByNumberItem* next : around) EXPECT_EQ(next->GetPainted(), number);
                CloseTipIfShown();
                return true;
            }
        return false;
    }

    // One cell painted wrong first, then every colour right, with the tips closed as they come.
    void PaintTheLevel()
    {
        TPaintByNumber& picture = Board()->mPicture;
        ASSERT_GT(picture.mColorCount, 1);
        const int columns = picture.GetColumnCount(), rows = picture.GetRowCount();

        // One cell painted wrong first, then right.
        int wrongX = -1, wrongY = -1;
        for (int r = 0; r < rows && wrongX < 0; ++r)
            for (int c = 0; c < columns && wrongX < 0; ++c)
                if (picture.GetCell(c, r)->IsVisible() && picture.GetCell(c, r)->GetNumber() == 1) {
                    wrongX = c;
                    wrongY = r;
                }
        ASSERT_GE(wrongX, 0);
        CloseTipIfShown();
        SelectSwatch(0);
        CloseTipIfShown();
        int x = 0, y = 0;
        CellPoint(wrongX, wrongY, &x, &y);
        Click(x, y);
        EXPECT_GE(picture.mErrors, 1);
        CloseTipIfShown();
        Shot("board_e2e_midway.png");

        // One colour by a double-click fill, from a cell whose same-coloured unpainted
        // neighbours only the fill can reach; the rest cell by cell.
        bool filled = false;
        for (int number = 0; number < picture.mColorCount && !Board()->mLevelHandled; ++number) {
            SelectSwatch(number);
            CloseTipIfShown();
            if (!filled) filled = FillAroundACell(number);
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < columns; ++c) {
                    TPaintByNumberItem* cell = picture.GetCell(c, r);
                    if (!cell->IsVisible() || cell->GetNumber() != number || cell->GetPainted() == number) continue;
                    CellPoint(c, r, &x, &y);
                    Click(x, y);
                    CloseTipIfShown();
                    if (Board()->mLevelHandled) break;
                }
                if (Board()->mLevelHandled) break;
            }
        }
        EXPECT_TRUE(filled) << "no cell had unpainted neighbours of its colour for the fill to reach";
    }
    // A new player "Jo" at the first level of the first stage, with the board playing it.
    void PlayFirstLevel()
    {
        GetAppState().mSettings->AddUser("Jo");
        TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
        progress.mStage = 0;
        progress.mLevel = 0;
        GetWindowManager()->ShowScreen(new TRoomWindow(), true, 1);
        for (int i = 0; i < 400 && Board()->mState != TBoardMahjong::kStatePlaying; ++i) Frame();
        ASSERT_EQ(Board()->mState, TBoardMahjong::kStatePlaying);
    }
    // Runs until the level complete window has flown in and the reveal had time to finish.
    TLevelCompleteWindow* WaitForTheDialog()
    {
        for (int i = 0; i < 400 && !Board()->mLevelCompleteWindow; ++i) Frame();
        TLevelCompleteWindow* window = Board()->mLevelCompleteWindow;
        if (!window) return nullptr;
        for (int i = 0; i < 400 && GetWindowManager()->IsPending(window); ++i) Frame();
        for (int i = 0; i < 400 && window->GetState() != TFlyWindow::kShown; ++i) Frame();
        Frames(120);
        return window;
    }
};

TEST_F(ProgramBoardRun, NewPlayerPaintsTheFirstLevelAndGoesOnToTheNext)
{
    ASSERT_TRUE(Start());
    ASSERT_NO_FATAL_FAILURE(PlayFirstLevel());
    Frames(100);
    Shot("board_e2e_start.png");

    TPaintByNumber& picture = Board()->mPicture;
    const int columns = picture.GetColumnCount(), rows = picture.GetRowCount();
    const std::string progressFile = MapPath(picture.GetProgressPath());
    PaintTheLevel();
    ASSERT_TRUE(Board()->mLevelHandled);
    Frames(60);
    Shot("board_e2e_caption.png");
    TLevelCompleteWindow* window = WaitForTheDialog();
    ASSERT_NE(window, nullptr);
    Shot("board_e2e_dialog.png");

    // The judged stars, each in its slot: gold where revealed, the dark panel where not.
    ASSERT_EQ(window->mSlots.size(), Board()->mStarRules.size());
    ASSERT_GE(Board()->mResult.mStars, 1);
    const int revealed = std::min<int>(Board()->mResult.mStars, static_cast<int>(window->mSlots.size()));
    EXPECT_EQ(window->mStarsShown, revealed);
    EXPECT_EQ(window->mPhase, TLevelCompleteWindow::kPhaseDone);
    EXPECT_EQ(window->mEffects.Count(), static_cast<size_t>(2 * revealed));
    EXPECT_EQ(window->mPictureImage, window->FindChild(Board()->mResult.mPreviewType == 0   ? "image"
                                                       : Board()->mResult.mPreviewType == 1 ? "imagebig"
                                                                                            : "imagebig15"));
    ASSERT_NE(window->mPictureImage->mImage.GetTexture(), nullptr);
    int wx = 0, wy = 0;
    window->GetAbsolutePosition(&wx, &wy);
    for (size_t i = 0; i < window->mSlots.size(); ++i) {
        const SDL_Color c = ScreenPixel(wx + static_cast<int>(window->mSlots[i].mCentreX),
                                        wy + static_cast<int>(window->mSlots[i].mCentreY));
        const bool gold = c.r > 200 && c.g > 150 && c.b < c.g;
        EXPECT_EQ(gold, static_cast<int>(i) < revealed) << "slot " << i << ": " << int(c.r) << "," << int(c.g) << ","
                                                        << int(c.b);
    }

    // Every visible cell right, in a file of 4 + W x H bytes.
    EXPECT_EQ(ReadWholeFile(progressFile).size(), static_cast<size_t>(4 + columns * rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            TPaintByNumberItem* cell = picture.GetCell(c, r);
            if (cell->IsVisible()) {
                EXPECT_EQ(cell->GetPainted(), cell->GetNumber()) << c << "," << r;
            }
        }

    ClickChild(window, "nextlevel");
    for (int i = 0; i < 400 && Board()->mLevelIndex != 1; ++i) Frame();
    EXPECT_EQ(Board()->mLevelIndex, 1);
    EXPECT_EQ(Board()->mState, TBoardMahjong::kStatePlaying);
    EXPECT_NE(Board()->mPicture.GetProgressPath().find("star"), std::string::npos);

    TUserInfo saved;
    ASSERT_TRUE(saved.Load("user:user" + GetAppState().mSettings->CurrentUserIdText()));
    EXPECT_GE(saved.CurrentModeProgress().mEntries.at(0).mBestStars, 1);
    EXPECT_EQ(saved.CurrentModeProgress().mEntries.at(0).mBestScore, 100);
    EXPECT_EQ(saved.CurrentModeProgress().mStage, 0);
    EXPECT_EQ(saved.CurrentModeProgress().mLevel, 1);

    const std::string log = ReadWholeFile(GetSystem()->UserFolder() + "/log.txt");
    EXPECT_NE(log.find("hint regeneration time 30.000000"), std::string::npos);
    EXPECT_NE(log.find("show tutorial TipMoveToPaint"), std::string::npos);
    EXPECT_EQ(log.find("no level"), std::string::npos);
}

TEST_F(ProgramBoardRun, RepeatFromTheLevelCompleteWindowStartsTheLevelAfresh)
{
    ASSERT_TRUE(Start());
    ASSERT_NO_FATAL_FAILURE(PlayFirstLevel());
    Frames(100);
    const std::string progressFile = Board()->mPicture.GetProgressPath();
    PaintTheLevel();
    ASSERT_TRUE(Board()->mLevelHandled);
    TLevelCompleteWindow* window = WaitForTheDialog();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(FileExists(progressFile));

    ClickChild(window, "repeat");
    for (int i = 0; i < 400 && Board()->mLevelCompleteWindow; ++i) Frame();
    EXPECT_EQ(Board()->mLevelCompleteWindow, nullptr);
    EXPECT_FALSE(FileExists(progressFile)) << "the finished paint is gone";
    for (int i = 0; i < 400 && Board()->mState != TBoardMahjong::kStatePlaying; ++i) Frame();
    EXPECT_EQ(Board()->mState, TBoardMahjong::kStatePlaying);
    EXPECT_EQ(Board()->mLevelIndex, 0);
    EXPECT_FALSE(Board()->mPicture.AllColorsComplete());
}

// The shutdown deletes the windows before the board, whatever the level is doing.
TEST_F(ProgramBoardRun, ShutdownDuringTheCaptionAndUnderTheLevelCompleteWindowIsClean)
{
    for (int withWindow = 0; withWindow < 2; ++withWindow) {
        ASSERT_TRUE(Start());
        ASSERT_NO_FATAL_FAILURE(PlayFirstLevel());
        Board()->FinishNow();
        Frames(withWindow ? 200 : 30);
        EXPECT_EQ(Board()->mLevelCompleteWindow != nullptr, withWindow == 1);
        ReleaseGame();
        EXPECT_EQ(GetAppState().mBoard.get(), nullptr);
        Restore();
    }
}

}  // namespace
