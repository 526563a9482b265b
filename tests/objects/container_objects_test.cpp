// Containers and the hover and click objects: routing orders, groups, the hover highlight, the
// clock face and its hands, the push button, the shutter and its ball, the dialog object.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/buffer.h"
#include "objects/anim_objects.h"
#include "objects/clock_arrow_objects.h"
#include "objects/container_objects.h"
#include "objects/object_scene_fixture.h"
#include "objects/recording_listener.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/test_space.h"
#include "rooms/tool.h"
#include "ui/cursors.h"

namespace {

constexpr float kShutterStep = 0.0625f;

// A bounds-only child that writes each event that reaches it, then answers as a plain object.
class TLoggingChild : public TObject {
public:
    TCalls* mLog = nullptr;
    bool mTakeDrag = false;

    bool OnMouseDown(const TSceneMouseEvent& e) override
    {
        mLog->push_back("down " + GetName());
        return TObject::OnMouseDown(e);
    }
    bool OnMouseMove(const TSceneMouseEvent& e, bool& taken) override
    {
        mLog->push_back("move " + GetName());
        return TObject::OnMouseMove(e, taken);
    }
    bool OnMouseUp(const TSceneMouseEvent& e) override
    {
        mLog->push_back("up " + GetName());
        return TObject::OnMouseUp(e);
    }
    bool OnMouseDrag(const TSceneMouseEvent&) override
    {
        mLog->push_back("drag " + GetName());
        return mTakeDrag;
    }
};

// A clock hand for the clock's tests: a hit press picks it up, a press while it turns puts it
// down (and sets it when told); while it turns it is hit everywhere, as a real hand is.
class TTestHand : public TClockArrowObject {
public:
    bool mSetWhenDropped = false;

    bool OnMouseDown(const TSceneMouseEvent& e) override
    {
        if (IsTurning()) {
            ClearTurning();
            if (mSetWhenDropped) mGoalReached = true;
            return true;
        }
        if (mGoalReached || !TObject::HitTest(e.mX, e.mY, true)) return false;
        mTurning = 1;
        return true;
    }
    bool HitTest(int x, int y, bool respectLock) override
    {
        return IsTurning() || TObject::HitTest(x, y, respectLock);
    }
};

class ContainerTest : public ::testing::Test {
protected:
    template <class Kind>
    std::unique_ptr<Kind> Make(const std::string& xml)
    {
        auto object = LoadObjectFrom<Kind>(xml, "scene/", &mSpace);
        object->SetListener(&mListener);
        return object;
    }
    // Bounds-only children 100 x 100 at the given corners, all overlapping at (60, 60).
    template <class Kind = TLoggingChild>
    Kind* Child(TObject& parent, const std::string& name, int x, const std::string& more = "")
    {
        Kind* child = NestChild<Kind>(parent,
                                      "<object id='" + name + "' x='" + std::to_string(x) +
                                          "' y='0' w='100' h='100' cob='1' " + more + "/>",
                                      &mSpace);
        if constexpr (std::is_same_v<Kind, TLoggingChild>) child->mLog = &mCalls;
        child->SetListener(&mListener);
        return child;
    }

    void SetUp() override { mSpace.mTrace = &mCalls; }

    TCalls mCalls;
    TRecordingListener mListener{mCalls};
    TTestSpace mSpace;
};

}  // namespace

