// Repeaters restart an effect after random intervals, for scenes that replay an animation
// now and then rather than on a fixed beat.
#pragma once
#include "core/SharedPtr.h"
#include "core/messages.h"

class TiXmlElement;
class TBaseBuffer;

// What a repeater restarts. The keyframe effector of the rooms floor is one; the repeater
// sits below it and reaches it only through this.
class TPlayable {
public:
    virtual ~TPlayable() = default;
    virtual void Play() = 0;
};

class TRepeater {
public:
    virtual ~TRepeater() = default;
    virtual void Update(float dt) = 0;
    virtual void SaveState(TBaseBuffer& buffer) = 0;
    virtual void LoadState(TBaseBuffer& buffer) = 0;
    // The same settings and running interval, restarting another effector.
    virtual TRepeater* CopyFor(TPlayable* effector) const = 0;
};

class TVariousTimeRepeater : public TRepeater {
public:
    TVariousTimeRepeater(const TiXmlElement* element, TPlayable* effector);
    void Update(float dt) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    TRepeater* CopyFor(TPlayable* effector) const override;

    const TTimer& GetTimer() const { return mTimer; }

private:
    void StartInterval(float interval);

    TPlayable* mEffector;  // not owned
    TTimer mTimer;
    float mTime = 0.0f;
    float mOffset = 0.0f;
    float mStartTime = 0.0f;
    float mStartOffset = 0.0f;
};

// "type" picks the kind ("vartime" by default); an unknown kind gives an empty pointer.
SharedPtr<TRepeater> CreateRepeater(const TiXmlElement* element, TPlayable* effector);
