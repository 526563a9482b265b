#include "game/level_complete_window.h"

TLevelCompleteWindow::TLevelCompleteWindow(const TLevelResult& result, TLevelInfoMosaic* level,
                                           const TLevelPlayStats& stats, TFlyWindowListener* listener)
    : TFlyWindow(listener, true, "ui/levelcomplete.xml"), mResult(result), mStats(stats), mLevel(level)
{
    mId = 314;
    // The window judges a new best itself from the profile it shows.
    mResult.mNewBest = 0;
    mNextButton = dynamic_cast<TMyButton*>(FindChild("nextlevel"));
}

TGameMenuWindow::TGameMenuWindow(const std::string& layoutFile, TFlyWindowListener* listener)
    : TFlyWindow(listener, true, layoutFile)
{
    mId = 10;
}

TMapWindow::TMapWindow()
{
    mId = 6;
    mWidth = 1366;
    mHeight = 768;
    mAutoDelete = true;
}
