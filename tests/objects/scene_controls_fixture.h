// Pictures and events for the puzzle controls' tests: a 20 x 20 picture opaque in its left
// half only, solid pictures in three colours, and mouse events with a button word.
#pragma once
#include <string>

#include "objects/object_scene_fixture.h"
#include "rooms/scene_mouse_event.h"

inline TSceneMouseEvent MouseAt(int x, int y, int button = 1)
{
    TSceneMouseEvent event;
    event.mX = x;
    event.mY = y;
    event.mButton = button;
    return event;
}

class ControlsCanvasTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        SavePng("scene/half.png", MakeSurface(20, 20, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                    return x < 10 ? SDL_Color{0, 255, 0, 255} : SDL_Color{0, 0, 0, 0};
                }));
        SolidPng("scene/solid.png", 20, 20, SDL_Color{255, 255, 0, 255});
        SolidPng("scene/red.png", 20, 20, SDL_Color{255, 0, 0, 255});
        SolidPng("scene/blue.png", 20, 20, SDL_Color{0, 0, 255, 255});
        SolidPng("scene/white.png", 64, 64, SDL_Color{255, 255, 255, 255});
    }

    bool NothingDrawn() { return DrawnBox(0, 0, 0).w <= 0; }
};
