// The finds room read from its file: its items lists, tools and executers at work, and the
// room answering its lists.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "game/board_effects.h"
#include "game/user_info.h"
#include "objects/object.h"
#include "rooms/executer.h"
#include "rooms/game_event.h"
#include "rooms/items_list_fixture.h"
#include "rooms/room.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/sound_calls.h"
#include "rooms/tool.h"
#include "rooms/tool_fixture.h"
#include "rooms/xo_owner.h"
#include "test_support.h"

namespace {

class FindsRoom : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        ClearGameEvents();
        GetUserInfo()->ResetDefaults();  // no pair a case before this one gave the player
        std::ofstream(AssetPath("finds_room.xml")) << ReadWholeFile(FindsRoomPath());
        mRoom = std::make_unique<TRoom>();
        ASSERT_TRUE(mRoom->LoadFromXml("finds_room.xml"));
        mRoom->SetListener(&mOwner);
    }
    void TearDown() override
    {
        mRoom.reset();
        ClearGameEvents();
        ToolTest::TearDown();
    }

    TObject* Object(const std::string& name) const
    {
        TObject* object = mRoom->FindObject(name);
        EXPECT_NE(object, nullptr) << name;
        return object;
    }
    // An accepted click, as object input advances the counter first.
    static void Click(TObject* object)
    {
        ++object->mClickCounter;
        object->mClickExecuter->OnClick(object, TSceneMouseEvent());
    }
    size_t Notices() const { return mOwner.mXo.size(); }

    TFakeEntryFactoryScope mFactory;
    TXoOwner mOwner;
    std::unique_ptr<TRoom> mRoom;
};

TEST_F(FindsRoom, ListsToolsAndExecutersAreRead)
{
    ASSERT_EQ(mRoom->mLists.size(), 2u);
    EXPECT_EQ(mRoom->GetCurrentList(), mRoom->mLists[0].get());
    ItemsList& first = *mRoom->mLists[0];
    ASSERT_EQ(first.GetItems().size(), 3u);
    EXPECT_EQ(first.GetListener(), static_cast<TItemsListListener*>(mRoom.get()));
    EXPECT_EQ(first.FindItemOf(Object("ring")), first.GetItems()[0].get());
    EXPECT_EQ(Object("ring")->mMaxClicks, 1);  // stood for by an entry
    EXPECT_EQ(Object("vase")->mMaxClicks, 1);
    EXPECT_EQ(Object("cup")->mMaxClicks, TObject::kNoLimit);

    EXPECT_EQ(GlobalToolsList().Size(), 4u);
    EXPECT_EQ(GlobalToolsList().FindTool("key")->mOwnerName, "finds");
    ASSERT_NE(mRoom->mRoomTools, nullptr);
    EXPECT_EQ(mRoom->mRoomTools->FindTool("map")->mUseCount, 1);

    const struct {
        const char* object;
        const char* executer;
    } executers[] = {{"ring", "xo"},    {"coin", "xodouble"},      {"stain", "xomiss"}, {"lever", "iteraction"},
                     {"drawer", "tool"}, {"door", "toolaftertool"}, {"box", "tooltool"}, {"plain", nullptr},
                     {"odd", nullptr}};
    for (const auto& row : executers)
        EXPECT_EQ(Object(row.object)->mClickExecuter, row.executer ? GetExecuter(row.executer) : nullptr) << row.object;
    EXPECT_EQ(Object("odd")->mHintExecuter, GetExecuter("tool"));
    EXPECT_EQ(Object("handle")->GetHintText(TSceneMouseEvent()), "hint_cabinet_a");
    EXPECT_EQ(Object("knob")->GetHintText(TSceneMouseEvent()), "");
    EXPECT_EQ(Object("odd")->GetHintText(TSceneMouseEvent()), "");

    mRoom->LoadObjectResources(0);
    EXPECT_NE(GlobalToolsList().FindTool("key")->mInventoryImages[0]->GetTexture(), nullptr);
    EXPECT_NE(mRoom->mRoomTools->FindTool("map")->mInventoryImages[0]->GetTexture(), nullptr);
    EXPECT_EQ(static_cast<TFakeEntry*>(first.GetItems()[0].get())->mResourceLoads, 1);
    mRoom->FreeObjectResources();
    EXPECT_EQ(GlobalToolsList().FindTool("key")->mInventoryImages[0]->GetTexture(), nullptr);
}

