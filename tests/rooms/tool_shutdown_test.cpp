// Whole-program test: tools and the effects they show hold textures, so the shutdown lets them
// go while the renderer still lives.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>

#include "app/app.h"
#include "audio_cases.h"
#include "core/xml_document.h"
#include "game/startup_fixture.h"
#include "graphics/texture_cache.h"
#include "rooms/tool.h"

namespace {

class TPictureEffect : public TToolEffect {
public:
    std::unique_ptr<TToolEffect> Clone() const override { return std::make_unique<TPictureEffect>(*this); }
    StaticImage mImage;
};

class ToolShutdown : public TGameStartupTest {};

TEST_F(ToolShutdown, ReleaseEmptiesToolsAndEffectsBeforeTheRenderer)
{
    const int liveBefore = GetLiveTextureCount();
    ASSERT_TRUE(InitGame());
    TiXmlDocument doc;
    ASSERT_TRUE(ParseXmlText(&doc, R"(<room><tools><tool id="probe" effect="shine"
        imginv="textures/gui/gamescreen/tableback" imgfly="gui/gamescreen/tablepoint"/></tools></room>)"));
    GlobalToolsList().Load(doc.RootElement(), true, "probe_room");
    GlobalToolsList().LoadResources(true, "probe_room");
    TTool* probe = GlobalToolsList().FindTool("probe");
    ASSERT_NE(probe, nullptr);
    ASSERT_NE(probe->mInventoryImages[0]->GetTexture(), nullptr);
    ASSERT_NE(probe->mFlyImages[0]->GetTexture(), nullptr);
    auto effect = std::make_unique<TPictureEffect>();
    effect->mImage.SetTexture("textures/gui/windows/hint");
    NamedEffectsRegistry()["shine"] = std::move(effect);
    probe->Select(0, 0);
    ASSERT_NE(probe->GetTakeEffect(), nullptr);

    ReleaseGame();
    EXPECT_TRUE(GlobalToolsList().Empty());
    EXPECT_TRUE(NamedEffectsRegistry().empty());
    EXPECT_EQ(liveBefore, GetLiveTextureCount()) << "a texture would outlive the renderer";
}

}  // namespace
