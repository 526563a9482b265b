// Number wheels rolled band by band and the case lock that answers their combination.
#include <gtest/gtest.h>

#include <string>

#include "core/buffer.h"
#include "log_watch.h"
#include "objects/puzzle_fixture.h"
#include "objects/slide_rotator_objects.h"

namespace {

struct TStopCounter : TSlideRotatorListener {
    void OnRotatorStopped() override { ++mStops; }
    int mStops = 0;
};

std::string Wheel(const std::string& id, int x, int band, int bands = 10, const std::string& extra = "")
{
    return "<object id=\"" + id + "\" type=\"slide_rotator\" x=\"" + std::to_string(x) +
           "\" y=\"10\" w=\"40\" h=\"40\" checkonlybounds=\"1\" num_of_images=\"" + std::to_string(bands) +
           "\" vis_rect=\"0.0.40.40\" rtime=\"0.15\" cur_image=\"" + std::to_string(band) + "\" " + extra +
           "><img filename=\"strip\" x=\"" + std::to_string(x) + "\" y=\"10\"/></object>";
}

class SlideRotatorTest : public PuzzleTest {
protected:
    TSlideImageRotator* LoadWheel(int band, int bands = 10, const std::string& extra = "")
    {
        TSlideImageRotator* wheel = Load<TSlideImageRotator>(Wheel("w", 10, band, bands, extra));
        if (wheel) wheel->mRotatorListener = &mStops;
        return wheel;
    }
    TStopCounter mStops;
};

TEST_F(SlideRotatorTest, RollsOneBandAndWrapsFromTheLast)
{
    TSlideImageRotator* wheel = LoadWheel(3);
    ASSERT_NE(nullptr, wheel);
    EXPECT_EQ(wheel->mWindowY, 120);
    ASSERT_TRUE(wheel->OnMouseDown(PressAt(20, 20)));
    // The band is the one rolled to from the start of the roll.
    EXPECT_EQ(wheel->mBand, 4);
    wheel->Update(0.075f);
    EXPECT_NEAR(wheel->mWindowY, 140, 1);
    wheel->Update(0.075f);
    EXPECT_EQ(wheel->mWindowY, 160);
    EXPECT_EQ(mStops.mStops, 1);
    EXPECT_FALSE(wheel->mRolling);

    ASSERT_TRUE(wheel->SetBand(9));
    ASSERT_TRUE(wheel->Roll());
    EXPECT_EQ(wheel->mBand, 0);
    EXPECT_FLOAT_EQ(wheel->mRoll.mDuration, 0.5f);
    wheel->Update(0.25f);
    EXPECT_NEAR(wheel->mWindowY, 180, 1);
    wheel->Update(0.2501f);
    EXPECT_EQ(wheel->mWindowY, 0);
    wheel->Update(0.25f);
    EXPECT_EQ(mStops.mStops, 2);
    const DrawTransform& t = wheel->mStrip.mTransform;
    EXPECT_EQ(t.mSrcY, 0.0f);
    EXPECT_EQ(t.mSrcH, 40.0f);
}

TEST_F(SlideRotatorTest, PressWhileRollingIsAClickWithoutASecondRoll)
{
    TSlideImageRotator* wheel = LoadWheel(3);
    ASSERT_NE(nullptr, wheel);
    ASSERT_TRUE(wheel->OnMouseDown(PressAt(20, 20)));
    EXPECT_TRUE(wheel->OnMouseDown(PressAt(20, 20)));
    EXPECT_EQ(wheel->mClickCounter, 1);
    EXPECT_EQ(wheel->mBand, 4);
    EXPECT_FALSE(wheel->Roll());
}

TEST_F(SlideRotatorTest, RollStartsEvenWhenTheClickLimitIsSpent)
{
    TSlideImageRotator* wheel = LoadWheel(3, 10, "maxclicks=\"0\"");
    ASSERT_NE(nullptr, wheel);
    EXPECT_TRUE(wheel->OnMouseDown(PressAt(20, 20)));
    EXPECT_EQ(wheel->mBand, 4);
    EXPECT_EQ(wheel->mClickCounter, -1);
}

TEST_F(SlideRotatorTest, SetBandRefusesBandsOutsideTheStrip)
{
    TSlideImageRotator* wheel = LoadWheel(0);
    ASSERT_NE(nullptr, wheel);
    EXPECT_FALSE(wheel->SetBand(10));
    EXPECT_FALSE(wheel->SetBand(-1));
    EXPECT_EQ(wheel->mBand, 0);
    ASSERT_TRUE(wheel->SetBand(3));
    EXPECT_EQ(wheel->mWindowY, 120);
    const DrawTransform& t = wheel->mStrip.mTransform;
    EXPECT_TRUE(t.mFlags & kDrawSourceRect);
    EXPECT_EQ(SDL_Rect({static_cast<int>(t.mSrcX), static_cast<int>(t.mSrcY), static_cast<int>(t.mSrcW),
                        static_cast<int>(t.mSrcH)}),
              SDL_Rect({0, 120, 40, 40}));
    // A start band past the strip is not applied: the window keeps its written offset.
    TSlideImageRotator* past = Load<TSlideImageRotator>(Wheel("p", 100, 12));
    ASSERT_NE(nullptr, past);
    EXPECT_EQ(past->mWindowY, 0);
}

// A one-band wheel rolls between equal ends: finished at once, it must still stop.
TEST_F(SlideRotatorTest, ARollThatFinishesAtOnceStillStops)
{
    TSlideImageRotator* wheel = LoadWheel(0, 1);
    ASSERT_NE(nullptr, wheel);
    ASSERT_TRUE(wheel->OnMouseDown(PressAt(20, 20)));
    wheel->Update(0.016f);
    EXPECT_EQ(mStops.mStops, 1);
    EXPECT_FALSE(wheel->mRolling);
    EXPECT_TRUE(wheel->Roll());
    wheel->Update(0.016f);
    EXPECT_EQ(mStops.mStops, 2);
}

TEST_F(SlideRotatorTest, LockedWheelRefusesThePress)
{
    TSlideImageRotator* wheel = LoadWheel(3, 10, "locked=\"1\"");
    ASSERT_NE(nullptr, wheel);
    EXPECT_FALSE(wheel->OnMouseDown(PressAt(20, 20)));
    EXPECT_EQ(wheel->mBand, 3);
}

TEST_F(SlideRotatorTest, RecordSavedMidRollEndsAtTheSameTime)
{
    TSlideImageRotator* wheel = LoadWheel(3);
    ASSERT_NE(nullptr, wheel);
    ASSERT_TRUE(wheel->Roll());
    wheel->Update(0.05f);
    TBaseBuffer buffer;
    wheel->SaveState(buffer);

    TSlideImageRotator* fresh = Load<TSlideImageRotator>(Wheel("w", 10, 0));
    ASSERT_NE(nullptr, fresh);
    fresh->mRotatorListener = &mStops;
    fresh->LoadState(buffer);
    EXPECT_TRUE(buffer.ReadAtEnd());
    EXPECT_EQ(fresh->mBand, 4);
    EXPECT_TRUE(fresh->mRolling);
    fresh->Update(0.05f);
    EXPECT_EQ(mStops.mStops, 0);
    fresh->Update(0.0501f);
    EXPECT_EQ(mStops.mStops, 1);
    EXPECT_EQ(fresh->mWindowY, 160);

    // At rest: the restored band's window is set by the resource load.
    TBaseBuffer rest;
    fresh->SaveState(rest);
    TSlideImageRotator* other = Load<TSlideImageRotator>(Wheel("o", 10, 0));
    ASSERT_NE(nullptr, other);
    other->LoadState(rest);
    other->LoadResources();
    EXPECT_EQ(other->mStrip.mTransform.mSrcY, 160.0f);
}

// A damaged record would leave the wheel rolling for good or past its strip: refused whole,
// the wheel stays as its file made it and rolls on a press. The wheel's fields belong to the
// object's record: refused with it too.
TEST_F(SlideRotatorTest, ADamagedRecordIsRefusedAndTheWheelStillRolls)
{
    struct Case {
        const char* label;
        void (*damage)(TSlideImageRotator&);
        const char* line = "object .w: saved wheel refused (band ";  // how the line starts
    };
    const Case cases[] = {
        {"object's own record", [](TSlideImageRotator& w) { w.mAlpha = 2.0f; }, "object .w: saved state refused (alpha 2,"},
        {"paused roll", [](TSlideImageRotator& w) { w.mRoll.mPaused = true; }},
        {"finished yet running", [](TSlideImageRotator& w) { w.mRoll.mFinished = true; }},
        {"band past the strip", [](TSlideImageRotator& w) { w.mBand = 12; }},
        {"negative band", [](TSlideImageRotator& w) { w.mBand = -1; }},
        {"other window", [](TSlideImageRotator& w) { w.mWindowH = 0; }},
        {"window past the last band", [](TSlideImageRotator& w) { w.mWindowY = 361; }},
        {"window above the strip", [](TSlideImageRotator& w) { w.mWindowY = -1; }},
        {"roll past the strip", [](TSlideImageRotator& w) { w.mRoll.mTo = 400.0f; }},
        {"roll of two million seconds", [](TSlideImageRotator& w) { w.mRoll.mDuration = 2000000.0f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TSlideImageRotator* source = LoadWheel(3);
        ASSERT_NE(nullptr, source);
        ASSERT_TRUE(source->Roll());
        source->Update(0.05f);
        c.damage(*source);
        TBaseBuffer buffer;
        source->SaveState(buffer);

        TSlideImageRotator* fresh = Load<TSlideImageRotator>(Wheel("w", 10, 5));
        ASSERT_NE(nullptr, fresh);
        TLogWatch log;
        fresh->LoadState(buffer);
        EXPECT_TRUE(buffer.ReadAtEnd());
        EXPECT_EQ(log.CountStartingWith(c.line), 1u) << log.Text();
        EXPECT_EQ(fresh->mBand, 5);
        EXPECT_FALSE(fresh->mRolling);
        EXPECT_EQ(fresh->mWindowY, 200);
        ASSERT_TRUE(fresh->Roll());
        for (int i = 0; i < 10; ++i) fresh->Update(0.05f);
        EXPECT_FALSE(fresh->mRolling);
        EXPECT_EQ(fresh->mBand, 6);
    }
}

TEST_F(SlideRotatorTest, HiddenWheelDrawsNoStrip)
{
    SolidPng("strip.png", 40, 400, SDL_Color{250, 250, 250, 255});
    TSlideImageRotator* wheel = LoadWheel(3);
    ASSERT_NE(nullptr, wheel);
    wheel->LoadResources();
    wheel->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), SDL_Rect({10, 10, 40, 40}));
    Clear(0, 0, 0);
    wheel->SetVisible(false);
    wheel->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), SDL_Rect({0, 0, 0, 0}));
    wheel->FreeResources();
}

