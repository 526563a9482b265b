// The floor check run as `make test` runs it, on the repository and on small made-up trees.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

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

    std::string output;
    EXPECT_EQ(RunCheck("'" + root.Path() + "'", &output), 1);
    EXPECT_EQ(output,
              "src/core/clock.cpp:3: core may not include ui/window_manager.h\n"
              "src/game/board.cpp:3: game may not include app/app.h\n"
              "src/graphics/fade.h:2: graphics may not include sound/mixer.h\n");
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
