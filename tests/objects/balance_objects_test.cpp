// The balance weighing its magnets, the gun ball's flight round its barrier and the ball
// shooter's plunger, each played in a room read from a test file.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/buffer.h"
#include "objects/balance_objects.h"
#include "objects/scene_press.h"
#include "objects/clock_arrow_objects.h"
#include "objects/decor_objects.h"
#include "objects/recording_listener.h"
#include "objects/slider_objects.h"
#include "rooms/pocket_room_fixture.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/sound_calls.h"

namespace {

constexpr float kDeg = 0.017453292f;

class PhysicalGames : public PocketRoomTest {
protected:
    void SetUp() override
    {
        PocketRoomTest::SetUp();
        SolidPng("textures/spring.png", 10, 40, SDL_Color{200, 200, 200, 255});
    }

    TRoom* LoadRoom(const std::string& objects)
    {
        TRoom* room = Load("<room><Common name=\"r\"/>" + objects + "</room>");
        room->LoadObjectResources(0);
        return room;
    }
    void Show()
    {
        for (auto& object : mRoom->mObjects) object->OnSpaceShown();
    }
    template <class Kind>
    Kind* As(const std::string& name)
    {
        Kind* object = dynamic_cast<Kind*>(Object(name));
        EXPECT_NE(object, nullptr) << name;
        return object;
    }
    static int Count(const TCalls& calls, const std::string& call)
    {
        int n = 0;
        for (const std::string& c : calls) n += c == call ? 1 : 0;
        return n;
    }
};

// ---- The balance ----

std::string Balance(const std::string& values, const std::string& arrowKeys = "lbound=\"0\" ubound=\"90\"")
{
    return R"(<Objects><object id="bal" type="balance_object" values=")" + values +
           R"(" hae="level;channel;magnet">
          <object id="magnet1" type="slider"/><object id="magnet2" type="slider"/>
          <object id="magnet3" type="slider"/>
          <object id="magnet4" type="limitedarrow" )" +
           arrowKeys + R"(/>
          <object id="balance_left" type="slider"/><object id="balance_right" type="slider"/>
        </object></Objects>)";
}

TEST_F(PhysicalGames, BalanceLevelsAtHalfTheMaximumOnce)
{
    LoadRoom(Balance("10,10,10,0,40"));
    auto* bal = As<TBalanceObject>("bal");
    TCalls calls;
    TRecordingListener listener(calls);
    bal->SetListener(&listener);
    As<TSliderObject>("magnet2")->SetValue(1.0f);
    Show();
    // 10 of 40: a quarter on the right, shown at once.
    EXPECT_FLOAT_EQ(As<TSliderObject>("balance_right")->mValue, 0.25f);
    EXPECT_FLOAT_EQ(As<TSliderObject>("balance_left")->mValue, 0.75f);
    EXPECT_TRUE(calls.empty());

    As<TSliderObject>("magnet1")->SetValue(1.0f);
    bal->OnMouseDown(PressAt(900, 900));
    EXPECT_EQ(calls, (TCalls{"Hide level"}));
    EXPECT_TRUE(bal->mLevelled);
    mRoom->Update(0.25f);
    EXPECT_NEAR(As<TSliderObject>("balance_right")->mValue, 0.375f, 1e-5);
    mRoom->Update(0.25f);
    EXPECT_FLOAT_EQ(As<TSliderObject>("balance_right")->mValue, 0.5f);
    EXPECT_FLOAT_EQ(As<TSliderObject>("balance_left")->mValue, 0.5f);
    bal->OnMouseUp(PressAt(900, 900));
    EXPECT_EQ(Count(calls, "Hide level"), 1);
}

