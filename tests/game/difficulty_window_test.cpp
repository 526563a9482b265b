// The difficulty dialog on the shipped layout and presets, driven by real SDL clicks: the mode
// it opens on, the custom rows and their value labels, cancel, and what applying writes to the
// profile, tells the board and saves.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

#include "core/xml_document.h"
#include "game/difficulty_window.h"
#include "game/user_info.h"
#include "log_watch.h"
#include "ui/dialog_fixture.h"

namespace {

struct TSaveCounter : TProfileSaver {
    int mSaves = 0;
    bool SaveCurrentUser() override { return ++mSaves > 0; }
};

struct TChangeCounter : TBaseUserInfoListener {
    int mChanges = 0;
    void OnUserInfoChanged() override { ++mChanges; }
};

struct TPresetValues {
    int usetimer, fill, errors;
    float secs;
};

void ExpectPreset(const TBasePaintByNumberSettings& p, const TPresetValues& v)
{
    EXPECT_EQ(p.usetimer, v.usetimer);
    EXPECT_EQ(p.fillcolorrecharge, v.fill);
    EXPECT_EQ(p.maxerrorscount, v.errors);
    EXPECT_FLOAT_EQ(p.secsperonecell, v.secs);
}

class DifficultyWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        LoadRanges(std::string(BRISALO_ASSETS) + "/settings.xml");
        mSavedSaver = GetProfileSaver();
        SetProfileSaver(&mSaver);
        TUserInfo* user = GetUserInfo();
        mSavedListener = user->GetListener();
        user->SetListener(&mChanges);
        user->ResetPreset();
        user->mDifficulty = 4;
    }
    void TearDown() override
    {
        GetUserInfo()->SetListener(mSavedListener);
        GetUserInfo()->ResetPreset();
        GetUserInfo()->mDifficulty = 4;
        SetProfileSaver(mSavedSaver);
        DestroyDifficultyRanges();
        DialogTest::TearDown();
    }
    static void LoadRanges(const std::string& path)
    {
        DestroyDifficultyRanges();
        TiXmlDocument doc;
        ASSERT_TRUE(ParseXmlText(&doc, ReadWholeFile(path))) << path;
        GetDifficultyRanges()->LoadXml(doc.RootElement());
    }

    TSelectDifficultyModeWindow* Open()
    {
        auto* dialog = new TSelectDifficultyModeWindow(&mFly);
        mManager->AddWindow(dialog, 0);
        for (int i = 0; i < 40 && dialog->GetState() != TFlyWindow::kShown; ++i) Updates(1);
        EXPECT_EQ(TFlyWindow::kShown, dialog->GetState());
        Take();
        return dialog;
    }
    void ClickOn(TMyWindow* window, const char* name)
    {
        TMyWindow* control = window->FindChild(name);
        ASSERT_TRUE(control) << name;
        ASSERT_TRUE(control->mVisible) << name;
        Click(window->GetX() + control->GetX() + control->GetWidth() / 2,
              window->GetY() + control->GetY() + control->GetHeight() / 2);
        Updates(1);
    }
    // Presses the slider's track at a fraction of its length, drags a little and lets go there.
    void DragTo(TMyWindow* window, TBaseSlider* slider, float fraction)
    {
        const int y = window->GetY() + slider->GetY() + slider->GetHeight() / 2;
        const int x0 = window->GetX() + slider->GetX() + slider->mTrackInsetX;
        const int x = x0 + static_cast<int>(fraction * static_cast<float>(slider->TrackWidth()));
        Push(Motion(0, x - 20, y));
        Push(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, x - 20, y));
        RunFrame();
        Push(Motion(SDL_BUTTON_LMASK, x, y));
        RunFrame();
        Push(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, x, y));
        RunFrame();
        Updates(1);
    }
    void Apply(TSelectDifficultyModeWindow* dialog)
    {
        ClickOn(dialog, "apply");
        Updates(40);
        EXPECT_EQ(mManager->FindWindow(11), nullptr);
    }
    static std::wstring Text(const TSimpleTextImage* label) { return label ? label->mText : L"<none>"; }
    static std::wstring Localized(const std::string& key) { return GetLocalization()->GetText(key); }

    TSaveCounter mSaver;
    TChangeCounter mChanges;
    TProfileSaver* mSavedSaver = nullptr;
    TBaseUserInfoListener* mSavedListener = nullptr;
};

