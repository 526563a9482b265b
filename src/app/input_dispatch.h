// The dispatch of input events: positions are mapped to the design canvas, quit and focus
// (the pause window) are handled here, the cursors follow the pointer and the rest goes to
// the window manager.
#pragma once
#include "core/input.h"

// False when the program must quit.
bool DispatchEvent(const TInputEvent& event);
// The host side of the translation's questions; the start-up hands it to SetInputHost.
TInputHost* GetAppInputHost();
