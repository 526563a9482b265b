#include "rooms/room_factory.h"

TRoom* TRoomFactory::Create(const std::string& /*type*/) { return new TRoom(); }

TEffector* TEffectorsFactory::Create(const std::string& /*type*/) { return new TEffector(); }
