// Shared by the picture and board benchmarks: a fresh player folder under /tmp with its
// "bench" progress folder, the assets beside the executable, and a 1366 x 768 software
// renderer as the game's render device, drawing into *frame (the caller frees it after the
// renderer). Answers null when any of it cannot be made.
#pragma once
#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/system.h"

// The player folder (an existing one: a bench's own child processes share their parent's)
// and its "bench" progress folder, and the working folder.
inline void UseBenchFolders(const char* data)
{
    setenv("XDG_DATA_HOME", data, 1);
    SetExeDirAsCurrent();  // assets/ lies beside the executable
    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    sys->MakeUserFolders();
    mkdir((sys->UserFolder() + "/bench").c_str(), 0755);
    GetLogger()->SetSdlOutput(false);
}

// The same in a new temporary folder; false when it cannot be made.
inline bool StartBenchFolders(char* dataTemplate)
{
    if (!mkdtemp(dataTemplate)) return false;
    UseBenchFolders(dataTemplate);
    return true;
}

inline SDL_Renderer* StartBenchPlayer(char* dataTemplate, SDL_Surface** frame)
{
    if (!StartBenchFolders(dataTemplate)) return nullptr;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
    IMG_Init(IMG_INIT_PNG);
    *frame = SDL_CreateRGBSurfaceWithFormat(0, 1366, 768, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = *frame ? SDL_CreateSoftwareRenderer(*frame) : nullptr;
    if (!renderer) return nullptr;
    TAppState& app = GetAppState();
    app.mRenderDevice.reset(new TRenderDevice());
    app.mRenderDevice->mRenderer = renderer;
    return renderer;
}
