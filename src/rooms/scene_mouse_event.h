// The mouse record a scene hands to its objects and they hand on to their listeners.
#pragma once
#include <cstdint>

class TTool;

struct TSceneMouseEvent {
    int32_t mX = 0;  // in the space's coordinates
    int32_t mY = 0;
    int32_t mReserved[4] = {0, 0, 0, 0};  // nothing reads them
    uint8_t mFlag = 0;
    int32_t mButton = 0;  // 1: the left button was pressed
    int32_t mReservedB[3] = {0, 0, 0};
    TTool* mTool = nullptr;  // what the cursor carries; not owned

    void Clear() { *this = TSceneMouseEvent(); }
};
