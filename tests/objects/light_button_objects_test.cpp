// Light buttons with their timer, buttons pressed in order, and the pictures that change on a
// click or an activation, with their parents.
#include <gtest/gtest.h>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/buffer.h"
#include "core/display.h"
#include "game/user_info.h"
#include "objects/light_button_objects.h"
#include "objects/recording_listener.h"
#include "objects/scene_controls_fixture.h"
#include "rooms/hopa_user_info.h"
#include "rooms/test_space.h"
#include "rooms/tip_panel.h"

namespace {

// The reaction runs among the calls, without the press and activation notices.
TCalls Reactions(const TCalls& calls)
{
    TCalls runs;
    for (const std::string& call : calls)
        if (call.rfind("Activate ", 0) == 0) runs.push_back(call);
    return runs;
}

struct TSinkLog : TSoundSink {
    std::vector<std::string> mNames;
    void PlayByName(const std::string& name) override { mNames.push_back(name); }
};

std::string Button(const char* name, int x)
{
    return std::string("<object id='") + name + "'><normal_image filename='solid' x='" + std::to_string(x) +
           "' y='0'/><pushed_image filename='red' x='" + std::to_string(x) + "' y='0'/></object>";
}

}  // namespace

using LightButtonTest = ControlsCanvasTest;

TEST_F(LightButtonTest, LitButtonGoesOffByItselfAndReportsThen)
{
    TCalls trace;
    TTestSpace space;
    space.mTrace = &trace;
    TCalls calls;
    TRecordingListener listener(calls);
    auto button = LoadedControl<TLightCheckButtonObject>(
        "<object unpushtime='1' sound='click' aae='off'><normal_image filename='solid' x='100' y='100'/>"
        "<pushed_image filename='red' x='100' y='100'/></object>",
        &space);
    button->SetListener(&listener);
    ASSERT_TRUE(button->OnMouseDown(MouseAt(105, 105)));
    EXPECT_TRUE(button->mPushed);
    EXPECT_EQ(0, button->mClickCounter);
    EXPECT_EQ((TCalls{"sound click", "sound click"}), trace);  // the click path plays it too
    button->Update(0.5f);
    EXPECT_TRUE(button->mPushed);
    button->Update(0.5f);
    EXPECT_FALSE(button->mPushed);
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "Activate off"));

    // Pressed off early: the timer still runs out and reports at its time.
    calls.clear();
    ASSERT_TRUE(button->OnMouseDown(MouseAt(105, 105)));
    button->Update(0.5f);
    ASSERT_TRUE(button->OnMouseDown(MouseAt(105, 105)));
    EXPECT_FALSE(button->mPushed);
    EXPECT_EQ(1, button->mClickCounter);
    EXPECT_TRUE(std::find(calls.begin(), calls.end(), "Activate off") == calls.end());
    button->Update(0.5f);
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "Activate off"));

    button->Lock();
    EXPECT_FALSE(button->OnMouseDown(MouseAt(105, 105)));
    button->FreeResources();
}

TEST_F(LightButtonTest, ShowsItsStateAndDarkensOnUnlockWhenAskedTo)
{
    auto lit = LoadedControl<TLightCheckButtonObject>(
        "<object pushed='1'><normal_image filename='solid' x='100' y='100'/>"
        "<pushed_image filename='red' x='100' y='100'/></object>");
    lit->Draw(1.0f);
    ExpectPixel(110, 110, 255, 0, 0);

    auto resetting = LoadedControl<TLCBResetOnUnlockObject>(
        "<object pushed='1' locked='1'><normal_image filename='solid'/><pushed_image filename='red'/></object>");
    resetting->Unlock();
    EXPECT_FALSE(resetting->mPushed);
    EXPECT_FALSE(resetting->IsLocked());
    lit->FreeResources();
    resetting->FreeResources();
}

// The pictures answer where they are drawn, and not at all while the object is hidden.
TEST_F(LightButtonTest, ButtonAndChangerAreHitWhereTheyShow)
{
    auto button = LoadedControl<TLightCheckButtonObject>(
        "<object><normal_image filename='half' x='290' y='190'/><pushed_image filename='half' x='290' y='190'/></object>");
    auto changer = LoadedControl<TChangeOnClickObject>("<object><img filename='half' x='290' y='190'/></object>");
    ExpectHitWhereShown(*button);
    ExpectHitWhereShown(*changer);
    // Its rectangle is where the picture is drawn.
    button->SetVisible(true);
    EXPECT_TRUE(button->HitTestSelf(309, 209));
    EXPECT_FALSE(button->HitTestSelf(310, 200));
    EXPECT_FALSE(button->HitTestSelf(5, 5));
    button->FreeResources();
    changer->FreeResources();

    auto activated = LoadedControl<TChangeOnActivateObject>("<object v='0'><img filename='solid'/></object>");
    Clear(0, 0, 0);
    activated->Draw(1.0f);
    EXPECT_TRUE(NothingDrawn());
    activated->FreeResources();
}

