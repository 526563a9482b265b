#include <gtest/gtest.h>

#include <cstdio>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/logger.h"
#include "core/system.h"
#include "core/virtual_files.h"
#include "core/buffer.h"
#include "log_watch.h"
#include "test_support.h"

TEST(VirtualFiles, MapPathRules)
{
    TUserFolderScope scope;
    struct Case {
        const char* in;
        std::string out;
    } cases[] = {
        {"user:log.txt", scope.UserFolder() + "/log.txt"},
        {"user:3/heart.dat", scope.UserFolder() + "/3/heart.dat"},
        {"ui/interface.xml", "assets/ui/interface.xml"},
        {"assets/ui/interface.xml", "assets/ui/interface.xml"},
        {"/tmp/x/assets/y.png", "/tmp/x/assets/y.png"},
        {"a/user:b", "assets/a/user:b"},
        {"", "assets/"},
    };
    for (const Case& c : cases) EXPECT_EQ(MapPath(c.in), c.out) << c.in;
}

TEST(VirtualFiles, FolderFromXdgDataHomeIsCreatedWithItsParents)
{
    TTempDir dir;
    std::string old = getenv("XDG_DATA_HOME");
    std::string deep = dir / "not/yet/there";
    setenv("XDG_DATA_HOME", deep.c_str(), 1);
    GetSystem()->MakeUserFolders();
    EXPECT_TRUE(PathExists(deep + "/Korvel Games/Brisalo5"));
    setenv("XDG_DATA_HOME", old.c_str(), 1);
}

// Once the platform object is gone a late save has nowhere to go, not the root folder.
TEST(VirtualFiles, AfterShutdownUserPathsMapToNothing)
{
    TLogWatch watch;
    SetSystemShutDown(true);
    DestroySystem();
    EXPECT_EQ(MapPath("user:late.dat"), "");
    TFile file;
    EXPECT_FALSE(file.Open("user:late.dat", true));
    TBufferBin buffer;
    buffer.WriteByte(1);
    EXPECT_FALSE(buffer.SaveToFile("user:late.dat", true, 0));
    EXPECT_EQ(MapPath("ui/interface.xml"), "assets/ui/interface.xml");
    SetSystemShutDown(false);
    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    EXPECT_FALSE(PathExists("/late.dat"));
    EXPECT_TRUE(watch.Has("no user folder after shutdown for user:late.dat"));
}

// XDG: a relative XDG_DATA_HOME is ignored in favour of ~/.local/share.
TEST(VirtualFiles, RelativeXdgDataHomeIsIgnored)
{
    std::string oldXdg = getenv("XDG_DATA_HOME");
    const char* oldHome = getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", "/home/player", 1);
    struct Case {
        const char* xdg;
        const char* folder;
    } cases[] = {
        {"relative/share", "/home/player/.local/share"},
        {"", "/home/player/.local/share"},
        {"/data/share", "/data/share"},
    };
    for (const Case& c : cases) {
        setenv("XDG_DATA_HOME", c.xdg, 1);
        EXPECT_EQ(GetAppDataFolder(), c.folder) << c.xdg;
    }
    setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST(VirtualFiles, OpenOfMissingFileOrFolderLeavesFileClosed)
{
    TUserFolderScope scope;
    TFile file;
    EXPECT_FALSE(file.Open("user:missing.dat", false));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Path(), "");
    EXPECT_EQ(file.Size(), -1);
    // A folder opens for reading with fopen here, but it is not a file.
    EXPECT_FALSE(file.Open("user:", false));
    EXPECT_EQ(file.Size(), -1);
    EXPECT_FALSE(FileExists("user:"));
}

TEST(VirtualFiles, ReadCountsWholeBlocks)
{
    TUserFolderScope scope;
    WriteWholeFile(scope.UserFolder() + "/five.bin", "12345");
    TFile file("user:five.bin", "rb");
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Size(), 5);
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, 3), 1);
    EXPECT_EQ(file.Read(buf, 3), 0);  // only two bytes remained
    TFile closed;
    EXPECT_EQ(closed.Read(buf, 1), -1);
}

TEST(VirtualFiles, CopiesShareOneStreamUntilTheLastCloses)
{
    TUserFolderScope scope;
    WriteWholeFile(scope.UserFolder() + "/ab.bin", "ab");
    TFile a("user:ab.bin", "rb");
    char c = 0;
    {
        TFile b = a;
        EXPECT_EQ(b.Read(&c, 1), 1);
        EXPECT_EQ(c, 'a');
    }
    ASSERT_TRUE(a.IsOpen());
    EXPECT_EQ(a.Read(&c, 1), 1);  // the copy read from the same stream
    EXPECT_EQ(c, 'b');
}

