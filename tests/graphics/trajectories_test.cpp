#include "graphics/trajectories.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "core/buffer.h"
#include "core/system.h"
#include "core/xml_document.h"
#include "log_watch.h"
#include "test_support.h"

namespace {

const char* const kArrayError =
    "------------------------------------------ ARRAY ERROR -------------------------------------------------- ";
const float kPiDouble = 3.14159265358979f;

struct TCurve {
    std::string name;  // written into 20 bytes, zero-padded
    std::vector<TTrajectoryPoint> points;
    int32_t n = -2;  // the stored count; -2: the number of points
};

void PutInt(std::string& out, int32_t v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void PutFloat(std::string& out, float f)
{
    int32_t v;
    std::memcpy(&v, &f, 4);
    PutInt(out, v);
}

std::string CurveBytes(const TCurve& c)
{
    std::string out;
    PutInt(out, c.n == -2 ? static_cast<int32_t>(c.points.size()) : c.n);
    std::string name = c.name.substr(0, 20);
    name.resize(20, '\0');
    out += name;
    for (const TTrajectoryPoint& p : c.points) {
        PutInt(out, p.x);
        PutInt(out, p.y);
        PutFloat(out, p.scale);
        PutFloat(out, p.angle);
        PutFloat(out, p.angleWeight);
        PutFloat(out, p.scaleWeight);
        PutFloat(out, p.length);
    }
    return out;
}

std::string FileBytes(int32_t count, const std::vector<TCurve>& curves)
{
    std::string out;
    PutInt(out, count);
    for (const TCurve& c : curves) out += CurveBytes(c);
    return out;
}

std::string UserFile(const std::string& name, const std::string& bytes)
{
    WriteWholeFile(GetSystem()->UserFolder() + "/" + name, bytes);
    return "user:" + name;
}

TTrajectoryPoint Pt(int x, int y, float length = 0.0f, float scale = 1.0f)
{
    TTrajectoryPoint p;
    p.x = x;
    p.y = y;
    p.scale = scale;
    p.length = length;
    return p;
}

TTrajectory Curve(std::vector<TTrajectoryPoint> points)
{
    TTrajectory t;
    t.mPoints = std::move(points);
    t.mCount = static_cast<int>(t.mPoints.size());
    t.SumLength();
    return t;
}

struct TFinishCounter : TMoveObjListener {
    int told = 0;
    void OnMoveObjFinished(MoveObj_t*) override { ++told; }
};

struct TLineCounter : TLineMoverListener {
    int told = 0;
    void OnLineMoverFinished(TLineMover*) override { ++told; }
};

void ExpectPoint(const TTrajectoryPoint& p, int x, int y)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

// A mover over three curves loaded from a file, set up by the given attributes.
void LoadMover(TTrajectoryMover& mover, const std::string& attributes)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, "<mover " + attributes + "/>");
    ASSERT_NE(doc.RootElement(), nullptr);
    mover.LoadXml(doc.RootElement());
}

std::string ThreeCurveFile()
{
    TCurve a{"a", {Pt(0, 0, 100), Pt(100, 0)}};
    TCurve b{"b", {Pt(0, 0, 50), Pt(0, 50)}};
    TCurve c{"c", {Pt(10, 10, 10), Pt(20, 10)}};
    return UserFile("three.dat", FileBytes(3, {a, b, c}));
}

