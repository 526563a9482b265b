#include "objects/clock_arrow_objects.h"

#include <cmath>
#include <cstdlib>
#include <tinyxml.h>

#include "core/buffer.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "rooms/executer.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "sound/sound_manager.h"

namespace {
const float kToRadians = 0.017453292f;
const float kToDegrees = 57.295776f;

// Degrees apart around the circle, 0..180; in 64 bits for bounds of any size.
long long CircleDistance(long long a, long long b)
{
    const long long d = std::llabs(a - b) % 360;
    return d < 360 - d ? d : 360 - d;
}
}  // namespace

TClockArrowObject::~TClockArrowObject() = default;

bool TClockArrowObject::OnMouseDown(const TSceneMouseEvent& event)
{
    mWrongToolPressed = false;
    TTool* tool = event.mTool;
    if (mTurning) {
        // The press that puts the hand down.
        if (tool) {
            if (!HasToolUse() || !AcceptsTool(tool)) return true;
            mTurning = 0;
            if (IsNearRightAngle()) {
                SnapToRightAngle();
                OnToolAccepted(event);
            }
            return true;
        }
        mTurning = 0;
        if (IsNearRightAngle()) {
            SnapToRightAngle();
            OnClickAccepted(event);
        }
        return HitTest(event.mX, event.mY, true);
    }

    bool hit = tool && mGoalReached ? true : HitTest(event.mX, event.mY, true);
    if (mClickExecuter) {
        if (!hit || !mClickExecuter->Hook2(this, event)) return false;
        hit = true;
    } else if (!hit) {
        return false;
    }
    if (mClickDelayCountdown > 0.0f) return false;
    // A pick-up counts a use but runs no reactions.
    if (tool) {
        if (HasToolUse() && AcceptsTool(tool)) {
            if (!mPocketTools.empty()) {
                if (mListener) mListener->OnObjectActivated(this);
                return true;
            }
            if (IncUseCounter(mToolCounter, mMaxToolUses) && !mGoalReached) {
                mTurning = 1;
                StartTurn(event.mX, event.mY);
            }
        } else {
            mWrongToolPressed = true;
        }
        return hit;
    }
    if (IncUseCounter(mClickCounter, mMaxClicks) && !mGoalReached) {
        mTurning = 1;
        StartTurn(event.mX, event.mY);
    }
    return hit;
}

bool TClockArrowObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    if (!mTurning) return TObject::OnMouseMove(event, hoverTaken);
    return TurnWithPointer(event, hoverTaken);
}

bool TClockArrowObject::TurnWithPointer(const TSceneMouseEvent& event, bool& hoverTaken)
{
    PlayNamedSoundOnce(mSlideSound);
    TurnTo(event.mX, event.mY);
    hoverTaken = true;
    return true;
}

bool TClockArrowObject::OnMouseUp(const TSceneMouseEvent& /*event*/) { return false; }

bool TClockArrowObject::HitTest(int x, int y, bool respectLock)
{
    if (mTurning) return true;
    return TObject::HitTest(x, y, respectLock);
}

void TClockArrowObject::SnapToRightAngle()
{
    mAngle = mRightAngle;
    mGoalReached = true;
    RunEventReactions(0);
}

void TClockArrowObject::StartTurn(int x, int y)
{
    mStartAngle = mAngle;
    mPressX = x;
    mPressY = y;
}

void TClockArrowObject::TurnTo(int x, int y) { mAngle = AngleFor(x, y); }

float TClockArrowObject::AngleFor(int x, int y) const
{
    const int gx = GetXInt();
    const int gy = GetYInt();
    const float a0 = std::atan2(static_cast<float>(static_cast<long long>(mPressY) - gy),
                                static_cast<float>(static_cast<long long>(mPressX) - gx));
    const float a1 = std::atan2(static_cast<float>(static_cast<long long>(y) - gy),
                                static_cast<float>(static_cast<long long>(x) - gx));
    const float d = (mStartAngle - (a0 - a1)) * kToDegrees;
    if (d < 0.0f) return static_cast<float>(360 - TruncToInt(std::fabs(d)) % 360) * kToRadians;
    return static_cast<float>(TruncToInt(d) % 360) * kToRadians;
}

// Turned angles lie in 0..360 degrees and a right angle from "rx", "ry" in -180..180: the
// difference is taken the short way round, with room for the float rounding of a whole
// degree turned into radians and back.
bool TClockArrowObject::IsNearRightAngle() const
{
    double d = std::fmod(static_cast<double>((mAngle - mRightAngle) * kToDegrees), 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return std::fabs(d) <= 15.0001;
}

void TClockArrowObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    if (e && e->Attribute("rightangle")) {
        mRightAngle = GetAttrFloat(e, "rightangle", 0.0f) * kToRadians;
    } else {
        // The pivot here adds the texture centre once more than the turn's.
        const float cx = static_cast<float>(static_cast<long long>(GetXInt()) + mTcx);
        const float cy = static_cast<float>(static_cast<long long>(GetYInt()) + mTcy);
        mRightAngle = std::atan2(GetAttrFloat(e, "ry", 0.0f) - cy, GetAttrFloat(e, "rx", 0.0f) - cx);
    }
    mSlideSound = GetAttrString(e, "slide_sound", "");
    mTurning = 0;
}

void TClockArrowObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteMilli(mAngle);
    buffer.WriteMilli(mRightAngle);
}

void TClockArrowObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const float angle = buffer.ReadMilli();
    const float rightAngle = buffer.ReadMilli();
    if (StateRefused()) return;
    mAngle = angle;
    mRightAngle = rightAngle;
}

TDragClockArrowObject::~TDragClockArrowObject() = default;

bool TDragClockArrowObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    return TObject::OnMouseMove(event, hoverTaken);
}

bool TDragClockArrowObject::OnMouseDrag(const TSceneMouseEvent& event)
{
    bool hoverTaken = false;
    return TClockArrowObject::OnMouseMove(event, hoverTaken);
}

bool TDragClockArrowObject::OnMouseUp(const TSceneMouseEvent& /*event*/)
{
    mTurning = 0;
    return false;
}

TLimitedArrowObject::~TLimitedArrowObject() = default;

void TLimitedArrowObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TDragClockArrowObject::LoadXml(e, dataFolder);
    mLowerBound = GetAttrInt(e, "lbound", 0);
    mUpperBound = GetAttrInt(e, "ubound", 359);
}

void TLimitedArrowObject::TurnTo(int x, int y)
{
    const long long deg = TruncToInt(AngleFor(x, y) * kToDegrees);
    const long long low = mLowerBound;
    const long long high = mUpperBound;
    bool inside = false;
    if (low < high)
        inside = low <= deg && deg <= high;
    else if (low > high)
        inside = (low <= deg && deg < 360) || (0 <= deg && deg <= high);
    long long result = deg;
    if (!inside) {
        const long long cur = TruncToInt(mAngle * kToDegrees);
        if (low > high)
            // Across 0 the nearer bound is the one round the circle; the upper on a tie.
            result = CircleDistance(cur, low) < CircleDistance(cur, high) ? low : high;
        else
            result = cur - low < high - cur ? low : high;
    }
    mAngle = static_cast<float>(result) * kToRadians;
}
