#include "objects/shape_text_objects.h"

#include "graphics/tweens.h"

TImageSwitcher::~TImageSwitcher() = default;

TIntPoint TImageSwitcher::GetCenter() const
{
    TIntPoint centre;
    centre.x = TruncToInt(mFirstImage.GetX() + mFirstImage.GetWidth() / 2);
    centre.y = TruncToInt(mFirstImage.GetY() + mFirstImage.GetHeight() / 2);
    return centre;
}

TShapeObject::~TShapeObject() = default;
TTextObject::~TTextObject() = default;
TTextInfoObject::~TTextInfoObject() = default;
TTextInfoSwitchImageObject::~TTextInfoSwitchImageObject() = default;
