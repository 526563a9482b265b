// The infrared object seen through the lens, and the multi-tool object.
#pragma once
#include "objects/object.h"

// Seen only through the infrared lens: the room stores the part of it under the lens each
// frame the lens lies over it.
class TInfraredObject : public TObject {
public:
    ~TInfraredObject() override;
    int GetTypeCode() const override { return 23; }
    // The lens image's texture and where the object lies within it.
    void SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens);
    void ClearLens();

    bool mLensActive = false;  // the room sets it while the lens lies over the object
    int32_t mLensOffsetX = 0;
    int32_t mLensOffsetY = 0;
    TexturePtr mLens;
    // The part of the object's rectangle under the lens: x, y, width, height.
    float mRevealedX = 0.0f, mRevealedY = 0.0f, mRevealedW = 0.0f, mRevealedH = 0.0f;
};

class TMultyToolObject : public TObject {
public:
    ~TMultyToolObject() override;
};
