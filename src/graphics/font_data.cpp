#include "graphics/font_data.h"

#include <algorithm>

#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "graphics/texture_cache.h"
#include "graphics/tweens.h"

namespace {

const SingleDataElementW* AsSingle(const DataElement& value)
{
    return value.IsList() ? nullptr : static_cast<const SingleDataElementW*>(&value);
}

const ListDataElement* AsList(const DataElement& value)
{
    return value.IsList() ? static_cast<const ListDataElement*>(&value) : nullptr;
}

// What a layer's own tables cost against the load's value budget: the 256 block pointers of
// a layer, the 256 characters of a block, a kerning row (its slots count an eighth each).
const size_t kLayerCost = 256;
const size_t kBlockCost = 256;
const size_t kKerningRowCost = 16;

size_t CountTagValues(const std::vector<std::wstring>& tags)
{
    size_t n = 0;
    for (const std::wstring& t : tags) n += CountValues(t);
    return n;
}

// A single argument's own text as a number; defines are not looked at.
bool ArgInt(const DataElement& value, int* out)
{
    const SingleDataElementW* s = AsSingle(value);
    return s && ParseIntW(s->mText, out);
}

}  // namespace

int CharData::Kerning(int second) const
{
    if (second < 0 || second > 0xFFFF) return 0;
    size_t row = static_cast<size_t>(second) >> 8;
    if (row >= mKerning.size() || !mKerning[row]) return 0;
    return (*mKerning[row])[second & 0xFF];
}

CharData* FontLayer::GetChar(int code) const
{
    if (code < 0 || code > 0xFFFF || !mBlocks[code >> 8]) return nullptr;
    return &(*mBlocks[code >> 8])[code & 0xFF];
}

CharData* FontLayer::GetOrCreateChar(int code)
{
    if (code < 0 || code > 0xFFFF) return nullptr;
    if (!mBlocks[code >> 8]) mBlocks[code >> 8] = std::make_unique<CharBlock>();
    return &(*mBlocks[code >> 8])[code & 0xFF];
}

void FontLayer::RecomputeHeight()
{
    int64_t height = 0;
    for (const auto& block : mBlocks) {
        if (!block) continue;
        for (const CharData& c : *block) height = std::max<int64_t>(height, int64_t(c.mHeight) + c.mOffsetY);
    }
    mHeight = ClampToInt(height);
}

FontData::FontData()
{
    mOptions = kSemicolonEndsCommand;
    for (int i = 0; i < 256; ++i) mCharMap[i] = static_cast<uint8_t>(i);
}

bool FontData::Load(const std::string& path)
{
    if (mLoaded) return false;
    mPath = path;
    mLoaded = LoadFile(path);
    return mLoaded;
}

bool FontData::Error(const std::wstring& message)
{
    DescParserW::Error(message);
    GetLogger()->LogMessage("font descriptor %s line %d: %s", mPath.c_str(), mCommandLine, ToUtf8(message).c_str());
    return false;
}

FontLayer* FontData::FindLayer(const std::wstring& name) const
{
    auto it = mLayerIndex.find(ToUpperW(name));
    return it == mLayerIndex.end() ? nullptr : it->second;
}

bool FontData::GetLayer(const DataElement& value, FontLayer** layer)
{
    const SingleDataElementW* s = AsSingle(value);
    if (!s) return false;
    *layer = FindLayer(s->mText);
    if (!*layer) return Error(L"Undefined Layer");
    return true;
}

bool FontData::GetString(const DataElement& value, std::wstring* out)
{
    const SingleDataElementW* s = AsSingle(value);
    if (!s) return false;
    if (const DataElement* define = GetDefine(s->mText)) {
        const SingleDataElementW* d = AsSingle(*define);
        if (!d) return false;
        *out = Unquote(d->mText);
        return true;
    }
    *out = Unquote(s->mText);
    return true;
}

bool FontData::ResolveList(const ListDataElement& list, std::unique_ptr<ListDataElement>* out)
{
    if (!SpendValues(1)) return false;
    auto result = std::make_unique<ListDataElement>();
    for (const auto& item : list.mItems) {
        if (const ListDataElement* nested = AsList(*item)) {
            std::unique_ptr<ListDataElement> sub;
            if (!ResolveList(*nested, &sub)) return false;
            result->mItems.push_back(std::move(sub));
            continue;
        }
        const std::wstring& text = static_cast<const SingleDataElementW&>(*item).mText;
        if (IsLiteral(text)) {
            // Quoted items lose their quotes; numbers stay as written.
            auto copy = std::make_unique<SingleDataElementW>(Unquote(text));
            if (!SpendValues(CountValues(copy->mText))) return false;
            result->mItems.push_back(std::move(copy));
        } else {
            const DataElement* define = GetDefine(text);
            if (!define) return Error(L"Unable to Dereference \"" + text + L"\"");
            std::unique_ptr<DataElement> copy = CloneCounted(*define);
            if (!copy) return false;
            result->mItems.push_back(std::move(copy));
        }
    }
    *out = std::move(result);
    return true;
}

