#include "core/ini_file.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/text.h"
#include "core/virtual_files.h"

void IniSection::GetString(const std::string& key, const std::string& def, std::string& out) const
{
    auto it = mEntries.find(key);
    out = it == mEntries.end() ? def : it->second.mValue;
}

int IniSection::GetInt(const std::string& key, int def) const
{
    auto it = mEntries.find(key);
    if (it == mEntries.end()) return def;
    long v = strtol(it->second.mValue.c_str(), nullptr, 10);
    if (v > 2147483647L) return 2147483647;
    if (v < -2147483647L - 1) return -2147483647 - 1;
    return static_cast<int>(v);
}

float IniSection::GetFloat(const std::string& key, float def) const
{
    auto it = mEntries.find(key);
    if (it == mEntries.end()) return def;
    return strtof(it->second.mValue.c_str(), nullptr);
}

void IniSection::Set(const std::string& key, const std::string& value)
{
    mEntries[key].mValue = value;
}

bool IniFile_t::Load(const std::string& path, bool clear)
{
    TFile file;
    if (!file.Open(path, false)) return false;
    long size = file.Size();
    if (size <= 0) {
        Parse(nullptr, 0, clear);
        return size == 0;
    }
    std::vector<char> bytes(static_cast<size_t>(size));
    if (file.Read(bytes.data(), bytes.size()) != 1) return false;
    Parse(bytes.data(), bytes.size(), clear);
    return true;
}

void IniFile_t::Parse(const char* bytes, size_t length, bool clear)
{
    if (length == 0 || !bytes) return;
    // A NUL ends the text, as it would a C string.
    const char* nul = static_cast<const char*>(memchr(bytes, '\0', length));
    std::string text(bytes, nul ? static_cast<size_t>(nul - bytes) : length);
    if (clear) mSections.clear();

    IniSection* section = nullptr;
    std::string pendingComment;
    size_t start = 0;
    for (;;) {
        // Only CR LF ends a line: a lone LF or CR belongs to the line's text.
        size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.empty()) {
            // nothing
        } else if (line[0] == ';') {
            pendingComment += line.substr(1);
            pendingComment += "\r\n";
        } else if (line[0] == '[') {
            size_t close = line.find(']', 1);
            std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            section = &mSections[name];
            if (!pendingComment.empty()) section->mComment = pendingComment;
            pendingComment.clear();
        } else if (section) {
            size_t eq = line.find('=');
            std::vector<char> key(line.begin(), eq == std::string::npos ? line.end() : line.begin() + eq);
            key.push_back('\0');
            std::string trimmed = TrimSpaces(key.data());
            if (eq != std::string::npos || !trimmed.empty()) {
                IniEntry& entry = section->mEntries[trimmed];
                entry.mValue = eq == std::string::npos ? std::string() : line.substr(eq + 1);
                entry.mComment = pendingComment;
            }
            pendingComment.clear();
        }
        if (end == std::string::npos) break;
        start = end + 2;
    }
}