TEST_F(FindsRoom, XoFindsMissesAndKeepsItsHandsOffLockedItems)
{
    TRecordedSoundCalls sounds;
    TObject* cup = Object("cup");
    Click(cup);  // no entry stands for it
    TObject* vase = Object("vase");
    Click(vase);  // an entry that is not findable
    ASSERT_EQ(Notices(), 2u);
    EXPECT_EQ(mOwner.mXo[0].mWhat, "miss");
    EXPECT_EQ(mOwner.mXo[1].mObject, vase);
    EXPECT_EQ(mOwner.mXo[1].mRoom, mRoom.get());
    EXPECT_TRUE(cup->IsVisible());
    EXPECT_EQ(vase->mClickCounter, 0);  // only the click itself counted

    TObject* ring = Object("ring");
    ring->mLocked = true;
    Click(ring);
    EXPECT_EQ(Notices(), 2u);
    EXPECT_TRUE(ring->IsVisible());
    EXPECT_TRUE(sounds.mCalls.empty());

    ring->mLocked = false;
    ring->mClickCounter = -1;
    mRoom->mEffects[0] = std::make_unique<EffectHint>(3, 4, ring);
    Click(ring);
    EXPECT_EQ(sounds.mCalls, std::vector<std::string>{"play ho_item_found"});
    EXPECT_FALSE(ring->IsVisible());
    EXPECT_EQ(ring->mClickCounter, ring->mMaxClicks);
    EXPECT_EQ(mRoom->mEffects[0], nullptr);
    ASSERT_EQ(Notices(), 3u);
    EXPECT_EQ(mOwner.mXo[2].mWhat, "found");
    EXPECT_EQ(mOwner.mXo[2].mObject, ring);

    // The current list is asked again on every click.
    mRoom->mCurrentListIndex = 1;
    ring->SetVisible(true);
    mRoom->mEffects[0] = std::make_unique<EffectHint>(3, 4, cup);
    Click(ring);
    EXPECT_EQ(mOwner.mXo.back().mWhat, "miss");
    EXPECT_NE(mRoom->mEffects[0], nullptr);
    mRoom->mCurrentListIndex = -1;
    Click(ring);
    Click(Object("lever"));
    EXPECT_EQ(Notices(), 4u);
}

TEST_F(FindsRoom, InteractionUsesAnyObjectOfTheList)
{
    TObject* lever = Object("lever");
    lever->mLocked = true;
    Click(lever);
    EXPECT_TRUE(lever->IsVisible());
    lever->mLocked = false;
    Click(lever);
    EXPECT_FALSE(lever->IsVisible());
    EXPECT_EQ(lever->mClickCounter, lever->mMaxClicks);
    ASSERT_EQ(Notices(), 1u);
    EXPECT_EQ(mOwner.mXo[0].mWhat, "interaction");

    mRoom->mCurrentListIndex = 1;  // the lever is no entry of the second list
    lever->SetVisible(true);
    Click(lever);
    EXPECT_TRUE(lever->IsVisible());
    EXPECT_EQ(Notices(), 1u);
}

TEST_F(FindsRoom, CompletedListGoesThroughTheRoom)
{
    const size_t pairs = GetUserInfo()->Pairs().size();
    mRoom->OnListComplete(mRoom->mLists[0].get());
    std::vector<std::string> operations;
    for (const TOwnerCall& call : mOwner.mCalls) operations.push_back(call.mOperation);
    EXPECT_EQ(operations, (std::vector<std::string>{"UnlockObjects", "LockObjects", "ShowObjects", "HideObjects",
                                                    "ActivateObjects", "DeactivateObjects", "AddTasks",
                                                    "RemoveTasks"}));
    EXPECT_EQ(mOwner.mCalls[6].mList, &mRoom->mLists[0]->mTasks[0]);
    EXPECT_TRUE(IsGameEventPending("listdone"));
    EXPECT_TRUE(GetUserInfo()->HasPair("finds", "done"));
    EXPECT_EQ(GetUserInfo()->Pairs().size(), pairs + 1);

    // A list without completion lists applies nothing.
    mOwner.mCalls.clear();
    mRoom->OnListComplete(mRoom->mLists[1].get());
    EXPECT_TRUE(mOwner.mCalls.empty());
}

TEST_F(FindsRoom, FoundEntryToolReachesTheOwnerOfARoomOnly)
{
    auto* entry = static_cast<TFakeEntry*>(mRoom->mLists[0]->GetItems()[0].get());
    entry->mReportFound = true;
    mRoom->Update(0.02f);
    mRoom->Update(0.02f);
    EXPECT_EQ(mOwner.mListTools, std::vector<std::string>{"rope"});
    EXPECT_TRUE(IsGameEventPending("findtool"));

    TBaseRoom base;
    base.SetOwnerListener(&mOwner);
    static_cast<TItemsListListener&>(base).OnItemFound(TObjectToolRecord("saw", 1, "", nullptr));
    EXPECT_EQ(mOwner.mListTools.size(), 1u);
}

}  // namespace

namespace {

class ShippedMenuExecuters : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
    }

    static void Walk(const TObject& object, std::vector<const TObject*>& all)
    {
        all.push_back(&object);
        for (const auto& child : object.mChildren) Walk(*child, all);
    }
};

// Every object of the menu's scene hints through the shared hint prototype; none acts.
TEST_F(ShippedMenuExecuters, EveryObjectHintsAndNoneActs)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    std::vector<const TObject*> all;
    for (const auto& object : room.mObjects) Walk(*object, all);
    ASSERT_GE(all.size(), 7u);
    for (const TObject* object : all) {
        EXPECT_EQ(object->mHintExecuter, GetExecuter("hint")) << object->GetName();
        EXPECT_EQ(object->mClickExecuter, nullptr) << object->GetName();
        EXPECT_TRUE(object->mToolRecords.empty()) << object->GetName();
    }
    EXPECT_TRUE(room.mLists.empty());
    EXPECT_EQ(room.mRoomTools, nullptr);
    EXPECT_TRUE(GlobalToolsList().Empty());
    EXPECT_EQ(GetExecuter("XO"), nullptr);

    // The one hint key the objects make themselves is shipped.
    EXPECT_NE(ReadWholeFile(std::string(BRISALO_ASSETS) + "/termins.xml").find(">WrongTool1<"), std::string::npos);
}

}  // namespace
