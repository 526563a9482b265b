// The canvas of the particle tests: small, unfiltered, with a white 96 x 32 sheet at
// "textures/sheet" and a particles/ folder for the descriptions.
#pragma once
#include "drawing_fixture.h"

class ParticleCanvasTest : public CanvasTest {
protected:
    void SetUp() override
    {
        Open(320, 240);
        SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "0");
        MakeFolder("particles");
        MakeFolder("textures");
        SolidPng("textures/sheet.png", 96, 32, SDL_Color{255, 255, 255, 255});
    }
};
