// Items lists: how many entries they show, the reserve, found entries handing out their tools,
// completeness and the lookups the executers use; the inventory panel's slots.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "core/xml_document.h"
#include "objects/object.h"
#include "rooms/game_event.h"
#include "rooms/ghost_catcher_tool.h"
#include "rooms/inventory_panel.h"
#include "rooms/items_list.h"
#include "rooms/items_list_fixture.h"
#include "rooms/tool_fixture.h"
#include "test_support.h"

namespace {

std::unique_ptr<ItemsList> ListFrom(const std::string& xml)
{
    TiXmlDocument doc;
    EXPECT_TRUE(ParseXmlText(&doc, xml));
    auto list = std::make_unique<ItemsList>();
    list->LoadXml(doc.RootElement());
    return list;
}

std::vector<std::string> Labels(const ItemsList& list)
{
    std::vector<std::string> labels;
    for (size_t i = 0; i < list.GetItems().size(); ++i) labels.push_back(FakeEntry(list, i)->mLabel);
    return labels;
}

class TRecordingListListener : public TItemsListListener {
public:
    void OnItemFound(const TObjectToolRecord& record) override { mFound.push_back(record.mToolName); }
    void OnListComplete(ItemsList* list) override { mCompleted.push_back(list); }
    std::vector<std::string> mFound;
    std::vector<ItemsList*> mCompleted;
};

class ItemsLists : public ::testing::Test {
protected:
    void SetUp() override { ClearGameEvents(); }
    void TearDown() override { ClearGameEvents(); }
    TFakeEntryFactoryScope mFactory;
};

TEST_F(ItemsLists, ShownCountFromRowsColumnsOrCount)
{
    const struct {
        const char* attributes;
        int32_t count;
    } cases[] = {
        {R"(rows="2" cols="3" count="9")", 6},
        {R"(rows="0" cols="0" count="5")", 5},
        {"", 12},
        {R"(rows="0" cols="5" count="7")", 0},
        {R"(rows="100000" cols="100000")", INT32_MAX},
    };
    for (const auto& c : cases) {
        std::unique_ptr<ItemsList> list = ListFrom(std::string("<list type=\"fake\" ") + c.attributes + "/>");
        EXPECT_EQ(list->GetCount(), c.count) << c.attributes;
    }
}

TEST_F(ItemsLists, ReserveFillsUpFromItsEndAndTheRestGoes)
{
    std::unique_ptr<ItemsList> list = ListFrom(R"(<list type="fake" rows="0" cols="0" count="7">
        <item label="1"/><item label="a" reserve="true"/><item label="2"/><item label="b" reserve="true"/>
        <item label="3"/><item label="c" reserve="true"/><item label="4"/><item label="5"/>
        <item label="d" reserve="true"/></list>)");
    EXPECT_EQ(Labels(*list), (std::vector<std::string>{"1", "2", "3", "4", "5", "d", "c"}));
    std::vector<std::string> destroyed = TFakeEntry::DestroyedLabels();
    std::sort(destroyed.begin(), destroyed.end());
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b"}));

    // The count limits only the fill-up: regular entries are all shown.
    std::unique_ptr<ItemsList> small = ListFrom(R"(<list type="fake" rows="1" cols="1">
        <item label="1"/><item label="2"/><item label="x" reserve="true"/></list>)");
    EXPECT_EQ(Labels(*small), (std::vector<std::string>{"1", "2"}));

    TFakeEntry* first = FakeEntry(*small, 0);
    small->LoadResources();
    EXPECT_EQ(first->mResourceLoads, 1);
    small.reset();
    EXPECT_EQ(TFakeEntry::DestroyedLabels().back(), "2");
}

TEST_F(ItemsLists, WithoutABuilderTheListIsEmptyAndComplete)
{
    std::unique_ptr<ItemsList> unknown = ListFrom(R"(<list type="other"><item/><item/></list>)");
    EXPECT_TRUE(unknown->GetItems().empty());
    EXPECT_TRUE(unknown->IsComplete());

    GetAppState().mItemsListItemFactory = nullptr;
    std::unique_ptr<ItemsList> none = ListFrom(R"(<list type="fake"><item/></list>)");
    EXPECT_TRUE(none->GetItems().empty());
    EXPECT_TRUE(none->IsComplete());
}

TEST_F(ItemsLists, FoundEntryAnnouncesItsToolOnce)
{
    std::unique_ptr<ItemsList> list = ListFrom(R"(<list type="fake">
        <item label="rope" tool="rope" needed="1"/><item label="bare" needed="1"/></list>)");
    TRecordingListListener listener;
    list->SetListener(&listener);
    FakeEntry(*list, 0)->mReportFound = true;
    FakeEntry(*list, 1)->mReportFound = true;
    const size_t given = GivenToolRecords().size();
    for (int frame = 0; frame < 3; ++frame) list->CheckFound(0.02f);
    EXPECT_EQ(FakeEntry(*list, 0)->mUpdates, 3);
    ASSERT_EQ(GivenToolRecords().size(), given + 1);
    EXPECT_EQ(GivenToolRecords().back().mToolName, "rope");
    EXPECT_EQ(listener.mFound, std::vector<std::string>{"rope"});
    EXPECT_TRUE(FakeEntry(*list, 0)->mAnnounced);
    EXPECT_FALSE(FakeEntry(*list, 1)->mAnnounced);  // no tool, nothing announced
    ASSERT_TRUE(IsGameEventPending("findtool"));
    ASSERT_EQ(PendingGameEventCount(), 1u);
    EXPECT_EQ(PendingGameEvent(0)->mValue, 500);
}

TEST_F(ItemsLists, CompletenessAsksTheEntriesFirst)
{
    std::unique_ptr<ItemsList> list = ListFrom(R"(<list type="fake"><item tool="saw" needed="3"/></list>)");
    TFakeEntry* entry = FakeEntry(*list, 0);
    entry->mFound = 2;
    EXPECT_FALSE(list->IsComplete());
    EXPECT_FALSE(IsGameEventPending("findtool"));
    entry->mFound = 3;
    entry->mReportFound = true;
    const size_t given = GivenToolRecords().size();
    EXPECT_TRUE(list->IsComplete());
    EXPECT_TRUE(entry->mAnnounced);  // announced by the question, without a listener
    EXPECT_EQ(GivenToolRecords().size(), given + 1);
    EXPECT_TRUE(IsGameEventPending("findtool"));
}

TEST_F(ItemsLists, RoomFileListWithLookupsAndCompletionLists)
{
    TiXmlDocument doc;
    ASSERT_TRUE(ParseXmlText(&doc, ReadWholeFile(FindsRoomPath())));
    TiXmlElement* first = doc.RootElement()->FirstChildElement("lists")->FirstChildElement("list");
    ItemsList list;
    list.LoadXml(first);
    EXPECT_EQ(list.GetItems().size(), 3u);  // the three regular entries reach the count: no reserve
    std::vector<std::unique_ptr<TObject>> objects;
    for (const char* name : {"ring", "vase", "lever", "stain", "cup"}) {
        objects.push_back(std::make_unique<TObject>());
        objects.back()->SetName(name);
    }
    list.BindObjects(objects);
    EXPECT_EQ(list.FindItemOf(objects[0].get()), list.GetItems()[0].get());
    EXPECT_EQ(list.FindItemOf(objects[2].get()), list.GetItems()[2].get());
    EXPECT_EQ(list.FindItemOf(objects[4].get()), nullptr);
    EXPECT_TRUE(list.ContainsObject(objects[1].get()));
    EXPECT_FALSE(list.ContainsObject(objects[4].get()));
    EXPECT_FALSE(list.ContainsObject(nullptr));

    EXPECT_EQ(list.mToolRecord.mToolName, "chest_key");
    EXPECT_EQ(list.mToolRecord.mOption, "lid");
    EXPECT_EQ(list.mToolRecord.mMode, 1);
    ASSERT_EQ(list.mUnlock.size(), 1u);
    EXPECT_EQ(list.mUnlock[0][0].mObject, "door");
    ASSERT_EQ(list.mFlags.size(), 1u);
    EXPECT_EQ(list.mFlags[0][0].mName, "listdone");
    EXPECT_EQ(list.mFlags[0][0].mValue, 1);
    ASSERT_EQ(list.mStates.size(), 1u);
    EXPECT_EQ(list.mStates[0][0].mSecond, "done");
    ASSERT_EQ(list.mTasksRemove.size(), 1u);
    EXPECT_EQ(list.mTasksRemove[0][0], "find_less");
    EXPECT_TRUE(list.mCloseAfterComplete);
    EXPECT_TRUE(list.mRunEffect);
}

// A tool kind of its own: type 1 makes its slot pulse.
class TPulsingTool : public TTool {
public:
    int GetType() const override { return 1; }
};

class InventoryPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 6; ++i) mTools.push_back(std::make_unique<TTool>());
        mTools[1]->mSpecial = true;
        mTools[4]->mSpecial = true;
        for (auto& tool : mTools) mPanel.mTools.push_back(tool.get());
        mPanel.mScrollSlots.resize(2);
        mPanel.mFixedSlots.resize(3);
    }
    // Regular tools 0, 2, 3, 5 scroll; 1 and 4 are special.
    std::vector<std::unique_ptr<TTool>> mTools;
    TInventoryPanel mPanel;
};

