// The movement that grows a pocket out of its room and shrinks it back, and who hears when
// it ends.
#pragma once
#include "rooms/effector.h"

class TShowPocketEffector;

class TShowPocketEffectorListener {
public:
    virtual ~TShowPocketEffectorListener() = default;
    virtual void OnShowPocketDone(TShowPocketEffector* effector) = 0;
};

// Opens and closes a pocket.
class TShowPocketEffector : public TEffector {};
