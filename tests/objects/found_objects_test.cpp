// Hidden items, the double-score marker, collection items and notes, and map locations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/messages.h"
#include "game/user_info.h"
#include "objects/found_objects.h"
#include "objects/object_scene_fixture.h"
#include "objects/reaction_recorder.h"
#include "rooms/collections.h"
#include "rooms/room.h"
#include "rooms/sound_calls.h"
#include "rooms/test_space.h"
#include "rooms/tool.h"
#include "ui/text_image.h"
#include "ui/window.h"
#include "ui/window_manager.h"

namespace {

// A hidden item in a space that traces its sounds, reporting its events to a recorder.
struct THiddenScene {
    TTrace trace;
    TTestSpace space;
    TReactionRecorder recorder;
    THiddenObject* item = nullptr;

    explicit THiddenScene(const std::string& keys)
    {
        space.mTrace = &trace;
        item = space.Add(LoadObjectFrom<THiddenObject>(
                             "<object id='item' aae='x' w='20' h='20' cob='1' " + keys + "/>", "scene/", &space)
                             .release());
        item->SetListener(&recorder);
    }
    bool Click() { return item->OnMouseDown(PressAt(5, 5)); }
    // The alpha after each step.
    std::vector<float> Run(int steps, float dt)
    {
        std::vector<float> alphas;
        for (int i = 0; i < steps; ++i) {
            item->Update(dt);
            alphas.push_back(item->mAlpha);
        }
        return alphas;
    }
    int Events() const { return recorder.Count("activate"); }
};

void ExpectAlphas(const std::vector<float>& got, const std::vector<float>& expected, const std::string& label)
{
    ASSERT_EQ(got.size(), expected.size()) << label;
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], 1e-5f) << label << " step " << i;
}

}  // namespace

TEST(Hidden, ReadsItsKeysWithTheirDefaults)
{
    auto plain = LoadObjectFrom<THiddenObject>("<object a='0.5'/>");
    EXPECT_EQ(plain->mMode, kHiddenFadeOnce);
    EXPECT_FLOAT_EQ(plain->mFadeTime, 1.0f);
    EXPECT_FLOAT_EQ(plain->mMinAlpha, 1.0f);
    EXPECT_FLOAT_EQ(plain->mMaxAlpha, 1.0f);
    EXPECT_FLOAT_EQ(plain->mFade.mCurrent, 0.5f);
    EXPECT_FALSE(plain->mFade.mRunning);
    EXPECT_FALSE(plain->mFlash.mActive);
    EXPECT_FLOAT_EQ(plain->mFlash.GetValue(), 0.5f);
    struct Case {
        const char* type;
        int mode;
    };
    for (const Case& c : {Case{"flipflop", 0}, Case{"flash", 2}, Case{"flashrepeat", 3}, Case{"FLASH", 1}}) {
        auto item = LoadObjectFrom<THiddenObject>(std::string("<object animtype='") + c.type + "'/>");
        EXPECT_EQ(item->mMode, c.mode) << c.type;
    }
    plain->ResetBehaviour();
    EXPECT_EQ(plain->mMode, kHiddenFlipFlop);
    EXPECT_FLOAT_EQ(plain->mFadeTime, 0.0f);
    EXPECT_FLOAT_EQ(plain->mMinAlpha, 0.0f);
}

TEST(Hidden, FadeOnceRunsOnceAndReportsItsEnd)
{
    THiddenScene scene("speed='0.5' sound='found' soundasteps='step'");
    EXPECT_TRUE(scene.Click());
    EXPECT_TRUE(scene.item->mStarted);
    EXPECT_FALSE(scene.item->IsActive());  // a click starts, it does not activate
    EXPECT_EQ(scene.trace, (TTrace{"sound found", "sound found"}));
    ExpectAlphas(scene.Run(3, 0.25f), {0.5f, 0.0f, 0.0f}, "fade once");
    EXPECT_EQ(scene.Events(), 1);
    EXPECT_FALSE(scene.item->IsActive());

    scene.Click();
    scene.item->Activate(0, 0, 0);
    EXPECT_TRUE(scene.item->IsActive());
    EXPECT_FALSE(scene.item->mFade.mRunning);
    scene.Run(4, 0.25f);
    EXPECT_EQ(scene.Events(), 1);
}