TEST_F(ContainerTest, TransparentContainerAsksTheTopmostChildFirst)
{
    auto box = Make<TTransparentObject>("<object type='transp'/>");
    TLoggingChild* a = Child(*box, "a", 0);
    TLoggingChild* b = Child(*box, "b", 50);
    EXPECT_TRUE(box->OnMouseDown(PressAt(60, 60)));
    EXPECT_EQ(0, b->mClickCounter);
    EXPECT_EQ(-1, a->mClickCounter);  // never asked
    EXPECT_EQ(0, box->mClickCounter);  // the container's own hit test covers its children
    EXPECT_EQ((TCalls{"OnObjectActivated", "MouseDown", "down b", "OnObjectActivated", "MouseDown"}), mCalls);

    // Only the earlier child lies under (20, 20).
    mCalls.clear();
    EXPECT_TRUE(box->OnMouseDown(PressAt(20, 20)));
    EXPECT_EQ((TCalls{"OnObjectActivated", "MouseDown", "down b", "down a", "OnObjectActivated", "MouseDown"}), mCalls);

    // A drag goes to the children only.
    mCalls.clear();
    b->mTakeDrag = true;
    EXPECT_TRUE(box->OnMouseDrag(PressAt(60, 60)));
    EXPECT_EQ((TCalls{"drag b"}), mCalls);

    mCalls.clear();
    box->TObject::SetVisible(false);
    bool hover = false;
    EXPECT_FALSE(box->OnMouseDown(PressAt(60, 60)));
    EXPECT_FALSE(box->OnMouseMove(PressAt(60, 60), hover));
    EXPECT_FALSE(box->OnMouseUp(PressAt(60, 60)));
    EXPECT_FALSE(box->OnMouseDrag(PressAt(60, 60)));
    EXPECT_TRUE(mCalls.empty());
}

TEST_F(ContainerTest, BroadcastingGroupGivesEveryChildTheEvent)
{
    auto group = Make<TMouseEventsGroup>("<object type='me_group'/>");
    Child(*group, "a", 500);
    Child(*group, "b", 700);
    Child(*group, "c", 0);
    group->TObject::SetVisible(false);  // no visibility test here
    EXPECT_TRUE(group->OnMouseDown(PressAt(60, 60)));
    // The hidden group misses the press itself; its children all get it.
    EXPECT_EQ((TCalls{"down a", "down b", "down c", "OnObjectActivated", "MouseDown"}), mCalls);
    EXPECT_FALSE(group->OnMouseDown(PressAt(300, 300)));
    mCalls.clear();
    bool hover = false;
    EXPECT_TRUE(group->OnMouseMove(PressAt(60, 60), hover));
    EXPECT_EQ(3u, std::count_if(mCalls.begin(), mCalls.end(), [](const std::string& c) { return c.rfind("move", 0) == 0; }));
}

TEST_F(ContainerTest, BringToTopMovesThePressedChildToTheEnd)
{
    auto box = Make<TBringToTopObject>("<object type='bring_to_top'/>");
    TLoggingChild* a = Child(*box, "a", 0);
    Child(*box, "b", 50);
    Child(*box, "c", 500);
    EXPECT_TRUE(box->OnMouseDown(PressAt(20, 20)));
    ASSERT_EQ(a, box->mChildren.back().get());
    EXPECT_EQ("b", box->mChildren[0]->GetName());
    EXPECT_EQ("c", box->mChildren[1]->GetName());
    mCalls.clear();
    EXPECT_TRUE(box->OnMouseDown(PressAt(60, 60)));
    EXPECT_EQ(1, a->mClickCounter);  // now on top, it wins the overlap
    EXPECT_EQ(a, box->mChildren.back().get());  // already last: order kept
    EXPECT_FALSE(box->OnMouseDown(PressAt(300, 300)));
}

