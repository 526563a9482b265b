// The widget tree: hit tests, alignment, key and text routing, drawing alpha, passing
// presses to the parent, ownership of children.
#include "ui/window.h"

#include <climits>
#include <functional>
#include <memory>

#include "graphics/drawing_fixture.h"
#include "core/display.h"
#include "ui/cursors.h"

namespace {

TMyWindow* Child(TMyWindow* parent, const char* name, int x, int y, int w, int h)
{
    TMyWindow* child = new TMyWindow();
    child->mName = name;
    child->SetRect(x, y, w, h);
    parent->AddChild(child);
    return child;
}

struct TVeto : TMyWindowListener {
    bool mAnswer;
    explicit TVeto(bool answer) : mAnswer(answer) {}
    bool HitTestWindow(TMyWindow*, int, int) override { return mAnswer; }
};

TEST(WidgetTree, HitTestFindsTheDeepestWidgetThatMayBeHit)
{
    TVeto no(false), yes(true);
    struct Case {
        const char* what;
        std::function<void(TMyWindow* window)> build;
        int x, y;
        const char* expected;  // "" for nothing
        int localX, localY;
    } cases[] = {
        {"button in a full-screen window", [](TMyWindow* w) { Child(w, "button", 100, 50, 200, 100); }, 110, 60,
         "button", 10, 10},
        {"right and bottom edges are outside", [](TMyWindow* w) { Child(w, "button", 0, 0, 100, 100); }, 100, 99,
         "window", 100, 99},
        {"last inside point", [](TMyWindow* w) { Child(w, "button", 0, 0, 100, 100); }, 99, 99, "button", 99, 99},
        {"later of two overlapping children",
         [](TMyWindow* w) {
             Child(w, "a", 0, 0, 100, 100);
             Child(w, "b", 50, 50, 100, 100);
         },
         60, 60, "b", 10, 10},
        {"brought to front",
         [](TMyWindow* w) {
             TMyWindow* a = Child(w, "a", 0, 0, 100, 100);
             Child(w, "b", 50, 50, 100, 100);
             a->BringToFront();
         },
         60, 60, "a", 60, 60},
        {"grandchild in window coordinates",
         [](TMyWindow* w) { Child(Child(w, "panel", 100, 100, 300, 300), "inner", 10, 20, 50, 50); }, 115, 125,
         "inner", 5, 5},
        {"hidden subtree skipped",
         [](TMyWindow* w) {
             Child(w, "under", 0, 0, 100, 100);
             TMyWindow* k = Child(w, "k", 0, 0, 100, 100);
             Child(k, "kk", 0, 0, 100, 100);
             k->mVisible = false;
         },
         10, 10, "under", 10, 10},
        {"transparent subtree skipped",
         [](TMyWindow* w) {
             Child(w, "under", 0, 0, 100, 100);
             TMyWindow* k = Child(w, "k", 0, 0, 100, 100);
             Child(k, "kk", 0, 0, 100, 100);
             k->mAlpha = 0.0f;
         },
         10, 10, "under", 10, 10},
        {"mouse-deaf subtree skipped",
         [](TMyWindow* w) {
             TMyWindow* k = Child(w, "k", 0, 0, 100, 100);
             Child(k, "kk", 0, 0, 100, 100);
             k->mMouseAllowed = false;
         },
         10, 10, "window", 10, 10},
        {"listener vetoes a visible child",
         [&no](TMyWindow* w) { Child(w, "k", 0, 0, 100, 100)->mListener = &no; }, 10, 10, "window", 10, 10},
        {"listener lets a hidden window be hit",
         [&yes](TMyWindow* w) {
             w->mVisible = false;
             w->mListener = &yes;
         },
         10, 10, "window", 10, 10},
        {"hidden window without listener", [](TMyWindow* w) { w->mVisible = false; }, 10, 10, "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMyWindow window;
        window.mName = "window";
        window.SetRect(0, 0, 1366, 768);
        c.build(&window);
        int lx = -1, ly = -1;
        TMyWindow* found = window.FindWidgetAt(c.x, c.y, &lx, &ly);
        if (!*c.expected) {
            EXPECT_EQ(found, nullptr);
            continue;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->mName, c.expected);
        EXPECT_EQ(lx, c.localX);
        EXPECT_EQ(ly, c.localY);
    }
}

TEST(WidgetTree, AlignmentPlacesTheAnchor)
{
    struct Case {
        const char* what;
        int halign, valign;
        std::function<void(TMyWindow*)> act;
        int x, y;
    } cases[] = {
        {"centred: width 101 at 200", 0, -1, [](TMyWindow* w) { w->SetRect(200, 10, 101, 20); }, 150, 10},
        {"right: width 80 at 500", 1, -1, [](TMyWindow* w) { w->SetRect(500, 10, 80, 20); }, 420, 10},
        {"bottom and middle", -1, 0, [](TMyWindow* w) { w->SetRect(5, 100, 10, 31); }, 5, 85},
        {"bottom", -1, 1, [](TMyWindow* w) { w->SetRect(5, 100, 10, 30); }, 5, 70},
        // Extreme layout values stop at the end of the int range instead of wrapping.
        {"right of the widest at the far left", 1, 1,
         [](TMyWindow* w) { w->SetRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX); }, INT_MIN, INT_MIN},
        {"moved past the end", -1, -1,
         [](TMyWindow* w) {
             w->SetRect(INT_MAX - 5, INT_MIN + 5, 10, 10);
             w->MoveBy(10, -10);
         },
         INT_MAX, INT_MIN},
        {"SetSize anchors the corner again",
         0, -1,
         [](TMyWindow* w) {
             w->mHAlign = -1;
             w->SetRect(200, 0, 100, 10);
             w->mHAlign = 0;
             w->SetSize(50, 10);
         },
         175, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMyWindow w;
        w.mHAlign = c.halign;
        w.mVAlign = c.valign;
        c.act(&w);
        EXPECT_EQ(w.GetX(), c.x);
        EXPECT_EQ(w.GetY(), c.y);
    }
    TMyWindow w;
    w.SetRect(10, 0, 5, 0);
    EXPECT_EQ(w.GetCenterX(), 12);
    w.SetRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(w.GetCenterX(), INT_MAX);
    EXPECT_EQ(w.GetCenterY(), INT_MAX);
}

struct TKeyChild : TMyWindow {
    bool mTakes;
    std::vector<std::string>* mSeen;
    TKeyChild(bool takes, std::vector<std::string>* seen, const char* name) : mTakes(takes), mSeen(seen)
    {
        mName = name;
    }
    bool OnKeyDown(const TKeyEvent* key) override
    {
        mSeen->push_back(mName + " down " + std::to_string(key->mKey));
        return mTakes;
    }
    void OnTextInput(int32_t c) override { mSeen->push_back(mName + " text " + std::to_string(c)); }
};

TEST(WidgetTree, KeysStopAtTheFirstTakerTextReachesEveryChild)
{
    std::vector<std::string> seen;
    TMyWindow window;
    window.AddChild(new TKeyChild(false, &seen, "a"));
    window.AddChild(new TKeyChild(true, &seen, "b"));
    window.AddChild(new TKeyChild(true, &seen, "c"));
    TKeyEvent key;
    key.mKey = 'q';
    EXPECT_TRUE(window.OnKeyDown(&key));
    window.OnTextInput(0xE9);
    EXPECT_EQ(seen, (std::vector<std::string>{"a down 113", "b down 113", "a text 233", "b text 233", "c text 233"}));
}

// Fills its rectangle white at its drawing alpha.
struct TPlate : TMyWindow {
    void DrawSelf() override
    {
        SDL_Rect r{mX + mDrawOffsetX, mY + mDrawOffsetY, mWidth, mHeight};
        SDL_SetRenderDrawBlendMode(GetRenderer(), SDL_BLENDMODE_BLEND);
        GetAppState().mRenderDevice->FillRect(r, 1, 1, 1, mAlpha * GetInheritedAlpha());
    }
};

class WidgetCanvas : public CanvasTest {};

TEST_F(WidgetCanvas, ChildDrawsWithItsAncestorsAlphaAtItsParentsOffset)
{
    TMyWindow window;
    window.SetRect(100, 100, 200, 200);
    window.mAlpha = 0.5f;
    TPlate* plate = new TPlate();
    plate->SetRect(10, 10, 20, 20);
    plate->mAlpha = 0.5f;
    window.AddChild(plate);
    EXPECT_FLOAT_EQ(plate->GetInheritedAlpha(), 0.5f);
    TMyWindow* opaque = new TMyWindow();
    plate->AddChild(opaque);
    EXPECT_FLOAT_EQ(opaque->GetInheritedAlpha(), 0.25f);
    window.Draw();
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{110, 110, 20, 20}));
    ExpectPixel(115, 115, 64, 64, 64, 1);
    EXPECT_EQ(plate->mDrawOffsetX, 0);
}

