// Tilesets, layout descriptors and over colours.
#pragma once
#include <string>
class TiXmlElement;

class TOverColors {
public:
    bool LoadXml(TiXmlElement* root);
    static void Destroy();
};

TOverColors* GetOverColors();
void LoadTilesets(const std::string& path);
void LayoutsInit(int index);
