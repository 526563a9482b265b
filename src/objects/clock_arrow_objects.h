// Clock hands turned by the player, freely or within bounds.
#pragma once
#include "objects/object.h"

class TClockArrowObject : public TObject {
public:
    ~TClockArrowObject() override;
    int GetTypeCode() const override { return 20; }
    bool IsMovable() const override { return true; }
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
