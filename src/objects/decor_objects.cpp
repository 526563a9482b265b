#include "objects/decor_objects.h"

TUVObject::~TUVObject() = default;
TUVSpinObject::~TUVSpinObject() = default;
TCloudsObject::~TCloudsObject() = default;
TParticleObject::~TParticleObject() = default;
TAsterixObject::~TAsterixObject() = default;
TRotatorObject::~TRotatorObject() = default;
TFocuserObject::~TFocuserObject() = default;
TFlexibleObject::~TFlexibleObject() = default;
TUDFlexibleObject::~TUDFlexibleObject() = default;
