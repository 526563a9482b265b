#include "core/text.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/numbers.h"

namespace {

const size_t kFormatFirstSize = 160;
const size_t kFormatHeapStart = 320;
const size_t kFormatLimit = 1000000;
const size_t kUtf8Limit = 16000 - 1;  // the buffers of the format held their NUL too
const size_t kWideLimit = 10000 - 1;
const char32_t kReplacement = 0xFFFD;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

// Bytes of one code point in UTF-8; invalid ones were replaced before.
void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

size_t Utf8Length(char32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

// One code point from s at i; i moves past what was read. A bad sequence reads as U+FFFD and
// consumes its lead byte plus the continuation bytes that were valid so far.
char32_t DecodeUtf8(const std::string& s, size_t& i)
{
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra;
    char32_t cp;
    char32_t min;
    if (c >= 0xC2 && c <= 0xDF) {
        extra = 1, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3, cp = c & 0x07, min = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size()) return kReplacement;
        unsigned char next = static_cast<unsigned char>(s[i]);
        if ((next & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (next & 0x3F);
        ++i;
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

}  // namespace

std::string FormatStringV(const char* format, va_list args)
{
    // vsnprintf reports the length without the NUL: a result of exactly the buffer size was
    // cut by one byte, so anything from the size on is tried again in a larger buffer.
    char first[kFormatFirstSize];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(first, sizeof(first), format, copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < sizeof(first)) return std::string(first, static_cast<size_t>(n));

    std::vector<char> buffer;
    size_t size = kFormatHeapStart;
    for (;;) {
        buffer.assign(size, '\0');
        va_copy(copy, args);
        n = vsnprintf(buffer.data(), size, format, copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < size) return std::string(buffer.data(), static_cast<size_t>(n));
        if (size >= kFormatLimit) break;
        size *= 2;
    }
    // Beyond the last buffer the text is cut at its limit.
    return n < 0 ? std::string() : std::string(buffer.data(), strnlen(buffer.data(), size));
}

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = FormatStringV(format, args);
    va_end(args);
    return result;
}

int SplitString(const std::string& text, char separator, std::vector<std::string>& out)
{
    out.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        size_t first = text.find_first_not_of(' ', start);
        if (first != std::string::npos && first < end) {
            size_t last = text.find_last_not_of(' ', end - 1);
            out.push_back(text.substr(first, last - first + 1));
        }
        start = end + 1;
    }
    return static_cast<int>(out.size());
}

std::vector<std::vector<std::string>> SplitGroups(const std::string& text, char groupSeparator, char itemSeparator)
{
    std::vector<std::string> groupTexts;
    SplitString(text, groupSeparator, groupTexts);
    std::vector<std::vector<std::string>> groups(groupTexts.size());
    for (size_t i = 0; i < groupTexts.size(); ++i) SplitString(groupTexts[i], itemSeparator, groups[i]);
    return groups;
}

char* TrimSpaces(char* text)
{
    if (!text || !*text) return text;
    while (*text == ' ') ++text;
    size_t len = strlen(text);
    while (len > 0 && text[len - 1] == ' ') text[--len] = '\0';
    return text;
}

bool StringsEqual(const char* a, const char* b) { return strcmp(a, b) == 0; }

std::string ToLowerString(const std::string& text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::wstring ToUpperW(const std::wstring& text)
{
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

std::string ToUtf8(const std::wstring& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = static_cast<uint32_t>(text[i]);
        char32_t cp = unit;
        // A surrogate pair that slipped into the text still names one character.
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            uint32_t low = static_cast<uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
        if (out.size() + Utf8Length(cp) > kUtf8Limit) break;
        AppendUtf8(out, cp);
    }
    return out;
}

std::wstring ToWide(const std::string& text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size() && out.size() < kWideLimit) out += static_cast<wchar_t>(DecodeUtf8(text, i));
    return out;
}

std::wstring WidenAscii(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

std::wstring WidenStoredName(const std::string& bytes)
{
    std::wstring out;
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t start = i;
        const char32_t cp = DecodeUtf8(bytes, i);
        // U+FFFD read from its own three bytes is a letter like any other; anywhere else it
        // marks bytes that are not UTF-8.
        if (cp == kReplacement && bytes.compare(start, i - start, "\xEF\xBF\xBD") != 0) return WidenAscii(bytes);
        out += static_cast<wchar_t>(cp);
    }
    return out;
}

std::string WideToMultiByte(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c < 0 || c > 255) return std::string();
        out += static_cast<char>(static_cast<unsigned char>(c));
    }
    return out;
}

