#include "game/map_window.h"

#include <algorithm>

#include "core/display.h"
#include "core/logger.h"
#include "game/front_screens.h"
#include "game/picture.h"
#include "game/room_window.h"
#include "game/stages.h"
#include "game/user_info.h"
#include "graphics/texture.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/tutorial_window.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"
#include "ui/window_manager.h"

namespace {
const char kLayoutFile[] = "ui/map.xml";
const int kBoardSize = 200;
const int kBoardsPerBlock = 8;
const int kColumns = 4;
const float kTipDelay = 1.5f;

bool MapShowsUsualList() { return GetUserInfo()->mMode == 1; }

void CloseTutorial()
{
    if (TMyTutorialWindow* tutorial = GetTutorialWindow()) tutorial->Close(0);
}
}  // namespace

TMapBoard::TMapBoard(StaticImage* levelImage, StaticImage* frameImage, const std::string& picturePath,
                     int levelIndex, int previewX, int previewY)
    : mLevelImage(levelImage),
      mFrameImage(frameImage),
      mPicturePath(picturePath),
      mPreviewX(previewX),
      mPreviewY(previewY),
      mLevelIndex(levelIndex)
{
    mCompleteMark.SetTexture("textures/tilesets/complete");
}

void TMapBoard::LoadPreview(const std::string& userFolder)
{
    mPreview.FreeTexture();
    TPaintByNumber picture;
    picture.LoadPicture(1, mPicturePath, userFolder);
    picture.RenderToTexture(&mPreview, kBoardSize, kBoardSize);
    picture.UpdateCompletion();
    // A picture that could not be loaded has no colours: that is not a finished level.
    mComplete = !picture.mCompletion.empty() && picture.AllColorsComplete();
}

void TMapBoard::Draw(int originX, int originY)
{
    const int d = mPressed ? 2 : 0;
    const float x = static_cast<float>(originX + mX + d);
    const float y = static_cast<float>(originY + mY + d);
    mLevelImage->SetPosition(x, y, false);
    mLevelImage->Draw(1.0f);
    mPreview.SetPosition(x + static_cast<float>(mPreviewX), y + static_cast<float>(mPreviewY), false);
    mPreview.Draw(1.0f);
    if (mHover) {
        mFrameImage->SetPosition(x, y, false);
        mFrameImage->Draw(1.0f);
    }
    if (mComplete) {
        mCompleteMark.SetPosition(x + static_cast<float>(mW - mCompleteMark.GetWidth()),
                                  y + static_cast<float>(mH - mCompleteMark.GetHeight()), false);
        mCompleteMark.Draw(1.0f);
    }
}

TMapPages::TMapPages()
{
    mFrameImage.SetTexture("textures/map/frame");
    mLevelImage.SetTexture("textures/map/level");
}

void TMapPages::Build(int stage, bool usual)
{
    mBlocks.clear();
    const TStage* record = GetStage(stage, usual);
    const int levels = record ? static_cast<int>(record->mLevels.size()) : 0;
    mBlocks.resize(static_cast<size_t>((levels + kBoardsPerBlock - 1) / kBoardsPerBlock));
    for (int i = 0; i < levels; ++i) {
        const TLevelInfo& level = *record->mLevels[static_cast<size_t>(i)];
        mBlocks[static_cast<size_t>(i / kBoardsPerBlock)].emplace_back(
            new TMapBoard(&mLevelImage, &mFrameImage, "textures/" + level.mFilename, i, mPreviewX, mPreviewY));
    }
    mCurrentBlock = 0;

    int x0 = 0, y0 = 0, gx = 0, gy = 0;
    if (const TUIBaseBox* box = GetInterfaceHolder()->Find("mapboardbox")) {
        x0 = box->mX;
        y0 = box->mY;
        gx = box->mWidth;
        gy = box->mHeight;
    }
    const TTexture* level = mLevelImage.GetTexture();
    const int bw = level ? level->GetWidth() : 0;
    const int bh = level ? level->GetHeight() : 0;
    for (TMapBoardBlock& block : mBlocks) {
        for (size_t i = 0; i < block.size(); ++i) {
            const int column = static_cast<int>(i) % kColumns;
            const int row = static_cast<int>(i) / kColumns;
            block[i]->mX = (bw + gx) * column + x0;
            block[i]->mY = (bh + gy) * row + y0;
        }
    }
    LoadBlock(0);
}

