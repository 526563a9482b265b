// Effectors that make their own keys: random tracks and their cycles, trajectories ridden to
// the end or round again, and the shake around where its piece is drawn.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <memory>

#include "core/numbers.h"
#include "core/random.h"
#include "core/xml_document.h"
#include "graphics/tweens.h"
#include "log_watch.h"
#include "objects/object.h"
#include "rooms/random_effectors.h"

namespace {

template <class Kind>
std::unique_ptr<Kind> Make(const std::string& xml)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    auto effector = std::make_unique<Kind>();
    effector->LoadXml(doc.RootElement());
    return effector;
}

const TEffectorChannel& Track(const TEffector& effector, int channel) { return effector.mSlots[channel].mChannel; }

// The Part-sized case: x between -10 and 10, two changes, 1 s steps, 0.5 s holds, 2 s last hold.
const char* const kTwoChanges =
    R"(<effector tracks="x" minmax="-10,10" changes="2" dt="1" tbc="0.5" tbr="2" %s/>)";

std::string TwoChanges(const char* more)
{
    char text[256];
    std::snprintf(text, sizeof text, kTwoChanges, more);
    return text;
}

struct TDraws {
    float p = 0.0f, q = 0.0f;
};

// The draws of one cycle of the case: the holds, then per change the step and the value.
TDraws ExpectedDraws(unsigned seed)
{
    SeedRandom(seed);
    TDraws d;
    RandomFloat(0.5f, 0.5f);
    RandomFloat(2.0f, 2.0f);
    RandomFloat(1.0f, 1.0f);
    d.p = RandomFloat(-10.0f, 10.0f);
    RandomFloat(1.0f, 1.0f);
    d.q = RandomFloat(-10.0f, 10.0f);
    return d;
}

TEST(RandomEffector, OneCycleHoldsEachChangeAndStartsAnew)
{
    const TDraws d = ExpectedDraws(11);
    SeedRandom(11);
    auto effector = Make<TRandomEffector>(TwoChanges(""));
    DrawObject target;
    target.mX = 100.0f;
    effector->SetTarget(&target);
    const TEffectorChannel& x = Track(*effector, kChannelX);
    const std::vector<float> times = {0.0f, 1.0f, 1.5f, 2.5f, 4.5f};
    const std::vector<float> values = {100.0f, d.p, d.p, d.q, d.q};
    EXPECT_EQ(x.mTimes, times);
    EXPECT_EQ(x.mValues, values);
    EXPECT_FLOAT_EQ(effector->mCycleLength, 4.5f);

    // Every change is reached and held, the second too.
    for (int i = 0; i < 6; ++i) effector->Update(0.25f);
    EXPECT_FLOAT_EQ(target.mX, d.p);
    for (int i = 0; i < 6; ++i) effector->Update(0.25f);
    EXPECT_FLOAT_EQ(target.mX, d.q);
    for (int i = 0; i < 6; ++i) effector->Update(0.25f);
    // At 4.5 s the cycle is drawn again: new keys, starting from the base value.
    ASSERT_EQ(x.mTimes.size(), 5u);
    EXPECT_EQ(x.mValues[0], 100.0f);
    EXPECT_NE(x.mValues[1], d.p);
    EXPECT_TRUE(effector->mRegenActive);
}

TEST(RandomEffector, ReturnRestAndNoChanges)
{
    DrawObject target;
    target.mX = 100.0f;

    auto back = Make<TRandomEffector>(TwoChanges(R"(rts="1")"));
    back->SetTarget(&target);
    EXPECT_EQ(Track(*back, kChannelX).mValues[3], 100.0f);

    auto rest = Make<TRandomEffector>(TwoChanges(R"(rst="1")"));
    rest->SetTarget(&target);
    EXPECT_EQ(Track(*rest, kChannelX).mTimes.front(), 2.0f);
    EXPECT_EQ(Track(*rest, kChannelX).mTimes.back(), 6.5f);
    EXPECT_FLOAT_EQ(rest->mCycleLength, 6.5f);

    auto still = Make<TRandomEffector>(R"(<effector tracks="x" minmax="-10,10" dt="1" tbc="0.5"/>)");
    still->SetTarget(&target);
    EXPECT_EQ(Track(*still, kChannelX).mTimes.size(), 1u);
    EXPECT_EQ(still->mCycleLength, 0.0f);
    for (int i = 0; i < 100; ++i) still->Update(0.1f);
    EXPECT_FALSE(still->mRegenActive);
    EXPECT_EQ(Track(*still, kChannelX).mTimes.size(), 1u);
    EXPECT_EQ(target.mX, 100.0f);
}

