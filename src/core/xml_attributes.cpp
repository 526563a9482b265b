#include "core/xml_attributes.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <tinyxml.h>

#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"

int ParseIntClamped(const char* text) { return text ? ClampToInt(strtol(text, nullptr, 10)) : 0; }

namespace {

// atoi without its undefined overflow: leading white space, a sign, digits, else 0;
// clamped to int, so that a sum of two never overflows either.
long long ReadLong(const char* text) { return ParseIntClamped(text); }

// A double beyond the float range becomes an infinity instead of an undefined conversion.
float ToFloat(double v)
{
    if (std::isnan(v)) return static_cast<float>(v);
    if (v > FLT_MAX) return HUGE_VALF;
    if (v < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(v);
}

}  // namespace

float ParseFloatClamped(const char* text) { return text ? ToFloat(strtod(text, nullptr)) : 0.0f; }

namespace {

// Where a sum or difference splits: the last '+', else the last '-' after the first character.
size_t SumSplit(const std::string& text)
{
    size_t pos = text.rfind('+');
    if (pos != std::string::npos) return pos;
    pos = text.rfind('-');
    if (pos != std::string::npos && pos > 0) return pos;
    return std::string::npos;
}

const char* AttrText(const TiXmlElement* element, const char* name)
{
    if (!element || !name) return nullptr;
    return element->Attribute(name);
}

// The attribute's text, or the second attribute's when the first is missing or empty.
const char* AttrTextOrSecond(const TiXmlElement* element, const char* name, const char* second)
{
    const char* text = AttrText(element, name);
    if ((!text || !*text) && second && *second) text = AttrText(element, second);
    return (text && *text) ? text : nullptr;
}

// The "%d<sep>%d<sep>%d<sep>%d" scan: white space before each number, an optional sign,
// separators matched at once after the number. Stores as far as it gets; the count stored.
int ScanInts(const char* text, const char* separator, int* const outs[4])
{
    const char* p = text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            for (const char* s = separator; *s; ++s) {
                if (isspace(static_cast<unsigned char>(*s))) {
                    while (isspace(static_cast<unsigned char>(*p))) ++p;
                } else if (*p == *s) {
                    ++p;
                } else {
                    return i;
                }
            }
        }
        char* end = nullptr;
        long v = strtol(p, &end, 10);
        if (end == p) return i;
        if (outs[i]) *outs[i] = ClampToInt(v);
        p = end;
    }
    return 4;
}

}  // namespace

int ParseIntSum(const char* text)
{
    if (!text) return 0;
    std::string s(text);
    size_t pos = SumSplit(s);
    if (pos == std::string::npos) return ClampToInt(ReadLong(text));
    long long left = ReadLong(s.substr(0, pos).c_str());
    long long right = ReadLong(s.c_str() + pos + 1);
    return ClampToInt(s[pos] == '+' ? left + right : left - right);
}

float ParseFloatSum(const char* text)
{
    if (!text) return 0.0f;
    std::string s(text);
    size_t pos = SumSplit(s);
    if (pos == std::string::npos) return ToFloat(strtod(text, nullptr));
    double left = strtod(s.substr(0, pos).c_str(), nullptr);
    double right = strtod(s.c_str() + pos + 1, nullptr);
    return ToFloat(s[pos] == '+' ? left + right : left - right);
}

std::string GetAttrString(const TiXmlElement* element, const char* name, const char* def)
{
    if (const char* text = AttrText(element, name)) return text;
    return def ? def : "";
}

std::string GetAttrValue(const TiXmlElement* element, const char* name, const char* def)
{
    return GetAttrString(element, name, def);
}

int GetAttrInt(const TiXmlElement* element, const char* name, int def, const char* second)
{
    const char* text = AttrTextOrSecond(element, name, second);
    return text ? ParseIntSum(text) : def;
}

unsigned GetAttrUnsigned(const TiXmlElement* element, const char* name, unsigned def, const char* second)
{
    return static_cast<unsigned>(GetAttrInt(element, name, static_cast<int>(def), second));
}

float GetAttrFloat(const TiXmlElement* element, const char* name, float def, const char* second)
{
    const char* text = AttrTextOrSecond(element, name, second);
    return text ? ParseFloatSum(text) : def;
}

void LogAttrOutOfRange(const TiXmlElement* element, const char* name, const char* file, const std::string& taken)
{
    GetLogger()->LogMessage("%s: %s \"%s\" = \"%s\" is out of range, taken as %s", file, element->Value(), name,
                            GetAttrString(element, name).c_str(), taken.c_str());
}

const char* ElementFileName(const TiXmlElement* element)
{
    const TiXmlDocument* document = element ? element->GetDocument() : nullptr;
    return document ? document->Value() : "";
}

