// Weighing scales and linked weights: a beam whose two pans take weights dropped from the
// hand and tilt towards the heavier side, and weights that step along their positions and
// push the weights linked to them.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "objects/container_objects.h"

class TWeightPartObject;

// The beam is the object's own picture; "left" and "right" pans hang from its ends. A weight
// dropped on a pan asks every pair of scales to rebalance at the dispatcher's next update.
class TWeightSystemObject : public TObject, public TMyMessageListener {
public:
    TWeightSystemObject();
    ~TWeightSystemObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 83; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool HasToolUse() const override;
    bool AcceptsTool(TTool* tool) override;
    void GetRect(float* x, float* y, float* w, float* h) const override;
    void OnMessage(SharedPtr<TMyMessage> message) override;

    void Rebalance();
    float GetTotalWeight();
    TObject* FindPanForTool(int x, int y);

    IncValue mBeam;                            // radians; at rest until the first rebalance
    float mMaxAngle = 45.0f * 0.017453292f;    // radians, "maxangle"
    float mMaxWeightDif = 45.0f;               // "maxweightdif"
    float mArmLength = 45.0f;                  // "sholder"
    float mCompleteValue = 0.0f;               // "completevalue": 0 never solves
    bool mKeepOrder = false;
    bool mCheckCoords = true;
    bool mGroup = false;
    TObject* mArrow = nullptr;  // not owned
    TWeightPartObject* mLeft = nullptr;
    TWeightPartObject* mRight = nullptr;
    TObject* mCover = nullptr;

private:
    void FindPans();
    // Moves the weight the tool stands for onto the pan; false when the press must answer false.
    bool DropWeight(TTool* tool, TObject* pan);
};

// A pan: its children are the weights lying on it, side by side on its plate.
class TWeightPartObject : public TObject {
public:
    ~TWeightPartObject() override;
    void SetPosition(float x, float y, bool moveChildren) override;
    int GetTypeCode() const override { return 82; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnSpaceShown() override;
    bool HitTestSelf(int x, int y) override;
    bool HitTest(int x, int y, bool respectLock) override;
    bool AcceptsTool(TTool* tool) override;
    bool AddChild(TObject* object) override;
    void GetRect(float* x, float* y, float* w, float* h) const override;

    void UpdateTotal();
    void ArrangeItems();
    void PlaceItems();
    bool IsFull() const { return mMaxItems != 0 && static_cast<int64_t>(mChildren.size()) >= mMaxItems; }

    float mPlateX = 0.0f;
    float mPlateY = 0.0f;
    float mPlateWidth = 0.0f;
    float mTotal = 0.0f;
    int32_t mMaxItems = 2;      // "maxobj": 0 is no limit
    TObject* mCover = nullptr;  // kept aligned with the pan; not owned

private:
    bool InRect(int x, int y) const;
};

// Steps along its positions, forward to the last and back to the first, and pushes the
// weights named in "objs" one step in their own directions.
class TConjunctWeightObject : public TObject {
public:
    ~TConjunctWeightObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 79; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnSpaceShown() override;
    bool HitTestSelf(int x, int y) override;

    void Step();
    void StepLinked();
    bool IsMoving() const { return mMover && mMover->mActive; }

    bool mForward = true;
    float mMoveTime = 0.2f;
    std::unique_ptr<TLineMover> mMover = std::make_unique<TLineMover>();
    std::vector<std::string> mLinkedNames;
    std::vector<TConjunctWeightObject*> mLinked;  // not owned
    std::vector<TIntPoint> mPositions;
    int32_t mCurrent = 0;
};

// Reports and locks itself and its linked weights once they all stand at "cor_pos".
class TConjunctWeightParentObject : public TTransparentObject {
public:
    ~TConjunctWeightParentObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 80; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnLoaded() override;

    bool AllAtCorrectPosition() const;

    int32_t mCorrectPosition = 0;
    std::vector<TConjunctWeightObject*> mWeights;  // direct children, not owned
};
