#include "graphics/resource_preloader.h"

#include "drawing_fixture.h"
#include "graphics/static_image.h"
#include "graphics/texture_cache.h"

namespace {

using ResourcePreloaderTest = CanvasTest;

TEST_F(ResourcePreloaderTest, LoadsTheListedImagesInOrderAndHoldsThemUntilClear)
{
    SolidPng("one.png", 2, 2, SDL_Color{255, 0, 0, 255});
    SolidPng("two.png", 3, 3, SDL_Color{0, 255, 0, 255});
    ASSERT_TRUE(WriteWholeFile(AssetPath("resources.xml"),
                               "<resources>\n  <item name=\"two\"/>\n  <item/>\n  <other name=\"one\"/>\n"
                               "  <item name=\"one\"/>\n</resources>\n"));
    TResourcePreloader* preloader = TResourcePreloader::Create("resources.xml");
    ASSERT_NE(nullptr, preloader);
    EXPECT_EQ((std::vector<std::string>{"two", "", "one"}), preloader->Names());
    EXPECT_EQ(3, preloader->LoadAll());
    EXPECT_EQ(nullptr, preloader->Images()[1]->GetTexture());
    EXPECT_EQ(3, preloader->Images()[0]->GetWidth());

    int live = GetLiveTextureCount();
    EXPECT_EQ(mLiveBefore + 2, live);
    TResourcePreloader::Instance()->Clear();
    EXPECT_EQ(mLiveBefore, GetLiveTextureCount());
    TResourcePreloader::Destroy();
    EXPECT_EQ(nullptr, TResourcePreloader::Instance());
}

TEST_F(ResourcePreloaderTest, MissingListGivesAnEmptyPreloader)
{
    TResourcePreloader* preloader = TResourcePreloader::Create("resources.xml");
    EXPECT_EQ(0, preloader->LoadAll());
    TResourcePreloader::Destroy();
}

}  // namespace
