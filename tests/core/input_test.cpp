#include "core/input.h"

#include <gtest/gtest.h>

#include "core/app.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/settings.h"
#include "core/system.h"
#include "core/task.h"
#include "core/text.h"
#include "log_watch.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/window_manager.h"

namespace {

struct TExpected {
    int type, param, x, y, mods;
};

bool operator==(const TInputEvent& e, const TExpected& x)
{
    return e.mType == x.type && e.mParam == x.param && e.mX == x.x && e.mY == x.y && e.mMods == x.mods;
}

std::string Show(const TInputEvent& e)
{
    return FormatString("{%d,%d,%d,%d,%d}", e.mType, e.mParam, e.mX, e.mY, e.mMods);
}

SDL_Event WindowEvent(Uint8 which, int data1 = 0, int data2 = 0, Uint32 windowId = 1)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    e.window.windowID = windowId;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
}

SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint16 mod)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks, int x = 30, int y = 40)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.button.button = button;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event Wheel(int x, int y)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.x = x;
    e.wheel.y = y;
    return e;
}

SDL_Event Motion(Uint32 state, int x = 5, int y = 6)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_MOUSEMOTION;
    e.motion.state = state;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event Text(const char* text)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    strncpy(e.text.text, text, sizeof(e.text.text) - 1);
    return e;
}

std::vector<TInputEvent> Translate(const SDL_Event& e)
{
    std::vector<TInputEvent> out;
    bool made = TranslateSdlEvent(e, &out);
    EXPECT_EQ(made, !out.empty());
    return out;
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSaved = GetAppState();
        GetAppState().mLastKeyModifiers = 0;
    }
    void TearDown() override
    {
        DestroyWindowManager();
        DestroyCursors();
        ReleaseSoundManager();
        RearmSoundManagerForTests();
        TAppState& app = GetAppState();
        delete app.mApp;
        delete app.mSettings;
        app = mSaved;
    }
    TAppState mSaved;
};

}  // namespace

TEST_F(InputTest, SdlEventsBecomeInputEvents)
{
    struct Case {
        const char* what;
        SDL_Event sdl;
        std::vector<TExpected> expected;
    };
    const Case cases[] = {
        {"close", WindowEvent(SDL_WINDOWEVENT_CLOSE), {{0, 0, 0, 0, 0}}},
        {"left alt F4", Key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT), {{0, SDLK_F4, 0, 0, KMOD_LALT}}},
        {"right alt F4", Key(SDL_KEYDOWN, SDLK_F4, KMOD_RALT), {{0, SDLK_F4, 0, 0, KMOD_RALT}}},
        {"F4", Key(SDL_KEYDOWN, SDLK_F4, 0), {{9, SDLK_F4, 0, 0, 0}}},
        {"left down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1), {{1, 1, 30, 40, 0}}},
        {"left up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1), {{5, 1, 30, 40, 0}}},
        {"left double", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2), {{3, 1, 30, 40, 0}}},
        {"left triple", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3), {{5, 1, 30, 40, 0}}},
        {"right down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1), {{2, 1, 30, 40, 0}}},
        {"right up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1), {{2, 0, 30, 40, 0}}},
        {"right double", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 2), {{2, 0, 30, 40, 0}}},
        {"middle down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1), {}},
        {"middle double", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 2), {}},
        {"wheel up", Wheel(0, 1), {{4, 1, 0, 0, 0}}},
        {"wheel down", Wheel(0, -1), {{4, -1, 0, 0, 0}}},
        {"wheel sideways", Wheel(1, 0), {{4, -1, 0, 0, 0}}},
        {"drag left", Motion(SDL_BUTTON_LMASK), {{6, 1, 5, 6, 0}}},
        {"drag right", Motion(SDL_BUTTON_RMASK), {{6, 2, 5, 6, 0}}},
        {"drag both", Motion(SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), {{6, 0, 5, 6, 0}}},
        {"leave", WindowEvent(SDL_WINDOWEVENT_LEAVE), {{7, 0, 0, 0, 0}}},
        {"text a", Text("a"), {{11, 97, 0, 0, 0}}},
        {"text e acute", Text("\xC3\xA9"), {{11, 0xE9, 0, 0, 0}}},
        {"text zhe", Text("\xD0\x96"), {{11, 0x416, 0, 0, 0}}},
        {"text ab", Text("ab"), {{11, 'a', 0, 0, 0}, {11, 'b', 0, 0, 0}}},
        {"text control", Text("\x01"), {}},
        {"text beyond the basic plane", Text("\xF0\x9F\x98\x80"), {}},
        {"focus gained", WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), {{14, 1, 0, 0, 0}}},
        {"focus lost", WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), {{14, 0, 0, 0, 0}}},
        {"moved", WindowEvent(SDL_WINDOWEVENT_MOVED, 3, 4), {}},
    };
    for (const Case& c : cases) {
        std::vector<TInputEvent> out = Translate(c.sdl);
        ASSERT_EQ(out.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < out.size(); ++i) EXPECT_TRUE(out[i] == c.expected[i]) << c.what << " " << Show(out[i]);
    }
    // Alt+F4 stores no modifiers for the pointer events after it.
    EXPECT_EQ(GetAppState().mLastKeyModifiers, 0);
}

