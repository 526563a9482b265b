// Child sequences, anim-file holders and switchers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "objects/object_scene_fixture.h"
#include "objects/reaction_recorder.h"
#include "objects/sequence_objects.h"
#include "rooms/test_space.h"

namespace {

constexpr const char* kSheet = "texrects='0.0.10.10' frames='4' texw='40' framedelay='0.1' animmode='loop'";

// Index of the one visible child; -1 when none or several are.
int ShownStep(const TObject& parent)
{
    int shown = -1;
    for (size_t i = 0; i < parent.mChildren.size(); ++i) {
        if (!parent.mChildren[i]->IsVisible()) continue;
        if (shown >= 0) return -1;
        shown = static_cast<int>(i);
    }
    return shown;
}

std::unique_ptr<TCadrItemsObject> Sequence(const std::string& keys, int children, TReactionRecorder* recorder = nullptr,
                                           TGameSpace* owner = nullptr)
{
    auto sequence = LoadObjectFrom<TCadrItemsObject>("<object id='seq' aae='x' " + keys + "/>", "scene/", owner);
    for (int i = 0; i < children; ++i)
        NestChild(*sequence, "<object id='c" + std::to_string(i) + "' " + kSheet + "/>", owner);
    if (recorder) sequence->SetListener(recorder);
    return sequence;
}

}  // namespace

