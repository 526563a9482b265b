// The floor of the start-up bench: what any SDL game with sound pays before its first frame
// on this machine. It opens a full-screen desktop window, the accelerated vsynced renderer
// (the software one where that is missing, as the game does) and an OpenAL context on the
// device the game asks for first, presents one cleared frame, and prints the game's own
// "first frame at" line so that startup_bench.sh times both the same way.
#include <AL/al.h>
#include <AL/alc.h>
#include <SDL.h>

#include <cstdio>

#include "monotonic_clock.h"

int main(int, char**)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) {
        fprintf(stderr, "startup floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("startup floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1366, 768,
                                          SDL_WINDOW_SHOWN | SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_Renderer* renderer = nullptr;
    if (window) {
        renderer = SDL_CreateRenderer(window, -1,
                                      SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
        if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    if (!renderer) {
        fprintf(stderr, "startup floor: no window or renderer: %s\n", SDL_GetError());
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return 1;
    }
    ALCdevice* device = alcOpenDevice("Generic Software");
    if (!device) device = alcOpenDevice(nullptr);
    ALCcontext* context = device ? alcCreateContext(device, nullptr) : nullptr;
    if (context) alcMakeContextCurrent(context);

    SDL_PumpEvents();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    printf("first frame at %.3f ms on the monotonic clock (%s)\n", BenchMonotonicMs(),
           context ? "with sound" : "no sound device");
    fflush(stdout);

    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device) alcCloseDevice(device);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
