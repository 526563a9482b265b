#include "graphics/trajectories.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/virtual_files.h"
#include "core/xml_attributes.h"

namespace {

const int kChords = 500;
const size_t kPointBytes = 28;
const size_t kCurveHeaderBytes = 24;
// Far beyond any screen, and exact in a float, so the splines and positions keep their digits.
const int32_t kCurveCoordinateLimit = 1 << 24;

// A stored float that is not finite reads as 0; a length also stops at 0 from below.
bool Usable(float* value, bool length)
{
    if (std::isfinite(*value) && !(length && *value < 0.0f)) return true;
    *value = 0.0f;
    return false;
}

bool UsableCoordinate(int32_t* value)
{
    if (*value >= -kCurveCoordinateLimit && *value <= kCurveCoordinateLimit) return true;
    *value = *value < 0 ? -kCurveCoordinateLimit : kCurveCoordinateLimit;
    return false;
}

void LogArrayError(const char* what)
{
    TLogger* log = GetLogger();
    log->LogMessage("------------------------------------------ ARRAY ERROR "
                    "-------------------------------------------------- ");
    log->LogMessage("%s", what);
}

int32_t ReadLe32(const uint8_t* p)
{
    uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                 (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    int32_t out;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

float ReadLeFloat(const uint8_t* p)
{
    int32_t bits = ReadLe32(p);
    float out;
    std::memcpy(&out, &bits, sizeof out);
    return out;
}

TTrajectoryPoint GeneratedPoint(double x, double y)
{
    TTrajectoryPoint p;
    p.x = TruncToInt(x);
    p.y = TruncToInt(y);
    return p;
}

// The points of the generated curves: a unit direction (the raw difference when the ends
// meet), its left side, and the midpoint, all in double so extreme ends cannot overflow.
struct TGeneratedFrame {
    double midX, midY, sideX, sideY;
    TGeneratedFrame(int x1, int y1, int x2, int y2)
    {
        double dx = static_cast<double>(x2) - x1;
        double dy = static_cast<double>(y2) - y1;
        double length = std::sqrt(dx * dx + dy * dy);
        if (length != 0.0) {
            dx /= length;
            dy /= length;
        }
        sideX = -dy;
        sideY = dx;
        midX = (static_cast<double>(x1) + x2) / 2.0;
        midY = (static_cast<double>(y1) + y2) / 2.0;
    }
};

void FinishGenerated(TTrajectory& t)
{
    t.mCount = static_cast<int>(t.mPoints.size());
    BuildTrajectoryLengths(t);
    t.SumLength();
}

void SplinesOf(const TTrajectory& t, std::vector<TCubic>& xs, std::vector<TCubic>& ys)
{
    std::vector<float> vx, vy;
    for (const TTrajectoryPoint& p : t.mPoints) {
        vx.push_back(static_cast<float>(p.x));
        vy.push_back(static_cast<float>(p.y));
    }
    int n = static_cast<int>(t.mPoints.size()) - 1;
    xs = NaturalCubicSpline(n, vx);
    ys = NaturalCubicSpline(n, vy);
}

}  // namespace

void TTrajectory::Normalize(int x, int y)
{
    if (mPoints.empty()) return;
    int minX = mPoints[0].x;
    int minY = mPoints[0].y;
    for (const TTrajectoryPoint& p : mPoints) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
    }
    for (TTrajectoryPoint& p : mPoints) {
        p.x = ClampToInt(static_cast<int64_t>(p.x) - minX + x);
        p.y = ClampToInt(static_cast<int64_t>(p.y) - minY + y);
    }
}

void TTrajectory::SumLength()
{
    mTotalLength = 0.0f;
    for (size_t i = 0; i + 1 < mPoints.size(); ++i) mTotalLength += mPoints[i].length;
}

TTrajectory* TTrajectoryList::Get(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return mTrajectories[static_cast<size_t>(index)].get();
}

void TTrajectoryList::Clear() { mTrajectories.clear(); }

bool TTrajectoryList::Load(const std::string& path)
{
    Clear();
    TFile file;
    if (!file.Open(path, false)) {
        GetLogger()->LogMessage("cannot open trajectory file %s", path.c_str());
        return false;
    }
    long size = file.Size();
    std::vector<uint8_t> bytes(size > 0 ? static_cast<size_t>(size) : 0);
    if (!bytes.empty() && !file.Read(bytes.data(), bytes.size())) bytes.clear();
    file.Close();

    // The counts are checked against the bytes there are: a curve that claims more points
    // than the file holds ends the reading, and the whole curves before it are kept.
    size_t pos = 0;
    bool whole = bytes.size() >= 4;
    int32_t count = whole ? ReadLe32(bytes.data()) : 0;
    if (count < 0) whole = false;
    pos = 4;
    for (int32_t c = 0; whole && c < count; ++c) {
        if (bytes.size() - pos < kCurveHeaderBytes) {
            whole = false;
            break;
        }
        int32_t n = ReadLe32(bytes.data() + pos);
        if (n < 0 || static_cast<uint64_t>(n) * kPointBytes > bytes.size() - pos - kCurveHeaderBytes) {
            whole = false;
            break;
        }
        auto t = std::make_unique<TTrajectory>();
        const char* name = reinterpret_cast<const char*>(bytes.data() + pos + 4);
        t->mName.assign(name, strnlen(name, 20));
        pos += kCurveHeaderBytes;
        t->mPoints.resize(static_cast<size_t>(n));
        bool inRange = true;
        for (TTrajectoryPoint& p : t->mPoints) {
            const uint8_t* r = bytes.data() + pos;
            p.x = ReadLe32(r);
            p.y = ReadLe32(r + 4);
            p.scale = ReadLeFloat(r + 8);
            p.angle = ReadLeFloat(r + 12);
            p.angleWeight = ReadLeFloat(r + 16);
            p.scaleWeight = ReadLeFloat(r + 20);
            p.length = ReadLeFloat(r + 24);
            pos += kPointBytes;
            inRange &= UsableCoordinate(&p.x) & UsableCoordinate(&p.y) & Usable(&p.scale, false) &
                       Usable(&p.angle, false) & Usable(&p.angleWeight, false) & Usable(&p.scaleWeight, false) &
                       Usable(&p.length, true);
        }
        const int index = Count();
        if (n < 2) {
            // Nothing to travel: the slot stays, empty, so the later curves keep their indexes.
            GetLogger()->LogMessage("trajectory file %s: curve %d \"%s\" has %d points, refused", path.c_str(),
                                    index, t->mName.c_str(), n);
            t->mPoints.clear();
            n = 0;
        } else if (!inRange) {
            GetLogger()->LogMessage("trajectory file %s: curve %d \"%s\" holds values out of range, clamped",
                                    path.c_str(), index, t->mName.c_str());
        }
        t->mCount = n;
        t->SumLength();
        mTrajectories.push_back(std::move(t));
    }
    if (!whole) {
        GetLogger()->LogMessage("trajectory file %s is damaged: %d curves kept", path.c_str(), Count());
    }
    return true;
}

void TTrajectoryList::MakeLoopTrajectory(int x1, int y1, int x2, int y2, int amplitude)
{
    TGeneratedFrame f(x1, y1, x2, y2);
    auto t = std::make_unique<TTrajectory>();
    t->mPoints.push_back(GeneratedPoint(x1, y1));
    t->mPoints.push_back(GeneratedPoint(f.midX + f.sideX * amplitude, f.midY + f.sideY * amplitude));
    t->mPoints.push_back(GeneratedPoint(x2, y2));
    t->mPoints.push_back(GeneratedPoint(f.midX - f.sideX * amplitude, f.midY - f.sideY * amplitude));
    t->mPoints.push_back(GeneratedPoint(x1, y1));
    FinishGenerated(*t);
    mTrajectories.push_back(std::move(t));
}

TTrajectoryList& GetTrajectoryList()
{
    static TTrajectoryList list;
    return list;
}

std::unique_ptr<TTrajectory> MakeArcTrajectory(int x1, int y1, int x2, int y2, int bend)
{
    TGeneratedFrame f(x1, y1, x2, y2);
    auto t = std::make_unique<TTrajectory>();
    t->mPoints.push_back(GeneratedPoint(x1, y1));
    t->mPoints.push_back(GeneratedPoint(f.midX + f.sideX * bend, f.midY + f.sideY * bend));
    t->mPoints.push_back(GeneratedPoint(x2, y2));
    FinishGenerated(*t);
    return t;
}

std::vector<TCubic> NaturalCubicSpline(int n, const std::vector<float>& values)
{
    // Below one segment the work arrays would reach outside themselves: the log still says
    // so, as the checked arrays always have, but nothing is read.
    if (n < 0) {
        LogArrayError("Array size error!");
        return {};
    }
    if (n == 0) {
        LogArrayError("Bounds error!");  // gamma[-1]
        LogArrayError("Bounds error!");  // delta[-1]
        return {};
    }
    if (values.size() < static_cast<size_t>(n) + 1) {
        LogArrayError("Bounds error!");
        return {};
    }
    const size_t N = static_cast<size_t>(n);
    const std::vector<float>& x = values;
    std::vector<float> gamma(N + 1), delta(N + 1), D(N + 1);
    gamma[0] = 0.5f;
    for (size_t i = 1; i < N; ++i) gamma[i] = 1.0f / (4.0f - gamma[i - 1]);
    gamma[N] = 1.0f / (2.0f - gamma[N - 1]);
    delta[0] = 3.0f * (x[1] - x[0]) * gamma[0];
    for (size_t i = 1; i < N; ++i) delta[i] = (3.0f * (x[i + 1] - x[i - 1]) - delta[i - 1]) * gamma[i];
    delta[N] = (3.0f * (x[N] - x[N - 1]) - delta[N - 1]) * gamma[N];
    D[N] = delta[N];
    for (size_t i = N; i-- > 0;) D[i] = delta[i] - gamma[i] * D[i + 1];
    std::vector<TCubic> out(N);
    for (size_t i = 0; i < N; ++i) {
        out[i].a = x[i];
        out[i].b = D[i];
        out[i].c = 3.0f * (x[i + 1] - x[i]) - 2.0f * D[i] - D[i + 1];
        out[i].d = 2.0f * (x[i] - x[i + 1]) + D[i] + D[i + 1];
    }
    return out;
}

void BuildTrajectoryLengths(TTrajectory& t)
{
    std::vector<TCubic> xs, ys;
    SplinesOf(t, xs, ys);
    for (size_t i = 0; i < xs.size() && i < ys.size(); ++i) {
        float length = 0.0f;
        float px = xs[i].Value(0.0f);
        float py = ys[i].Value(0.0f);
        // u = k / 500: adding 0.002 five hundred times would fall short of 1
        for (int k = 1; k <= kChords; ++k) {
            float u = static_cast<float>(k) / kChords;
            float qx = xs[i].Value(u);
            float qy = ys[i].Value(u);
            length += std::sqrt((qx - px) * (qx - px) + (qy - py) * (qy - py));
            px = qx;
            py = qy;
        }
        t.mPoints[i].length = length;
    }
}

MoveObj_t::MoveObj_t(float speed, const TTrajectory* trajectory, const TMoveOwnerRecord& owner)
    : mSpeed(speed), mOwner(owner)
{
    SetTrajectory(trajectory);
}

void MoveObj_t::SetTrajectory(const TTrajectory* trajectory)
{
    mTrajectory = trajectory;
    mSplineX.clear();
    mSplineY.clear();
    mPointCount = trajectory ? static_cast<int>(trajectory->mPoints.size()) : 0;
    if (!trajectory) return;
    // Below two points there is no spline to build (the work arrays would only log errors).
    if (mPointCount < 2) {
        GetLogger()->LogMessage("trajectory \"%s\" has %d points: nothing to travel", trajectory->mName.c_str(),
                                mPointCount);
    } else {
        SplinesOf(*trajectory, mSplineX, mSplineY);
    }
    if (!trajectory->mPoints.empty()) {
        mX = static_cast<float>(trajectory->mPoints[0].x);
        mY = static_cast<float>(trajectory->mPoints[0].y);
    }
}

bool MoveObj_t::Update(float dt)
{
    Advance(dt);
    return IsFinished();
}

void MoveObj_t::Restart()
{
    mElapsed = 0.0f;
    mFinished = false;
    if (mTrajectory && !mTrajectory->mPoints.empty()) {
        mX = static_cast<float>(mTrajectory->mPoints[0].x);
        mY = static_cast<float>(mTrajectory->mPoints[0].y);
    }
}

void MoveObj_t::Finish()
{
    mFinished = true;
    if (mListener) mListener->OnMoveObjFinished(this);
}

void MoveObj_t::Advance(float dt)
{
    mElapsed += dt;
    // Nothing to travel: done at once, where it stands.
    if (!mTrajectory || mTrajectory->mPoints.empty()) {
        Finish();
        return;
    }
    float s = mSpeed * mElapsed;
    if (s > mTrajectory->mTotalLength) {
        Finish();
        s = mTrajectory->mTotalLength;
    }
    const std::vector<TTrajectoryPoint>& pts = mTrajectory->mPoints;
    size_t segments = std::min(mSplineX.size(), mSplineY.size());
    if (pts.size() < 2 || segments == 0) return;
    segments = std::min(segments, pts.size() - 1);

    // Rounding can leave s a hair above 0 after the last segment: the walk stops there.
    size_t i = 0;
    for (;; ++i) {
        s -= pts[i].length;
        if (s <= 0.0f || i + 1 == segments) break;
    }
    float length = pts[i].length;
    float u = (s <= 0.0f && length != 0.0f) ? 1.0f - std::fabs(s) / length : 1.0f;
    const TCubic& cx = mSplineX[i];
    const TCubic& cy = mSplineY[i];
    mX = cx.Value(u);
    mY = cy.Value(u);
    const TTrajectoryPoint& p0 = pts[i];
    const TTrajectoryPoint& p1 = pts[i + 1];
    if (!mNoRotation) {
        mAngle = std::atan2(cx.Value(u + 0.1f) - mX, cy.Value(u + 0.1f) - mY) + kPi + p0.angle +
                 (p1.angle - p0.angle) * u * p0.angleWeight;
    }
    float scale = p0.scale + (p1.scale - p0.scale) * u * p0.scaleWeight;
    mScaleX = mScaleY = scale;
}

TTrajectoryMover::TTrajectoryMover(const TTrajectoryMover& other) { *this = other; }

TTrajectoryMover& TTrajectoryMover::operator=(const TTrajectoryMover& other)
{
    if (this == &other) return *this;
    mList.Clear();
    for (const auto& t : other.mList.mTrajectories) mList.mTrajectories.push_back(std::make_unique<TTrajectory>(*t));
    mMover.reset();
    mRunning = false;
    mTrajIndex = other.mTrajIndex;
    mFileName = other.mFileName;
    mTimes = other.mTimes;
    mCalcAngle = other.mCalcAngle;
    return *this;
}

void TTrajectoryMover::LoadXml(const TiXmlElement* element)
{
    // The list is about to be filled again: the running mover would walk a freed curve.
    Stop();
    mFileName = GetAttrString(element, "trajfile", "");
    mCalcAngle = GetAttrBool(element, "calc_angle", true);
    mTrajIndex = GetAttrInt(element, "trajindex", 0);
    if (mFileName != "ellipse") {
        mList.Load(mFileName);
    } else {
        int x1 = GetAttrInt(element, "elipsex1", 0);
        int y1 = GetAttrInt(element, "elipsey1", 0);
        int w = GetAttrInt(element, "elipsew", 0);
        int h = GetAttrInt(element, "elipseh", 0);
        int amplitude = GetAttrInt(element, "amplituda", 0);
        mList.MakeLoopTrajectory(x1, y1, ClampToInt(static_cast<int64_t>(x1) + w),
                                 ClampToInt(static_cast<int64_t>(y1) + h), amplitude);
    }
    if (GetAttrBool(element, "normalize", false)) {
        int x = GetAttrInt(element, "x", 0);
        int y = GetAttrInt(element, "y", 0);
        for (auto& t : mList.mTrajectories) t->Normalize(x, y);
    }
    std::vector<std::string> parts;
    GetAttrList(element, "time", ';', parts);
    mTimes.assign(static_cast<size_t>(mList.Count()), 0.0f);
    for (size_t i = 0; i < mTimes.size() && i < parts.size(); ++i) {
        float v = 0.0f;
        if (std::sscanf(parts[i].c_str(), "%f", &v) == 1) mTimes[i] = v;
    }
    for (size_t i = 1; i < mTimes.size(); ++i) {
        if (mTimes[i] == 0.0f) mTimes[i] = mTimes[0];
    }
    if (mList.Count() > 0 && (mTrajIndex < 0 || mTrajIndex >= mList.Count())) {
        GetLogger()->LogMessage("trajectory index %d is outside the %d curves of %s", mTrajIndex, mList.Count(),
                                mFileName.c_str());
    }
}

void TTrajectoryMover::Start()
{
    if (mRunning || mList.Count() == 0) return;
    const TTrajectory* t = mList.Get(mTrajIndex);
    if (!t) return;
    // A looping owner asks again every frame: said once.
    if (t->mPoints.size() < 2) {
        if (!mUnusableLogged)
            GetLogger()->LogMessage("trajectory %d of %s has no curve to travel, the mover stays", mTrajIndex,
                                    mFileName.c_str());
        mUnusableLogged = true;
        return;
    }
    mMover.reset();
    mRunning = true;
    float time = static_cast<size_t>(mTrajIndex) < mTimes.size() ? mTimes[static_cast<size_t>(mTrajIndex)] : 0.0f;
    // A travel time of 0 means "at once", even over a curve of length 0.
    float speed = time == 0.0f ? std::numeric_limits<float>::infinity() : t->mTotalLength / time;
    mMover = std::make_unique<MoveObj_t>(speed, t, TMoveOwnerRecord());
    mMover->mNoRotation = !mCalcAngle;
    mMover->Restart();
}

void TTrajectoryMover::Update(float dt)
{
    if (!mRunning || !mMover) return;
    if (mMover->Update(dt)) mRunning = false;
}

float TTrajectoryMover::GetX() const { return mMover ? mMover->GetX() : 0.0f; }

float TTrajectoryMover::GetY() const { return mMover ? mMover->GetY() : 0.0f; }

float TTrajectoryMover::GetAngle() const { return mMover ? -mMover->GetAngle() : 0.0f; }

void TTrajectoryMover::Stop()
{
    mMover.reset();
    mRunning = false;
}

void TTrajectoryMover::StopAndClear()
{
    Stop();
    mList.Clear();
}

void TLineMover::SetPoint(float x, float y)
{
    mFromX = mToX = mX = x;
    mFromY = mToY = mY = y;
    mFinished = false;
    mActive = false;
    mIndex = 0;
    mProgress.SetValue(0.0f);
}

void TLineMover::StartSegment(float fromX, float fromY, float toX, float toY, float duration, float hold,
                              unsigned index, bool append)
{
    mFromX = mX = fromX;
    mFromY = mY = fromY;
    mToX = toX;
    mToY = toY;
    mDuration = duration;
    mFinished = false;
    mActive = true;
    mProgress.StartUnit(duration);
    if (hold != 0.0f) {
        mHold.StartUnit(hold);
    } else {
        mHold.mFinished = true;
        mHold.mRunning = false;
    }
    mIndex = index;
    if (append) mWaypoints.push_back({fromX, fromY, toX, toY, duration, hold});
}

void TLineMover::SetWaypoints(float startDelay, const std::vector<TLineWaypoint>& waypoints)
{
    mStartDelay = startDelay;
    mWaypoints = waypoints;
    mIndex = 0;
    if (!mWaypoints.empty()) {
        const TLineWaypoint& w = mWaypoints[0];
        StartSegment(w.fromX, w.fromY, w.toX, w.toY, w.duration, w.hold, 0, false);
    }
}

bool TLineMover::Update(float dt)
{
    if (!mActive) return false;
    if (mStartDelay > 0.0f) {
        mStartDelay -= dt;
        if (mStartDelay >= 0.0f) return false;
        // Unlike a tween's delay, the call then moves by its whole dt.
        mStartDelay = 0.0f;
    }
    mProgress.Update(dt);
    mX = mFromX + (mToX - mFromX) * mProgress.mCurrent;
    mY = mFromY + (mToY - mFromY) * mProgress.mCurrent;
    if (!mProgress.mFinished) return mFinished;
    if (!mHold.mFinished && !mHold.Update(dt)) return false;
    ++mIndex;
    if (mIndex < mWaypoints.size()) {
        const TLineWaypoint& w = mWaypoints[mIndex];
        StartSegment(w.fromX, w.fromY, w.toX, w.toY, w.duration, w.hold, mIndex, false);
    } else {
        mX = mToX;
        mY = mToY;
        mFinished = true;
        mActive = false;
        mIndex = 0;
        if (mListener) mListener->OnLineMoverFinished(this);
    }
    return mFinished;
}

void TLineMover::Restart()
{
    mX = mFromX;
    mY = mFromY;
    mFinished = false;
    mActive = true;
    mIndex = 0;
    if (!mWaypoints.empty()) {
        const TLineWaypoint& w = mWaypoints[0];
        StartSegment(w.fromX, w.fromY, w.toX, w.toY, w.duration, w.hold, 0, false);
    } else {
        mProgress.StartUnit(mDuration);
    }
}

void TLineMover::SaveState(TBaseBuffer* b) const
{
    mProgress.SaveState(b);
    b->WriteMilli(mX);
    b->WriteMilli(mY);
    b->WriteByte(mFinished);
    b->WriteByte(mActive);
    b->WriteMilli(mFromX);
    b->WriteMilli(mFromY);
    b->WriteMilli(mToX);
    b->WriteMilli(mToY);
    b->WriteMilli(mDuration);
}

void TLineMover::LoadState(TBaseBuffer* b)
{
    mProgress.LoadState(b);
    mX = b->ReadMilli();
    mY = b->ReadMilli();
    mFinished = b->ReadByte() != 0;
    mActive = b->ReadByte() != 0;
    mFromX = b->ReadMilli();
    mFromY = b->ReadMilli();
    mToX = b->ReadMilli();
    mToY = b->ReadMilli();
    mDuration = b->ReadMilli();
}

void TArcMover::Start(int x, int y, int width, int height, float startAngle, float endAngle, float duration,
                      bool clockwise, bool run, int repeats)
{
    mRectX = x;
    mRectY = y;
    mWidth = width;
    mHeight = height;
    mCentreX = ClampToInt(static_cast<int64_t>(x) + width / 2);
    mCentreY = ClampToInt(static_cast<int64_t>(y) + height / 2);
    mStartAngle = startAngle;
    mEndAngle = endAngle;
    mDuration = duration;
    mClockwise = clockwise;
    mRepeats = repeats;
    mAngle = startAngle;
    mElapsed = 0.0f;
    mRunning = false;
    if (run) {
        mRunning = true;
        mFinished = false;
        mPasses = 0;
    }
}

void TArcMover::PlacePoint()
{
    float a = static_cast<float>(std::max(mWidth, mHeight)) / 2.0f;
    float b = static_cast<float>(std::min(mWidth, mHeight)) / 2.0f;
    float t = mAngle * 0.017453292f;
    float cosT = std::cos(t);
    float sinT = std::sin(t);
    // A flat rectangle has no ellipse to speak of: its point stays at the centre.
    float r = 0.0f;
    if (b != 0.0f) {
        float e2 = 1.0f - (b * b) / (a * a);
        r = b / std::sqrt(1.0f - e2 * cosT * cosT);
    }
    float x = static_cast<float>(mCentreX) - cosT * r;
    float y = static_cast<float>(mCentreY) - sinT * r;
    mX = TruncToInt(x);
    mY = TruncToInt(y);
}

bool TArcMover::Update(float dt)
{
    if (!mRunning || mElapsed >= mDuration) {
        mRunning = false;
        mFinished = true;
        return true;
    }
    if (mClockwise) {
        float span = mEndAngle - mStartAngle;
        if (span < 0.0f) span += 360.0f;
        mAngle += span * dt / mDuration;
    } else {
        float span = mStartAngle - mEndAngle;
        if (span < 0.0f) span += 360.0f;
        mAngle -= span * dt / mDuration;
    }
    if (mAngle >= 360.0f) {
        mAngle -= 360.0f;
    } else if (mAngle < 0.0f) {
        mAngle += 360.0f;
    }
    PlacePoint();
    mElapsed += dt;
    if (mElapsed < mDuration) return false;
    ++mPasses;
    if (mRepeats == -1 || static_cast<int64_t>(mPasses) < static_cast<int64_t>(mRepeats) - 1) {
        mRunning = true;
        mFinished = false;
        mElapsed = 0.0f;
        return true;
    }
    mRunning = false;
    mFinished = true;
    return true;
}

void TArcMover::RunAgain()
{
    mRunning = true;
    mFinished = false;
    mPasses = 0;
    mElapsed = 0.0f;
}

void TArcMover::SaveState(TBaseBuffer* b) const
{
    b->WriteMilli(mAngle);
    b->WriteMilli(mElapsed);
    b->WriteByte(mRunning);
    b->WriteByte(mFinished);
}

void TArcMover::LoadState(TBaseBuffer* b)
{
    mAngle = b->ReadMilli();
    mElapsed = b->ReadMilli();
    mRunning = b->ReadByte() != 0;
    mFinished = b->ReadByte() != 0;
}
