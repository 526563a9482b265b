// The options dialog: for now a fly window that closes on its buttons; works with no listener.
#pragma once
#include <string>

#include "ui/classic_window.h"

class TOptionsWindow : public TFlyWindow {
public:
    enum { kId = 24 };
    TOptionsWindow(const std::string& layoutFile, TFlyWindowListener* listener)
        : TFlyWindow(listener, true, layoutFile)
    {
        mId = kId;
    }
};

// The difficulty dialog: for now a fly window that closes on its buttons.
class TSelectDifficultyModeWindow : public TFlyWindow {
public:
    enum { kId = 11 };
    explicit TSelectDifficultyModeWindow(TFlyWindowListener* listener)
        : TFlyWindow(listener, true, "ui/selectdifficultymode.xml")
    {
        mId = kId;
    }
};
