#include "objects/balance_objects.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

#include "core/buffer.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "objects/clock_arrow_objects.h"
#include "objects/decor_objects.h"
#include "objects/slider_objects.h"
#include "rooms/game_space.h"
#include "sound/sound_manager.h"

namespace {
constexpr float kRadToDeg = 57.295776f;

// Truncated parts of a scene position, as the contact tests read them.
int Ix(const TObject& object) { return TruncToInt(object.mX); }
int Iy(const TObject& object) { return TruncToInt(object.mY); }
int Iw(const TObject& object) { return TruncToInt(object.mWidth); }
int Ih(const TObject& object) { return TruncToInt(object.mHeight); }

void PlaceAt(TObject& object, long long x, long long y)
{
    object.SetPosition(static_cast<float>(ClampToInt(x)), static_cast<float>(ClampToInt(y)), true);
}

// The first child (in child order, skipping some) that takes the event.
template <class Offer>
bool OfferInChildOrder(std::vector<std::unique_ptr<TObject>>& children, Offer offer)
{
    for (size_t i = 0; i < children.size(); ++i)
        if (offer(*children[i])) return true;
    return false;
}
}  // namespace

// ---- The balance ----

TBalanceObject::~TBalanceObject() = default;

void TBalanceObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TTransparentObject::LoadXml(e, dataFolder);
    std::vector<int> values;
    GetAttrIntList(e, "values", values);
    mValues.assign(values.begin(), values.end());
    mBallPosition = GetAttrInt(e, "ballpos", mBallPosition);
}

void TBalanceObject::OnSpaceShown()
{
    auto find = [this](const std::string& name) -> TObject* {
        for (auto& child : mChildren)
            if (child->GetName() == name) return child.get();
        return nullptr;
    };
    for (int i = 0; i < 3; ++i)
        mMagnets[i] = dynamic_cast<TSliderObject*>(find("magnet" + std::to_string(i + 1)));
    mMagnet4 = dynamic_cast<TLimitedArrowObject*>(find("magnet4"));
    mLeftSide = dynamic_cast<TSliderObject*>(find("balance_left"));
    mRightSide = dynamic_cast<TSliderObject*>(find("balance_right"));
    mBall = find("ball");
    ComputeWeight(false);
}

void TBalanceObject::ComputeWeight(bool animate)
{
    long long total = 0;
    if (mMagnet4) {
        const float range = static_cast<float>(static_cast<long long>(mMagnet4->mUpperBound) - mMagnet4->mLowerBound);
        // Equal bounds leave the hand no range to weigh by.
        if (range != 0.0f) {
            const float a4 = mMagnet4->mAngle * kRadToDeg;
            total += TruncToInt((1.0f - a4 / range) * static_cast<float>(ValueAt(3)));
        }
    }
    for (size_t i = 0; i < 3; ++i)
        if (mMagnets[i]) total += TruncToInt(static_cast<float>(ValueAt(i)) * mMagnets[i]->mValue);
    ShowWeight(ClampToInt(total), animate);
}

void TBalanceObject::ShowWeight(int total, bool animate)
{
    const int32_t maximum = ValueAt(4);
    if (total == maximum / 2 && !mLevelled) {
        RunEventReactions(0);
        mLevelled = true;
    }
    // Without a maximum there is no share to show: the sides stay where they are.
    if (maximum == 0) return;
    const float share = static_cast<float>(total) / static_cast<float>(maximum);
    if (animate) {
        if (mRightSide) mSideMotion.Set(mRightSide->mValue, share, 0.5f, true);
    } else {
        ShowSides(share);
    }
}

void TBalanceObject::ShowSides(float right)
{
    if (mRightSide) mRightSide->SetValue(right);
    if (mLeftSide) mLeftSide->SetValue(1.0f - right);
}

bool TBalanceObject::OnMouseDown(const TSceneMouseEvent& event)
{
    ComputeWeight(true);
    const bool taken = OfferInChildOrder(mChildren, [&](TObject& child) {
        if (&child == mLeftSide || &child == mRightSide) return false;
        return child.OnMouseDown(event);
    });
    return taken || TObject::OnMouseDown(event);
}

bool TBalanceObject::OnMouseUp(const TSceneMouseEvent& event)
{
    ComputeWeight(true);
    if (OfferInChildOrder(mChildren, [&](TObject& child) { return child.OnMouseUp(event); })) return true;
    return TObject::OnMouseUp(event);
}