class CaseLockTest : public PuzzleTest {
protected:
    TCaseLockObject* LoadLock(const std::string& combination, const std::string& delay, int third = 2)
    {
        return Load<TCaseLockObject>("<object id=\"lock\" type=\"case_lock\" combination=\"" + combination +
                                     "\" delay=\"" + delay + "\" vae=\"g0;g1\">" + Wheel("a", 10, 1) +
                                     Wheel("b", 60, 2) + Wheel("c", 110, third) + "</object>");
    }
    TSlideImageRotator* WheelOf(TCaseLockObject* lock, size_t k)
    {
        return dynamic_cast<TSlideImageRotator*>(lock->mChildren[k].get());
    }
};

TEST_F(CaseLockTest, MatchRunsTheFirstGroupAndTheSecondOneDelayLater)
{
    TCaseLockObject* lock = LoadLock("1,2,3", "0.5");
    ASSERT_NE(nullptr, lock);
    ASSERT_EQ(lock->mChildren.size(), 3u);
    EXPECT_FALSE(lock->Matches());
    ASSERT_TRUE(WheelOf(lock, 2)->OnMouseDown(PressAt(120, 20)));
    // The bands match from the press, but the lock hears only the stop.
    EXPECT_TRUE(lock->Matches());
    EXPECT_TRUE(mGroups.mGroups.empty());
    lock->Update(0.25f);
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));
    // The stop came inside this frame's update: the delay has run 0.25 s already.
    lock->Update(0.125f);
    EXPECT_EQ(mGroups.Count("g1"), 0);
    lock->Update(0.125f);
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0", "g1"}));
    lock->Update(1.0f);
    EXPECT_EQ(mGroups.Count("g1"), 1);
}