TEST(TrajectoryReader, ReadsCurvesWithStoredLengthsAndNames)
{
    TCurve first{"twenty_byte_name_xyz", {Pt(1, 2, 7.5f, 0.5f), Pt(3, 4, 2.5f), Pt(5, 6, 99.0f)}};
    first.points[0].angle = 0.25f;
    first.points[0].angleWeight = 1.0f;
    first.points[0].scaleWeight = 0.75f;
    TCurve second{"b", {Pt(-7, 8, 3.0f), Pt(0, 0)}};
    TTrajectoryList list;
    TLogWatch log;
    ASSERT_TRUE(list.Load(UserFile("two.dat", FileBytes(2, {first, second}))));
    EXPECT_EQ(log.Text(), "");
    ASSERT_EQ(list.Count(), 2);
    const TTrajectory& a = *list.Get(0);
    EXPECT_EQ(a.mName, "twenty_byte_name_xyz");
    EXPECT_EQ(a.mCount, 3);
    ExpectPoint(a.mPoints[2], 5, 6);
    EXPECT_FLOAT_EQ(a.mPoints[0].scale, 0.5f);
    EXPECT_FLOAT_EQ(a.mPoints[0].angle, 0.25f);
    EXPECT_FLOAT_EQ(a.mPoints[0].angleWeight, 1.0f);
    EXPECT_FLOAT_EQ(a.mPoints[0].scaleWeight, 0.75f);
    EXPECT_FLOAT_EQ(a.mPoints[1].length, 2.5f);  // not measured again
    EXPECT_FLOAT_EQ(a.mTotalLength, 10.0f);      // the last point's 99 is not counted
    EXPECT_EQ(list.Get(1)->mName, "b");
    EXPECT_FLOAT_EQ(list.Get(1)->mTotalLength, 3.0f);

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TrajectoryReader, DamagedFilesKeepTheWholeCurvesBeforeTheDamage)
{
    TCurve good{"good", {Pt(0, 0, 1), Pt(1, 0)}};
    TCurve minusOne{"bad", {}, -1};
    std::string huge = FileBytes(1, {}) + CurveBytes(TCurve{"huge", {}, 100000});
    huge.resize(200, '\0');
    std::string cut = FileBytes(2, {good, good});
    cut.resize(cut.size() - 10);
    const struct {
        const char* label;
        std::string bytes;
        int kept;
    } cases[] = {
        {"count 0x7FFFFFFF", FileBytes(0x7FFFFFFF, {good}), 1},
        {"negative count", FileBytes(-5, {good}), 0},
        {"n = -1", FileBytes(2, {good, minusOne}), 1},
        {"n = 100000 in 200 bytes", huge, 0},
        {"cut inside the second curve", cut, 1},
        {"no count at all", std::string("\x01\x00", 2), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TTrajectoryList list;
        TLogWatch log;
        EXPECT_TRUE(list.Load(UserFile("damaged.dat", c.bytes)));
        EXPECT_EQ(list.Count(), c.kept);
        if (c.kept > 0) {
            EXPECT_EQ(list.Get(0)->mName, "good");
        }
        EXPECT_EQ(log.Text(), "trajectory file user:damaged.dat is damaged: " + std::to_string(c.kept) +
                                  " curves kept\n");
    }
}

TEST(TrajectoryReader, CurvesWithoutASegmentAreRefusedInTheirSlots)
{
    TCurve none{"none", {}};
    TCurve one{"one", {Pt(3, 4, 8.0f)}};
    TCurve good{"good", {Pt(0, 0, 1), Pt(1, 0)}};
    TTrajectoryList list;
    TLogWatch log;
    ASSERT_TRUE(list.Load(UserFile("short.dat", FileBytes(3, {none, one, good}))));
    EXPECT_EQ(log.Text(), "trajectory file user:short.dat: curve 0 \"none\" has 0 points, refused\n"
                          "trajectory file user:short.dat: curve 1 \"one\" has 1 points, refused\n");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Get(1)->mPoints.empty());
    EXPECT_EQ(list.Get(1)->mCount, 0);
    EXPECT_EQ(list.Get(2)->mName, "good");
}

TEST(TrajectoryReader, ValuesOutOfRangeAreClampedWithOneLinePerCurve)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    TCurve wild{"wild", {Pt(-2147483647 - 1, 2147483647, -5.0f, nan), Pt(0, 0, inf, inf)}};
    wild.points[0].angle = inf;
    wild.points[0].angleWeight = -inf;
    wild.points[1].scaleWeight = nan;
    TCurve tame{"tame", {Pt(0, 0, 1), Pt(1, 0)}};
    TTrajectoryList list;
    TLogWatch log;
    ASSERT_TRUE(list.Load(UserFile("wild.dat", FileBytes(2, {wild, tame}))));
    EXPECT_EQ(log.Text(), "trajectory file user:wild.dat: curve 0 \"wild\" holds values out of range, clamped\n");
    const TTrajectory& t = *list.Get(0);
    ExpectPoint(t.mPoints[0], -(1 << 24), 1 << 24);
    for (const TTrajectoryPoint& p : t.mPoints)
        for (float v : {p.scale, p.angle, p.angleWeight, p.scaleWeight, p.length}) EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(t.mTotalLength, 0.0f);
    // The clamped curve travels without a value that is not finite.
    MoveObj_t mover(10, &t, TMoveOwnerRecord());
    mover.Update(0.5f);
    EXPECT_TRUE(std::isfinite(mover.GetX()) && std::isfinite(mover.GetY()) && std::isfinite(mover.GetAngle()));
}

