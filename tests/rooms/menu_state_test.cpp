// The shipped menu's saved state: the checks on saved records refuse damage only, so the
// menu's own state, saved while its scene runs, reads back without a word.
#include <gtest/gtest.h>

#include <string>

#include "audio_cases.h"
#include "core/buffer.h"
#include "log_watch.h"
#include "rooms/menu_scene_fixture.h"

namespace {

using MenuState = MenuSceneTest;

TEST_F(MenuState, ItsSavedStateReadsBackWithoutARefusal)
{
    TRoom room;
    ShowShippedMenu(room);
    for (int frame = 0; frame < 300; ++frame) room.Update(0.016f);
    TBaseBuffer state;
    room.SaveState(state);

    TRoom back;
    ASSERT_TRUE(back.LoadFromXml("mainmenu.xml"));
    TLogWatch log;
    back.LoadState(state);
    EXPECT_EQ(log.Text().find("refused"), std::string::npos) << log.Text();
    EXPECT_EQ(state.BytesLeft(), 0u);
    room.FreeObjectResources();
}

}  // namespace
