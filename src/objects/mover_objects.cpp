#include "objects/mover_objects.h"

TMoverObject::~TMoverObject() = default;
TTargetObject::~TTargetObject() = default;
TFinderMoverObject::~TFinderMoverObject() = default;
TArcMoverObject::~TArcMoverObject() = default;
TMovingClockArrowObject::~TMovingClockArrowObject() = default;
