// What a room sets on an object that is seen only through a lens: where the object lies within
// the lens image, that image's texture, and whether the lens lies over it this frame.
#pragma once
#include <cstdint>

#include "graphics/texture.h"

class TLensTarget {
public:
    virtual ~TLensTarget() = default;

    virtual void SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens)
    {
        mLensOffsetX = offsetX;
        mLensOffsetY = offsetY;
        mLens = lens;
    }
    virtual void ClearLens()
    {
        mLensOffsetX = 0;
        mLensOffsetY = 0;
        mLens.Reset();
    }

    bool mLensActive = false;  // the room sets it while the lens lies over the object
    int32_t mLensOffsetX = 0;
    int32_t mLensOffsetY = 0;
    TexturePtr mLens;
};
