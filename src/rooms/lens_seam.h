// The lens through which rooms reveal ghost and infrared objects is the ghost catcher's shape
// image. The ghost catcher has no shape image yet, so there is no lens and nothing is revealed.
#pragma once

class StaticImage;
class TTool;

inline StaticImage* GetGhostCatcherLens(TTool* /*ghostCatcher*/) { return nullptr; }