TEST(Hidden, FlashesOncePerClick)
{
    THiddenScene scene("speed='0.5' animtype='flash' soundasteps='s1,s2'");
    for (int click = 1; click <= 2; ++click) {
        scene.trace.clear();
        scene.Click();
        EXPECT_EQ(scene.trace, (TTrace{"sound s1", "sound s2"}));
        ExpectAlphas(scene.Run(8, 0.25f), {0.5f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f, 0.5f, 1.0f}, "flash");
        EXPECT_EQ(scene.Events(), click);
        EXPECT_FALSE(scene.item->IsActive());
    }
}

TEST(Hidden, FlipFlopPausesAndNeverEnds)
{
    THiddenScene scene("speed='0.5' animtype='flipflop' minalpha='0.2' pause='0.25' soundasteps='step'");
    scene.item->Activate(0, 0, 0);
    EXPECT_EQ(scene.trace, (TTrace{"sound step"}));
    // Down, the pause counted from the update that ended the fall, up, pause, down.
    ExpectAlphas(scene.Run(11, 0.125f), {0.8f, 0.6f, 0.4f, 0.2f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.0f, 0.8f},
                 "flip-flop");
    EXPECT_EQ(scene.trace.size(), 3u);
    scene.Run(80, 0.125f);
    EXPECT_TRUE(scene.item->IsActive());
    EXPECT_EQ(scene.Events(), 0);

    THiddenScene still("speed='0.5' animtype='flipflop'");
    still.item->Activate(0, 0, 0);
    ExpectAlphas(still.Run(4, 0.25f), {1.0f, 1.0f, 1.0f, 1.0f}, "min = max");
    EXPECT_FALSE(still.item->mFade.mRunning);
}

TEST(Hidden, FlashRepeatGoesOnWithoutAPause)
{
    THiddenScene scene("speed='0.5' animtype='flashrepeat'");
    scene.item->Activate(0, 0, 0);
    ExpectAlphas(scene.Run(10, 0.25f), {0.5f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f}, "repeat");
    scene.Run(40, 0.25f);
    EXPECT_TRUE(scene.item->IsActive());
    EXPECT_EQ(scene.Events(), 0);
}

TEST(Hidden, SpeedZeroNeverAnimates)
{
    THiddenScene activated("speed='0'");
    activated.item->Activate(0, 0, 0);
    EXPECT_TRUE(activated.item->mStarted);
    EXPECT_TRUE(activated.item->IsActive());
    THiddenScene clicked("speed='0'");
    clicked.Click();
    EXPECT_TRUE(clicked.item->mStarted);
    EXPECT_FALSE(clicked.item->IsActive());
    for (THiddenScene* scene : {&activated, &clicked}) {
        ExpectAlphas(scene->Run(4, 0.25f), {1.0f, 1.0f, 1.0f, 1.0f}, "speed 0");
        EXPECT_EQ(scene->Events(), 0);
    }
}

TEST(Hidden, RestoredFadeRunsAWholeFadeFromTheSavedAlpha)
{
    const std::string keys = "speed='0.5'";
    THiddenScene scene(keys);
    scene.item->Activate(0, 0, 0);
    scene.item->Update(0.25f);
    ASSERT_FLOAT_EQ(scene.item->mAlpha, 0.5f);
    TBaseBuffer record;
    scene.item->SaveState(record);
    TBaseBuffer expected;
    scene.item->TObject::SaveState(expected);
    expected.WriteByte(1);
    expected.WriteByte(1);
    expected.WriteInt32(0);
    scene.item->mFlash.SaveState(&expected);
    scene.item->mFade.SaveState(&expected);
    EXPECT_EQ(Bytes(record), Bytes(expected));

    THiddenScene fresh(keys);
    fresh.item->LoadState(record);
    EXPECT_TRUE(fresh.item->IsActive());
    ExpectAlphas(fresh.Run(3, 0.25f), {0.25f, 0.0f, 0.0f}, "restored");
    EXPECT_EQ(fresh.Events(), 1);
    EXPECT_FALSE(fresh.item->IsActive());
}

