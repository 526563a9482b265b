// libFuzzer target: Ogg Theora movies through the movie window, decoded with loops and
// clock jumps and uploaded into a small streaming texture with and without a lens mask.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/buffer.h"
#include "graphics/texture.h"
#include "graphics/texture_cache.h"
#include "sound/video_window.h"
#include "fuzz_support.h"

namespace {

std::string gMaskPath;
volatile long gSink;

void Silent(void*, int, SDL_LogPriority, const char*) {}

// Without a valid checksum libogg drops the page, and nearly every mutation would end there.
void RepairPageChecksums(std::vector<uint8_t>& data)
{
    size_t pos = 0;
    while (pos + 27 <= data.size()) {
        if (data[pos] != 'O' || data[pos + 1] != 'g' || data[pos + 2] != 'g' || data[pos + 3] != 'S') {
            ++pos;
            continue;
        }
        size_t segments = data[pos + 26];
        if (pos + 27 + segments > data.size()) return;
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i) body += data[pos + 27 + i];
        size_t end = pos + 27 + segments + body;
        if (end > data.size()) return;
        for (size_t i = 22; i < 26; ++i) data[pos + i] = 0;
        uint32_t crc = Crc32Update(0, data.data() + pos, end - pos);
        for (size_t i = 0; i < 4; ++i) data[pos + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
        pos = end;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    SDL_LogSetOutputFunction(Silent, nullptr);
    std::string assets = std::string(getenv("XDG_DATA_HOME")) + "/work/assets";
    if (system(("mkdir -p '" + assets + "'").c_str()) != 0) abort();
    // The lens: opaque left half, transparent right half.
    gMaskPath = assets + "/lens.png";
    SDL_Surface* lens = SDL_CreateRGBSurfaceWithFormat(0, 48, 48, 32, SDL_PIXELFORMAT_ABGR8888);
    SDL_FillRect(lens, nullptr, 0);
    SDL_Rect left{0, 0, 24, 48};
    SDL_FillRect(lens, &left, 0xFFFFFFFFu);
    if (IMG_SavePNG(lens, gMaskPath.c_str()) != 0) abort();
    SDL_FreeSurface(lens);

    InitFuzzRenderer(64, 64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) return 0;
    const int loops[] = {1, 2, -1};
    const uint8_t mode = data[0];
    const int offsetX = static_cast<int8_t>(data[1]);
    const int offsetY = static_cast<int8_t>(data[2]);
    std::vector<uint8_t> movie(data + 3, data + size);
    RepairPageChecksums(movie);
    std::string path = WriteUserFile("movie.ogv", movie.data(), movie.size());

    TexturePtr texture = CreateBlankTexture(64, 64, 1, SDL_PIXELFORMAT_ARGB8888);
    if (!texture) abort();
    long sum = 0;
    {
        TVideoWindow window;
        window.mLoops = loops[mode % 3];
        if (mode & 4) {
            TTextureSwitchScope keep(KeepTextureAlpha, true);
            window.mMask = TexturePtr(new TTexture());
            window.mMask->LoadFromFile(gMaskPath);
            window.mMaskOffsetX = offsetX;
            window.mMaskOffsetY = offsetY;
        }
        window.Open(path);
        float clock = 0.0f;
        for (int i = 0; i < 64; ++i) {
            // Mostly forward by varying amounts, once back.
            clock += i == 40 ? -1.0f : 0.013f * static_cast<float>(1 + (i * 7 + mode) % 9);
            if (!window.DecodeUntil(clock)) continue;
            window.UploadFrame(texture, true);
            window.UploadFrameWithAlpha(texture, true);
            int w = window.GetPictureWidth() / 2;
            int h = window.GetPictureHeight();
            sum += window.AlphaAt(0, 0) + window.AlphaAt(w - 1, 0) + window.AlphaAt(0, h - 1) +
                   window.AlphaAt(w - 1, h - 1) + window.AlphaAt(w, h) + window.AlphaAt(-1, 0);
        }
        window.Close();
        window.ResetPlayback();
        window.Open(path);
        if (window.DecodeUntil(0.0f)) window.UploadFrame(texture, false);
    }
    gSink = gSink + sum;
    return 0;
}
