// Sliders picked up or dragged along their track, the spring back, and the spinners: their
// reel, its clip, the sequence that waits for the right pictures and the echo elsewhere.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "audio_cases.h"
#include "core/buffer.h"
#include "log_watch.h"
#include "objects/recording_listener.h"
#include "objects/scene_controls_fixture.h"
#include "objects/slider_objects.h"
#include "rooms/pocket.h"
#include "rooms/sound_calls.h"
#include "rooms/test_space.h"

namespace {

const char* kSlider = "<object x='200' y='100' length='100' val='0.25' thumb='solid' slide_sound='creak'/>";

}  // namespace

using SceneSliderTest = ControlsCanvasTest;

TEST_F(SceneSliderTest, ThumbSitsAtItsValueWhichIsSavedAfterTheBaseRecord)
{
    auto slider = LoadedControl<TSliderObject>(kSlider);
    EXPECT_FLOAT_EQ(225.0f, slider->mThumbImage.mX);
    EXPECT_FLOAT_EQ(100.0f, slider->mThumbImage.mY);
    slider->Draw(0.0f);
    EXPECT_EQ((SDL_Rect{215, 90, 20, 20}), DrawnBox(0, 0, 0));

    TBaseBuffer saved, base;
    slider->SaveState(saved);
    slider->TObject::SaveState(base);
    EXPECT_EQ(Bytes(base) + HexBytes("FA 00 00 00"), Bytes(saved));
    auto restored = LoadedControl<TSliderObject>("<object x='200' y='100' length='100' thumb='solid'/>");
    restored->LoadState(saved);
    EXPECT_FLOAT_EQ(0.25f, restored->mValue);
    EXPECT_FLOAT_EQ(225.0f, restored->mThumbImage.mX);

    auto outside = LoadedControl<TSliderObject>("<object x='200' y='100' length='100' val='1.5' thumb='solid'/>");
    EXPECT_EQ(0.0f, outside->mValue);
    EXPECT_FLOAT_EQ(200.0f, outside->mThumbImage.mX);
    slider->FreeResources();
    restored->FreeResources();
    outside->FreeResources();
}

// The value follows the object's own record: a record refused for its alpha or draw type
// is refused for the value too.
TEST_F(SceneSliderTest, ARefusedRecordLeavesTheValueAsTheFileMadeIt)
{
    const std::string track = "<object id='s' x='200' y='100' length='100' thumb='solid' val=";
    auto source = LoadedControl<TSliderObject>(track + "'0.7'/>");
    source->mAlpha = 2.0f;
    TBaseBuffer saved;
    source->SaveState(saved);

    auto restored = LoadedControl<TSliderObject>(track + "'0.3'/>");
    TLogWatch log;
    restored->LoadState(saved);
    EXPECT_EQ(log.CountStartingWith("object s: saved state refused (alpha 2,"), 1u) << log.Text();
    EXPECT_TRUE(saved.ReadAtEnd());
    EXPECT_FLOAT_EQ(0.3f, restored->mValue);
    EXPECT_FLOAT_EQ(230.0f, restored->mThumbImage.mX);
    source->FreeResources();
    restored->FreeResources();
}

// A spring saved as running for two million seconds would pull the thumb back to it on every
// frame, whatever the player drags: refused, and the thumb stays where it is put.
TEST_F(SceneSliderTest, ASpringSavedPastAnHourIsRefusedAndTheThumbStaysWherePut)
{
    const char* xml = "<object id='s' x='200' y='100' length='100' val='0.8' def_val='0.2' thumb='solid'/>";
    auto source = LoadedControl<TSpringedObject>(xml);
    source->StartSpringBack();
    source->mSpring.mDuration = 2000000.0f;
    TBaseBuffer saved;
    source->SaveState(saved);

    auto restored = LoadedControl<TSpringedObject>(xml);
    TLogWatch log;
    restored->LoadState(saved);
    EXPECT_EQ(log.Count("saved tween refused: its duration of 2000000.000 s is beyond an hour"), 1u) << log.Text();
    EXPECT_TRUE(saved.ReadAtEnd());
    EXPECT_FALSE(restored->mSpring.mRunning);
    restored->SetValue(0.9f);
    restored->Update(0.5f);
    EXPECT_FLOAT_EQ(0.9f, restored->mValue);
    source->FreeResources();
    restored->FreeResources();
}

