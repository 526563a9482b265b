#include "objects/mover_objects.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "objects/shape_text_objects.h"
#include "sound/sound_manager.h"

namespace {
constexpr float kDegrees = 0.017453292f;

// Parts of the text between separators, empty ones included.
std::vector<std::string> SplitKeepingEmpty(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

// "x,y;x,y": a coordinate that is not there reads as 0; an empty group is no point.
std::vector<TIntPoint> ReadPointList(const std::string& text)
{
    std::vector<TIntPoint> points;
    if (text.empty()) return points;
    for (const std::string& group : SplitKeepingEmpty(text, ';')) {
        if (group.find_first_not_of(" \t") == std::string::npos) continue;
        TIntPoint point;
        const char* p = group.c_str();
        char* end = nullptr;
        const long long x = std::strtoll(p, &end, 10);
        if (end != p) {
            point.x = ClampToInt(x);
            p = end;
            if (*p == ',') {
                ++p;
                const long long y = std::strtoll(p, &end, 10);
                if (end != p) point.y = ClampToInt(y);
            }
        }
        points.push_back(point);
    }
    return points;
}

// A list of seconds; an entry that is no number reads as 0.
std::vector<float> ReadSecondsList(const std::string& text, char separator)
{
    std::vector<float> values;
    if (text.empty()) return values;
    for (const std::string& part : SplitKeepingEmpty(text, separator))
        values.push_back(ParseFloatClamped(part.c_str()));
    return values;
}

bool InList(int32_t index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }
}  // namespace

// ---------------------------------------------------------------- mover

TMoverObject::~TMoverObject() = default;

void TMoverObject::FitStepTimes()
{
    const float first = mStepTimes.empty() ? 0.0f : mStepTimes[0];
    mStepTimes.resize(mPoints.size(), 0.0f);
    for (size_t i = 1; i < mStepTimes.size(); ++i)
        if (mStepTimes[i] == 0.0f) mStepTimes[i] = first;
}

void TMoverObject::PlaceAt(const TIntPoint& point)
{
    SetPosition(static_cast<float>(point.x), static_cast<float>(point.y), true);
}

void TMoverObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    const std::string animType = GetAttrString(e, "animtype", "");
    mLooped = animType.empty() || animType == "looped" ? 1 : 0;
    mPoints = ReadPointList(GetAttrString(e, "poss", ""));
    mClickStep = GetAttrBool(e, "onclick", true);
    mContinueSteps = GetAttrBool(e, "continuesteps", false);
    mStepTimes = ReadSecondsList(GetAttrString(e, "time", ""), ';');
    FitStepTimes();
    if (!mPoints.empty()) {
        mX = static_cast<float>(mPoints[0].x);
        mY = static_cast<float>(mPoints[0].y);
        mRefX = mPoints[0].x;
        mRefY = mPoints[0].y;
    }
    mPointCount = static_cast<int32_t>(mPoints.size());
    if (mActive) Activate(0, 0, 0);
}

void TMoverObject::NextTarget()
{
    int64_t target = static_cast<int64_t>(mTarget) + 1;
    if (mLooped) {
        if (target >= mPointCount) target = 0;
    } else if (target > static_cast<int64_t>(mPointCount) - 1) {
        target = static_cast<int64_t>(mPointCount) - 1;
    }
    mTarget = static_cast<int32_t>(target);
}

void TMoverObject::StartStep()
{
    // Every step ends on a point of the list: without one there is nowhere to go.
    if (mPoints.empty()) return;
    const float time = InList(mCurrent, mStepTimes.size()) ? mStepTimes[static_cast<size_t>(mCurrent)] : 0.0f;
    if (time != 0.0f) {
        NextTarget();
        if (mTarget != mCurrent) {
            const TIntPoint& from = mPoints[static_cast<size_t>(mCurrent)];
            const TIntPoint& to = mPoints[static_cast<size_t>(mTarget)];
            mLineMover.StartSegment(static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(to.x),
                                    static_cast<float>(to.y), time, 0.0f, 0, false);
            mMoving = 1;
        }
    } else {
        mMoving = 0;
        NextTarget();
        mCurrent = mTarget;
        PlaceAt(mPoints[static_cast<size_t>(mCurrent)]);
    }
    mActive = mMoving != 0;
}

