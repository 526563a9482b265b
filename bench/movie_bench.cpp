// Movie benchmark: each shipped movie driven as its scene object drives it (a 60 Hz clock, a
// decode whenever a frame time has passed, an upload after each), against a floor measured
// in the same run: a plain libogg/libtheora loop at post-processing level 0 that decodes the
// same frames and converts into memory exactly the frames the drive uploads, at the width the
// drive uploads (half the picture, with the alpha from the other half, for a movie that
// carries its alpha), keeping their alpha as the drive does. Both are timed in the thread's
// processor time, in eleven alternating rounds of 400 frames; fails when the median of the
// rounds' ratios of decode and upload to the floor is above 1.5.
// Run: make bench (or build-bench/brisalo_movie_bench).
#include <SDL.h>
#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_rounds.h"
#include "core/app_state.h"
#include "graphics/texture_cache.h"
#include "sound/video_window.h"

namespace {

const int kFrames = 400;
const int kRounds = 11;
const double kBound = 1.5;

// What one drive did: its decoded frames, and how often each of them (by its number, from 1)
// was converted for an upload; a 60 Hz clock skips some frames of a movie of 25 per second.
struct TMovieSchedule {
    int framesDecoded = 0;
    std::vector<int> conversions;
};

struct TDriven {
    double decodeMs = 0.0;
    double uploadMs = 0.0;
    int level = 0;  // post-processing level at the end: a drive that keeps up reaches 0
    TMovieSchedule schedule;
};

TDriven DriveLikeTheGame(const std::string& path, bool alphaLayout)
{
    TDriven driven;
    TVideoWindow window;
    window.mLoops = -1;
    window.Open(path);
    TexturePtr texture = CreateBlankTexture(window.GetPictureWidth() / (alphaLayout ? 2 : 1),
                                            window.GetPictureHeight(), 1, SDL_PIXELFORMAT_ARGB8888);
    std::vector<int>& conversions = driven.schedule.conversions;
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
        bool decoded = false;
        driven.decodeMs += BenchCpuMs([&] { decoded = window.DecodeUntil(clock); });
        if (!decoded) continue;
        driven.uploadMs += BenchCpuMs([&] {
            if (alphaLayout)
                window.UploadFrameWithAlpha(texture, true);
            else
                window.UploadFrame(texture, true);
        });
        const int frame = window.GetFramesDecoded();
        if (frame <= 0) continue;  // nothing decoded yet: the upload converted nothing
        if (static_cast<size_t>(frame) >= conversions.size()) conversions.resize(static_cast<size_t>(frame) + 1, 0);
        ++conversions[static_cast<size_t>(frame)];
    }
    driven.schedule.framesDecoded = window.GetFramesDecoded();
    driven.level = window.GetPostProcessingLevel();
    return driven;
}

bool SameSchedule(const TMovieSchedule& a, const TMovieSchedule& b)
{
    return a.framesDecoded == b.framesDecoded && a.conversions == b.conversions;
}

// The plain conversion of the decoded frame into memory, as the drive converts it, with the
// alpha kept beside.
void ConvertFrame(th_ycbcr_buffer planes, int picW, int picH, bool alphaLayout, std::vector<uint32_t>* pixels,
                  std::vector<uint8_t>* alphas)
{
    const int outW = alphaLayout ? picW / 2 : picW;
    const int half = picW / 2;
    pixels->resize(static_cast<size_t>(outW) * picH);
    alphas->resize(pixels->size());
    for (int r = 0; r < picH; ++r) {
        const uint8_t* y = planes[0].data + static_cast<ptrdiff_t>(r) * planes[0].stride;
        const uint8_t* cb = planes[1].data + static_cast<ptrdiff_t>(r / 2) * planes[1].stride;
        const uint8_t* cr = planes[2].data + static_cast<ptrdiff_t>(r / 2) * planes[2].stride;
        uint32_t* out = pixels->data() + static_cast<size_t>(r) * outW;
        uint8_t* alpha = alphas->data() + static_cast<size_t>(r) * outW;
        if (alphaLayout) {
            for (int x = 0; x < outW; ++x) {
                const int a = VideoAlpha(y[x + half], cr[x / 2 + picW / 4]);
                out[x] = static_cast<uint32_t>(a) << 24 | (VideoPixel(y[x], cb[x / 2], cr[x / 2]) & 0x00FFFFFFu);
                alpha[x] = static_cast<uint8_t>(a);
            }
        } else {
            for (int x = 0; x < outW; ++x) out[x] = VideoPixel(y[x], cb[x / 2], cr[x / 2]);
            memset(alpha, 255, static_cast<size_t>(outW));
        }
    }
}