TEST(TrajectoryReader, MissingFileLeavesTheListEmpty)
{
    TTrajectoryList list;
    list.MakeLoopTrajectory(0, 0, 10, 0, 5);
    TLogWatch log;
    EXPECT_FALSE(list.Load("user:nowhere.dat"));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(log.Text(), "cannot open trajectory file user:nowhere.dat\n");
}

TEST(Spline, SegmentsPassThroughThePoints)
{
    std::vector<float> values = {3, -10, 40, 7, 7};
    std::vector<TCubic> s = NaturalCubicSpline(4, values);
    ASSERT_EQ(s.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(s[i].Value(0), values[i], 1e-4);
        EXPECT_NEAR(s[i].Value(1), values[i + 1], 1e-3);
    }
    // A natural spline is smooth where the segments meet.
    EXPECT_NEAR(s[0].b + 2 * s[0].c + 3 * s[0].d, s[1].b, 1e-3);
}

TEST(Spline, MeasuresAndGeneratesCurves)
{
    TTrajectory line = Curve({Pt(0, 0), Pt(300, 400)});
    BuildTrajectoryLengths(line);
    EXPECT_NEAR(line.mPoints[0].length, 500.0f, 0.01f);

    std::unique_ptr<TTrajectory> arc = MakeArcTrajectory(0, 0, 100, 0, 10);
    ASSERT_EQ(arc->mPoints.size(), 3u);
    ExpectPoint(arc->mPoints[1], 50, 10);
    EXPECT_FLOAT_EQ(arc->mTotalLength, arc->mPoints[0].length + arc->mPoints[1].length);
    EXPECT_GT(arc->mTotalLength, 100.0f);

    TTrajectoryList list;
    list.MakeLoopTrajectory(0, 0, 100, 0, 20);
    ASSERT_EQ(list.Count(), 1);
    const TTrajectory& loop = *list.Get(0);
    const int expected[5][2] = {{0, 0}, {50, 20}, {100, 0}, {50, -20}, {0, 0}};
    ASSERT_EQ(loop.mPoints.size(), 5u);
    for (int i = 0; i < 5; ++i) ExpectPoint(loop.mPoints[static_cast<size_t>(i)], expected[i][0], expected[i][1]);
    EXPECT_GT(loop.mTotalLength, 200.0f);
    EXPECT_FLOAT_EQ(loop.mPoints[0].scale, 0.0f);
}

TEST(Spline, NormalizeMovesTheSmallestCornerToThePoint)
{
    TTrajectory t = Curve({Pt(50, -20), Pt(10, 30), Pt(70, 5)});
    t.Normalize(100, 200);
    ExpectPoint(t.mPoints[0], 140, 200);
    ExpectPoint(t.mPoints[1], 100, 250);
    ExpectPoint(t.mPoints[2], 160, 225);

    TTrajectory empty;
    empty.Normalize(5, 5);
    EXPECT_TRUE(empty.mPoints.empty());
}

TEST(Spline, ShortCurvesLogTheArrayErrorsAndReadNothing)
{
    const std::string bounds = std::string(kArrayError) + "\nBounds error!\n";
    const std::string size = std::string(kArrayError) + "\nArray size error!\n";
    {
        TLogWatch log;
        EXPECT_TRUE(NaturalCubicSpline(0, {5.0f}).empty());
        EXPECT_EQ(log.Text(), bounds + bounds);
    }
    {
        TLogWatch log;
        EXPECT_TRUE(NaturalCubicSpline(-1, {}).empty());
        EXPECT_EQ(log.Text(), size);
    }
    TTrajectory one = Curve({Pt(3, 4, 8.0f)});
    BuildTrajectoryLengths(one);
    EXPECT_FLOAT_EQ(one.mPoints[0].length, 8.0f);
    TTrajectory none;
    BuildTrajectoryLengths(none);
    EXPECT_TRUE(none.mPoints.empty());
}

