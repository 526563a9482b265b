// Slide rotators (picture bands rolled by a click) and the case lock that opens when its
// rotators show the right combination.
#pragma once
#include <cstdint>
#include <vector>

#include "core/messages.h"
#include "objects/container_objects.h"

// Told when a slide rotator has come to rest; nothing happens by default.
class TSlideRotatorListener {
public:
    virtual ~TSlideRotatorListener() = default;
    virtual void OnRotatorStopped() {}
};

class TSlideImageRotator : public TObject {
public:
    ~TSlideImageRotator() override;
    int GetTypeCode() const override { return 43; }
};

class TCaseLockObject : public TTransparentObject, public TSlideRotatorListener {
public:
    ~TCaseLockObject() override;
    int GetTypeCode() const override { return 44; }

    std::vector<int32_t> mCombination;  // "combination"
    float mDelay = 1.0f;                // "delay", seconds
    TTimer mDelayTimer;
};
