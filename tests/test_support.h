// Shared helpers of the tests: temporary folders, whole files, and the running game.
#pragma once
#include <string>
#include <vector>

#include <SDL.h>

#include "ui/mouse_event.h"

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
// "E8 03 00 00" -> the four bytes; blanks and line ends between the pairs are ignored.
std::string HexBytes(const char* hex);
// The bytes as "E8 03 00 00", for readable failures.
std::string ToHex(const std::string& bytes);
// The file form of a checksummed save: the CRC-32 (seed 0) of the body, then the body.
std::string WithCrc(const std::string& body);
// Replaces both stage lists with stages of these level counts.
void FillStageLists(const std::vector<int>& stages, const std::vector<int>& stagesUsual);

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

// What the game's shutdown closes for good (log, texts, messages, room factory, sound, the
// platform object, the application state) comes back, so the next case of the same process
// starts as the first one did.
void ReopenWhatTheShutdownClosed();

// Copies a file of tests/data into the user folder; its "user:" path (the game's readers
// take virtual paths only).
std::string UserCopyOfTestData(const std::string& relative);

// The colour of one pixel of an image file (x or y -1: the middle); all zero when it cannot be read.
SDL_Color FilePixel(const std::string& path, int x, int y);

// A pointer event at (x, y) in both the widget's and the screen's coordinates.
TMouseEvent PointerAt(int x, int y, int buttons);