TEST_F(SceneSliderTest, PickedUpThumbFollowsThePointerUntilTheNextLeftPress)
{
    TRecordedSoundCalls sounds;
    auto slider = LoadedControl<TSliderObject>(kSlider);
    bool hover = false;
    EXPECT_TRUE(slider->OnMouseDown(MouseAt(227, 100, 0)));  // taken, but only a left press picks it up
    EXPECT_FALSE(slider->mDragging);
    EXPECT_TRUE(slider->OnMouseDown(MouseAt(227, 100)));
    ASSERT_TRUE(slider->mDragging);
    EXPECT_EQ(2, slider->mGrabOffset);

    slider->OnMouseMove(MouseAt(262, 300, 0), hover);
    EXPECT_FLOAT_EQ(0.6f, slider->mValue);
    EXPECT_FLOAT_EQ(260.0f, slider->mThumbImage.mX);
    EXPECT_FLOAT_EQ(100.0f, slider->mThumbImage.mY);
    sounds.mPlaying.push_back("creak");
    slider->OnMouseMove(MouseAt(900, 100, 0), hover);
    EXPECT_EQ(1.0f, slider->mValue);
    EXPECT_FLOAT_EQ(300.0f, slider->mThumbImage.mX);
    slider->OnMouseMove(MouseAt(-50, 100, 0), hover);
    EXPECT_EQ(0.0f, slider->mValue);
    EXPECT_EQ((std::vector<std::string>{"play creak"}), sounds.mCalls);

    // Put down by a press off thumb and track: the press stays free for the objects below.
    EXPECT_FALSE(slider->OnMouseDown(MouseAt(600, 600)));
    EXPECT_FALSE(slider->mDragging);
    slider->OnMouseMove(MouseAt(262, 100, 0), hover);
    EXPECT_EQ(0.0f, slider->mValue);

    slider->Lock();
    EXPECT_FALSE(slider->OnMouseDown(MouseAt(205, 100)));
    EXPECT_FALSE(slider->mDragging);
    slider->FreeResources();
}

TEST_F(SceneSliderTest, DragSliderMovesOnlyOnDragsAndALeftReleaseEndsTheDrag)
{
    auto slider = LoadedControl<TDragSliderObject>(kSlider);
    bool hover = false;
    EXPECT_FALSE(slider->OnMouseDrag(MouseAt(262, 100, 0)));
    EXPECT_FALSE(slider->OnMouseUp(MouseAt(262, 100)));
    ASSERT_TRUE(slider->OnMouseDown(MouseAt(227, 100)));
    slider->OnMouseMove(MouseAt(262, 100, 0), hover);
    EXPECT_FLOAT_EQ(0.25f, slider->mValue);
    slider->OnMouseDrag(MouseAt(262, 100, 0));
    EXPECT_FLOAT_EQ(0.6f, slider->mValue);
    slider->OnMouseUp(MouseAt(262, 100, 0));
    EXPECT_TRUE(slider->mDragging);
    slider->OnMouseUp(MouseAt(262, 100, 1));
    EXPECT_FALSE(slider->mDragging);
    slider->OnMouseDrag(MouseAt(210, 100, 0));
    EXPECT_FLOAT_EQ(0.6f, slider->mValue);
    slider->FreeResources();
}

TEST_F(SceneSliderTest, SpringedSliderSlidesBackAfterEveryRelease)
{
    auto spring = LoadedControl<TSpringedObject>(
        "<object x='200' y='100' length='100' val='0.8' def_val='0.2' time='0.1' thumb='solid'/>");
    ASSERT_TRUE(spring->OnMouseDown(MouseAt(280, 100)));
    spring->OnMouseUp(MouseAt(280, 100));
    EXPECT_FALSE(spring->mDragging);
    spring->Update(0.05f);
    EXPECT_NEAR(0.5f, spring->mValue, 1e-5);
    spring->Update(0.05f);
    EXPECT_FLOAT_EQ(0.2f, spring->mValue);
    EXPECT_FLOAT_EQ(220.0f, spring->mThumbImage.mX);

    // Without a drag too.
    spring->SetValue(0.9f);
    EXPECT_FALSE(spring->OnMouseUp(MouseAt(0, 0)));
    EXPECT_TRUE(spring->mSpring.mRunning);

    auto negative = LoadObjectFrom<TSpringedObject>("<object time='-0.3'/>");
    EXPECT_FLOAT_EQ(0.3f, negative->mSpringTime);
    spring->FreeResources();
}