TEST(DoubleScore, KeepsItsTime)
{
    TDoubleScoreObject fresh;
    EXPECT_FLOAT_EQ(fresh.mTime, 7.0f);
    EXPECT_FLOAT_EQ(LoadObjectFrom<TDoubleScoreObject>("<object/>")->mTime, 9.0f);
    EXPECT_FLOAT_EQ(LoadObjectFrom<TDoubleScoreObject>("<object time='4.5'/>")->mTime, 4.5f);
}

// ---------------------------------------------------------------- collections

namespace {

// What the registry was asked, and the base's own work.
class TRecordingRegistry : public TSpacesRegistry {
public:
    void StartCollectionEffect(int x, int y, const std::string& picture, float scale, const std::string& message,
                               int points, const std::string& itemId) override
    {
        mCalls.push_back("start " + std::to_string(x) + " " + std::to_string(y) + " " + picture + " " +
                         std::to_string(scale) + " " + message + " " + std::to_string(points) + " " + itemId);
        TSpacesRegistry::StartCollectionEffect(x, y, picture, scale, message, points, itemId);
    }
    void OnCollectionEffectDone(const std::string& itemId) override { mCalls.push_back("done " + itemId); }
    std::vector<std::string> mCalls;
};

// A catalogue with two groups, the registry and a fresh dispatcher, all taken away after.
class CollectionTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        DestroyMessageManager();
        TCollectionGroup shells;
        shells.mName = "shells";
        shells.mPicture = "scene/pic";
        shells.mItems = {{"conch", "scene/pic", 25, false}, {"pearl", "scene/pic", 40, true}};
        TCollectionGroup coins;
        coins.mName = "coins";
        coins.mPicture = "scene/pic";
        coins.mItems = {{"penny", "scene/pic", 1, false}};
        mCatalog.mGroups = {shells, coins};
    }
    void TearDown() override
    {
        Uninstall();
        DestroyMessageManager();
        SceneCanvasTest::TearDown();
    }
    void Install()
    {
        GetAppState().mCollectionsCatalog = &mCatalog;
        GetAppState().mSpacesRegistry = &mRegistry;
    }
    void Uninstall()
    {
        GetAppState().mCollectionsCatalog = nullptr;
        GetAppState().mSpacesRegistry = nullptr;
    }

    TCollectionsCatalog mCatalog;
    TRecordingRegistry mRegistry;
};

}  // namespace

TEST_F(CollectionTest, ItemSubscribesAndTakesTheActiveCursor)
{
    Install();
    auto item = LoadObjectFrom<TCollectionItemObject>("<object iid='conch' c='hand'/>");
    EXPECT_EQ(item->mCursorName, "active");
    EXPECT_EQ(item->MessageName(), "CollectionEffectDoneconch");
    GetMessageManager()->Post("CollectionEffectDoneconch", 0.0f);
    GetMessageManager()->Post("CollectionEffectDonepearl", 0.0f);
    GetMessageManager()->Update(0.1f);
    EXPECT_EQ(mRegistry.mCalls, (std::vector<std::string>{"done conch"}));

    item.reset();
    GetMessageManager()->Post("CollectionEffectDoneconch", 0.0f);
    GetMessageManager()->Update(0.1f);
    EXPECT_EQ(mRegistry.mCalls.size(), 1u);
}

