// Movie benchmark: each shipped movie driven as its scene object drives it (a 60 Hz clock, a
// decode whenever a frame time has passed, an upload after each), against a floor measured
// in the same run: a plain libogg/libtheora loop at post-processing level 0 converting into
// memory. Both run in five alternating rounds of 400 frames; fails when the median of the
// rounds' ratios of decode and upload to the floor per frame is above 1.5.
// Run: make bench (or build-bench/brisalo_movie_bench).
#include <SDL.h>
#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "graphics/texture_cache.h"
#include "sound/video_window.h"

namespace {

const int kFrames = 400;
const int kRounds = 5;
const double kBound = 1.5;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Decodes the file pass after pass at level 0 until kFrames frames, converting each into
// memory; milliseconds per frame.
double FloorMsPerFrame(const std::vector<uint8_t>& file)
{
    int frames = 0;
    Clock::duration spent{};
    std::vector<uint32_t> pixels;
    while (frames < kFrames) {
        ogg_sync_state sync;
        ogg_sync_init(&sync);
        char* buffer = ogg_sync_buffer(&sync, static_cast<long>(file.size()));
        memcpy(buffer, file.data(), file.size());
        ogg_sync_wrote(&sync, static_cast<long>(file.size()));
        ogg_stream_state stream;
        bool haveStream = false;
        th_info info;
        th_comment comment;
        th_setup_info* setup = nullptr;
        th_dec_ctx* decoder = nullptr;
        th_info_init(&info);
        th_comment_init(&comment);
        ogg_page page;
        ogg_packet packet;
        int passFrames = 0;
        while (frames < kFrames && ogg_sync_pageout(&sync, &page) == 1) {
            if (!haveStream) {
                ogg_stream_init(&stream, ogg_page_serialno(&page));
                haveStream = true;
            }
            if (ogg_page_serialno(&page) != stream.serialno) continue;
            ogg_stream_pagein(&stream, &page);
            while (frames < kFrames && ogg_stream_packetout(&stream, &packet) == 1) {
                if (!decoder) {
                    if (th_decode_headerin(&info, &comment, &setup, &packet) > 0) continue;
                    decoder = th_decode_alloc(&info, setup);
                    if (!decoder) break;
                    int level = 0;
                    th_decode_ctl(decoder, TH_DECCTL_SET_PPLEVEL, &level, sizeof level);
                }
                Clock::time_point start = Clock::now();
                if (packet.granulepos >= 0)
                    th_decode_ctl(decoder, TH_DECCTL_SET_GRANPOS, &packet.granulepos, sizeof packet.granulepos);
                if (th_decode_packetin(decoder, &packet, nullptr) == 0) {
                    th_ycbcr_buffer planes;
                    th_decode_ycbcr_out(decoder, planes);
                    int w = static_cast<int>(info.pic_width), h = static_cast<int>(info.pic_height);
                    pixels.resize(static_cast<size_t>(w) * h);
                    for (int r = 0; r < h; ++r) {
                        const uint8_t* y = planes[0].data + r * planes[0].stride;
                        const uint8_t* cb = planes[1].data + (r / 2) * planes[1].stride;
                        const uint8_t* cr = planes[2].data + (r / 2) * planes[2].stride;
                        for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(r) * w + x] = VideoPixel(y[x], cb[x / 2], cr[x / 2]);
                    }
                    ++frames;
                    ++passFrames;
                }
                spent += Clock::now() - start;
            }
        }
        if (decoder) th_decode_free(decoder);
        if (setup) th_setup_free(setup);
        th_info_clear(&info);
        th_comment_clear(&comment);
        if (haveStream) ogg_stream_clear(&stream);
        ogg_sync_clear(&sync);
        if (passFrames == 0) return -1.0;
    }
    return Ms(spent) / frames;
}

struct TDriven {
    double decodeMs;
    double uploadMs;
    int level;  // post-processing level at the end: a drive that keeps up reaches 0
};

TDriven DriveLikeTheGame(const std::string& path, bool alphaLayout)
{
    TVideoWindow window;
    window.mLoops = -1;
    window.Open(path);
    TexturePtr texture = CreateBlankTexture(window.GetPictureWidth() / (alphaLayout ? 2 : 1),
                                            window.GetPictureHeight(), 1, SDL_PIXELFORMAT_ARGB8888);
    Clock::duration decoding{}, uploading{};
    float clock = 0.0f, sinceDecode = 0.0f;
    const float frameTime = window.GetFrameDuration() / 1000.0f;
    while (window.GetFramesDecoded() < kFrames && window.IsPlaying()) {
        clock += 1.0f / 60.0f;
        sinceDecode += 1.0f / 60.0f;
        if (window.mRewound) {
            clock = 0.0f;
            window.mRewound = false;
        }
        if (sinceDecode < frameTime) continue;
        sinceDecode = 0.0f;
        Clock::time_point start = Clock::now();
        bool decoded = window.DecodeUntil(clock);
        Clock::time_point mid = Clock::now();
        if (decoded) {
            if (alphaLayout)
                window.UploadFrameWithAlpha(texture, true);
            else
                window.UploadFrame(texture, true);
        }
        decoding += mid - start;
        uploading += Clock::now() - mid;
    }
    int frames = window.GetFramesDecoded() > 0 ? window.GetFramesDecoded() : 1;
    return {Ms(decoding) / frames, Ms(uploading) / frames, window.GetPostProcessingLevel()};
}

}  // namespace

int main()
{
    SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, 256, 128, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = screen ? SDL_CreateSoftwareRenderer(screen) : nullptr;
    if (!renderer) {
        fprintf(stderr, "movie bench: no software renderer\n");
        return 1;
    }
    TAppState& app = GetAppState();
    app.mRenderDevice.reset(new TRenderDevice());
    app.mRenderDevice->mRenderer = renderer;

    int status = 0;
    const struct {
        const char* name;
        bool alpha;
    } movies[] = {{"mosaicspin", false}, {"glowalpha", true}};
    for (const auto& movie : movies) {
        std::string path = std::string(BRISALO_ASSETS) + "/textures/movies/" + movie.name + ".ogv";
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // Alternating rounds, either side first in turn; the verdict is the median of the
        // rounds' own ratios, so a machine whose load changes slows both sides alike.
        std::vector<double> floors, totals, ratios;
        TDriven driven{};
        for (int round = 0; round < kRounds; ++round) {
            double floor = round % 2 == 0 ? FloorMsPerFrame(file) : 0.0;
            driven = DriveLikeTheGame(path, movie.alpha);
            if (round % 2 == 1) floor = FloorMsPerFrame(file);
            const double total = driven.decodeMs + driven.uploadMs;
            floors.push_back(floor);
            totals.push_back(total);
            ratios.push_back(floor > 0.0 ? total / floor : -1.0);
        }
        const double floor = Median(floors), total = Median(totals);
        const double ratio = *std::min_element(ratios.begin(), ratios.end()) < 0.0 ? -1.0 : Median(ratios);
        bool ok = ratio >= 0.0 && ratio <= kBound;
        printf("%-11s decode %.3f ms/frame, upload %.3f ms/frame (last round, level %d); medians of %d rounds: "
               "total %.3f, floor %.3f, %.2f x floor (bound %.1f x) %s\n",
               movie.name, driven.decodeMs, driven.uploadMs, driven.level, kRounds, total, floor, ratio, kBound,
               ok ? "ok" : "TOO SLOW");
        if (!ok) status = 1;
    }
    app.mRenderDevice.reset();
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(screen);
    return status;
}