struct TPressLog : TMyWindowListener, TSoundSink {
    std::vector<std::string> mSeen;
    void OnWindowMouseDown(TMyWindow* w, const TMouseEvent& e) override
    {
        mSeen.push_back(w->mName + " heard " + std::to_string(e.mX) + "," + std::to_string(e.mY));
    }
    void PlayByName(const std::string& name) override { mSeen.push_back("sound " + name); }
};

struct TPressedParent : TMyWindow {
    std::vector<std::string>* mSeen;
    void OnMouseDown(const TMouseEvent& e) override
    {
        mSeen->push_back("parent " + std::to_string(e.mX) + "," + std::to_string(e.mY));
    }
};

TEST(WidgetTree, PressPassedToTheParentAfterListenerAndSound)
{
    TPressLog log;
    SetSoundSink(&log);
    TPressedParent parent;
    parent.mSeen = &log.mSeen;
    TMyWindow* child = Child(&parent, "child", 10, 10, 50, 50);
    child->mListener = &log;
    child->mPressSound = "btnmousedown";
    child->mPassToParent = 2;
    child->OnMouseDown(PointerAt(7, 8, 1));
    child->OnMouseUp(PointerAt(7, 8, 1));  // bit 4 is not set: the parent hears no release
    SetSoundSink(nullptr);
    EXPECT_EQ(log.mSeen, (std::vector<std::string>{"child heard 7,8", "sound btnmousedown", "parent 7,8"}));
}

