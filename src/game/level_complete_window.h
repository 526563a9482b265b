// The dialog that closes a finished level: the finished picture in a frame of the level's preview
// size, the earned stars revealed one by one with ring bursts, and the buttons repeat, main menu
// and next level, whose id is the result the board acts on.
#pragma once
#include <memory>
#include <vector>

#include "game/board.h"
#include "graphics/objects_manager.h"
#include "graphics/particle_system.h"
#include "graphics/static_image.h"
#include "ui/classic_window.h"

class TLevelInfoMosaic;
class TMyImage;
class TSimpleTextImage;

class TLevelCompleteWindow : public TFlyWindow, public ParticleSystemListener {
public:
    static constexpr int kId = 314;
    enum { kPhaseNotCompleted = 0, kPhaseStars = 2, kPhaseDone = 3, kPhaseArriving = 4 };

    TLevelCompleteWindow(const TLevelResult& result, TLevelInfoMosaic* level, const TLevelPlayStats& stats,
                         TFlyWindowListener* listener);
    ~TLevelCompleteWindow() override;

    bool Update(float dt) override;
    void DrawSelf() override;
    void DrawOver() override {}
    void OnFlyShown(TFlyWindow* window, int id) override;
    void OnFlyClosing(TFlyWindow* window, int id) override;

    // One place for a star: "star<k>" of the layout, centred in window coordinates.
    struct TStarSlot {
        float mCentreX = 0.0f;
        float mCentreY = 0.0f;
        TSimpleTextImage* mLabel = nullptr;  // a child, may be missing
        std::unique_ptr<StaticImage> mShape;
        std::unique_ptr<StaticImage> mStar;
    };

    TSimpleTextImage* mScoreLabel = nullptr;
    TMyButton* mNextButton = nullptr;
    TMyButton* mMenuButton = nullptr;
    TMyButton* mRepeatButton = nullptr;
    TMyImage* mPictureImage = nullptr;
    int32_t mPhase = kPhaseArriving;
    TLevelResult mResult;
    TLevelPlayStats mStats;
    TLevelInfoMosaic* mLevel = nullptr;  // the stage list's, not owned
    std::vector<TStarSlot> mSlots;
    int32_t mStarsShown = 0;
    float mStarInterval = 0.5f;
    float mStarTimer = 0.0f;
    StaticImage mPictureTexture;
    ObjectsManager mEffects{true};
    bool mRewardsEarned = false;

private:
    void ShowSizeSet(int previewType);
    void FindStarSlots();
    void RevealNextStar();
    // The number of stars the reveal ends at: never more than there are slots for.
    int32_t StarsToReveal() const;
};
