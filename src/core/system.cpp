#include "core/system.h"

#include <SDL.h>
#include <SDL_image.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/logger.h"
#include "core/virtual_files.h"

namespace {
TSystem* gSystem = nullptr;
bool gSystemShutDown = false;
}

TSystem::TSystem() { gSystem = this; }

TSystem::~TSystem()
{
    if (gSystem == this) gSystem = nullptr;
}

TSystem* GetSystem()
{
    if (!gSystem && !gSystemShutDown) new TSystem();
    return gSystem;
}

void DestroySystem()
{
    delete gSystem;
    gSystem = nullptr;
}

void SetSystemShutDown(bool down) { gSystemShutDown = down; }

namespace {
// "/", "//", "/." or a link to it: a home there would put the user folder straight under
// the root.
bool IsRootFolder(const char* path)
{
    struct stat folder, root;
    return stat(path, &folder) == 0 && stat("/", &root) == 0 && folder.st_dev == root.st_dev &&
           folder.st_ino == root.st_ino;
}

// HOME, else the password database's entry of this user; "" when neither names a folder.
// Containers give users without an entry the root as their home: that is no home either.
std::string HomeFolder()
{
    const char* home = getenv("HOME");
    if (home && home[0] == '/') return IsRootFolder(home) ? std::string() : home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry;
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (found && found->pw_dir && found->pw_dir[0] == '/' && !IsRootFolder(found->pw_dir)) return found->pw_dir;
    return std::string();
}
}  // namespace

std::string GetAppDataFolder()
{
    // A relative value is ignored, as the XDG base directory rules say.
    const char* xdg = getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.local/share";
}

// Without a data folder there is no user folder at all: never one under the root.
std::string TSystem::CompanyFolder() const
{
    const std::string data = GetAppDataFolder();
    return data.empty() ? std::string() : data + "/" + mCompanyFolderName;
}

std::string TSystem::UserFolder() const
{
    const std::string company = CompanyFolder();
    return company.empty() ? std::string() : company + "/" + mAppFolderName;
}

bool MakeFolders(const std::string& path)
{
    if (path.empty()) return false;
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') {
            std::string part = path.substr(0, pos);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    return IsFolder(path);
}

void TSystem::MakeUserFolders() const
{
    // Said once each time the home goes missing, not at every folder request.
    static bool said = false;
    if (CompanyFolder().empty()) {
        if (!said) GetLogger()->LogMessage("no home folder (HOME, XDG_DATA_HOME, password database): nothing is saved");
        said = true;
        return;
    }
    said = false;
    MakeFolders(CompanyFolder());
    MakeFolders(UserFolder());
}

void TSystem::MakeUserSubFolder(const std::string& name) const
{
    MakeUserFolders();
    if (!UserFolder().empty()) MakeFolders(UserFolder() + "/" + name);
}

std::string GetExecutableFolder()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return std::string();
    std::string path(buf, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void SetExeDirAsCurrent()
{
    std::string folder = GetExecutableFolder();
    if (!folder.empty() && chdir(folder.c_str()) != 0) return;
    if (TSystem* sys = GetSystem()) sys->mExeFolder = folder;
}

namespace {
TCursorCalls gCursorCalls;
}

void SetCursorCalls(const TCursorCalls& calls) { gCursorCalls = calls; }

SDL_Cursor* SetCursorImage(const std::string& name, int hotX, int hotY)
{
    std::string path = "assets/" + name;
    if (path.find('.') == std::string::npos) path += ".png";
    SDL_Surface* surface = FileExists(path) ? IMG_Load(path.c_str()) : nullptr;
    if (!surface) return nullptr;
    SDL_Cursor* cursor = gCursorCalls.mMake ? gCursorCalls.mMake(surface, hotX, hotY)
                                            : SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    SetCursorHandle(cursor);
    return cursor;
}

void SetCursorHandle(SDL_Cursor* cursor)
{
    if (!cursor) return;
    if (gCursorCalls.mSet)
        gCursorCalls.mSet(cursor);
    else
        SDL_SetCursor(cursor);
}

void FreeCursorHandle(SDL_Cursor* cursor)
{
    if (!cursor) return;
    if (gCursorCalls.mFree)
        gCursorCalls.mFree(cursor);
    else
        SDL_FreeCursor(cursor);
}

namespace {
TShellOpenHook gShellOpenHook = nullptr;
}

double MonotonicMs()
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return -1.0;
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

void SetShellOpenHook(TShellOpenHook hook) { gShellOpenHook = hook; }

void ShellOpen(const std::string& text)
{
    // An empty address opens nothing: the browser is not asked.
    if (text.empty()) return;
    if (gShellOpenHook) {
        gShellOpenHook(text);
        return;
    }
    SDL_OpenURL(text.c_str());
}

void SetKeepAwake(bool awake)
{
    if (awake)
        SDL_DisableScreenSaver();
    else
        SDL_EnableScreenSaver();
}
