// The dialog that closes a finished level: it keeps a copy of the level's result and answers
// with the button the player chose (repeat, main menu, next level).
#pragma once
#include "game/board.h"
#include "ui/classic_window.h"

class TLevelInfoMosaic;

class TLevelCompleteWindow : public TFlyWindow {
public:
    TLevelCompleteWindow(const TLevelResult& result, TLevelInfoMosaic* level, const TLevelPlayStats& stats,
                         TFlyWindowListener* listener);

    TLevelResult mResult;
    TLevelPlayStats mStats;
    TLevelInfoMosaic* mLevel = nullptr;  // the stage list's, not owned
    TMyButton* mNextButton = nullptr;
    bool mRewardsEarned = false;
};

// The in-game menu: continue, replay, back to the level map.
class TGameMenuWindow : public TFlyWindow {
public:
    TGameMenuWindow(const std::string& layoutFile, TFlyWindowListener* listener);
};

// The level map screen.
class TMapWindow : public TMyWindow {
public:
    TMapWindow();
    int GetKind() const override { return kKindScreen; }
};
