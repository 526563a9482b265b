#include "app/input_dispatch.h"

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/settings.h"
#include "app/task.h"
#include "audio_cases.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/system.h"
#include "core/text.h"
#include "game/front_screens.h"
#include "log_watch.h"
#include "sdl_events.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/window_manager.h"

namespace {

class InputDispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSaved = std::move(GetAppState());
        GetAppState().mLastKeyModifiers = 0;
    }
    void TearDown() override
    {
        DestroyWindowManager();
        DestroyCursors();
        ReleaseSoundForNextTest();
        // The application object and the settings go with the restore.
        GetAppState() = std::move(mSaved);
    }
    TAppState mSaved;
};

}  // namespace

TEST_F(InputDispatchTest, PointerIsMappedToTheCanvas)
{
    TAppState& app = GetAppState();
    app.mApp.reset(new TGameApp());
    app.mScaleX = 2.0f;
    app.mScaleY = 1.5f;
    app.mOffsetX = app.mOffsetY = 0;
    TInputEvent event = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 301, 300)).at(0);
    MapToDesign(&event);
    EXPECT_EQ(event.mX, 150);
    EXPECT_EQ(event.mY, 200);

    LoadCursors("cursors.xml");
    TGameCursors* cursors = GetGameCursors();
    cursors->SetCustomMode(true);
    ASSERT_TRUE(DispatchEvent(Translate(Motion(0, 301, 300)).at(0)));
    EXPECT_EQ(cursors->MouseX(), 150);
    EXPECT_EQ(cursors->MouseY(), 200);
    EXPECT_TRUE(cursors->IsInside());

    ASSERT_TRUE(DispatchEvent(Translate(WindowEvent(SDL_WINDOWEVENT_LEAVE)).at(0)));
    EXPECT_FALSE(cursors->IsInside());
    // Drawn cursors only follow moves; the system cursor follows clicks as well.
    ASSERT_TRUE(DispatchEvent(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 10, 30)).at(0)));
    EXPECT_EQ(cursors->MouseX(), 150);
    cursors->SetCustomMode(false);
    ASSERT_TRUE(DispatchEvent(Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 10, 30)).at(0)));
    EXPECT_EQ(cursors->MouseX(), 5);
    EXPECT_EQ(cursors->MouseY(), 20);
}

TEST_F(InputDispatchTest, QuitPushesSdlQuitAndStops)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    EXPECT_FALSE(DispatchEvent(Translate(Key(SDL_KEYDOWN, SDLK_F4, KMOD_RALT)).at(0)));
    SDL_Event queued;
    EXPECT_EQ(SDL_PeepEvents(&queued, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT), 1);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST_F(InputDispatchTest, FocusLossPausesEverythingUntilItReturns)
{
    TLogWatch log;
    TMyWindowManager* windows = GetWindowManager();
    TMyWindow* dialog = new TMyWindow();
    windows->AddWindow(dialog, 0.0f);
    const TInputEvent lost = Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)).at(0);
    const TInputEvent gained = Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)).at(0);

    ASSERT_TRUE(DispatchEvent(lost));
    EXPECT_FALSE(GetAppState().mActive);
    EXPECT_EQ(log.Count("Lost Focus"), 1u) << log.Text();
    TMyWindow* pause = windows->FindWindow(kPauseWindowId);
    ASSERT_NE(pause, nullptr);
    ASSERT_EQ(windows->TopWindowCount(), 2);
    // The pause window added last is the one that runs; everything under it is paused.
    EXPECT_EQ(windows->FindTopModal(), pause);
    EXPECT_TRUE(dialog->IsPaused());
    EXPECT_FALSE(pause->IsPaused());

    ASSERT_TRUE(DispatchEvent(gained));
    EXPECT_TRUE(GetAppState().mActive);
    EXPECT_TRUE(log.Has("Got Focus")) << log.Text();
    EXPECT_EQ(windows->FindWindow(kPauseWindowId), nullptr);
    EXPECT_EQ(windows->TopWindowCount(), 1);
    EXPECT_FALSE(dialog->IsPaused());

    // Two losses in a row show one pause window, and one gain takes it away again.
    ASSERT_TRUE(DispatchEvent(lost));
    ASSERT_TRUE(DispatchEvent(lost));
    EXPECT_EQ(windows->TopWindowCount(), 2);
    ASSERT_TRUE(DispatchEvent(gained));
    EXPECT_EQ(windows->FindWindow(kPauseWindowId), nullptr);
    EXPECT_EQ(windows->TopWindowCount(), 1);
    EXPECT_FALSE(dialog->IsPaused());
}

