// The mosaic board on a 4 x 4 fixture picture: level start, painting to completion, the
// results in the profile, time over, the fill action, the zoom wheel and the dialogs' results.
#include "game/board.h"

#include <gtest/gtest.h>

#include "audio_cases.h"
#include "board_fixture.h"
#include "core/app_state.h"
#include "core/system.h"
#include "core/virtual_files.h"
#include "game/level_complete_window.h"

namespace {

TEST(BoardRules, TimerText)
{
    const struct {
        float seconds;
        const char* text;
    } cases[] = {{61, "1 : 01"}, {600, "10 : 00"}, {3725, "2 : 05"}, {9, "0 : 09"}, {-5, "0 : 00"}, {3.9f, "0 : 03"}};
    for (const auto& c : cases) EXPECT_EQ(FormatBoardTimerText(c.seconds), c.text) << c.seconds;
}

TEST(BoardRules, GameTypeNames)
{
    const struct {
        int layType;
        const char* key;
    } cases[] = {{0, "GameOneColor"}, {11, "GameThreeColor"}, {13, "GameLego"}, {3, ""}, {21, ""}};
    for (const auto& c : cases) EXPECT_EQ(GameTypeName(c.layType), c.key) << c.layType;
}

TEST(BoardRules, ScoreLimits)
{
    EXPECT_EQ(LimitLevelScore(0, 0), 100);
    EXPECT_EQ(LimitLevelScore(0, 21), 0);
    EXPECT_EQ(LimitLevelScore(123456, 0), 99999);
    EXPECT_EQ(LimitLevelScore(250, 3), 250);
}

TEST(BoardRules, DifficultyOutsideTheStarListsTakesListZero)
{
    TLevelInfoMosaic level;
    level.mStars = {{"complete"}, {"a"}, {"b"}, {"c", "d"}};
    EXPECT_EQ(level.StarKeys(3).size(), 2u);
    EXPECT_EQ(level.StarKeys(4), level.mStars[0]);
    EXPECT_EQ(level.StarKeys(-1), level.mStars[0]);
    EXPECT_TRUE(TLevelInfoMosaic().StarKeys(0).empty());
}

TEST_F(BoardTest, PaintingEveryCellCompletesTheLevelOnceWithItsResults)
{
    mBoard->StartLevel(-1, -1);
    ASSERT_EQ(mBoard->mState, TBoardMahjong::kStatePlaying);
    ASSERT_EQ(mBoard->mPicture.mColorCount, 2);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mFlag1, 1);
    PaintAll();
    EXPECT_TRUE(mBoard->mLevelHandled);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mFlag1, 0);
    EXPECT_EQ(GetRewardConnector().mLevelsCompleted, 1);
    ASSERT_EQ(mBoard->mEffects.Count(), 1u);
    EXPECT_EQ(static_cast<EffectGo*>(mBoard->mEffects.At(0))->GetKind(), 1);
    EXPECT_EQ(mBoard->mState, TBoardMahjong::kStatePlaying);  // the caption runs first

    const int steps = StepUntil([this] { return mBoard->mState == TBoardMahjong::kStateFinished; });
    EXPECT_EQ(steps, 160);  // 2.5 s
    ASSERT_NE(mBoard->mLevelCompleteWindow, nullptr);
    const TLevelResult& result = mBoard->mLevelCompleteWindow->mResult;
    EXPECT_EQ(result.mCompleted, 1);
    EXPECT_EQ(result.mScore, 100);
    EXPECT_EQ(result.mStars, 3);
    EXPECT_EQ(result.mLevelKey, "fix4");
    EXPECT_EQ(result.mNewBest, 0);  // the window clears it
    EXPECT_EQ(mBoard->mResult.mNewBest, 1);
    const TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
    EXPECT_EQ(progress.mEntries[0].mBestScore, 100);
    EXPECT_EQ(progress.mEntries[0].mBestStars, 3);
    EXPECT_EQ(progress.mTotalScore, 100);
    EXPECT_EQ(GetRewardConnector().mLevelsFirstCompleted, 1);
    EXPECT_EQ(GetRewardConnector().mThreeStarLevels, 1);
    ASSERT_NE(mBoard->mShadow, nullptr);
    EXPECT_FLOAT_EQ(mBoard->mShadow->mTargetAlpha, 0.6f);

    // A second completion only refreshes the stage advance.
    mBoard->Update(1.0f / 64.0f);
    mBoard->LevelComplete(&mBoard->mPicture);
    EXPECT_EQ(GetRewardConnector().mLevelsCompleted, 1);
    EXPECT_EQ(progress.mTotalScore, 100);
}