TEST_F(SceneSliderTest, ResetReturnsTheThumbToTheDefaultUnlessDragging)
{
    auto slider = LoadedControl<TSliderObject>(
        "<object x='200' y='100' length='100' val='0.8' def_val='0.4' thumb='solid'/>");
    ASSERT_TRUE(slider->OnMouseDown(MouseAt(280, 100)));
    slider->Reset();
    EXPECT_FLOAT_EQ(0.8f, slider->mValue);
    slider->OnMouseDown(MouseAt(280, 100));
    slider->Reset();
    EXPECT_FLOAT_EQ(0.4f, slider->mValue);
    EXPECT_FLOAT_EQ(240.0f, slider->mThumbImage.mX);
    slider->FreeResources();
}

TEST_F(SceneSliderTest, TrackWithoutLengthHoldsTheThumbAtItsStart)
{
    auto slider = LoadedControl<TSliderObject>("<object x='200' y='100' thumb='solid'/>");
    ASSERT_TRUE(slider->OnMouseDown(MouseAt(200, 100)));
    bool hover = false;
    slider->OnMouseMove(MouseAt(200, 100, 0), hover);
    EXPECT_EQ(0.0f, slider->mValue);
    TBaseBuffer saved, base;
    slider->SaveState(saved);
    slider->TObject::SaveState(base);
    EXPECT_EQ(Bytes(base) + HexBytes("00 00 00 00"), Bytes(saved));

    slider->SetValue(0.5f);
    slider->SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(0.5f, slider->mValue);
    slider->FreeResources();
}

// The pictures answer where they are drawn, and not at all while the object is hidden.
TEST_F(SceneSliderTest, ThumbAndReelAreHitWhereTheyShow)
{
    auto slider = LoadedControl<TSliderObject>("<object x='300' y='200' thumb='half'/>");
    auto reel = LoadedControl<TSpinnerObject>("<object><img filename='half' x='290' y='190'/></object>");
    ExpectHitWhereShown(*slider);
    ExpectHitWhereShown(*reel);
    slider->FreeResources();
    reel->FreeResources();
}

using SceneSpinnerTest = ControlsCanvasTest;

namespace {
const char* kReel3 =
    "<object dy='20' time='0.2' cur='0'><img filename='red' x='100' y='50'/>"
    "<img filename='blue' x='100' y='50'/><img filename='solid' x='100' y='50'/></object>";
}  // namespace

TEST_F(SceneSpinnerTest, EachPressSlidesThePreviousPictureIn)
{
    auto reel = LoadedControl<TSpinnerObject>(kReel3);
    ASSERT_TRUE(reel->OnMouseDown(MouseAt(105, 55)));
    EXPECT_EQ(2, reel->mCurrent);
    EXPECT_EQ(0, reel->GetShownIndex());  // the leaving picture, until the step rests
    reel->Update(0.1f);
    EXPECT_FLOAT_EQ(40.0f, reel->mImages[2]->mY);
    EXPECT_FLOAT_EQ(60.0f, reel->mImages[0]->mY);
    EXPECT_TRUE(reel->OnMouseDown(MouseAt(105, 55)));
    EXPECT_EQ(2, reel->mCurrent);
    reel->Update(0.1f);
    EXPECT_EQ(2, reel->GetShownIndex());
    EXPECT_FALSE(reel->mImages[0]->IsVisible());
    EXPECT_FLOAT_EQ(50.0f, reel->mImages[2]->mY);
    reel->Step();
    EXPECT_EQ(1, reel->mCurrent);

    // Saved during the step: the entering picture comes back at rest.
    TBaseBuffer saved;
    reel->SaveState(saved);
    auto restored = LoadObjectFrom<TSpinnerObject>(kReel3);
    restored->LoadState(saved);
    EXPECT_EQ(1, restored->GetShownIndex());
    EXPECT_FALSE(restored->IsStepping());
    EXPECT_TRUE(restored->mImages[1]->IsVisible());
    EXPECT_FALSE(restored->mImages[0]->IsVisible());

    auto two = LoadObjectFrom<TSpinnerObject>(
        "<object dy='20'><img filename='red'/><img filename='blue'/></object>");
    const int expected[] = {1, 0, 1};
    for (int index : expected) {
        two->Step();
        two->Update(0.2f);
        EXPECT_EQ(index, two->GetShownIndex());
    }
    reel->FreeResources();
}

