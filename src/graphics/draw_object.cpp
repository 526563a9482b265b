#include "graphics/draw_object.h"

#include "core/numbers.h"
#include "graphics/tweens.h"

void DrawObject::SetPosition(float x, float y, bool /*centred*/)
{
    mX = mStartX = x;
    mY = mStartY = y;
}

void DrawObject::SetScaleXY(float sx, float sy)
{
    mScaleX = sx;
    mScaleY = sy;
}

int DrawObject::GetWidth() const { return TruncToInt(mWidth); }

int DrawObject::GetHeight() const { return TruncToInt(mHeight); }
