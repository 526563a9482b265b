// Objects that show their children one at a time, play an animation file, or switch
// between pictures.
#pragma once
#include "objects/object.h"

class TCadrItemsObject : public TObject {
public:
    ~TCadrItemsObject() override;
    int GetTypeCode() const override { return 19; }
};

class TAnimFileObject : public TObject {
public:
    ~TAnimFileObject() override;
    int GetTypeCode() const override { return 39; }
};

class TSwitcherObject : public TObject {
public:
    ~TSwitcherObject() override;
    int GetTypeCode() const override { return 2; }
};
