// Everything that moves a point along a path: smooth curves through control points (from
// "trajectories.dat" or generated), the drawable that travels one by arc length, the mover that
// drives it from XML, and the straight-waypoint and ellipse movers that widgets embed.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/draw_object.h"
#include "graphics/tweens.h"

class TBaseBuffer;
class TiXmlElement;

// Also the file record (28 bytes).
struct TTrajectoryPoint {
    int32_t x = 0;
    int32_t y = 0;
    float scale = 0.0f;
    float angle = 0.0f;
    float angleWeight = 0.0f;
    float scaleWeight = 0.0f;
    float length = 0.0f;  // arc length to the next point; unused on the last
};

struct TTrajectory {
    std::vector<TTrajectoryPoint> mPoints;
    int mCount = 0;
    std::string mName;
    float mTotalLength = 0.0f;

    void Normalize(int x, int y);
    // Sum of the segment lengths of all points but the last.
    void SumLength();
};

// value(u) = a + b u + c u^2 + d u^3 for u in 0..1.
struct TCubic {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;
    float Value(float u) const { return a + b * u + c * u * u + d * u * u * u; }
};

class TTrajectoryList {
public:
    bool Load(const std::string& path);
    void Clear();
    void MakeLoopTrajectory(int x1, int y1, int x2, int y2, int amplitude);
    int Count() const { return static_cast<int>(mTrajectories.size()); }
    TTrajectory* Get(int index) const;

    std::vector<std::unique_ptr<TTrajectory>> mTrajectories;
};

TTrajectoryList& GetTrajectoryList();

std::unique_ptr<TTrajectory> MakeArcTrajectory(int x1, int y1, int x2, int y2, int bend);
// n segments through the n + 1 values.
std::vector<TCubic> NaturalCubicSpline(int n, const std::vector<float>& values);
void BuildTrajectoryLengths(TTrajectory& trajectory);

class MoveObj_t;

class TMoveObjListener {
public:
    virtual ~TMoveObjListener() = default;
    virtual void OnMoveObjFinished(MoveObj_t* mover) = 0;
};

struct TMoveOwnerRecord {
    float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

// Travels a trajectory by arc length at a constant speed; position, angle and scale are the
// drawable's own.
class MoveObj_t : public DrawObject {
public:
    MoveObj_t(float speed, const TTrajectory* trajectory, const TMoveOwnerRecord& owner);
    ~MoveObj_t() override = default;

    bool Update(float dt) override;
    void Restart() override;

    virtual bool IsFinished() const { return mFinished; }
    virtual bool IsMoving() const { return mTrajectory != nullptr && !mFinished; }
    void EmptyHook() override {}
    virtual void Advance(float dt);

    void SetTrajectory(const TTrajectory* trajectory);

    const TTrajectory* mTrajectory = nullptr;
    bool mNoRotation = true;
    TMoveObjListener* mListener = nullptr;
    float mElapsed = 0.0f;
    int mPointCount = 0;
    float mSpeed = 0.0f;
    std::vector<TCubic> mSplineX;
    std::vector<TCubic> mSplineY;
    TMoveOwnerRecord mOwner;
    bool mFinished = false;

private:
    void Finish();
};

// Drives a MoveObj_t over a trajectory named in XML, one travel time per trajectory.
class TTrajectoryMover {
public:
    TTrajectoryMover() = default;
    virtual ~TTrajectoryMover() = default;
    // Copies the settings, never the running mover.
    TTrajectoryMover(const TTrajectoryMover& other);
    TTrajectoryMover& operator=(const TTrajectoryMover& other);

    virtual void LoadXml(const TiXmlElement* element);
    virtual void Update(float dt);
    virtual void Start();
    virtual bool IsRunning() const { return mRunning; }
    virtual float GetX() const;
    virtual float GetY() const;
    virtual float GetAngle() const;
    virtual void Stop();
    virtual void StopAndClear();
    virtual void Restart() { Start(); }

    TTrajectoryList mList;
    std::unique_ptr<MoveObj_t> mMover;
    int mTrajIndex = 0;
    std::string mFileName;
    std::vector<float> mTimes;
    bool mRunning = false;
    bool mCalcAngle = true;
    bool mUnusableLogged = false;
};

class TLineMover;

class TLineMoverListener {
public:
    virtual ~TLineMoverListener() = default;
    virtual void OnLineMoverFinished(TLineMover* mover) = 0;
};

struct TLineWaypoint {
    float fromX = 0.0f;
    float fromY = 0.0f;
    float toX = 0.0f;
    float toY = 0.0f;
    float duration = 0.0f;
    float hold = 0.0f;
};

// A point moved along straight segments, each with a duration and a hold at its end.
class TLineMover {
public:
    void SetPoint(float x, float y);
    void StartSegment(float fromX, float fromY, float toX, float toY, float duration, float hold, unsigned index,
                      bool append);
    void SetWaypoints(float startDelay, const std::vector<TLineWaypoint>& waypoints);
    // The finished flag.
    bool Update(float dt);
    void Restart();
    void SaveState(TBaseBuffer* buffer) const;
    void LoadState(TBaseBuffer* buffer);

    bool mFinished = false;
    float mDuration = 0.0f;
    float mFromX = 0.0f;
    float mFromY = 0.0f;
    float mToX = 0.0f;
    float mToY = 0.0f;
    float mX = 0.0f;
    float mY = 0.0f;
    bool mActive = false;
    TLineMoverListener* mListener = nullptr;
    IncValue mProgress;
    IncValue mHold;
    unsigned mIndex = 0;
    float mStartDelay = 0.0f;
    std::vector<TLineWaypoint> mWaypoints;
};

// A point moved around the ellipse inscribed in a rectangle, in degrees, with repeats.
class TArcMover {
public:
    void Start(int x, int y, int width, int height, float startAngle, float endAngle, float duration, bool clockwise,
               bool run, int repeats);
    // True when a pass ended or the mover is not running.
    bool Update(float dt);
    // Runs its passes again from the angle it is at.
    void RunAgain();
    void SaveState(TBaseBuffer* buffer) const;
    void LoadState(TBaseBuffer* buffer);

    int mRectX = 0;
    int mRectY = 0;
    int mWidth = 0;
    int mHeight = 0;
    float mStartAngle = 0.0f;
    float mEndAngle = 0.0f;
    float mAngle = 0.0f;
    float mElapsed = 0.0f;
    float mDuration = 0.0f;
    bool mRunning = false;
    bool mFinished = false;
    bool mClockwise = false;
    int mX = 0;
    int mY = 0;
    int mCentreX = 0;
    int mCentreY = 0;
    int mRepeats = 0;
    int mPasses = 0;

private:
    void PlacePoint();
};
