// Whole-program runs: the built game started headless as a new player would, in a
// temporary folder beside a copy of the assets, ended with SIGTERM.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/capability.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "audio_cases.h"
#include "test_support.h"

namespace {

struct TRun {
    int exitCode = -1;
    std::string log;
};

bool Copy(const std::string& from, const std::string& to)
{
    std::string cmd = "cp -rL '" + from + "' '" + to + "'";
    return system(cmd.c_str()) == 0;
}

// Starts the game, waits until its log holds `until` (or a timeout), then sends SIGTERM.
TRun RunGameProcess(const TTempDir& root, const std::string& dataHome, const std::string& until)
{
    TRun run;
    std::string exe = root / "brisalo5";
    std::string logPath = dataHome + "/Korvel Games/Brisalo5/log.txt";
    pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        if (chdir("/") != 0) _exit(126);  // the game must find its assets from anywhere
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 600; ++i) {  // up to 60 s: sanitizer builds start slowly
        if (ReadWholeFile(logPath).find(until) != std::string::npos) break;
        usleep(100 * 1000);
    }
    usleep(300 * 1000);  // a few frames
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    run.log = ReadWholeFile(logPath);
    return run;
}

// Each expected line appears, in this order.
void ExpectLinesInOrder(const std::string& log, const std::vector<std::string>& lines)
{
    size_t pos = 0;
    for (const std::string& line : lines) {
        size_t found = log.find(line + "\n", pos);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\nlog:\n" << log;
        pos = found + line.size();
    }
}

const std::vector<std::string> kStartLines = {
    "int start",         "load ui/interface.xml complete", "load settings complete",
    "load stages complete", "load fonts complete",         "load sounds complete",
    "load settings complete", "load userinfo complete",    "InitGameToSettings complete",
    "load rewards complete", "load tilesets complete",     "LayoutsInit complete",
    "int complete",
};

}  // namespace

TEST(ProgramRun, StartsLoadsInOrderAndEndsCleanlyOnSigterm)
{
    struct Case {
        const char* splash;  // file under assets/branding, or null
        const char* firstScreen;
    } cases[] = {
        {nullptr, "run mainmenu window"},
        {"splash1.png", "run logos window"},
    };
    for (const Case& c : cases) {
        TTempDir root;
        TTempDir dataHome;
        ASSERT_TRUE(Copy(BRISALO_EXE, root / "brisalo5"));
        ASSERT_TRUE(Copy(BRISALO_ASSETS, root / "assets"));
        if (system(("rm -rf '" + (root / "assets/branding") + "'").c_str()) != 0) FAIL();
        if (c.splash) {
            ASSERT_EQ(system(("mkdir -p '" + (root / "assets/branding") + "'").c_str()), 0);
            WriteWholeFile(root / (std::string("assets/branding/") + c.splash), "not really an image");
        }
        TRun run = RunGameProcess(root, dataHome.Path(), c.firstScreen);
        EXPECT_EQ(run.exitCode, 0) << run.log;
        std::vector<std::string> lines = kStartLines;
        lines.push_back(c.firstScreen);
        ExpectLinesInOrder(run.log, lines);
        EXPECT_EQ(run.log.find("File not found"), std::string::npos) << run.log;
        EXPECT_EQ(run.log.find("unknown level type"), std::string::npos) << run.log;
        EXPECT_NE(run.log.find("renderer driver "), std::string::npos) << run.log;
        EXPECT_EQ(run.log.find("error load font file"), std::string::npos) << run.log;
        EXPECT_EQ(run.log.find("font descriptor"), std::string::npos) << run.log;
        EXPECT_EQ(run.log.find("ARRAY ERROR"), std::string::npos) << run.log;
        EXPECT_EQ(run.log.find("trajectory"), std::string::npos) << run.log;
    }
}

TEST(ProgramRun, FirstRunWithBrokenTextsLogsTheErrorToTheFile)
{
    TTempDir root;
    TTempDir dataHome;
    ASSERT_TRUE(Copy(BRISALO_EXE, root / "brisalo5"));
    ASSERT_TRUE(Copy(BRISALO_ASSETS, root / "assets"));
    WriteWholeFile(root / "assets/termins.xml", "<Workbook><Worksheet>");
    // The data folder itself does not exist yet on a new account.
    TRun run = RunGameProcess(root, dataHome / "new/share", "int complete");
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_NE(run.log.find("File not found termins.xml error="), std::string::npos) << run.log;
    ExpectLinesInOrder(run.log, kStartLines);
}

