// Timers, shown sequences, activation counters, sound and light objects.
#pragma once
#include "core/messages.h"
#include "objects/object.h"

class TTimerObject : public TObject {
public:
    ~TTimerObject() override;
};

class TShowSequenceObject : public TObject {
public:
    ~TShowSequenceObject() override;
};

class TActivateCounter : public TObject {
public:
    ~TActivateCounter() override;
    int GetTypeCode() const override { return 48; }
};

class TDelayLoopsSoundObject : public TObject, public TTimerListener {
public:
    ~TDelayLoopsSoundObject() override;
    int GetTypeCode() const override { return 62; }
};

class TSoundObject : public TObject {
public:
    ~TSoundObject() override;
    int GetTypeCode() const override { return 54; }
};

class TBlendingObject : public TObject {
public:
    ~TBlendingObject() override;
    int GetTypeCode() const override { return 63; }
};

// Built for both "light_obj" and "fading_video"; only the type name tells them apart.
class TLightObject : public TObject {
public:
    ~TLightObject() override;
    int GetTypeCode() const override { return 58; }
};
