// What opening a page of the level map costs: every shipped page of both modes, with a
// player who has a progress file for every level, on the software renderer of a hidden
// dummy-driver window as the game makes it when acceleration is missing, each against a floor
// of the same work timed in the same run with no map, board or picture model around it: the
// pictures' progress files read, the pictures decoded and uploaded, and each preview drawn
// one tinted copy per cell, with plain SDL. Cold is the first opening in a new process (the
// heaviest page: the map's construction and showing; its floor also loads the map's
// background), in five rounds of such a process for either, and warm the page opened again
// and its floor run in seven rounds; either is judged by the median of its rounds' ratios,
// and everything is timed in the main thread's processor time. Each page also shows its first
// opening in the process and how much of a warm one is loading the pictures and rendering
// the previews; a page of eight 100 x 100 pictures is timed for information. `make bench`
// runs it; it exits 1 when the cold opening takes more than 2.0 x its floor or a warm one
// more than 4.0 x its own (a small page pays a fixed cost per board: the picture model's
// textures and log line).
#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_player.h"
#include "bench_rounds.h"
#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/system.h"
#include "core/xml_document.h"
#include "game/map_window.h"
#include "game/picture.h"
#include "game/stages.h"
#include "game/user_info.h"
#include "sound/sound_manager.h"
#include "ui/ui_info_holder.h"

namespace {

const double kColdBound = 2.0;
const double kWarmBound = 4.0;
const int kColdPairs = 5;
const int kWarmRounds = 7;
const int kWarmRuns = 5;
const char kUser[] = "bench";

struct TBenchSaver : TProfileSaver {
    bool SaveCurrentUser() override { return true; }
    std::string CurrentUserIdText() const override { return kUser; }
};

// Half the cells painted, every seventh of them wrong.
void WriteProgress(const std::string& picture)
{
    TPaintByNumber model;
    model.LoadPicture(1, picture, kUser);
    const int cells = model.GetColumnCount() * model.GetRowCount();
    int n = 0;
    for (int row = 0; row < model.GetRowCount(); ++row)
        for (int column = 0; column < model.GetColumnCount(); ++column, ++n) {
            if (n >= cells / 2) continue;
            TPaintByNumberItem* cell = model.GetCell(column, row);
            const int number = cell->GetNumber();
            cell->SetPainted(n % 7 == 3 && model.mColorCount > 1 ? (number + 1) % model.mColorCount : number);
        }
    if (cells > 0) model.SaveProgress(model.GetProgressPath());
}

struct TPage {
    int mode = 0;
    int stage = 0;
    int boards = 0;
    long cells = 0;
    double first = 0.0;  // the page's first opening in this process
    TRoundFigures warm;  // the page opened again against its floor
    double load = 0.0;
    double render = 0.0;
};

// The same loads and renders the map makes for the page, timed apart.
void Split(TPage* page)
{
    const TStage* stage = GetStage(page->stage, page->mode == 1);
    if (!stage) return;
    StaticImage preview;
    for (const auto& level : stage->mLevels) {
        TPaintByNumber model;
        page->load += BenchCpuMs([&] { model.LoadPicture(1, "textures/" + level->mFilename, kUser); });
        page->cells += static_cast<long>(model.GetColumnCount()) * model.GetRowCount();
        page->render += BenchCpuMs([&] { model.RenderToTexture(&preview, 200, 200); });
    }
}

// The floor of a page: its pictures' progress files read, the pictures decoded and uploaded
// once each, and each drawn into a 200 x 200 target one tinted copy of the 1 x 1 cell image
// per visible cell, as a flat preview is drawn, with plain SDL; with the background, the
// map's background image as well.
double FloorPageMs(int stage, bool usual, bool background)
{
    const TStage* record = GetStage(stage, usual);
    SDL_Renderer* renderer = GetRenderer();
    if (!record || !renderer) return -1.0;
    std::vector<SDL_Texture*> textures;
    auto upload = [&](const std::string& path) -> SDL_Surface* {
        SDL_Surface* surface = IMG_Load(path.c_str());
        if (surface) textures.push_back(SDL_CreateTextureFromSurface(renderer, surface));
        return surface;
    };
    const double start = BenchThreadCpuMs();
    if (background) SDL_FreeSurface(upload("assets/textures/gui/map/back.png"));
    SDL_FreeSurface(upload("assets/textures/scuare1white.png"));
    SDL_Texture* cell = textures.empty() ? nullptr : textures.back();
    std::vector<char> progress;
    for (const auto& level : record->mLevels) {
        // The player's progress file of the picture, read whole.
        const std::string name = level->mFilename.substr(level->mFilename.find_last_of('/') + 1);
        if (FILE* file = fopen((GetSystem()->UserFolder() + "/" + kUser + "/" + name.substr(0, name.rfind('.')) + ".dat").c_str(), "rb")) {
            progress.resize(1 << 20);
            progress.resize(fread(progress.data(), 1, progress.size(), file));
            fclose(file);
        }
        SDL_Surface* picture = upload("assets/textures/" + level->mFilename);
        SDL_Texture* target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 200, 200);
        if (!picture || !target || !cell) {
            SDL_FreeSurface(picture);
            if (target) SDL_DestroyTexture(target);
            continue;
        }
        textures.push_back(target);
        SDL_SetRenderTarget(renderer, target);
        SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
        SDL_RenderClear(renderer);
        const float scale = std::min(200.0f / static_cast<float>(picture->w), 200.0f / static_cast<float>(picture->h));
        const SDL_Palette* palette = picture->format->palette;
        SDL_LockSurface(picture);
        for (int y = 0; y < picture->h; ++y) {
            const auto* row = static_cast<const uint8_t*>(picture->pixels) + static_cast<size_t>(y) * picture->pitch;
            for (int x = 0; x < picture->w; ++x) {
                SDL_Color c{255, 255, 255, 255};
                if (palette && picture->format->BytesPerPixel == 1 && row[x] < palette->ncolors) c = palette->colors[row[x]];
                if (c.r == 255 && c.g == 255 && c.b == 255 && c.a == 255) continue;  // white cells are not drawn
                SDL_SetTextureColorMod(cell, c.r, c.g, c.b);
                const SDL_FRect dst{static_cast<float>(x) * scale, static_cast<float>(y) * scale, scale, scale};
                SDL_RenderCopyF(renderer, cell, nullptr, &dst);
            }
        }
        SDL_UnlockSurface(picture);
        SDL_SetRenderTarget(renderer, nullptr);
        SDL_FreeSurface(picture);
    }
    const double ms = BenchThreadCpuMs() - start;
    for (SDL_Texture* texture : textures)
        if (texture) SDL_DestroyTexture(texture);
    return ms;
}