bool TBalanceObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    if (OfferInChildOrder(mChildren, [&](TObject& child) { return child.OnMouseMove(event, hoverTaken); }))
        return true;
    return TObject::OnMouseMove(event, hoverTaken);
}

bool TBalanceObject::Update(float dt)
{
    const bool result = TTransparentObject::Update(dt);
    if (!mSideMotion.mFinished) {
        mSideMotion.Update(dt);
        ShowSides(mSideMotion.mCurrent);
    }
    if (mArmed && mMagnet4 && !mMagnet4->IsTurning() &&
        std::fabs(mMagnet4->mAngle * kRadToDeg - mMagnet4->mRightAngle * kRadToDeg) < 15.0f) {
        mArmed = false;
        RunEventReactions(2);
    }
    return result;
}

void TBalanceObject::Activate(int /*count*/, int /*x*/, int /*y*/)
{
    mArmed = true;
    if (mMagnet4) mMagnet4->mRightAngle = static_cast<float>(mMagnet4->mUpperBound) * kDegToRad;
}

void TBalanceObject::OnEffectorChannelFinished(int /*channel*/) { RunEventReactions(1); }

void TBalanceObject::SaveState(TBaseBuffer& buffer)
{
    TTransparentObject::SaveState(buffer);
    buffer.WriteByte(mArmed ? 1 : 0);
    buffer.WriteByte(mLevelled ? 1 : 0);
    mSideMotion.SaveState(&buffer);
    mBallMotion.SaveState(&buffer);
}

void TBalanceObject::LoadState(TBaseBuffer& buffer)
{
    TTransparentObject::LoadState(buffer);
    const bool armed = buffer.ReadByte() != 0;
    const bool levelled = buffer.ReadByte() != 0;
    IncValue sideMotion = mSideMotion;
    sideMotion.LoadState(&buffer);
    TLineMover ballMotion = mBallMotion;
    ballMotion.LoadState(&buffer);
    if (StateRefused()) return;
    mArmed = armed;
    mLevelled = levelled;
    mSideMotion = sideMotion;
    mBallMotion = ballMotion;
}

// ---- The gun ball ----

TGunBallObject::~TGunBallObject() = default;

void TGunBallObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mStartX = Ix(*this);
    mStartY = Iy(*this);
    mEndX = GetAttrInt(e, "endX", mEndX);
    mEndY = GetAttrInt(e, "endY", mEndY);
    mDeliveredX = GetAttrInt(e, "deliveredX", mDeliveredX);
    mDeliveredY = GetAttrInt(e, "deliveredY", mDeliveredY);
    mOffBoardX = GetAttrInt(e, "offBoardX", mOffBoardX);
    // Looked up now: the barrier must come earlier in the space's file.
    const std::string barrier = GetAttrString(e, "barrier", "");
    TGameSpace* root = GetRootSpace();
    mBarrier = !barrier.empty() && root ? root->FindObject(barrier) : nullptr;
    mState = kReady;
}

void TGunBallObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    if (mState != kReady) return;
    mState = kFlyingOut;
    mFlight.StartSegment(static_cast<float>(mStartX), static_cast<float>(mStartY), static_cast<float>(mEndX),
                         static_cast<float>(mEndY), 1.2f, 0.0f, 0, false);
}

void TGunBallObject::FlyTo(float x, float y, float seconds)
{
    mFlight.StartSegment(static_cast<float>(Ix(*this)), static_cast<float>(Iy(*this)), x, y, seconds, 0.0f, 0, false);
}

void TGunBallObject::FollowFlight(float dt)
{
    mFlight.Update(dt);
    PlaceAt(*this, TruncToInt(mFlight.mX), TruncToInt(mFlight.mY));
}

// Strict overlap of the two rectangles.
bool TGunBallObject::TouchesBarrier() const
{
    if (!mBarrier) return false;
    const TObject& b = *mBarrier;
    return mX < b.mX + b.mWidth && mX + mWidth > b.mX && mY < b.mY + b.mHeight && mY + mHeight > b.mY;
}

