// The board hosted by the room window and played with SDL events through the frame loop: the
// music and sounds of a level, the tips and fly hints of the first stage, rescale and the colour
// table's page buttons, the pause and the timer switched off, the next level or the first
// stage's missing stars after the level complete window, and the menu button's refusals.
#include <SDL.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/task.h"
#include "audio_cases.h"
#include "board_fixture.h"
#include "core/app_state.h"
#include "core/system.h"
#include "game/cell_item.h"
#include "game/level_complete_window.h"
#include "game/room_window.h"
#include "game/user_info.h"
#include "rooms/sound_calls.h"
#include "sdl_events.h"
#include "ui/tutorial_window.h"

namespace {

uint32_t& RoomNow()
{
    static uint32_t now = 1000;
    return now;
}
uint32_t RoomTicks() { return RoomNow(); }

// The tutorial window asks the player's profile whether a tip was seen, as in the game.
struct TProfileTips : TTutorialProfile {
    bool HasPair(const std::string& key, const std::string& value) const override
    {
        return GetUserInfo()->HasPair(key, value);
    }
    void AddPair(const std::string& key, const std::string& value) override { GetUserInfo()->AddPair(key, value); }
};

// The stage and level of the progress at every save.
struct TProgressSaves : TProfileSaver {
    std::vector<std::pair<int, int>> mSaved;
    bool SaveCurrentUser() override
    {
        const TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
        mSaved.emplace_back(progress.mStage, progress.mLevel);
        return true;
    }
};

// 25 colours in a 5 x 5 picture: two pages of the colour table.
SDL_Color ManyColours(int k) { return SDL_Color{static_cast<Uint8>(10 * k), static_cast<Uint8>(240 - 9 * k), 90, 255}; }

class BoardRoomTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        std::vector<SDL_Color> palette;
        for (int k = 0; k < 25; ++k) palette.push_back(ManyColours(k));
        SavePng("textures/fix25.png", MakeIndexed(5, 5, palette, [](int x, int y) { return y * 5 + x; }));
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        SetTickSource(RoomTicks);
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mActive = true;
        app.mLastFrameTicks = RoomNow();
        app.mApp.reset(new TGameApp());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SetTutorialProfile(&mTips);
        SetProfileSaver(&mSaves);
        GetUserInfo()->mPreset->fillcolorrecharge = 1;
    }
    void TearDown() override
    {
        TAppState& app = GetAppState();
        // The windows go before the board, whose controls they own.
        DestroyWindowManager();
        app.mApp.reset();
        app.mQuit = false;
        app.mActive = true;
        SetProfileSaver(nullptr);
        SetTutorialProfile(nullptr);
        SetTickSource(nullptr);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        BoardTest::TearDown();
    }

    void Frame()
    {
        RoomNow() += 16;
        RunFrame();
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i) Frame();
    }
    template <typename F>
    bool FramesUntil(F done, int limit = 600)
    {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Frame();
        }
        return done();
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    void MoveTo(int x, int y)
    {
        Push(Motion(0, x, y));
        Frame();
    }
    void Click(int x, int y, int clicks = 1)
    {
        MoveTo(x, y);
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, static_cast<Uint8>(clicks), x, y));
        Frame();
        Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, static_cast<Uint8>(clicks), x, y));
        Frame();
    }
    void DoubleClick(int x, int y)
    {
        Click(x, y, 1);
        Click(x, y, 2);
    }
    void ClickWidget(const TMyWindow* widget)
    {
        ASSERT_NE(widget, nullptr);
        int ax = 0, ay = 0;
        widget->GetAbsolutePosition(&ax, &ay);
        Click(ax + widget->GetWidth() / 2, ay + widget->GetHeight() / 2);
    }
    void CellPoint(int column, int row, int* x, int* y) const
    {
        const TPaintByNumber& p = mBoard->mPicture;
        *x = p.mOriginX + static_cast<int>((column * 26 + 13) * p.mZoom);
        *y = p.mOriginY + static_cast<int>((row * 26 + 13) * p.mZoom);
    }
    void ClickCell(int column, int row)
    {
        int x = 0, y = 0;
        CellPoint(column, row, &x, &y);
        Click(x, y);
    }
    void ClickSwatch(int number)
    {
        const TColorsTableItem& swatch = mBoard->mColorTable.mItems[static_cast<size_t>(number)];
        Click(static_cast<int>(swatch.mX) + swatch.GetWidth() / 2,
              static_cast<int>(swatch.mY + mBoard->mColorTable.mOffsetY) + swatch.GetHeight() / 2);
    }
    // A press on the first cell, moves over the others with the button held, the release on
    // the last.
    void Stroke(const std::vector<std::pair<int, int>>& cells)
    {
        int x = 0, y = 0;
        CellPoint(cells.front().first, cells.front().second, &x, &y);
        MoveTo(x, y);
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, x, y));
        Frame();
        for (const auto& cell : cells) {
            // A pixel off the centre: a move to the pressed point itself is no move.
            CellPoint(cell.first, cell.second, &x, &y);
            Push(Motion(SDL_BUTTON_LMASK, ++x, ++y));
            Frame();
        }
        Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, x, y));
        Frame();
    }
    // Every visible cell of the colour, by clicks.
    void PaintColour(int number)
    {
        ClickSwatch(number);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                if (FixtureIndex(x, y) != 0 && (FixtureIndex(x, y) == 1) == (number == 1)) ClickCell(x, y);
    }
    // A room window replaces the screen as a fader's swap does (the old one hidden and
    // deleted), and its level starts.
    void ShowRoom()
    {
        TMyWindowManager* manager = GetWindowManager();
        manager->DeleteTopWindows();
        if (TMyWindow* old = manager->TopScreen()) {
            old->Hide();
            delete manager->RemoveWindow(old);
        }
        manager->ShowScreen(new TRoomWindow(), false, 0);
        Frames(2);
        ASSERT_EQ(mBoard->mState, TBoardMahjong::kStatePlaying);
    }
    std::vector<std::string> TakeCalls()
    {
        std::vector<std::string> calls;
        calls.swap(mCalls.mCalls);
        return calls;
    }
    std::string Log() const { return ReadWholeFile(GetSystem()->UserFolder() + "/log.txt"); }
    static bool Has(const std::vector<std::string>& calls, const std::string& call)
    {
        for (const std::string& c : calls)
            if (c == call) return true;
        return false;
    }
    // Paints the picture and runs until the level complete window has flown in.
    TLevelCompleteWindow* FinishTheLevel()
    {
        PaintColour(1);
        PaintColour(0);
        if (!mBoard->mLevelHandled) return nullptr;
        FramesUntil([this] { return mBoard->mLevelCompleteWindow != nullptr; });
        TLevelCompleteWindow* window = mBoard->mLevelCompleteWindow;
        if (window) FramesUntil([window] { return window->GetState() == TFlyWindow::kShown; });
        return window;
    }

    TRecordedSoundCalls mCalls;
    TProfileTips mTips;
    TProgressSaves mSaves;
};

