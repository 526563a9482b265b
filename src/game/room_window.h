// The screen that hosts the game: it hands the game its frame updates, drawing, pointer and
// keys, pauses it, and on "next level" moves the player's progress on and starts it again.
#pragma once
#include "game/game_base.h"
#include "ui/classic_window.h"

class TRoomWindow : public TClassicWindow, public TGameBaseListener {
public:
    static constexpr int kId = kElementWindowId;

    // From the "board" element of "ui/interface.xml"; deleted by the manager when replaced.
    TRoomWindow();
    ~TRoomWindow() override;

    void AttachGame();
    TGameBase* GetGame() const { return mGame; }

    // Always false: the room window never reports itself closed.
    bool Update(float dt) override;
    void DrawSelf() override;
    void DrawOver() override;
    void OnMouseDown(const TMouseEvent& event) override;
    void OnMouseMove(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;
    void OnMouseDrag(const TMouseEvent& event) override;
    void OnMouseWheel(const TMouseEvent& event) override;
    void OnDoubleClick(const TMouseEvent& event) override;
    void Show() override;
    void Hide() override;
    bool OnKeyUp(const TKeyEvent* key) override;
    // The game pauses itself; the window stays unpaused so the manager keeps updating it.
    void SetPaused(bool paused) override;

    void OnGameFinished(TGameBase* game) override;

private:
    TGameBase* mGame = nullptr;  // not owned: the board outlives every room window
};

// Where room windows take their game from: the board unless a test points elsewhere
// (null goes back to the board).
using TRoomGameSource = TGameBase* (*)();
void SetRoomGameSource(TRoomGameSource source);
