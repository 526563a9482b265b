// The tutorial hint over a spy screen with real SDL events: when it shows, how a click passes
// through to the screen beneath exactly once and is remembered, how it leaves, its owner
// looked up by id, its arrows; and the dialog shadow's fades.
#include "ui/tutorial_window.h"

#include "ui/dialog_fixture.h"

namespace {

const std::pair<std::string, std::string> Shown(const char* name) { return {"IHelpShown", name}; }

struct TClickRecorder : TMyButtonListener {
    TLog* mLog;
    explicit TClickRecorder(TLog* log) : mLog(log) {}
    void OnButtonPressed(int, TMyWindow*, int, TMyButton*) override { mLog->push_back("button pressed"); }
    void OnButtonClick(int, TMyWindow*, int, TMyButton*) override { mLog->push_back("button click"); }
};

class TutorialTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        mScreen = Screen("screen", 4);
        mButton = new TMyButton(mScreen);
        mButton->SetRect(100, 100, 200, 100);
        mButton->mButtonListener = &mClicks;
        SetTutorialListener(&mTutorialSpy);
        mLog.clear();
    }
    TSpy* Screen(const char* name, int id)
    {
        TSpy* screen = new TSpy(&mLog, name, 0, 0, 1366, 768);
        screen->mId = id;
        mManager->ShowScreen(screen, false, 0);
        return screen;
    }
    // Shown and past its first frame at alpha 0.
    TMyTutorialWindow* Show(const char* name, int owner = 4, bool remember = true)
    {
        ShowTutorial(name, remember, owner, "");
        Updates(1);
        return GetTutorialWindow();
    }
    // The pointer calls of the screens; updates and showing do not count.
    TLog Pointer()
    {
        TLog pointer;
        for (const std::string& line : Take())
            if (line.find(" update") == std::string::npos && line.find(" shown") == std::string::npos)
                pointer.push_back(line);
        return pointer;
    }

    TSpy* mScreen = nullptr;
    TMyButton* mButton = nullptr;
    TClickRecorder mClicks{&mLog};
    TTutorialSpy mTutorialSpy{&mLog};
};

TEST_F(TutorialTest, ShowsOncePerPlayerAndNeverOverAVisibleHint)
{
    mProfile.AddPair("IHelpShown", "TipFixNoSkip");
    {
        TLogWatch log;
        ShowTutorial("TipFixNoSkip", true, 4, "showtutorial");
        EXPECT_EQ(log.Text(), "");
        EXPECT_TRUE(Take().empty());
        EXPECT_EQ(mManager->TopWindowCount(), 0);
    }
    TLogWatch log;
    ShowTutorial("TipFixPlain", true, 4, "showtutorial");
    EXPECT_TRUE(log.Has("show tutorial TipFixPlain")) << log.Text();
    EXPECT_EQ(Take(), (TLog{"sound showtutorial"}));
    EXPECT_EQ(mManager->TopWindowCount(), 1);
    Updates(1);
    ShowTutorial("TipFixFinalize", true, 4, "showtutorial");
    EXPECT_TRUE(Pointer().empty());
    EXPECT_EQ(GetTutorialWindow()->mTutorialName, "TipFixPlain");
}

TEST_F(TutorialTest, ClickIsRememberedAndReachesTheControlBeneath)
{
    Show("TipFixPlain");
    Click(150, 150);
    EXPECT_EQ(Pointer(), (TLog{"screen move 150,150", "button pressed", "screen up 150,150 b1", "button click"}));
    EXPECT_EQ(mProfile.mPairs.count(Shown("TipFixPlain")), 1u);
    Updates(1);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
    EXPECT_EQ(GetTutorialWindow()->GetState(), TFlyWindow::kShown) << "left without a fly-out";
}

