// The game's mouse cursors.
#pragma once
#include <string>

class TGameCursors {
public:
    void SetCustomMode(bool custom) { mCustom = custom; }
    bool IsCustomMode() const { return mCustom; }
    void Update(float /*dt*/) {}
    // The pointer is inside the window until it leaves; the next move brings it back.
    void SetInside(bool inside) { mInside = inside; }
    bool IsInside() const { return mInside; }
    void SetMousePosition(int x, int y)
    {
        mMouseX = x;
        mMouseY = y;
    }
    int MouseX() const { return mMouseX; }
    int MouseY() const { return mMouseY; }
    bool IsVisible() const { return false; }
    bool HasCurrent() const { return false; }
    void DrawCurrent() {}

private:
    bool mCustom = false;
    bool mInside = true;
    int mMouseX = 0;  // design pixels
    int mMouseY = 0;
};

void LoadCursors(const std::string& path);
TGameCursors* GetCursors();  // null when none exist
void DestroyCursors();
