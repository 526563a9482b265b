// Keyframe effectors: seven value tracks (x, y, angle, opacity, scale, scale x, scale y)
// written into one target every frame, played again by an optional repeater, and the kinds
// that apply frame-sheet settings or tell the target's parent when a track ends.
#pragma once
#include <cstdint>
#include <string>

#include "core/SharedPtr.h"
#include "graphics/repeaters.h"
#include "graphics/tweens.h"

class DrawObject;
class TBaseBuffer;
class TiXmlElement;
class TEffector;

class TEffectorListener {
public:
    virtual ~TEffectorListener() = default;
    virtual void OnEffectorStarted(TEffector* /*effector*/) {}
    virtual void OnEffectorStopped(TEffector* /*effector*/) {}
    virtual void OnEffectorChannelFinished(TEffector* /*effector*/, int /*channel*/) {}
};

enum TEffectorChannelId { kChannelX, kChannelY, kChannelAngle, kChannelAlpha, kChannelScale, kChannelScaleX,
                          kChannelScaleY, kChannelCount };

struct TEffectorChannelSlot {
    bool mActive = false;   // written (and advanced) each frame
    bool mHasKeys = false;  // at least one key was loaded
    TEffectorChannel mChannel;
};

class TEffector : public TPlayable {
public:
    TEffector() = default;
    TEffector(const TEffector&) = delete;
    TEffector& operator=(const TEffector&) = delete;
    ~TEffector() override = default;

    virtual void Update(float dt);
    virtual void SetTarget(DrawObject* target) { mTarget = target; }
    virtual void LoadState(TBaseBuffer& buffer);
    virtual void LoadXml(const TiXmlElement* element);
    void Play() override;
    virtual void Stop();
    virtual void OnChannelFinished(int channel);
    virtual void Reset();
    virtual TEffector* Clone() const;
    virtual void SaveState(TBaseBuffer& buffer) const;
    // The effector's own part, copied into a clone of any kind.
    void CopyTo(TEffector* clone) const;

    std::string mName;
    TEffectorListener* mListener = nullptr;  // not owned
    DrawObject* mTarget = nullptr;           // not owned
    int32_t mLoop = -1;                      // -1 plays endlessly
    bool mPlay = true;
    TEffectorChannelSlot mSlots[kChannelCount];
    SharedPtr<TRepeater> mRepeater;

private:
    void Write(int channel, float value);
};

// Applies frame-sheet settings to the frame animation of the object it is bound to.
class TCadrEffector : public TEffector {
public:
    void LoadXml(const TiXmlElement* element) override;
    void SetTarget(DrawObject* target) override;
    void Prepare();

    int mCadrWidth = -1;
    int mCadrHeight = -1;
    int mFrames = -1;
    int mSheetWidth = 0;
    int mSheetHeight = 0;
    float mSpeed = 0.0f;
};

// A finished track is news for the target's parent object, not the target.
class TParentSignalEffector : public TEffector {
public:
    void OnChannelFinished(int channel) override;
};
