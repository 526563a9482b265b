// Shared helpers of the tests: temporary folders, whole files, and the running game.
#pragma once
#include <string>
#include <vector>

class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    const std::string& Path() const { return mPath; }
    std::string operator/(const std::string& name) const { return mPath + "/" + name; }

private:
    std::string mPath;
};

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);

// Points the game's user folder at a fresh temporary folder for the life of the object.
class TUserFolderScope {
public:
    TUserFolderScope();
    ~TUserFolderScope();
    const std::string& DataHome() const { return mDir.Path(); }
    std::string UserFolder() const { return mDir.Path() + "/Korvel Games/Brisalo5"; }

private:
    TTempDir mDir;
    std::string mOldXdg;
    bool mHadXdg = false;
};

// Copies a file of tests/data into the user folder; its "user:" path (the game's readers
// take virtual paths only).
std::string UserCopyOfTestData(const std::string& relative);
