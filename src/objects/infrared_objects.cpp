#include "objects/infrared_objects.h"

TInfraredObject::~TInfraredObject() = default;

void TInfraredObject::SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens)
{
    mLensOffsetX = offsetX;
    mLensOffsetY = offsetY;
    mLens = lens;
}

void TInfraredObject::ClearLens()
{
    mLensOffsetX = 0;
    mLensOffsetY = 0;
    mLens.Reset();
}
TMultyToolObject::~TMultyToolObject() = default;
