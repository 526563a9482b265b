#include "objects/movie_objects.h"

TVideoObject::~TVideoObject() = default;
TGhostObject::~TGhostObject() = default;
TFinishVideoWrapperObject::~TFinishVideoWrapperObject() = default;
