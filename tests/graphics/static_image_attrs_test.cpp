#include <gtest/gtest.h>

#include <tinyxml.h>

#include "core/xml_document.h"
#include "graphics/static_image.h"

namespace {
// Reads the attributes of `<o .../>` into a fresh image.
StaticImage ReadFrom(const char* xml, int presetBlend = kBlendMod)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    StaticImage image;
    image.mTransform.mBlendMode = presetBlend;
    ReadStaticImageAttrs(doc.RootElement(), &image, "objects/");
    return image;
}
}

TEST(StaticImageAttrs, DefaultsWhenNothingIsWritten)
{
    StaticImage image = ReadFrom("<o/>");
    EXPECT_EQ(image.mTextureName, "objects/");
    EXPECT_FLOAT_EQ(image.GetX(), 0.0f);
    EXPECT_FLOAT_EQ(image.GetAngle(), 0.0f);
    EXPECT_FLOAT_EQ(image.mAlpha, 1.0f);
    EXPECT_TRUE(image.IsVisible());
    EXPECT_FLOAT_EQ(image.GetScaleX(), 1.0f);
    EXPECT_FALSE(image.mOwnCentre);
    EXPECT_EQ(image.mTransform.mBlendMode, kBlendMod);  // no "additive": unchanged
}

TEST(StaticImageAttrs, EveryAttributeLandsInTheImage)
{
    StaticImage image = ReadFrom(
        "<o image='lamp' x='10+5' y='20' angle='90' alpha='0.5' v='0' trancex='3' trancey='-4'"
        " scx='2' scy='0.5' tcx='7' tcy='8' additive='true'/>");
    EXPECT_EQ(image.mTextureName, "objects/lamp");
    EXPECT_FLOAT_EQ(image.mX, 15.0f);
    EXPECT_FLOAT_EQ(image.mY, 20.0f);
    EXPECT_NEAR(image.GetAngle(), 1.5707963f, 1e-6);
    EXPECT_FLOAT_EQ(image.mAlpha, 0.5f);
    EXPECT_FALSE(image.IsVisible());
    EXPECT_FLOAT_EQ(image.mOffsetX, 3.0f);
    EXPECT_FLOAT_EQ(image.mOffsetY, -4.0f);
    EXPECT_FLOAT_EQ(image.GetScaleX(), 2.0f);
    EXPECT_FLOAT_EQ(image.GetScaleY(), 0.5f);
    EXPECT_TRUE(image.mOwnCentre);
    EXPECT_FLOAT_EQ(image.mTransform.mCentreX, 7.0f);
    EXPECT_FLOAT_EQ(image.mTransform.mCentreY, 8.0f);
    EXPECT_EQ(image.mTransform.mBlendMode, kBlendAdd);
}

TEST(StaticImageAttrs, PartialPairsAndFallbacks)
{
    struct Case {
        const char* xml;
        const char* texture;
        float scaleX;
        bool ownCentre;
        int blend;
    } cases[] = {
        {"<o filename='a' image='b'/>", "objects/a", 1.0f, false, kBlendMod},
        {"<o filename='' image='b'/>", "objects/b", 1.0f, false, kBlendMod},
        {"<o scx='3'/>", "objects/", 1.0f, false, kBlendMod},        // both scales or none
        {"<o tcx='3' tcy='-1'/>", "objects/", 1.0f, false, kBlendMod},  // both centres or none
        {"<o additive='yes'/>", "objects/", 1.0f, false, kBlendAlpha},
    };
    for (const Case& c : cases) {
        StaticImage image = ReadFrom(c.xml);
        EXPECT_EQ(image.mTextureName, c.texture) << c.xml;
        EXPECT_FLOAT_EQ(image.GetScaleX(), c.scaleX) << c.xml;
        EXPECT_EQ(image.mOwnCentre, c.ownCentre) << c.xml;
        EXPECT_EQ(image.mTransform.mBlendMode, c.blend) << c.xml;
    }
    ReadStaticImageAttrs(nullptr, nullptr, "");  // nothing happens
}
