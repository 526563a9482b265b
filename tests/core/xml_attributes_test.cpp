#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "test_support.h"

namespace {

class XmlAttributes : public ::testing::Test {
protected:
    void SetUp() override
    {
        mRoot = LoadXmlFile(UserCopyOfTestData("core/attribute_readers.xml"), &mDoc);
        ASSERT_NE(mRoot, nullptr);
    }
    void TearDown() override { delete mDoc; }
    TiXmlElement* Child(const char* name) { return FirstChildElement(mRoot, name); }

    TiXmlDocument* mDoc = nullptr;
    TiXmlElement* mRoot = nullptr;
};

void ExpectColor(const TFloatColor& c, float r, float g, float b, float a, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
    EXPECT_FLOAT_EQ(c.a, a);
}

}  // namespace

TEST_F(XmlAttributes, SumsSplitAtTheLastPlusThenTheLastInnerMinus)
{
    const struct { const char* name; int expected; } cases[] = {
        {"v1", 15}, {"v2", 5}, {"v3", -5}, {"v4", 5}, {"v5", 4}, {"v6", 2}, {"v7", 5}, {"v8", INT_MAX},
    };
    TiXmlElement* e = Child("sum");
    for (const auto& c : cases) EXPECT_EQ(GetAttrInt(e, c.name, -99), c.expected) << c.name;
    EXPECT_FLOAT_EQ(GetAttrFloat(e, "f1"), -4.0f);
    EXPECT_FLOAT_EQ(GetAttrFloat(e, "f2"), 2.5f);
    EXPECT_EQ(ParseIntSum("-2000000000-2000000000"), INT_MIN);
    EXPECT_EQ(ParseIntSum("99999999999999999999+99999999999999999999"), INT_MAX);
    EXPECT_FLOAT_EQ(ParseFloatSum("1e300"), HUGE_VALF);
}

TEST_F(XmlAttributes, EmptyTextFallsBackToTheSecondNameThenTheDefault)
{
    TiXmlElement* e = Child("empty");
    EXPECT_EQ(GetAttrInt(e, "value", 3, "second"), 7);
    EXPECT_EQ(GetAttrInt(e, "value", 3), 3);
    EXPECT_EQ(GetAttrInt(e, "missing", 3, "second"), 7);
    EXPECT_FLOAT_EQ(GetAttrFloat(e, "value", 1.5f, "second"), 7.0f);
    EXPECT_EQ(GetAttrUnsigned(e, "value", 4u), 4u);
    EXPECT_EQ(GetAttrString(e, "value", "def"), "");
    EXPECT_EQ(GetAttrString(e, "missing", "def"), "def");
    EXPECT_EQ(GetAttrValue(e, "second", "def"), "7");
}

TEST_F(XmlAttributes, BoolIsTrueOnlyForOneAndLowerCaseTrue)
{
    TiXmlElement* e = Child("bool");
    EXPECT_TRUE(GetAttrBool(e, "b1", false));
    EXPECT_TRUE(GetAttrBool(e, "b2", false));
    for (const char* name : {"b3", "b4", "b5"}) EXPECT_FALSE(GetAttrBool(e, name, true)) << name;
    EXPECT_TRUE(GetAttrBool(e, "missing", true));
    EXPECT_FALSE(GetAttrBool(e, "missing", false));
    // An empty first attribute reads the second one, not the default.
    EXPECT_TRUE(GetAttrBool(Child("empty"), "value", false, "on"));
    EXPECT_FALSE(GetAttrBool(Child("empty"), "value", true, "second"));  // "7" is not true
}

TEST_F(XmlAttributes, ColoursAreDottedDecimalOrHexadecimal)
{
    TiXmlElement* e = Child("color");
    TFloatColor def;
    def.r = 0.25f;
    def.a = 0.5f;
    ExpectColor(GetAttrColor(e, "c1", def), 1, 0, 0, 1, "255.0.0.255");
    ExpectColor(GetAttrColor(e, "c2", def), 1, 0, 0, 1, "ff0000");
    ExpectColor(GetAttrColor(e, "c3", def), 1, 0, 0, 128 / 255.0f, "80ff0000");
    ExpectColor(GetAttrColor(e, "c4", def), 0, 0, 0, 1, "0");
    ExpectColor(GetAttrColor(e, "c5", def), 0, 2 / 255.0f, 85 / 255.0f, 1, "255.255.255");
    ExpectColor(GetAttrColor(e, "c6", def), 0.25f, 0, 0, 0.5f, "red");
    ExpectColor(GetAttrColor(e, "c7", def), 1, 0, 0, 128 / 255.0f, "0x80ff0000");
    ExpectColor(GetAttrColor(e, "c8", def), 0, 0, 0xbe / 255.0f, 1, "beige");
    ExpectColor(GetAttrColor(e, "missing", def), 0.25f, 0, 0, 0.5f, "missing");
}