TEST_F(PhysicalGames, BalanceLevelIsTheTruncatedHalf)
{
    struct Case {
        const char* values;
        bool level;
    } cases[] = {{"10,10,10,0,41", true}, {"11,10,10,0,41", false}, {"10,10,10,0,0", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        LoadRoom(Balance(c.values));
        As<TSliderObject>("magnet1")->SetValue(1.0f);
        As<TSliderObject>("magnet2")->SetValue(1.0f);
        Show();
        EXPECT_EQ(As<TBalanceObject>("bal")->mLevelled, c.level);
    }
}

TEST_F(PhysicalGames, BalanceWithoutAMaximumOrABoundRangeLeavesItsSides)
{
    for (const char* values : {"10,10", "10,10,10,0,0"}) {
        SCOPED_TRACE(values);
        LoadRoom(Balance(values, "lbound=\"90\" ubound=\"90\""));
        auto* bal = As<TBalanceObject>("bal");
        As<TSliderObject>("balance_right")->SetValue(0.3f);
        As<TLimitedArrowObject>("magnet4")->mAngle = 45.0f * kDeg;
        Show();
        // A total of 0 is level (half of 0), and the sides stay put.
        EXPECT_TRUE(bal->mLevelled);
        EXPECT_FLOAT_EQ(As<TSliderObject>("balance_right")->mValue, 0.3f);
        bal->OnMouseDown(PressAt(900, 900));
        mRoom->Update(0.6f);
        EXPECT_FLOAT_EQ(As<TSliderObject>("balance_right")->mValue, 0.3f);
    }
}

TEST_F(PhysicalGames, BalanceAfterActivationWatchesMagnetFourOnce)
{
    LoadRoom(Balance("0,0,0,0,10"));
    auto* bal = As<TBalanceObject>("bal");
    auto* magnet4 = As<TLimitedArrowObject>("magnet4");
    Show();
    TCalls calls;
    TRecordingListener listener(calls);
    bal->SetListener(&listener);
    magnet4->mAngle = 76.0f * kDeg;
    mRoom->Update(0.1f);
    EXPECT_TRUE(calls.empty());  // not armed yet
    bal->Activate(0, 0, 0);
    EXPECT_FALSE(bal->IsActive());
    EXPECT_NEAR(magnet4->mRightAngle, 90.0f * kDeg, 1e-6);
    mRoom->Update(0.1f);
    mRoom->Update(0.1f);
    EXPECT_EQ(calls, (TCalls{"Hide magnet"}));
    calls.clear();
    magnet4->mAngle = 74.0f * kDeg;
    bal->Activate(0, 0, 0);
    mRoom->Update(0.1f);
    EXPECT_TRUE(calls.empty());

    bal->OnEffectorChannelFinished(0);
    EXPECT_EQ(calls, (TCalls{"Hide channel"}));
}

TEST_F(PhysicalGames, BalanceRecordRoundTrip)
{
    LoadRoom(Balance("10,10,10,0,40"));
    auto* bal = As<TBalanceObject>("bal");
    Show();
    bal->mArmed = true;
    bal->mLevelled = true;
    bal->mSideMotion.Set(0.25f, 0.5f, 0.5f, true);
    bal->mSideMotion.Update(0.125f);
    TBaseBuffer saved;
    bal->SaveState(saved);

    LoadRoom(Balance("10,10,10,0,40"));
    auto* back = As<TBalanceObject>("bal");
    back->LoadState(saved);
    EXPECT_TRUE(back->mArmed);
    EXPECT_TRUE(back->mLevelled);
    EXPECT_NEAR(back->mSideMotion.mTo, 0.5f, 1e-3);
    EXPECT_FALSE(back->mSideMotion.mFinished);
    TBaseBuffer again;
    back->SaveState(again);
    EXPECT_EQ(again.Bytes(), saved.Bytes());
}

// ---- The gun ball ----

std::string GunBall(const std::string& barrier)
{
    return "<Objects>" + barrier +
           R"(<object id="ball" type="gun_ball" x="0" y="200" w="10" h="10" endX="0" endY="0" barrier="bar"
                offBoardX="300" deliveredX="500" deliveredY="40" hae="delivered"/></Objects>)";
}

TEST_F(PhysicalGames, GunBallFliesOutPausesAndComesBack)
{
    LoadRoom(GunBall(""));
    auto* ball = As<TGunBallObject>("ball");
    EXPECT_EQ(ball->mBarrier, nullptr);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ball->Activate(0, 0, 0);
        EXPECT_EQ(ball->mState, TGunBallObject::kFlyingOut);
        mRoom->Update(0.6f);
        ball->Activate(0, 0, 0);  // under way: ignored
        EXPECT_FLOAT_EQ(ball->mY, 100.0f);
        mRoom->Update(0.6f);
        EXPECT_EQ(ball->mState, TGunBallObject::kPausing);
        EXPECT_FLOAT_EQ(ball->mY, 0.0f);
        mRoom->Update(0.05f);
        EXPECT_EQ(ball->mState, TGunBallObject::kPausing);
        mRoom->Update(0.05f);
        EXPECT_EQ(ball->mState, TGunBallObject::kFlyingBack);
        mRoom->Update(1.2f);
        EXPECT_EQ(ball->mState, TGunBallObject::kReady);
        EXPECT_FLOAT_EQ(ball->mY, 200.0f);
    }
}

