// Buttons: looks from the sheet, the look chosen from the flags, the click protocol through the
// window manager with real press, move and release records, the hit area, the caption, the
// cursor and the mover.
#include "ui/button.h"

#include "graphics/drawing_fixture.h"
#include "ui/cursors.h"
#include "ui/text_image.h"
#include "ui/ui_elements.h"
#include "ui/ui_test_layout.h"
#include "ui/window_manager.h"

#include <algorithm>
#include <list>

namespace {

typedef std::vector<std::string> TLog;

struct TButtonLog : TMyButtonListener {
    TLog heard;
    bool allow = true;
    bool hoverAnswer = true;
    int state = -1;  // -1: no answer
    void OnButtonClicking(int, TMyWindow*, int, TMyButton*, bool* ok) override
    {
        heard.push_back("clicking");
        *ok = allow;
    }
    void OnButtonClick(int parentId, TMyWindow*, int id, TMyButton*) override
    {
        heard.push_back("click " + std::to_string(parentId) + " " + std::to_string(id));
    }
    void OnDisabledButtonClick(int, TMyWindow*, int, TMyButton*) override { heard.push_back("disabled click"); }
    bool OnDisabledButtonHover(int, TMyWindow*, int, TMyButton*) override
    {
        heard.push_back("disabled hover");
        return hoverAnswer;
    }
    void OnButtonPressed(int, TMyWindow*, int, TMyButton*) override { heard.push_back("pressed"); }
    void OnButtonEnter(int, TMyWindow*, int, TMyButton*) override { heard.push_back("enter"); }
    void OnButtonLeave(int, TMyWindow*, int, TMyButton*) override { heard.push_back("leave"); }
    void OnButtonMoveFinished(TMyButton*) override { heard.push_back("move finished"); }
    void OnButtonMoveStarted(TMyButton*) override { heard.push_back("move started"); }
    bool GetButtonState(TMyButton*, int* look) override
    {
        if (state < 0) return false;
        *look = state;
        return true;
    }
};

struct TMoveCounter : TMyWindowListener {
    int moves = 0;
    void OnWindowMouseMove(TMyWindow*, const TMouseEvent&) override { ++moves; }
};

const SDL_Color kRowColours[4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}};

class ButtonTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        // 120 x 90 in three rows of 30: red, green, blue.
        SavePng("sheet.png", MakeSurface(120, 90, SDL_PIXELFORMAT_ABGR8888, [](int, int y) { return kRowColours[y / 30]; }));
        // 60 x 40, alpha rising with x: 126 at x 0, 127 at x 1.
        SavePng("alpha.png", MakeSurface(60, 40, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                    return SDL_Color{255, 255, 255, static_cast<Uint8>(x == 0 ? 126 : 127)};
                }));
    }
    void TearDown() override
    {
        if (mManaged) DestroyWindowManager();
        mScreen.RemoveAllChildren(true, false);
        DestroyCursors();
        CanvasTest::TearDown();
    }
    TMyButton* Make(const std::string& attributes, TMyWindow* parent = nullptr)
    {
        TUIInfoHolder& holder = mHolders.emplace_back();
        const TUIMyButton* info =
            ReadObject<TUIMyButton>(holder, "<object name=\"o\" type=\"button\" " + attributes + "/>");
        EXPECT_NE(info, nullptr);
        TMyButton* button = CreateButton(const_cast<TUIMyButton*>(info), parent ? parent : &mScreen);
        button->mButtonListener = &mLog;
        return button;
    }
    // A screen of the window manager holding one button at (100, 100).
    TMyButton* Managed(const std::string& attributes)
    {
        mManaged = true;
        TMyWindow* screen = new TMyWindow();
        screen->mId = 5;
        screen->SetRect(0, 0, 1366, 768);
        GetWindowManager()->ShowScreen(screen, false, 0);
        return Make("image=\"sheet\" states=\"3\" x=\"100\" y=\"100\" id=\"9\" " + attributes, screen);
    }
    void Move(int x, int y, int buttons = 0) { GetWindowManager()->OnMouseMove(PointerAt(x, y, buttons)); }
    void Press(int x, int y) { GetWindowManager()->OnMouseDown(PointerAt(x, y, 1)); }
    void Release(int x, int y) { GetWindowManager()->OnMouseUp(PointerAt(x, y, 1)); }
    TLog Take()
    {
        TLog taken;
        taken.swap(mLog.heard);
        return taken;
    }
    void LoadCursorSet(const std::string& names)
    {
        std::string xml = "<cursorset><cursors><cursor name=\"default\"/>";
        for (const std::string& n : {std::string("hand"), std::string("handspot")}) {
            if (names.find(n + ",") != std::string::npos) xml += "<cursor name=\"" + n + "\"/>";
        }
        WriteWholeFile(AssetPath("cursors.xml"), xml + "</cursors></cursorset>");
        LoadCursors("cursors.xml");
    }

    std::list<TUIInfoHolder> mHolders;
    TMyWindow mScreen;
    TButtonLog mLog;
    bool mManaged = false;
};