TEST_F(XmlAttributes, RelativeSizesUseOnlyTheFractionalPart)
{
    TiXmlElement* e = Child("relsize");
    const struct { const char* name; int expected; } cases[] = {
        {"r1", 683}, {"r2", 683}, {"r3", 342}, {"r4", 2}, {"r5", 0}, {"r6", 0}, {"missing", -9},
    };
    for (const auto& c : cases) EXPECT_EQ(GetAttrRelSize(e, c.name, 1366, -9), c.expected) << c.name;
    EXPECT_EQ(GetAttrRelSize(Child("empty"), "value", 1366, -9, "half"), 683);
    EXPECT_EQ(GetAttrRelSize(Child("empty"), "value", 1366, -9, "second"), 7);
}

TEST_F(XmlAttributes, RectanglesWriteAsFarAsTheScanGot)
{
    TiXmlElement* e = Child("rect");
    int x = -1, y = -1, w = -1, h = -1;
    EXPECT_FALSE(GetAttrRect(e, "three", &x, &y, &w, &h, ","));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, -1);
    EXPECT_TRUE(GetAttrRect(e, "dotted", &x, &y, &w, &h, "."));
    EXPECT_EQ(h, 4);
    EXPECT_TRUE(GetAttrRect(e, "spaced", &x, &y, &w, &h, ","));
    x = y = -1;
    EXPECT_FALSE(GetAttrRect(e, "late", &x, &y, &w, &h, ","));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -1);
    EXPECT_FALSE(GetAttrRect(e, "missing", &x, &y, &w, &h, ","));
}

TEST_F(XmlAttributes, StringListsReplaceWhilePointAndFloatListsAppend)
{
    TiXmlElement* e = Child("list");
    std::vector<std::string> names = {"old"};
    EXPECT_EQ(GetAttrList(e, "names", ';', names), 3);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c"}));

    std::vector<TIntPoint> points(1);
    points[0].x = 9;
    GetAttrPointList(e, "points", points);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].x, 9);
    EXPECT_EQ(points[1].x, 1);
    EXPECT_EQ(points[1].y, 2);
    EXPECT_EQ(points[2].x, 3);
    EXPECT_EQ(points[2].y, 0);

    std::vector<TFloatPoint> pointsF;
    GetAttrPointListF(e, "points", pointsF);
    ASSERT_EQ(pointsF.size(), 2u);
    EXPECT_FLOAT_EQ(pointsF[0].y, 2.0f);

    std::vector<float> floats = {7.0f};
    GetAttrFloatList(e, "floats", floats);
    EXPECT_EQ(floats, (std::vector<float>{7.0f, 0.5f, 2.0f, 0.0f}));
}

TEST_F(XmlAttributes, ChildElementsAppendInDocumentOrderAndTextIsCondensed)
{
    std::vector<TiXmlElement*> children = {mRoot};
    GetChildElements(mRoot, "child", children);
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(GetAttrString(children[1], "name"), "one");
    EXPECT_EQ(GetAttrString(children[2], "name"), "two");
    EXPECT_EQ(GetElementText(children[2]), "text with spaces");
    EXPECT_EQ(GetElementText(children[1]), "");
}

TEST(XmlAttributesNull, EveryReaderGivesItsDefaultForANullElement)
{
    TFloatColor def;
    def.g = 0.5f;
    int x = 5;
    std::vector<std::string> list = {"keep"};
    std::vector<TIntPoint> points;
    std::vector<TFloatPoint> pointsF;
    std::vector<float> floats;
    std::vector<TiXmlElement*> children;
    EXPECT_EQ(GetAttrString(nullptr, "a", "d"), "d");
    EXPECT_EQ(GetAttrInt(nullptr, "a", 4, "b"), 4);
    EXPECT_EQ(GetAttrUnsigned(nullptr, "a", 4u), 4u);
    EXPECT_FLOAT_EQ(GetAttrFloat(nullptr, "a", 1.5f, "b"), 1.5f);
    EXPECT_TRUE(GetAttrBool(nullptr, "a", true, "b"));
    EXPECT_EQ(GetAttrRelSize(nullptr, "a", 1366, 8), 8);
    EXPECT_FALSE(GetAttrRect(nullptr, "a", &x, &x, &x, &x, ","));
    EXPECT_EQ(x, 5);
    EXPECT_FLOAT_EQ(GetAttrColor(nullptr, "a", def).g, 0.5f);
    EXPECT_EQ(GetAttrList(nullptr, "a", ';', list), 0);
    EXPECT_TRUE(list.empty());
    GetAttrPointList(nullptr, "a", points);
    GetAttrPointListF(nullptr, "a", pointsF);
    GetAttrFloatList(nullptr, "a", floats);
    GetChildElements(nullptr, "a", children);
    EXPECT_TRUE(points.empty() && pointsF.empty() && floats.empty() && children.empty());
    EXPECT_EQ(GetElementText(nullptr), "");
}
