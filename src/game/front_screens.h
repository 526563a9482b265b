// The first screens: the makers' logos and the main menu, and the pause window.
#pragma once
#include "ui/window.h"

// Full-screen windows of the design size that the window manager deletes when replaced.
class TFrontScreen : public TMyWindow {
public:
    explicit TFrontScreen(int id)
    {
        mId = id;
        mWidth = 1366;
        mHeight = 768;
        mAutoDelete = true;
    }
    int GetKind() const override { return kKindScreen; }
};

class TLogosWindow : public TFrontScreen {
public:
    TLogosWindow() : TFrontScreen(-1) {}
};

class TMainMenu : public TFrontScreen {
public:
    TMainMenu() : TFrontScreen(5) {}
};

const int kPauseWindowId = 304;

// Shown over everything while the game window has lost the focus.
class TPauseWindow : public TMyWindow {
public:
    TPauseWindow()
    {
        mId = kPauseWindowId;
        mWidth = 1366;
        mHeight = 768;
    }
    int GetKind() const override { return kKindScreen; }
};