TEST_F(CollectionTest, UncollectablePressesAnswerFalseAndKeepTheItem)
{
    TTool tool;
    struct Case {
        const char* label;
        bool catalog;
        const char* iid;
        TTool* tool;
    };
    const Case cases[] = {{"no catalogue", false, "conch", nullptr},
                          {"no item", true, "nothing", nullptr},
                          {"a tool", true, "conch", &tool}};
    for (const Case& c : cases) {
        if (c.catalog) Install();
        TReactionRecorder recorder;
        auto item = LoadObjectFrom<TCollectionItemObject>(std::string("<object id='it' w='30' h='30' cob='1' iid='") +
                                                          c.iid + "'/>");
        item->SetListener(&recorder);
        EXPECT_FALSE(item->OnMouseDown(PressAt(5, 5, c.tool))) << c.label;
        EXPECT_TRUE(item->IsVisible()) << c.label;
        EXPECT_EQ(recorder.Count("down it"), 1) << c.label;  // the object's own handling ran
        EXPECT_TRUE(mRegistry.mCalls.empty()) << c.label;
        Uninstall();
    }
    EXPECT_FALSE(mCatalog.FindItem("conch")->mFlag);
}

TEST_F(CollectionTest, ACollectedItemPaysFliesAndHides)
{
    Install();
    const int32_t counter = GetUserInfo()->mCounter;
    TRecordedSoundCalls sounds;
    auto item = LoadObjectFrom<TCollectionItemObject>("<object name='pic' iid='conch' x='10.7' y='20.2' w='31' h='15' "
                                                      "cob='1'/>");
    item->LoadResources();
    EXPECT_TRUE(item->OnMouseDown(PressAt(20, 25)));
    EXPECT_TRUE(mCatalog.FindItem("conch")->mFlag);
    EXPECT_EQ(GetUserInfo()->mCounter, counter + 25);
    EXPECT_EQ(sounds.mCalls, (std::vector<std::string>{"play collection_item_catch"}));
    EXPECT_EQ(mRegistry.mCalls,
              (std::vector<std::string>{"start 25 27 scene/pic 0.500000 CollectionEffectDoneconch 25 conch"}));
    EXPECT_FALSE(item->IsVisible());
    GetMessageManager()->Update(0.0f);
    EXPECT_EQ(mRegistry.mCalls.back(), "done conch");
    GetUserInfo()->mCounter = counter;
}

TEST_F(CollectionTest, NotesDimWhatIsNotCollected)
{
    Install();
    auto flagged = LoadObjectFrom<TNoteCollectionObject>("<object id='shells'/>");
    auto plain = LoadObjectFrom<TNoteCollectionObject>("<object id='coins' a='0.5'/>");
    EXPECT_EQ(flagged->mImagePath, "scene/pic");
    for (int cycle = 0; cycle < 3; ++cycle) {
        for (TObject* note : {static_cast<TObject*>(flagged.get()), static_cast<TObject*>(plain.get())}) {
            note->LoadResources();
            note->FreeResources();
        }
    }
    flagged->LoadResources();
    plain->LoadResources();
    EXPECT_FLOAT_EQ(flagged->mAlpha, 1.0f);
    EXPECT_FLOAT_EQ(plain->mAlpha, 0.15f);
    EXPECT_FLOAT_EQ(plain->mImage->mAlpha, 0.15f);
    plain->SetAlpha(1.0f);
    EXPECT_FLOAT_EQ(plain->mAlpha, 0.3f);
    plain->SetAlpha(2.0f);  // 0.6 lies inside: taken
    EXPECT_FLOAT_EQ(plain->mAlpha, 0.6f);
    plain->SetAlpha(4.0f);
    EXPECT_FLOAT_EQ(plain->mAlpha, 0.6f);

    auto item = LoadObjectFrom<TNoteCollectionItemObject>("<object id='conch'/>");
    for (int cycle = 0; cycle < 3; ++cycle) {
        item->LoadResources();
        item->FreeResources();
    }
    item->LoadResources();
    EXPECT_FLOAT_EQ(item->mAlpha, 0.3f);
    item->SetAlpha(1.0f);
    EXPECT_FLOAT_EQ(item->mAlpha, 0.3f);
    item->SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(item->mAlpha, 0.15f);
    EXPECT_FLOAT_EQ(item->mImage->mAlpha, 0.15f);
}

