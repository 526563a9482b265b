// The main menu's sky, water and sign over a minute of frames: the glow rises once, the rays
// turn about the sun's centre, the spray sprays, the water falls and the layers wrap in range;
// the butterfly flutters and the glints twinkle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <typeinfo>
#include <vector>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/localization.h"
#include "graphics/drawing_fixture.h"
#include "objects/decor_objects.h"
#include "objects/found_objects.h"
#include "objects/morph_objects.h"
#include "objects/object_factory.h"
#include "objects/sequence_objects.h"
#include "objects/shape_text_objects.h"
#include "rooms/menu_scene_fixture.h"
#include "rooms/room.h"
#include "sound/sound_manager.h"
#include "ui/text_image.h"

using MenuSkyTest = MenuSceneTest;

TEST_F(MenuSkyTest, PiecesMoveOverAMinuteOfFrames)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));

    auto* glow = FindKind<TFocuserObject>(room, "sunglow");
    auto* rays = FindKind<TAsterixObject>(room, "sunrays");
    auto* sky = FindKind<TCloudsObject>(room, "sky");
    auto* water = FindKind<TUVSpinObject>(room, "waterfall");
    auto* mist = FindKind<TCloudsObject>(room, "mist");
    auto* spray = FindKind<TParticleObject>(room, "spray");
    auto* sign = FindKind<TTextObject>(room, "sign");
    ASSERT_TRUE(glow && rays && sky && water && mist && spray && sign);
    ASSERT_NE(nullptr, rays->mImage);
    ASSERT_NE(nullptr, sign->mText);

    // The sky alone, drawn at 4 s and at 5 s: its layers have drifted.
    std::vector<TPixel> skyAt4;
    int skyChanged = 0;
    auto drawSky = [&](std::vector<TPixel>* keep) {
        Clear(0, 0, 0);
        sky->Draw(1.0f);
        for (int y = 136; y < 296; y += 2)
            for (int x = 0; x < 1366; x += 2) {
                const TPixel p = Pixel(x, y);
                if (keep) {
                    keep->push_back(p);
                    continue;
                }
                const TPixel& q = skyAt4[static_cast<size_t>(((y - 136) / 2) * 683 + x / 2)];
                if (std::abs(p.r - q.r) > 16 || std::abs(p.g - q.g) > 16 || std::abs(p.b - q.b) > 16) ++skyChanged;
            }
    };

    float lastV = water->mV1;
    for (int frame = 1; frame <= 3600; ++frame) {
        room.Update(1.0f / 60.0f);
        if (frame % 60 == 0) room.Draw();
        if (frame > 1) {
            ASSERT_NE(lastV, water->mV1) << frame;  // the first update starts the fall
        }
        lastV = water->mV1;
        ASSERT_GE(water->mV1, -1.0f) << frame;
        ASSERT_LE(water->mV1, 0.0f) << frame;
        ASSERT_GE(mist->mOffsets[0], 0.0f) << frame;
        ASSERT_LT(mist->mOffsets[0], static_cast<float>(mist->mLayerImages[0].GetWidth())) << frame;
        for (float offset : sky->mOffsets) {
            ASSERT_GE(offset, 0.0f) << frame;
            ASSERT_LT(offset, 1366.0f) << frame;
        }
        if (frame == 300) drawSky(nullptr);
        if (frame != 240) continue;
        drawSky(&skyAt4);
        SCOPED_TRACE("after 4 s");
        EXPECT_NEAR(0.5f, glow->mAlpha, 1e-4f);
        EXPECT_TRUE(glow->mFade.mFinished);
        EXPECT_NEAR(36.0f, rays->mImage->GetAngle() / 0.017453292f, 0.5f);
        // Whatever the angle, the sun's centre shows the middle of the rays' picture.
        float u = 0.0f, v = 0.0f;
        ASSERT_TRUE(ImagePointAt(*rays->mImage, 1236, 96, &u, &v));
        EXPECT_NEAR(100.0f, u, 1.0f);
        EXPECT_NEAR(100.0f, v, 1.0f);
        ASSERT_NE(nullptr, spray->mEmitter);
        EXPECT_GT(spray->mEmitter->Count(), 0);
        EXPECT_EQ(L"Colour Mill", sign->mText->mText);
        EXPECT_EQ(230, sign->mText->GetX());
        EXPECT_EQ(700, sign->mText->GetY());
    }
    EXPECT_GE(skyChanged, 300 / 4);  // every fourth pixel looked at

    // The sign's lettering is no scene object of its own; it follows the sign, truncated, and
    // shows a text set on it as given.
    EXPECT_TRUE(sign->mChildren.empty());
    sign->SetPosition(10.7f, 20.2f, true);
    EXPECT_EQ(10, sign->mText->GetX());
    EXPECT_EQ(20, sign->mText->GetY());
    sign->SetText("12/30");
    EXPECT_EQ(L"12/30", sign->mText->mText);
    room.FreeObjectResources();
}

