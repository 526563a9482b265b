// What a frame of the real board costs on the bench pictures (100 and 300 cells square) in a
// 1366 x 768 software window, at fit and at maximum zoom: idle frames, painting frames (one
// new cell a frame) and the frame after a wheel step. A frame is an update of 1/60 s, the
// draw and the renderer's flush; each figure is the median of 200 frames after 20 warm-up
// frames. `make bench` runs it; it reports whether a 300 x 300 board keeps to 8 ms but its
// exit code does not depend on it.
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
#include "core/logger.h"
#include "core/system.h"
#include "core/xml_document.h"
#include "game/board.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "game/user_info.h"
#include "ui/ui_info_holder.h"

namespace {

const double kGoalMs = 8.0;
const int kWarmUp = 20;
const int kFrames = 200;

SDL_Renderer* gRenderer = nullptr;

TMouseEvent Event(int x, int y, int buttons)
{
    TMouseEvent e;
    e.mX = e.mScreenX = x;
    e.mY = e.mScreenY = y;
    e.mButtons = buttons;
    return e;
}

template <typename F>
double MedianMs(F beforeFrame)
{
    TBoardMahjong* board = GetBoard();
    std::vector<double> times;
    for (int i = 0; i < kWarmUp + kFrames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        beforeFrame(i);
        board->Update(1.0f / 60.0f);
        board->Draw();
        SDL_RenderFlush(gRenderer);
        const auto end = std::chrono::steady_clock::now();
        if (i >= kWarmUp) times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// The picture alone, cell by cell, for comparison.
double PictureMs()
{
    TBoardMahjong* board = GetBoard();
    std::vector<double> times;
    for (int i = 0; i < kWarmUp + kFrames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        board->mPicture.Draw(1.0f);
        SDL_RenderFlush(gRenderer);
        const auto end = std::chrono::steady_clock::now();
        if (i >= kWarmUp) times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double CopyFloorMs()
{
    SDL_Texture* screen = SDL_CreateTexture(gRenderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, 1366, 768);
    if (!screen) return 0.0;
    SDL_SetTextureBlendMode(screen, SDL_BLENDMODE_NONE);
    std::vector<double> times;
    for (int i = 0; i < kWarmUp + kFrames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        SDL_RenderCopy(gRenderer, screen, nullptr, nullptr);
        SDL_RenderFlush(gRenderer);
        const auto end = std::chrono::steady_clock::now();
        if (i >= kWarmUp) times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    SDL_DestroyTexture(screen);
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

bool FloorRows(TBoardMahjong* board, const double idle[2], double wheelFit, double cellsFit)
{
    TPaintByNumber& picture = board->mPicture;
    const double floor = CopyFloorMs();
    picture.mZoom = picture.mFitZoom;
    picture.mPanX = picture.mPanY = 0;
    board->Draw();
    // Ten new cells a frame along the view's rows.
    const int step = std::max(1, static_cast<int>(26 * picture.mZoom));
    const int left = picture.mViewportX + step / 2, top = picture.mViewportY + step / 2;
    const int perRow = std::max(1, (picture.mViewportWidth - step) / step);
    const int rows = std::max(1, (picture.mViewportHeight - step) / step);
    board->MouseDown(Event(left, top, 1));
    int next = 0;
    const double stroke = MedianMs([&](int) {
        for (int k = 0; k < 10; ++k, ++next)
            board->MouseMove(Event(left + (next % perRow) * step, top + (next / perRow % rows) * step, 1));
    });
    board->MouseUp(Event(left, top, 1));
    picture.mZoom = (picture.mMinZoom + picture.mMaxZoom) * 0.5f;
    const int cx = picture.mViewportX + picture.mViewportWidth / 2, cy = picture.mViewportY + picture.mViewportHeight / 2;
    board->MouseDown(Event(cx, cy, 2));
    const double pan = MedianMs([&](int i) {
        // Back and forth, 8 design pixels a frame, so the drag never leaves the view.
        const int phase = i % 40;
        const int dx = 8 * (phase < 20 ? phase : 40 - phase);
        board->MouseMove(Event(cx + dx, cy, 2));
    });
    board->MouseUp(Event(cx, cy, 0));
    picture.mZoom = picture.mFitZoom;
    struct TRow {
        const char* name;
        double ms;
        double bound;  // times the floor; 0: against the cell-by-cell frame instead
    };
    const TRow rows2[] = {{"idle frame at fit", idle[0], 2.0},  {"idle frame at max zoom", idle[1], 2.0},
                          {"stroke of 10 cells a frame at fit", stroke, 2.0},
                          {"right-drag pan at the middle zoom", pan, 3.0}, {"zoom step at fit", wheelFit, 0.0}};
    printf("full-screen copy (the floor): %.2f ms\n", floor);
    bool held = floor > 0.0;
    for (const TRow& row : rows2) {
        const double ratio = floor > 0.0 ? row.ms / floor : 0.0;
        const bool ok = row.bound > 0.0 ? ratio <= row.bound : row.ms <= cellsFit;
        held = held && ok;
        if (row.bound > 0.0)
            printf("%-36s %8.2f ms %6.2f x floor (bound %.1f x) %s\n", row.name, row.ms, ratio, row.bound,
                   ok ? "ok" : "OVER");
        else
            printf("%-36s %8.2f ms %6.2f x floor (bound: cell by cell %.2f ms) %s\n", row.name, row.ms, ratio,
                   cellsFit, ok ? "ok" : "OVER");
    }
    return held;
}

}  // namespace

int main()
{
    char data[] = "/tmp/brisalo-board-bench-XXXXXX";
    SDL_Surface* frame = nullptr;
    gRenderer = StartBenchPlayer(data, &frame);
    if (!gRenderer) return 2;
    if (TiXmlElement* root = LoadXmlDocument("ui/interface.xml")) GetInterfaceHolder()->Load(root);
    DeleteCurrentXmlDocument();

    // The board's own level records for the two bench pictures.
    InitMosaicStars();
    ClearStages();
    auto stage = std::make_unique<TStage>();
    for (const char* name : {"bench/mosaic100.png", "bench/mosaic300.png"}) {
        auto level = std::make_unique<TLevelInfoMosaic>();
        level->mFilename = name;
        level->mStars = {{"complete"}};
        stage->mLevels.push_back(std::move(level));
    }
    EditStageList(false).push_back(std::move(stage));
    GetUserInfo()->mProgress[0].Reset(2);

    TBoardMahjong* board = GetBoard();
    bool within = true;
    double idle300[2] = {0.0, 0.0}, wheel300Fit = 0.0, cells300Fit = 0.0;
    printf("%-10s %-5s %10s %10s %10s %12s\n", "picture", "zoom", "idle ms", "paint ms", "wheel ms", "cells only");
    for (int level = 0; level < 2; ++level) {
        board->StartLevel(0, level);
        board->Draw();
        for (int atMax = 0; atMax < 2; ++atMax) {
            TPaintByNumber& picture = board->mPicture;
            picture.mZoom = atMax ? picture.mMaxZoom : picture.mFitZoom;
            picture.mPanX = picture.mPanY = 0;
            board->Draw();
            const double idle = MedianMs([](int) {});
            const double cells = PictureMs();
            // One new cell a frame along the view's rows.
            const int step = std::max(1, static_cast<int>(26 * picture.mZoom));
            const int left = picture.mViewportX + step / 2, top = picture.mViewportY + step / 2;
            const int perRow = std::max(1, (picture.mViewportWidth - step) / step);
            board->MouseDown(Event(left, top, 1));
            const double paint = MedianMs([&](int i) {
                board->MouseMove(Event(left + (i % perRow) * step, top + (i / perRow) * step, 1));
            });
            board->MouseUp(Event(left, top, 1));
            const float zoom = picture.mZoom;
            const double wheel = MedianMs([&](int i) {
                picture.mZoom = zoom;
                board->MouseWheel(Event(picture.mViewportX + 100, picture.mViewportY + 100, i % 2 ? 1 : -1));
            });
            picture.mZoom = zoom;
            printf("%-10s %-5s %10.2f %10.2f %10.2f %12.2f\n", level ? "mosaic300" : "mosaic100", atMax ? "max" : "fit",
                   idle, paint, wheel, cells);
            if (level == 1 && (idle > kGoalMs || paint > kGoalMs)) within = false;
            if (level == 1) {
                idle300[atMax] = idle;
                if (!atMax) wheel300Fit = wheel, cells300Fit = cells;
            }
        }
    }
    printf("a 300 x 300 board %s within %.0f ms per idle and painting frame at both zooms\n",
           within ? "stays" : "does not stay", kGoalMs);

    // Against the floor of one full-screen copy, on mosaic300 (the board still holds it).
    const bool boundsHeld = FloorRows(board, idle300, wheel300Fit, cells300Fit);

    GetAppState().mBoard.reset();
    ReleaseTilesetTextures();
    ClearStages();
    SDL_DestroyRenderer(gRenderer);
    GetAppState().mRenderDevice.reset();
    SDL_FreeSurface(frame);
    if (system((std::string("rm -rf ") + data).c_str()) != 0) fprintf(stderr, "cannot remove %s\n", data);
    return boundsHeld ? 0 : 1;
}
