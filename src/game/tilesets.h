// Level-presentation tables read once at start-up: the over colours of "settings.xml", the
// layout descriptors of "stages.xml" and the tilesets of "tilesets/tilesets.xml", of which one
// at a time holds the textures of its tiles.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/static_image.h"

class TiXmlElement;

class TOverColors {
public:
    // The "baseovercolor" and "overcolor" children of the root; a later id replaces an earlier.
    bool LoadXml(TiXmlElement* root);
    static void Destroy();

    std::vector<TFloatColor> mBaseColors;
    std::map<std::string, TFloatColor> mColors;
};

// Created empty on first use.
TOverColors* GetOverColors();

class TMosaicLayoutInfo {
public:
    virtual ~TMosaicLayoutInfo() = default;
    virtual void LoadXml(TiXmlElement* element);

    std::string mId;
    std::string mCrossVert = "textures/tilesets/numbercrossvert";
    std::string mCrossHorz = "textures/tilesets/numbercrosshorz";
    std::string mOver = "textures/tilesets/over";
    std::string mHighlight = "textures/tilesets/highlight";
    std::string mOverNumbers = "textures/tilesets/overnumbers";
    std::string mChain = "textures/tilesets/chain";
    std::string mRowBack = "textures/gui/gamescreen/rowback";
    std::string mColBack = "textures/gui/gamescreen/colback";
    std::string mRowBackLine = "textures/gui/gamescreen/rowbackline";
    std::string mColBackLine = "textures/gui/gamescreen/colbackline";
    std::string mBaseNumbers = "textures/tilesets/basenumbers";
    std::string mBaseNumbersLines = "textures/tilesets/basenumberslines";
    std::string mHintFont = "defaultnumbers";
    int32_t mCollNumbersHeight = 0;
    int32_t mRowNumbersWidth = 0;
    bool mDrawNumberHints = false;
    int32_t mHintX = 10;
    int32_t mHintY = 22;
};

using TMosaicLayoutList = std::vector<std::unique_ptr<TMosaicLayoutInfo>>;

// One descriptor per "mosaicinfo" child of the root, appended in document order.
void ReadLayoutDescriptors(TiXmlElement* root);
const TMosaicLayoutList& GetLayoutDescriptors();
void ReleaseLayoutDescriptors();

struct TTile {
    int32_t mGroup = 0;
    int32_t mType = 0;
    int32_t mMast = 0;
    int32_t mOverColor = -1;
    std::string mSprite;
    StaticImage mImage;  // holds the sprite's texture while its tileset is loaded
};

struct TTileset {
    std::vector<std::unique_ptr<TTile>> mTiles;
    std::vector<std::unique_ptr<TTile>> mNumberShapes;  // read, never textured
    std::set<std::string> mNumbers;
    StaticImage mPreview;
    std::string mName;
    uint8_t mLoaded = 0;
};

using TTilesetList = std::vector<std::unique_ptr<TTileset>>;

// Appends one tileset per "tileset" child of the list file; a missing tileset file gives an
// empty tileset that keeps its name and preview.
void LoadTilesets(const std::string& path);
// Makes the tileset at the index current and loads its tile textures unless it holds them.
void LayoutsInit(int index);
// The first tileset of that exact name becomes current; an unknown name changes nothing.
void SelectTileset(const std::string& name);
// The same search and selection; the tileset, or null.
TTileset* FindTileset(const std::string& name);
// The current tileset's tiles let their textures go.
void ReleaseTilesetTextures();
void ReleaseTilesets();
const TTilesetList& GetTilesets();
int CurrentTilesetIndex();
