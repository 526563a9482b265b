#include "core/localization.h"

#include <cctype>
#include <memory>
#include <vector>

#include "core/xml_document.h"

namespace {
std::unique_ptr<TLocalization> gLocalization;

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::wstring FromUtf8(const std::string& s)
{
    std::wstring out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0 ? 1 : 0)) {
            out += L'?';
            ++i;
            continue;
        }
        unsigned cp = extra == 0 ? c : (c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += static_cast<wchar_t>(cp);
        i += extra + 1;
    }
    return out;
}
}

bool TLocalization::Load(const std::string& path)
{
    TiXmlElement* root = LoadXmlDocument(path);
    if (!root) return false;
    TiXmlElement* table = FirstChildElement(FirstChildElement(root, "Worksheet"), "Table");
    if (!table) return false;
    std::vector<TiXmlElement*> rows;
    GetChildElements(table, "Row", rows);
    for (TiXmlElement* row : rows) {
        TiXmlElement* keyCell = FirstChildElement(row, "Cell");
        std::string key = GetElementText(FirstChildElement(keyCell, "Data"));
        if (key.empty()) continue;
        TiXmlElement* textCell = keyCell->NextSiblingElement("Cell");
        if (!textCell) continue;
        std::string text = GetElementText(FirstChildElement(textCell, "Data"));
        for (char& c : text)
            if (c == '#') c = '\n';
        mTexts[Lower(key)] = FromUtf8(text);
    }
    return true;
}

std::wstring TLocalization::GetText(const std::string& key) const
{
    auto it = mTexts.find(Lower(key));
    if (it != mTexts.end()) return it->second;
    return std::wstring(key.begin(), key.end());
}

std::string TLocalization::GetTextNarrow(const std::string& key) const
{
    auto it = mTexts.find(Lower(key));
    if (it == mTexts.end()) return key;
    std::string out;
    for (wchar_t c : it->second) {
        if (c > 255) return std::string();
        out += static_cast<char>(c);
    }
    return out;
}

TLocalization* GetLocalization()
{
    if (!gLocalization) gLocalization.reset(new TLocalization());
    return gLocalization.get();
}

void DestroyLocalization() { gLocalization.reset(); }

std::string GetLanguageCode() { return std::string(); }
