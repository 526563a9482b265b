#include "graphics/trajectory_sprite.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <memory>
#include <string>

#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"

namespace {

const std::string kSheet = "filename=\"sheet.png\" frames=\"2\" speed=\"0.1\" cadrw=\"16\" cadrh=\"16\" ";

class TrajectorySpriteTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        SolidPng("sheet.png", 32, 16, SDL_Color{0, 200, 0, 255});
        ASSERT_TRUE(GetTrajectoryList().Load(std::string(BRISALO_ASSETS) + "/trajectories.dat"));
    }
    void TearDown() override
    {
        mSprite.reset();
        GetTrajectoryList().Clear();
        CanvasTest::TearDown();
    }

    TrajectoryMoverCadrImage2& Load(const std::string& attributes, const std::string& children = "")
    {
        TiXmlDocument doc;
        ParseXmlText(&doc, "<sprite " + attributes + ">" + children + "</sprite>");
        mSprite = std::make_unique<TrajectoryMoverCadrImage2>();
        mSprite->LoadXml(doc.RootElement());
        return *mSprite;
    }

    std::unique_ptr<TrajectoryMoverCadrImage2> mSprite;
};

TEST_F(TrajectorySpriteTest, FindTrajectoryMatchesTheWholeName)
{
    EXPECT_NE(nullptr, FindTrajectory("menuloop"));
    for (const char* name : {"MenuLoop", "menu", "menuloop ", ""}) EXPECT_EQ(nullptr, FindTrajectory(name)) << name;
}

TEST_F(TrajectorySpriteTest, SpriteWithoutPathStandsAtItsOffsetsAndIsAlwaysDone)
{
    // Type 2 has no motion; type 0 naming no curve has nothing to ride.
    for (const std::string path : {"trtype=\"2\"", "trtype=\"0\" tr=\"nowhere\" movetime=\"100\""}) {
        TrajectoryMoverCadrImage2& sprite = Load(kSheet + path + " offx=\"40\" offy=\"30\" startagaintime=\"0.5\"");
        ASSERT_TRUE(sprite.mSheetInUse);
        for (int i = 0; i < 8; ++i) {
            EXPECT_TRUE(sprite.Update(0.25f)) << path;
            EXPECT_FALSE(sprite.mStartAgain.mRunning) << path;
        }
        EXPECT_FLOAT_EQ(40.0f, sprite.mSheet.GetImage().mX) << path;
        EXPECT_FLOAT_EQ(30.0f, sprite.mSheet.GetImage().mY) << path;
        EXPECT_TRUE(sprite.mSheet.IsPlaying()) << path;
    }
}

TEST_F(TrajectorySpriteTest, NamedCurveMovesAndTurnsTheAnimation)
{
    TrajectoryMoverCadrImage2& sprite =
        Load(kSheet + "trtype=\"0\" tr=\"menuloop\" movetime=\"120\" offx=\"5\" offy=\"-7\" addangle=\"90\"",
             "<object particle=\"trail.ini\" z=\"-1\"/>");
    ASSERT_EQ(1u, sprite.mParticles.mItems.size());
    MoveObj_t alongside(120.0f, FindTrajectory("menuloop"), TMoveOwnerRecord());
    alongside.mNoRotation = false;
    for (int i = 0; i < 12; ++i) {
        bool done = sprite.Update(0.1f);
        alongside.Update(0.1f);
        EXPECT_EQ(alongside.IsFinished(), done);
        EXPECT_FLOAT_EQ(std::trunc(5.0f + alongside.GetX()), sprite.mSheet.GetImage().mX) << i;
        EXPECT_FLOAT_EQ(std::trunc(-7.0f + alongside.GetY()), sprite.mSheet.GetImage().mY) << i;
        EXPECT_NEAR(90.0f * 0.017453292f - alongside.GetAngle(), sprite.mSheet.GetAngle(), 1e-5f) << i;
        // The particles travel with the sprite, unrounded.
        EXPECT_FLOAT_EQ(5.0f + alongside.GetX(), sprite.mParticles.mItems[0]->mShiftX) << i;
    }
    EXPECT_NE(0.0f, alongside.GetAngle()) << "the curve turns the sprite";
}

