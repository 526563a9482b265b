// Close-ups: read from their room's file, grown out of the point they were opened from over a
// dimming shadow, shrunk back when closed, and closed innermost first.
#include <gtest/gtest.h>

#include <cmath>

#include "audio_cases.h"
#include "log_watch.h"
#include "rooms/frame_object.h"
#include "rooms/pocket_room_fixture.h"
#include "rooms/scene_mouse_event.h"
#include "ui/window_manager.h"

namespace {

using PocketTest = PocketRoomTest;

TEST_F(PocketTest, LoadTakesTheRectangleFromTheBoxObject)
{
    TRoom* room = Hall();
    TPocket* a = Pocket("a");
    EXPECT_EQ(a->mRectX, 300);
    EXPECT_EQ(a->mRectY, 200);
    EXPECT_EQ(a->mRectW, 400);
    EXPECT_EQ(a->mRectH, 300);
    EXPECT_EQ(a->mStateKey, "hall.a");
    EXPECT_EQ(a->mShowSound, "showpocket");
    EXPECT_EQ(a->mHideSound, "hidepocket");
    EXPECT_FALSE(a->mCanShowBackHint);
    EXPECT_EQ(a->mStartX, TPocket::kUnset);
    ASSERT_NE(a->GetShowEffector(), nullptr);
    EXPECT_EQ(room->FindPocket("b"), a->mPockets[0].get());
    EXPECT_EQ(Pocket("b")->mOwnerRoom, a);
}

TEST_F(PocketTest, ShowGrowsFromTheStartPointOverOneShadow)
{
    TRoom* room = Hall();
    TPocket* a = Pocket("a");
    room->OpenPocket(a, 640.0f, 360.0f);
    TShowPocketEffector* show = a->GetShowEffector();
    EXPECT_EQ(show->mMover.mX, 640.0f);
    EXPECT_EQ(show->mMover.mY, 360.0f);
    EXPECT_EQ(a->GetScaleX(), 0.2f);
    ASSERT_NE(room->mPocketShadow, nullptr);
    EXPECT_TRUE(room->mPocketShadow->mKeepShown);
    EXPECT_NE(Object("box")->mImage->GetTexture(), nullptr);

    float lowestY = a->mY;
    for (int frame = 1; frame <= 35; ++frame) {
        room->Update(0.01f);
        lowestY = std::min(lowestY, a->mY);
        if (frame == 15) {
            EXPECT_GT(a->GetScaleX(), 0.2f);
            EXPECT_LT(a->GetScaleX(), 1.0f);
            // The opened-from point stays where it was on screen.
            EXPECT_NEAR(a->mX + show->mMover.mX * a->GetScaleX(), show->mMover.mX, 0.01f);
        }
        if (frame >= 20) {
            EXPECT_FLOAT_EQ(room->mPocketShadow->mTween.mCurrent, 0.7f) << frame;
        }
    }
    EXPECT_EQ(a->GetScaleX(), 1.0f);
    EXPECT_EQ(a->mX, 0.0f);
    EXPECT_EQ(a->mY, 0.0f);
    EXPECT_GE(lowestY, 0.0f);

    // A close-up opened inside adds no second shadow.
    a->OpenPocket(Pocket("b"), 0.0f, 0.0f);
    EXPECT_EQ(a->mPocketShadow, nullptr);
    EXPECT_NE(room->mPocketShadow, nullptr);
}

TEST_F(PocketTest, HideShrinksBackToTheStartPointAndFreesThePictures)
{
    TRoom* room = Hall();
    TPocket* a = Pocket("a");
    room->OpenPocket(a, 640.0f, 360.0f);
    Run(room, 0.5f);
    EXPECT_TRUE(room->ClosePocket(0));
    EXPECT_FALSE(a->mShowRequest);
    EXPECT_EQ(room->mPocketShadow, nullptr);
    EXPECT_EQ(room->mOpenPocket, a) << "still shrinking";
    TShowPocketEffector* show = a->GetShowEffector();
    float lowestY = a->mY;
    for (int frame = 0; frame < 40 && room->mOpenPocket; ++frame) {
        room->Update(0.01f);
        lowestY = std::min(lowestY, a->mY);
    }
    EXPECT_EQ(room->mOpenPocket, nullptr);
    EXPECT_EQ(show->mMover.mX, 640.0f);
    EXPECT_EQ(show->mMover.mY, 360.0f);
    EXPECT_GE(lowestY, 0.0f);
    EXPECT_EQ(show->mTarget, nullptr) << "the end is told once";
    EXPECT_EQ(Object("box")->mImage, nullptr);
    EXPECT_NE(a->mFrameImage.GetTexture(), nullptr);
    EXPECT_TRUE(HasPair("PH", "hall.a"));

    // Shown again: the pictures come back and it grows from the first point.
    room->OpenPocket(a, 10.0f, 10.0f);
    EXPECT_EQ(a->mStartX, 640.0f);
    ASSERT_NE(Object("box")->mImage, nullptr);
    EXPECT_NE(Object("box")->mImage->GetTexture(), nullptr);
}

TEST_F(PocketTest, WithoutAMovementThePocketShowsAtFullSizeAtOnce)
{
    for (const char* keys : {R"(appeartime="0")", R"(effector="nosuchkind")"}) {
        SCOPED_TRACE(keys);
        TRoom* room = Load(std::string(R"(<room><Common name="hall"/><Objects/><pockets><pocket name="p" )") + keys +
                           R"(><object id="o" x="10" y="10" w="50" h="50"/></pocket></pockets></room>)");
        TPocket* p = Pocket("p");
        p->SetScale(0.2f);
        p->SetPosition(5.0f, 5.0f, true);
        room->OpenPocket(p, 640.0f, 360.0f);
        EXPECT_EQ(p->GetScaleX(), 1.0f);
        EXPECT_EQ(p->mX, 0.0f);
        EXPECT_EQ(p->mY, 0.0f);
        room->ClosePocket(0);
        EXPECT_EQ(room->mOpenPocket, p->GetShowEffector() ? p : nullptr);
    }
}

TEST_F(PocketTest, DamagedMovementTimesAreRefusedAndAClosedPocketLetsGo)
{
    const char* const times[] = {"-1", "nan", "1e39", "3600"};
    for (const char* time : times) {
        SCOPED_TRACE(time);
        TLogWatch log;
        TRoom* room = Load(std::string(R"(<room><Common name="hall"/><Objects/><pockets><pocket name="p" appeartime=")") +
                           time + R"(" disappeartime=")" + time +
                           R"("><object id="o" x="10" y="10" w="50" h="50"/></pocket></pockets></room>)");
        TPocket* p = Pocket("p");
        EXPECT_EQ(p->mAppearTime, 0.3f);
        EXPECT_EQ(p->mDisappearTime, 0.3f);
        EXPECT_EQ(log.CountStartingWith("pocket p: appeartime "), 1u);
        EXPECT_EQ(log.CountStartingWith("pocket p: disappeartime "), 1u);
        room->OpenPocket(p, 640.0f, 360.0f);
        EXPECT_TRUE(room->ClosePocket(0));
        for (int frame = 0; frame < 60 && room->mOpenPocket; ++frame) room->Update(0.01f);
        EXPECT_EQ(room->mOpenPocket, nullptr) << "the room takes presses again";
    }
}

// A start point that is no number, or off every screen, reached the render origin while the
// pocket grew out of it. It is taken as unset: the pocket grows from the door it was opened by.
TEST_F(PocketTest, DamagedStartPointsAreTakenAsUnsetWithALine)
{
    for (const char* start : {"nan", "1e39", "-3000000"}) {
        SCOPED_TRACE(start);
        TLogWatch log;
        TRoom* room = Load(std::string(R"(<room><Common name="hall"/><Objects>
            <object id="door" x="600" y="320" w="80" h="80" pocket="p"/></Objects>
            <pockets><pocket name="p" startx=")") +
                           start + R"(" starty=")" + start + R"(">
            <object id="o" name="pic" x="10" y="10" w="50" h="50"/></pocket></pockets></room>)");
        TPocket* p = Pocket("p");
        EXPECT_EQ(p->mStartX, TPocket::kUnset);
        EXPECT_EQ(p->mStartY, TPocket::kUnset);
        EXPECT_TRUE(log.Has(std::string("room.xml: pocket \"startx\" = \"") + start +
                            "\" is out of range, taken as unset"));
        EXPECT_EQ(log.CountStartingWith("room.xml: pocket "), 2u);
        ShowAndDraw(room);
        TSceneMouseEvent press;
        press.mX = 620;
        press.mY = 340;
        press.mButton = 1;
        room->OnMouseDown(press);
        room->OnMouseUp(press);
        ASSERT_EQ(room->mOpenPocket, p);
        EXPECT_EQ(p->mStartX, 640.0f);
        EXPECT_EQ(p->mStartY, 360.0f);
        Draw(room);
    }
}

TEST_F(PocketTest, ShowingAndClosingAgreeOnAMissingHideMovement)
{
    // Set behind the reader's back: closing must not wait for a movement that hiding never starts.
    TRoom* room = Load(R"(<room><Common name="hall"/><Objects/><pockets><pocket name="p">)"
                       R"(<object id="o" x="10" y="10" w="50" h="50"/></pocket></pockets></room>)");
    TPocket* p = Pocket("p");
    for (float time : {-1.0f, std::nanf("")}) {
        p->mDisappearTime = time;
        room->OpenPocket(p, 640.0f, 360.0f);
        EXPECT_TRUE(room->ClosePocket(0));
        EXPECT_EQ(room->mOpenPocket, nullptr);
    }
}

TEST_F(PocketTest, ClosingWithoutFlagClosesTheInnermostOnly)
{
    TRoom* room = Hall();
    room->OpenPocket(Pocket("a"), 0.0f, 0.0f);
    Pocket("a")->OpenPocket(Pocket("b"), 0.0f, 0.0f);
    EXPECT_TRUE(room->ClosePocket(0));
    EXPECT_FALSE(Pocket("b")->mShowRequest);
    EXPECT_TRUE(Pocket("a")->mShowRequest);
    EXPECT_EQ(room->mOpenPocket, Pocket("a"));
}

TEST_F(PocketTest, HidingTheRoomHidesEachPocketOnceInnermostFirst)
{
    TRoom* room = Hall();
    room->OpenPocket(Pocket("a"), 640.0f, 360.0f);
    Pocket("a")->OpenPocket(Pocket("b"), 0.0f, 0.0f);
    mEvents.mEvents.clear();
    room->OnHide();
    ASSERT_EQ(mEvents.mEvents.size(), 2u);
    EXPECT_EQ(mEvents.mEvents[0].mName, "bhide");
    EXPECT_EQ(mEvents.mEvents[1].mName, "ahide");
    EXPECT_FALSE(Pocket("a")->mShowRequest);
    EXPECT_FALSE(Pocket("b")->mShowRequest);
    EXPECT_EQ(room->mOpenPocket, nullptr);
}

TEST_F(PocketTest, AMoveOutsideThePocketReachesNobody)
{
    TRoom* room = Hall();
    room->OpenPocket(Pocket("a"), 640.0f, 360.0f);
    Run(room, 0.5f);
    TSceneMouseEvent inside;
    inside.mX = 323;
    inside.mY = 223;
    EXPECT_FALSE(room->OnMouseMove(inside));
    EXPECT_TRUE(Object("drawer")->mHovered);
    TSceneMouseEvent outside;
    outside.mX = 100;
    outside.mY = 100;
    EXPECT_FALSE(room->OnMouseMove(outside));
    EXPECT_TRUE(Object("drawer")->mHovered) << "the move never reached the pocket's objects";
}

// The application's frame: counts its drawings.
class TCountingFrame : public TFrameObject {
public:
    void Draw(float /*alphaFactor*/) override { ++mDraws; }
    int mDraws = 0;
};

TEST_F(PocketTest, TheApplicationsFrameMovesToTheLoadedPocketAndDrawsOverIt)
{
    TCountingFrame frame;
    frame.mBaseX = 10.0f;
    frame.mBaseY = 20.0f;
    GetAppState().mFrameObject = &frame;
    TRoom* room = Load(R"(<room><Common name="hall"/><Objects/><pockets>
        <pocket name="p" backimagex="3" backimagey="-4"><object id="box" x="300" y="200" w="50" h="50"/></pocket>
        </pockets></room>)");
    // The pocket's place comes from its box object, then the offset and the resting place.
    EXPECT_EQ(frame.mX, 313.0f);
    EXPECT_EQ(frame.mY, 216.0f);
    room->OpenPocket(Pocket("p"), 0.0f, 0.0f);
    Pocket("p")->Draw();
    EXPECT_EQ(frame.mDraws, 1);
}

class TLockerPocket : public TPocket {};

// Builds lockers and tells which types it was asked for.
class TLockerFactory : public TPocketFactory {
public:
    TPocket* Create(const std::string& type) override
    {
        mTypes.push_back(type);
        return type == "locker" ? new TLockerPocket() : nullptr;
    }
    std::vector<std::string> mTypes;
};

TEST_F(PocketTest, TheApplicationsFactoryBuildsTheKindsItKnowsAndThePlainOneTheRest)
{
    TLockerFactory factory;
    GetAppState().mPocketFactory = &factory;
    Load(R"(<room><Common name="hall"/><Objects/><pockets>
        <pocket name="l" type="locker"/><pocket name="p" type="chest"/></pockets></room>)");
    EXPECT_NE(dynamic_cast<TLockerPocket*>(Pocket("l")), nullptr);
    EXPECT_EQ(Pocket("l")->mSpaceName, "l");
    EXPECT_EQ(dynamic_cast<TLockerPocket*>(Pocket("p")), nullptr);
    EXPECT_EQ(factory.mTypes, (std::vector<std::string>{"locker", "chest"}));
}

}  // namespace