TEST_F(SceneSpinnerTest, ReelIndexesStayInsideTheReel)
{
    auto empty = LoadedControl<TSpinnerObject>("<object x='0' y='0' w='20' h='20' cob='1'/>");
    EXPECT_EQ(-1, empty->GetShownIndex());
    EXPECT_TRUE(empty->OnMouseDown(MouseAt(5, 5)));
    EXPECT_FALSE(empty->IsStepping());
    empty->Draw(1.0f);

    auto one = LoadedControl<TSpinnerObject>("<object dy='20'><img filename='red' x='100' y='50'/></object>");
    EXPECT_TRUE(one->OnMouseDown(MouseAt(105, 55)));
    EXPECT_FALSE(one->IsStepping());
    EXPECT_TRUE(one->mImages[0]->IsVisible());

    for (const char* cur : {"5", "-3"}) {
        auto reel = LoadObjectFrom<TSpinnerObject>(std::string("<object cur='") + cur +
                                                   "'><img filename='red'/><img filename='blue'/></object>");
        EXPECT_EQ(0, reel->GetShownIndex()) << cur;
    }

    auto three = LoadObjectFrom<TSpinnerObject>(kReel3);
    three->mCurrent = 2;
    TBaseBuffer saved;
    three->SaveState(saved);
    auto two = LoadObjectFrom<TSpinnerObject>("<object cur='1'><img filename='red'/><img filename='blue'/></object>");
    two->LoadState(saved);
    EXPECT_EQ(1, two->GetShownIndex());
    empty->FreeResources();
    one->FreeResources();
}

TEST_F(SceneSpinnerTest, ReelClipStandsInForTheOuterClipAndPutsItBack)
{
    auto reel = LoadedControl<TSpinnerObject>("<object rect='0,0,16,16'><img filename='white'/></object>");
    StaticImage picture;
    picture.SetTexture("scene/white");
    const SDL_Rect outer{0, 0, 32, 64};
    SDL_RenderSetClipRect(mRenderer, &outer);
    reel->Draw(1.0f);
    picture.Draw(1.0f);
    SDL_Rect after{0, 0, 0, 0};
    SDL_RenderGetClipRect(mRenderer, &after);
    EXPECT_EQ(outer, after);
    EXPECT_EQ((SDL_Rect{0, 0, 32, 64}), DrawnBox(0, 0, 0));

    SDL_RenderSetClipRect(mRenderer, nullptr);
    Clear(0, 0, 0);
    reel->Draw(1.0f);
    EXPECT_FALSE(SDL_RenderIsClipEnabled(mRenderer));
    EXPECT_EQ((SDL_Rect{0, 0, 16, 16}), DrawnBox(0, 0, 0));
    reel->FreeResources();
}

TEST(SpinnerSequence, WithoutSpinnersItCompletesOnItsFirstUpdate)
{
    TCalls calls;
    TRecordingListener listener(calls);
    auto sequence = LoadObjectFrom<TSpinnerSequenceObject>("<object aae='done'/>");
    sequence->OnLoaded();
    sequence->SetListener(&listener);
    sequence->Update(0.0f);
    EXPECT_EQ((TCalls{"Activate done"}), calls);
    EXPECT_TRUE(sequence->IsLocked());
}

