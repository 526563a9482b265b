// The mosaic board: the one game of the program, created on first use and kept by the
// application state until the shutdown deletes it after every window that hosts it.
#pragma once
#include "game/game_base.h"

class TBoardMahjong : public TGameBase {
public:
    int GetKind() const override { return 1; }
};

TBoardMahjong* GetBoard();