TEST_F(ContainerTest, GroupsHandTheirListsAndStatesToTheirChildren)
{
    auto group = Make<TGroupObject>("<object type='group' hint='h1' hintlocked='h2' hinttool='h3' tool='k' "
                                    "x='0' y='0' w='10' h='10' cob='1'/>");
    TLoggingChild* a = Child(*group, "a", 0);
    TLoggingChild* b = Child(*group, "b", 500);
    group->mUseMessages = {"m"};
    group->OnLoaded();
    for (TObject* child : {static_cast<TObject*>(a), static_cast<TObject*>(b)}) {
        EXPECT_EQ((std::vector<std::string>{"h1"}), child->mHints);
        EXPECT_EQ((std::vector<std::string>{"h2"}), child->mLockedHints);
        EXPECT_EQ((std::vector<std::string>{"h3"}), child->mToolHints);
        EXPECT_EQ((std::vector<std::string>{"m"}), child->mUseMessages);
        EXPECT_EQ("tool", child->mCursorName);
    }

    TTool key;
    key.mId = "k";
    key.mOwned = true;
    EXPECT_TRUE(group->OnMouseDown(PressAt(5, 5, &key)));
    ASSERT_TRUE(group->IsLastAllowedUse());
    EXPECT_EQ("", a->mCursorName);
    EXPECT_EQ("", b->mCursorName);

    group->SetVisible(false);
    EXPECT_FALSE(a->IsVisible());
    group->SetVisible(true);
    EXPECT_TRUE(b->IsVisible());
    group->Lock();
    EXPECT_TRUE(a->IsLocked() && b->IsLocked());
    group->Unlock();
    EXPECT_FALSE(a->IsLocked() || b->IsLocked() || group->IsLocked());
    group->Activate(0, 0, 0);
    EXPECT_TRUE(a->IsActive() && b->IsActive() && group->IsActive());

    group->SetHintMode("show_hint");
    std::vector<TObject*> hinted;
    group->CollectHintables(hinted);
    EXPECT_EQ((std::vector<TObject*>{a}), hinted);
    auto empty = Make<TGroupObject>("<object type='group' hint_mod='show_hint'/>");
    hinted.clear();
    empty->CollectHintables(hinted);
    EXPECT_TRUE(hinted.empty());
}

TEST_F(ContainerTest, FoundGroupRunsItsEventOnEveryPressOnceItsChildrenAreUsedUp)
{
    auto group = Make<TFoudedGroupObject>("<object type='fgroup' eflags='found'/>");
    TLoggingChild* a = Child(*group, "a", 0, "maxclicks='1'");
    Child(*group, "b", 500, "maxclicks='1'");
    group->OnMouseDown(PressAt(20, 20));
    EXPECT_TRUE(a->IsLastAllowedUse());
    EXPECT_EQ(0, std::count(mCalls.begin(), mCalls.end(), "Post found"));  // one child short
    group->OnMouseDown(PressAt(520, 20));
    EXPECT_EQ(2, std::count(mCalls.begin(), mCalls.end(), "Post found"));
    mCalls.clear();
    group->OnMouseDown(PressAt(900, 900));
    EXPECT_EQ(2, std::count(mCalls.begin(), mCalls.end(), "Post found"));
}

TEST_F(ContainerTest, HoverObjectLightsItsFirstChild)
{
    auto hover = Make<TMouseEnterObject>("<object type='mouse_enter' over='1' soundmouseenter='in' "
                                         "soundmouseleave='out'/>");
    TLoggingChild* light = Child(*hover, "light", 0, "visible='0'");
    hover->OnLoaded();
    EXPECT_TRUE(light->IsVisible());
    mCalls.clear();
    hover->OnMouseLeave(0, 0);
    EXPECT_FALSE(light->IsVisible());
    hover->OnMouseEnter(0, 0);
    EXPECT_TRUE(light->IsVisible());
    EXPECT_EQ((TCalls{"sound out", "sound in"}), mCalls);
    EXPECT_FALSE(hover->mHovered);  // its own flag, not the input's

    auto selectable = Make<TMouseEnterObject>("<object type='mouse_enter' canselect='1'/>");
    TLoggingChild* mark = Child(*selectable, "mark", 0);
    selectable->OnLoaded();
    EXPECT_FALSE(mark->IsVisible());
    selectable->OnClickAccepted(PressAt(0, 0));
    selectable->Draw(1.0f);
    EXPECT_TRUE(mark->IsVisible());
    selectable->OnClickAccepted(PressAt(0, 0));
    selectable->Draw(1.0f);
    EXPECT_FALSE(mark->IsVisible());

    auto bare = Make<TMouseEnterObject>("<object type='mouse_enter' over='1' canselect='1'/>");
    bare->OnLoaded();
    bare->OnMouseEnter(0, 0);
    bare->OnMouseLeave(0, 0);
    bare->Draw(1.0f);
}

