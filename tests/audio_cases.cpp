#include "audio_cases.h"

#include <map>

#include "sound/al_engine.h"
#include "sound/sound_manager.h"
#include "test_support.h"

void ReleaseSoundForNextTest()
{
    ReleaseSoundManager();
    ReleaseAlEngine();
    RearmSoundManagerForTests();
}

void UseSoundOutput(TAlOutputOpener opener)
{
    SetAlOutputOpener(opener);
    ReleaseSoundForNextTest();
}

bool IsAudioCasesFile(const std::string& path)
{
    static std::map<std::string, bool> known;
    auto found = known.find(path);
    if (found != known.end()) return found->second;
    // A case reports its file as the compiler was given it; read it from the source tree.
    std::string source = path;
    const size_t tests = path.rfind("tests/");
    if (tests != std::string::npos) source = std::string(BRISALO_TEST_DATA) + "/../" + path.substr(tests + 6);
    const bool marked = ReadWholeFile(source).find("#include \"audio_cases.h\"") != std::string::npos;
    known[path] = marked;
    return marked;
}
