// The shipped main menu's moving pieces over 40 seconds, loaded and shown as the menu does:
// the clock hand, kite, bee and gulls, the belfry's flicker, the windows lit in turn, the
// door glow and the timed gust and birdsong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "objects/mover_objects.h"
#include "objects/object_factory.h"
#include "rooms/room.h"
#include "rooms/sound_calls.h"
#include "sound/sound_manager.h"
#include "test_support.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;
constexpr float kThirty = 30 * 0.017453292f;

class ShippedMenuMovers : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
        UseShippedAssets();
    }
    void TearDown() override
    {
        GetSoundManager()->RemoveSoundList("mainmenu");
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }
    TOwned<TObjectFactory> mOldFactory;
};

int LitWindow(const TObject& windows)
{
    int lit = -1;
    for (size_t i = 0; i < windows.mChildren.size(); ++i) {
        if (!windows.mChildren[i]->IsVisible()) continue;
        if (lit != -1) return -2;
        lit = static_cast<int>(i);
    }
    return lit;
}

// True when every window of the length, stepped along the samples, holds one that passes.
template <class Test>
bool EveryWindowHas(const std::vector<float>& values, int windowFrames, int firstFrame, Test test)
{
    for (int start = firstFrame; start + windowFrames <= static_cast<int>(values.size()); start += 10) {
        bool found = false;
        for (int i = start; i < start + windowFrames && !found; ++i) found = test(values[static_cast<size_t>(i)]);
        if (!found) return false;
    }
    return true;
}

TEST_F(ShippedMenuMovers, FortySecondsOfTheScene)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    TObject* windows = room.FindObject("windows");
    TObject* glow = room.FindObject("doorglow");
    ASSERT_NE(windows, nullptr);
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(LitWindow(*windows), 0);
    EXPECT_EQ(glow->mAlpha, 0.0f);

    TRecordedSoundCalls calls;
    room.mShowRequest = true;
    room.OnShow();
    const size_t showCalls = calls.mCalls.size();
    auto* hand = dynamic_cast<TMovingClockArrowObject*>(room.FindObject("clockhand"));
    TObject* kite = room.FindObject("kite");
    TObject* bee = room.FindObject("bee");
    TObject* gulls = room.FindObject("gulls");
    TObject* belfry = room.FindObject("belfry");
    ASSERT_TRUE(hand && kite && bee && gulls && belfry);
    ASSERT_NE(hand->mImage, nullptr);

    const int frames = 40 * 60;
    std::vector<float> handTurn, beeX, beeY, belfryAlpha, litWindow;
    std::vector<std::pair<float, float>> kiteAt, gullsAt;
    std::vector<int> gullFrames;
    std::map<std::string, std::vector<float>> heard;
    float glowAt2 = -1.0f;
    int litCount[3] = {0, 0, 0};
    bool pausedOffDivision = false;
    for (int frame = 1; frame <= frames; ++frame) {
        room.Update(kFrame);
        const float t = static_cast<float>(frame) / 60.0f;
        for (size_t i = showCalls; i < calls.mCalls.size(); ++i) heard[calls.mCalls[i]].push_back(t);
        calls.mCalls.resize(showCalls);
        const float angle = hand->mImage->GetAngle();
        handTurn.push_back(angle);
        if (hand->mPhase == 2) {
            const float off = std::fabs(angle / kThirty - std::round(angle / kThirty));
            if (off > 1e-4f) pausedOffDivision = true;
        }
        kiteAt.emplace_back(kite->mX, kite->mY);
        gullsAt.emplace_back(gulls->mX, gulls->mY);
        gullFrames.push_back(gulls->mCurrentFrame);
        beeX.push_back(bee->mX);
        beeY.push_back(bee->mY);
        belfryAlpha.push_back(belfry->mAlpha);
        const int lit = LitWindow(*windows);
        litWindow.push_back(static_cast<float>(lit));
        EXPECT_GE(lit, -1) << "two windows lit at " << t;
        if (t <= 0.55f) {
            EXPECT_EQ(lit, 0) << t;
        }
        if (frame == 120) glowAt2 = glow->mAlpha;
        if (frame >= 4 * 60 + 6) {
            EXPECT_EQ(glow->mAlpha, 0.0f) << t;
        }
        if (lit >= 0) ++litCount[lit];
        // The bee keeps to its cross, the gulls to their rectangle.
        EXPECT_LE(std::hypot(bee->mX - 490.0f, bee->mY - 740.0f), 8.001f) << t;
        EXPECT_TRUE(gulls->mX >= 600.0f && gulls->mX <= 800.0f && gulls->mY >= 150.0f && gulls->mY <= 230.0f) << t;
    }

    // The hand: whole divisions at every pause, once round by 12 s.
    EXPECT_FALSE(pausedOffDivision);
    float highest = 0.0f;
    for (int i = 0; i < 12 * 60; ++i) highest = std::max(highest, handTurn[static_cast<size_t>(i)]);
    EXPECT_NEAR(highest, 12 * kThirty, 1e-4f);

    // The kite's patrol, within a frame.
    auto kiteNear = [&](float seconds, float x, float y) {
        bool near = false;
        const int centre = static_cast<int>(seconds * 60.0f + 0.5f) - 1;
        for (int i = centre - 1; i <= centre + 1; ++i) {
            const auto& p = kiteAt[static_cast<size_t>(i)];
            near = near || std::hypot(p.first - x, p.second - y) < 1.5f;
        }
        EXPECT_TRUE(near) << "kite at " << seconds << " s: " << kiteAt[static_cast<size_t>(centre)].first << ", "
                          << kiteAt[static_cast<size_t>(centre)].second;
    };
    kiteNear(5.0f, 940.0f, 262.0f);
    kiteNear(11.0f, 880.0f, 175.0f);
    kiteNear(16.0f, 1000.0f, 215.0f);
    kiteNear(21.0f, 940.0f, 262.0f);

    // The bee reaches each tip of its cross in every two seconds.
    for (const auto& tip : {std::make_pair(498.0f, 740.0f), std::make_pair(482.0f, 740.0f),
                            std::make_pair(490.0f, 748.0f), std::make_pair(490.0f, 732.0f)}) {
        std::vector<float> distance;
        for (size_t i = 0; i < beeX.size(); ++i)
            distance.push_back(std::hypot(beeX[i] - tip.first, beeY[i] - tip.second));
        EXPECT_TRUE(EveryWindowHas(distance, 120, 0, [](float d) { return d < 0.5f; }))
            << tip.first << "," << tip.second;
    }

    // The gulls: along their ellipse, back at the start after each 16 s pass, their wings beating.
    for (size_t i = 0; i + 240 < gullsAt.size(); i += 240) {
        EXPECT_GT(std::hypot(gullsAt[i + 240].first - gullsAt[i].first, gullsAt[i + 240].second - gullsAt[i].second),
                  80.0f)
            << i;
    }
    const auto& at16 = gullsAt[16 * 60 - 1];
    EXPECT_LE(std::hypot(at16.first - 600.0f, at16.second - 190.0f), 2.0f) << at16.first << ", " << at16.second;
    EXPECT_NE(gullFrames.front(), gullFrames[30]);

    // The belfry flickers between dim and bright after its first swing.
    std::vector<float> afterFirst(belfryAlpha.begin() + 60, belfryAlpha.end());
    for (float a : afterFirst) EXPECT_TRUE(a >= 0.0f && a <= 0.9f) << a;
    EXPECT_TRUE(EveryWindowHas(afterFirst, 180, 0, [](float a) { return a <= 0.3f; }));
    EXPECT_TRUE(EveryWindowHas(afterFirst, 180, 0, [](float a) { return a >= 0.6f; }));

    // Each window is lit in every 2.7 s.
    for (int w = 0; w < 3; ++w) {
        const float wanted = static_cast<float>(w);
        EXPECT_TRUE(EveryWindowHas(litWindow, 162, 0, [wanted](float lit) { return lit == wanted; })) << w;
    }

    EXPECT_NEAR(glowAt2, 1.0f, 0.05f);

    // Only the gust and the birdsong play while the scene runs.
    ASSERT_EQ(heard.size(), 2u);
    ASSERT_EQ(heard["play scene_breeze"].size(), 1u);
    EXPECT_NEAR(heard["play scene_breeze"][0], 6.0f, 0.05f);
    const std::vector<float> birds{7.0f, 18.0f, 27.0f, 34.0f};
    ASSERT_EQ(heard["play scene_birds"].size(), birds.size());
    for (size_t i = 0; i < birds.size(); ++i) EXPECT_NEAR(heard["play scene_birds"][i], birds[i], 0.1f) << i;

    room.FreeObjectResources();
}