TEST(Spline, ExtremeCoordinatesAreClampedNotWrapped)
{
    TTrajectoryList list;
    list.MakeLoopTrajectory(2147483000, 0, 2147483600, 0, 5);
    const TTrajectory& loop = *list.Get(0);
    ExpectPoint(loop.mPoints[1], 2147483300, 5);
    ExpectPoint(loop.mPoints[2], 2147483600, 0);

    TTrajectory t = Curve({Pt(-2147483647, 0), Pt(2147483647, 0)});
    t.Normalize(10, 0);
    EXPECT_EQ(t.mPoints[1].x, 2147483647);

    TTrajectoryMover mover;
    LoadMover(mover, "trajfile=\"ellipse\" elipsex1=\"2147483647\" elipsew=\"10\" elipsey1=\"-5\" elipseh=\"3\"");
    ASSERT_EQ(mover.mList.Count(), 1);
    ExpectPoint(mover.mList.Get(0)->mPoints[2], 2147483647, -2);
}

TEST(MoveObj, TravelsByArcLengthAndFinishesPastTheEnd)
{
    TTrajectory t = Curve({Pt(0, 0, 250), Pt(250, 0)});
    TFinishCounter listener;
    MoveObj_t mover(100, &t, TMoveOwnerRecord());
    mover.mListener = &listener;
    for (int i = 0; i < 5; ++i) mover.Advance(0.5f);
    EXPECT_FALSE(mover.IsFinished());
    EXPECT_FLOAT_EQ(mover.GetX(), 250.0f);
    EXPECT_EQ(listener.told, 0);
    EXPECT_TRUE(mover.Update(0.5f));
    EXPECT_FLOAT_EQ(mover.GetX(), 250.0f);
    EXPECT_EQ(listener.told, 1);
    mover.Advance(0.5f);
    EXPECT_FLOAT_EQ(mover.GetX(), 250.0f);
    EXPECT_EQ(listener.told, 2);

    mover.Restart();
    EXPECT_FALSE(mover.IsFinished());
    EXPECT_FLOAT_EQ(mover.GetX(), 0.0f);
    mover.Advance(1.25f);
    EXPECT_NEAR(mover.GetX(), 125.0f, 0.01f);
}

TEST(MoveObj, ItsOwnEmptyHookLeavesTheRunAlone)
{
    static_assert(std::is_same<decltype(&MoveObj_t::EmptyHook), void (MoveObj_t::*)()>::value,
                  "the mover declares its own empty hook");
    TTrajectory t = Curve({Pt(0, 0, 100), Pt(100, 0)});
    MoveObj_t mover(100, &t, TMoveOwnerRecord());
    mover.Advance(0.5f);
    DrawObject& drawable = mover;
    drawable.EmptyHook();
    EXPECT_NEAR(mover.GetX(), 50.0f, 0.01f);
    EXPECT_FLOAT_EQ(mover.mElapsed, 0.5f);
    EXPECT_TRUE(mover.IsMoving());
}

TEST(MoveObj, TurnsAlongThePathAndInterpolatesScale)
{
    TTrajectory t = Curve({Pt(0, 0, 100, 1.0f), Pt(100, 0, 0, 3.0f)});
    t.mPoints[0].scaleWeight = 1.0f;
    MoveObj_t mover(100, &t, TMoveOwnerRecord());
    mover.Advance(0.5f);
    EXPECT_FLOAT_EQ(mover.GetAngle(), 0.0f);  // a bare mover does not turn
    EXPECT_NEAR(mover.GetScaleX(), 2.0f, 1e-4);
    EXPECT_NEAR(mover.GetScaleY(), 2.0f, 1e-4);
    mover.mNoRotation = false;
    mover.Advance(0.1f);
    EXPECT_NEAR(mover.GetAngle(), 1.5f * kPiDouble, 1e-4);

    TTrajectory up = Curve({Pt(0, 100, 100), Pt(0, 0)});
    MoveObj_t climber(100, &up, TMoveOwnerRecord());
    climber.mNoRotation = false;
    climber.Advance(0.5f);
    EXPECT_NEAR(climber.GetAngle(), 2.0f * kPiDouble, 1e-4);
}

