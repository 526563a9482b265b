#include "core/buffer.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/logger.h"
#include "core/virtual_files.h"

namespace {

const uint32_t kCrcPolynomial = 0x04C11DB7u;

struct TCrcTable {
    uint32_t mEntries[256];
    TCrcTable()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t v = i << 24;
            for (int bit = 0; bit < 8; ++bit) v = (v & 0x80000000u) ? (v << 1) ^ kCrcPolynomial : v << 1;
            mEntries[i] = v;
        }
    }
};

const TCrcTable& CrcTable()
{
    static const TCrcTable table;
    return table;
}

// write() until everything is out; false on any error (a full disk, a file size limit).
bool WriteAll(int fd, const uint8_t* data, size_t length)
{
    while (length > 0) {
        ssize_t n = write(fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// Temporaries are "<target>.tmp.<pid>.XXXXXX": one that a killed game left behind is removed
// by the next save of the same file, once its process no longer runs.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string prefix = target.substr(target.rfind('/') + 1) + ".tmp.";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        char* end = nullptr;
        long pid = strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || pid > INT32_MAX || *end != '.') continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
}

const int kMaxBadCopies = 1000;

TKeepFileCalls gKeepFileCalls;

int RenameWithoutReplacing(const char* from, const char* to)
{
    if (gKeepFileCalls.mRenameNoReplace) return gKeepFileCalls.mRenameNoReplace(from, to);
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int LinkForKeeping(const char* from, const char* to)
{
    return gKeepFileCalls.mLink ? gKeepFileCalls.mLink(from, to) : link(from, to);
}

// The name a damaged file is kept under: "<path>.bad", then "<path>.bad1", ...
std::string BadCopyName(const std::string& real, int number)
{
    return real + ".bad" + (number == 0 ? std::string() : std::to_string(number));
}

// Damaged files that could not be kept, by real path: no save replaces one while it is
// still there, so it is never lost to the defaults written after it.
struct TUnkeptFile {
    dev_t mDevice;
    ino_t mInode;
};

std::map<std::string, TUnkeptFile>& UnkeptFiles()
{
    static std::map<std::string, TUnkeptFile> files;
    return files;
}

bool IsUnkeptDamagedFile(const std::string& real)
{
    std::map<std::string, TUnkeptFile>& files = UnkeptFiles();
    auto found = files.find(real);
    if (found == files.end()) return false;
    struct stat st;
    if (stat(real.c_str(), &st) == 0 && st.st_dev == found->second.mDevice && st.st_ino == found->second.mInode)
        return true;
    // Removed, or replaced by another copy of the game: nothing of it is left to protect.
    files.erase(found);
    return false;
}

// A new "<target>.<tag>.<pid>.<six characters>", opened for writing. Created with mode 0666
// as any program creates a file, so the user's umask decides who may read the save.
int CreateUniqueFile(const std::string& target, const char* tag, std::string& name)
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static uint32_t counter = 0;
    const std::string prefix = target + "." + tag + "." + std::to_string(getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        uint32_t bits = static_cast<uint32_t>(now.tv_nsec) ^ (++counter * 2654435761u);
        std::string suffix;
        for (int i = 0; i < 6; ++i, bits /= 62) suffix.push_back(kChars[bits % 62]);
        name = prefix + suffix;
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

int CreateTemporary(const std::string& target, std::string& name) { return CreateUniqueFile(target, "tmp", name); }

// Keeps the damaged file under the first free "<real>.badN" where the file system has no
// rename that refuses an existing target. The file first leaves its name for one of our own,
// in one step: a save that another copy of the game puts under the old name afterwards is
// never the file removed. A hard link then makes the kept name, refusing an existing one;
// without hard links the name of our own keeps it (not ".tmp": no later save removes it).
bool KeepByLinking(const std::string& real, std::string& kept)
{
    std::string own;
    int fd = CreateUniqueFile(real, "keep", own);
    if (fd < 0) return false;
    close(fd);
    if (rename(real.c_str(), own.c_str()) != 0) {
        const int renameErrno = errno;
        unlink(own.c_str());
        errno = renameErrno;
        return false;
    }
    for (int number = 0; number < kMaxBadCopies; ++number) {
        kept = BadCopyName(real, number);
        if (LinkForKeeping(own.c_str(), kept.c_str()) == 0) {
            unlink(own.c_str());
            return true;
        }
        if (errno != EEXIST) break;
    }
    kept = own;
    if (errno != EEXIST) return true;
    // Every numbered name is taken: back under its name, where no save replaces it, unless
    // another save has taken the name meanwhile.
    if (link(own.c_str(), real.c_str()) != 0) return true;
    unlink(own.c_str());
    errno = EEXIST;
    return false;
}

void SyncFolderOf(const std::string& path)
{
    std::string folder = FolderOf(path);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

uint32_t Crc32Update(uint32_t crc, const uint8_t* data, size_t length)
{
    const uint32_t* table = CrcTable().mEntries;
    for (size_t i = 0; i < length; ++i) crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

bool TBaseBuffer::SaveToFile(const std::string&, bool, uint32_t) { return false; }

bool TBaseBuffer::LoadFromFile(const std::string&, bool, uint32_t) { return false; }

void TBaseBuffer::Clear()
{
    mBytes.clear();
    mHighWater = 0;
    mReadPos = 0;
    mWritePos = 0;
}

void TBaseBuffer::WriteByte(int value)
{
    mBytes.push_back(static_cast<uint8_t>(value & 0xFF));
    mWritePos = mBytes.size();
    if (mWritePos > mHighWater) mHighWater = mWritePos;
}

int TBaseBuffer::ReadByte()
{
    if (mReadPos >= mBytes.size()) return 0;
    return mBytes[mReadPos++];
}

void TBaseBuffer::WriteBuffer(const TBaseBuffer& other)
{
    WriteBlock(other.mBytes);
    WriteInt32(static_cast<int32_t>(other.Checksum(0)));
}

void TBaseBuffer::ReadBuffer(TBaseBuffer& other)
{
    ReadBlock(other.mBytes);
    for (int i = 0; i < 4; ++i) ReadByte();
}

uint32_t TBaseBuffer::Checksum(uint32_t seed) const
{
    if (mBytes.empty()) return 0;
    return Crc32Update(seed, mBytes.data(), mBytes.size());
}

void TBaseBuffer::WriteInt32(int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) WriteByte(static_cast<int>((v >> shift) & 0xFF));
}

int32_t TBaseBuffer::ReadInt32()
{
    uint32_t v = 0;
    for (int shift = 0; shift < 32; shift += 8) v |= static_cast<uint32_t>(ReadByte()) << shift;
    return static_cast<int32_t>(v);
}

void TBaseBuffer::WriteInt16(int32_t value)
{
    WriteByte(value & 0xFF);
    WriteByte((value >> 8) & 0xFF);
}

int16_t TBaseBuffer::ReadInt16()
{
    int low = ReadByte();
    int high = ReadByte();
    return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

void TBaseBuffer::WriteMilli(float value)
{
    // Computed in float: 0.7 is stored as 700, not 699.
    float product = value * 1000.0f;
    int32_t stored;
    if (std::isnan(product)) {
        stored = 0;
    } else if (product >= 2147483647.0f) {
        stored = INT32_MAX;
    } else if (product <= -2147483648.0f) {
        stored = INT32_MIN;
    } else {
        stored = static_cast<int32_t>(product);
    }
    WriteInt32(stored);
}

float TBaseBuffer::ReadMilli()
{
    return static_cast<float>(ReadInt32() / 1000.0);
}

void TBaseBuffer::WriteString(const std::string& text)
{
    size_t n = text.size();
    WriteByte(static_cast<int>(n & 0xFF));
    WriteByte(static_cast<int>((n >> 8) & 0xFF));
    for (char c : text) WriteByte(static_cast<unsigned char>(c));
}

void TBaseBuffer::ReadString(std::string& out)
{
    out.clear();
    int low = ReadByte();
    int high = ReadByte();
    if (high & 0x80) return;
    int n = low | (high << 8);
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) out.push_back(static_cast<char>(ReadByte()));
}

std::string TBaseBuffer::ReadStringValue()
{
    std::string text;
    ReadString(text);
    return text;
}

void TBaseBuffer::WriteBlock(const std::vector<uint8_t>& bytes)
{
    WriteBlock(bytes.data(), bytes.size());
}

void TBaseBuffer::WriteBlock(const uint8_t* bytes, size_t length)
{
    WriteInt32(static_cast<int32_t>(length));
    for (size_t i = 0; i < length; ++i) WriteByte(bytes[i]);
}

void TBaseBuffer::ReadBlock(std::vector<uint8_t>& out)
{
    out.clear();
    int32_t n = ReadInt32();
    // A length from a damaged file never decides an allocation: only what is there is taken.
    if (n <= 0 || mReadPos >= mBytes.size()) return;
    size_t take = std::min(static_cast<size_t>(n), mBytes.size() - mReadPos);
    out.assign(mBytes.begin() + static_cast<std::ptrdiff_t>(mReadPos),
               mBytes.begin() + static_cast<std::ptrdiff_t>(mReadPos + take));
    mReadPos += take;
}

bool TBufferBin::SaveToFile(const std::string& path, bool withChecksum, uint32_t seed)
{
    std::string target = MapPath(path);
    TLogger* log = GetLogger();
    if (target.empty()) {
        log->LogMessage("cannot save %s: %s", path.c_str(), "no folder for it");
        return false;
    }

    // One write of the whole file: it runs after every paint stroke.
    std::vector<uint8_t> file;
    size_t count = std::min(mHighWater, mBytes.size());
    file.reserve(count + 4);
    if (withChecksum) {
        uint32_t crc = Checksum(seed);
        for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<uint8_t>((crc >> shift) & 0xFF));
    }
    file.insert(file.end(), mBytes.begin(), mBytes.begin() + static_cast<std::ptrdiff_t>(count));

    if (IsUnkeptDamagedFile(target)) {
        log->LogMessage("cannot save %s: the damaged file there could not be kept", target.c_str());
        return false;
    }

    // A name of its own for every save: two running copies of the game may save the same
    // file at once. Beside the target, so the rename stays within one file system.
    RemoveStaleTemporaries(target);
    std::string temp;
    int fd = CreateTemporary(target, temp);
    if (fd < 0) {
        log->LogMessage("cannot save %s: %s", target.c_str(), strerror(errno));
        return false;
    }
    struct stat st;
    bool ok = WriteAll(fd, file.data(), file.size()) && fsync(fd) == 0 && fstat(fd, &st) == 0 &&
              st.st_size == static_cast<off_t>(file.size());
    int savedErrno = errno;
    if (close(fd) != 0) ok = false;
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        log->LogMessage("cannot save %s: %s", target.c_str(), strerror(savedErrno));
        return false;
    }
    SyncFolderOf(target);
    return true;
}

bool TBufferBin::LoadFromFile(const std::string& path, bool withChecksum, uint32_t seed)
{
    Clear();
    TFile file;
    if (!file.Open(path, false)) return false;
    return LoadFromOpenFile(file, withChecksum, seed);
}

bool TBufferBin::LoadFromOpenFile(TFile& file, bool withChecksum, uint32_t seed)
{
    Clear();
    if (!file.IsOpen()) return false;
    long size = file.Size();
    uint8_t header[4] = {0, 0, 0, 0};
    if (withChecksum) size -= 4;
    bool ok = size >= 0 && (!withChecksum || file.Read(header, 4) == 1);
    std::vector<uint8_t> data;
    if (ok && size > 0) {
        data.resize(static_cast<size_t>(size));
        ok = file.Read(data.data(), data.size()) == 1;
    }
    file.Close();
    if (!ok) {
        Clear();
        mError = true;
        return false;
    }
    for (uint8_t b : data) WriteByte(b);
    if (withChecksum) {
        uint32_t stored = static_cast<uint32_t>(header[0]) | static_cast<uint32_t>(header[1]) << 8 |
                          static_cast<uint32_t>(header[2]) << 16 | static_cast<uint32_t>(header[3]) << 24;
        if (Checksum(seed) != stored) {
            Clear();
            mError = true;
            return false;
        }
    }
    mError = false;
    return true;
}

void SetKeepFileCalls(const TKeepFileCalls& calls) { gKeepFileCalls = calls; }

bool KeepBadFile(const std::string& path, std::string* keptAs)
{
    const std::string real = MapPath(path);
    struct stat damaged;
    if (real.empty() || stat(real.c_str(), &damaged) != 0) return false;
    // Each damaged copy may be the only record left of the players' names: a later one
    // takes the next free number and never replaces an earlier one, not even when two
    // copies of the game set their damaged files aside at once.
    std::string bad;
    bool kept = false;
    bool renameMissing = false;
    for (int number = 0; number < kMaxBadCopies; ++number) {
        bad = BadCopyName(real, number);
        if (RenameWithoutReplacing(real.c_str(), bad.c_str()) == 0) {
            kept = true;
            break;
        }
        if (errno == EINVAL || errno == ENOSYS) {
            renameMissing = true;
            break;
        }
        if (errno != EEXIST) break;
    }
    if (renameMissing) kept = KeepByLinking(real, bad);
    if (kept) {
        GetLogger()->LogMessage("damaged file kept as %s", bad.c_str());
        if (keptAs) *keptAs = bad;
        return true;
    }
    if (errno == ENOENT) return false;  // gone meanwhile: nothing to keep
    UnkeptFiles()[real] = TUnkeptFile{damaged.st_dev, damaged.st_ino};
    if (errno == EEXIST)
        GetLogger()->LogMessage("damaged file %s not kept: %d damaged copies are there already; it is not saved over",
                                real.c_str(), kMaxBadCopies);
    else
        GetLogger()->LogMessage("damaged file %s not kept: %s; it is not saved over", real.c_str(), strerror(errno));
    return false;
}
