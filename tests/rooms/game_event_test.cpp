#include <gtest/gtest.h>

#include <vector>

#include "objects/object_refs.h"
#include "rooms/game_event.h"

namespace {
struct TRecordingHandler : TGameEventHandler {
    std::vector<std::pair<std::string, TGameEvent>> mCalls;
    void OnGameEvent(std::string name, TGameEvent event) override { mCalls.emplace_back(name, event); }
};

class GameEvents : public ::testing::Test {
protected:
    void SetUp() override { ClearGameEvents(); }
    void TearDown() override
    {
        SetGameEventHandler(nullptr);
        ClearGameEvents();
    }
};

std::vector<std::pair<std::string, int32_t>> Pending()
{
    std::vector<std::pair<std::string, int32_t>> out;
    for (size_t i = 0; i < PendingGameEventCount(); ++i)
        out.emplace_back(PendingGameEvent(i)->mName, PendingGameEvent(i)->mValue);
    return out;
}
}  // namespace

TEST_F(GameEvents, PostsQueueAsTheirValueAndForceDecide)
{
    struct TPost {
        const char* mName;
        int32_t mValue;
        bool mForced;
    };
    struct TCase {
        const char* mTitle;
        std::vector<TPost> mPosts;
        std::vector<std::pair<std::string, int32_t>> mPending;
    };
    const std::vector<TCase> cases = {
        {"an unforced name once pending blocks the next", {{"closepocket", 500, false}, {"closepocket", 500, false}},
         {{"closepocket", 500}}},
        {"a forced post is appended after a pending one", {{"goback", 100, false}, {"goback", 800, true}},
         {{"goback", 100}, {"goback", 800}}},
        {"value 0 without a handler is dropped", {{"runminigame", 0, false}, {"runminigame", 0, false}}, {}},
        {"a negative value counts as non-zero", {{"x", -1, false}}, {{"x", -1}}},
        {"names compare exactly", {{"closepocket", 500, false}, {"ClosePocket", 500, false}},
         {{"closepocket", 500}, {"ClosePocket", 500}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.mTitle);
        ClearGameEvents();
        for (const TPost& post : c.mPosts)
            PostGameEvent(TGameEvent(post.mName, post.mValue, ""), post.mForced);
        EXPECT_EQ(Pending(), c.mPending);
    }
    ClearGameEvents();
    PostGameEvent(TGameEvent("runminigame", 0, ""), false);
    EXPECT_FALSE(IsGameEventPending("runminigame"));
    PostGameEvent(TGameEvent("closepocket", 500, ""), false);
    EXPECT_TRUE(IsGameEventPending("closepocket"));
    EXPECT_FALSE(IsGameEventPending("ClosePocket"));
}

TEST_F(GameEvents, ValueZeroReachesTheHandlerUnlessItsNameIsPending)
{
    TRecordingHandler handler;
    SetGameEventHandler(&handler);
    PostGameEvent(TGameEvent("runminigame", 0, "puzzle"), false);
    ASSERT_EQ(handler.mCalls.size(), 1u);
    EXPECT_EQ(handler.mCalls[0].first, "runminigame");
    EXPECT_EQ(handler.mCalls[0].second.mParams[0], "puzzle");
    EXPECT_EQ(PendingGameEventCount(), 0u);

    PostGameEvent(TGameEvent("dialog", 300, "intro"), false);
    PostGameEvent(TGameEvent("dialog", 0, "intro"), false);
    EXPECT_EQ(handler.mCalls.size(), 1u);
    EXPECT_EQ(PendingGameEventCount(), 1u);
}

TEST_F(GameEvents, SuppressedNamesDropOnlyUnforcedPosts)
{
    AddSuppressedGameEvent("goback");
    EXPECT_TRUE(IsGameEventSuppressed("goback"));
    PostGameEvent(TGameEvent("goback", 100, ""), false);
    EXPECT_EQ(PendingGameEventCount(), 0u);
    PostGameEvent(TGameEvent("goback", 800, ""), true);
    EXPECT_EQ(Pending(), (std::vector<std::pair<std::string, int32_t>>{{"goback", 800}}));
}

TEST_F(GameEvents, RecordFieldsAndDefaults)
{
    TFlagRef record;
    record.mName = "opendoor";
    record.mValue = 7;
    record.mText = "hall";
    const TGameEvent event = TGameEvent::FromRecord(record);
    EXPECT_EQ(event.mName, "opendoor");
    EXPECT_EQ(event.mValue, 7);
    EXPECT_EQ(event.mParams[0], "hall");
    EXPECT_EQ(event.mParams[1], "");
    EXPECT_EQ(event.mCode, -1);
    EXPECT_EQ(event.mObject, nullptr);
}

TEST_F(GameEvents, ClearLeavesTheQueueUsable)
{
    AddSuppressedGameEvent("a");
    PostGameEvent(TGameEvent("b", 1, ""), false);
    ClearGameEvents();
    EXPECT_FALSE(IsGameEventPending("b"));
    EXPECT_FALSE(IsGameEventSuppressed("a"));
    PostGameEvent(TGameEvent("a", 1, ""), false);
    EXPECT_TRUE(IsGameEventPending("a"));
    EXPECT_EQ(PendingGameEvent(1), nullptr);
}
