// The first screens: the makers' logos and the main menu.
#pragma once
#include "ui/window.h"

class TLogosWindow : public TMyWindow {};
class TMainMenu : public TMyWindow {};

// Shown over everything while the game window has lost the focus.
class TPauseWindow : public TMyWindow {
public:
    TPauseWindow() { mId = 304; }
};
