// The main menu's puzzle corner as the menu shows it: the reel and its echo on the moon, the
// bucket half-way down the well, the lamp that lights at the opening and the lit lantern; and
// the data that keeps them in step.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "objects/light_button_objects.h"
#include "objects/slider_objects.h"
#include "rooms/menu_scene_fixture.h"
#include "test_support.h"

using MenuControlsTest = MenuSceneTest;

namespace {

// The element of the menu's scene with that id, anywhere in its object tree.
TiXmlElement* ElementById(TiXmlElement* parent, const std::string& id)
{
    for (TiXmlElement* e = parent->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
        if (GetAttrString(e, "id", "") == id) return e;
        if (TiXmlElement* inner = ElementById(e, id)) return inner;
    }
    return nullptr;
}

int CountImages(TiXmlElement* e)
{
    int n = 0;
    for (TiXmlElement* img = e->FirstChildElement("img"); img; img = img->NextSiblingElement("img")) ++n;
    return n;
}

}  // namespace

TEST_F(MenuControlsTest, ShownMenuRestsOnTheMoonWithTheBucketHalfWayAndTheLampsLit)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    for (int i = 0; i < 60; ++i) room.Update(1.0f / 60);

    auto* reel = FindKind<TSpinnerObject>(room, "reel");
    auto* echo = FindKind<TSpinnerEchoObject>(room, "reel_echo");
    auto* rope = FindKind<TSliderObject>(room, "well_rope");
    auto* lamps = FindKind<TChangeOnActivateParentObject>(room, "lamps");
    auto* lamp = FindKind<TChangeOnActivateObject>(room, "lamp");
    auto* lantern = FindKind<TLightCheckButtonObject>(room, "lantern");
    ASSERT_TRUE(reel && echo && rope && lamps && lamp && lantern);
    EXPECT_EQ(1, reel->GetShownIndex());
    EXPECT_EQ(reel, echo->mSource);
    EXPECT_FLOAT_EQ(0.5f, rope->mValue);
    EXPECT_FLOAT_EQ(1167.0f, rope->mThumbImage.mX);
    EXPECT_FLOAT_EQ(660.0f, rope->mThumbImage.mY);
    EXPECT_EQ(1, lamp->GetShownIndex());
    EXPECT_FLOAT_EQ(1.0f, lamp->mImages[1]->mAlpha);
    EXPECT_TRUE(lamps->IsLocked());
    EXPECT_TRUE(lantern->mPushed);

    Clear(0, 0, 0);
    room.Draw();
    ExpectPixel(1052, 582, 24, 32, 84, 12);   // the moon's sky in the board's window
    ExpectPixel(1134, 582, 24, 32, 84, 12);   // and on the plaque
    ExpectPixel(1167, 660, 150, 96, 52, 12);  // the bucket
    ExpectPixel(1030, 540, 255, 184, 48, 12); // the lamp's flame
    ExpectPixel(1090, 540, 255, 184, 48, 12); // the lantern's
    room.FreeObjectResources();
}

TEST(MenuControlsData, PicturesReelsAndIndexesAgree)
{
    TiXmlDocument doc;
    ASSERT_TRUE(ParseXmlText(&doc, ReadWholeFile(std::string(BRISALO_ASSETS) + "/mainmenu.xml")));
    TiXmlElement* objects = doc.RootElement()->FirstChildElement("Objects");
    ASSERT_NE(nullptr, objects);

    const std::string folder = std::string(BRISALO_ASSETS) + "/textures/mainmenu/";
    for (const char* name : {"board", "sym_sun", "sym_moon", "sym_star", "plaque", "well", "rope", "bucket",
                             "lamp_off", "lamp_on"}) {
        EXPECT_TRUE(PathExists(folder + name + ".png")) << name;
        EXPECT_FALSE(PathExists(folder + name + ".jpg")) << name;
    }

    TiXmlElement* reel = ElementById(objects, "reel");
    TiXmlElement* echo = ElementById(objects, "reel_echo");
    TiXmlElement* rope = ElementById(objects, "well_rope");
    TiXmlElement* lamps = ElementById(objects, "lamps");
    TiXmlElement* lamp = ElementById(objects, "lamp");
    ASSERT_TRUE(reel && echo && rope && lamps && lamp);
    EXPECT_EQ(3, CountImages(reel));
    EXPECT_EQ(CountImages(reel), CountImages(echo));
    const int cur = GetAttrInt(reel, "cur", -1);
    EXPECT_TRUE(cur >= 0 && cur < CountImages(reel));
    std::vector<int> idxs;
    GetAttrIntList(lamps, "idxs", idxs);
    ASSERT_EQ(1u, idxs.size());
    EXPECT_TRUE(idxs[0] >= 0 && idxs[0] < CountImages(lamp));
    EXPECT_GT(GetAttrInt(rope, "length", 0), 0);
}
