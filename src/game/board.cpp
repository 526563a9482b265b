#include "game/board.h"

#include <cstdio>

#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/virtual_files.h"
#include "game/front_screens.h"
#include "game/game_menu_window.h"
#include "game/help_window.h"
#include "game/level_complete_window.h"
#include "game/map_window.h"
#include "game/rewards.h"
#include "game/room_window.h"
#include "game/stages.h"
#include "game/tilesets.h"
#include "sound/sound_info.h"
#include "sound/sound_manager.h"
#include "ui/cursors.h"
#include "ui/image.h"
#include "ui/text_image.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"
#include "ui/window_manager.h"

void DeleteOwned(TBoardMahjong* board) { delete board; }

TBoardMahjong* GetBoard()
{
    TAppState& app = GetAppState();
    if (!app.mBoard) app.mBoard.reset(new TBoardMahjong());
    return app.mBoard.get();
}

namespace {

const int kTimeOverBoxId = 313;
const int kCellSize = 26;
const int kLayTypeNoMinimum = 21;

const char* const kTipKeys[] = {"", "TipMoveToPaint", "TipChangeColor", "TipScaleFit", "TipUseArrowsToScroll",
                                "TipUseRightMouse", "TipDoubleToFill"};

const TBasePaintByNumberSettings& Preset()
{
    static const TBasePaintByNumberSettings kDefaults;
    const TBasePaintByNumberSettings* preset = GetUserInfo()->mPreset.get();
    return preset ? *preset : kDefaults;
}

TModeProgress& Progress() { return GetUserInfo()->CurrentModeProgress(); }

bool UsualList() { return GetUserInfo()->mMode != 0; }

void CommitUser() { SaveCurrentUserProfile(); }

TUIBaseBox* FindElement(const std::string& name)
{
    TUIInfoHolder* holder = GetInterfaceHolder();
    return holder ? holder->Find(name) : nullptr;
}

void SelectDefaultCursor()
{
    GetGameCursors()->SelectDefault();
}

// The level's file name without folder and extension.
std::string LevelKey(const std::string& filename)
{
    std::string key = filename;
    const size_t slash = key.find_last_of("/\\");
    if (slash != std::string::npos) key.erase(0, slash + 1);
    const size_t dot = key.rfind('.');
    if (dot != std::string::npos) key.erase(dot);
    return key;
}

}  // namespace

std::string FormatBoardTimerText(float secondsLeft)
{
    const int t = TruncToInt(secondsLeft);
    const int seconds = t < 0 ? 0 : t % 60;
    const int minutes = t < 0 ? 0 : (t / 60) % 60;
    char text[32];
    if (seconds <= 9)
        snprintf(text, sizeof(text), "%d : 0%d", minutes, seconds);
    else
        snprintf(text, sizeof(text), "%d : %d", minutes, seconds);
    return text;
}

std::string GameTypeName(int layType)
{
    switch (layType) {
    case 0: return "GameOneColor";
    case 1:
    case 10:
    case 11:
    case 14: return "GameThreeColor";
    case 2: return "GameShapes";
    case 5: return "GameRome";
    case 6: return "GameLabyrinth";
    case 7: return "GameMysteryLands";
    case 8: return "GameMixColors";
    case 13: return "GameLego";
    default: return "";
    }
}

int32_t LimitLevelScore(int32_t score, int32_t layType)
{
    if (score > 99999) score = 99999;
    if (layType != kLayTypeNoMinimum && score < 100) score = 100;
    return score;
}

// ---------------------------------------------------------------------------------------------

TStandartRegenerateButton::TStandartRegenerateButton(TMyWindow* parent) : TMyButton(parent)
{
    mRecharge.mFrom = 0.0f;
    mRecharge.mCurrent = 0.0f;
    mRecharge.mTo = 1.0f;
    mRecharge.mDuration = 10.0f;
    mRecharge.mFinished = true;
    mRecharge.mRunning = false;
}

void TStandartRegenerateButton::SetCharged()
{
    mRecharge.mFrom = 1.0f;
    mRecharge.mTo = 1.0f;
    mRecharge.mCurrent = 1.0f;
    mRecharge.mElapsed = 0.0f;
    mRecharge.mFinished = true;
    mRecharge.mRunning = false;
    mArmed = false;
    mDisabled = false;
}

void TStandartRegenerateButton::StartRecharge()
{
    mRecharge.Set(0.0f, 1.0f, std::fabs(mRechargeTime), true);
    mRecharge.mPaused = false;
    mArmed = true;
}

bool TStandartRegenerateButton::Update(float dt)
{
    if (!mVisible) return false;
    mRecharge.Update(dt);
    if (mRecharge.mFinished && mArmed) {
        mArmed = false;
        if (mButtonListener && mButtonListener->GetListenerKind() == 1) {
            if (auto* listener = dynamic_cast<TStandartRegenerateButtonListener*>(mButtonListener))
                listener->OnRecharged(mParent ? mParent->mId : -1, mParent, mId, this);
        }
    }
    // IncValue lands exactly on its end, so the charged test can be exact.
    mDisabled = mRecharge.mCurrent != 1.0f;
    return false;
}

