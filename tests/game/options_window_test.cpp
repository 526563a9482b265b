// The options dialog over a layout holding every control it knows, with settings that record
// what the dialog asks of them: the ticks it starts from and follows, the fullscreen switch
// refused on a small screen, the game cursor, the volumes, and the two ways out.
#include "game/options_window.h"

#include <algorithm>

#include "audio_cases.h"
#include "core/app_state.h"
#include "game/user_info.h"
#include "sound/sound_manager.h"
#include "ui/button.h"
#include "ui/dialog_fixture.h"

namespace {

struct TFakeSettings : TProfileSaver {
    bool mFullscreen = true;
    bool mPending = false;
    bool mCustom = false;
    int mCommits = 0;
    bool SaveCurrentUser() override { return true; }
    bool IsFullscreen() const override { return mFullscreen; }
    bool ToggleFullscreen() override
    {
        mFullscreen = !mFullscreen;
        return true;
    }
    bool IsDisplayChangePending() const override { return mPending; }
    void SetCustomCursor(bool custom) override { mCustom = custom; }
    bool CommitUser() override { return ++mCommits > 0; }
};

struct TSoundCalls : TSoundCallObserver {
    TLog mCalls;
    void OnSoundCall(const char* call, const std::string& id) override { mCalls.push_back(std::string(call) + " " + id); }
    size_t Count(const std::string& line) const { return static_cast<size_t>(std::count(mCalls.begin(), mCalls.end(), line)); }
};

class OptionsWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        mSaved = GetProfileSaver();
        SetProfileSaver(&mSettings);
        TUserInfo* user = GetUserInfo();
        user->mMusicVolume = 0.3f;
        user->mSoundVolume = 0.6f;
        user->mVoiceVolume = 0.8f;
        user->mFourthVolume = 0.5f;
        mHeight = GetAppState().mHeightBeforeStart;
    }
    void TearDown() override
    {
        if (FindSoundManager()) ReleaseSoundForNextTest();
        GetAppState().mHeightBeforeStart = mHeight;
        SetProfileSaver(mSaved);
        DialogTest::TearDown();
    }
    TOptionsWindow* Open()
    {
        auto* options = new TOptionsWindow("fixtures/options_all.xml", &mFly);
        mManager->AddWindow(options, 0);
        for (int i = 0; i < 40 && options->GetState() != TFlyWindow::kShown; ++i) Updates(1);
        EXPECT_EQ(TFlyWindow::kShown, options->GetState());
        Take();
        return options;
    }
    void ClickOn(TMyWindow* window, TMyWindow* control)
    {
        ASSERT_TRUE(control);
        Click(window->GetX() + control->GetX() + control->GetWidth() / 2,
              window->GetY() + control->GetY() + control->GetHeight() / 2);
        Updates(1);
    }
    TBaseSlider* Slider(TMyWindow* window, int id) { return dynamic_cast<TBaseSlider*>(window->FindChildById(id)); }

    // The shipped sounds and music, playing on OpenAL's null output.
    TSoundManager* StartSound()
    {
        for (const char* name : {"sounds.xml", "sounds", "music"})
            EXPECT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + name).c_str(), AssetPath(name).c_str()));
        TSoundManager* sound = GetSoundManager();
        EXPECT_TRUE(sound->LoadSounds("sounds.xml"));
        sound->SetCallObserver(&mCalls);
        return sound;
    }

    TFakeSettings mSettings;
    TSoundCalls mCalls;
    TProfileSaver* mSaved = nullptr;
    int32_t mHeight = 0;
};

TEST_F(OptionsWindowTest, StartsFromTheSettingsAndTheProfile)
{
    GetGameCursors()->SetCustomMode(true);
    for (bool pending : {false, true}) {
        mSettings.mPending = pending;
        TOptionsWindow* options = Open();
        EXPECT_EQ(options->mId, 24);
        const float expected[] = {0.3f, 0.6f, 0.8f, 0.5f};
        const int ids[] = {5, 6, 9, 10};
        for (int k = 0; k < 4; ++k) {
            ASSERT_TRUE(Slider(options, ids[k])) << ids[k];
            EXPECT_FLOAT_EQ(Slider(options, ids[k])->GetValue(), expected[k]) << ids[k];
        }
        EXPECT_TRUE(options->mFullscreen->mTicked);
        EXPECT_TRUE(options->mCustomCursor->mTicked);
        EXPECT_EQ(options->mWidescreen->mTicked, !pending);

        // Neither dead control changes a setting.
        const bool before = options->mWidescreen->mTicked;
        ClickOn(options, options->mWidescreen);
        EXPECT_NE(options->mWidescreen->mTicked, before);
        ClickOn(options, options->mDifficulty);
        EXPECT_TRUE(mSettings.mFullscreen);
        EXPECT_TRUE(mSettings.mCustom == false);
        EXPECT_EQ(mManager->FindWindow(24), options) << "no click closes the dialog but ok and menu";
        options->Close(3);
        Updates(40);
    }
}

