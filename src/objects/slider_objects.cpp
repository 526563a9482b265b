#include "objects/slider_objects.h"

TSliderObject::~TSliderObject() = default;

void TSliderObject::Reset()
{
    if (!mDragging) mValue = mDefaultValue;
}

TDragSliderObject::~TDragSliderObject() = default;
TSpringedObject::~TSpringedObject() = default;
TSpinnerObject::~TSpinnerObject() = default;
TSpinnerSequenceObject::~TSpinnerSequenceObject() = default;
TSpinnerEchoObject::~TSpinnerEchoObject() = default;
