// The help dialog in the window manager, driven by real SDL events: its page flies with it,
// the arrows page without closing and show only where there is a page to go to, close
// flies out with the result 0, and a book without pages still opens and closes.
#include "game/help_window.h"

#include <SDL_image.h>

#include "ui/button.h"
#include "ui/dialog_fixture.h"

namespace {

// Counts its own deletions, so a dialog deleted twice or never shows.
struct TCountedHelpWindow : THelpWindow {
    int* mDeleted;
    TCountedHelpWindow(TFlyWindowListener* listener, int* deleted) : THelpWindow(listener), mDeleted(deleted) {}
    ~TCountedHelpWindow() override { ++*mDeleted; }
};

SDL_Color SheetColour(int k)
{
    static const SDL_Color colours[] = {{250, 40, 40, 255}, {40, 250, 40, 255}, {40, 40, 250, 255}, {250, 250, 40, 255}};
    return colours[k & 3];
}

const SDL_Color kPicColour{200, 100, 250, 255};

class HelpWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        SolidPng("pic.png", 40, 30, kPicColour);
        SavePng("sheet.png", MakeSurface(128, 32, SDL_PIXELFORMAT_ABGR8888,
                                         [](int x, int) { return SheetColour(x / 32); }));
    }

    void UseBook(const char* fixture)
    {
        std::string bytes = ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/help/" + fixture);
        ASSERT_FALSE(bytes.empty()) << fixture;
        ASSERT_TRUE(WriteWholeFile(AssetPath("help.xml"), bytes));
    }

    // A dialog in the manager, flown in and shown.
    THelpWindow* Open()
    {
        THelpWindow* help = new TCountedHelpWindow(&mFly, &mDeleted);
        mManager->AddWindow(help, 0);
        for (int i = 0; i < 40 && help->GetState() != TFlyWindow::kShown; ++i) Updates(1);
        EXPECT_EQ(TFlyWindow::kShown, help->GetState());
        Take();
        return help;
    }

    TMyButton* ButtonOf(THelpWindow* help, const char* name) { return dynamic_cast<TMyButton*>(help->FindChild(name)); }

    void ClickButton(THelpWindow* help, const char* name)
    {
        TMyButton* button = ButtonOf(help, name);
        ASSERT_TRUE(button) << name;
        Click(help->GetX() + button->GetX() + button->GetWidth() / 2, help->GetY() + button->GetY() + button->GetHeight() / 2);
        Updates(1);
    }

    // Which arrows are visible: "prev", "next", "both" or "none".
    std::string Arrows(THelpWindow* help)
    {
        bool prev = ButtonOf(help, "help_prev")->mVisible;
        bool next = ButtonOf(help, "help_next")->mVisible;
        return prev && next ? "both" : prev ? "prev" : next ? "next" : "none";
    }

    bool OnCanvas(int x, int y) const { return x >= 0 && y >= 0 && x < mSurface->w && y < mSurface->h; }

    bool IsPic(int x, int y)
    {
        if (!OnCanvas(x, y)) return false;
        TPixel p = Pixel(x, y);
        return p.r == kPicColour.r && p.g == kPicColour.g && p.b == kPicColour.b;
    }

    int FrameAt(int x, int y)
    {
        if (!OnCanvas(x, y)) return -1;
        TPixel p = Pixel(x, y);
        for (int k = 0; k < 4; ++k) {
            SDL_Color c = SheetColour(k);
            if (p.r == c.r && p.g == c.g && p.b == c.b) return k;
        }
        return -1;
    }

    int mDeleted = 0;
};

TEST_F(HelpWindowTest, PageFliesWithTheDialog)
{
    UseBook("pages.xml");
    THelpWindow* help = new TCountedHelpWindow(&mFly, &mDeleted);
    mManager->AddWindow(help, 0);
    // In flight and arrived: DX 100 and "x" 20 put both pictures 120 pixels in.
    std::vector<int> tops;
    for (int i = 0; i < 12; ++i) {
        Updates(1);
        int left = help->GetX() + 120;
        int top = help->GetY();
        if (top + 150 < 0) continue;  // still above the screen
        SCOPED_TRACE(top);
        tops.push_back(top);
        Clear(0, 0, 0);
        help->Draw();
        EXPECT_TRUE(IsPic(left, top + 150));
        EXPECT_FALSE(IsPic(left - 1, top + 150));
        EXPECT_GE(FrameAt(left, top + 250), 0);
        EXPECT_EQ(-1, FrameAt(left - 1, top + 250));
    }
    ASSERT_GE(tops.size(), 2u);
    EXPECT_NE(tops.front(), tops.back()) << "the dialog did not move";
    EXPECT_EQ(TFlyWindow::kShown, help->GetState());
}

TEST_F(HelpWindowTest, ArrowsShowWhereThereIsAPageToGoTo)
{
    UseBook("pages.xml");
    THelpWindow* help = Open();
    EXPECT_EQ("next", Arrows(help));
    help->GetPages().Next();
    help->UpdateButtons();
    EXPECT_EQ("both", Arrows(help));
    help->GetPages().Next();
    help->UpdateButtons();
    EXPECT_EQ("prev", Arrows(help));

    UseBook("onepage.xml");
    THelpWindow* single = new TCountedHelpWindow(&mFly, &mDeleted);
    EXPECT_EQ("none", Arrows(single));
    delete single;
}

