// Tools: inventory items the player takes into the hand and applies to scene objects. A
// tool answers its own id or the id of its current part, may be assembled from counted
// pieces or named sub-tools, carries its inventory, cursor and hand pictures, its take and
// apply sounds, a power that runs down after a use and two named effects. Tool lists own
// their tools; the rooms put their own tools into the application-wide list.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/draw_object.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"

class TiXmlElement;
class TBaseBuffer;
class TObject;

// An effect a tool shows while it is taken or when it is applied. The named registry keeps
// one of each name; every tool that shows it gets a copy of its own.
class TToolEffect : public DrawObject {
public:
    virtual std::unique_ptr<TToolEffect> Clone() const = 0;
    virtual void DrawPass(float /*x*/, float /*y*/, float /*a*/, float /*b*/) {}
    virtual void DrawPassTop(float /*x*/, float /*y*/, float /*a*/, float /*b*/) {}
};

// Effects by name, compared exactly. Nothing in the game fills it; the shutdown empties it
// while the renderer still lives.
std::map<std::string, std::unique_ptr<TToolEffect>>& NamedEffectsRegistry();
// A copy of the named effect, or none.
std::unique_ptr<TToolEffect> CloneNamedEffect(const std::string& name);

struct TToolPart {
    std::string mId;
    std::string mParam1, mParam2, mParam3;
    std::string mImageName;
    StaticImage mImage;
};

struct TSubTool {
    std::string mName;
    bool mUsed = false;
    StaticImage mFirstImage;
    StaticImage mSecondImage;
};

class TTool {
public:
    TTool();
    TTool(const TTool&) = delete;
    TTool& operator=(const TTool&) = delete;

    virtual int GetType() const { return 0; }
    virtual ~TTool();
    // Complete: a room's own tool always; else every piece counted or every sub-tool marked.
    virtual bool IsUsedUp() const;
    virtual void UseUp();
    virtual void Reset();
    virtual void Select(int a, int b);
    virtual void Apply(int x, int y, int useNumber);
    virtual void MarkSubToolUsed(const std::string& name);
    virtual void MarkSubToolUnused(const std::string& name);
    virtual void Update(float dt);
    virtual void StopEffects();
    virtual void DrawEffects(float x, float y, float a, float b);
    virtual void DrawEffectsTop(float x, float y, float a, float b);
    virtual void Hook13(int /*a*/, int /*b*/, int /*c*/, int /*d*/) {}
    virtual void LoadState(TBaseBuffer& buffer);
    virtual void LoadXml(TiXmlElement* element);
    virtual void SaveState(TBaseBuffer& buffer);
    virtual void Hook17(int /*a*/, int /*b*/) {}
    virtual void Hook18(int /*a*/, int /*b*/, int /*c*/) {}
    virtual void Hook19(int /*a*/, int /*b*/, int /*c*/) {}
    virtual void Hook20(int /*a*/, int /*b*/, int /*c*/) {}
    virtual int AdjustX(int x) { return x; }
    // Keeps a dragged tool at or below its lowest y.
    virtual int AdjustY(int y);
    virtual void LoadResources();
    virtual void FreeResources();
    virtual void LoadHandImage();
    virtual void FreeHandImage();
    virtual bool Hook27() { return true; }

    // The id of the current part, or the tool's own id when it has no parts or is whole.
    std::string GetCurrentName() const;
    // Starts the power run-down from the value; the current power.
    float SetPower(float value);
    bool CompletesWithNextPart() const;
    // May be null only for a tool that has no pictures at all.
    StaticImage* GetInventoryImage(const std::string& subToolName);
    StaticImage* GetCursorImage();
    TIntPoint GetHotSpot() const;
    TIntPoint GetHandOffset() const;

    const std::string& GetId() const { return mId; }
    TToolEffect* GetTakeEffect() const { return mTakeEffect.get(); }
    TToolEffect* GetApplyEffect() const { return mApplyEffect.get(); }
    float GetPower() const { return mPower.mCurrent; }

    TToolPart mOwnPart;
    bool mWholeTool = false;
    std::string mId;
    std::string mOwnerName;
    bool mOwned = false;
    int32_t mUseLimit = 1;
    float mReleaseTime = 0.0f;
    bool mHideConnected = true;
    bool mAlwaysVisibleConnected = false;
    bool mScaling = true;
    std::string mHandImageName;
    std::vector<std::string> mInventoryImageNames;
    std::vector<std::string> mFlyImageNames;
    std::vector<std::unique_ptr<StaticImage>> mFlyImages;
    std::vector<std::unique_ptr<StaticImage>> mInventoryImages;
    std::vector<TIntPoint> mHotSpots;
    std::vector<TIntPoint> mHandOffsets;
    StaticImage mHandImage;
    std::vector<std::string> mRtaa, mRtar, mRoaa, mRoar, mAoaa, mAoar;
    int32_t mFlyIndex = 0;
    int32_t mPartIndex = 0;
    std::vector<TToolPart> mParts;
    TObject* mSourceObject = nullptr;  // not owned
    int32_t mPressOffsetX = 0;
    int32_t mPressOffsetY = 0;
    int32_t mMinY = -10000;
    float mPowerTime = 0.0f;
    IncValue mPower;
    std::string mTakeEffectName;
    std::unique_ptr<TToolEffect> mTakeEffect;
    std::string mApplyEffectName;
    std::unique_ptr<TToolEffect> mApplyEffect;
    bool mSpecial = false;
    int32_t mPartCount = 1;
    int32_t mUseCount = 0;
    int32_t mWeight = 0;
    bool mResourcesLoaded = false;
    bool mLoadOnStart = false;
    std::string mApplySound;
    std::string mTakeSound;
    int32_t mMode = 0;  // 0 at rest and after a use, 2 while taken
    int32_t mPosX = 0;
    int32_t mPosY = 0;
    std::string mRoomName;
    std::vector<std::string> mToolNames;
    std::vector<TTool*> mToolRefs;  // one per name, never set
    int32_t mReservedA = 0;
    int32_t mReservedB = 0;
    std::vector<TSubTool> mSubTools;
    int32_t mSubPartsDraw = 0;

private:
    StaticImage* ImageForUseCount();
    void ShowEffect(std::unique_ptr<TToolEffect>& slot, const std::string& name);
};

// "ghostcatcher" builds the ghost catcher; any other name a plain tool.
std::unique_ptr<TTool> CreateTool(const std::string& type);

// Builds tools by type name in place of the plain builder. The game installs none.
class ToolFactory {
public:
    virtual ~ToolFactory() = default;
    // None for a type it cannot build.
    virtual std::unique_ptr<TTool> Create(const std::string& type) = 0;
};

class TToolsList {
public:
    // Reads the "tool" children of the element's first "tools" child; a tool whose id the
    // list already holds is dropped.
    void Load(TiXmlElement* element, bool owner, const std::string& ownerName);
    TTool* FindTool(const std::string& name) const;
    // With ownerOnly, only the tools owned under that exact name.
    void LoadResources(bool ownerOnly, const std::string& ownerName);
    void FreeResources(bool ownerOnly, const std::string& ownerName);
    void Clear() { mTools.clear(); }
    bool Empty() const { return mTools.empty(); }
    size_t Size() const { return mTools.size(); }

    std::vector<std::unique_ptr<TTool>> mTools;
};

// Every room's own tools. The shutdown empties it while the renderer still lives.
TToolsList& GlobalToolsList();
