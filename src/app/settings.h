// The installation's settings: players, current player, fullscreen and cursor choice, kept
// in "user:settings.dat". They also load and save the current player's profile and apply
// the player's volumes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/user_list.h"
#include "game/user_info.h"

// The settings save the profile for the game: the newest settings object is the saver.
class TSettings : public TProfileSaver {
public:
    TSettings() { SetProfileSaver(this); }
    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;
    ~TSettings() override
    {
        if (GetProfileSaver() == this) SetProfileSaver(nullptr);
    }

    virtual void Apply() {}
    // False when the name is longer than the file can hold, or no id is free.
    virtual bool AddUser(const std::string& /*name*/) { return false; }
    // False when the profile could not be saved.
    virtual bool ResetCurrentUser();
    virtual void ResetUserInfo();
    virtual bool RenameCurrentUser(const std::string& /*name*/) { return false; }
    std::string CurrentUserIdText() const override { return std::string(); }
    virtual std::string CurrentUserName() const { return std::string(); }
    virtual std::string UserName(int /*index*/) const { return std::string(); }
    virtual void SelectUser(int /*index*/) {}
    virtual int CurrentUserIndex() const { return 0; }
    virtual int UserCount() const { return 0; }
    virtual void DeleteUser(int /*index*/) {}
    virtual bool UserExists(const std::string& /*name*/) const { return false; }
    virtual void ClearUserInfo() {}
    bool IsFullscreen() const override { return true; }
    virtual void ReadFullscreenFromWindow() {}
    bool ToggleFullscreen() override { return true; }
    bool IsDisplayChangePending() const override { return true; }
    virtual bool ReapplyDisplayMode() { return true; }
    virtual bool UsesCustomCursor() const { return true; }
    void SetCustomCursor(bool /*custom*/) override {}
    virtual bool LoadCurrentUser() { return true; }
    virtual bool LoadSettings() { return true; }
    bool SaveCurrentUser() override { return true; }
    virtual bool SaveSettings() { return true; }
    bool CommitUser() override { return true; }
    virtual void UpdateDisplay(bool /*fullscreen*/, bool /*apply*/) {}

    // Stored and reloaded with the settings; nothing else reads them.
    bool mFlagA = false;
    bool mFlagB = false;
    int32_t mStoredValue = 3;
};

struct TUserRecord {
    int32_t mId = 0;
    std::string mName;
};

class TMySettings : public TSettings {
public:
    void Apply() override;
    bool AddUser(const std::string& name) override;
    bool ResetCurrentUser() override;
    bool RenameCurrentUser(const std::string& name) override;
    std::string CurrentUserIdText() const override;
    std::string CurrentUserName() const override;
    std::string UserName(int index) const override;
    void SelectUser(int index) override;
    int CurrentUserIndex() const override { return mCurrentUser; }
    int UserCount() const override { return static_cast<int>(mUsers.size()); }
    void DeleteUser(int index) override;
    bool UserExists(const std::string& name) const override;
    void ClearUserInfo() override;
    bool IsFullscreen() const override { return mFullscreen; }
    void ReadFullscreenFromWindow() override;
    bool ToggleFullscreen() override;
    bool IsDisplayChangePending() const override { return mDisplayChangePending; }
    bool ReapplyDisplayMode() override;
    void UpdateDisplay(bool fullscreen, bool apply) override;
    bool UsesCustomCursor() const override { return mCustomCursor; }
    void SetCustomCursor(bool custom) override { mCustomCursor = custom; }
    bool LoadCurrentUser() override;
    bool LoadSettings() override;
    bool SaveCurrentUser() override;
    bool SaveSettings() override;
    bool CommitUser() override { return SaveCurrentUser(); }

    const std::vector<TUserRecord>& Users() const { return mUsers; }
    int32_t LastUserId() const { return mLastUserId; }

protected:
    bool HasUser(int index) const { return index >= 0 && index < static_cast<int>(mUsers.size()); }
    std::string CurrentUserFile() const;
    bool IdTaken(int32_t id) const;
    // The next id after the last; past the largest the file holds, the lowest free one; 0 when none is.
    int32_t NextUserId() const;

    std::vector<TUserRecord> mUsers;
    bool mFullscreen = true;  // a new player starts fullscreen
    bool mDisplayChangePending = false;
    bool mCustomCursor = true;
    int32_t mCurrentUser = -1;
    int32_t mLastUserId = 0;
};

// One fixed player, always windowed.
class TDummySettings : public TSettings {
public:
    void Apply() override;
    std::string CurrentUserName() const override { return "cheater"; }
    int UserCount() const override { return 1; }
};

// "mysettings" makes the real settings, any other name the dummy; it becomes the process's
// settings object (owned by the application state).
TSettings* CreateSettings(const std::string& name);
// The current player's volumes to the sound manager.
void ApplyUserVolumes();
// The players list of whatever settings the process holds at the time of each call (none:
// no players), for the host to register with the profile screens.
TUserList* GetSettingsUserList();
