// Movers: objects dragged or carried to a target, an arc mover and the moving clock hand.
#pragma once
#include "objects/object.h"

class TMoverObject : public TObject {
public:
    ~TMoverObject() override;
    bool IsMovable() const override { return true; }
};

class TTargetObject : public TMoverObject {
public:
    ~TTargetObject() override;
    int GetTypeCode() const override { return 85; }
};

// Keeps the mover's code 0: only its counter child tells it apart.
class TFinderMoverObject : public TMoverObject {
public:
    ~TFinderMoverObject() override;
};

class TArcMoverObject : public TObject {
public:
    ~TArcMoverObject() override;
    int GetTypeCode() const override { return 13; }
    bool IsMovable() const override { return true; }
};

class TMovingClockArrowObject : public TObject {
public:
    ~TMovingClockArrowObject() override;
    int GetTypeCode() const override { return 30; }
    bool IsMovable() const override { return true; }
};
