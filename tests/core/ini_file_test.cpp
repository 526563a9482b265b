#include <gtest/gtest.h>

#include <string>

#include "core/ini_file.h"
#include "test_support.h"

namespace {

IniFile_t Parsed(const std::string& bytes)
{
    IniFile_t ini;
    ini.Parse(bytes.data(), bytes.size(), true);
    return ini;
}

bool HasKey(IniFile_t& ini, const std::string& section, const std::string& key)
{
    IniSectionIterator it = ini.FindSection(section);
    if (it.Equals(ini.SectionsEnd())) return false;
    return it.Section().Find(key) != it.Section().End();
}

std::string Value(IniFile_t& ini, const std::string& section, const std::string& key)
{
    std::string out;
    ini.GetSection(section).GetString(key, "<missing>", out);
    return out;
}

}  // namespace

TEST(IniFile, ValuesKeepTheirSpacesAndKeysAreTrimmed)
{
    IniFile_t ini = Parsed("[a]\r\nk = 5\r\n\tt =1\r\n");
    EXPECT_EQ(Value(ini, "a", "k"), " 5");
    EXPECT_EQ(ini.GetSection("a").GetInt("k", -1), 5);
    EXPECT_FLOAT_EQ(ini.GetSection("a").GetFloat("k", -1), 5.0f);
    EXPECT_EQ(Value(ini, "a", "\tt"), "1");  // a tab is not trimmed
    EXPECT_EQ(ini.GetSection("a").GetInt("missing", -1), -1);
}

TEST(IniFile, LinesEndOnlyAtCrLf)
{
    const struct {
        const char* what;
        std::string bytes;
        const char* section;
        const char* key;
        const char* value;  // null: the key must not exist
    } cases[] = {
        {"lone LF", "[a]\nk=1\r\n", "a", "k", nullptr},
        {"key without '='", "[a]\r\nx\r\n", "a", "x", ""},
        {"section without ']'", "[b\r\n", "b", "x", nullptr},
        {"before any section", "k=1\r\n[a]\r\n", "a", "k", nullptr},
        {"value starting with ';'", "[a]\r\nk=;v\r\nk2=[w", "a", "k", ";v"},
        {"last line without CR LF", "[a]\r\nk=;v\r\nk2=[w", "a", "k2", "[w"},
        {"NUL ends the text", std::string("[a]\r\nk=1\0\r\nj=2\r\n", 15), "a", "k", "1"},
        {"after NUL nothing", std::string("[a]\r\nk=1\0\r\nj=2\r\n", 15), "a", "j", nullptr},
        {"' [a]' is a key line", "[a]\r\n [b]\r\n", "a", "[b]", ""},
        {"comment lines are not keys", "[a]\r\n;k=1\r\n", "a", ";k", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IniFile_t ini = Parsed(c.bytes);
        ASSERT_FALSE(ini.FindSection(c.section).Equals(ini.SectionsEnd()));
        if (c.value) {
            EXPECT_EQ(Value(ini, c.section, c.key), c.value);
        } else {
            EXPECT_FALSE(HasKey(ini, c.section, c.key));
        }
    }
    IniFile_t loneLf = Parsed("[a]\nk=1\r\n");
    EXPECT_EQ(loneLf.AllSections().size(), 1u);
    IniFile_t beforeSection = Parsed("k=1\r\n[a]\r\n");
    EXPECT_FALSE(HasKey(beforeSection, "", "k"));
    EXPECT_EQ(beforeSection.AllSections().size(), 1u);
}

TEST(IniFile, LoadReadsTheFileAndAMissingFileChangesNothing)
{
    IniFile_t ini;
    ini.GetSection("old").Set("k", "v");
    EXPECT_FALSE(ini.Load("no/such/file.ini", true));
    EXPECT_TRUE(HasKey(ini, "old", "k"));

    ASSERT_TRUE(ini.Load(UserCopyOfTestData("core/sections.ini"), false));
    EXPECT_TRUE(HasKey(ini, "old", "k"));
    EXPECT_EQ(ini.GetSection("first").GetInt("count", 0), 12);
    EXPECT_FLOAT_EQ(ini.GetSection("first").GetFloat("speed", 0), 2.5f);
    EXPECT_EQ(Value(ini, "second", "name"), "spark");

    ASSERT_TRUE(ini.Load(UserCopyOfTestData("core/sections.ini"), true));
    EXPECT_FALSE(HasKey(ini, "old", "k"));
    EXPECT_EQ(ini.AllSections().size(), 2u);
}