TEST(VirtualFiles, RemoveFileAlwaysSucceeds)
{
    TUserFolderScope scope;
    WriteWholeFile(scope.UserFolder() + "/gone", "x");
    EXPECT_TRUE(RemoveFile("user:gone"));
    EXPECT_FALSE(FileExists("user:gone"));
    EXPECT_TRUE(RemoveFile("user:gone"));
}

// Another copy of the game renames a new save of another size over the name while this one
// reads: the size is the opened file's, so it still pairs with the bytes read from it.
TEST(VirtualFiles, SizeIsOfTheOpenFileNotOfOneRenamedOverItsName)
{
    TUserFolderScope scope;
    const std::string name = scope.UserFolder() + "/shared.dat";
    ASSERT_TRUE(WriteWholeFile(name, "four"));
    TFile file("user:shared.dat", "rb");
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(WriteWholeFile(name + ".new", "a longer file"));
    ASSERT_EQ(rename((name + ".new").c_str(), name.c_str()), 0);
    EXPECT_EQ(file.Size(), 4);
    char bytes[4] = {};
    EXPECT_EQ(file.Read(bytes, 4), 1);
    EXPECT_EQ(std::string(bytes, 4), "four");
}

// Without HOME (or with a relative one) the home folder is the password database's; the
// user folder is never made under the file system's root.
TEST(VirtualFiles, WithoutHomeTheHomeComesFromThePasswordDatabase)
{
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = std::string(entry->pw_dir) + "/.local/share";
    std::string oldXdg = getenv("XDG_DATA_HOME");
    const char* oldHome = getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    unsetenv("XDG_DATA_HOME");
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative/home"}) {
        if (home)
            setenv("HOME", home, 1);
        else
            unsetenv("HOME");
        EXPECT_EQ(GetAppDataFolder(), expected) << (home ? home : "unset");
        EXPECT_EQ(GetSystem()->UserFolder(), expected + "/Korvel Games/Brisalo5");
    }
    setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

namespace {

// A user other than root whose password-database home is the root, or 0 when there is none.
uid_t UserWithRootHome()
{
    uid_t found = 0;
    setpwent();
    while (const passwd* entry = getpwent()) {
        if (entry->pw_uid != 0 && std::string(entry->pw_dir) == "/") {
            found = entry->pw_uid;
            break;
        }
    }
    endpwent();
    return found;
}

}  // namespace

// A home at the root (HOME, or the password database's entry) is no home: one line, no user
// folder under the root, and saves answer false.
TEST(VirtualFiles, AHomeAtTheRootIsNoHome)
{
    TLogWatch watch;
    std::string oldXdg = getenv("XDG_DATA_HOME");
    const char* oldHome = getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    const bool hadLocal = PathExists("/.local");
    const bool hadCompany = PathExists("/Korvel Games");
    unsetenv("XDG_DATA_HOME");
    for (const char* home : {"/", "//", "/."}) {
        SCOPED_TRACE(home);
        setenv("HOME", home, 1);
        EXPECT_EQ(GetAppDataFolder(), "");
        EXPECT_EQ(GetSystem()->UserFolder(), "");
        GetSystem()->MakeUserFolders();
        GetSystem()->MakeUserSubFolder("1");
        TBufferBin buffer;
        buffer.WriteByte(1);
        EXPECT_FALSE(buffer.SaveToFile("user:settings.dat", true, 0));
    }
    // The password database's home, seen by a process of that user without HOME.
    const uid_t uid = UserWithRootHome();
    if (uid != 0 && geteuid() == 0) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            unsetenv("HOME");
            if (setuid(uid) != 0) _exit(2);
            _exit(GetAppDataFolder().empty() && GetSystem()->UserFolder().empty() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "uid " << uid;
    }
    const bool madeLocal = !hadLocal && PathExists("/.local");
    const bool madeCompany = !hadCompany && PathExists("/Korvel Games");
    if (madeLocal && system("rm -rf /.local") != 0) ADD_FAILURE() << "cannot remove /.local";
    if (madeCompany && system("rm -rf '/Korvel Games'") != 0) ADD_FAILURE() << "cannot remove /Korvel Games";
    setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
    GetSystem()->MakeUserFolders();
    EXPECT_FALSE(madeLocal);
    EXPECT_FALSE(madeCompany);
    EXPECT_EQ(watch.Count("no home folder (HOME, XDG_DATA_HOME, password database): nothing is saved"), 1u);
}