// What the moving kinds need of their data: points and times, a wide ellipse with a pass
// time, divisions, delays, and one-shot sounds of the global list.
TEST_F(ShippedMenuMovers, MovingKindsHaveWhatTheyNeed)
{
    TiXmlDocument sounds;
    ASSERT_TRUE(ParseXmlText(&sounds, ReadWholeFile(std::string(BRISALO_ASSETS) + "/sounds.xml")));
    auto oneShot = [&](const std::string& id) {
        for (TiXmlElement* e = sounds.RootElement()->FirstChildElement("sound"); e; e = e->NextSiblingElement("sound"))
            if (e->Attribute("id") && id == e->Attribute("id")) return std::string(e->Attribute("loop")) == "1";
        return false;
    };
    TiXmlDocument scene;
    ASSERT_TRUE(ParseXmlText(&scene, ReadWholeFile(std::string(BRISALO_ASSETS) + "/mainmenu.xml")));
    std::map<std::string, int> kinds;
    for (TiXmlElement* e = scene.RootElement()->FirstChildElement("Objects")->FirstChildElement("object"); e;
         e = e->NextSiblingElement("object")) {
        const std::string type = e->Attribute("type") ? e->Attribute("type") : "";
        const std::string id = e->Attribute("id") ? e->Attribute("id") : "";
        auto number = [e](const char* key) { return e->Attribute(key) ? std::atof(e->Attribute(key)) : 0.0; };
        ++kinds[type];
        if (type == "mover") {
            const std::string points = e->Attribute("poss") ? e->Attribute("poss") : "";
            EXPECT_GE(std::count(points.begin(), points.end(), ';'), 2) << id;
            EXPECT_NE(e->Attribute("time"), nullptr) << id;
        } else if (type == "arc_mover") {
            EXPECT_GE(number("rectW"), number("rectH")) << id;
            EXPECT_GT(number("time"), 0.0) << id;
        } else if (type == "moving_clock_arrow") {
            EXPECT_GT(number("div_num"), 0.0) << id;
        } else if (type == "delay_loops_sound") {
            EXPECT_NE(e->Attribute("delays"), nullptr) << id;
        }
        if (type == "timer" || type == "delay_loops_sound") {
            EXPECT_TRUE(oneShot(e->Attribute("sound") ? e->Attribute("sound") : "")) << id;
        }
    }
    for (const char* type : {"mover", "target", "arc_mover", "moving_clock_arrow", "timer", "seq_show",
                             "delay_loops_sound", "blending_obj", "light_obj"}) {
        EXPECT_EQ(kinds[type], 1) << type;
    }
}

}  // namespace
