// The in-game menu in the window manager, driven by real SDL clicks: its button column, the
// dialogs it opens while hidden, the quit question, the results the board acts on, and the
// tileset browser over the stage records of a game type.
#include "game/game_menu_window.h"

#include <algorithm>

#include "game/help_window.h"
#include "game/options_window.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "ui/button.h"
#include "ui/dialog_fixture.h"

namespace {

const SDL_Color kPreviewA{250, 40, 40, 255};
const SDL_Color kPreviewB{40, 40, 250, 255};

class GameMenuWindowTest : public DialogTest {
protected:
    void TearDown() override
    {
        ReleaseStages();
        ReleaseTilesets();
        DialogTest::TearDown();
    }

    TGameMenuWindow* Open()
    {
        auto* menu = new TGameMenuWindow("ui/gamemenu.xml", &mFly);
        mManager->AddWindow(menu, 0);
        Arrive(menu);
        Take();
        return menu;
    }
    void Arrive(TFlyWindow* window)
    {
        for (int i = 0; i < 40 && window->GetState() != TFlyWindow::kShown; ++i) Updates(1);
        ASSERT_EQ(TFlyWindow::kShown, window->GetState());
    }
    TMyButton* ButtonOf(TMyWindow* window, const char* name)
    {
        return dynamic_cast<TMyButton*>(window->FindChild(name));
    }
    void ClickButton(TMyWindow* window, const char* name)
    {
        TMyButton* button = ButtonOf(window, name);
        ASSERT_TRUE(button) << name;
        Click(window->GetX() + button->GetX() + button->GetWidth() / 2,
              window->GetY() + button->GetY() + button->GetHeight() / 2);
        Updates(1);
    }
    TFlyWindow* Dialog(int id) { return dynamic_cast<TFlyWindow*>(mManager->FindWindow(id)); }
    // Updates until the window's flight out ends.
    void FlyOutAll() { Updates(40); }

