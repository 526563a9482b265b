#include "game/game_menu_window.h"

#include <vector>

#include "game/board.h"
#include "game/difficulty_window.h"
#include "game/help_window.h"
#include "game/layout_button_row.h"
#include "game/options_window.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "ui/button.h"
#include "ui/ui_info_holder.h"
#include "ui/window_manager.h"

namespace {
// The column's order, whatever order the layout file lists them in.
const char* const kBoxButtons[] = {
    "gamemenu_options", "gamemenu_help",           "gamemenu_quit",        "gamemenu_continue",
    "gamemenu_replay",  "gamemenu_changedifficulty", "gamemenu_selectlevel",
};
}  // namespace

TGameMenuWindow::TGameMenuWindow(const std::string& layoutFile, TFlyWindowListener* listener)
    : TFlyWindow(listener, true, layoutFile)
{
    mId = kId;

    TWindowRect box;
    if (const TUIBaseBox* e = mHolder ? mHolder->Find("gamemenu_box") : nullptr)
        box = TWindowRect{e->mX, e->mY, e->mWidth, e->mHeight};
    std::vector<TMyWindow*> widgets;
    for (const char* name : kBoxButtons)
        if (TMyWindow* w = FindChild(name)) widgets.push_back(w);
    SetButtonsListener(this);
    LayoutButtonRow(box, widgets);

    if (const TUIBaseBox* e = mHolder ? mHolder->Find("preview") : nullptr) {
        mPreviewX = e->mX;
        mPreviewY = e->mY;
    }
    mNext = dynamic_cast<TMyButton*>(FindChild("next"));
    mPrev = dynamic_cast<TMyButton*>(FindChild("prev"));
    const auto* board = dynamic_cast<const TBoardMahjong*>(listener);
    UseGameType(board ? board->mLayType : -1);
}

void TGameMenuWindow::UseGameType(int gameType)
{
    mStageTilesets = gameType >= 0 ? FindStageTilesets(gameType) : nullptr;
    mTilesetIndex = 0;
    const bool browse = CanBrowse();
    for (TMyButton* arrow : {mNext, mPrev}) {
        if (!arrow) continue;
        arrow->mVisible = browse;
        if (!browse) arrow->mHover = false;
    }
    const int count = mStageTilesets ? static_cast<int>(mStageTilesets->mTilesets.size()) : 0;
    if (mNext) mNext->mDisabled = count <= 1;
    if (mPrev) mPrev->mDisabled = true;
}

bool TGameMenuWindow::CanBrowse() const
{
    return mStageTilesets && mStageTilesets->mCanChange && mStageTilesets->mTilesets.size() >= 2;
}

void TGameMenuWindow::DrawSelf()
{
    TFlyWindow::DrawSelf();
    if (!CanBrowse()) return;
    const size_t index = static_cast<size_t>(mTilesetIndex);
    if (index >= mStageTilesets->mTilesets.size()) return;
    // The lookup makes the previewed tileset the current one; the next level start releases it.
    TTileset* tileset = FindTileset(mStageTilesets->mTilesets[index]);
    if (!tileset) return;
    int32_t x = 0, y = 0;
    GetAbsolutePosition(&x, &y);
    tileset->mPreview.SetPosition(static_cast<float>(x + mPreviewX), static_cast<float>(y + mPreviewY), true);
    tileset->mPreview.Draw(mAlpha);
}

void TGameMenuWindow::Step(int delta)
{
    const int count = mStageTilesets ? static_cast<int>(mStageTilesets->mTilesets.size()) : 0;
    if (count <= 0) return;
    mTilesetIndex += delta;
    if (mTilesetIndex > count - 1) mTilesetIndex = count - 1;
    if (mTilesetIndex < 0) mTilesetIndex = 0;
    // Both ways, so an arrow disabled at an end comes back once the index leaves it.
    if (mNext) mNext->mDisabled = mTilesetIndex == count - 1;
    if (mPrev) mPrev->mDisabled = mTilesetIndex == 0;
}

void TGameMenuWindow::HideForDialog()
{
    mVisible = false;
    mHover = false;
}

void TGameMenuWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* /*button*/)
{
    mResultCode = buttonId;
    TMyWindowManager* manager = GetWindowManager();
    switch (buttonId) {
    case kOptions:
        HideForDialog();
        if (manager) manager->AddWindow(new TOptionsWindow("ui/options.xml", this), 0.0f);
        break;
    case kHelp:
        HideForDialog();
        if (manager) manager->AddWindow(new THelpWindow(this), 0.0f);
        break;
    case kQuit:
        HideForDialog();
        if (manager) {
            auto* question = new TFlyWindow(this, true, "ui/quitgame.xml");
            question->mId = kQuitQuestionId;
            manager->AddWindow(question, 0.0f);
        }
        break;
    case kContinue:
    case kReplay:
    case kSelectLevel:
        Close(buttonId);
        break;
    case kPrev:
        Step(-1);
        break;
    case kNext:
        Step(1);
        break;
    case kChangeDifficulty:
        if (manager) manager->AddWindow(new TSelectDifficultyModeWindow(this), 0.0f);
        break;
    default:
        break;
    }
}

void TGameMenuWindow::OnFlyClosed(TFlyWindow* window, int id, int result)
{
    if (window == this) return;
    if (id == kQuitQuestionId && result == 1) {
        Close(mResultCode);
        return;
    }
    mVisible = true;
}
