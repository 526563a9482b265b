// Tips, the scene profile's time texts, the collections catalogue and the room factory.
#include "rooms/tip_panel.h"

#include <gtest/gtest.h>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/localization.h"
#include "rooms/collections.h"
#include "rooms/hopa_user_info.h"
#include "rooms/room_factory.h"
#include "sound_calls.h"

namespace {

THopaBaseUserInfo* gTipProfile = nullptr;
THopaBaseUserInfo* TestProfile() { return gTipProfile; }

class TipPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
        gTipProfile = &mProfile;
        SetTipProfileHook(&TestProfile);
        GetAppState().mTipPanel = &mPanel;
    }

    void TearDown() override
    {
        GetAppState().mTipPanel = nullptr;
        SetTipProfileHook(nullptr);
        gTipProfile = nullptr;
        DestroyLocalization();
    }

    THopaBaseUserInfo mProfile;
    TTipPanel mPanel;
};

TEST_F(TipPanelTest, ShowTipShowsTheKeysTextAndPlaysItsSound)
{
    TRecordedSoundCalls sounds;
    ShowTip("WrongTool1", 7.0f);
    EXPECT_EQ(mPanel.mKey, "WrongTool1");
    EXPECT_EQ(mPanel.mText, GetLocalization()->GetText("WrongTool1"));
    EXPECT_FALSE(mPanel.mText.empty());
    EXPECT_EQ(mPanel.mTextWidget.mText, mPanel.mText);
    EXPECT_EQ(mPanel.mState, TTipPanel::kShown);
    EXPECT_TRUE(mPanel.mVisible);
    EXPECT_EQ(sounds.mCalls, (std::vector<std::string>{"play tip"}));
    for (int i = 0; i < 4; ++i) mPanel.Update(kTipFadeSeconds / 4);
    EXPECT_EQ(mPanel.GetAlpha(), 1.0f);

    // Another key fades the old tip out and the new one in.
    ShowTip("hours", 0.0f);
    EXPECT_EQ(mPanel.mKey, "hours");
    EXPECT_EQ(mPanel.mTextWidget.mText, L"hours");
    EXPECT_TRUE(mPanel.mFadeOut.mRunning);
    mPanel.Update(kTipFadeSeconds);
    EXPECT_EQ(mPanel.GetAlpha(), 0.0f);
    EXPECT_EQ(mPanel.mState, TTipPanel::kShown);
    mPanel.Update(kTipFadeSeconds);
    EXPECT_EQ(mPanel.GetAlpha(), 1.0f);

    // An empty key lets the shown tip fade out, silently.
    ShowTip("", 0.0f);
    EXPECT_EQ(mPanel.mState, TTipPanel::kFadingOut);
    EXPECT_EQ(mPanel.mKey, "");
    EXPECT_TRUE(mPanel.mText.empty());
    EXPECT_TRUE(mPanel.mTextWidget.mText.empty());
    mPanel.Update(kTipFadeSeconds);
    EXPECT_FALSE(mPanel.mVisible);
    EXPECT_EQ(mPanel.mState, TTipPanel::kHidden);
    EXPECT_EQ(sounds.mCalls, (std::vector<std::string>{"play tip", "play tip"}));
}

TEST_F(TipPanelTest, ShowTipDoesNothingWithoutTipsOrPanel)
{
    TRecordedSoundCalls sounds;
    mProfile.mTipsAllowed = false;
    ShowTip("WrongTool1", 0.0f);
    mProfile.mTipsAllowed = true;
    gTipProfile = nullptr;
    ShowTip("WrongTool1", 0.0f);
    gTipProfile = &mProfile;
    GetAppState().mTipPanel = nullptr;
    ShowTip("WrongTool1", 0.0f);
    EXPECT_EQ(mPanel.mState, TTipPanel::kHidden);
    EXPECT_EQ(mPanel.mKey, "");
    EXPECT_TRUE(sounds.mCalls.empty());
    // The game's own profile offers no tips: nothing shows there either.
    SetTipProfileHook(nullptr);
    GetAppState().mTipPanel = &mPanel;
    ShowTip("WrongTool1", 0.0f);
    EXPECT_EQ(mPanel.mState, TTipPanel::kHidden);
    EXPECT_EQ(GetHopaUserInfo(), nullptr);
}