bool TMoverObject::Update(float dt)
{
    if (mMoving && !mPoints.empty()) {
        if (!mLineMover.Update(dt)) {
            SetPosition(mLineMover.mX, mLineMover.mY, true);
        } else {
            mCurrent = mTarget;
            mActive = false;
            mMoving = 0;
            PlaceAt(mPoints[static_cast<size_t>(mTarget)]);
            RunEventReactions(0);
            if (mCurrent == mPointCount - 1) RunEventReactions(1);
            if (mContinueSteps) StartStep();
        }
    }
    TObject::Update(dt);
    return false;
}

void TMoverObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    StartStep();
}

void TMoverObject::OnClickAction(int /*count*/, int /*x*/, int /*y*/)
{
    if (!mClickStep) return;
    StartStep();
    PlayThroughRootSpace(mSound);
}

void TMoverObject::MoveBy(int dx, int dy)
{
    TObject::MoveBy(dx, dy);
    for (TIntPoint& point : mPoints) {
        point.x = ClampToInt(static_cast<long long>(point.x) + dx);
        point.y = ClampToInt(static_cast<long long>(point.y) + dy);
    }
}

void TMoverObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteInt32(mCurrent);
    buffer.WriteInt32(mTarget);
    buffer.WriteInt32(mPointCount);
    buffer.WriteByte(mMoving ? 1 : 0);
    buffer.WriteInt32(static_cast<int32_t>(mPoints.size()));
    for (const TIntPoint& point : mPoints) {
        buffer.WriteInt32(point.x);
        buffer.WriteInt32(point.y);
    }
    mLineMover.SaveState(&buffer);
}

void TMoverObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int32_t current = buffer.ReadInt32();
    const int32_t target = buffer.ReadInt32();
    buffer.ReadInt32();  // the count follows the points actually held
    const int32_t moving = buffer.ReadByte() != 0 ? 1 : 0;
    const int32_t count = buffer.ReadInt32();
    // A damaged count cannot ask for more pairs than the record still holds.
    const bool countFits = count >= 0 && static_cast<uint64_t>(count) * 8u <= buffer.BytesLeft();
    std::vector<TIntPoint> points(countFits ? static_cast<size_t>(count) : 0u);
    for (TIntPoint& point : points) {
        point.x = buffer.ReadInt32();
        point.y = buffer.ReadInt32();
    }
    TLineMover lineMover = mLineMover;
    lineMover.LoadState(&buffer);
    if (StateRefused()) return;
    mCurrent = current;
    mTarget = target;
    mMoving = moving;
    if (countFits)
        mPoints = std::move(points);
    else
        GetLogger()->LogMessage("Mover %s: saved point count %d refused", GetName().c_str(), static_cast<int>(count));
    mLineMover = lineMover;
    FitStepTimes();
    mPointCount = static_cast<int32_t>(mPoints.size());
    if (!InList(mCurrent, mPoints.size())) mCurrent = 0;
    if (!InList(mTarget, mPoints.size())) mTarget = 0;
    if (mPoints.empty()) mMoving = 0;
    if (mActive) StartStep();
}

// ---------------------------------------------------------------- target

TTargetObject::~TTargetObject() = default;

void TTargetObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TMoverObject::LoadXml(e, dataFolder);
    mTargetRadius = GetAttrInt(e, "targetradius", 25);
    mMaxRadius = GetAttrInt(e, "maxradius", 45);
    const long long x = TruncToInt(mX);
    const long long y = TruncToInt(mY);
    const long long r = mMaxRadius;
    const int cx = static_cast<int>(x);
    const int cy = static_cast<int>(y);
    mPoints = {{cx, cy}, {ClampToInt(x + r), cy}, {cx, cy}, {ClampToInt(x - r), cy},
               {cx, cy}, {cx, ClampToInt(y + r)}, {cx, cy}, {cx, ClampToInt(y - r)}};
    mPointCount = 8;
    mStepTimes.assign(8, GetAttrFloat(e, "time", 0.0f));
}