TEST_F(CaseLockTest, EveryMatchingStopRunsAgainAndRestartsTheDelay)
{
    TCaseLockObject* lock = LoadLock("1,2,3", "0.5", 3);
    ASSERT_NE(nullptr, lock);
    // Two stops on the combination within the delay: each runs group 0, the second restarts it.
    lock->OnRotatorStopped();
    lock->Update(0.25f);
    lock->OnRotatorStopped();
    lock->Update(0.25f);
    lock->Update(0.25f);
    EXPECT_EQ(mGroups.Count("g0"), 2);
    EXPECT_EQ(mGroups.Count("g1"), 1);
}

TEST_F(CaseLockTest, NoDelayNeverRunsTheSecondGroup)
{
    TCaseLockObject* lock = LoadLock("1,2,3", "0", 3);
    ASSERT_NE(nullptr, lock);
    lock->OnRotatorStopped();
    for (int i = 0; i < 10; ++i) lock->Update(0.5f);
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));
}

TEST_F(CaseLockTest, FewerEntriesThanWheelsNeverMatch)
{
    TCaseLockObject* lock = LoadLock("1,2", "0.5", 3);
    ASSERT_NE(nullptr, lock);
    EXPECT_FALSE(lock->Matches());
    lock->OnRotatorStopped();
    EXPECT_TRUE(mGroups.mGroups.empty());
    TCaseLockObject* empty = Load<TCaseLockObject>("<object id=\"e\" type=\"case_lock\"/>");
    ASSERT_NE(nullptr, empty);
    EXPECT_TRUE(empty->Matches());
}

