// Whole-program test: real SDL events typed into a name field through the frame loop and the
// window manager, and a screen of labels, the field, a hint bubble and the navigator drawn in
// the shipped fonts and images (both frames are left in the build folder to look at).
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <algorithm>

#include "app/app.h"
#include "app/task.h"
#include "core/app_state.h"
#include "core/localization.h"
#include "core/xml_document.h"
#include "game/cell_item.h"
#include "graphics/drawing_fixture.h"
#include "graphics/font_manager.h"
#include "sdl_events.h"
#include "sound/sound_manager.h"
#include "ui/edit_window.h"
#include "ui/text_image.h"
#include "ui/widget_spy.h"
#include "ui/window_manager.h"

namespace {

uint32_t gNow = 0;
uint32_t FakeTicks() { return gNow; }

struct TEntrySpy : TMyEditListener {
    std::vector<std::wstring> mEntered;
    int mTextChecks = 0;
    bool mAcceptChar = true;
    void OnEditEnter(int, const std::wstring& text) override { mEntered.push_back(text); }
    bool AcceptChar(int, int) override { return mAcceptChar; }
    bool AcceptText(int, const std::wstring&) override
    {
        ++mTextChecks;
        return true;
    }
};

class ProgramTextEntry : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        for (const char* shipped : {"fonts", "textures", "termins.xml", "fonts.xml"})
            ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + shipped).c_str(), AssetPath(shipped).c_str()));
        ASSERT_TRUE(TFontManager::Instance()->Load(LoadXmlDocument("fonts.xml")));
        DeleteCurrentXmlDocument();
        ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
        SetTickSource(FakeTicks);
        gNow = 5000;  // stands still: events are delivered, nothing is updated
        TAppState& app = GetAppState();
        app.mQuit = false;
        app.mActive = true;
        app.mLastFrameTicks = gNow;
        app.mApp.reset(new TGameApp());

        mScreen = new TMyWindow();
        mScreen->SetRect(0, 0, 1366, 768);
        mField = new TMyEditWindow(mScreen);
        mField->SetRect(483, 300, 400, 40);
        mField->GetTextRenderer()->mAlignment = -1;
        mField->mOutlineColor = {1.0f, 0.8f, 0.2f, 1.0f};
        mField->mTextColor = {1, 1, 1, 1};
        mField->SetEditListener(&mSpy);
        mLater = new TSpy(&mLog, "later", 0, 0, 10, 10);
        mScreen->AddChild(mLater);
        GetWindowManager()->AddWindow(mScreen, 0);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    void TearDown() override
    {
        TAppState& app = GetAppState();
        DestroyWindowManager();
        TFontManager::Destroy();
        app.mApp.reset();
        app.mQuit = false;
        app.mActive = true;
        SetTickSource(nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        CanvasTest::TearDown();
    }

    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    // A key as SDL sends it: the key-down first, then its text, then the key-up.
    static void Stroke(SDL_Keycode key, const char* text, Uint16 mods = 0)
    {
        Push(Key(SDL_KEYDOWN, key, mods));
        if (text) Push(Text(text));
        Push(Key(SDL_KEYUP, key, mods));
    }
    void Frame()
    {
        Clear(40, 60, 90);
        RunFrame();
    }
    void SaveShot(const char* name) { IMG_SavePNG(mSurface, (mOldCwd + "/" + name).c_str()); }

    TEntrySpy mSpy;
    TLog mLog;
    TMyWindow* mScreen = nullptr;  // owned by the window manager
    TMyEditWindow* mField = nullptr;
    TSpy* mLater = nullptr;
};