TEST_F(TipPanelTest, HideAndFadeOut)
{
    TipPanelFadeOut();  // nothing shown: nothing to fade
    EXPECT_EQ(mPanel.mState, TTipPanel::kHidden);
    EXPECT_FALSE(mPanel.mFadeOut.mRunning);

    ShowTip("WrongTool1", 0.0f);
    TipPanelHide();
    EXPECT_FALSE(mPanel.mVisible);
    EXPECT_EQ(mPanel.mState, TTipPanel::kHidden);
    EXPECT_FALSE(mPanel.mFadeIn.mRunning);
    EXPECT_FALSE(mPanel.mFadeOut.mRunning);

    ShowTip("WrongTool1", 0.0f);
    mPanel.Update(kTipFadeSeconds);
    TipPanelFadeOut();
    EXPECT_EQ(mPanel.mState, TTipPanel::kFadingOut);
    EXPECT_TRUE(mPanel.mVisible);
    EXPECT_TRUE(mPanel.mFadeOut.mRunning);
    EXPECT_EQ(mPanel.mKey, "");
    EXPECT_TRUE(mPanel.mTextWidget.mText.empty());
}

TEST(FormatDuration, WritesHoursMinutesAndSecondsWithTheirWords)
{
    ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
    struct Case {
        float seconds;
        bool japanese;
        const wchar_t* text;
    } cases[] = {
        {3725.9f, false, L"1 hours, 2 minutes, 5 seconds"},
        {59.0f, false, L"0 hours, 0 minutes, 59 seconds"},
        {3725.9f, true, L"1 hours 2 minutes 5 seconds"},
        {0.0f, false, L"0 hours, 0 minutes, 0 seconds"},
    };
    for (const Case& c : cases) {
        TSecondsCounter counter;
        counter.mValue = c.seconds;
        EXPECT_EQ(FormatDuration(counter, c.japanese), c.text) << c.seconds;
    }
    TSecondsCounter counter;
    counter.mValue = 61.0f;
    EXPECT_EQ(FormatDuration(counter), L"0 hours, 1 minutes, 1 seconds");

    THopaBaseUserInfo profile;
    profile.mTimeCounter.mValue = 5.0f;
    profile.mSecondTimeCounter.mValue = 7200.0f;
    EXPECT_EQ(profile.GetTimeText(), L"0 hours, 0 minutes, 5 seconds");
    profile.mMode = 3;
    EXPECT_EQ(profile.GetTimeText(), L"2 hours, 0 minutes, 0 seconds");
    profile.mMode = 2;
    EXPECT_EQ(profile.GetTimeText(), L"0 hours, 0 minutes, 5 seconds");
    DestroyLocalization();
}

TEST(CollectionsCatalog, LookupsFollowGroupAndItemOrder)
{
    TCollectionsCatalog catalog;
    catalog.mGroups.resize(2);
    catalog.mGroups[0].mName = "coins";
    catalog.mGroups[0].mItems = {{"silver", "pic_a", 5, false}, {"gold", "pic_b", 10, false}};
    catalog.mGroups[1].mName = "stamps";
    catalog.mGroups[1].mItems = {{"gold", "pic_c", 20, true}};
    ASSERT_NE(catalog.FindItem("gold"), nullptr);
    EXPECT_EQ(catalog.FindItem("gold")->mPicture, "pic_b");
    EXPECT_EQ(catalog.FindItem("Gold"), nullptr);
    EXPECT_EQ(catalog.FindItem("none"), nullptr);
    EXPECT_EQ(catalog.FindGroup("stamps"), &catalog.mGroups[1]);
    EXPECT_EQ(catalog.FindGroup("medals"), nullptr);
    EXPECT_FALSE(catalog.FindGroup("coins")->HasFlaggedItem());
    EXPECT_TRUE(catalog.FindGroup("stamps")->HasFlaggedItem());
    catalog.mGroups[0].mItems[1].mFlag = true;
    EXPECT_TRUE(catalog.FindGroup("coins")->HasFlaggedItem());
}

TEST(RoomFactory, CreatesARoomOfAnyTypeAndInstallsItself)
{
    TOwned<TRoomFactory> saved = std::move(GetAppState().mRoomFactory);
    TRoomFactory factory;
    std::unique_ptr<TRoom> room(factory.Create("x"));
    EXPECT_NE(room, nullptr);
    EXPECT_NE(GetAppState().mRoomFactory, nullptr);
    // After the shutdown a late caller still gets its room, but no factory comes back.
    GetAppState().mRoomFactory.reset();
    SetRoomFactoryShutDown(true);
    room.reset(factory.Create("x"));
    EXPECT_NE(room, nullptr);
    EXPECT_EQ(GetAppState().mRoomFactory, nullptr);
    SetRoomFactoryShutDown(false);
    GetAppState().mRoomFactory = std::move(saved);
}

}  // namespace
