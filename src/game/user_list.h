// The players list as the profile screens see it. The settings that keep it live on the
// host's floor: the host registers them here at start-up and clears them at shutdown.
#pragma once
#include <string>

class TUserList {
public:
    virtual ~TUserList() = default;
    virtual int UserCount() const = 0;
    virtual std::string UserName(int index) const = 0;
    // -1 when no player is current.
    virtual int CurrentUserIndex() const = 0;
    // Saves the list at once and makes the new player current.
    virtual void AddUser(const std::string& name) = 0;
    virtual void DeleteUser(int index) = 0;
    virtual bool UserExists(const std::string& name) const = 0;
    // Makes the player current: loads the profile, applies its volumes, saves the list.
    virtual void SelectUser(int index) = 0;
    // Reads the current player's profile from its file; false when there is none.
    virtual bool LoadCurrentUser() = 0;
    // The current player's profile back to its defaults and saved; false when it was not.
    virtual bool ResetCurrentUser() = 0;
};

void SetUserList(TUserList* users);
// Null before start-up and after shutdown.
TUserList* GetUserList();