TEST_F(CollectionTest, NotesWithoutACatalogueKeepTheirSettings)
{
    auto group = LoadObjectFrom<TNoteCollectionObject>("<object id='shells' name='pic'/>");
    auto item = LoadObjectFrom<TNoteCollectionItemObject>("<object id='conch' name='pic'/>");
    for (TObject* note : {static_cast<TObject*>(group.get()), static_cast<TObject*>(item.get())}) {
        note->LoadResources();
        EXPECT_FLOAT_EQ(note->mAlpha, 1.0f);
        EXPECT_TRUE(note->HitTest(4, 4, true));
        note->SetAlpha(0.5f);
        EXPECT_FLOAT_EQ(note->mAlpha, 0.5f);
    }
    EXPECT_EQ(item->mItem, nullptr);
    EXPECT_FALSE(item->mCheckOnlyBounds);
}

TEST_F(CollectionTest, NoteItemLabelShowsPointsWhileHoveredWhenCollected)
{
    Install();
    TTrace trace;
    TTestSpace space;
    space.mTrace = &trace;
    auto collected = LoadObjectFrom<TNoteCollectionItemObject>(
        "<object id='pearl' text_alpha_time='0.5' tx='40' ty='50' soundmouseenter='in' soundmouseleave='out'/>",
        "scene/", &space);
    EXPECT_EQ(collected->mLabel->mText, L"40 points");
    EXPECT_EQ(collected->mLabel->GetX(), 40);
    EXPECT_EQ(collected->mLabel->GetY(), 50);
    EXPECT_TRUE(collected->mCheckOnlyBounds);
    collected->OnMouseEnter(0, 0);
    collected->Update(0.25f);
    EXPECT_FLOAT_EQ(collected->mLabel->mAlpha, 0.5f);
    collected->OnMouseLeave(0, 0);
    collected->Update(0.125f);
    EXPECT_FLOAT_EQ(collected->mLabel->mAlpha, 0.25f);
    collected->Update(0.125f);
    EXPECT_FLOAT_EQ(collected->mLabel->mAlpha, 0.0f);
    EXPECT_TRUE(trace.empty());

    auto uncollected = LoadObjectFrom<TNoteCollectionItemObject>("<object id='conch' text_alpha_time='0.5'/>");
    EXPECT_EQ(uncollected->mLabel->mText, L"25 points");
    uncollected->OnMouseEnter(0, 0);
    uncollected->Update(0.25f);
    EXPECT_FLOAT_EQ(uncollected->mLabel->mAlpha, 0.0f);
}

// ---------------------------------------------------------------- map

namespace {

class TTaskRoom : public TRoom {
public:
    bool IsHintAvailable() override { return mTask; }
    bool mTask = false;
};

// A map location "forest" with solid state images, the registry holding its room, and a
// window with id 6 in the window manager.
class MapTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        SolidPng("scene/cur.png", 10, 10, SDL_Color{0, 255, 0, 255});
        SolidPng("scene/task.png", 10, 10, SDL_Color{255, 255, 0, 255});
        SolidPng("scene/unav.png", 10, 10, SDL_Color{128, 128, 128, 255});
        mRoom.mSpaceName = "forest";
        mRegistry.mSpaces.push_back(&mRoom);
        GetAppState().mSpacesRegistry = &mRegistry;
        mWindow = new TMyWindow();
        mWindow->mId = 6;
        GetWindowManager()->AddWindow(mWindow, 0.0f);
        mMap = LoadObjectFrom<TMapObject>(
            "<object id='forest' x='0' y='0' w='40' h='40' cob='1' room='elsewhere'>"
            "<cur_img filename='cur' x='100' y='0'/><task_img filename='task' x='200' y='0'/>"
            "<unav_img filename='unav' x='300' y='0'/><prev_img filename='cur' x='50' y='60'/></object>");
        mMap->LoadResources();
    }
    void TearDown() override
    {
        mMap.reset();
        GetWindowManager()->CloseWindow(6);
        GetAppState().mSpacesRegistry = nullptr;
        SceneCanvasTest::TearDown();
    }
    void Show(bool flagA, bool flagB)
    {
        mRoom.SetSavedFlagA(flagA);
        mRoom.SetSavedFlagB(flagB);
        mWindow->mVisible = true;
        mMap->mRoom = "elsewhere";
        mMap->OnSpaceShown();
    }

    TTaskRoom mRoom;
    TSpacesRegistry mRegistry;
    TMyWindow* mWindow = nullptr;  // the window manager's
    std::unique_ptr<TMapObject> mMap;
};

}  // namespace

