#include "objects/found_objects.h"

THiddenObject::~THiddenObject() = default;
TDoubleScoreObject::~TDoubleScoreObject() = default;
TCollectionItemObject::~TCollectionItemObject() = default;
TNoteCollectionObject::~TNoteCollectionObject() = default;
TNoteCollectionItemObject::~TNoteCollectionItemObject() = default;
TMapObject::~TMapObject() = default;
