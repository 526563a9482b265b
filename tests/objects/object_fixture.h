// Scene objects read from XML text, as a space's loader would hand them their element.
#pragma once
#include <memory>
#include <string>

#include <tinyxml.h>

#include "core/xml_document.h"
#include "objects/object.h"

template <class Kind = TObject>
std::unique_ptr<Kind> LoadObjectFrom(const std::string& xml, const std::string& folder = "scene/",
                                     TGameSpace* owner = nullptr)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    auto object = std::make_unique<Kind>();
    object->mOwnerSpace = owner;
    object->LoadXml(doc.RootElement(), folder);
    return object;
}