bool TGunBallObject::Update(float dt)
{
    const bool result = TObject::Update(dt);
    switch (mState) {
    case kFlyingOut:
        FollowFlight(dt);
        if (mFlight.mFinished) {
            mState = kPausing;
            mPause.Start(0.07f);
        }
        // Under the barrier: back from here.
        if (TouchesBarrier() && std::llabs(static_cast<long long>(Iy(*this)) - Iy(*mBarrier) - Ih(*mBarrier)) <= 7) {
            mState = kFlyingBack;
            FlyTo(static_cast<float>(mStartX), static_cast<float>(mStartY), 1.2f);
        }
        break;
    case kFlyingBack:
        FollowFlight(dt);
        // On the barrier's top: it rides from here.
        if (TouchesBarrier() && std::llabs(static_cast<long long>(Iy(*this)) + Ih(*this) - Iy(*mBarrier)) <= 7) {
            mState = kRiding;
            PlaceAt(*this, Ix(*this), static_cast<long long>(Iy(*mBarrier)) - Ih(*this));
            mRideX = ClampToInt(static_cast<long long>(Ix(*this)) - Ix(*mBarrier));
            mRideY = ClampToInt(static_cast<long long>(Iy(*this)) - Iy(*mBarrier));
        }
        if (mFlight.mFinished) mState = kReady;
        break;
    case kPausing:
        if (mPause.Update(dt)) {
            mState = kFlyingBack;
            FlyTo(static_cast<float>(mStartX), static_cast<float>(mStartY), 1.2f);
        }
        break;
    case kRiding:
        if (!mBarrier) break;
        if (Ix(*mBarrier) == mOffBoardX) {
            mState = kDelivering;
            FlyTo(static_cast<float>(mDeliveredX), static_cast<float>(mDeliveredY), 0.5f);
            mBarrier->Lock();
        } else {
            PlaceAt(*this, static_cast<long long>(Ix(*mBarrier)) + mRideX, static_cast<long long>(Iy(*mBarrier)) + mRideY);
        }
        break;
    case kDelivering:
        FollowFlight(dt);
        if (mFlight.mFinished) {
            mState = kDone;
            if (mBarrier) mBarrier->Unlock();
            SetVisible(false);
            RunEventReactions(0);
        }
        break;
    default:
        break;
    }
    return result;
}

// ---- The ball shooter ----

TBallShooterObject::~TBallShooterObject() = default;

void TBallShooterObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TTransparentObject::LoadXml(e, dataFolder);
    mBallName = GetAttrString(e, "ball", "");
    mBarName = GetAttrString(e, "bar", "");
    mHandleName = GetAttrString(e, "handle", "");
    mSpringName = GetAttrString(e, "spring", "");
    mDeliverBelowX = GetAttrInt(e, "del_pos", mDeliverBelowX);
    mDeliveryX = GetAttrInt(e, "ach_px", mDeliveryX);
    mDeliveryY = GetAttrInt(e, "ach_py", mDeliveryY);
    mShotSound = GetAttrString(e, "shot_sound", "");
    mKickSound = GetAttrString(e, "kick_sound", "");
}

void TBallShooterObject::OnSpaceShown()
{
    TTransparentObject::OnSpaceShown();
    // An empty name finds nothing: every part needs its key.
    auto find = [this](const std::string& name) { return name.empty() ? nullptr : FindChild(name); };
    mBall = find(mBallName);
    mBar = find(mBarName);
    mSpring = dynamic_cast<TUDFlexibleObject*>(find(mSpringName));
    mHandle = dynamic_cast<TSpringedObject*>(find(mHandleName));
}

bool TBallShooterObject::OnMouseDown(const TSceneMouseEvent& event)
{
    TObject::OnMouseDown(event);
    if (HasParts() && !IsLocked()) mHandle->OnMouseDown(event);
    return false;
}

bool TBallShooterObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    TObject::OnMouseMove(event, hoverTaken);
    if (HasParts() && !IsLocked()) mHandle->OnMouseDrag(event);
    return false;
}

bool TBallShooterObject::OnMouseDrag(const TSceneMouseEvent& event)
{
    if (!HasParts() || IsLocked()) return false;
    return mHandle->OnMouseDrag(event);
}

bool TBallShooterObject::OnMouseUp(const TSceneMouseEvent& event)
{
    const bool answer = TObject::OnMouseUp(event);
    // A shooter missing a part is only a picture.
    if (!HasParts()) return answer;
    // The handle springs back even on a locked shooter.
    mHandle->OnMouseUp(event);
    if (mState == kReady) {
        mPower = mHandle->mValue * 33.0f;
        mGravity = 1.06f;
        mBar->ActivateSimple();
        mState = kFlying;
        PlayNamedSound(mShotSound);
    }
    return answer;
}