TEST_F(DifficultyWindowTest, NoneChosenOpensOnCasualWithTheCustomDefaultsAndCancelKeepsEverything)
{
    TSelectDifficultyModeWindow* dialog = Open();
    EXPECT_EQ(dialog->mId, 11);
    const char* modes[] = {"casualcb", "normalcb", "expertcb", "customcb"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(dialog->mModeBoxes[i]) << modes[i];
        EXPECT_EQ(dialog->mModeBoxes[i]->mTicked, i == 0) << modes[i];
    }
    ASSERT_EQ(dialog->mDescriptions.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(dialog->mDescriptions[i]->mVisible);
        EXPECT_EQ(dialog->mDescriptions[i]->mText, Localized("dif_casual" + std::to_string(i + 1)));
    }
    // The custom rows wait hidden, set from the custom defaults (0, 30, 10).
    for (auto* group : {&dialog->mTimer, &dialog->mFill, &dialog->mErrors}) {
        ASSERT_TRUE(group->mBox && group->mSlider && group->mLabel);
        EXPECT_FALSE(group->mBox->mVisible);
        EXPECT_FALSE(group->mSlider->mVisible);
        EXPECT_FALSE(group->mLabel->mVisible);
    }
    EXPECT_FALSE(dialog->mTimer.mBox->mTicked);
    EXPECT_EQ(Text(dialog->mTimer.mLabel), Localized("off_txt"));
    EXPECT_TRUE(dialog->mFill.mBox->mTicked);
    EXPECT_EQ(Text(dialog->mFill.mLabel), L"30");
    EXPECT_TRUE(dialog->mErrors.mBox->mTicked);
    EXPECT_EQ(Text(dialog->mErrors.mLabel), L"10");

    ClickOn(dialog, "expertcb");
    EXPECT_EQ(dialog->mDescriptions[0]->mText, Localized("dif_expert1"));
    ClickOn(dialog, "cancel");
    Updates(40);
    EXPECT_EQ(mManager->FindWindow(11), nullptr);
    EXPECT_EQ(GetUserInfo()->mDifficulty, 4);
    ExpectPreset(*GetUserInfo()->mPreset, {0, 30, 0, 2.0f});
    EXPECT_EQ(mSaver.mSaves, 0);
    EXPECT_EQ(mChanges.mChanges, 0);
    TLog log = Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "fly closed 11 result -2"), log.end());
}

TEST_F(DifficultyWindowTest, CustomRowsFollowTheirBoxesAndSlidersAndApplyStoresTheLabels)
{
    GetUserInfo()->mPreset->secsperonecell = 2.5f;
    TSelectDifficultyModeWindow* dialog = Open();
    ClickOn(dialog, "customcb");
    EXPECT_TRUE(dialog->mModeBoxes[3]->mTicked);
    EXPECT_FALSE(dialog->mModeBoxes[0]->mTicked);
    for (TSimpleTextImage* description : dialog->mDescriptions) EXPECT_FALSE(description->mVisible);
    for (auto* group : {&dialog->mTimer, &dialog->mFill, &dialog->mErrors}) {
        EXPECT_TRUE(group->mBox->mVisible);
        EXPECT_TRUE(group->mLabel->mVisible);
    }
    EXPECT_FALSE(dialog->mTimer.mSlider->mVisible) << "shown once its box is ticked";
    EXPECT_TRUE(dialog->mFill.mSlider->mVisible);
    EXPECT_TRUE(dialog->mErrors.mSlider->mVisible);

    ClickOn(dialog, "colorfillrechargebtn");
    EXPECT_FALSE(dialog->mFill.mSlider->mVisible);
    EXPECT_EQ(Text(dialog->mFill.mLabel), Localized("off_txt"));
    ClickOn(dialog, "usetimerbtn");
    EXPECT_TRUE(dialog->mTimer.mSlider->mVisible);
    EXPECT_EQ(Text(dialog->mTimer.mLabel), L"1") << "the bottom of the seconds range";
    DragTo(dialog, dialog->mTimer.mSlider, 0.5f);
    DragTo(dialog, dialog->mErrors.mSlider, 0.75f);
    const std::wstring timer = Text(dialog->mTimer.mLabel);
    const std::wstring errors = Text(dialog->mErrors.mLabel);
    EXPECT_EQ(timer, std::to_wstring(static_cast<int>(dialog->mTimer.mSlider->GetRangeValue())));
    EXPECT_EQ(errors, std::to_wstring(static_cast<int>(dialog->mErrors.mSlider->GetRangeValue())));
    EXPECT_NE(timer, L"1");
    EXPECT_NE(errors, L"10");

    Apply(dialog);
    ExpectPreset(*GetUserInfo()->mPreset, {std::stoi(timer), 0, std::stoi(errors), 2.5f});
    EXPECT_EQ(GetUserInfo()->mDifficulty, 3);
    EXPECT_EQ(mChanges.mChanges, 1);
    EXPECT_EQ(mSaver.mSaves, 1);
}