bool FontData::GetStringList(const DataElement& value, std::vector<std::wstring>* out)
{
    out->clear();
    if (const ListDataElement* list = AsList(value)) {
        std::unique_ptr<ListDataElement> resolved;
        if (!ResolveList(*list, &resolved)) return false;
        // The resolved texts are ours and paid for: moved out, not copied again.
        for (auto& item : resolved->mItems) {
            if (item->IsList()) return false;
            out->push_back(std::move(static_cast<SingleDataElementW&>(*item).mText));
        }
        return true;
    }
    const std::wstring& name = static_cast<const SingleDataElementW&>(value).mText;
    const DataElement* define = GetDefine(name);
    if (!define) return Error(L"Unable to Dereference \"" + name + L"\"");
    const ListDataElement* items = AsList(*define);
    if (!items) return false;
    // Copied out on every use: a large define named again and again costs each time.
    if (!SpendValues(CountValues(*items))) return false;
    for (const auto& item : items->mItems) {
        const SingleDataElementW* s = AsSingle(*item);
        if (!s) return false;
        out->push_back(s->mText);
    }
    return true;
}

bool FontData::GetIntList(const DataElement& value, std::vector<int>* out)
{
    std::vector<std::wstring> texts;
    if (!GetStringList(value, &texts)) return false;
    out->assign(texts.size(), 0);
    for (size_t i = 0; i < texts.size(); ++i)
        if (!ParseIntW(texts[i], &(*out)[i])) return false;
    return true;
}

bool FontData::GetFloatList(const DataElement& value, std::vector<float>* out)
{
    std::vector<std::wstring> texts;
    if (!GetStringList(value, &texts)) return false;
    out->assign(texts.size(), 0.0f);
    for (size_t i = 0; i < texts.size(); ++i)
        if (!ParseFloatW(texts[i], &(*out)[i])) return false;
    return true;
}

bool FontData::GetListValue(const DataElement& value, std::unique_ptr<ListDataElement>* out)
{
    if (const ListDataElement* list = AsList(value)) return ResolveList(*list, out);
    const DataElement* define = GetDefine(static_cast<const SingleDataElementW&>(value).mText);
    if (!define || !define->IsList()) return false;
    std::unique_ptr<DataElement> copy = CloneCounted(*define);
    if (!copy) return false;
    out->reset(static_cast<ListDataElement*>(copy.release()));
    return true;
}

