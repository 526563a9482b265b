// Whole-program check under a real X server: the level map in the game's real window, for a
// new player who finished the first picture and half painted the second. Once the map has
// faded in it checks a preview's colour and where the finished mark is, then prints where to
// click and every tip, stage and screen change; tests/x11/map_click.sh clicks.
// Usage: map_probe <run> <screenshot>; run 2 has every level of the first stage scored.
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/settings.h"
#include "core/virtual_files.h"
#include "game/front_screens.h"
#include "game/map_window.h"
#include "game/picture.h"
#include "game/room_window.h"
#include "game/stages.h"
#include "game/user_info.h"
#include "ui/tutorial_window.h"
#include "probe_support.h"

namespace {

// A cell of the picture near its middle that is not white, and its palette colour.
struct TProbeCell {
    int column = -1;
    int row = -1;
    TProbeColor color;
};

bool PickCell(const std::string& picture, TProbeCell* out, int* width, int* height)
{
    SDL_Surface* s = IMG_Load(MapPath(picture).c_str());
    if (!s || !s->format->palette) {
        if (s) SDL_FreeSurface(s);
        return false;
    }
    *width = s->w;
    *height = s->h;
    int best = -1;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const Uint8 index = static_cast<const Uint8*>(s->pixels)[y * s->pitch + x];
            const SDL_Color c = s->format->palette->colors[index];
            if (c.r == 255 && c.g == 255 && c.b == 255) continue;
            // Of one colour with its four neighbours: far from any edge between colours.
            bool same = x > 0 && y > 0 && x + 1 < s->w && y + 1 < s->h;
            for (int d = 0; same && d < 4; ++d) {
                const int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
                same = static_cast<const Uint8*>(s->pixels)[ny * s->pitch + nx] == index;
            }
            if (!same) continue;
            const int distance = std::abs(2 * x + 1 - s->w) + std::abs(2 * y + 1 - s->h);
            if (best >= 0 && distance >= best) continue;
            best = distance;
            out->column = x;
            out->row = y;
            out->color = TProbeColor{c.r, c.g, c.b};
        }
    SDL_FreeSurface(s);
    return best >= 0;
}

// The colour the mark's badge has near its bottom-right corner.
bool MarkColor(TProbeColor* out)
{
    SDL_Surface* loaded = IMG_Load(MapPath("textures/tilesets/complete.png").c_str());
    if (!loaded) return false;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!s) return false;
    const Uint32 v = static_cast<const Uint32*>(s->pixels)[(s->pitch / 4) * (s->h - 10) + (s->w - 10)];
    SDL_FreeSurface(s);
    out->r = (v >> 16) & 0xFF;
    out->g = (v >> 8) & 0xFF;
    out->b = v & 0xFF;
    return true;
}

bool Near(const TProbeColor& a, const TProbeColor& b)
{
    return std::abs(a.r - b.r) <= 3 && std::abs(a.g - b.g) <= 3 && std::abs(a.b - b.b) <= 3;
}

// The player's picture progress: every cell right, or the first half of them.
bool Paint(const std::string& picture, const std::string& user, bool whole)
{
    TPaintByNumber model;
    model.LoadPicture(1, picture, user);
    const int cells = model.GetColumnCount() * model.GetRowCount();
    int painted = 0;
    for (int row = 0; row < model.GetRowCount(); ++row)
        for (int column = 0; column < model.GetColumnCount(); ++column) {
            TPaintByNumberItem* cell = model.GetCell(column, row);
            if (whole || painted < cells / 2) cell->SetPainted(cell->GetNumber());
            ++painted;
        }
    return cells > 0 && model.SaveProgress(model.GetProgressPath());
}

bool PrepareProfile(int run)
{
    TSettings* settings = GetAppState().mSettings.get();
    if (!settings || !settings->AddUser("Mapper")) return false;
    settings->SelectUser(settings->UserCount() - 1);
    const std::string user = settings->CurrentUserIdText();
    TStage* first = GetStage(0, false);
    if (!first || first->mLevels.size() < 3) return false;
    if (!Paint("textures/" + first->mLevels[0]->mFilename, user, true) ||
        !Paint("textures/" + first->mLevels[1]->mFilename, user, false))
        return false;
    TUserInfo* info = GetUserInfo();
    for (const char* tip : {"TipMapClickToPlay", "TipMapClickToNextStage"}) info->AddPair("IHelpShown", tip);
    if (run == 2) {
        TModeProgress& progress = info->mProgress[0];
        for (size_t i = 0; i < first->mLevels.size() && i < progress.mEntries.size(); ++i)
            progress.mEntries[i].mBestScore = 1;
    }
    return true;
}

// Board i's top-left corner in design pixels.
bool BoardCorner(TMapWindow* map, size_t i, int* x, int* y)
{
    TMapBoardBlock* block = map->mPages.CurrentBlock();
    if (!block || i >= block->size()) return false;
    *x = map->GetX() + (*block)[i]->mX;
    *y = map->GetY() + (*block)[i]->mY;
    return true;
}