void ExpectRect(const TUIRect& r, int x, int y, int w, int h)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

TEST_F(ButtonTest, LooksFollowTheStateCount)
{
    const struct {
        const char* states;
        int h;
        int rows[4];
    } cases[] = {
        {"1", 90, {0, 0, 0, 0}},    {"2", 45, {0, 45, 45, 45}}, {"3", 30, {0, 30, 60, 60}},
        {"4", 22, {0, 22, 44, 66}}, {"0", 90, {0, 0, 0, 0}},    {"-3", 90, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.states);
        TMyButton* button = Make("image=\"sheet\" w=\"0\" h=\"0\" states=\"" + std::string(c.states) + "\"");
        EXPECT_EQ(button->GetWidth(), 120);
        EXPECT_EQ(button->GetHeight(), c.h);
        for (int i = 0; i < 4; ++i) ExpectRect(button->mLooks[i], 0, c.rows[i], 120, c.h);
    }
    TMyButton* rects = Make("image=\"sheet\" normalrect=\"1.2.3.4\" overrect=\"5.6.7.8\" downrect=\"9.10.11.12\" "
                            "disabledrect=\"13.14.15.16\"");
    ExpectRect(rects->mLooks[0], 1, 2, 3, 4);
    ExpectRect(rects->mLooks[1], 5, 6, 7, 8);
    ExpectRect(rects->mLooks[2], 9, 10, 11, 12);
    ExpectRect(rects->mLooks[3], 13, 14, 15, 16);
    EXPECT_EQ(rects->GetHeight(), 22);  // four looks implied
}

TEST_F(ButtonTest, EachLookIsDrawnFromItsRow)
{
    TMyButton* button = Make("image=\"sheet\" states=\"3\" x=\"10\" y=\"20\"");
    const struct {
        int look;
        SDL_Color colour;
    } cases[] = {{0, kRowColours[0]}, {1, kRowColours[1]}, {2, kRowColours[2]}, {3, kRowColours[2]}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.look);
        Clear(0, 0, 0);
        button->DrawStateImage(c.look, 0);
        EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{10, 20, 120, 30}));
        ExpectPixel(60, 35, c.colour.r, c.colour.g, c.colour.b);
    }
    Clear(0, 0, 0);
    button->DrawStateImage(2, 40);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{10, 20, 40, 30}));

    // The sheet holds no fourth row: the disabled look falls back to the normal one.
    TMyButton* four = Make("image=\"sheet\" states=\"4\" h=\"30\" x=\"10\" y=\"20\"");
    ExpectRect(four->mLooks[3], 0, 90, 120, 30);
    four->mDisabled = true;
    Clear(0, 0, 0);
    four->DrawSelf();
    ExpectPixel(60, 35, 255, 0, 0);
}

