// Tools: completeness, what their element says, lists, the saved record, pictures and points,
// power and the effects they show.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

#include "core/buffer.h"
#include "core/xml_document.h"
#include "rooms/ghost_catcher_tool.h"
#include "rooms/tool.h"
#include "rooms/tool_fixture.h"
#include "test_support.h"

namespace {

std::vector<std::string> Names(const std::vector<std::unique_ptr<StaticImage>>& images)
{
    std::vector<std::string> names;
    for (const auto& image : images) names.push_back(image->mTextureName);
    return names;
}

TEST(ToolCompleteness, PiecesSubToolsAndOwner)
{
    TTool plain;
    EXPECT_FALSE(plain.IsUsedUp());
    plain.MarkSubToolUsed("anything");
    EXPECT_TRUE(plain.IsUsedUp());
    TTool usedUp;
    usedUp.UseUp();
    EXPECT_TRUE(usedUp.IsUsedUp());

    TTool owned;
    owned.mOwned = true;
    EXPECT_TRUE(owned.IsUsedUp());
    EXPECT_TRUE(owned.CompletesWithNextPart());

    TTool assembled;
    assembled.mSubTools.resize(2);
    assembled.mSubTools[0].mName = "a";
    assembled.mSubTools[1].mName = "b";
    assembled.MarkSubToolUsed("c");  // counts a piece, completes nothing
    EXPECT_EQ(assembled.mUseCount, 1);
    EXPECT_FALSE(assembled.IsUsedUp());
    assembled.MarkSubToolUsed("a");
    EXPECT_FALSE(assembled.IsUsedUp());
    assembled.MarkSubToolUsed("b");
    EXPECT_TRUE(assembled.IsUsedUp());
    assembled.MarkSubToolUnused("a");
    EXPECT_FALSE(assembled.IsUsedUp());
    EXPECT_EQ(assembled.mUseCount, 3);

    TTool twoParts;
    twoParts.mPartCount = 2;
    EXPECT_FALSE(twoParts.CompletesWithNextPart());
    twoParts.MarkSubToolUsed("");
    EXPECT_TRUE(twoParts.CompletesWithNextPart());
    EXPECT_FALSE(twoParts.IsUsedUp());
}

TEST(ToolKinds, GhostCatcherByExactTypeName)
{
    EXPECT_EQ(CreateTool("ghostcatcher")->GetType(), TGhostCatcherTool::kType);
    for (const char* type : {"", "GhostCatcher", "tool"}) EXPECT_EQ(CreateTool(type)->GetType(), 0) << type;
}

class ToolXml : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        ASSERT_TRUE(ParseXmlText(&mDoc, ReadWholeFile(FindsRoomPath())));
        mRoot = mDoc.RootElement();
    }
    void TearDown() override
    {
        mList.Clear();
        mRoomTools.Clear();
        ToolTest::TearDown();
    }

    TiXmlDocument mDoc;
    TiXmlElement* mRoot = nullptr;
    TToolsList mList;
    TToolsList mRoomTools;
};