// What the bench and its child processes share: the window and renderer, the interface and
// stages, the player's progress records (the files are written once, by the parent).
bool StartMapBench()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    IMG_Init(IMG_INIT_PNG);
    TAppState& app = GetAppState();
    app.mWindow = SDL_CreateWindow("map bench", 0, 0, 1366, 768, SDL_WINDOW_HIDDEN);
    if (!app.mWindow || !RecreateRenderer()) return false;
    if (TiXmlElement* root = LoadXmlDocument("ui/interface.xml")) GetInterfaceHolder()->Load(root);
    DeleteCurrentXmlDocument();
    LoadStages();
    TUserInfo* user = GetUserInfo();
    for (int mode = 0; mode < 2; ++mode) user->mProgress[mode].Reset(TotalLevelCount(GetStageList(mode == 1)));
    return true;
}

void StopMapBench()
{
    SetProfileSaver(nullptr);
    ReleaseStages();
    ReleaseSoundManager();
    DestroyRenderer();
    SDL_DestroyWindow(GetAppState().mWindow);
    GetAppState().mWindow = nullptr;
}

// The heaviest shipped page: mode 1's last stage.
int HeaviestStage() { return static_cast<int>(GetStageList(true).size()) - 1; }

// A child process: one cold opening of the heaviest page ("map") or of its floor ("floor").
int RunCold(const char* what, const char* data)
{
    UseBenchFolders(data);
    TBenchSaver saver;
    if (!StartMapBench()) return 2;
    SetProfileSaver(&saver);
    GetUserInfo()->mMode = 1;
    GetUserInfo()->mProgress[1].mStage = HeaviestStage();
    double ms = -1.0;
    if (strcmp(what, "map") == 0) {
        std::unique_ptr<TMapWindow> map;
        ms = BenchCpuMs([&] {
            map = std::make_unique<TMapWindow>();
            map->OnShown();
        });
    } else {
        ms = FloorPageMs(HeaviestStage(), true, true);
    }
    printf("%.3f\n", ms);
    StopMapBench();
    return ms >= 0.0 ? 0 : 1;
}

