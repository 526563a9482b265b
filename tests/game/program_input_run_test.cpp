// Whole-program runs inside the test process: RunGame as a new player would start it,
// with events pushed into its running loop through the frame clock.
#include <gtest/gtest.h>

#include <functional>

#include "app/app.h"
#include "app/settings.h"
#include "app/task.h"
#include "audio_cases.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/system.h"
#include "game/front_screens.h"
#include "sound/sound_manager.h"
#include "program_fixture.h"
#include "test_support.h"
#include "ui/window_manager.h"

namespace {

// Called on every clock read of the running game; the script pushes events by call count.
std::function<void(uint32_t)> gScript;
uint32_t gCalls = 0;

uint32_t ScriptedTicks()
{
    if (gScript) gScript(++gCalls);
    return SDL_GetTicks();
}

void PushWindowEvent(Uint8 which)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    e.window.windowID = SDL_GetWindowID(GetAppState().mWindow);
    SDL_PushEvent(&e);
}

void PushAltF4()
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_F4;
    e.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&e);
}

bool HasPauseWindow()
{
    TMyWindowManager* windows = GetAppState().mWindowManager.get();
    return windows && windows->FindWindow(kPauseWindowId);
}

// Runs the game to its end and gives back its exit code and what it logged.
int RunScripted(std::function<void(uint32_t)> script, std::string* log)
{
    TUserFolderScope player;  // each run is a new player's first, whatever ran before it
    DestroyLogger();          // reopened in this player's folder by the start-up
    std::string logPath = player.UserFolder() + "/log.txt";
    gScript = std::move(script);
    gCalls = 0;
    SetTickSource(ScriptedTicks);
    int code = RunGame();
    SetTickSource(nullptr);
    gScript = nullptr;
    *log = ReadWholeFile(logPath);
    ReopenWhatTheShutdownClosed();
    return code;
}

}  // namespace

TEST(ProgramInputRun, AltF4AndCloseRequestEndTheRunningGame)
{
    for (bool altF4 : {true, false}) {
        std::string log;
        int code = RunScripted(
            [altF4](uint32_t call) {
                if (call == 50) altF4 ? PushAltF4() : PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
            },
            &log);
        EXPECT_EQ(code, 0) << log;
        EXPECT_NE(log.find("int complete\n"), std::string::npos) << log;
    }
}

TEST(ProgramInputRun, FocusLossShowsThePauseWindowUntilTheFocusReturns)
{
    bool pausedAfterLoss = false;
    bool pauseGoneAfterGain = false;
    std::string log;
    int code = RunScripted(
        [&](uint32_t call) {
            if (call == 50) PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
            if (call == 100) {
                pausedAfterLoss = HasPauseWindow();
                PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
            }
            if (call == 150) {
                pauseGoneAfterGain = !HasPauseWindow();
                PushAltF4();
            }
        },
        &log);
    EXPECT_EQ(code, 0) << log;
    EXPECT_TRUE(pausedAfterLoss);
    EXPECT_TRUE(pauseGoneAfterGain);
    size_t lost = log.find("Lost Focus\n");
    ASSERT_NE(lost, std::string::npos) << log;
    EXPECT_NE(log.find("Got Focus\n", lost), std::string::npos) << log;
}

TEST(ProgramInputRun, NewPlayerStartsFullscreenWithTheCanvasStretched)
{
    std::string title;
    std::string log;
    int code = RunScripted(
        [&](uint32_t call) {
            if (call == 20) {
                title = SDL_GetWindowTitle(GetAppState().mWindow);
                PushAltF4();
            }
        },
        &log);
    EXPECT_EQ(code, 0) << log;
    EXPECT_EQ(title, "Number Mosaic");
    const char* lines[] = {
        "update display fullscreen = 0 mRealResolutionWidth =  1024  mRealResolutionHeight = 600  "
        "mWindowedResolutionWidth =  800  mWindowedResolutionHeight = 600 offsetx = 0  offsety = 0",
        "create window mRealResolutionWidth =  800  mRealResolutionHeight = 600",
        "set window size: w=1024 h=768  neww=1024 newh=768",
        "update display fullscreen = 1 mRealResolutionWidth =  1024  mRealResolutionHeight = 768  "
        "mWindowedResolutionWidth =  800  mWindowedResolutionHeight = 600 offsetx = 0  offsety = 0",
        "scalex=0.749634 scaley=1.000000",
        "InitGameToSettings complete",
    };
    size_t pos = 0;
    for (const char* line : lines) {
        size_t found = log.find(std::string(line) + "\n", pos);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        pos = found + 1;
    }
}

// The engine's floor reaches the game's sound and settings through what the start-up plugs in.
TEST(ProgramInputRun, RunningGamePlaysScreenSoundsAndUndoesResizesOfItsWindow)
{
    bool played = false;
    std::string log;
    int code = RunScripted(
        [&](uint32_t call) {
            if (call == 20) {
                PlaySoundByName("hint");
                played = GetSoundManager()->IsSoundPlaying("hint");
                GetAppState().mSettings->UpdateDisplay(false, true);
                SDL_Event e;
                SDL_zero(e);
                e.type = SDL_WINDOWEVENT;
                e.window.event = SDL_WINDOWEVENT_RESIZED;
                e.window.windowID = SDL_GetWindowID(GetAppState().mWindow);
                e.window.data1 = 700;
                e.window.data2 = 500;
                SDL_PushEvent(&e);
            }
            if (call == 60) PushAltF4();
        },
        &log);
    EXPECT_EQ(code, 0) << log;
    EXPECT_TRUE(played);
    EXPECT_NE(log.find(" moved to 700,500\n"), std::string::npos) << log;
}
