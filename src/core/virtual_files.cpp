#include "core/virtual_files.h"

#include <sys/stat.h>

#include "core/logger.h"
#include "core/system.h"

namespace {
const char kUserPrefix[] = "user:";
TFileCalls gFileCalls;
}

void SetFileCalls(const TFileCalls& calls) { gFileCalls = calls; }

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string MapPath(const std::string& path)
{
    if (path.compare(0, 5, kUserPrefix) == 0) {
        TSystem* sys = GetSystem();
        if (!sys) {
            // After shutdown there is no user folder: a late save or log line must not land
            // in the file system's root. The logger may itself be opening its file here.
            static thread_local bool logging = false;
            if (!logging) {
                logging = true;
                GetLogger()->LogMessage("no user folder after shutdown for %s", path.c_str());
                logging = false;
            }
            return std::string();
        }
        // Without a home there is no user folder: the file is nowhere, and saving fails.
        const std::string folder = sys->UserFolder();
        return folder.empty() ? std::string() : folder + "/" + path.substr(5);
    }
    if (path.find("assets/") != std::string::npos) return path;
    return "assets/" + path;
}

bool FileExists(const std::string& path)
{
    TFile file;
    return file.Open(path, false);
}

bool RemoveFile(const std::string& path)
{
    remove(MapPath(path).c_str());
    return true;
}

TFile::TFile(const std::string& path, const char* mode)
{
    Open(path, !(mode && mode[0] == 'r'));
}

TFile::TFile(const TFile& other)
    : mHandle(other.mHandle), mShareCount(other.mShareCount), mPath(other.mPath), mWrite(other.mWrite)
{
}

TFile& TFile::operator=(const TFile& other)
{
    if (this != &other && mHandle != other.mHandle) {
        Close();
        mHandle = other.mHandle;
        mShareCount = other.mShareCount;
        mPath = other.mPath;
        mWrite = other.mWrite;
    }
    return *this;
}

bool TFile::Open(const std::string& path, bool write)
{
    Close();
    mWrite = write;
    std::string real = MapPath(path);
    // fopen of a folder succeeds for reading here; a folder is never a data file.
    if (real.empty() || IsFolder(real)) return false;
    const char* mode = write ? "wb" : "rb";
    mHandle = gFileCalls.mOpen ? gFileCalls.mOpen(real.c_str(), mode) : fopen(real.c_str(), mode);
    if (!mHandle) return false;
    mPath = real;
    mShareCount.Reset(new int(1));
    return true;
}

long TFile::Size() const
{
    if (!mHandle) return -1;
    // The open stream, never the name again: another copy of the game may rename a new
    // save into place between the two, and its size would be paired with our bytes.
    if (mWrite) fflush(mHandle);
    struct stat st;
    if (fstat(fileno(mHandle), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<long>(st.st_size);
}

int TFile::Read(void* buffer, size_t n)
{
    if (!mHandle) return -1;
    return static_cast<int>(gFileCalls.mRead ? gFileCalls.mRead(buffer, n, 1, mHandle) : fread(buffer, n, 1, mHandle));
}

void TFile::Close()
{
    if (mHandle) {
        // The handle's holder count is the number of TFiles sharing the stream.
        if (mShareCount.HolderCount() <= 1) fclose(mHandle);
    }
    mHandle = nullptr;
    mPath.clear();
    mShareCount.Release();
}
