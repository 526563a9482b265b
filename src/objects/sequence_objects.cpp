#include "objects/sequence_objects.h"

TCadrItemsObject::~TCadrItemsObject() = default;
TAnimFileObject::~TAnimFileObject() = default;
TSwitcherObject::~TSwitcherObject() = default;
