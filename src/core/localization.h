// The table of texts shown to the player, by key, from the spreadsheet XML "termins.xml".
// Keys match case-insensitively for ASCII letters; a key without text is shown as itself.
#pragma once
#include <map>
#include <string>

class TLocalization {
public:
    size_t Size() const { return mTexts.size(); }
    // The table as it stood is kept when the document does not load; true when it had a
    // "Worksheet" with a "Table".
    bool Load(const std::string& path);

    // The further texts are parameters of the format that no text uses; they are ignored.
    std::wstring GetText(const std::string& key, const std::string& = std::string(),
                         const std::string& = std::string(), const std::string& = std::string(),
                         const std::string& = std::string(), const std::string& = std::string()) const;
    std::string GetTextNarrow(const std::string& key, const std::string& = std::string(),
                              const std::string& = std::string(), const std::string& = std::string(),
                              const std::string& = std::string(), const std::string& = std::string()) const;

    // The user's text encoding is UTF-8 on this platform.
    std::wstring Widen(const std::string& text) const;
    // UTF-8, the inverse of Widen: a player's name keeps every letter the name entry takes.
    std::string Narrow(const std::wstring& text) const;

private:
    std::map<std::string, std::wstring> mTexts;  // keys lower-cased
};

// After shutdown the getter answers an empty table instead of building a new one.
TLocalization* GetLocalization();
void DestroyLocalization();
void SetLocalizationShutDown(bool down);

// The program never selects a locale: the name is empty, so is the language code, and no
// asset lookup uses a language folder.
std::string GetLocaleName();
std::string GetLanguageCode();
bool IsJapanese();