TEST_F(InventoryPanel, LayoutPutsSpecialToolsInTheFixedSlots)
{
    mPanel.Layout(false);
    EXPECT_TRUE(mPanel.mNeedsRedraw);
    EXPECT_EQ(mPanel.mFixedSlots[0].GetTool(), mTools[1].get());
    EXPECT_EQ(mPanel.mFixedSlots[1].GetTool(), mTools[4].get());
    EXPECT_EQ(mPanel.mFixedSlots[2].GetTool(), nullptr);
    EXPECT_EQ(mPanel.mScrollSlots[0].GetTool(), mTools[0].get());
    EXPECT_EQ(mPanel.mScrollSlots[1].GetTool(), mTools[2].get());

    mPanel.Layout(true);
    EXPECT_EQ(mPanel.mFirstVisible, 2);
    EXPECT_EQ(mPanel.mScrollSlots[0].GetTool(), mTools[3].get());
    EXPECT_EQ(mPanel.mScrollSlots[1].GetTool(), mTools[5].get());
    EXPECT_EQ(mPanel.FindSlotOfTool(mTools[5].get()), &mPanel.mScrollSlots[1]);
    EXPECT_EQ(mPanel.FindSlotOfTool(mTools[4].get()), &mPanel.mFixedSlots[1]);
    EXPECT_EQ(mPanel.FindSlotOfTool(mTools[0].get()), nullptr);  // scrolled away
    EXPECT_EQ(mPanel.FindSlotOfTool(nullptr), nullptr);

    // Fewer tools than slots: scrolling to the end stays at the first.
    mPanel.mScrollSlots.resize(8);
    mPanel.Layout(true);
    EXPECT_EQ(mPanel.mFirstVisible, 0);
    EXPECT_EQ(mPanel.mScrollSlots[4].GetTool(), nullptr);
}

