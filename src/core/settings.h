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
    virtual bool IsFullscreen() const { return true; }
    virtual void ReadFullscreenFromWindow() {}
    virtual bool IsDisplayChangePending() const { return true; }
    virtual bool ReapplyDisplayMode() { return true; }
    virtual void UpdateDisplay(bool /*fullscreen*/, bool /*apply*/) {}
};

class TMySettings : public TSettings {
public:
    void Apply() override;
    bool IsFullscreen() const override { return mFullscreen; }
    void ReadFullscreenFromWindow() override;
    bool IsDisplayChangePending() const override { return mDisplayChangePending; }
    bool ReapplyDisplayMode() override;
    void UpdateDisplay(bool fullscreen, bool apply) override;

private:
    bool mFullscreen = true;  // a new player starts fullscreen
    bool mDisplayChangePending = false;
};

TSettings* CreateSettings(const std::string& name);
