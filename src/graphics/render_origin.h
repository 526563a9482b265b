// Moving the drawing origin and zoom of the renderer, so a sub-scene (the picture, a room)
// draws at an offset and scale with its own coordinates.
#pragma once

class TRenderOrigin {
public:
    TRenderOrigin& SetRenderOriginChained(float x, float y, float sx, float sy);
};

void SetRenderOrigin(float x, float y, float sx, float sy);
void ResetRenderOrigin();