TEST_F(InventoryPanel, ScrollToTool)
{
    TTool stranger;
    mPanel.Layout(false);
    EXPECT_EQ(mPanel.ScrollToTool(&stranger), -1);
    EXPECT_EQ(mPanel.ScrollToTool(mTools[2].get()), 1);  // already shown
    EXPECT_EQ(mPanel.mFirstVisible, 0);
    EXPECT_EQ(mPanel.ScrollToTool(mTools[5].get()), 1);  // after the range: the last slot
    EXPECT_EQ(mPanel.mFirstVisible, 2);
    EXPECT_EQ(mPanel.mScrollSlots[1].GetTool(), mTools[5].get());
    EXPECT_EQ(mPanel.ScrollToTool(mTools[0].get()), 0);  // before the range: it becomes the first
    EXPECT_EQ(mPanel.mFirstVisible, 0);
    EXPECT_EQ(mPanel.mScrollSlots[0].GetTool(), mTools[0].get());
}

TEST_F(InventoryPanel, GhostCatcherSlotAndPulse)
{
    EXPECT_EQ(mPanel.FindGhostCatcherSlot(), nullptr);
    TGhostCatcherTool catcherA, catcherB;
    TPulsingTool pulsing;
    mPanel.mFixedSlots[2].SetTool(&catcherA);
    mPanel.mScrollSlots[1].SetTool(&catcherB);
    EXPECT_EQ(mPanel.FindGhostCatcherSlot(), &mPanel.mScrollSlots[1]);

    TInventorySlot slot;
    slot.SetTool(&pulsing);
    EXPECT_FLOAT_EQ(slot.GetScale(), 1.0f);
    slot.mPulse.Update(0.5f);
    EXPECT_FLOAT_EQ(slot.GetScale(), 1.05f);
    for (int i = 0; i < 40; ++i) slot.mPulse.Update(0.25f);
    EXPECT_FALSE(slot.mPulse.mFinished);  // endless
    slot.SetTool(mTools[0].get());
    EXPECT_FLOAT_EQ(slot.GetScale(), 1.0f);
    slot.mPulse.Update(0.5f);
    EXPECT_FLOAT_EQ(slot.GetScale(), 1.0f);
}

}  // namespace
