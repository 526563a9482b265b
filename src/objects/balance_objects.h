// The balance, the gun ball and the ball shooter: three small physical games of rooms and
// pockets, each built from other scene objects that it finds by name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/messages.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "objects/container_objects.h"

class TSliderObject;
class TSpringedObject;
class TLimitedArrowObject;
class TUDFlexibleObject;

// Three sliders and a limited hand are the magnets, two more sliders its sides; it is level
// when the magnets' weights make half of the maximum.
class TBalanceObject : public TTransparentObject {
public:
    ~TBalanceObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 15; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceShown() override;
    void Activate(int count, int x, int y) override;
    void OnEffectorChannelFinished(int channel) override;

    void ComputeWeight(bool animate);
    void ShowWeight(int total, bool animate);

    TSliderObject* mMagnets[3] = {nullptr, nullptr, nullptr};  // not owned
    TLimitedArrowObject* mMagnet4 = nullptr;
    TSliderObject* mLeftSide = nullptr;
    TSliderObject* mRightSide = nullptr;
    TObject* mBall = nullptr;
    int32_t mBallPosition = 0;  // "ballpos": kept, without effect
    TLineMover mBallMotion;     // saved, never started
    std::vector<int32_t> mValues;
    IncValue mSideMotion;  // the right side's value while it slides
    bool mArmed = false;
    bool mLevelled = false;

private:
    int32_t ValueAt(size_t index) const { return index < mValues.size() ? mValues[index] : 0; }
    void ShowSides(float right);
};

// Shot to its end point when activated; it comes back from a barrier's underside, or lands on
// the barrier's top and rides it until the barrier reaches "offBoardX".
class TGunBallObject : public TObject {
public:
    enum { kReady, kFlyingOut, kPausing, kFlyingBack, kRiding, kDelivering, kDone };

    ~TGunBallObject() override;
    bool Update(float dt) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void Activate(int count, int x, int y) override;

    int32_t mStartX = 0, mStartY = 0;
    int32_t mEndX = 0, mEndY = 0;
    TObject* mBarrier = nullptr;  // not owned
    int32_t mOffBoardX = 0;
    int32_t mDeliveredX = 0, mDeliveredY = 0;
    TLineMover mFlight;
    TTimer mPause;
    int32_t mRideX = 0, mRideY = 0;
    int32_t mState = kReady;

private:
    void FlyTo(float x, float y, float seconds);
    void FollowFlight(float dt);
    bool TouchesBarrier() const;
};

// A plunger: the handle squeezes the spring, and its release shoots the bar up to bounce off
// the ball or land on it and ride it to its delivery.
class TBallShooterObject : public TTransparentObject {
public:
    enum { kWaiting, kReady, kFlying, kRiding, kDelivering };

    ~TBallShooterObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 16; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceShown() override;
    void OnEffectorChannelFinished(int channel) override;

    bool HasParts() const { return mBall && mBar && mSpring && mHandle; }

    TObject* mBall = nullptr;  // not owned
    TObject* mBar = nullptr;
    TUDFlexibleObject* mSpring = nullptr;
    TSpringedObject* mHandle = nullptr;
    std::string mBallName, mBarName, mHandleName, mSpringName;
    int32_t mState = kWaiting;
    TLineMover mDelivery;
    float mPower = 0.0f;  // pixels per update, upwards
    float mGravity = 0.0f;
    int32_t mRideX = 0, mRideY = 0;
    int32_t mDeliveryX = 0, mDeliveryY = 0;  // "ach_px", "ach_py"
    int32_t mDeliverBelowX = 0;              // "del_pos"
    std::string mShotSound, mKickSound;

private:
    void Fly();
};
