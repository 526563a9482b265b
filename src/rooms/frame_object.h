// The application's frame around an open close-up: a drawable with a resting place, moved
// from there by each close-up as it loads and drawn over the close-up that is shown.
#pragma once
#include "graphics/draw_object.h"

class TFrameObject : public DrawObject {
public:
    // The resting place plus the offset.
    void PlaceAt(float dx, float dy) { SetPosition(mBaseX + dx, mBaseY + dy, false); }

    float mBaseX = 0.0f;
    float mBaseY = 0.0f;
};
