// The shipped menu's scene leaves the menu's own widgets alone: over twenty seconds of its life,
// nothing it draws changes inside the title's box, a button's box or the player's labels.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "menu_scene_fixture.h"
#include "test_support.h"

namespace {

struct TBox {
    std::string mName;
    int mX, mY, mW, mH;
};

// The large button's picture holds four states of 240 x 56 stacked.
const int kButtonWidth = 240;
const int kButtonHeight = 56;

std::vector<TBox> MenuBoxes()
{
    std::vector<TBox> boxes;
    TiXmlDocument doc;
    if (!ReadXmlDocumentFile(&doc, std::string(BRISALO_ASSETS) + "/ui/mainmenu.xml") || !doc.RootElement())
        return boxes;
    for (const TiXmlElement* e = doc.RootElement()->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
        const std::string name = GetAttrString(e, "name", "");
        if (e->Attribute("rect")) {
            if (name != "title" && name != "namelbl" && name != "notyoulbl") continue;
            int x = 0, y = 0, w = 0, h = 0;
            if (std::sscanf(e->Attribute("rect"), "%d.%d.%d.%d", &x, &y, &w, &h) == 4) boxes.push_back({name, x, y, w, h});
        } else if (name.compare(0, 5, "main_") == 0) {
            boxes.push_back({name, GetAttrInt(e, "x", 0), GetAttrInt(e, "y", 0), kButtonWidth, kButtonHeight});
        }
    }
    return boxes;
}

class MenuComposition : public MenuSceneTest {
protected:
    std::vector<TPixel> Inside(const TBox& box)
    {
        std::vector<TPixel> pixels;
        for (int y = box.mY; y < box.mY + box.mH; ++y)
            for (int x = box.mX; x < box.mX + box.mW; ++x) pixels.push_back(Pixel(x, y));
        return pixels;
    }
};

TEST_F(MenuComposition, NothingMovesBehindTheTitleTheButtonsOrTheLabels)
{
    const std::vector<TBox> boxes = MenuBoxes();
    ASSERT_EQ(boxes.size(), 9u);
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    // The menu updates its scene before it draws a frame: some pieces take their place then.
    room.Update(1.0f / 60.0f);
    Clear(0, 0, 0);
    room.Draw();
    std::vector<std::vector<TPixel>> first;
    for (const TBox& box : boxes) first.push_back(Inside(box));
    for (int frame = 1; frame <= 20 * 60; ++frame) {
        room.Update(1.0f / 60.0f);
        if (frame % 15) continue;
        Clear(0, 0, 0);
        room.Draw();
        for (size_t i = 0; i < boxes.size(); ++i) {
            const std::vector<TPixel> now = Inside(boxes[i]);
            size_t changed = 0;
            for (size_t p = 0; p < now.size(); ++p)
                changed += now[p].r != first[i][p].r || now[p].g != first[i][p].g || now[p].b != first[i][p].b;
            ASSERT_EQ(changed, 0u) << boxes[i].mName << " at " << frame / 60.0f << " s";
        }
    }
    room.FreeObjectResources();
}

}  // namespace
