#include "objects/timer_objects.h"

TTimerObject::~TTimerObject() = default;
TShowSequenceObject::~TShowSequenceObject() = default;
TActivateCounter::~TActivateCounter() = default;
TDelayLoopsSoundObject::~TDelayLoopsSoundObject() = default;
TSoundObject::~TSoundObject() = default;
TBlendingObject::~TBlendingObject() = default;
TLightObject::~TLightObject() = default;