TEST_F(PhysicalGames, GunBallComesBackFromTheBarriersUnderside)
{
    LoadRoom(GunBall(R"(<object id="bar" x="-20" y="90" w="100" h="10"/>)"));
    auto* ball = As<TGunBallObject>("ball");
    ball->Activate(0, 0, 0);
    for (int i = 0; i < 60 && ball->mState == TGunBallObject::kFlyingOut; ++i) mRoom->Update(1.0f / 60);
    ASSERT_EQ(ball->mState, TGunBallObject::kFlyingBack);
    EXPECT_GE(ball->mY, 93.0f);
    EXPECT_LT(ball->mY, 100.0f);
    EXPECT_EQ(ball->mFlight.mToY, 200.0f);
    mRoom->Update(1.2f);
    EXPECT_EQ(ball->mState, TGunBallObject::kReady);
}

TEST_F(PhysicalGames, GunBallRidesTheBarrierToItsDelivery)
{
    LoadRoom(GunBall(R"(<object id="bar" x="200" y="30" w="60" h="10"/>)"));
    auto* ball = As<TGunBallObject>("ball");
    TObject* bar = Object("bar");
    TCalls calls;
    TRecordingListener listener(calls);
    ball->SetListener(&listener);
    ball->Activate(0, 0, 0);
    mRoom->Update(1.2f);
    // The barrier slides under the top of the flight while the ball pauses.
    bar->SetPosition(-20.0f, 30.0f, true);
    for (int i = 0; i < 120 && ball->mState != TGunBallObject::kRiding; ++i) mRoom->Update(1.0f / 60);
    ASSERT_EQ(ball->mState, TGunBallObject::kRiding);
    EXPECT_FLOAT_EQ(ball->mY, 20.0f);
    EXPECT_EQ(ball->mRideX, 20);
    EXPECT_EQ(ball->mRideY, -10);
    bar->SetPosition(100.0f, 30.0f, true);
    mRoom->Update(0.1f);
    EXPECT_FLOAT_EQ(ball->mX, 120.0f);
    EXPECT_FLOAT_EQ(ball->mY, 20.0f);

    bar->SetPosition(300.0f, 30.0f, true);
    mRoom->Update(0.1f);
    EXPECT_EQ(ball->mState, TGunBallObject::kDelivering);
    EXPECT_TRUE(bar->IsLocked());
    mRoom->Update(0.25f);
    EXPECT_TRUE(calls.empty());
    mRoom->Update(0.25f);
    EXPECT_EQ(ball->mState, TGunBallObject::kDone);
    EXPECT_FLOAT_EQ(ball->mX, 500.0f);
    EXPECT_FLOAT_EQ(ball->mY, 40.0f);
    EXPECT_FALSE(bar->IsLocked());
    EXPECT_FALSE(ball->IsVisible());
    EXPECT_EQ(calls, (TCalls{"Hide delivered"}));
    mRoom->Update(0.5f);
    EXPECT_EQ(calls.size(), 1u);
}

// ---- The ball shooter ----

std::string Shooter(const std::string& parts)
{
    return R"(<Objects><object id="shooter" type="ball_shooter_object" ball="ball" bar="bar" handle="handle"
                spring="spring" del_pos="100" ach_px="10" ach_py="20" shot_sound="shot" kick_sound="kick" hae="done">)" +
           parts + R"(</object></Objects>
           <effector name="push" type="parent_signal" loop="1">
             <key id="o" time="0" value="1"/><key id="o" time="0.2" value="1"/></effector>)";
}

const char* const kShooterParts =
    R"(<object id="spring" type="udflex" name="spring" x="200" y="400"/>
       <object id="handle" type="springedobj" length="100" cob="1" w="10" h="10" x="0" y="500"/>
       <object id="bar" x="200" y="380" w="10" h="20" effector="push"/>
       <object id="ball" x="600" y="100" w="60" h="20"/>)";

