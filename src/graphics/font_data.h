// A bitmap font's descriptor: the script's layers, each with its image, glyph rectangles,
// per-character advances, offsets, kerning and drawing orders, and the point sizes and tags
// under which it takes part. Read once, then shared read-only by the fonts built on it.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/desc_parser.h"
#include "graphics/texture.h"

struct CharData {
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
    int mOffsetX = 0;
    int mOffsetY = 0;
    // Row h holds the signed kerning against the second characters h*256 .. h*256+255.
    std::vector<std::unique_ptr<std::array<int8_t, 256>>> mKerning;
    int mAdvance = 0;
    int mOrder = 0;

    int Kerning(int second) const;
};

using CharBlock = std::array<CharData, 256>;

class FontData;

class FontLayer {
public:
    explicit FontLayer(FontData* owner) : mOwner(owner) {}
    virtual ~FontLayer() = default;

    // Code points outside 0..0xFFFF have no block.
    CharData* GetChar(int code) const;
    CharData* GetOrCreateChar(int code);
    bool HasBlock(int block) const { return block >= 0 && block < 256 && mBlocks[block] != nullptr; }
    const CharBlock* GetBlock(int block) const { return HasBlock(block) ? mBlocks[block].get() : nullptr; }
    void RecomputeHeight();

    FontData* mOwner;
    std::vector<std::wstring> mRequiredTags;
    std::vector<std::wstring> mExcludedTags;
    std::array<std::unique_ptr<CharBlock>, 256> mBlocks;
    uint32_t mColorMult = 0xFFFFFFFFu;  // packed 0xAARRGGBB
    uint32_t mColorAdd = 0;
    TexturePtr mImage;
    int mDrawMode = -1;
    int mOffsetX = 0;
    int mOffsetY = 0;
    int mSpacing = 0;
    int mPointMin = -1;
    int mPointMax = -1;
    int mPointSize = 0;
    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0;
    int mLineSpacingOffset = 0;
    int mBaseOrder = 0;
};

class FontData : public DescParserW {
public:
    FontData();

    // The result of this load; false without reading when a load has already happened.
    bool Load(const std::string& path);
    bool Error(const std::wstring& message) override;
    bool ExecuteCommand(ListDataElement& command) override;

    bool IsLoaded() const { return mLoaded; }
    int GetDefaultPointSize() const { return mDefaultPointSize; }
    uint8_t MapChar(int code) const { return mCharMap[code & 0xFF]; }
    const std::vector<std::unique_ptr<FontLayer>>& GetLayers() const { return mLayers; }
    FontLayer* FindLayer(const std::wstring& name) const;
    const std::string& GetPath() const { return mPath; }

    int mShareCount = 1;

protected:
    bool GetLayer(const DataElement& value, FontLayer** layer);
    bool GetString(const DataElement& value, std::wstring* out);
    bool ResolveList(const ListDataElement& list, std::unique_ptr<ListDataElement>* out);
    bool GetStringList(const DataElement& value, std::vector<std::wstring>* out);
    bool GetIntList(const DataElement& value, std::vector<int>* out);
    bool GetFloatList(const DataElement& value, std::vector<float>* out);
    bool GetListValue(const DataElement& value, std::unique_ptr<ListDataElement>* out);

private:
    using Args = std::vector<std::unique_ptr<DataElement>>;
    bool DoDefine(const Args& a);
    bool DoCreateHorzSpanRectList(const Args& a);
    bool DoSetCharMap(const Args& a);
    bool DoCreateLayer(const Args& a, bool copy);
    bool DoSetImage(FontLayer* layer, const DataElement& file);
    bool DoSetColor(FontLayer* layer, const DataElement& value, uint32_t* out);
    bool DoSetImageMap(FontLayer* layer, const Args& a);
    bool DoPerChar(FontLayer* layer, const std::wstring& command, const Args& a);
    bool DoKerning(FontLayer* layer, const Args& a);
    bool InvalidType() { return Error(L"Invalid Paramater Type"); }
    // The character's data, its block made and counted against the budget when new; false
    // (reported) past the budget, true with null for a code outside 0..0xFFFF.
    bool CharToFill(FontLayer* layer, int code, CharData** out);

    bool mLoaded = false;
    int mDefaultPointSize = 0;
    std::array<uint8_t, 256> mCharMap;
    std::map<std::string, TexturePtr> mImageCache;
    std::vector<std::unique_ptr<FontLayer>> mLayers;
    std::map<std::wstring, FontLayer*> mLayerIndex;
    std::string mPath;
};
