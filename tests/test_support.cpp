#include "test_support.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL_image.h>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/messages.h"
#include "core/system.h"
#include "game/stages.h"
#include "rooms/room_factory.h"
#include "sound/sound_manager.h"

TTempDir::TTempDir()
{
    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/brisalo-test-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data())) mPath = buf.data();
}

TTempDir::~TTempDir()
{
    if (!mPath.empty()) {
        std::string cmd = "rm -rf '" + mPath + "'";
        if (system(cmd.c_str()) != 0) fprintf(stderr, "cannot remove %s\n", mPath.c_str());
    }
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool PathExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TUserFolderScope::TUserFolderScope()
{
    if (const char* old = getenv("XDG_DATA_HOME")) {
        mHadXdg = true;
        mOldXdg = old;
    }
    setenv("XDG_DATA_HOME", mDir.Path().c_str(), 1);
    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    sys->MakeUserFolders();
}

namespace {

// Whether this process holds a "log.txt" open below the folder, even one removed since.
bool HasOpenLogUnder(const std::string& folder)
{
    bool found = false;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(fds)) {
            char target[4096];
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            const ssize_t n = readlink(link.c_str(), target, sizeof(target) - 1);
            if (n <= 0) continue;
            const std::string path(target, static_cast<size_t>(n));
            found = found || (path.compare(0, folder.size() + 1, folder + "/") == 0 &&
                              path.find("/log.txt") != std::string::npos);
        }
        closedir(fds);
    }
    return found;
}

}  // namespace

TUserFolderScope::~TUserFolderScope()
{
    // A logger that opened its file in this folder would go on writing into it once it is
    // gone, and the tests after this one would watch a log that never grows: the next line
    // opens the log again in the folder that comes back.
    if (HasOpenLogUnder(mDir.Path())) DestroyLogger();
    if (mHadXdg)
        setenv("XDG_DATA_HOME", mOldXdg.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

std::string UserCopyOfTestData(const std::string& relative)
{
    std::string name = relative.substr(relative.rfind('/') + 1);
    WriteWholeFile(GetSystem()->UserFolder() + "/" + name, ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/" + relative));
    return "user:" + name;
}

std::string HexBytes(const char* hex)
{
    std::string out;
    for (const char* p = hex; *p;) {
        if (isxdigit(static_cast<unsigned char>(p[0])) && isxdigit(static_cast<unsigned char>(p[1]))) {
            out.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
            p += 2;
        } else {
            ++p;
        }
    }
    return out;
}

std::string ToHex(const std::string& bytes)
{
    std::string out;
    char cell[4];
    for (unsigned char b : bytes) {
        snprintf(cell, sizeof(cell), "%02X ", b);
        out += cell;
    }
    return out;
}

void FillStageLists(const std::vector<int>& stages, const std::vector<int>& stagesUsual)
{
    ClearStages();
    for (int usual = 0; usual < 2; ++usual) {
        for (int levels : usual ? stagesUsual : stages) {
            auto stage = std::make_unique<TStage>();
            for (int i = 0; i < levels; ++i) stage->mLevels.push_back(std::make_unique<TLevelInfo>());
            EditStageList(usual == 1).push_back(std::move(stage));
        }
    }
}

std::string WithCrc(const std::string& body)
{
    uint32_t crc = Crc32Update(0, reinterpret_cast<const uint8_t*>(body.data()), body.size());
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((crc >> shift) & 0xFF));
    return out + body;
}

TMouseEvent PointerAt(int x, int y, int buttons)
{
    TMouseEvent e;
    e.mX = e.mScreenX = x;
    e.mY = e.mScreenY = y;
    e.mButtons = buttons;
    return e;
}

SDL_Color FilePixel(const std::string& path, int x, int y)
{
    SDL_Color c{0, 0, 0, 0};
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return c;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!s) return c;
    if (x == -1) x = s->w / 2;
    if (y == -1) y = s->h / 2;
    if (x >= 0 && y >= 0 && x < s->w && y < s->h) {
        uint32_t v = 0;
        memcpy(&v, static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 4, 4);
        c = SDL_Color{static_cast<Uint8>(v >> 16), static_cast<Uint8>(v >> 8), static_cast<Uint8>(v), 255};
    }
    SDL_FreeSurface(s);
    return c;
}

void ReopenWhatTheShutdownClosed()
{
    SetLoggerShutDown(false);
    SetLocalizationShutDown(false);
    SetMessageManagerShutDown(false);
    SetRoomFactoryShutDown(false);
    SetSystemShutDown(false);
    ResetAppState();
    RearmSoundManagerForTests();
    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    GetLogger()->SetSdlOutput(false);
}
