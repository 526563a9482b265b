// Pockets: small spaces opened over a room.
#pragma once
#include "rooms/effector.h"

// Opens and closes a pocket.
class TShowPocketEffector : public TEffector {};