TEST(ProgramRun, BrokenInterfaceLayoutIsLoggedAndTheGameRunsOn)
{
    TTempDir root;
    TTempDir dataHome;
    ASSERT_TRUE(Copy(BRISALO_EXE, root / "brisalo5"));
    ASSERT_TRUE(Copy(BRISALO_ASSETS, root / "assets"));
    std::string layout = ReadWholeFile(root / "assets/ui/interface.xml");
    size_t at = layout.find("name=\"board\"");
    ASSERT_NE(at, std::string::npos);
    layout.insert(at, "name=\"twice\" ");
    ASSERT_TRUE(WriteWholeFile(root / "assets/ui/interface.xml", layout));
    TRun run = RunGameProcess(root, dataHome.Path(), "int complete");
    EXPECT_EQ(run.exitCode, 0) << run.log;
    size_t error = run.log.find("File not found ui/interface.xml error=");
    size_t missing = run.log.find("File not found ui/interface.xml \n");
    size_t complete = run.log.find("load ui/interface.xml complete\n");
    ASSERT_NE(error, std::string::npos) << run.log;
    EXPECT_NE(run.log.find(" line = ", error), std::string::npos) << run.log;
    EXPECT_LT(error, missing) << run.log;
    EXPECT_LT(missing, complete) << run.log;
    ExpectLinesInOrder(run.log, kStartLines);
}

namespace {

const char kDefaultSettings[] = "09 79 28 87 E8 03 00 00 00 00 03 00 00 00 01 00 01 FF FF 00 00 00 00";
const char kWindowedSettings[] = "6F D3 28 75 E8 03 00 00 00 00 03 00 00 00 00 00 01 FF FF 00 00 00 00";
const char kJoSettings[] = "14 F8 B9 30 E8 03 00 00 00 00 03 00 00 00 01 00 01 00 00 01 00 01 00 01 00 02 00 4A 6F";

// A user folder that lives across several runs of the game.
class TUserFolderRuns {
public:
    TUserFolderRuns()
    {
        Copy(BRISALO_EXE, mRoot / "brisalo5");
        Copy(BRISALO_ASSETS, mRoot / "assets");
        if (system(("mkdir -p '" + Folder() + "'").c_str()) != 0) ADD_FAILURE();
    }
    std::string Folder() const { return mDataHome.Path() + "/Korvel Games/Brisalo5"; }
    std::string File(const std::string& name) const { return Folder() + "/" + name; }
    // The previous run's log must not end the wait before this run has started.
    TRun Run()
    {
        remove(File("log.txt").c_str());
        return RunGameProcess(mRoot, mDataHome.Path(), "int complete");
    }

private:
    TTempDir mRoot;
    TTempDir mDataHome;
};

// The line of the log that begins with the text, or "".
std::string LineStarting(const std::string& log, const std::string& start)
{
    size_t pos = log.find(start);
    return pos == std::string::npos ? std::string() : log.substr(pos, log.find('\n', pos) - pos);
}

}  // namespace

TEST(ProgramRun, FreshAndSecondStartWriteTheDefaultSettings)
{
    TUserFolderRuns runs;
    for (int start = 0; start < 2; ++start) {
        TRun run = runs.Run();
        EXPECT_EQ(run.exitCode, 0) << run.log;
        EXPECT_EQ(ToHex(ReadWholeFile(runs.File("settings.dat"))), ToHex(HexBytes(kDefaultSettings))) << start;
        EXPECT_FALSE(PathExists(runs.File("settings.dat.bad")));
        EXPECT_FALSE(PathExists(runs.File("user1")));
        ExpectLinesInOrder(run.log, {"load settings complete", "load settings complete", "load userinfo complete",
                                     "InitGameToSettings complete"});
        EXPECT_EQ(run.log.find("File not found settings.xml"), std::string::npos) << run.log;
    }
}

TEST(ProgramRun, WindowedSettingsStartWindowedAndStaySo)
{
    TUserFolderRuns runs;
    ASSERT_TRUE(WriteWholeFile(runs.File("settings.dat"), HexBytes(kWindowedSettings)));
    TRun run = runs.Run();
    EXPECT_EQ(run.exitCode, 0) << run.log;
    size_t from = run.log.find("load userinfo complete");
    ASSERT_NE(from, std::string::npos) << run.log;
    std::string applied = LineStarting(run.log.substr(from), "update display fullscreen = ");
    EXPECT_EQ(applied.compare(0, 29, "update display fullscreen = 0"), 0) << applied;
    EXPECT_LT(run.log.find(applied, from), run.log.find("InitGameToSettings complete"));
    EXPECT_EQ(ToHex(ReadWholeFile(runs.File("settings.dat"))), ToHex(HexBytes(kWindowedSettings)));
}