void TStandartRegenerateButton::DrawSelf()
{
    if (!mVisible) return;
    DrawStateImage(GetDrawState(), 0);
    DrawCaption();
    if (mDisabled) {
        const float value = mRecharge.mCurrent < 0.0f ? 0.0f : mRecharge.mCurrent;
        const int width = TruncToInt(static_cast<double>(GetWidth()) * value);
        if (width > 0) DrawStateImage(0, width);
    }
}

void TStandartRegenerateButton::SetPaused(bool paused)
{
    TMyButton::SetPaused(paused);
    mRecharge.mPaused = paused;
}

// ---------------------------------------------------------------------------------------------

TBoardMahjong::TBoardMahjong()
{
    mPicture.mListener = this;
    mColorTable.mListener = this;
    mNavigator.mListener = this;
    mCountdown.mPaused = true;
    mCountdown.mCountDown = true;
}

// The window manager is gone before the board at shutdown: the widgets are never touched here.
TBoardMahjong::~TBoardMahjong()
{
    if (GetUserInfo()->GetListener() == this) GetUserInfo()->SetListener(nullptr);
}

void TBoardMahjong::Activate()
{
    TGameBase::Activate();
    if (TSoundManager* sounds = GetSoundManager()) {
        sounds->StopAllMusic();
        // Read from the profile: the board's own indices still name the previous level here.
        const TModeProgress& progress = Progress();
        const bool first = progress.mStage == 0 && progress.mLevel == 0;
        sounds->PlayMusicList("music1", !first);
    }
    LoadFrameTextures();
    SetTutorialListener(this);
}

void TBoardMahjong::Deactivate()
{
    SetTutorialListener(nullptr);
    if (TSoundManager* sounds = GetSoundManager()) sounds->StopAllMusic();
    TMyWindowManager* manager = GetWindowManager();
    if (manager && manager->FindWindow(THelpWindow::kId)) manager->CloseWindow(THelpWindow::kId);
    TMyWindow* room = manager ? manager->FindWindow(TRoomWindow::kId) : nullptr;
    if (room) room->RemoveAllChildren(true, true);
    ForgetControls();
}

void TBoardMahjong::ForgetControls()
{
    mScaleSlider = nullptr;
    mBackSlider = nullptr;
    mRescaleButton = nullptr;
    mPageUpButton = nullptr;
    mPageDownButton = nullptr;
    mFillButton = nullptr;
    mMenuButton = nullptr;
    mGameTypeLabel = nullptr;
    mTimerLabel = nullptr;
    mBackImage = nullptr;
    mErrorMarks.clear();
    mRoom = nullptr;
}

void TBoardMahjong::FinishNow()
{
    TGameBase::FinishNow();
    LevelComplete(&mPicture);
}

void TBoardMahjong::NotifyGameFinished()
{
    if (mListener) mListener->OnGameFinished(this);
}

float TBoardMahjong::LevelTimeLimit(const TBasePaintByNumberSettings* preset) const
{
    if (!preset) return 0.0f;
    return static_cast<float>(mPicture.GetRowCount() * mPicture.GetColumnCount()) * preset->secsperonecell;
}

void TBoardMahjong::FormatBoardTimer()
{
    if (mTimerLabel) mTimerLabel->SetPlainText(FormatBoardTimerText(mCountdown.mValue));
}

std::vector<const TMosaicStar*> LevelStarRules(const TLevelInfoMosaic* level)
{
    std::vector<const TMosaicStar*> rules;
    if (!level) return rules;
    for (const std::string& name : level->StarKeys(GetUserInfo()->mDifficulty)) {
        // A key no rule answers to is left out.
        if (const TMosaicStar* star = FindMosaicStar(name)) rules.push_back(star);
    }
    return rules;
}

void TBoardMahjong::RebuildStarRules() { mStarRules = LevelStarRules(mLevel); }

void TBoardMahjong::StopForMissingLevel(int stage, int level, int mode)
{
    GetLogger()->LogMessage("no level %d in stage %d of mode %d: level not started", level, stage, mode);
    mStage = nullptr;
    mLevel = nullptr;
    mEffects.DeleteAll();
    mPicture.Unload();
    mColorTable.SetColors(mPicture.mColors, 0);
    mTipTimer = IncValue();
    mTipNumber = 0;
    mState = kStateIdle;
}

