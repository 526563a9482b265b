// What drawing through the drawables costs over raw SDL copies: frames of soft-edged 32x32
// sprites on a 1280x720 software renderer in memory, either path timed in the thread's
// processor time in 15 alternating rounds of about 40 ms. `make bench` builds and runs it; it
// exits non-zero when, at 1000 or 5000 sprites, the median of the rounds' ratios of the
// drawables to the raw path is above 1.25.
#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_rounds.h"
#include "core/app_state.h"
#include "graphics/objects_manager.h"
#include "graphics/static_image.h"
#include "graphics/texture_cache.h"

namespace {

const int kWidth = 1280;
const int kHeight = 720;
const int kSprite = 32;
const double kAllowedRatio = 1.25;
const int kRounds = 15;
const double kRoundMs = 40.0;

SDL_Surface* gFrame = nullptr;
SDL_Renderer* gRenderer = nullptr;

SDL_FPoint SpritePosition(int i)
{
    return SDL_FPoint{static_cast<float>((i * 37) % (kWidth - kSprite)),
                      static_cast<float>((i * 53) % (kHeight - kSprite))};
}

void ClearFrame()
{
    SDL_SetRenderDrawColor(gRenderer, 30, 40, 50, 255);
    SDL_RenderClear(gRenderer);
}

// A frame of n sprites copied straight through SDL.
void RawFrame(SDL_Texture* texture, int n)
{
    SDL_Rect src{0, 0, kSprite, kSprite};
    SDL_FPoint centre{0, 0};
    ClearFrame();
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureColorMod(texture, 255, 255, 255);
    SDL_SetTextureAlphaMod(texture, 255);
    for (int i = 0; i < n; ++i) {
        SDL_FPoint p = SpritePosition(i);
        SDL_FRect dst{p.x, p.y, kSprite, kSprite};
        SDL_RenderCopyExF(gRenderer, texture, &src, &dst, 0.0, &centre, SDL_FLIP_NONE);
    }
    SDL_RenderFlush(gRenderer);
}

void DrawableFrame(ObjectsManager& sprites)
{
    ClearFrame();
    sprites.Draw();
    SDL_RenderFlush(gRenderer);
}

// Both paths at n sprites; milliseconds per frame.
TRoundFigures MeasureFrames(int n)
{
    TexturePtr sprite = GetTexture("sprite");
    SDL_Texture* texture = sprite->GetSdlTexture();
    ObjectsManager sprites(true);
    for (int i = 0; i < n; ++i) {
        StaticImage* image = new StaticImage();
        image->SetTexture("sprite");
        SDL_FPoint p = SpritePosition(i);
        image->SetPosition(p.x, p.y, false);
        sprites.Add(0, image);
    }
    auto raw = [&] { RawFrame(texture, n); };
    auto drawn = [&] { DrawableFrame(sprites); };
    raw();
    drawn();
    const int batch = BenchBatchFor(kRoundMs, BenchCpuMs(raw));
    return BenchRounds(
        kRounds, [&] { return BenchCpuMsEach(batch, drawn); }, [&] { return BenchCpuMsEach(batch, raw); });
}

// A soft-edged disc: alpha falls off toward the rim, so every sprite really blends.
void WriteSprite(const std::string& path)
{
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kSprite, kSprite, 32, SDL_PIXELFORMAT_ABGR8888);
    for (int y = 0; y < kSprite; ++y)
        for (int x = 0; x < kSprite; ++x) {
            float dx = x - 15.5f, dy = y - 15.5f;
            float a = 1.0f - std::sqrt(dx * dx + dy * dy) / 16.0f;
            Uint8 alpha = static_cast<Uint8>(a <= 0 ? 0 : a >= 1 ? 255 : a * 255);
            SDL_Rect r{x, y, 1, 1};
            SDL_FillRect(s, &r, SDL_MapRGBA(s->format, 250, 200, 80, alpha));
        }
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
}

}  // namespace

int main()
{
    char folder[] = "/tmp/brisalo-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) return 2;
    if (system("mkdir -p assets") != 0) return 2;
    WriteSprite("assets/sprite.png");

    gFrame = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    gRenderer = gFrame ? SDL_CreateSoftwareRenderer(gFrame) : nullptr;
    if (!gRenderer) return 2;
    TAppState& app = GetAppState();
    app.mRenderDevice.reset(new TRenderDevice());
    app.mRenderDevice->mRenderer = gRenderer;
    TexturePtr keep = GetTexture("sprite");  // one texture for both paths, loaded once
    if (!keep) {
        fprintf(stderr, "sprite did not load\n");
        return 2;
    }

    const int counts[] = {0, 1000, 5000};
    TRoundFigures figures[3];
    for (int i = 0; i < 3; ++i) figures[i] = MeasureFrames(counts[i]);

    keep.Reset();
    SDL_DestroyRenderer(gRenderer);
    app.mRenderDevice.reset();
    SDL_FreeSurface(gFrame);
    if (system((std::string("rm -rf ") + folder).c_str()) != 0) fprintf(stderr, "cannot remove %s\n", folder);

    printf("\n%8s %14s %14s %8s   (medians of %d rounds)\n", "sprites", "raw ms/frame", "drawables ms", "ratio",
           kRounds);
    bool within = true;
    for (int i = 0; i < 3; ++i) {
        printf("%8d %14.3f %14.3f %8.3f\n", counts[i], figures[i].floorMs, figures[i].subjectMs, figures[i].ratio);
        if (counts[i] > 0 && !figures[i].Within(kAllowedRatio)) within = false;
    }
    double rawSlope = (figures[2].floorMs - figures[0].floorMs) / 5000 * 1000;
    double drawnSlope = (figures[2].subjectMs - figures[0].subjectMs) / 5000 * 1000;
    printf("per sprite: raw %.3f us, drawables %.3f us (expected about 3 ms per frame + 0.85 us per sprite)\n",
           rawSlope, drawnSlope);
    printf("%s: drawables %s %.2f x raw at 1000 and 5000 sprites\n", within ? "PASS" : "FAIL",
           within ? "within" : "beyond", kAllowedRatio);
    return within ? 0 : 1;
}
