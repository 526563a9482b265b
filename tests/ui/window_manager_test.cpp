// The window manager driven with pointer records and 1/16 s updates: capture, hover, modal
// dialogs, the update walk, the screen-change fader and widgets deleted under its pointers.
#include <algorithm>
#include "ui/window_manager.h"

#include <functional>

#include "core/input.h"
#include "core/messages.h"
#include "graphics/drawing_fixture.h"
#include "log_watch.h"
#include "ui/cursors.h"
#include "ui/widget_spy.h"

namespace {

const float kStep = 1.0f / 16;

struct TLifeListener : TMyWindowListener {
    TLog* mLog;
    explicit TLifeListener(TLog* log) : mLog(log) {}
    void OnWindowAdded(TMyWindow* w) override { mLog->push_back(w->mName + " added"); }
    void OnWindowRemoved(TMyWindow* w) override { mLog->push_back(w->mName + " removed"); }
};

class WindowManagerTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        WriteWholeFile(AssetPath("cursors.xml"), "<cursorset><cursors><cursor name=\"default\"/><cursor name=\"hand\"/>"
                                                 "<cursor name=\"text\"/></cursors></cursorset>");
        LoadCursors("cursors.xml");
        mManager = GetWindowManager();
    }
    void TearDown() override
    {
        DestroyWindowManager();
        DestroyCursors();
        CanvasTest::TearDown();
    }
    TSpy* Spy(const char* name, int x = 0, int y = 0, int w = 1366, int h = 768)
    {
        return new TSpy(&mLog, name, x, y, w, h);
    }
    TSpy* SpyChild(TMyWindow* parent, const char* name, int x, int y, int w, int h)
    {
        TSpy* child = Spy(name, x, y, w, h);
        parent->AddChild(child);
        return child;
    }
    // The log since the last call.
    TLog Take()
    {
        TLog taken;
        taken.swap(mLog);
        return taken;
    }
    std::string CursorName() { return GetGameCursors()->Current()->mName; }
    void Updates(int n)
    {
        for (int i = 0; i < n; ++i) mManager->Update(kStep);
    }

    TLog mLog;
    TMyWindowManager* mManager = nullptr;
};

TEST_F(WindowManagerTest, PressCapturesTheButtonWhereverTheReleaseHappens)
{
    TSpy* screen = Spy("screen");
    mManager->ShowScreen(screen, false, 0);
    TSpy* button = SpyChild(screen, "button", 100, 50, 200, 100);
    button->mHandCursor = true;
    Take();

    mManager->OnMouseMove(PointerAt(110, 60, 0));
    EXPECT_EQ(Take(), (TLog{"button enter", "button move 10,10"}));
    EXPECT_EQ(CursorName(), "hand");
    mManager->OnMouseDown(PointerAt(110, 60, 1));
    EXPECT_EQ(Take(), (TLog{"button down 10,10 b1"}));

    // Off the button: the screen under the pointer may not keep the hover while it is held.
    mManager->OnMouseMove(PointerAt(400, 400, 1));
    EXPECT_EQ(Take(), (TLog{"button leave", "screen enter", "screen move 400,400", "screen leave",
                            "button drag 300,350 b1"}));
    EXPECT_EQ(CursorName(), "default");
    mManager->OnMouseMove(PointerAt(120, 70, 1));
    EXPECT_EQ(Take(), (TLog{"button enter", "button move 20,20", "button drag 20,20 b1"}));
    EXPECT_EQ(CursorName(), "hand");
    mManager->OnMouseMove(PointerAt(500, 500, 1));
    Take();

    mManager->OnMouseUp(PointerAt(500, 500, 2));
    EXPECT_EQ(Take(), TLog{});
    EXPECT_EQ(mManager->CaptureMask(), 1);
    mManager->OnMouseUp(PointerAt(500, 500, 1));
    EXPECT_EQ(Take(), (TLog{"button up 400,450 b1"}));
    EXPECT_EQ(mManager->CaptureMask(), 0);
    EXPECT_EQ(mManager->Captured(), nullptr);
}

