// The infrared object seen through the lens, and the multi-tool object.
#pragma once
#include "objects/lens_target.h"
#include "objects/object.h"

// Seen only through the infrared lens: the room stores the part of it under the lens each
// frame the lens lies over it.
class TInfraredObject : public TObject, public TLensTarget {
public:
    ~TInfraredObject() override;
    int GetTypeCode() const override { return 23; }

    // The part of the object's rectangle under the lens: x, y, width, height.
    float mRevealedX = 0.0f, mRevealedY = 0.0f, mRevealedW = 0.0f, mRevealedH = 0.0f;
};

class TMultyToolObject : public TObject {
public:
    ~TMultyToolObject() override;
};