TEST(RandomEffector, ChangesOutsideTheirRangeAreBoundedWithALine)
{
    struct Case {
        const char* changes;
        int32_t kept;
        const char* line;
    };
    // One change past the limit comes first: without the bound it fails here at once, where two
    // billion would only run out of memory.
    const Case cases[] = {
        {"4097", TRandomEffector::kMaxChanges, "Effector e: changes 4097 taken as 4096"},
        {"2000000000", TRandomEffector::kMaxChanges, "Effector e: changes 2000000000 taken as 4096"},
        {"-3", 0, "Effector e: changes -3 taken as 0"},
        {"4096", TRandomEffector::kMaxChanges, nullptr},
    };
    for (const Case& c : cases) {
        TLogWatch log;
        auto effector = Make<TRandomEffector>(std::string(R"(<effector name="e" tracks="x,y" minmax="-1,1;-1,1" dt="1" changes=")") +
                                              c.changes + R"("/>)");
        ASSERT_EQ(effector->mChanges, c.kept) << c.changes;
        EXPECT_EQ(log.CountStartingWith("Effector e: changes "), c.line ? 1u : 0u) << c.changes;
        if (c.line) {
            EXPECT_TRUE(log.Has(c.line)) << c.changes;
        }
        DrawObject target;
        effector->SetTarget(&target);
        EXPECT_EQ(Track(*effector, kChannelX).mTimes.size(), 1u + 2u * static_cast<size_t>(c.kept)) << c.changes;
    }
}

TEST(RandomEffector, RelativeValuesStayNearTheValueAtGeneration)
{
    DrawObject target;
    target.mAlpha = 0.5f;
    auto effector =
        Make<TRandomEffector>(R"(<effector tracks="o" minmax="-5,5" relative="1" changes="3" dt="1" tbc="1"/>)");
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SeedRandom(seed);
        effector->SetTarget(&target);
        const std::vector<float>& values = Track(*effector, kChannelAlpha).mValues;
        for (size_t i = values.size() - 6; i < values.size(); ++i) EXPECT_LE(std::fabs(values[i] - 0.5f), 5.0f);
        effector->Reset();
    }
}

TEST(RandomEffector, TracksWithoutARangeHoldTheirBaseValue)
{
    DrawObject target;
    target.mX = 100.0f;
    target.mY = 50.0f;
    auto effector = Make<TRandomEffector>(R"(<effector tracks="x,q,y" minmax="-10,10" changes="2" dt="1"/>)");
    effector->SetTarget(&target);
    ASSERT_EQ(effector->mTracks.size(), 2u) << "an unknown id takes no range";
    for (float v : Track(*effector, kChannelY).mValues) EXPECT_EQ(v, 50.0f);
    EXPECT_NE(Track(*effector, kChannelX).mValues[1], 100.0f);
}

TEST(RandomEffector, OwnStartValuesAreDrawnAgainEachCycle)
{
    SeedRandom(3);
    DrawObject target;
    auto effector = Make<TRandomEffectorOwnSV>(
        R"(<effector tracks="s" sminmax="0.39,0.41" minmax="0.36,0.44" dt="1" tbc="0.5" rts="1"/>)");
    effector->SetTarget(&target);
    const float first = effector->mBaseValues.at(0);
    EXPECT_EQ(Track(*effector, kChannelScale).mValues.front(), first);
    EXPECT_GE(first, 0.39f);
    EXPECT_LE(first, 0.41f);
    for (int i = 0; i < 16; ++i) effector->Update(0.1f);
    EXPECT_NE(effector->mBaseValues.at(0), first);
    EXPECT_EQ(Track(*effector, kChannelScale).mValues.front(), effector->mBaseValues.at(0));
}

// What the x track reads agrees with what it writes: a centred piece comes back to where
// it started instead of walking by its half width.
TEST(RandomEffector, AReturningTrackEndsWhereTheCentredPieceStarted)
{
    TObject piece;
    piece.mDrawType = 1;
    piece.mWidth = piece.mHeight = 40.0f;
    piece.SetPosition(600.0f, 300.0f, true);
    auto effector = Make<TRandomEffector>(TwoChanges(R"(rts="1")"));
    effector->SetTarget(&piece);
    for (int i = 0; i < 18; ++i) effector->Update(0.25f);
    EXPECT_FLOAT_EQ(piece.mX, 600.0f);
}

// ---- Trajectories ----

const char* const kLoopCurve =
    R"(trajfile="ellipse" elipsex1="100" elipsey1="100" elipsew="200" elipseh="100" amplituda="20" time="1")";

TEST(TrajectoryEffector, OneRunHidesAtTheEndAndTheNextPlayShows)
{
    auto effector = Make<TTrajectoryEffector>(std::string("<effector loop=\"1\" ") + kLoopCurve + "/>");
    DrawObject target;
    effector->SetTarget(&target);
    ASSERT_TRUE(effector->mMover.IsRunning());
    for (int i = 0; i < 70 && effector->mMover.IsRunning(); ++i) effector->Update(1.0f / 60.0f);
    EXPECT_FALSE(effector->mMover.IsRunning());
    EXPECT_FALSE(target.IsVisible());
    effector->Play();
    EXPECT_TRUE(target.IsVisible());
    EXPECT_TRUE(effector->mMover.IsRunning());
}