TEST_F(MapTest, AClickLeavesTheMapForTheLinkedRoom)
{
    Show(true, false);
    EXPECT_EQ(mMap->mLinkedRoom, &mRoom);
    EXPECT_TRUE(mMap->mIsCurrent);
    EXPECT_FALSE(mMap->mUnavailable);
    EXPECT_TRUE(mMap->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(mMap->mRoom, "");
    EXPECT_FALSE(mWindow->mVisible);

    Show(false, false);
    EXPECT_TRUE(mMap->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(mMap->mRoom, "forest");
    EXPECT_FALSE(mWindow->mVisible);

    Show(false, true);
    EXPECT_TRUE(mMap->mUnavailable);
    mMap->OnMouseDown(PressAt(5, 5));
    EXPECT_EQ(mMap->mRoom, "elsewhere");
    EXPECT_TRUE(mWindow->mVisible);
    mMap->Draw(1.0f);
    ExpectPixel(305, 5, 128, 128, 128);
    ExpectPixel(105, 5, 0, 0, 0);

    Show(false, false);
    mMap->Lock();
    EXPECT_FALSE(mMap->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(mMap->mRoom, "forest");
    EXPECT_FALSE(mWindow->mVisible);

    GetAppState().mSpacesRegistry = nullptr;
    mMap->Unlock();
    Show(false, false);
    EXPECT_EQ(mMap->mLinkedRoom, nullptr);
    mMap->OnMouseDown(PressAt(5, 5));
    EXPECT_EQ(mMap->mRoom, "elsewhere");
    EXPECT_TRUE(mWindow->mVisible);
}

TEST_F(MapTest, TaskImageLabelAndAlpha)
{
    mRoom.mTask = true;
    Show(true, false);
    EXPECT_TRUE(mMap->mHasTask);
    mMap->Draw(1.0f);
    ExpectPixel(105, 5, 0, 255, 0);
    ExpectPixel(205, 5, 0, 0, 0);  // not drawn by the object's own drawing
    mMap->DrawExtra();
    ExpectPixel(205, 5, 255, 255, 0);

    Clear(0, 0, 0);
    Show(true, true);
    mMap->DrawExtra();
    ExpectPixel(205, 5, 0, 0, 0);

    EXPECT_EQ(mMap->mLabel->mKey, "roomforest");
    EXPECT_EQ(mMap->mLabel->GetX(), 65);
    EXPECT_EQ(mMap->mLabel->GetY(), 175);
    EXPECT_EQ(mMap->mSoundMouseEnter, "mapmouseenter");

    mMap->OnSpaceHidden();
    mMap->SetAlpha(0.5f);
    for (const StaticImage* image : {&mMap->mCurrentImage, &mMap->mTaskImage, &mMap->mUnavailableImage})
        EXPECT_FLOAT_EQ(image->mAlpha, 0.5f);
    EXPECT_FLOAT_EQ(mMap->mAlpha, 0.5f);
    EXPECT_FLOAT_EQ(mMap->mOutlineImage.mAlpha, 0.0f);
    EXPECT_FLOAT_EQ(mMap->mPreviewImage.mAlpha, 0.0f);
    mMap->SetAlpha(1.5f);
    EXPECT_FLOAT_EQ(mMap->mAlpha, 0.5f);
}
