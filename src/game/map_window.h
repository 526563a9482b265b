// The level map: one stage per page, each level a board with a flat preview of its picture as
// the current player painted it and a mark once it is finished. Page points and arrows move
// between stages, two tabs switch the game mode, and later stages stay locked until every
// picture of the first stage is done. A click on a board opens that level in the room window.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"
#include "ui/classic_window.h"
#include "ui/page_points.h"

// One level of the shown stage.
class TMapBoard {
public:
    TMapBoard(StaticImage* levelImage, StaticImage* frameImage, const std::string& picturePath, int levelIndex,
              int previewX, int previewY);

    // Renders the picture with the player's progress (folder: the user's id text) into the
    // preview and decides whether the level is finished.
    void LoadPreview(const std::string& userFolder);
    // originX, originY: where the map's own coordinates start on the screen.
    void Draw(int originX, int originY);
    bool Contains(int x, int y) const { return mX <= x && x < mX + mW && mY <= y && y < mY + mH; }

    int mX = 0;
    int mY = 0;
    int mW = 200;
    int mH = 200;
    StaticImage* mLevelImage;  // shared by every board of the map, not owned
    StaticImage* mFrameImage;
    StaticImage mPreview;
    StaticImage mCompleteMark;
    bool mHover = false;
    bool mPressed = false;
    std::string mPicturePath;
    int mPreviewX = 0;
    int mPreviewY = 0;
    bool mComplete = false;
    int mLevelIndex = 0;
};

using TMapBoardBlock = std::vector<std::unique_ptr<TMapBoard>>;

// The boards of the shown stage, in blocks of up to eight; only the first block is shown.
class TMapPages {
public:
    TMapPages();

    // usual: the mode's list is "stagesusual", else "stages".
    void Build(int stage, bool usual);
    void LoadBlock(int block);
    // The shown block, or null when the stage has no levels.
    TMapBoardBlock* CurrentBlock();

    int mPreviewX = 0;
    int mPreviewY = 0;
    std::vector<TMapBoardBlock> mBlocks;
    int mCurrentBlock = 0;
    StaticImage mFrameImage;
    StaticImage mLevelImage;
};

class TMapWindow : public TClassicWindow, public TMyWindowListener, public TPointPageShowerListener {
public:
    static constexpr int kMapId = 6;

    TMapWindow();

    bool Update(float dt) override;
    void ReloadTextures() override;
    void DrawSelf() override;
    void OnMouseDown(const TMouseEvent& event) override;
    void OnMouseMove(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;
    void OnMouseDrag(const TMouseEvent&) override {}
    void OnShown() override;
    void OnHidden() override;
    bool OnKeyUp(const TKeyEvent*) override { return false; }

    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    bool GetButtonState(TMyButton* button, int* state) override;
    void OnWindowMouseUp(TMyWindow* window, const TMouseEvent& event) override;
    bool OnPageClicked() override;

    void SetPage(int stage);

    int mStage = 0;
    TMyButton* mNextButton = nullptr;
    TMyButton* mPrevButton = nullptr;
    TMyButton* mMenuButton = nullptr;
    TMyButton* mMixedTab = nullptr;
    TMyButton* mUsualTab = nullptr;
    TPointPageShower* mPageShower = nullptr;  // a child; null when the layout lacks it
    float mPlayTipTimer = 0.0f;
    float mNextStageTipTimer = 0.0f;
    TMapPages mPages;

private:
    // The stages of the current mode's list.
    int StageCount() const;
    int ClampStage(int stage) const;
    // The mode's recorded stage, kept inside its list, shown with one point per stage.
    void ShowModeStage();
    void UpdateArrows();
    bool FirstStageLocked() const;
    void ShowLockedTip();
};
