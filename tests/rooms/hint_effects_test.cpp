#include "rooms/hint_effects.h"

#include <set>

#include "core/random.h"
#include "graphics/drawing_fixture.h"

namespace {

class HintEffectsTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "0");
        MakeFolder("textures/effect");
        // The sparkles' cell is red; everything else of the sheet is green.
        SavePng("textures/effect/particles.png", MakeSurface(96, 96, SDL_PIXELFORMAT_ABGR8888, [](int x, int y) {
                    const bool cell = x >= 32 && x < 64 && y >= 64;
                    return cell ? SDL_Color{255, 0, 0, 255} : SDL_Color{0, 255, 0, 255};
                }));
        SolidPng("textures/effect/single_particle.png", 32, 32, SDL_Color{255, 255, 255, 255});
        SolidPng("arrow.png", 64, 64, SDL_Color{255, 255, 255, 255});
        SeedRandom(1234);
    }

    // (GameRand() % 32767) / 32767, as the effects draw their delays.
    static float Fraction(int draw) { return static_cast<float>(draw % 32767) / 32767.0f; }

    bool DrawsAnything(DrawObject& effect)
    {
        Clear(0, 0, 0);
        effect.Draw(1.0f);
        SDL_Rect box = DrawnBox(0, 0, 0);
        return box.w > 0;
    }
};

TEST_F(HintEffectsTest, XoFieldCountsFifteenSparklesPerTenThousandSquarePixels)
{
    EXPECT_EQ(TEffectRoomXoHint(0, 0, 100, 100).mTargetCount, 15);
    EXPECT_EQ(TEffectRoomXoHint(10, 20, 210, 120).mTargetCount, 30);
    // The area of a large object does not overflow on the way.
    EXPECT_EQ(TEffectRoomXoHint(0, 0, 50000, 50000).mTargetCount, 3750000);
    // Nor does the widest rectangle there is, in 64 bits or on the way back to an int.
    EXPECT_EQ(TEffectRoomXoHint(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX).mTargetCount, INT32_MAX);
}

struct TRemovalCounter : ObjectsManagerListener {
    int mRemoved = 0;
    void OnObjectRemoved(DrawObject*) override { ++mRemoved; }
};

TEST_F(HintEffectsTest, XoFieldAddsOneSparklePerUpdateUpToItsCountAndReplacesFinishedOnes)
{
    SeedRandom(77);
    const int x = GameRand() % 200;
    const int y = GameRand() % 100;
    SeedRandom(77);
    TEffectRoomXoHint field(10, 20, 210, 120);
    TRemovalCounter removals;
    field.mSparkles.SetListener(&removals);
    const float dt = 0.0625f;
    for (int i = 1; i <= 30; ++i) {
        field.Update(dt);
        ASSERT_EQ(field.mSparkles.Count(), static_cast<size_t>(i));
    }
    auto* first = static_cast<TEffectRoomXoItemHint*>(field.mSparkles.At(0));
    EXPECT_EQ(first->mSpawnX, 10 + x);
    EXPECT_EQ(first->mSpawnY, 20 + y);
    for (size_t i = 0; i < field.mSparkles.Count(); ++i) {
        auto* sparkle = static_cast<TEffectRoomXoItemHint*>(field.mSparkles.At(i));
        EXPECT_TRUE(sparkle->mSpawnX >= 10 && sparkle->mSpawnX < 210 && sparkle->mSpawnY >= 20 && sparkle->mSpawnY < 120);
    }
    EXPECT_EQ(removals.mRemoved, 0);
    for (int i = 30; i < 64; ++i) {
        field.Update(dt);
        EXPECT_LE(field.mSparkles.Count(), 30u);
        EXPECT_FALSE(field.IsDone());
    }
    EXPECT_GT(removals.mRemoved, 0);
    EXPECT_TRUE(DrawsAnything(field));
    field.mSparkles.SetListener(nullptr);
}

TEST_F(HintEffectsTest, XoFieldOverAnEmptyRectangleDrawsNothingAndNeverEnds)
{
    TEffectRoomXoHint field(50, 50, 50, 150);
    for (int i = 0; i < 40; ++i) field.Update(0.25f);
    EXPECT_EQ(field.mSparkles.Count(), 0u);
    EXPECT_FALSE(field.IsDone());
    EXPECT_FALSE(DrawsAnything(field));
}

