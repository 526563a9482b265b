#include "game/board_effects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/drawing_fixture.h"
#include "graphics/objects_manager.h"

namespace {

// 1/64 s adds up exactly in float, so every "reaches" comparison lands on a known update.
const float kStep = 1.0f / 64.0f;

struct TGoLog : EffectGoListener {
    void OnEffectGoFinished(EffectGo* effect) override { mEvents.push_back("finished " + Kind(effect)); }
    void OnEffectGoStarted(EffectGo* effect) override { mEvents.push_back("started " + Kind(effect)); }
    void OnEffectGoShown(EffectGo* effect) override { mEvents.push_back("shown " + Kind(effect)); }
    static std::string Kind(EffectGo* effect) { return std::to_string(effect->GetKind()); }
    std::vector<std::string> mEvents;
};

// Notices its own deletion, so the test sees when the owning list lets the caption go.
class TWatchedGo : public EffectGo {
public:
    TWatchedGo(EffectGoListener* listener, bool* deleted)
        : EffectGo("go", 683.0f, 384.0f, 0.5f, listener, 2, 1.5f), mDeleted(deleted)
    {
    }
    ~TWatchedGo() override { *mDeleted = true; }
    bool* mDeleted;
};

class BoardEffectsTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        MakeFolder("textures/effect");
        SolidPng("go.png", 100, 60, SDL_Color{255, 0, 0, 255});
        SolidPng("textures/effect/adot_alpha.png", 32, 32, SDL_Color{255, 255, 255, 255});
    }
};

TEST_F(BoardEffectsTest, CaptionRunsItsPhasesOnOneTimer)
{
    for (bool withListener : {true, false}) {
        SCOPED_TRACE(withListener ? "listener" : "no listener");
        TGoLog log;
        bool deleted = false;
        ObjectsManager list(true);
        auto* go = new TWatchedGo(withListener ? &log : nullptr, &deleted);
        list.Add(0.0f, go);
        for (int update = 1; update <= 160; ++update) {
            SCOPED_TRACE(update);
            list.Update(kStep);
            if (update == 160) break;
            ASSERT_FALSE(deleted);
            if (update == 16) {
                EXPECT_FLOAT_EQ(go->GetAlphaValue(), 0.625f);
            }
            if (update == 40) {
                EXPECT_FLOAT_EQ(go->GetAlphaValue(), 1.0f);
                EXPECT_FLOAT_EQ(go->GetScaleValue(), 1.0f);
            }
            if (update == 63 && withListener) {
                EXPECT_TRUE(log.mEvents.empty());
            }
            if (update == 64 && withListener) {
                EXPECT_EQ(log.mEvents, std::vector<std::string>{"shown 2"});
            }
            if (update == 88) {
                EXPECT_FLOAT_EQ(go->GetAlphaValue(), 0.75f);
                EXPECT_FLOAT_EQ(go->GetScaleValue(), 1.05f);
            }
            if (update >= 112) {
                EXPECT_FLOAT_EQ(go->GetScaleValue(), 1.1f);
            }
            if (update == 159 && withListener) {
                EXPECT_EQ(log.mEvents.size(), 1u);
            }
        }
        EXPECT_TRUE(deleted);
        EXPECT_EQ(list.Count(), 0u);
        if (withListener) {
            EXPECT_EQ(log.mEvents, (std::vector<std::string>{"shown 2", "finished 2"}));
        }
        else EXPECT_TRUE(log.mEvents.empty());
    }
}

TEST_F(BoardEffectsTest, CaptionIsDrawnCentredAndGrows)
{
    EffectGo go("go", 683.0f, 384.0f, 0.5f, nullptr, 1, 1.5f);
    for (int update = 1; update <= 112; ++update) {
        go.Update(kStep);
        if (update != 40 && update != 112) continue;
        Clear(0, 0, 0);
        go.Draw(1.0f);
        SDL_Rect expected = update == 40 ? SDL_Rect{633, 354, 100, 60} : SDL_Rect{628, 351, 110, 66};
        EXPECT_EQ(DrawnBox(0, 0, 0), expected) << update;
    }
}

TEST_F(BoardEffectsTest, HintBurstsTwentyTimesAndEndsWithItsLastParticle)
{
    EffectHint hint(300, 300, nullptr);
    for (int update = 1; update <= 20; ++update) {
        hint.Update(kStep);
        ASSERT_EQ(hint.Particles().Count(), static_cast<size_t>(6 * update));
    }
    for (int update = 21; update <= 178; ++update) hint.Update(kStep);
    EXPECT_FALSE(hint.IsDone());
    EXPECT_EQ(hint.Particles().Count(), 6u);
    EXPECT_TRUE(hint.Update(kStep));
    EXPECT_TRUE(hint.IsDone());
    EXPECT_EQ(hint.Particles().Count(), 0u);
}

TEST_F(BoardEffectsTest, HintDrawsItsDotsAroundItsCentre)
{
    EffectHint hint(300, 300, nullptr);
    hint.Update(kStep);
    Clear(0, 0, 0);
    static_cast<DrawObject&>(hint).Draw(1.0f);
    SDL_Rect box = DrawnBox(0, 0, 0);
    ASSERT_GT(box.w, 0);
    EXPECT_GE(box.x, 300 - 80);
    EXPECT_GE(box.y, 300 - 80);
    EXPECT_LE(box.x + box.w, 300 + 80);
    EXPECT_LE(box.y + box.h, 300 + 80);
    // The dots sit on the orbit, not at the centre.
    TPixel centre = Pixel(300, 300);
    EXPECT_EQ(centre.r + centre.g + centre.b, 0);
}

TEST_F(BoardEffectsTest, ParticleRollsAroundItsCentre)
{
    RollingParticle particle(0, 0, 100, 100, 50, 0.0f);
    particle.Update(0.5f);
    EXPECT_EQ(particle.GetPosition().x, 119);
    EXPECT_EQ(particle.GetPosition().y, 167);
    EXPECT_FALSE(particle.IsDone());
    for (int i = 0; i < 3; ++i) particle.Update(0.5f);
    EXPECT_FALSE(particle.IsDone());
    EXPECT_TRUE(particle.Update(0.5f));
    EXPECT_FLOAT_EQ(particle.GetAlphaValue(), 0.0f);

    // A centre at the end of the int range keeps its orbit inside it.
    RollingParticle far(0, 0, INT32_MAX, INT32_MIN, 50, 0.0f);
    far.Update(0.5f);
    EXPECT_EQ(far.GetPosition().x, INT32_MAX);
    EXPECT_EQ(far.GetPosition().y, INT32_MIN + 67);
    EffectHint hint(INT32_MAX, INT32_MIN, nullptr);
    hint.Update(kStep);
    EXPECT_EQ(hint.Particles().Count(), 6u);
}

}  // namespace
