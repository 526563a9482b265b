// The name entry field: editing, undo, limits, the listener's vetoes, mouse placement,
// scrolling, blinking and drawing, measured with 10-pixel test glyphs.
#include "ui/edit_window.h"

#include <SDL.h>

#include <functional>

#include "text_fixture.h"
#include "ui/ui_elements.h"
#include "ui/ui_test_layout.h"

namespace {

struct TEditSpy : TMyEditListener {
    std::vector<std::string> mLog;
    bool mAcceptKey = true;
    bool mAcceptChar = true;
    bool mAcceptText = true;
    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
    void OnEditEnter(int id, const std::wstring& text) override
    {
        mLog.push_back("enter " + std::to_string(id) + " " + Narrow(text));
    }
    bool AcceptKey(int, int) override { return mAcceptKey; }
    bool AcceptChar(int, int) override { return mAcceptChar; }
    bool AcceptText(int, const std::wstring& text) override
    {
        mLog.push_back("text " + Narrow(text));
        return mAcceptText;
    }
};

class EditWindow : public TextTest {
protected:
    void SetUp() override
    {
        TextTest::SetUp();
        mField = new TMyEditWindow(&mWindow);
        mField->SetRect(50, 40, 100, 30);
        mField->mMaxLength = -1;
        mField->SetEditListener(&mSpy);
    }

    void Type(const std::wstring& text)
    {
        for (wchar_t c : text) mField->HandleInput(0, c);
    }

    // Text, caret and anchor as one value, for readable failures.
    std::string State() const
    {
        return TEditSpy::Narrow(mField->mText) + "|" + std::to_string(mField->mCaret) + "|" +
               std::to_string(mField->mAnchor);
    }

