#include "graphics/font_manager.h"

#include <tinyxml.h>

#include "core/xml_attributes.h"

namespace {
TFontManager* gFonts = nullptr;
}

TFontManager* TFontManager::Instance()
{
    if (!gFonts) gFonts = new TFontManager();
    return gFonts;
}

void TFontManager::Destroy()
{
    delete gFonts;
    gFonts = nullptr;
}

bool TFontManager::Load(TiXmlElement* root)
{
    if (!root) return false;
    for (TiXmlElement* e = root->FirstChildElement("font"); e; e = e->NextSiblingElement("font")) {
        std::string name = GetAttrString(e, "name");
        std::string id = GetAttrString(e, "id");
        mFonts[id] = std::make_unique<ImageFont>(name);
    }
    return true;
}

ImageFont* TFontManager::GetFont(const std::string& id) const
{
    auto it = mFonts.find(id);
    return it == mFonts.end() ? nullptr : it->second.get();
}
