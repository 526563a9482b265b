// Clock hands turned by the player, freely or within bounds.
#pragma once
#include <cstdint>
#include <string>

#include "objects/object.h"

// A hand picked up by one press, turned by the pointer about its position and put down by the
// next press; put down near its right angle, it snaps to it and counts as set.
class TClockArrowObject : public TObject {
public:
    ~TClockArrowObject() override;
    int GetTypeCode() const override { return 20; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    // While turning the hand takes every point.
    bool HitTest(int x, int y, bool respectLock) override;
    bool IsMovable() const override { return true; }

    void SnapToRightAngle();
    void StartTurn(int x, int y);
    virtual void TurnTo(int x, int y);
    // The turn that the pointer at (x, y) gives, in whole degrees from 0 to 360, as radians.
    float AngleFor(int x, int y) const;
    // Within 15 degrees of the right angle, either way round the circle.
    bool IsNearRightAngle() const;

    // A press has picked the hand up and the pointer turns it.
    bool IsTurning() const { return mTurning != 0; }
    void ClearTurning() { mTurning = 0; }

    float mRightAngle = 0.0f;  // radians
    uint8_t mTurning = 0;
    float mStartAngle = 0.0f;  // radians, when the turn began
    int32_t mPressX = 0;
    int32_t mPressY = 0;
    std::string mSlideSound;

protected:
    // The turn under way follows the pointer.
    bool TurnWithPointer(const TSceneMouseEvent& event, bool& hoverTaken);
};

// Only the step between the hand and the limited hand; never built on its own. It is turned
// by dragging with the button held; the release ends the turn.
class TDragClockArrowObject : public TClockArrowObject {
public:
    ~TDragClockArrowObject() override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;

protected:
    TDragClockArrowObject() = default;
};

// Answers its own code so that the clock does not count it among its hands. It keeps within
// "lbound".."ubound" degrees, a range that may cross 0.
class TLimitedArrowObject : public TDragClockArrowObject {
public:
    ~TLimitedArrowObject() override;
    int GetTypeCode() const override { return 29; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void TurnTo(int x, int y) override;

    int32_t mLowerBound = 0;    // degrees
    int32_t mUpperBound = 359;  // degrees
};