// ---------------------------------------------------------------- clock

namespace {

class ClockTest : public ContainerTest {
protected:
    void Build(const std::string& keys)
    {
        mClock = Make<TClockObject>("<object type='clock' " + keys + "/>");
        mA = Child<TTestHand>(*mClock, "a", 0);
        mB = Child<TTestHand>(*mClock, "b", 500);
    }
    bool Press(int x, TTool* tool = nullptr) { return mClock->OnMouseDown(PressAt(x + 10, 10, tool)); }

    std::unique_ptr<TClockObject> mClock;
    TTestHand* mA = nullptr;
    TTestHand* mB = nullptr;
};

}  // namespace

TEST_F(ClockTest, PressesPickUpAndPutDownOneHandAtATime)
{
    Build("");
    EXPECT_TRUE(Press(0));
    EXPECT_TRUE(mA->IsTurning());
    EXPECT_TRUE(Press(0));
    EXPECT_FALSE(mA->IsTurning());
    Press(0);
    ASSERT_TRUE(mA->IsTurning());
    Press(500);  // the other hand, while the first turns: both stop
    EXPECT_FALSE(mA->IsTurning());
    EXPECT_FALSE(mB->IsTurning());
    EXPECT_FALSE(Press(300));  // nothing there
}

TEST_F(ClockTest, SettingEveryHandCompletesTheClock)
{
    Build("activateafterevent='opened' maxclicks='9'");
    mA->mSetWhenDropped = mB->mSetWhenDropped = true;
    Press(0);
    Press(0);
    ASSERT_TRUE(mA->IsGoalReached());
    EXPECT_FALSE(mClock->IsGoalReached());
    Press(500);
    mCalls.clear();
    EXPECT_TRUE(Press(500));
    EXPECT_TRUE(mClock->IsGoalReached());
    EXPECT_EQ(2, std::count(mCalls.begin(), mCalls.end(), "OnObjectActivated"));
    EXPECT_EQ(1, std::count(mCalls.begin(), mCalls.end(), "Activate opened"));
    EXPECT_FALSE(mClock->IsLocked());  // no record to hand out
    EXPECT_FALSE(Press(0));  // the goal is set: presses are ignored

    // With records: the one at the counter is handed out and the clock locks itself.
    for (const char* mode : {"true", "false"}) {
        Build(std::string("tools='r0,") + mode + ";r1," + mode + ";r2," + mode + ";r3," + mode + "' hideonclick='1'");
        mClock->mClickExecuter = nullptr;
        mA->mSetWhenDropped = mB->mSetWhenDropped = true;
        GivenToolRecords().clear();
        mCalls.clear();
        Press(0), Press(0), Press(500), Press(500);
        ASSERT_EQ(1u, GivenToolRecords().size()) << mode;
        EXPECT_EQ("r3", GivenToolRecords().back().mToolName);
        EXPECT_FALSE(GivenToolRecords().back().mUsed);
        EXPECT_EQ(std::string(mode) == "false" ? 1 : 0, std::count(mCalls.begin(), mCalls.end(), "RunCommands 1 0.100000"));
        EXPECT_EQ(2, std::count(mCalls.begin(), mCalls.end(), "OnObjectActivated"));
        EXPECT_TRUE(mClock->IsLocked());
        EXPECT_FALSE(mClock->IsVisible());
    }
    GivenToolRecords().clear();
}

TEST_F(ClockTest, PressesThatAreRefused)
{
    Build("onclick='0'");
    EXPECT_FALSE(Press(0));
    EXPECT_FALSE(mA->IsTurning());
    EXPECT_FALSE(mClock->mClickEnabled);

    Build("maxclicks='1'");
    Press(0);
    EXPECT_TRUE(Press(0));  // no use left: hit, nothing else
    EXPECT_TRUE(mA->IsTurning());

    Build("");
    TTool key;
    key.mId = "k";
    mClock->Lock();
    EXPECT_FALSE(Press(0, &key));
    EXPECT_TRUE(Press(0));  // the hand answers
    EXPECT_FALSE(mA->IsTurning());
    EXPECT_FALSE(Press(300));
}