TEST_F(ToolXml, PathsPartsAndSubTools)
{
    mList.Load(mRoot, false, "");
    mRoomTools.Load(mRoot->FirstChildElement("globaltools"), false, "");
    ASSERT_EQ(mList.Size(), 4u);  // the repeated "key" is dropped

    TTool* key = mList.FindTool("key");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->mHandImageName, "textures/tools/key/wnd");  // the first "key" stays
    EXPECT_EQ(Names(key->mInventoryImages), std::vector<std::string>{"textures/tools/key/inv"});
    EXPECT_TRUE(key->mFlyImages.empty());
    EXPECT_EQ(key->AdjustY(-20000), -10000);
    EXPECT_EQ(key->AdjustY(5), 5);

    TTool* amulet = mList.FindTool("amulet");
    ASSERT_NE(amulet, nullptr);
    EXPECT_EQ(amulet->mHandImageName, "/wnd");
    EXPECT_EQ(Names(amulet->mInventoryImages),
              (std::vector<std::string>{"", "textures/amulet/left_inv", "textures/amulet/right_inv"}));
    EXPECT_EQ(Names(amulet->mFlyImages),
              (std::vector<std::string>{"textures/amulet/fly", "textures/amulet/left_fly", "textures/amulet/right_fly"}));
    ASSERT_EQ(amulet->mParts.size(), 2u);
    EXPECT_EQ(amulet->mParts[1].mImageName, "textures/amulet/right");
    EXPECT_EQ(amulet->mPartCount, 2);
    EXPECT_EQ(amulet->GetCurrentName(), "amulet_left");
    amulet->mWholeTool = true;
    EXPECT_EQ(amulet->GetCurrentName(), "amulet");

    TTool* map = mRoomTools.FindTool("map");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(Names(map->mInventoryImages), std::vector<std::string>{"map_inv"});
    EXPECT_EQ(Names(map->mFlyImages), std::vector<std::string>{"textures/map_fly"});

    // The group without three fields is skipped; the pictures load with the element.
    TTool* lamp = mList.FindTool("lamp");
    ASSERT_NE(lamp, nullptr);
    ASSERT_EQ(lamp->mSubTools.size(), 2u);
    EXPECT_EQ(lamp->mSubTools[0].mName, "glass");
    EXPECT_EQ(lamp->mSubTools[1].mName, "wick");
    EXPECT_EQ(lamp->mSubTools[1].mFirstImage.mTextureName, "textures/tools/lamp/wick1");
    EXPECT_NE(lamp->mSubTools[1].mSecondImage.GetTexture(), nullptr);

    EXPECT_EQ(mList.FindTool("catcher")->GetType(), TGhostCatcherTool::kType);
    EXPECT_EQ(mList.FindTool("Key"), nullptr);
}

TEST_F(ToolXml, ListsOwnersAndResources)
{
    TiXmlDocument empty;
    ParseXmlText(&empty, "<room><Objects/></room>");
    mList.Load(empty.RootElement(), true, "finds");
    EXPECT_TRUE(mList.Empty());

    mList.Load(mRoot, true, "finds");
    mRoomTools.Load(mRoot->FirstChildElement("globaltools"), false, "finds");
    for (const auto& tool : mList.mTools) {
        EXPECT_TRUE(tool->mOwned);
        EXPECT_EQ(tool->mOwnerName, "finds");
        EXPECT_TRUE(tool->IsUsedUp());
    }
    EXPECT_FALSE(mRoomTools.FindTool("map")->mOwned);
    EXPECT_EQ(mRoomTools.FindTool("map")->mOwnerName, "");

    // A second room repeating an id loses that tool to the first.
    mList.Load(mRoot, true, "other");
    EXPECT_EQ(mList.Size(), 4u);

    TTool* key = mList.FindTool("key");
    mList.LoadResources(true, "other");
    EXPECT_EQ(key->mInventoryImages[0]->GetTexture(), nullptr);
    mList.LoadResources(true, "finds");
    mList.LoadResources(true, "finds");
    EXPECT_NE(key->mInventoryImages[0]->GetTexture(), nullptr);
    EXPECT_NE(mList.FindTool("amulet")->mParts[0].mImage.GetTexture(), nullptr);
    mList.FreeResources(true, "finds");  // once is enough after two loads
    EXPECT_EQ(key->mInventoryImages[0]->GetTexture(), nullptr);
    EXPECT_EQ(mList.FindTool("lamp")->mSubTools[0].mSecondImage.GetTexture(), nullptr);
    EXPECT_EQ(key->mHandImage.GetTexture(), nullptr);
    key->LoadHandImage();
    EXPECT_NE(key->mHandImage.GetTexture(), nullptr);
    key->FreeHandImage();

    // Owned under an empty name: loading by that name does nothing, freeing frees them.
    TToolsList nameless;
    nameless.Load(mRoot, true, "");
    nameless.LoadResources(true, "");
    EXPECT_FALSE(nameless.FindTool("key")->mResourcesLoaded);
    nameless.LoadResources(false, "");
    EXPECT_TRUE(nameless.FindTool("key")->mResourcesLoaded);
    nameless.FreeResources(true, "");
    EXPECT_FALSE(nameless.FindTool("key")->mResourcesLoaded);
    EXPECT_EQ(nameless.FindTool("key")->mInventoryImages[0]->GetTexture(), nullptr);
}

