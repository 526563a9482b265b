// What the picture model costs on the bench pictures (100, 300 and 1000 cells square) at
// cell size 26 in a 1100 x 728 view: load, a stroke, the area fill against a plain scanline
// fill over bytes (the floor, timed with the fill in alternating rounds in the thread's
// processor time; the ratio is the median of the rounds' ratios), completion, saving, and
// drawing. `make bench` builds and
// runs it; it exits non-zero when the model's fill takes more than 1.5 x the floor.
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_player.h"
#include "bench_rounds.h"
#include "bench_support.h"
#include "core/app_state.h"
#include "core/logger.h"
#include "core/system.h"
#include "game/picture.h"

namespace {

const double kAllowedRatio = 1.5;
const int kFillRounds = 31;
const double kBatchMs = 2.0;
const int kCellSize = 26;

std::string Name(const char* kind, int n)
{
    return std::string("textures/bench/") + kind + std::to_string(n);
}

std::unique_ptr<TPaintByNumber> LoadModel(const char* kind, int n)
{
    auto model = std::make_unique<TPaintByNumber>();
    model->mViewportX = 133;
    model->mViewportY = 20;
    model->mViewportWidth = 1100;
    model->mViewportHeight = 728;
    model->LoadPicture(kCellSize, Name(kind, n), "bench");
    model->Draw(1.0f);  // the hit test uses the origin of the last draw
    return model;
}

TMouseEvent Event(int x, int y, int buttons)
{
    TMouseEvent e;
    e.mX = e.mScreenX = x;
    e.mY = e.mScreenY = y;
    e.mButtons = buttons;
    return e;
}

void Load(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    TPaintByNumber model;
    model.mViewportWidth = 1100;
    model.mViewportHeight = 728;
    for (auto _ : state) model.LoadPicture(kCellSize, Name("mosaic", n), "bench");
}

void Stroke(benchmark::State& state)
{
    auto model = LoadModel("mosaic", static_cast<int>(state.range(0)));
    model->SelectColor(3);
    const int left = model->mViewportX + 10, top = model->mViewportY + 10;
    for (auto _ : state) {
        model->MouseDown(Event(left, top, 1));
        for (int i = 0; i < 100; ++i) model->MouseMove(Event(left + i * 10, top + i * 7, 1));
        model->MouseUp(Event(left + 990, top + 693, 1));
        state.PauseTiming();
        model->mErrors = 0;
        state.ResumeTiming();
    }
}

// The floor: a plain scanline fill over a byte copy of the numbers, buffers made beforehand.
class TScanlineFloor {
public:
    TScanlineFloor(const std::vector<uint8_t>& numbers, int n)
        : mNumbers(numbers), mDone(numbers.size()), mPaint(numbers.size()), mN(n)
    {
        mStack.reserve(numbers.size());
    }

