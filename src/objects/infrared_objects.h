// Objects found with tools rather than a plain click: the infrared object, seen only through
// the infrared lens and fleeing from it, and the multi-tool object whose parts each need
// their own tool.
#pragma once
#include <cstdint>

#include "core/xml_attributes.h"
#include "graphics/texture.h"
#include "graphics/trajectories.h"
#include "objects/lens_target.h"
#include "objects/object.h"

// Seen only where the lens lies over it: each frame under the lens the room stores the part
// of the object's rectangle it covers (the lens window), sets the lens and updates the object.
// The lens over byte is TLensTarget's mLensActive.
class TInfraredObject : public TObject, public TLensTarget {
public:
    TInfraredObject();
    ~TInfraredObject() override;

    bool Update(float dt) override;
    int GetTypeCode() const override { return 23; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void ChildrenHookD(int value) override;
    void Draw(float alphaFactor) override;

    void SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens) override;
    void ClearLens() override;

    // Writes the part of the own image under the lens into the picture, its alpha weighed by
    // the lens image's alpha; everything else transparent.
    void RebuildImage(const TexturePtr& picture);
    void ClearImage(const TexturePtr& picture);
    // A random point near home to flee to.
    TIntPoint PickFleePoint() const;
    // The rule itself, for every kind that flees from a lens: within 200 px of home, inside the
    // layout (less the width at the right, twice the height at the bottom). Draws two random
    // values, y first; an axis with no room left stays at home.
    static TIntPoint PickFleePoint(int homeX, int homeY, int width, int height);

    bool mCaught = false;
    bool mCanBeCaught = true;
    float mSpeed = 0.0f;
    // The lens window: the part of the object's rectangle under the lens, in scene coordinates.
    float mRevealedX = 0.0f, mRevealedY = 0.0f, mRevealedW = 0.0f, mRevealedH = 0.0f;
    bool mAnythingRevealed = false;
    TLineMover mFlight;
    int32_t mHomeX = 0;
    int32_t mHomeY = 0;
    TexturePtr mRevealed;  // the revealed picture, while resources are loaded

private:
    bool HoldsOwnTool(const TSceneMouseEvent& event) const;
};

// Parts (the children) that each take their own tool, optionally in order; when every part
// has had its tool the object itself counts as used with a tool.
class TMultyToolObject : public TObject {
public:
    ~TMultyToolObject() override;

    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void ResetBehaviour() override;
    bool HasToolUse() const override;
    bool AcceptsTool(TTool* tool) override;
    void GetRect(float* x, float* y, float* w, float* h) const override;
    bool IsGoalReached() const override;

    TObject* FindChildForTool(const std::string& toolName, int x, int y);

    bool mAllPartsDone = false;  // the goal, as stored at the last accepted tool
    bool mKeepOrder = false;
    bool mCheckCoords = false;
    bool mGroup = false;

private:
    void PressWithTool(const TSceneMouseEvent& event);
    void PressWithoutTool(const TSceneMouseEvent& event);
};
