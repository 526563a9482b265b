// The text label: alignment, colour, word wrap and what it reads from a layout.
#include "ui/text_image.h"

#include "core/display.h"
#include "text_fixture.h"
#include "ui/cursors.h"
#include "ui/ui_elements.h"
#include "ui/ui_test_layout.h"

namespace {

class TextImage : public TextTest {
protected:
    // A label in the recording font at (20, 30) of a parent at (5, 7).
    TSimpleTextImage& Label(const std::string& text, int w = 301, int h = 31)
    {
        mLabel.SetRect(20, 30, w, h);
        mLabel.mDrawOffsetX = 5;
        mLabel.mDrawOffsetY = 7;
        mLabel.SetPlainText(text);
        mLabel.mFont = mFont.get();
        return mLabel;
    }

    std::vector<TDrawnLine> Drawn()
    {
        mFont->mLines.clear();
        mLabel.DrawSelf();
        return mFont->mLines;
    }

    TSimpleTextImage mLabel;
};

TEST_F(TextImage, AlignmentPlacesTheLineInItsWidth)
{
    // The text is 100 wide in 301: halves truncate, so centred starts 100 in.
    struct Case {
        int alignment;
        int x;
    } cases[] = {{0, 100}, {1, 201}, {-1, 0}, {2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment);
        Label("abcdefghij").mAlignment = c.alignment;
        std::vector<TDrawnLine> lines = Drawn();
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(25 + c.x, lines[0].x);
        EXPECT_EQ(37 + (31 + 8) / 2 - 1, lines[0].y);
        EXPECT_EQ(L"abcdefghij", lines[0].text);
    }
    // Wider than its widget: the centred text starts left of it.
    Label("abcdefghij", 81).mAlignment = 0;
    EXPECT_EQ(25 - 9, Drawn()[0].x);
}

TEST_F(TextImage, ColourByStateWithInheritedAlphaAndClampedBytes)
{
    TMyWindow parent;
    parent.AddChild(&mLabel);
    struct Case {
        const char* what;
        TFloatColor normal, over, selected;
        bool hover, selectedFlag;
        float parentAlpha, ownAlpha;
        uint32_t expected;
    } cases[] = {
        {"normal", {1, 0, 0, 0.1f}, {0, 1, 0, 1}, {0, 0, 1, 1}, false, false, 1, 1, 0xFFFF0000u},
        {"hover beats normal", {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, true, false, 1, 1, 0xFF00FF00u},
        {"selected beats hover", {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, true, true, 1, 1, 0xFF0000FFu},
        {"parent 0.5 x own 0.5", {1, 1, 1, 1}, {}, {}, false, false, 0.5f, 0.5f, 0x3FFFFFFFu},
        {"bytes clamped", {1.5f, -0.2f, 0.5f, 1}, {}, {}, false, false, 1, 2, 0xFFFF007Fu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Label("a");
        mLabel.mColor = c.normal;
        mLabel.mOverColor = c.over;
        mLabel.mSelectedColor = c.selected;
        mLabel.mHover = c.hover;
        mLabel.mSelected = c.selectedFlag;
        parent.mAlpha = c.parentAlpha;
        mLabel.mAlpha = c.ownAlpha;
        std::vector<TDrawnLine> lines = Drawn();
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(c.expected, lines[0].color) << std::hex << lines[0].color;
    }
    parent.mChildren.clear();
    mLabel.mParent = nullptr;
}

TEST_F(TextImage, NothingDrawnWithoutTextFontOrVisibility)
{
    Label("");
    EXPECT_TRUE(Drawn().empty());
    Label("a").mFont = nullptr;
    EXPECT_TRUE(Drawn().empty());
    Label("a").mVisible = false;
    EXPECT_TRUE(Drawn().empty());
    mLabel.Draw();
    EXPECT_TRUE(mFont->mLines.empty());
}

TEST_F(TextImage, RegistryFontDrawsTheGlyphsInTheTextColour)
{
    Clear(0, 0, 0);
    TSimpleTextImage label;
    label.SetFont("default");
    label.SetRect(10, 20, 20, 20);
    label.mAlignment = -1;
    label.mColor = {1, 0, 0, 1};
    label.SetPlainText("ab");
    label.Draw();
    // Baseline 20 + (20 + 8) / 2 - 1 = 33: each glyph fills rows 25..34, 8 of its 10 columns.
    EXPECT_EQ((SDL_Rect{10, 25, 18, 10}), DrawnBox(0, 0, 0));
    ExpectPixel(10, 25, 255, 0, 0);
    ExpectPixel(18, 30, 0, 0, 0);
    ExpectPixel(20, 34, 255, 0, 0);
    label.SetFont("nosuchfont");
    EXPECT_EQ(nullptr, label.mFont);
}

TEST_F(TextImage, WordWrapBreaksAtSpacesLineFeedsOrInsideWords)
{
    struct Case {
        const char* text;
        int width;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"ab cd", 35, {L"ab", L"cd"}},
        // The break falls at the space that overflowed; the spaces after it are skipped.
        {"ab   cd", 35, {L"ab ", L"cd"}},
        {"abcdef", 35, {L"abc", L"def"}},
        {"ab\n\ncd", 35, {L"ab", L"", L"cd"}},
        {"ab\n  cd", 45, {L"ab", L"  cd"}},
        {"abc", 5, {L"a", L"b", L"c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Label(c.text, c.width, 100).mWrapped = true;
        mLabel.mAlignment = -1;
        std::vector<TDrawnLine> drawn = Drawn();
        std::vector<std::wstring> texts;
        for (const TDrawnLine& line : drawn) texts.push_back(line.text);
        EXPECT_EQ(c.lines, texts);
        EXPECT_EQ(c.lines, mLabel.WrappedLines(c.width)) << "the lines listed are the lines drawn";
        // Ascent - padding + (lines - 1) x spacing + descent; the block is centred, less one.
        const int lines = static_cast<int>(c.lines.size());
        const int height = 8 - 1 + (lines - 1) * 12 + 2;
        EXPECT_EQ(height, mLabel.WrappedHeight(c.width));
        const int top = 37 + (100 - height) / 2 - 1;
        for (int i = 0; i < static_cast<int>(drawn.size()); ++i) {
            EXPECT_EQ(top + 7 + i * 12, drawn[i].y) << i;
            EXPECT_EQ(25, drawn[i].x) << i;
        }
    }
}

TEST_F(TextImage, WrappedLinesAlignEachOnTheirOwn)
{
    Label("abc d", 45, 100).mWrapped = true;
    mLabel.mAlignment = 1;
    std::vector<TDrawnLine> drawn = Drawn();
    ASSERT_EQ(2u, drawn.size());
    EXPECT_EQ(25 + 15, drawn[0].x);
    EXPECT_EQ(25 + 35, drawn[1].x);
}

TEST_F(TextImage, TextsFromKeysAndBytes)
{
    mLabel.SetTextKey("no_such_key");
    EXPECT_EQ(L"no_such_key", mLabel.mText);
    mLabel.SetPlainText("caf\xE9");
    EXPECT_EQ(std::wstring(L"caf") + wchar_t(0xE9), mLabel.mText);
    EXPECT_EQ("no_such_key", mLabel.mKey);
    mLabel.ClearText();
    EXPECT_EQ(L"", mLabel.mText);
}

TEST_F(TextImage, LayoutDescriptionsFillTheLabel)
{
    TUIInfoHolder holder;
    ASSERT_TRUE(LoadLayoutText(holder,
                               "<object name='centred' type='imagetext' x='400' y='100' w='200' h='40' halign='0' "
                               "font='default' flags='1' color='255.0.0.255' overcolor='0.255.0.255' "
                               "selectedcolor='0.0.255.255' text='caption' wrapped='1' id='7' dofinger='1'/>"
                               "<object name='plain' type='text' x='10' y='20' w='30' h='40' color='0.0.255.255'/>"));
    TMyWindow parent;
    TSimpleTextImage* label = CreateTextImage(dynamic_cast<const TUIText*>(holder.Find("centred")), &parent);
    ASSERT_EQ(1u, parent.mChildren.size());
    EXPECT_EQ(label, parent.mChildren[0]);
    EXPECT_EQ(300, label->mX);  // centred on x
    EXPECT_EQ(100, label->mY);
    EXPECT_EQ(200, label->mWidth);
    EXPECT_EQ(40, label->mHeight);
    EXPECT_EQ(TFontManager::Instance()->GetFont("default"), label->mFont);
    EXPECT_EQ(1, label->mAlignment);
    ExpectColor(label->mColor, 1, 0, 0, 1);
    ExpectColor(label->mOverColor, 0, 1, 0, 1);
    ExpectColor(label->mSelectedColor, 0, 0, 1, 1);
    EXPECT_EQ(L"caption", label->mText);
    EXPECT_TRUE(label->mWrapped);
    EXPECT_EQ(7, label->mId);
    EXPECT_EQ("centred", label->mName);
    EXPECT_TRUE(label->mHandCursor);
    EXPECT_EQ(4, label->GetKind());

    // A plain "text" has no wrap flag, over or selected colour: the label keeps its own.
    label->ApplyInfo(dynamic_cast<const TUIText*>(holder.Find("plain")));
    EXPECT_EQ(10, label->mX);
    ExpectColor(label->mColor, 0, 0, 1, 1);
    ExpectColor(label->mOverColor, 0, 1, 0, 1);
    ExpectColor(label->mSelectedColor, 0, 0, 1, 1);
    EXPECT_TRUE(label->mWrapped);
    EXPECT_EQ(nullptr, label->mFont);
    label->ApplyInfo(nullptr);
    EXPECT_EQ(10, label->mX);
}

TEST_F(TextImage, HandCursorLabelShowsTheSpotOnEntering)
{
    MakeFolder("cur");
    for (const char* name : {"arrow", "hand", "spot", "text"}) SolidPng(std::string("cur/") + name + ".png", 4, 4, {255, 255, 255, 255});
    ASSERT_TRUE(WriteWholeFile(AssetPath("cursors.xml"),
                               "<cursorset><cursors><cursor name='default' filename='cur/arrow'/>"
                               "<cursor name='hand' filename='cur/hand'/><cursor name='handspot' filename='cur/spot'/>"
                               "</cursors></cursorset>"));
    LoadCursors("cursors.xml");
    ASSERT_TRUE(GameCursorsExist());
    TSimpleTextImage label;
    label.OnMouseEnter();
    EXPECT_EQ("default", GetGameCursors()->Current()->mName);
    label.OnMouseLeave();
    label.mHandCursor = true;
    label.OnMouseEnter();
    EXPECT_EQ("handspot", GetGameCursors()->Current()->mName);
    EXPECT_TRUE(label.mHover);
    label.OnMouseLeave();
    EXPECT_EQ("default", GetGameCursors()->Current()->mName);
    DestroyCursors();
}

}  // namespace