void TMapPages::LoadBlock(int block)
{
    if (block < 0 || block >= static_cast<int>(mBlocks.size())) return;
    const std::string folder = CurrentProfileIdText();
    for (std::unique_ptr<TMapBoard>& board : mBlocks[static_cast<size_t>(block)]) board->LoadPreview(folder);
}

TMapBoardBlock* TMapPages::CurrentBlock()
{
    if (mCurrentBlock < 0 || mCurrentBlock >= static_cast<int>(mBlocks.size())) return nullptr;
    return &mBlocks[static_cast<size_t>(mCurrentBlock)];
}

TMapWindow::TMapWindow() : TClassicWindow(kLayoutFile, true)
{
    mId = kMapId;
    mAutoDelete = true;
    auto button = [this](const char* name) {
        auto* found = dynamic_cast<TMyButton*>(FindChild(name));
        if (!found) GetLogger()->LogMessage("map: %s has no %s", kLayoutFile, name);
        return found;
    };
    mNextButton = button("nextpage");
    mPrevButton = button("prevpage");
    mMenuButton = button("menu");
    mMixedTab = button("mixed");
    mUsualTab = button("usual");
    for (TMyButton* tab : {mMixedTab, mUsualTab}) {
        if (!tab) continue;
        tab->mDrawn = false;
        tab->mButtonListener = this;
    }

    TUIBaseBox* prev = mHolder ? mHolder->Find("Prev") : nullptr;
    if (prev) {
        mPages.mPreviewX = prev->mX;
        mPages.mPreviewY = prev->mY;
    }

    auto* counter = dynamic_cast<TUIMyButton*>(mHolder ? mHolder->Find("pagescounter") : nullptr);
    if (counter) {
        mPageShower = new TPointPageShower(this);
        mPageShower->ApplyInfo(counter);
        mPageShower->SetListener(this);
        mPageShower->mPageListener = this;
    } else {
        GetLogger()->LogMessage("map: %s has no pagescounter", kLayoutFile);
    }
    mPlayTipTimer = 0.0f;
    mNextStageTipTimer = 0.0f;
}

int TMapWindow::StageCount() const { return static_cast<int>(GetStageList(MapShowsUsualList()).size()); }

int TMapWindow::ClampStage(int stage) const
{
    const int count = StageCount();
    if (count <= 0) return 0;
    return std::max(0, std::min(stage, count - 1));
}

void TMapWindow::ShowModeStage()
{
    mStage = ClampStage(GetUserInfo()->CurrentModeProgress().mStage);
    if (mPageShower) {
        mPageShower->mPageCount = StageCount();
        mPageShower->LayoutPoints();
    }
    SetPage(mStage);
}

void TMapWindow::SetPage(int stage)
{
    mPages.Build(stage, MapShowsUsualList());
    if (mPageShower) mPageShower->mCurrentPage = stage;
}

void TMapWindow::UpdateArrows()
{
    const int count = StageCount();
    if (mNextButton) mNextButton->mDisabled = count == 0 || mStage >= count - 1;
    if (mPrevButton) mPrevButton->mDisabled = count == 0 || mStage <= 0;
}

bool TMapWindow::FirstStageLocked() const
{
    return !GetUserInfo()->CurrentModeProgress().FirstStageComplete(MapShowsUsualList());
}

void TMapWindow::ShowLockedTip()
{
    // Never remembered, so it shows again on every refused click.
    ShowTutorial("TipMapLockedCities", false, -1, "showtutorial");
}

void TMapWindow::OnShown()
{
    // In place of the classic window's own handling: the children are not told and no fade
    // starts.
    ShowModeStage();
    mPlayTipTimer = kTipDelay;
    mNextStageTipTimer = kTipDelay;
    UpdateArrows();
    if (TSoundManager* sound = FindSoundManager()) {
        if (!sound->IsMusicPlaying("mainmenu")) sound->PlayMusic("mainmenu");
    }
}

void TMapWindow::OnHidden()
{
    TClassicWindow::OnHidden();
    CloseTutorial();
}

