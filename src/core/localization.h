// The table of texts shown to the player, by key, from the spreadsheet XML "termins.xml".
#pragma once
#include <map>
#include <string>

class TLocalization {
public:
    bool Load(const std::string& path);
    std::wstring GetText(const std::string& key) const;
    std::string GetTextNarrow(const std::string& key) const;

private:
    std::map<std::string, std::wstring> mTexts;  // keys lower-cased
};

TLocalization* GetLocalization();
void DestroyLocalization();
// The player's language folder for images ("en", ...); empty while no locale is chosen.
std::string GetLanguageCode();