TEST(MoveObj, WalkNeverLeavesTheLastSegment)
{
    // 0.1f + 0.2f - 0.1f - 0.2f leaves s a hair above 0 after the last segment.
    TTrajectory t = Curve({Pt(0, 0, 0.1f), Pt(10, 0, 0.2f), Pt(20, 0, 0.0f)});
    MoveObj_t mover(1, &t, TMoveOwnerRecord());
    mover.Advance(1.0f);
    EXPECT_TRUE(mover.IsFinished());
    EXPECT_NEAR(mover.GetX(), 20.0f, 1e-4);
    EXPECT_NEAR(mover.GetY(), 0.0f, 1e-4);
    for (int i = 0; i < 3; ++i) mover.Advance(1.0f);
    EXPECT_NEAR(mover.GetX(), 20.0f, 1e-4);

    TTrajectoryList list;
    list.MakeLoopTrajectory(5, 5, 5, 5, 0);
    MoveObj_t still(10, list.Get(0), TMoveOwnerRecord());
    for (int i = 0; i < 3; ++i) {
        still.Advance(0.5f);
        EXPECT_FLOAT_EQ(still.GetX(), 5.0f);
        EXPECT_FLOAT_EQ(still.GetY(), 5.0f);
    }
}

TEST(MoveObj, WithoutPointsItStaysAndFinishesAtOnce)
{
    TTrajectory none;
    TTrajectory one = Curve({Pt(7, 8)});
    one.mName = "one";
    const TTrajectory* cases[] = {nullptr, &none, &one};
    for (const TTrajectory* t : cases) {
        TFinishCounter listener;
        TLogWatch log;
        MoveObj_t mover(10, t, TMoveOwnerRecord());
        // One line, and no array errors of a spline that cannot be built.
        EXPECT_EQ(log.Text(), t == &one    ? "trajectory \"one\" has 1 points: nothing to travel\n"
                              : t == &none ? "trajectory \"\" has 0 points: nothing to travel\n"
                                           : "");
        mover.SetPosition(t == &one ? 7 : 3, t == &one ? 8 : 4, false);
        mover.mListener = &listener;
        mover.Restart();
        EXPECT_TRUE(mover.Update(0.1f));
        EXPECT_EQ(listener.told, 1);
        EXPECT_FLOAT_EQ(mover.GetX(), t == &one ? 7.0f : 3.0f);
        EXPECT_FLOAT_EQ(mover.GetY(), t == &one ? 8.0f : 4.0f);
    }
}

TEST(TrajectoryMover, TravelTimesPerCurve)
{
    const struct {
        const char* time;
        float expected[3];
    } cases[] = {
        {"time=\"3\"", {3, 3, 3}},
        {"time=\"1;;2\"", {1, 2, 1}},
        {"time=\"0.5;0;4;9\"", {0.5f, 0.5f, 4}},
        {"", {0, 0, 0}},
    };
    std::string file = ThreeCurveFile();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        TTrajectoryMover mover;
        LoadMover(mover, "trajfile=\"" + file + "\" " + c.time);
        ASSERT_EQ(mover.mTimes.size(), 3u);
        for (size_t i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(mover.mTimes[i], c.expected[i]);
    }
}

TEST(TrajectoryMover, RunsItsCurveOverItsTravelTime)
{
    TTrajectoryMover mover;
    LoadMover(mover, "trajfile=\"" + ThreeCurveFile() + "\" trajindex=\"1\" time=\"1;2\"");
    EXPECT_FLOAT_EQ(mover.GetX(), 0.0f);  // no mover yet
    mover.Start();
    ASSERT_TRUE(mover.IsRunning());
    mover.Update(1.0f);
    EXPECT_NEAR(mover.GetY(), 25.0f, 0.01f);
    EXPECT_NEAR(mover.GetAngle(), -kPiDouble, 1e-4);  // moving down: atan2(0, +) + pi, negated
    mover.Start();                               // running: nothing
    EXPECT_NEAR(mover.GetY(), 25.0f, 0.01f);
    mover.Update(1.01f);
    EXPECT_FALSE(mover.IsRunning());
    EXPECT_NEAR(mover.GetY(), 50.0f, 0.01f);
    mover.Restart();
    EXPECT_TRUE(mover.IsRunning());
    EXPECT_FLOAT_EQ(mover.GetY(), 0.0f);
    mover.Stop();
    EXPECT_FALSE(mover.IsRunning());
    EXPECT_FLOAT_EQ(mover.GetAngle(), 0.0f);
    mover.StopAndClear();
    EXPECT_EQ(mover.mList.Count(), 0);
    mover.Start();
    EXPECT_FALSE(mover.IsRunning());

    TTrajectoryMover noTime;
    LoadMover(noTime, "trajfile=\"ellipse\" elipsew=\"0\"");  // length 0 and time 0
    noTime.Start();
    noTime.Update(0.016f);
    EXPECT_FALSE(noTime.IsRunning());
    EXPECT_FLOAT_EQ(noTime.GetX(), 0.0f);
}