TEST_F(BoardTest, ResultsKeepTheBetterStoredScoreAndStars)
{
    TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
    progress.mEntries[0].mBestScore = 100;
    progress.mEntries[0].mBestStars = 3;
    GetUserInfo()->mDifficulty = 4;  // a new profile: list 0 of the level's stars
    mBoard->StartLevel(0, 0);
    PaintAll();
    StepUntil([this] { return mBoard->mLevelCompleteWindow != nullptr; });
    ASSERT_NE(mBoard->mLevelCompleteWindow, nullptr);
    EXPECT_EQ(mBoard->mResult.mNewBest, 0);  // equal is no new best
    EXPECT_EQ(progress.mEntries[0].mBestStars, 3);
    EXPECT_EQ(GetRewardConnector().mLevelsFirstCompleted, 0);
    EXPECT_EQ(GetRewardConnector().mThreeStarLevels, 0);
}

TEST_F(BoardTest, DifficultyFourWithErrorsTakesStarListZero)
{
    GetUserInfo()->mDifficulty = 4;
    mBoard->StartLevel(0, 0);
    EXPECT_EQ(mBoard->mStarRules.size(), 3u);
    GetUserInfo()->mDifficulty = 3;
    mBoard->StartLevel(0, 0);
    EXPECT_EQ(mBoard->mStarRules.size(), 2u);
}

TEST_F(BoardTest, SavedFinishedPictureCompletesAtStartOfPlay)
{
    mBoard->StartLevel(0, 0);
    PaintAll();
    ASSERT_TRUE(mBoard->mPicture.SaveProgress(mBoard->mPicture.GetProgressPath()));
    mBoard->StartLevel(0, 0);
    EXPECT_TRUE(mBoard->mLevelHandled);
    EXPECT_TRUE(mBoard->mClockStopped);
    EXPECT_EQ(mBoard->mEffects.Count(), 1u);
}

TEST_F(BoardTest, MissingPictureIsNotAWonLevel)
{
    TMyWindow room;
    auto* fill = new TStandartRegenerateButton(&room);
    fill->mButtonListener = mBoard;
    mBoard->mFillButton = fill;
    mBoard->StartLevel(1, 1);
    EXPECT_EQ(mBoard->mState, TBoardMahjong::kStatePlaying);
    EXPECT_EQ(mBoard->mPicture.mColorCount, 0);
    const TMouseEvent e = PointerAt(400, 300, 1);
    mBoard->MouseDown(e);
    mBoard->MouseUp(e);
    mBoard->DoubleClick(e);
    EXPECT_LT(fill->GetCharge(), 1.0f) << "the fill ran over the empty view";
    mBoard->mFillButton = nullptr;
    StepUntil([] { return false; }, 64 * 5);
    EXPECT_FALSE(mBoard->mLevelHandled);
    EXPECT_EQ(mBoard->mEffects.Count(), 0u);
    EXPECT_EQ(GetRewardConnector().mLevelsCompleted, 0);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mTotalScore, 0);
    EXPECT_FALSE(PathExists(MapPath(mBoard->mPicture.GetProgressPath())));
}

TEST_F(BoardTest, IndicesThatNameNoLevelStopWithALogLine)
{
    GetUserInfo()->CurrentModeProgress().mLevel = -1;
    const struct {
        int stage, level;
    } cases[] = {{0, -1}, {9, 0}, {0, 99}, {-3, 0}};
    for (const auto& c : cases) {
        mBoard->StartLevel(0, 0);
        mBoard->StartLevel(c.stage, c.level);
        EXPECT_EQ(mBoard->mState, TBoardMahjong::kStateIdle) << c.stage << "," << c.level;
        EXPECT_TRUE(mBoard->mPicture.GetProgressPath().empty());
        EXPECT_EQ(mBoard->mPicture.mColorCount, 0);
        EXPECT_TRUE(mBoard->mColorTable.mItems.empty());
    }
    EXPECT_NE(ReadWholeFile(GetSystem()->UserFolder() + "/log.txt").find("no level -1 in stage 0 of mode 0: level not started"), std::string::npos);
}

