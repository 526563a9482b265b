#include "graphics/font_data.h"

#include "font_fixture.h"

namespace {

class FontDataTest : public FontTest {};

TEST_F(FontDataTest, RefusedCommandsAndTheirMessages)
{
    struct Case {
        const wchar_t* script;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {L"CreateLayer a; CreateLayer A;", {"Layer Already Exists"}},
        {L"Define 1x (1);", {"Invalid Paramater Type"}},
        {L"SetCharMap ('ab') ('c');", {"Invalid Paramater Type"}},
        {L"SetCharMap ('a' 'b') ('c');", {"List Size Mismatch"}},
        {L"Define N 5; SetDefaultPointSize N;", {"Invalid Paramater Type"}},
        {L"SetDefaultPointSize +5;", {"Invalid Paramater Type"}},
        {L"CreateLayer m; LayerSetImageMap m ('a') ((0 0 1 1));", {"Layer image not set"}},
        {L"CreateLayer m; LayerSetDrawMode m 2;", {"Invalid Paramater Type"}},
        {L"CreateLayer m; LayerSetOffset m (1 2 3);", {"Invalid Paramater Type"}},
        {L"CreateLayer m; LayerSetCharWidths m (a) (1);", {"Unable to Dereference \"a\"", "Invalid Paramater Type"}},
        {L"CreateLayer m; LayerSetImage m \"none.png\";", {"Failed to Load Image"}},
    };
    for (const Case& c : cases) {
        auto data = Read(c.script);
        EXPECT_FALSE(mLoaded) << ToUtf8(c.script);
        EXPECT_EQ(c.messages, data->mMessages) << ToUtf8(c.script);
    }
}

TEST_F(FontDataTest, DefinesResolveOrStayUndefined)
{
    auto data = Read(L"Define L (W);");
    EXPECT_EQ(std::vector<std::string>{"Unable to Dereference \"W\""}, data->mMessages);
    EXPECT_EQ(nullptr, data->GetDefine(L"L"));

    // The old value is gone before the new one is resolved: nothing points at freed values.
    data = Read(L"Define A (1 2); Define A (A 3);");
    EXPECT_EQ(std::vector<std::string>{"Unable to Dereference \"A\""}, data->mMessages);
    EXPECT_EQ(nullptr, data->GetDefine(L"A"));

    data = Read(L"Define A (1 '2'); Define B (A (x A)); Define x 7; Define S A; Define Q 'q';");
    ASSERT_FALSE(mLoaded);  // "x" is not defined when B is read
    data = Read(L"Define A (1 '2'); Define x 7; Define B (A (x A)); Define S A; Define Q 'q';");
    ASSERT_TRUE(mLoaded);
    EXPECT_EQ(L"((1, 2), (7, (1, 2)))", FormatValue(*data->GetDefine(L"b")));
    EXPECT_EQ(L"(1, 2)", FormatValue(*data->GetDefine(L"S")));
    EXPECT_EQ(L"'q'", FormatValue(*data->GetDefine(L"Q")));
}

TEST_F(FontDataTest, HorizontalSpanRectangles)
{
    auto data = Read(L"CreateHorzSpanRectList R (10 20 0 30) (5 6 7);");
    ASSERT_TRUE(mLoaded);
    EXPECT_EQ(L"((10, 20, 5, 30), (15, 20, 6, 30), (21, 20, 7, 30))", FormatValue(*data->GetDefine(L"r")));

    // The running x stops at the end of the int range.
    data = Read(L"CreateHorzSpanRectList R (0 0 0 1) (2147483647 1 1);");
    ASSERT_TRUE(mLoaded);
    EXPECT_EQ(L"((0, 0, 2147483647, 1), (2147483647, 0, 1, 1), (2147483647, 0, 1, 1))",
              FormatValue(*data->GetDefine(L"r")));
}

TEST_F(FontDataTest, ImageMapBounds)
{
    const std::wstring head = L"CreateLayer m; LayerSetImage m 'atlas.png';\n";
    auto data = Read(head + L"LayerSetImageMap m ('a' 'b') ((0 0 64 1) (60 0 4 32));");
    ASSERT_TRUE(mLoaded);
    FontLayer* m = data->FindLayer(L"M");
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(64, m->GetChar('a')->mWidth);
    EXPECT_EQ(32, m->GetChar('b')->mHeight);
    EXPECT_EQ(32, m->mHeight);

    for (const wchar_t* rects : {L"((1 2 3 4) (1 0 64 1))", L"((1 2 3 4) (0 1 1 32))", L"((1 2 3 4) (-1 0 1 1))",
                                 L"((1 2 3 4) (2147483647 0 1 1))"}) {
        data = Read(head + L"LayerSetImageMap m ('a' 'b') " + rects + L";");
        EXPECT_FALSE(mLoaded) << ToUtf8(rects);
        EXPECT_EQ(std::vector<std::string>{"Image rectangle out of bounds"}, data->mMessages);
        // Entries before the bad one stay applied.
        EXPECT_EQ(3, data->FindLayer(L"m")->GetChar('a')->mWidth);
    }
}

TEST_F(FontDataTest, NumbersAndCharacterMap)
{
    auto data = Read(L"SetDefaultPointSize 0x1F; SetCharMap ('a' 'b') ('x' 'y');\n"
                     L"CreateLayer m; LayerPointRange m -3 0x10; LayerSetColorMult m (1 0.5 0 0.25);\n"
                     L"LayerRequireTags m ('bold' 'Italic'); LayerExcludeTags m ('small');");
    ASSERT_TRUE(mLoaded);
    EXPECT_EQ(31, data->GetDefaultPointSize());
    EXPECT_EQ('x', data->MapChar('a'));
    EXPECT_EQ('y', data->MapChar('b' + 256));
    EXPECT_EQ('c', data->MapChar('c'));
    FontLayer* m = data->FindLayer(L"m");
    EXPECT_EQ(-3, m->mPointMin);
    EXPECT_EQ(16, m->mPointMax);
    EXPECT_EQ(0x3FFF7F00u, m->mColorMult);
    EXPECT_EQ((std::vector<std::wstring>{L"BOLD", L"ITALIC"}), m->mRequiredTags);
    EXPECT_EQ(std::vector<std::wstring>{L"SMALL"}, m->mExcludedTags);
}

TEST_F(FontDataTest, ColourChannelsStopAtTheirRange)
{
    auto data = Read(L"CreateLayer m; LayerSetColorMult m (2 -1 1000000000000000000000000000000000000000 0);"
                     L"LayerSetColorAdd m (0 0.5 -7 3);");
    ASSERT_TRUE(mLoaded) << data->mMessages.size();
    FontLayer* m = data->FindLayer(L"m");
    EXPECT_EQ(0x00FF00FFu, m->mColorMult);
    EXPECT_EQ(0xFF007F00u, m->mColorAdd);
}

TEST_F(FontDataTest, PerCharacterCommandsSkipBadEntries)
{
    auto data = Read(L"CreateLayer m; LayerSetCharWidths m ('a' 'bc' 'd') (1 2 3);");
    EXPECT_FALSE(mLoaded);
    EXPECT_EQ(std::vector<std::string>{"Invalid Paramater Type"}, data->mMessages);
    FontLayer* m = data->FindLayer(L"m");
    EXPECT_EQ(1, m->GetChar('a')->mAdvance);
    EXPECT_EQ(3, m->GetChar('d')->mAdvance);
}

TEST_F(FontDataTest, KerningStopsAtAFirstCharacterWithoutData)
{
    auto data = Read(L"CreateLayer m; LayerSetCharWidths m ('a' '\u0416') (5 6);\n"
                     L"LayerSetKerningPairs m ('a\u0416' '\u0416a' 'aa' 'ab') (300 -3 7 1);\n"
                     L"LayerSetKerningPairs m ('\u0500a' 'ab') (1 4);");
    ASSERT_TRUE(mLoaded);
    FontLayer* m = data->FindLayer(L"m");
    EXPECT_EQ(44, m->GetChar('a')->Kerning(0x416));  // 300 wraps as a signed byte
    EXPECT_EQ(-3, m->GetChar(0x416)->Kerning('a'));
    EXPECT_EQ(7, m->GetChar('a')->Kerning('a'));
    EXPECT_EQ(1, m->GetChar('a')->Kerning('b'));  // the later list stopped before its second pair
    EXPECT_EQ(0, m->GetChar('a')->Kerning('a' + 0x300));
}

// A quoted list of the given characters, for a define.
std::wstring CharList(const std::vector<wchar_t>& chars)
{
    std::wstring list = L"(";
    for (wchar_t c : chars) list += std::wstring(L" '") + c + L"'";
    return list + L")";
}

std::wstring Repeated(const std::wstring& command, int times)
{
    std::wstring script;
    for (int i = 0; i < times; ++i) script += command;
    return script;
}

TEST_F(FontDataTest, WhatLayersAllocateCountsAgainstTheBudget)
{
    // One character in each of the 256 blocks, and 1000 characters of one block.
    std::vector<wchar_t> perBlock, many;
    for (int b = 0; b < 256; ++b) perBlock.push_back(static_cast<wchar_t>(b * 256 + 0x41));
    for (int i = 0; i < 1000; ++i) many.push_back(static_cast<wchar_t>(0x4E00 + i));
    const std::wstring widths = L"Define W (" + Repeated(L"1 ", 256) + L");\n";
    // Pairs of 64 first characters of one block with seconds in every block.
    std::wstring pairs = L"Define P (", kerns = L"Define K (";
    for (int f = 0; f < 64; ++f)
        for (int b = 0; b < 256; ++b) {
            pairs += std::wstring(L" '") + wchar_t(0x4E00 + f) + wchar_t(b * 256 + 0x41) + L"'";
            kerns += L" 1";
        }
    pairs += L");\n";
    kerns += L");\n";
    std::wstring layers, copies, kerning;
    for (int i = 0; i < 40; ++i)
        layers += L"CreateLayer L" + std::to_wstring(i) + L"; LayerSetCharWidths L" + std::to_wstring(i) + L" C W;\n";
    for (int i = 0; i < 2000; ++i) copies += L"CreateLayerFrom L" + std::to_wstring(i) + L" m;\n";
    for (int i = 0; i < 4; ++i) {
        const std::wstring l = L"L" + std::to_wstring(i);
        kerning += L"CreateLayer " + l + L"; LayerSetCharWidths " + l + L" F (" + Repeated(L"1 ", 64) +
                   L"); LayerSetKerningPairs " + l + L" P K;\n";
    }
    const std::wstring cases[] = {
        // 40 layers with a character in every block: 140 MB of character tables.
        L"Define C " + CharList(perBlock) + L";\n" + widths + layers,
        // Copies of a layer that requires 1000 tags.
        L"Define T " + CharList(many) + L";\nCreateLayer m; LayerRequireTags m T;\n" + copies,
        // A large define read again and again keeps nothing, but copies it every time.
        L"Define C " + CharList(many) + L";\n" + Repeated(L"SetCharMap C C;\n", 2000),
        // Kerning rows against every block.
        L"Define F " + CharList(std::vector<wchar_t>(many.begin(), many.begin() + 64)) + L";\n" + pairs + kerns +
            kerning,
    };
    for (const std::wstring& script : cases) {
        auto data = Read(script);
        EXPECT_FALSE(mLoaded) << ToUtf8(script.substr(0, 40));
        ASSERT_FALSE(data->mMessages.empty());
        EXPECT_EQ("Descriptor too large", data->mMessages[0]);
    }
}

TEST_F(FontDataTest, LongTextCopiedOverAndOverCostsItsLength)
{
    // One 40,000-character token copied a thousand times would keep 160 MB of text; each copy
    // is only a value or two, so only its length can stop it.
    const std::wstring head = L"Define T '" + std::wstring(40000, L'x') + L"';\nCreateLayer m;\n";
    std::wstring defines, listed = L"Define L (", tags, named = L"Define N (T);\n",
                                                   copies = L"LayerRequireTags m (T);\n";
    for (int i = 0; i < 1000; ++i) {
        defines += L"Define D" + std::to_wstring(i) + L" T;\n";
        listed += L" T";
        tags += L"LayerRequireTags m (T);\n";
        named += L"LayerExcludeTags m N;\n";
        copies += L"CreateLayerFrom c" + std::to_wstring(i) + L" m;\n";
    }
    const struct {
        const char* through;
        std::wstring script;
    } cases[] = {
        {"single defines", defines},
        {"one list define", listed + L");\n"},
        {"required tags", tags},
        {"excluded tags from a named list", named},
        {"layer copies", copies},
    };
    // Every kept character was paid for: the whole budget buys no more than this.
    const size_t budgetCharacters = DescParserW::kMaxValues * DescParserW::kCharsPerValue;
    for (const auto& c : cases) {
        auto data = Read(head + c.script);
        EXPECT_FALSE(mLoaded) << c.through;
        EXPECT_EQ("Descriptor too large", data->mMessages.empty() ? "" : data->mMessages[0]) << c.through;
        EXPECT_LE(data->HeldCharacters(), budgetCharacters) << c.through;
    }
}

TEST_F(FontDataTest, LayerCopyTakesSettingsButNoCharacters)
{
    auto data = Read(L"CreateLayer m; LayerSetImage m 'atlas.png'; LayerSetAscent m 9; LayerSetSpacing m 2;\n"
                     L"LayerSetCharWidths m ('a') (5); CreateLayerFrom s m; CreateLayerFrom t nothing;");
    EXPECT_FALSE(mLoaded);
    EXPECT_EQ((std::vector<std::string>{"Undefined Layer", "Invalid Paramater Type"}), data->mMessages);
    FontLayer* s = data->FindLayer(L"S");
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(9, s->mAscent);
    EXPECT_EQ(2, s->mSpacing);
    EXPECT_EQ(data->FindLayer(L"m")->mImage.Get(), s->mImage.Get());
    EXPECT_FALSE(s->HasBlock(0));
}

}  // namespace
