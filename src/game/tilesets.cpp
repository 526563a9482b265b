#include "game/tilesets.h"

#include <tinyxml.h>

#include "core/app_state.h"
#include "core/xml_document.h"

namespace {
// The loaders create the tables and the releases delete them: a table left for static
// destruction would free its textures after the renderer that made them.
TMosaicLayoutList* gLayouts = nullptr;
TTilesetList* gTilesets = nullptr;
int gCurrentTileset = -1;

const TFloatColor kNoColor{};

// Every root child of that tag becomes a tile record.
void ReadTiles(TiXmlElement* root, const char* tag, std::vector<std::unique_ptr<TTile>>& out)
{
    for (TiXmlElement* e = root->FirstChildElement(tag); e; e = e->NextSiblingElement(tag)) {
        auto tile = std::make_unique<TTile>();
        tile->mGroup = GetAttrInt(e, "group", 0);
        tile->mType = GetAttrInt(e, "type", 0);
        tile->mSprite = GetAttrString(e, "sprite", "");
        tile->mMast = GetAttrInt(e, "mast", 0);
        tile->mOverColor = GetAttrInt(e, "overcolor", -1);
        out.push_back(std::move(tile));
    }
}

void ReadTilesetFile(const std::string& path, TTileset* tileset)
{
    TiXmlDocument* doc = nullptr;
    TiXmlElement* root = LoadXmlFile(path, &doc);
    if (root) {
        ReadTiles(root, "tile", tileset->mTiles);
        ReadTiles(root, "numbershapes", tileset->mNumberShapes);
        std::vector<std::string> numbers;
        GetAttrList(root, "numbers", ',', numbers);
        tileset->mNumbers.insert(numbers.begin(), numbers.end());
    }
    delete doc;
}

int FindTilesetIndex(const std::string& name)
{
    if (!gTilesets) return -1;
    for (size_t i = 0; i < gTilesets->size(); ++i)
        if ((*gTilesets)[i]->mName == name) return static_cast<int>(i);
    return -1;
}
}  // namespace

bool TOverColors::LoadXml(TiXmlElement* root)
{
    if (!root) return false;
    for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string tag = e->Value();
        if (tag == "baseovercolor")
            mBaseColors.push_back(GetAttrColor(e, "color", kNoColor));
        else if (tag == "overcolor")
            mColors[GetAttrString(e, "id", "")] = GetAttrColor(e, "color", kNoColor);
    }
    return true;
}

void DeleteOwned(TOverColors* colors) { delete colors; }

void TOverColors::Destroy() { GetAppState().mOverColors.reset(); }

TOverColors* GetOverColors()
{
    TAppState& app = GetAppState();
    if (!app.mOverColors) app.mOverColors.reset(new TOverColors());
    return app.mOverColors.get();
}

void TMosaicLayoutInfo::LoadXml(TiXmlElement* element)
{
    mId = GetAttrString(element, "id", "");
    mCrossVert = GetAttrString(element, "crossvert", "textures/tilesets/numbercrossvert");
    mCrossHorz = GetAttrString(element, "crosshorz", "textures/tilesets/numbercrosshorz");
    mOver = GetAttrString(element, "over", "textures/tilesets/over");
    mHighlight = GetAttrString(element, "highlight", "textures/tilesets/highlight");
    mOverNumbers = GetAttrString(element, "overnumbers", "textures/tilesets/overnumbers");
    mChain = GetAttrString(element, "chain", "textures/tilesets/chain");
    mRowBack = GetAttrString(element, "rowback", "textures/gui/gamescreen/rowback");
    mColBack = GetAttrString(element, "colback", "textures/gui/gamescreen/colback");
    mRowBackLine = GetAttrString(element, "rowbackline", "textures/gui/gamescreen/rowbackline");
    mColBackLine = GetAttrString(element, "colbackline", "textures/gui/gamescreen/colbackline");
    mBaseNumbers = GetAttrString(element, "basenumbers", "textures/tilesets/basenumbers");
    mBaseNumbersLines = GetAttrString(element, "basenumberslines", "textures/tilesets/basenumberslines");
    mHintFont = GetAttrString(element, "hintfont", "defaultnumbers");
    mCollNumbersHeight = GetAttrIntInRange(element, "collnumbersheight", 0, 0, kMaxFileCoordinate, "stages.xml");
    mRowNumbersWidth = GetAttrIntInRange(element, "rownumberswidth", 0, 0, kMaxFileCoordinate, "stages.xml");
    mDrawNumberHints = GetAttrBool(element, "drawnumberhints", false);
    mHintX = GetAttrCoordinate(element, "hintx", 10, "stages.xml");
    mHintY = GetAttrCoordinate(element, "hinty", 22, "stages.xml");
}