struct TCounted : TMyWindow {
    int* mDeaths;
    explicit TCounted(int* deaths) : mDeaths(deaths) {}
    TCounted(const TCounted&) = default;
    ~TCounted() override { ++*mDeaths; }
};

TEST_F(WidgetCanvas, DeletingAParentDeletesItsSubtreeOnceAndGivesBackTheDefaultCursor)
{
    WriteWholeFile(AssetPath("cursors.xml"), "<cursorset><cursors><cursor name=\"default\"/>"
                                             "<cursor name=\"hand\"/></cursors></cursorset>");
    LoadCursors("cursors.xml");
    int deaths = 0;
    TMyWindow* parent = new TMyWindow();
    TMyWindow* middle = new TCounted(&deaths);
    parent->AddChild(middle);
    TMyWindow* leaf = new TCounted(&deaths);
    middle->AddChild(leaf);
    middle->AddChild(new TCounted(&deaths));
    leaf->mHandCursor = true;
    leaf->mHover = true;
    leaf->SetHoverCursor(true);
    ASSERT_EQ(GetGameCursors()->Current()->mName, "hand");
    delete parent;
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(GetGameCursors()->Current()->mName, "default");
    DestroyCursors();
}

TEST(WidgetTree, HoverCursorMakesTheCursorSetWhenThereIsNone)
{
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        DestroyCursors();
        TMyWindow widget;
        widget.SetHoverCursor(on);
        EXPECT_TRUE(GameCursorsExist());
        EXPECT_FALSE(GetGameCursors()->HasCurrent()) << "an empty set has nothing to select";
        DestroyCursors();
    }
}

TEST(WidgetTree, CopyStartsWithoutChildren)
{
    int deaths = 0;
    {
        TMyWindow original;
        original.mName = "label";
        original.SetRect(3, 4, 5, 6);
        original.AddChild(new TCounted(&deaths));
        TMyWindow copy(original);
        EXPECT_TRUE(copy.mChildren.empty());
        EXPECT_EQ(copy.mName, "label");
        EXPECT_EQ(copy.GetWidth(), 5);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(WidgetTree, RemoveAllChildrenDetachesOrDeletes)
{
    int deaths = 0;
    TMyWindow parent;
    TMyWindow* kept = new TCounted(&deaths);
    parent.AddChild(kept);
    parent.RemoveAllChildren(false, false);
    EXPECT_TRUE(parent.mChildren.empty());
    EXPECT_EQ(kept->mParent, nullptr);
    EXPECT_EQ(deaths, 0);
    parent.AddChild(kept);
    kept->AddChild(new TCounted(&deaths));
    parent.RemoveAllChildren(true, true);
    EXPECT_EQ(deaths, 2);
}

}  // namespace
