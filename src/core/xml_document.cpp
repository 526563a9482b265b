#include "core/xml_document.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/virtual_files.h"

std::string MakeXmlParseText(std::string bytes)
{
    const size_t length = bytes.size();
    bytes.resize(length + kXmlTextPadding);
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = bytes[i];
        if (c == '\r') {
            bytes[out++] = '\n';
            if (i + 1 < length && bytes[i + 1] == '\n') ++i;
        } else {
            bytes[out++] = c;
        }
    }
    // Compacting leaves a copy of the file's last bytes behind the text; a parser that steps
    // over the end must find zeros there, not a tail that reads as more of the document.
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(out), bytes.end(), '\0');
    return bytes;
}

bool ParseXmlText(TiXmlDocument* doc, std::string bytes)
{
    const std::string text = MakeXmlParseText(std::move(bytes));
    doc->Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    return !doc->Error();
}

bool ReadXmlDocumentFile(TiXmlDocument* doc, const std::string& path)
{
    doc->SetValue(path.c_str());
    TFile file(path, "rb");
    if (!file.IsOpen()) {
        if (!doc->Error()) doc->SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    doc->Clear();
    FILE* f = file.Handle();
    long length = -1;
    if (fseek(f, 0, SEEK_END) == 0) length = ftell(f);
    fseek(f, 0, SEEK_SET);
    if (length <= 0) {
        if (!doc->Error()) doc->SetError(TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    std::string bytes;
    // Room for the padding now, so that building the parse buffer copies nothing.
    bytes.reserve(static_cast<size_t>(length) + kXmlTextPadding);
    bytes.resize(static_cast<size_t>(length));
    if (file.Read(&bytes[0], static_cast<size_t>(length)) != 1) {
        if (!doc->Error()) doc->SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    return ParseXmlText(doc, std::move(bytes));
}

TiXmlElement* LoadXmlFile(const std::string& path, TiXmlDocument** slot)
{
    *slot = new TiXmlDocument();
    TiXmlDocument* doc = *slot;
    if (ReadXmlDocumentFile(doc, path)) return doc->FirstChildElement();
    TLogger* log = GetLogger();
    log->LogMessage("File not found %s error=%s line = %d", path.c_str(), doc->ErrorDesc(), doc->ErrorRow());
    delete doc;
    *slot = nullptr;
    log->LogMessage("File not found %s ", path.c_str());
    return nullptr;
}

void DeleteOwned(TiXmlDocument* document) { delete document; }

TiXmlElement* LoadXmlDocument(const std::string& path)
{
    TAppState& app = GetAppState();
    app.mXmlDocument.reset();
    TiXmlDocument* document = nullptr;
    TiXmlElement* root = LoadXmlFile(path, &document);
    app.mXmlDocument.reset(document);
    return root;
}

TiXmlDocument* CurrentXmlDocument() { return GetAppState().mXmlDocument.get(); }

void DeleteCurrentXmlDocument() { GetAppState().mXmlDocument.reset(); }

TiXmlElement* FirstChildElement(TiXmlNode* node, const char* name)
{
    return node ? node->FirstChildElement(name) : nullptr;
}

void GetChildElements(TiXmlElement* element, const char* name, std::vector<TiXmlElement*>& out)
{
    if (!element) return;
    for (TiXmlElement* e = element->FirstChildElement(name); e; e = e->NextSiblingElement(name)) out.push_back(e);
}

std::string GetElementText(TiXmlElement* element)
{
    if (!element) return std::string();
    TiXmlNode* child = element->FirstChild();
    if (child && child->ToText()) return child->Value();
    return std::string();
}