    void UseBrowserFixture()
    {
        ASSERT_TRUE(WriteWholeFile(AssetPath("stages.xml"),
                                   ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/game/menu_stages.xml")));
        LoadStages();
        MakeFolder("previews");
        SolidPng("previews/a.png", 60, 40, kPreviewA);
        SolidPng("previews/b.png", 60, 40, kPreviewB);
        ASSERT_TRUE(WriteWholeFile(AssetPath("tilesets.xml"),
                                   "<tilesets><tileset name=\"ta\" preview=\"previews/a\"/>"
                                   "<tileset name=\"tb\" preview=\"previews/b\"/></tilesets>"));
        LoadTilesets("tilesets.xml");
    }
};

TEST_F(GameMenuWindowTest, ButtonsStandInOneColumnInTheirOwnOrderAndAnswerTheMenu)
{
    TGameMenuWindow* menu = Open();
    EXPECT_EQ(menu->mId, 10);
    const char* order[] = {"gamemenu_options", "gamemenu_help",           "gamemenu_quit",       "gamemenu_continue",
                           "gamemenu_replay",  "gamemenu_changedifficulty", "gamemenu_selectlevel"};
    const int ids[] = {1, 2, 3, 4, 5, 8, 9};
    int y = 79;
    for (int k = 0; k < 7; ++k) {
        TMyButton* b = ButtonOf(menu, order[k]);
        ASSERT_TRUE(b) << order[k];
        EXPECT_EQ(b->mId, ids[k]) << order[k];
        EXPECT_EQ(b->GetX(), 40) << order[k];
        EXPECT_EQ(b->GetY(), y) << order[k];
        EXPECT_EQ(b->mButtonListener, static_cast<TMyButtonListener*>(menu)) << order[k];
        y += 65;
    }
    // No board, no tileset record: nothing to browse.
    EXPECT_FALSE(ButtonOf(menu, "next")->mVisible);
    EXPECT_FALSE(ButtonOf(menu, "prev")->mVisible);
}

TEST_F(GameMenuWindowTest, ContinueReplayAndSelectLevelCloseWithTheirId)
{
    for (auto [name, id] : {std::pair<const char*, int>{"gamemenu_continue", 4}, {"gamemenu_replay", 5},
                            {"gamemenu_selectlevel", 9}}) {
        TGameMenuWindow* menu = Open();
        ClickButton(menu, name);
        FlyOutAll();
        EXPECT_EQ(mManager->FindWindow(10), nullptr) << name;
        int closed = 0;
        for (const std::string& line : Take()) {
            if (line.rfind("fly closed ", 0) == 0) {
                ++closed;
                EXPECT_EQ(line, "fly closed 10 result " + std::to_string(id));
            }
        }
        EXPECT_EQ(closed, 1) << name;
    }
}

TEST_F(GameMenuWindowTest, QuitQuestionHidesTheMenuAndOnlyYesLeaves)
{
    TGameMenuWindow* menu = Open();
    ClickButton(menu, "gamemenu_quit");
    TFlyWindow* question = Dialog(44);
    ASSERT_TRUE(question);
    EXPECT_FALSE(menu->mVisible);
    Arrive(question);
    ClickButton(question, "no");
    FlyOutAll();
    EXPECT_EQ(Dialog(44), nullptr);
    EXPECT_TRUE(menu->mVisible);
    EXPECT_EQ(mManager->FindWindow(10), menu);
    Take();

    ClickButton(menu, "gamemenu_quit");
    question = Dialog(44);
    ASSERT_TRUE(question);
    Arrive(question);
    ClickButton(question, "yes");
    EXPECT_FALSE(menu->mVisible) << "the menu leaves unseen";
    FlyOutAll();
    EXPECT_EQ(mManager->FindWindow(10), nullptr);
    TLog log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "fly closed 10 result 3"), 1);
}

TEST_F(GameMenuWindowTest, OptionsAndHelpOpenOverTheHiddenMenuDifficultyBesideIt)
{
    for (auto [name, id] : {std::pair<const char*, int>{"gamemenu_options", 24}, {"gamemenu_help", 333}}) {
        TGameMenuWindow* menu = Open();
        ClickButton(menu, name);
        TFlyWindow* dialog = Dialog(id);
        ASSERT_TRUE(dialog) << name;
        EXPECT_EQ(dialog->mFlyListener, menu);
        EXPECT_FALSE(menu->mVisible);
        dialog->Close(0);
        FlyOutAll();
        EXPECT_TRUE(menu->mVisible) << name;
        menu->Close(4);
        FlyOutAll();
    }
    TGameMenuWindow* menu = Open();
    ClickButton(menu, "gamemenu_changedifficulty");
    TFlyWindow* dialog = Dialog(11);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->mFlyListener, menu);
    EXPECT_TRUE(menu->mVisible);
}

TEST_F(GameMenuWindowTest, BrowserStepsBothWaysOnlyOverAChangeableRecordOfTwo)
{
    UseBrowserFixture();
    TGameMenuWindow* menu = Open();
    TMyButton* next = ButtonOf(menu, "next");
    TMyButton* prev = ButtonOf(menu, "prev");
    for (int gameType : {1, 2, 3}) {
        menu->UseGameType(gameType);
        EXPECT_FALSE(next->mVisible) << gameType;
        EXPECT_FALSE(prev->mVisible) << gameType;
    }
    menu->UseGameType(0);
    EXPECT_TRUE(next->mVisible);
    EXPECT_TRUE(prev->mVisible);
    EXPECT_TRUE(prev->mDisabled);
    EXPECT_FALSE(next->mDisabled);
    for (int i = 0; i < 3; ++i) ClickButton(menu, "next");
    EXPECT_EQ(menu->mTilesetIndex, 1);
    EXPECT_TRUE(next->mDisabled);
    EXPECT_FALSE(prev->mDisabled) << "the way back opens again";
    EXPECT_EQ(menu->mResultCode, 7);

    // Drawing shows the entry's preview at the preview point and makes its tileset current.
    Clear(0, 0, 0);
    menu->Draw();
    EXPECT_EQ(CurrentTilesetIndex(), 1);
    const TPixel p = Pixel(menu->GetX() + 470, menu->GetY() + 250);
    EXPECT_EQ(p.b, kPreviewB.b);
    EXPECT_EQ(p.r, kPreviewB.r);

    for (int i = 0; i < 3; ++i) {
        ClickButton(menu, "prev");
    }
    EXPECT_EQ(menu->mTilesetIndex, 0);
    EXPECT_TRUE(prev->mDisabled);
    EXPECT_FALSE(next->mDisabled);
}

}  // namespace
