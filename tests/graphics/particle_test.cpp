#include "graphics/particle.h"

#include "drawing_fixture.h"

namespace {

class SpriteParticleTest : public CanvasTest {
protected:
    void SetUp() override
    {
        Open(160, 120);
        MakeFolder("textures");
        SolidPng("textures/strip.png", 40, 8, SDL_Color{255, 255, 255, 255});
    }
};

TEST_F(SpriteParticleTest, FadesOutInTenStepsThenDrawsNothing)
{
    Particle p(20.0f, 30.0f, 1.0f, "textures/strip", 8, 0, 8, 8);
    p.mVelX = 2.0f;
    Clear(0, 0, 0);
    p.Draw(1.0f);
    EXPECT_EQ(SDL_Rect({20, 30, 8, 8}), DrawnBox(0, 0, 0));
    for (int i = 1; i <= 9; ++i) EXPECT_FALSE(p.Update(0.0f)) << "update " << i;
    EXPECT_EQ(38.0f, p.mX);
    EXPECT_EQ(39.0f, p.mY);
    EXPECT_TRUE(p.Update(0.5f));
    EXPECT_TRUE(p.IsDone());
    EXPECT_TRUE(p.Update(0.5f));
    EXPECT_EQ(40.0f, p.mX) << "a done particle stays put";
    Clear(0, 0, 0);
    p.Draw(1.0f);
    EXPECT_EQ(SDL_Rect({0, 0, 0, 0}), DrawnBox(0, 0, 0));
}

TEST_F(SpriteParticleTest, FramesAdvanceEveryDelayUpdates)
{
    struct Case {
        int delay;
        int frames[6];
    } cases[] = {
        {2, {0, 1, 1, 2, 2, 0}},
        {0, {1, 2, 0, 1, 2, 0}},  // below 1 acts as 1
    };
    for (const Case& c : cases) {
        Particle p(0.0f, 0.0f, 0.0f, "textures/strip", 8, 0, 8, 8);
        p.mFadeStep = 0.01f;
        p.mFrameCount = 3;
        p.mFrameDelay = c.delay;
        for (int i = 0; i < 6; ++i) {
            p.Update(0.016f);
            EXPECT_EQ(c.frames[i], p.mFrame) << "delay " << c.delay << ", update " << i + 1;
            p.Draw(1.0f);
            EXPECT_EQ(8.0f + 8.0f * static_cast<float>(c.frames[i]), p.mImage.mTransform.mSrcX);
        }
    }
}

}  // namespace
