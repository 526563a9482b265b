// The main menu's scales on the left hill: the heavier sack tips the beam to the left and the
// pans and sacks hang where the beam puts them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "audio_cases.h"
#include "core/messages.h"
#include "objects/weight_objects.h"
#include "rooms/menu_scene_fixture.h"
#include "rooms/room.h"

namespace {

class MenuScalesTest : public MenuSceneTest {
protected:
    void TearDown() override
    {
        MenuSceneTest::TearDown();
        DestroyMessageManager();
    }
};

// Listens for the rebalancing message beside the scales, to see that they do too.
class TProbe : public TMyMessageListener {
public:
    void OnMessage(SharedPtr<TMyMessage> message) override { mHeard += message->GetName() + " "; }
    std::string mHeard;
};

TEST_F(MenuScalesTest, TheBigSackTipsTheBeamToTheLeft)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    for (int i = 0; i < 60; ++i) room.Update(1.0f / 60);

    auto* scales = dynamic_cast<TWeightSystemObject*>(room.FindObject("scales"));
    ASSERT_NE(scales, nullptr);
    EXPECT_NEAR(scales->mAngle * 57.295776f, -6.0f, 0.05f);
    EXPECT_TRUE(scales->mBeam.mFinished);
    EXPECT_FLOAT_EQ(scales->GetX(), 100.0f);
    EXPECT_FLOAT_EQ(scales->GetY(), 575.0f);
    ASSERT_NE(scales->mLeft, nullptr);
    ASSERT_NE(scales->mRight, nullptr);
    EXPECT_NEAR(scales->mLeft->GetY(), 580.2f, 0.5f);
    EXPECT_NEAR(scales->mRight->GetY(), 569.8f, 0.5f);
    EXPECT_NEAR(scales->mLeft->GetX(), 50.3f, 0.5f);
    EXPECT_NEAR(scales->mRight->GetX(), 149.7f, 0.5f);
    for (const char* name : {"sack_big", "sack_small"}) {
        SCOPED_TRACE(name);
        TObject* sack = room.FindObject(name);
        ASSERT_NE(sack, nullptr);
        TObject* pan = name == std::string("sack_big") ? scales->mLeft : scales->mRight;
        EXPECT_GT(sack->mHeight, 0.0f);
        EXPECT_NEAR(sack->GetY() + sack->mHeight, pan->GetY() + 37.0f, 1e-3);
        // Centred on the 40 wide plate that starts 5 in from the pan's left edge.
        EXPECT_NEAR(sack->GetX() + sack->mWidth * 0.5f, pan->GetX() - 25.0f + 25.0f, 1.0f);
    }
    EXPECT_EQ(scales->GetTotalWeight(), 4.0f);
    EXPECT_FALSE(scales->IsGoalReached());
    TObject* cover = room.FindObject("cover");
    ASSERT_NE(cover, nullptr);
    EXPECT_FLOAT_EQ(cover->GetX(), 100.0f);
    EXPECT_FLOAT_EQ(cover->GetY(), 575.0f);

    // The scales take "WeightNeedBalance" as every pair of scales does.
    TProbe probe;
    ASSERT_TRUE(GetMessageManager()->Subscribe(&probe, "WeightNeedBalance"));
    ASSERT_TRUE(GetMessageManager()->Post("WeightNeedBalance", 0.0f));
    scales->mBeam.SetValue(0.0f);
    GetMessageManager()->Update(0.0f);
    EXPECT_EQ(probe.mHeard, "WeightNeedBalance ");
    EXPECT_FALSE(scales->mBeam.mFinished);  // rebalancing from level again
    EXPECT_NEAR(scales->mBeam.mTo * 57.295776f, -6.0f, 1e-3);
}

}  // namespace