void TBallShooterObject::OnEffectorChannelFinished(int /*channel*/)
{
    if (!HasParts()) return;
    mBar->DeactivateSimple();
    mBar->mEffector = nullptr;
    mState = kReady;
}

void TBallShooterObject::Fly()
{
    TObject& bar = *mBar;
    TObject& ball = *mBall;
    const float springTop = static_cast<float>(mSpring->mCurY);
    PlaceAt(bar, Ix(bar), static_cast<long long>(Iy(bar)) - TruncToInt(mPower));
    mPower -= mGravity;
    const long long barX = Ix(bar), barY = Iy(bar), ballX = Ix(ball), ballY = Iy(ball);
    const long long gapRight = std::llabs(barX - ballX + Iw(bar));
    const long long gapLeft = std::llabs(barX - ballX - Iw(ball));
    const long long gapTop = std::llabs(barY - ballY - Ih(ball));
    const long long gapBottom = std::llabs(barY - ballY + Ih(bar));
    const bool across = gapRight >= 15 && gapLeft >= 15;
    if (gapTop <= 10 && across && mPower > 0.0f) {
        // Against the ball's underside: back down.
        PlayNamedSound(mKickSound);
        mPower = -std::fabs(mPower);
        PlaceAt(bar, barX, TruncToInt(static_cast<float>(ballY) + ball.mHeight * 0.5f));
    } else if (gapBottom <= 10 && across && mPower < 0.0f) {
        // Landed on the ball: it rides along.
        mState = kRiding;
        PlaceAt(bar, barX, TruncToInt(static_cast<float>(ballY) - bar.mHeight * 0.9f));
        bar.DeactivateSimple();
        mRideX = ClampToInt(static_cast<long long>(Ix(bar)) - ballX);
        mRideY = ClampToInt(static_cast<long long>(Iy(bar)) - ballY);
    } else {
        const int springLine = TruncToInt(springTop - bar.mHeight * 0.8f);
        if (Iy(bar) > springLine && mPower < 0.0f) {
            PlaceAt(bar, Ix(bar), springLine);
            bar.DeactivateSimple();
            mState = kReady;
        }
    }
}

bool TBallShooterObject::Update(float dt)
{
    const bool result = TTransparentObject::Update(dt);
    if (IsLocked() || !HasParts()) return result;
    mSpring->ApplyScale(std::max(1.0f - mHandle->mValue, 0.2f));
    const float springTop = static_cast<float>(mSpring->mCurY);
    switch (mState) {
    case kReady:
        PlaceAt(*mBar, Ix(*mBar), TruncToInt(springTop - mBar->mHeight * 0.8f));
        break;
    case kFlying:
        Fly();
        break;
    case kRiding:
        PlaceAt(*mBar, static_cast<long long>(Ix(*mBall)) + mRideX, static_cast<long long>(Iy(*mBall)) + mRideY);
        if (Ix(*mBall) < mDeliverBelowX) {
            mState = kDelivering;
            mDelivery.StartSegment(static_cast<float>(Ix(*mBar)), static_cast<float>(Iy(*mBar)),
                                   static_cast<float>(mDeliveryX), static_cast<float>(mDeliveryY), 0.3f, 0.0f, 0,
                                   false);
        }
        break;
    case kDelivering:
        mDelivery.Update(dt);
        mBar->SetPosition(mDelivery.mX, mDelivery.mY, true);
        if (mDelivery.mFinished) {
            RunEventReactions(0);
            Lock();
        }
        break;
    default:
        break;
    }
    return result;
}

void TBallShooterObject::SaveState(TBaseBuffer& buffer)
{
    TTransparentObject::SaveState(buffer);
    buffer.WriteInt16(mState);
    buffer.WriteMilli(mPower);
    buffer.WriteMilli(mGravity);
    mDelivery.SaveState(&buffer);
}

void TBallShooterObject::LoadState(TBaseBuffer& buffer)
{
    TTransparentObject::LoadState(buffer);
    const int state = buffer.ReadInt16();
    const float power = buffer.ReadMilli();
    const float gravity = buffer.ReadMilli();
    TLineMover delivery = mDelivery;
    delivery.LoadState(&buffer);
    if (StateRefused()) return;
    // A state this kind does not have waits as a fresh shooter does.
    mState = state >= kWaiting && state <= kDelivering ? state : kWaiting;
    mPower = power;
    mGravity = gravity;
    mDelivery = delivery;
}