TEST(TrajectoryMover, EllipseLoopAndNormalize)
{
    TTrajectoryMover mover;
    LoadMover(mover, "trajfile=\"ellipse\" elipsex1=\"100\" elipsey1=\"50\" elipsew=\"200\" elipseh=\"0\" "
                     "amplituda=\"30\" calc_angle=\"0\"");
    ASSERT_EQ(mover.mList.Count(), 1);
    const int expected[5][2] = {{100, 50}, {200, 80}, {300, 50}, {200, 20}, {100, 50}};
    for (int i = 0; i < 5; ++i) {
        ExpectPoint(mover.mList.Get(0)->mPoints[static_cast<size_t>(i)], expected[i][0], expected[i][1]);
    }
    EXPECT_FALSE(mover.mCalcAngle);

    TTrajectoryMover normalized;
    LoadMover(normalized, "trajfile=\"ellipse\" elipsex1=\"100\" elipsey1=\"50\" elipsew=\"200\" "
                          "amplituda=\"30\" normalize=\"1\" x=\"5\" y=\"6\"");
    ExpectPoint(normalized.mList.Get(0)->mPoints[0], 5, 36);
    ExpectPoint(normalized.mList.Get(0)->mPoints[3], 105, 6);
}

TEST(TrajectoryMover, IndexOutsideTheListIsRefused)
{
    std::string file = ThreeCurveFile();
    for (int index : {3, -1}) {
        TTrajectoryMover mover;
        TLogWatch log;
        LoadMover(mover, "trajfile=\"" + file + "\" time=\"1\" trajindex=\"" + std::to_string(index) + "\"");
        EXPECT_EQ(log.Text(), "trajectory index " + std::to_string(index) + " is outside the 3 curves of " + file +
                                  "\n");
        mover.Start();
        EXPECT_FALSE(mover.IsRunning());
        mover.Update(0.1f);
        EXPECT_FLOAT_EQ(mover.GetX(), 0.0f);
        EXPECT_FLOAT_EQ(mover.GetY(), 0.0f);
    }
    TTrajectoryMover empty;
    TLogWatch log;
    LoadMover(empty, "trajfile=\"user:nothing.dat\" trajindex=\"2\"");
    EXPECT_EQ(log.Text(), "cannot open trajectory file user:nothing.dat\n");
}

TEST(TrajectoryMover, CurveWithoutASegmentIsSaidOnceHoweverOftenItStarts)
{
    TCurve one{"one", {Pt(3, 4)}};
    const std::string file = UserFile("one.dat", FileBytes(1, {one}));
    TTrajectoryMover mover;
    LoadMover(mover, "trajfile=\"" + file + "\" time=\"1\"");
    TLogWatch log;
    // As a looping effector does: start again whenever it is not running.
    for (int frame = 0; frame < 100; ++frame) {
        if (!mover.IsRunning()) mover.Start();
        mover.Update(0.016f);
    }
    EXPECT_EQ(log.Text(), "trajectory 0 of " + file + " has no curve to travel, the mover stays\n");
    EXPECT_FALSE(mover.IsRunning());
}

TEST(TrajectoryMover, LoadingAgainWhileRunningStopsTheMover)
{
    const std::string file = ThreeCurveFile();
    TTrajectoryMover mover;
    LoadMover(mover, "trajfile=\"" + file + "\" time=\"1\"");
    mover.Start();
    mover.Update(0.25f);
    ASSERT_TRUE(mover.IsRunning());
    // The list is read again under the running mover: it must not walk the freed curves.
    LoadMover(mover, "trajfile=\"" + file + "\" time=\"1\"");
    EXPECT_FALSE(mover.IsRunning());
    mover.Update(0.25f);
    EXPECT_FLOAT_EQ(mover.GetX(), 0.0f);
    mover.Start();
    mover.Update(0.5f);
    EXPECT_NEAR(mover.GetX(), 50.0f, 0.01f);
}

