// The font registry: the fonts that "fonts.xml" names, built at start-up and handed out by
// id. The registry owns them; users keep plain pointers until shutdown.
#pragma once
#include <map>
#include <memory>
#include <string>

#include "graphics/image_font.h"

class TiXmlElement;

class TFontManager {
public:
    static TFontManager* Instance();
    static void Destroy();
    bool Load(TiXmlElement* root);
    // Null when no font has that id.
    ImageFont* GetFont(const std::string& id) const;

private:
    std::map<std::string, std::unique_ptr<ImageFont>> mFonts;
};
