#include "app/settings.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/system.h"
#include "core/text.h"
#include "core/virtual_files.h"
#include "game/user_info.h"
#include "sound/sound_manager.h"

namespace {
const char kSettingsFile[] = "user:settings.dat";
// Ids and the user count are 16-bit fields of the file; the count is unsigned, but the ids
// and the current index are signed, so no more players than they can name are read.
const int32_t kLargestUserId = 32767;
const size_t kLargestUserCount = 0x7FFF;
const size_t kSmallestUserBytes = 4;  // the id and the name's length

// An id and a name of the length its field gives, all within the bytes left.
bool WholeUserRecordFollows(const TBaseBuffer& buffer)
{
    if (buffer.BytesLeft() < kSmallestUserBytes) return false;
    const std::vector<uint8_t>& bytes = buffer.Bytes();
    const size_t at = buffer.ReadPosition() + 2;
    const size_t length = static_cast<size_t>(bytes[at]) | static_cast<size_t>(bytes[at + 1]) << 8;
    // A length with the top bit set is no length the saver writes.
    if (length > kMaxStringBytes) return false;
    return buffer.BytesLeft() - kSmallestUserBytes >= length;
}

std::string UserFile(int32_t id) { return "user:user" + std::to_string(id); }

bool UserFolderExists(int32_t id) { return IsFolder(MapPath("user:" + std::to_string(id))); }

bool NameFits(const std::string& name)
{
    if (name.size() <= kMaxStringBytes) return true;
    GetLogger()->LogMessage("settings.dat: a player name of %d bytes is longer than %d, refused",
                            static_cast<int>(name.size()), static_cast<int>(kMaxStringBytes));
    return false;
}
}  // namespace

void DeleteOwned(TSettings* settings) { delete settings; }

bool TSettings::ResetCurrentUser()
{
    mStoredValue = 3;
    GetUserInfo()->ResetDefaults();
    return true;
}

void TSettings::ResetUserInfo() { GetUserInfo()->ResetDefaults(); }

void ApplyUserVolumes()
{
    TUserInfo* info = GetUserInfo();
    TSoundManager* sound = GetSoundManager();
    if (!sound) return;  // after shutdown
    sound->SetMusicVolume(info->mMusicVolume);
    sound->SetSoundVolume(info->mSoundVolume, 0);
    sound->SetSoundVolume(info->mVoiceVolume, 1);
}

void TMySettings::Apply()
{
    UpdateDisplay(mFullscreen, true);
    ApplyUserVolumes();
}

bool TMySettings::IdTaken(int32_t id) const
{
    for (const TUserRecord& user : mUsers)
        if (user.mId == id) return true;
    // The last id lives only in this file: after it was lost, an id whose profile or
    // picture folder is still there must not be handed to a new player.
    return FileExists(UserFile(id)) || UserFolderExists(id);
}

int32_t TMySettings::NextUserId() const
{
    for (int32_t id = std::max(mLastUserId, 0) + 1; id <= kLargestUserId; ++id)
        if (!IdTaken(id)) return id;
    // The field holds no larger id: the lowest one that is free.
    for (int32_t id = 1; id <= kLargestUserId; ++id)
        if (!IdTaken(id)) return id;
    return 0;
}

bool TMySettings::AddUser(const std::string& name)
{
    if (!NameFits(name)) return false;
    int32_t id = NextUserId();
    if (id == 0) {
        GetLogger()->LogMessage("settings.dat: all %d player ids are taken, no new player", kLargestUserId);
        return false;
    }
    ClearUserInfo();
    mCurrentUser = static_cast<int32_t>(mUsers.size());
    mLastUserId = id;
    mUsers.push_back(TUserRecord{mLastUserId, name});
    GetSystem()->MakeUserSubFolder(std::to_string(mLastUserId));
    bool saved = SaveSettings();
    return ResetCurrentUser() && saved;
}

