#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

#include <SDL_timer.h>
#include <tinyxml.h>

#include "app/input_dispatch.h"
#include "audio_cases.h"
#include "core/app_state.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "sound/al_engine.h"
#include "sound/sound_manager.h"
#include "sound/sound_test_support.h"
#include "ui/window_manager.h"

namespace {

using TClock = std::chrono::steady_clock;

// The manager over the loopback engine (its audio thread running), with the fixtures'
// "lists.xml" loaded the way the game loads "sounds.xml".
class SoundManagerTest : public ::testing::Test {
protected:
    SoundManagerTest() : mAssets(SoundData()) {}
    void SetUp() override
    {
        UseSoundOutput(OpenLoopbackOutput);
        ASSERT_TRUE(Manager()->LoadSounds("lists.xml"));
        ASSERT_TRUE(GetAlEngine()->HasContext());
    }
    void TearDown() override
    {
        ReleaseSoundForNextTest();
        SetAlOutputOpener(nullptr);
    }
    TSoundManager* Manager() { return GetSoundManager(); }
    TAlEngine* Engine() { return GetAlEngine(); }
    SharedPtr<TAlSoundInfo> Sound(const char* list, const char* id)
    {
        return Manager()->FindSoundList(list)->FindSound(id);
    }
    // Adds a list from "lists.xml" as a stage or room would.
    void AddList(const char* name, const char* tag, bool openNow, int category)
    {
        TiXmlElement* root = LoadXmlDocument("lists.xml");
        ASSERT_NE(root, nullptr);
        Manager()->AddSoundList(name, root, tag, openNow, category);
        DeleteCurrentXmlDocument();
    }

    TAssetsFolder mAssets;
};

}  // namespace

TEST_F(SoundManagerTest, PlaySoundAsksOpenListsInNameOrder)
{
    EXPECT_TRUE(Manager()->PlaySound("both"));
    EXPECT_NE(Sound("sound", "both")->mSource, 0u);
    EXPECT_EQ(Sound("voice", "both")->mSource, 0u);
    EXPECT_TRUE(Manager()->IsSoundPlaying("both"));

    EXPECT_FALSE(Manager()->PlaySound(""));
    EXPECT_EQ(Sound("sound", "")->mSource, 0u);  // a sound without id is never asked
    EXPECT_FALSE(Manager()->PlaySound("nosuchid"));
    EXPECT_TRUE(Manager()->PlaySound("jingle"));

    Manager()->StopSound("both");
    EXPECT_FALSE(Manager()->IsSoundPlaying("both"));
}

TEST_F(SoundManagerTest, UnopenedStageListIsSkippedUntilOpened)
{
    AddList("stage1", "stage", false, 0);
    EXPECT_FALSE(Manager()->PlaySound("stagesound"));
    Manager()->FindSoundList("stage1")->OpenStreams();
    EXPECT_TRUE(Manager()->PlaySound("stagesound"));
    EXPECT_TRUE(Manager()->IsSoundPlaying("stagesound"));
    Manager()->RemoveSoundList("stage1");
    EXPECT_FALSE(Manager()->FindSoundList("stage1"));
    EXPECT_FALSE(Manager()->IsSoundPlaying("stagesound"));
}

TEST_F(SoundManagerTest, VolumesAreStoredAsGivenAndListsGetThemClamped)
{
    Manager()->SetSoundVolume(1.5f, 0);
    EXPECT_FLOAT_EQ(Manager()->GetSoundVolume(), 1.5f);
    EXPECT_FLOAT_EQ(Manager()->FindSoundList("sound")->mVolume, 1.0f);
    AddList("stage1", "stage", true, 0);
    EXPECT_FLOAT_EQ(Manager()->FindSoundList("stage1")->mVolume, 1.0f);

    Manager()->SetSoundVolume(0.3f, 1);
    EXPECT_FLOAT_EQ(Manager()->FindSoundList("voice")->mVolume, 0.3f);
    Manager()->SetSoundVolume(0.7f, 2);  // no list has category 2
    EXPECT_FLOAT_EQ(Manager()->GetVoiceVolume(), 0.7f);
    EXPECT_FLOAT_EQ(Manager()->GetSoundVolume(), 1.5f);
    EXPECT_FLOAT_EQ(Manager()->FindSoundList("voice")->mVolume, 0.3f);
    EXPECT_FLOAT_EQ(Manager()->FindSoundList("sound")->mVolume, 1.0f);

    Manager()->SetMusicVolume(-1.0f);
    EXPECT_FLOAT_EQ(Manager()->GetMusicVolume(), -1.0f);
    EXPECT_FLOAT_EQ(Manager()->FindMusicList("music")->mVolume, 0.0f);
}