TEST_F(ClockTest, AHitPressShowsTheActiveCursor)
{
    LoadCursors("cursors.xml");
    TGameCursors* cursors = GetGameCursors();
    cursors->SelectDefault();
    Build("");
    Press(300);
    EXPECT_NE(cursors->Find("active"), cursors->Current());
    Press(0);
    ASSERT_TRUE(cursors->HasCurrent());
    EXPECT_EQ(cursors->Find("active"), cursors->Current());
    DestroyCursors();
}

TEST_F(ClockTest, ToolsGoToTheHandsInOrderWhenAsked)
{
    mClock = Make<TClockObject>("<object type='clock' keeporder='1'/>");
    TLoggingChild* first = Child(*mClock, "first", 0, "tool='k1'");
    TLoggingChild* second = Child(*mClock, "second", 500, "tool='k2'");
    TTool k1, k2;
    k1.mId = "k1";
    k2.mId = "k2";
    EXPECT_TRUE(mClock->HasToolUse());
    EXPECT_FALSE(mClock->AcceptsTool(&k2));
    EXPECT_TRUE(mClock->AcceptsTool(&k1));
    first->mToolApplied = true;
    EXPECT_TRUE(mClock->AcceptsTool(&k2));
    (void)second;

    // A limited arrow is no hand: the hand alone completes the clock.
    mClock = Make<TClockObject>("<object type='clock'/>");
    mA = Child<TTestHand>(*mClock, "a", 0);
    Child<TLimitedArrowObject>(*mClock, "limited", 500);
    mA->mSetWhenDropped = true;
    Press(0);
    Press(0);
    EXPECT_TRUE(mClock->IsGoalReached());
}

// ---------------------------------------------------------------- push button

namespace {

class PushButtonTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        SolidPng("scene/up.png", 32, 32, SDL_Color{255, 0, 0, 255});
        SolidPng("scene/down.png", 32, 32, SDL_Color{0, 255, 0, 255});
        // Left half at alpha 62, right half at 63.
        SavePng("scene/faint.png", MakeSurface(32, 32, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                    return SDL_Color{255, 255, 255, static_cast<Uint8>(x < 16 ? 62 : 63)};
                }));
    }
    std::unique_ptr<TClickButtonObject> Button(const std::string& keys, const std::string& images)
    {
        auto button = LoadObjectFrom<TClickButtonObject>(
            "<object type='click_button' " + keys + ">" + images + "</object>", "scene/");
        button->LoadResources();
        return button;
    }
    const std::string kTwo = "<img filename='up' x='200' y='100'/><img filename='down' x='400' y='100'/>";
};

}  // namespace

TEST_F(PushButtonTest, ItIsPressedWhereItsPictureIsDrawn)
{
    auto button = Button("", kTwo);
    EXPECT_FALSE(button->OnMouseDown(PressAt(410, 110)));
    EXPECT_TRUE(button->OnMouseDown(PressAt(210, 110)));
    EXPECT_TRUE(button->mPressed);
    EXPECT_TRUE(button->HitTest(410, 110, true));
    EXPECT_FALSE(button->HitTest(210, 110, true));
    button->Draw(1.0f);
    ExpectPixel(410, 110, 0, 255, 0);
    ExpectPixel(210, 110, 0, 0, 0);
    button->OnMouseUp(PressAt(0, 0));
    EXPECT_FALSE(button->mPressed);
    EXPECT_TRUE(button->HitTest(210, 110, true));

    auto faint = Button("", "<img filename='faint' x='200' y='100'/>");
    EXPECT_FALSE(faint->HitTest(210, 110, true));
    EXPECT_TRUE(faint->HitTest(220, 110, true));
    auto big = Button("", "<img filename='up' x='200' y='100' scx='2' scy='2'/>");
    EXPECT_TRUE(big->HitTest(250, 150, true));
    EXPECT_FALSE(big->HitTest(270, 170, true));

    // One picture only: pressed, it shows and hits nothing.
    auto single = Button("", "<img filename='up' x='200' y='100'/>");
    EXPECT_TRUE(single->OnMouseDown(PressAt(210, 110)));
    EXPECT_FALSE(single->HitTest(210, 110, true));
    Clear(0, 0, 0);
    single->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(0, 0, 0).w);
}

