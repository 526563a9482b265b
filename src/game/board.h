// The mosaic board: the one game of the program. It runs a level from loading its picture to
// the level-complete window: the picture, the colour table and the navigator, the countdown,
// the star rules, the player's results and rewards, the board's controls and input, the
// first-stage tips. Created on first use and kept by the application state until the
// shutdown deletes it after every window that hosts it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/board_effects.h"
#include "game/cell_item.h"
#include "game/color_table.h"
#include "game/difficulty.h"
#include "game/game_base.h"
#include "game/picture.h"
#include "game/user_info.h"
#include "graphics/objects_manager.h"
#include "graphics/tweens.h"
#include "ui/button.h"
#include "ui/classic_window.h"
#include "ui/slider.h"
#include "ui/tutorial_window.h"

class TMyImage;
class TSimpleTextImage;
class TLevelCompleteWindow;
struct TStage;
class TLevelInfoMosaic;

// Interfaces the board takes part in that nothing ever calls here.
class EffectRemoverListener {
public:
    virtual ~EffectRemoverListener() = default;
};
class BonusChangeListener {
public:
    virtual ~BonusChangeListener() = default;
};
class EffectBonusTimeListener {
public:
    virtual ~EffectBonusTimeListener() = default;
};
class BoardAppearMosaicEffectListener {
public:
    virtual ~BoardAppearMosaicEffectListener() = default;
};
class TButtonBackListener {
public:
    virtual ~TButtonBackListener() = default;
    virtual void EmptyHookA() {}
    virtual void EmptyHookB() {}
};

class TStandartRegenerateButtonListener : public TMyButtonListener {
public:
    virtual void OnRecharged(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
};

// The fill action's charge: a bar that fills from left to right while the action recharges.
class TStandartRegenerateButton : public TMyButton, public TButtonBackListener {
public:
    explicit TStandartRegenerateButton(TMyWindow* parent);
    int GetKind() const override { return 1; }
    bool Update(float dt) override;
    void DrawSelf() override;
    void SetPaused(bool paused) override;

    void SetCharged();
    void StartRecharge();
    float GetCharge() const { return mRecharge.mCurrent; }

