#include "core/text.h"

#include <gtest/gtest.h>

TEST(FormatString, ResultsAroundTheFirstBufferComeBackWhole)
{
    for (int length : {0, 1, 159, 160, 161, 319, 320, 321, 5000}) {
        std::string expected;
        for (int i = 0; i < length; ++i) expected += static_cast<char>('a' + i % 26);
        EXPECT_EQ(FormatString("%s", expected.c_str()), expected) << length;
        // The arguments are read again for every attempt: a second one must survive too.
        EXPECT_EQ(FormatString("%s%d", expected.c_str(), 42), expected + "42") << length;
    }
}

TEST(SplitString, TrimsSpacesOnlyAndDropsEmptyParts)
{
    std::vector<std::string> parts{"stale"};
    EXPECT_EQ(SplitString(" a ; ;b;", ';', parts), 2);
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitString("", ';', parts), 0);
    EXPECT_TRUE(parts.empty());
    EXPECT_EQ(SplitString("\tx ,y", ',', parts), 2);
    EXPECT_EQ(parts, (std::vector<std::string>{"\tx", "y"}));
}

TEST(SplitGroups, GroupsAndItemsSplitAsSplitStringSplits)
{
    using TGroups = std::vector<std::vector<std::string>>;
    const struct {
        const char* text;
        TGroups groups;
    } cases[] = {
        {"a,b;c,d", {{"a", "b"}, {"c", "d"}}},
        {"", {}},
        {" ; ;", {}},                               // a group of spaces only is no group
        {"a , b ;;c", {{"a", "b"}, {"c"}}},         // trimmed, empty items dropped
        {"a;,;c", {{"a"}, {}, {"c"}}},              // a group of separators keeps its place, empty
        {"a.b;c", {{"a.b"}, {"c"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitGroups(c.text, ';', ','), c.groups) << c.text;
    EXPECT_EQ(SplitGroups("1.2;3.4", ';', '.'), (TGroups{{"1", "2"}, {"3", "4"}}));
}

TEST(TrimSpaces, SkipsLeadingAndCutsTrailingSpaces)
{
    char text[] = "  key \t  ";
    EXPECT_STREQ(TrimSpaces(text), "key \t");
    char empty[] = "";
    EXPECT_EQ(TrimSpaces(empty), empty);
    char spaces[] = "   ";
    EXPECT_STREQ(TrimSpaces(spaces), "");
    EXPECT_EQ(TrimSpaces(nullptr), nullptr);
}

TEST(ParseIntW, AcceptsOnlyWholeNumbers)
{
    struct Case {
        const wchar_t* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {L"0x1F", true, 31}, {L"0XaB", true, 171}, {L"12a", false, 0}, {L"-7", true, -7},
        {L"-", true, 0},     {L"-0x1", false, 0},  {L"", false, 0},    {L"00x1", false, 0},
        {L"+5", false, 0},   {L" 5", false, 0},    {L"0x", true, 0},   {L"99999999999", true, 2147483647},
        {L"-99999999999", true, -2147483647 - 1},  {L"0xFFFFFFFF", true, -1},
    };
    for (const Case& c : cases) {
        int value = 123;
        EXPECT_EQ(ParseIntW(c.text, &value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(ParseFloatW, AcceptsSignDigitsAndOnePoint)
{
    float value = 9.0f;
    EXPECT_TRUE(ParseFloatW(L"1.25", &value));
    EXPECT_FLOAT_EQ(value, 1.25f);
    EXPECT_TRUE(ParseFloatW(L"-0.5", &value));
    EXPECT_FLOAT_EQ(value, -0.5f);
    for (const wchar_t* bad : {L"1e3", L"", L"1.2.3", L"1,5", L"+1"}) {
        value = 9.0f;
        EXPECT_FALSE(ParseFloatW(bad, &value)) << bad;
        EXPECT_EQ(value, 0.0f) << bad;
    }
}

TEST(Paths, NamesAndFolders)
{
    EXPECT_EQ(FileNameWithoutExt("fonts/big.font.txt"), "big.font");
    EXPECT_EQ(FileNameWithoutExt("a.b/c"), "c");
    EXPECT_EQ(FileNameWithoutExt("abc"), "abc");
    EXPECT_EQ(FileNameWithoutExt("a\\b.png"), "b");
    EXPECT_EQ(PathDirectory("a/b\\c.png", true), "a/b\\");
    EXPECT_EQ(PathDirectory("a/b\\c.png", false), "a/b");
    EXPECT_EQ(PathDirectory("c.png", true), "");
}

TEST(ResolveRelativePath, FoldsLeadingDotsOnly)
{
    struct Case {
        const char* relative;
        const char* base;
        const char* expected;
    };
    const Case cases[] = {
        {"../a/../b", "x/y/", "x/a/../b"},
        {"./f.png", "fonts", "fonts/f.png"},
        {"img/f.png", "c:\\fonts\\", "c:\\fonts\\img\\f.png"},
        {"c:/abs.png", "x/", "c:/abs.png"},
        {"f.png", "", "f.png"},
        {"../../f.png", "../", "../../../f.png"},
        {"/f.png", "x/", "/f.png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveRelativePath(c.relative, c.base), c.expected) << c.relative << " in " << c.base;
}

TEST(Conversions, Utf8RoundTripAndReplacement)
{
    const std::wstring wide = {L'a', 0xE9, 0x416, 0x20AC, 0x1F600};
    const std::string utf8 = "a\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(ToUtf8(wide), utf8);
    EXPECT_EQ(ToWide(utf8), wide);
    EXPECT_EQ(ToWide("a\xFF" "b"), (std::wstring{L'a', 0xFFFD, L'b'}));
    EXPECT_EQ(ToWide("\xC3"), std::wstring(1, 0xFFFD));              // cut sequence
    EXPECT_EQ(ToWide("\xED\xA0\x80"), std::wstring(1, 0xFFFD));      // encoded surrogate
    EXPECT_EQ(ToUtf8(std::wstring(1, 0xD800)), "\xEF\xBF\xBD");       // lone surrogate
    EXPECT_EQ(ToUtf8(std::wstring(20000, 0x416)).size(), 15998u);    // cut between characters
    EXPECT_EQ(ToWide(std::string(20000, 'x')).size(), 9999u);
}

// Stored player names: UTF-8 when they are UTF-8, else one character per byte.
TEST(Conversions, StoredNamesWidenWithoutReplacementCharacters)
{
    const struct {
        const char* bytes;
        std::wstring wide;
    } cases[] = {
        {"Anna", L"Anna"},
        {"\xD0\x96\xD0\xBE\xD1\x80\xD0\xB0", std::wstring{0x416, 0x43E, 0x440, 0x430}},
        {"Jos\xE9", std::wstring{L'J', L'o', L's', 0xE9}},
        {"\xD0", std::wstring{0xD0}},                                // cut sequence
        {"a\xEF\xBF\xBD", std::wstring{L'a', 0xFFFD}},              // a real U+FFFD
        {"\xEF\xBF\xBD\xFF", std::wstring{0xEF, 0xBF, 0xBD, 0xFF}},  // valid start, bad end
        {"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(WidenStoredName(c.bytes), c.wide) << c.bytes;
}

TEST(Conversions, NarrowingAndCase)
{
    EXPECT_EQ(WideToMultiByte(std::wstring(1, 0xE9)), "\xE9");
    EXPECT_EQ(WideToMultiByte(std::wstring{L'a', 0x416}), "");
    EXPECT_EQ(WidenAscii("\xE9"), std::wstring(1, 0xE9));
    EXPECT_EQ(ToLowerString("AbZ\xC3\x89"), "abz\xC3\x89");
    EXPECT_EQ(ToUpperW(std::wstring{L'a', L'Z', 0xE9}), (std::wstring{L'A', L'Z', 0xE9}));
}
