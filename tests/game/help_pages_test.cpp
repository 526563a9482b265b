// The help book: where a page's pictures and texts land, what its texts read, paging and the
// animations of the current page, and a book without pages.
#include "game/help_pages.h"

#include "help_fixture.h"
#include "log_watch.h"

namespace {

class HelpPagesTest : public HelpTest {
protected:
    void TearDown() override
    {
        mBook = THelpPages();  // its textures go before the renderer
        HelpTest::TearDown();
    }

    void LoadBook(const char* fixture)
    {
        UseFixture(fixture, "help.xml");
        mBook.Load("help.xml");
    }

    TCadrImage& Animation(int page) { return *mBook.GetPage(page)->mAnimations[0].mPicture; }

    THelpPages mBook;
};

TEST_F(HelpPagesTest, PicturesFollowTheOrigin)
{
    LoadBook("pages.xml");
    ASSERT_EQ(3, mBook.GetPageCount());
    struct Case {
        int originX, originY;
    } cases[] = {{200, 100}, {300, 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.originX);
        mBook.mOriginX = c.originX;
        mBook.mOriginY = c.originY;
        Clear(0, 0, 0);
        mBook.Draw(0, 1.0f);
        // DX 100, DY 50; the image at (20, 100), the animation at (20, 200).
        int left = c.originX + 120;
        EXPECT_TRUE(IsPic(left, c.originY + 150));
        EXPECT_FALSE(IsPic(left - 1, c.originY + 150));
        EXPECT_EQ(0, FrameAt(left, c.originY + 250));
        EXPECT_EQ(-1, FrameAt(left - 1, c.originY + 250));
    }
    // Nothing stayed behind at the first place.
    EXPECT_FALSE(IsPic(320, 250));
}

TEST_F(HelpPagesTest, TextItemsReadTheirRectangleKeyAndLooks)
{
    LoadBook("pages.xml");
    const std::vector<THelpText>& texts = mBook.GetPage(0)->mTexts;
    ASSERT_EQ(3u, texts.size());
    struct Case {
        int x, y, w, h;
        const wchar_t* text;
    } cases[] = {
        {110, 70, 300, 40, L"by_rect"},  // a rect with a width ignores x, y, w, h
        {130, 110, 200, 24, L"by_xywh"},  // width 0: x, y, w, h
        {100, 350, 100, 20, L""},         // no "id"
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].x, texts[i].mX);
        EXPECT_EQ(cases[i].y, texts[i].mY);
        EXPECT_EQ(cases[i].w, texts[i].mW);
        EXPECT_EQ(cases[i].h, texts[i].mH);
        EXPECT_EQ(cases[i].text, texts[i].mText);
    }
    EXPECT_EQ(1, texts[0].mAlign);
    EXPECT_EQ("default", texts[0].mFont);
    EXPECT_EQ(30, texts[0].mFontSize);
    EXPECT_FLOAT_EQ(1.0f, texts[0].mColor.r);
    EXPECT_FLOAT_EQ(0.0f, texts[0].mColor.g);
}

TEST_F(HelpPagesTest, TextsDrawInTheirFontAndColour)
{
    LoadBook("pages.xml");
    Clear(128, 128, 128);
    mBook.Draw(1, 1.0f);
    // No "font" draws in "default"; an unknown one draws nothing; no "color" is opaque black.
    EXPECT_GT(CountColour({300, 10, 300, 30}, 255, 0, 0), 0);
    EXPECT_EQ(0, CountColour({300, 50, 300, 30}, 255, 0, 0));
    EXPECT_GT(CountColour({300, 90, 300, 30}, 0, 0, 0), 0);
}

TEST_F(HelpPagesTest, PagingRestartsTheCurrentPagesAnimations)
{
    LoadBook("pages.xml");
    EXPECT_EQ(0, mBook.GetCurrent());
    EXPECT_TRUE(Animation(0).IsPlaying());
    EXPECT_FALSE(Animation(1).IsPlaying());

    mBook.Update(0.25f);
    mBook.Update(0.25f);
    EXPECT_EQ(2, Animation(0).GetCurrentFrame());
    // Prev on the first page stays there, and its animation starts again.
    mBook.Prev();
    EXPECT_EQ(0, mBook.GetCurrent());
    EXPECT_EQ(0, Animation(0).GetCurrentFrame());
    EXPECT_TRUE(Animation(0).IsPlaying());

    mBook.Next();
    EXPECT_EQ(1, mBook.GetCurrent());
    EXPECT_TRUE(Animation(1).IsPlaying());
    mBook.Update(0.25f);
    mBook.Update(0.25f);
    EXPECT_EQ(2, Animation(1).GetCurrentFrame());
    EXPECT_EQ(0, Animation(0).GetCurrentFrame());  // only the current page moves

    const int steps[][2] = {{+1, 2}, {+1, 2}, {-1, 1}, {-1, 0}, {-1, 0}};
    for (const auto& step : steps) {
        if (step[0] > 0)
            mBook.Next();
        else
            mBook.Prev();
        EXPECT_EQ(step[1], mBook.GetCurrent());
        EXPECT_EQ(0, Animation(step[1]).GetCurrentFrame());
    }
}

TEST_F(HelpPagesTest, BookWithoutPages)
{
    TLogWatch log;
    mBook.Load("help.xml");
    EXPECT_TRUE(log.Text().find("File not found help.xml") != std::string::npos) << log.Text();

    TLogWatch quiet;
    THelpPages empty;
    UseFixture("nopages.xml", "help.xml");
    empty.Load("help.xml");
    for (THelpPages* book : {&mBook, &empty}) {
        EXPECT_EQ(0, book->GetPageCount());
        book->Next();
        book->Prev();
        book->Update(0.25f);
        book->Draw(0, 1.0f);
        book->Draw(book->GetCurrent(), 1.0f);
        EXPECT_EQ(0, book->GetCurrent());
    }
    EXPECT_EQ("", quiet.Text());
}

}  // namespace
