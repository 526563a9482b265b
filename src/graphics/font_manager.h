// The font registry, from font id to font.
#pragma once
class TiXmlElement;

class TFontManager {
public:
    static TFontManager* Instance();
    static void Destroy();
    bool Load(TiXmlElement* root);
};