TEST(ProgramRun, DamagedSettingsAreKeptAsideAndReplacedByDefaults)
{
    TUserFolderRuns runs;
    std::string damaged = HexBytes(kJoSettings);
    damaged[25] = 0x7F;
    ASSERT_TRUE(WriteWholeFile(runs.File("settings.dat"), damaged));
    TRun run = runs.Run();
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(ReadWholeFile(runs.File("settings.dat.bad")), damaged);
    EXPECT_EQ(ToHex(ReadWholeFile(runs.File("settings.dat"))), ToHex(HexBytes(kDefaultSettings)));
}

TEST(ProgramRun, KnownUserKeepsSettingsAndProfile)
{
    const char profile[] =
        "75 3B A4 D3 E8 03 00 00 64 00 00 00 C8 00 00 00 BC 02 00 00 07 00 00 00 01 00 01 00"
        "0A 00 49 48 65 6C 70 53 68 6F 77 6E 04 00 74 69 70 31 02 01 05 00 00 00 DC 05 00 00"
        "00 00 00 00 01 00 00 00 1E 00 00 00 90 01 00 00 00 00 00 00 00 01 00 01 01 02 00 00 00"
        "41 00 00 00 78 00 00 00 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
        "00 00 00 00 FF FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 01 00 00 00"
        "00 00 00 00 00 00 00 00 00 00 00 00 2D 00 00 00 01 00 00 00 05 00 00 00 C4 09 00 00";
    TUserFolderRuns runs;
    ASSERT_TRUE(WriteWholeFile(runs.File("settings.dat"), HexBytes(kJoSettings)));
    ASSERT_TRUE(WriteWholeFile(runs.File("user1"), HexBytes(profile)));
    TRun run = runs.Run();
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_EQ(ToHex(ReadWholeFile(runs.File("settings.dat"))), ToHex(HexBytes(kJoSettings)));
    EXPECT_EQ(ToHex(ReadWholeFile(runs.File("user1"))), ToHex(HexBytes(profile)));
    EXPECT_FALSE(PathExists(runs.File("user1.bad")));
}

// Every loader's data file missing, then broken: the game logs the file, starts all the same
// and ends with exit 0.
TEST(ProgramRun, MissingOrBrokenDataFilesAreLoggedAndTheGameStarts)
{
    const char* files[] = {"ui/interface.xml", "settings.xml",  "stages.xml",  "fonts.xml",
                           "sounds.xml",       "resources.xml", "rewards.xml", "tilesets/tilesets.xml"};
    TTempDir root;
    TTempDir dataHome;
    ASSERT_TRUE(Copy(BRISALO_EXE, root / "brisalo5"));
    ASSERT_TRUE(Copy(BRISALO_ASSETS, root / "assets"));
    for (const char* file : files) {
        const std::string path = root / (std::string("assets/") + file);
        const std::string original = ReadWholeFile(path);
        ASSERT_FALSE(original.empty()) << file;
        for (bool broken : {false, true}) {
            SCOPED_TRACE(std::string(file) + (broken ? " broken" : " missing"));
            if (broken) {
                ASSERT_TRUE(WriteWholeFile(path, "<root><unclosed>"));
            } else {
                ASSERT_EQ(remove(path.c_str()), 0);
            }
            remove((dataHome.Path() + "/Korvel Games/Brisalo5/log.txt").c_str());
            TRun run = RunGameProcess(root, dataHome.Path(), "int complete");
            EXPECT_EQ(run.exitCode, 0) << run.log;
            EXPECT_NE(run.log.find("\nFile not found " + std::string(file) + " \n"), std::string::npos) << run.log;
            ExpectLinesInOrder(run.log, kStartLines);
        }
        ASSERT_TRUE(WriteWholeFile(path, original));
    }
}