class ButtonSequenceTest : public ControlsCanvasTest {
protected:
    void SetUp() override
    {
        ControlsCanvasTest::SetUp();
        SetSoundSink(&mSink);
    }
    void TearDown() override
    {
        SetSoundSink(nullptr);
        ControlsCanvasTest::TearDown();
    }

    std::unique_ptr<TButtonSequenceControlObject> Sequence(const std::string& keys)
    {
        auto control = LoadObjectFrom<TButtonSequenceControlObject>("<object onclick='0' aac='failed' aae='solved' " +
                                                                    keys + "/>");
        const char* names[] = {"a", "b", "c"};
        for (int i = 0; i < 3; ++i) NestChild<TLCBResetOnUnlockObject>(*control, Button(names[i], 30 * i));
        control->LoadResources();
        control->SetListener(&mListener);
        return control;
    }

    void Press(TButtonSequenceControlObject& control, const char* order)
    {
        for (const char* c = order; *c; ++c) EXPECT_TRUE(control.OnMouseDown(MouseAt(5 + 30 * (*c - 'a'), 5))) << *c;
    }

    TSinkLog mSink;
    TCalls mCalls;
    TRecordingListener mListener{mCalls};
};

TEST_F(ButtonSequenceTest, WrongOrderLocksAllThenReleasesThemAsAClick)
{
    auto control = Sequence("right_seq='a,b,c' wrongsound='buzz'");
    Press(*control, "ba");
    EXPECT_TRUE(mSink.mNames.empty());
    Press(*control, "c");
    EXPECT_TRUE(control->AllButtonsLocked());
    EXPECT_EQ((std::vector<std::string>{"buzz"}), mSink.mNames);
    EXPECT_TRUE(Reactions(mCalls).empty());
    control->Update(0.25f);
    EXPECT_TRUE(control->mChildren[0]->IsLocked());
    control->Update(0.25f);
    for (auto& child : control->mChildren) {
        EXPECT_FALSE(child->IsLocked());
        EXPECT_FALSE(static_cast<TLightCheckButtonObject*>(child.get())->mPushed);
    }
    EXPECT_TRUE(control->mPressedSequence.empty());
    EXPECT_EQ(0, control->mClickCounter);
    EXPECT_EQ((TCalls{"Activate failed"}), Reactions(mCalls));

    mCalls.clear();
    Press(*control, "abc");
    EXPECT_EQ((TCalls{"Activate solved"}), Reactions(mCalls));
    EXPECT_TRUE(control->AllButtonsLocked());
    control->Update(1.0f);
    EXPECT_TRUE(control->AllButtonsLocked());
    control->FreeResources();
}

TEST_F(ButtonSequenceTest, ProfileKeyDecidesAndWithoutUnlockTimeOnlyUnlockReleases)
{
    const std::string key = "button_sequence_probe";
    auto control = Sequence("hasgamestate='" + key + "' unlock_time='0'");
    Press(*control, "cab");
    EXPECT_TRUE(Reactions(mCalls).empty());
    control->Update(5.0f);
    EXPECT_TRUE(control->AllButtonsLocked());
    control->Unlock();
    EXPECT_FALSE(control->mChildren[1]->IsLocked());
    EXPECT_TRUE(control->mPressedSequence.empty());

    GetUserInfo()->AddPair(key, "true");
    Press(*control, "cab");
    EXPECT_EQ((TCalls{"Activate solved"}), Reactions(mCalls));
    GetUserInfo()->SetValue(key, "false");
    control->FreeResources();
}

THopaBaseUserInfo* gSequenceTipProfile = nullptr;
THopaBaseUserInfo* SequenceTipProfile() { return gSequenceTipProfile; }

TEST_F(ButtonSequenceTest, WrongOrderShowsTheErrorTipAndAHoveredButtonIsTheHitOne)
{
    THopaBaseUserInfo profile;
    TTipPanel panel;
    gSequenceTipProfile = &profile;
    SetTipProfileHook(&SequenceTipProfile);
    GetAppState().mTipPanel = &panel;
    auto control = Sequence("right_seq='a,b,c' ehint='wrong_order'");
    bool hover = false;
    EXPECT_TRUE(control->OnMouseMove(MouseAt(35, 5, 0), hover));
    EXPECT_EQ(control->mChildren[1].get(), control->GetHitObject());

    Press(*control, "cba");
    EXPECT_EQ("wrong_order", panel.mKey);
    GetAppState().mTipPanel = nullptr;
    SetTipProfileHook(nullptr);
    control->FreeResources();
}

