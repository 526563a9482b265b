// Whole-program test: the start-up loader preloads the shipped images of resources.xml and
// the shutdown lets every texture go before the renderer.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "app/app.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/system.h"
#include "graphics/texture_cache.h"

namespace {

TEST(GameStartupTextures, ShippedImagesLiveFromStartUpUntilShutdown)
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
    int liveBefore = GetLiveTextureCount();

    ASSERT_TRUE(InitGame());
    struct Expect {
        const char* name;
        int w, h;
    };
    const Expect images[] = {{"textures/gui/sh1", 1366, 768},
                             {"textures/scuare26", 26, 26},
                             {"textures/scuare26white", 26, 26},
                             {"textures/scuare1", 1, 1},
                             {"textures/scuare1white", 1, 1},
                             {"textures/tilesets/basenumbers20", 26, 600},
                             {"textures/tilesets/basenumbers20white", 40, 840},
                             {"textures/tilesets/color", 56, 56},
                             {"textures/tilesets/frame", 56, 56},
                             {"textures/tilesets/complete", 56, 56}};
    for (const Expect& e : images) {
        TexturePtr t = GetTexture(e.name);
        ASSERT_TRUE(t) << e.name;
        EXPECT_EQ(2, t.HolderCount()) << e.name << " is held by the preloader";
        EXPECT_EQ(e.w, t->GetWidth()) << e.name;
        EXPECT_EQ(e.h, t->GetHeight()) << e.name;
    }
    EXPECT_EQ(liveBefore + static_cast<int>(sizeof(images) / sizeof(images[0])), GetLiveTextureCount());

    ReleaseGame();
    EXPECT_EQ(liveBefore, GetLiveTextureCount()) << "a texture would outlive the renderer";
    DestroyRenderer();
    SDL_DestroyWindow(app.mWindow);
    app.mWindow = nullptr;
    SetSystemShutDown(false);
    SetLoggerShutDown(false);
    SetLocalizationShutDown(false);
    ResetAppState();
    EXPECT_EQ(0, chdir(oldCwd.c_str()));
}

}  // namespace
