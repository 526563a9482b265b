#include "graphics/rotation_effects.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/messages.h"
#include "graphics/static_image.h"

namespace {

struct TRotationSpy : TRotationEffectListener {
    void OnRotationFinished(const std::string& name) override
    {
        heard.push_back(name);
        if (then) then();
    }
    std::vector<std::string> heard;
    std::function<void()> then;
};

TEST(RotationEffects, TurnsTheImageToTheTargetOverTheDuration)
{
    StaticImage image;
    image.SetAngle(1.0f);
    TRotationSpy spy;
    TRotationEffectsList list;
    auto* effect = new TRotationEffect(3.0f, -2.0f, &image, "turn", &spy);
    effect->mSignalName = "turned";
    list.Add(effect);
    list.Update(1.0f);
    EXPECT_FLOAT_EQ(2.0f, image.GetAngle());
    EXPECT_TRUE(spy.heard.empty());
    EXPECT_EQ(effect, list.Find("turn"));
    list.Update(1.0f);
    EXPECT_FLOAT_EQ(3.0f, image.GetAngle());
    EXPECT_EQ(std::vector<std::string>{"turn"}, spy.heard);
    EXPECT_TRUE(GetMessageManager()->IsPending("turned"));
    EXPECT_EQ(0u, list.Size());
}

TEST(RotationEffects, EffectsFinishingTogetherAreRemovedAndToldOnce)
{
    StaticImage a, b;
    TRotationSpy spyA, spyB;
    TRotationEffectsList list;
    list.Add(new TRotationEffect(1.0f, 0.5f, &a, "a", &spyA));
    list.Add(new TRotationEffect(2.0f, 0.25f, &b, "b", &spyB));
    list.Add(new TRotationEffect(2.0f, 0.25f, &b, "quiet", nullptr));
    list.Update(0.5f);
    list.Update(0.5f);
    EXPECT_EQ(0u, list.Size());
    EXPECT_EQ(1u, spyA.heard.size());
    EXPECT_EQ(1u, spyB.heard.size());
}

TEST(RotationEffects, FindMatchesTheWholeName)
{
    StaticImage image;
    TRotationEffectsList list;
    EXPECT_EQ(nullptr, list.Find("wheel"));
    auto* wheel = new TRotationEffect(1.0f, 1.0f, &image, "wheel", nullptr);
    list.Add(wheel);
    EXPECT_EQ(wheel, list.Find("wheel"));
    EXPECT_EQ(nullptr, list.Find("whee"));
    EXPECT_EQ(nullptr, list.Find("Wheel"));
}

TEST(RotationEffects, ListenerThatClearsTheListEndsTheWalk)
{
    StaticImage image;
    TRotationEffectsList list;
    TRotationSpy first, second;
    first.then = [&list]() { list.Clear(); };
    list.Add(new TRotationEffect(1.0f, 0.5f, &image, "first", &first));
    list.Add(new TRotationEffect(1.0f, 0.5f, &image, "second", &second));
    list.Update(1.0f);
    EXPECT_EQ(0u, list.Size());
    EXPECT_EQ(1u, first.heard.size());
    EXPECT_TRUE(second.heard.empty());

    // One added during the walk waits for the next update.
    TRotationSpy adder, late;
    adder.then = [&]() { list.Add(new TRotationEffect(0.0f, 0.0f, &image, "late", &late)); };
    list.Add(new TRotationEffect(5.0f, 0.5f, &image, "adder", &adder));
    list.Update(1.0f);
    EXPECT_TRUE(late.heard.empty());
    EXPECT_NE(nullptr, list.Find("late"));
    list.Update(0.1f);
    EXPECT_EQ(1u, late.heard.size());
}

}  // namespace