TEST_F(ToolXml, StateRoundTripAndDamagedRecords)
{
    mList.Load(mRoot, false, "");
    TTool* lamp = mList.FindTool("lamp");
    lamp->mWholeTool = true;
    lamp->mUseCount = 4;
    lamp->mUseLimit = 7;
    lamp->mReservedA = -5;
    lamp->mReservedB = 123456;
    lamp->mSubTools[1].mUsed = true;
    TBaseBuffer buffer;
    lamp->SaveState(buffer);
    EXPECT_EQ(buffer.Size(), 1u + 5 * 4 + 2);

    TToolsList other;
    other.Load(mRoot, false, "");
    TTool* copy = other.FindTool("lamp");
    copy->mSubTools[0].mUsed = true;
    copy->LoadState(buffer);
    EXPECT_TRUE(copy->mWholeTool);
    EXPECT_EQ(copy->mPartIndex, 0);
    EXPECT_EQ(copy->mUseCount, 4);
    EXPECT_EQ(copy->mUseLimit, 7);
    EXPECT_EQ(copy->mReservedA, -5);
    EXPECT_EQ(copy->mReservedB, 123456);
    EXPECT_FALSE(copy->mSubTools[0].mUsed);
    EXPECT_TRUE(copy->mSubTools[1].mUsed);

    // Short of sub-tool bytes: the rest read 0.
    TBaseBuffer shortRecord;
    for (size_t i = 0; i + 2 < buffer.Size(); ++i) shortRecord.WriteByte(buffer.Bytes()[i]);
    copy->mSubTools[1].mUsed = true;
    copy->LoadState(shortRecord);
    EXPECT_FALSE(copy->mSubTools[1].mUsed);
    EXPECT_EQ(copy->mUseCount, 4);

    // A part index outside the parts becomes 0.
    TTool* amulet = mList.FindTool("amulet");
    for (int32_t index : {1, 2, 7, -1}) {
        TBaseBuffer record;
        record.WriteByte(0);
        record.WriteInt32(index);
        for (int i = 0; i < 4; ++i) record.WriteInt32(0);
        amulet->LoadState(record);
        EXPECT_EQ(amulet->mPartIndex, index == 1 ? 1 : 0) << index;
        EXPECT_EQ(amulet->GetCurrentName(), index == 1 ? "amulet_right" : "amulet_left") << index;
    }
}