TEST_F(BoardTest, ReplayDuringTheStageEndCaptionRestartsTheSameLevel)
{
    GetUserInfo()->CurrentModeProgress().mLevel = 1;  // the last level of stage 0
    mBoard->StartLevel(-1, -1);
    mBoard->OnColorSelected(1);
    Click(0, 0);
    ASSERT_TRUE(mBoard->mPicture.SaveProgress(mBoard->mPicture.GetProgressPath()));
    const std::string file = MapPath(mBoard->mPicture.GetProgressPath());
    PaintAll();
    ASSERT_TRUE(mBoard->mLevelHandled);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mStage, 1);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mLevel, -1);
    mBoard->OnFlyClosed(nullptr, 10, 5);
    EXPECT_EQ(mBoard->mState, TBoardMahjong::kStatePlaying);
    EXPECT_EQ(mBoard->mStageIndex, 0);
    EXPECT_EQ(mBoard->mLevelIndex, 1);
    EXPECT_FALSE(mBoard->mLevelHandled);
    EXPECT_FALSE(PathExists(file));
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mLevel, -1);
}

TEST_F(BoardTest, TimeOverShowsTheCaptionThenTheMessageBoxAndRestartsKeepingThePainting)
{
    GetUserInfo()->mPreset->usetimer = 1;
    GetUserInfo()->mPreset->secsperonecell = 0.25f;
    TMyWindow room;
    mBoard->mTimerLabel = new TSimpleTextImage();
    room.AddChild(mBoard->mTimerLabel);
    mBoard->StartLevel(0, 0);
    EXPECT_FLOAT_EQ(mBoard->mCountdown.mValue, 4.0f);
    mBoard->OnColorSelected(1);
    Click(0, 0);
    mBoard->Update(1.0f / 64.0f);
    EXPECT_EQ(mBoard->mTimerLabel->mText, L"0 : 03");

    const int over = StepUntil([this] { return mBoard->mEffects.Count() != 0; });
    EXPECT_EQ(over, 4 * 64);  // the first update past 4.0 s
    EXPECT_EQ(static_cast<EffectGo*>(mBoard->mEffects.At(0))->GetKind(), 2);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mFlag1, 0);
    EXPECT_EQ(mBoard->mState, TBoardMahjong::kStatePlaying);

    StepUntil([this] { return mBoard->mEffects.Count() == 0; });
    EXPECT_EQ(GetWindowManager()->PendingCount(), 1);
    TMyWindow* box = GetWindowManager()->FindWindow(313);
    ASSERT_NE(box, nullptr);
    const int shown = StepUntil([box] { return !GetWindowManager()->IsPending(box); });
    EXPECT_EQ(shown, 63);
    EXPECT_TRUE(mBoard->mCountdown.mPaused);
    mBoard->OnFlyClosed(nullptr, 313, 1);
    EXPECT_FLOAT_EQ(mBoard->mCountdown.mValue, 4.0f);
    EXPECT_TRUE(Right(0, 0));
    mBoard->mTimerLabel = nullptr;
}

TEST_F(BoardTest, HidingADialogResumesTheCountdownAfterAFocusChange)
{
    GetUserInfo()->mPreset->usetimer = 1;
    mBoard->StartLevel(0, 0);
    mBoard->OnFlyWindowShown(nullptr, 10);
    EXPECT_TRUE(mBoard->mCountdown.mPaused);
    mBoard->SetPaused(true);
    mBoard->SetPaused(false);  // focus back while the menu is still open
    mBoard->OnFlyWindowHidden(nullptr, 10);
    EXPECT_FALSE(mBoard->mCountdown.mPaused);
}

