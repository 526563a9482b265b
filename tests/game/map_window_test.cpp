// The level map on the shipped layout and textures, with stage lists and pictures of the
// test's own, a player's progress in a temporary user folder, and real SDL events through the
// window manager.
#include "game/map_window.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL_image.h>

#include <string>
#include <vector>

#include "audio_cases.h"
#include "game/front_screens.h"
#include "game/picture.h"
#include "game/room_window.h"
#include "game/stages.h"
#include "game/user_info.h"
#include "sound/sound_manager.h"
#include "ui/dialog_fixture.h"

namespace {

const char kUserId[] = "7";
// Board i of a block: the shipped grid of 200 x 200 cards with gaps of 40 from (223, 150).
int BoardX(int i) { return 223 + 240 * (i % 4); }
int BoardY(int i) { return 150 + 240 * (i / 4); }

struct TUserSaver : TProfileSaver {
    bool SaveCurrentUser() override { return true; }
    std::string CurrentUserIdText() const override { return kUserId; }
};

TGameBase gQuietGame;
TGameBase* QuietGame() { return &gQuietGame; }

struct TMusicCalls : TSoundCallObserver {
    TLog* mLog;
    explicit TMusicCalls(TLog* log) : mLog(log) {}
    void OnSoundCall(const char* call, const std::string& id) override
    {
        if (std::string(call) == "music") mLog->push_back("music " + id);
    }
};

class MapWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        // The shipped folders entry by entry, so that a test can add or replace a file.
        LinkEachEntry("textures");
        LinkEachEntry("ui");
        MakeFolder("textures/maptest");
        for (const char* name : {"four.png", "one.png"})
            ASSERT_TRUE(WriteWholeFile(AssetPath("textures/maptest/") + name,
                                       ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/map/" + name)));
        ASSERT_EQ(0, system(("mkdir -p '" + mUsers.UserFolder() + "/" + kUserId + "'").c_str()));
        SetProfileSaver(&mSaver);
        SetRoomGameSource(QuietGame);
        GetUserInfo()->ResetDefaults();
        mManager->AddFader(new TFaderShadow());
        Stages({5, 4, 3}, {5, 4, 3});
    }
    void TearDown() override
    {
        DestroyWindowManager();
        DestroyTutorialWindow();
        SetRoomGameSource(nullptr);
        SetProfileSaver(nullptr);
        ClearStages();
        GetUserInfo()->ResetDefaults();
        DialogTest::TearDown();
    }

    void LinkEachEntry(const std::string& folder)
    {
        const std::string path = AssetPath(folder);
        const std::string shipped = std::string(BRISALO_ASSETS) + "/" + folder;
        ASSERT_EQ(0, unlink(path.c_str()));
        ASSERT_EQ(0, mkdir(path.c_str(), 0755));
        DIR* dir = opendir(shipped.c_str());
        ASSERT_NE(dir, nullptr);
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            EXPECT_EQ(0, symlink((shipped + "/" + name).c_str(), (path + "/" + name).c_str()));
        }
        closedir(dir);
    }
    void UseLayout(const char* testLayout)
    {
        ASSERT_EQ(0, unlink(AssetPath("ui/map.xml").c_str()));
        ASSERT_TRUE(WriteWholeFile(AssetPath("ui/map.xml"),
                                   ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/map/" + testLayout)));
    }

    // Both lists, every level the one-colour picture; a fresh progress record per mode.
    void Stages(const std::vector<int>& stages, const std::vector<int>& usual)
    {
        FillStageLists(stages, usual);
        for (bool list : {false, true})
            for (auto& stage : GetStageList(list))
                for (auto& level : stage->mLevels) level->mFilename = "maptest/one.png";
        TUserInfo* user = GetUserInfo();
        user->mProgress[0].Reset(TotalLevelCount(GetStageList(false)));
        user->mProgress[1].Reset(TotalLevelCount(GetStageList(true)));
    }
    static void SetPicture(int stage, int level, const char* file, bool usual = false)
    {
        GetStageList(usual)[static_cast<size_t>(stage)]->mLevels[static_cast<size_t>(level)]->mFilename = file;
    }
    // Every level of the mode's first stage gets a best score.
    static void ScoreFirstStage(int mode, int levels)
    {
        TModeProgress& progress = GetUserInfo()->mProgress[mode];
        for (int i = 0; i < levels; ++i) progress.mEntries[static_cast<size_t>(i)].mBestScore = 1;
    }
    // The four-cell-wide picture's progress: (0, 0) right, (1, 0) wrong, or every cell right.
    static void PaintFour(bool everyCell)
    {
        TPaintByNumber model;
        model.LoadPicture(1, "textures/maptest/four.png", kUserId);
        ASSERT_EQ(model.GetColumnCount(), 4);
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 4; ++column) {
                TPaintByNumberItem* cell = model.GetCell(column, row);
                if (everyCell) cell->SetPainted(cell->GetNumber());
            }
        if (!everyCell) {
            model.GetCell(0, 0)->SetPainted(0);
            model.GetCell(1, 0)->SetPainted(2);
        }
        ASSERT_TRUE(model.SaveProgress(model.GetProgressPath()));
    }

    TMapWindow* Open()
    {
        auto* map = new TMapWindow();
        mManager->ShowScreen(map, false, 0);
        Take();
        return map;
    }
    void Frame()
    {
        Clear(0, 0, 0);
        RenderGame();
    }
    void Press(int x, int y, Uint8 button = SDL_BUTTON_LEFT)
    {
        Push(Motion(0, x, y));
        Push(Button(SDL_MOUSEBUTTONDOWN, button, 1, x, y));
        RunFrame();
    }
    void Release(int x, int y, Uint8 button = SDL_BUTTON_LEFT)
    {
        Push(Motion(button == SDL_BUTTON_LEFT ? SDL_BUTTON_LMASK : SDL_BUTTON_RMASK, x, y));
        Push(Button(SDL_MOUSEBUTTONUP, button, 1, x, y));
        RunFrame();
    }
    void ClickButton(TMapWindow* map, const char* name)
    {
        TMyWindow* button = map->FindChild(name);
        ASSERT_NE(button, nullptr) << name;
        Click(button->GetX() + button->GetWidth() / 2, button->GetY() + button->GetHeight() / 2);
    }
    // Clicks the page point; its centre in screen coordinates.
    void ClickPoint(TMapWindow* map, int point)
    {
        TPointPageShower* pages = map->mPageShower;
        ASSERT_LT(point, static_cast<int>(pages->mPoints.size()));
        Click(pages->GetX() + pages->mPoints[static_cast<size_t>(point)].x,
              pages->GetY() + pages->mPoints[static_cast<size_t>(point)].y);
    }
    static std::vector<std::pair<int, int>> Boards(TMapWindow* map)
    {
        std::vector<std::pair<int, int>> at;
        if (TMapBoardBlock* block = map->mPages.CurrentBlock())
            for (auto& board : *block) at.emplace_back(board->mX, board->mY);
        return at;
    }
    // Updates the manager until the fade has put a new screen on top.
    TMyWindow* TopAfterFade()
    {
        Updates(12);
        return mManager->TopScreen();
    }
    // The log lines since the mark (the count of lines when it was taken).
    size_t LogMark() const { return mWatch.Lines().size(); }
    std::vector<std::string> LogSince(size_t mark, const std::string& prefix) const
    {
        std::vector<std::string> lines = mWatch.Lines(), kept;
        for (size_t i = mark; i < lines.size(); ++i)
            if (lines[i].compare(0, prefix.size(), prefix) == 0) kept.push_back(lines[i]);
        return kept;
    }
    size_t Count(const TLog& log, const std::string& line)
    {
        size_t n = 0;
        for (const std::string& l : log) n += l == line ? 1 : 0;
        return n;
    }

    TLogWatch mWatch;
    TUserFolderScope mUsers;
    TUserSaver mSaver;
};

TEST_F(MapWindowTest, BoardsStandInTheGridAndOnlyTheFirstBlockIsShown)
{
    TMapWindow* map = Open();
    EXPECT_EQ(map->mId, 6);
    EXPECT_EQ(Boards(map), (std::vector<std::pair<int, int>>{{223, 150}, {463, 150}, {703, 150}, {943, 150},
                                                              {223, 390}}));
    for (auto& board : *map->mPages.CurrentBlock()) {
        EXPECT_EQ(board->mW, 200);
        EXPECT_EQ(board->mH, 200);
    }

    // Nine levels: a block of eight and one of one; the ninth cannot be reached.
    Stages({9, 4, 3}, {9, 4, 3});
    map->SetPage(0);
    ASSERT_EQ(map->mPages.mBlocks.size(), 2u);
    EXPECT_EQ(map->mPages.mBlocks[0].size(), 8u);
    EXPECT_EQ(map->mPages.mBlocks[1].size(), 1u);
    EXPECT_EQ(map->mPages.mBlocks[1][0]->mLevelIndex, 8);
    EXPECT_EQ(Boards(map).back(), std::make_pair(943, 390));
    Click(300, 200);
    EXPECT_EQ(GetUserInfo()->mProgress[0].mLevel, 0);
    EXPECT_EQ(GetUserInfo()->mProgress[0].mStage, 0);

    // Without the grid's element the boards start at the origin without gaps. The process's
    // holder may have read the layout more than once: every copy is hidden.
    std::vector<TUIBaseBox*> grids;
    while (TUIBaseBox* grid = GetInterfaceHolder()->Find("mapboardbox")) {
        grid->mName = "hidden";
        grids.push_back(grid);
    }
    ASSERT_FALSE(grids.empty());
    map->SetPage(0);
    for (TUIBaseBox* grid : grids) grid->mName = "mapboardbox";
    EXPECT_EQ(Boards(map)[1], std::make_pair(200, 0));
    EXPECT_EQ(Boards(map)[4], std::make_pair(0, 200));
}

TEST_F(MapWindowTest, PreviewShowsThePlayersPaintAndTheMarkOnlyWhenFinished)
{
    SetPicture(0, 0, "maptest/four.png");
    SetPicture(0, 1, "maptest/missing.png");
    PaintFour(false);
    TMapWindow* map = Open();
    Frame();
    // 4 x 2 cells of 50 pixels, centred: the picture covers rows 50 to 149 of the board.
    const int x = BoardX(0), y = BoardY(0);
    ExpectPixel(x + 25, y + 75, 200, 40, 40);   // right: its palette colour
    ExpectPixel(x + 75, y + 75, 40, 60, 200);   // wrong: the colour painted
    TPixel grey = Pixel(x + 125, y + 75);       // unpainted: its grey
    EXPECT_TRUE(grey.r == grey.g && grey.g == grey.b && grey.r > 0 && grey.r < 255) << grey.r;
    // A white cell and the bands beside the picture show the preview's opaque background.
    ExpectPixel(x + 175, y + 75, 255, 255, 255);
    ExpectPixel(x + 100, y + 20, 255, 255, 255);
    ExpectPixel(x + 100, y + 180, 255, 255, 255);
    const TPixel band{255, 255, 255, 255};
    EXPECT_FALSE((*map->mPages.CurrentBlock())[0]->mComplete);
    // A picture that cannot be loaded: an empty preview, and not finished.
    EXPECT_FALSE((*map->mPages.CurrentBlock())[1]->mComplete);
    ExpectPixel(BoardX(1) + 100, BoardY(1) + 100, band.r, band.g, band.b);
    ExpectPixel(BoardX(1) + 190, BoardY(1) + 190, band.r, band.g, band.b);

    PaintFour(true);
    map->SetPage(0);
    EXPECT_TRUE((*map->mPages.CurrentBlock())[0]->mComplete);
    Frame();
    SDL_Surface* mark = IMG_Load((std::string(BRISALO_ASSETS) + "/textures/tilesets/complete.png").c_str());
    ASSERT_NE(mark, nullptr);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(mark, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(mark);
    ASSERT_EQ(argb->w, 56);
    const Uint32 badge = static_cast<const Uint32*>(argb->pixels)[(argb->pitch / 4) * 46 + 46];
    SDL_FreeSurface(argb);
    ASSERT_EQ(badge >> 24, 255u) << "the badge's centre is opaque";
    // The mark's bottom-right corner on the board's: (46, 46) of the mark at 200 - 56 + 46.
    ExpectPixel(x + 190, y + 190, (badge >> 16) & 0xFF, (badge >> 8) & 0xFF, badge & 0xFF);
    TPixel other = Pixel(BoardX(1) + 190, BoardY(1) + 190);
    EXPECT_EQ(other.r, band.r);
}

TEST_F(MapWindowTest, PressedBoardShiftsUntilTheReleaseAndTheFrameFollowsTheHover)
{
    SetPicture(0, 0, "maptest/four.png");
    PaintFour(false);
    TMapWindow* map = Open();
    TMapBoard* board = (*map->mPages.CurrentBlock())[0].get();
    const int x = BoardX(0), y = BoardY(0);
    Frame();
    TPixel atRest = Pixel(x + 50, y + 75);  // the first pixel of the wrong cell
    MoveTo(x + 100, y + 30);
    EXPECT_TRUE(board->mHover);
    Frame();
    TPixel frameHovered = Pixel(x + 100, y + 2);
    MoveTo(x + 100, y - 20);
    EXPECT_FALSE(board->mHover);
    Frame();
    TPixel frameLeft = Pixel(x + 100, y + 2);
    EXPECT_NE(frameHovered.r * 65536 + frameHovered.g * 256 + frameHovered.b,
              frameLeft.r * 65536 + frameLeft.g * 256 + frameLeft.b);

    Press(x + 100, y + 30);
    EXPECT_TRUE(board->mPressed);
    Frame();
    // Two pixels right: the right cell's colour now reaches x + 51.
    ExpectPixel(x + 51, y + 77, 200, 40, 40);
    // Held and moved on the board: still shifted until the release.
    Push(Motion(SDL_BUTTON_LMASK, x + 150, y + 150));
    RunFrame();
    Frame();
    ExpectPixel(x + 51, y + 77, 200, 40, 40);
    Release(x + 150, y + 150);
    EXPECT_FALSE(board->mPressed);
    Frame();
    ExpectPixel(x + 50, y + 75, atRest.r, atRest.g, atRest.b);
}

TEST_F(MapWindowTest, PreviewOffsetMovesOnlyThePreview)
{
    UseLayout("map_prev_offset.xml");
    SetPicture(0, 0, "maptest/four.png");
    PaintFour(false);
    TMapWindow* map = Open();
    EXPECT_EQ(map->mPages.mPreviewX, 10);
    EXPECT_EQ(map->mPages.mPreviewY, 6);
    EXPECT_EQ(Boards(map)[0], std::make_pair(223, 150));
    Frame();
    ExpectPixel(BoardX(0) + 10 + 25, BoardY(0) + 6 + 75, 200, 40, 40);
    ExpectPixel(BoardX(0) + 10 + 75, BoardY(0) + 6 + 75, 40, 60, 200);
    // Left of the preview the level card shows.
    TPixel card = Pixel(BoardX(0) + 5, BoardY(0) + 100);
    EXPECT_GT(card.r + card.g + card.b, 0);
}

TEST_F(MapWindowTest, LaterStagesStayLockedUntilTheFirstIsDone)
{
    // Only the locked tip may appear.
    for (const char* tip : {"TipMapClickToPlay", "TipMapClickToNextStage"}) mProfile.AddPair("IHelpShown", tip);
    TMapWindow* map = Open();
    EXPECT_TRUE(map->mPrevButton->mDisabled);
    EXPECT_FALSE(map->mNextButton->mDisabled);
    ClickButton(map, "nextpage");
    EXPECT_TRUE(mWatch.Has("show tutorial TipMapLockedCities"));
    EXPECT_EQ(map->mStage, 0);

    // Once the tip has had an update, the next click only dismisses it.
    Updates(1);
    ClickPoint(map, 2);
    EXPECT_EQ(mWatch.Count("show tutorial TipMapLockedCities"), 1u);
    EXPECT_EQ(map->mPageShower->mCurrentPage, 0);
    Updates(20);
    ClickPoint(map, 2);
    EXPECT_EQ(mWatch.Count("show tutorial TipMapLockedCities"), 2u);
    EXPECT_EQ(map->mPageShower->mCurrentPage, 0);
    EXPECT_EQ(map->mStage, 0);
    Updates(1);
    Click(100, 600);  // dismisses the tip
    Updates(20);

    ScoreFirstStage(0, 5);
    ClickButton(map, "nextpage");
    Updates(1);
    EXPECT_EQ(map->mStage, 1);
    EXPECT_EQ(map->mPageShower->mCurrentPage, 1);
    EXPECT_FALSE(map->mPrevButton->mDisabled);
    EXPECT_EQ(Boards(map).size(), 4u);
    ClickPoint(map, 2);
    EXPECT_EQ(map->mStage, 2);
    EXPECT_EQ(Boards(map).size(), 3u);
    EXPECT_TRUE(map->mNextButton->mDisabled);
    ClickButton(map, "prevpage");
    EXPECT_EQ(map->mStage, 1);
    EXPECT_FALSE(map->mNextButton->mDisabled);
}

TEST_F(MapWindowTest, TipsComeOneAndAHalfSecondsAfterShowing)
{
    struct Case {
        int scored;
        bool recorded;
        std::vector<std::string> expected;
    } cases[] = {
        {0, false, {"show tutorial TipMapClickToPlay"}},
        {5, false, {"show tutorial TipMapClickToPlay", "show tutorial TipMapClickToNextStage"}},
        {5, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scored);
        Stages({5, 4, 3}, {5, 4, 3});
        ScoreFirstStage(0, c.scored);
        mProfile.mPairs.clear();
        if (c.recorded)
            for (const char* tip : {"TipMapClickToPlay", "TipMapClickToNextStage"}) mProfile.AddPair("IHelpShown", tip);
        const size_t mark = LogMark();
        Open();
        Updates(11);
        EXPECT_TRUE(LogSince(mark, "show tutorial").empty());
        Updates(1);
        EXPECT_EQ(LogSince(mark, "show tutorial"), c.expected);
        DestroyWindowManager();
        DestroyTutorialWindow();
        mManager = GetWindowManager();
        mManager->AddFader(new TFaderShadow());
    }
}

TEST_F(MapWindowTest, ReleaseOnABoardOpensItsLevelInTheRoomWindow)
{
    ScoreFirstStage(0, 5);
    TMapWindow* map = Open();
    Updates(12);  // the first tip is up
    ASSERT_NE(mManager->FindWindow(TMyTutorialWindow::kTutorialId), nullptr);
    ClickButton(map, "nextpage");
    ASSERT_EQ(map->mStage, 1);

    // Pressed on a board and released off every board, or the right button: nothing opens.
    Press(BoardX(0) + 50, BoardY(0) + 50);
    Release(BoardX(0) + 220, BoardY(0) + 50);
    Click(100, 600);
    Press(BoardX(3) + 50, BoardY(3) + 50, SDL_BUTTON_RIGHT);
    Release(BoardX(3) + 50, BoardY(3) + 50, SDL_BUTTON_RIGHT);
    EXPECT_EQ(GetUserInfo()->mProgress[0].mLevel, -1);
    Take();

    Click(BoardX(3) + 50, BoardY(3) + 50);
    EXPECT_EQ(Take(), (TLog{"sound mapselectboard"}));
    EXPECT_EQ(GetUserInfo()->mProgress[0].mStage, 1);
    EXPECT_EQ(GetUserInfo()->mProgress[0].mLevel, 3);
    EXPECT_TRUE(GetTutorialWindow()->mClosing || !GetTutorialWindow()->mVisible);
    TMyWindow* top = TopAfterFade();
    ASSERT_NE(dynamic_cast<TRoomWindow*>(top), nullptr);
    EXPECT_EQ(top->mId, 4);
    EXPECT_EQ(mManager->FindWindow(6), nullptr);
}

TEST_F(MapWindowTest, ButtonsSwitchTheModeAndLeaveForTheMainMenu)
{
    Stages({5, 4, 3}, {2, 2, 2});
    GetUserInfo()->mProgress[0].mStage = 2;
    GetUserInfo()->mProgress[1].mStage = 1;
    TMapWindow* map = Open();
    EXPECT_EQ(map->mStage, 2);
    EXPECT_EQ(Boards(map).size(), 3u);
    ClickButton(map, "usual");
    EXPECT_EQ(GetUserInfo()->mMode, 1);
    EXPECT_EQ(map->mStage, 1);
    EXPECT_EQ(Boards(map).size(), 2u);
    ClickButton(map, "mixed");
    EXPECT_EQ(GetUserInfo()->mMode, 0);
    EXPECT_EQ(map->mStage, 2);
    EXPECT_EQ(Boards(map).size(), 3u);
    // The tabs are never drawn but still clicked; the tutorial hears nothing of it.
    EXPECT_FALSE(map->mMixedTab->mDrawn);
    EXPECT_FALSE(map->mUsualTab->mDrawn);

    // The map supplies every button's look.
    struct Case {
        bool pressed, highlighted, disabled, hover, ticked;
        int look;
    } cases[] = {
        {true, false, true, false, false, 2}, {false, true, false, false, false, 2},
        {false, false, true, true, false, 3}, {false, false, false, true, false, 1},
        {false, false, false, false, true, 0},
    };
    TMyButton probe(nullptr);
    for (const Case& c : cases) {
        probe.mPressed = c.pressed;
        probe.mHighlighted = c.highlighted;
        probe.mDisabled = c.disabled;
        probe.mHover = c.hover;
        probe.mTicked = c.ticked;
        int look = -1;
        EXPECT_TRUE(map->GetButtonState(&probe, &look));
        EXPECT_EQ(look, c.look);
    }

    ClickButton(map, "menu");
    TMyWindow* top = TopAfterFade();
    ASSERT_NE(dynamic_cast<TMainMenu*>(top), nullptr);
    EXPECT_EQ(top->mId, 5);
}

TEST_F(MapWindowTest, ShownStageStaysInsideTheModesList)
{
    GetUserInfo()->mProgress[0].mStage = 7;
    TMapWindow* map = Open();
    EXPECT_EQ(map->mStage, 2);
    EXPECT_EQ(map->mPageShower->mCurrentPage, 2);
    EXPECT_TRUE(map->mNextButton->mDisabled);
    EXPECT_EQ(GetUserInfo()->mProgress[0].mStage, 7);  // only opening a level writes it

    GetUserInfo()->mProgress[0].mStage = -1;
    map->OnShown();
    EXPECT_EQ(map->mStage, 0);
    EXPECT_EQ(Boards(map).size(), 5u);

    // Mode 1 with two stages against three: two points, and stage 1 is its last.
    Stages({5, 4, 3}, {2, 2});
    ScoreFirstStage(1, 2);
    GetUserInfo()->mProgress[1].mStage = 5;
    ClickButton(map, "usual");
    EXPECT_EQ(map->mStage, 1);
    EXPECT_EQ(map->mPageShower->mPoints.size(), 2u);
    EXPECT_TRUE(map->mNextButton->mDisabled);
    ClickButton(map, "nextpage");
    EXPECT_EQ(map->mStage, 1);
    ClickPoint(map, 1);
    EXPECT_EQ(map->mStage, 1);

    // No stages at all: no boards, no points, both arrows disabled.
    Stages({}, {});
    map->OnShown();
    EXPECT_TRUE(Boards(map).empty());
    EXPECT_TRUE(map->mPageShower->mPoints.empty());
    EXPECT_TRUE(map->mNextButton->mDisabled);
    EXPECT_TRUE(map->mPrevButton->mDisabled);
    Frame();
    Click(300, 200);
    EXPECT_EQ(mManager->TopScreen(), map);
}

TEST_F(MapWindowTest, MissingLevelsAndLayoutElementsLeaveAnEmptyMap)
{
    // A stage without levels.
    Stages({0, 4}, {0, 4});
    TMapWindow* map = Open();
    EXPECT_TRUE(map->mPages.mBlocks.empty());
    Frame();
    Click(300, 200);
    MoveTo(250, 250);
    EXPECT_EQ(mManager->TopScreen(), map);
    DestroyWindowManager();
    mManager = GetWindowManager();

    // A layout holding only the window.
    UseLayout("window_only.xml");
    Stages({5, 4, 3}, {5, 4, 3});
    const size_t mark = LogMark();
    map = new TMapWindow();
    EXPECT_EQ(LogSince(mark, "map: "), (std::vector<std::string>{
                           "map: ui/map.xml has no nextpage", "map: ui/map.xml has no prevpage",
                           "map: ui/map.xml has no menu", "map: ui/map.xml has no mixed",
                           "map: ui/map.xml has no usual", "map: ui/map.xml has no pagescounter"}));
    mManager->ShowScreen(map, false, 0);
    EXPECT_EQ(Boards(map).size(), 5u);
    Frame();
    Click(300, 200);
    Updates(2);
    EXPECT_EQ(GetUserInfo()->mProgress[0].mLevel, 0);
}

TEST_F(MapWindowTest, ShowingAsksForTheMenuMusicAndHidingTakesTheHintAway)
{
    RearmSoundManagerForTests();
    TMusicCalls calls(&mLog);
    GetSoundManager()->SetCallObserver(&calls);
    auto* map = new TMapWindow();
    mManager->ShowScreen(map, false, 0);
    GetSoundManager()->SetCallObserver(nullptr);
    ReleaseSoundForNextTest();
    EXPECT_EQ(Count(mLog, "music mainmenu"), 1u);
    // Shown in place of the classic window: no fade, the alpha stays 1.
    EXPECT_FLOAT_EQ(map->mAlpha, 1.0f);

    Updates(12);
    ASSERT_NE(mManager->FindWindow(TMyTutorialWindow::kTutorialId), nullptr);
    map->Hide();
    Updates(1);
    EXPECT_EQ(mManager->FindWindow(TMyTutorialWindow::kTutorialId), nullptr);
}

TEST_F(MapWindowTest, ReloadTexturesRendersThePreviewsAgain)
{
    SetPicture(0, 0, "maptest/four.png");
    PaintFour(false);
    TMapWindow* map = Open();
    TMapBoard* board = (*map->mPages.CurrentBlock())[0].get();
    const TTexture* before = board->mPreview.GetTexture();
    ASSERT_NE(before, nullptr);
    const size_t mark = LogMark();
    map->ReloadTextures();
    EXPECT_EQ(LogSince(mark, "reload textures").size(), 1u);
    EXPECT_EQ(LogSince(mark, "RENDERER SCALE  3 ").size(), 5u);
    Frame();
    ExpectPixel(BoardX(0) + 25, BoardY(0) + 75, 200, 40, 40);
}

}  // namespace
