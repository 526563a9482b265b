#include "graphics/desc_parser.h"

#include <ctime>

#include "font_fixture.h"
#include "log_watch.h"

namespace {

std::vector<std::wstring> ItemTexts(const DataElement* value)
{
    std::vector<std::wstring> out;
    if (!value || !value->IsList()) return out;
    for (const auto& item : static_cast<const ListDataElement*>(value)->mItems)
        out.push_back(item->IsList() ? L"<list>" : static_cast<const SingleDataElementW&>(*item).mText);
    return out;
}

class DescParserTest : public FontTest {};

TEST_F(DescParserTest, ParserMessagesEndTheLoad)
{
    struct Case {
        const wchar_t* script;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {L"Define X (1 2", {"Unterminated List"}},
        {L"Define X 1)", {"Unexpected List End"}},
        {L"Define X a(1)", {"Unexpected List Start"}},
        {L"Define X 'a", {"Unterminated Single Quotes"}},
        {L"Define X \"a", {"Unterminated Double Quotes"}},
        {L"(1) 2", {"Missing Command"}},
        {L"Frob 1", {"Unknown Command"}},
        {L"CreateLayer", {"Invalid Number of Parameters"}},
        {L"LayerSetAscent none 3", {"Undefined Layer", "Invalid Paramater Type"}},
    };
    for (const Case& c : cases) {
        auto data = Read(c.script);
        EXPECT_FALSE(mLoaded) << ToUtf8(c.script);
        EXPECT_EQ(c.messages, data->mMessages) << ToUtf8(c.script);
    }
}

TEST_F(DescParserTest, CommentsBlanksAndQuotedSemicolonsSplitIntoCommands)
{
    auto data = Read(L"# only a comment\n\n   \t\n"
                     L"Define X ('a;'\n"
                     L"# a comment line inside the command\n"
                     L"    'b' 'c');   # after the command\n"
                     L"SetDefaultPointSize 7;");
    EXPECT_TRUE(mLoaded);
    EXPECT_EQ((std::vector<std::wstring>{L"a;", L"b", L"c"}), ItemTexts(data->GetDefine(L"x")));
    EXPECT_EQ(7, data->GetDefaultPointSize());

    Read(L"# nothing but comments\n  # and blanks\n\n");
    EXPECT_TRUE(mLoaded);
}

TEST_F(DescParserTest, QuotedItemsReadAsTheirCharacters)
{
    auto data = Read(L"Define I (\"'\" '\"' '\\\\' ';' '#' ',' '(' ' ' 5 \"'\\\"\" '');");
    ASSERT_TRUE(mLoaded) << data->mMessages.size();
    EXPECT_EQ((std::vector<std::wstring>{L"'", L"\"", L"\\", L";", L"#", L",", L"(", L" ", L"5", L"'\"", L"'"}),
              ItemTexts(data->GetDefine(L"I")));
}

TEST_F(DescParserTest, FileCodings)
{
    const std::wstring script = L"SetDefaultPointSize 12;\nDefine C ('\u00E9' '\u0416');";
    for (TScriptCoding coding : {TScriptCoding::Utf16Le, TScriptCoding::Utf16Be}) {
        auto data = Read(script, coding);
        EXPECT_TRUE(mLoaded);
        EXPECT_EQ(12, data->GetDefaultPointSize());
        EXPECT_EQ((std::vector<std::wstring>{L"\u00E9", L"\u0416"}), ItemTexts(data->GetDefine(L"C")));
    }
    // Without a byte-order mark every byte is a character, the zero bytes too.
    Read(script, TScriptCoding::Utf16LeNoBom);
    EXPECT_FALSE(mLoaded);

    // Bytes are unsigned: E9 and FF are characters 233 and 255, not the end of a command.
    auto data = Read(L"Define C ('\xE9' '\xFF');\nSetDefaultPointSize 3;", TScriptCoding::Bytes);
    EXPECT_TRUE(mLoaded);
    EXPECT_EQ((std::vector<std::wstring>{L"\xE9", L"\xFF"}), ItemTexts(data->GetDefine(L"C")));
    EXPECT_EQ(3, data->GetDefaultPointSize());
}

TEST_F(DescParserTest, FailedCommandStopsTheScript)
{
    auto data = Read(L"SetDefaultPointSize 5;\nFrob;\nSetDefaultPointSize 9;");
    EXPECT_FALSE(mLoaded);
    EXPECT_EQ(5, data->GetDefaultPointSize());
}

TEST_F(DescParserTest, MissingFileIsLogged)
{
    TLogWatch log;
    TRecordingFontData data;
    EXPECT_FALSE(data.Load("fonts/none.txt"));
    EXPECT_TRUE(log.Has("error load font file fonts/none.txt"));
}

TEST_F(DescParserTest, FailedDescriptorSaysWhereAndWhy)
{
    WriteScript("t.txt", L"SetDefaultPointSize 5;\n# comment\nFrob 1;\n");
    TLogWatch log;
    FontData data;
    EXPECT_FALSE(data.Load("fonts/t.txt"));
    EXPECT_TRUE(log.Has("font descriptor fonts/t.txt line 3: Unknown Command")) << log.Text();
    EXPECT_FALSE(data.IsLoaded());
    // A second load of the same descriptor does nothing.
    EXPECT_FALSE(data.Load("fonts/t.txt"));
}

TEST_F(DescParserTest, CraftedScriptsEndFast)
{
    // Processor time, not wall time: the suite runs many tests at once on a busy machine.
    const std::clock_t start = std::clock();
    // Brackets nested far beyond any real descriptor.
    auto data = Read(L"Define X " + std::wstring(100000, L'(') + L"1");
    EXPECT_FALSE(mLoaded);
    EXPECT_EQ(std::vector<std::string>{"Unexpected List Start"}, data->mMessages);

    // Every line doubles the define before it.
    std::wstring doubling = L"Define D0 (1 1);\n";
    for (int i = 1; i < 25; ++i)
        doubling += L"Define D" + std::to_wstring(i) + L" (D" + std::to_wstring(i - 1) + L" D" +
                    std::to_wstring(i - 1) + L");\n";
    data = Read(doubling);
    EXPECT_FALSE(mLoaded);
    EXPECT_EQ(std::vector<std::string>{"Descriptor too large"}, data->mMessages);
    ImageFont empty(data.release());
    EXPECT_EQ(0, empty.WStringWidth(L"abc"));
    EXPECT_EQ(0, empty.GetHeight());

    // A chain one level deeper per line: bounded by the count of values, not the stack.
    std::wstring chain = L"Define C0 (1);\n";
    for (int i = 1; i < 3000; ++i) chain += L"Define C" + std::to_wstring(i) + L" (C" + std::to_wstring(i - 1) + L");\n";
    data = Read(chain);
    EXPECT_FALSE(mLoaded);
    EXPECT_EQ(std::vector<std::string>{"Descriptor too large"}, data->mMessages);
    EXPECT_LT(double(std::clock() - start) / CLOCKS_PER_SEC, 20.0);
}

TEST_F(DescParserTest, BackslashEndingTheTextStartsNoToken)
{
    // In the script "Define X (\;)" the splitter passes "Define X (\" on: nothing to escape.
    auto data = Read(L"Define X (\\;)");
    EXPECT_FALSE(mLoaded);
    EXPECT_EQ(std::vector<std::string>{"Unterminated List"}, data->mMessages);
}

TEST(DescParserValues, UnquoteAndFormat)
{
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {{L"abc", L"abc"}, {L"'a'", L"a"}, {L"''", L"'"}, {L"''''", L"'''"}, {L"\"a\"\"b\"", L"a\"b"},
                          {L"'a\"'", L"a\""}, {L"5", L"5"}};
    for (const Case& c : cases) EXPECT_EQ(std::wstring(c.out), Unquote(c.in)) << ToUtf8(c.in);

    ListDataElement list;
    list.mItems.push_back(std::make_unique<SingleDataElementW>(L"'a'"));
    auto inner = std::make_unique<ListDataElement>();
    inner->mItems.push_back(std::make_unique<SingleDataElementW>(L"1"));
    list.mItems.push_back(std::move(inner));
    std::unique_ptr<DataElement> copy = list.Clone();
    list.mItems.clear();
    EXPECT_EQ(L"('a', (1))", FormatValue(*copy));
    EXPECT_EQ(4u, CountValues(*copy));
}

}  // namespace