TEST_F(HelpWindowTest, ArrowsPageAndRestartTheAnimations)
{
    UseBook("pages.xml");
    THelpWindow* help = Open();
    THelpPages& book = help->GetPages();
    auto frameOf = [&](int page) { return book.GetPage(page)->mAnimations[0].mPicture->GetCurrentFrame(); };

    // Prev on the first page: no page change, no close, the animation from its first frame.
    book.GetPage(0)->mAnimations[0].mPicture->Play(-1);
    Updates(4);
    ASSERT_EQ(2, frameOf(0));
    help->OnButtonClick(THelpWindow::kId, help, THelpWindow::kButtonPrev, ButtonOf(help, "help_prev"));
    EXPECT_EQ(0, book.GetCurrent());
    EXPECT_EQ(0, frameOf(0));
    // The hidden arrow takes no click: nothing restarts.
    Updates(4);
    ClickButton(help, "help_prev");
    EXPECT_EQ(2, frameOf(0));

    const struct {
        const char* button;
        int page;
        const char* arrows;
    } steps[] = {{"help_next", 1, "both"}, {"help_next", 2, "prev"}, {"help_prev", 1, "both"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.page);
        Updates(1);
        ClickButton(help, step.button);
        EXPECT_EQ(step.page, book.GetCurrent());
        EXPECT_EQ(step.arrows, Arrows(help));
        // Restarted by the click, then one update of 1/8 s: still on the first frame.
        EXPECT_EQ(0, frameOf(step.page));
    }
    EXPECT_EQ(TFlyWindow::kShown, help->GetState());
    EXPECT_EQ(TLog(), Take());
    EXPECT_EQ(0, mDeleted);
}

TEST_F(HelpWindowTest, CloseFliesOutWithResultZero)
{
    UseBook("pages.xml");
    THelpWindow* help = Open();
    ClickButton(help, "help_close");
    EXPECT_EQ(TFlyWindow::kFlyingOut, help->GetState());
    Updates(20);
    EXPECT_EQ(TLog({"sound flywindow", "fly closing 333", "fly closed 333 result 0", "window hidden 333"}), Take());
    EXPECT_EQ(1, mDeleted);
    Updates(4);
    EXPECT_EQ(1, mDeleted);
}

TEST_F(HelpWindowTest, BookWithoutPagesOpensAndCloses)
{
    for (const char* fixture : {"", "nopages.xml"}) {
        SCOPED_TRACE(fixture);
        TLogWatch log;
        if (*fixture)
            UseBook(fixture);
        else
            unlink(AssetPath("help.xml").c_str());
        int deletedBefore = mDeleted;
        THelpWindow* help = Open();
        EXPECT_EQ(0, help->GetPages().GetPageCount());
        EXPECT_EQ("none", Arrows(help));
        Clear(0, 0, 0);
        help->Draw();
        help->OnButtonClick(THelpWindow::kId, help, THelpWindow::kButtonNext, nullptr);
        help->OnButtonClick(THelpWindow::kId, help, THelpWindow::kButtonPrev, nullptr);
        EXPECT_EQ("none", Arrows(help));
        ClickButton(help, "help_close");
        Updates(20);
        EXPECT_EQ(deletedBefore + 1, mDeleted);
        EXPECT_EQ(TLog({"sound flywindow", "fly closing 333", "fly closed 333 result 0", "window hidden 333"}), Take());
        bool missing = log.Text().find("File not found help.xml") != std::string::npos;
        EXPECT_EQ(*fixture == 0, missing) << log.Text();
    }
}

}  // namespace

namespace {

TEST_F(HelpWindowTest, ShippedPagesThroughRealClicks)
{
    ASSERT_EQ(0, symlink(BRISALO_ASSETS "/help.xml", AssetPath("help.xml").c_str()));
    THelpWindow* help = Open();
    EXPECT_EQ(THelpWindow::kId, help->mId);
    // The page area starts at (40, 76) of the dialog; the pictures are 400 x 260.
    const struct {
        const char* button;
        int page;
        const char* picture;
        int x;
    } steps[] = {{nullptr, 0, "page1", 0}, {"help_next", 1, "page2", 420}, {"help_next", 2, "page3", 0},
                 {"help_prev", 1, "page2", 420}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.page);
        if (step.button) ClickButton(help, step.button);
        EXPECT_EQ(step.page, help->GetPages().GetCurrent());
        Clear(0, 0, 0);
        help->Draw();
        SDL_Color want = FilePixel(std::string(BRISALO_ASSETS) + "/textures/help/" + step.picture + ".png", -1, -1);
        ExpectPixel(help->GetX() + 40 + step.x + 200, help->GetY() + 76 + 54 + 130, want.r, want.g, want.b);
    }
    // Back to the first page: its animation's centre changes within half a second.
    ClickButton(help, "help_prev");
    ASSERT_EQ(0, help->GetPages().GetCurrent());
    const int cx = help->GetX() + 40 + 152 + 48, cy = help->GetY() + 76 + 334 + 48;
    Clear(0, 0, 0);
    help->Draw();
    TPixel first = Pixel(cx, cy);
    bool changed = false;
    for (int i = 0; i < 3 && !changed; ++i) {  // 0.125 s more each, after the click's own update
        Updates(1);
        Clear(0, 0, 0);
        help->Draw();
        TPixel now = Pixel(cx, cy);
        changed = now.r != first.r || now.g != first.g || now.b != first.b;
    }
    EXPECT_TRUE(changed);

    ClickButton(help, "help_close");
    Updates(20);
    EXPECT_EQ(TLog({"sound flywindow", "fly closing 333", "fly closed 333 result 0", "window hidden 333"}), Take());
    EXPECT_EQ(1, mDeleted);
}

}  // namespace
