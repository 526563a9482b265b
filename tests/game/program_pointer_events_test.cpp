// Whole-program test: real SDL events pushed into the frame loop reach the cursor set and,
// through the window manager, exactly one widget.
#include <gtest/gtest.h>

#include <SDL.h>

#include "core/app.h"
#include "core/app_state.h"
#include "core/input.h"
#include "core/task.h"
#include "graphics/drawing_fixture.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/widget_spy.h"
#include "ui/window_manager.h"

namespace {

uint32_t gNow = 0;
uint32_t FakeTicks() { return gNow; }

const SDL_Color kRed{255, 0, 0, 255};
const SDL_Color kGreen{0, 255, 0, 255};

class ProgramPointerEvents : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        MakeFolder("cur");
        SolidPng("cur/arrow.png", 4, 4, kRed);
        SolidPng("cur/hand.png", 4, 4, kGreen);
        WriteWholeFile(AssetPath("cursors.xml"),
                       "<cursorset><cursors><cursor name=\"default\" filename=\"cur/arrow\"/>"
                       "<cursor name=\"hand\" filename=\"cur/hand\"/></cursors></cursorset>");
        SetTickSource(FakeTicks);
        gNow = 5000;  // stands still: no update runs, only deliveries are seen
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mActive = true;
        app.mLastFrameTicks = gNow;
        app.mApp = new TGameApp();
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
        ReleaseSoundManager();
        RearmSoundManagerForTests();
        delete app.mApp;
        app.mApp = nullptr;
        app.mQuit = false;
        app.mActive = true;
        SetTickSource(nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        CanvasTest::TearDown();
    }

    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    static void Motion(int x, int y, uint32_t state)
    {
        SDL_Event e;
        SDL_zero(e);
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        e.motion.state = state;
        Push(e);
    }
    static void Button(uint32_t type, int x, int y, int clicks)
    {
        SDL_Event e;
        SDL_zero(e);
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        e.button.clicks = static_cast<Uint8>(clicks);
        Push(e);
    }
    static void Key(uint32_t type, SDL_Keycode key)
    {
        SDL_Event e;
        SDL_zero(e);
        e.type = type;
        e.key.keysym.sym = key;
        Push(e);
    }
    static void Window(SDL_WindowEventID which)
    {
        SDL_Event e;
        SDL_zero(e);
        e.type = SDL_WINDOWEVENT;
        e.window.event = which;
        Push(e);
    }
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
    TGameCursors* cursors = GetCursors();
    TMyWindowManager* manager = GetWindowManager();

    Motion(110, 60, 0);
    EXPECT_EQ(Frame(), (TLog{"child enter", "child move 10,10"}));
    EXPECT_TRUE(cursors->IsInside());
    EXPECT_EQ(cursors->MouseX(), 110);
    EXPECT_EQ(cursors->MouseY(), 60);
    EXPECT_EQ(cursors->Current()->mName, "hand");
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{110, 60, 4, 4}));
    ExpectPixel(110, 60, 0, 255, 0);

    Button(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    EXPECT_EQ(Frame(), (TLog{"child down 10,10 b1"}));

    Motion(400, 400, SDL_BUTTON_LMASK);
    EXPECT_EQ(Frame(), (TLog{"child leave", "dialog enter", "dialog move 400,400", "dialog leave",
                             "child drag 300,350 b1"}));
    EXPECT_EQ(cursors->Current()->mName, "default");

    Button(SDL_MOUSEBUTTONUP, 400, 400, 1);
    EXPECT_EQ(Frame(), (TLog{"child up 300,350 b1"}));
    EXPECT_EQ(manager->CaptureMask(), 0);

    SDL_Event wheel;
    SDL_zero(wheel);
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 1;
    Push(wheel);
    EXPECT_EQ(Frame(), (TLog{"dialog wheel 400,400 b1"}));

    Key(SDL_KEYDOWN, 'a');
    SDL_Event text;
    SDL_zero(text);
    text.type = SDL_TEXTINPUT;
    strcpy(text.text.text, "\xC3\xA9");
    Push(text);
    Key(SDL_KEYUP, 'a');
    EXPECT_EQ(Frame(), (TLog{"dialog key 97", "child key 97", "dialog text 233", "child text 233", "dialog keyup 97",
                             "child keyup 97"}));

    Button(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    Button(SDL_MOUSEBUTTONUP, 110, 60, 1);
    Button(SDL_MOUSEBUTTONDOWN, 110, 60, 2);
    Button(SDL_MOUSEBUTTONUP, 110, 60, 2);
    EXPECT_EQ(Frame(), (TLog{"child down 10,10 b1", "child up 10,10 b1", "child down 10,10 b1", "child double 10,10"}));
    EXPECT_EQ(manager->CaptureMask(), 0);
}

TEST_F(ProgramPointerEvents, LeavingTheWindowHidesTheCursorUntilTheNextMove)
{
    TGameCursors* cursors = GetCursors();
    Motion(500, 500, 0);
    Frame();
    ASSERT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{500, 500, 4, 4}));

    Window(SDL_WINDOWEVENT_LEAVE);
    Frame();
    EXPECT_FALSE(cursors->IsInside());
    EXPECT_EQ(DrawnBox(0, 0, 0).w, 0);

    Motion(120, 70, 0);
    Frame();
    EXPECT_TRUE(cursors->IsInside());
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{120, 70, 4, 4}));
}

TEST_F(ProgramPointerEvents, PauseWindowTakesTheClicksWhileTheFocusIsAway)
{
    TMyWindowManager* manager = GetWindowManager();
    Window(SDL_WINDOWEVENT_FOCUS_LOST);
    Button(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    EXPECT_EQ(Frame(), TLog{});
    TMyWindow* pause = manager->FindWindow(kPauseWindowId);
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(manager->FindTopModal(), pause);
    EXPECT_EQ(manager->Captured(), pause);
    EXPECT_TRUE(mDialog->IsPaused());
    EXPECT_FALSE(pause->IsPaused());

    Window(SDL_WINDOWEVENT_FOCUS_GAINED);
    Button(SDL_MOUSEBUTTONDOWN, 110, 60, 1);
    EXPECT_EQ(Frame(), (TLog{"child down 10,10 b1"}));
    EXPECT_EQ(manager->FindWindow(kPauseWindowId), nullptr);
    EXPECT_FALSE(mDialog->IsPaused());
}

}  // namespace