TEST(TrajectoryEffector, EndlessRunsStartAgainAndAClonerunsOnAlone)
{
    auto effector = Make<TTrajectoryEffector>(std::string("<effector ") + kLoopCurve + "/>");
    DrawObject target;
    effector->SetTarget(&target);
    for (int i = 0; i < 70; ++i) {
        effector->Update(1.0f / 60.0f);
        ASSERT_TRUE(effector->mMover.IsRunning()) << i;
    }
    EXPECT_TRUE(target.IsVisible());

    std::unique_ptr<TEffector> clone(effector->Clone());
    effector.reset();
    DrawObject other;
    clone->SetTarget(&other);
    const float x = other.mX;
    for (int i = 0; i < 20; ++i) clone->Update(1.0f / 60.0f);
    EXPECT_NE(other.mX, x);
}

// ---- Shake ----

TEST(ShakeEffector, PathAndDurationsComeFromTheGenerator)
{
    DrawObject target;
    target.mX = 200.0f;
    target.mY = 100.0f;
    TShakeEffector shake;
    shake.SetTarget(&target);
    SeedRandom(5);
    shake.Play();

    SeedRandom(5);
    const float angles[5] = {0.0f, 180.0f, 90.0f, 300.0f, 45.0f};
    float r = 10.0f;
    float px[6] = {200.0f}, py[6] = {100.0f};
    for (int i = 1; i <= 4; ++i) {
        const float a = angles[i] * 0.017453292f;
        px[i] = static_cast<float>(TruncToInt(200.0f - std::cos(a) * r));
        py[i] = static_cast<float>(TruncToInt(100.0f - std::sin(a) * r));
        r = RandomFloat(10.0f, 15.0f);
    }
    px[5] = 200.0f;
    py[5] = 100.0f;
    const std::vector<TLineWaypoint>& path = shake.mMover.mWaypoints;
    ASSERT_EQ(path.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(path[i].fromX, px[i]);
        EXPECT_EQ(path[i].fromY, py[i]);
        EXPECT_EQ(path[i].toX, px[i + 1]);
        EXPECT_EQ(path[i].toY, py[i + 1]);
        EXPECT_EQ(path[i].duration, RandomFloat(0.2f, 0.3f));
        EXPECT_EQ(path[i].hold, 0.0f);
    }
}

TEST(ShakeEffector, StopGlidesBackAndRests)
{
    DrawObject target;
    target.mX = 200.0f;
    target.mY = 100.0f;
    TShakeEffector shake;
    shake.SetTarget(&target);
    shake.Play();
    shake.Update(0.1f);
    EXPECT_NE(target.mX, 200.0f);
    shake.Stop();
    for (int i = 0; i < 4; ++i) shake.Update(0.05f);
    shake.Update(0.001f);
    EXPECT_EQ(target.mX, 200.0f);
    EXPECT_EQ(target.mY, 100.0f);
    for (int i = 0; i < 60; ++i) shake.Update(0.05f);
    EXPECT_EQ(target.mX, 200.0f);
    EXPECT_EQ(target.mY, 100.0f);
}

// Played at load, before it has a piece: the shake waits for its piece and shakes where it
// is drawn, whatever its draw type.
TEST(ShakeEffector, PlayedAtLoadShakesWhereThePieceIsDrawn)
{
    for (int drawType : {0, 1}) {
        SCOPED_TRACE(drawType);
        TObject piece;
        piece.mDrawType = drawType;
        piece.mWidth = piece.mHeight = 40.0f;
        piece.SetPosition(600.0f, 300.0f, true);
        const float drawnX = piece.GetX();
        const float drawnY = piece.GetY();
        EXPECT_EQ(drawnX, drawType == 1 ? 580.0f : 600.0f);
        auto shake = Make<TShakeEffector>("<effector/>");
        EXPECT_TRUE(shake->mWaiting);
        shake->SetTarget(&piece);
        for (int frame = 0; frame < 15 * 60; ++frame) {
            shake->Update(1.0f / 60.0f);
            ASSERT_LE(std::fabs(piece.GetX() - drawnX), 16.0f) << frame;
            ASSERT_LE(std::fabs(piece.GetY() - drawnY), 16.0f) << frame;
            if (drawType == 1) {
                ASSERT_FLOAT_EQ(piece.mX, shake->mMover.mX + 40.0f * 0.5f * piece.GetScaleX());
            }
        }
    }
}

TEST(ShakeEffector, AWaitingShakeStopsWithoutMoving)
{
    auto shake = Make<TShakeEffector>("<effector/>");
    shake->Stop();
    EXPECT_FALSE(shake->mWaiting);
    std::unique_ptr<TEffector> clone(Make<TShakeEffector>("<effector/>")->Clone());
    EXPECT_TRUE(static_cast<TShakeEffector*>(clone.get())->mWaiting);
}

}  // namespace
