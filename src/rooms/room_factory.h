// Builds rooms and effectors for the scene engine.
#pragma once
#include <string>

#include "rooms/effector.h"
#include "rooms/game_space.h"

#include "rooms/room.h"

class TBaseRoomFactory {
public:
    virtual ~TBaseRoomFactory() = default;
    virtual TRoom* Create(const std::string& type) = 0;
};

class TRoomFactory : public TBaseRoomFactory {
public:
    // A new room whatever the type. Installs the application's factory first when there is
    // none yet, unless the shutdown has passed it.
    TRoom* Create(const std::string& type) override;
};
void SetRoomFactoryShutDown(bool down);

// The kinds a space builds itself when no effector factory is installed; null for any other.
TEffector* CreateSpaceEffector(const std::string& type);

class TBaseEffectorsFactory {
public:
    virtual ~TBaseEffectorsFactory() = default;
    // A new effector of the kind (null for a type no kind has). Installs the application's
    // factory first when there is none yet.
    TEffector* Create(const std::string& type);

protected:
    virtual TEffector* CreateEffector(const std::string& type) = 0;
};

class TEffectorsFactory : public TBaseEffectorsFactory {
protected:
    // Exact, case-sensitive names.
    TEffector* CreateEffector(const std::string& type) override;
};
