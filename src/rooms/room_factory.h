// Builds rooms and effectors for the scene engine.
#pragma once
#include <string>

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

class TEffector {
public:
    virtual ~TEffector() = default;
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
