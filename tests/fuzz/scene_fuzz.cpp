// libFuzzer target: each input read as a space file (the room loader over the XML, with the
// shipped assets), then as the saved state of the shipped menu's room; both rooms are shown,
// updated for a few frames and drawn on a software renderer. There is no sound manager, as
// after the sound shutdown: the scene plays nothing and must not ask for one.
#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/localization.h"
#include "core/random.h"
#include "fuzz_support.h"
#include "objects/object_factory.h"
#include "rooms/room.h"
#include "sound/sound_manager.h"

namespace {

// Held for the whole run so that every input finds the menu's pictures in the cache.
TRoom* gWarmMenu = nullptr;

void Silent(void*, int, SDL_LogPriority, const char*) {}

// Frame times from none to a long stall, as the game loop hands them out.
const float kFrameTimes[] = {0.0f, 0.016f, 0.1f, 1.0f, 0.016f};

void Show(TRoom& room)
{
    room.LoadObjectResources(0);
    room.mShowRequest = true;
    room.OnShow();
}

void Play(TRoom& room)
{
    for (float dt : kFrameTimes) {
        room.Update(dt);
        room.Draw();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    SDL_LogSetOutputFunction(Silent, nullptr);
    InitFuzzRenderer(320, 180);
    // "assets/" is read beside the working folder.
    if (chdir(BRISALO_SOURCE) != 0) abort();
    ReleaseSoundManager();
    GetLocalization()->Load("termins.xml");
    GetAppState().mObjectFactory.reset(new TObjectFactory());
    gWarmMenu = new TRoom();
    if (!gWarmMenu->LoadFromXml("mainmenu.xml")) abort();
    gWarmMenu->LoadObjectResources(0);
    // tools/make_fuzz_seeds.py asks for the shipped menu's saved state, shown once.
    if (const char* out = getenv("BRISALO_WRITE_MENU_STATE")) {
        SeedRandom(1);
        TRoom menu;
        if (!menu.LoadFromXml("mainmenu.xml")) abort();
        Show(menu);
        TBaseBuffer state;
        menu.SaveState(state);
        FILE* f = fopen(out, "wb");
        if (!f || fwrite(state.Bytes().data(), state.Size(), 1, f) != 1 || fclose(f) != 0) abort();
        exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteUserFile("scene.xml", data, size);
    {
        TRoom room;
        if (room.LoadFromXml(path)) {
            Show(room);
            Play(room);
            // Its own state written and read back, as a saved game would.
            TBaseBuffer state;
            room.SaveState(state);
            room.LoadState(state);
            Play(room);
        }
    }

    TRoom menu;
    if (!menu.LoadFromXml("mainmenu.xml")) abort();
    Show(menu);
    TBaseBuffer state;
    for (size_t i = 0; i < size; ++i) state.WriteByte(data[i]);
    menu.LoadState(state);
    Play(menu);
    return 0;
}
