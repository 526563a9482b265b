// The shipped widget sheets under the shipped styles of ui/interface.xml: every button style
// gives four different looks, the slider's thumb stays inside its track, the page points sheet
// has two points side by side.
#include <unistd.h>

#include <list>
#include <set>
#include <vector>

#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "graphics/static_image.h"
#include "test_support.h"
#include "ui/button.h"
#include "ui/slider.h"
#include "ui/ui_elements.h"
#include "ui/ui_test_layout.h"

namespace {

class WidgetsDataTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        std::string assets = BRISALO_ASSETS;
        ASSERT_EQ(0, chdir(assets.substr(0, assets.rfind('/')).c_str()));
    }
    void TearDown() override
    {
        mScreen.RemoveAllChildren(true, false);
        CanvasTest::TearDown();
    }
    // The description of one object read along with the shipped interface.xml, whose
    // styles it names.
    template <class T>
    const T* Describe(const std::string& attributes)
    {
        TUIInfoHolder& holder = mHolders.emplace_back();
        TiXmlDocument doc;
        std::string text = "<layout><object name=\"o\" " + attributes + "/></layout>";
        ParseXmlText(&doc, text);
        TiXmlDocument styles;
        EXPECT_TRUE(ParseXmlText(&styles, ReadWholeFile(std::string(BRISALO_ASSETS) + "/ui/interface.xml")));
        TiXmlElement* root = styles.RootElement();
        root->InsertEndChild(*doc.RootElement()->FirstChildElement());
        EXPECT_TRUE(holder.Load(root));
        return dynamic_cast<const T*>(holder.Find("o"));
    }
    std::vector<uint32_t> Region(int w, int h)
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                TPixel p = Pixel(x, y);
                out.push_back(static_cast<uint32_t>(p.r << 16 | p.g << 8 | p.b));
            }
        return out;
    }

    std::list<TUIInfoHolder> mHolders;
    TMyWindow mScreen;
};

TEST_F(WidgetsDataTest, EveryButtonStyleDrawsFourDifferentLooks)
{
    std::vector<std::string> buttons = {"style=\"btnlarge\"", "style=\"btnmedium\"", "style=\"btnsmall\"",
                                        "style=\"btncheck\"", "style=\"btnradio\""};
    for (const char* icon : {"iconprev", "iconnext", "iconup", "icondown", "iconclose", "iconmenu", "iconfit"}) {
        buttons.push_back("style=\"btnicon\" image=\"textures/gui/buttons/" + std::string(icon) + "\"");
    }
    for (const std::string& attributes : buttons) {
        SCOPED_TRACE(attributes);
        const TUIMyButton* info = Describe<TUIMyButton>("type=\"button\" x=\"0\" y=\"0\" " + attributes);
        ASSERT_NE(info, nullptr);
        TMyButton* button = CreateButton(const_cast<TUIMyButton*>(info), &mScreen);
        ASSERT_GT(button->GetWidth(), 0);
        ASSERT_GT(button->GetHeight(), 0);
        std::set<std::vector<uint32_t>> looks;
        for (int look = 0; look < 4; ++look) {
            Clear(0, 0, 0);
            button->DrawStateImage(look, 0);
            looks.insert(Region(button->GetWidth(), button->GetHeight()));
        }
        EXPECT_EQ(looks.size(), 4u);
    }
}

TEST_F(WidgetsDataTest, SliderKeepsItsThumbInsideTheTrack)
{
    const TUIBaseSlider* info = Describe<TUIBaseSlider>("type=\"slider\" style=\"slider\" x=\"0\" y=\"0\"");
    ASSERT_NE(info, nullptr);
    TBaseSlider* slider = CreateSlider(info, &mScreen);
    EXPECT_EQ(slider->GetWidth(), 232);
    EXPECT_EQ(slider->GetHeight(), 28);
    for (float value : {0.0f, 1.0f}) {
        SCOPED_TRACE(value);
        slider->SetValue(value);
        slider->mTrack.SetVisible(false);
        Clear(0, 0, 0);
        mScreen.Draw();
        EXPECT_EQ(slider->mThumb.GetWidth(), 28);
        EXPECT_GE(slider->mThumb.GetX(), 0.0f);
        EXPECT_LE(slider->mThumb.GetX() + 28, 232.0f);
        SDL_Rect thumb = DrawnBox(0, 0, 0);
        EXPECT_GT(thumb.w, 20);
        EXPECT_GE(thumb.x, 0);
        EXPECT_LE(thumb.x + thumb.w, 232);
        EXPECT_GE(thumb.y, 0);
        EXPECT_LE(thumb.y + thumb.h, 28);
    }
}

TEST_F(WidgetsDataTest, PagePointsSheetHoldsTwoPoints)
{
    StaticImage points;
    points.SetTexture("textures/gui/map/pagepoints");
    EXPECT_EQ(points.GetWidth(), 48);
    EXPECT_EQ(points.GetHeight(), 24);
    points.FreeTexture();
}

}  // namespace