TEST_F(TrajectorySpriteTest, WaypointsComeFromPointPairsWithTheirTimes)
{
    TrajectoryMoverCadrImage2& sprite =
        Load(kSheet + "trtype=\"1\" points=\"0,0;100,0;100,0;100,50;7,7\" movetime=\"1;0.5\" delayafter=\"0.5\"");
    ASSERT_EQ(2u, sprite.mLine.mWaypoints.size());
    const TLineWaypoint& second = sprite.mLine.mWaypoints[1];
    EXPECT_FLOAT_EQ(100.0f, second.toX);
    EXPECT_FLOAT_EQ(50.0f, second.toY);
    EXPECT_FLOAT_EQ(0.5f, sprite.mLine.mWaypoints[0].hold);
    EXPECT_FLOAT_EQ(0.5f, second.duration);
    EXPECT_FLOAT_EQ(0.0f, second.hold);
    // Driven alongside a line mover given the same two waypoints.
    TLineMover alongside;
    alongside.SetWaypoints(0.0f, {TLineWaypoint{0, 0, 100, 0, 1.0f, 0.5f}, TLineWaypoint{100, 0, 100, 50, 0.5f, 0.0f}});
    alongside.Restart();
    for (int i = 0; i < 12; ++i) {
        alongside.Update(0.25f);
        EXPECT_EQ(alongside.mFinished, sprite.Update(0.25f)) << i;
        EXPECT_FLOAT_EQ(alongside.mX, sprite.mSheet.GetImage().mX) << i;
        EXPECT_FLOAT_EQ(alongside.mY, sprite.mSheet.GetImage().mY) << i;
    }
    EXPECT_FLOAT_EQ(100.0f, sprite.mSheet.GetImage().mX);
    EXPECT_FLOAT_EQ(50.0f, sprite.mSheet.GetImage().mY);
    EXPECT_TRUE(sprite.Update(0.25f)) << "done is kept";
}

TEST_F(TrajectorySpriteTest, StartsAgainAfterArriving)
{
    const std::string path = kSheet + "trtype=\"1\" points=\"0,0;100,0\" movetime=\"0.5\" ";
    // Without a start-again time it stays at the end.
    TrajectoryMoverCadrImage2& staying = Load(path + "startagaintime=\"0\"");
    for (int i = 0; i < 20; ++i) staying.Update(0.25f);
    EXPECT_TRUE(staying.mLine.mFinished);
    EXPECT_FLOAT_EQ(100.0f, staying.mSheet.GetImage().mX);

    // Arrival in the second update; its 0.25 s counts first, so the sixth update from it restarts.
    TrajectoryMoverCadrImage2& again = Load(path + "startagaintime=\"1.5\"");
    EXPECT_FALSE(again.Update(0.25f));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(again.Update(0.25f)) << i;
    EXPECT_TRUE(again.mStartAgain.mRunning);
    again.Update(0.25f);
    EXPECT_FALSE(again.mLine.mFinished);
    EXPECT_FALSE(again.mStartAgain.mRunning);
    EXPECT_FALSE(again.Update(0.25f));
    EXPECT_FLOAT_EQ(50.0f, again.mSheet.GetImage().mX);

    // A curve's mover reports its end at every update past it: still one start-again.
    TrajectoryMoverCadrImage2& curve = Load(kSheet + "trtype=\"0\" tr=\"menuloop\" movetime=\"1000000\" startagaintime=\"1.5\"");
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(curve.Update(0.25f)) << i;
    curve.Update(0.25f);
    EXPECT_FALSE(curve.mMover.IsFinished());
    EXPECT_FLOAT_EQ(0.0f, curve.mMover.mElapsed);
}

TEST_F(TrajectorySpriteTest, ItemChildrenMakeASequenceAnimation)
{
    SolidPng("a.png", 8, 8, SDL_Color{255, 0, 0, 255});
    TrajectoryMoverCadrImage2& sequence =
        Load("trtype=\"2\" offx=\"20\" offy=\"10\"", "<item name=\"a.png\"/><item name=\"a.png\"/>");
    EXPECT_FALSE(sequence.mSheetInUse);
    EXPECT_EQ(2u, sequence.mSequence.GetFrames().size());
    EXPECT_TRUE(sequence.mSequence.IsPlaying());
    TrajectoryMoverCadrImage2& sheet = Load(kSheet + "trtype=\"2\"");
    EXPECT_TRUE(sheet.mSheetInUse);
    EXPECT_EQ(2u, sheet.mSheet.GetFrameRects().size());
}

}  // namespace