namespace {

// The one visible wing, 1 to 4; 0 when none or several show.
int VisibleWing(const TObject& flutter)
{
    int wing = 0;
    for (size_t i = 0; i < flutter.mChildren.size(); ++i) {
        if (!flutter.mChildren[i]->IsVisible()) continue;
        if (wing != 0) return 0;
        wing = static_cast<int>(i) + 1;
    }
    return wing;
}

}  // namespace

// The butterfly of the menu's anim file and its glints.
TEST_F(MenuSkyTest, ButterflyFluttersAndGlintsTwinkle)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);

    TObject* host = room.FindObject("animhost");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(typeid(*host), typeid(TAnimFileObject));
    EXPECT_EQ(host->GetTypeCode(), 39);
    ASSERT_EQ(host->mChildren.size(), 1u);
    TObject* flutter = host->mChildren[0].get();
    EXPECT_EQ(flutter->GetName(), "flutter");
    EXPECT_EQ(flutter->GetTypeCode(), 19);
    ASSERT_EQ(flutter->mChildren.size(), 4u);
    for (const auto& object : room.mObjects) {
        EXPECT_NE(object->GetName(), "flutter");
        EXPECT_EQ(object->GetName().rfind("wing", 0), std::string::npos) << object->GetName();
    }
    for (const auto& wing : flutter->mChildren) EXPECT_NE(wing->mImage->GetTexture(), nullptr) << wing->GetName();

    room.mShowRequest = true;
    room.OnShow();
    EXPECT_EQ(VisibleWing(*flutter), 1);

    std::vector<int> wings{VisibleWing(*flutter)};
    for (int frame = 0; frame < 60; ++frame) {
        room.Update(1.0f / 60);
        const int wing = VisibleWing(*flutter);
        ASSERT_NE(wing, 0) << "frame " << frame;
        if (wing != wings.back()) wings.push_back(wing);
    }
    ASSERT_GE(wings.size(), 5u);
    EXPECT_EQ(std::vector<int>(wings.begin(), wings.begin() + 5), (std::vector<int>{1, 2, 3, 4, 1}));

    std::vector<THiddenObject*> glints;
    for (const char* id : {"glint1", "glint2", "glint3"}) {
        auto* glint = dynamic_cast<THiddenObject*>(room.FindObject(id));
        ASSERT_NE(glint, nullptr) << id;
        glints.push_back(glint);
    }
    std::vector<float> low(3, 1.0f), high(3, 0.0f);
    for (int frame = 0; frame < 600; ++frame) {
        room.Update(1.0f / 60);
        for (size_t i = 0; i < glints.size(); ++i) {
            low[i] = std::min(low[i], glints[i]->mAlpha);
            high[i] = std::max(high[i], glints[i]->mAlpha);
        }
    }
    for (size_t i = 0; i < glints.size(); ++i) {
        EXPECT_LE(low[i], 0.2f) << glints[i]->GetName();
        EXPECT_GE(high[i], 0.85f) << glints[i]->GetName();
        EXPECT_TRUE(glints[i]->IsActive()) << glints[i]->GetName();
    }
    room.FreeObjectResources();
}


// The changing pictures over frames of 1/16 s: the halo breathes behind the sun, the pond
// cross-fades and the balloon turns its colours.
TEST_F(MenuSkyTest, HaloPondAndBalloonChangeOnTheirOwn)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    auto* halo = FindKind<TMorphingObject>(room, "sunhalo");
    auto* pond = FindKind<TDoubleMorphingObject>(room, "pond");
    auto* balloon = FindKind<TMorphingObject2>(room, "balloon");
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
