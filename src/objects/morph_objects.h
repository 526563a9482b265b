// Morphing objects: pictures cross-faded into one another.
#pragma once
#include "graphics/tweens.h"
#include "objects/object.h"

class TMorphingObject : public TObject {
public:
    ~TMorphingObject() override;
    int GetTypeCode() const override { return 51; }
};

class TDoubleMorphingObject : public TMorphingObject {
public:
    ~TDoubleMorphingObject() override;

    IncValue mSecondMorph;
};

class TMorphingObject2 : public TObject {
public:
    ~TMorphingObject2() override;
    int GetTypeCode() const override { return 52; }
};
