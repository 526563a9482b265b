// What opening a page of the level map costs: every shipped page of both modes, with a
// player who has a progress file for every level, on the software renderer of a hidden
// dummy-driver window as the game makes it when acceleration is missing. Cold is the first
// opening in this process (the heaviest page first: the map's construction and showing),
// warm the median of five openings; each page also shows how much of it is loading the
// pictures and how much rendering the previews. A page of eight 100 x 100 pictures is timed
// for information. `make bench` runs it; it exits 1 when a shipped page takes 100 ms or more.
#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_player.h"
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

const double kBoundMs = 100.0;
const int kWarmRuns = 5;
const char kUser[] = "bench";

struct TBenchSaver : TProfileSaver {
    bool SaveCurrentUser() override { return true; }
    std::string CurrentUserIdText() const override { return kUser; }
};

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

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
    double cold = 0.0;
    double warm = 0.0;
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
        auto start = std::chrono::steady_clock::now();
        model.LoadPicture(1, "textures/" + level->mFilename, kUser);
        page->load += Since(start);
        page->cells += static_cast<long>(model.GetColumnCount()) * model.GetRowCount();
        start = std::chrono::steady_clock::now();
        model.RenderToTexture(&preview, 200, 200);
        page->render += Since(start);
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    char data[] = "/tmp/brisalo-map-bench-XXXXXX";
    if (!StartBenchFolders(data)) return 2;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 2;
    IMG_Init(IMG_INIT_PNG);
    TAppState& app = GetAppState();
    app.mWindow = SDL_CreateWindow("map bench", 0, 0, 1366, 768, SDL_WINDOW_HIDDEN);
    if (!app.mWindow || !RecreateRenderer()) return 2;

    if (TiXmlElement* root = LoadXmlDocument("ui/interface.xml")) GetInterfaceHolder()->Load(root);
    DeleteCurrentXmlDocument();
    LoadStages();
    TBenchSaver saver;
    SetProfileSaver(&saver);
    TUserInfo* user = GetUserInfo();
    for (int mode = 0; mode < 2; ++mode) {
        user->mProgress[mode].Reset(TotalLevelCount(GetStageList(mode == 1)));
        for (const auto& stage : GetStageList(mode == 1))
            for (const auto& level : stage->mLevels) WriteProgress("textures/" + level->mFilename);
    }

    std::vector<TPage> pages;
    for (int mode = 0; mode < 2; ++mode)
        for (size_t s = 0; s < GetStageList(mode == 1).size(); ++s) {
            TPage page;
            page.mode = mode;
            page.stage = static_cast<int>(s);
            page.boards = static_cast<int>(GetStageList(mode == 1)[s]->mLevels.size());
            pages.push_back(page);
        }
    if (pages.empty()) {
        printf("no shipped stages\n");
        return 1;
    }
    // The heaviest shipped page: mode 1's last stage.
    const int stages1 = static_cast<int>(GetStageList(true).size());
    user->mMode = 1;
    user->mProgress[1].mStage = stages1 - 1;
    auto start = std::chrono::steady_clock::now();
    auto map = std::make_unique<TMapWindow>();
    map->OnShown();
    const double firstOpen = Since(start);
    auto find = [&pages](int mode, int stage) -> TPage* {
        for (TPage& page : pages)
            if (page.mode == mode && page.stage == stage) return &page;
        return nullptr;
    };
    if (TPage* heaviest = find(1, stages1 - 1)) heaviest->cold = firstOpen;
    for (int mode : {1, 0}) {
        map->OnButtonClick(-1, nullptr, 100 + mode, nullptr);
        for (TPage& page : pages) {
            if (page.mode != mode || (mode == 1 && page.stage == stages1 - 1)) continue;
            start = std::chrono::steady_clock::now();
            map->SetPage(page.stage);
            page.cold = Since(start);
        }
    }
    for (int mode : {0, 1}) {
        map->OnButtonClick(-1, nullptr, 100 + mode, nullptr);
        for (TPage& page : pages) {
            if (page.mode != mode) continue;
            std::vector<double> runs;
            for (int i = 0; i < kWarmRuns; ++i) {
                start = std::chrono::steady_clock::now();
                map->SetPage(page.stage);
                runs.push_back(Since(start));
            }
            page.warm = Median(runs);
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
    GetStageList(false).push_back(std::move(eight));
    const int eightStage = static_cast<int>(GetStageList(false).size()) - 1;
    std::vector<double> eightRuns;
    for (int i = 0; i < kWarmRuns; ++i) {
        start = std::chrono::steady_clock::now();
        map->SetPage(eightStage);
        eightRuns.push_back(Since(start));
    }
    map.reset();
    SetProfileSaver(nullptr);
    ReleaseStages();
    ReleaseSoundManager();
    DestroyRenderer();
    SDL_DestroyWindow(app.mWindow);
    app.mWindow = nullptr;
    if (system((std::string("rm -rf ") + data).c_str()) != 0) fprintf(stderr, "cannot remove %s\n", data);

    printf("%-5s %-6s %7s %8s %9s %9s %9s %11s   (ms)\n", "mode", "stage", "boards", "cells", "cold", "warm",
           "load", "render");
    bool within = true;
    double worst = 0.0;
    for (const TPage& page : pages) {
        printf("%-5d %-6d %7d %8ld %9.2f %9.2f %9.2f %11.2f\n", page.mode, page.stage, page.boards, page.cells,
               page.cold, page.warm, page.load, page.render);
        worst = std::max(worst, std::max(page.cold, page.warm));
        if (!(page.cold < kBoundMs && page.warm < kBoundMs)) within = false;
    }
    printf("eight 100 x 100 boards: %.2f ms (median of %d)\n", Median(eightRuns), kWarmRuns);
    printf("%s: the slowest shipped page took %.2f ms, bound %.0f ms\n", within ? "PASS" : "FAIL", worst, kBoundMs);
    return within ? 0 : 1;
}
