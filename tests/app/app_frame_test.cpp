// The frame loop driven with a fake clock and real SDL events.
#include <gtest/gtest.h>

#include <SDL.h>

#include "app/app.h"
#include "app/task.h"
#include "core/app_state.h"
#include "ui/window_manager.h"

namespace {
uint32_t gNow = 0;
uint32_t FakeTicks() { return gNow; }

struct TCountingWindow : TMyWindow {
    int* mUpdates;
    int* mDraws;
    TCountingWindow(int* u, int* d) : mUpdates(u), mDraws(d) {}
    void Update(float) override { ++*mUpdates; }
    void Draw() override { ++*mDraws; }
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
        GetWindowManager()->AddWindow(new TCountingWindow(&mUpdates, &mDraws), 0);
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
    RunFrame();  // same millisecond
    EXPECT_EQ(mDraws, drawsBefore + 1);
    EXPECT_EQ(mUpdates, updatesBefore);
    EXPECT_GE(updatesBefore, 1);
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
