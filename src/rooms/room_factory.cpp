#include "rooms/room_factory.h"

#include "core/app_state.h"

void DeleteOwned(TRoomFactory* factory) { delete factory; }

void DeleteOwned(TEffectorsFactory* factory) { delete factory; }

TRoom* TRoomFactory::Create(const std::string& /*type*/) { return new TRoom(); }

TEffector* TEffectorsFactory::Create(const std::string& /*type*/) { return new TEffector(); }
