// The main menu's butterfly from its anim file and its glints, over seconds of frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <typeinfo>
#include <vector>

#include "core/app_state.h"
#include "core/localization.h"
#include "graphics/drawing_fixture.h"
#include "objects/found_objects.h"
#include "objects/object_factory.h"
#include "objects/sequence_objects.h"
#include "rooms/room.h"
#include "sound/sound_manager.h"

namespace {

class MenuFlutterTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
    }
    void TearDown() override
    {
        if (TSoundManager* sound = GetSoundManager()) sound->RemoveSoundList("mainmenu");
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }
    TOwned<TObjectFactory> mOldFactory;
};

// The one visible wing, 1 to 4; 0 when none or several show.
int VisibleWing(const TObject& flutter)
{
    int wing = 0;
    for (size_t i = 0; i < flutter.mChildren.size(); ++i) {
        if (!flutter.mChildren[i]->IsVisible()) continue;
        if (wing != 0) return 0;
        wing = static_cast<int>(i) + 1;
    }
    return wing;
}

}  // namespace

TEST_F(MenuFlutterTest, ButterflyFluttersAndGlintsTwinkle)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);

    TObject* host = room.FindObject("animhost");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(typeid(*host), typeid(TAnimFileObject));
    EXPECT_EQ(host->GetTypeCode(), 39);
    ASSERT_EQ(host->mChildren.size(), 1u);
    TObject* flutter = host->mChildren[0].get();
    EXPECT_EQ(flutter->GetName(), "flutter");
    EXPECT_EQ(flutter->GetTypeCode(), 19);
    ASSERT_EQ(flutter->mChildren.size(), 4u);
    for (const auto& object : room.mObjects) {
        EXPECT_NE(object->GetName(), "flutter");
        EXPECT_EQ(object->GetName().rfind("wing", 0), std::string::npos) << object->GetName();
    }
    for (const auto& wing : flutter->mChildren) EXPECT_NE(wing->mImage->GetTexture(), nullptr) << wing->GetName();

    room.mShowRequest = true;
    room.OnShow();
    EXPECT_EQ(VisibleWing(*flutter), 1);

    std::vector<int> wings{VisibleWing(*flutter)};
    for (int frame = 0; frame < 60; ++frame) {
        room.Update(1.0f / 60);
        const int wing = VisibleWing(*flutter);
        ASSERT_NE(wing, 0) << "frame " << frame;
        if (wing != wings.back()) wings.push_back(wing);
    }
    ASSERT_GE(wings.size(), 5u);
    EXPECT_EQ(std::vector<int>(wings.begin(), wings.begin() + 5), (std::vector<int>{1, 2, 3, 4, 1}));

    std::vector<THiddenObject*> glints;
    for (const char* id : {"glint1", "glint2", "glint3"}) {
        auto* glint = dynamic_cast<THiddenObject*>(room.FindObject(id));
        ASSERT_NE(glint, nullptr) << id;
        glints.push_back(glint);
    }
    std::vector<float> low(3, 1.0f), high(3, 0.0f);
    for (int frame = 0; frame < 600; ++frame) {
        room.Update(1.0f / 60);
        for (size_t i = 0; i < glints.size(); ++i) {
            low[i] = std::min(low[i], glints[i]->mAlpha);
            high[i] = std::max(high[i], glints[i]->mAlpha);
        }
    }
    for (size_t i = 0; i < glints.size(); ++i) {
        EXPECT_LE(low[i], 0.2f) << glints[i]->GetName();
        EXPECT_GE(high[i], 0.85f) << glints[i]->GetName();
        EXPECT_TRUE(glints[i]->IsActive()) << glints[i]->GetName();
    }
    room.FreeObjectResources();
}
