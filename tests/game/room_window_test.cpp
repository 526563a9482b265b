// The room window hosting a recording game, with the real window manager.
#include "game/room_window.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/settings.h"
#include "audio_cases.h"
#include "core/app_state.h"
#include "core/xml_document.h"
#include "game/board.h"
#include "game/stages.h"
#include "game/user_info.h"
#include "graphics/drawing_fixture.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"
#include "ui/widget_spy.h"
#include "ui/window_manager.h"

namespace {

const float kStep = 1.0f / 16;

std::string Record(const TMouseEvent& e)
{
    return std::to_string(e.mX) + "," + std::to_string(e.mY) + " s" + std::to_string(e.mScreenX) + "," +
           std::to_string(e.mScreenY) + " b" + std::to_string(e.mButtons) + " m" + std::to_string(e.mModifiers);
}

// Writes every operation the host calls into the test's log.
struct TRecordingGame : TGameBase {
    TLog* mLog;
    std::string mName;
    bool mNoteUpdates = true;
    TRecordingGame(TLog* log, const char* name) : mLog(log), mName(name) {}
    void Note(const std::string& what) { mLog->push_back(mName + " " + what); }
    void Activate() override
    {
        Note("activate");
        TGameBase::Activate();
    }
    void Setup() override { Note("setup"); }
    void Deactivate() override { Note(std::string("deactivate active=") + (mActive ? "1" : "0")); }
    void Draw() override { Note("draw"); }
    void DrawOverlay() override { Note("overlay"); }
    void Update(float) override
    {
        if (mNoteUpdates) Note("update");
    }
    void MouseMove(const TMouseEvent& e) override { Note("move " + Record(e)); }
    void MouseUp(const TMouseEvent& e) override { Note("up " + Record(e)); }
    void MouseDown(const TMouseEvent& e) override { Note("down " + Record(e)); }
    void MouseDrag(const TMouseEvent& e) override { Note("drag " + Record(e)); }
    void MouseWheel(const TMouseEvent& e) override { Note("wheel " + Record(e)); }
    void DoubleClick(const TMouseEvent& e) override { Note("double " + Record(e)); }
    void KeyUp(int key) override { Note("keyup " + std::to_string(key)); }
    void SetPaused(bool paused) override { Note(std::string("paused ") + (paused ? "1" : "0")); }
};

// A child that also says when its window hides it.
struct TChildSpy : TSpy {
    using TSpy::TSpy;
    void OnHidden() override
    {
        TSpy::OnHidden();
        Note("onhidden");
    }
};

TGameBase* gHookedGame = nullptr;
TGameBase* HookedGame() { return gHookedGame; }

class RoomWindowTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        // The global holder keeps what it read for the whole process: one "board" serves.
        if (!GetInterfaceHolder()->Find("board")) {
            MakeFolder("ui");
            ASSERT_TRUE(WriteWholeFile(AssetPath("ui/interface.xml"),
                                       ReadWholeFile(BRISALO_TEST_DATA "/game/interface.xml")));
            TiXmlElement* root = LoadXmlDocument("ui/interface.xml");
            ASSERT_NE(root, nullptr);
            GetInterfaceHolder()->Load(root);
            DeleteCurrentXmlDocument();
        }
        mBoardElement = dynamic_cast<TUIClassicWindow*>(GetInterfaceHolder()->Find("board"));
        ASSERT_NE(mBoardElement, nullptr);
        mAlphaTimeBefore = mBoardElement->mAlphaTime;
        gHookedGame = &mGame;
        SetRoomGameSource(HookedGame);
        mManager = GetWindowManager();
        GetUserInfo()->ResetDefaults();
    }
    void TearDown() override
    {
        DestroyWindowManager();
        SetRoomGameSource(nullptr);
        gHookedGame = nullptr;
        mBoardElement->mAlphaTime = mAlphaTimeBefore;
        GetUserInfo()->ResetDefaults();
        ClearStages();
        CanvasTest::TearDown();
    }
    TLog Take()
    {
        TLog taken;
        taken.swap(mLog);
        return taken;
    }
    TLog TakeWithoutUpdates()
    {
        TLog kept;
        for (const std::string& entry : Take())
            if (entry.find(" update") == std::string::npos) kept.push_back(entry);
        return kept;
    }
    // The number of manager updates until the entry is logged.
    int UpdatesUntil(const std::string& entry)
    {
        for (int updates = 1; updates <= 100; ++updates) {
            mManager->Update(kStep);
            for (const std::string& logged : mLog)
                if (logged == entry) return updates;
        }
        return -1;
    }
    // A room window shown as the screen, and the log emptied.
    TRoomWindow* ShowRoom()
    {
        auto* room = new TRoomWindow();
        mManager->ShowScreen(room, false, 0);
        Take();
        return room;
    }

    TLog mLog;
    TRecordingGame mGame{&mLog, "game"};
    TMyWindowManager* mManager = nullptr;
    TUIClassicWindow* mBoardElement = nullptr;
    float mAlphaTimeBefore = 0.0f;
};

