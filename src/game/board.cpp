#include "game/board.h"

#include "core/app_state.h"

void DeleteOwned(TBoardMahjong* board) { delete board; }

TBoardMahjong* GetBoard()
{
    TAppState& app = GetAppState();
    if (!app.mBoard) app.mBoard.reset(new TBoardMahjong());
    return app.mBoard.get();
}
