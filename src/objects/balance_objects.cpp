#include "objects/balance_objects.h"

TBalanceObject::~TBalanceObject() = default;
TGunBallObject::~TGunBallObject() = default;
TBallShooterObject::~TBallShooterObject() = default;