class BallShooter : public PhysicalGames {
protected:
    TBallShooterObject* Ready()
    {
        LoadRoom(Shooter(kShooterParts));
        Show();
        auto* shooter = As<TBallShooterObject>("shooter");
        EXPECT_EQ(shooter->mState, TBallShooterObject::kWaiting);
        EXPECT_NE(Object("bar")->mEffector, nullptr);
        for (int i = 0; i < 3 && shooter->mState == TBallShooterObject::kWaiting; ++i) mRoom->Update(0.1f);
        EXPECT_EQ(shooter->mState, TBallShooterObject::kReady);
        EXPECT_EQ(Object("bar")->mEffector, nullptr);
        mRoom->Update(1.0f / 60);
        return shooter;
    }
    void Shoot(TBallShooterObject* shooter, float pull)
    {
        As<TSpringedObject>("handle")->SetValue(pull);
        mRoom->Update(1.0f / 60);
        shooter->OnMouseUp(PressAt(0, 0));
    }
};

TEST_F(BallShooter, ShotRisesByTheTruncatedPowerAndFallsBackOnTheSpring)
{
    TBallShooterObject* shooter = Ready();
    TObject* bar = Object("bar");
    EXPECT_FLOAT_EQ(bar->mY, 400.0f - 16.0f);  // on the spring: 80% of the bar above its top
    TRecordedSoundCalls sounds;
    Shoot(shooter, 0.5f);
    EXPECT_EQ(shooter->mState, TBallShooterObject::kFlying);
    EXPECT_FLOAT_EQ(shooter->mPower, 16.5f);
    EXPECT_TRUE(bar->IsActive());
    EXPECT_EQ(sounds.mCalls, (TCalls{"play shot"}));
    std::vector<int> rises;
    for (int i = 0; i < 4; ++i) {
        const float before = bar->mY;
        mRoom->Update(1.0f);  // one step per update, whatever its length
        rises.push_back(static_cast<int>(before - bar->mY));
    }
    EXPECT_EQ(rises, (std::vector<int>{16, 15, 14, 13}));
    for (int i = 0; i < 100 && shooter->mState == TBallShooterObject::kFlying; ++i) mRoom->Update(1.0f / 60);
    EXPECT_EQ(shooter->mState, TBallShooterObject::kReady);
    EXPECT_FALSE(bar->IsActive());
    const float springTop = static_cast<float>(As<TUDFlexibleObject>("spring")->mCurY);
    EXPECT_FLOAT_EQ(bar->mY, std::trunc(springTop - 16.0f));
}

TEST_F(BallShooter, TheBallAboveKicksTheBarBack)
{
    TBallShooterObject* shooter = Ready();
    TObject* ball = Object("ball");
    ball->SetPosition(180.0f, 280.0f, true);
    TRecordedSoundCalls sounds;
    Shoot(shooter, 0.5f);
    for (int i = 0; i < 20 && shooter->mPower > 0.0f; ++i) mRoom->Update(1.0f / 60);
    EXPECT_LT(shooter->mPower, 0.0f);
    EXPECT_EQ(sounds.mCalls, (TCalls{"play shot", "play kick"}));
    EXPECT_FLOAT_EQ(Object("bar")->mY, 290.0f);
    for (int i = 0; i < 100 && shooter->mState == TBallShooterObject::kFlying; ++i) mRoom->Update(1.0f / 60);
    EXPECT_EQ(shooter->mState, TBallShooterObject::kReady);
}

