// What drawing through the drawables costs over raw SDL copies: frames of soft-edged 32x32
// sprites on a 1280x720 software renderer in memory, nine repetitions of each in random
// order. `make bench` builds and runs it; it exits non-zero when the median of the drawables
// takes more than 1.25 x the raw path's.
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/app_state.h"
#include "graphics/objects_manager.h"
#include "graphics/static_image.h"
#include "graphics/texture_cache.h"

namespace {

const int kWidth = 1280;
const int kHeight = 720;
const int kSprite = 32;
const double kAllowedRatio = 1.25;

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

void RawFrames(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    TexturePtr sprite = GetTexture("sprite");
    SDL_Texture* texture = sprite->GetSdlTexture();
    SDL_Rect src{0, 0, kSprite, kSprite};
    SDL_FPoint centre{0, 0};
    for (auto _ : state) {
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
}

void DrawableFrames(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    ObjectsManager sprites(true);
    for (int i = 0; i < n; ++i) {
        StaticImage* image = new StaticImage();
        image->SetTexture("sprite");
        SDL_FPoint p = SpritePosition(i);
        image->SetPosition(p.x, p.y, false);
        sprites.Add(0, image);
    }
    for (auto _ : state) {
        ClearFrame();
        sprites.Draw();
        SDL_RenderFlush(gRenderer);
    }
}

BENCHMARK(RawFrames)->Arg(0)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(DrawableFrames)->Arg(0)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

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

int main(int argc, char** argv)
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

    // The repetitions of both paths are interleaved in random order, so that a change of
    // the machine's load falls on both medians alike; a flag given on the command line wins.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int argCount = static_cast<int>(args.size());
    benchmark::Initialize(&argCount, args.data());
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    keep.Reset();
    SDL_DestroyRenderer(gRenderer);
    app.mRenderDevice.reset();
    SDL_FreeSurface(gFrame);
    if (system((std::string("rm -rf ") + folder).c_str()) != 0) fprintf(stderr, "cannot remove %s\n", folder);

    printf("\n%8s %14s %14s %8s\n", "sprites", "raw ms/frame", "drawables ms", "ratio");
    bool within = true;
    for (int n : {0, 1000, 5000}) {
        double raw = reporter.Median("RawFrames/" + std::to_string(n));
        double drawn = reporter.Median("DrawableFrames/" + std::to_string(n));
        double ratio = drawn / raw;
        printf("%8d %14.3f %14.3f %8.3f\n", n, raw, drawn, ratio);
        if (n > 0 && !(ratio <= kAllowedRatio)) within = false;
    }
    double rawSlope = (reporter.Median("RawFrames/5000") - reporter.Median("RawFrames/0")) / 5000 * 1000;
    double drawnSlope = (reporter.Median("DrawableFrames/5000") - reporter.Median("DrawableFrames/0")) / 5000 * 1000;
    printf("per sprite: raw %.3f us, drawables %.3f us (expected about 3 ms per frame + 0.85 us per sprite)\n",
           rawSlope, drawnSlope);
    printf("%s: drawables %s %.2f x raw at 1000 and 5000 sprites\n", within ? "PASS" : "FAIL",
           within ? "within" : "beyond", kAllowedRatio);
    return within ? 0 : 1;
}
