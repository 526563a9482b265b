// libFuzzer target: each input read as a space file (the room loader over the XML, with the
// shipped assets); that room is shown, pressed and released at points taken from the input,
// updated for a few frames and drawn on a software renderer, and reads back its own saved
// state; then the input is read as a saved state, of that room (so every kind it holds meets
// a damaged record) and of the shipped menu's room. There is no sound manager, as after the
// sound shutdown: the scene plays nothing and must not ask for one.
#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/localization.h"
#include "core/random.h"
#include "fuzz_support.h"
#include "game/user_info.h"
#include "objects/object.h"
#include "objects/object_factory.h"
#include "objects/object_refs.h"
#include "rooms/game_event.h"
#include "rooms/room.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"
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

// The pointer moves to the point, presses and lets go; a few frames follow, so that a pocket
// the press opened grows (and draws) before the next press.
void PressAndRelease(TRoom& room, int x, int y)
{
    TSceneMouseEvent event;
    event.mX = x;
    event.mY = y;
    event.mButton = 1;
    room.OnMouseMove(event);
    room.OnMouseDown(event);
    room.OnMouseUp(event);
    Play(room);
}

// The centres of the first objects the input places (its doors, puzzles and buttons), then
// one point spelt by its last four bytes, anywhere on the design screen.
const size_t kPressedObjects = 3;

void PressPointsOfTheInput(TRoom& room, const uint8_t* data, size_t size)
{
    std::vector<TIntPoint> points;
    for (size_t i = 0; i < room.mObjects.size() && i < kPressedObjects; ++i)
        points.push_back({room.mObjects[i]->GetCenterX(), room.mObjects[i]->GetCenterY()});
    if (size >= 4) {
        const uint8_t* tail = data + size - 4;
        points.push_back({(tail[0] | tail[1] << 8) % 1366, (tail[2] | tail[3] << 8) % 768});
    }
    for (const TIntPoint& point : points) PressAndRelease(room, point.x, point.y);
}

void ReadInputAsState(TRoom& room, const uint8_t* data, size_t size)
{
    TBaseBuffer state;
    for (size_t i = 0; i < size; ++i) state.WriteByte(data[i]);
    room.LoadState(state);
    Play(room);
}

// What a scene leaves behind in the application-wide lists, which nothing else empties here.
void ForgetSceneLeftovers()
{
    ClearGameEvents();
    GivenToolRecords().clear();
    GlobalToolsList().Clear();
    GetUserInfo()->Clear();
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
            PressPointsOfTheInput(room, data, size);
            // Its own state written and read back, as a saved game would.
            TBaseBuffer state;
            room.SaveState(state);
            room.LoadState(state);
            Play(room);
            ReadInputAsState(room, data, size);
        }
    }

    TRoom menu;
    if (!menu.LoadFromXml("mainmenu.xml")) abort();
    Show(menu);
    ReadInputAsState(menu, data, size);
    ForgetSceneLeftovers();
    return 0;
}