void TBoardMahjong::StartLevel(int stage, int level)
{
    SelectDefaultCursor();
    mState = kStateLoading;
    // A level starts unheld: the dialog that asked for it is on its way out (its hide finds
    // the count at 0), and a focus hold taken on a room window the board has since left must
    // not freeze the new level.
    mDialogPauses = 0;
    mFocusPaused = false;
    FollowPauses();
    TModeProgress& progress = Progress();
    if (stage == -1) stage = progress.mStage;
    if (level == -1) level = progress.mLevel;
    mStageIndex = stage;
    mLevelIndex = level;

    TStage* stageRecord = GetStage(stage, UsualList());
    TLevelInfoMosaic* levelRecord = nullptr;
    if (stageRecord && level >= 0 && level < static_cast<int>(stageRecord->mLevels.size()) &&
        stageRecord->mLevels[static_cast<size_t>(level)]->mKind == kLevelMosaic)
        levelRecord = static_cast<TLevelInfoMosaic*>(stageRecord->mLevels[static_cast<size_t>(level)].get());
    if (!levelRecord) {
        StopForMissingLevel(stage, level, GetUserInfo()->mMode);
        return;
    }
    mStage = stageRecord;
    mLevel = levelRecord;

    if (!mStage->mSoundList.empty()) {
        if (TSoundManager* sounds = GetSoundManager()) {
            SharedPtr<TSoundPlayList> list = sounds->FindSoundList(mStage->mSoundList);
            if (list.Get()) list->OpenStreams();
        }
    }

    mLayType = mLevel->mLayType;
    mPicture.mListener = this;
    ReleaseTilesetTextures();
    SelectTileset(mLevel->mTileset);
    if (TUIBaseBox* view = FindElement("paintview")) {
        mPicture.mViewportX = view->mX;
        mPicture.mViewportY = view->mY;
        mPicture.mViewportWidth = view->mWidth;
        mPicture.mViewportHeight = view->mHeight;
    }
    mPicture.LoadPicture(kCellSize, "textures/" + mLevel->mFilename, CurrentProfileIdText());

    mColorTable.mListener = this;
    mColorTable.SetColors(mPicture.mColors, mPicture.mColorCount);
    if (!mColorTable.mItems.empty()) mColorTable.mItems[0].Select();
    mPicture.UpdateCompletion();
    mColorTable.SetCompleted(mPicture.mCompletion);
    mNavigator.Reset();
    mNavigator.mListener = this;

    if (mScaleSlider) {
        mScaleSlider->mRangeMin = mPicture.mMinZoom;
        mScaleSlider->mRangeMax = mPicture.mMaxZoom;
        SetScaleSliderFromZoom();
    }
    RebuildStarRules();
    mEffects.DeleteAll();

    mStats.mErrors = mPicture.mErrors;
    mStats.mHintsUsed = mHintsUsed;
    mStats.mSecondsAllowed = LevelTimeLimit(&Preset());

    for (TMyImage* mark : mErrorMarks) {
        mark->mVisible = false;
        mark->mHover = false;
    }
    if (mGameTypeLabel) {
        mGameTypeLabel->SetTextKey("");
        mGameTypeLabel->RefreshText();
    }

    mLevelHandled = false;
    mSecondsUsed = 0.0f;
    mClockStopped = false;
    mLevelCompleteWindow = nullptr;
    mNoShuffle = true;
    mNoHint = true;
    mHintsUsed = 0;
    progress.mLevelScore = 0;
    StartPlay();
}

void TBoardMahjong::ShowErrorMarks()
{
    int count = Preset().maxerrorscount;
    if (mLevel && mLevel->mMaxErrors > 0) count = mLevel->mMaxErrors;
    for (size_t i = 0; i < mErrorMarks.size(); ++i) {
        TMyImage* mark = mErrorMarks[i];
        mark->mVisible = static_cast<int>(i) < count;
        if (!mark->mVisible) mark->mHover = false;
    }
}

void TBoardMahjong::StartPlay()
{
    SetGameTypeLabel(GameTypeName(mLayType));
    TModeProgress& progress = Progress();
    progress.mFlag1 = 1;
    progress.mFlag3 = 1;
    mState = kStatePlaying;
    GetRewardConnector().mLevelScore = 0;
    GetRewardConnector().mPairsCounter = 0;
    if (!mLevelHandled && mPicture.mColorCount > 0 && mPicture.AllColorsComplete()) {
        mClockStopped = true;
        LevelComplete(&mPicture);
    }
    CommitUser();

    const float limit = LevelTimeLimit(&Preset());
    if (limit > 0.0f) {
        mCountdown.mValue = limit;
        mCountdown.mCountDown = true;
        mCountdown.mPaused = false;
    } else {
        mCountdown.mValue = 0.0f;
        mCountdown.mPaused = true;
    }
    ShowErrorMarks();
    UpdatePageButtons();

    if (mStageIndex == 0 && !GetUserInfo()->HasPair("IHelpShown", "TipMoveToPaint")) ScheduleTip(1.0f, 1);
    if (mColorTable.mPageCount > 1) ScheduleTip(0.5f, 4);
    if (mStageIndex == 0 && mLevelIndex == 1) ScheduleTip(0.5f, 5);
    if (mFillButton) mFillButton->SetCharged();
    if (mStageIndex == 0 && mLevelIndex > 1) ShowFlyHints();
}

