// Reading XML data files through the virtual paths, and the one "current document" slot
// that the loaders share.
#pragma once
#include <string>
#include <vector>

#include <tinyxml.h>

bool ReadXmlDocumentFile(TiXmlDocument* doc, const std::string& path);
// Loads a document into the caller's slot; the root element, or null (logged) on failure.
TiXmlElement* LoadXmlFile(const std::string& path, TiXmlDocument** slot);
// Replaces the current document with the file's; its root element or null.
TiXmlElement* LoadXmlDocument(const std::string& path);
TiXmlDocument* CurrentXmlDocument();
void DeleteCurrentXmlDocument();

TiXmlElement* FirstChildElement(TiXmlNode* node, const char* name);
// Appends every child element of that name, in document order.
void GetChildElements(TiXmlElement* element, const char* name, std::vector<TiXmlElement*>& out);
std::string GetElementText(TiXmlElement* element);