// The very first level plays the music list in order, every other level shuffles it; the
// level is the one the profile names, while the board still holds the level played before.
TEST_F(BoardRoomTest, MusicInOrderOnlyForTheFirstLevel)
{
    const struct {
        int boardLevel;  // the level the board played last
        int level;       // the level the profile starts now
        const char* call;
    } cases[] = {{1, 0, "musiclist music1"}, {0, 1, "shuffledmusiclist music1"}, {1, 1, "shuffledmusiclist music1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        mBoard->StartLevel(0, c.boardLevel);
        GetUserInfo()->CurrentModeProgress().mStage = 0;
        GetUserInfo()->CurrentModeProgress().mLevel = c.level;
        TakeCalls();
        ShowRoom();
        // All music stops, then the list starts once.
        std::vector<std::string> music;
        for (const std::string& call : TakeCalls())
            if (call.find("music") != std::string::npos) music.push_back(call);
        ASSERT_GE(music.size(), 2u);
        EXPECT_EQ(music[music.size() - 2], "stopallmusic");
        EXPECT_EQ(music.back(), c.call);
        EXPECT_EQ(mBoard->mLevelIndex, c.level);
    }
}

TEST_F(BoardRoomTest, SoundsOfALevelFromTheFirstSwatchToTheCaption)
{
    static_cast<TLevelInfoMosaic*>(GetStageList(false)[0]->mLevels[0].get())->mSound = "levelsound";
    ShowRoom();
    TakeCalls();

    ClickSwatch(1);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play colorselected"}));
    // A stroke: each cell the pointer paints on its way sounds.
    Stroke({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    EXPECT_EQ(TakeCalls(), std::vector<std::string>(4, "play fillcell"));
    // The last red cells: the colour completes and the table selects the next colour,
    // without its sound while the completion sounds.
    mCalls.mPlaying = {"colorcomplete"};
    Stroke({{0, 1}, {1, 1}});
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play fillcell", "play fillcell", "play colorcomplete"}));
    EXPECT_EQ(mBoard->mPicture.mSelectedColor, 0);
    mCalls.mPlaying.clear();

    // The double click paints the cell with its press and fills the rest of the green area.
    const float charge = mBoard->mFillButton->GetCharge();
    ASSERT_EQ(charge, 1.0f);
    int x = 0, y = 0;
    CellPoint(0, 2, &x, &y);
    DoubleClick(x, y);
    const std::vector<std::string> fill = TakeCalls();
    EXPECT_TRUE(Has(fill, "play fillarea"));
    EXPECT_TRUE(Has(fill, "play levelsound")) << "the level's own sound as it completes";
    EXPECT_TRUE(mBoard->mLevelHandled);
    EXPECT_LT(mBoard->mFillButton->GetCharge(), 1.0f);

    ASSERT_TRUE(FramesUntil([this] { return Has(mCalls.mCalls, "play levelcomplete"); }));
    ASSERT_TRUE(FramesUntil([this] { return Has(mCalls.mCalls, "play hint"); }, 120)) << "the fill recharged";
}

TEST_F(BoardRoomTest, TimeOverSoundsAndTheTimerSwitch)
{
    const struct {
        int useTimer;
        bool labelShown;
        bool countsDown;
    } cases[] = {{0, false, false}, {1, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.useTimer);
        GetUserInfo()->mPreset->usetimer = c.useTimer;
        GetUserInfo()->mPreset->secsperonecell = 0.125f;  // 2 s for the 4 x 4 picture
        ShowRoom();
        TakeCalls();
        Frames(30);
        ASSERT_NE(mBoard->mTimerLabel, nullptr);
        EXPECT_EQ(mBoard->mTimerLabel->mVisible, c.labelShown);
        EXPECT_EQ(mBoard->mCountdown.mValue < 2.0f, c.countsDown);
        Frames(120);
        EXPECT_EQ(Has(TakeCalls(), "play timeup"), c.countsDown);
        EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mFlag1, c.countsDown ? 0 : 1);
    }
}

TEST_F(BoardRoomTest, TipsAfterStrokesAndTheScaleSliderOnTheFirstStageOnly)
{
    const struct {
        int stage, level;
        const char* unseen;
        bool slider;  // release the scale slider instead of painting red
        const char* shown;  // nullptr: no tip at all
    } cases[] = {
        {0, 0, "TipChangeScale", false, "TipChangeScale"},
        {1, 0, "TipChangeScale", false, nullptr},
        {0, 1, "TipDoubleToFill", false, "TipDoubleToFill"},
        {0, 0, "TipDoubleToFill", false, nullptr},
        {0, 0, "TipScaleFit", true, "TipScaleFit"},
        {1, 0, "TipScaleFit", true, "TipScaleFit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unseen) + " on " + std::to_string(c.stage) + "/" + std::to_string(c.level));
        MarkTipsSeen(GetUserInfo(), {c.unseen});
        GetUserInfo()->CurrentModeProgress().mStage = c.stage;
        GetUserInfo()->CurrentModeProgress().mLevel = c.level;
        ShowRoom();
        const size_t before = Log().size();
        if (c.slider) {
            ClickWidget(mBoard->mScaleSlider);
        } else {
            PaintColour(1);
        }
        Frames(80);  // past the 1 s of a scheduled tip
        const std::string log = Log().substr(before);
        if (c.shown) {
            EXPECT_NE(log.find(std::string("show tutorial ") + c.shown), std::string::npos) << log;
        } else {
            EXPECT_EQ(log.find("show tutorial"), std::string::npos) << log;
        }
        if (GetTutorialWindow()->mVisible) GetTutorialWindow()->Close(0);
        Frames(40);
        RemoveFile(mBoard->mPicture.GetProgressPath());
    }
}

TEST_F(BoardRoomTest, FlyHintsFromTheThirdLevelOfTheFirstStage)
{
    ClearStages();
    AddStage({"fix4.png", "fix4.png", "fix4.png"});
    AddStage({"fix4.png"});
    const struct {
        int stage, level;
        bool hint;
    } cases[] = {{0, 2, true}, {0, 1, false}, {1, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.stage) + "/" + std::to_string(c.level));
        GetUserInfo()->CurrentModeProgress().mStage = c.stage;
        GetUserInfo()->CurrentModeProgress().mLevel = c.level;
        ShowRoom();
        bool hint = false;
        for (size_t i = 0; i < mBoard->mEffects.Count(); ++i)
            hint = hint || dynamic_cast<TBrisaloHintText*>(mBoard->mEffects.At(i)) != nullptr;
        EXPECT_EQ(hint, c.hint);
    }
}

TEST_F(BoardRoomTest, RescaleAndThePageButtons)
{
    GetStageList(false)[0]->mLevels[0]->mFilename = "fix25.png";
    ShowRoom();
    TPaintByNumber& picture = mBoard->mPicture;
    ASSERT_EQ(picture.mColorCount, 25);

    // The wheel over the picture zooms out; rescale fits it again and moves the slider back.
    const float fit = picture.mZoom;
    MoveTo(picture.mViewportX + 50, picture.mViewportY + 50);
    Push(Wheel(0, -1));
    Frame();
    ASSERT_LT(picture.mZoom, fit);
    ClickWidget(mBoard->mRescaleButton);
    EXPECT_FLOAT_EQ(picture.mZoom, fit);
    EXPECT_FLOAT_EQ(mBoard->mScaleSlider->mValue, (fit - picture.mMinZoom) / (picture.mMaxZoom - picture.mMinZoom));

    // Two pages: "down" goes to the second, "up" back to the first; each is off at its end.
    const struct {
        TMyButton* TBoardMahjong::*button;
        int page;
        bool upDisabled, downDisabled;
    } steps[] = {{nullptr, 0, true, false},
                 {&TBoardMahjong::mPageDownButton, 1, false, true},
                 {&TBoardMahjong::mPageDownButton, 1, false, true},
                 {&TBoardMahjong::mPageUpButton, 0, true, false}};
    for (const auto& s : steps) {
        if (s.button) {
            TMyButton* button = mBoard->*s.button;
            // A disabled button takes no click; the page stays.
            ClickWidget(button);
            Frames(40);  // the table's scroll
        }
        EXPECT_EQ(mBoard->mColorTable.mCurrentPage, s.page);
        EXPECT_EQ(mBoard->mPageUpButton->mDisabled, s.upDisabled);
        EXPECT_EQ(mBoard->mPageDownButton->mDisabled, s.downDisabled);
    }
}

// Focus loss pauses the board under the pause window and the countdown with it; the pause
// window reports to nobody, so its row of the board's results (304) runs only when told. That
// row ends the focus hold only: an open menu still holds the board.
TEST_F(BoardRoomTest, PauseWindowHoldsTheBoardAndItsResultLiftsTheShadow)
{
    GetUserInfo()->mPreset->usetimer = 1;
    GetUserInfo()->mPreset->secsperonecell = 10.0f;
    ShowRoom();
    Frames(2);
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    Frame();
    ASSERT_NE(GetWindowManager()->FindWindow(304), nullptr);
    EXPECT_EQ(mBoard->mPaused, 1);
    const float left = mBoard->mCountdown.mValue;
    Frames(30);
    EXPECT_FLOAT_EQ(mBoard->mCountdown.mValue, left);
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    Frame();
    EXPECT_EQ(GetWindowManager()->FindWindow(304), nullptr);
    EXPECT_EQ(mBoard->mPaused, 0);
    Frames(30);
    EXPECT_LT(mBoard->mCountdown.mValue, left);

    mBoard->SetPaused(true);
    mBoard->OnFlyClosed(nullptr, 304, 0);
    EXPECT_EQ(mBoard->mPaused, 0);

    // The in-game menu darkens the board; a 304 result lifts the shadow but not the menu's hold.
    ClickWidget(mBoard->mMenuButton);
    ASSERT_TRUE(FramesUntil([this] { return mBoard->mShadow != nullptr; }));
    EXPECT_EQ(mBoard->mPaused, 1);
    mBoard->SetPaused(true);
    mBoard->OnFlyClosed(nullptr, 304, 0);
    EXPECT_EQ(mBoard->mPaused, 1);
    EXPECT_EQ(mBoard->mShadow->mState, TShadow::kFadingOut);
}

TEST_F(BoardRoomTest, NextLevelWithinTheStageSavesTheProgressAndStartsIt)
{
    ShowRoom();
    TLevelCompleteWindow* window = FinishTheLevel();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(mBoard->mStageAdvance, 1);
    mSaves.mSaved.clear();
    ClickWidget(window->mNextButton);
    ASSERT_TRUE(FramesUntil([this] { return mBoard->mLevelIndex == 1 && mBoard->mState == TBoardMahjong::kStatePlaying; }));
    ASSERT_FALSE(mSaves.mSaved.empty());
    EXPECT_EQ(mSaves.mSaved.front(), std::make_pair(0, 1));
    EXPECT_TRUE(mBoard->mShadow == nullptr || mBoard->mShadow->mState != TShadow::kFadingIn);
    EXPECT_EQ(GetWindowManager()->TopScreen(), GetWindowManager()->FindWindow(4));
}

// The last level of the first stage finished while an earlier one has no stars: "next"
// goes back to the first level of the stage without stars, not on to the second stage.
TEST_F(BoardRoomTest, NextAfterTheFirstStageGoesBackToItsFirstLevelWithoutStars)
{
    ClearStages();
    AddStage({"fix4.png", "fix4.png", "fix4.png"});
    AddStage({"fix4.png"});
    const struct {
        int score0, stars0, score1, stars1;
        int stage, level;  // the progress after "next"
    } cases[] = {
        {100, 1, 0, 0, 0, 1},    // level 1 unplayed: back to it
        {0, 0, 100, 2, 0, 0},    // level 0 unplayed: back to it
        {0, 1, 100, 2, 0, 0},    // level 0 not scored but every level has stars: level 0
        {100, 1, 100, 2, 1, -1}, // the stage is complete: on to the second
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.score0) + "/" + std::to_string(c.stars0) + " " + std::to_string(c.score1) + "/" +
                     std::to_string(c.stars1));
        TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
        progress.mEntries[0].mBestScore = c.score0;
        progress.mEntries[0].mBestStars = c.stars0;
        progress.mEntries[1].mBestScore = c.score1;
        progress.mEntries[1].mBestStars = c.stars1;
        progress.mStage = 0;
        progress.mLevel = 2;
        RemoveFile("user:/fix4.dat");
        ShowRoom();
        TLevelCompleteWindow* window = FinishTheLevel();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(mBoard->mStageAdvance, 0);
        ClickWidget(window->mNextButton);
        ASSERT_TRUE(FramesUntil([] { return GetWindowManager()->TopScreen()->mId == 6; }));
        EXPECT_EQ(progress.mStage, c.stage);
        EXPECT_EQ(progress.mLevel, c.level);
        RemoveFile(mBoard->mPicture.GetProgressPath());
    }
}

