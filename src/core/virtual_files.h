// Virtual paths: "user:" files live in the player's folder, everything else under assets/.
// TFile is the one way data and save files are opened and read.
#pragma once
#include <cstdio>
#include <string>

#include "core/counted_ptr.h"

// A "user:" path maps to "" (with a log line) once the platform object is gone.
std::string MapPath(const std::string& path);
bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
// A real (already mapped) path that names a folder.
bool IsFolder(const std::string& path);

// The two C library calls behind TFile, replaceable: tests make an open or a read fail as
// a full process table or a failing disk does. Null members restore the C library's own.
struct TFileCalls {
    FILE* (*mOpen)(const char* path, const char* mode) = nullptr;
    size_t (*mRead)(void* buffer, size_t size, size_t count, FILE* stream) = nullptr;
};
void SetFileCalls(const TFileCalls& calls);

class TFile {
public:
    TFile() = default;
    TFile(const std::string& path, const char* mode);
    TFile(const TFile& other);
    TFile& operator=(const TFile& other);
    ~TFile() { Close(); }

    bool Open(const std::string& path, bool write);
    bool IsOpen() const { return mHandle != nullptr; }
    long Size() const;
    int Read(void* buffer, size_t n);  // 1 when all n bytes were read, else 0: callers count blocks
    void Close();

    FILE* Handle() const { return mHandle; }
    const std::string& Path() const { return mPath; }
    bool IsWrite() const { return mWrite; }

private:
    FILE* mHandle = nullptr;
    CountedHandle<int> mShareCount;  // copies share one stream; the last Close closes it
    std::string mPath;
    bool mWrite = false;
};
