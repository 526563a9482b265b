// The game's mouse cursors.
#pragma once
#include <string>

class TGameCursors {
public:
    void SetCustomMode(bool custom) { mCustom = custom; }
    bool IsCustomMode() const { return mCustom; }
    void Update(float /*dt*/) {}
    bool IsInside() const { return false; }
    bool IsVisible() const { return false; }
    bool HasCurrent() const { return false; }
    void DrawCurrent() {}

private:
    bool mCustom = false;
};

void LoadCursors(const std::string& path);
TGameCursors* GetCursors();  // null when none exist
void DestroyCursors();
