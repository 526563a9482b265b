// The platform object: where the executable and the player's folders are, and the few
// operating-system services the game asks for (colour cursor, web pages, keep-awake).
#pragma once
#include <string>

#include "core/display.h"

struct SDL_Window;

class TSystem {
public:
    TSystem();
    ~TSystem();

    std::string CompanyFolder() const;
    std::string UserFolder() const;
    void MakeUserFolders() const;
    void MakeUserSubFolder(const std::string& name) const;
    // Display modes and mode switching; they live in display.cpp with the rest of the display.
    void GetDisplayModes(TDisplayModeSet& modes) const;
    void SetDisplayMode(int width, int height, bool fullscreen);

    std::string mExeFolder;       // ends with '/'
    std::string mAppFolderName;
    std::string mCompanyFolderName;
    SDL_Window* mWindow = nullptr;
};

TSystem* GetSystem();
void DestroySystem();
// After shutdown the getter answers null instead of building a new platform object.
void SetSystemShutDown(bool down);

std::string GetAppDataFolder();
std::string GetExecutableFolder();
void SetExeDirAsCurrent();
// Makes an operating-system colour cursor from the image and sets it; the caller owns the
// answer (FreeCursorHandle) and sets it again with SetCursorHandle. Null when the image or
// the cursor cannot be made: the cursor on screen stays as it was.
SDL_Cursor* SetCursorImage(const std::string& name, int hotX, int hotY);
void SetCursorHandle(SDL_Cursor* cursor);
void FreeCursorHandle(SDL_Cursor* cursor);
// The three SDL cursor calls behind those, replaceable: SDL's dummy video driver makes no
// cursors, so tests count them through fakes. Null members restore SDL's own.
struct TCursorCalls {
    SDL_Cursor* (*mMake)(SDL_Surface* surface, int hotX, int hotY) = nullptr;
    void (*mSet)(SDL_Cursor* cursor) = nullptr;
    void (*mFree)(SDL_Cursor* cursor) = nullptr;
};
void SetCursorCalls(const TCursorCalls& calls);
// Opens a web page in the system browser; with a hook set, the hook takes the address instead.
void ShellOpen(const std::string& text);
using TShellOpenHook = void (*)(const std::string& text);
void SetShellOpenHook(TShellOpenHook hook);
// Milliseconds on the system's monotonic clock, which every process of the machine shares: a
// launcher's reading before the start and the program's own at its first frame make its
// start-up time (a process's start time in /proc can be seconds off).
double MonotonicMs();
// Creates every missing folder of the path; true when it exists afterwards.
bool MakeFolders(const std::string& path);
// Display sleep: true keeps the display awake, false lets it sleep as usual.
void SetKeepAwake(bool awake);
