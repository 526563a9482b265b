#include "game/selected_text.h"

#include "core/display.h"
#include "game/profile_fixture.h"

namespace {
std::string Bytes(const TFloatColor& c)
{
    return std::to_string(ColorByte(c.r)) + "." + std::to_string(ColorByte(c.g)) + "." + std::to_string(ColorByte(c.b)) +
           "." + std::to_string(ColorByte(c.a));
}
// over | back | frame | selected | normal
std::string Colors(const TUITextSelected* e)
{
    return Bytes(e->mOverColor) + "|" + Bytes(e->mBackColor) + "|" + Bytes(e->mFrameColor) + "|" +
           Bytes(e->mSelectedColor) + "|" + Bytes(e->mNormalColor);
}
struct TLineSpy : TMyWindowListener {
    int mCalls = 0;
    void OnWindowMouseEnter(TMyWindow*) override { ++mCalls; }
    void OnWindowMouseLeave(TMyWindow*) override { ++mCalls; }
};
}  // namespace

class SelectedTextTest : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        if (TiXmlElement* root = LoadXmlDocument("fixtures/selected_lines.xml")) mHolder.Load(root);
        DeleteCurrentXmlDocument();
        mWrongStyleLines = mWatch.Count("TUIImageText  wrong style conversion");
    }
    TUITextSelected* Element(const char* name) { return dynamic_cast<TUITextSelected*>(mHolder.Find(name)); }
    // How many pixels of the line's rectangle have this colour.
    int Count(const TMyWindow* line, int r, int g, int b)
    {
        int n = 0;
        for (int y = line->mY; y < line->mY + line->mHeight; ++y)
            for (int x = std::max(0, line->mX); x < line->mX + line->mWidth; ++x) {
                TPixel p = Pixel(x, y);
                n += p.r == r && p.g == g && p.b == b;
            }
        return n;
    }

    TUIInfoHolderSelectUser mHolder;
    size_t mWrongStyleLines = 0;
};

TEST_F(SelectedTextTest, ElementReadsItsFiveColours)
{
    TUITextSelected* full = Element("full");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->mKind, 7);
    EXPECT_EQ(Colors(full), "0.100.0.255|0.0.100.255|0.100.100.255|100.100.0.255|100.0.0.255");
    // No fallback to "color": the hover of such a line is black.
    EXPECT_EQ(Colors(Element("bare")), "0.0.0.0|0.0.0.0|0.0.0.0|0.0.0.0|100.0.0.255");

    TUIInfoHolder plain;
    if (TiXmlElement* root = LoadXmlDocument("fixtures/selected_lines.xml")) plain.Load(root);
    DeleteCurrentXmlDocument();
    EXPECT_EQ(plain.Find("full"), nullptr);
    EXPECT_EQ(plain.FindStyle("own"), nullptr);
}

TEST_F(SelectedTextTest, StyleOfEachKindIsReadAsWhatItIs)
{
    // Its own kind: opaque colours replace, transparent ones keep the element's.
    TUITextSelected* styled = Element("styled");
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled->mFont, "big");
    EXPECT_EQ(styled->mFlags, 1);
    EXPECT_EQ(Colors(styled), "0.100.0.255|7.8.9.255|0.100.100.255|10.11.12.255|1.2.3.255");

    // A text style: its font, flags and three colours; it has no back or frame colour.
    TUITextSelected* texted = Element("texted");
    ASSERT_NE(texted, nullptr);
    EXPECT_EQ(texted->mFont, "big");
    EXPECT_EQ(texted->mFlags, 2);
    EXPECT_EQ(Colors(texted), "40.50.60.255|0.0.0.0|0.0.0.0|70.80.90.255|10.20.30.255");

    // A button style is refused whole.
    TUITextSelected* buttoned = Element("buttoned");
    ASSERT_NE(buttoned, nullptr);
    EXPECT_EQ(buttoned->mFont, "default");
    EXPECT_EQ(Colors(buttoned), "0.0.0.0|0.0.0.0|0.0.0.0|0.0.0.0|100.0.0.255");
    EXPECT_EQ(mWrongStyleLines, 1u);
}

TEST_F(SelectedTextTest, HoverChangesOnlyAnUnselectedLineQuietly)
{
    TSimpleTextSelected line;
    line.ApplyLineInfo(Element("full"));
    TLineSpy spy;
    line.SetListener(&spy);
    line.OnMouseEnter();
    EXPECT_EQ(Bytes(line.mColor), "0.100.0.255");
    line.OnMouseLeave();
    EXPECT_EQ(Bytes(line.mColor), "100.0.0.255");
    line.SetLineSelected(true);
    line.mHover = true;  // the manager sets it before telling the widget
    line.OnMouseEnter();
    EXPECT_EQ(Bytes(line.mColor), "100.100.0.255");
    EXPECT_EQ(line.TextColor() & 0xFFFFFF, 0x646400u);
    line.OnMouseLeave();
    EXPECT_EQ(Bytes(line.mColor), "100.100.0.255");
    EXPECT_EQ(spy.mCalls, 0);
    EXPECT_EQ(Take(), TLog{});
}

TEST_F(SelectedTextTest, SelectedLineDrawsBackFrameAndText)
{
    TSimpleTextSelected line;
    line.ApplyLineInfo(Element("full"));
    line.mText = L"WWWW";
    line.SetLineSelected(true);
    Clear(0, 0, 0);
    line.DrawSelf();
    ExpectPixel(10, 20, 0, 100, 100);    // frame, top left
    ExpectPixel(309, 59, 0, 100, 100);   // frame, bottom right inside the rectangle
    ExpectPixel(310, 60, 0, 0, 0);
    ExpectPixel(12, 22, 0, 0, 100);      // back
    EXPECT_GT(Count(&line, 100, 100, 0), 20);

    line.SetLineSelected(false);
    line.mHover = true;
    line.OnMouseEnter();
    Clear(0, 0, 0);
    line.DrawSelf();
    ExpectPixel(12, 22, 0, 0, 0);
    EXPECT_GT(Count(&line, 0, 100, 0), 20);
    EXPECT_EQ(Count(&line, 100, 100, 0), 0);

    // Off the left edge the back is not filled at all.
    line.SetLineSelected(true);
    line.SetPosition(-1, 20);
    Clear(0, 0, 0);
    line.DrawSelf();
    ExpectPixel(2, 22, 0, 0, 0);
    ExpectPixel(2, 20, 0, 0, 0);  // nor the top of the frame
    ExpectPixel(298, 30, 0, 100, 100);
}
