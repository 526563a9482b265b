// Whole-program test: the start-up loader preloads the shipped images of resources.xml, the
// tileset previews and the first tileset's tiles, and the shutdown lets every texture go
// before the renderer.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "app/app.h"
#include "audio_cases.h"
#include "game/startup_fixture.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/system.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "graphics/texture_cache.h"
#include "sound/sound_manager.h"

namespace {

class GameStartupTextures : public TGameStartupTest {};

TEST_F(GameStartupTextures, ShippedImagesLiveFromStartUpUntilShutdown)
{
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
                             {"textures/tilesets/complete", 56, 56},
                             {"textures/gui/gamescreen/tableback", 151, 101},
                             {"textures/gui/gamescreen/tablepoint", 11, 11},
                             {"textures/gui/windows/hint", 1100, 110},
                             {"textures/gui/windows/dlgsmall", 520, 260},
                             {"textures/gui/tutorial/panel", 460, 170},
                             {"textures/gui/tutorial/arrow", 48, 64},
                             {"textures/gui/windows/dlgprofiles", 520, 460}};
    for (const Expect& e : images) {
        TexturePtr t = GetTexture(e.name);
        ASSERT_TRUE(t) << e.name;
        // The fader's shadow holds its image as well.
        const int holders = std::string(e.name) == "textures/gui/sh1" ? 3 : 2;
        EXPECT_EQ(holders, t.HolderCount()) << e.name << " is held by the preloader";
        EXPECT_EQ(e.w, t->GetWidth()) << e.name;
        EXPECT_EQ(e.h, t->GetHeight()) << e.name;
    }
    const TTilesetList& tilesets = GetTilesets();
    ASSERT_EQ(tilesets.size(), 2u);
    EXPECT_EQ(CurrentTilesetIndex(), 0);
    for (const auto& tileset : tilesets) EXPECT_NE(tileset->mPreview.GetTexture(), nullptr) << tileset->mName;
    for (const auto& tile : tilesets[0]->mTiles) EXPECT_NE(tile->mImage.GetTexture(), nullptr) << tile->mSprite;
    for (const auto& tile : tilesets[1]->mTiles) EXPECT_EQ(tile->mImage.GetTexture(), nullptr) << tile->mSprite;
    const int levelTextures = 2 + 2;  // the previews and the first tileset's two tiles
    const int cursorImages = 6;       // arrow, hand, hand sheet, I-beam, four arrows, arrow with star
    const int fontAtlases = 5;        // one per descriptor under assets/fonts/, shared by the ids naming it
    // The first screen is the logos window: its splash loads at its first draw, and the main
    // menu with its scene only after the last splash.
    const int menuScene = 0;
    EXPECT_EQ(liveBefore + static_cast<int>(sizeof(images) / sizeof(images[0])) + levelTextures + cursorImages +
                  fontAtlases + menuScene,
              GetLiveTextureCount());

    // What a level start adds: the frames and another tileset, the first one left loaded.
    LoadFrameTextures();
    SelectTileset("pastel");
    EXPECT_EQ(liveBefore + static_cast<int>(sizeof(images) / sizeof(images[0])) + levelTextures + cursorImages +
                  fontAtlases + menuScene + 4,
              GetLiveTextureCount());
    ASSERT_NE(FindSoundManager(), nullptr);
    ASSERT_TRUE(FindSoundManager()->FindSoundList("stage1snd"));

    ReleaseGame();
    EXPECT_EQ(liveBefore, GetLiveTextureCount()) << "a texture would outlive the renderer";
    EXPECT_NE(GetRenderer(), nullptr);
    EXPECT_TRUE(GetTilesets().empty());
    EXPECT_TRUE(GetLayoutDescriptors().empty());
    EXPECT_TRUE(GetStageList(false).empty());
    EXPECT_TRUE(GetStageList(true).empty());
    EXPECT_TRUE(GetFrames().empty());
    EXPECT_TRUE(GetSecrets().empty());
    EXPECT_TRUE(GetStageTilesets().empty());
    ReleaseStages();  // a second release finds nothing to do
    ReleaseTilesets();
}

}  // namespace