// The board's clock runs only when neither an open dialog nor the lost focus holds it,
// whichever comes and goes first. S: a dialog shown, H: one hidden, L: focus lost, G: regained.
TEST_F(BoardTest, DialogsAndTheFocusHoldTheBoardApart)
{
    const struct {
        const char* steps;
        bool runs;
    } cases[] = {{"SLG", false}, {"SLGH", true}, {"SLH", false}, {"SLHG", true},
                 {"LSH", false}, {"LSHG", true}, {"SSH", false}, {"SSHH", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        mBoard->StartLevel(0, 0);
        for (const char* step = c.steps; *step; ++step) {
            if (*step == 'S') mBoard->OnFlyWindowShown(nullptr, 10);
            if (*step == 'H') mBoard->OnFlyWindowHidden(nullptr, 10);
            if (*step == 'L' || *step == 'G') mBoard->SetPaused(*step == 'L');
        }
        const float before = mBoard->mSecondsUsed;
        mBoard->Update(0.5f);
        EXPECT_EQ(mBoard->mSecondsUsed > before, c.runs);
        EXPECT_EQ(mBoard->mPaused == 0, c.runs) << "the host's widgets follow the same hold";
    }
}

TEST_F(BoardTest, FillNeedsAFullChargeAndAPointInTheView)
{
    TMyWindow room;
    auto* fill = new TStandartRegenerateButton(&room);
    fill->mButtonListener = mBoard;
    fill->mRechargeTime = 2.0f;
    mBoard->mFillButton = fill;
    mBoard->StartLevel(0, 0);
    EXPECT_EQ(fill->GetCharge(), 1.0f);

    mBoard->DoubleClick(PointerAt(1200, 300, 1));  // outside the view
    EXPECT_EQ(fill->GetCharge(), 1.0f);

    mBoard->OnColorSelected(1);
    mBoard->DoubleClick(AtCell(0, 0));
    EXPECT_TRUE(Right(1, 1));
    EXPECT_TRUE(fill->mArmed);
    mBoard->OnColorSelected(0);
    mBoard->DoubleClick(AtCell(0, 3));  // recharging
    EXPECT_FALSE(Right(0, 3));

    int steps = 0;
    while (fill->GetCharge() != 1.0f && steps < 1000) {
        fill->Update(1.0f / 64.0f);
        ++steps;
    }
    EXPECT_EQ(steps, 128);
    EXPECT_FALSE(fill->mArmed);
    EXPECT_FALSE(fill->mDisabled);
    mBoard->DoubleClick(AtCell(0, 3));
    EXPECT_TRUE(mBoard->mLevelHandled);  // the fill painted the last colour
    mBoard->mFillButton = nullptr;
}

TEST_F(BoardTest, WheelZoomStopsAtTheLimits)
{
    mBoard->StartLevel(0, 0);
    mBoard->mPicture.mMinZoom = 0.1f;
    mBoard->mPicture.mMaxZoom = 3.0f;
    mBoard->mPicture.mZoom = 2.95f;
    mBoard->MouseWheel(PointerAt(400, 300, 1));
    EXPECT_FLOAT_EQ(mBoard->mPicture.mZoom, 3.0f);
    mBoard->mPicture.mZoom = 0.15f;
    mBoard->MouseWheel(PointerAt(400, 300, -1));
    EXPECT_FLOAT_EQ(mBoard->mPicture.mZoom, 0.1f);
}

TEST_F(BoardTest, AResumeSwallowsOnePressAndRelease)
{
    mBoard->StartLevel(0, 0);
    mBoard->OnColorSelected(1);
    mBoard->SetPaused(true);
    mBoard->SetPaused(false);
    Click(0, 0);
    EXPECT_FALSE(Right(0, 0));
    Click(0, 0);
    EXPECT_TRUE(Right(0, 0));
}

TEST_F(BoardTest, LevelCompleteWindowResults)
{
    // Repeat: the progress file is gone and the same level starts unpainted.
    mBoard->StartLevel(0, 0);
    Click(0, 0);
    ASSERT_TRUE(mBoard->mPicture.SaveProgress(mBoard->mPicture.GetProgressPath()));
    const std::string file = MapPath(mBoard->mPicture.GetProgressPath());
    mBoard->OnFlyClosed(nullptr, 314, 1);
    EXPECT_FALSE(PathExists(file));
    EXPECT_FALSE(Right(0, 0));
    EXPECT_EQ(mBoard->mState, TBoardMahjong::kStatePlaying);

    // Next level within the stage: the host hears of it.
    mBoard->mStageAdvance = 1;
    mBoard->OnFlyClosed(nullptr, 314, 3);
    EXPECT_EQ(mHost.mFinished, 1);
    EXPECT_EQ(mBoard->mState, TBoardMahjong::kStateIdle);

    // Main menu and map screens.
    const struct {
        int id, result, advance, screen;
    } cases[] = {{314, 2, 1, 5}, {314, 3, 2, 6}, {314, 3, 0, 6}, {10, 9, 1, 6}, {10, 3, 1, 5}};
    for (const auto& c : cases) {
        mBoard->mStageAdvance = c.advance;
        mBoard->OnFlyClosed(nullptr, c.id, c.result);
        TMyWindow* screen = GetWindowManager()->WaitingScreen() ? GetWindowManager()->WaitingScreen()
                                                                : GetWindowManager()->TopScreen();
        ASSERT_NE(screen, nullptr) << c.id << "/" << c.result;
        EXPECT_EQ(screen->mId, c.screen) << c.id << "/" << c.result;
        DestroyWindowManager();
    }
}

}  // namespace

