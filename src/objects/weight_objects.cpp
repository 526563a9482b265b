#include "objects/weight_objects.h"

TWeightSystemObject::~TWeightSystemObject() = default;
TWeightPartObject::~TWeightPartObject() = default;
TConjunctWeightObject::~TConjunctWeightObject() = default;
TConjunctWeightParentObject::~TConjunctWeightParentObject() = default;
