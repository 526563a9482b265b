// The shipped layouts of the in-game menu, the quit question, the options and the difficulty
// dialog: they load cleanly, every control the windows look for is there with the id and the
// kind they expect, and each dialog waits for its buttons.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

#include "core/xml_document.h"
#include "game/difficulty_window.h"
#include "game/game_menu_window.h"
#include "game/options_window.h"
#include "log_watch.h"
#include "ui/dialog_fixture.h"
#include "ui/ui_elements.h"

namespace {

struct TControl {
    const char* name;
    int id;
    int kind;         // TMyWindow's kind
    bool checkBox;    // for buttons
};

class MenuDialogsData : public DialogTest {
protected:
    void TearDown() override
    {
        DestroyDifficultyRanges();
        DialogTest::TearDown();
    }
    void ExpectControls(TFlyWindow* window, std::initializer_list<TControl> controls)
    {
        for (const TControl& c : controls) {
            SCOPED_TRACE(c.name);
            TMyWindow* child = window->FindChild(c.name);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(child->GetKind(), c.kind);
            if (c.id != 0) {
                EXPECT_EQ(child->mId, c.id);
            }
            if (auto* button = dynamic_cast<TMyButton*>(child)) {
                EXPECT_EQ(button->mCheckBox, c.checkBox);
            }
            EXPECT_GT(child->GetWidth(), 0);
            EXPECT_GT(child->GetHeight(), 0);
        }
        const auto* flight = dynamic_cast<const TUIFlyWindow*>(window->Holder()->Find("window"));
        ASSERT_NE(flight, nullptr);
        EXPECT_EQ(flight->mStay, -1.0f) << "a dialog waits for its buttons";
        EXPECT_GT(window->GetWidth(), 0);
    }
};

TEST_F(MenuDialogsData, EveryControlTheDialogsLookForIsThere)
{
    {
        TiXmlDocument doc;
        ASSERT_TRUE(ParseXmlText(&doc, ReadWholeFile(std::string(BRISALO_ASSETS) + "/settings.xml")));
        GetDifficultyRanges()->LoadXml(doc.RootElement());
    }
    TLogWatch log;
    const int button = kKindButton;
    const int text = kKindText;
    const int widget = kKindWidget;

    TGameMenuWindow menu("ui/gamemenu.xml", nullptr);
    ExpectControls(&menu, {{"caption", 0, text, false},
                           {"gamemenu_options", 1, button, false},
                           {"gamemenu_help", 2, button, false},
                           {"gamemenu_quit", 3, button, false},
                           {"gamemenu_continue", 4, button, false},
                           {"gamemenu_replay", 5, button, false},
                           {"prev", 6, button, false},
                           {"next", 7, button, false},
                           {"gamemenu_changedifficulty", 8, button, false},
                           {"gamemenu_selectlevel", 9, button, false}});
    ASSERT_NE(menu.Holder()->Find("gamemenu_box"), nullptr);
    ASSERT_NE(menu.Holder()->Find("preview"), nullptr);

    TFlyWindow quit(nullptr, true, "ui/quitgame.xml");
    ExpectControls(&quit, {{"caption", 0, text, false},
                           {"mess", 0, text, false},
                           {"yes", 1, button, false},
                           {"no", 2, button, false}});
    EXPECT_TRUE(dynamic_cast<TSimpleTextImage*>(quit.FindChild("mess"))->mWrapped);

    TOptionsWindow options("ui/options.xml", nullptr);
    ExpectControls(&options, {{"caption", 0, text, false},
                              {"fullscreen", 2, button, true},
                              {"customcursor", 8, button, true},
                              {"music", 5, widget, false},
                              {"sound", 6, widget, false},
                              {"voice", 9, widget, false},
                              {"ok", 1, button, false},
                              {"menu", 3, button, false}});
    EXPECT_EQ(options.mFullscreen->mId, TOptionsWindow::kFullscreenId);
    // Controls nothing reacts to stay out of the player's dialog.
    EXPECT_EQ(options.FindChild("widescreen"), nullptr);
    EXPECT_EQ(options.FindChild("difficulty"), nullptr);
    EXPECT_EQ(options.FindChildById(10), nullptr);

    TSelectDifficultyModeWindow difficulty(nullptr);
    ExpectControls(&difficulty, {{"caption", 0, text, false},
                                 {"casualcb", 1, button, true},
                                 {"normalcb", 2, button, true},
                                 {"expertcb", 3, button, true},
                                 {"customcb", 4, button, true},
                                 {"usetimerbtn", 101, button, true},
                                 {"colorfillrechargebtn", 102, button, true},
                                 {"errorsbtn", 103, button, true},
                                 {"usetimersld", 21, widget, false},
                                 {"colorfillrechargesld", 22, widget, false},
                                 {"errorssld", 23, widget, false},
                                 {"usetimerlblvle", 0, text, false},
                                 {"colorfillrechargelbl", 0, text, false},
                                 {"errorlblvle", 0, text, false},
                                 {"apply", -1, button, false},
                                 {"cancel", -2, button, false}});
    ASSERT_EQ(difficulty.mDescriptions.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(difficulty.mDescriptions[i]->mName, "usual" + std::to_string(i + 1));
        EXPECT_EQ(difficulty.mDescriptions[i]->mKey, "dif_casual" + std::to_string(i + 1));
        EXPECT_TRUE(difficulty.mDescriptions[i]->mWrapped);
    }

    EXPECT_EQ(log.Text().find("File not found"), std::string::npos) << log.Text();
    EXPECT_EQ(log.Text().find("style"), std::string::npos) << log.Text();
    EXPECT_EQ(log.Text().find("preset"), std::string::npos) << log.Text();
}

}  // namespace
