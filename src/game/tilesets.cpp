#include "game/tilesets.h"

#include "core/xml_document.h"

namespace {
TOverColors* gOverColors = nullptr;
}

bool TOverColors::LoadXml(TiXmlElement* root) { return root != nullptr; }

void TOverColors::Destroy()
{
    delete gOverColors;
    gOverColors = nullptr;
}

TOverColors* GetOverColors()
{
    if (!gOverColors) gOverColors = new TOverColors();
    return gOverColors;
}

void LoadTilesets(const std::string& path)
{
    LoadXmlDocument(path);
    DeleteCurrentXmlDocument();
}

void LayoutsInit(int /*index*/) {}
