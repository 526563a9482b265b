// The balance, the gun ball and the ball shooter.
#pragma once
#include "core/messages.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "objects/container_objects.h"

class TBalanceObject : public TTransparentObject {
public:
    ~TBalanceObject() override;
    int GetTypeCode() const override { return 15; }

    IncValue mTilt;
    TLineMover mMover;
};

class TGunBallObject : public TObject {
public:
    ~TGunBallObject() override;

    TLineMover mMover;
    TTimer mTimer;
};

class TBallShooterObject : public TTransparentObject {
public:
    ~TBallShooterObject() override;
    int GetTypeCode() const override { return 16; }
};
