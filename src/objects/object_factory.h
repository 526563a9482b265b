// Builds a scene object from its type name.
#pragma once
#include <string>

#include "objects/object.h"

class TBaseObjectFactory {
public:
    virtual ~TBaseObjectFactory() = default;
    virtual TObject* Create(const std::string& type) = 0;
};

class TObjectFactory : public TBaseObjectFactory {
public:
    TObject* Create(const std::string& type) override;
};