TEST(SpinnerSequence, CompletesOnceTheLastStepHasRested)
{
    TCalls calls;
    TRecordingListener listener(calls);
    auto sequence = LoadObjectFrom<TSpinnerSequenceObject>("<object aae='done' correct='1,0'/>");
    const char* reel = "<object dy='10'><img filename='a'/><img filename='b'/></object>";
    TSpinnerObject* first = NestChild<TSpinnerObject>(*sequence, reel);
    TSpinnerObject* second = NestChild<TSpinnerObject>(*sequence, reel);
    sequence->OnLoaded();
    sequence->SetListener(&listener);
    first->Step();
    sequence->Update(0.1f);
    EXPECT_TRUE(calls.empty());
    sequence->Update(0.1f);
    EXPECT_EQ((TCalls{"Activate done"}), calls);
    EXPECT_TRUE(sequence->IsLocked() && first->IsLocked() && second->IsLocked());
    sequence->Update(0.1f);
    EXPECT_EQ(1u, calls.size());

    // Fewer indexes than spinners is never solved.
    auto shortList = LoadObjectFrom<TSpinnerSequenceObject>("<object correct='0'/>");
    NestChild<TSpinnerObject>(*shortList, reel);
    NestChild<TSpinnerObject>(*shortList, reel);
    shortList->OnLoaded();
    EXPECT_FALSE(shortList->IsSolved());
}

TEST(SpinnerEcho, FindsItsSourceFromTheTopmostRoom)
{
    TRoom room;
    TPocket* pocket = room.CreatePocket("p", "");
    room.mPockets.emplace_back(pocket);
    pocket->mParentSpace = &room;
    auto addTo = [](TGameSpace& space, TObject* object, const char* name) {
        object->SetName(name);
        object->mOwnerSpace = &space;
        space.mObjects.emplace_back(object);
        return object;
    };
    auto* inPocket = static_cast<TSpinnerObject*>(addTo(*pocket, new TSpinnerObject(), "reel"));
    auto* inRoom = static_cast<TSpinnerObject*>(addTo(room, new TSpinnerObject(), "reel"));
    addTo(room, new TObject(), "plain");

    struct Case {
        const char* name;
        TGameSpace* where;
        TSpinnerObject* source;
    };
    const Case cases[] = {
        {"p.reel", pocket, inPocket}, {"reel", &room, inRoom}, {"reel", pocket, inRoom},
        {"q.reel", &room, nullptr},   {"p.none", &room, nullptr}, {"plain", &room, nullptr},
    };
    for (const Case& c : cases) {
        auto echo = LoadObjectFrom<TSpinnerEchoObject>(std::string("<object objname='") + c.name + "'/>", "scene/",
                                                       c.where);
        echo->OnSpaceShown();
        EXPECT_EQ(c.source, echo->mSource) << c.name;
    }

    // A topmost space that is not a room gives no source.
    TTestSpace plainSpace;
    auto echo = LoadObjectFrom<TSpinnerEchoObject>("<object objname='reel'/>", "scene/", &plainSpace);
    echo->OnSpaceShown();
    EXPECT_EQ(nullptr, echo->mSource);
}

TEST_F(SceneSpinnerTest, EchoDrawsTheSourcesShownPicture)
{
    auto reel = LoadObjectFrom<TSpinnerObject>("<object dy='20' cur='1'><img filename='a'/><img filename='b'/></object>");
    auto echo = LoadedControl<TSpinnerEchoObject>(
        "<object><img filename='red' x='10' y='10'/><img filename='blue' x='10' y='10'/></object>");
    echo->Draw(1.0f);
    EXPECT_TRUE(NothingDrawn());
    echo->mSource = reel.get();
    echo->Draw(1.0f);
    ExpectPixel(15, 15, 0, 0, 255);
    reel->Step();
    echo->Draw(1.0f);
    ExpectPixel(15, 15, 0, 0, 255);  // still the leaving picture
    reel->Update(1.0f);
    echo->Draw(1.0f);
    ExpectPixel(15, 15, 255, 0, 0);
    echo->SetVisible(false);
    Clear(0, 0, 0);
    echo->Draw(1.0f);
    EXPECT_TRUE(NothingDrawn());
    echo->FreeResources();
}
