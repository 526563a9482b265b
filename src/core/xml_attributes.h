// Typed readers of XML attributes: every loader reads its data through these, with a
// default, an optional second attribute name, "a+b" / "a-b" sums, colours, rectangles and lists.
#pragma once
#include <string>
#include <vector>

class TiXmlElement;

struct TFloatColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

struct TIntPoint {
    int x = 0;
    int y = 0;
};

struct TFloatPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// atoi without its undefined overflow: the number clamped to the int range, 0 for no number.
int ParseIntClamped(const char* text);
// atof without its undefined conversion: a value beyond the float range becomes an infinity.
float ParseFloatClamped(const char* text);

// "a+b" (split at the last '+') or "a-b" (the last '-' that is not the first character).
int ParseIntSum(const char* text);
float ParseFloatSum(const char* text);

std::string GetAttrString(const TiXmlElement* element, const char* name, const char* def = "");
std::string GetAttrValue(const TiXmlElement* element, const char* name, const char* def = "");
int GetAttrInt(const TiXmlElement* element, const char* name, int def = 0, const char* second = nullptr);
unsigned GetAttrUnsigned(const TiXmlElement* element, const char* name, unsigned def = 0,
                         const char* second = nullptr);
float GetAttrFloat(const TiXmlElement* element, const char* name, float def = 0.0f, const char* second = nullptr);
// Values a data file may give only within a range: one outside it is brought to the nearer
// end (a float that is not finite takes the default) with one line naming the file, the
// element and the attribute.
// The second name is read as GetAttrFloat reads it, and the line names the one the file used.
const int kMaxFileCoordinate = 1 << 20;  // far beyond any screen, far below the int range's end
int GetAttrIntInRange(const TiXmlElement* element, const char* name, int def, int lo, int hi, const char* file);
float GetAttrFloatInRange(const TiXmlElement* element, const char* name, float def, float lo, float hi,
                          const char* file, const char* second = nullptr);
// That one line, for readers whose own rule says what a refused value is taken as.
void LogAttrOutOfRange(const TiXmlElement* element, const char* name, const char* file, const std::string& taken);
// The file an element was read from (its document's name); "" for text parsed in memory.
const char* ElementFileName(const TiXmlElement* element);
inline int GetAttrCoordinate(const TiXmlElement* element, const char* name, int def, const char* file)
{
    return GetAttrIntInRange(element, name, def, -kMaxFileCoordinate, kMaxFileCoordinate, file);
}
// True only for exactly "1" or "true".
bool GetAttrBool(const TiXmlElement* element, const char* name, bool def = false, const char* second = nullptr);
// A whole number as written; a fractional part f gives f of the reference, rounded.
int GetAttrRelSize(const TiXmlElement* element, const char* name, int reference, int def = 0,
                   const char* second = nullptr);
// Four ints joined by the separator; true when all four were read. The outputs are written
// as far as the scan got, the rest keep their values.
bool GetAttrRect(const TiXmlElement* element, const char* name, int* x, int* y, int* w, int* h,
                 const char* separator);
// "r.g.b.a" in 0-255, or hexadecimal AARRGGBB where alpha bits 0 mean opaque.
TFloatColor GetAttrColor(const TiXmlElement* element, const char* name, const TFloatColor& def);

// Replaces the list with the trimmed, non-empty parts; their count.
int GetAttrList(const TiXmlElement* element, const char* name, char separator, std::vector<std::string>& out);
// These three append.
void GetAttrFloatList(const TiXmlElement* element, const char* name, std::vector<float>& out);
// Items split at ',', each clamped to the int range.
void GetAttrIntList(const TiXmlElement* element, const char* name, std::vector<int>& out);
void GetAttrPointList(const TiXmlElement* element, const char* name, std::vector<TIntPoint>& out);
void GetAttrPointListF(const TiXmlElement* element, const char* name, std::vector<TFloatPoint>& out);