void TBoardMahjong::Update(float dt)
{
    if (mShadow) {
        mShadow->Update(dt);
        if (mShadow->mDone) mShadow.reset();
    }
    if (mPaused > 0) return;
    mEffects.Update(dt);
    if (mState == kStatePlaying) {
        mColorTable.Update(dt);
        if (!mClockStopped) mSecondsUsed += mClockSpeed * dt;
        const TBasePaintByNumberSettings& preset = Preset();
        if (Progress().mFlag1 && preset.usetimer != 0 && !mCountdown.mPaused && mCountdown.mValue <= 0.0f) {
            // Time over.
            mCountdown.mValue = 0.0f;
            SelectDefaultCursor();
            Progress().mFlag1 = 0;
            mEffects.Add(0.0f, new EffectGo("textures/loc/timeisover", static_cast<float>(GetLayoutWidth() / 2),
                                            static_cast<float>(GetLayoutHeight() / 2), 0.5f, this, 2, 1.5f));
            PlayNamedSound("timeup");
            if (mFillButton) mFillButton->SetCharged();
        }
        if (mTimerLabel) {
            mTimerLabel->mVisible = preset.usetimer != 0;
            if (mTimerLabel->mVisible) {
                mCountdown.Update(dt);
                FormatBoardTimer();
            }
        }
        mTipTimer.Update(dt);
    }
    if (mState == kStateFinished && !mLevelCompleteWindow) MakeResults();
}

void TBoardMahjong::LevelComplete(TPaintByNumber* /*picture*/)
{
    mStageAdvance = GetUserInfo()->AdvanceStage();
    if (mLevelHandled) return;
    mLevelHandled = true;
    Progress().mFlag1 = 0;
    GetRewardConnector().mLevelsCompleted += 1;
    CommitUser();
    mEffects.Add(0.0f, new EffectGo("textures/loc/levelcompletetext", static_cast<float>(GetLayoutWidth() / 2),
                                    static_cast<float>(GetLayoutHeight() / 2), 0.5f, this, 1, 1.5f));
    if (mLevel && !mLevel->mSound.empty()) PlayNamedSound(mLevel->mSound);
}

void TBoardMahjong::OnEffectGoShown(EffectGo* effect)
{
    if (effect->GetKind() == 1) PlayNamedSound("levelcomplete");
}

void TBoardMahjong::OnEffectGoFinished(EffectGo* effect)
{
    if (effect->GetKind() == 1) {
        mState = kStateFinished;
    } else if (effect->GetKind() == 2) {
        auto* box = new TMessageBoxOkWindow(this, "", "timeisovermessageMosaic", kTimeOverBoxId);
        box->mShowDelay = 1.0f;
        if (TMyWindowManager* manager = GetWindowManager())
            manager->AddWindow(box, 0.0f);
        else
            delete box;
    }
}

void TBoardMahjong::MakeResults()
{
    TUserInfo* user = GetUserInfo();
    TModeProgress& progress = Progress();
    TRewardConnector& stats = GetRewardConnector();
    mStats.mErrors = mPicture.mErrors;
    mStats.mHintsUsed = mHintsUsed;
    mStats.mSecondsUsed = mSecondsUsed;

    mResult = TLevelResult();
    mResult.mCompleted = 1;
    mResult.mReserved = 0;
    mResult.mLayType = mLayType;
    mResult.mSeconds = TruncToInt(mSecondsUsed);
    mResult.mPreviewType = mLevel ? mLevel->mPreviewType : 0;
    mResult.mLevelKey = mLevel ? LevelKey(mLevel->mFilename) : std::string();

    RebuildStarRules();
    int stars = 0;
    for (const TMosaicStar* rule : mStarRules)
        if (rule->Check(mStats)) ++stars;
    mResult.mStars = stars;

    int32_t score = progress.mLevelScore;
    const int entryIndex = GlobalLevelNumber(mStageIndex, mLevelIndex, UsualList());
    TLevelEntry none;
    TLevelEntry& entry = entryIndex >= 0 && entryIndex < static_cast<int>(progress.mEntries.size())
                             ? progress.mEntries[static_cast<size_t>(entryIndex)]
                             : none;
    if (entry.mBestStars == 0 && stars > 0) stats.mLevelsFirstCompleted += 1;
    if (stars == 3 && entry.mBestStars != 3) stats.mThreeStarLevels += 1;
    score = LimitLevelScore(score, mLayType);
    mResult.mScore = score;
    user->AddToTotalScore(score);
    if (mNoHint) stats.mLevelsWithoutHint += 1;
    if (mNoShuffle) stats.mLevelsWithoutShuffle += 1;
    stats.mLevelScore = score;
    stats.mTotalScore = progress.mTotalScore;

    mResult.mNewBest = score > entry.mBestScore ? 1 : 0;
    entry.mTime = mResult.mSeconds;
    if (score > entry.mBestScore) entry.mBestScore = score;
    if (stars > entry.mBestStars) entry.mBestStars = stars;

    std::vector<TReward*> earned;
    CollectEarnedRewards(stats, earned);
    CommitUser();
    if (TMyTutorialWindow* tutorial = GetTutorialWindow()) tutorial->Close(0);
    ShowShadow(0.6f);
    if (mGameTypeLabel) mGameTypeLabel->ClearText();
    if (mTimerLabel) mTimerLabel->ClearText();

    TMyWindowManager* manager = GetWindowManager();
    if (!manager) {
        // Only during the shutdown: no window can show the results any more.
        mState = kStateIdle;
        return;
    }
    auto* window = new TLevelCompleteWindow(mResult, mLevel, mStats, this);
    mLevelCompleteWindow = window;
    if (mStageAdvance == 2 && window->mNextButton) window->mNextButton->mDisabled = true;
    window->mRewardsEarned = !earned.empty();
    manager->AddWindow(window, 0.0f);
}