TEST_F(BoardRoomTest, MenuButtonIsRefusedUnderTheTimeOverBoxAndAFader)
{
    const struct {
        const char* under;
        bool opens;
    } cases[] = {{"nothing", true}, {"time over box", false}, {"fader", false}};  // the fader last: it stays
    for (const auto& c : cases) {
        SCOPED_TRACE(c.under);
        GetUserInfo()->mPreset->usetimer = 0;
        GetWindowManager()->DeleteTopWindows();
        ShowRoom();
        TMyWindowManager* manager = GetWindowManager();
        if (std::string(c.under) == "time over box") {
            GetUserInfo()->mPreset->usetimer = 1;
            GetUserInfo()->mPreset->secsperonecell = 0.0625f;  // 1 s
            mBoard->StartLevel(0, 0);
            // Shown, the box takes the mouse; the button can be pressed in the second before.
            ASSERT_TRUE(FramesUntil([manager] { return manager->FindWindow(313) != nullptr; }));
            ASSERT_TRUE(manager->IsPending(manager->FindWindow(313)));
        } else if (std::string(c.under) == "fader") {
            manager->AddFader(new TFaderShadow());
            manager->ShowScreen(new TMyWindow(), false, 1);
            Frame();
            ASSERT_NE(manager->ActiveFader(), nullptr);
        }
        // The button is pressed and released where it is, as the player would.
        int ax = 0, ay = 0;
        mBoard->mMenuButton->GetAbsolutePosition(&ax, &ay);
        const int x = ax + mBoard->mMenuButton->GetWidth() / 2, y = ay + mBoard->mMenuButton->GetHeight() / 2;
        MoveTo(x, y);
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, x, y));
        Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, x, y));
        Frame();
        EXPECT_EQ(manager->FindWindow(10) != nullptr, c.opens);
    }
    // The screen waiting behind the fader is the manager's once the fade is done.
    EXPECT_TRUE(FramesUntil([] { return GetWindowManager()->ActiveFader() == nullptr; }));
}

}  // namespace