using ChangerTest = ControlsCanvasTest;

TEST_F(ChangerTest, ClickStepsTheRingAndCrossFades)
{
    const char* xml = "<object cur_idx='2'><img filename='red'/><img filename='blue'/><img filename='solid'/></object>";
    auto changer = LoadedControl<TChangeOnClickObject>(xml);
    ASSERT_TRUE(changer->OnMouseDown(MouseAt(5, 5)));
    EXPECT_EQ(0, changer->mCurrent);
    EXPECT_EQ(2, changer->mPrevious);
    changer->Update(0.1f);
    changer->Draw(1.0f);
    ExpectPixel(5, 5, 255, 128, 0, 3);  // red half over yellow
    changer->Update(0.1f);
    changer->Draw(1.0f);
    ExpectPixel(5, 5, 255, 0, 0);

    TBaseBuffer saved;
    changer->SaveState(saved);
    auto restored = LoadObjectFrom<TChangeOnClickObject>(xml);
    restored->LoadState(saved);
    EXPECT_EQ(0, restored->mCurrent);
    changer->FreeResources();
}

TEST_F(ChangerTest, ClickParentReportsEveryClickThatLeavesAllRight)
{
    TCalls calls;
    TRecordingListener listener(calls);
    auto parent = LoadObjectFrom<TChangeOnClickParentObject>("<object aae='right'/>");
    NestChild<TChangeOnClickObject>(*parent, "<object correct_idx='1'><img filename='red'/><img filename='blue'/></object>");
    NestChild<TChangeOnClickObject>(
        *parent, "<object correct_idx='0'><img filename='red' x='30'/><img filename='blue' x='30'/></object>");
    parent->LoadResources();
    parent->SetListener(&listener);
    EXPECT_FALSE(parent->OnMouseDown(MouseAt(200, 200)));
    ASSERT_TRUE(parent->OnMouseDown(MouseAt(5, 5)));
    EXPECT_EQ((TCalls{"Activate right"}), Reactions(calls));
    ASSERT_TRUE(parent->OnMouseDown(MouseAt(35, 5)));
    EXPECT_EQ(1u, Reactions(calls).size());
    ASSERT_TRUE(parent->OnMouseDown(MouseAt(35, 5)));
    EXPECT_EQ(2u, Reactions(calls).size());
    EXPECT_FALSE(parent->IsLocked());
    parent->FreeResources();
}

TEST_F(ChangerTest, ClickParentRoutesPressesAsAContainer)
{
    TCalls calls;
    TRecordingListener listener(calls);
    auto parent = LoadObjectFrom<TChangeOnClickParentObject>("<object aae='right'/>");
    auto* child = NestChild<TChangeOnClickObject>(
        *parent, "<object correct_idx='1'><img filename='red'/><img filename='blue'/></object>");
    parent->LoadResources();
    parent->SetListener(&listener);

    // Hidden, it passes nothing on: the child keeps its picture and nothing completes.
    parent->SetVisible(false);
    EXPECT_FALSE(parent->OnMouseDown(MouseAt(5, 5)));
    EXPECT_EQ(0, child->mCurrent);
    EXPECT_TRUE(Reactions(calls).empty());

    // Shown, the parent counts its own click before its child turns.
    parent->SetVisible(true);
    ASSERT_TRUE(parent->OnMouseDown(MouseAt(5, 5)));
    EXPECT_EQ(0, parent->mClickCounter);
    EXPECT_EQ(1, child->mCurrent);
    EXPECT_EQ((TCalls{"Activate right"}), Reactions(calls));
    parent->FreeResources();
}