TEST_F(TutorialTest, ClickOnTheHintsTextActsAsAClickOnTheHint)
{
    TMyTutorialWindow* hint = Show("TipFixPlain");
    ASSERT_NE(hint->mText1, nullptr);
    int x = 0, y = 0;
    hint->mText1->GetAbsolutePosition(&x, &y);
    Click(x + 100, y + 20);
    const std::string at = std::to_string(x + 100) + "," + std::to_string(y + 20);
    EXPECT_EQ(Pointer(), (TLog{"screen move " + at, "screen down " + at + " b1", "screen up " + at + " b1"}));
    EXPECT_EQ(mProfile.mPairs.count(Shown("TipFixPlain")), 1u);
}

// Where no control lies beneath, the screen itself hears each event once.
TEST_F(TutorialTest, BarePointHearsEachEventOnce)
{
    Show("TipFixPlain");
    MoveTo(600, 600);
    EXPECT_EQ(Pointer(), (TLog{"screen move 600,600"}));
    MoveTo(460, 305);  // on the hint's panel
    EXPECT_EQ(Pointer(), (TLog{"screen move 460,305"}));
    Click(600, 600);
    EXPECT_EQ(Pointer(), (TLog{"screen move 600,600", "screen down 600,600 b1", "screen up 600,600 b1"}));
}

TEST_F(TutorialTest, SkipButtonAndForgettingHintsRecordNothing)
{
    TMyTutorialWindow* hint = Show("TipFixPlain");
    ASSERT_NE(hint->mSkipButton, nullptr);
    int x = 0, y = 0;
    hint->mSkipButton->GetAbsolutePosition(&x, &y);
    Click(x + 10, y + 10);
    EXPECT_EQ(Pointer(), (TLog{"tutorial closed TipFixPlain"}));
    EXPECT_EQ(hint->GetState(), TFlyWindow::kFlyingOut);
    Updates(1);
    EXPECT_EQ(mManager->TopWindowCount(), 0);

    Show("TipFixNoSkip", 4, false);
    EXPECT_FALSE(hint->mSkipButton->mVisible);
    Click(600, 600);
    EXPECT_TRUE(mProfile.mPairs.empty());
}

// A listener deleted while the hint still names it (the board, when it goes while it is the
// active screen) is taken off: closing the hint afterwards calls nobody.
TEST_F(TutorialTest, AListenerGoneBeforeTheHintClosesIsNeverCalled)
{
    TMyTutorialWindow* hint = Show("TipFixPlain");
    {
        TLog gone;
        TTutorialSpy passing{&gone};
        SetTutorialListener(&passing);
    }
    EXPECT_EQ(hint->mTutorialListener, nullptr);
    hint->Close(0);
    EXPECT_TRUE(Pointer().empty());
}

TEST_F(TutorialTest, HideFastTurnsTransparentFinalizeFliesOut)
{
    TMyTutorialWindow* hint = Show("TipFixHideFast");
    Updates(8);
    ASSERT_EQ(hint->mAlpha, 1.0f);
    Click(600, 600);
    EXPECT_EQ(hint->mAlpha, 0.0f);
    Updates(8);
    EXPECT_EQ(mManager->TopWindowCount(), 1);
    EXPECT_EQ(hint->mAlpha, 0.0f);
    ShowTutorial("TipFixPlain", true, 4, "");
    Updates(8);
    EXPECT_EQ(hint->mAlpha, 0.0f) << "a listed hint is not shown again";
    EXPECT_EQ(hint->mTutorialName, "TipFixPlain");
    hint->Close(0);
    Updates(1);
    ASSERT_EQ(mManager->TopWindowCount(), 0);
    Take();

    hint = Show("TipFixFinalize");
    Click(600, 600);
    EXPECT_EQ(hint->GetState(), TFlyWindow::kFlyingOut);
    TLog log = Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "tutorial closed TipFixFinalize"), log.end());
    Updates(1);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
}

