// The first screens: the makers' logos and the main menu, and the pause window.
#pragma once
#include "rooms/effector.h"
#include "rooms/room.h"
#include "ui/classic_window.h"
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

// The main menu keeps a live scene ("mainmenu.xml") behind everything it draws. It hears no
// effector: it attaches itself to none.
class TMainMenu : public TFrontScreen, public TEffectorListener {
public:
    TMainMenu();
    bool Update(float dt) override;
    void DrawSelf() override;
    void OnShown() override;

    TRoom mRoom;
};

const int kPauseWindowId = 304;

// Shown over everything while the game window has lost the focus.
class TPauseWindow : public TClassicWindow {
public:
    TPauseWindow();
    void OnTextInput(int32_t character) override;
};
