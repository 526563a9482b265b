// libFuzzer target: the settings and profile loaders on arbitrary bytes behind a valid
// checksum, so every input reaches their fields.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings.h"
#include "core/buffer.h"
#include "core/virtual_files.h"
#include "fuzz_support.h"
#include "game/user_info.h"

namespace {

std::string WriteWithChecksum(const std::string& name, const uint8_t* data, size_t size)
{
    std::vector<uint8_t> file(4 + size);
    uint32_t crc = size > 0 ? Crc32Update(0, data, size) : 0;
    for (int i = 0; i < 4; ++i) file[static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (8 * i));
    std::copy(data, data + size, file.begin() + 4);
    return WriteUserFile(name, file.data(), file.size());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    InitFuzzEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteWithChecksum("settings.dat", data, size);
    TMySettings settings;
    settings.LoadSettings();
    // A count that disagrees with the records keeps the file aside: one copy at a time.
    RemoveFile("user:settings.dat.bad");
    // Every query of the loaded list, as the menus make them.
    for (int i = -1; i <= settings.UserCount(); ++i) settings.UserName(i);
    settings.CurrentUserName();
    settings.CurrentUserIdText();
    if (settings.UserCount() > 0x7FFF) abort();
    for (const TUserRecord& user : settings.Users())
        if (user.mName.size() > kMaxStringBytes) abort();

    std::string profile = WriteWithChecksum("profile", data, size);
    TUserInfo* info = GetUserInfo();
    info->ResetDefaults();
    info->Load(profile);
    if (info->mMode < 0 || info->mMode > 1 || info->mDifficulty < 0 || info->mDifficulty > 4) abort();
    info->CurrentModeProgress().FirstStageComplete(info->mMode == 1);
    info->AddToTotalScore(1000);
    info->AddToCounter(1000);
    // Written back as a save would (thousandths need not read back identically: floats).
    TBufferBin out;
    info->WriteBody(out);
    info->WriteExtra(out);
    out.Checksum(0);
    return 0;
}