TEST(CadrItems, ShowsEachChildInTurnForItsPassesThenReportsOnce)
{
    TReactionRecorder recorder;
    auto sequence = Sequence("speed='0.5' count='2'", 3, &recorder);
    sequence->Activate(0, 0, 0);
    std::vector<int> shown{ShownStep(*sequence)};
    for (int step = 1; step <= 12; ++step) {
        sequence->Update(0.25f);
        if (step % 2 == 0 && step < 12) shown.push_back(ShownStep(*sequence));
        if (step < 12) {
            EXPECT_TRUE(sequence->IsActive()) << step;
        }
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_FALSE(sequence->IsActive());
    EXPECT_EQ(ShownStep(*sequence), 2);
    EXPECT_EQ(sequence->mShownIndex, 0);
    EXPECT_EQ(recorder.Count("activate"), 1);
    for (int i = 0; i < 8; ++i) sequence->Update(0.25f);
    EXPECT_EQ(recorder.Count("activate"), 1);
}

TEST(CadrItems, SpeedZeroEndlessAndChildless)
{
    TReactionRecorder recorder;
    auto quick = Sequence("speed='0' count='-1'", 3, &recorder);
    quick->Activate(0, 0, 0);
    for (int expected : {1, 2, 0, 1}) {
        quick->Update(0.25f);
        EXPECT_EQ(ShownStep(*quick), expected);
    }

    auto endless = Sequence("speed='0.5' count='-1'", 3, &recorder);
    endless->Activate(0, 0, 0);
    for (int i = 0; i < 100; ++i) endless->Update(0.25f);
    EXPECT_TRUE(endless->IsActive());
    EXPECT_EQ(ShownStep(*endless), 2);  // 50 children on from child 0
    EXPECT_EQ(recorder.Count("activate"), 0);

    auto empty = Sequence("speed='0' count='3'", 0, &recorder);
    empty->Activate(0, 0, 0);
    empty->Update(0.25f);
    empty->Update(0.25f);
    EXPECT_EQ(recorder.Count("activate"), 0);
    empty->Update(0.25f);
    EXPECT_EQ(recorder.Count("activate"), 1);
    EXPECT_FALSE(empty->IsActive());
}

TEST(CadrItems, InactiveFreezesItsChildrenAndResumesWhereItStopped)
{
    auto sequence = Sequence("speed='0.5' count='-1'", 3);
    for (int i = 0; i < 8; ++i) sequence->Update(0.25f);
    for (const auto& child : sequence->mChildren) EXPECT_EQ(child->mCurrentFrame, 0);

    sequence->Activate(0, 0, 0);
    sequence->Update(0.5f);
    EXPECT_EQ(ShownStep(*sequence), 1);
    EXPECT_EQ(sequence->mChildren[0]->mCurrentFrame, 1);  // the children run while it does
    sequence->Deactivate(0, 0, 0);
    sequence->Update(0.5f);
    EXPECT_EQ(ShownStep(*sequence), 1);
    sequence->mLoopsDone = 5;
    sequence->Activate(0, 0, 0);
    EXPECT_EQ(ShownStep(*sequence), 1);
    EXPECT_EQ(sequence->mLoopsDone, 0);
}

TEST(CadrItems, FirstShowActivatesOrShowsTheIndexedChildAlone)
{
    TTrace trace;
    TTestSpace space;
    space.mTrace = &trace;

    auto active = Sequence("active='1' sounda='hum' speed='0.5'", 2, nullptr, &space);
    TObject* child = NestChild(*active, "<object id='c2' tcx='5' active='1' sounda='childhum'/>", &space);
    active->OnSpaceFirstShown();
    // The child's own first show never runs: no activation sound, no centre shift.
    EXPECT_EQ(trace, (TTrace{"sound hum"}));
    EXPECT_EQ(ShownStep(*active), 0);
    EXPECT_EQ(child->mX, 0.0f);

    struct Case {
        const char* keys;
        int shown;
    };
    const Case cases[] = {{"", 1}, {"dovisibleonfirstenter='1'", 1}, {"dovisibleonfirstenter='0'", -1}};
    for (const Case& c : cases) {
        trace.clear();
        auto idle = Sequence(std::string("sounda='hum' ") + c.keys, 3, nullptr, &space);
        idle->mShownIndex = 1;
        idle->OnSpaceFirstShown();
        EXPECT_EQ(ShownStep(*idle), c.shown) << c.keys;
        EXPECT_FALSE(idle->IsActive());
        EXPECT_TRUE(trace.empty());
    }
}

TEST(CadrItems, RecordAddsTheShownIndexAndRestoresTheRun)
{
    auto sequence = Sequence("speed='0.5' count='-1'", 3);
    sequence->Activate(0, 0, 0);
    sequence->Update(0.5f);
    sequence->Update(0.5f);
    ASSERT_EQ(sequence->mShownIndex, 2);
    TBaseBuffer record;
    sequence->SaveState(record);
    TBaseBuffer expected;
    sequence->TObject::SaveState(expected);
    expected.WriteInt32(2);
    EXPECT_EQ(Bytes(record), Bytes(expected));

    auto back = Sequence("speed='0.5' count='-1'", 3);
    back->LoadState(record);
    EXPECT_TRUE(back->IsActive());
    EXPECT_EQ(ShownStep(*back), 2);
    back->Update(0.5f);
    EXPECT_EQ(ShownStep(*back), 0);
}

TEST(CadrItems, RestoredIndexOutsideTheChildrenStartsOver)
{
    for (int32_t index : {7, -1, INT32_MAX, 3}) {
        auto sequence = Sequence("speed='0' count='-1' active='1'", 3);
        TBaseBuffer record;
        sequence->TObject::SaveState(record);
        record.WriteInt32(index);
        sequence->LoadState(record);
        EXPECT_EQ(sequence->mShownIndex, 0) << index;
        EXPECT_EQ(ShownStep(*sequence), 0) << index;
        for (int i = 0; i < 10; ++i) sequence->Update(0.25f);
        EXPECT_EQ(ShownStep(*sequence), 1) << index;
    }
}

namespace {

// Records drags and answers them.
class TDragTaker : public TObject {
public:
    bool OnMouseDrag(const TSceneMouseEvent& /*event*/) override
    {
        ++mDrags;
        return true;
    }
    int mDrags = 0;
};

}  // namespace

TEST(AnimFile, PassesTheMouseToTheFirstChildThatTakesIt)
{
    TReactionRecorder recorder;
    auto holder = LoadObjectFrom<TAnimFileObject>("<object id='holder' w='100' h='100' cob='1'/>");
    TDragTaker* first = NestChild<TDragTaker>(*holder, "<object id='first' x='0' y='0' w='20' h='20' cob='1'/>");
    TDragTaker* second = NestChild<TDragTaker>(*holder, "<object id='second' x='10' y='10' w='20' h='20' cob='1'/>");
    holder->SetListener(&recorder);

    bool hover = false;
    EXPECT_TRUE(holder->OnMouseDown(PressAt(15, 15)));
    EXPECT_TRUE(holder->OnMouseMove(PressAt(15, 15), hover));
    EXPECT_TRUE(holder->OnMouseUp(PressAt(15, 15)));
    EXPECT_TRUE(holder->OnMouseDrag(PressAt(15, 15)));
    EXPECT_EQ(recorder.mCalls,
              (std::vector<std::string>{"activated first", "down first", "enter first", "over first", "up first"}));
    EXPECT_EQ(first->mClickCounter, 0);
    EXPECT_EQ(second->mClickCounter, -1);
    EXPECT_EQ(first->mDrags, 1);
    EXPECT_EQ(second->mDrags, 0);
    EXPECT_FALSE(second->mHovered);

    recorder.mCalls.clear();
    hover = false;
    EXPECT_FALSE(holder->OnMouseDown(PressAt(50, 50)));
    EXPECT_FALSE(holder->OnMouseUp(PressAt(50, 50)));
    EXPECT_EQ(holder->mClickCounter, -1);
    for (const std::string& call : recorder.mCalls) EXPECT_EQ(call.find("holder"), std::string::npos) << call;
}

// ---------------------------------------------------------------- switcher

namespace {

std::unique_ptr<TSwitcherObject> Switcher(const std::string& keys, TGameSpace* owner = nullptr)
{
    return LoadObjectFrom<TSwitcherObject>("<object id='sw' w='40' h='40' cob='1' " + keys + "/>", "scene/", owner);
}

}  // namespace

TEST(Switcher, ClicksOnlyWithOnclickAndAFadeOrAFrameStep)
{
    auto deaf = Switcher("speed='0.5'");
    EXPECT_FALSE(deaf->mClickEnabled);
    deaf->OnMouseDown(PressAt(5, 5));
    EXPECT_EQ(deaf->mFading, 0);
    EXPECT_EQ(deaf->mClickCounter, -1);

    auto fading = Switcher("onclick='1' speed='0.5'");
    EXPECT_TRUE(fading->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(fading->mFading, 1);
    EXPECT_FALSE(fading->mStarted);  // a click does not count as a start
    fading->Update(0.25f);
    EXPECT_EQ(fading->mFading, 1);
    EXPECT_FLOAT_EQ(fading->mFade.mCurrent, 0.5f);
    fading->Update(0.25f);
    EXPECT_EQ(fading->mFading, 0);

    struct Case {
        const char* keys;
        int target;
    };
    for (const Case& c : {Case{"", 0}, Case{"animtype='looped'", 0}, Case{"animtype='once'", -1}}) {
        auto stepping = Switcher(std::string("onclick='1' startcadr='3' ") + c.keys);
        stepping->OnMouseDown(PressAt(5, 5));
        EXPECT_EQ(stepping->mTargetIndex, c.target) << c.keys;
        EXPECT_EQ(stepping->mCurrentIndex, 3) << c.keys;
        EXPECT_EQ(stepping->mFading, 0);
    }
}

TEST(Switcher, ActivationDelayAndShows)
{
    TTrace trace;
    TTestSpace space;
    space.mTrace = &trace;
    auto once = Switcher("animtype='once' speed='0.5' sounda='hum'", &space);
    once->Activate(0, 0, 0);
    EXPECT_EQ(once->mFading, 1);
    EXPECT_TRUE(once->mStarted);
    EXPECT_FALSE(once->IsActive());
    EXPECT_TRUE(trace.empty());
    once->Update(0.5f);
    once->Activate(0, 0, 0);
    EXPECT_EQ(once->mFading, 0);

    auto looped = Switcher("speed='0.5'");
    looped->Activate(0, 0, 0);
    looped->Update(0.5f);
    looped->Activate(0, 0, 0);
    EXPECT_EQ(looped->mFading, 1);

    auto delayed = Switcher("delay='1'");
    delayed->Activate(0, 0, 0);
    EXPECT_TRUE(delayed->mDelayTimer.mRunning);
    delayed->Update(1.0f);
    EXPECT_FALSE(delayed->mDelayTimer.mRunning);
    delayed->Update(1.0f);
    EXPECT_FALSE(delayed->mDelayTimer.mRunning);
    auto stopped = Switcher("delay='1' runtype='stop'");
    stopped->Activate(0, 0, 0);
    EXPECT_FALSE(stopped->mDelayTimer.mRunning);

    auto onShow = Switcher("activate='1' speed='0.5'");
    auto quiet = Switcher("speed='0.5'");
    for (int show = 0; show < 2; ++show) {
        onShow->OnSpaceShown();
        quiet->OnSpaceShown();
        EXPECT_EQ(onShow->mFading, 1) << show;
        EXPECT_EQ(quiet->mFading, 0);
        onShow->Update(0.5f);
    }
}

TEST(Switcher, StandsOnItsFramePointAndCarriesItsChildren)
{
    auto switcher = Switcher(std::string("x='1' y='2' poss='10,20; 30 ,7;30,40' startcadr='2'"));
    TObject* child = NestChild(*switcher, std::string("<object x='5' y='6' ") + kSheet + "/>");
    EXPECT_EQ(switcher->mPositions.size(), 3u);
    EXPECT_EQ(switcher->mPositions[1].x, 30);
    EXPECT_EQ(switcher->mPositions[1].y, 0);  // "30 ,7" stops reading at the space
    for (int i = 0; i < 10; ++i) switcher->Update(0.25f);
    EXPECT_EQ(switcher->mX, 30.0f);
    EXPECT_EQ(switcher->mY, 40.0f);
    EXPECT_EQ(child->mX, 34.0f);
    EXPECT_EQ(child->mY, 44.0f);
    EXPECT_EQ(child->mCurrentFrame, 0);

    EXPECT_EQ(ParseFramePoint("-3,99999999999").x, -3);
    EXPECT_EQ(ParseFramePoint("-3,99999999999").y, INT32_MAX);
    EXPECT_EQ(ParseFramePoint("a,5").y, 0);
}

TEST(Switcher, AFrameWithoutAPointLeavesItWhereItIs)
{
    for (const char* keys : {"", "poss='1,1;2,2' startcadr='3'", "poss='1,1;2,2' startcadr='-1'",
                             "poss='1,1' startcadr='2147483647' speed='0'"}) {
        auto switcher = Switcher(std::string("x='7' y='8' onclick='1' ") + keys);
        for (int i = 0; i < 100; ++i) {
            switcher->Update(0.125f);
            if (i % 10 == 0) switcher->Activate(0, 0, 0);
        }
        EXPECT_EQ(switcher->mX, 7.0f) << keys;
        EXPECT_EQ(switcher->mY, 8.0f) << keys;
    }
}

TEST(Switcher, ClickDelayRunsOut)
{
    auto switcher = Switcher("onclick='1' delayclick='0.5'");
    switcher->Activate(0, 0, 0);
    EXPECT_FALSE(switcher->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(switcher->mClickCounter, -1);
    switcher->Update(0.25f);
    switcher->Update(0.25f);
    EXPECT_TRUE(switcher->OnMouseDown(PressAt(5, 5)));
    EXPECT_EQ(switcher->mClickCounter, 0);
}

using SwitcherCanvasTest = SceneCanvasTest;

TEST_F(SwitcherCanvasTest, FreeingResourcesKeepsItsChildren)
{
    TTestSpace space;
    TSwitcherObject* switcher = space.Add(Switcher("names='pic' poss='0,0'").release());
    NestChild(*switcher, "<object id='left' name='pic' x='100' y='0'/>", &space);
    NestChild(*switcher, "<object id='right' name='pic' x='200' y='0'/>", &space);
    switcher->LoadResources();
    switcher->LoadFrames();
    TBaseBuffer before;
    switcher->SaveState(before);

    switcher->FreeResources();
    ASSERT_EQ(switcher->mFrameImages.size(), 1u);
    EXPECT_EQ(switcher->mFrameImages[0]->GetTexture(), nullptr);
    EXPECT_EQ(switcher->mFrameImages[0]->GetTextureName(), "scene/pic");
    switcher->LoadResources();
    TBaseBuffer after;
    switcher->SaveState(after);
    EXPECT_EQ(Bytes(before), Bytes(after));
    ASSERT_NE(switcher->FindChild("left"), nullptr);
    ASSERT_NE(switcher->FindChild("right"), nullptr);
    switcher->Draw(1.0f);
    ExpectPixel(104, 8, 255, 0, 0);
    ExpectPixel(220, 8, 0, 0, 255);
}

TEST_F(SwitcherCanvasTest, FramesLoadFromTheFolderAndCrossFade)
{
    SolidPng("scene/green.png", 10, 10, SDL_Color{0, 255, 0, 255});
    auto switcher = Switcher("x='300' y='300' names='pic;green;gone' poss='0,0;100,50' speed='0.5'");
    switcher->LoadFrames();
    ASSERT_EQ(switcher->mFrameImages.size(), 3u);
    EXPECT_EQ(switcher->mFrameImages[0]->GetTextureName(), "scene/pic");
    EXPECT_EQ(switcher->mFrameImages[1]->GetTextureName(), "scene/green");
    EXPECT_EQ(switcher->mFrameImages[1]->GetX(), 100.0f);
    EXPECT_EQ(switcher->mFrameImages[1]->GetY(), 50.0f);
    EXPECT_EQ(switcher->mFrameImages[2]->GetX(), 300.0f);  // no point: the object's position

    switcher->DrawFrames();
    EXPECT_EQ(switcher->mWidth, 32.0f);
    EXPECT_EQ(switcher->mHeight, 16.0f);
    ExpectPixel(4, 4, 255, 0, 0);
    ExpectPixel(104, 54, 0, 0, 0);

    switcher->mTargetIndex = 1;
    switcher->StartSwitch();
    switcher->Update(0.25f);
    Clear(0, 0, 0);
    switcher->DrawFrames();
    ExpectPixel(4, 4, 128, 0, 0, 2);
    ExpectPixel(104, 54, 0, 128, 0, 2);

    auto local = LoadObjectFrom<TSwitcherObject>("<object names='a'/>", "");
    local->LoadFrames();
    EXPECT_EQ(local->mFrameImages[0]->GetTextureName(), "textures/a");
    TiXmlDocument doc;
    ParseXmlText(&doc, "<object names='pic'/>");
    switcher->LoadXml(doc.RootElement(), "scene/");
    EXPECT_TRUE(switcher->mFrameImages.empty());
}