TEST_F(RoomWindowTest, ShowHideShowActivatesTwiceAroundOneDeactivate)
{
    TRoomWindow room;
    room.AddChild(new TChildSpy(&mLog, "child", 0, 0, 10, 10));
    room.Show();
    EXPECT_EQ(Take(), (TLog{"game activate", "game setup"}));
    EXPECT_TRUE(mGame.mActive);
    EXPECT_EQ(mGame.mListener, &room);
    room.Hide();
    EXPECT_EQ(Take(), (TLog{"game deactivate active=0", "child onhidden"}));
    EXPECT_FALSE(mGame.mActive);
    room.Show();
    EXPECT_EQ(Take(), (TLog{"game activate", "game setup"}));
    EXPECT_EQ(mGame.mActivationCount, 2);
    EXPECT_EQ(mGame.mListener, &room);
}

TEST_F(RoomWindowTest, AttachSwapsAnActiveGameForTheHookedOne)
{
    TRecordingGame other(&mLog, "other");  // outlives the window, as the board does
    TRoomWindow room;
    room.Show();
    gHookedGame = &other;
    Take();
    room.AttachGame();
    EXPECT_EQ(Take(), (TLog{"game deactivate active=0", "other activate", "other setup"}));
    EXPECT_FALSE(mGame.mActive);
    EXPECT_EQ(mGame.mListener, nullptr);
    EXPECT_TRUE(other.mActive);
    EXPECT_EQ(room.GetGame(), &other);
    EXPECT_EQ(other.mListener, &room);
    // The same active game again: only the listener and Setup.
    room.AttachGame();
    EXPECT_EQ(Take(), (TLog{"other setup"}));
}

TEST_F(RoomWindowTest, FinishedGameMovesTheProgressOnAndStartsAgain)
{
    TRoomWindow* room = ShowRoom();
    TModeProgress& fresh = GetUserInfo()->CurrentModeProgress();
    fresh.mStage = -1;
    fresh.mLevel = -1;
    mGame.mListener->OnGameFinished(&mGame);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mStage, 0);
    EXPECT_EQ(GetUserInfo()->CurrentModeProgress().mLevel, 0);
    EXPECT_EQ(Take(), (TLog{"game setup"}));

    TUserFolderScope scope;
    TMySettings settings;
    settings.AddUser("Jo");
    ASSERT_EQ(settings.CurrentUserIndex(), 0);
    TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
    progress.mStage = 2;
    progress.mLevel = 3;
    room->OnGameFinished(&mGame);
    EXPECT_EQ(progress.mStage, 2);
    EXPECT_EQ(progress.mLevel, 4);
    EXPECT_EQ(Take(), (TLog{"game setup"}));
    EXPECT_TRUE(mGame.mActive);
    EXPECT_EQ(mManager->TopScreen(), room);
    TUserInfo saved;
    ASSERT_TRUE(saved.Load("user:user" + settings.CurrentUserIdText()));
    EXPECT_EQ(saved.CurrentModeProgress().mStage, 2);
    EXPECT_EQ(saved.CurrentModeProgress().mLevel, 4);

    // A level index at the end of the int range stays there.
    progress.mLevel = INT32_MAX;
    room->OnGameFinished(&mGame);
    EXPECT_EQ(progress.mLevel, INT32_MAX);
}

TEST_F(RoomWindowTest, PausedGameFreezesTheWidgetsAndTheFade)
{
    mBoardElement->mAlphaTime = 1.0f;
    auto* room = new TRoomWindow();
    room->AddChild(new TSpy(&mLog, "child", 0, 0, 10, 10));
    mManager->ShowScreen(room, false, 0);
    ASSERT_FLOAT_EQ(room->mAlpha, 0.0f);
    Take();
    mGame.mPaused = 1;
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(room->Update(0.25f));
    EXPECT_EQ(Take(), (TLog{"game update", "game update", "game update"}));
    EXPECT_FLOAT_EQ(room->mAlpha, 0.0f);
    mGame.mPaused = 0;
    EXPECT_FALSE(room->Update(0.25f));
    EXPECT_EQ(Take(), (TLog{"game update", "child update"}));
    EXPECT_FLOAT_EQ(room->mAlpha, 0.25f);
}

TEST_F(RoomWindowTest, PauseReachesTheGameAndTheWindowGoesOnUpdating)
{
    TRoomWindow* room = ShowRoom();
    room->SetPaused(true);
    mManager->SetAllPaused(true);
    EXPECT_EQ(Take(), (TLog{"game paused 1", "game paused 1"}));
    EXPECT_FALSE(room->IsPaused());
    mManager->Update(kStep);
    EXPECT_EQ(Take(), (TLog{"game update"}));
}

