#include "core/display.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "core/system.h"
#include "log_watch.h"

namespace {

SDL_DisplayMode Mode(int w, int h, uint32_t format = SDL_PIXELFORMAT_RGB888)
{
    SDL_DisplayMode mode = {format, w, h, 60, nullptr};
    return mode;
}

// Every test leaves the application state as it found it.
class DisplayTest : public ::testing::Test {
protected:
    // Its owners are empty here; what a test leaves in them goes with the restore.
    void SetUp() override { mSaved = std::move(GetAppState()); }
    void TearDown() override { GetAppState() = std::move(mSaved); }

    void Choose(int screenW, int screenH, std::initializer_list<SDL_DisplayMode> list)
    {
        TAppState& app = GetAppState();
        app.mWidthBeforeStart = screenW;
        app.mHeightBeforeStart = screenH;
        TDisplayModeSet modes;
        for (const SDL_DisplayMode& m : list) AddDisplayMode(modes, m);
        ChooseScreenResolutionFrom(modes);
    }
    TAppState mSaved;
};

}  // namespace

TEST_F(DisplayTest, ResolutionChoiceFromModesAndScreen)
{
    struct Case {
        int screenW, screenH;
        std::initializer_list<SDL_DisplayMode> modes;
        int windowedW, windowedH;      // ChooseWindowedSize
        int windowRealW, windowRealH;  // real resolution when windowed
        int fullRealW, fullRealH;      // real resolution when fullscreen
    };
    const Case cases[] = {
        {1920, 1080, {Mode(1920, 1080), Mode(1600, 900), Mode(1366, 768), Mode(1024, 768)},
         1366, 768, 1920, 1080, 1920, 1080},
        {1024, 768, {Mode(1024, 768), Mode(960, 720), Mode(800, 600)}, 960, 720, 1024, 600, 1024, 768},
        {1024, 768, {Mode(1024, 768), Mode(960, 540)}, 960, 540, 1024, 600, 1024, 768},
        {1024, 768, {Mode(1024, 768)}, 800, 600, 1024, 600, 1024, 768},
        {768, 1366, {Mode(768, 1366), Mode(600, 800)}, 800, 600, 600, 800, 768, 1366},
        {1200, 1920, {Mode(1200, 1920)}, 800, 600, 1200, 1366, 1200, 1366},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screenW << "x" << c.screenH);
        Choose(c.screenW, c.screenH, c.modes);
        const TAppState& app = GetAppState();
        EXPECT_EQ(app.mWindowedResolutionWidth, c.windowedW);
        EXPECT_EQ(app.mWindowedResolutionHeight, c.windowedH);
        ChooseRealResolution(false);
        EXPECT_EQ(app.mRealResolutionWidth, c.windowRealW);
        EXPECT_EQ(app.mRealResolutionHeight, c.windowRealH);
        ChooseRealResolution(true);
        EXPECT_EQ(app.mRealResolutionWidth, c.fullRealW);
        EXPECT_EQ(app.mRealResolutionHeight, c.fullRealH);
    }
}

TEST_F(DisplayTest, ScaleFollowsTheWindowOrTheScreen)
{
    Choose(1920, 1080, {Mode(1920, 1080), Mode(1366, 768)});
    const TAppState& app = GetAppState();
    UpdateRenderScale(false);
    EXPECT_EQ(app.mScaleX, 1.0f);
    EXPECT_EQ(app.mScaleY, 1.0f);
    ChooseRealResolution(true);
    UpdateRenderScale(true);
    EXPECT_EQ(app.mScaleX, 1920.0f / 1366.0f);
    EXPECT_EQ(app.mScaleY, 1080.0f / 768.0f);
}

TEST_F(DisplayTest, OnlyTrueColourModesCountAndOneModePerArea)
{
    Choose(1920, 1080, {Mode(1920, 1080, SDL_PIXELFORMAT_RGB565), Mode(1366, 768, SDL_PIXELFORMAT_RGB565)});
    EXPECT_EQ(GetAppState().mLargestModeWidth, 1366);
    EXPECT_EQ(GetAppState().mLargestModeHeight, 768);
    EXPECT_EQ(GetAppState().mWindowedResolutionWidth, 800);
    EXPECT_EQ(GetAppState().mWindowedResolutionHeight, 600);

    TDisplayModeSet modes;
    AddDisplayMode(modes, Mode(1600, 900, SDL_PIXELFORMAT_RGB888));
    AddDisplayMode(modes, Mode(1600, 900, SDL_PIXELFORMAT_ARGB8888));
    AddDisplayMode(modes, Mode(1200, 1200));
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes.begin()->second.mWidth, 1600);
    EXPECT_EQ(modes.begin()->second.mFormat, static_cast<uint32_t>(SDL_PIXELFORMAT_RGB888));
}

TEST_F(DisplayTest, PortraitScreenIsLogged)
{
    TLogWatch log;
    Choose(768, 1366, {Mode(768, 1366)});
    EXPECT_TRUE(log.Has("portrait mode")) << log.Text();
    EXPECT_TRUE(log.Has("mRealResolutionWidth =  768  mRealResolutionHeight = 1366")) << log.Text();
    EXPECT_TRUE(GetAppState().mPortrait);
}