TEST_F(TutorialTest, ShippedHintComesBackAfterAClose)
{
    TMyTutorialWindow* hint = GetTutorialWindow();
    hint->Close(0);  // nothing shown yet: the board and the map do this when they leave
    EXPECT_EQ(Pointer(), (TLog{"tutorial closed "}));
    ShowTutorial("TipFixPlain", true, 4, "");
    Updates(8);
    EXPECT_EQ(hint->mAlpha, 1.0f);
    hint->Close(0);
    Updates(1);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
    Take();

    ShowTutorial("TipFixNoSkip", true, 4, "");
    Updates(8);
    EXPECT_EQ(hint->mAlpha, 1.0f);
    EXPECT_EQ(hint->GetState(), TFlyWindow::kFlyingOut);
    Click(600, 600);
    EXPECT_EQ(mProfile.mPairs.count(Shown("TipFixNoSkip")), 1u);
    Updates(1);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
    for (const std::string& line : Take()) EXPECT_NE(line.compare(0, 6, "sound "), 0) << line;
}

// The owner is found by id at each event, never through a kept pointer.
TEST_F(TutorialTest, ClicksReachOnlyAScreenHoldingTheOwnersId)
{
    Show("TipFixPlain", 4, false);
    delete mScreen;
    Take();
    Click(600, 600);
    EXPECT_TRUE(Pointer().empty());
    Updates(1);

    // A window that takes the id later is the owner from then on.
    TSpy* first = Screen("first", 4);
    Show("TipFixPlain", 4, false);
    delete first;
    TSpy* successor = Screen("successor", 4);
    Take();
    Click(600, 600);
    EXPECT_EQ(Pointer(), (TLog{"successor move 600,600", "successor down 600,600 b1", "successor up 600,600 b1"}));
    Updates(1);

    Show("TipFixPlain", 4, false);
    delete successor;
    Screen("other", 7);
    Take();
    Click(600, 600);
    EXPECT_TRUE(Pointer().empty());
    Updates(1);

    Show("TipFixPlain", 99, false);
    Screen("late", 99);
    Take();
    Click(600, 600);
    EXPECT_TRUE(Pointer().empty());
}

TEST_F(TutorialTest, ArrowsPulseBetweenTheirAlphas)
{
    ShowTutorial("TipFixArrows", true, 4, "");
    TMyTutorialWindow* hint = GetTutorialWindow();
    ASSERT_EQ(hint->mArrows.size(), 2u);
    const float expected[] = {0.2f, 0.6f, 1.0f, 0.6f, 0.2f};  // every 0.5 s
    for (float alpha : expected) {
        EXPECT_NEAR(hint->mArrows[0]->mAlphaPulse.GetValue(), alpha, 1e-5f);
        EXPECT_EQ(hint->mArrows[1]->mAlphaPulse.GetValue(), 1.0f);
        Updates(4);
    }
}

TEST_F(TutorialTest, HintAtTheIntRangesEndStaysAtThatEnd)
{
    TMyTutorialWindow* hint = Show("TipFixFar");
    ASSERT_NE(hint, nullptr);
    Updates(100);
    EXPECT_LT(hint->GetX(), -1000000000);
}

TEST_F(TutorialTest, ShadowFadesToItsTargetAndOutOnce)
{
    TShadow staying;
    staying.mTargetAlpha = 0.6f;
    staying.mStay = true;
    staying.FadeIn();
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(staying.Update(kStep));
    EXPECT_FLOAT_EQ(staying.mCurrentAlpha, 0.6f);
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(staying.Update(kStep));
    EXPECT_FLOAT_EQ(staying.mCurrentAlpha, 0.6f);
    staying.FadeOut();
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(staying.Update(kStep));
    EXPECT_EQ(staying.mCurrentAlpha, 0.0f);
    EXPECT_TRUE(staying.Update(kStep)) << "the first update that begins at 0";
    EXPECT_FALSE(staying.Update(kStep));

    TShadow passing;
    passing.FadeIn();
    int done = 0;
    for (int i = 0; i < 40; ++i) done += passing.Update(kStep);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(passing.mCurrentAlpha, 0.0f);
}

}  // namespace