int GetAttrIntInRange(const TiXmlElement* element, const char* name, int def, int lo, int hi, const char* file)
{
    const int v = GetAttrInt(element, name, def);
    if (v >= lo && v <= hi) return v;
    const int taken = v < lo ? lo : hi;
    LogAttrOutOfRange(element, name, file, std::to_string(taken));
    return taken;
}

float GetAttrFloatInRange(const TiXmlElement* element, const char* name, float def, float lo, float hi,
                          const char* file, const char* second)
{
    const float v = GetAttrFloat(element, name, def, second);
    if (v >= lo && v <= hi) return v;
    const float taken = !std::isfinite(v) ? def : v < lo ? lo : hi;
    const char* text = AttrText(element, name);
    const char* used = (text && *text) || !second ? name : second;
    LogAttrOutOfRange(element, used, file, FormatString("%g", static_cast<double>(taken)));
    return taken;
}

bool GetAttrBool(const TiXmlElement* element, const char* name, bool def, const char* second)
{
    const char* text = AttrTextOrSecond(element, name, second);
    if (!text) return def;
    std::string s(text);
    return s == "1" || s == "true";
}

int GetAttrRelSize(const TiXmlElement* element, const char* name, int reference, int def, const char* second)
{
    float v = GetAttrFloat(element, name, static_cast<float>(def), second);
    // "nan" and "inf" have no usable fractional part: they read as the whole number they
    // spell, which is 0.
    if (!std::isfinite(v) || v == truncf(v)) return GetAttrInt(element, name, def, second);
    return TruncToInt(roundf(static_cast<float>(reference) * (v - truncf(v))));
}

bool GetAttrRect(const TiXmlElement* element, const char* name, int* x, int* y, int* w, int* h,
                 const char* separator)
{
    const char* text = AttrText(element, name);
    if (!text || !*text) return false;
    int* const outs[4] = {x, y, w, h};
    return ScanInts(text, separator ? separator : "", outs) == 4;
}

TFloatColor GetAttrColor(const TiXmlElement* element, const char* name, const TFloatColor& def)
{
    const char* text = AttrText(element, name);
    if (!text || !*text) return def;
    int r = 0, g = 0, b = 0, a = 0;
    int* const outs[4] = {&r, &g, &b, &a};
    TFloatColor color;
    if (ScanInts(text, ".", outs) == 4) {
        color.r = r / 255.0f;
        color.g = g / 255.0f;
        color.b = b / 255.0f;
        color.a = a / 255.0f;
        return color;
    }
    char* end = nullptr;
    unsigned long parsed = strtoul(text, &end, 16);
    if (end == text) return def;
    // Like a "%x" scan into 32 bits: the low 32 bits of what was read.
    uint32_t v = static_cast<uint32_t>(parsed);
    color.r = ((v >> 16) & 0xFF) / 255.0f;
    color.g = ((v >> 8) & 0xFF) / 255.0f;
    color.b = (v & 0xFF) / 255.0f;
    uint32_t alpha = (v >> 24) & 0xFF;
    color.a = alpha == 0 ? 1.0f : alpha / 255.0f;
    return color;
}

int GetAttrList(const TiXmlElement* element, const char* name, char separator, std::vector<std::string>& out)
{
    const char* text = AttrText(element, name);
    return SplitString(text ? text : "", separator, out);
}

void GetAttrFloatList(const TiXmlElement* element, const char* name, std::vector<float>& out)
{
    std::vector<std::string> parts;
    GetAttrList(element, name, ';', parts);
    for (const std::string& part : parts) out.push_back(ToFloat(strtod(part.c_str(), nullptr)));
}

void GetAttrIntList(const TiXmlElement* element, const char* name, std::vector<int>& out)
{
    std::vector<std::string> parts;
    GetAttrList(element, name, ',', parts);
    for (const std::string& part : parts) out.push_back(ParseIntClamped(part.c_str()));
}

namespace {
// Each ';' part is "x,y"; a part with one item has y = 0.
template <class Point, class Parse>
void ReadPoints(const TiXmlElement* element, const char* name, std::vector<Point>& out, Parse parse)
{
    const char* text = AttrText(element, name);
    for (const std::vector<std::string>& items : SplitGroups(text ? text : "", ';', ',')) {
        Point point;
        if (items.size() > 0) point.x = parse(items[0].c_str());
        if (items.size() > 1) point.y = parse(items[1].c_str());
        out.push_back(point);
    }
}
}  // namespace

void GetAttrPointList(const TiXmlElement* element, const char* name, std::vector<TIntPoint>& out)
{
    ReadPoints(element, name, out, ParseIntSum);
}

void GetAttrPointListF(const TiXmlElement* element, const char* name, std::vector<TFloatPoint>& out)
{
    ReadPoints(element, name, out, ParseFloatSum);
}
