// Whole-program tests of the start-up loader: the repository root as working folder (where
// assets/ lies), SDL video with a hidden design-sized window and its renderer, as RunGame makes
// them; afterwards everything is put back so the next test starts fresh.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "core/app_state.h"
#include "core/display.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/system.h"
#include "test_support.h"

class TGameStartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string assets = BRISALO_ASSETS;
        const std::string root = assets.substr(0, assets.rfind('/'));
        char cwd[4096];
        mOldCwd = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(0, chdir(root.c_str()));
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO));
        TAppState& app = GetAppState();
        app.mWindow = SDL_CreateWindow("test", 0, 0, 1366, 768, SDL_WINDOW_HIDDEN);
        ASSERT_NE(nullptr, app.mWindow);
        ASSERT_TRUE(RecreateRenderer());
    }

    void TearDown() override
    {
        TAppState& app = GetAppState();
        DestroyRenderer();
        if (app.mWindow) SDL_DestroyWindow(app.mWindow);
        app.mWindow = nullptr;
        ReopenWhatTheShutdownClosed();
        EXPECT_EQ(0, chdir(mOldCwd.c_str()));
    }

private:
    std::string mOldCwd;
};
