// Builds rooms and effectors for the scene engine.
#pragma once
#include <string>

#include "graphics/repeaters.h"
#include "rooms/game_space.h"

class TRoom : public TGameSpace {};

class TBaseRoomFactory {
public:
    virtual ~TBaseRoomFactory() = default;
    virtual TRoom* Create(const std::string& type) = 0;
};

class TRoomFactory : public TBaseRoomFactory {
public:
    TRoom* Create(const std::string& type) override;
};

// The keyframe effector; its repeater restarts it through Play.
class TEffector : public TPlayable {
public:
    ~TEffector() override = default;
    // Restarts nothing yet: the effector's channels come with the effector itself.
    void Play() override {}
};

class TBaseEffectorsFactory {
public:
    virtual ~TBaseEffectorsFactory() = default;
    virtual TEffector* Create(const std::string& type) = 0;
};

class TEffectorsFactory : public TBaseEffectorsFactory {
public:
    TEffector* Create(const std::string& type) override;
};