// Decodes the file pass after pass at level 0 until the drive's frame count, converting the
// frames the drive converted; processor milliseconds of the decoding and converting, -1 when
// a pass yields no frame.
double FloorMs(const std::vector<uint8_t>& file, const TMovieSchedule& schedule, bool alphaLayout)
{
    int frames = 0;
    double spent = 0.0;
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> alphas;
    while (frames < schedule.framesDecoded) {
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
        while (frames < schedule.framesDecoded && ogg_sync_pageout(&sync, &page) == 1) {
            if (!haveStream) {
                ogg_stream_init(&stream, ogg_page_serialno(&page));
                haveStream = true;
            }
            if (ogg_page_serialno(&page) != stream.serialno) continue;
            ogg_stream_pagein(&stream, &page);
            while (frames < schedule.framesDecoded && ogg_stream_packetout(&stream, &packet) == 1) {
                if (!decoder) {
                    if (th_decode_headerin(&info, &comment, &setup, &packet) > 0) continue;
                    decoder = th_decode_alloc(&info, setup);
                    if (!decoder) break;
                    int level = 0;
                    th_decode_ctl(decoder, TH_DECCTL_SET_PPLEVEL, &level, sizeof level);
                }
                spent += BenchCpuMs([&] {
                    if (packet.granulepos >= 0)
                        th_decode_ctl(decoder, TH_DECCTL_SET_GRANPOS, &packet.granulepos, sizeof packet.granulepos);
                    if (th_decode_packetin(decoder, &packet, nullptr) != 0) return;
                    ++frames;
                    ++passFrames;
                    const int times = static_cast<size_t>(frames) < schedule.conversions.size()
                                          ? schedule.conversions[static_cast<size_t>(frames)]
                                          : 0;
                    for (int i = 0; i < times; ++i) {
                        th_ycbcr_buffer planes;
                        th_decode_ycbcr_out(decoder, planes);
                        ConvertFrame(planes, static_cast<int>(info.pic_width), static_cast<int>(info.pic_height),
                                     alphaLayout, &pixels, &alphas);
                    }
                });
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
    return spent;
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
        // The drive's clock is simulated, so every drive decodes and uploads the same frames:
        // a first drive, untimed, tells the floor which.
        const TMovieSchedule schedule = DriveLikeTheGame(path, movie.alpha).schedule;
        int converted = 0;
        for (int times : schedule.conversions) converted += times;
        TDriven driven;
        bool sameWork = true;
        const TRoundFigures figures = BenchRounds(
            kRounds,
            [&] {
                driven = DriveLikeTheGame(path, movie.alpha);
                sameWork = sameWork && SameSchedule(driven.schedule, schedule);
                return driven.decodeMs + driven.uploadMs;
            },
            [&] { return schedule.framesDecoded > 0 ? FloorMs(file, schedule, movie.alpha) : -1.0; });
        const bool ok = sameWork && figures.Within(kBound);
        const double frames = schedule.framesDecoded > 0 ? schedule.framesDecoded : 1;
        printf("%-11s %d frames decoded, %d converted; decode %.3f ms/frame, upload %.3f ms/frame (last round, "
               "level %d); medians of %d rounds: total %.3f, floor %.3f ms/frame, %.2f x floor (bound %.1f x) %s\n",
               movie.name, schedule.framesDecoded, converted, driven.decodeMs / frames, driven.uploadMs / frames,
               driven.level, kRounds, figures.subjectMs / frames, figures.floorMs / frames, figures.ratio, kBound,
               ok ? "ok" : "TOO SLOW");
        if (!sameWork) printf("%-11s the drives did not all decode and upload the same frames\n", movie.name);
        if (!ok) status = 1;
    }
    app.mRenderDevice.reset();
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(screen);
    return status;
}
