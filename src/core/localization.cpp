#include "core/localization.h"

#include <memory>
#include <vector>

#include "core/text.h"
#include "core/xml_document.h"

namespace {
// No std::locale is built from the user's environment: one that names a locale that is not
// installed throws, and that would end the game before its window opens.
std::unique_ptr<TLocalization> gLocalization;
bool gLocalizationShutDown = false;
const std::string gLocaleName;

// A spreadsheet's rich-text cell keeps its text in "ss:Data" > "Font" instead of "Data".
std::string CellText(TiXmlElement* cell)
{
    std::string text = GetElementText(FirstChildElement(cell, "Data"));
    if (text.empty()) text = GetElementText(FirstChildElement(FirstChildElement(cell, "ss:Data"), "Font"));
    return text;
}
}  // namespace

bool TLocalization::Load(const std::string& path)
{
    TiXmlElement* root = LoadXmlDocument(path);
    if (!root) return false;
    TiXmlElement* table = FirstChildElement(FirstChildElement(root, "Worksheet"), "Table");
    if (table) {
        std::vector<TiXmlElement*> rows;
        GetChildElements(table, "Row", rows);
        for (TiXmlElement* row : rows) {
            TiXmlElement* keyCell = FirstChildElement(row, "Cell");
            std::string key = GetElementText(FirstChildElement(keyCell, "Data"));
            if (key.empty()) continue;
            TiXmlElement* textCell = keyCell->NextSiblingElement("Cell");
            if (!textCell) continue;
            std::string text = CellText(textCell);
            for (char& c : text)
                if (c == '#') c = '\n';
            mTexts[ToLowerString(key)] = ToWide(text);
        }
    }
    DeleteCurrentXmlDocument();
    return table != nullptr;
}

std::wstring TLocalization::GetText(const std::string& key, const std::string&, const std::string&,
                                    const std::string&, const std::string&, const std::string&) const
{
    if (key.empty()) return std::wstring();
    auto it = mTexts.find(ToLowerString(key));
    return it != mTexts.end() ? it->second : WidenAscii(key);
}

std::string TLocalization::GetTextNarrow(const std::string& key, const std::string&, const std::string&,
                                         const std::string&, const std::string&, const std::string&) const
{
    auto it = mTexts.find(ToLowerString(key));
    return it != mTexts.end() ? WideToMultiByte(it->second) : key;
}

std::wstring TLocalization::Widen(const std::string& text) const { return ToWide(text); }

std::string TLocalization::Narrow(const std::wstring& text) const { return ToUtf8(text); }

TLocalization* GetLocalization()
{
    if (gLocalizationShutDown) {
        // Never destroyed and never loaded: a late caller sees its keys, as before any load.
        static TLocalization* empty = new TLocalization();
        return empty;
    }
    if (!gLocalization) gLocalization.reset(new TLocalization());
    return gLocalization.get();
}

void SetLocalizationShutDown(bool down) { gLocalizationShutDown = down; }

void DestroyLocalization() { gLocalization.reset(); }

std::string GetLocaleName() { return gLocaleName; }

std::string GetLanguageCode()
{
    std::string code = gLocaleName.substr(0, gLocaleName.find('_'));
    return code.substr(0, 3);
}

bool IsJapanese() { return GetLanguageCode() == "ja"; }