bool FontData::ExecuteCommand(ListDataElement& command)
{
    const Args& a = command.mItems;
    const std::wstring name = ToUpperW(static_cast<const SingleDataElementW&>(*a[0]).mText);
    struct TCommand {
        const wchar_t* name;
        size_t count;
    };
    static const TCommand kCommands[] = {
        {L"DEFINE", 3}, {L"CREATEHORZSPANRECTLIST", 4}, {L"SETDEFAULTPOINTSIZE", 2}, {L"SETCHARMAP", 3},
        {L"CREATELAYER", 2}, {L"CREATELAYERFROM", 3}, {L"LAYERREQUIRETAGS", 3}, {L"LAYEREXCLUDETAGS", 3},
        {L"LAYERPOINTRANGE", 4}, {L"LAYERSETPOINTSIZE", 3}, {L"LAYERSETIMAGE", 3}, {L"LAYERSETDRAWMODE", 3},
        {L"LAYERSETCOLORMULT", 3}, {L"LAYERSETCOLORADD", 3}, {L"LAYERSETASCENT", 3},
        {L"LAYERSETASCENTPADDING", 3}, {L"LAYERSETLINESPACINGOFFSET", 3}, {L"LAYERSETOFFSET", 3},
        {L"LAYERSETCHARWIDTHS", 4}, {L"LAYERSETSPACING", 3}, {L"LAYERSETIMAGEMAP", 4},
        {L"LAYERSETCHAROFFSETS", 4}, {L"LAYERSETKERNINGPAIRS", 4}, {L"LAYERSETBASEORDER", 3},
        {L"LAYERSETCHARORDERS", 4},
    };
    const TCommand* found = nullptr;
    for (const TCommand& c : kCommands)
        if (name == c.name) {
            found = &c;
            break;
        }
    if (!found) return Error(L"Unknown Command");
    if (a.size() != found->count) return Error(L"Invalid Number of Parameters");

    if (name == L"DEFINE") return DoDefine(a);
    if (name == L"CREATEHORZSPANRECTLIST") return DoCreateHorzSpanRectList(a);
    if (name == L"SETDEFAULTPOINTSIZE") return ArgInt(*a[1], &mDefaultPointSize) || InvalidType();
    if (name == L"SETCHARMAP") return DoSetCharMap(a);
    if (name == L"CREATELAYER") return DoCreateLayer(a, false);
    if (name == L"CREATELAYERFROM") return DoCreateLayer(a, true);

    // Every other command works on a layer named by its first argument.
    FontLayer* layer = nullptr;
    if (!GetLayer(*a[1], &layer)) return InvalidType();
    if (name == L"LAYERREQUIRETAGS" || name == L"LAYEREXCLUDETAGS") {
        std::vector<std::wstring> tags;
        if (!GetStringList(*a[2], &tags)) return InvalidType();
        if (!SpendValues(CountTagValues(tags))) return false;
        auto& into = name == L"LAYERREQUIRETAGS" ? layer->mRequiredTags : layer->mExcludedTags;
        for (const std::wstring& t : tags) into.push_back(ToUpperW(t));
        return true;
    }
    if (name == L"LAYERPOINTRANGE") {
        int lo = 0, hi = 0;
        if (!ArgInt(*a[2], &lo) || !ArgInt(*a[3], &hi)) return InvalidType();
        layer->mPointMin = lo;
        layer->mPointMax = hi;
        return true;
    }
    if (name == L"LAYERSETIMAGE") return DoSetImage(layer, *a[2]);
    if (name == L"LAYERSETDRAWMODE") {
        int mode = 0;
        if (!ArgInt(*a[2], &mode) || (mode != 0 && mode != 1)) return InvalidType();
        layer->mDrawMode = mode;
        return true;
    }
    if (name == L"LAYERSETCOLORMULT") return DoSetColor(layer, *a[2], &layer->mColorMult);
    if (name == L"LAYERSETCOLORADD") return DoSetColor(layer, *a[2], &layer->mColorAdd);
    if (name == L"LAYERSETOFFSET") {
        std::vector<int> xy;
        if (!GetIntList(*a[2], &xy) || xy.size() != 2) return InvalidType();
        layer->mOffsetX = xy[0];
        layer->mOffsetY = xy[1];
        return true;
    }
    if (name == L"LAYERSETIMAGEMAP") return DoSetImageMap(layer, a);
    if (name == L"LAYERSETKERNINGPAIRS") return DoKerning(layer, a);
    if (found->count == 4) return DoPerChar(layer, name, a);

    int* field = name == L"LAYERSETPOINTSIZE"           ? &layer->mPointSize
                 : name == L"LAYERSETASCENT"            ? &layer->mAscent
                 : name == L"LAYERSETASCENTPADDING"     ? &layer->mAscentPadding
                 : name == L"LAYERSETLINESPACINGOFFSET" ? &layer->mLineSpacingOffset
                 : name == L"LAYERSETSPACING"           ? &layer->mSpacing
                                                        : &layer->mBaseOrder;
    return ArgInt(*a[2], field) || InvalidType();
}

bool FontData::DoDefine(const Args& a)
{
    const SingleDataElementW* nameValue = AsSingle(*a[1]);
    if (!nameValue || IsLiteral(nameValue->mText)) return InvalidType();
    const std::wstring name = ToUpperW(nameValue->mText);
    // The old value goes first: a list naming it is then refused, never left dangling.
    RemoveDefine(name);
    if (const ListDataElement* list = AsList(*a[2])) {
        std::unique_ptr<ListDataElement> resolved;
        if (!ResolveList(*list, &resolved)) return false;
        SetDefine(name, std::move(resolved));
        return true;
    }
    const DataElement* source = GetDefine(static_cast<const SingleDataElementW&>(*a[2]).mText);
    std::unique_ptr<DataElement> copy = CloneCounted(source ? *source : *a[2]);
    if (!copy) return false;
    SetDefine(name, std::move(copy));
    return true;
}

