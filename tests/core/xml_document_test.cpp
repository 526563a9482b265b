#include "core/xml_document.h"

#include <gtest/gtest.h>

#include <string>

#include <tinyxml.h>

#include "test_support.h"

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Everything a loader can see of a parse: the error with its place, or the whole document.
std::string Describe(const TiXmlDocument& doc)
{
    if (doc.Error())
        return "error " + std::to_string(doc.ErrorId()) + " (" + doc.ErrorDesc() + ") at " +
               std::to_string(doc.ErrorRow()) + ":" + std::to_string(doc.ErrorCol());
    TiXmlPrinter printer;
    doc.Accept(&printer);
    return printer.Str();
}

// How the text alone parses: a copy of its own with plenty of zeros after it.
std::string DescribeFreshParse(const std::string& text)
{
    const std::string padded = text + std::string(16, '\0');
    TiXmlDocument doc;
    doc.Parse(padded.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    return Describe(doc);
}

}  // namespace

TEST(XmlParseText, ConvertedTextThenOnlyZerosAtLeastFourOfThem)
{
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", ""},
        {"<a b='1'/>", "<a b='1'/>"},
        {"<a>\r\n<b/>\r\n</a>\r\n", "<a>\n<b/>\n</a>\n"},
        {"<a>\r<b/>\r</a>\r", "<a>\n<b/>\n</a>\n"},
        {"\r\r\n\n\n\r", "\n\n\n\n\n"},
        {"<a b='x\xC8", "<a b='x\xC8"},
        {"<a b='x\xE2", "<a b='x\xE2"},
        {"<a b='x\xF0", "<a b='x\xF0"},
        {"<a\r\n\r\n b='\r\nx\xC8", "<a\n\n b='\nx\xC8"},
        {"<a\r\n\r\n b='\r\nx\xE2", "<a\n\n b='\nx\xE2"},
        {"<a\r\n\r\n\r\n\r\n\r\n\r\n b='x\xF0", "<a\n\n\n\n\n\n b='x\xF0"},
        {"\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\xF0\x9F", "\n\n\n\n\n\n\n\n\xF0\x9F"},
    };
    for (const auto& c : cases) {
        const std::string buffer = MakeXmlParseText(c.bytes);
        SCOPED_TRACE(ToHex(c.bytes));
        ASSERT_GE(buffer.size(), c.text.size() + 4);
        EXPECT_EQ(ToHex(buffer.substr(0, c.text.size())), ToHex(c.text));
        EXPECT_EQ(ToHex(buffer.substr(c.text.size())), ToHex(std::string(buffer.size() - c.text.size(), '\0')));
    }
}

TEST(XmlDocumentFile, EmptyMissingAndCrLfFiles)
{
    TUserFolderScope scope;
    WriteWholeFile(scope.UserFolder() + "/empty.xml", "");
    TiXmlDocument empty;
    EXPECT_FALSE(ReadXmlDocumentFile(&empty, "user:empty.xml"));
    EXPECT_STREQ(empty.ErrorDesc(), "Error document empty.");

    TiXmlDocument missing;
    EXPECT_FALSE(ReadXmlDocumentFile(&missing, "user:missing.xml"));
    EXPECT_STREQ(missing.ErrorDesc(), "Failed to open file");
    EXPECT_EQ(missing.ErrorRow(), 0);

    // The same broken document with LF, CR LF and lone CR line ends reports one line.
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        std::string text = std::string("<a>") + eol + "<b>" + eol + "</a>" + eol;
        WriteWholeFile(scope.UserFolder() + "/broken.xml", text);
        TiXmlDocument doc;
        EXPECT_FALSE(ReadXmlDocumentFile(&doc, "user:broken.xml"));
        EXPECT_EQ(doc.ErrorRow(), 3) << "line ends " << (eol[0] == '\n' ? "LF" : eol[1] ? "CRLF" : "CR");
    }
}

TEST(XmlDocumentFile, LoadXmlFileLogsAndLeavesSlotEmpty)
{
    TUserFolderScope scope;
    TiXmlDocument* slot = reinterpret_cast<TiXmlDocument*>(1);
    EXPECT_EQ(LoadXmlFile("user:none.xml", &slot), nullptr);
    EXPECT_EQ(slot, nullptr);

    WriteWholeFile(scope.UserFolder() + "/ok.xml", "<root><x/></root>");
    TiXmlElement* root = LoadXmlDocument("user:ok.xml");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->Value(), "root");
    DeleteCurrentXmlDocument();
    EXPECT_EQ(CurrentXmlDocument(), nullptr);
}

// TinyXML steps over a whole UTF-8 character from its first byte, zero or not. Each file
// below ends inside an attribute value on such a first byte, after as many CR LF pairs as
// put the stepping parser at the start of "zz=' />x": the copy of the file's own last bytes
// that compacting the line ends leaves behind the text. Read as text, that tail would close
// the value and the element, and the file would load with "zz=" in the value.
TEST(XmlDocumentFile, CharacterCutAtTheEndNeverReadsTheOldTail)
{
    TUserFolderScope scope;
    const struct {
        const char* lead;
        int length;  // the character length TinyXML takes from that first byte
    } cases[] = {{"\xC8", 2}, {"\xE2", 3}, {"\xF0", 4}};
    for (const auto& c : cases) {
        const std::string tail = std::string("zz=' />x") + c.lead;
        const std::string text =
            "<?xml version=\"1.0\"?>" + std::string(tail.size() + c.length - 1, '\n') + "<a czz=' />x" + c.lead;
        WriteWholeFile(scope.UserFolder() + "/cut.xml", ReplaceAll(text, "\n", "\r\n"));
        TiXmlDocument doc;
        ReadXmlDocumentFile(&doc, "user:cut.xml");
        EXPECT_EQ(Describe(doc), DescribeFreshParse(text)) << "first byte " << ToHex(c.lead);
    }

    // The input that first showed the fault: its reads past the end depend on the memory there.
    const std::string seed = UserCopyOfTestData("../fuzz/seeds/xml/cut_character.bin");
    const std::string bytes = ReadWholeFile(scope.UserFolder() + "/cut_character.bin");
    ASSERT_EQ(bytes.size(), 356u);
    TiXmlDocument doc;
    ReadXmlDocumentFile(&doc, seed);
    EXPECT_EQ(Describe(doc), DescribeFreshParse(ReplaceAll(bytes, "\r\n", "\n")));
}
