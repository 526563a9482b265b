// Pictures and events for the puzzle controls' tests: a 20 x 20 picture opaque in its left
// half only, solid pictures in three colours, and mouse events with a button word.
#pragma once
#include <memory>
#include <string>

#include "objects/object_scene_fixture.h"
#include "objects/scene_press.h"
#include "rooms/scene_mouse_event.h"

inline TSceneMouseEvent MouseAt(int x, int y, int button = 1) { return PressAt(x, y, nullptr, button); }

// Loaded as a space would load it, with its pictures.
template <class Kind>
std::unique_ptr<Kind> LoadedControl(const std::string& xml, TGameSpace* owner = nullptr)
{
    auto control = LoadObjectFrom<Kind>(xml, "scene/", owner);
    control->LoadResources();
    return control;
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

    // The half picture shown with its top-left at (290, 190): a press on its opaque half is
    // taken, one on the clear half or at the same offset from (0, 0) is not; hidden, the
    // control takes no press and draws no pixel.
    void ExpectHitWhereShown(TObject& control)
    {
        SCOPED_TRACE(control.GetTypeCode());
        EXPECT_TRUE(control.OnMouseDown(MouseAt(295, 200)));
        EXPECT_FALSE(control.OnMouseDown(MouseAt(305, 200)));
        EXPECT_FALSE(control.OnMouseDown(MouseAt(5, 10)));
        control.Update(1.0f);  // any fade the press started
        Clear(0, 0, 0);
        control.Draw(1.0f);
        EXPECT_EQ((SDL_Rect{290, 190, 10, 20}), DrawnBox(0, 0, 0));
        control.SetVisible(false);
        EXPECT_FALSE(control.OnMouseDown(MouseAt(295, 200)));
        Clear(0, 0, 0);
        control.Draw(1.0f);
        EXPECT_TRUE(NothingDrawn());
    }
};
