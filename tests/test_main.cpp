// Test entry: every test runs headless with its user folder in a temporary place.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/logger.h"
#include "core/system.h"
#include "test_support.h"

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    static TTempDir dataHome;
    setenv("XDG_DATA_HOME", dataHome.Path().c_str(), 1);
    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    sys->MakeUserFolders();
    GetLogger()->SetSdlOutput(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