void TBoardMahjong::ShowShadow(float alpha)
{
    mShadow.reset(new TShadow());
    mShadow->mTargetAlpha = alpha;
    mShadow->mStay = true;
    mShadow->FadeIn();
}

void TBoardMahjong::OnFlyWindowShown(TFlyWindow* /*window*/, int /*id*/)
{
    ++mDialogPauses;
    FollowPauses();
    mCountdown.mPaused = true;
    ShowShadow(0.6f);
}

void TBoardMahjong::OnFlyWindowHidden(TFlyWindow* /*window*/, int /*id*/)
{
    if (mDialogPauses > 0) --mDialogPauses;
    FollowPauses();
    // Resumed at every hide: the countdown moves only in frames the board runs, so a hold
    // that remains keeps it still until that hold goes too.
    if (Progress().mFlag1 && Preset().usetimer != 0) mCountdown.mPaused = false;
    if (mShadow) mShadow->FadeOut();
}

void TBoardMahjong::OnFlyClosed(TFlyWindow* /*window*/, int id, int result)
{
    TMyWindowManager* manager = GetWindowManager();
    auto showScreen = [manager](TMyWindow* screen) {
        if (manager)
            manager->ShowScreen(screen, true, 1);
        else
            delete screen;
    };
    auto removeProgress = [this]() {
        const std::string& path = mPicture.GetProgressPath();
        if (!path.empty()) RemoveFile(path);
    };
    switch (id) {
    case kPauseWindowId:
        if (mShadow) mShadow->FadeOut();
        mFocusPaused = false;
        FollowPauses();
        break;
    case TGameMenuWindow::kId:
        if (result == 5) {
            CommitUser();
            removeProgress();
            // The stored indices: the profile may already name the next stage while the
            // completion caption runs.
            StartLevel(mStageIndex, mLevelIndex);
        } else if (result == 3) {
            showScreen(new TMainMenu());
        } else if (result == 9) {
            CommitUser();
            showScreen(new TMapWindow());
        }
        break;
    case kTimeOverBoxId:
        StartLevel(mStageIndex, mLevelIndex);
        break;
    case TLevelCompleteWindow::kId:
        mLevelCompleteWindow = nullptr;
        mState = kStateIdle;
        if (result == 1) {
            CommitUser();
            removeProgress();
            StartLevel(mStageIndex, mLevelIndex);
        } else if (result == 2) {
            if (mStageAdvance == 2) CommitUser();
            if (mShadow) mShadow->FadeOut();
            showScreen(new TMainMenu());
        } else if (result == 3) {
            if (mStageAdvance == 1) {
                if (mShadow) mShadow->FadeOut();
                NotifyGameFinished();
            } else if (mStageAdvance == 0) {
                if (mShadow) mShadow->FadeOut();
                TModeProgress& progress = Progress();
                if (progress.mStage == 1 && !progress.FirstStageComplete(UsualList())) {
                    progress.mStage = 0;
                    progress.mLevel = 0;
                    TStage* first = GetStage(0, UsualList());
                    const int count = first ? static_cast<int>(first->mLevels.size()) : 0;
                    for (int i = 0; i < count; ++i) {
                        const int index = GlobalLevelNumber(0, i, UsualList());
                        if (index >= 0 && index < static_cast<int>(progress.mEntries.size()) &&
                            progress.mEntries[static_cast<size_t>(index)].mBestStars == 0) {
                            progress.mLevel = i;
                            break;
                        }
                    }
                }
                CommitUser();
                showScreen(new TMapWindow());
            } else {
                CommitUser();
                if (mShadow) mShadow->FadeOut();
                showScreen(new TMapWindow());
            }
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Layout, controls and input.

void TBoardMahjong::Setup()
{
    TMyWindowManager* manager = GetWindowManager();
    mRoom = manager ? manager->FindWindow(TRoomWindow::kId) : nullptr;
    GetUserInfo()->SetListener(this);
    if (!mBackImage && mRoom) {
        if (auto* info = dynamic_cast<const TUIMyImage*>(FindElement("imageback"))) {
            mBackImage = CreateImage(info, mRoom);
            if (mBackImage) mBackImage->mDrawn = false;
        }
    }
    if (TUIBaseBox* table = FindElement("colortable")) {
        mColorTable.SetPosition(static_cast<float>(table->mX), static_cast<float>(table->mY), false);
        mColorTable.SetWidth(table->mWidth);
        mColorTable.SetHeight(table->mHeight);
        mColorTable.mBackOffsetX = table->mHAlign;
        mColorTable.mBackOffsetY = table->mVAlign;
    }
    if (TUIBaseBox* navigator = FindElement("offsettable"))
        mNavigator.SetPosition(static_cast<float>(navigator->mX), static_cast<float>(navigator->mY), false);
    CreateControls();
    LoadNumberedImages(mErrorMarks, false, "imageerror");
    for (TMyImage* mark : mErrorMarks) {
        mark->mVisible = false;
        mark->mHover = false;
    }
    CreateLabels();
    StartLevel(-1, -1);
    if (mFillButton) {
        mFillButton->mRechargeTime = static_cast<float>(Preset().fillcolorrecharge);
        GetLogger()->LogMessage("hint regeneration time %f", static_cast<double>(mFillButton->mRechargeTime));
    }
    if (mBackSlider) {
        mBackSlider->SetValue(GetUserInfo()->mViewValue);
        OnSliderChanged(mBackSlider->mId, GetUserInfo()->mViewValue, mBackSlider);
    }
}

void TBoardMahjong::CreateControls()
{
    if (!mRoom) return;
    if (!mFillButton) {
        if (auto* info = dynamic_cast<TUIMyButton*>(FindElement("fillrechargebtn"))) {
            mFillButton = new TStandartRegenerateButton(mRoom);
            mFillButton->ApplyInfo(info);
            mFillButton->mId = 1;
            mFillButton->SetCharged();
            mFillButton->mButtonListener = this;
            mFillButton->mMouseAllowed = false;
        }
    }
    auto makeButton = [this](TMyButton*& button, const char* name) {
        if (button) return;
        if (auto* info = dynamic_cast<TUIMyButton*>(FindElement(name))) {
            button = new TMyButton(mRoom);
            button->ApplyInfo(info);
            button->mButtonListener = this;
            button->mVisible = true;
        }
    };
    auto makeSlider = [this](TBaseSlider*& slider, const char* name) {
        if (slider) return;
        if (auto* info = dynamic_cast<const TUIBaseSlider*>(FindElement(name))) {
            slider = new TBaseSlider(mRoom);
            slider->ApplyInfo(info);
            slider->mSliderListener = this;
            slider->mVisible = true;
        }
    };
    makeButton(mMenuButton, "menubtn");
    makeButton(mRescaleButton, "rescalebtn");
    makeSlider(mScaleSlider, "scalesld");
    makeSlider(mBackSlider, "fillcolorsld");
    makeButton(mPageUpButton, "colorupbtn");
    makeButton(mPageDownButton, "colordownbtn");
}

void TBoardMahjong::CreateLabels()
{
    if (mRoom && !mGameTypeLabel) {
        if (auto* info = dynamic_cast<const TUIText*>(FindElement("GameTypeLbl")))
            mGameTypeLabel = CreateTextImage(info, mRoom);
    }
    if (mRoom && !mTimerLabel) {
        if (auto* info = dynamic_cast<const TUIText*>(FindElement("TimerValueLbl")))
            mTimerLabel = CreateTextImage(info, mRoom);
    }
    if (mTimerLabel) mTimerLabel->ClearText();
}

void TBoardMahjong::LoadNumberedImages(std::vector<TMyImage*>& list, bool listen, const std::string& prefix)
{
    if (!list.empty() || !mRoom) return;
    for (int n = 1;; ++n) {
        char name[64];
        snprintf(name, sizeof(name), "%s%d", prefix.c_str(), n);
        auto* info = dynamic_cast<const TUIMyImage*>(FindElement(name));
        if (!info) break;
        TMyImage* image = CreateImage(info, mRoom);
        if (!image) break;
        if (listen) image->SetListener(this);
        list.push_back(image);
    }
}

void TBoardMahjong::Draw()
{
    const SDL_Rect area{0, 0, GetLayoutWidth(), GetLayoutHeight()};
    if (mState == kStatePlaying) {
        mPicture.DrawOverFill(1.0f, area, mBackColor);
    } else if (TRenderDevice* device = GetAppState().mRenderDevice.get()) {
        device->FillRect(area, mBackColor[0], mBackColor[1], mBackColor[2], mBackColor[3]);
    }
    if (mBackImage) mBackImage->DrawSelf();
    mColorTable.Draw(1.0f);
    if (mPaused <= 0) mEffects.Draw();
}

void TBoardMahjong::DrawOverlay()
{
    if (mShadow) mShadow->Draw();
}

bool TBoardMahjong::InPictureView(int x, int y) const
{
    return x >= mPicture.mViewportX && x < mPicture.mViewportX + mPicture.mViewportWidth &&
           y >= mPicture.mViewportY && y < mPicture.mViewportY + mPicture.mViewportHeight;
}

bool TBoardMahjong::InColorTable(int x, int y) const
{
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    return fx >= mColorTable.mX && fx < mColorTable.mX + mColorTable.mWidth && fy >= mColorTable.mY &&
           fy < mColorTable.mY + mColorTable.mHeight;
}

void TBoardMahjong::SetScaleSliderFromZoom()
{
    if (!mScaleSlider) return;
    const float range = mPicture.mMaxZoom - mPicture.mMinZoom;
    mScaleSlider->SetValue(range != 0.0f ? (mPicture.mZoom - mPicture.mMinZoom) / range : 0.0f);
}

void TBoardMahjong::MouseMove(const TMouseEvent& event)
{
    if (mState == kStatePlaying) mPicture.MouseMove(event);
}

void TBoardMahjong::MouseDown(const TMouseEvent& event)
{
    if (mSwallowCount > 0) {
        --mSwallowCount;
        return;
    }
    if (mState != kStatePlaying) return;
    mColorTable.mPressX = event.mX;
    mColorTable.mPressY = event.mY;
    mColorTable.mDragging = false;
    mPicture.MouseDown(event);
}

void TBoardMahjong::CompleteIfPainted()
{
    mColorTable.SetCompleted(mPicture.mCompletion);
    // A picture that could not be loaded has no colours and is not a won level.
    if (!mLevelHandled && mPicture.mColorCount > 0 && mPicture.AllColorsComplete()) {
        mClockStopped = true;
        LevelComplete(&mPicture);
    }
}

void TBoardMahjong::MouseUp(const TMouseEvent& event)
{
    if (mSwallowCount > 0) {
        mSwallowCount = 0;
        return;
    }
    if (mState != kStatePlaying) return;
    if (mColorTable.MouseUp(event)) return;
    mPicture.MouseUp(event);
    CompleteIfPainted();
}

void TBoardMahjong::MouseDrag(const TMouseEvent& event)
{
    if (mState != kStatePlaying) return;
    if (InColorTable(event.mX, event.mY)) {
        mColorTable.mDragging = true;
        mColorTable.SetItemsOffset(TruncToInt(static_cast<float>(mColorTable.mPressY - event.mY) + mColorTable.mOffsetY));
        UpdatePageButtons();
    } else {
        mPicture.MouseDrag(event);
    }
}

void TBoardMahjong::MouseWheel(const TMouseEvent& event)
{
    if (InColorTable(event.mX, event.mY)) {
        mColorTable.ScrollPage(event.mButtons > 0 ? -1 : 1);
        UpdatePageButtons();
        return;
    }
    if (event.mButtons > 0) {
        mPicture.mZoom += 0.1f;
        if (mPicture.mZoom > mPicture.mMaxZoom) mPicture.mZoom = mPicture.mMaxZoom;
    } else if (event.mButtons < 0) {
        mPicture.mZoom -= 0.1f;
        if (mPicture.mZoom < mPicture.mMinZoom) mPicture.mZoom = mPicture.mMinZoom;
    }
    SetScaleSliderFromZoom();
}

void TBoardMahjong::DoubleClick(const TMouseEvent& event)
{
    if (!mFillButton || mFillButton->GetCharge() != 1.0f || !InPictureView(event.mX, event.mY)) return;
    mFillButton->StartRecharge();
    mPicture.DoubleClick(event);
    CompleteIfPainted();
}

void TBoardMahjong::SetPaused(bool paused)
{
    mFocusPaused = paused;
    FollowPauses();
    // The press and release that brought the game back are not play.
    if (!paused) mSwallowCount = 2;
}

void TBoardMahjong::FollowPauses() { mPaused = mDialogPauses > 0 || mFocusPaused ? 1 : 0; }

void TBoardMahjong::UpdatePageButtons()
{
    if (mPageUpButton) mPageUpButton->mDisabled = mColorTable.mCurrentPage == 0;
    if (mPageDownButton) mPageDownButton->mDisabled = mColorTable.mCurrentPage >= mColorTable.mPageCount - 1;
}

void TBoardMahjong::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* button)
{
    TMyWindowManager* manager = GetWindowManager();
    if (!manager || manager->ActiveFader() || manager->FindWindow(TGameMenuWindow::kId) ||
        manager->FindWindow(kTimeOverBoxId))
        return;
    if (!button) return;
    if (button == mMenuButton) {
        manager->AddWindow(new TGameMenuWindow("ui/gamemenu.xml", this), 0.0f);
    } else if (button == mRescaleButton) {
        mPicture.ResetView();
        SetScaleSliderFromZoom();
        mNavigator.Reset();
    } else if (button == mPageUpButton) {
        mColorTable.ScrollPage(-1);
        UpdatePageButtons();
    } else if (button == mPageDownButton) {
        mColorTable.ScrollPage(1);
        UpdatePageButtons();
    }
}

void TBoardMahjong::OnRecharged(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/)
{
    PlayNamedSound("hint");
}

void TBoardMahjong::OnSliderChanged(int /*id*/, float value, TBaseSlider* slider)
{
    if (slider && slider == mScaleSlider) {
        mPicture.mZoom = value;
    } else if (slider && slider == mBackSlider) {
        mBackColor[0] = mBackColor[1] = mBackColor[2] = value;
        mBackColor[3] = 1.0f;
        GetUserInfo()->mViewValue = value;
    }
}

void TBoardMahjong::OnSliderReleased(int /*id*/, float /*value*/, TBaseSlider* slider)
{
    if (slider && slider == mScaleSlider) ScheduleTip(1.0f, 3);
}

void TBoardMahjong::OnUserInfoChanged()
{
    if (mFillButton) mFillButton->mRechargeTime = static_cast<float>(Preset().fillcolorrecharge);
    ShowErrorMarks();
}

void TBoardMahjong::OnColorSelected(int number)
{
    mPicture.SelectColor(number);
    TSoundManager* sounds = GetSoundManager();
    if (sounds && !sounds->IsSoundPlaying("colorcomplete")) sounds->PlaySound("colorselected");
}

void TBoardMahjong::OnColorCompleted(int /*number*/) { PlayNamedSound("colorcomplete"); }

void TBoardMahjong::OnCellPainted(TPaintByNumberItem* /*cell*/) { PlayNamedSound("fillcell"); }

void TBoardMahjong::OnAreaFilled() { PlayNamedSound("fillarea"); }

void TBoardMahjong::OnStrokeFinished()
{
    if (mStageIndex != 0) return;
    switch (mPicture.CountCompleteColors()) {
    case 1: ShowTutorial("TipChangeScale", true, -1, "showtutorial"); break;
    case 2: ShowTutorial("TipChangeBackColor", true, -1, "showtutorial"); break;
    case 3: ShowTutorial("TipFillAllToComplete", true, -1, "showtutorial"); break;
    default: break;
    }
    if (mLevelIndex >= 1) ScheduleTip(1.0f, 6);
}

void TBoardMahjong::OnOffsetMoved(TPaintByNumberOffsetTable* /*table*/, float u, float v)
{
    mPicture.SetPanFromNavigator(u, v);
}

void TBoardMahjong::ScheduleTip(float seconds, int number)
{
    mTipNumber = number;
    mTipTimer.Set(0.0f, 1.0f, std::fabs(seconds), true);
    mTipTimer.mPaused = false;
    mTipTimer.mListener = this;
}

void TBoardMahjong::OnIncValueFinished(IncValue* value)
{
    if (value != &mTipTimer) return;
    const int number = mTipNumber;
    mTipNumber = 0;
    if (number >= 1 && number <= 6) ShowTutorial(kTipKeys[number], true, -1, "showtutorial");
}

void TBoardMahjong::OnTutorialClosed(const std::string& name)
{
    GetLogger()->LogMessage("tutorial window done = %s", name.c_str());
    if (name == "TipMoveToPaint") ScheduleTip(0.5f, 2);
}

void TBoardMahjong::ShowFlyHints()
{
    std::string font = "big";
    if (TUIBaseBox* element = FindElement("flyhint")) font = element->mParam;
    auto* hint = new TBrisaloHintText({"flyhint1", "flyhint2", "flyhint3", "flyhint4"}, mPicture.mViewportX,
                                      GetLayoutHeight() - 124, mPicture.mViewportWidth, 124, font,
                                      TFloatColor{0.0f, 0.0f, 0.0f, 1.0f});
    mEffects.Add(1.5f, hint);
}

void TBoardMahjong::SetGameTypeLabel(const std::string& key)
{
    if (!mGameTypeLabel) return;
    mGameTypeLabel->mVisible = false;
    mGameTypeLabel->mHover = false;
    mGameTypeLabel->SetTextKey(key);
    mGameTypeLabel->RefreshText();
}
