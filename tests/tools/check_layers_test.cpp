// The floor check run as `make test` runs it, on the repository and on small made-up trees.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

namespace {

const std::string kRepository = std::string(BRISALO_ASSETS).substr(0, std::string(BRISALO_ASSETS).rfind('/'));

// The script's output and exit code with these arguments.
int RunCheck(const std::string& arguments, std::string* output)
{
    std::string command = "/usr/bin/python3 '" + kRepository + "/tools/check_layers.py' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[512];
    output->clear();
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output->append(buffer, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteSource(const TTempDir& root, const std::string& path, const std::string& text)
{
    std::string folder = (root / path).substr(0, (root / path).rfind('/'));
    ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
    ASSERT_TRUE(WriteWholeFile(root / path, text));
}

// Runs the check on the made-up tree and compares its exit code and everything it printed.
void ExpectCheck(const TTempDir& root, int exitCode, const std::string& expected)
{
    std::string output;
    EXPECT_EQ(RunCheck("'" + root.Path() + "'", &output), exitCode);
    EXPECT_EQ(output, expected);
}

}  // namespace

TEST(CheckLayers, RepositoryKeepsItsFloors)
{
    std::string output;
    EXPECT_EQ(RunCheck("'" + kRepository + "'", &output), 0) << output;
    EXPECT_EQ(output, "");
}

TEST(CheckLayers, IncludesUpwardAreNamedWithFileAndLine)
{
    TTempDir root;
    WriteSource(root, "src/core/clock.cpp", "#include \"core/clock.h\"\n\n#include \"ui/window_manager.h\"\n");
    WriteSource(root, "src/sound/mixer.h", "#include \"graphics/tweens.h\"\n#include \"core/logger.h\"\n");
    WriteSource(root, "src/graphics/fade.h", "// a comment\n  #  include \"sound/mixer.h\"\n");
    WriteSource(root, "src/game/board.cpp", "#include \"objects/thing.h\"\n#include \"rooms/room.h\"\n#include \"app/app.h\"\n");
    WriteSource(root, "src/app/app.cpp", "#include \"game/board.h\"\n#include \"core/clock.h\"\n");
    WriteSource(root, "src/main.cpp", "#include \"app/app.h\"\n");
    WriteSource(root, "bench/board_bench.cpp", "#include \"app/app.h\"\n#include <SDL.h>\n#include \"bench_support.h\"\n");

    ExpectCheck(root, 1,
                "src/core/clock.cpp:3: core may not include ui/window_manager.h\n"
                "src/game/board.cpp:3: game may not include app/app.h\n"
                "src/graphics/fade.h:2: graphics may not include sound/mixer.h\n");
}

// Upward includes written in every form the compiler accepts, and the forms that stay legal.
TEST(CheckLayers, IncludesAreJudgedByThePathTheyReach)
{
    struct TCase {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;  // path, text
        int exitCode;
        std::string output;
    };
    const std::string windowManager = "src/ui/window_manager.h";
    const std::vector<TCase> cases = {
        {"relative path upward", {{windowManager, ""}, {"src/core/clock.cpp", "#include \"../ui/window_manager.h\"\n"}},
         1, "src/core/clock.cpp:1: core may not include ui/window_manager.h\n"},
        {"relative path to a header that is missing", {{"src/core/clock.cpp", "#include \"./../ui/window_manager.h\"\n"}},
         1, "src/core/clock.cpp:1: core may not include ui/window_manager.h\n"},
        {"angle brackets upward", {{windowManager, ""}, {"src/core/clock.cpp", "#include <ui/window_manager.h>\n"}},
         1, "src/core/clock.cpp:1: core may not include ui/window_manager.h\n"},
        {"angle brackets to a header that is missing", {{"src/core/clock.cpp", "#include <ui/window_manager.h>\n"}},
         1, "src/core/clock.cpp:1: core may not include ui/window_manager.h\n"},
        {"folder the table does not name", {{"src/game/board.h", ""}, {"src/extra/helper.cpp", "#include \"game/board.h\"\n"}},
         1, "src/extra: folder not in the floor table; give it a floor in tools/check_layers.py "
            "and a line in the README's Layout\n"},
        {"lower floor reaching an unnamed folder", {{"src/extra/helper.h", ""}, {"src/ui/button.cpp", "#include \"extra/helper.h\"\n"}},
         1, "src/extra: folder not in the floor table; give it a floor in tools/check_layers.py "
            "and a line in the README's Layout\nsrc/ui/button.cpp:1: ui may not include extra/helper.h\n"},
        {".hh header", {{"src/graphics/tween.hh", "#include \"sound/mixer.h\"\n"}},
         1, "src/graphics/tween.hh:1: graphics may not include sound/mixer.h\n"},
        {".inl file", {{"src/sound/mixer.inl", "  # include <game/board.h> // for the board\n"}},
         1, "src/sound/mixer.inl:1: sound may not include game/board.h\n"},
        {"directive behind a comment, continued on the next line or spelled with the digraph",
         {{windowManager, ""},
          {"src/core/clock.cpp", "/* clock */ #include \"ui/window_manager.h\"\n#include \\\n  <ui/window_manager.h>\n"
                                 "%:include \"../ui/window_manager.h\"\n"}},
         1, "src/core/clock.cpp:1: core may not include ui/window_manager.h\n"
            "src/core/clock.cpp:2: core may not include ui/window_manager.h\n"
            "src/core/clock.cpp:4: core may not include ui/window_manager.h\n"},
        {"header reached through a macro", {{"src/core/clock.cpp", "#include CLOCK_HEADER\n"}},
         1, "src/core/clock.cpp:1: core includes CLOCK_HEADER, which the check cannot follow\n"},
        {"production code reaching a test header", {{"tests/test_support.h", ""}, {"src/core/clock.cpp", "#include \"../../tests/test_support.h\"\n"}},
         1, "src/core/clock.cpp:1: core may not include tests/test_support.h\n"},
        {"own folder and lower floors in every form",
         {{"src/core/logger.h", ""}, {"src/core/detail/clock.inl", "#include \"../logger.h\"\n"},
          {"src/graphics/texture.h", "#include \"../core/logger.h\"\n#include <core/logger.h>\n#include \"texture.h\"\n"},
          {"src/ui/ui/window_manager.h", ""}, {"src/ui/button.h", "#include \"ui/window_manager.h\"\n#include <SDL.h>\n#include \"tinyxml.h\"\n"},
          {"src/app/app.h", ""}, {"src/main.cpp", "#include \"app/app.h\"\n"},
          {"bench/bench_support.h", ""}, {"bench/board_bench.cpp", "#include \"bench_support.h\"\n#include \"../src/app/app.h\"\n"}},
         0, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir root;
        for (const auto& [path, text] : c.files) WriteSource(root, path, text);
        ExpectCheck(root, c.exitCode, c.output);
    }
}

// Forms in which GCC reaches an upward header that a line-by-line reading misses or cannot
// follow. Link targets starting with "{outside}" point into a folder beside the repository.
TEST(CheckLayers, IncludesAreReadAsTheCompilerReadsThem)
{
    struct TCase {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;  // path, text
        std::vector<std::pair<std::string, std::string>> links;  // path, target
        std::string output;
    };
    const std::pair<std::string, std::string> windowManager{"src/ui/window_manager.h", ""};
    const std::string upward = "core may not include ui/window_manager.h\n";
    const std::vector<TCase> cases = {
        {"byte-order mark before the directive",
         {windowManager, {"src/core/clock.cpp", "\xEF\xBB\xBF#include \"ui/window_manager.h\"\n"}},
         {},
         "src/core/clock.cpp:1: " + upward},
        {"block comment closing on the directive's line",
         {windowManager, {"src/core/clock.cpp", "/* the clock draws\n   its own face */ #include \"ui/window_manager.h\"\n"}},
         {},
         "src/core/clock.cpp:2: " + upward},
        {"block comment spanning lines inside the directive",
         {windowManager,
          {"src/core/clock.cpp", "#include /* the\n   window manager */ \"ui/window_manager.h\"\n"
                                 "# /* between the sign\n   and the name */ include <ui/window_manager.h>\n"}},
         {},
         "src/core/clock.cpp:1: " + upward + "src/core/clock.cpp:3: " + upward},
        {"backslash followed by blanks at a line's end",
         {windowManager, {"src/core/clock.cpp", "# \\ \ninclude \"ui/window_manager.h\"\n#include \\\t\n  <ui/window_manager.h>\n"}},
         {},
         "src/core/clock.cpp:1: " + upward + "src/core/clock.cpp:3: " + upward},
        {"#import", {windowManager, {"src/core/clock.cpp", "#import \"ui/window_manager.h\"\n"}}, {},
         "src/core/clock.cpp:1: " + upward},
        {"#include_next", {windowManager, {"src/core/clock.cpp", "  #  include_next <ui/window_manager.h>\n"}}, {},
         "src/core/clock.cpp:1: " + upward},
        // core/widgets/.. is ui/, not core/: the file system follows the link before the "..".
        {"symbolic link followed by ..",
         {windowManager, {"src/ui/widgets/button.h", ""}, {"src/core/window_manager.h", ""},
          {"src/core/clock.cpp", "#include \"widgets/../window_manager.h\"\n#include <core/widgets/../window_manager.h>\n"}},
         {{"src/core/widgets", "../ui/widgets"}},
         "src/core/clock.cpp:1: " + upward + "src/core/clock.cpp:2: " + upward},
        {"symbolic links leading outside the repository",
         {{"src/core/clock.cpp", "#include \"peer/window_manager.h\"\n#include \"core/theirs.h\"\n"}},
         {{"src/core/peer", "{outside}/ui"}, {"src/core/theirs.h", "{outside}/ui/window_manager.h"}},
         "src/core/clock.cpp:1: core includes peer/window_manager.h, which leads outside the repository\n"
         "src/core/clock.cpp:2: core includes core/theirs.h, which leads outside the repository\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir root, outside;
        WriteSource(outside, "ui/window_manager.h", "");
        for (const auto& [path, text] : c.files) WriteSource(root, path, text);
        for (const auto& [path, target] : c.links) {
            std::string to = target.rfind("{outside}", 0) == 0 ? outside.Path() + target.substr(9) : target;
            ASSERT_EQ(symlink(to.c_str(), (root / path).c_str()), 0) << path;
        }
        ExpectCheck(root, 1, c.output);
    }
}

// What only looks like a comment or a directive is read as the compiler reads it.
TEST(CheckLayers, LiteralsAndCommentsHideOnlyWhatTheyEnclose)
{
    TTempDir root;
    WriteSource(root, "src/ui/window_manager.h", "");
    WriteSource(root, "src/core/logger.h", "");
    WriteSource(root, "src/core/clock.cpp",
                "const char* kPattern = \"/*\";\n"
                "#include \"ui/window_manager.h\"\n"
                "// a line comment /* opens nothing\n"
                "#include <ui/window_manager.h>\n"
                "int n = 1'000; char quote = '\"'; auto raw = R\"x(/* )\" )x\";\n"
                "#include \"../ui/window_manager.h\"\n"
                "/* #include \"ui/window_manager.h\"\n"
                "   #include \"ui/window_manager.h\" */\n"
                "#include \"ui/window_manager.h\" // \\\n"
                "#include \"ui/window_manager.h\"\n");
    // A link that stays inside the repository and on a lower floor is followed and allowed.
    ASSERT_EQ(symlink("../core", (root / "src/ui/lower").c_str()), 0);
    WriteSource(root, "src/ui/button.cpp", "#include \"lower/logger.h\"\n");

    ExpectCheck(root, 1,
                "src/core/clock.cpp:2: core may not include ui/window_manager.h\n"
                "src/core/clock.cpp:4: core may not include ui/window_manager.h\n"
                "src/core/clock.cpp:6: core may not include ui/window_manager.h\n"
                "src/core/clock.cpp:9: core may not include ui/window_manager.h\n");
}

TEST(CheckLayers, ReadmeListsTheFloorsOfTheTable)
{
    std::string layout;
    EXPECT_EQ(RunCheck("--layout", &layout), 0);
    ASSERT_NE(layout.find("- core: "), std::string::npos) << layout;
    std::string readme = ReadWholeFile(kRepository + "/README.md");
    EXPECT_NE(readme.find("## Layout\n"), std::string::npos);
    EXPECT_NE(readme.find("\n" + layout + "\n"), std::string::npos) << layout;
}