TEST_F(PushButtonTest, AButtonHiddenByItsClickDrawsNothing)
{
    auto button = Button("hideonclick='1'", kTwo);
    EXPECT_TRUE(button->OnMouseDown(PressAt(210, 110)));
    ASSERT_FALSE(button->IsVisible());
    button->Draw(1.0f);
    button->OnMouseUp(PressAt(210, 110));
    button->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(0, 0, 0).w);
}

// ---------------------------------------------------------------- shutter

namespace {

class ShutterTest : public ContainerTest {
protected:
    void Build(const std::string& keys, bool withBall = true, const std::string& ballKeys = "")
    {
        mShutter = Make<TShutterObject>(
            "<object type='shutter_object' x='300' y='200' w='40' h='20' shutter_offset='100' ball_offset='50' "
            "activateafterevent='done;slid' " +
            keys + "/>");
        mBall = nullptr;
        if (withBall) {
            mBall = NestChild<TCadrObject>(*mShutter,
                                           "<object id='sh_ball' x='310' y='210' w='8' h='8' frames='2' tw='16' "
                                           "speed='0.5' active='0' " + ballKeys + "/>",
                                           &mSpace);
        }
        mShutter->OnSpaceFirstShown();
        mShutter->OnSpaceShown();
    }
    // The update numbers (from 1) in which event groups 1 and 0 ran.
    std::vector<int> Run(int updates, std::vector<int>* xs = nullptr)
    {
        std::vector<int> at;
        for (int i = 1; i <= updates; ++i) {
            mCalls.clear();
            mShutter->Update(kShutterStep);
            if (xs) xs->push_back(static_cast<int>(mShutter->mX));
            for (const std::string& call : mCalls)
                if (call.rfind("Activate ", 0) == 0) at.push_back(i * 10 + (call == "Activate slid" ? 1 : 0));
        }
        return at;
    }

    std::unique_ptr<TShutterObject> mShutter;
    TCadrObject* mBall = nullptr;
};

}  // namespace

TEST_F(ShutterTest, SlidesAsideThenDropsItsBall)
{
    Build("");
    mShutter->Activate(0, 0, 0);
    std::vector<int> xs;
    EXPECT_EQ((std::vector<int>{41, 110}), Run(12, &xs));  // group 1 in update 4, group 0 in 11
    EXPECT_EQ((std::vector<int>{268, 237, 206, 200}), std::vector<int>(xs.begin(), xs.begin() + 4));
    EXPECT_FLOAT_EQ(210.0f, mBall->mY + 0.0f - 50.0f);
    EXPECT_FLOAT_EQ(310.0f, mBall->mX);
    EXPECT_FALSE(mBall->IsActive());
    EXPECT_FALSE(mBall->mCadrImage->IsPlaying());
    EXPECT_EQ(TShutterObject::kFinished, mShutter->mPhase);
    EXPECT_TRUE(Run(5).empty());  // finished: updates change nothing
    EXPECT_FLOAT_EQ(200.0f, mShutter->mX);

    // A second activation slides on from where it stands.
    mShutter->Activate(0, 0, 0);
    Run(4);
    EXPECT_FLOAT_EQ(100.0f, mShutter->mX);

    // Without a usable ball the phases keep their timing.
    for (const char* kind : {"none", "plain"}) {
        Build("", false);
        if (std::string(kind) == "plain") {
            NestChild<TObject>(*mShutter, "<object id='sh_ball' x='1' y='1'/>", &mSpace);
            mShutter->OnSpaceShown();
        }
        EXPECT_EQ(nullptr, mShutter->mBall);
        mShutter->Activate(0, 0, 0);
        EXPECT_EQ((std::vector<int>{41, 110}), Run(12)) << kind;
    }
}

