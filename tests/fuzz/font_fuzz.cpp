// libFuzzer target: font descriptor scripts through the parser and the font that measures
// and draws with them, at several point sizes, scales and tags, on a software renderer.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "graphics/image_font.h"
#include "fuzz_support.h"

namespace {

volatile uint64_t gSink;  // keeps the results alive; unsigned, so adding up runs wraps harmlessly
// Absolute, so that libFuzzer's own relative paths keep meaning the caller's folder.
std::string gDescriptor;
const char* const kAtlases[] = {"sans16", "sans20", "sansbold22", "sansbold30", "sansbold40"};

void Silent(void*, int, SDL_LogPriority, const char*) {}

void CopyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    if (!in || !out) abort();
    out << in.rdbuf();
}

void Exercise(ImageFont& font, const std::wstring& text)
{
    // In 64 bits: each width may reach the int range's end on its own.
    int64_t sum = int64_t{font.WStringWidth(text)} + font.StringWidth(text) + font.GetAscent() + font.GetHeight();
    int width = 0;
    std::vector<SDL_Rect> rects;
    font.DrawWStringEx(3, 40, text, 0xFFFFFFFFu, 0, &rects, &width, false);
    sum += width + static_cast<int64_t>(rects.size());
    font.DrawWStringEx(3, 40, text, 0xFF808080u, 0, &rects, &width, true);
    sum += width;
    font.DrawStringEx(-5, 20, text, 0x80FFFFFFu, 0, &rects, &width, true);
    sum += int64_t{width} + font.CharWidthKern8('A', 'V') + font.WCharWidthKern(0x416, 'A');
    gSink = gSink + static_cast<uint64_t>(sum);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    SDL_LogSetOutputFunction(Silent, nullptr);
    std::string work = std::string(getenv("XDG_DATA_HOME")) + "/work";
    std::string fonts = work + "/assets/fonts";
    if (system(("mkdir -p '" + fonts + "'").c_str()) != 0) abort();
    gDescriptor = fonts + "/f.txt";
    for (const char* name : kAtlases)
        CopyFile(std::string(BRISALO_ASSETS) + "/fonts/" + name + ".png", fonts + "/" + name + ".png");

    SDL_Surface* glyphs = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ABGR8888);
    SDL_FillRect(glyphs, nullptr, 0xFFFFFFFFu);
    SDL_Rect hole{8, 8, 8, 8};
    SDL_FillRect(glyphs, &hole, 0);
    if (IMG_SavePNG(glyphs, (fonts + "/a.png").c_str()) != 0) abort();
    SDL_FreeSurface(glyphs);

    InitFuzzRenderer(256, 64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        FILE* f = fopen(gDescriptor.c_str(), "wb");
        if (!f) abort();
        if (size > 0 && fwrite(data, size, 1, f) != 1) abort();
        fclose(f);
    }
    const std::wstring text = L"Ag V\u00E9\u00FF\u0416\uFFFF\U00010041";
    auto font = std::make_unique<ImageFont>(gDescriptor);
    const int sizes[] = {7, 40, font->GetDefaultPointSize()};
    for (int size : sizes)
        for (float scale : {1.0f, 0.5f})
            for (bool bold : {false, true}) {
                font->SetPointSize(size);
                font->SetScale(scale);
                if (bold) font->AddTag("BOLD");
                else font->RemoveTag("bold");
                Exercise(*font, text);
            }
    int64_t sum = 0;
    for (const char* name : {"CHARS", "r", "A"}) sum += static_cast<int64_t>(font->GetDefine(name).size());
    std::unique_ptr<TMyFont> copy = font->Clone();
    font.reset();
    sum += int64_t{copy->WStringWidth(text)} + copy->StringWidth(text);
    gSink = gSink + static_cast<uint64_t>(sum);
    return 0;
}