// Runs this program as a child for one cold figure; -1 when it failed.
double ColdInChild(const std::string& self, const char* what, const char* data)
{
    const std::string command = "'" + self + "' cold-" + what + " '" + data + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1.0;
    double ms = -1.0;
    if (fscanf(pipe, "%lf", &ms) != 1) ms = -1.0;
    return pclose(pipe) == 0 ? ms : -1.0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strncmp(argv[1], "cold-", 5) == 0) return RunCold(argv[1] + 5, argv[2]);

    char data[] = "/tmp/brisalo-map-bench-XXXXXX";
    if (!StartBenchFolders(data)) return 2;
    if (!StartMapBench()) return 2;
    TBenchSaver saver;
    SetProfileSaver(&saver);
    TUserInfo* user = GetUserInfo();
    for (int mode = 0; mode < 2; ++mode)
        for (const auto& stage : GetStageList(mode == 1))
            for (const auto& level : stage->mLevels) WriteProgress("textures/" + level->mFilename);

    std::vector<TPage> pages;
    for (int mode = 0; mode < 2; ++mode)
        for (size_t s = 0; s < GetStageList(mode == 1).size(); ++s) {
            TPage page;
            page.mode = mode;
            page.stage = static_cast<int>(s);
            page.boards = static_cast<int>(GetStageList(mode == 1)[s]->mLevels.size());
            pages.push_back(page);
        }
    if (pages.empty() || HeaviestStage() < 0) {
        printf("no shipped stages\n");
        return 1;
    }

    // Cold: in each round one new process opens the map and another runs its floor.
    char self[4096] = {};
    const ssize_t selfLength = readlink("/proc/self/exe", self, sizeof(self) - 1);
    const TRoundFigures cold = BenchRounds(
        selfLength > 0 ? kColdPairs : 0, [&] { return ColdInChild(self, "map", data); },
        [&] { return ColdInChild(self, "floor", data); });

    const int stages1 = HeaviestStage() + 1;
    user->mMode = 1;
    user->mProgress[1].mStage = stages1 - 1;
    std::unique_ptr<TMapWindow> map;
    const double firstOpen = BenchCpuMs([&] {
        map = std::make_unique<TMapWindow>();
        map->OnShown();
    });
    auto find = [&pages](int mode, int stage) -> TPage* {
        for (TPage& page : pages)
            if (page.mode == mode && page.stage == stage) return &page;
        return nullptr;
    };
    if (TPage* heaviest = find(1, stages1 - 1)) heaviest->first = firstOpen;
    for (int mode : {1, 0}) {
        map->OnButtonClick(-1, nullptr, 100 + mode, nullptr);
        for (TPage& page : pages) {
            if (page.mode != mode || (mode == 1 && page.stage == stages1 - 1)) continue;
            page.first = BenchCpuMs([&] { map->SetPage(page.stage); });
        }
    }
    for (int mode : {0, 1}) {
        map->OnButtonClick(-1, nullptr, 100 + mode, nullptr);
        for (TPage& page : pages) {
            if (page.mode != mode) continue;
            page.warm = BenchRounds(
                kWarmRounds, [&] { return BenchCpuMs([&] { map->SetPage(page.stage); }); },
                [&] {
                    double floor = -1.0;
                    const double ms = BenchCpuMs([&] { floor = FloorPageMs(page.stage, mode == 1, false); });
                    return floor >= 0.0 ? ms : -1.0;
                });
            Split(&page);
        }
    }

    // For information: eight 100 x 100 pictures on one page, as many as a page shows.
    map->OnButtonClick(-1, nullptr, 100, nullptr);
    auto eight = std::make_unique<TStage>();
    for (int i = 0; i < 8; ++i) {
        auto level = std::make_unique<TLevelInfo>();
        level->mFilename = "bench/mosaic100.png";
        eight->mLevels.push_back(std::move(level));
    }
    WriteProgress("textures/bench/mosaic100.png");
    EditStageList(false).push_back(std::move(eight));
    const int eightStage = static_cast<int>(GetStageList(false).size()) - 1;
    std::vector<double> eightRuns;
    for (int i = 0; i < kWarmRuns; ++i) {
        eightRuns.push_back(BenchCpuMs([&] { map->SetPage(eightStage); }));
    }
    map.reset();
    StopMapBench();
    if (system((std::string("rm -rf ") + data).c_str()) != 0) fprintf(stderr, "cannot remove %s\n", data);

    printf("%-5s %-6s %7s %8s %9s %9s %9s %7s %9s %11s   (ms)\n", "mode", "stage", "boards", "cells", "first",
           "warm", "floor", "ratio", "load", "render");
    bool within = true;
    double worst = 0.0;
    for (const TPage& page : pages) {
        const bool ok = page.warm.Within(kWarmBound);
        printf("%-5d %-6d %7d %8ld %9.2f %9.2f %9.2f %7.2f %9.2f %11.2f%s\n", page.mode, page.stage, page.boards,
               page.cells, page.first, page.warm.subjectMs, page.warm.floorMs, page.warm.ratio, page.load, page.render,
               ok ? "" : "  OVER");
        if (!(page.warm.ratio <= worst)) worst = page.warm.ratio;  // a failed measure shows as nan
        within = within && ok;
    }
    printf("eight 100 x 100 boards: %.2f ms (median of %d)\n", BenchMedian(eightRuns), kWarmRuns);
    const bool coldOk = cold.Within(kColdBound);
    printf("cold opening of mode 1, stage %d in a new process: %.2f ms, floor %.2f ms (medians of %d rounds): %.2f x "
           "floor (bound %.1f x) %s\n",
           stages1 - 1, cold.subjectMs, cold.floorMs, kColdPairs, cold.ratio, kColdBound, coldOk ? "ok" : "OVER");
    within = within && coldOk;
    printf("%s: the warm pages stay within %.1f x their floors (worst %.2f x), the cold opening within %.1f x\n",
           within ? "PASS" : "FAIL", kWarmBound, worst, kColdBound);
    return within ? 0 : 1;
}
