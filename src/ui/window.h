// Base of every screen and dialog the window manager holds. (Grows into the widget tree.)
#pragma once

class TMyWindow {
public:
    virtual ~TMyWindow() = default;
    virtual void Update(float /*dt*/) {}
    virtual void Draw() {}
    // A paused window is drawn and takes input but is not updated.
    void SetPaused(bool paused) { mPaused = paused; }
    bool IsPaused() const { return mPaused; }
    int mId = 0;

private:
    bool mPaused = false;
};