TEST_F(InputTest, KeyModifiersLastUntilTheKeyIsReleased)
{
    Translate(Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT | KMOD_NUM));
    std::vector<TInputEvent> down = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1));
    EXPECT_EQ(down.at(0).mMods, KMOD_LSHIFT | KMOD_NUM);
    std::vector<TInputEvent> up = Translate(Key(SDL_KEYUP, SDLK_LSHIFT, 0));
    EXPECT_TRUE(up.at(0) == (TExpected{10, SDLK_LSHIFT, 0, 0, KMOD_LSHIFT | KMOD_NUM})) << Show(up.at(0));
    EXPECT_EQ(Translate(Motion(0)).at(0).mMods, 0);
}

TEST_F(InputTest, PointerIsMappedToTheCanvas)
{
    TAppState& app = GetAppState();
    app.mApp = new TGameApp();
    app.mScaleX = 2.0f;
    app.mScaleY = 1.5f;
    app.mOffsetX = app.mOffsetY = 0;
    TInputEvent event = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 301, 300)).at(0);
    MapToDesign(&event);
    EXPECT_EQ(event.mX, 150);
    EXPECT_EQ(event.mY, 200);

    LoadCursors("cursors.xml");
    TGameCursors* cursors = GetCursors();
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

TEST_F(InputTest, QuitPushesSdlQuitAndStops)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    EXPECT_FALSE(DispatchEvent(Translate(Key(SDL_KEYDOWN, SDLK_F4, KMOD_RALT)).at(0)));
    SDL_Event queued;
    EXPECT_EQ(SDL_PeepEvents(&queued, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT), 1);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

TEST_F(InputTest, FocusLossPausesEverythingUntilItReturns)
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
}

namespace {

uint32_t gTickCalls = 0;
uint32_t CountingTicks()
{
    ++gTickCalls;
    return SDL_GetTicks();
}

// A window of the game under the dummy driver, windowed or fullscreen by the settings.
class WindowEventTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mMinimized = false;
        app.mApp = new TGameApp();
        app.mWindow = SDL_CreateWindow("test", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600, 0);
        ASSERT_NE(app.mWindow, nullptr);
        GetSystem()->mWindow = app.mWindow;
        mId = static_cast<int>(SDL_GetWindowID(app.mWindow));
        app.mSettings = new TMySettings();
    }
    void TearDown() override
    {
        TAppState& app = GetAppState();
        GetSystem()->mWindow = nullptr;
        SDL_DestroyWindow(app.mWindow);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SetTickSource(nullptr);
        InputTest::TearDown();
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
