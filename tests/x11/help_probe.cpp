// Whole-program check under a real X server: the help dialog over an empty screen in the
// game's window. Once it has arrived it checks that the first page's animation moves and
// prints where the buttons are; after each page change it checks that page's picture on the
// screen; tests/x11/help_click.sh clicks through the pages and closes it.
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/virtual_files.h"
#include "game/help_window.h"
#include "probe_support.h"

namespace {

// The centre colour of a picture as its file holds it.
bool FileCentre(const std::string& name, TProbeColor* out)
{
    SDL_Surface* loaded = IMG_Load(MapPath(name + ".png").c_str());
    if (!loaded) return false;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!s) return false;
    Uint32 v = 0;
    memcpy(&v, static_cast<const Uint8*>(s->pixels) + (s->h / 2) * s->pitch + (s->w / 2) * 4, 4);
    SDL_FreeSurface(s);
    out->r = (v >> 16) & 0xFF;
    out->g = (v >> 8) & 0xFF;
    out->b = v & 0xFF;
    return true;
}

// The current page's picture shows its own centre colour at its centre on the screen.
bool PagePictureShown(THelpWindow* help)
{
    THelpPages& book = help->GetPages();
    const THelpPage* page = book.GetPage(book.GetCurrent());
    if (!page || page->mImages.empty()) {
        std::printf("page %d has no picture\n", book.GetCurrent());
        return false;
    }
    const StaticImage& image = *page->mImages[0].mPicture;
    TProbeColor want, got;
    if (!FileCentre(image.GetTextureName(), &want)) {
        std::printf("cannot read %s\n", image.GetTextureName().c_str());
        return false;
    }
    TProbeFrame frame;
    const int x = help->GetX() + page->mImages[0].mX + image.GetWidth() / 2;
    const int y = help->GetY() + page->mImages[0].mY + image.GetHeight() / 2;
    if (!frame.Read() || !frame.At(x, y, &got)) return false;
    if (got != want) {
        std::printf("page %d: %d,%d,%d at %d,%d, not the picture's %d,%d,%d\n", book.GetCurrent(), got.r, got.g,
                    got.b, x, y, want.r, want.g, want.b);
        return false;
    }
    return true;
}

// The first page's animation changes its centre pixel within half a second of play.
bool AnimationMoves(THelpWindow* help)
{
    const THelpPage* page = help->GetPages().GetPage(0);
    if (!page || page->mAnimations.empty()) {
        std::printf("the first page has no animation\n");
        return false;
    }
    const TCadrImage& animation = *page->mAnimations[0].mPicture;
    const int x = help->GetX() + page->mAnimations[0].mX + animation.mFrameWidth / 2;
    const int y = help->GetY() + page->mAnimations[0].mY + animation.mFrameHeight / 2;
    TProbeFrame frame;
    TProbeColor first, now;
    if (!frame.Read() || !frame.At(x, y, &first)) return false;
    const Uint32 start = SDL_GetTicks();
    while (SDL_GetTicks() - start <= 500) {
        RunFrame();
        if (!frame.Read() || !frame.At(x, y, &now)) return false;
        if (now != first) return true;
        SDL_Delay(5);
    }
    std::printf("the animation at %d,%d stayed %d,%d,%d for 0.5 s\n", x, y, first.r, first.g, first.b);
    return false;
}

}  // namespace

int main()
{
    if (!StartGame()) {
        std::fprintf(stderr, "start-up failed\n");
        return 2;
    }
    TAppState& app = GetAppState();
    ShowProbeScreen();
    TProbeListener listener;
    THelpWindow* help = new THelpWindow(&listener);
    GetWindowManager()->AddWindow(help, 0);

    int status = 0;
    bool reported = false;
    int page = 0;
    const Uint32 start = SDL_GetTicks();
    while (!app.mQuit) {
        RunFrame();
        if (ProbeScreenPressed()) {
            std::printf("a press reached the screen beneath the dialog\n");
            status = 1;
            break;
        }
        // The manager deletes the dialog once it has gone: nothing of it is read after this.
        if (listener.mClosed) {
            std::printf("closed id=%d result=%d\n", listener.mId, listener.mResult);
            break;
        }
        if (listener.mShown && !reported) {
            reported = true;
            const unsigned long window = ProbeWindowId();
            if (!window || !PagePictureShown(help) || !AnimationMoves(help)) {
                status = 1;
                break;
            }
            int px = 0, py = 0, nx = 0, ny = 0, cx = 0, cy = 0;
            ButtonCentre(help, "help_prev", &px, &py);
            ButtonCentre(help, "help_next", &nx, &ny);
            ButtonCentre(help, "help_close", &cx, &cy);
            std::printf("shown window=%lu prev=%d,%d next=%d,%d close=%d,%d\n", window, px, py, nx, ny, cx, cy);
            std::fflush(stdout);
        }
        if (reported && help->GetPages().GetCurrent() != page) {
            page = help->GetPages().GetCurrent();
            if (!PagePictureShown(help)) {
                status = 1;
                break;
            }
            std::printf("page=%d\n", page);
            std::fflush(stdout);
        }
        if (ProbeGaveUp(start, 60000, "not closed")) {
            status = 1;
            break;
        }
        SDL_Delay(5);
    }
    return EndProbe(status);
}
