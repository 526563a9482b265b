#include "game/board.h"

#include "core/app_state.h"

void DeleteOwned(TBoard* board) { delete board; }