TEST(TrajectoryMover, CopyTakesTheSettingsNotTheMover)
{
    TTrajectoryMover source;
    LoadMover(source, "trajfile=\"" + ThreeCurveFile() + "\" trajindex=\"2\" time=\"4\" calc_angle=\"0\"");
    source.Start();
    TTrajectoryMover copy(source);
    EXPECT_FALSE(copy.IsRunning());
    EXPECT_EQ(copy.mMover, nullptr);
    EXPECT_EQ(copy.mList.Count(), 3);
    EXPECT_EQ(copy.mTrajIndex, 2);
    EXPECT_EQ(copy.mFileName, source.mFileName);
    EXPECT_EQ(copy.mTimes, source.mTimes);
    EXPECT_FALSE(copy.mCalcAngle);
    copy.Start();
    copy.Update(2.0f);
    EXPECT_NEAR(copy.GetX(), 15.0f, 0.01f);
}

TEST(LineMover, WaypointsWithHoldTellTheListenerOnce)
{
    TLineMover mover;
    TLineCounter listener;
    mover.mListener = &listener;
    mover.SetWaypoints(0, {{0, 0, 100, 0, 1, 0.5f}, {100, 0, 100, 100, 1, 0}});
    int finishedAt = 0;
    for (int i = 1; i <= 12 && finishedAt == 0; ++i) {
        if (mover.Update(0.25f)) finishedAt = i;
        if (i == 2) {
            EXPECT_FLOAT_EQ(mover.mX, 50.0f);
        }
        if (i == 5) {
            EXPECT_FLOAT_EQ(mover.mY, 0.0f);  // the hold has ended; the next segment starts
        }
        if (i == 6) {
            EXPECT_FLOAT_EQ(mover.mY, 25.0f);
        }
    }
    EXPECT_EQ(finishedAt, 9);
    EXPECT_FLOAT_EQ(mover.mX, 100.0f);
    EXPECT_FLOAT_EQ(mover.mY, 100.0f);
    EXPECT_FALSE(mover.mActive);
    EXPECT_FALSE(mover.Update(0.25f));
    EXPECT_EQ(listener.told, 1);
}

TEST(LineMover, StartDelayEndsOnlyTheCallItLandsOnZero)
{
    const struct {
        float delay;
        float afterSecond;
    } cases[] = {{0.3f, 20.0f}, {0.4f, 0.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delay);
        TLineMover mover;
        mover.SetWaypoints(c.delay, {{0, 0, 100, 0, 1, 0}});
        mover.Update(0.2f);
        EXPECT_FLOAT_EQ(mover.mX, 0.0f);
        mover.Update(0.2f);
        EXPECT_FLOAT_EQ(mover.mX, c.afterSecond);
    }
}

TEST(LineMover, SetPointRestartAndState)
{
    TLineMover mover;
    EXPECT_FALSE(mover.Update(1));  // inactive
    mover.SetPoint(30, 40);
    EXPECT_FALSE(mover.mActive);
    EXPECT_FALSE(mover.Update(1));
    EXPECT_FLOAT_EQ(mover.mX, 30.0f);

    mover.StartSegment(0, 0, 10, 20, 2, 0, 0, false);
    EXPECT_FALSE(mover.Update(1));
    EXPECT_FLOAT_EQ(mover.mX, 5.0f);
    EXPECT_TRUE(mover.Update(1.5f));
    EXPECT_FLOAT_EQ(mover.mY, 20.0f);
    mover.Restart();
    EXPECT_FLOAT_EQ(mover.mX, 0.0f);
    EXPECT_FALSE(mover.Update(0.5f));
    EXPECT_FLOAT_EQ(mover.mX, 2.5f);

    TBufferBin buffer;
    mover.SaveState(&buffer);
    EXPECT_EQ(buffer.Size(), 54u);
    TLineMover loaded;
    loaded.LoadState(&buffer);
    EXPECT_FLOAT_EQ(loaded.mX, 2.5f);
    EXPECT_FLOAT_EQ(loaded.mY, 5.0f);
    EXPECT_TRUE(loaded.mActive);
    EXPECT_FALSE(loaded.mFinished);
    EXPECT_FLOAT_EQ(loaded.mToY, 20.0f);
    EXPECT_FLOAT_EQ(loaded.mDuration, 2.0f);
    EXPECT_FALSE(loaded.Update(0.5f));
    EXPECT_FLOAT_EQ(loaded.mX, 5.0f);
    EXPECT_TRUE(loaded.Update(1.0f));
}

