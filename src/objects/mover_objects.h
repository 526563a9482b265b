// Objects that move on their own: along a list of points (the mover, with its wobbling target
// and its found-so-far counter), round an ellipse, and the clock hand that ticks a division
// at a time.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/xml_attributes.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "objects/object.h"

class TTextObject;

class TMoverObject : public TObject {
public:
    ~TMoverObject() override;
    bool Update(float dt) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void Activate(int count, int x, int y) override;
    void OnClickAction(int count, int x, int y) override;
    void MoveBy(int dx, int dy) override;
    bool IsMovable() const override { return true; }

    // Walks to the next target, or jumps there when the current point's time is 0.
    void StartStep();
    void NextTarget();

    int32_t mLooped = 1;
    std::vector<TIntPoint> mPoints;
    TLineMover mLineMover;
    int32_t mMoving = 0;
    int32_t mCurrent = 0;
    int32_t mTarget = 0;
    int32_t mPointCount = 0;
    bool mClickStep = true;
    bool mContinueSteps = false;
    std::vector<float> mStepTimes;

protected:
    // One time per point; a missing or zero entry after the first takes the first's value.
    void FitStepTimes();
    void PlaceAt(const TIntPoint& point);
};

// Wobbles in a cross round its home point; a clock asks it whether it is home.
class TTargetObject : public TMoverObject {
public:
    ~TTargetObject() override;
    int GetTypeCode() const override { return 85; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool IsGoalReached() const override;

    int32_t mTargetRadius = 25;
    int32_t mMaxRadius = 45;
};

// Keeps the mover's code 0: only its counter child tells it apart.
class TFinderMoverObject : public TMoverObject {
public:
    ~TFinderMoverObject() override;
    bool Update(float dt) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceFirstShown() override;

    TTextObject* mLabel = nullptr;  // a child; not owned
    int32_t mTextX = 0;
    int32_t mTextY = 0;
    int32_t mTotal = 0;
    int32_t mFound = 0;
    bool mMoveWhenComplete = true;
    IncValue mAwayTimer;
    float mAwayTime = 1.0f;

private:
    void RefreshLabel();
    void PlaceLabel();
};

class TArcMoverObject : public TObject {
public:
    ~TArcMoverObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 13; }
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void Activate(int count, int x, int y) override;
    void Deactivate(int count, int x, int y) override;
    bool IsMovable() const override { return true; }

    TArcMover mArc;
    std::string mPlaySound;
};

// Turns its image, not the object: a tick turns one division, a pause follows.
class TMovingClockArrowObject : public TObject {
public:
    TMovingClockArrowObject();
    ~TMovingClockArrowObject() override;
    bool Update(float dt) override;
    void Reset() override;
    void Restart() override { StartTick(); }
    int GetTypeCode() const override { return 30; }
    void LoadResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    bool IsMovable() const override { return true; }

    void StartTick();
    void StartTack();

    int32_t mCount = 0;
    int32_t mStartCount = 0;
    int32_t mDivisions = 60;
    float mStepAngle = 0.0f;
    float mPause = 0.0f;
    float mTick = 0.0f;
    float mPerDivision = 1.0f;
    TTimer mPauseTimer;
    IncValue mHandAngle;
    int32_t mPhase = 0;  // 0 idle, 1 tick, 2 pause
    std::string mTickSound;

private:
    void SetImageAngle(float radians);
};
