// The in-game menu: continue, replay, level map, quit after a question, options, help, the
// difficulty choice, and a browser through the tileset previews of the board's game type.
#pragma once
#include <string>

#include "ui/classic_window.h"

class TMyButton;
struct TStageTilesets;

class TGameMenuWindow : public TFlyWindow, public TFlyWindowListener {
public:
    enum {
        kId = 10,
        kQuitQuestionId = 44,
        kOptions = 1,
        kHelp = 2,
        kQuit = 3,
        kContinue = 4,
        kReplay = 5,
        kPrev = 6,
        kNext = 7,
        kChangeDifficulty = 8,
        kSelectLevel = 9,
    };

    TGameMenuWindow(const std::string& layoutFile, TFlyWindowListener* listener);

    void DrawSelf() override;
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    // Serves both the menu's own closing (nothing to do) and the closing of the dialogs it opened.
    void OnFlyClosed(TFlyWindow* window, int id, int result) override;

    // The browser over the tileset record of that game type; the board's game type at construction.
    void UseGameType(int gameType);

    TStageTilesets* mStageTilesets = nullptr;  // the stage list's, not owned
    int mPreviewX = 0;
    int mPreviewY = 0;
    int mTilesetIndex = 0;
    TMyButton* mNext = nullptr;
    TMyButton* mPrev = nullptr;

private:
    bool CanBrowse() const;
    void Step(int delta);
    void HideForDialog();
};
