// The screens outside play: the makers' logos at start-up, the main menu with its live scene
// and self-painting pictures, the more-games screen, and the pause window shown while the
// game window has lost the focus.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "game/paint_effect.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "rooms/effector.h"
#include "rooms/room.h"
#include "ui/classic_window.h"
#include "ui/window.h"

class TShadow;

// The branding splashes, one after another, then the main menu.
class TLogosWindow : public TClassicWindow {
public:
    enum { kFadingIn = 0, kShowing = 1, kFadingOut = 2, kPausing = 3, kWaitingForDraw = 4 };
    static constexpr int kMenuRequested = -2;

    struct TSplash {
        std::string mPath;
        float mShowTime = 2.0f;
    };

    TLogosWindow();
    bool Update(float dt) override;
    void DrawSelf() override;
    void OnMouseDown(const TMouseEvent& event) override;
    // The next splash, or the main menu after the last one; nothing once the menu is asked for.
    void ShowNext();

    std::vector<TSplash> mSplashes;
    int mState = kWaitingForDraw;
    int mIndex = -1;
    AlphaStaticImage mImage;
    float mTimer = 0.0f;
    bool mWasDrawn = false;
    IncValue mScale;
};

// The hub: the player's name, the buttons and two painting pictures over a room scene.
class TMainMenu : public TClassicWindow, public TFlyWindowListener, public TMyWindowListener, public TEffectorListener {
public:
    TMainMenu();
    ~TMainMenu() override;

    bool Update(float dt) override;
    void DrawSelf() override;
    void DrawOver() override;
    void OnShown() override;
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    void OnFlyClosed(TFlyWindow* window, int id, int result) override;
    void OnFlyWindowShown(TFlyWindow* window, int id) override;
    void OnFlyWindowHidden(TFlyWindow* window, int id) override;
    void OnWindowMouseUp(TMyWindow* widget, const TMouseEvent& event) override;

    // "gamename" greets the player once per run; tests start a new run with this.
    static void ResetFirstShow();

    // Declared before the pictures: members go in reverse order, the pictures first.
    TRoom mRoom;
    EffectBrisaloPaint mLeftPaint;
    EffectBrisaloPaint mRightPaint;
    // Null where the layout lacks them.
    TMyButton* mPlay = nullptr;
    TMyButton* mHelp = nullptr;
    TMyButton* mOptions = nullptr;
    TMyButton* mExit = nullptr;
    TMyButton* mMoreGames = nullptr;
    TMyButton* mProfiles = nullptr;
    TSimpleTextImage* mNameLabel = nullptr;
    TSimpleTextImage* mNotYouLabel = nullptr;
    std::unique_ptr<TShadow> mShadow;

private:
    // While a screen change runs or a dialog is open the menu takes no clicks.
    bool IsBusy() const;
    void OpenProfiles();
};

// Starts the current player afresh and opens the level map.
void StartNewGame();

// Two web pages of our other games, and the way back to the menu.
class TMoreGamesWindow : public TClassicWindow {
public:
    TMoreGamesWindow();
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;

    std::vector<std::string> mAddresses;
};

const int kPauseWindowId = 304;

// Shown over everything while the game window has lost the focus.
class TPauseWindow : public TClassicWindow {
public:
    TPauseWindow();
    void OnTextInput(int32_t character) override;
};
