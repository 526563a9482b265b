// The shipped menu scene's moving pieces: a twinkling sun, a breathing cloud, a cloud drifting
// across the sky and a sun trembling in place, run for a minute as the menu runs them.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "audio_cases.h"
#include "core/app_state.h"
#include "graphics/drawing_fixture.h"
#include "objects/object.h"
#include "objects/object_factory.h"
#include "rooms/effector.h"
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

    TOwned<TObjectFactory> mOldObjects;
    TOwned<TEffectorsFactory> mOldEffectors;
};

TEST_F(MenuPieces, EachPieceMovesAsItsEffectorSaysForAMinute)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    room.mShowRequest = true;
    room.OnShow();

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

}  // namespace