TEST_F(DifficultyWindowTest, CustomWithNothingTickedStoresZerosAndAPresetStoresAllFour)
{
    TSelectDifficultyModeWindow* dialog = Open();
    ClickOn(dialog, "customcb");
    ClickOn(dialog, "colorfillrechargebtn");
    ClickOn(dialog, "errorsbtn");
    Apply(dialog);
    ExpectPreset(*GetUserInfo()->mPreset, {0, 0, 0, 2.0f});
    EXPECT_EQ(GetUserInfo()->mDifficulty, 3);

    dialog = Open();
    EXPECT_TRUE(dialog->mModeBoxes[3]->mTicked) << "opens on the stored choice";
    ClickOn(dialog, "expertcb");
    Apply(dialog);
    ExpectPreset(*GetUserInfo()->mPreset, {1, 60, 5, 2.0f});
    EXPECT_EQ(GetUserInfo()->mDifficulty, 2);
    EXPECT_EQ(mChanges.mChanges, 2);
    EXPECT_EQ(mSaver.mSaves, 2);
}

// The slider position and its value in the range are both worked in float, so an untouched
// custom value survives opening and applying.
TEST_F(DifficultyWindowTest, EveryWholeValueOfTheShippedRangesComesBackUnchanged)
{
    const TDifficultyRanges* ranges = GetDifficultyRanges();
    struct TRange {
        int32_t TBasePaintByNumberSettings::*field;
        int32_t min, max;
    };
    const TRange rows[] = {
        {&TBasePaintByNumberSettings::fillcolorrecharge, ranges->fillcolorrechargemin, ranges->fillcolorrechargemax},
        {&TBasePaintByNumberSettings::maxerrorscount, ranges->errorsmin, ranges->errorsmax},
        {&TBasePaintByNumberSettings::usetimer, ranges->secsperonecellmin, ranges->secsperonecellmax},
    };
    ASSERT_EQ(rows[0].min, 10);
    ASSERT_EQ(rows[0].max, 120);
    for (const TRange& row : rows) {
        for (int32_t v = row.min; v <= row.max; ++v) {
            TUserInfo* user = GetUserInfo();
            user->ResetPreset();
            user->mPreset->usetimer = 1;
            user->mPreset->fillcolorrecharge = 30;
            user->mPreset->maxerrorscount = 5;
            (*user->mPreset).*row.field = v;
            user->mDifficulty = 3;
            TBasePaintByNumberSettings expected = *user->mPreset;
            TSelectDifficultyModeWindow dialog(nullptr);
            dialog.OnButtonClick(-1, nullptr, -1, nullptr);
            EXPECT_EQ((*user->mPreset).*row.field, v) << "range " << row.min << ".." << row.max;
            EXPECT_EQ(user->mPreset->usetimer, expected.usetimer);
            EXPECT_EQ(user->mPreset->fillcolorrecharge, expected.fillcolorrecharge);
            EXPECT_EQ(user->mPreset->maxerrorscount, expected.maxerrorscount);
        }
    }
}

TEST_F(DifficultyWindowTest, AChosenPresetOpensOnItsModeWithItsOwnValues)
{
    TUserInfo* user = GetUserInfo();
    *user->mPreset = GetDifficultyRanges()->Preset(1);
    user->mDifficulty = 1;
    TSelectDifficultyModeWindow* dialog = Open();
    EXPECT_TRUE(dialog->mModeBoxes[1]->mTicked);
    EXPECT_FALSE(dialog->mModeBoxes[0]->mTicked);
    EXPECT_EQ(dialog->mDescriptions[0]->mText, Localized("dif_normal1"));
    EXPECT_TRUE(dialog->mTimer.mBox->mTicked);
    EXPECT_FLOAT_EQ(dialog->mTimer.mSlider->GetValue(), 0.0f);
    EXPECT_EQ(Text(dialog->mTimer.mLabel), L"1");
}

TEST_F(DifficultyWindowTest, AFileWithTwoPresetsGivesDefaultsInPlaceOfTheMissingOnes)
{
    LoadRanges(std::string(BRISALO_TEST_DATA) + "/game/settings_two_presets.xml");
    ASSERT_EQ(GetDifficultyRanges()->presets.size(), 2u);
    TLogWatch log;
    TSelectDifficultyModeWindow* dialog = Open();
    EXPECT_TRUE(log.Has("settings.xml: no difficulty preset 3, defaults used"));
    // The custom rows from a fresh preset: no clock, fill 30, no error limit.
    EXPECT_FALSE(dialog->mTimer.mBox->mTicked);
    EXPECT_TRUE(dialog->mFill.mBox->mTicked);
    EXPECT_EQ(Text(dialog->mFill.mLabel), L"30");
    EXPECT_FALSE(dialog->mErrors.mBox->mTicked);

    GetUserInfo()->mPreset->maxerrorscount = 7;
    ClickOn(dialog, "expertcb");
    Apply(dialog);
    EXPECT_TRUE(log.Has("settings.xml: no difficulty preset 2, defaults used"));
    ExpectPreset(*GetUserInfo()->mPreset, {0, 30, 0, 2.0f});
    EXPECT_EQ(GetUserInfo()->mDifficulty, 2);
}

}  // namespace