TEST_F(ButtonTest, DrawStateFromTheFlags)
{
    TMyButton* b = Make("image=\"sheet\"");
    const struct {
        const char* what;
        bool hover, pressed, disabled, ticked, highlighted;
        int look;
    } cases[] = {
        {"normal", false, false, false, false, false, 0},
        {"hovered", true, false, false, false, false, 1},
        {"pressed and hovered", true, true, false, false, false, 2},
        {"pressed off it", false, true, false, false, false, 1},
        {"disabled hovered", true, false, true, false, false, 3},
        {"disabled pressed and hovered", true, true, true, false, false, 3},
        {"ticked while disabled", false, false, true, true, false, 2},
        {"highlighted while disabled", false, false, true, false, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        b->mHover = c.hover;
        b->mPressed = c.pressed;
        b->mDisabled = c.disabled;
        b->mTicked = c.ticked;
        b->SetHighlighted(c.highlighted);
        EXPECT_EQ(b->GetDrawState(), c.look);
        EXPECT_EQ(b->IsPressed(), c.look == 2 && c.pressed && !c.disabled);
    }
    mLog.state = 1;
    EXPECT_EQ(b->GetDrawState(), 1);
}

TEST_F(ButtonTest, ClickNeedsPressAndReleaseOnTheButton)
{
    TMyButton* button = Managed("");
    Move(110, 110);
    Press(110, 110);
    EXPECT_TRUE(button->IsPressed());
    Release(110, 110);
    EXPECT_EQ(Take(), (TLog{"enter", "pressed", "clicking", "click 5 9"}));
    EXPECT_FALSE(button->mPressed);
    Move(300, 300);
    EXPECT_EQ(Take(), TLog{"leave"});

    // Off and released there.
    Move(110, 110);
    Press(110, 110);
    Move(400, 400, 1);
    Release(400, 400);
    EXPECT_EQ(Take(), (TLog{"enter", "pressed", "leave"}));
    EXPECT_FALSE(button->mPressed);

    // Off and back before the release.
    Move(110, 110);
    Press(110, 110);
    Move(400, 400, 1);
    Move(110, 110, 1);
    Release(110, 110);
    TLog heard = Take();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "click 5 9"), 0);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "pressed"), 1);
}

TEST_F(ButtonTest, DisabledBetweenPressAndRelease)
{
    TMyButton* button = Managed("");
    Move(110, 110);
    Press(110, 110);
    button->mDisabled = true;
    Release(110, 110);
    EXPECT_EQ(Take(), (TLog{"enter", "pressed", "disabled click"}));
}

TEST_F(ButtonTest, VetoedCheckBoxKeepsItsTick)
{
    TMyButton* box = Managed("checkbox=\"1\"");
    for (bool allow : {true, false, true}) {
        mLog.allow = allow;
        Move(110, 110);
        Press(110, 110);
        Release(110, 110);
        Move(300, 300);
    }
    EXPECT_FALSE(box->mTicked);  // on, kept on, off
    mLog.allow = true;
    Move(110, 110);
    Press(110, 110);
    Release(110, 110);
    EXPECT_TRUE(box->mTicked);
}

TEST_F(ButtonTest, DisabledHoverAnswerStopsTheMove)
{
    TMyButton* button = Make("image=\"sheet\" disabled=\"1\"");
    TMoveCounter windowListener;
    button->mListener = &windowListener;
    button->OnMouseMove(PointerAt(5, 5, 0));
    EXPECT_EQ(windowListener.moves, 0);
    EXPECT_FALSE(button->mHover);
    mLog.hoverAnswer = false;
    button->OnMouseMove(PointerAt(5, 5, 0));
    EXPECT_EQ(windowListener.moves, 1);
    EXPECT_TRUE(button->mHover);
    EXPECT_EQ(Take(), (TLog{"disabled hover", "disabled hover", "enter"}));
    button->mButtonListener = nullptr;  // without a listener a disabled button ignores moves
    button->OnMouseMove(PointerAt(5, 5, 0));
    EXPECT_EQ(windowListener.moves, 1);
}