// A press on a wheel goes through the lock: its own click first, then the wheel's.
TEST_F(CaseLockTest, APressOnAWheelIsAlsoAClickOfTheLock)
{
    TCaseLockObject* lock = LoadLock("1,2,3", "0.5");
    ASSERT_NE(nullptr, lock);
    EXPECT_TRUE(lock->OnMouseDown(PressAt(120, 20)));
    EXPECT_EQ(lock->mClickCounter, 0);
    EXPECT_EQ(WheelOf(lock, 2)->mBand, 3);
    EXPECT_EQ(WheelOf(lock, 1)->mBand, 2);
    lock->Update(0.25f);
    EXPECT_EQ(mGroups.mGroups, (std::vector<std::string>{"g0"}));
    lock->SetVisible(false);
    EXPECT_FALSE(lock->OnMouseDown(PressAt(120, 20)));
    EXPECT_EQ(WheelOf(lock, 2)->mBand, 3);
}

TEST_F(CaseLockTest, LockAndUnlockReachTheWheels)
{
    TCaseLockObject* lock = LoadLock("1,2,3", "0.5");
    ASSERT_NE(nullptr, lock);
    lock->Lock();
    for (size_t k = 0; k < 3; ++k) EXPECT_TRUE(WheelOf(lock, k)->IsLocked());
    EXPECT_FALSE(WheelOf(lock, 2)->OnMouseDown(PressAt(120, 20)));
    lock->Unlock();
    for (size_t k = 0; k < 3; ++k) EXPECT_FALSE(WheelOf(lock, k)->IsLocked());
    EXPECT_TRUE(WheelOf(lock, 2)->OnMouseDown(PressAt(120, 20)));
}

}  // namespace
