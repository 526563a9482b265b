// The frame loop driven with a fake clock and real SDL events.
#include <gtest/gtest.h>

#include <SDL.h>

#include "app/app.h"
#include "app/settings.h"
#include "app/task.h"
#include "core/app_state.h"
#include "core/messages.h"
#include "ui/window_manager.h"

namespace {
uint32_t gNow = 0;
uint32_t FakeTicks() { return gNow; }

struct TCountingWindow : TMyWindow {
    int* mUpdates;
    int* mDraws;
    float* mLastStep;
    TCountingWindow(int* u, int* d, float* step) : mUpdates(u), mDraws(d), mLastStep(step) {}
    bool Update(float dt) override
    {
        ++*mUpdates;
        *mLastStep = dt;
        return false;
    }
    void Draw() override { ++*mDraws; }
};

// Counts the deliveries of one message.
struct TDeliveries : TMyMessageListener {
    int mCount = 0;
    void OnMessage(SharedPtr<TMyMessage>) override { ++mCount; }
};

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        SetTickSource(FakeTicks);
        gNow = 5000;
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mLastFrameTicks = gNow;
        app.mApp.reset(new TGameApp());
        GetWindowManager()->AddWindow(new TCountingWindow(&mUpdates, &mDraws, &mLastStep), 0);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override
    {
        TAppState& app = GetAppState();
        DestroyWindowManager();
        app.mApp.reset();
        app.mQuit = false;
        SetTickSource(nullptr);
        SDL_Quit();
    }
    int mUpdates = 0;
    int mDraws = 0;
    float mLastStep = -1.0f;
};
}

TEST_F(FrameLoop, TwoFramesInOneMillisecondDrawTwiceUpdateOnce)
{
    gNow += 20;  // the application task is due 16 ms after its first tick
    RunFrame();
    gNow += 20;
    RunFrame();
    int updatesBefore = mUpdates;
    int drawsBefore = mDraws;
    // What the frame itself steps: a message due now waits for the next millisecond.
    TDeliveries deliveries;
    GetMessageManager()->Subscribe(&deliveries, "tick");
    GetMessageManager()->Post("tick", 0.0f);
    RunFrame();  // same millisecond
    EXPECT_EQ(mDraws, drawsBefore + 1);
    EXPECT_EQ(mUpdates, updatesBefore);
    EXPECT_GE(updatesBefore, 1);
    EXPECT_EQ(deliveries.mCount, 0);
    gNow += 1;
    RunFrame();
    EXPECT_EQ(deliveries.mCount, 1);
    DestroyMessageManager();
}

// The windows step at most every 16 ms, each time with the time that really passed.
TEST_F(FrameLoop, WindowsStepEvery16MsWithTheRealElapsedTime)
{
    struct Step {
        uint32_t advance;
        int updates;
        float lastStep;
    } steps[] = {
        {10, 0, -1.0f},           // the task is made now, due 16 ms on
        {10, 0, -1.0f},
        {10, 1, 5.030f},          // the first step spans the time since SDL started
        {10, 1, 5.030f},
        {10, 2, 0.020f},
        {25, 3, 0.025f},
        {7, 3, 0.025f},
    };
    for (const Step& step : steps) {
        gNow += step.advance;
        RunFrame();
        EXPECT_EQ(mUpdates, step.updates) << gNow;
        EXPECT_FLOAT_EQ(mLastStep, step.lastStep) << gNow;
    }
}

// Keep the display awake only while the game is fullscreen and active.
TEST_F(FrameLoop, KeepAwakeFollowsFullscreenAndActivity)
{
    struct TWindowedSettings : TSettings {
        bool IsFullscreen() const override { return false; }
    };
    struct Case {
        bool fullscreen;
        bool active;
        bool screenSaverAllowed;
    } cases[] = {
        {true, true, false},
        {true, false, true},
        {false, true, true},
        {false, false, true},
        {true, true, false},
    };
    TAppState& app = GetAppState();
    for (const Case& c : cases) {
        app.mSettings.reset(c.fullscreen ? new TSettings() : new TWindowedSettings());
        app.mActive = c.active;
        UpdateKeepAwake();
        EXPECT_EQ(SDL_IsScreenSaverEnabled() == SDL_TRUE, c.screenSaverAllowed) << c.fullscreen << c.active;
    }
    app.mSettings.reset();
    app.mActive = true;
    UpdateKeepAwake();
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
}

TEST_F(FrameLoop, QuitEventEndsTheFrameBeforeUpdateAndDraw)
{
    SDL_Event quit;
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    gNow += 100;
    RunFrame();
    EXPECT_TRUE(GetAppState().mQuit);
    EXPECT_EQ(mDraws, 0);
    EXPECT_EQ(mUpdates, 0);
}

TEST(FreePointerVector, DeletesEveryElementAndFreesStorage)
{
    static int deaths = 0;
    struct TItem {
        ~TItem() { ++deaths; }
    };
    std::vector<TItem*> items{new TItem, new TItem, new TItem};
    FreePointerVector(items);
    EXPECT_EQ(deaths, 3);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(items.capacity(), 0u);
}
