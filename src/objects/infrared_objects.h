// The infrared object seen through the lens, and the multi-tool object.
#pragma once
#include "objects/object.h"

class TInfraredObject : public TObject {
public:
    ~TInfraredObject() override;
    int GetTypeCode() const override { return 23; }
};

class TMultyToolObject : public TObject {
public:
    ~TMultyToolObject() override;
};
