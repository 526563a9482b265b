#include "graphics/font_manager.h"

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

bool TFontManager::Load(TiXmlElement* root) { return root != nullptr; }