TEST_F(WindowManagerTest, ShownDialogIsModalForClicksAndKeys)
{
    struct Case {
        const char* what;
        std::function<void(TMyWindow* lower, TMyWindow* upper)> change;
        int x, y;
        const char* clicked;  // "" nobody
        const char* keys;
    } cases[] = {
        {"outside the top dialog: nobody", [](TMyWindow*, TMyWindow*) {}, 10, 10, "", "upper"},
        {"inside the top dialog", [](TMyWindow*, TMyWindow*) {}, 510, 10, "upper", "upper"},
        {"hidden top dialog", [](TMyWindow*, TMyWindow* u) { u->mVisible = false; }, 10, 10, "lower", "lower"},
        {"transparent top dialog", [](TMyWindow*, TMyWindow* u) { u->mAlpha = 0.0f; }, 10, 10, "lower", "lower"},
        {"disabled top dialog", [](TMyWindow*, TMyWindow* u) { u->mDisabled = true; }, 10, 10, "lower", "lower"},
        {"no dialog qualifies",
         [](TMyWindow* l, TMyWindow* u) {
             l->mDisabled = true;
             u->mVisible = false;
         },
         10, 10, "screen", "screen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DestroyWindowManager();
        mManager = GetWindowManager();
        mManager->ShowScreen(Spy("screen"), false, 0);
        TSpy* lower = Spy("lower", 0, 0, 400, 300);
        TSpy* upper = Spy("upper", 500, 0, 400, 300);
        mManager->AddWindow(lower, 0);
        mManager->AddWindow(upper, 0);
        c.change(lower, upper);
        Take();
        mManager->OnMouseDown(PointerAt(c.x, c.y, 1));
        TKeyEvent key;
        key.mKey = 'k';
        mManager->OnKeyDown(&key);
        TLog expected;
        if (*c.clicked) expected.push_back(std::string(c.clicked) + " down " + std::to_string(c.x - (c.clicked == std::string("upper") ? 500 : 0)) + ",10 b1");
        expected.push_back(std::string(c.keys) + " key 107");
        EXPECT_EQ(Take(), expected);
    }
}

TEST_F(WindowManagerTest, DoubleClickWheelAndHoverCursor)
{
    TSpy* screen = Spy("screen");
    mManager->ShowScreen(screen, false, 0);
    TSpy* button = SpyChild(screen, "button", 100, 50, 200, 100);
    button->mHandCursor = true;
    mManager->OnMouseMove(PointerAt(110, 60, 0));
    // The enter chose "text"; the hand-cursor flag is applied after it.
    EXPECT_EQ(CursorName(), "hand");
    Take();

    mManager->OnMouseDown(PointerAt(110, 60, 1));
    mManager->OnMouseUp(PointerAt(110, 60, 1));
    mManager->OnMouseDown(PointerAt(110, 60, 1));
    mManager->OnDoubleClick(PointerAt(110, 60, 1));
    EXPECT_EQ(Take(), (TLog{"button down 10,10 b1", "button up 10,10 b1", "button down 10,10 b1", "button double 10,10"}));
    EXPECT_EQ(mManager->CaptureMask(), 0);
    EXPECT_EQ(mManager->Captured(), button);

    // The wheel goes where the pointer last moved, not to its own point.
    mManager->OnMouseWheel(PointerAt(900, 700, -1));
    EXPECT_EQ(Take(), (TLog{"button wheel 10,10 b-1"}));

    mManager->OnMouseMove(PointerAt(110, 60, 0));
    EXPECT_EQ(Take(), TLog{});  // no move where the pointer did not move
    mManager->OnMouseMove(PointerAt(700, 600, 0));
    EXPECT_EQ(Take(), (TLog{"button leave", "screen enter", "screen move 700,600"}));
    EXPECT_EQ(CursorName(), "default");
}

TEST_F(WindowManagerTest, InputEventsBecomeOneCallEach)
{
    TSpy* screen = Spy("screen");
    mManager->ShowScreen(screen, false, 0);
    SpyChild(screen, "button", 100, 50, 200, 100);
    mManager->OnMouseMove(PointerAt(110, 60, 0));
    Take();
    struct Case {
        int type, param;
        TLog expected;
    } cases[] = {
        {kInputRightButton, 1, {"button down 10,10 b2"}},
        {kInputRightButton, 7, {}},
        {kInputRightButton, 0, {"button up 10,10 b2"}},
        {kInputLeftDown, 1, {"button down 10,10 b1"}},
        {kInputLeftUp, 1, {"button up 10,10 b1"}},
        {kInputWheel, 3, {"button wheel 10,10 b1"}},
        {kInputKeyDown, 'x', {"screen key 120", "button key 120"}},
        {kInputKeyUp, 'x', {"screen keyup 120", "button keyup 120"}},
        {kInputText, 0xE9, {"screen text 233", "button text 233"}},
        {kInputLeave, 0, {}},
        {kInputFocus, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        TInputEvent event;
        event.mType = c.type;
        event.mParam = c.param;
        event.mX = 110;
        event.mY = 60;
        mManager->HandleEvent(event);
        EXPECT_EQ(Take(), c.expected);
    }
}

TEST_F(WindowManagerTest, UpdateWalkShowsDelayedWindowsAndSurvivesClosingAndAdding)
{
    TLifeListener life(&mLog);
    TSpy* paused = Spy("paused");
    mManager->ShowScreen(paused, false, 0);
    paused->SetPaused(true);
    TSpy* first = Spy("first", 0, 0, 10, 10);
    TSpy* second = Spy("second", 0, 0, 10, 10);
    TSpy* late = Spy("late", 0, 0, 10, 10);
    for (TSpy* w : {first, second, late}) w->mListener = &life;
    first->mAutoDelete = true;
    mManager->AddWindow(first, 0);
    mManager->AddWindow(second, 0);
    TSpy* delayed = Spy("delayed", 0, 0, 10, 10);
    delayed->mListener = &life;
    mManager->AddWindow(delayed, 0.3f);
    GetMessageManager()->Post("tick", 0.1f);
    Take();

    first->mOnUpdate = [&] {
        first->mClosed = true;
        mManager->AddWindow(late, 0);
    };
    Updates(1);
    EXPECT_EQ(Take(), (TLog{"first update", "late shown", "late added", "first removed", "first hidden",
                            "first deleted", "second update", "late update"}));
    Updates(1);
    EXPECT_FALSE(GetMessageManager()->IsPending("tick")) << "the update steps the dispatcher";
    Updates(2);
    EXPECT_EQ(mManager->PendingCount(), 1);
    Take();
    Updates(1);
    EXPECT_EQ(Take(), (TLog{"delayed shown", "delayed added", "second update", "late update", "delayed update"}));
    DestroyMessageManager();
}

TEST_F(WindowManagerTest, ClosedScreenIsDeletedOnlyWithAutoDelete)
{
    TSpy* kept = Spy("kept");
    TSpy* dropped = Spy("dropped");
    dropped->mAutoDelete = true;
    mManager->ShowScreen(kept, false, 0);
    mManager->ShowScreen(dropped, false, 0);
    kept->mClosed = dropped->mClosed = true;
    Take();
    Updates(1);
    EXPECT_EQ(Take(), (TLog{"dropped update", "dropped hidden", "dropped deleted", "kept update", "kept hidden"}));
    EXPECT_EQ(mManager->ScreenCount(), 0);
    delete kept;
}

TEST_F(WindowManagerTest, FaderSwapsScreensAtFullCover)
{
    TLifeListener life(&mLog);
    mManager->AddFader(new TFaderShadow());
    TSpy* old = Spy("old");
    old->mAutoDelete = true;
    old->mListener = &life;
    mManager->ShowScreen(old, false, 0);
    old->mNoteDraws = true;
    TSpy* next = Spy("next");
    next->mId = 6;
    next->mNoteDraws = true;
    mManager->ShowScreen(next, true, 1);
    mManager->ShowScreen(old, true, 1);  // already a screen: nothing
    Take();
    Updates(7);
    EXPECT_EQ(mManager->FindWindow(6), nullptr);
    Take();
    mManager->Draw();
    mManager->OnMouseDown(PointerAt(5, 5, 1));
    EXPECT_EQ(Take(), (TLog{"old draw", "old down 5,5 b1"}));
    Updates(1);
    EXPECT_EQ(Take(), (TLog{"old update", "old hidden", "next shown", "old removed", "old deleted"}));
    EXPECT_EQ(mManager->TopScreen(), next);
    Updates(11);
    EXPECT_NE(mManager->ActiveFader(), nullptr);
    Updates(1);
    EXPECT_EQ(mManager->ActiveFader(), nullptr);
}

struct TFadeLog : TFaderListener {
    std::vector<std::string> mSeen;
    int mUpdate = 0;
    void OnFadeStarted(TFader*) override { mSeen.push_back("started " + std::to_string(mUpdate)); }
    void OnFadeFull(TFader*) override { mSeen.push_back("full " + std::to_string(mUpdate)); }
    void OnFadeDone(TFader*) override { mSeen.push_back("done " + std::to_string(mUpdate)); }
};

TEST_F(WindowManagerTest, FadeBetweenEqualValuesIsFullAtOnce)
{
    TFadeLog log;
    TFaderShadow shadow;
    shadow.mListener = &log;
    shadow.FadeBetween(0.3f, 0.3f, 1.0f);
    for (log.mUpdate = 1; log.mUpdate <= 8; ++log.mUpdate) {
        shadow.Update(kStep);
        if (log.mUpdate == 2) {
            EXPECT_EQ(shadow.mState, TFaderShadow::kWaiting);
        }
    }
    EXPECT_EQ(log.mSeen, (std::vector<std::string>{"started 0", "full 1", "done 6"}));

    // Without a listener the shadow tells nobody and still runs to its end.
    TFaderShadow alone;
    alone.FadeBetween(0.0f, 1.0f, 0.5f);
    for (int i = 0; i < 30; ++i) alone.Update(kStep);
    EXPECT_EQ(alone.mState, TFaderShadow::kIdle);
}

// A pocket's shadow: with keep-shown it rests at the alpha of the fade-in and is never done;
// without it the same fade comes back to its start and ends.
TEST_F(WindowManagerTest, FadeBetweenKeepShownRestsAtItsTarget)
{
    for (bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "keep shown" : "plain");
        TFadeLog log;
        TFaderShadow shadow;
        shadow.mKeepShown = keep;
        shadow.mListener = &log;
        shadow.FadeBetween(0.0f, 0.7f, 0.2f);
        shadow.Update(0.1f);
        EXPECT_NEAR(shadow.mTween.mCurrent, 0.35f, 1e-4f);
        for (int i = 0; i < 40; ++i) shadow.Update(0.05f);
        const bool done = std::find(log.mSeen.begin(), log.mSeen.end(), "done 0") != log.mSeen.end();
        EXPECT_EQ(std::count(log.mSeen.begin(), log.mSeen.end(), "full 0"), 1);
        if (keep) {
            EXPECT_NEAR(shadow.mTween.mCurrent, 0.7f, 1e-4f);
            EXPECT_FALSE(done);
        } else {
            EXPECT_NEAR(shadow.mTween.mCurrent, 0.0f, 1e-4f);
            EXPECT_TRUE(done);
        }
    }
}

// Every instance lives in one slot, so a new widget takes the address of the deleted one.
alignas(std::max_align_t) unsigned char gSlot[sizeof(TSpy) + 64];
struct TSlotSpy : TSpy {
    using TSpy::TSpy;
    static void* operator new(size_t) { return gSlot; }
    static void operator delete(void*) {}
};

TEST_F(WindowManagerTest, WidgetDeletedUnderHoverAndCaptureIsNeverReached)
{
    TSpy* screen = Spy("screen");
    mManager->ShowScreen(screen, false, 0);
    screen->AddChild(new TSlotSpy(&mLog, "button", 100, 50, 200, 100));
    mManager->OnMouseMove(PointerAt(110, 60, 0));
    mManager->OnMouseDown(PointerAt(110, 60, 1));
    Take();
    screen->RemoveAllChildren(true, false);
    EXPECT_EQ(Take(), (TLog{"button deleted"}));
    // The newcomer at the same address is neither hovered nor captured.
    TMyWindow* newcomer = new TSlotSpy(&mLog, "newcomer", 600, 600, 10, 10);
    ASSERT_EQ(static_cast<void*>(newcomer), static_cast<void*>(gSlot));
    screen->AddChild(newcomer);
    mManager->OnMouseMove(PointerAt(112, 62, 1));
    mManager->OnMouseUp(PointerAt(112, 62, 1));
    EXPECT_EQ(Take(), (TLog{"screen enter", "screen move 112,62", "screen leave"}));
    EXPECT_EQ(mManager->CaptureMask(), 0);
}

// Deletes the widget it hears leave, through the widget's parent.
struct TDeleteOnLeave : TMyWindowListener {
    void OnWindowMouseLeave(TMyWindow* w) override { w->mParent->RemoveAllChildren(true, false); }
};

TEST_F(WindowManagerTest, WidgetDeletedByItsOwnLeaveIsLeftAlone)
{
    TDeleteOnLeave deleter;
    TSpy* screen = Spy("screen");
    mManager->ShowScreen(screen, false, 0);
    TSpy* button = SpyChild(screen, "button", 100, 50, 200, 100);
    button->mHandCursor = true;
    button->mListener = &deleter;
    mManager->OnMouseMove(PointerAt(110, 60, 0));
    Take();
    mManager->OnMouseMove(PointerAt(700, 600, 0));
    EXPECT_EQ(Take(), (TLog{"button leave", "button deleted", "screen enter", "screen move 700,600"}));
    EXPECT_EQ(mManager->Hovered(), screen);
}

TEST_F(WindowManagerTest, ScreenClosingItselfDuringTheFadeIsDeletedOnce)
{
    mManager->AddFader(new TFaderShadow());
    TSpy* old = Spy("old");
    old->mAutoDelete = true;
    mManager->ShowScreen(old, false, 0);
    TSpy* next = Spy("next");
    mManager->ShowScreen(next, true, 1);
    Updates(3);
    old->mClosed = true;
    Updates(5);
    TLog log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "old deleted"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "next shown"), 1);
    EXPECT_EQ(mManager->TopScreen(), next);
}

