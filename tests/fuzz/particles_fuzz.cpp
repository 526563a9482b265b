// libFuzzer target: particle descriptions through loading, emission over every area (with
// masks down to 1 x 1 and outlines from the input's bytes), moving and drawing on a software
// renderer, with frame times from 0 to a whole second.
#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "graphics/particle_system.h"
#include "graphics/texture_cache.h"
#include "fuzz_support.h"

namespace {

// Held for the whole run: every input finds them cached.
std::vector<TexturePtr> gShipped;
TexturePtr gMasks[5];  // by input length mod 5; the first stays empty

void Silent(void*, int, SDL_LogPriority, const char*) {}

TexturePtr MakeMask(const std::string& folder, const char* name, int w, int h)
{
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
    if (!s) abort();
    SDL_FillRect(s, nullptr, 0xFFFFFFFFu);
    if (w >= 16) {
        SDL_Rect clear{w / 2, 0, w - w / 2, h};
        SDL_FillRect(s, &clear, 0);
    }
    const std::string path = folder + "/" + name;
    if (IMG_SavePNG(s, (path + ".png").c_str()) != 0) abort();
    SDL_FreeSurface(s);
    TexturePtr mask = GetTexture(path);
    if (!mask || mask->GetWidth() != w) abort();
    return mask;
}

int32_t ReadInt32(const uint8_t* p)
{
    uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
                 static_cast<uint32_t>(p[3]) << 24;
    int32_t out;
    memcpy(&out, &v, sizeof out);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    SDL_LogSetOutputFunction(Silent, nullptr);
    InitFuzzRenderer(256, 256);

    // Run from the repository or the build folder: both hold "assets/".
    gShipped.push_back(GetTexture("textures/fx/sparks"));
    if (!gShipped.back() || gShipped.back()->GetWidth() == 0) {
        fprintf(stderr, "particles_fuzz: run it where assets/textures/fx/sparks.png is found\n");
        abort();
    }
    const std::string folder = std::string(getenv("XDG_DATA_HOME")) + "/masks";
    if (system(("mkdir -p '" + folder + "'").c_str()) != 0) abort();
    gMasks[1] = MakeMask(folder, "m1x1", 1, 1);
    gMasks[2] = MakeMask(folder, "m1x8", 1, 8);
    gMasks[3] = MakeMask(folder, "m2x2", 2, 2);
    gMasks[4] = MakeMask(folder, "m16x16", 16, 16);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteUserFile("fuzz.ini", data, size);
    auto ps = std::make_unique<ParticleSystem>();
    ps->Load(path, gMasks[size % 5]);
    SetParticleRandomCursor(size >= 2 ? static_cast<uint16_t>(data[0] | data[1] << 8) : 0);
    if (ps->mAreaType == 4 && size % 2 == 1) {
        std::vector<TIntPoint> outline;
        for (size_t at = 0; at + 8 <= size && outline.size() < 16; at += 8) {
            TIntPoint p;
            p.x = ReadInt32(data + at);
            p.y = ReadInt32(data + at + 4);
            outline.push_back(p);
        }
        ps->SetPolygonArea(outline);
    }
    ps->Start();
    ps->mX = ps->mPrevX = 128.0f;
    ps->mY = ps->mPrevY = 128.0f;
    const float steps[] = {0.016f, 0.25f, 0.0f, 1.0f};
    for (int frame = 0; frame < 48; ++frame) {
        ps->mX = 128.0f + 60.0f * std::cos(0.3f * static_cast<float>(frame));
        ps->mY = 128.0f + 40.0f * std::sin(0.5f * static_cast<float>(frame));
        const float dt = steps[frame % 4];
        ps->Update(dt);
        ps->MoveParticles(dt);
        if (frame % 4 == 3) ps->Render(1.0f, 0.0f, 0.0f);
    }
    ps.reset();
    return 0;
}