namespace {

class BoardSetupTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        auto* room = new TMyWindow();
        room->mId = 4;
        room->mWidth = 1366;
        room->mHeight = 768;
        GetWindowManager()->AddWindow(room, 0.0f);
        mRoom = room;
    }
    TMyWindow* mRoom = nullptr;
};

TEST_F(BoardSetupTest, ShippedLayoutGivesTheControlsAndMarksOncePerSetup)
{
    GetUserInfo()->mViewValue = 0.4f;
    GetUserInfo()->mPreset->maxerrorscount = 3;
    mBoard->Setup();
    const TMyWindow* controls[] = {mBoard->mScaleSlider,   mBoard->mBackSlider, mBoard->mRescaleButton,
                                   mBoard->mPageUpButton,  mBoard->mPageDownButton, mBoard->mFillButton,
                                   mBoard->mMenuButton};
    for (const TMyWindow* control : controls) EXPECT_NE(control, nullptr);
    ASSERT_EQ(mBoard->mErrorMarks.size(), 15u);
    int shown = 0;
    for (TMyImage* mark : mBoard->mErrorMarks) shown += mark->mVisible ? 1 : 0;
    EXPECT_EQ(shown, 3);
    EXPECT_FALSE(mBoard->mFillButton->mMouseAllowed);
    EXPECT_FLOAT_EQ(mBoard->mBackColor[0], 0.4f);
    EXPECT_FLOAT_EQ(GetUserInfo()->mViewValue, 0.4f);
    EXPECT_NE(ReadWholeFile(GetSystem()->UserFolder() + "/log.txt").find("hint regeneration time 30.000000"),
              std::string::npos);

    const size_t children = mRoom->mChildren.size();
    mBoard->Setup();
    EXPECT_EQ(mRoom->mChildren.size(), children);

    // A profile change re-reads the recharge time and the marks.
    GetUserInfo()->mPreset->fillcolorrecharge = 12;
    GetUserInfo()->mPreset->maxerrorscount = 5;
    mBoard->OnUserInfoChanged();
    EXPECT_FLOAT_EQ(mBoard->mFillButton->mRechargeTime, 12.0f);
    shown = 0;
    for (TMyImage* mark : mBoard->mErrorMarks) shown += mark->mVisible ? 1 : 0;
    EXPECT_EQ(shown, 5);

    mBoard->Deactivate();
    EXPECT_TRUE(mRoom->mChildren.empty());
    EXPECT_EQ(mBoard->mFillButton, nullptr);
    EXPECT_TRUE(mBoard->mErrorMarks.empty());
}

TEST_F(BoardSetupTest, MenuButtonIsRefusedUnderTheMenuOrTheTimeOverBox)
{
    mBoard->Setup();
    TMyButton* menu = mBoard->mMenuButton;
    ASSERT_NE(menu, nullptr);
    mBoard->OnButtonClick(4, mRoom, menu->mId, menu);
    TMyWindow* first = GetWindowManager()->FindWindow(10);
    ASSERT_NE(first, nullptr);
    mBoard->OnButtonClick(4, mRoom, menu->mId, menu);
    EXPECT_EQ(GetWindowManager()->FindWindow(10), first);
    EXPECT_EQ(GetWindowManager()->TopWindowCount() + GetWindowManager()->PendingCount(), 2);
}

TEST_F(BoardSetupTest, NextLevelIsDisabledAfterTheLastLevelOfTheLastStage)
{
    GetUserInfo()->CurrentModeProgress().mStage = 1;
    GetUserInfo()->CurrentModeProgress().mLevel = 0;
    mBoard->Setup();
    GetUserInfo()->CurrentModeProgress().mLevel = 1;  // the last level of the last stage
    PaintAll();
    EXPECT_EQ(mBoard->mStageAdvance, 2);
    StepUntil([this] { return mBoard->mLevelCompleteWindow != nullptr; });
    ASSERT_NE(mBoard->mLevelCompleteWindow, nullptr);
    ASSERT_NE(mBoard->mLevelCompleteWindow->mNextButton, nullptr);
    EXPECT_TRUE(mBoard->mLevelCompleteWindow->mNextButton->mDisabled);
}

}  // namespace