// Checks the first board's preview colour and the marks of boards 0 and 2.
bool CheckArrival(TMapWindow* map)
{
    TStage* first = GetStage(0, false);
    TProbeCell cell;
    int w = 0, h = 0;
    TProbeColor mark;
    if (!PickCell("textures/" + first->mLevels[0]->mFilename, &cell, &w, &h) || !MarkColor(&mark)) {
        std::printf("cannot read the picture or the mark\n");
        return false;
    }
    int x0 = 0, y0 = 0, x2 = 0, y2 = 0;
    if (!BoardCorner(map, 0, &x0, &y0) || !BoardCorner(map, 2, &x2, &y2)) {
        std::printf("fewer than three boards\n");
        return false;
    }
    const float scale = std::min(200.0f / w, 200.0f / h);
    const int px = x0 + map->mPages.mPreviewX + static_cast<int>((200.0f - w * scale) / 2 + (cell.column + 0.5f) * scale);
    const int py = y0 + map->mPages.mPreviewY + static_cast<int>((200.0f - h * scale) / 2 + (cell.row + 0.5f) * scale);
    TProbeFrame frame;
    TProbeColor preview, mark0, mark2;
    if (!frame.Read() || !frame.At(px, py, &preview) || !frame.At(x0 + 190, y0 + 190, &mark0) ||
        !frame.At(x2 + 190, y2 + 190, &mark2))
        return false;
    bool ok = true;
    if (!Near(preview, cell.color)) {
        std::printf("preview at %d,%d is %d,%d,%d, not the picture's %d,%d,%d\n", px, py, preview.r, preview.g,
                    preview.b, cell.color.r, cell.color.g, cell.color.b);
        ok = false;
    }
    if (!Near(mark0, mark)) {
        std::printf("no mark on board 0: %d,%d,%d, not %d,%d,%d\n", mark0.r, mark0.g, mark0.b, mark.r, mark.g, mark.b);
        ok = false;
    }
    if (Near(mark2, mark)) {
        std::printf("a mark on board 2\n");
        ok = false;
    }
    return ok;
}

void PrintPoint(const char* name, int x, int y)
{
    int wx = 0, wy = 0;
    ToWindow(x, y, &wx, &wy);
    std::printf(" %s=%d,%d", name, wx, wy);
}

void PrintButton(TMapWindow* map, const char* name)
{
    int x = 0, y = 0;
    ButtonCentre(map, name, &x, &y);
    std::printf(" %s=%d,%d", name, x, y);
}

}  // namespace

int main(int argc, char** argv)
{
    const int run = argc > 1 ? std::atoi(argv[1]) : 1;
    const std::string shot = argc > 2 ? argv[2] : std::string();
    if (!StartGame()) {
        std::fprintf(stderr, "start-up failed\n");
        return 2;
    }
    TAppState& app = GetAppState();
    TMyWindowManager* manager = GetWindowManager();
    if (!PrepareProfile(run)) {
        std::printf("cannot prepare the player\n");
        QuitGame();
        return 1;
    }
    const Uint32 opened = SDL_GetTicks();
    auto* map = new TMapWindow();
    manager->ShowScreen(map, true, 1);
    const Uint32 openMs = SDL_GetTicks() - opened;

    int status = 0;
    bool arrived = false;
    int stage = -1;
    std::string tip;
    const Uint32 start = SDL_GetTicks();
    while (!app.mQuit) {
        RunFrame();
        TMyWindow* top = manager->TopScreen();
        if (!arrived && top == map && !manager->ActiveFader()) {
            arrived = true;
            if (!CheckArrival(map)) {
                status = 1;
                break;
            }
            if (!shot.empty()) {
                int w = 0, h = 0;
                SDL_GetRendererOutputSize(GetRenderer(), &w, &h);
                SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
                SDL_RenderClear(GetRenderer());
                RenderGame();
                SDL_RenderSetScale(GetRenderer(), 1.0f, 1.0f);
                SDL_RenderReadPixels(GetRenderer(), nullptr, SDL_PIXELFORMAT_ARGB8888, s->pixels, s->pitch);
                SDL_RenderPresent(GetRenderer());
                IMG_SavePNG(s, shot.c_str());
                SDL_FreeSurface(s);
            }
            const unsigned long window = ProbeWindowId();
            if (!window) {
                status = 1;
                break;
            }
            int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            BoardCorner(map, 0, &x0, &y0);
            BoardCorner(map, 1, &x1, &y1);
            std::printf("map window=%lu", window);
            PrintPoint("board0", x0 + 100, y0 + 100);
            PrintPoint("board1", x1 + 100, y1 + 100);
            PrintButton(map, "nextpage");
            PrintButton(map, "menu");
            std::printf(" open=%u\n", static_cast<unsigned>(openMs));
            stage = map->mStage;
        }
        if (arrived && manager->FindWindow(TMapWindow::kMapId) == map && map->mStage != stage) {
            stage = map->mStage;
            std::printf("stage=%d\n", stage);
        }
        TMyTutorialWindow* hint = GetTutorialWindow();
        const bool hintUp = manager->FindWindow(TMyTutorialWindow::kTutorialId) != nullptr && !hint->mClosing;
        const std::string now = hintUp ? hint->mTutorialName : std::string();
        if (now != tip) {
            if (now.empty())
                std::printf("tip closed\n");
            else
                std::printf("tip %s\n", now.c_str());
            tip = now;
        }
        std::fflush(stdout);
        if (arrived && !manager->ActiveFader()) {
            if (dynamic_cast<TRoomWindow*>(top)) {
                const TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
                std::printf("room stage=%d level=%d\n", progress.mStage, progress.mLevel);
                break;
            }
            if (top && top != map && top->mId == 5) {
                std::printf("screen id=5\n");
                break;
            }
        }
        if (ProbeGaveUp(start, 30000, "no ending")) {
            status = 1;
            break;
        }
        SDL_Delay(5);
    }
    return EndProbe(status);
}
