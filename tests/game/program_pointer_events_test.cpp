// Whole-program test: real SDL events pushed into the frame loop reach the cursor set and,
// through the window manager, exactly one widget.
#include <gtest/gtest.h>

#include <SDL.h>

#include "app/app.h"
#include "app/task.h"
#include "audio_cases.h"
#include "core/app_state.h"
#include "game/front_screens.h"
#include "graphics/drawing_fixture.h"
#include "sdl_events.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/widget_spy.h"
#include "ui/window_manager.h"

namespace {

uint32_t gNow = 0;
uint32_t FakeTicks() { return gNow; }

const SDL_Color kArrowRed{255, 0, 0, 255};
const SDL_Color kHandGreen{0, 255, 0, 255};

class ProgramPointerEvents : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        MakeFolder("cur");
        SolidPng("cur/arrow.png", 4, 4, kArrowRed);
        SolidPng("cur/hand.png", 4, 4, kHandGreen);
        WriteWholeFile(AssetPath("cursors.xml"),
                       "<cursorset><cursors><cursor name=\"default\" filename=\"cur/arrow\"/>"
                       "<cursor name=\"hand\" filename=\"cur/hand\"/></cursors></cursorset>");
        SetTickSource(FakeTicks);
        gNow = 5000;  // stands still: no update runs, only deliveries are seen
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mActive = true;
        app.mLastFrameTicks = gNow;
        app.mApp.reset(new TGameApp());
        LoadCursors("cursors.xml");
        mDialog = new TSpy(&mLog, "dialog", 0, 0, 1366, 768);
        mChild = new TSpy(&mLog, "child", 100, 50, 200, 100);
        mChild->mHandCursor = true;
        mDialog->AddChild(mChild);
        GetWindowManager()->AddWindow(mDialog, 0);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        mLog.clear();
    }
    void TearDown() override
    {
        TAppState& app = GetAppState();
        DestroyWindowManager();
        DestroyCursors();
        ReleaseSoundForNextTest();
        app.mApp.reset();
        app.mQuit = false;
        app.mActive = true;
        SetTickSource(nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        CanvasTest::TearDown();
    }

    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    static void Press(Uint32 type, int x, int y, int clicks) { Push(Button(type, SDL_BUTTON_LEFT, clicks, x, y)); }
    TLog Frame()
    {
        Clear(0, 0, 0);
        RunFrame();
        TLog taken;
        taken.swap(mLog);
        return taken;
    }

    TLog mLog;
    TSpy* mDialog = nullptr;
    TSpy* mChild = nullptr;
};

TEST_F(ProgramPointerEvents, PointerButtonsWheelAndKeysReachOneWidget)
{
    TGameCursors* cursors = GetGameCursors();
    TMyWindowManager* manager = GetWindowManager();

    Push(Motion(0, 110, 60));
    EXPECT_EQ(Frame(), (TLog{"child enter", "child move 10,10"}));
    EXPECT_TRUE(cursors->IsInside());
    EXPECT_EQ(cursors->MouseX(), 110);
    EXPECT_EQ(cursors->MouseY(), 60);
    EXPECT_EQ(cursors->Current()->mName, "hand");
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{110, 60, 4, 4}));
    ExpectPixel(110, 60, 0, 255, 0);

    Press(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    EXPECT_EQ(Frame(), (TLog{"child down 10,10 b1"}));

    Push(Motion(SDL_BUTTON_LMASK, 400, 400));
    EXPECT_EQ(Frame(), (TLog{"child leave", "dialog enter", "dialog move 400,400", "dialog leave",
                             "child drag 300,350 b1"}));
    EXPECT_EQ(cursors->Current()->mName, "default");

    Press(SDL_MOUSEBUTTONUP, 400, 400, 1);
    EXPECT_EQ(Frame(), (TLog{"child up 300,350 b1"}));
    EXPECT_EQ(manager->CaptureMask(), 0);

    Push(Wheel(0, 1));
    EXPECT_EQ(Frame(), (TLog{"dialog wheel 400,400 b1"}));

    Push(Key(SDL_KEYDOWN, 'a', 0));
    Push(Text("\xC3\xA9"));
    Push(Key(SDL_KEYUP, 'a', 0));
    EXPECT_EQ(Frame(), (TLog{"dialog key 97", "child key 97", "dialog text 233", "child text 233", "dialog keyup 97",
                             "child keyup 97"}));

    Press(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    Press(SDL_MOUSEBUTTONUP, 110, 60, 1);
    Press(SDL_MOUSEBUTTONDOWN, 110, 60, 2);
    Press(SDL_MOUSEBUTTONUP, 110, 60, 2);
    EXPECT_EQ(Frame(), (TLog{"child down 10,10 b1", "child up 10,10 b1", "child down 10,10 b1", "child double 10,10"}));
    EXPECT_EQ(manager->CaptureMask(), 0);
}

TEST_F(ProgramPointerEvents, LeavingTheWindowHidesTheCursorUntilTheNextMove)
{
    TGameCursors* cursors = GetGameCursors();
    Push(Motion(0, 500, 500));
    Frame();
    ASSERT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{500, 500, 4, 4}));

    Push(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    Frame();
    EXPECT_FALSE(cursors->IsInside());
    EXPECT_EQ(DrawnBox(0, 0, 0).w, 0);

    Push(Motion(0, 120, 70));
    Frame();
    EXPECT_TRUE(cursors->IsInside());
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{120, 70, 4, 4}));
}

TEST_F(ProgramPointerEvents, PauseWindowTakesTheClicksWhileTheFocusIsAway)
{
    TMyWindowManager* manager = GetWindowManager();
    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    Press(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    EXPECT_EQ(Frame(), TLog{});
    TMyWindow* pause = manager->FindWindow(kPauseWindowId);
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(manager->FindTopModal(), pause);
    EXPECT_EQ(manager->Captured(), pause);
    EXPECT_TRUE(mDialog->IsPaused());
    EXPECT_FALSE(pause->IsPaused());

    Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    Press(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    EXPECT_EQ(Frame(), (TLog{"child down 10,10 b1"}));
    EXPECT_EQ(manager->FindWindow(kPauseWindowId), nullptr);
    EXPECT_FALSE(mDialog->IsPaused());
}

}  // namespace
