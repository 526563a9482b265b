#include "graphics/repeaters.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

#include "core/buffer.h"
#include "core/random.h"
#include "core/xml_document.h"
#include "graphics/tweens.h"
#include "rooms/room_factory.h"

namespace {

// Counts its restarts and when they came.
struct TCountingEffector : TEffector {
    void Play() override { ++plays; }
    int plays = 0;
};

SharedPtr<TRepeater> RepeaterFrom(const std::string& xml, TEffector* effector)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    return CreateRepeater(doc.RootElement(), effector);
}

TEST(Repeaters, TypeDefaultsToVariousTimeAndAnotherTypeGivesNone)
{
    TCountingEffector effector;
    EXPECT_TRUE(RepeaterFrom("<repeater/>", &effector));
    EXPECT_TRUE(RepeaterFrom("<repeater type=\"vartime\"/>", &effector));
    EXPECT_FALSE(RepeaterFrom("<repeater type=\"fixed\"/>", &effector));
}

TEST(Repeaters, ZeroIntervalRestartsEveryUpdate)
{
    TCountingEffector effector;
    SharedPtr<TRepeater> repeater = RepeaterFrom("<repeater time=\"0\" offset=\"0\"/>", &effector);
    for (int i = 1; i <= 4; ++i) {
        repeater->Update(0.25f);
        EXPECT_EQ(i, effector.plays);
    }
}

TEST(Repeaters, FirstRestartComesAfterTheStartTime)
{
    TCountingEffector effector;
    SharedPtr<TRepeater> repeater = RepeaterFrom("<repeater stime=\"2\" soffset=\"0\" time=\"5\"/>", &effector);
    for (int i = 1; i <= 7; ++i) repeater->Update(0.25f);
    EXPECT_EQ(0, effector.plays);
    repeater->Update(0.25f);
    EXPECT_EQ(1, effector.plays) << "exactly 2 s";
}

TEST(Repeaters, IntervalsAreDrawnFromTheSeededGenerator)
{
    SeedRandom(7);
    float first = RandomFloat(1.0f, 3.0f);
    float second = RandomFloat(0.5f, 1.5f);
    TCountingEffector effector;
    TiXmlDocument doc;
    ParseXmlText(&doc, "<repeater stime=\"2\" soffset=\"1\" time=\"1\" offset=\"0.5\"/>");
    SeedRandom(7);
    TVariousTimeRepeater drawn(doc.RootElement(), &effector);
    EXPECT_FLOAT_EQ(first, drawn.GetTimer().GetDuration());
    drawn.Update(first);
    EXPECT_EQ(1, effector.plays);
    EXPECT_FLOAT_EQ(second, drawn.GetTimer().GetDuration());
    EXPECT_TRUE(drawn.GetTimer().IsActive());
}

TEST(Repeaters, StateIsTheIntervalAndRunningFlag)
{
    TCountingEffector effector;
    SharedPtr<TRepeater> repeater = RepeaterFrom("<repeater stime=\"2\" time=\"1\"/>", &effector);
    repeater->Update(1.5f);
    TBaseBuffer state;
    repeater->SaveState(state);
    ASSERT_EQ(5u, state.Size());
    EXPECT_EQ(2000, state.ReadInt32());
    EXPECT_EQ(1, state.ReadByte());

    // A fresh repeater that loads the state waits its whole interval again.
    TBaseBuffer copy;
    repeater->SaveState(copy);
    SharedPtr<TRepeater> loaded = RepeaterFrom("<repeater stime=\"0\" time=\"1\"/>", &effector);
    loaded->LoadState(copy);
    loaded->Update(1.9f);
    EXPECT_EQ(0, effector.plays);
    loaded->Update(0.1f);
    EXPECT_EQ(1, effector.plays);
}

TEST(Repeaters, CopyKeepsTheRunningIntervalAndRestartsItsOwnEffector)
{
    TCountingEffector effector, other;
    SharedPtr<TRepeater> source = RepeaterFrom("<repeater stime=\"2\" time=\"5\"/>", &effector);
    source->Update(1.0f);
    std::unique_ptr<TRepeater> copy(source->CopyFor(&other));
    copy->Update(0.5f);
    EXPECT_EQ(0, other.plays);
    copy->Update(0.5f);  // the second already run counts
    EXPECT_EQ(1, other.plays);
    EXPECT_EQ(0, effector.plays);
    TBaseBuffer state;
    copy->SaveState(state);
    EXPECT_EQ(5000, state.ReadInt32());
}

}  // namespace