// With every child right from the start, a press that no child takes would complete the
// puzzle at once if the parent's own answer counted.
TEST_F(ChangerTest, ClickParentRefusesAPressNoChildTakes)
{
    const struct {
        const char* what;
        const char* parentXml;
        bool childRefuses;
        int x, y;
    } cases[] = {
        {"the parent's own area", "<object aae='right' x='0' y='0' w='100' h='50' checkonlybounds='1'/>", false, 70, 30},
        {"a hit child that refuses", "<object aae='right'/>", true, 5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TCalls calls;
        TRecordingListener listener(calls);
        auto parent = LoadObjectFrom<TChangeOnClickParentObject>(c.parentXml);
        auto* child = NestChild<TChangeOnClickObject>(
            *parent, "<object correct_idx='0'><img filename='red'/><img filename='blue'/></object>");
        parent->LoadResources();
        parent->SetListener(&listener);
        ASSERT_TRUE(parent->AllChildrenCorrect());
        if (c.childRefuses) child->mClickDelayCountdown = 1.0f;

        EXPECT_FALSE(parent->OnMouseDown(MouseAt(c.x, c.y)));
        EXPECT_EQ(0, child->mCurrent);
        EXPECT_TRUE(Reactions(calls).empty());
        parent->FreeResources();
    }
}

TEST(ChangeOnActivate, FadesOutThenIntoTheNextPicture)
{
    auto changer = LoadObjectFrom<TChangeOnActivateObject>(
        "<object alpha_time='0.1'><img filename='a'/><img filename='b'/></object>");
    EXPECT_EQ(0, changer->GetShownIndex());
    changer->ActivateSimple();
    changer->Update(0.05f);
    changer->ActivateSimple();  // mid-fade: ignored
    changer->Update(0.05f);
    EXPECT_EQ(1, changer->GetShownIndex());
    EXPECT_EQ(0.0f, changer->mImages[1]->mAlpha);
    changer->Update(0.1f);
    EXPECT_EQ(1, changer->GetShownIndex());
    EXPECT_FLOAT_EQ(1.0f, changer->mImages[1]->mAlpha);
    changer->Update(1.0f);
    EXPECT_EQ(1, changer->GetShownIndex());

    // A picture already out changes nothing.
    changer->mImages[1]->SetAlpha(0.0f);
    changer->ActivateSimple();
    changer->Update(1.0f);
    EXPECT_EQ(1, changer->GetShownIndex());
}

TEST(ChangeOnActivate, ParentCompletesOnceItsChildrenStandAtTheirIndexes)
{
    TCalls calls;
    TRecordingListener listener(calls);
    auto parent = LoadObjectFrom<TChangeOnActivateParentObject>("<object idxs='1,0' aae='done'/>");
    const char* child = "<object alpha_time='0.1'><img filename='a'/><img filename='b'/></object>";
    auto* first = NestChild<TChangeOnActivateObject>(*parent, child);
    NestChild<TChangeOnActivateObject>(*parent, child);
    parent->OnLoaded();
    parent->SetListener(&listener);
    parent->Update(0.1f);
    EXPECT_TRUE(calls.empty());
    first->ActivateSimple();
    parent->Update(0.05f);
    EXPECT_TRUE(calls.empty());
    parent->Update(0.05f);  // faded out: the next picture is the shown one
    EXPECT_EQ((TCalls{"Activate done"}), calls);
    EXPECT_TRUE(parent->IsLocked());
    parent->Update(0.1f);
    EXPECT_EQ(1u, calls.size());

    auto childless = LoadObjectFrom<TChangeOnActivateParentObject>("<object aae='done'/>");
    childless->OnLoaded();
    childless->Update(0.1f);
    EXPECT_FALSE(childless->IsLocked());
    auto shortList = LoadObjectFrom<TChangeOnActivateParentObject>("<object idxs='0'/>");
    NestChild<TChangeOnActivateObject>(*shortList, child);
    NestChild<TChangeOnActivateObject>(*shortList, child);
    shortList->OnLoaded();
    EXPECT_FALSE(shortList->AllAtIndex());
}

TEST(Changers, IndexesStayInsideTheirRings)
{
    for (const char* cur : {"3", "-2"}) {
        auto onClick = LoadObjectFrom<TChangeOnClickObject>(std::string("<object cur_idx='") + cur +
                                                            "'><img filename='a'/><img filename='b'/></object>");
        EXPECT_EQ(0, onClick->mCurrent) << cur;
        auto onActivate = LoadObjectFrom<TChangeOnActivateObject>(std::string("<object cur_idx='") + cur +
                                                                  "'><img filename='a'/><img filename='b'/></object>");
        EXPECT_EQ(0, onActivate->GetShownIndex()) << cur;
    }

    // Without pictures nothing changes.
    auto bare = LoadObjectFrom<TChangeOnClickObject>("<object w='10' h='10' cob='1'/>");
    EXPECT_TRUE(bare->OnMouseDown(MouseAt(5, 5)));
    EXPECT_EQ(0, bare->mCurrent);
    bare->Draw(1.0f);
    auto bareActivate = LoadObjectFrom<TChangeOnActivateObject>("<object/>");
    bareActivate->ActivateSimple();
    bareActivate->Update(1.0f);
    EXPECT_EQ(-1, bareActivate->GetShownIndex());

    // A saved index outside the ring leaves the current picture.
    auto three = LoadObjectFrom<TChangeOnClickObject>(
        "<object cur_idx='2'><img filename='a'/><img filename='b'/><img filename='c'/></object>");
    TBaseBuffer saved;
    three->SaveState(saved);
    auto two = LoadObjectFrom<TChangeOnClickObject>("<object cur_idx='1'><img filename='a'/><img filename='b'/></object>");
    two->LoadState(saved);
    EXPECT_EQ(1, two->mCurrent);
}
