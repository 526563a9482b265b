#include "objects/object_factory.h"

TObject* TObjectFactory::Create(const std::string& type)
{
    return type.empty() ? new TObject() : nullptr;
}
