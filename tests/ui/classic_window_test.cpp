// Windows built from layouts: the size rule, the controls they make, the alpha fade, the
// flight of dialogs with its notifications, and the shipped message boxes answered with
// real clicks.
#include "ui/classic_window.h"

#include <climits>

#include "ui/dialog_fixture.h"
#include "ui/ui_elements.h"

namespace {

class ClassicWindowTest : public DialogTest {};

struct TRectCase {
    const char* file;
    int x, y, w, h;
};

TEST_F(ClassicWindowTest, SizeRuleTakesElementThenLayoutThenImage)
{
    const TRectCase cases[] = {{"fixtures/size_image.xml", 483, 234, 400, 300},
                               {"fixtures/size_w401.xml", 483, 234, 401, 300},
                               {"fixtures/size_nowindow.xml", 0, 0, 1366, 768},
                               {"fixtures/missing.xml", 0, 0, 1366, 768}};
    for (const TRectCase& c : cases) {
        SCOPED_TRACE(c.file);
        TClassicWindow window(c.file, true);
        EXPECT_EQ(window.GetX(), c.x);
        EXPECT_EQ(window.GetY(), c.y);
        EXPECT_EQ(window.GetWidth(), c.w);
        EXPECT_EQ(window.GetHeight(), c.h);
    }
    TLogWatch log;
    TClassicWindow missing("fixtures/missing.xml", true);
    EXPECT_NE(log.Text().find("File not found"), std::string::npos) << log.Text();
    EXPECT_TRUE(missing.mChildren.empty());
    EXPECT_EQ(missing.mElement, nullptr);
}

TEST_F(ClassicWindowTest, ElementNameWindowBorrowsTheGlobalDescription)
{
    const auto* board = dynamic_cast<const TUIClassicWindow*>(GetInterfaceHolder()->Find("board"));
    ASSERT_NE(board, nullptr);
    {
        TClassicWindow window(std::string("board"));
        EXPECT_EQ(window.mElement, board);
        EXPECT_EQ(window.mId, 4);
        EXPECT_FALSE(window.mAutoDelete);
        EXPECT_TRUE(window.mChildren.empty());
        EXPECT_EQ(window.Holder(), nullptr);
    }
    EXPECT_EQ(GetInterfaceHolder()->Find("board"), board) << "the global holder keeps it";
}

TEST_F(ClassicWindowTest, ShowingMakesTheCursorSetWhenThereIsNone)
{
    DestroyCursors();
    TClassicWindow window("fixtures/size_image.xml", true);
    window.Show();
    EXPECT_TRUE(GameCursorsExist());
    EXPECT_FALSE(GetGameCursors()->HasCurrent()) << "a set made empty has no default to select";
}

TEST_F(ClassicWindowTest, EveryCreatedKindBecomesAChildInFileOrder)
{
    TClassicWindow window("fixtures/every_kind.xml", true);
    ASSERT_EQ(window.mChildren.size(), 5u);
    const char* names[] = {"b", "t", "s", "e", "i"};
    const int kinds[] = {kKindButton, kKindText, kKindWidget, kKindWidget, kKindImage};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(window.mChildren[i]->mName, names[i]);
        EXPECT_EQ(window.mChildren[i]->GetKind(), kinds[i]) << names[i];
    }
    auto* button = dynamic_cast<TMyButton*>(window.mChildren[0]);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->mButtonListener, static_cast<TMyButtonListener*>(&window));
    EXPECT_EQ(dynamic_cast<TBaseSlider*>(window.mChildren[2])->mSliderListener,
              static_cast<TBaseSliderListener*>(&window));
    EXPECT_EQ(dynamic_cast<TMyEditWindow*>(window.mChildren[3])->mEditListener,
              static_cast<TMyEditListener*>(&window));

    // Direct children only: a button inside another widget keeps its listener.
    TMyButton* deep = new TMyButton(window.mChildren[4]);
    TMyButtonListener other;
    window.SetButtonsListener(&other);
    EXPECT_EQ(button->mButtonListener, &other);
    EXPECT_EQ(deep->mButtonListener, nullptr);
}

TEST_F(ClassicWindowTest, ShownFadesInHiddenFadesOutFromTheCurrentAlpha)
{
    WriteWholeFile(AssetPath("fade.xml"), "<l><object name=\"window\" type=\"window\" alphatime=\"0.5\"/></l>");
    TClassicWindow window("fade.xml", true);
    GetGameCursors()->Select("hand");
    window.Show();
    EXPECT_EQ(window.mAlpha, 0.0f);
    EXPECT_EQ(GetGameCursors()->Current()->mName, "default");
    const float fadeIn[] = {0.25f, 0.5f, 0.75f, 1.0f};
    for (float a : fadeIn) {
        window.Update(kStep);
        EXPECT_FLOAT_EQ(window.mAlpha, a);
    }
    window.Update(kStep);
    window.Update(kStep);  // at 0.5
    window.mAlphaFade.SetValue(0.5f);
    window.mAlpha = 0.5f;
    window.Hide();
    window.Update(kStep);
    EXPECT_FLOAT_EQ(window.mAlpha, 0.25f);
    window.Update(kStep);
    EXPECT_EQ(window.mAlpha, 0.0f);
}