TEST_F(ProgramTextEntry, TypedLettersReplaceTheSetNameAndKeysAloneTypeNothing)
{
    mField->SetText(L"Anna", true);
    Push(Key(SDL_KEYDOWN, 'x', 0));
    Frame();
    EXPECT_EQ(L"Anna", mField->mText);
    EXPECT_EQ(0, mSpy.mTextChecks);
    EXPECT_TRUE(mLog.empty()) << "a child after the field got " << mLog[0];
    Push(Text("x"));
    Frame();
    EXPECT_EQ(L"x", mField->mText);

    mField->SetText(L"Anna", true);
    Push(Key(SDL_KEYDOWN, SDLK_LSHIFT, KMOD_LSHIFT));
    Stroke('b', "B", KMOD_LSHIFT);
    Push(Key(SDL_KEYUP, SDLK_LSHIFT, 0));
    Frame();
    EXPECT_EQ(L"B", mField->mText);

    // Without a listener the field takes what a default one would.
    mField->SetEditListener(nullptr);
    Stroke('e', "\xC3\xA9");
    Frame();
    EXPECT_EQ(std::wstring(L"B") + wchar_t(0xE9), mField->mText);
    mField->SetEditListener(&mSpy);

    mSpy.mAcceptChar = false;
    Stroke('z', "z");
    Frame();
    EXPECT_EQ(std::wstring(L"B") + wchar_t(0xE9), mField->mText);
    // Text reaches every child; key presses stop at the field.
    for (const std::string& line : mLog) EXPECT_NE(0u, line.rfind("later key ", 0)) << line;
    EXPECT_NE(mLog.end(), std::find(mLog.begin(), mLog.end(), "later text 122"));
}

TEST_F(ProgramTextEntry, ScreenOfLabelsFieldBubbleAndNavigator)
{
    mField->mMaxLength = 10;
    auto label = [&](const char* text, int alignment, int y, int h, bool wrapped) {
        TSimpleTextImage* l = new TSimpleTextImage();
        mScreen->AddChild(l);
        l->SetFont("default");
        l->SetRect(383, y, 600, h);
        l->SetTextKey(text);
        l->mAlignment = alignment;
        l->mWrapped = wrapped;
        return l;
    };
    label("GameName", 0, 60, 40, false);
    label("btn_menu", 1, 110, 40, false);
    TSimpleTextImage* wrapped = label("TipFillAllToComplete", -1, 170, 100, true);
    wrapped->SetSize(250, 100);
    const TMyFont* font = wrapped->mFont;
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(font->GetAscent() - font->GetAscentPadding() + 2 * font->GetLineSpacing() + font->GetDescent(),
              wrapped->WrappedHeight(250)) << "three lines";

    Stroke('a', "A", KMOD_LSHIFT);
    Stroke('b', "b");
    Stroke('1', "1");
    Stroke(SDLK_BACKSPACE, nullptr);
    Stroke('2', "2");
    Stroke(SDLK_RETURN, nullptr);
    Frame();
    EXPECT_EQ(L"Ab2", mField->mText);
    EXPECT_EQ((std::vector<std::wstring>{L"Ab2"}), mSpy.mEntered);
    const int caretX = 483 + 4 + mField->GetTextRenderer()->mFont->WStringWidth(L"Ab2");
    ExpectPixel(caretX, 300 + 20, 255, 204, 51);
    SaveShot("text_entry_frame1.png");

    TBrisaloHintText bubble({"flyhint1"}, 20, 644, 0, 0, "big", TFloatColor{0, 0, 0, 1});
    TPaintByNumberOffsetTable navigator;
    navigator.SetPosition(1100.0f, 20.0f, false);
    for (int i = 0; i < 4; ++i) {
        mScreen->Update(0.25f);
        bubble.Update(0.25f);
    }
    Frame();
    bubble.Draw(1.0f);
    navigator.Draw(1.0f);
    TPixel caret = Pixel(caretX, 300 + 20);
    EXPECT_FALSE(caret.r == 255 && caret.g == 204 && caret.b == 51) << "the caret is hidden after 1 s";
    // Dark text pixels of the tip, inside the bubble's edge.
    int minX = 1366, maxX = -1;
    for (int y = 644 + 37; y < 644 + 81; ++y)
        for (int x = 20 + 8; x < 20 + 1092; ++x) {
            TPixel p = Pixel(x, y);
            if (p.r + p.g + p.b < 200) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
        }
    EXPECT_GE(minX, 57);
    EXPECT_LT(maxX, 1082);
    EXPECT_GT(maxX, minX + 100) << "a tip of some width is drawn";
    SaveShot("text_entry_frame2.png");
}

}  // namespace
