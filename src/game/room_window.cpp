#include "game/room_window.h"

#include <climits>

#include "game/board.h"
#include "game/user_info.h"

namespace {

TGameBase* BoardSource() { return GetBoard(); }

TRoomGameSource gGameSource = BoardSource;

}  // namespace

void SetRoomGameSource(TRoomGameSource source) { gGameSource = source ? source : BoardSource; }

TRoomWindow::TRoomWindow() : TClassicWindow("board")
{
    // Replaced screens are deleted only with the flag: without it every level visit would
    // leave a hidden room window behind.
    mAutoDelete = true;
}

TRoomWindow::~TRoomWindow()
{
    // At shutdown the manager is deleting its windows: the game is not deactivated from
    // here, it only forgets this window.
    if (mGame && mGame->mListener == this) mGame->mListener = nullptr;
}

void TRoomWindow::AttachGame()
{
    TGameBase* game = gGameSource();
    if (mGame && mGame != game) {
        if (mGame->mActive) {
            mGame->mActive = false;
            mGame->Deactivate();
        }
        if (mGame->mListener == this) mGame->mListener = nullptr;
    }
    mGame = game;
    if (!mGame) return;
    mGame->mListener = this;
    if (!mGame->mActive) {
        mGame->mActive = true;
        mGame->Activate();
    }
    mGame->Setup();
}

bool TRoomWindow::Update(float dt)
{
    if (!mGame) return false;
    mGame->Update(dt);
    // A paused game freezes the window's widgets and its fade with it.
    if (mGame->mPaused != 0) return false;
    TMyWindowContainer::Update(dt);
    mAlphaFade.Update(dt);
    FollowAlphaFade();
    return false;
}

void TRoomWindow::DrawSelf()
{
    TClassicWindow::DrawSelf();
    if (mGame) mGame->Draw();
}

void TRoomWindow::DrawOver()
{
    mBackground.Draw(mAlphaFade.mCurrent);
    if (mGame) mGame->DrawOverlay();
}

void TRoomWindow::OnMouseDown(const TMouseEvent& event)
{
    if (mGame) mGame->MouseDown(event);
}

void TRoomWindow::OnMouseMove(const TMouseEvent& event)
{
    if (mGame) mGame->MouseMove(event);
}

void TRoomWindow::OnMouseUp(const TMouseEvent& event)
{
    if (mGame) mGame->MouseUp(event);
}

void TRoomWindow::OnMouseDrag(const TMouseEvent& event)
{
    if (mGame) mGame->MouseDrag(event);
}

void TRoomWindow::OnMouseWheel(const TMouseEvent& event)
{
    if (mGame) mGame->MouseWheel(event);
}

void TRoomWindow::OnDoubleClick(const TMouseEvent& event)
{
    if (mGame) mGame->DoubleClick(event);
}

void TRoomWindow::Show()
{
    TClassicWindow::Show();
    AttachGame();
}

void TRoomWindow::Hide()
{
    // The board takes its controls off this window in Deactivate, before the window hides.
    if (mGame) {
        mGame->mActive = false;
        mGame->Deactivate();
    }
    TClassicWindow::Hide();
}

bool TRoomWindow::OnKeyUp(const TKeyEvent* key)
{
    if (mGame && key) mGame->KeyUp(key->mKey);
    return true;
}

void TRoomWindow::SetPaused(bool paused)
{
    if (mGame) mGame->SetPaused(paused);
}

void TRoomWindow::OnGameFinished(TGameBase* /*game*/)
{
    TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
    if (progress.mStage == -1) progress.mStage = 0;
    if (progress.mLevel < INT32_MAX) ++progress.mLevel;
    SaveCurrentUserProfile();
    // Setup starts the level the progress now points to, on the window as it is.
    AttachGame();
}