void ReadLayoutDescriptors(TiXmlElement* root)
{
    if (!root) return;
    if (!gLayouts) gLayouts = new TMosaicLayoutList();
    for (TiXmlElement* e = root->FirstChildElement("mosaicinfo"); e; e = e->NextSiblingElement("mosaicinfo")) {
        auto info = std::make_unique<TMosaicLayoutInfo>();
        info->LoadXml(e);
        gLayouts->push_back(std::move(info));
    }
}

const TMosaicLayoutList& GetLayoutDescriptors()
{
    static const TMosaicLayoutList kEmpty;
    return gLayouts ? *gLayouts : kEmpty;
}

void ReleaseLayoutDescriptors()
{
    delete gLayouts;
    gLayouts = nullptr;
}

void LoadTilesets(const std::string& path)
{
    if (!gTilesets) gTilesets = new TTilesetList();
    if (TiXmlElement* root = LoadXmlDocument(path)) {
        for (TiXmlElement* e = root->FirstChildElement("tileset"); e; e = e->NextSiblingElement("tileset")) {
            auto tileset = std::make_unique<TTileset>();
            ReadTilesetFile(GetAttrString(e, "path", ""), tileset.get());
            tileset->mName = GetAttrString(e, "name", "");
            tileset->mPreview.SetTexture(GetAttrString(e, "preview", ""));
            gTilesets->push_back(std::move(tileset));
        }
    }
    DeleteCurrentXmlDocument();
}

void LayoutsInit(int index)
{
    gCurrentTileset = index;
    // Callers pass 0 or the index of a match; the bound only keeps a stray index harmless.
    if (!gTilesets || index < 0 || index >= static_cast<int>(gTilesets->size())) return;
    TTileset& tileset = *(*gTilesets)[index];
    if (tileset.mLoaded) return;
    for (auto& tile : tileset.mTiles) {
        tile->mImage.FreeTexture();
        if (!tile->mSprite.empty()) tile->mImage.SetTexture(tile->mSprite);
    }
    tileset.mLoaded = 1;
}

void SelectTileset(const std::string& name)
{
    int index = FindTilesetIndex(name);
    if (index >= 0) LayoutsInit(index);
}

TTileset* FindTileset(const std::string& name)
{
    int index = FindTilesetIndex(name);
    if (index < 0) return nullptr;
    LayoutsInit(index);
    return (*gTilesets)[index].get();
}

void ReleaseTilesetTextures()
{
    if (!gTilesets || gCurrentTileset < 0 || gCurrentTileset >= static_cast<int>(gTilesets->size())) return;
    TTileset& tileset = *(*gTilesets)[gCurrentTileset];
    for (auto& tile : tileset.mTiles) tile->mImage.FreeTexture();
    tileset.mLoaded = 0;
}

void ReleaseTilesets()
{
    delete gTilesets;
    gTilesets = nullptr;
    gCurrentTileset = -1;
}

const TTilesetList& GetTilesets()
{
    static const TTilesetList kEmpty;
    return gTilesets ? *gTilesets : kEmpty;
}

int CurrentTilesetIndex() { return gCurrentTileset; }
