// INI descriptions (particles, animations): sections of key = value lines, split at CR LF.
#pragma once
#include <cstddef>
#include <map>
#include <string>

// Byte-wise order of the names, as strcmp.
struct IniKeyLess {
    bool operator()(const std::string& a, const std::string& b) const { return a.compare(b) < 0; }
};

struct IniEntry {
    std::string mValue;
    std::string mComment;  // kept from the file, never read back
};

class IniSection {
public:
    using Entries = std::map<std::string, IniEntry, IniKeyLess>;

    Entries::const_iterator Find(const std::string& key) const { return mEntries.find(key); }
    Entries::const_iterator End() const { return mEntries.end(); }
    // The value text, or the default when the key is missing.
    void GetString(const std::string& key, const std::string& def, std::string& out) const;
    int GetInt(const std::string& key, int def) const;
    float GetFloat(const std::string& key, float def) const;
    void Set(const std::string& key, const std::string& value);

    const Entries& AllEntries() const { return mEntries; }

    Entries mEntries;
    std::string mComment;
};

class IniFile_t;

// A position in the sections of an IniFile_t.
class IniSectionIterator {
public:
    using Base = std::map<std::string, IniSection, IniKeyLess>::iterator;
    explicit IniSectionIterator(Base it) : mIt(it) {}
    bool Equals(const IniSectionIterator& other) const { return mIt == other.mIt; }
    IniSection& Section() const { return mIt->second; }
    const std::string& Name() const { return mIt->first; }

private:
    Base mIt;
};

class IniFile_t {
public:
    using Sections = std::map<std::string, IniSection, IniKeyLess>;

    IniFile_t() = default;
    virtual ~IniFile_t() = default;

    // Reads and parses the whole file; a file that does not open leaves everything as it was.
    bool Load(const std::string& path, bool clear);
    void Parse(const char* bytes, size_t length, bool clear);

    // Created empty when missing.
    IniSection& GetSection(const std::string& name) { return mSections[name]; }
    IniSectionIterator FindSection(const std::string& name) { return IniSectionIterator(mSections.find(name)); }
    IniSectionIterator SectionsEnd() { return IniSectionIterator(mSections.end()); }

    const Sections& AllSections() const { return mSections; }

private:
    Sections mSections;
};