TEST_F(ButtonTest, HitAreaAndMinimumAlpha)
{
    TMyButton* wide = Make("image=\"alpha\" x=\"10\" y=\"10\" w=\"60\" h=\"40\" states=\"1\" vw=\"100\"");
    const struct {
        int x, y;
        bool inside;
    } cases[] = {{-10, 10, true}, {89, 49, true}, {-11, 10, false}, {90, 10, false}, {40, 9, false}, {40, 50, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(wide->IsInside(c.x, c.y), c.inside);
    }
    TMyButton* scaled = Make("image=\"alpha\" x=\"0\" y=\"0\" states=\"1\" scale=\"0.5\"");
    EXPECT_TRUE(scaled->IsInside(29, 19));
    EXPECT_FALSE(scaled->IsInside(30, 10));

    TMyButton* alpha = Make("image=\"alpha\" states=\"1\" minalpha=\"0.5\"");
    EXPECT_FALSE(alpha->HitTestLocal(0, 5));
    EXPECT_TRUE(alpha->HitTestLocal(1, 5));
    EXPECT_FALSE(alpha->HitTestLocal(60, 5));  // outside the texture
    EXPECT_TRUE(wide->HitTestLocal(-10, 5));   // no alpha test
}

TEST_F(ButtonTest, CaptionPlacesAndHintShowsOnlyWhileHovered)
{
    TMyButton* button = Make("image=\"sheet\" x=\"10\" y=\"20\" text=\"caption\" textrect=\"5.6.50.10\" captionoffx=\"99\"");
    ASSERT_NE(button->mCaption, nullptr);
    EXPECT_EQ(button->mCaption->GetWidth(), 50);
    EXPECT_EQ(button->mCaption->mKey, "caption");
    button->DrawCaption();
    EXPECT_EQ(button->mCaption->mX, 15);
    EXPECT_EQ(button->mCaption->mY, 26);
    button->mPressed = true;
    button->DrawCaption();
    EXPECT_EQ(button->mCaption->mX, 17);
    EXPECT_EQ(button->mCaption->mY, 28);
    EXPECT_FLOAT_EQ(button->mCaption->mColor.a, 1.0f);  // no "color": black, not invisible

    TMyButton* plain = Make("image=\"sheet\" x=\"10\" y=\"20\" text=\"t\" captionoffx=\"3\" captionoffy=\"4\" downtextoff=\"5\"");
    EXPECT_EQ(plain->mCaption->GetWidth(), 120);
    plain->mPressed = true;
    plain->DrawCaption();
    EXPECT_EQ(plain->mCaption->mX, 18);
    EXPECT_EQ(plain->mCaption->mY, 29);

    TMyButton* hint = Make("image=\"sheet\" x=\"10\" y=\"20\" text=\"tip\" textashint=\"1\" hintx=\"-7\" hinty=\"40\"");
    hint->mCaption->mX = -1;
    hint->DrawCaption();
    EXPECT_EQ(hint->mCaption->mX, -1);
    hint->mHover = true;
    hint->DrawCaption();
    EXPECT_EQ(hint->mCaption->mX, 3);
    EXPECT_EQ(hint->mCaption->mY, 60);

    EXPECT_EQ(Make("image=\"sheet\"")->mCaption, nullptr);
}

TEST_F(ButtonTest, CursorOnEntering)
{
    const struct {
        const char* cursors;
        const char* expected;
    } cases[] = {{"hand,handspot,", "hand"}, {"handspot,", "handspot"}, {"hand,", "hand"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cursors);
        LoadCursorSet(c.cursors);
        TMyButton* button = Managed("");
        Move(110, 110);
        EXPECT_EQ(GetGameCursors()->Current()->mName, c.expected);
        Move(500, 500);
        EXPECT_EQ(GetGameCursors()->Current()->mName, "default");
        DestroyWindowManager();
        DestroyCursors();
        (void)button;
    }
    mManaged = false;
}

TEST_F(ButtonTest, MoverSlidesTheButtonAndBackHome)
{
    TMyButton* button = Make("image=\"sheet\" x=\"100\" y=\"100\"");
    button->MoveTo(300, 200, 1);
    EXPECT_EQ(Take(), TLog{"move started"});
    for (int i = 0; i < 2; ++i) button->Update(0.25f);
    EXPECT_EQ(button->GetX(), 200);
    EXPECT_EQ(button->GetY(), 150);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(button->Update(0.25f));
    EXPECT_EQ(button->GetX(), 300);
    EXPECT_EQ(button->GetY(), 200);
    EXPECT_EQ(Take(), TLog{"move finished"});
    button->MoveHome(0.5f);
    button->Update(0.5f);
    EXPECT_EQ(button->GetX(), 100);
    EXPECT_EQ(button->GetY(), 100);
    EXPECT_EQ(Take(), TLog{"move finished"});
}

}  // namespace