TEST_F(WindowManagerTest, SupersededWaitingScreenIsDeletedOnce)
{
    mManager->AddFader(new TFaderShadow());
    TSpy* old = Spy("old");
    old->mAutoDelete = true;
    mManager->ShowScreen(old, false, 0);
    TSpy* first = Spy("first");
    first->mAutoDelete = true;
    TSpy* second = Spy("second");
    mManager->ShowScreen(first, true, 1);
    Take();
    Updates(2);
    mManager->ShowScreen(first, true, 1);  // the same window only restarts the fade
    EXPECT_EQ(Take(), (TLog{"old update", "old update"}));
    mManager->ShowScreen(second, true, 1);
    EXPECT_EQ(Take(), (TLog{"first deleted"}));
    Updates(8);
    EXPECT_EQ(mManager->TopScreen(), second);
    TLog log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "second shown"), 1);

    // Destroyed in the middle of a fade, the waiting screen goes with the manager.
    TSpy* waiting = Spy("waiting");
    waiting->mAutoDelete = true;
    mManager->ShowScreen(waiting, true, 1);
    Updates(2);
    Take();
    DestroyWindowManager();
    log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "waiting deleted"), 1);
}

TEST_F(WindowManagerTest, UnknownFaderNumberSwitchesAtOnce)
{
    TLogWatch watch;
    TSpy* old = Spy("old");
    old->mAutoDelete = true;
    mManager->ShowScreen(old, false, 0);
    TSpy* next = Spy("next");
    Take();
    mManager->ShowScreen(next, true, 7);
    EXPECT_EQ(Take(), (TLog{"old hidden", "next shown", "old deleted"}));
    EXPECT_EQ(mManager->TopScreen(), next);
    EXPECT_EQ(mManager->ScreenCount(), 1);
    EXPECT_TRUE(watch.Has("ShowScreen: there is no fader 7, the screen changes at once")) << watch.Text();
}

}  // namespace