bool FontData::DoCreateHorzSpanRectList(const Args& a)
{
    const SingleDataElementW* nameValue = AsSingle(*a[1]);
    std::vector<int> rect, widths;
    if (!nameValue || !GetIntList(*a[2], &rect) || rect.size() != 4 || !GetIntList(*a[3], &widths))
        return InvalidType();
    if (!SpendValues(1 + widths.size() * 5)) return false;
    auto list = std::make_unique<ListDataElement>();
    int64_t x = rect[0];
    for (int w : widths) {
        auto entry = std::make_unique<ListDataElement>();
        for (int v : {ClampToInt(x), rect[1], w, rect[3]})
            entry->mItems.push_back(std::make_unique<SingleDataElementW>(std::to_wstring(v)));
        list->mItems.push_back(std::move(entry));
        x += w;
    }
    SetDefine(ToUpperW(nameValue->mText), std::move(list));
    return true;
}

bool FontData::DoSetCharMap(const Args& a)
{
    std::vector<std::wstring> from, to;
    if (!GetStringList(*a[1], &from) || !GetStringList(*a[2], &to)) return InvalidType();
    if (from.size() != to.size()) return Error(L"List Size Mismatch");
    bool ok = true;
    for (size_t i = 0; i < from.size(); ++i) {
        if (from[i].size() != 1 || to[i].size() != 1) {
            ok = false;
            continue;
        }
        mCharMap[from[i][0] & 0xFF] = static_cast<uint8_t>(to[i][0] & 0xFF);
    }
    return ok || InvalidType();
}

bool FontData::DoCreateLayer(const Args& a, bool copy)
{
    const SingleDataElementW* nameValue = AsSingle(*a[1]);
    if (!nameValue) return InvalidType();
    FontLayer* source = nullptr;
    if (copy && !GetLayer(*a[2], &source)) return InvalidType();
    const size_t tagCost = source ? CountTagValues(source->mRequiredTags) + CountTagValues(source->mExcludedTags) : 0;
    if (!SpendValues(kLayerCost + tagCost)) return false;
    auto layer = std::make_unique<FontLayer>(this);
    if (source) {
        FontLayer& l = *layer;
        l.mRequiredTags = source->mRequiredTags;
        l.mExcludedTags = source->mExcludedTags;
        l.mColorMult = source->mColorMult;
        l.mColorAdd = source->mColorAdd;
        l.mImage = source->mImage;
        l.mDrawMode = source->mDrawMode;
        l.mOffsetX = source->mOffsetX;
        l.mOffsetY = source->mOffsetY;
        l.mSpacing = source->mSpacing;
        l.mPointMin = source->mPointMin;
        l.mPointMax = source->mPointMax;
        l.mPointSize = source->mPointSize;
        l.mAscent = source->mAscent;
        l.mAscentPadding = source->mAscentPadding;
        l.mHeight = source->mHeight;
        l.mLineSpacingOffset = source->mLineSpacingOffset;
        l.mBaseOrder = source->mBaseOrder;
    }
    FontLayer* raw = layer.get();
    mLayers.push_back(std::move(layer));
    const std::wstring key = ToUpperW(nameValue->mText);
    if (mLayerIndex.count(key)) return Error(L"Layer Already Exists");
    mLayerIndex[key] = raw;
    return true;
}

bool FontData::DoSetImage(FontLayer* layer, const DataElement& file)
{
    std::wstring name;
    if (!GetString(file, &name)) return InvalidType();
    const std::string path = ResolveRelativePath(WideToMultiByte(name), PathDirectory(mPath, true));
    auto cached = mImageCache.find(path);
    if (cached != mImageCache.end()) {
        layer->mImage = cached->second;
        return true;
    }
    TexturePtr image;
    {
        // Glyphs are never hit-tested: no alpha map for them.
        TTextureSwitchScope noAlpha(KeepTextureAlpha, false);
        image = GetTextureByName(path, false);
    }
    if (!image) return Error(L"Failed to Load Image");
    layer->mImage = image;
    mImageCache[path] = image;
    return true;
}

bool FontData::DoSetColor(FontLayer*, const DataElement& value, uint32_t* out)
{
    std::vector<float> c;
    if (!GetFloatList(value, &c) || c.size() != 4) return InvalidType();
    int b[4];
    // A channel outside 0..1 would wrap in the packing; it stops at the end of the range.
    for (int i = 0; i < 4; ++i) b[i] = std::max(0, std::min(255, TruncToInt(double(c[i]) * 255.0)));
    *out = MakePackedColor(b[0], b[1], b[2], b[3]).mArgb;
    return true;
}

