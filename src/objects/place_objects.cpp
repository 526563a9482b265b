#include "objects/place_objects.h"

TPlacesObject::~TPlacesObject() = default;
TPlacesHandleObject::~TPlacesHandleObject() = default;
TPlacesItemsObject::~TPlacesItemsObject() = default;
TPlacesItemsHandleObject::~TPlacesItemsHandleObject() = default;