bool TTargetObject::IsGoalReached() const
{
    const double dx = static_cast<double>(TruncToInt(mX)) - mRefX;
    const double dy = static_cast<double>(TruncToInt(mY)) - mRefY;
    mGoalReached = static_cast<double>(mTargetRadius) >= std::sqrt(dx * dx + dy * dy);
    return mGoalReached;
}

// ---------------------------------------------------------------- finder

TFinderMoverObject::~TFinderMoverObject() = default;

void TFinderMoverObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TMoverObject::LoadXml(e, dataFolder);
    mTextX = GetAttrInt(e, "textx", 0);
    mTextY = GetAttrInt(e, "texty", 0);
    mTotal = GetAttrInt(e, "count", 0);
    mFound = GetAttrInt(e, "curcount", 0);
    mMoveWhenComplete = GetAttrBool(e, "movewhencomplete", true);
    mAwayTime = GetAttrFloat(e, "awaytime", 1.0f);
    // Finds step it, not clicks.
    mClickStep = false;
}

void TFinderMoverObject::PlaceLabel()
{
    if (!mLabel) return;
    mLabel->SetPosition(static_cast<float>(static_cast<double>(mX) + mTextX),
                        static_cast<float>(static_cast<double>(mY) + mTextY), true);
}

void TFinderMoverObject::RefreshLabel()
{
    if (!mLabel) return;
    mLabel->SetText(FormatString("%d/%d", mFound, mTotal));
    PlaceLabel();
}

void TFinderMoverObject::OnSpaceFirstShown()
{
    TObject::OnSpaceFirstShown();
    for (auto& child : mChildren) {
        if (TTextObject* text = dynamic_cast<TTextObject*>(child.get())) {
            mLabel = text;
            RefreshLabel();
            return;
        }
    }
}

bool TFinderMoverObject::Update(float dt)
{
    TMoverObject::Update(dt);
    if (!mChildren.empty()) {
        mLabel = dynamic_cast<TTextObject*>(mChildren.front().get());
        PlaceLabel();
    }
    // Nothing in this game starts the away timer; a host that counts finds would.
    if (mMoveWhenComplete && mAwayTimer.mRunning && mAwayTimer.Update(dt)) Activate(0, 0, 0);
    return false;
}

void TFinderMoverObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteInt32(mFound);
}

void TFinderMoverObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int32_t found = buffer.ReadInt32();
    if (StateRefused()) return;
    mFound = found;
    RefreshLabel();
}

// ---------------------------------------------------------------- arc mover

TArcMoverObject::~TArcMoverObject() = default;

void TArcMoverObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    const int x = GetAttrInt(e, "rectX", 0);
    const int y = GetAttrInt(e, "rectY", 0);
    const int w = GetAttrInt(e, "rectW", 0);
    const int h = GetAttrInt(e, "rectH", 0);
    const float startAngle = GetAttrFloat(e, "startAngle", 0.0f);
    const float sweepAngle = GetAttrFloat(e, "sweepAngle", 0.0f);
    const float time = GetAttrFloat(e, "time", 0.0f);
    const bool clockwise = GetAttrBool(e, "clockwise", true);
    const bool play = GetAttrBool(e, "play", false);
    mPlaySound = GetAttrString(e, "play_sound", "");
    const int loops = GetAttrInt(e, "loop", 1);
    mArc.Start(x, y, w, h, startAngle, sweepAngle, time, clockwise, play, loops);
    if (play) Activate(0, 0, 0);
}

void TArcMoverObject::Activate(int /*count*/, int /*x*/, int /*y*/)
{
    mArc.RunAgain();
    PlayThroughRootSpace(mPlaySound);
}

void TArcMoverObject::Deactivate(int count, int x, int y)
{
    TObject::Deactivate(count, x, y);
    StopNamedSound(mPlaySound);
}

bool TArcMoverObject::Update(float dt)
{
    TObject::Update(dt);
    if (!mArc.mRunning) return false;
    // A pass already used up (no time, or a restored one) ends without computing a point:
    // the object then stays where it is.
    const bool computesPoint = mArc.mElapsed < mArc.mDuration;
    mArc.Update(dt);
    if (computesPoint) SetPosition(static_cast<float>(mArc.mX), static_cast<float>(mArc.mY), true);
    if (!mArc.mRunning) RunEventReactions(0);
    return false;
}

void TArcMoverObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    mArc.SaveState(&buffer);
}

void TArcMoverObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    TArcMover arc = mArc;
    arc.LoadState(&buffer);
    if (!StateRefused()) mArc = arc;
}

// ---------------------------------------------------------------- clock hand

TMovingClockArrowObject::TMovingClockArrowObject() : mStepAngle(static_cast<float>(360 / 60) * kDegrees) {}

TMovingClockArrowObject::~TMovingClockArrowObject() = default;

void TMovingClockArrowObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mStartCount = GetAttrInt(e, "start_count", 0);
    mDivisions = GetAttrInt(e, "div_num", 60);
    // The hand's turn and pause are saved as thousandths; NaN would turn the hand to NaN.
    const char* file = ElementFileName(e);
    mPerDivision = GetAttrFloatInRange(e, "time_per_div", 1.0f, -kMaxMilliValue, kMaxMilliValue, file);
    mTick = GetAttrFloatInRange(e, "time_tick", 0.0f, -kMaxMilliValue, kMaxMilliValue, file);
    mPause = GetAttrFloatInRange(e, "time_tack", 0.0f, -kMaxMilliValue, kMaxMilliValue, file);
    mTickSound = GetAttrString(e, "tick_sound", "");
    if (mTick == 0.0f && mPause == 0.0f) {
        mTick = mPerDivision / 3.0f;
        mPause = mPerDivision - mTick;
    } else if (mTick == 0.0f) {
        mTick = mPerDivision - mPause;
    } else {
        mPause = mPerDivision - mTick;
    }
    // No divisions: the hand ticks in place, as it does with more than 360 of them.
    mStepAngle = mDivisions == 0 ? 0.0f : static_cast<float>(360 / mDivisions) * kDegrees;
    mCount = mStartCount;
}

void TMovingClockArrowObject::SetImageAngle(float radians)
{
    if (mImage) mImage->SetAngle(radians);
}

void TMovingClockArrowObject::StartTick()
{
    PlayNamedSound(mTickSound);
    const int64_t next = static_cast<int64_t>(mCount) + 1;
    mHandAngle.Set(static_cast<float>(mCount) * mStepAngle, static_cast<float>(next) * mStepAngle, std::fabs(mTick),
                   true);
    mPhase = 1;
    if (mDivisions != 0) mCount = static_cast<int32_t>(next % mDivisions);
}

void TMovingClockArrowObject::StartTack()
{
    if (mPause > 0.0f) mPauseTimer.Start(mPause);
    mPhase = 2;
}

bool TMovingClockArrowObject::Update(float dt)
{
    if (mLocked) return false;
    if (mPhase == 1) {
        mHandAngle.Update(dt);
        SetImageAngle(mHandAngle.mCurrent);
        if (mHandAngle.mFinished) StartTack();
    } else if (mPhase == 2) {
        if (mPauseTimer.Update(dt)) StartTick();
    }
    return false;
}

void TMovingClockArrowObject::LoadResources()
{
    TObject::LoadResources();
    SetImageAngle(static_cast<float>(mCount) * mStepAngle);
    Restart();
}

void TMovingClockArrowObject::Reset()
{
    mPhase = 0;
    mCount = mStartCount;
    SetImageAngle(static_cast<float>(mCount) * mStepAngle);
}

void TMovingClockArrowObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mPhase);
    buffer.WriteInt32(mCount);
    mHandAngle.SaveState(&buffer);
    mPauseTimer.SaveState(buffer);
}

void TMovingClockArrowObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int phase = buffer.ReadByte();
    const int32_t count = buffer.ReadInt32();
    IncValue handAngle = mHandAngle;
    handAngle.LoadState(&buffer);
    TTimer pauseTimer = mPauseTimer;
    pauseTimer.LoadState(buffer);
    if (StateRefused()) return;
    mPhase = phase;
    mCount = count;
    mHandAngle = handAngle;
    mPauseTimer = pauseTimer;
}
