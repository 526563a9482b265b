// Base of every screen and dialog the window manager holds. (Grows into the widget tree.)
#pragma once

class TMyWindow {
public:
    virtual ~TMyWindow() = default;
    virtual void Update(float /*dt*/) {}
    virtual void Draw() {}
    int mId = 0;
};
