#include "graphics/desc_parser.h"

#include "core/logger.h"
#include "core/text.h"
#include "core/virtual_files.h"

std::unique_ptr<DataElement> SingleDataElementW::Clone() const
{
    return std::make_unique<SingleDataElementW>(mText);
}

std::unique_ptr<DataElement> ListDataElement::Clone() const
{
    auto copy = std::make_unique<ListDataElement>();
    copy->mItems.reserve(mItems.size());
    for (const auto& item : mItems) copy->mItems.push_back(item->Clone());
    return copy;
}

size_t CountValues(const std::wstring& text)
{
    return 1 + text.size() / DescParserW::kCharsPerValue;
}

size_t CountValues(const DataElement& value)
{
    if (!value.IsList()) return CountValues(static_cast<const SingleDataElementW&>(value).mText);
    size_t n = 1;
    for (const auto& item : static_cast<const ListDataElement&>(value).mItems) n += CountValues(*item);
    return n;
}

std::wstring FormatValue(const DataElement& value)
{
    if (!value.IsList()) return static_cast<const SingleDataElementW&>(value).mText;
    std::wstring out = L"(";
    const auto& items = static_cast<const ListDataElement&>(value).mItems;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += L", ";
        out += FormatValue(*items[i]);
    }
    return out + L")";
}

bool IsLiteral(const std::wstring& text)
{
    if (text.empty()) return false;
    wchar_t c = text[0];
    return (c >= L'0' && c <= L'9') || c == L'-' || c == L'+' || c == L'\'' || c == L'"';
}

std::wstring Unquote(const std::wstring& text)
{
    if (text.empty() || (text[0] != L'\'' && text[0] != L'"')) return text;
    wchar_t q = text[0];
    std::wstring out;
    bool inRun = false;
    for (wchar_t c : text) {
        if (c != q) {
            out += c;
            inRun = false;
        } else if (inRun) {
            out += c;
        } else {
            inRun = true;
        }
    }
    return out;
}

bool DescParserW::Error(const std::wstring& message)
{
    mErrorText = message;
    return false;
}

DataElement* DescParserW::GetDefine(const std::wstring& name) const
{
    auto it = mDefines.find(ToUpperW(name));
    return it == mDefines.end() ? nullptr : it->second.get();
}

void DescParserW::SetDefine(const std::wstring& upperName, std::unique_ptr<DataElement> value)
{
    mDefines[upperName] = std::move(value);
}

bool DescParserW::SpendValues(size_t count)
{
    if (count > kMaxValues - mValuesMade) {
        mValuesMade = kMaxValues;
        return Error(L"Descriptor too large");
    }
    mValuesMade += count;
    return true;
}

std::unique_ptr<DataElement> DescParserW::CloneCounted(const DataElement& value)
{
    if (!SpendValues(CountValues(value))) return nullptr;
    return value.Clone();
}

bool DescParserW::LoadFile(const std::string& path)
{
    mLineCounter = 0;
    mCommandLine = 0;
    mCommandBuffer.clear();
    mValuesMade = 0;
    TFile file;
    if (!file.Open(path, false)) {
        GetLogger()->LogMessage("error load font file %s", path.c_str());
        return false;
    }
    long size = file.Size();
    std::string bytes(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    if (!bytes.empty() && !file.Read(&bytes[0], bytes.size())) bytes.clear();
    file.Close();

    std::vector<uint32_t> chars;
    bool wide = false;
    if (bytes.size() >= 2 && ((uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) ||
                              (uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF))) {
        wide = true;
        bool little = uint8_t(bytes[0]) == 0xFF;
        // An odd last byte is a failed read: it ends the script like the end of the file.
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            uint32_t a = uint8_t(bytes[i]), b = uint8_t(bytes[i + 1]);
            chars.push_back(little ? (a | (b << 8)) : ((a << 8) | b));
        }
    } else {
        for (char b : bytes) chars.push_back(uint8_t(b));
    }
    bool ok = RunScript(chars, wide);
    mCommandBuffer.clear();
    mCommandLine = 0;
    return ok;
}