TEST_F(BallShooter, LandingOnTheBallRidesItToItsDelivery)
{
    TBallShooterObject* shooter = Ready();
    TObject* bar = Object("bar");
    TObject* ball = Object("ball");
    Shoot(shooter, 0.5f);
    TCalls calls;
    TRecordingListener listener(calls);
    shooter->SetListener(&listener);
    for (int i = 0; i < 40 && shooter->mPower >= 0.0f; ++i) mRoom->Update(1.0f / 60);
    // The ball comes under the falling bar.
    ball->SetPosition(180.0f, bar->mY + 25.0f, true);
    mRoom->Update(1.0f / 60);
    ASSERT_EQ(shooter->mState, TBallShooterObject::kRiding);
    EXPECT_FALSE(bar->IsActive());
    EXPECT_FLOAT_EQ(bar->mY, ball->mY - 18.0f);
    ball->SetPosition(150.0f, 200.0f, true);
    mRoom->Update(1.0f / 60);
    EXPECT_FLOAT_EQ(bar->mX, 150.0f + shooter->mRideX);
    EXPECT_FLOAT_EQ(bar->mY, 182.0f);

    ball->SetPosition(99.0f, 200.0f, true);
    mRoom->Update(1.0f / 60);
    EXPECT_EQ(shooter->mState, TBallShooterObject::kDelivering);
    mRoom->Update(0.15f);
    EXPECT_TRUE(calls.empty());
    mRoom->Update(0.15f);
    EXPECT_EQ(calls, (TCalls{"Hide done"}));
    EXPECT_TRUE(shooter->IsLocked());
    EXPECT_FLOAT_EQ(bar->mX, 10.0f);
    EXPECT_FLOAT_EQ(bar->mY, 20.0f);
    mRoom->Update(0.15f);
    EXPECT_EQ(calls.size(), 1u);

    // Locked: the handle still springs back from a release, but takes no press.
    auto* handle = As<TSpringedObject>("handle");
    handle->SetValue(0.7f);
    EXPECT_FALSE(shooter->OnMouseDown(PressAt(5, 505)));
    EXPECT_FALSE(handle->mDragging);
    EXPECT_FALSE(shooter->OnMouseDrag(PressAt(5, 505)));
    shooter->OnMouseUp(PressAt(5, 505));
    EXPECT_TRUE(handle->mSpring.mRunning);
    EXPECT_EQ(shooter->mState, TBallShooterObject::kDelivering);
}

TEST_F(BallShooter, RecordRoundTrip)
{
    TBallShooterObject* shooter = Ready();
    Shoot(shooter, 0.5f);
    mRoom->Update(1.0f / 60);
    shooter->mDelivery.StartSegment(1, 2, 3, 4, 0.3f, 0.0f, 0, false);
    TBaseBuffer saved;
    shooter->SaveState(saved);

    LoadRoom(Shooter(kShooterParts));
    auto* back = As<TBallShooterObject>("shooter");
    back->LoadState(saved);
    EXPECT_EQ(back->mState, TBallShooterObject::kFlying);
    EXPECT_NEAR(back->mPower, 16.5f - 1.06f, 1e-3);
    EXPECT_NEAR(back->mGravity, 1.06f, 1e-3);
    EXPECT_EQ(back->mDelivery.mToX, 3.0f);
    TBaseBuffer again;
    back->SaveState(again);
    EXPECT_EQ(again.Bytes(), saved.Bytes());
}

// ---- Missing parts ----

TEST_F(PhysicalGames, KindsWithoutTheirPartsRunOnlyWhatTheyHave)
{
    struct Case {
        const char* name;
        std::string objects;
    } cases[] = {
        {"balance, no parts", R"(<Objects><object id="it" type="balance_object" values="1,2,3,4,5"/></Objects>)"},
        {"balance, parts of other kinds", R"(<Objects><object id="it" type="balance_object" values="1,2,3,4,6">
            <object id="magnet1"/><object id="magnet4" type="slider"/><object id="balance_right"/></object></Objects>)"},
        {"shooter, no parts", Shooter("")},
        {"shooter, spring and handle of other kinds", Shooter(R"(<object id="spring" x="200" y="400" w="5" h="5"/>
            <object id="handle" type="slider"/><object id="bar" w="5" h="5"/><object id="ball"/>)")},
        {"gun ball, no barrier", GunBall("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadRoom(c.objects);
        Show();
        TObject* it = mRoom->mObjects.front().get();
        it->OnMouseDown(PressAt(1, 1));
        bool hover = false;
        it->OnMouseMove(PressAt(2, 2), hover);
        it->OnMouseDrag(PressAt(2, 2));
        it->OnMouseUp(PressAt(2, 2));
        it->Activate(0, 0, 0);
        it->OnEffectorChannelFinished(0);
        for (int i = 0; i < 5; ++i) mRoom->Update(0.3f);
        TBaseBuffer saved;
        it->SaveState(saved);
        it->LoadState(saved);
        if (auto* shooter = dynamic_cast<TBallShooterObject*>(it)) {
            EXPECT_FALSE(shooter->HasParts());
            EXPECT_EQ(shooter->mState, TBallShooterObject::kWaiting);
        }
        if (auto* balance = dynamic_cast<TBalanceObject*>(it)) {
            EXPECT_EQ(balance->mMagnet4, nullptr);
            EXPECT_EQ(balance->mRightSide, nullptr);
            EXPECT_FALSE(balance->mLevelled);
        }
    }
}

}  // namespace
