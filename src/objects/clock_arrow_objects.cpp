#include "objects/clock_arrow_objects.h"

TClockArrowObject::~TClockArrowObject() = default;
TDragClockArrowObject::~TDragClockArrowObject() = default;
TLimitedArrowObject::~TLimitedArrowObject() = default;