    TMyWindow mWindow;
    TMyEditWindow* mField = nullptr;  // owned by the window
    TEditSpy mSpy;
};

void Place(TMyEditWindow& f, const wchar_t* text, int caret, int anchor)
{
    f.mText = text;
    f.mCaret = caret;
    f.mAnchor = anchor;
}

TEST_F(EditWindow, HandleInputEditsTheTextCaretAndSelection)
{
    struct Step {
        int key;
        int character;
        const char* state;  // text|caret|anchor after the step
    };
    struct Case {
        const char* what;
        std::function<void(TMyEditWindow&)> setup;
        std::vector<Step> steps;
    } cases[] = {
        {"a set text is replaced by typing", [](TMyEditWindow& f) { f.SetText(L"Anna", true); }, {{0, 'x', "x|1|-1"}}},
        {"undo swaps with the state before the run",
         [](TMyEditWindow&) {},
         {{0, 'a', "a|1|-1"}, {0, 'b', "ab|2|-1"}, {0, 'c', "abc|3|-1"}, {0, 26, "|0|-1"}, {0, 26, "abc|3|-1"}}},
        {"backspace at 0", [](TMyEditWindow& f) { Place(f, L"abc", 0, -1); }, {{8, 0, "abc|0|-1"}}},
        {"backspaces", [](TMyEditWindow& f) { Place(f, L"abc", 3, -1); }, {{8, 0, "ab|2|-1"}, {8, 0, "a|1|-1"}}},
        {"backspace over a selection", [](TMyEditWindow& f) { Place(f, L"abcd", 3, 1); }, {{8, 0, "ad|1|-1"}}},
        {"delete inside and at the end",
         [](TMyEditWindow& f) { Place(f, L"abc", 1, -1); },
         {{127, 0, "ac|1|-1"}, {SDLK_END, 0, "ac|2|-1"}, {127, 0, "ac|2|-1"}}},
        {"typing over a selection", [](TMyEditWindow& f) { Place(f, L"abcd", 1, 3); }, {{0, 'x', "axd|2|-1"}}},
        {"left and right with a selection go to its ends",
         [](TMyEditWindow& f) { Place(f, L"abcd", 3, 1); },
         {{SDLK_LEFT, 0, "abcd|1|-1"}, {SDLK_LEFT, 0, "abcd|0|-1"}, {SDLK_LEFT, 0, "abcd|0|-1"}}},
        {"right with a selection", [](TMyEditWindow& f) { Place(f, L"abcd", 1, 3); },
         {{SDLK_RIGHT, 0, "abcd|3|-1"}, {SDLK_RIGHT, 0, "abcd|4|-1"}, {SDLK_RIGHT, 0, "abcd|4|-1"}}},
        {"home and end", [](TMyEditWindow& f) { Place(f, L"abc", 1, -1); },
         {{SDLK_HOME, 0, "abc|0|-1"}, {SDLK_END, 0, "abc|3|-1"}}},
        {"length limit cuts after the insertion",
         [](TMyEditWindow& f) {
             f.mMaxLength = 10;
             Place(f, L"abcdefghij", 10, -1);
         },
         {{0, 'k', "abcdefghij|10|-1"}}},
        {"width limit cuts the last characters",
         [](TMyEditWindow& f) {
             f.mMaxWidth = 25;
             f.SetText(L"abc", true);
         },
         {{SDLK_END, 0, "ab|2|-1"}}},
        {"a refused character leaves the selection", [](TMyEditWindow& f) { f.SetText(L"Anna", true); },
         {{0, 31, "Anna|4|0"}, {0, 0x10000, "Anna|4|0"}, {'x', 0, "Anna|4|0"}, {0, 0x100, "Anna|4|0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Place(*mField, L"", 0, -1);
        mField->mLastEditPos = 0;
        mField->mMaxLength = -1;
        mField->mMaxWidth = -1;
        c.setup(*mField);
        for (const Step& step : c.steps) {
            mField->HandleInput(step.key, step.character);
            EXPECT_EQ(step.state, State()) << "after " << step.key << "/" << step.character;
        }
    }
}

TEST_F(EditWindow, ListenerHearsCutTextsAndEnterAndMayRefuse)
{
    mField->mMaxLength = 10;
    mField->mId = 101;
    Place(*mField, L"abcdefghij", 10, -1);
    mField->HandleInput(0, 'k');
    EXPECT_EQ((std::vector<std::string>{"text abcdefghij"}), mSpy.mLog);

    Place(*mField, L"abc", 3, -1);
    mSpy.mLog.clear();
    mField->HandleInput(13, 0);
    EXPECT_EQ((std::vector<std::string>{"enter 101 abc", "text abc"}), mSpy.mLog);

    mSpy.mAcceptText = false;
    mField->HandleInput(0, 'x');
    EXPECT_EQ("abc|3|-1", State());
    EXPECT_EQ("text abcx", mSpy.mLog.back());

    mSpy.mAcceptText = true;
    mSpy.mAcceptChar = false;
    mSpy.mLog.clear();
    mField->OnTextInput('x');
    mField->HandleInput(0, 'x');
    EXPECT_EQ("abc|3|-1", State());
    EXPECT_TRUE(mSpy.mLog.empty());
}

TEST_F(EditWindow, KeyDownAloneTypesNothingAndAsksForNoText)
{
    mField->SetText(L"Anna", true);
    TKeyEvent key{'x', 0};
    EXPECT_TRUE(mField->OnKeyDown(&key));
    EXPECT_EQ("Anna|4|0", State());
    EXPECT_TRUE(mSpy.mLog.empty());
    mField->OnTextInput('x');
    EXPECT_EQ("x|1|-1", State());

    // Refused keys never reach the field, and it still takes them.
    mSpy.mAcceptKey = false;
    key.mKey = SDLK_HOME;
    EXPECT_TRUE(mField->OnKeyDown(&key));
    EXPECT_EQ(1, mField->mCaret);
}

TEST_F(EditWindow, FieldWithoutListenerTakesEverything)
{
    mField->SetEditListener(nullptr);
    mField->mId = 3;
    mField->OnTextInput(0xE9);
    mField->HandleInput(13, 0);
    EXPECT_EQ(std::wstring(1, wchar_t(0xE9)), mField->mText);
}

TEST_F(EditWindow, FieldWithoutFontTakesNoTyping)
{
    TUIInfoHolder holder;
    ASSERT_TRUE(LoadLayoutText(holder, "<object name='e' type='edit' x='50' y='40' w='100' h='30' font='missing' "
                                       "flags='-1' outlinecolor='255.0.0.255' color='0.255.0.255'/>"));
    TMyEditWindow* field = CreateEditWindow(dynamic_cast<const TUIEdit*>(holder.Find("e")), &mWindow);
    ASSERT_EQ(nullptr, field->GetTextRenderer()->mFont);
    field->SetText(L"ab", true);
    field->mMaxWidth = 25;
    field->OnTextInput('x');
    field->HandleInput(SDLK_END, 0);
    EXPECT_EQ(L"ab", field->mText);
    EXPECT_EQ(2, field->mCaret);
    Clear(0, 0, 0);
    field->Draw();
    // Only the outline and the caret, at the field's left edge.
    EXPECT_EQ((SDL_Rect{50, 40, 101, 31}), DrawnBox(0, 0, 0));
    ExpectPixel(54, 50, 255, 0, 0);
    ExpectPixel(60, 50, 0, 0, 0);
}

TEST_F(EditWindow, MousePlacesTheCaretAndDragsASelection)
{
    Place(*mField, L"abc", 0, -1);
    const int xs[] = {0, 9, 10, 25, 1000};
    const int indexes[] = {0, 0, 1, 2, 3};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(indexes[i], mField->CharIndexAt(xs[i], 0)) << xs[i];

    mField->OnMouseDown(PointerAt(25, 5, 1));
    EXPECT_EQ("abc|2|-1", State());
    mField->OnMouseDrag(PointerAt(3, 5, 1));
    EXPECT_EQ("abc|0|2", State());
    mField->OnMouseUp(PointerAt(3, 5, 1));
    EXPECT_EQ("abc|0|2", State());

    mField->OnMouseDown(PointerAt(15, 5, 1));
    mField->OnMouseDrag(PointerAt(15, 5, 1));
    EXPECT_EQ("abc|1|1", State());
    mField->OnMouseUp(PointerAt(15, 5, 1));
    EXPECT_EQ("abc|1|-1", State());

    Place(*mField, L"ab cd", 1, -1);
    mField->SelectWordAtCaret();
    EXPECT_EQ("ab cd|3|0", State());
}

TEST_F(EditWindow, ScrollingStopsAndStaysInsideTheText)
{
    // A glyph as wide as the field minus 8 never fits: the scroll must still stop.
    mField->SetRect(50, 40, 15, 30);
    mField->HandleInput(0, 'a');
    EXPECT_EQ(L"a", mField->mText);
    EXPECT_EQ(0, mField->mScroll);

    // 16 letters scroll a 100-pixel field; an undo refused by the listener brings back "x",
    // and the scroll must come back inside it.
    mField->SetRect(50, 40, 100, 30);
    mField->SetText(L"abcdefghijklmnop", true);
    mField->HandleInput(0, 'x');
    EXPECT_EQ("x|1|-1", State());
    mSpy.mAcceptText = false;
    mField->HandleInput(0, 26);
    EXPECT_EQ("x|1|-1", State());
    EXPECT_EQ(0, mField->mScroll);
    mField->Draw();

    mSpy.mAcceptText = true;
    mField->SetText(L"abcdefghijklmnop", false);
    EXPECT_EQ(10, mField->mScroll);
    mField->HandleInput(SDLK_HOME, 0);
    EXPECT_EQ(0, mField->mScroll);
}

TEST_F(EditWindow, CaretBlinksOnceASecondAndShowsAfterAMove)
{
    Place(*mField, L"abc", 3, -1);
    mField->mCaretVisible = false;
    mField->mBlinkTimer = 0.5f;
    mField->HandleInput(SDLK_LEFT, 0);
    EXPECT_TRUE(mField->mCaretVisible);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_FALSE(mField->Update(0.25f));
        EXPECT_EQ(i < 4 || i >= 8, mField->mCaretVisible) << i * 0.25f << " s";
    }
}

TEST_F(EditWindow, DrawsOutlineOutsideCaretAndText)
{
    mField->mOutlineColor = {1, 0, 0, 1};
    mField->mTextColor = {0, 1, 0, 1};
    Place(*mField, L"ab", 2, -1);
    Clear(0, 0, 0);
    mField->Draw();
    // Outline: top and left at the field, bottom and right one pixel outside.
    ExpectPixel(50, 40, 255, 0, 0);
    ExpectPixel(149, 40, 255, 0, 0);
    ExpectPixel(100, 70, 255, 0, 0);
    ExpectPixel(150, 69, 255, 0, 0);
    ExpectPixel(50, 69, 255, 0, 0);
    ExpectPixel(151, 55, 0, 0, 0);
    // Caret at x + 20 + 4, from y + 5 for h - 10 rows.
    ExpectPixel(74, 45, 255, 0, 0);
    ExpectPixel(74, 64, 255, 0, 0);
    ExpectPixel(74, 44, 0, 0, 0);
    ExpectPixel(74, 65, 0, 0, 0);
    // Text from x + 4, baseline 40 + (30 + 8) / 2 - 1 = 58: glyph rows 50..59.
    ExpectPixel(54, 50, 0, 255, 0);
    ExpectPixel(71, 59, 0, 255, 0);
    ExpectPixel(53, 50, 0, 0, 0);
    EXPECT_EQ((SDL_Rect{50, 40, 101, 31}), DrawnBox(0, 0, 0));

    // A caret past the field is held 8 pixels inside it.
    Place(*mField, L"abcdefghijkl", 12, -1);
    mField->mScroll = 0;
    Clear(0, 0, 0);
    mField->Draw();
    ExpectPixel(50 + 92 + 4, 62, 255, 0, 0);

    // Lines at y 0 or above the screen are skipped; the caret is drawn from y 5.
    mField->mText.clear();
    mField->mCaret = 0;
    mField->SetRect(50, 0, 100, 30);
    Clear(0, 0, 0);
    mField->Draw();
    ExpectPixel(80, 0, 0, 0, 0);
    ExpectPixel(50, 10, 0, 0, 0);
    ExpectPixel(150, 10, 0, 0, 0);
    ExpectPixel(80, 30, 255, 0, 0);
    ExpectPixel(54, 5, 255, 0, 0);
    mField->mCaretVisible = false;
    Clear(0, 0, 0);
    mField->Draw();
    ExpectPixel(54, 5, 0, 0, 0);
}

TEST_F(EditWindow, LayoutDescriptionFillsFieldAndRenderer)
{
    TUIInfoHolder holder;
    ASSERT_TRUE(LoadLayoutText(holder, "<object name='e' type='edit' x='0.5' y='40' w='200' h='30' halign='0' "
                                       "font='big' flags='-1' color='0.255.0.255' outlinecolor='255.0.0.255' "
                                       "backcolor='1.2.3.255' id='9' dofinger='1' drawoutline='0'/>"));
    TMyEditWindow* field = CreateEditWindow(dynamic_cast<const TUIEdit*>(holder.Find("e")), &mWindow);
    ASSERT_EQ(field, mWindow.mChildren.back());
    EXPECT_EQ(683, field->mX);  // as written: no alignment
    EXPECT_EQ(200, field->mWidth);
    TSimpleTextImage* renderer = field->GetTextRenderer();
    EXPECT_EQ(683, renderer->mX);
    EXPECT_EQ(30, renderer->mHeight);
    EXPECT_EQ(TFontManager::Instance()->GetFont("big"), renderer->mFont);
    EXPECT_EQ(-1, renderer->mAlignment);
    ExpectColor(field->mTextColor, 0, 1, 0, 1);
    ExpectColor(field->mOutlineColor, 1, 0, 0, 1);
    EXPECT_FLOAT_EQ(1.0f / 255.0f, field->mBackColor.r);
    EXPECT_EQ(9, field->mId);
    EXPECT_EQ("e", field->mName);
    EXPECT_TRUE(field->mHandCursor);
    EXPECT_FALSE(field->mDrawOutline);
    EXPECT_EQ(0, field->GetKind());
    EXPECT_EQ(10, field->mMaxLength);
}

}  // namespace
