// The main menu's two shipped pictures: twelve rows of twelve cells each, only digits the
// palette has, every palette image present, and the whole picture on screen clear of the
// menu's buttons.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "test_support.h"

namespace {

TEST(PaintData, ShippedPicturesFitTheirPaletteAndTheScreen)
{
    for (const char* name : {"mainleft.xml", "mainright.xml"}) {
        SCOPED_TRACE(name);
        TiXmlDocument doc;
        ASSERT_TRUE(ParseXmlText(&doc, ReadWholeFile(std::string(BRISALO_ASSETS) + "/" + name)));
        const TiXmlElement* root = doc.RootElement();
        ASSERT_NE(nullptr, root);
        EXPECT_EQ(std::string(root->Value()), "paint");
        std::vector<std::string> images;
        GetAttrList(root, "images", ';', images);
        ASSERT_EQ(images.size(), 9u);
        for (const std::string& image : images)
            EXPECT_TRUE(PathExists(std::string(BRISALO_ASSETS) + "/" + image + ".png")) << image;

        int rows = 0;
        for (const TiXmlElement* line = root->FirstChildElement("line"); line; line = line->NextSiblingElement("line")) {
            const std::string text = GetAttrString(line, "line", "");
            EXPECT_EQ(text.size(), 12u) << "row " << rows;
            for (char c : text) EXPECT_TRUE(c >= '0' && c <= '9') << "row " << rows << " '" << c << "'";
            ++rows;
        }
        EXPECT_EQ(rows, 12);

        // 16-pixel cells: the palette images are 16 x 16.
        const int step = 16 + GetAttrInt(root, "spacex", 0);
        const int x = GetAttrInt(root, "x", 0), y = GetAttrInt(root, "y", 0);
        const int right = x + 11 * step + 16, bottom = y + 11 * (16 + GetAttrInt(root, "spacey", 0)) + 16;
        EXPECT_GE(x, 0);
        EXPECT_GE(y, 0);
        EXPECT_LE(right, 1366);
        EXPECT_LE(bottom, 768);
        EXPECT_TRUE(right <= 563 || x >= 803) << "over the buttons' column";
    }
}

}  // namespace
