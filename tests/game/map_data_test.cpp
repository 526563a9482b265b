// The level map's shipped data: its layout, its card textures and the stage lists it pages
// through.
#include <SDL_image.h>

#include <string>

#include "audio_cases.h"
#include "core/xml_document.h"
#include "game/map_window.h"
#include "game/stages.h"
#include "sound/sound_manager.h"
#include "ui/dialog_fixture.h"
#include "ui/ui_elements.h"

namespace {

class MapDataTest : public DialogTest {};

TEST_F(MapDataTest, ShippedLayoutHoldsEveryElementTheMapUses)
{
    TLogWatch watch;
    auto map = std::make_unique<TMapWindow>();
    EXPECT_EQ(watch.CountStartingWith("File not found"), 0u) << watch.Text();
    EXPECT_EQ(watch.CountStartingWith("map: "), 0u) << watch.Text();
    ASSERT_NE(map->mPageShower, nullptr);
    map.reset();

    TUIInfoHolder holder;
    TiXmlElement* root = LoadXmlDocument("ui/map.xml");
    ASSERT_NE(root, nullptr);
    holder.Load(root);
    DeleteCurrentXmlDocument();
    const std::pair<const char*, int> buttons[] = {{"mixed", 100}, {"usual", 101}, {"prevpage", 20},
                                                   {"nextpage", 21}, {"menu", 1}};
    for (const auto& button : buttons) {
        auto* d = dynamic_cast<TUIMyButton*>(holder.Find(button.first));
        ASSERT_NE(d, nullptr) << button.first;
        EXPECT_EQ(d->mId, button.second) << button.first;
        EXPECT_TRUE(d->mCreate) << button.first;
    }
    auto* counter = dynamic_cast<TUIMyButton*>(holder.Find("pagescounter"));
    ASSERT_NE(counter, nullptr);
    EXPECT_FALSE(counter->mCreate);
    ASSERT_NE(holder.Find("Prev"), nullptr);
    // A label comes before its tab: the hit test searches from the last, so the tab is hit.
    auto index = [&holder](const char* name) {
        for (size_t i = 0; i < holder.Elements().size(); ++i)
            if (holder.Elements()[i]->mName == name) return static_cast<int>(i);
        return -1;
    };
    EXPECT_LT(index("lblmixed"), index("mixed"));
    EXPECT_LT(index("lblusual"), index("usual"));
    EXPECT_GE(index("lblmixed"), 0);
    EXPECT_GE(index("lblusual"), 0);

    for (const char* name : {"textures/map/level.png", "textures/map/frame.png"}) {
        SDL_Surface* image = IMG_Load(AssetPath(name).c_str());
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->w, 200) << name;
        EXPECT_EQ(image->h, 200) << name;
        SDL_FreeSurface(image);
    }
}

TEST_F(MapDataTest, ShippedStagesFitOnOnePageEach)
{
    ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/stages.xml").c_str(), AssetPath("stages.xml").c_str()));
    RearmSoundManagerForTests();
    LoadStages();
    const TStageList& stages = GetStageList(false);
    const TStageList& usual = GetStageList(true);
    EXPECT_FALSE(stages.empty());
    EXPECT_EQ(stages.size(), usual.size());
    for (const TStageList* list : {&stages, &usual})
        for (const auto& stage : *list) EXPECT_LE(stage->mLevels.size(), 8u);
    ReleaseStages();
    ReleaseSoundForNextTest();
}

}  // namespace