TEST_F(HintEffectsTest, SparkleRisesFromItsCellAndEndsTwoSecondsAfterItStarts)
{
    SeedRandom(5);
    const float delay = Fraction(GameRand());
    const int rise = 50 + GameRand() % 50;
    SeedRandom(5);
    TEffectRoomXoItemHint sparkle(300, 400);
    EXPECT_EQ(sparkle.mStartDelay, delay);

    // Before its start it shows at the spawn point, a fifth of its size, in the sheet's cell
    // colour only.
    Clear(0, 0, 0);
    sparkle.Draw(1.0f);
    ExpectPixel(300, 400, 255, 0, 0);
    SDL_Rect box = DrawnBox(0, 0, 0);
    EXPECT_LE(box.w, 8);
    for (int yy = box.y; yy < box.y + box.h; ++yy)
        for (int xx = box.x; xx < box.x + box.w; ++xx) EXPECT_EQ(Pixel(xx, yy).g, 0);

    int updates = 0;
    while (!sparkle.mStarted) {
        sparkle.Update(0.125f);
        ++updates;
        ASSERT_LT(updates, 10);
    }
    for (int i = 1; i < 16; ++i) {
        ASSERT_FALSE(sparkle.IsDone()) << i;
        sparkle.Update(0.125f);
    }
    EXPECT_TRUE(sparkle.IsDone());
    // The 2.5 s rise is not over: five more updates bring it to its end.
    EXPECT_FALSE(sparkle.mRise.mFinished);
    for (int i = 0; i < 5; ++i) sparkle.Update(0.125f);
    EXPECT_EQ(sparkle.mRise.mY, static_cast<float>(400 - rise));
    EXPECT_EQ(sparkle.mRise.mX, 300.0f);
}

TEST_F(HintEffectsTest, BlinkWithoutDelayStartsAtOnceAndEndsAfterTwiceItsDuration)
{
    EffectBlink blink(200, 200, "textures/effect/single_particle", 0.5f, 0.0f);
    EXPECT_FALSE(DrawsAnything(blink));  // both pulses start at 0
    for (int i = 1; i < 8; ++i) {
        blink.Update(0.125f);
        ASSERT_FALSE(blink.IsDone()) << i;
        if (i == 4) {
            EXPECT_TRUE(DrawsAnything(blink));  // at its peak
        }
    }
    blink.Update(0.125f);
    EXPECT_TRUE(blink.IsDone());
}

TEST_F(HintEffectsTest, BlinkWithADelayDrawsNothingUntilItStarts)
{
    SeedRandom(5000);
    const float delay = Fraction(GameRand()) * 5.0f;
    const float angle = Fraction(GameRand()) * 179.0f * 0.017453292f;
    SeedRandom(5000);
    EffectBlink blink(200, 200, "textures/effect/single_particle", 0.5f, 5.0f);
    ASSERT_GT(delay, 0.5f);
    EXPECT_EQ(blink.mDelay, delay);
    int updates = 0;
    while (blink.mDelay > 0.0f) {
        EXPECT_FALSE(DrawsAnything(blink));
        EXPECT_FALSE(blink.IsDone());
        blink.Update(0.125f);
        ++updates;
    }
    EXPECT_EQ(blink.mAngle.mFrom, angle);
    EXPECT_EQ(blink.mAngle.mTo, angle + 3.1415927f);
    // The update that starts it also advances it.
    EXPECT_EQ(blink.mAlphaPulse.GetValue(), 0.25f);
    for (int i = 1; i < 8; ++i) blink.Update(0.125f);
    EXPECT_TRUE(blink.IsDone());
}

TEST_F(HintEffectsTest, BackHintPulsesBetweenNinetyAndHundredPercentUntilItsTimeIsUp)
{
    TEffectBackHint hint(100, 100, "arrow", 3.0f);
    Clear(0, 0, 0);
    hint.Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{68, 68, 64, 64}));
    for (int i = 1; i < 12; ++i) {
        hint.Update(0.25f);
        EXPECT_FALSE(hint.IsDone()) << i;
        EXPECT_GE(hint.mImage.GetScaleX(), 0.9f);
        EXPECT_LE(hint.mImage.GetScaleX(), 1.0f);
    }
    hint.Update(0.25f);
    EXPECT_TRUE(hint.IsDone());
}

}  // namespace