TEST_F(ClassicWindowTest, VerticalFlightStartsOneUpdateLateAndArrivesAfterHalfTheTime)
{
    TFlyWindow* window = new TFlyWindow(&mFly, true, "fixtures/fly_vertical.xml");
    EXPECT_EQ(Take(), (TLog{"sound flywindow", "fly in started 0"}));
    EXPECT_EQ(window->GetState(), TFlyWindow::kStarting);
    mManager->AddWindow(window, 0);
    Take();
    Updates(1);
    EXPECT_EQ(window->GetState(), TFlyWindow::kFlyingIn);
    EXPECT_EQ(window->GetX(), 683 - 200);
    EXPECT_EQ(window->GetY(), -200 - 150);
    for (int update = 2; update <= 4; ++update) {
        Updates(1);
        EXPECT_EQ(window->GetState(), TFlyWindow::kFlyingIn) << update;
    }
    EXPECT_TRUE(Take().empty());
    Updates(1);
    EXPECT_EQ(window->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(window->GetY(), 384 - 150);
    EXPECT_EQ(Take(), (TLog{"fly shown 0"}));
    Updates(8);
    EXPECT_TRUE(Take().empty()) << "stay -1 keeps the dialog";
}

TEST_F(ClassicWindowTest, DiagonalFlightMovesAcrossThenDown)
{
    TFlyWindow* window = new TFlyWindow(&mFly, true, "fixtures/fly_both.xml");
    mManager->AddWindow(window, 0);
    Updates(1);
    Updates(2);
    EXPECT_EQ(window->GetX() + 200, 683 / 2);
    EXPECT_EQ(window->GetY() + 150, -200) << "y waits for x";
    Updates(2);
    EXPECT_EQ(window->GetX() + 200, 683);
    EXPECT_EQ(window->GetY() + 150, -200 + 584 / 4);
    EXPECT_NE(window->GetState(), TFlyWindow::kShown);
    Updates(4);
    EXPECT_EQ(window->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(window->GetY() + 150, 384);
}

TEST_F(ClassicWindowTest, WithoutFlightTimeTheWindowIsShownAtItsStartPoint)
{
    TFlyWindow* now = new TFlyWindow(&mFly, true, "fixtures/fly_instant.xml");
    TFlyWindow* later = new TFlyWindow(&mFly, false, "fixtures/fly_vertical.xml");
    later->LoadLayout("fixtures/fly_vertical.xml", true);
    EXPECT_EQ(Take(), (TLog{"sound flywindow", "fly in started 0", "sound flywindow", "fly in started 0"}));
    mManager->AddWindow(now, 0);
    mManager->AddWindow(later, 0);
    Take();
    Updates(12);
    EXPECT_EQ(now->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(later->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(now->GetX() + 200, 100);
    EXPECT_EQ(now->GetY() + 150, 120);
    EXPECT_EQ(later->GetX() + 200, 683);
    EXPECT_EQ(later->GetY() + 150, -200);
    EXPECT_TRUE(Take().empty()) << "never OnFlyShown";
}

TEST_F(ClassicWindowTest, StayRunsOutWithResultZero)
{
    TFlyWindow* window = new TFlyWindow(&mFly, true, "fixtures/fly_stay2.xml");
    mManager->AddWindow(window, 0);
    Updates(5);
    Take();
    Updates(15);
    EXPECT_TRUE(Take().empty());
    Updates(1);  // 2 s after arriving
    EXPECT_EQ(Take(), (TLog{"sound flywindow", "fly closing 0"}));
    Updates(3);
    EXPECT_EQ(mManager->TopWindowCount(), 1);
    Updates(1);
    EXPECT_EQ(Take(), (TLog{"fly closed 0 result 0", "window hidden 0"}));
    EXPECT_EQ(mManager->TopWindowCount(), 0);
}

TEST_F(ClassicWindowTest, FadingDialogLeavesOnlyWhenFlightAndFadeHaveEnded)
{
    struct TCounted : TFlyWindow {
        int* mDeaths;
        TCounted(TFlyWindowListener* l, int* deaths) : TFlyWindow(l, true, "fixtures/fly_fade.xml"), mDeaths(deaths) {}
        ~TCounted() override { ++*mDeaths; }
    };
    int deaths = 0;
    TCounted* window = new TCounted(&mFly, &deaths);
    mManager->AddWindow(window, 0);
    Updates(8);
    ASSERT_EQ(window->GetState(), TFlyWindow::kShown);
    ASSERT_EQ(window->mAlpha, 1.0f);
    Take();
    window->Close(3);
    EXPECT_EQ(Take(), (TLog{"sound flywindow", "fly closing 0"}));
    Updates(2);  // the flight down has ended, the fade has not
    EXPECT_TRUE(window->mClosed ? false : true);
    EXPECT_EQ(mManager->TopWindowCount(), 1);
    Updates(1);
    EXPECT_EQ(mManager->TopWindowCount(), 1);
    EXPECT_EQ(deaths, 0);
    Updates(1);
    EXPECT_EQ(Take(), (TLog{"fly closed 0 result 3", "window hidden 0"}));
    EXPECT_EQ(mManager->TopWindowCount(), 0);
    EXPECT_EQ(deaths, 1);
    Updates(2);
    EXPECT_EQ(deaths, 1);
}

TEST_F(ClassicWindowTest, DurationsThatAreNotFiniteOrAbsurdAreRefused)
{
    // 1e39 is beyond the float range: it reads as an infinity.
    for (const std::string value : {"nan", "1e39", "-1e39", "1e9"}) {
        SCOPED_TRACE(value);
        WriteWholeFile(AssetPath("nan.xml"), "<l><object name=\"window\" type=\"flywindow\" w=\"400\" h=\"300\" "
                                             "x1=\"10\" y1=\"20\" x2=\"683\" y2=\"1000\" time=\"" + value +
                                                 "\" alphatime=\"" + value + "\" fade=\"1\" stay=\"-1\"/></l>");
        TLogWatch log;
        TFlyWindow* window = new TFlyWindow(&mFly, true, "nan.xml");
        for (const char* name : {"time", "alphatime"})
            EXPECT_TRUE(log.Has(std::string("window: \"") + name + "\" = \"" + value +
                                "\" is not a usable duration, taken as 0"))
                << log.Text();
        mManager->AddWindow(window, 0);
        Updates(1);
        EXPECT_EQ(window->GetState(), TFlyWindow::kShown);
        EXPECT_EQ(window->GetX() + 200, 10);
        window->Close(5);
        Updates(2);
        EXPECT_EQ(mManager->TopWindowCount(), 0);
    }
}

TEST_F(ClassicWindowTest, PositionsAtTheIntRangesEndStayInside)
{
    // The window is centred on its element's corner and on its flight: both at the far left.
    WriteWholeFile(AssetPath("far.xml"), "<l><object name=\"window\" type=\"flywindow\" w=\"400\" h=\"300\" "
                                         "x=\"-2147483648\" y=\"-2147483648\" x1=\"-2147483648\" "
                                         "y1=\"-2147483648\" x2=\"0\" y2=\"0\" time=\"1\" stay=\"-1\"/></l>");
    TClassicWindow* classic = new TClassicWindow("far.xml", true);
    EXPECT_EQ(classic->GetX(), INT_MIN);
    delete classic;
    TFlyWindow* window = new TFlyWindow(&mFly, true, "far.xml");
    mManager->AddWindow(window, 0);
    Updates(70);
    EXPECT_EQ(window->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(window->GetX(), INT_MIN);
    window->Close(5);
    Updates(70);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
}

TEST_F(ClassicWindowTest, DialogButtonTellsTheListenerAndClosesWithItsId)
{
    struct THooked : TFlyWindow {
        TLog* mHookLog;
        THooked(TFlyWindowListener* l, TLog* log) : TFlyWindow(l, true, "fixtures/fly_dialog.xml"), mHookLog(log) {}
        void OnFlyButton(int, TMyWindow*, int buttonId, TMyButton*) override
        {
            mHookLog->push_back("hook button " + std::to_string(buttonId));
        }
        ~THooked() override { mHookLog->push_back("deleted"); }
    };
    THooked* window = new THooked(&mFly, &mLog);
    window->mId = 9;
    mManager->AddWindow(window, 0);
    Updates(5);
    Take();
    // The button's top-left corner is the window's plus (100, 100).
    Click(window->GetX() + 120, window->GetY() + 110);
    EXPECT_EQ(Take(), (TLog{"hook button 7", "fly button 9 7", "fly closing 9"}));
    Updates(3);
    EXPECT_TRUE(Take().empty());
    Updates(1);
    EXPECT_EQ(Take(), (TLog{"fly closed 9 result 7", "window hidden 9", "deleted"}));
}

// The empty screen under a dialog: any press reaching it is a fault.
struct TScreenSpy : TSpy {
    TScreenSpy(TLog* log) : TSpy(log, "screen", 0, 0, 1366, 768) {}
};

class MessageBoxTest : public DialogTest {
protected:
    // What the screen heard of the pointer; its updates and draws do not count.
    static TLog Pointer(const TLog& log)
    {
        TLog pointer;
        for (const std::string& line : log)
            if (line != "screen update" && line != "screen shown") pointer.push_back(line);
        return pointer;
    }
    void SetUp() override
    {
        DialogTest::SetUp();
        mManager->ShowScreen(new TScreenSpy(&mScreenLog), false, 0);
        mScreenLog.clear();
    }
    TLog mScreenLog;
};

TEST_F(MessageBoxTest, ShippedQuestionAnswersWithTheClickedButton)
{
    const int buttonsY = 384 - 130 + 196 + 22;
    const int answers[][2] = {{683 - 260 + 95 + 75, 1}, {683 - 260 + 275 + 75, 2}};
    for (const auto& answer : answers) {
        auto* box = new TMessageBoxOkCancelWindow(&mFly, "quit", "sureexit", 20);
        ASSERT_NE(box->mCaption, nullptr);
        ASSERT_NE(box->mMessage, nullptr);
        EXPECT_EQ(box->mCaption->mText, GetLocalization()->GetText("quit"));
        EXPECT_EQ(box->mMessage->mText, GetLocalization()->GetText("sureexit"));
        EXPECT_NE(box->mCaption->mText, L"quit");
        mManager->AddWindow(box, 0);
        Updates(6);
        ASSERT_EQ(box->GetState(), TFlyWindow::kShown);
        ASSERT_EQ(box->GetX(), 683 - 260);
        Take();

        Clear(0, 0, 0);
        mManager->Draw();
        TPixel panel = Pixel(683 - 260 + 260, 384 - 130 + 75);
        EXPECT_EQ(panel.r, 36);
        EXPECT_EQ(panel.g, 44);
        EXPECT_EQ(panel.b, 66);
        ExpectPixel(200, 600, 0, 0, 0);

        Click(answer[0], buttonsY);
        Updates(6);
        EXPECT_EQ(Take(), (TLog{"sound flywindow", "fly closing 20", "fly closed 20 result " + std::to_string(answer[1]),
                                "window hidden 20"}));
        EXPECT_EQ(mManager->TopWindowCount(), 0);
    }
    EXPECT_EQ(Pointer(mScreenLog), TLog{});
}

// A dialog takes no clicks while it flies, in either direction; the screen beneath gets none.
TEST_F(MessageBoxTest, ClicksDuringTheFlightsAndBesideTheBoxReachNothing)
{
    auto* box = new TMessageBoxOkCancelWindow(&mFly, "quit", "sureexit", 20);
    mManager->AddWindow(box, 0);
    const int okX = 683 - 260 + 95 + 75, cancelX = 683 - 260 + 275 + 75;
    Updates(3);
    Take();
    Click(okX, box->GetY() + 196 + 22);
    Click(100, 100);
    EXPECT_TRUE(Take().empty());
    Updates(3);
    ASSERT_EQ(mManager->TopWindowCount(), 1) << "the box answered during its flight";
    ASSERT_EQ(box->GetState(), TFlyWindow::kShown);
    EXPECT_EQ(Take(), (TLog{"fly shown 20"}));
    Click(100, 100);
    EXPECT_TRUE(Take().empty());

    const int buttonsY = 384 - 130 + 196 + 22;
    Click(okX, buttonsY);
    EXPECT_EQ(Take(), (TLog{"sound flywindow", "fly closing 20"}));
    Click(cancelX, buttonsY);  // the box has not moved yet
    Updates(5);
    EXPECT_EQ(Take(), (TLog{"fly closed 20 result 1", "window hidden 20"}));
    EXPECT_EQ(Pointer(mScreenLog), TLog{});
}

TEST_F(MessageBoxTest, BoxWithoutListenerLeavesOnOk)
{
    auto* box = new TMessageBoxOkWindow(nullptr, "quit", "sureexit", -1);
    mManager->AddWindow(box, 0);
    Updates(6);
    ASSERT_EQ(box->GetState(), TFlyWindow::kShown);
    Click(683, 384 - 130 + 196 + 22);
    EXPECT_EQ(box->GetState(), TFlyWindow::kFlyingOut);
    Updates(6);
    EXPECT_EQ(mManager->TopWindowCount(), 0);
    EXPECT_EQ(Pointer(mScreenLog), TLog{});
}

}  // namespace