bool TMySettings::ResetCurrentUser()
{
    TSettings::ResetCurrentUser();
    return SaveCurrentUser();
}

bool TMySettings::RenameCurrentUser(const std::string& name)
{
    if (!NameFits(name)) return false;
    if (HasUser(mCurrentUser)) mUsers[mCurrentUser].mName = name;
    return SaveSettings();
}

std::string TMySettings::CurrentUserIdText() const
{
    return HasUser(mCurrentUser) ? std::to_string(mUsers[mCurrentUser].mId) : std::string();
}

std::string TMySettings::CurrentUserName() const { return UserName(mCurrentUser); }

std::string TMySettings::UserName(int index) const { return HasUser(index) ? mUsers[index].mName : std::string(); }

void TMySettings::SelectUser(int index)
{
    if (!HasUser(index)) return;
    ClearUserInfo();
    mCurrentUser = index;
    LoadCurrentUser();
    ApplyUserVolumes();
    SaveSettings();
}

void TMySettings::DeleteUser(int index)
{
    if (!HasUser(index)) return;
    if (index < mCurrentUser)
        --mCurrentUser;
    else if (index == mCurrentUser)
        mCurrentUser = -1;
    // The picture progress in the id's folder stays: ids are never given out again.
    std::string file = UserFile(mUsers[index].mId);
    RemoveFile(file);
    RemoveFile(file + "_main");
    RemoveFile(file + "_bonus");
    mUsers.erase(mUsers.begin() + index);
    SaveSettings();
}

bool TMySettings::UserExists(const std::string& name) const
{
    std::string wanted = ToLowerString(name);
    for (const TUserRecord& user : mUsers)
        if (ToLowerString(user.mName) == wanted) return true;
    return false;
}

void TMySettings::ClearUserInfo()
{
    TUserInfo* info = GetUserInfo();
    info->ResetDefaults();
    // A new or switched-to player starts from casual, not from the last player's choice.
    info->ResetPreset();
}

void TMySettings::ReadFullscreenFromWindow() { mFullscreen = IsWindowFullscreen(); }

bool TMySettings::ToggleFullscreen()
{
    UpdateDisplay(!IsWindowFullscreen(), true);
    return true;
}

bool TMySettings::ReapplyDisplayMode()
{
    if (TSystem* sys = GetSystem()) sys->SetDisplayMode(kDesignWidth, kDesignHeight, IsWindowFullscreen());
    mDisplayChangePending = false;
    return true;
}

void TMySettings::UpdateDisplay(bool fullscreen, bool apply)
{
    UpdateDisplayState(fullscreen, apply);
    if (apply) ReadFullscreenFromWindow();
}

std::string TMySettings::CurrentUserFile() const
{
    return HasUser(mCurrentUser) ? UserFile(mUsers[mCurrentUser].mId) : std::string();
}

bool TMySettings::LoadCurrentUser()
{
    if (!HasUser(mCurrentUser)) return false;
    return GetUserInfo()->Load(CurrentUserFile());
}

bool TMySettings::SaveCurrentUser()
{
    if (!HasUser(mCurrentUser)) return false;
    return GetUserInfo()->Save(CurrentUserFile());
}

bool TMySettings::SaveSettings()
{
    TBufferBin buffer;
    buffer.WriteInt32(kSaveFileStamp);
    buffer.WriteByte(mFlagA ? 1 : 0);
    buffer.WriteByte(mFlagB ? 1 : 0);
    buffer.WriteInt32(mStoredValue);
    buffer.WriteByte(mFullscreen ? 1 : 0);
    buffer.WriteByte(mDisplayChangePending ? 1 : 0);
    buffer.WriteByte(mCustomCursor ? 1 : 0);
    buffer.BeginWriteSection("userslist");
    buffer.WriteInt16(mCurrentUser);
    buffer.WriteInt16(mLastUserId);
    buffer.WriteInt16(static_cast<int32_t>(mUsers.size()));
    for (const TUserRecord& user : mUsers) {
        buffer.WriteInt16(user.mId);
        buffer.WriteString(user.mName);
    }
    return buffer.SaveToFile(kSettingsFile, true, 0);
}

