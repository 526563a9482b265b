#include "objects/anim_objects.h"

TCadrObject::~TCadrObject() = default;
TDoubleHOCadrObject::~TDoubleHOCadrObject() = default;
TAnimObject::~TAnimObject() = default;
TLineMovingAnimObject::~TLineMovingAnimObject() = default;
TrajectoryMoverCadrImage2Object::~TrajectoryMoverCadrImage2Object() = default;