TEST_F(RoomWindowTest, InputGoesToTheGameUnchanged)
{
    TMouseEvent e;
    e.mX = 11;
    e.mY = 22;
    e.mScreenX = 33;
    e.mScreenY = 44;
    e.mButtons = 2;
    e.mModifiers = 5;
    const std::string record = Record(e);
    struct TRow {
        void (TMyWindow::*handler)(const TMouseEvent&);
        const char* name;
    };
    const TRow rows[] = {{&TMyWindow::OnMouseDown, "down"},   {&TMyWindow::OnMouseMove, "move"},
                         {&TMyWindow::OnMouseUp, "up"},       {&TMyWindow::OnMouseDrag, "drag"},
                         {&TMyWindow::OnMouseWheel, "wheel"}, {&TMyWindow::OnDoubleClick, "double"}};
    TRoomWindow* room = ShowRoom();
    TKeyEvent key;
    key.mKey = SDLK_SPACE;
    for (const TRow& row : rows) {
        (room->*row.handler)(e);
        EXPECT_EQ(Take(), TLog{std::string("game ") + row.name + " " + record});
    }
    EXPECT_TRUE(room->OnKeyUp(&key));
    EXPECT_EQ(Take(), TLog{"game keyup " + std::to_string(SDLK_SPACE)});
    // Through the manager, once the fade-in has made the window hittable: it covers the
    // screen, so its coordinates are design ones.
    room->Update(1.0f);
    Take();
    mManager->OnMouseDown(PointerAt(100, 200, 1));
    EXPECT_EQ(Take(), TLog{"game down 100,200 s100,200 b1 m0"});

    TRoomWindow idle;  // never shown: no game
    for (const TRow& row : rows) (idle.*row.handler)(e);
    EXPECT_TRUE(idle.OnKeyUp(&key));
    idle.SetPaused(true);
    EXPECT_FALSE(idle.Update(kStep));
    EXPECT_TRUE(Take().empty());
}

TEST_F(RoomWindowTest, GameDrawsBelowAndAboveTheChildren)
{
    TRoomWindow* room = ShowRoom();
    auto* child = new TSpy(&mLog, "child", 0, 0, 10, 10);
    child->mNoteDraws = true;
    room->AddChild(child);
    mManager->Draw();
    EXPECT_EQ(Take(), (TLog{"game draw", "child draw", "game overlay"}));
}

TEST_F(RoomWindowTest, ScreenChangesThroughTheFaderActivateAndDeactivateAtFullCover)
{
    mGame.mNoteUpdates = false;
    mManager->AddFader(new TFaderShadow());
    auto* plain = new TSpy(&mLog, "plain", 0, 0, 1366, 768);
    plain->mAutoDelete = true;
    mManager->ShowScreen(plain, false, 0);
    Take();
    mManager->ShowScreen(new TRoomWindow(), true, 1);
    // The shadow darkens for half a second before the screens change.
    EXPECT_EQ(UpdatesUntil("plain hidden"), 8);
    EXPECT_EQ(TakeWithoutUpdates(), (TLog{"plain hidden", "game activate", "game setup", "plain deleted"}));
    ASSERT_NE(mManager->FindWindow(4), nullptr);

    for (int i = 0; i < 20; ++i) mManager->Update(kStep);
    mManager->ShowScreen(new TSpy(&mLog, "next", 0, 0, 1366, 768), true, 1);
    EXPECT_EQ(UpdatesUntil("next shown"), 8);
    EXPECT_EQ(TakeWithoutUpdates(), (TLog{"game deactivate active=0", "next shown"}));
    EXPECT_EQ(mManager->FindWindow(4), nullptr);
    EXPECT_EQ(mGame.mListener, nullptr);
}

TEST_F(RoomWindowTest, ShutdownLeavesTheBoardWithoutTheWindow)
{
    SetRoomGameSource(nullptr);
    ShowRoom();
    TBoardMahjong* board = GetBoard();
    ASSERT_NE(board->mListener, nullptr);
    DestroyWindowManager();
    EXPECT_EQ(board->mListener, nullptr);
    EXPECT_TRUE(board->mActive);
    GetAppState().mBoard.reset();
}

TEST_F(RoomWindowTest, ShippedBoardElementMakesTheScreenWindow)
{
    TUIInfoHolder shipped;
    std::string text = ReadWholeFile(BRISALO_ASSETS "/ui/interface.xml");
    TiXmlDocument doc;
    ASSERT_TRUE(ParseXmlText(&doc, text));
    ASSERT_TRUE(shipped.Load(doc.RootElement()));
    auto* board = dynamic_cast<TUIClassicWindow*>(shipped.Find("board"));
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->mImage, "");
    EXPECT_EQ(board->mAlphaTime, 0.0f);
    int boards = 0;
    for (const auto& element : shipped.Elements()) boards += element->mName == "board";
    EXPECT_EQ(boards, 1);

    TRoomWindow room;
    EXPECT_EQ(room.mId, 4);
    EXPECT_EQ(room.GetX(), 0);
    EXPECT_EQ(room.GetY(), 0);
    EXPECT_EQ(room.GetWidth(), 1366);
    EXPECT_EQ(room.GetHeight(), 768);
    EXPECT_TRUE(room.mAutoDelete);
}

}  // namespace
