// Builds a scene object from the "type" name of its space-file element.
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
    // Makes the process-wide factory when the application state has none yet, then builds.
    TObject* Create(const std::string& type) override;
    // A fresh object owned by the caller; "" gives a plain TObject. Null for a name of no
    // kind (compared whole and case-sensitively) and when memory runs out, silently.
    TObject* CreateObject(const std::string& type);
};
