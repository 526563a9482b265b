#include "objects/movie_objects.h"

TVideoObject::~TVideoObject() = default;
TGhostObject::~TGhostObject() = default;

void TGhostObject::SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens)
{
    mLensOffsetX = offsetX;
    mLensOffsetY = offsetY;
    mLens = lens;
}

void TGhostObject::ClearLens()
{
    mLensOffsetX = 0;
    mLensOffsetY = 0;
    mLens.Reset();
}
TFinishVideoWrapperObject::~TFinishVideoWrapperObject() = default;
