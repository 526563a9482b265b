// Clock hands turned by the player, freely or within bounds.
#pragma once
#include "objects/object.h"

class TClockArrowObject : public TObject {
public:
    ~TClockArrowObject() override;
    int GetTypeCode() const override { return 20; }
    bool IsMovable() const override { return true; }

    // A press has picked the hand up and the pointer turns it.
    bool IsTurning() const { return mTurning != 0; }
    void ClearTurning() { mTurning = 0; }

    uint8_t mTurning = 0;
};

// Only the step between the hand and the limited hand; never built on its own.
class TDragClockArrowObject : public TClockArrowObject {
public:
    ~TDragClockArrowObject() override;

protected:
    TDragClockArrowObject() = default;
};

// Answers its own code so that the clock does not count it among its hands.
class TLimitedArrowObject : public TDragClockArrowObject {
public:
    ~TLimitedArrowObject() override;
    int GetTypeCode() const override { return 29; }
};
