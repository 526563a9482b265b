// The first screens: the makers' logos and the main menu.
#pragma once
#include "ui/window.h"

class TLogosWindow : public TMyWindow {};
class TMainMenu : public TMyWindow {};

const int kPauseWindowId = 304;

// Shown over everything while the game window has lost the focus.
class TPauseWindow : public TMyWindow {
public:
    TPauseWindow() { mId = kPauseWindowId; }
};
