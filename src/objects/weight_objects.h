// Weighing scales and linked weights.
#pragma once
#include "core/messages.h"
#include "objects/container_objects.h"

// Leaves the message dispatcher through its listener base when destroyed.
class TWeightSystemObject : public TObject, public TMyMessageListener {
public:
    ~TWeightSystemObject() override;
    int GetTypeCode() const override { return 83; }
};

class TWeightPartObject : public TObject {
public:
    ~TWeightPartObject() override;
    int GetTypeCode() const override { return 82; }
};

class TConjunctWeightObject : public TObject {
public:
    ~TConjunctWeightObject() override;
    int GetTypeCode() const override { return 79; }
};

class TConjunctWeightParentObject : public TTransparentObject {
public:
    ~TConjunctWeightParentObject() override;
    int GetTypeCode() const override { return 80; }
};