TEST_F(ShutterTest, BallPlaysOnlyWhileItFalls)
{
    Build("");
    mShutter->Activate(0, 0, 0);
    Run(4);
    EXPECT_TRUE(mBall->mCadrImage->IsPlaying());
    Run(3);
    EXPECT_GT(mBall->mY, 210.0f);
    EXPECT_LT(mBall->mY, 260.0f);
}

TEST_F(ShutterTest, ASavedSlideEndsAsItWouldHave)
{
    Build("");
    mShutter->Activate(0, 0, 0);
    Run(2);
    TBaseBuffer buffer;
    mShutter->SaveState(buffer);
    std::unique_ptr<TShutterObject> first = std::move(mShutter);
    Build("");
    mShutter->LoadState(buffer);
    EXPECT_EQ(TShutterObject::kSliding, mShutter->mPhase);
    EXPECT_EQ((std::vector<int>{21, 90}), Run(10));
    EXPECT_FLOAT_EQ(200.0f, mShutter->mX);
    EXPECT_FLOAT_EQ(260.0f, mBall->mY);
}

TEST_F(ShutterTest, MovesByItsStoredPositionWhateverItsDrawType)
{
    Build("drawtype='1'", true, "drawtype='1'");
    mShutter->Activate(0, 0, 0);
    float last = mShutter->mX;
    for (int i = 0; i < 4; ++i) {
        mShutter->Update(kShutterStep);
        EXPECT_LE(mShutter->mX, last);
        EXPECT_GE(mShutter->mX, 200.0f);
        last = mShutter->mX;
    }
    EXPECT_FLOAT_EQ(200.0f, mShutter->mX);
    Run(8);
    EXPECT_FLOAT_EQ(260.0f, mBall->mY);

    Build("tcx='10' tcy='0'");
    const float shown = mShutter->mX;
    mShutter->Activate(0, 0, 0);
    Run(12);
    EXPECT_FLOAT_EQ(shown - 100.0f, mShutter->mX);
}

// ---------------------------------------------------------------- dialog object

TEST_F(ContainerTest, DialogObjectClicksItselfOnShowOnceArmed)
{
    auto dialog = Make<TDialogObject>("<object type='dialog_obj' x='10' y='10' w='20' h='20' maxclicks='2' "
                                      "activateafterclick='first;second'/>");
    dialog->OnSpaceShown();
    EXPECT_EQ(-1, dialog->mClickCounter);
    dialog->Activate(0, 0, 0);
    for (const char* group : {"first", "second"}) {
        mCalls.clear();
        dialog->OnSpaceShown();
        EXPECT_EQ(1, std::count(mCalls.begin(), mCalls.end(), std::string("Activate ") + group));
        EXPECT_FALSE(dialog->IsVisible());
        EXPECT_EQ(0, dialog->mAlphaThreshold);
    }
    mCalls.clear();
    dialog->OnSpaceShown();  // its uses are spent
    EXPECT_TRUE(mCalls.empty());

    TBaseBuffer buffer;
    auto armed = Make<TDialogObject>("<object id='d' type='dialog_obj' x='10' y='10' w='20' h='20'/>");
    armed->Activate(0, 0, 0);
    armed->SaveState(buffer);
    EXPECT_EQ(1, buffer.Bytes().back());
    auto restored = Make<TDialogObject>("<object id='d' type='dialog_obj' x='10' y='10' w='20' h='20'/>");
    restored->LoadState(buffer);
    restored->OnSpaceShown();
    EXPECT_EQ(0, restored->mClickCounter);
}