bool TMapWindow::Update(float dt)
{
    TClassicWindow::Update(dt);
    if (mPlayTipTimer > 0.0f) {
        mPlayTipTimer -= dt;
        if (mPlayTipTimer <= 0.0f) {
            mPlayTipTimer = 0.0f;
            ShowTutorial("TipMapClickToPlay", true, kMapId, "showtutorial");
        }
    }
    if (mNextStageTipTimer > 0.0f) {
        mNextStageTipTimer -= dt;
        if (mNextStageTipTimer <= 0.0f) {
            mNextStageTipTimer = 0.0f;
            if (GetUserInfo()->CurrentModeProgress().FiveLevelsComplete(MapShowsUsualList()))
                ShowTutorial("TipMapClickToNextStage", true, kMapId, "showtutorial");
        }
    }
    return false;
}

void TMapWindow::ReloadTextures()
{
    GetLogger()->LogMessage("reload textures");
    mPages.LoadBlock(mPages.mCurrentBlock);
}

void TMapWindow::DrawSelf()
{
    mBackground.Draw(mAlpha);
    if (TMapBoardBlock* block = mPages.CurrentBlock())
        for (std::unique_ptr<TMapBoard>& board : *block) board->Draw(mX, mY);
}

void TMapWindow::OnMouseDown(const TMouseEvent& event)
{
    TClassicWindow::OnMouseDown(event);
    if (event.mButtons != 1) return;
    TMapBoardBlock* block = mPages.CurrentBlock();
    if (!block) return;
    for (std::unique_ptr<TMapBoard>& board : *block) {
        if (board->Contains(event.mX, event.mY)) {
            board->mHover = true;
            board->mPressed = true;
            break;
        }
    }
}

void TMapWindow::OnMouseMove(const TMouseEvent& event)
{
    TClassicWindow::OnMouseMove(event);
    TMapBoardBlock* block = mPages.CurrentBlock();
    if (!block) return;
    for (std::unique_ptr<TMapBoard>& board : *block) {
        const bool inside = board->Contains(event.mX, event.mY);
        if (inside) {
            GetGameCursors()->Select("hand");
            if (!board->mHover) PlaySoundByName("btnmouseenter");
        } else {
            board->mPressed = false;
        }
        board->mHover = inside;
    }
}

void TMapWindow::OnMouseUp(const TMouseEvent& event)
{
    TClassicWindow::OnMouseUp(event);
    if (event.mButtons != 1) return;
    TMapBoardBlock* block = mPages.CurrentBlock();
    if (!block) return;
    const TMapBoard* chosen = nullptr;
    for (std::unique_ptr<TMapBoard>& board : *block) {
        board->mHover = false;
        board->mPressed = false;
        if (!chosen && board->Contains(event.mX, event.mY)) chosen = board.get();
    }
    if (!chosen) return;
    PlaySoundByName("mapselectboard");
    TModeProgress& progress = GetUserInfo()->CurrentModeProgress();
    progress.mStage = mStage;
    progress.mLevel = chosen->mLevelIndex;
    CloseTutorial();
    GetWindowManager()->ShowScreen(new TRoomWindow(), true, 1);
}

void TMapWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* /*button*/)
{
    switch (buttonId) {
    case 1:
        CloseTutorial();
        GetWindowManager()->ShowScreen(new TMainMenu(), true, 1);
        return;
    case 20:
        if (mStage > 0) {
            mStage = ClampStage(mStage - 1);
            SetPage(mStage);
        }
        break;
    case 21:
        if (FirstStageLocked()) {
            ShowLockedTip();
            return;
        }
        CloseTutorial();
        if (mStage < StageCount() - 1) {
            mStage = ClampStage(mStage + 1);
            SetPage(mStage);
        }
        break;
    case 100:
    case 101:
        GetUserInfo()->mMode = buttonId - 100;
        ShowModeStage();
        break;
    default:
        return;
    }
    UpdateArrows();
}

bool TMapWindow::GetButtonState(TMyButton* button, int* state)
{
    if (button->mPressed || button->mHighlighted)
        *state = TMyButton::kLookDown;
    else if (button->mDisabled)
        *state = TMyButton::kLookDisabled;
    else if (button->mHover)
        *state = TMyButton::kLookOver;
    else
        *state = TMyButton::kLookNormal;
    return true;
}

void TMapWindow::OnWindowMouseUp(TMyWindow* window, const TMouseEvent& /*event*/)
{
    if (!mPageShower || window != mPageShower) return;
    mStage = ClampStage(mPageShower->mCurrentPage);
    SetPage(mStage);
    UpdateArrows();
}

bool TMapWindow::OnPageClicked()
{
    if (FirstStageLocked()) {
        ShowLockedTip();
        return false;
    }
    return true;
}
