#include "app/settings.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/buffer.h"
#include "core/system.h"
#include "core/virtual_files.h"
#include "game/stages.h"
#include "game/user_info.h"
#include "sound/sound_manager.h"
#include "log_watch.h"
#include "test_support.h"

namespace {

const char kJoFile[] = "14 F8 B9 30 E8 03 00 00 00 00 03 00 00 00 01 00 01 00 00 01 00 01 00 01 00 02 00 4A 6F";
const char kDefaultFile[] = "09 79 28 87 E8 03 00 00 00 00 03 00 00 00 01 00 01 FF FF 00 00 00 00";
const char kWindowedFile[] = "6F D3 28 75 E8 03 00 00 00 00 03 00 00 00 00 00 01 FF FF 00 00 00 00";

}  // namespace

// Every test starts from an empty user folder and a default profile.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProfile(); }
    void TearDown() override { ResetProfile(); }
    void ResetProfile()
    {
        ClearStages();
        GetUserInfo()->ResetDefaults();
        GetUserInfo()->ResetPreset();
    }
    std::string File(const std::string& name) const { return mScope.UserFolder() + "/" + name; }
    std::string SettingsBytes() const { return ReadWholeFile(File("settings.dat")); }

    TUserFolderScope mScope;
};

TEST_F(SettingsTest, FirstUserWritesTheGoldenFile)
{
    TMySettings settings;
    settings.AddUser("Jo");
    EXPECT_EQ(ToHex(SettingsBytes()), ToHex(HexBytes(kJoFile)));
    EXPECT_TRUE(PathExists(File("1")));
    EXPECT_TRUE(PathExists(File("user1")));
    EXPECT_EQ(settings.CurrentUserIdText(), "1");
    EXPECT_EQ(settings.CurrentUserIndex(), 0);
    EXPECT_EQ(settings.CurrentUserName(), "Jo");
}

TEST_F(SettingsTest, LoadsTheGoldenFiles)
{
    ASSERT_TRUE(WriteWholeFile(File("settings.dat"), HexBytes(kJoFile)));
    TMySettings jo;
    ASSERT_TRUE(jo.LoadSettings());
    ASSERT_EQ(jo.UserCount(), 1);
    EXPECT_EQ(jo.Users()[0].mId, 1);
    EXPECT_EQ(jo.UserName(0), "Jo");
    EXPECT_EQ(jo.CurrentUserIndex(), 0);
    EXPECT_EQ(jo.LastUserId(), 1);

    ASSERT_TRUE(WriteWholeFile(File("settings.dat"), HexBytes(kWindowedFile)));
    TMySettings windowed;
    ASSERT_TRUE(windowed.LoadSettings());
    EXPECT_EQ(windowed.UserCount(), 0);
    EXPECT_EQ(windowed.CurrentUserIndex(), -1);
    EXPECT_FALSE(windowed.IsFullscreen());
    EXPECT_TRUE(windowed.UsesCustomCursor());
    EXPECT_FALSE(windowed.LoadCurrentUser());
    EXPECT_EQ(windowed.CurrentUserIdText(), "");

    ASSERT_TRUE(WriteWholeFile(File("settings.dat"), HexBytes(kDefaultFile)));
    TMySettings fresh;
    ASSERT_TRUE(fresh.LoadSettings());
    EXPECT_TRUE(fresh.IsFullscreen());
    EXPECT_EQ(fresh.CurrentUserIndex(), -1);
    ASSERT_TRUE(fresh.SaveSettings());
    EXPECT_EQ(ToHex(SettingsBytes()), ToHex(HexBytes(kDefaultFile)));
}

TEST_F(SettingsTest, BadFilesKeepTheDefaultsAndAreKeptAside)
{
    std::string changed = HexBytes(kWindowedFile);
    changed[20] = 5;
    struct Case {
        const char* name;
        std::string bytes;  // empty: no file
        bool keptAside;
    } cases[] = {
        {"one byte changed", changed, true},
        {"three bytes", HexBytes("01 02 03"), true},
        {"only the checksum", HexBytes("00 00 00 00"), false},
        {"no file", "", false},
    };
    for (const Case& c : cases) {
        RemoveFile("user:settings.dat.bad");
        RemoveFile("user:settings.dat");
        if (!c.bytes.empty()) {
            ASSERT_TRUE(WriteWholeFile(File("settings.dat"), c.bytes));
        }
        TMySettings settings;
        EXPECT_FALSE(settings.LoadSettings()) << c.name;
        EXPECT_TRUE(settings.IsFullscreen()) << c.name;
        EXPECT_TRUE(settings.UsesCustomCursor()) << c.name;
        EXPECT_EQ(settings.UserCount(), 0) << c.name;
        EXPECT_EQ(settings.CurrentUserIndex(), -1) << c.name;
        EXPECT_EQ(PathExists(File("settings.dat.bad")), c.keptAside) << c.name;
        if (c.keptAside) {
            EXPECT_EQ(ReadWholeFile(File("settings.dat.bad")), c.bytes) << c.name;
        }
    }
}