bool TMySettings::LoadSettings()
{
    TBufferBin buffer;
    if (!buffer.LoadFromFile(kSettingsFile, true, 0)) {
        if (buffer.HasError()) KeepBadFile(kSettingsFile);
        return false;
    }
    if (buffer.Size() == 0) return false;
    buffer.ReadMilli();
    mFlagA = buffer.ReadByte() != 0;
    mFlagB = buffer.ReadByte() != 0;
    mStoredValue = buffer.ReadInt32();
    mFullscreen = buffer.ReadByte() != 0;
    mDisplayChangePending = buffer.ReadByte() != 0;
    mCustomCursor = buffer.ReadByte() != 0;
    buffer.BeginReadSection("userslist");
    mCurrentUser = buffer.ReadInt16();
    mLastUserId = buffer.ReadInt16();
    const int32_t count = static_cast<uint16_t>(buffer.ReadInt16());
    // Every record that is there whole is a player, whatever the count says: a count that
    // runs past them would invent nameless players, one that stops short would drop real ones.
    while (mUsers.size() < kLargestUserCount && WholeUserRecordFollows(buffer)) {
        TUserRecord user;
        user.mId = buffer.ReadInt16();
        buffer.ReadString(user.mName);
        mUsers.push_back(user);
    }
    if (static_cast<int32_t>(mUsers.size()) != count || !buffer.ReadAtEnd()) {
        GetLogger()->LogMessage("settings.dat names %d users, %d read whole, %d bytes left over", count, UserCount(),
                                static_cast<int>(buffer.BytesLeft()));
        // The next save writes only the players read: the file as it was stays beside it.
        KeepBadFile(kSettingsFile);
    }
    // Every query indexes the list with it: an index the list does not have means none.
    if (mCurrentUser != -1 && !HasUser(mCurrentUser)) {
        GetLogger()->LogMessage("settings.dat: current user %d is not among the %d users, none selected", mCurrentUser, UserCount());
        mCurrentUser = -1;
    }
    return true;
}

void TDummySettings::Apply()
{
    TAppState& app = GetAppState();
    if (TSystem* sys = GetSystem()) sys->SetDisplayMode(app.mRealResolutionWidth, app.mRealResolutionHeight, false);
}

TSettings* CreateSettings(const std::string& name)
{
    TAppState& app = GetAppState();
    app.mSettings.reset();
    if (name == "mysettings")
        app.mSettings.reset(new TMySettings());
    else
        app.mSettings.reset(new TDummySettings());
    return app.mSettings.get();
}

namespace {
class TSettingsUserList : public TUserList {
public:
    int UserCount() const override { return Settings() ? Settings()->UserCount() : 0; }
    std::string UserName(int index) const override { return Settings() ? Settings()->UserName(index) : std::string(); }
    int CurrentUserIndex() const override { return Settings() ? Settings()->CurrentUserIndex() : -1; }
    void AddUser(const std::string& name) override
    {
        if (TSettings* settings = Settings()) settings->AddUser(name);
    }
    void DeleteUser(int index) override
    {
        if (TSettings* settings = Settings()) settings->DeleteUser(index);
    }
    bool UserExists(const std::string& name) const override { return Settings() && Settings()->UserExists(name); }
    void SelectUser(int index) override
    {
        if (TSettings* settings = Settings()) settings->SelectUser(index);
    }
    bool LoadCurrentUser() override { return Settings() && Settings()->LoadCurrentUser(); }
    bool ResetCurrentUser() override { return Settings() && Settings()->ResetCurrentUser(); }

private:
    static TSettings* Settings() { return GetAppState().mSettings.get(); }
};

TSettingsUserList gSettingsUserList;
}  // namespace

TUserList* GetSettingsUserList() { return &gSettingsUserList; }
