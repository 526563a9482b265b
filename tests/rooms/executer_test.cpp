#include <gtest/gtest.h>

#include <set>

#include "rooms/executer.h"
#include "rooms/scene_mouse_event.h"

TEST(Executers, EightNamesGiveEightDistinctPrototypes)
{
    std::set<TExecuter*> seen;
    for (const char* name : {"xo", "xomiss", "xodouble", "tool", "toolaftertool", "tooltool", "hint", "iteraction"}) {
        TExecuter* executer = GetExecuter(name);
        ASSERT_NE(executer, nullptr) << name;
        EXPECT_EQ(GetExecuter(name), executer) << name;
        seen.insert(executer);
    }
    EXPECT_EQ(seen.size(), 8u);
    EXPECT_EQ(ExecuterRegistry().size(), 8u);
}

TEST(Executers, UnknownNamesGiveNull)
{
    for (const char* name : {"", "nosuch", "Tool", "interaction", "hint "}) EXPECT_EQ(GetExecuter(name), nullptr) << name;
}

TEST(Executers, BaseAnswers)
{
    TExecuter executer;
    TSceneMouseEvent event;
    EXPECT_TRUE(executer.AcceptsTool(nullptr, "saw"));
    EXPECT_TRUE(executer.Hook2(nullptr, event));
    EXPECT_FALSE(executer.OnClick(nullptr, event));
    EXPECT_FALSE(executer.OnTool(nullptr, event));
    EXPECT_FALSE(executer.Hook5(nullptr, event));
    EXPECT_FALSE(executer.OnMouseOver(nullptr, event));
    EXPECT_FALSE(executer.OnMouseUp(nullptr, event));
    executer.Hook8(nullptr, 0.1f);
}