// The log of these tests is written in their own user folder.
class SettingsLogTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        DestroyLogger();
    }
    void TearDown() override
    {
        DestroyLogger();
        SettingsTest::TearDown();
    }
};

// Each damaged settings file in a row stays in the player folder under a name of its own.
TEST_F(SettingsLogTest, DamagedFilesInARowAreAllKept)
{
    TLogWatch watch;
    std::string first = HexBytes(kJoFile);
    first[25] = 0x7F;
    std::string second = HexBytes(kJoFile);
    second[27] = 0x7F;
    for (const std::string& damaged : {first, second}) {
        ASSERT_TRUE(WriteWholeFile(File("settings.dat"), damaged));
        TMySettings settings;
        EXPECT_FALSE(settings.LoadSettings());
        ASSERT_TRUE(settings.SaveSettings());
    }
    EXPECT_EQ(ReadWholeFile(File("settings.dat.bad")), first);
    EXPECT_EQ(ReadWholeFile(File("settings.dat.bad1")), second);
    EXPECT_TRUE(watch.Has("damaged file kept as " + File("settings.dat.bad1")));
    EXPECT_EQ(ToHex(SettingsBytes()), ToHex(HexBytes(kDefaultFile)));
}

// A count that disagrees with the records (past them, above the signed range, none, short
// of them) gives exactly the players read whole and one log line; only those are saved back,
// and the file as it was is kept beside, byte for byte, before the save.
TEST_F(SettingsLogTest, OnlyUsersReadWholeAreKept)
{
    const char* kHead = "E8 03 00 00 00 00 03 00 00 00 01 00 01";
    const char* kFive = "01 00 02 00 4A 6F 02 00 03 00 41 6E 6E 03 00 05 00 41 6C 69 63 65"
                        "04 00 04 00 42 65 72 74 05 00 04 00 43 61 72 6C";
    const std::vector<std::string> five = {"Jo", "Ann", "Alice", "Bert", "Carl"};
    struct Case {
        const char* name;
        std::string users;  // current, last id, count, then the records
        std::vector<std::string> names;
        const char* line;   // "" when the count is right
    } cases[] = {
        {"count 30000 over five", HexBytes("00 00 05 00 30 75") + HexBytes(kFive), five,
         "settings.dat names 30000 users, 5 read whole, 0 bytes left over"},
        {"count 40000 over five", HexBytes("00 00 05 00 40 9C") + HexBytes(kFive), five,
         "settings.dat names 40000 users, 5 read whole, 0 bytes left over"},
        {"count 65535 over five", HexBytes("00 00 05 00 FF FF") + HexBytes(kFive), five,
         "settings.dat names 65535 users, 5 read whole, 0 bytes left over"},
        {"count 0 over five", HexBytes("00 00 05 00 00 00") + HexBytes(kFive), five,
         "settings.dat names 0 users, 5 read whole, 0 bytes left over"},
        {"count 3 over five", HexBytes("00 00 05 00 03 00") + HexBytes(kFive), five,
         "settings.dat names 3 users, 5 read whole, 0 bytes left over"},
        {"count 3 over two long names", HexBytes("00 00 02 00 03 00 01 00 05 00 41 6C 69 63 65 02 00 05 00 42 65 72 74 61"),
         {"Alice", "Berta"}, "settings.dat names 3 users, 2 read whole, 0 bytes left over"},
        {"last record cut short", HexBytes("00 00 02 00 02 00 01 00 02 00 4A 6F 02 00 05 00 41 6C"),
         {"Jo"}, "settings.dat names 2 users, 1 read whole, 6 bytes left over"},
        {"count 1 over two", HexBytes("00 00 02 00 01 00 01 00 02 00 4A 6F 02 00 02 00 42 6F"),
         {"Jo", "Bo"}, "settings.dat names 1 users, 2 read whole, 0 bytes left over"},
        {"count and records agree", HexBytes("00 00 02 00 02 00 01 00 02 00 4A 6F 02 00 02 00 42 6F"),
         {"Jo", "Bo"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveFile("user:settings.dat.bad");
        TLogWatch watch;
        const std::string original = WithCrc(HexBytes(kHead) + c.users);
        ASSERT_TRUE(WriteWholeFile(File("settings.dat"), original));
        TMySettings settings;
        ASSERT_TRUE(settings.LoadSettings());
        std::vector<std::string> names;
        for (const TUserRecord& user : settings.Users()) names.push_back(user.mName);
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(watch.CountStartingWith("settings.dat names "), *c.line ? 1u : 0u);
        if (*c.line) {
            EXPECT_TRUE(watch.Has(c.line)) << watch.Text();
        }
        ASSERT_TRUE(settings.SaveSettings());
        EXPECT_EQ(PathExists(File("settings.dat.bad")), *c.line != 0);
        if (*c.line) {
            EXPECT_EQ(ToHex(ReadWholeFile(File("settings.dat.bad"))), ToHex(original));
        }
        TMySettings reread;
        ASSERT_TRUE(reread.LoadSettings());
        EXPECT_EQ(reread.UserCount(), static_cast<int>(c.names.size()));
        size_t bytes = 4 + 19;  // checksum, fields and the users' head
        for (const std::string& name : c.names) bytes += 4 + name.size();
        EXPECT_EQ(ReadWholeFile(File("settings.dat")).size(), bytes);
    }
}

TEST_F(SettingsTest, CurrentIndexOutsideTheListMeansNone)
{
    std::string body = HexBytes(kJoFile).substr(4);
    body[13] = 3;  // current user index
    ASSERT_TRUE(WriteWholeFile(File("settings.dat"), WithCrc(body)));
    TMySettings settings;
    ASSERT_TRUE(settings.LoadSettings());
    EXPECT_EQ(settings.UserCount(), 1);
    EXPECT_EQ(settings.CurrentUserIndex(), -1);
    EXPECT_EQ(settings.CurrentUserName(), "");
    EXPECT_EQ(settings.CurrentUserIdText(), "");
    EXPECT_FALSE(settings.LoadCurrentUser());
    EXPECT_FALSE(settings.SaveCurrentUser());
}

TEST_F(SettingsTest, DeletingUsersKeepsIdsAndTheCurrentPerson)
{
    TMySettings settings;
    settings.AddUser("A");
    settings.AddUser("B");
    settings.AddUser("C");
    ASSERT_EQ(settings.CurrentUserIndex(), 2);
    settings.DeleteUser(0);
    EXPECT_EQ(settings.CurrentUserIndex(), 1);
    EXPECT_EQ(settings.CurrentUserName(), "C");
    EXPECT_EQ(settings.Users()[0].mId, 2);
    EXPECT_EQ(settings.Users()[1].mId, 3);

    RemoveFile("user:settings.dat");
    settings.DeleteUser(7);
    settings.DeleteUser(-1);
    EXPECT_FALSE(PathExists(File("settings.dat")));  // nothing changed, nothing saved
    EXPECT_EQ(settings.UserCount(), 2);

    ASSERT_TRUE(WriteWholeFile(File("user3_main"), "m"));
    ASSERT_TRUE(WriteWholeFile(File("user3_bonus"), "b"));
    ASSERT_TRUE(WriteWholeFile(File("3/picture.dat"), "p"));
    settings.DeleteUser(1);
    EXPECT_EQ(settings.CurrentUserIndex(), -1);
    for (const char* gone : {"user3", "user3_main", "user3_bonus"}) EXPECT_FALSE(PathExists(File(gone))) << gone;
    EXPECT_TRUE(PathExists(File("3/picture.dat")));

    settings.AddUser("D");
    EXPECT_EQ(settings.CurrentUserIdText(), "4");
    EXPECT_EQ(settings.CurrentUserIndex(), 1);
}

TEST_F(SettingsTest, IdsOfALostSettingsFileAreNotGivenOutAgain)
{
    ASSERT_TRUE(WriteWholeFile(File("user1"), "earlier player"));
    ASSERT_EQ(system(("mkdir -p '" + File("1") + "' '" + File("3") + "'").c_str()), 0);
    TMySettings settings;
    settings.AddUser("New");
    EXPECT_EQ(settings.CurrentUserIdText(), "2");
    EXPECT_EQ(ReadWholeFile(File("user1")), "earlier player");
    settings.AddUser("Next");
    EXPECT_EQ(settings.CurrentUserIdText(), "4");
}

// What the 16-bit fields cannot hold is refused or bounded, never written wrapped.
TEST_F(SettingsTest, FieldWidthsOfTheFileAreKept)
{
    const char* kHead = "E8 03 00 00 00 00 03 00 00 00 01 00 01";
    struct Case {
        const char* name;
        const char* users;  // current, last id, count, then the users
        int loadedUsers;
        int32_t newId;
    } cases[] = {
        {"last id 32767, none left", "FF FF FF 7F 00 00", 0, 1},
        {"last id 32767, id 1 in use", "00 00 FF 7F 01 00 01 00 02 00 4A 6F", 1, 2},
        {"count 32767 in a short file", "FF FF 00 00 FF 7F", 0, 1},
        {"count 3, room for one", "FF FF 01 00 03 00 01 00 02 00 4A 6F", 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Everything but the log, which the logger keeps open.
        ASSERT_EQ(system(("find '" + mScope.UserFolder() + "' -mindepth 1 -maxdepth 1 ! -name log.txt -exec rm -rf {} +").c_str()), 0);
        std::string body = HexBytes(kHead) + HexBytes(c.users);
        ASSERT_TRUE(WriteWholeFile(File("settings.dat"), WithCrc(body)));
        TMySettings settings;
        ASSERT_TRUE(settings.LoadSettings());
        EXPECT_EQ(settings.UserCount(), c.loadedUsers);
        ASSERT_TRUE(settings.AddUser("Max"));
        EXPECT_EQ(settings.CurrentUserIdText(), std::to_string(c.newId));
        EXPECT_TRUE(PathExists(File("user" + std::to_string(c.newId))));
        TMySettings reread;
        ASSERT_TRUE(reread.LoadSettings());
        ASSERT_EQ(reread.UserCount(), c.loadedUsers + 1);
        EXPECT_EQ(reread.Users().back().mId, c.newId);
        EXPECT_EQ(reread.CurrentUserName(), "Max");
    }

}

// A name longer than its field is refused, by AddUser and by a rename, and the rest of the
// file still reads back. In the tests' own user folder, where the log is written.
TEST(SettingsNames, NameLongerThanItsFieldIsRefused)
{
    TLogWatch watch;
    {
        TMySettings settings;
        ASSERT_TRUE(settings.AddUser("Jo"));
        const std::string longName(40000, 'n');
        EXPECT_FALSE(settings.AddUser(longName));
        EXPECT_FALSE(settings.RenameCurrentUser(longName));
        EXPECT_EQ(settings.CurrentUserName(), "Jo");
        EXPECT_TRUE(settings.AddUser(std::string(32767, 'm')));
        EXPECT_EQ(watch.Count("settings.dat: a player name of 40000 bytes is longer than 32767, refused"), 2u);
        TMySettings reread;
        ASSERT_TRUE(reread.LoadSettings());
        ASSERT_EQ(reread.UserCount(), 2);
        EXPECT_EQ(reread.UserName(0), "Jo");
        EXPECT_EQ(reread.UserName(1).size(), 32767u);
        for (const TUserRecord& user : reread.Users()) {
            RemoveFile("user:user" + std::to_string(user.mId));
            ASSERT_EQ(system(("rm -rf '" + MapPath("user:" + std::to_string(user.mId)) + "'").c_str()), 0);
        }
    }
    RemoveFile("user:settings.dat");
    GetUserInfo()->ResetDefaults();
}

TEST_F(SettingsTest, UserExistsIgnoresAsciiCase)
{
    TMySettings settings;
    settings.AddUser("Anna");
    EXPECT_TRUE(settings.UserExists("ANNA"));
    EXPECT_TRUE(settings.UserExists("anna"));
    EXPECT_FALSE(settings.UserExists("Ann"));
}

TEST_F(SettingsTest, RenameAndResetGoThroughTheFiles)
{
    TMySettings settings;
    settings.AddUser("Jo");
    settings.RenameCurrentUser("Joe");
    TMySettings reread;
    ASSERT_TRUE(reread.LoadSettings());
    EXPECT_EQ(reread.CurrentUserName(), "Joe");

    settings.mStoredValue = 9;
    GetUserInfo()->mCounter = 5;
    EXPECT_TRUE(settings.ResetCurrentUser());
    EXPECT_EQ(settings.mStoredValue, 3);
    EXPECT_EQ(GetUserInfo()->mCounter, 0);
    EXPECT_TRUE(settings.CommitUser());
}

// With the user folder gone nothing can be written, and every step up says so.
TEST_F(SettingsTest, FailedProfileSaveReachesTheCallers)
{
    TMySettings settings;
    settings.AddUser("Jo");
    ASSERT_EQ(system(("rm -rf '" + mScope.UserFolder() + "'").c_str()), 0);
    EXPECT_FALSE(settings.SaveCurrentUser());
    EXPECT_FALSE(settings.CommitUser());
    EXPECT_FALSE(settings.ResetCurrentUser());
}

TEST_F(SettingsTest, SelectingAUserLoadsTheProfileAndAppliesItsVolumes)
{
    TMySettings settings;
    settings.AddUser("Anna");
    settings.AddUser("Bob");
    // Bob's profile: music 0.1, voice 0.2, sound 0.7.
    GetUserInfo()->mMusicVolume = 0.1f;
    GetUserInfo()->mVoiceVolume = 0.2f;
    GetUserInfo()->mSoundVolume = 0.7f;
    ASSERT_TRUE(settings.SaveCurrentUser());
    settings.SelectUser(0);
    EXPECT_FLOAT_EQ(GetSoundManager()->GetMusicVolume(), 0.4f);

    settings.SelectUser(1);
    EXPECT_EQ(settings.CurrentUserName(), "Bob");
    EXPECT_FLOAT_EQ(GetSoundManager()->GetMusicVolume(), 0.1f);
    EXPECT_FLOAT_EQ(GetSoundManager()->GetSoundVolume(), 0.7f);
    EXPECT_FLOAT_EQ(GetSoundManager()->GetVoiceVolume(), 0.2f);
    TMySettings reread;
    ASSERT_TRUE(reread.LoadSettings());
    EXPECT_EQ(reread.CurrentUserIndex(), 1);

    settings.SelectUser(5);  // out of range: nothing
    EXPECT_EQ(settings.CurrentUserIndex(), 1);
}

TEST_F(SettingsTest, NewAndSelectedPlayersStartFromTheCasualPreset)
{
    TMySettings settings;
    settings.AddUser("Anna");
    TBasePaintByNumberSettings& preset = *GetUserInfo()->mPreset;
    preset.usetimer = 1;
    preset.fillcolorrecharge = 60;
    preset.maxerrorscount = 5;
    preset.secsperonecell = 2.0f;
    settings.SaveCurrentUser();
    settings.AddUser("Bob");
    std::string bob = ReadWholeFile(File("user2"));
    ASSERT_GE(bob.size(), 16u);
    EXPECT_EQ(ToHex(bob.substr(bob.size() - 16)), ToHex(HexBytes("1E 00 00 00 00 00 00 00 00 00 00 00 D0 07 00 00")));

    // A new game of the same player keeps the preset.
    preset.usetimer = 1;
    settings.ResetCurrentUser();
    EXPECT_EQ(preset.usetimer, 1);

    RemoveFile("user:user1");
    settings.SelectUser(0);
    EXPECT_EQ(preset.usetimer, 0);
    EXPECT_EQ(preset.fillcolorrecharge, 30);
    EXPECT_EQ(preset.maxerrorscount, 0);
    EXPECT_FLOAT_EQ(preset.secsperonecell, 2.0f);
}

TEST_F(SettingsTest, CreateSettingsByName)
{
    TAppState& app = GetAppState();
    TSettings* other = CreateSettings("other");
    EXPECT_EQ(app.mSettings.get(), other);
    EXPECT_EQ(other->CurrentUserName(), "cheater");
    EXPECT_EQ(other->UserCount(), 1);
    TSettings* mine = CreateSettings("mysettings");
    EXPECT_NE(dynamic_cast<TMySettings*>(mine), nullptr);
    app.mSettings.reset();
}

TEST_F(SettingsTest, FullscreenFollowsTheWindowAndIsSaved)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    TAppState& app = GetAppState();
    app.mWindow = SDL_CreateWindow("t", 0, 0, 640, 480, SDL_WINDOW_SHOWN);
    ASSERT_NE(app.mWindow, nullptr) << SDL_GetError();
    GetSystem()->mWindow = app.mWindow;

    TMySettings settings;
    settings.Apply();
    EXPECT_TRUE(settings.IsFullscreen());
    settings.SaveSettings();
    EXPECT_EQ(SettingsBytes()[14], 1);

    EXPECT_TRUE(settings.ToggleFullscreen());
    EXPECT_FALSE(settings.IsFullscreen());
    settings.SaveSettings();
    EXPECT_EQ(SettingsBytes()[14], 0);

    SDL_DestroyWindow(app.mWindow);
    app.mWindow = nullptr;
    GetSystem()->mWindow = nullptr;
    // Without a window the flag reads as windowed.
    settings.ToggleFullscreen();
    EXPECT_FALSE(settings.IsFullscreen());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
