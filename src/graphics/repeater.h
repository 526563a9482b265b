// Repeaters play an effector again after random intervals. The effector lives on a higher
// floor: the repeater knows it only as something it can play.
#pragma once
#include "core/SharedPtr.h"
#include "core/messages.h"

class TBaseBuffer;
class TiXmlElement;

class TRepeaterClient {
public:
    virtual ~TRepeaterClient() = default;
    virtual void Play() = 0;
};

class TRepeater {
public:
    virtual ~TRepeater() = default;
    virtual void Update(float dt) = 0;
    virtual void SaveState(TBaseBuffer& buffer) = 0;
    virtual void LoadState(TBaseBuffer& buffer) = 0;
    // The same settings and running interval, playing another client.
    virtual TRepeater* CopyFor(TRepeaterClient* client) const = 0;
};

class TVariousTimeRepeater : public TRepeater {
public:
    TVariousTimeRepeater(const TiXmlElement* element, TRepeaterClient* client);
    void Update(float dt) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    TRepeater* CopyFor(TRepeaterClient* client) const override;

    TRepeaterClient* mClient = nullptr;  // not owned: the effector that owns the repeater
    TTimer mTimer;
    float mTime = 0.0f;
    float mOffset = 0.0f;
    float mStartTime = 0.0f;
    float mStartOffset = 0.0f;
};

// "type" (default "vartime"); any other type gives none.
SharedPtr<TRepeater> CreateRepeater(const TiXmlElement* element, TRepeaterClient* client);
