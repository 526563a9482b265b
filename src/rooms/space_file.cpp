// Reading a space file and writing and reading back a space's saved state.
#include "rooms/game_space.h"

void TGameSpace::LoadState(TBaseBuffer& /*buffer*/) {}

void TGameSpace::SaveState(TBaseBuffer& /*buffer*/) {}

void TGameSpace::LoadObjectsBinary(TBaseBuffer& /*buffer*/) {}

void TGameSpace::SaveObjectsBinary(TBaseBuffer& /*buffer*/) {}

void TGameSpace::LoadAttributes(TiXmlElement* /*common*/) {}

void TGameSpace::LoadObjectStates(TiXmlElement* /*common*/) {}

void TGameSpace::LoadMusic(TiXmlElement* /*common*/) {}

void TGameSpace::LoadObjects(TiXmlElement* /*element*/, TObject* /*parent*/) {}

void TGameSpace::LoadSound(TiXmlElement* /*root*/) {}

void TGameSpace::LoadEffectors(TiXmlElement* /*root*/) {}

void TGameSpace::LoadItemsToFind(TiXmlElement* /*root*/) {}

void TGameSpace::LoadItemToFind(TiXmlElement* /*element*/, ItemToFindRecord& /*record*/) {}

int TGameSpace::OpenFile(const std::string& /*path*/) { return 0; }

std::string TGameSpace::GetFullKey() const { return GetName(); }

std::string TGameSpace::GetRootName() const { return GetName(); }
