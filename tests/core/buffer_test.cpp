#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <string>
#include <chrono>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "core/buffer.h"
#include "core/system.h"
#include "log_watch.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

TBufferBin BufferOf(const Bytes& bytes)
{
    TBufferBin buffer;
    for (uint8_t b : bytes) buffer.WriteByte(b);
    return buffer;
}

std::string UserFile(const std::string& name) { return GetSystem()->UserFolder() + "/" + name; }

// Bit by bit, independent of the table the game uses.
uint32_t SlowCrc(const std::string& bytes)
{
    uint32_t crc = 0;
    for (unsigned char b : bytes) {
        crc ^= static_cast<uint32_t>(b) << 24;
        for (int i = 0; i < 8; ++i) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

// A save's temporary file left in the folder.
bool HasTemporaryFile(const std::string& folder)
{
    bool found = false;
    DIR* dir = opendir(folder.c_str());
    while (dir && !found)
        if (dirent* entry = readdir(dir)) found = std::string(entry->d_name).find(".tmp") != std::string::npos;
        else break;
    if (dir) closedir(dir);
    return found;
}

}  // namespace

TEST(Crc32, MatchesTheKnownValues)
{
    const uint8_t one = 1;
    EXPECT_EQ(Crc32Update(0, &one, 1), 0x04C11DB7u);
    EXPECT_EQ(Crc32Update(0, reinterpret_cast<const uint8_t*>("abc"), 3), 0x2C17398Cu);
    EXPECT_EQ(Crc32Update(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>("123456789"), 9), 0x0376E6E7u);
    TBufferBin empty;
    EXPECT_EQ(empty.Checksum(0x12345678u), 0u);
}

TEST(Buffer, FieldsHaveTheirByteLayoutAndReadBack)
{
    TBufferBin nested;
    nested.WriteString("abc");
    const struct {
        const char* what;
        void (*write)(TBaseBuffer&, const TBaseBuffer&);
        Bytes bytes;
    } cases[] = {
        {"int32 -1", [](TBaseBuffer& b, const TBaseBuffer&) { b.WriteInt32(-1); }, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"0.5", [](TBaseBuffer& b, const TBaseBuffer&) { b.WriteMilli(0.5f); }, {0xF4, 0x01, 0x00, 0x00}},
        {"0.7", [](TBaseBuffer& b, const TBaseBuffer&) { b.WriteMilli(0.7f); }, {0xBC, 0x02, 0x00, 0x00}},
        {"0.0005", [](TBaseBuffer& b, const TBaseBuffer&) { b.WriteMilli(0.0005f); }, {0, 0, 0, 0}},
        {"NaN", [](TBaseBuffer& b, const TBaseBuffer&) { b.WriteMilli(NAN); }, {0, 0, 0, 0}},
        {"huge", [](TBaseBuffer& b, const TBaseBuffer&) { b.WriteMilli(-1e30f); }, {0, 0, 0, 0x80}},
        {"string", [](TBaseBuffer& b, const TBaseBuffer&) { b.WriteString("abc"); }, {3, 0, 'a', 'b', 'c'}},
        {"nested", [](TBaseBuffer& b, const TBaseBuffer& n) { b.WriteBuffer(n); },
         {5, 0, 0, 0, 3, 0, 'a', 'b', 'c', 0x1B, 0x91, 0x00, 0xF7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TBufferBin buffer;
        c.write(buffer, nested);
        EXPECT_EQ(buffer.Bytes(), c.bytes);
    }

    TBufferBin buffer;
    buffer.WriteInt32(-1);
    buffer.WriteMilli(0.7f);
    buffer.WriteString("abc");
    buffer.WriteBuffer(nested);
    buffer.WriteBlock(Bytes{9, 8});
    buffer.WriteByte(0x1FF);
    EXPECT_EQ(buffer.ReadInt32(), -1);
    EXPECT_EQ(buffer.ReadMilli(), 0.7f);
    std::string text;
    buffer.ReadString(text);
    EXPECT_EQ(text, "abc");
    TBufferBin inner;
    buffer.ReadBuffer(inner);
    inner.ReadString(text);
    EXPECT_EQ(text, "abc");
    Bytes block = {1};
    buffer.ReadBlock(block);
    EXPECT_EQ(block, (Bytes{9, 8}));
    EXPECT_EQ(buffer.ReadByte(), 0xFF);
    EXPECT_TRUE(buffer.ReadAtEnd());
}

TEST(Buffer, ReadsPastTheEndGiveZerosAndBoundedLengths)
{
    TBufferBin twoBytes = BufferOf({0x34, 0x12});
    EXPECT_EQ(twoBytes.ReadInt32(), 0x1234);
    EXPECT_EQ(twoBytes.ReadByte(), 0);
    EXPECT_EQ(twoBytes.ReadPosition(), 2u);

    TBufferBin topBit = BufferOf({0x00, 0x80, 0x02, 0x00, 'h', 'i'});
    std::string text = "old";
    topBit.ReadString(text);
    EXPECT_EQ(text, "");
    topBit.ReadString(text);
    EXPECT_EQ(text, "hi");

    TBufferBin shortString = BufferOf({0x04, 0x00, 'h'});
    shortString.ReadString(text);
    EXPECT_EQ(text, std::string("h\0\0\0", 4));
    TBufferBin roundTrip;
    roundTrip.WriteString("round trip");
    EXPECT_EQ(roundTrip.ReadStringValue(), "round trip");
    TBufferBin shortValue = BufferOf({0x04, 0x00, 'h'});
    EXPECT_EQ(shortValue.ReadStringValue(), std::string("h\0\0\0", 4));
    TBufferBin topBitValue = BufferOf({0x00, 0x80, 0x02, 0x00, 'h', 'i'});
    EXPECT_EQ(topBitValue.ReadStringValue(), "");
    EXPECT_EQ(topBitValue.ReadStringValue(), "hi");

    TBufferBin negative = BufferOf({0x00, 0x00, 0x00, 0x80, 0x07});
    Bytes block = {1, 2};
    negative.ReadBlock(block);
    EXPECT_TRUE(block.empty());
    EXPECT_EQ(negative.ReadByte(), 7);

    TBufferBin tooLong = BufferOf({0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
    tooLong.ReadBlock(block);
    EXPECT_EQ(block, (Bytes{1, 2, 3}));
    EXPECT_EQ(tooLong.ReadByte(), 0);
    EXPECT_TRUE(tooLong.ReadAtEnd());

    TBufferBin nestedTooLong = BufferOf({0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    TBufferBin inner;
    nestedTooLong.ReadBuffer(inner);
    EXPECT_EQ(inner.Bytes(), (Bytes{1, 2}));
    EXPECT_EQ(inner.ReadByte(), 1);
}

TEST(Buffer, LargestFractionWritesBackClamped)
{
    TBufferBin in = BufferOf({0xFF, 0xFF, 0xFF, 0x7F});
    float v = in.ReadMilli();
    EXPECT_EQ(v, 2147483.75f);
    TBufferBin out;
    out.WriteMilli(v);
    EXPECT_EQ(out.Bytes(), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(BufferFile, SavesWithTheChecksumInFrontAndLoadsBack)
{
    TBufferBin empty;
    ASSERT_TRUE(empty.SaveToFile("user:empty.dat", true, 0));
    EXPECT_EQ(ReadWholeFile(UserFile("empty.dat")), std::string(4, '\0'));
    TBufferBin loaded;
    loaded.SetError(true);
    EXPECT_TRUE(loaded.LoadFromFile("user:empty.dat", true, 0));
    EXPECT_TRUE(loaded.Bytes().empty());
    EXPECT_FALSE(loaded.HasError());

    TBufferBin abc;
    abc.WriteString("abc");
    ASSERT_TRUE(abc.SaveToFile("user:abc.dat", true, 0));
    EXPECT_EQ(ReadWholeFile(UserFile("abc.dat")), std::string("\x1B\x91\x00\xF7\x03\x00" "abc", 9));
    ASSERT_TRUE(loaded.LoadFromFile("user:abc.dat", true, 0));
    std::string text;
    loaded.ReadString(text);
    EXPECT_EQ(text, "abc");
    EXPECT_FALSE(PathExists(UserFile("abc.dat.tmp")));

    ASSERT_TRUE(abc.SaveToFile("user:plain.dat", false, 0));
    EXPECT_EQ(ReadWholeFile(UserFile("plain.dat")), std::string("\x03\x00" "abc", 5));
    ASSERT_TRUE(loaded.LoadFromFile("user:plain.dat", false, 0));
    EXPECT_EQ(loaded.Bytes(), abc.Bytes());
    EXPECT_FALSE(TBaseBuffer().SaveToFile("user:base.dat", false, 0));
}

TEST(BufferFile, DamagedFilesLoadEmptyWithTheErrorFlag)
{
    const struct { const char* what; std::string bytes; } cases[] = {
        {"changed data byte", std::string("\x1B\x91\x00\xF7\x03\x00" "abd", 9)},
        {"changed checksum", std::string("\x1C\x91\x00\xF7\x03\x00" "abc", 9)},
        {"three bytes", std::string("\x00\x00\x00", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteWholeFile(UserFile("damaged.dat"), c.bytes));
        TBufferBin buffer;
        buffer.WriteByte(1);
        EXPECT_FALSE(buffer.LoadFromFile("user:damaged.dat", true, 0));
        EXPECT_TRUE(buffer.Bytes().empty());
        EXPECT_TRUE(buffer.HasError());
    }
    for (bool flag : {false, true}) {
        TBufferBin buffer;
        buffer.SetError(flag);
        EXPECT_FALSE(buffer.LoadFromFile("user:missing.dat", true, 0));
        EXPECT_EQ(buffer.HasError(), flag);
    }
}

// Every damaged copy stays under a name of its own, and the log says which.
TEST(BufferFile, KeepBadFileKeepsEveryDamagedCopy)
{
    TLogWatch watch;
    const char* copies[][2] = {{"first", "old.dat.bad"}, {"second", "old.dat.bad1"}, {"third", "old.dat.bad2"}};
    for (const auto& copy : copies) {
        ASSERT_TRUE(WriteWholeFile(UserFile("old.dat"), copy[0]));
        std::string kept;
        EXPECT_TRUE(KeepBadFile("user:old.dat", &kept));
        EXPECT_EQ(kept, UserFile(copy[1]));
        EXPECT_FALSE(PathExists(UserFile("old.dat")));
        EXPECT_TRUE(watch.Has("damaged file kept as " + UserFile(copy[1])));
    }
    for (const auto& copy : copies) EXPECT_EQ(ReadWholeFile(UserFile(copy[1])), copy[0]);
    EXPECT_FALSE(KeepBadFile("user:old.dat"));
    for (const auto& copy : copies) remove(UserFile(copy[1]).c_str());
}

namespace {

int RenameNoReplaceMissing(const char*, const char*)
{
    errno = EINVAL;
    return -1;
}

// What another copy of the game saves while a damaged file is being kept; empty: nothing.
std::string gSaveLandingWhileKeeping;
std::string gSaveLandingPath;

int LinkWhileAnotherSaveLands(const char* from, const char* to)
{
    const int result = link(from, to);
    if (result == 0 && !gSaveLandingWhileKeeping.empty()) {
        WriteWholeFile(gSaveLandingPath + ".landing", gSaveLandingWhileKeeping);
        rename((gSaveLandingPath + ".landing").c_str(), gSaveLandingPath.c_str());
        gSaveLandingWhileKeeping.clear();
    }
    return result;
}

bool FolderHasNameWith(const std::string& folder, const std::string& part)
{
    bool found = false;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) found = found || std::string(entry->d_name).find(part) != std::string::npos;
        closedir(dir);
    }
    return found;
}

}  // namespace

// Where the file system has no rename that refuses an existing target, damaged copies are
// still kept each under its own name, and a save that another copy of the game lands while
// one is being kept is never the file removed.
TEST(BufferFile, WithoutTheNoReplaceRenameKeepingRemovesNoOtherSave)
{
    TLogWatch watch;
    TKeepFileCalls calls;
    calls.mRenameNoReplace = RenameNoReplaceMissing;
    calls.mLink = LinkWhileAnotherSaveLands;
    SetKeepFileCalls(calls);
    gSaveLandingPath = UserFile("linked.dat");
    const struct {
        const char* damaged;
        const char* landing;  // "" when no save lands meanwhile
        const char* keptAs;
    } cases[] = {
        {"first", "", "linked.dat.bad"},
        {"second", "", "linked.dat.bad1"},
        {"third", "a fresh save", "linked.dat.bad2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damaged);
        ASSERT_TRUE(WriteWholeFile(UserFile("linked.dat"), c.damaged));
        gSaveLandingWhileKeeping = c.landing;
        std::string kept;
        EXPECT_TRUE(KeepBadFile("user:linked.dat", &kept));
        EXPECT_EQ(kept, UserFile(c.keptAs));
        EXPECT_EQ(ReadWholeFile(UserFile(c.keptAs)), c.damaged);
        EXPECT_TRUE(watch.Has("damaged file kept as " + UserFile(c.keptAs)));
        EXPECT_EQ(PathExists(UserFile("linked.dat")), *c.landing != 0);
        if (*c.landing) {
            EXPECT_EQ(ReadWholeFile(UserFile("linked.dat")), c.landing);
        }
    }
    SetKeepFileCalls(TKeepFileCalls());
    gSaveLandingWhileKeeping.clear();
    EXPECT_EQ(ReadWholeFile(UserFile("linked.dat.bad")), "first");
    EXPECT_EQ(ReadWholeFile(UserFile("linked.dat.bad1")), "second");
    EXPECT_FALSE(FolderHasNameWith(GetSystem()->UserFolder(), "linked.dat.keep"));
    for (const char* name : {"linked.dat", "linked.dat.bad", "linked.dat.bad1", "linked.dat.bad2"})
        remove(UserFile(name).c_str());
}

// Once every numbered name is taken the damaged file cannot be kept: it stays where it is,
// every save of its name answers false with a line, and saving works again once the file
// is kept after all. With the no-replace rename and without it.
TEST(BufferFile, DamagedFileThatCannotBeKeptIsNeverSavedOver)
{
    for (bool renameMissing : {false, true}) {
        SCOPED_TRACE(renameMissing ? "without the no-replace rename" : "with the no-replace rename");
        TLogWatch watch;
        TKeepFileCalls calls;
        if (renameMissing) calls.mRenameNoReplace = RenameNoReplaceMissing;
        SetKeepFileCalls(calls);
        const std::string real = UserFile("full.dat");
        ASSERT_TRUE(WriteWholeFile(real, "damaged"));
        for (int n = 0; n < 1000; ++n)
            ASSERT_TRUE(WriteWholeFile(real + ".bad" + (n == 0 ? std::string() : std::to_string(n)), "older"));
        EXPECT_FALSE(KeepBadFile("user:full.dat"));
        EXPECT_TRUE(watch.Has("damaged file " + real +
                              " not kept: 1000 damaged copies are there already; it is not saved over"));
        TBufferBin defaults;
        defaults.WriteByte(1);
        for (int attempt = 0; attempt < 2; ++attempt) EXPECT_FALSE(defaults.SaveToFile("user:full.dat", true, 0));
        EXPECT_EQ(watch.Count("cannot save " + real + ": the damaged file there could not be kept"), 2u);
        EXPECT_EQ(ReadWholeFile(real), "damaged");
        EXPECT_FALSE(FolderHasNameWith(GetSystem()->UserFolder(), "full.dat.keep"));
        EXPECT_FALSE(HasTemporaryFile(GetSystem()->UserFolder()));

        remove((real + ".bad500").c_str());
        std::string kept;
        EXPECT_TRUE(KeepBadFile("user:full.dat", &kept));
        EXPECT_EQ(kept, real + ".bad500");
        EXPECT_TRUE(defaults.SaveToFile("user:full.dat", true, 0));
        EXPECT_EQ(ReadWholeFile(real + ".bad500"), "damaged");
        SetKeepFileCalls(TKeepFileCalls());
        remove(real.c_str());
        for (int n = 0; n < 1000; ++n) remove((real + ".bad" + (n == 0 ? std::string() : std::to_string(n))).c_str());
    }
}

// A save is created as any program creates a file: 0666 less the umask.
TEST(BufferFile, SavesTakeTheirModeFromTheUmask)
{
    const struct { mode_t umask; mode_t mode; } cases[] = {{022, 0644}, {077, 0600}, {002, 0664}};
    for (const auto& c : cases) {
        remove(UserFile("mode.dat").c_str());
        TBufferBin buffer;
        buffer.WriteByte(1);
        const mode_t old = umask(c.umask);
        const bool saved = buffer.SaveToFile("user:mode.dat", true, 0);
        umask(old);
        ASSERT_TRUE(saved);
        struct stat st;
        ASSERT_EQ(stat(UserFile("mode.dat").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, c.mode) << "umask " << std::oct << c.umask;
    }
    remove(UserFile("mode.dat").c_str());
}

// The disk "fills up" at 4 KB: the save fails and the previous file survives whole.
TEST(BufferFile, FailedSaveKeepsThePreviousFile)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TBufferBin small;
        small.WriteString("first");
        if (!small.SaveToFile("user:safe.dat", true, 0)) _exit(10);
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(11);
        TBufferBin big;
        for (int i = 0; i < 10 * 1024; ++i) big.WriteByte(i);
        if (big.SaveToFile("user:safe.dat", true, 0)) _exit(12);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    TBufferBin loaded;
    ASSERT_TRUE(loaded.LoadFromFile("user:safe.dat", true, 0));
    std::string text;
    loaded.ReadString(text);
    EXPECT_EQ(text, "first");
    EXPECT_FALSE(HasTemporaryFile(GetSystem()->UserFolder()));
}

// Two copies of the game saving one file, each its own size, while a third loads it as the
// settings loader does and sets a damaged file aside: every save lands whole, every load
// reads one of them whole and nothing is taken for damaged. BRISALO_STRESS_SECONDS runs it
// longer.
TEST(BufferFile, ConcurrentSavesOfOneFileAllSucceedAndReadersSeeWholeFiles)
{
    const char* seconds = getenv("BRISALO_STRESS_SECONDS");
    const double kSeconds = seconds ? atof(seconds) : 2.0;
    const size_t kSizes[] = {3000, 1200};
    struct TCounts {
        int rounds = 0;
        int failures = 0;
        int movedAside = 0;
    };
    auto run = [&](int role) -> TCounts {
        auto start = std::chrono::steady_clock::now();
        TCounts counts;
        for (; std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < kSeconds;
             ++counts.rounds) {
            if (role < 2) {
                TBufferBin buffer;
                for (size_t i = 0; i < kSizes[role]; ++i) buffer.WriteByte(static_cast<int>(role * 101 + counts.rounds + i));
                if (!buffer.SaveToFile("user:shared.dat", true, 0)) ++counts.failures;
            } else {
                TBufferBin buffer;
                if (!buffer.LoadFromFile("user:shared.dat", true, 0)) {
                    ++counts.failures;
                    if (buffer.HasError() && KeepBadFile("user:shared.dat")) ++counts.movedAside;
                } else if (buffer.Size() != kSizes[0] && buffer.Size() != kSizes[1]) {
                    ++counts.failures;
                }
            }
        }
        return counts;
    };
    TBufferBin first;
    first.WriteBlock(Bytes(kSizes[0] - 4, 7));
    ASSERT_TRUE(first.SaveToFile("user:shared.dat", true, 0));
    std::vector<pid_t> children;
    std::vector<int> pipes;
    for (int role = 0; role < 3; ++role) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(fds[0]);
            TCounts counts = run(role);
            bool sent = write(fds[1], &counts, sizeof(counts)) == static_cast<ssize_t>(sizeof(counts));
            _exit(sent ? 0 : 1);
        }
        close(fds[1]);
        children.push_back(child);
        pipes.push_back(fds[0]);
    }
    const char* roles[] = {"first writer", "second writer", "reader"};
    for (size_t i = 0; i < children.size(); ++i) {
        TCounts counts;
        const bool read = ::read(pipes[i], &counts, sizeof(counts)) == static_cast<ssize_t>(sizeof(counts));
        close(pipes[i]);
        int status = 0;
        ASSERT_EQ(waitpid(children[i], &status, 0), children[i]);
        ASSERT_TRUE(read && WIFEXITED(status) && WEXITSTATUS(status) == 0) << roles[i];
        printf("%s: %d rounds, %d failed, %d moved aside\n", roles[i], counts.rounds, counts.failures, counts.movedAside);
        EXPECT_GT(counts.rounds, 0) << roles[i];
        EXPECT_EQ(counts.failures, 0) << roles[i];
        EXPECT_EQ(counts.movedAside, 0) << roles[i];
    }
    EXPECT_FALSE(HasTemporaryFile(GetSystem()->UserFolder()));
    EXPECT_FALSE(PathExists(UserFile("shared.dat.bad")));
}

// A temporary whose game no longer runs goes with the next save of its file; one of a
// running game, and those of other files, stay.
TEST(BufferFile, SaveRemovesTemporariesOfGamesThatNoLongerRun)
{
    pid_t dead = fork();
    ASSERT_GE(dead, 0);
    if (dead == 0) _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    const std::string stale = "stale.dat.tmp." + std::to_string(dead) + ".AbCdEf";
    const std::string running = "stale.dat.tmp." + std::to_string(getppid()) + ".AbCdEf";
    const std::string other = "other.dat.tmp." + std::to_string(dead) + ".AbCdEf";
    for (const std::string& name : {stale, running, other}) ASSERT_TRUE(WriteWholeFile(UserFile(name), "half"));
    TBufferBin buffer;
    buffer.WriteByte(1);
    ASSERT_TRUE(buffer.SaveToFile("user:stale.dat", true, 0));
    EXPECT_FALSE(PathExists(UserFile(stale)));
    EXPECT_TRUE(PathExists(UserFile(running)));
    EXPECT_TRUE(PathExists(UserFile(other)));
    for (const std::string& name : {running, other}) remove(UserFile(name).c_str());
}

TEST(BufferFile, EveryFuzzSeedLoadsWithItsChecksum)
{
    const std::string folder = "../fuzz/seeds/buffer";
    DIR* dir = opendir((std::string(BRISALO_TEST_DATA) + "/" + folder).c_str());
    ASSERT_NE(dir, nullptr);
    int seeds = 0;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".bin") != 0) continue;
        SCOPED_TRACE(name);
        ++seeds;
        std::string path = UserCopyOfTestData(folder + "/" + name);
        std::string bytes = ReadWholeFile(UserFile(name));
        ASSERT_GE(bytes.size(), 4u);
        uint32_t stored = 0;
        memcpy(&stored, bytes.data(), 4);
        EXPECT_EQ(SlowCrc(bytes.substr(4)), stored);
        TBufferBin buffer;
        EXPECT_TRUE(buffer.LoadFromFile(path, true, 0));
        EXPECT_EQ(buffer.Size(), bytes.size() - 4);
    }
    closedir(dir);
    EXPECT_GE(seeds, 10);
}
