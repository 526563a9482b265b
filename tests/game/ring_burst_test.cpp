#include "game/ring_burst.h"

#include <cmath>

#include "core/random.h"
#include "graphics/drawing_fixture.h"

namespace {

const char* const kRings[] = {"textures/rings/ringyellow", "textures/rings/ringblue", "textures/rings/ringgreen"};

float Between(float a, float b, int v) { return a + static_cast<float>(v % 32767) / 32767.0f * (b - a); }

class RingBurstTest : public CanvasTest {
protected:
    void SetUp() override
    {
        Open(200, 200);
        SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "0");
        MakeFolder("textures/rings");
        MakeFolder("textures/effect/rings");
        for (const char* name : kRings) SolidPng(std::string(name) + ".png", 40, 40, SDL_Color{255, 255, 255, 255});
        SolidPng("textures/effect/rings/ringwhite.png", 40, 40, SDL_Color{255, 255, 255, 255});
    }
};

TEST_F(RingBurstTest, CyclesDrawPickScaleAndDurationInThatOrder)
{
    SeedRandom(5);
    const int pick = GameRand() % 3, scaleValue = GameRand(), timeValue = GameRand();
    const int nextPick = GameRand() % 3, nextScale = GameRand(), nextTime = GameRand();
    SeedRandom(5);
    EffectChange3One burst(100.0f, 100.0f, 1.5f, 2.0f, 0.7f, false);
    EXPECT_EQ(kRings[pick], burst.mImage.GetTextureName());
    EXPECT_FLOAT_EQ(Between(0.35f, 0.40f, scaleValue), burst.mScaleTween.mCurrent);
    EXPECT_FLOAT_EQ(Between(1.5f, 1.6f, timeValue), burst.mScaleTween.mDuration);
    EXPECT_EQ(2.0f, burst.mScaleTween.mTo);
    burst.mCycleLimit = -1;

    burst.Update(0.75f);
    EXPECT_NEAR(0.35f, burst.mAlphaTween.mCurrent, 1e-5f) << "0.7 to 0 over 1.5 s";
    burst.Update(0.75f);
    EXPECT_EQ(0.0f, burst.mAlphaTween.mCurrent);
    EXPECT_EQ(0, burst.mCyclesDone) << "the cycle ends with the scale";
    burst.Update(0.1f);
    EXPECT_EQ(1, burst.mCyclesDone);
    EXPECT_EQ(kRings[nextPick], burst.mImage.GetTextureName()) << "no image chosen: a new pick";
    EXPECT_FLOAT_EQ(Between(0.35f, 0.40f, nextScale), burst.mScaleTween.mCurrent);
    EXPECT_FLOAT_EQ(Between(1.5f, 1.6f, nextTime), burst.mScaleTween.mDuration);
    EXPECT_FLOAT_EQ(0.7f, burst.mAlphaTween.mCurrent);

    // A chosen image stays: later cycles draw the scale and the duration only.
    burst.SetImage(kRings[0]);
    SeedRandom(9);
    const int scaleAfter = GameRand();
    SeedRandom(9);
    for (int i = 0; i < 20 && burst.mCyclesDone < 2; ++i) burst.Update(0.1f);
    EXPECT_EQ(2, burst.mCyclesDone);
    EXPECT_EQ(kRings[0], burst.mImage.GetTextureName());
    EXPECT_FLOAT_EQ(Between(0.35f, 0.40f, scaleAfter), burst.mScaleTween.mCurrent);

    for (int i = 0; i < 100; ++i) EXPECT_FALSE(burst.Update(0.1f)) << "endless";
}

TEST_F(RingBurstTest, LimitedBurstEndsAfterItsCycleAndDrawsNothing)
{
    struct Listener : TRingBurstListener {
        int heard = 0;
        void OnRingBurstDone(EffectChange3One*) override { ++heard; }
    } listener;
    EffectChange3One burst(100.0f, 80.0f, 0.5f, 1.0f, 1.0f, false);
    burst.mListener = &listener;
    Clear(0, 0, 0);
    burst.Draw(1.0f);
    const SDL_Rect box = DrawnBox(0, 0, 0);
    EXPECT_NEAR(100, box.x + box.w / 2, 1) << "centred on its position";
    EXPECT_NEAR(80, box.y + box.h / 2, 1);
    EXPECT_NEAR(40 * burst.mScaleTween.mCurrent, box.w, 1.5);
    int updates = 0;
    while (!burst.Update(0.1f) && updates < 100) ++updates;
    EXPECT_TRUE(burst.IsDone());
    EXPECT_EQ(1, burst.mCyclesDone);
    EXPECT_EQ(1, listener.heard);
    Clear(0, 0, 0);
    burst.Draw(1.0f);
    EXPECT_EQ(SDL_Rect({0, 0, 0, 0}), DrawnBox(0, 0, 0));
}

TEST_F(RingBurstTest, WhiteBurstPicksNoColour)
{
    SeedRandom(3);
    const int scaleValue = GameRand();
    SeedRandom(3);
    EffectChange3One burst(50.0f, 50.0f, 1.0f, 1.5f, 0.7f, true);
    EXPECT_EQ("textures/effect/rings/ringwhite", burst.mImage.GetTextureName());
    EXPECT_TRUE(burst.mImageChosen);
    EXPECT_FLOAT_EQ(Between(0.35f, 0.40f, scaleValue), burst.mScaleTween.mCurrent);
    EXPECT_EQ(kBlendAdd, burst.mImage.mTransform.mBlendMode);
}

}  // namespace
