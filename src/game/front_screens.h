// The first screens: the makers' logos and the main menu.
#pragma once
#include "ui/window.h"

class TLogosWindow : public TMyWindow {};
class TMainMenu : public TMyWindow {};
