#include "objects/slide_rotator_objects.h"

TSlideImageRotator::~TSlideImageRotator() = default;
TCaseLockObject::~TCaseLockObject() = default;
