#include "rooms/tool.h"

#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/logger.h"
#include "rooms/ghost_catcher_tool.h"
#include "sound/sound_manager.h"

std::map<std::string, std::unique_ptr<TToolEffect>>& NamedEffectsRegistry()
{
    static std::map<std::string, std::unique_ptr<TToolEffect>> registry;
    return registry;
}

std::unique_ptr<TToolEffect> CloneNamedEffect(const std::string& name)
{
    auto& registry = NamedEffectsRegistry();
    auto it = registry.find(name);
    if (it == registry.end() || !it->second) return nullptr;
    return it->second->Clone();
}

namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Every part, empty ones included.
std::vector<std::string> SplitAll(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(Trimmed(text.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::unique_ptr<StaticImage> NamedImage(const std::string& name)
{
    auto image = std::make_unique<StaticImage>();
    image->mTextureName = name;
    return image;
}

void LoadNamed(StaticImage& image) { image.SetTexture(image.mTextureName); }

// The entry for the fly index; any index outside the list gives the first entry.
TIntPoint PointForFlyIndex(const std::vector<TIntPoint>& points, size_t flyCount, bool whole, int32_t flyIndex)
{
    if (points.empty()) return TIntPoint();
    if (flyCount == 0 || whole) return points.front();
    int64_t index = flyIndex;
    if (index > static_cast<int64_t>(flyCount) - 1) index = static_cast<int64_t>(flyCount) - 1;
    if (index < 0 || index >= static_cast<int64_t>(points.size())) return points.front();
    return points[static_cast<size_t>(index)];
}

}  // namespace

TTool::TTool() { mPower.SetValue(1.0f); }

TTool::~TTool()
{
    mTakeEffect.reset();
    mApplyEffect.reset();
}

bool TTool::IsUsedUp() const
{
    if (mOwned) return true;
    if (mSubTools.empty()) return mUseCount >= mPartCount;
    return std::all_of(mSubTools.begin(), mSubTools.end(), [](const TSubTool& s) { return s.mUsed; });
}

bool TTool::CompletesWithNextPart() const
{
    if (mOwned) return true;
    if (mSubTools.empty()) return static_cast<int64_t>(mUseCount) + 1 >= mPartCount;
    return std::all_of(mSubTools.begin(), mSubTools.end(), [](const TSubTool& s) { return s.mUsed; });
}

void TTool::UseUp() { mUseCount = mPartCount; }

void TTool::MarkSubToolUsed(const std::string& name)
{
    if (!name.empty()) {
        for (TSubTool& sub : mSubTools) {
            if (sub.mName == name) {
                sub.mUsed = true;
                break;
            }
        }
    }
    if (mUseCount < INT32_MAX) ++mUseCount;
}

void TTool::MarkSubToolUnused(const std::string& name)
{
    if (name.empty()) return;
    for (TSubTool& sub : mSubTools) {
        if (sub.mName == name) {
            sub.mUsed = false;
            return;
        }
    }
}

void TTool::Reset()
{
    StopEffects();
    mPower.SetValue(0.0f);
}

void TTool::StopEffects()
{
    mTakeEffect.reset();
    mApplyEffect.reset();
}

void TTool::ShowEffect(std::unique_ptr<TToolEffect>& slot, const std::string& name)
{
    slot = CloneNamedEffect(name);
    if (slot) slot->Reset();
}

float TTool::SetPower(float value)
{
    mPower.Set(value > 0.0f ? value : 0.0f, value > 0.0f ? 0.0f : value, std::fabs(mPowerTime), true);
    if (!mTakeEffectName.empty()) {
        mTakeEffect.reset();
        ShowEffect(mTakeEffect, mTakeEffectName);
    }
    return mPower.mCurrent;
}

void TTool::Select(int /*a*/, int /*b*/)
{
    PlayNamedSound(mTakeSound);
    mTakeEffect.reset();
    mMode = 2;
    if (!mTakeEffectName.empty()) ShowEffect(mTakeEffect, mTakeEffectName);
}

void TTool::Apply(int /*x*/, int /*y*/, int /*useNumber*/)
{
    mApplyEffect.reset();
    if (!mApplyEffectName.empty()) ShowEffect(mApplyEffect, mApplyEffectName);
    PlayNamedSound(mApplySound);
    mMode = 0;
    GetLogger()->LogDebug("tool %s apply none", mId.c_str());
}

void TTool::Update(float dt)
{
    if (mPowerTime != 0.0f) {
        mPower.Update(dt);
        // With a power time the take effect lives only while the power runs.
        if (mPower.mFinished) mTakeEffect.reset();
    }
    for (std::unique_ptr<TToolEffect>* slot : {&mTakeEffect, &mApplyEffect}) {
        if (!*slot) continue;
        (*slot)->Update(dt);
        if ((*slot)->IsDone()) slot->reset();
    }
}

void TTool::DrawEffects(float x, float y, float a, float b)
{
    if (mTakeEffect) mTakeEffect->DrawPass(x, y, a, b);
    if (mApplyEffect) mApplyEffect->DrawPass(x, y, a, b);
}

void TTool::DrawEffectsTop(float x, float y, float a, float b)
{
    if (mTakeEffect) mTakeEffect->DrawPassTop(x, y, a, b);
    if (mApplyEffect) mApplyEffect->DrawPassTop(x, y, a, b);
}

int TTool::AdjustY(int y) { return std::max(y, static_cast<int>(mMinY)); }

std::string TTool::GetCurrentName() const
{
    if (!mParts.empty() && !mWholeTool && mPartIndex >= 0 && static_cast<size_t>(mPartIndex) < mParts.size())
        return mParts[static_cast<size_t>(mPartIndex)].mId;
    return mId;
}

void TTool::LoadXml(TiXmlElement* e)
{
    if (!e) return;
    mId = GetAttrString(e, "id", "");
    mUseLimit = GetAttrInt(e, "maxclicks", 1);
    mAlwaysVisibleConnected = GetAttrBool(e, "alwaysvisibleconnected", false);
    mHideConnected = GetAttrBool(e, "hideconnected", true);
    mPartCount = GetAttrInt(e, "parts", 1);
    mScaling = GetAttrBool(e, "scaling", true);
    mPower.SetValue(GetAttrFloat(e, "power", 1.0f));
    mPowerTime = GetAttrFloat(e, "powertime", 0.0f);
    mTakeEffectName = GetAttrString(e, "effect", "");
    mApplyEffectName = GetAttrString(e, "effectapply", "");
    mReleaseTime = GetAttrFloat(e, "releasetime", 0.0f);
    mSpecial = GetAttrBool(e, "special", false);
    mOwnPart.mParam1 = GetAttrString(e, "param1", "");
    mOwnPart.mParam2 = GetAttrString(e, "param2", "");
    mOwnPart.mParam3 = GetAttrString(e, "param3", "");
    mWeight = GetAttrInt(e, "weight", 0);
    mMinY = GetAttrInt(e, "miny", -10000);
    mLoadOnStart = GetAttrBool(e, "loadonstart", false);
    mApplySound = GetAttrString(e, "sound", "");
    mTakeSound = GetAttrString(e, "soundtake", "");
    GetAttrList(e, "rtaa", ',', mRtaa);
    GetAttrList(e, "rtar", ',', mRtar);
    GetAttrList(e, "roaa", ',', mRoaa);
    GetAttrList(e, "roar", ',', mRoar);
    GetAttrList(e, "aoaa", ',', mAoaa);
    GetAttrList(e, "aoar", ',', mAoar);

    // Paths are joined as written: data writes folder="key" img="/hand".
    const std::string folderValue = GetAttrString(e, "folder", "");
    const std::string folder = folderValue.empty() ? std::string() : "textures/tools/" + folderValue;
    mHandImageName = e->Attribute("img") ? folder + GetAttrString(e, "img", "") : folder + "/wnd";
    std::vector<std::string> names;
    GetAttrList(e, "imginv", ',', names);
    if (names.empty()) names.push_back(std::string());
    mInventoryImageNames.clear();
    for (const std::string& name : names) {
        if (name.empty())
            mInventoryImageNames.push_back(folder.empty() ? std::string() : folder + "/inv");
        else
            mInventoryImageNames.push_back(folder + name);
    }
    GetAttrList(e, "imgfly", ',', names);
    mFlyImageNames.clear();
    for (const std::string& name : names) mFlyImageNames.push_back((folder.empty() ? "textures/" : folder) + name);
    mHotSpots.assign(1, TIntPoint{GetAttrInt(e, "hx", 0), GetAttrInt(e, "hy", 0)});
    mHandOffsets.assign(1, TIntPoint{GetAttrInt(e, "handx", 0), GetAttrInt(e, "handy", 0)});

    mParts.clear();
    for (TiXmlElement* p = e->FirstChildElement("tool"); p; p = p->NextSiblingElement("tool")) {
        mParts.emplace_back();
        TToolPart& part = mParts.back();
        part.mId = GetAttrString(p, "id", "");
        part.mParam1 = GetAttrString(p, "param1", "");
        part.mParam2 = GetAttrString(p, "param2", "");
        part.mParam3 = GetAttrString(p, "param3", "");
        const std::string img = GetAttrString(p, "img", "");
        if (!img.empty()) part.mImageName = "textures/" + img;
        part.mImage.mTextureName = part.mImageName;
        const std::string inv = GetAttrString(p, "imginv", "");
        if (!inv.empty()) mInventoryImageNames.push_back("textures/" + inv);
        const std::string fly = GetAttrString(p, "imgfly", "");
        if (!fly.empty()) mFlyImageNames.push_back("textures/" + fly);
        mHotSpots.push_back(TIntPoint{GetAttrInt(p, "hx", 0), GetAttrInt(p, "hy", 0)});
        mHandOffsets.push_back(TIntPoint{GetAttrInt(p, "handx", 0), GetAttrInt(p, "handy", 0)});
    }

    mRoomName = GetAttrString(e, "room", "");
    GetAttrList(e, "tool", ',', mToolNames);
    mToolRefs.assign(mToolNames.size(), nullptr);
    mSubPartsDraw = GetAttrInt(e, "subpurtsdraw", 0);
    std::vector<std::string> groups;
    GetAttrList(e, "subtools", ';', groups);
    mSubTools.clear();
    for (const std::string& group : groups) {
        const std::vector<std::string> fields = SplitAll(group, ',');
        if (fields.size() != 3) continue;
        mSubTools.emplace_back();
        TSubTool& sub = mSubTools.back();
        sub.mName = fields[0];
        sub.mFirstImage.SetTexture((folder.empty() ? "textures/" : folder) + fields[1]);
        sub.mSecondImage.SetTexture((folder.empty() ? "textures/" : folder) + fields[2]);
    }

    mFlyImages.clear();
    for (const std::string& name : mFlyImageNames) mFlyImages.push_back(NamedImage(name));
    mInventoryImages.clear();
    for (const std::string& name : mInventoryImageNames) mInventoryImages.push_back(NamedImage(name));
    mHandImage.mTextureName = mHandImageName;
}

void TTool::SaveState(TBaseBuffer& buffer)
{
    buffer.BeginWriteSection(("tool" + mId).c_str());
    buffer.WriteByte(mWholeTool ? 1 : 0);
    buffer.WriteInt32(mPartIndex);
    buffer.WriteInt32(mUseCount);
    buffer.WriteInt32(mUseLimit);
    buffer.WriteInt32(mReservedA);
    buffer.WriteInt32(mReservedB);
    for (const TSubTool& sub : mSubTools) buffer.WriteByte(sub.mUsed ? 1 : 0);
}

void TTool::LoadState(TBaseBuffer& buffer)
{
    buffer.BeginReadSection(("tool" + mId).c_str());
    mWholeTool = buffer.ReadByte() != 0;
    mPartIndex = buffer.ReadInt32();
    // A damaged record must not point the current name outside the parts.
    if (mPartIndex < 0 || static_cast<size_t>(mPartIndex) >= mParts.size()) mPartIndex = 0;
    mUseCount = buffer.ReadInt32();
    mUseLimit = buffer.ReadInt32();
    mReservedA = buffer.ReadInt32();
    mReservedB = buffer.ReadInt32();
    for (TSubTool& sub : mSubTools) sub.mUsed = buffer.ReadByte() != 0;
}

void TTool::LoadResources()
{
    if (mResourcesLoaded) return;
    for (auto& image : mFlyImages) LoadNamed(*image);
    for (auto& image : mInventoryImages) LoadNamed(*image);
    for (TToolPart& part : mParts) part.mImage.SetTexture(part.mImageName);
    for (TSubTool& sub : mSubTools) {
        LoadNamed(sub.mFirstImage);
        LoadNamed(sub.mSecondImage);
    }
    mResourcesLoaded = true;
}

void TTool::FreeResources()
{
    if (!mResourcesLoaded) return;
    for (auto& image : mFlyImages) image->FreeTexture();
    for (auto& image : mInventoryImages) image->FreeTexture();
    for (TToolPart& part : mParts) part.mImage.FreeTexture();
    for (TSubTool& sub : mSubTools) {
        sub.mFirstImage.FreeTexture();
        sub.mSecondImage.FreeTexture();
    }
    mResourcesLoaded = false;
}

void TTool::LoadHandImage()
{
    if (!mHandImageName.empty()) mHandImage.SetTexture(mHandImageName);
}

void TTool::FreeHandImage() { mHandImage.FreeTexture(); }

StaticImage* TTool::ImageForUseCount()
{
    if (mInventoryImages.empty()) return nullptr;
    if (mUseCount >= 1 && static_cast<size_t>(mUseCount) - 1 < mInventoryImages.size())
        return mInventoryImages[static_cast<size_t>(mUseCount) - 1].get();
    return mInventoryImages.front().get();
}

StaticImage* TTool::GetInventoryImage(const std::string& subToolName)
{
    auto named = std::find_if(mSubTools.begin(), mSubTools.end(),
                              [&](const TSubTool& sub) { return sub.mName == subToolName; });
    if ((subToolName.empty() && mSubTools.empty()) || named == mSubTools.end()) return ImageForUseCount();
    if (mSubPartsDraw != 0) {
        // The sub-tool of the last piece counted; before the first piece or past the
        // sub-tools, the picture for the use count.
        const int64_t index = static_cast<int64_t>(mUseCount) - 1;
        if (index < 0 || index >= static_cast<int64_t>(mSubTools.size())) return ImageForUseCount();
        return &mSubTools[static_cast<size_t>(index)].mSecondImage;
    }
    return &named->mSecondImage;
}

StaticImage* TTool::GetCursorImage()
{
    if (!mFlyImages.empty() && mFlyIndex >= 0 && static_cast<size_t>(mFlyIndex) < mFlyImages.size())
        return mFlyImages[static_cast<size_t>(mFlyIndex)].get();
    return GetInventoryImage(std::string());
}

TIntPoint TTool::GetHotSpot() const
{
    return PointForFlyIndex(mHotSpots, mFlyImageNames.size(), mWholeTool, mFlyIndex);
}

TIntPoint TTool::GetHandOffset() const
{
    return PointForFlyIndex(mHandOffsets, mFlyImageNames.size(), mWholeTool, mFlyIndex);
}

std::unique_ptr<TTool> CreateTool(const std::string& type)
{
    if (type == "ghostcatcher") return std::make_unique<TGhostCatcherTool>();
    return std::make_unique<TTool>();
}

void TToolsList::Load(TiXmlElement* element, bool owner, const std::string& ownerName)
{
    TiXmlElement* tools = element ? element->FirstChildElement("tools") : nullptr;
    if (!tools) return;
    ToolFactory* factory = GetAppState().mToolFactory;
    for (TiXmlElement* e = tools->FirstChildElement("tool"); e; e = e->NextSiblingElement("tool")) {
        const std::string type = GetAttrString(e, "type", "");
        std::unique_ptr<TTool> tool = factory ? factory->Create(type) : CreateTool(type);
        if (!tool) continue;  // a type the factory cannot build
        tool->LoadXml(e);
        if (owner) {
            tool->mOwned = true;
            tool->mOwnerName = ownerName;
        }
        if (FindTool(tool->mId)) {
            GetLogger()->LogDebug("Duplicated tool %s", tool->mId.c_str());
            continue;
        }
        mTools.push_back(std::move(tool));
    }
}

TTool* TToolsList::FindTool(const std::string& name) const
{
    for (const auto& tool : mTools) {
        if (tool->mId == name) return tool.get();
    }
    return nullptr;
}

void TToolsList::LoadResources(bool ownerOnly, const std::string& ownerName)
{
    if (ownerOnly && ownerName.empty()) return;
    for (const auto& tool : mTools) {
        if (!ownerOnly || (tool->mOwned && tool->mOwnerName == ownerName)) tool->LoadResources();
    }
}

void TToolsList::FreeResources(bool ownerOnly, const std::string& ownerName)
{
    for (const auto& tool : mTools) {
        if (!ownerOnly || (tool->mOwned && tool->mOwnerName == ownerName)) tool->FreeResources();
    }
}

TToolsList& GlobalToolsList()
{
    static TToolsList list;
    return list;
}
