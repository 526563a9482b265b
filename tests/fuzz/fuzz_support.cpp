#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <SDL.h>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/system.h"
#include "core/virtual_files.h"

namespace {
std::string gDataHome;
SDL_Surface* gScreen = nullptr;
SDL_Renderer* gRenderer = nullptr;

void RemoveDataHome()
{
    if (gDataHome.empty()) return;
    std::string cmd = "rm -rf '" + gDataHome + "'";
    if (system(cmd.c_str()) != 0) fprintf(stderr, "cannot remove %s\n", gDataHome.c_str());
}
}  // namespace

void InitFuzzEnvironment()
{
    // The logger of a shut-down game has no file; its SDL copy is switched off as well.
    SetLoggerShutDown(true);
    GetLogger()->SetSdlOutput(false);

    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/brisalo-fuzz-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) abort();
    gDataHome = buf.data();
    atexit(RemoveDataHome);
    setenv("XDG_DATA_HOME", gDataHome.c_str(), 1);

    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    sys->MakeUserFolders();
}

std::string WriteUserFile(const std::string& name, const uint8_t* data, size_t size)
{
    std::string path = "user:" + name;
    FILE* f = fopen(MapPath(path).c_str(), "wb");
    if (!f) abort();
    if (size > 0 && fwrite(data, size, 1, f) != 1) abort();
    fclose(f);
    return path;
}

void InitFuzzRenderer(int width, int height)
{
    gScreen = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    gRenderer = gScreen ? SDL_CreateSoftwareRenderer(gScreen) : nullptr;
    if (!gRenderer) abort();
    TAppState& app = GetAppState();
    app.mRenderDevice.reset(new TRenderDevice());
    app.mRenderDevice->mRenderer = gRenderer;
    app.mScaleX = app.mScaleY = 1.0f;
}
