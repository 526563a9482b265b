// The main menu's sky, water and sign over a minute of frames: the glow rises once, the rays
// turn about the sun's centre, the spray sprays, the water falls and the layers wrap in range.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <typeinfo>
#include <vector>

#include "core/app_state.h"
#include "core/localization.h"
#include "graphics/drawing_fixture.h"
#include "objects/decor_objects.h"
#include "objects/object_factory.h"
#include "objects/shape_text_objects.h"
#include "rooms/room.h"
#include "rooms/menu_scene_fixture.h"
#include "sound/sound_manager.h"
#include "ui/text_image.h"

using MenuSkyTest = MenuSceneTest;

TEST_F(MenuSkyTest, PiecesMoveOverAMinuteOfFrames)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    room.mShowRequest = true;
    room.OnShow();

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
        for (int y = 0; y < 250; y += 2)
            for (int x = 0; x < 1366; x += 2) {
                const TPixel p = Pixel(x, y);
                if (keep) {
                    keep->push_back(p);
                    continue;
                }
                const TPixel& q = skyAt4[static_cast<size_t>((y / 2) * 683 + x / 2)];
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
        ASSERT_LT(mist->mOffsets[0], 80.0f) << frame;
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
    room.FreeObjectResources();
}