// Drawing into a software renderer over a surface, reading the pixels back.
class DrawingTest : public DisplayTest {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        mSurface = SDL_CreateRGBSurfaceWithFormat(0, 32, 16, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(mSurface, nullptr);
        GetAppState().mRenderDevice.reset(new TRenderDevice());
        mDevice = GetAppState().mRenderDevice.get();
        mDevice->mRenderer = SDL_CreateSoftwareRenderer(mSurface);
        ASSERT_NE(mDevice->mRenderer, nullptr);
        SDL_SetRenderDrawColor(mDevice->mRenderer, 0, 0, 0, 0);
        SDL_RenderClear(mDevice->mRenderer);
    }
    void TearDown() override
    {
        SDL_DestroyRenderer(mDevice->mRenderer);
        SDL_FreeSurface(mSurface);
        DisplayTest::TearDown();
    }
    uint32_t Pixel(int x, int y) const
    {
        return static_cast<const uint32_t*>(mSurface->pixels)[y * mSurface->pitch / 4 + x];
    }
    // The painted pixels as a set of points.
    std::vector<std::pair<int, int>> Painted() const
    {
        std::vector<std::pair<int, int>> points;
        for (int y = 0; y < mSurface->h; ++y)
            for (int x = 0; x < mSurface->w; ++x)
                if (Pixel(x, y) != 0) points.emplace_back(x, y);
        return points;
    }
    SDL_Surface* mSurface = nullptr;
    TRenderDevice* mDevice = nullptr;  // owned by the application state
};

TEST_F(DrawingTest, OutlineDrawsExactlyItsFourSides)
{
    DrawRectOutline(10, 2, 20, 10, 1, 1, 1, 1);
    std::vector<std::pair<int, int>> expected;
    for (int y = 2; y < 12; ++y)
        for (int x = 10; x < 30; ++x)
            if (y == 2 || y == 11 || x == 10 || x == 29) expected.emplace_back(x, y);
    EXPECT_EQ(Painted(), expected);
}

TEST_F(DrawingTest, OutlineLeftOfTheCanvasDrawsOnlyItsRightSide)
{
    DrawRectOutline(-1, 0, 10, 5, 1, 1, 1, 1);
    std::vector<std::pair<int, int>> expected;
    for (int y = 0; y < 5; ++y) expected.emplace_back(8, y);
    EXPECT_EQ(Painted(), expected);
}

TEST_F(DrawingTest, FillClampsComponentsAndRestoresTheDrawColour)
{
    SDL_SetRenderDrawColor(mDevice->mRenderer, 1, 2, 3, 4);
    mDevice->FillRect(SDL_Rect{0, 0, 2, 2}, 1.5f, -0.2f, 0.5f, 1.0f);
    EXPECT_EQ(Pixel(1, 1), 0xFFFF007Fu);  // a r g b: 255, 255, 0, 127
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(mDevice->mRenderer, &r, &g, &b, &a);
    EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{1, 2, 3, 4}));
}

// Switching the one window under the dummy video driver.
class DisplayModeTest : public DisplayTest {
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        mWindow = SDL_CreateWindow("test", 0, 0, 640, 480, SDL_WINDOW_SHOWN);
        ASSERT_NE(mWindow, nullptr);
        GetAppState().mWindow = mWindow;
        GetSystem()->mWindow = mWindow;
    }
    void TearDown() override
    {
        GetSystem()->mWindow = nullptr;
        SDL_DestroyWindow(mWindow);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        DisplayTest::TearDown();
    }
    SDL_Window* mWindow = nullptr;
};

TEST_F(DisplayModeTest, FullscreenAndBackToAWindow)
{
    TLogWatch log;
    GetSystem()->SetDisplayMode(1024, 768, true);
    EXPECT_TRUE(SDL_GetWindowFlags(mWindow) & SDL_WINDOW_FULLSCREEN);
    EXPECT_TRUE(IsWindowFullscreen());
    EXPECT_TRUE(log.Has("set window size: w=1024 h=768  neww=1024 newh=768")) << log.Text();

    GetSystem()->SetDisplayMode(800, 600, false);
    int w = 0, h = 0;
    SDL_GetWindowSize(mWindow, &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_FALSE(IsWindowFullscreen());
    EXPECT_TRUE(log.Has("SDL_SetWindowSize  w = 800   h= 600 ")) << log.Text();
    EXPECT_TRUE(log.Has("set window size: w=800 h=600  neww=800 newh=600")) << log.Text();
}

TEST_F(DisplayModeTest, WindowSizeGettersFollowTheWindowMode)
{
    TAppState& app = GetAppState();
    app.mRealResolutionWidth = 1024;
    app.mRealResolutionHeight = 768;
    app.mWindowedResolutionWidth = 800;
    app.mWindowedResolutionHeight = 600;
    EXPECT_EQ(GetWindowWidth(), 800);
    EXPECT_EQ(GetWindowHeight(), 600);
    SDL_SetWindowFullscreen(mWindow, SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(GetWindowWidth(), 1024);
    EXPECT_EQ(GetWindowHeight(), 768);
}