bool ParseIntW(const std::wstring& text, int* value)
{
    *value = 0;
    if (text.empty()) return false;
    size_t i = 0;
    bool negative = false;
    bool hex = false;
    if (text[0] == L'-') {
        negative = true;
        i = 1;
    } else if (text.size() >= 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        hex = true;
        i = 2;
    }
    int64_t result = 0;
    for (; i < text.size(); ++i) {
        int digit = hex ? HexDigit(text[i]) : (text[i] >= L'0' && text[i] <= L'9' ? text[i] - L'0' : -1);
        if (digit < 0) return false;
        if (hex) {
            // Hexadecimal is a bit pattern (colours): it keeps its low 32 bits.
            result = static_cast<int64_t>((static_cast<uint32_t>(result) << 4) | static_cast<uint32_t>(digit));
        } else if (result <= INT_MAX) {
            result = result * 10 + digit;  // stops growing once past the int range
        }
    }
    if (hex) {
        *value = static_cast<int>(static_cast<uint32_t>(result));
    } else {
        if (negative) result = -result;
        *value = ClampToInt(result);
    }
    return true;
}

bool ParseFloatW(const std::wstring& text, float* value)
{
    *value = 0.0f;
    if (text.empty()) return false;
    size_t i = text[0] == L'-' ? 1 : 0;
    bool negative = i == 1;
    float result = 0.0f;
    float weight = 1.0f;
    bool fraction = false;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'.' && !fraction) {
            fraction = true;
        } else if (c >= L'0' && c <= L'9') {
            if (fraction) {
                weight *= 0.1f;
                result += static_cast<float>(c - L'0') * weight;
            } else {
                result = result * 10.0f + static_cast<float>(c - L'0');
            }
        } else {
            return false;
        }
    }
    *value = negative ? -result : result;
    return true;
}

std::string PathDirectory(const std::string& path, bool keepSeparator)
{
    size_t pos = LastSeparator(path);
    if (pos == std::string::npos) return std::string();
    return path.substr(0, keepSeparator ? pos + 1 : pos);
}

std::string FileNameWithoutExt(const std::string& path)
{
    size_t sep = LastSeparator(path);
    size_t start = sep == std::string::npos ? 0 : sep + 1;
    size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= start) return path.substr(start, dot - start);
    return path.substr(start);
}

std::string ResolveRelativePath(const std::string& relative, const std::string& baseFolder)
{
    if (relative.size() >= 2 && relative[1] == ':') return relative;
    char sep = '/';
    if (relative.find('\\') != std::string::npos || baseFolder.find('\\') != std::string::npos) sep = '\\';

    std::string base = baseFolder;
    std::string drive;
    if (base.size() >= 2 && base[1] == ':') {
        drive = base.substr(0, 2);
        base.erase(0, 2);
    }
    if (!base.empty() && !IsSeparator(base.back())) base += sep;

    std::string rest = relative;
    while (!base.empty()) {
        size_t pos = rest.find_first_of("/\\");
        if (pos == std::string::npos) break;
        std::string component = rest.substr(0, pos);
        rest.erase(0, pos + 1);
        if (component == ".") continue;
        if (component == "..") {
            // The base always ends with a separator here; its last component sits before it.
            size_t end = base.size() - 1;
            size_t start = end == 0 ? std::string::npos : base.find_last_of("/\\", end - 1);
            size_t from = start == std::string::npos ? 0 : start + 1;
            if (base.compare(from, end - from, "..") == 0 && end - from == 2) {
                base += "..";
                base += sep;
            } else {
                base.erase(from);
            }
            continue;
        }
        if (component.empty()) {
            base = std::string(1, sep);
        } else {
            base += component;
            base += sep;
        }
        break;
    }

    std::string result = drive + base + rest;
    for (char& c : result)
        if (IsSeparator(c)) c = sep;
    return result;
}