bool DescParserW::RunScript(const std::vector<uint32_t>& chars, bool wide)
{
    size_t i = 0;
    while (i < chars.size()) {
        bool lineStart = true, comment = false, inApos = false, inQuote = false, pending = false;
        mCommandBuffer.clear();
        auto append = [this](wchar_t c) {
            if (mCommandBuffer.empty()) mCommandLine = mLineCounter + 1;
            mCommandBuffer += c;
        };
        for (; i < chars.size(); ++i) {
            wchar_t c = static_cast<wchar_t>(chars[i]);
            if (wide && chars[i] == 0xFFFF) {
                ++i;
                break;
            }
            if (c == L'\r') continue;
            if (c == L'\n') ++mLineCounter;
            if (lineStart) {
                if (c == L' ' || c == L'\t' || c == L'\n') continue;
                lineStart = false;
                if (c == L'#') {
                    comment = true;
                    continue;
                }
            }
            if (c == L'\n') {
                lineStart = true;
                if (comment) {
                    comment = false;
                    continue;
                }
                append(c);
                continue;
            }
            if (comment) continue;
            if (c == L'\\') {
                if (!inApos && !inQuote) {
                    append(c);
                } else if (pending) {
                    append(L'\\');
                    append(L'\\');
                    pending = false;
                } else {
                    pending = true;
                }
                continue;
            }
            if (c == L'\'' || c == L'"') {
                bool& own = c == L'\'' ? inApos : inQuote;
                bool other = c == L'\'' ? inQuote : inApos;
                if (other) {
                    append(c);
                } else if (pending) {
                    append(L'\\');
                    append(c);
                    pending = false;
                } else {
                    own = !own;
                    append(c);
                }
                continue;
            }
            if (c == L';' && (mOptions & kSemicolonEndsCommand) && !inApos && !inQuote) {
                ++i;
                break;
            }
            if (pending) {
                append(L'\\');
                pending = false;
            }
            append(c);
        }
        if (!mCommandBuffer.empty() && !ParseCommand(mCommandBuffer)) return false;
        mCommandBuffer.clear();
    }
    return true;
}

bool DescParserW::ParseCommand(const std::wstring& text)
{
    if (!SpendValues(1)) return false;
    ListDataElement command;
    size_t position = 0;
    if (!Tokenize(text, command, false, position)) return false;
    if (command.mItems.empty()) return true;
    if (command.mItems[0]->IsList()) return Error(L"Missing Command");
    return ExecuteCommand(command);
}

bool DescParserW::Tokenize(const std::wstring& text, ListDataElement& list, bool nested, size_t& position)
{
    return TokenizeLevel(text, list, nested, position, nested ? 1 : 0);
}

bool DescParserW::TokenizeLevel(const std::wstring& text, ListDataElement& list, bool nested, size_t& position,
                                int depth)
{
    bool inApos = false, inQuote = false;
    SingleDataElementW* token = nullptr;
    auto add = [&](wchar_t c) {
        if (!token) {
            if (!SpendValues(1)) return false;
            list.mItems.push_back(std::make_unique<SingleDataElementW>());
            token = static_cast<SingleDataElementW*>(list.mItems.back().get());
        }
        token->mText += c;
        return true;
    };
    while (position < text.size()) {
        wchar_t c = text[position++];
        if (c == L'\\') {
            // A backslash that ends the text escapes nothing and starts no token.
            if (position < text.size() && !add(text[position++])) return false;
            continue;
        }
        if (inApos || inQuote) {
            if (c == L'\'' && inApos) inApos = false;
            if (c == L'"' && inQuote) inQuote = false;
            if (!add(c)) return false;
            continue;
        }
        if (c == L'\'' || c == L'"') {
            (c == L'\'' ? inApos : inQuote) = true;
            if (!add(c)) return false;
            continue;
        }
        if (c == L' ' || c == L'\t' || c == L'\n' || c == L',') {
            token = nullptr;
            continue;
        }
        if (c == L')') {
            if (nested) return true;
            return Error(L"Unexpected List End");
        }
        if (c == L'(') {
            if (token || depth >= kMaxListDepth) return Error(L"Unexpected List Start");
            if (!SpendValues(1)) return false;
            auto sub = std::make_unique<ListDataElement>();
            ListDataElement* raw = sub.get();
            list.mItems.push_back(std::move(sub));
            if (!TokenizeLevel(text, *raw, true, position, depth + 1)) return false;
            continue;
        }
        if (!add(c)) return false;
    }
    if (inApos) return Error(L"Unterminated Single Quotes");
    if (inQuote) return Error(L"Unterminated Double Quotes");
    if (nested) return Error(L"Unterminated List");
    return true;
}
