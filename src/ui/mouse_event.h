// The pointer record that widgets (and the board's models) receive from the window manager.
#pragma once
#include <cstdint>

struct TMouseEvent {
    int32_t mX = 0;  // in the receiving widget's own coordinates
    int32_t mY = 0;
    int32_t mScreenX = 0;  // design coordinates
    int32_t mScreenY = 0;
    int32_t mButtons = 0;  // 1 left, 2 right; the captured button during a drag; +1/-1 for the wheel
    int32_t mModifiers = 0;
};
