// The main menu's changing pictures in the shipped scene: the halo's breath behind the sun,
// the pond's cross-fade and the balloon's turn of colours, over frames of 1/16 s.
#include <gtest/gtest.h>

#include <typeinfo>
#include <vector>

#include "core/app_state.h"
#include "core/localization.h"
#include "graphics/drawing_fixture.h"
#include "objects/morph_objects.h"
#include "objects/object_factory.h"
#include "rooms/room.h"
#include "sound/sound_manager.h"

namespace {

class MenuMorphTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
    }
    void TearDown() override
    {
        if (TSoundManager* sound = GetSoundManager()) sound->RemoveSoundList("mainmenu");
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }
    TOwned<TObjectFactory> mOldFactory;
};

template <class Kind>
Kind* Find(TRoom& room, const char* id)
{
    TObject* object = room.FindObject(id);
    EXPECT_NE(nullptr, object) << id;
    if (!object) return nullptr;
    EXPECT_EQ(typeid(Kind), typeid(*object)) << id;
    return dynamic_cast<Kind*>(object);
}

}  // namespace

TEST_F(MenuMorphTest, HaloPondAndBalloonChangeOnTheirOwn)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    room.mShowRequest = true;
    room.OnShow();
    auto* halo = Find<TMorphingObject>(room, "sunhalo");
    auto* pond = Find<TDoubleMorphingObject>(room, "pond");
    auto* balloon = Find<TMorphingObject2>(room, "balloon");
    ASSERT_TRUE(halo && pond && balloon);
    EXPECT_FLOAT_EQ(220.0f, halo->mWidth);
    EXPECT_FLOAT_EQ(220.0f, halo->mHeight);
    ASSERT_NE(nullptr, pond->mImage);

    std::vector<float> haloAlpha, pondOwn, pondMorph, balloonSecond;
    for (int frame = 1; frame <= 40; ++frame) {
        room.Update(1.0f / 16.0f);
        haloAlpha.push_back(halo->mMorphImage.mAlpha);
        pondOwn.push_back(pond->mImage->mAlpha);
        pondMorph.push_back(pond->mMorphImage.mAlpha);
        balloonSecond.push_back(balloon->mSecondImage.mAlpha);
    }
    EXPECT_NEAR(0.15f, haloAlpha[0], 1e-5f);
    EXPECT_NEAR(0.575f, haloAlpha[10], 1e-5f);
    EXPECT_NEAR(1.0f, haloAlpha[20], 1e-5f);
    EXPECT_LT(haloAlpha[21], haloAlpha[20]);  // then falling
    EXPECT_LT(haloAlpha[25], haloAlpha[21]);
    // The pond's runs last 32 updates: during them the two pictures add up to one.
    for (int n = 0; n + 1 < 31; ++n) EXPECT_NEAR(1.0f - pondMorph[n + 1], pondOwn[n], 1e-5f) << "update " << n + 1;
    for (int n = 0; n < 11; ++n) EXPECT_FLOAT_EQ(0.0f, balloonSecond[n]) << "update " << n + 1;
    EXPECT_GT(balloonSecond[11], 0.0f);
    room.FreeObjectResources();
}