    int Fill()
    {
        const int n = mN;
        std::fill(mDone.begin(), mDone.end(), 0);
        const uint8_t key = mNumbers[(n / 2) * n + n / 2];
        int count = 0;
        mStack.clear();
        mStack.push_back((n / 2) * n + n / 2);
        while (!mStack.empty()) {
            const int seed = mStack.back();
            mStack.pop_back();
            if (mDone[seed]) continue;
            const int rowStart = seed - seed % n;
            int l = seed, r = seed + 1;
            while (l > rowStart && mNumbers[l - 1] == key && !mDone[l - 1]) --l;
            while (r < rowStart + n && mNumbers[r] == key && !mDone[r]) ++r;
            for (int i = l; i < r; ++i) {
                mDone[i] = 1;
                mPaint[i] = 7;
            }
            count += r - l;
            for (int off : {-n, n}) {
                if (l + off < 0 || l + off >= n * n) continue;
                bool run = false;
                for (int i = l + off; i < r + off; ++i) {
                    const bool open = mNumbers[i] == key && !mDone[i];
                    if (open && !run) mStack.push_back(i);
                    run = open;
                }
            }
        }
        return count;
    }

private:
    std::vector<uint8_t> mNumbers;
    std::vector<uint8_t> mDone;
    std::vector<uint8_t> mPaint;
    std::vector<int> mStack;
    int mN;
};

// The model's area fill against the floor in alternating rounds, each round a batch of at
// least 2 ms of either, timed in the thread's processor time.
TRoundFigures MeasureFill(int n)
{
    auto model = LoadModel("solid", n);
    TPaintByNumberItem* cell = model->GetCell(n / 2, n / 2);
    model->SelectColor(cell->GetNumber());  // its own colour: the errors stay put
    std::vector<uint8_t> numbers(static_cast<size_t>(n) * n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) numbers[static_cast<size_t>(r) * n + c] = static_cast<uint8_t>(model->GetCell(c, r)->GetNumber());
    TScanlineFloor floor(numbers, n);

    if (model->FillArea(cell) != n * n || floor.Fill() != n * n) return {};
    auto modelFill = [&] { benchmark::DoNotOptimize(model->FillArea(cell)); };
    auto floorFill = [&] { benchmark::DoNotOptimize(floor.Fill()); };
    const int batch = BenchBatchFor(kBatchMs, BenchCpuMsEach(3, floorFill));
    return BenchRounds(
        kFillRounds, [&] { return BenchCpuMsEach(batch, modelFill); },
        [&] { return BenchCpuMsEach(batch, floorFill); });
}

void Completion(benchmark::State& state)
{
    auto model = LoadModel("mosaic", static_cast<int>(state.range(0)));
    for (auto _ : state) model->UpdateCompletion();
}

void Save(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    auto model = LoadModel("mosaic", n);
    const std::string path = "user:bench/mosaic" + std::to_string(n) + ".dat";
    for (auto _ : state) model->SaveProgress(path);
}

// Arg 0: at fit; arg 1: at max zoom.
void Draw300(benchmark::State& state)
{
    auto model = LoadModel("mosaic", 300);
    model->mZoom = state.range(0) == 0 ? model->mFitZoom : model->mMaxZoom;
    SDL_Renderer* renderer = GetRenderer();
    for (auto _ : state) {
        SDL_RenderClear(renderer);
        model->Draw(1.0f);
        SDL_RenderFlush(renderer);
    }
    state.counters["draws"] = model->mDrawnImages;
}

#define PICTURE_BENCH(fn)                                                                                      \
    BENCHMARK(fn)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
PICTURE_BENCH(Load);
PICTURE_BENCH(Stroke);
PICTURE_BENCH(Completion);
PICTURE_BENCH(Save);
BENCHMARK(Draw300)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    char data[] = "/tmp/brisalo-picture-bench-XXXXXX";
    SDL_Surface* frame = nullptr;
    SDL_Renderer* renderer = StartBenchPlayer(data, &frame);
    if (!renderer) return 2;

    benchmark::Initialize(&argc, argv);
    TMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::map<int, TRoundFigures> fills;
    for (int n : {100, 300, 1000}) fills[n] = MeasureFill(n);

    int drawsAt[2] = {0, 0};
    {
        auto model = LoadModel("mosaic", 300);
        for (int i = 0; i < 2; ++i) {
            model->mZoom = i == 0 ? model->mFitZoom : model->mMaxZoom;
            model->Draw(1.0f);
            drawsAt[i] = model->mDrawnImages;
        }
    }

    SDL_DestroyRenderer(renderer);
    GetAppState().mRenderDevice.reset();
    SDL_FreeSurface(frame);
    if (system((std::string("rm -rf ") + data).c_str()) != 0) fprintf(stderr, "cannot remove %s\n", data);

    printf("\n%6s %9s %9s %9s %9s %7s %11s %9s   (ms, medians)\n", "N", "load", "stroke", "fill", "floor",
           "ratio", "completion", "save");
    bool within = true;
    for (int n : {100, 300, 1000}) {
        auto m = [&](const char* fn) { return reporter.Median(std::string(fn) + "/" + std::to_string(n)); };
        const TRoundFigures& fill = fills[n];
        printf("%6d %9.3f %9.3f %9.3f %9.3f %7.2f %11.3f %9.3f\n", n, m("Load"), m("Stroke"), fill.subjectMs,
               fill.floorMs, fill.ratio, m("Completion"), m("Save"));
        if (!fill.Within(kAllowedRatio)) within = false;
    }
    printf("draw of mosaic300: %.3f ms and %d texture draws at fit, %.3f ms and %d draws at max zoom\n",
           reporter.Median("Draw300/0"), drawsAt[0], reporter.Median("Draw300/1"), drawsAt[1]);
    printf("%s: area fill %s %.1f x the plain scanline fill at every size\n", within ? "PASS" : "FAIL",
           within ? "within" : "beyond", kAllowedRatio);
    return within ? 0 : 1;
}