// A count that disagrees with the five whole records after it (past them, above the signed
// range, none, short of them): the game starts and ends as usual, the settings it saves at
// the end hold exactly those five players, and the file as it was stays beside them.
TEST(ProgramRun, CountPastTheRecordsKeepsExactlyThePlayersRead)
{
    const char* kHead = "E8 03 00 00 00 00 03 00 00 00 01 00 01 00 00 05 00";
    const char* kFive = "01 00 02 00 4A 6F 02 00 03 00 41 6E 6E 03 00 05 00 41 6C 69 63 65"
                        "04 00 04 00 42 65 72 74 05 00 04 00 43 61 72 6C";
    const struct {
        const char* count;
        const char* line;
    } cases[] = {
        {"30 75", "settings.dat names 30000 users, 5 read whole, 0 bytes left over"},
        {"40 9C", "settings.dat names 40000 users, 5 read whole, 0 bytes left over"},
        {"00 00", "settings.dat names 0 users, 5 read whole, 0 bytes left over"},
        {"03 00", "settings.dat names 3 users, 5 read whole, 0 bytes left over"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        TUserFolderRuns runs;
        const std::string original = WithCrc(HexBytes(kHead) + HexBytes(c.count) + HexBytes(kFive));
        ASSERT_TRUE(WriteWholeFile(runs.File("settings.dat"), original));
        TRun run = runs.Run();
        EXPECT_EQ(run.exitCode, 0) << run.log;
        EXPECT_NE(run.log.find(std::string(c.line) + "\n"), std::string::npos) << run.log;
        EXPECT_EQ(ToHex(ReadWholeFile(runs.File("settings.dat"))),
                  ToHex(WithCrc(HexBytes(kHead) + HexBytes("05 00") + HexBytes(kFive))));
        EXPECT_EQ(ToHex(ReadWholeFile(runs.File("settings.dat.bad"))), ToHex(original));
    }
}

namespace {

std::vector<std::string> RootEntries()
{
    std::vector<std::string> names;
    if (DIR* dir = opendir("/")) {
        while (dirent* entry = readdir(dir)) names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A user id the password database does not know.
uid_t UnknownUid()
{
    uid_t uid = 61000;
    while (getpwuid(uid)) ++uid;
    return uid;
}

}  // namespace

// Without HOME, XDG_DATA_HOME and an entry in the password database the game keeps no user
// folder: it says so, runs, saves nothing and ends with exit 0. The run may still write
// anywhere (it keeps the right to override file permissions), so a folder under the root
// would show.
TEST(ProgramRun, WithoutAnyHomeNothingIsWrittenUnderTheRoot)
{
    if (geteuid() != 0) GTEST_SKIP() << "needs root to run the game as a user without a home";
    TTempDir root;
    ASSERT_TRUE(Copy(BRISALO_EXE, root / "brisalo5"));
    ASSERT_TRUE(Copy(BRISALO_ASSETS, root / "assets"));
    const std::vector<std::string> before = RootEntries();
    ASSERT_EQ(std::find(before.begin(), before.end(), "Korvel Games"), before.end());
    const std::string exe = root / "brisalo5";
    const std::string output = root / "output.txt";
    const uid_t uid = UnknownUid();
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || dup2(fd, 2) < 0) _exit(120);
        unsetenv("HOME");
        unsetenv("XDG_DATA_HOME");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        // Another user, who keeps the one right that lets it write under the root.
        if (prctl(PR_SET_KEEPCAPS, 1, 0, 0, 0) != 0 || setgroups(0, nullptr) != 0 || setgid(uid) != 0 ||
            setuid(uid) != 0)
            _exit(121);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[2] = {};
        caps[0].effective = caps[0].permitted = caps[0].inheritable = 1u << CAP_DAC_OVERRIDE;
        if (syscall(SYS_capset, &header, caps) != 0 ||
            prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_RAISE, CAP_DAC_OVERRIDE, 0, 0) != 0)
            _exit(122);
        if (chdir("/") != 0) _exit(126);
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    for (int i = 0; i < 600 && ReadWholeFile(output).find("int complete") == std::string::npos; ++i) usleep(100 * 1000);
    usleep(300 * 1000);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    const std::string log = ReadWholeFile(output);
    const std::vector<std::string> after = RootEntries();
    if (std::find(after.begin(), after.end(), "Korvel Games") != after.end()) {
        EXPECT_EQ(system("rm -rf '/Korvel Games'"), 0);
    }
    if (exitCode == 121 || exitCode == 122) GTEST_SKIP() << "cannot run as another user here: " << exitCode;
    EXPECT_EQ(exitCode, 0) << log;
    EXPECT_EQ(after, before);
    EXPECT_NE(log.find("no home folder (HOME, XDG_DATA_HOME, password database): nothing is saved"), std::string::npos)
        << log;
    EXPECT_NE(log.find("int complete"), std::string::npos) << log;
}
