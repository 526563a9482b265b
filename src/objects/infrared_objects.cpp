#include "objects/infrared_objects.h"

TInfraredObject::~TInfraredObject() = default;
TMultyToolObject::~TMultyToolObject() = default;
