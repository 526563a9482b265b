#include <gtest/gtest.h>

#include <tinyxml.h>

#include "core/xml_document.h"
#include "objects/object_refs.h"

namespace {
// "outer/inner/object" of every reference, groups joined by " | ".
std::string Describe(const TObjectRefList& list)
{
    std::string out;
    for (size_t g = 0; g < list.size(); ++g) {
        if (g) out += " | ";
        for (size_t i = 0; i < list[g].size(); ++i) {
            if (i) out += ", ";
            out += list[g][i].mOuter + "/" + list[g][i].mInner + "/" + list[g][i].mObject;
        }
    }
    return out;
}
}  // namespace

TEST(ObjectRefs, ReferenceItemsFillByTheirNumberOfParts)
{
    struct Case {
        const char* text;
        const char* alias;
        const char* expected;
    };
    const Case cases[] = {
        {"a", "", "//a"},
        {"r.a", "", "r//a"},
        {"r.p.a", "", "r/p/a"},
        {"r.p.q.a", "", "//"},
        {"a..b", "", "a//b"},
        {"a, b;r.c", "", "//a, //b | r//c"},
        {"a;;b", "", "//a | //b"},
        {"", "x", "//x"},
        {"y", "x", "//y"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        TObjectRefList list;
        ParseObjectRefList(list, c.text, c.alias);
        EXPECT_EQ(Describe(list), c.expected) << c.text;
    }
}

TEST(ObjectRefs, EmptyTextClearsReferencesButKeepsOtherLists)
{
    TObjectRefList refs = {{{"o", "i", "x"}}};
    ParseObjectRefList(refs, "", "");
    EXPECT_TRUE(refs.empty());

    TNameList names = {{"kept"}};
    ParseNameList(names, "");
    EXPECT_EQ(names, (TNameList{{"kept"}}));
    TFlagRefList flags = {{TFlagRef{"kept", 1, ""}}};
    ParseValueRefList(flags, "");
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(flags[0][0].mName, "kept");
    TStateRefList states = {{TStateRef{"kept", "too"}}};
    ParseNamePairList(states, "");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0][0].mFirst, "kept");

    ParseNameList(names, "a, b;c;;d");
    EXPECT_EQ(names, (TNameList{{"a", "b"}, {"c"}, {"d"}}));
}

TEST(ObjectRefs, FlagItems)
{
    struct Case {
        const char* item;
        const char* name;
        int value;
        const char* text;
    };
    const Case cases[] = {
        {"n", "n", 0, ""},         {"n.3", "n", 3, ""},       {"n.word", "n", 0, "word"},
        {"n.0", "n", 0, "0"},      {"n.3.t", "n", 3, "t"},    {"a.b.c.d", "", 0, ""},
        {"n.99999999999", "n", 2147483647, ""},
    };
    for (const Case& c : cases) {
        TFlagRefList list;
        ParseValueRefList(list, std::string("first;") + c.item);
        ASSERT_EQ(list.size(), 2u) << c.item;
        ASSERT_EQ(list[1].size(), 1u) << c.item;
        EXPECT_EQ(list[1][0].mName, c.name) << c.item;
        EXPECT_EQ(list[1][0].mValue, c.value) << c.item;
        EXPECT_EQ(list[1][0].mText, c.text) << c.item;
    }
}

TEST(ObjectRefs, StateItemsNeedExactlyTwoParts)
{
    TStateRefList list;
    ParseNamePairList(list, "a.b, a, a.b.c");
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0].size(), 3u);
    EXPECT_EQ(list[0][0].mFirst + "/" + list[0][0].mSecond, "a/b");
    EXPECT_EQ(list[0][1].mFirst + "/" + list[0][1].mSecond, "/");
    EXPECT_EQ(list[0][2].mFirst + "/" + list[0][2].mSecond, "/");
}

TEST(ObjectRefs, WrongToolHintReadsToolAndHints)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, "<wrongtoolhint tool='saw' hints='a, b,'/>");
    TWrongToolHint hint;
    EXPECT_TRUE(hint.LoadXml(doc.RootElement()));
    EXPECT_EQ(hint.mTool, "saw");
    EXPECT_EQ(hint.mHints, (std::vector<std::string>{"a", "b"}));
}

TEST(ObjectRefs, FrameRectangles)
{
    struct Case {
        int index, w, h, sheet;
        TFrameRect expected;
    };
    const Case cases[] = {
        {0, 64, 32, 128, {0, 0, 64, 32}},
        {3, 64, 32, 128, {64, 32, 128, 64}},
        {2, 10, 10, 10, {0, 20, 10, 30}},
        {1, 8, 2147483647, 8, {0, 2147483647, 8, 2147483647}},
        {2147483647, 1, 1, 1, {0, 2147483647, 1, 2147483647}},
    };
    for (const Case& c : cases) {
        TFrameRect r = ComputeFrameRect(c.index, c.w, c.h, c.sheet);
        EXPECT_EQ(r.mLeft, c.expected.mLeft) << c.index;
        EXPECT_EQ(r.mTop, c.expected.mTop) << c.index;
        EXPECT_EQ(r.mRight, c.expected.mRight) << c.index;
        EXPECT_EQ(r.mBottom, c.expected.mBottom) << c.index;
    }
}