TEST_F(ToolXml, InventoryCursorHotSpotAndHandPictures)
{
    mList.Load(mRoot, false, "");
    mList.LoadResources(false, "");

    TTool* amulet = mList.FindTool("amulet");
    const std::vector<StaticImage*> inventory{amulet->mInventoryImages[0].get(), amulet->mInventoryImages[1].get(),
                                              amulet->mInventoryImages[2].get()};
    const struct {
        int useCount;
        StaticImage* image;
    } byUseCount[] = {{0, inventory[0]}, {1, inventory[0]}, {2, inventory[1]}, {3, inventory[2]}, {4, inventory[0]}};
    for (const auto& row : byUseCount) {
        amulet->mUseCount = row.useCount;
        EXPECT_EQ(amulet->GetInventoryImage(""), row.image) << row.useCount;
        EXPECT_EQ(amulet->GetInventoryImage("nosuch"), row.image) << row.useCount;
    }

    EXPECT_EQ(amulet->GetCursorImage(), amulet->mFlyImages[0].get());
    const struct {
        int flyIndex;
        bool whole;
        int hx, hy;
    } spots[] = {{0, false, 0, 0}, {1, false, 3, 4}, {2, false, 5, 6}, {9, false, 5, 6}, {-3, false, 0, 0},
                 {2, true, 0, 0}};
    for (const auto& row : spots) {
        amulet->mFlyIndex = row.flyIndex;
        amulet->mWholeTool = row.whole;
        EXPECT_EQ(amulet->GetHotSpot().x, row.hx) << row.flyIndex;
        EXPECT_EQ(amulet->GetHotSpot().y, row.hy) << row.flyIndex;
        EXPECT_EQ(amulet->GetHandOffset().x, 0);
    }
    amulet->mFlyIndex = 9;
    amulet->mUseCount = 2;
    EXPECT_EQ(amulet->GetCursorImage(), inventory[1]);  // past the fly pictures

    // More fly pictures than hot spots: an index past the list gives the first entry.
    std::unique_ptr<TTool> pointer = ToolFrom(R"(<tool id="p" imgfly="a,b,c" hx="1" hy="2" handx="7"/>)");
    for (int flyIndex : {0, 2, 5}) {
        pointer->mFlyIndex = flyIndex;
        EXPECT_EQ(pointer->GetHotSpot().x, 1) << flyIndex;
        EXPECT_EQ(pointer->GetHotSpot().y, 2) << flyIndex;
        EXPECT_EQ(pointer->GetHandOffset().x, 7) << flyIndex;
    }

    // Sub-tool pictures: by name, or with "subpurtsdraw" by the pieces counted.
    TTool* lamp = mList.FindTool("lamp");
    EXPECT_EQ(lamp->GetInventoryImage("wick"), &lamp->mSubTools[1].mSecondImage);
    EXPECT_EQ(lamp->GetInventoryImage(""), lamp->mInventoryImages[0].get());
    lamp->mSubPartsDraw = 1;
    const struct {
        int useCount;
        StaticImage* image;
    } drawn[] = {{0, lamp->mInventoryImages[0].get()},
                 {1, &lamp->mSubTools[0].mSecondImage},
                 {2, &lamp->mSubTools[1].mSecondImage},
                 {3, lamp->mInventoryImages[0].get()}};
    for (const auto& row : drawn) {
        lamp->mUseCount = row.useCount;
        EXPECT_EQ(lamp->GetInventoryImage("glass"), row.image) << row.useCount;
    }
}

class ToolEffects : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        auto take = std::make_unique<TCountingEffect>(3);
        auto apply = std::make_unique<TCountingEffect>(2);
        mTakeEntry = take.get();
        mApplyEntry = apply.get();
        NamedEffectsRegistry()["glow"] = std::move(take);
        NamedEffectsRegistry()["spark"] = std::move(apply);
    }

    TCountingEffect* mTakeEntry = nullptr;
    TCountingEffect* mApplyEntry = nullptr;
};

TEST_F(ToolEffects, PowerKeepsTheTakeEffectWhileItRuns)
{
    std::unique_ptr<TTool> tool = ToolFrom(R"(<tool id="t" effect="glow" effectapply="spark" powertime="2"/>)");
    EXPECT_FLOAT_EQ(tool->GetPower(), 1.0f);
    EXPECT_FLOAT_EQ(tool->SetPower(1.0f), 1.0f);
    ASSERT_NE(tool->GetTakeEffect(), nullptr);
    EXPECT_NE(tool->GetTakeEffect(), mTakeEntry);
    EXPECT_EQ(static_cast<TCountingEffect*>(tool->GetTakeEffect())->mResets, 1);
    tool->Update(1.0f);
    EXPECT_NE(tool->GetTakeEffect(), nullptr);
    EXPECT_FLOAT_EQ(tool->GetPower(), 0.5f);
    tool->Update(1.1f);
    EXPECT_EQ(tool->GetTakeEffect(), nullptr);
    EXPECT_FLOAT_EQ(tool->GetPower(), 0.0f);

    // Taken without a new power, the effect dies at the next update.
    tool->Select(0, 0);
    EXPECT_EQ(tool->mMode, 2);
    ASSERT_NE(tool->GetTakeEffect(), nullptr);
    tool->Update(0.01f);
    EXPECT_EQ(tool->GetTakeEffect(), nullptr);

    // A negative power runs up to it.
    tool->SetPower(-2.0f);
    EXPECT_FLOAT_EQ(tool->GetPower(), 0.0f);
    tool->Update(1.0f);
    EXPECT_FLOAT_EQ(tool->GetPower(), -1.0f);
}

