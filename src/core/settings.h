// The installation's settings: players, current player, fullscreen and cursor choice.
#pragma once
#include <string>

class TSettings {
public:
    virtual ~TSettings() = default;
    virtual bool LoadSettings() { return true; }
    virtual bool SaveSettings() { return true; }
    virtual bool LoadCurrentUser() { return true; }
    virtual void Apply() {}
    virtual bool UsesCustomCursor() const { return false; }
    virtual bool IsFullscreen() const { return false; }
    virtual void UpdateDisplay(bool /*fullscreen*/, bool /*apply*/) {}
};

class TMySettings : public TSettings {};

TSettings* CreateSettings(const std::string& name);
