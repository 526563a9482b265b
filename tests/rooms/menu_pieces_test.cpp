// The shipped menu scene's moving pieces: a twinkling sun, a breathing cloud, a cloud drifting
// across the sky on the file's "drift" curve and a sun trembling in place, run for a minute as
// the menu runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/app_state.h"
#include "graphics/drawing_fixture.h"
#include "objects/object.h"
#include "graphics/trajectories.h"
#include "objects/object_factory.h"
#include "rooms/effector.h"
#include "rooms/random_effectors.h"
#include "rooms/room.h"
#include "rooms/room_factory.h"
#include "sound/sound_manager.h"

namespace {

class MenuPieces : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        TAppState& app = GetAppState();
        mOldObjects = std::move(app.mObjectFactory);
        app.mObjectFactory.reset(new TObjectFactory());
        mOldEffectors = std::move(app.mEffectorsFactory);
        app.mEffectorsFactory.reset(new TEffectorsFactory());
    }
    void TearDown() override
    {
        TAppState& app = GetAppState();
        app.mObjectFactory = std::move(mOldObjects);
        app.mEffectorsFactory = std::move(mOldEffectors);
        if (TSoundManager* sound = GetSoundManager()) sound->RemoveSoundList("mainmenu");
        CanvasTest::TearDown();
    }

    // The shipped menu read, its pictures loaded and shown once, as the menu does.
    static void ShowMenu(TRoom& room)
    {
        ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
        room.LoadObjectResources(0);
        room.mShowRequest = true;
        room.OnShow();
    }

    TOwned<TObjectFactory> mOldObjects;
    TOwned<TEffectorsFactory> mOldEffectors;
};

TEST_F(MenuPieces, EachPieceMovesAsItsEffectorSaysForAMinute)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowMenu(room));

    const char* const pieces[4][2] = {{"spark", "twinkle"}, {"puff", "breathe"}, {"shaker", "tremble"}, {"drifter", "drift"}};
    for (const auto& piece : pieces) {
        TObject* object = room.FindObject(piece[0]);
        ASSERT_NE(object, nullptr) << piece[0];
        ASSERT_NE(object->mEffector, nullptr) << piece[0];
        EXPECT_EQ(object->mEffector->mName, piece[1]);
        EXPECT_EQ(object->mEffector->mTarget, object);
    }
    TObject* spark = room.FindObject("spark");
    TObject* puff = room.FindObject("puff");
    TObject* shaker = room.FindObject("shaker");
    TObject* drifter = room.FindObject("drifter");

    std::set<float> alphas, scales;
    float lastX = drifter->GetX(), lastY = drifter->GetY();
    for (int frame = 1; frame <= 60 * 60; ++frame) {
        room.Update(1.0f / 60.0f);
        ASSERT_GE(spark->mAlpha, 0.3f - 1e-5f) << frame;
        ASSERT_LE(spark->mAlpha, 1.0f + 1e-5f) << frame;
        ASSERT_GE(puff->GetScaleX(), 0.36f - 1e-5f) << frame;
        ASSERT_LE(puff->GetScaleX(), 0.44f + 1e-5f) << frame;
        ASSERT_LE(std::fabs(shaker->GetX() - 35.0f), 16.0f) << frame;
        ASSERT_LE(std::fabs(shaker->GetY() - 265.0f), 16.0f) << frame;
        alphas.insert(spark->mAlpha);
        scales.insert(puff->GetScaleX());
        if (frame % 60 == 0) {
            EXPECT_TRUE(drifter->GetX() != lastX || drifter->GetY() != lastY) << frame;
            // Its loop keeps to the sky left of the title and below the player's name.
            EXPECT_GE(drifter->GetX(), 100.0f);
            EXPECT_LE(drifter->GetX(), 300.0f);
            EXPECT_GE(drifter->GetY(), 150.0f);
            EXPECT_LE(drifter->GetY(), 230.0f);
            lastX = drifter->GetX();
            lastY = drifter->GetY();
        }
    }
    EXPECT_GE(alphas.size(), 10u);
    EXPECT_GE(scales.size(), 10u);
    room.FreeObjectResources();
}

// The drifting cloud rides the "drift" curve of the shipped trajectory file, closed on itself:
// over one pass of its fourteen seconds it comes by every point of that curve.
TEST_F(MenuPieces, DriftingCloudRidesTheDriftCurveOfTheTrajectoryFile)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowMenu(room));
    TObject* drifter = room.FindObject("drifter");
    ASSERT_NE(drifter, nullptr);
    auto* drift = dynamic_cast<TTrajectoryEffector*>(drifter->mEffector);
    ASSERT_NE(drift, nullptr);
    EXPECT_EQ(drift->mMover.mFileName, "trajectories.dat");
    TTrajectoryList shipped;
    ASSERT_TRUE(shipped.Load("trajectories.dat"));
    ASSERT_GT(shipped.Count(), drift->mMover.mTrajIndex);
    const TTrajectory& curve = *shipped.Get(drift->mMover.mTrajIndex);
    EXPECT_EQ(curve.mName, "drift");
    ASSERT_GE(curve.mPoints.size(), 3u);
    EXPECT_EQ(curve.mPoints.front().x, curve.mPoints.back().x);
    EXPECT_EQ(curve.mPoints.front().y, curve.mPoints.back().y);

    std::vector<float> nearest(curve.mPoints.size(), 1e9f);
    for (int frame = 1; frame <= 14 * 60; ++frame) {
        room.Update(1.0f / 60.0f);
        for (size_t i = 0; i < curve.mPoints.size(); ++i)
            nearest[i] = std::min(nearest[i], std::hypot(drifter->GetX() - curve.mPoints[i].x,
                                                         drifter->GetY() - curve.mPoints[i].y));
    }
    for (size_t i = 0; i < nearest.size(); ++i) EXPECT_LE(nearest[i], 2.0f) << "point " << i;
    room.FreeObjectResources();
}

}  // namespace
