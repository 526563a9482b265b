// Reading XML data files through the virtual paths, and the one "current document" slot
// that the loaders share.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include <tinyxml.h>

// The longest UTF-8 character: TinyXML takes a character's length from its first byte and
// steps over that many bytes, even across the zero that ends the text.
const size_t kXmlTextPadding = 4;

// The buffer TinyXML parses: the bytes with every CR LF pair and every lone CR as one LF (line
// numbers match whatever the file's line ends), then only zeros, at least kXmlTextPadding of
// them, so a character cut short at the end lands on a zero and never on what lies behind.
std::string MakeXmlParseText(std::string bytes);
// Parses the bytes through that buffer; true when the document has no error. Every XML load
// goes through here.
bool ParseXmlText(TiXmlDocument* doc, std::string bytes);
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