TEST_F(SoundManagerTest, MutedSoundStaysMutedThroughTheAudioStep)
{
    ASSERT_TRUE(Manager()->PlaySound("endless"));
    unsigned source = Sound("sound", "endless")->mSource;
    Manager()->SetSoundVolume(0.0f, 0);
    Engine()->Update();
    EXPECT_EQ(SourceGain(Engine(), source), 0.0f);
}

TEST_F(SoundManagerTest, PauseAllHoldsAndResumesPlayingSounds)
{
    ASSERT_TRUE(Manager()->PlaySound("endless"));
    ASSERT_TRUE(Manager()->PlayMusicList("music", false));
    unsigned source = Sound("sound", "endless")->mSource;
    Manager()->PauseAll(true);
    EXPECT_TRUE(Engine()->IsPaused(source));
    EXPECT_FALSE(Manager()->IsAnyMusicPlaying());
    Manager()->PauseAll(false);
    EXPECT_TRUE(Engine()->IsPlaying(source));
    EXPECT_TRUE(Manager()->IsMusicPlaying("track1"));
}

TEST_F(SoundManagerTest, FocusChangePausesAndResumesSound)
{
    TAppState saved = std::move(GetAppState());
    ASSERT_TRUE(Manager()->PlaySound("endless"));
    unsigned source = Sound("sound", "endless")->mSource;
    auto focus = [](Uint8 which) {
        SDL_Event sdl;
        SDL_zero(sdl);
        sdl.type = SDL_WINDOWEVENT;
        sdl.window.event = which;
        std::vector<TInputEvent> events;
        ASSERT_TRUE(TranslateSdlEvent(sdl, &events));
        for (const TInputEvent& event : events) DispatchEvent(event);
    };
    focus(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_TRUE(Engine()->IsPaused(source));
    EXPECT_LT(Rms(RenderSeconds(Engine(), 0.3f), 2 * 4410), 5.0);
    focus(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_TRUE(Engine()->IsPlaying(source));
    EXPECT_GT(Rms(RenderSeconds(Engine(), 0.2f)), 1000.0);
    DestroyWindowManager();
    GetAppState() = std::move(saved);
}

TEST_F(SoundManagerTest, MusicListsPlayByNameAndFadeOnStop)
{
    EXPECT_FALSE(Manager()->PlayMusicList("nosuchlist", false));
    EXPECT_FALSE(Manager()->PlayMusicList("music1", false));  // empty in this file
    ASSERT_TRUE(Manager()->PlayMusic("track2"));
    EXPECT_TRUE(Manager()->IsMusicPlaying("track2"));
    EXPECT_TRUE(Manager()->IsAnyMusicPlaying());
    Manager()->StopAllMusic();
    for (int i = 0; i < 10; ++i) Manager()->Update(0.5f);
    EXPECT_FALSE(Manager()->IsAnyMusicPlaying());
}

// Replacing a list while its loop plays must not leave the loop sounding in the engine.
TEST_F(SoundManagerTest, ReplacedListClosesItsStreams)
{
    size_t before = Engine()->StreamCount();
    AddList("stage1", "sound", true, 0);
    ASSERT_TRUE(Manager()->FindSoundList("stage1")->Play("endless"));
    AddList("stage1", "stage", true, 0);
    EXPECT_EQ(Engine()->StreamCount(), before + 1);  // the one stage sound
    Manager()->RemoveSoundList("stage1");
    EXPECT_EQ(Engine()->StreamCount(), before);
    EXPECT_LT(Rms(RenderSeconds(Engine(), 0.3f), 2 * 4410), 5.0);
}

TEST_F(SoundManagerTest, ReleaseWhileLoopPlaysJoinsPromptly)
{
    ASSERT_TRUE(Manager()->PlaySound("endless"));
    RenderSeconds(Engine(), 0.2f);
    auto start = TClock::now();
    ReleaseSoundManager();
    EXPECT_LT(TClock::now() - start, std::chrono::seconds(5));  // a loop that holds the join never ends
    EXPECT_EQ(FindSoundManager(), nullptr);
    EXPECT_EQ(FindAlEngine(), nullptr);
    EXPECT_EQ(GetSoundManager(), nullptr);  // no new engine or thread after shutdown
}

TEST(SoundManagerNoDevice, RunsSilentAndJoinsItsThread)
{
    UseSoundOutput(OpenNoOutput);
    TAssetsFolder assets(SoundData());
    TSoundManager* manager = GetSoundManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_FALSE(GetAlEngine()->HasContext());
    EXPECT_TRUE(manager->LoadSounds("lists.xml"));
    EXPECT_TRUE(manager->PlaySound("both"));  // the id is known, nothing sounds
    EXPECT_FALSE(manager->IsSoundPlaying("both"));
    manager->Update(0.1f);
    auto start = TClock::now();
    ReleaseSoundManager();
    EXPECT_LT(TClock::now() - start, std::chrono::seconds(5));  // a loop that holds the join never ends
    UseSoundOutput(nullptr);
}

TEST(SoundManagerData, EveryShippedSoundPlaysAndIsHeard)
{
    UseSoundOutput(OpenLoopbackOutput);
    TAssetsFolder assets(BRISALO_ASSETS);
    TSoundManager* manager = GetSoundManager();
    ASSERT_TRUE(manager->LoadSounds("sounds.xml"));

    const std::set<std::string> wanted = {
        "mainmenu", "game1", "game2", "btnmouseenter", "btnmousedown", "flywindow", "showtutorial",
        "colorselected", "colorcomplete", "fillcell", "fillarea", "hint", "timeup", "levelcomplete",
        "gotstar", "mapselectboard", "drop_tool", "need_tool", "clockticking", "ho_item_found", "gamename"};
    std::set<std::string> found;
    TiXmlElement* root = LoadXmlDocument("sounds.xml");
    ASSERT_NE(root, nullptr);
    std::vector<std::pair<std::string, std::string>> sounds;
    for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement())
        sounds.emplace_back(e->Value(), GetAttrString(e, "id"));
    DeleteCurrentXmlDocument();

    TAlEngine* engine = GetAlEngine();
    for (auto& entry : sounds) {
        const std::string& id = entry.second;
        found.insert(id);
        SharedPtr<TAlSoundInfo> sound;
        if (entry.first == "music" || entry.first == "music1")
            sound = manager->FindMusicList(entry.first)->FindSound(id);
        else
            sound = manager->FindSoundList(entry.first)->FindSound(id);
        ASSERT_TRUE(sound) << id;
        ASSERT_NE(sound->mHandle, 0u) << id;
        unsigned source = engine->Play(sound->mHandle, false, 1.0f);
        ASSERT_NE(source, 0u) << id;
        // Music fades in from silence: listen past its first seconds.
        float skip = entry.first.compare(0, 5, "music") == 0 ? 3.0f : 0.0f;
        if (skip > 0) RenderSeconds(engine, skip);
        EXPECT_GT(Rms(RenderSeconds(engine, 0.25f)), 50.0) << id;
        engine->Stop(source);
        RenderSeconds(engine, 0.1f);
    }
    for (auto& id : wanted) EXPECT_EQ(found.count(id), 1u) << id;
    ReleaseSoundForNextTest();
    SetAlOutputOpener(nullptr);
}

// The real audio thread over the null output: sounds start, stop and finish on both threads.
TEST(SoundManagerThreads, FinishesAreSeenOnTheMainThread)
{
    UseSoundOutput(nullptr);
    TAssetsFolder assets(SoundData());
    TSoundManager* manager = GetSoundManager();
    ASSERT_TRUE(manager->LoadSounds("lists.xml"));
    // Not skipped: without a device this test would vanish from `make test-tsan` unseen.
    ASSERT_TRUE(GetAlEngine()->HasContext()) << "needs OpenAL's null output (ALSOFT_DRIVERS=null)";
    SharedPtr<TSoundPlayList> sounds = manager->FindSoundList("sound");
    SharedPtr<TAlSoundInfo> jingle = manager->FindSoundList("voice")->FindSound("jingle");

    for (int round = 0; round < 6; ++round) {
        ASSERT_TRUE(manager->PlaySound("jingle"));
        ASSERT_TRUE(manager->PlaySound("endless"));
        manager->SetSoundVolume(0.2f * round, 0);
        manager->SetSoundVolume(1.0f - 0.1f * round, 1);
        manager->PauseAll(true);
        manager->PauseAll(false);
        // The short jingle runs out on the audio thread; the main thread sees it end.
        auto deadline = TClock::now() + std::chrono::seconds(10);
        while (manager->IsSoundPlaying("jingle") && TClock::now() < deadline) {
            manager->Update(0.01f);
            SDL_Delay(10);
        }
        EXPECT_FALSE(manager->IsSoundPlaying("jingle")) << round;
        manager->Update(0.01f);
        EXPECT_EQ(jingle->mSource, 0u) << round;
        manager->StopSound("endless");
        if (round % 2) {
            sounds->CloseStreams();
            sounds->OpenStreams();
        }
    }
    ReleaseSoundForNextTest();
}