namespace {

TEST_F(BoardSetupTest, FirstStageTipsOnAFreshProfile)
{
    GetUserInfo()->ResetDefaults();
    GetUserInfo()->mProgress[0].Reset(4);
    GetUserInfo()->CurrentModeProgress().mLevel = 1;
    mBoard->Setup();
    EXPECT_EQ(mBoard->mTipNumber, 5);  // tip 1 was scheduled first and replaced
    auto log = [] { return ReadWholeFile(GetSystem()->UserFolder() + "/log.txt"); };
    const int steps = StepUntil([&log] { return log().find("show tutorial TipUseRightMouse") != std::string::npos; });
    EXPECT_EQ(steps, 32);  // 0.5 s
    EXPECT_EQ(log().find("show tutorial TipMoveToPaint"), std::string::npos);

    mBoard->OnTutorialClosed("TipMoveToPaint");
    EXPECT_EQ(mBoard->mTipNumber, 2);
    EXPECT_NE(log().find("tutorial window done = TipMoveToPaint"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(BoardSetupTest, ChargeBarCoversTheChargedShareOfTheFillButton)
{
    mBoard->Setup();
    TStandartRegenerateButton* fill = mBoard->mFillButton;
    ASSERT_NE(fill, nullptr);
    ASSERT_EQ(fill->GetWidth(), 232);
    fill->mRechargeTime = 2.0f;
    fill->StartRecharge();
    fill->Update(1.0f);  // half charged: 116 px
    ASSERT_TRUE(fill->mDisabled);
    Clear(0, 0, 0);
    fill->DrawSelf();
    const int y = fill->GetY() + 28;
    ExpectPixel(fill->GetX() + 60, y, 255, 190, 40);    // the normal look
    ExpectPixel(fill->GetX() + 115, y, 255, 190, 40);
    ExpectPixel(fill->GetX() + 117, y, 150, 150, 150);  // the disabled look
    ExpectPixel(fill->GetX() + 180, y, 150, 150, 150);
}

}  // namespace

namespace {

TEST_F(BoardSetupTest, StrokesSwatchesAndTheWheelOverTheTable)
{
    mBoard->Setup();
    TPaintByNumber& picture = mBoard->mPicture;

    // A swatch click selects its colour; after a resume the first click is not play.
    const TColorsTableItem& red = mBoard->mColorTable.mItems[1];
    const TMouseEvent swatch = PointerAt(static_cast<int>(red.mX) + 10, static_cast<int>(red.mY) + 10, 1);
    mBoard->SetPaused(true);
    mBoard->SetPaused(false);
    mBoard->MouseDown(swatch);
    mBoard->MouseUp(swatch);
    EXPECT_EQ(picture.mSelectedColor, 0);
    mBoard->MouseDown(swatch);
    mBoard->MouseUp(swatch);
    EXPECT_EQ(picture.mSelectedColor, 1);

    // A drag over three cells of row 0 paints the three.
    TMouseEvent e = AtCell(0, 0);
    mBoard->MouseDown(e);
    for (int column = 0; column < 3; ++column) {
        e = AtCell(column, 0);
        mBoard->MouseMove(e);
    }
    mBoard->MouseUp(e);
    EXPECT_TRUE(Right(0, 0) && Right(1, 0) && Right(2, 0));
    EXPECT_FALSE(Right(3, 0));

    // A charged fill from a right cell paints the rest of its area and uses the charge.
    mBoard->DoubleClick(AtCell(0, 0));
    EXPECT_TRUE(Right(3, 0) && Right(0, 1));
    EXPECT_TRUE(mBoard->mFillButton->mArmed);

    // The wheel over the table on its only page leaves it there, "up" disabled.
    const TMouseEvent overTable = PointerAt(static_cast<int>(mBoard->mColorTable.mX) + 5,
                                            static_cast<int>(mBoard->mColorTable.mY) + 5, 1);
    const float zoom = picture.mZoom;
    mBoard->MouseWheel(overTable);
    EXPECT_EQ(mBoard->mColorTable.mCurrentPage, 0);
    EXPECT_TRUE(mBoard->mPageUpButton->mDisabled);
    EXPECT_TRUE(mBoard->mPageDownButton->mDisabled);
    EXPECT_FLOAT_EQ(picture.mZoom, zoom);
}

}  // namespace