TEST_F(ToolEffects, SelectApplyResetAndUnknownNames)
{
    std::unique_ptr<TTool> tool = ToolFrom(R"(<tool id="t" effect="glow" effectapply="spark"/>)");
    tool->Select(0, 0);
    EXPECT_EQ(tool->mMode, 2);
    for (int i = 0; i < 2; ++i) {
        tool->Update(5.0f);
        EXPECT_NE(tool->GetTakeEffect(), nullptr) << i;
    }
    tool->Update(5.0f);  // its third update reports done
    EXPECT_EQ(tool->GetTakeEffect(), nullptr);

    tool->Select(0, 0);
    tool->Apply(10, 20, 0);
    EXPECT_EQ(tool->mMode, 0);
    ASSERT_NE(tool->GetApplyEffect(), nullptr);
    EXPECT_NE(tool->GetApplyEffect(), mApplyEntry);
    tool->SetPower(1.0f);
    tool->Reset();
    EXPECT_EQ(tool->GetTakeEffect(), nullptr);
    EXPECT_EQ(tool->GetApplyEffect(), nullptr);
    EXPECT_FLOAT_EQ(tool->GetPower(), 0.0f);

    std::unique_ptr<TTool> unnamed = ToolFrom(R"(<tool id="u" effect="nosuch" effectapply="spark"/>)");
    unnamed->Select(0, 0);
    EXPECT_EQ(unnamed->GetTakeEffect(), nullptr);
    unnamed->Apply(0, 0, 0);
    unnamed->StopEffects();
    EXPECT_EQ(unnamed->GetApplyEffect(), nullptr);
}

// Each tool shows a copy of its own: finished, replaced, stopped or destroyed with its tool,
// every copy goes exactly once, and the registry's entries stay as they were.
TEST_F(ToolEffects, EveryShownCopyIsDestroyedOnceAndTheEntriesStay)
{
    {
        std::unique_ptr<TTool> first = ToolFrom(R"(<tool id="a" effect="glow" effectapply="spark"/>)");
        std::unique_ptr<TTool> second = ToolFrom(R"(<tool id="b" effect="glow" effectapply="spark"/>)");
        first->Select(0, 0);
        second->Select(0, 0);
        EXPECT_NE(first->GetTakeEffect(), second->GetTakeEffect());
        first->Apply(0, 0, 0);
        first->Update(0.1f);
        first->Update(0.1f);  // the apply copy finishes
        EXPECT_EQ(first->GetApplyEffect(), nullptr);
        first->Select(0, 0);  // replaced
        second->Apply(0, 0, 0);
        second->Apply(0, 0, 0);  // replaced
        second->StopEffects();
        second->Select(0, 0);
        first->Apply(0, 0, 0);
    }
    EXPECT_EQ(TCountingEffect::sMade - 2, TCountingEffect::sDestroyed);
    ASSERT_EQ(NamedEffectsRegistry()["glow"].get(), mTakeEntry);
    EXPECT_EQ(mTakeEntry->mUpdates, 0);
    EXPECT_EQ(mTakeEntry->mResets, 0);
    EXPECT_EQ(mApplyEntry->mUpdates, 0);
    NamedEffectsRegistry().clear();
    EXPECT_EQ(TCountingEffect::sMade, TCountingEffect::sDestroyed);
}

}  // namespace
