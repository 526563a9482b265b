// The program's window and its shutdown sequence: what goes first, and what a late caller
// finds afterwards.
#include <gtest/gtest.h>

#include <cstdlib>

#include <SDL.h>

#include "app/app.h"
#include "app/settings.h"
#include "core/app_state.h"
#include "core/localization.h"
#include "core/logger.h"
#include "core/messages.h"
#include "core/system.h"
#include "graphics/resource_preloader.h"
#include "test_support.h"
#include "ui/window_manager.h"

namespace {

// Notes, while it is destroyed, whether what windows point into is still there.
struct TWitnessWindow : TMyWindow {
    std::string mSettingsFile;
    ~TWitnessWindow() override
    {
        int seen = 0;
        if (PathExists(mSettingsFile)) seen |= 1;                // saved before the windows go
        if (!GetAppState().mSettings) seen |= 2;
        if (FindMessageManager()) seen |= 4;                      // windows unsubscribe on the way out
        if (TResourcePreloader::Instance()) seen |= 8;            // and into preloaded textures
        gSeen = seen;
    }
    static int gSeen;
};
int TWitnessWindow::gSeen = 0;

}  // namespace

// The windows go right after the settings are saved, before everything they point into;
// afterwards the getters build nothing new and a late line leaves log.txt as it was.
TEST(Shutdown, WindowsGoFirstAndLateCallersFindNothing)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            TUserFolderScope scope;
            DestroyLogger();
            GetLogger()->SetSdlOutput(false);
            GetLogger()->LogMessage("before shutdown");
            TAppState& app = GetAppState();
            app.mSettings.reset(new TMySettings());
            GetMessageManager();
            TResourcePreloader::Create("user:no_resources.xml");
            TWitnessWindow* window = new TWitnessWindow();
            window->mSettingsFile = scope.UserFolder() + "/settings.dat";
            GetWindowManager()->AddWindow(window, 0);
            ReleaseGame();
            if (TWitnessWindow::gSeen != 15) exit(10 + TWitnessWindow::gSeen);
            if (GetSystem()) exit(2);
            TLogger* late = GetLogger();
            if (late->HasFile()) exit(3);
            DestroyLogger();
            if (GetLogger() != late) exit(7);  // the same file-less logger, never a new one
            GetLogger()->LogMessage("late line");
            if (ReadWholeFile(scope.UserFolder() + "/log.txt").find("before shutdown\n") != 0) exit(4);
            if (ReadWholeFile(scope.UserFolder() + "/log.txt").find("late line") != std::string::npos) exit(5);
            if (FindMessageManager() || GetMessageManager()) exit(6);
            exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

// The title is the "GameName" text in UTF-8, letters beyond Latin-1 included.
TEST(GameWindow, TitleIsTheGameNameInUtf8)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(WriteWholeFile(GetSystem()->UserFolder() + "/title_termins.xml",
                               "<Workbook><Worksheet><Table><Row><Cell><Data>GameName</Data></Cell>"
                               "<Cell><Data>Mosa\xC3\xAFk \xD0\x9C\xD0\xBE\xD0\xB7\xD0\xB0\xD0\xB8\xD0\xBA\xD0\xB0 "
                               "\xE2\x9C\x93</Data></Cell></Row></Table></Worksheet></Workbook>"));
    DestroyLocalization();
    ASSERT_TRUE(GetLocalization()->Load("user:title_termins.xml"));
    SDL_Window* window = CreateGameWindow(64, 48);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    EXPECT_STREQ(SDL_GetWindowTitle(window),
                 "Mosa\xC3\xAFk \xD0\x9C\xD0\xBE\xD0\xB7\xD0\xB0\xD0\xB8\xD0\xBA\xD0\xB0 \xE2\x9C\x93");
    SDL_DestroyWindow(window);
    DestroyLocalization();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
