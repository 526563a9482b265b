// Test entry: every test runs headless with its user folder in a temporary place.
// "--list-suites" prints each suite with its number of cases, one a line: ctest runs a suite's
// cases in one process.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio_cases.h"
#include "core/logger.h"
#include "core/system.h"
#include "sound/al_engine.h"
#include "test_support.h"

namespace {

// A case that starts the audio thread or an OpenAL context from a file the ThreadSanitizer
// build leaves out fails the run: the build's choice of files must follow what the cases do.
class TAudioCasesGuard : public ::testing::EmptyTestEventListener {
public:
    bool Failed() const { return mFailed; }

private:
    void OnTestStart(const ::testing::TestInfo&) override { mStarts = AudioStartCount(); }
    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        if (AudioStartCount() == mStarts || IsAudioCasesFile(info.file())) return;
        printf("%s:%d: Failure\n%s.%s started audio, but its file does not include \"audio_cases.h\", "
               "so the ThreadSanitizer run leaves it out\n",
               info.file(), info.line(), info.test_suite_name(), info.name());
        mFailed = true;
    }

    int mStarts = 0;
    bool mFailed = false;
};

void ListSuites()
{
    const ::testing::UnitTest* unit = ::testing::UnitTest::GetInstance();
    for (int i = 0; i < unit->total_test_suite_count(); ++i) {
        const ::testing::TestSuite* suite = unit->GetTestSuite(i);
        printf("%s %d\n", suite->name(), suite->total_test_count());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1 && strcmp(argv[1], "--list-suites") == 0) {
        ListSuites();
        return 0;
    }
    static TTempDir dataHome;
    setenv("XDG_DATA_HOME", dataHome.Path().c_str(), 1);
    TSystem* sys = GetSystem();
    sys->mAppFolderName = "Brisalo5";
    sys->mCompanyFolderName = "Korvel Games";
    sys->MakeUserFolders();
    GetLogger()->SetSdlOutput(false);
    auto* guard = new TAudioCasesGuard;  // owned by gtest's listener list
    ::testing::UnitTest::GetInstance()->listeners().Append(guard);
    const int result = RUN_ALL_TESTS();
    return guard->Failed() ? 1 : result;
}
