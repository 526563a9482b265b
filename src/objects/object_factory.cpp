#include "objects/object_factory.h"

#include "core/app_state.h"

void DeleteOwned(TObjectFactory* factory) { delete factory; }

TObject* TObjectFactory::Create(const std::string& type)
{
    return type.empty() ? new TObject() : nullptr;
}
