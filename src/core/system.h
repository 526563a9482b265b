// The platform object: where the executable and the player's folders are, and the few
// operating-system services the game asks for (colour cursor, web pages, keep-awake).
#pragma once
#include <memory>
#include <string>

#include "core/display.h"

struct SDL_Window;
struct SDL_Cursor;

struct TSdlCursorDeleter {
    void operator()(SDL_Cursor* cursor) const;
};

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
    // The colour cursor in use; it goes with the platform object, before SDL quits.
    std::unique_ptr<SDL_Cursor, TSdlCursorDeleter> mColorCursor;
};

TSystem* GetSystem();
void DestroySystem();
// After shutdown the getter answers null instead of building a new platform object.
void SetSystemShutDown(bool down);

std::string GetAppDataFolder();
std::string GetExecutableFolder();
void SetExeDirAsCurrent();
void SetCursorImage(const std::string& name, int hotX, int hotY);
void ShellOpen(const std::string& text);
// Creates every missing folder of the path; true when it exists afterwards.
bool MakeFolders(const std::string& path);
// Display sleep: true keeps the display awake, false lets it sleep as usual.
void SetKeepAwake(bool awake);
