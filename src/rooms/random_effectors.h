// Effectors that make their keys as they go: random tracks, trajectories and shaking.
#pragma once
#include "rooms/effector.h"

class TRandomEffector : public TEffector {};

class TRandomEffectorOwnSV : public TRandomEffector {};

class TTrajectoryEffector : public TEffector {
public:
    bool mHide = true;  // the object counts as hidden in saved games while it flies
};

class TShakeEffector : public TEffector {};