    IncValue mRecharge;
    float mRechargeTime = 10.0f;
    bool mArmed = false;
};

struct TLevelResult {
    uint8_t mCompleted = 0;
    int32_t mScore = 0;
    int32_t mSeconds = 0;
    int32_t mReserved = 0;
    int32_t mLayType = 0;
    int32_t mStars = 0;
    uint8_t mNewBest = 0;
    std::string mLevelKey;
    int32_t mPreviewType = 0;
};

// "m : ss" of a countdown; hours are dropped and negative values show 0 : 00.
std::string FormatBoardTimerText(float secondsLeft);
// The localisation key naming a level's kind of picture; "" for kinds without a name.
std::string GameTypeName(int layType);
// The score a finished level keeps: at most 99999, and at least 100 except for laytype 21.
int32_t LimitLevelScore(int32_t score, int32_t layType);

class TBoardMahjong : public TGameBase,
                      public TStandartRegenerateButtonListener,
                      public TFlyWindowListener,
                      public EffectRemoverListener,
                      public BonusChangeListener,
                      public ObjectsManagerListener,
                      public EffectGoListener,
                      public TBaseUserInfoListener,
                      public EffectBonusTimeListener,
                      public BoardAppearMosaicEffectListener,
                      public TMyWindowListener,
                      public TMyTutorialWindowListener,
                      public IncValueListener,
                      public TColorTableListener,
                      public TBaseSliderListener,
                      public TPaintByNumberOffsetTableListener,
                      public TPaintByNumberListener {
public:
    enum { kStateIdle = 2, kStateLoading = 1, kStatePlaying = 3, kStateFinished = 8 };

    TBoardMahjong();
    ~TBoardMahjong() override;

    int GetKind() const override { return 1; }
    void Activate() override;
    void Setup() override;
    void Deactivate() override;
    void Draw() override;
    void DrawOverlay() override;
    void Update(float dt) override;
    void MouseMove(const TMouseEvent& event) override;
    void MouseUp(const TMouseEvent& event) override;
    void MouseDown(const TMouseEvent& event) override;
    void MouseDrag(const TMouseEvent& event) override;
    void MouseWheel(const TMouseEvent& event) override;
    void DoubleClick(const TMouseEvent& event) override;
    void KeyUp(int /*key*/) override {}
    void SetPaused(bool paused) override;
    void FinishNow() override;

    virtual void StartLevel(int stage, int level);
    virtual void StartPlay();
    virtual void LevelComplete(TPaintByNumber* picture);
    virtual void NotifyGameFinished();

    float LevelTimeLimit(const TBasePaintByNumberSettings* preset) const;
    void FormatBoardTimer();
    void CreateControls();
    void CreateLabels();
    void LoadNumberedImages(std::vector<TMyImage*>& list, bool listen, const std::string& prefix);
    void ShowShadow(float alpha);
    void ShowFlyHints();
    void ScheduleTip(float seconds, int number);
    void UpdatePageButtons();
    void SetGameTypeLabel(const std::string& key);

    // Listeners.
    int GetListenerKind() override { return 1; }
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    void OnRecharged(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    void OnFlyClosed(TFlyWindow* window, int id, int result) override;
    void OnFlyWindowShown(TFlyWindow* window, int id) override;
    void OnFlyWindowHidden(TFlyWindow* window, int id) override;
    void OnEffectGoShown(EffectGo* effect) override;
    void OnEffectGoFinished(EffectGo* effect) override;
    void OnUserInfoChanged() override;
    void OnTutorialClosed(const std::string& name) override;
    void OnIncValueFinished(IncValue* value) override;
    void OnColorSelected(int number) override;
    void OnColorCompleted(int number) override;
    void OnSliderChanged(int id, float value, TBaseSlider* slider) override;
    void OnSliderReleased(int id, float value, TBaseSlider* slider) override;
    void OnOffsetMoved(TPaintByNumberOffsetTable* table, float u, float v) override;
    void OnStrokeFinished() override;
    void OnCellPainted(TPaintByNumberItem* cell) override;
    void OnAreaFilled() override;

    // Controls: children of the room window, which owns them.
    TBaseSlider* mScaleSlider = nullptr;
    TBaseSlider* mBackSlider = nullptr;
    TMyButton* mRescaleButton = nullptr;
    TMyButton* mPageUpButton = nullptr;
    TMyButton* mPageDownButton = nullptr;
    TStandartRegenerateButton* mFillButton = nullptr;
    TMyButton* mMenuButton = nullptr;
    TPaintByNumberOffsetTable mNavigator;
    ObjectsManager mEffects{true};
    bool mLevelHandled = false;
    TPaintByNumber mPicture;
    int32_t mLayType = 0;
    int32_t mState = kStateIdle;
    TColorsTableGrid mColorTable;
    TSimpleTextImage* mGameTypeLabel = nullptr;
    TSimpleTextImage* mTimerLabel = nullptr;
    TStage* mStage = nullptr;
    int32_t mStageIndex = 0;
    int32_t mLevelIndex = 0;
    TLevelInfoMosaic* mLevel = nullptr;
    TLevelCompleteWindow* mLevelCompleteWindow = nullptr;
    TLevelResult mResult;
    float mClockSpeed = 1.0f;
    float mSecondsUsed = 0.0f;
    bool mClockStopped = false;
    std::unique_ptr<TShadow> mShadow;
    int32_t mStageAdvance = 1;
    bool mNoShuffle = true;
    bool mNoHint = true;
    TSecondsCounter mCountdown;
    std::vector<TMyImage*> mErrorMarks;
    std::vector<const TMosaicStar*> mStarRules;
    int32_t mSwallowCount = 0;
    // The two holds on the game's paused value, kept apart: a focus return must not release
    // a board that an open dialog still holds, nor a closing dialog one the lost focus holds.
    int32_t mDialogPauses = 0;
    bool mFocusPaused = false;
    int32_t mHintsUsed = 0;
    TLevelPlayStats mStats;
    IncValue mTipTimer;
    int32_t mTipNumber = 0;
    TMyImage* mBackImage = nullptr;
    float mBackColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    TMyWindow* mRoom = nullptr;

private:
    void MakeResults();
    void RebuildStarRules();
    void ShowErrorMarks();
    void StopForMissingLevel(int stage, int level, int mode);
    // Completes the level when every colour of a loaded picture is painted right.
    void CompleteIfPainted();
    void ForgetControls();
    bool InPictureView(int x, int y) const;
    bool InColorTable(int x, int y) const;
    void SetScaleSliderFromZoom();
    void FollowPauses();
};

TBoardMahjong* GetBoard();
// The star rules a level judges at the player's difficulty, in order; a difficulty past the
// level's lists takes the first.
std::vector<const TMosaicStar*> LevelStarRules(const TLevelInfoMosaic* level);