std::vector<float> ArcAngles(TArcMover& arc, float dt, int updates)
{
    std::vector<float> angles;
    for (int i = 0; i < updates; ++i) {
        arc.Update(dt);
        angles.push_back(arc.mAngle);
    }
    return angles;
}

TEST(ArcMover, SpansWrapAroundZero)
{
    TArcMover cw;
    cw.Start(0, 0, 200, 100, 350, 10, 1, true, true, 0);
    std::vector<float> a = ArcAngles(cw, 0.25f, 4);
    EXPECT_NEAR(a[0], 355.0f, 1e-3);
    EXPECT_NEAR(a[1], 0.0f, 1e-3);
    EXPECT_NEAR(a[3], 10.0f, 1e-3);
    EXPECT_TRUE(cw.mFinished);

    TArcMover ccw;
    ccw.Start(0, 0, 200, 100, 10, 350, 1, false, true, 0);
    a = ArcAngles(ccw, 0.5f, 2);
    EXPECT_NEAR(a[0], 0.0f, 1e-3);
    EXPECT_NEAR(a[1], 350.0f, 1e-3);
}

TEST(ArcMover, RepeatsCountPasses)
{
    const struct {
        int repeats;
        int passes;  // -1: still running after ten
    } cases[] = {{3, 2}, {0, 1}, {1, 1}, {2, 1}, {-1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.repeats);
        TArcMover arc;
        arc.Start(0, 0, 100, 100, 0, 90, 1, true, true, c.repeats);
        int passes = 0;
        while (passes < 10 && !arc.mFinished) {
            if (arc.Update(1)) ++passes;
        }
        EXPECT_EQ(arc.mFinished ? passes : -1, c.passes);
    }
}

TEST(ArcMover, PointsOnTheEllipseAndState)
{
    const struct {
        float angle;
        int x, y;
    } cases[] = {{0, 0, 50}, {90, 100, 0}, {180, 200, 50}, {270, 100, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        TArcMover arc;
        // A pass from just before the angle that lands on it in one update.
        arc.Start(0, 0, 200, 100, c.angle == 0 ? 350.0f : c.angle - 10, c.angle, 1, true, true, 0);
        arc.Update(1);
        EXPECT_EQ(arc.mX, c.x);
        EXPECT_EQ(arc.mY, c.y);
    }

    TArcMover arc;
    arc.Start(0, 0, 100, 100, 0, 180, 2, true, true, 0);
    arc.Update(0.5f);
    TBufferBin buffer;
    arc.SaveState(&buffer);
    EXPECT_EQ(buffer.Size(), 10u);
    TArcMover loaded;
    loaded.Start(0, 0, 100, 100, 0, 180, 2, true, false, 0);
    loaded.LoadState(&buffer);
    EXPECT_FLOAT_EQ(loaded.mAngle, 45.0f);
    EXPECT_FLOAT_EQ(loaded.mElapsed, 0.5f);
    EXPECT_TRUE(loaded.mRunning);
    EXPECT_FALSE(loaded.mFinished);
}

TEST(ArcMover, FlatRectangleKeepsThePointAtTheCentre)
{
    TArcMover flat;
    flat.Start(0, 0, 100, 0, 90, 270, 2, true, true, 0);
    flat.Update(1);
    EXPECT_FLOAT_EQ(flat.mAngle, 180.0f);
    EXPECT_EQ(flat.mX, 50);
    EXPECT_EQ(flat.mY, 0);

    TArcMover dot;
    dot.Start(20, 30, 0, 0, 0, 180, 4, true, true, 0);
    for (int i = 0; i < 4; ++i) {
        dot.Update(1);
        EXPECT_EQ(dot.mX, 20);
        EXPECT_EQ(dot.mY, 30);
    }
}

}  // namespace