bool FontData::DoSetImageMap(FontLayer* layer, const Args& a)
{
    std::vector<std::wstring> chars;
    std::unique_ptr<ListDataElement> rects;
    if (!GetStringList(*a[2], &chars) || !GetListValue(*a[3], &rects)) return InvalidType();
    if (!layer->mImage) return Error(L"Layer image not set");
    if (chars.size() != rects->mItems.size()) return Error(L"List Size Mismatch");
    const int64_t imageW = layer->mImage->GetWidth(), imageH = layer->mImage->GetHeight();
    bool ok = true;
    for (size_t i = 0; i < chars.size(); ++i) {
        std::vector<int> r;
        if (chars[i].size() != 1 || !GetIntList(*rects->mItems[i], &r) || r.size() != 4) {
            ok = false;
            continue;
        }
        if (r[0] < 0 || r[1] < 0 || int64_t(r[0]) + r[2] > imageW || int64_t(r[1]) + r[3] > imageH)
            return Error(L"Image rectangle out of bounds");
        CharData* c = nullptr;
        if (!CharToFill(layer, chars[i][0], &c)) return false;
        if (!c) {
            ok = false;
            continue;
        }
        c->mX = r[0];
        c->mY = r[1];
        c->mWidth = r[2];
        c->mHeight = r[3];
    }
    layer->RecomputeHeight();
    return ok || InvalidType();
}

bool FontData::DoPerChar(FontLayer* layer, const std::wstring& command, const Args& a)
{
    std::vector<std::wstring> chars;
    if (!GetStringList(*a[2], &chars)) return InvalidType();
    const bool offsets = command == L"LAYERSETCHAROFFSETS";
    std::vector<int> numbers;
    std::unique_ptr<ListDataElement> pairs;
    if (offsets ? !GetListValue(*a[3], &pairs) : !GetIntList(*a[3], &numbers)) return InvalidType();
    size_t count = offsets ? pairs->mItems.size() : numbers.size();
    if (chars.size() != count) return Error(L"List Size Mismatch");
    bool ok = true;
    for (size_t i = 0; i < chars.size(); ++i) {
        std::vector<int> xy;
        if (chars[i].size() != 1 || (offsets && (!GetIntList(*pairs->mItems[i], &xy) || xy.size() != 2))) {
            ok = false;
            continue;
        }
        CharData* c = nullptr;
        if (!CharToFill(layer, chars[i][0], &c)) return false;
        if (!c) {
            ok = false;
            continue;
        }
        if (offsets) {
            c->mOffsetX = xy[0];
            c->mOffsetY = xy[1];
        } else if (command == L"LAYERSETCHARWIDTHS") {
            c->mAdvance = numbers[i];
        } else {
            c->mOrder = numbers[i];
        }
    }
    return ok || InvalidType();
}

bool FontData::CharToFill(FontLayer* layer, int code, CharData** out)
{
    *out = nullptr;
    if (code >= 0 && code <= 0xFFFF && !layer->HasBlock(code >> 8) && !SpendValues(kBlockCost)) return false;
    *out = layer->GetOrCreateChar(code);
    return true;
}

bool FontData::DoKerning(FontLayer* layer, const Args& a)
{
    std::vector<std::wstring> pairs;
    std::vector<int> values;
    if (!GetStringList(*a[2], &pairs) || !GetIntList(*a[3], &values)) return InvalidType();
    if (pairs.size() != values.size()) return Error(L"List Size Mismatch");
    bool ok = true;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i].size() != 2) {
            ok = false;
            continue;
        }
        CharData* first = layer->GetChar(pairs[i][0]);
        // A first character outside the layer's blocks ends the list, and counts as success.
        if (!first) return ok || InvalidType();
        int second = pairs[i][1];
        if (second < 0 || second > 0xFFFF) {
            ok = false;
            continue;
        }
        size_t row = static_cast<size_t>(second) >> 8;
        if (row >= first->mKerning.size() || !first->mKerning[row]) {
            const size_t slotsAdded = row >= first->mKerning.size() ? row + 1 - first->mKerning.size() : 0;
            if (!SpendValues(kKerningRowCost + slotsAdded / 8)) return false;
            if (first->mKerning.size() <= row) first->mKerning.resize(row + 1);
            first->mKerning[row] = std::make_unique<std::array<int8_t, 256>>();
        }
        (*first->mKerning[row])[second & 0xFF] = static_cast<int8_t>(static_cast<uint8_t>(values[i] & 0xFF));
    }
    return ok || InvalidType();
}
