// The scene mouse event the object tests hand their objects: at a point, the left button
// unless told otherwise, a tool in hand when given.
#pragma once
#include "rooms/scene_mouse_event.h"

class TTool;

inline TSceneMouseEvent PressAt(int x, int y, TTool* tool = nullptr, int button = 1)
{
    TSceneMouseEvent event;
    event.mX = x;
    event.mY = y;
    event.mButton = button;
    event.mTool = tool;
    return event;
}
