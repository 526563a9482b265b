#include "core/logger.h"

#include <gtest/gtest.h>

#include "core/system.h"
#include "test_support.h"

TEST(Logger, LinesEndWithOneNewlineAndPercentIsNotReinterpreted)
{
    TUserFolderScope scope;
    {
        TLogger log;
        log.SetSdlOutput(false);
        log.LogMessage("%s", "value %d here");
        log.LogMessage("n=%d", 5);
    }
    EXPECT_EQ(ReadWholeFile(scope.UserFolder() + "/log.txt"), "value %d here\nn=5\n");
    {
        TLogger log;  // a new start truncates the file
        log.SetSdlOutput(false);
    }
    EXPECT_EQ(ReadWholeFile(scope.UserFolder() + "/log.txt"), "");
}

TEST(Logger, OverlongLineIsCutAtTheBuffer)
{
    TUserFolderScope scope;
    {
        TLogger log;
        log.SetSdlOutput(false);
        log.LogMessage("%s", std::string(20000, 'x').c_str());
    }
    std::string text = ReadWholeFile(scope.UserFolder() + "/log.txt");
    EXPECT_EQ(text.size(), 10239u + 1u);
    EXPECT_EQ(text.back(), '\n');
}

// Once shut down, the getter answers a logger without a file: a late line neither reopens
// (and so empties) log.txt nor lands in it.
TEST(Logger, LateLineAfterShutdownLeavesTheLogIntact)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            TUserFolderScope scope;
            DestroyLogger();
            GetLogger()->SetSdlOutput(false);
            GetLogger()->LogMessage("last line");
            SetLoggerShutDown(true);
            DestroyLogger();
            TLogger* late = GetLogger();
            if (!late || late->HasFile()) exit(2);
            late->LogMessage("late line");
            exit(ReadWholeFile(scope.UserFolder() + "/log.txt") == "last line\n" ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
