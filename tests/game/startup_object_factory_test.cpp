// Whole-program test: the start-up loader leaves the real object factory in the application
// state, and shutdown frees it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/system.h"
#include "objects/object_factory.h"
#include "objects/sequence_objects.h"

namespace {

TEST(GameStartupObjectFactory, LivesFromStartUpUntilShutdown)
{
    std::string assets = BRISALO_ASSETS;
    std::string root = assets.substr(0, assets.rfind('/'));
    char cwd[4096];
    std::string oldCwd = getcwd(cwd, sizeof cwd) ? cwd : ".";
    ASSERT_EQ(0, chdir(root.c_str()));
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO));
    TAppState& app = GetAppState();
    app.mWindow = SDL_CreateWindow("test", 0, 0, 1366, 768, SDL_WINDOW_HIDDEN);
    ASSERT_NE(nullptr, app.mWindow);
    ASSERT_TRUE(RecreateRenderer());
    ASSERT_FALSE(app.mObjectFactory);

    ASSERT_TRUE(InitGame());
    ASSERT_TRUE(app.mObjectFactory);
    std::unique_ptr<TObject> switcher(app.mObjectFactory->CreateObject("switcher"));
    EXPECT_NE(dynamic_cast<TSwitcherObject*>(switcher.get()), nullptr);
    switcher.reset();

    ReleaseGame();
    EXPECT_FALSE(app.mObjectFactory);

    DestroyRenderer();
    SDL_DestroyWindow(app.mWindow);
    app.mWindow = nullptr;
    SetSystemShutDown(false);
    SetLoggerShutDown(false);
    ResetAppState();
    EXPECT_EQ(0, chdir(oldCwd.c_str()));
}

}  // namespace