TEST_F(OptionsWindowTest, FullscreenIsRefusedOnASmallScreenOnly)
{
    GetAppState().mHeightBeforeStart = 600;
    TOptionsWindow* options = Open();
    ClickOn(options, options->mFullscreen);
    EXPECT_TRUE(mSettings.mFullscreen);
    EXPECT_TRUE(options->mFullscreen->mTicked);
    EXPECT_TRUE(mManager->FindWindow(-1)) << "the wrong-resolution message";
    EXPECT_EQ(options->mResultCode, 2);
    mManager->FindWindow(-1)->mClosed = true;
    Updates(2);

    GetAppState().mHeightBeforeStart = 601;
    ClickOn(options, options->mFullscreen);
    EXPECT_FALSE(mSettings.mFullscreen);
    Updates(1);
    EXPECT_FALSE(options->mFullscreen->mTicked);
    EXPECT_EQ(mManager->FindWindow(-1), nullptr);

    mSettings.mFullscreen = true;  // changed elsewhere
    Updates(1);
    EXPECT_TRUE(options->mFullscreen->mTicked);
}

TEST_F(OptionsWindowTest, GameCursorFollowsItsBox)
{
    GetGameCursors()->SetCustomMode(true);
    TOptionsWindow* options = Open();
    ClickOn(options, options->mCustomCursor);
    EXPECT_FALSE(GetGameCursors()->IsCustomMode());
    EXPECT_FALSE(mSettings.mCustom);
    ClickOn(options, options->mCustomCursor);
    EXPECT_TRUE(GetGameCursors()->IsCustomMode());
    EXPECT_TRUE(mSettings.mCustom);
}

TEST_F(OptionsWindowTest, VolumesGoToTheProfileAndOnlyOkCommits)
{
    TOptionsWindow* options = Open();
    options->OnSliderChanged(6, 0.25f, nullptr);
    options->OnSliderChanged(9, 0.75f, nullptr);
    options->OnSliderChanged(10, 0.125f, nullptr);
    options->OnSliderChanged(5, 0.5f, nullptr);
    EXPECT_FLOAT_EQ(GetUserInfo()->mSoundVolume, 0.25f);
    EXPECT_FLOAT_EQ(GetUserInfo()->mVoiceVolume, 0.75f);
    EXPECT_FLOAT_EQ(GetUserInfo()->mFourthVolume, 0.125f);
    EXPECT_FLOAT_EQ(GetUserInfo()->mMusicVolume, 0.5f);

    ClickOn(options, options->mMenu);
    Updates(40);
    EXPECT_EQ(mSettings.mCommits, 0);

    options = Open();
    ClickOn(options, options->mOk);
    Updates(40);
    EXPECT_EQ(mSettings.mCommits, 1);
    TLog log = Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "fly closed 24 result 1"), log.end());
}

TEST_F(OptionsWindowTest, MusicSliderStartsTheMenuMusicOnlyWhenNoneIsPlaying)
{
    TSoundManager* sound = StartSound();
    TOptionsWindow* options = Open();
    options->OnSliderChanged(5, 0.7f, nullptr);
    EXPECT_EQ(mCalls.Count("music mainmenu"), 1u);
    EXPECT_TRUE(sound->IsMusicPlaying("mainmenu"));
    EXPECT_FLOAT_EQ(sound->GetMusicVolume(), 0.7f);
    EXPECT_FLOAT_EQ(GetUserInfo()->mMusicVolume, 0.7f);
    options->OnSliderChanged(5, 0.6f, nullptr);
    EXPECT_EQ(mCalls.Count("music mainmenu"), 1u) << "started once";
    EXPECT_EQ(mCalls.Count("stopallmusic "), 0u);
    options->Close(3);
    Updates(40);
    ASSERT_EQ(mManager->FindWindow(24), nullptr);
    EXPECT_EQ(mCalls.Count("stopallmusic "), 1u) << "the music it started ends with the dialog";

    for (int i = 0; i < 10; ++i) sound->Update(0.5f);
    ASSERT_FALSE(sound->IsAnyMusicPlaying());
    ASSERT_TRUE(sound->PlayMusic("mainmenu"));
    mCalls.mCalls.clear();
    options = Open();
    options->OnSliderChanged(5, 0.2f, nullptr);
    EXPECT_FLOAT_EQ(sound->GetMusicVolume(), 0.2f);
    options->Close(3);
    Updates(40);
    EXPECT_TRUE(mCalls.mCalls.empty()) << "with music playing nothing starts or stops";
}

TEST_F(OptionsWindowTest, EachVolumeSliderSetsItsOwnCategory)
{
    TSoundManager* sound = StartSound();
    TOptionsWindow* options = Open();
    options->OnSliderChanged(6, 0.25f, nullptr);
    EXPECT_FLOAT_EQ(sound->GetSoundVolume(), 0.25f);
    options->OnSliderChanged(9, 0.75f, nullptr);
    EXPECT_FLOAT_EQ(sound->GetVoiceVolume(), 0.75f);
    // No list has category 2, yet the manager keeps the value as its voice volume.
    options->OnSliderChanged(10, 0.125f, nullptr);
    EXPECT_FLOAT_EQ(sound->GetVoiceVolume(), 0.125f);
    EXPECT_FLOAT_EQ(sound->GetSoundVolume(), 0.25f);
    EXPECT_FLOAT_EQ(GetUserInfo()->mFourthVolume, 0.125f);
}

}  // namespace
