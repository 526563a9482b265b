// Data test on the shipped files the board's hint bubble and text widgets use: the tips have
// texts that fit the bubble in "big", and both cursor modes have the text widgets' cursors.
#include <gtest/gtest.h>
#include <tinyxml.h>
#include <unistd.h>

#include "core/localization.h"
#include "core/text.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "graphics/font_manager.h"
#include "test_support.h"

namespace {

class ShippedHintTexts : public CanvasTest {
protected:
    void SetUp() override
    {
        Open(64, 64);
        for (const char* shipped : {"fonts", "termins.xml", "fonts.xml"})
            ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + shipped).c_str(), AssetPath(shipped).c_str()));
    }
    void TearDown() override
    {
        TFontManager::Destroy();
        CanvasTest::TearDown();
    }
};

TEST_F(ShippedHintTexts, TipsResolveAndFitTheBubbleInBig)
{
    ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
    ASSERT_TRUE(TFontManager::Instance()->Load(LoadXmlDocument("fonts.xml")));
    DeleteCurrentXmlDocument();
    ImageFont* big = TFontManager::Instance()->GetFont("big");
    ASSERT_NE(nullptr, big);
    for (const char* key : {"flyhint1", "flyhint2", "flyhint3", "flyhint4"}) {
        const std::wstring text = GetLocalization()->GetText(key);
        EXPECT_NE(WidenAscii(key), text) << key;
        EXPECT_GT(big->WStringWidth(text), 0) << key;
        EXPECT_LE(big->WStringWidth(text), 1025) << key;
    }
}

TEST(ShippedCursors, TextWidgetCursorsInBothModes)
{
    TiXmlDocument doc;
    ASSERT_TRUE(ParseXmlText(&doc, ReadWholeFile(BRISALO_ASSETS "/cursors.xml")));
    TiXmlElement* cursors = doc.RootElement()->FirstChildElement("cursors");
    ASSERT_NE(nullptr, cursors);
    for (const char* name : {"text", "handspot"})
        for (bool system : {false, true}) {
            int found = 0;
            for (TiXmlElement* c = cursors->FirstChildElement("cursor"); c; c = c->NextSiblingElement("cursor")) {
                const char* n = c->Attribute("name");
                const char* s = c->Attribute("system");
                const bool isSystem = s && (std::string(s) == "1" || std::string(s) == "true");
                if (n && std::string(n) == name && isSystem == system) ++found;
            }
            EXPECT_EQ(1, found) << name << (system ? " system" : " drawn");
        }
}

}  // namespace
