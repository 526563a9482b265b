// libFuzzer target: the XML document loader with every attribute reader, the layout holder,
// and the INI parser, on arbitrary text.
#include <cstdint>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "core/ini_file.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "fuzz_support.h"
#include "ui/ui_info_holder.h"

namespace {

const int kMaxAttributes = 32;
const char kMissing[] = "\x01missing";
volatile long gSink;  // keeps the results alive

void ReadAll(const TiXmlElement* e, const char* name, const char* second)
{
    long sum = 0;
    sum += static_cast<long>(GetAttrString(e, name, "d").size());
    sum += static_cast<long>(GetAttrValue(e, name).size());
    sum += GetAttrInt(e, name, 3, second);
    sum += static_cast<long>(GetAttrUnsigned(e, name, 3u, second));
    sum += static_cast<long>(GetAttrFloat(e, name, 1.5f, second) != 0.0f);
    sum += GetAttrBool(e, name, true, second);
    sum += GetAttrRelSize(e, name, 1366, 5, second);
    sum += GetAttrRelSize(e, name, 768, 5, second);
    int r[4] = {0, 0, 0, 0};
    sum += GetAttrRect(e, name, &r[0], &r[1], &r[2], &r[3], ",");
    sum += GetAttrRect(e, name, &r[0], &r[1], &r[2], &r[3], ".");
    sum += r[0] ^ r[1] ^ r[2] ^ r[3];
    TFloatColor color = GetAttrColor(e, name, TFloatColor());
    sum += static_cast<long>(color.a > 0.5f);
    std::vector<std::string> list;
    sum += GetAttrList(e, name, ';', list);
    sum += GetAttrList(e, name, ',', list);
    std::vector<float> floats;
    GetAttrFloatList(e, name, floats);
    std::vector<TIntPoint> points;
    GetAttrPointList(e, name, points);
    std::vector<TFloatPoint> pointsF;
    GetAttrPointListF(e, name, pointsF);
    for (const TIntPoint& p : points) sum += p.x ^ p.y;
    sum += static_cast<long>(floats.size() + pointsF.size());
    gSink = gSink + sum;
}

void ReadElement(TiXmlElement* e)
{
    std::vector<const char*> names;
    for (const TiXmlAttribute* a = e->FirstAttribute(); a && names.size() < kMaxAttributes; a = a->Next())
        names.push_back(a->Name());
    for (size_t i = 0; i < names.size(); ++i) {
        const char* next = i + 1 < names.size() ? names[i + 1] : "";
        ReadAll(e, names[i], next);
        ReadAll(e, kMissing, names[i]);
        std::vector<TiXmlElement*> children;
        GetChildElements(e, names[i], children);
    }
    ReadAll(e, kMissing, nullptr);
    std::vector<TiXmlElement*> children;
    GetChildElements(e, e->Value(), children);
    gSink = gSink + static_cast<long>(GetElementText(e).size() + children.size());
}

// Every element of the document, without recursion: deep nesting must not cost stack here.
void WalkDocument(TiXmlDocument* doc)
{
    std::vector<TiXmlElement*> pending;
    for (TiXmlElement* e = doc->FirstChildElement(); e; e = e->NextSiblingElement()) pending.push_back(e);
    while (!pending.empty()) {
        TiXmlElement* e = pending.back();
        pending.pop_back();
        ReadElement(e);
        for (TiXmlElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement()) pending.push_back(c);
    }
}

void ReadIni(const uint8_t* data, size_t size)
{
    IniFile_t ini;
    ini.Parse(reinterpret_cast<const char*>(data), size, true);
    long sum = 0;
    for (const auto& section : ini.AllSections()) {
        for (const auto& entry : section.second.AllEntries()) {
            std::string value;
            section.second.GetString(entry.first, "", value);
            sum += static_cast<long>(value.size());
            sum += section.second.GetInt(entry.first, 0);
            sum += static_cast<long>(section.second.GetFloat(entry.first, 0.0f) > 0.0f);
        }
    }
    gSink = gSink + sum;
}

// A fresh private holder each time: the global one stays empty, so runs do not pile up.
void ReadLayout(TiXmlDocument* doc)
{
    TUIInfoHolder holder;
    holder.Load(doc->FirstChildElement());
    gSink = gSink + static_cast<long>(holder.Elements().size() + (holder.Find("window") != nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = WriteUserFile("fuzz.xml", data, size);
    TiXmlDocument* doc = nullptr;
    LoadXmlFile(path, &doc);
    if (doc) {
        WalkDocument(doc);
        ReadLayout(doc);
    }
    ReadAll(nullptr, "a", "b");
    std::vector<TiXmlElement*> none;
    GetChildElements(nullptr, "a", none);
    GetElementText(nullptr);
    delete doc;

    ReadIni(data, size);
    return 0;
}
