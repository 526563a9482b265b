// Reader of wide-character command scripts: decodes the file (UTF-16 with a byte-order mark,
// else one byte per character), splits it into commands, tokenizes each command into nested
// value lists and keeps named values. What a command does is the subclass's business.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class DataElement {
public:
    explicit DataElement(uint8_t isList) : mIsList(isList) {}
    virtual ~DataElement() = default;
    virtual std::unique_ptr<DataElement> Clone() const { return nullptr; }
    bool IsList() const { return mIsList != 0; }

    uint8_t mIsList;
};

class SingleDataElementW : public DataElement {
public:
    explicit SingleDataElementW(const std::wstring& text = std::wstring()) : DataElement(0), mText(text) {}
    std::unique_ptr<DataElement> Clone() const override;

    std::wstring mText;  // as written, quote characters included
};

class ListDataElement : public DataElement {
public:
    ListDataElement() : DataElement(1) {}
    std::unique_ptr<DataElement> Clone() const override;

    std::vector<std::unique_ptr<DataElement>> mItems;
};

// What a tree or a text costs against a load's budget: one value per element, and one more
// for every few characters of a text, so that a long text copied many times costs its length.
size_t CountValues(const DataElement& value);
size_t CountValues(const std::wstring& text);
// A single value as its text; a list as "(" items joined by ", " ")".
std::wstring FormatValue(const DataElement& value);
// First character a digit, a minus or plus sign, an apostrophe or a double quote.
bool IsLiteral(const std::wstring& text);
// Drops the enclosing quotes and the first quote of every run of the same quote character.
std::wstring Unquote(const std::wstring& text);

class DescParserW {
public:
    enum { kSemicolonEndsCommand = 1 };
    // A crafted script must not nest brackets deep enough to exhaust the stack, nor
    // double defines until the memory runs out.
    static const int kMaxListDepth = 64;
    static const size_t kMaxValues = 1048576;
    // A wide character takes four bytes: sixteen of them weigh about what an element does.
    static const size_t kCharsPerValue = 16;

    DescParserW() = default;
    DescParserW(const DescParserW&) = delete;
    DescParserW& operator=(const DescParserW&) = delete;
    virtual ~DescParserW() = default;

    virtual bool Error(const std::wstring& message);
    virtual DataElement* GetDefine(const std::wstring& name) const;
    virtual bool ExecuteCommand(ListDataElement& command) = 0;

    bool LoadFile(const std::string& path);
    bool ParseCommand(const std::wstring& text);
    bool Tokenize(const std::wstring& text, ListDataElement& list, bool nested, size_t& position);

    const std::wstring& GetErrorText() const { return mErrorText; }
    int GetCommandLine() const { return mCommandLine; }

protected:
    // Counts values about to be made against the load's limit; false (reported) beyond it.
    bool SpendValues(size_t count);
    // A deep copy that counts against the limit; null (reported) beyond it.
    std::unique_ptr<DataElement> CloneCounted(const DataElement& value);
    void SetDefine(const std::wstring& upperName, std::unique_ptr<DataElement> value);
    void RemoveDefine(const std::wstring& upperName) { mDefines.erase(upperName); }

    int mOptions = 0;
    std::wstring mErrorText;
    int mCommandLine = 0;
    std::wstring mCommandBuffer;
    std::map<std::wstring, std::unique_ptr<DataElement>> mDefines;

private:
    bool TokenizeLevel(const std::wstring& text, ListDataElement& list, bool nested, size_t& position, int depth);
    bool RunScript(const std::vector<uint32_t>& chars, bool wide);

    int mLineCounter = 0;
    size_t mValuesMade = 0;
};