// Space closes the pause window while the focus is still away; the next update deletes it, and
// the focus coming back then has nothing to close but still wakes everything up. A run that
// ends with the pause window open leaves nothing behind (the fixture's shutdown under ASan).
TEST_F(InputDispatchTest, SpaceClosesThePauseWindowAndTheFocusStillWakesEverything)
{
    TMyWindowManager* windows = GetWindowManager();
    TMyWindow* dialog = new TMyWindow();
    windows->AddWindow(dialog, 0.0f);
    ASSERT_TRUE(DispatchEvent(Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)).at(0)));
    TMyWindow* pause = windows->FindWindow(kPauseWindowId);
    ASSERT_NE(pause, nullptr);
    for (const TInputEvent& event : Translate(Text(" "))) ASSERT_TRUE(DispatchEvent(event));
    EXPECT_TRUE(pause->mClosed);
    windows->Update(1.0f / 60);
    EXPECT_EQ(windows->FindWindow(kPauseWindowId), nullptr);
    EXPECT_EQ(windows->TopWindowCount(), 1);
    EXPECT_TRUE(dialog->IsPaused());

    ASSERT_TRUE(DispatchEvent(Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)).at(0)));
    EXPECT_EQ(windows->TopWindowCount(), 1);
    EXPECT_FALSE(dialog->IsPaused());

    ASSERT_TRUE(DispatchEvent(Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)).at(0)));
    EXPECT_NE(windows->FindWindow(kPauseWindowId), nullptr);
}

namespace {

uint32_t gTickCalls = 0;
uint32_t CountingTicks()
{
    ++gTickCalls;
    return SDL_GetTicks();
}

// A window of the game under the dummy driver, windowed or fullscreen by the settings.
class WindowEventTest : public InputDispatchTest {
protected:
    void SetUp() override
    {
        InputDispatchTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mMinimized = false;
        app.mApp.reset(new TGameApp());
        app.mWindow = SDL_CreateWindow("test", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600, 0);
        ASSERT_NE(app.mWindow, nullptr);
        GetSystem()->mWindow = app.mWindow;
        mId = static_cast<int>(SDL_GetWindowID(app.mWindow));
        app.mSettings.reset(new TMySettings());
        SetInputHost(GetAppInputHost());
    }
    void TearDown() override
    {
        TAppState& app = GetAppState();
        SetInputHost(nullptr);
        GetSystem()->mWindow = nullptr;
        SDL_DestroyWindow(app.mWindow);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SetTickSource(nullptr);
        InputDispatchTest::TearDown();
    }
    void SetMode(bool fullscreen)
    {
        GetAppState().mSettings->UpdateDisplay(fullscreen, true);
        ASSERT_EQ(GetAppState().mSettings->IsFullscreen(), fullscreen);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void Push(SDL_Event e)
    {
        e.window.windowID = static_cast<Uint32>(mId);
        SDL_PushEvent(&e);
    }
    std::pair<int, int> WindowSize() const
    {
        int w = 0, h = 0;
        SDL_GetWindowSize(GetAppState().mWindow, &w, &h);
        return {w, h};
    }
    int mId = 0;
};

}  // namespace

TEST_F(WindowEventTest, ManualResizeOfTheWindowIsUndone)
{
    SetMode(false);
    ASSERT_EQ(WindowSize(), std::make_pair(800, 600));
    SDL_SetWindowSize(GetAppState().mWindow, 700, 500);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    TLogWatch log;
    Push(WindowEvent(SDL_WINDOWEVENT_RESIZED, 700, 500));
    RunFrame();
    EXPECT_TRUE(log.Has(FormatString("Window %d moved to 700,500", mId))) << log.Text();
    EXPECT_EQ(WindowSize(), std::make_pair(800, 600));
}

TEST_F(WindowEventTest, FullscreenIgnoresResizes)
{
    SetMode(true);
    TLogWatch log;
    Push(WindowEvent(SDL_WINDOWEVENT_RESIZED, 700, 500));
    RunFrame();
    EXPECT_EQ(log.Text().find("moved to"), std::string::npos) << log.Text();
}

TEST_F(WindowEventTest, ExposeRestoresAMinimisedWindow)
{
    SetMode(false);
    TLogWatch log;
    Push(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
    RunFrame();
    EXPECT_TRUE(GetAppState().mMinimized);
    Push(WindowEvent(SDL_WINDOWEVENT_EXPOSED));
    RunFrame();
    EXPECT_FALSE(GetAppState().mMinimized);
    EXPECT_TRUE(log.Has("SDL_RestoreWindow")) << log.Text();
    EXPECT_TRUE(log.Has(FormatString("Window %d exposed", mId))) << log.Text();
}

TEST_F(WindowEventTest, AltF4EndsTheLoopBeforeTheUpdate)
{
    SetMode(false);
    SetTickSource(CountingTicks);
    Push(Key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT));
    gTickCalls = 0;
    RunFrame();
    EXPECT_TRUE(GetAppState().mQuit);
    EXPECT_EQ(gTickCalls, 0u);
}
