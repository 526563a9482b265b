#include "objects/morph_objects.h"

TMorphingObject::~TMorphingObject() = default;
TDoubleMorphingObject::~TDoubleMorphingObject() = default;
TMorphingObject2::~TMorphingObject2() = default;
