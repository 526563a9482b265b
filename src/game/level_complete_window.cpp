#include "game/level_complete_window.h"

#include <string>

#include "core/display.h"
#include "game/ring_burst.h"
#include "ui/image.h"
#include "ui/text_image.h"
#include "ui/ui_info_holder.h"

namespace {
const char* const kPictureNames[] = {"image", "imagebig", "imagebig15"};
const char* const kBackNames[] = {"imageback", "imagebackbig", "imagebackbig15"};
const char* const kFrameNames[] = {"imageframe", "imageframebig", "imageframebig15"};
const char* const kBackTextures[] = {"textures/gui/levelcomplete/frameback", "textures/gui/levelcomplete/framebackbig",
                                     "textures/gui/levelcomplete/framebackbig15"};
const char* const kFrameTextures[] = {"textures/gui/levelcomplete/frame", "textures/gui/levelcomplete/framebig",
                                      "textures/gui/levelcomplete/framebig15"};
const char kStarShapeTexture[] = "textures/gui/levelcomplete/starshape";
const char kStarTexture[] = "textures/gui/levelcomplete/star";
}  // namespace

TLevelCompleteWindow::TLevelCompleteWindow(const TLevelResult& result, TLevelInfoMosaic* level,
                                           const TLevelPlayStats& stats, TFlyWindowListener* listener)
    : TFlyWindow(listener, true, "ui/levelcomplete.xml"), mResult(result), mStats(stats), mLevel(level)
{
    mId = kId;
    // The window judges a new best itself from the profile it shows.
    mResult.mNewBest = 0;
    mScoreLabel = dynamic_cast<TSimpleTextImage*>(FindChild("lvlscore"));
    mNextButton = dynamic_cast<TMyButton*>(FindChild("nextlevel"));
    mMenuButton = dynamic_cast<TMyButton*>(FindChild("mainmenu"));
    mRepeatButton = dynamic_cast<TMyButton*>(FindChild("repeat"));

    const int p = mResult.mPreviewType;
    ShowSizeSet(p);
    // Preview types past the three sizes show no set but still take the largest one's textures.
    const int size = (p == 0 || p == 1) ? p : 2;
    if (auto* back = dynamic_cast<TMyImage*>(FindChild(kBackNames[size]))) back->SetImage(kBackTextures[size]);
    if (auto* frame = dynamic_cast<TMyImage*>(FindChild(kFrameNames[size]))) frame->SetImage(kFrameTextures[size]);

    mPictureImage = dynamic_cast<TMyImage*>(FindChild(kPictureNames[size]));
    if (mPictureImage) {
        mPictureImage->mDrawMode = 1;
        if (TBoardMahjong* board = GetBoard())
            board->mPicture.RenderToTexture(&mPictureTexture, mPictureImage->mWidth, mPictureImage->mHeight);
        mPictureImage->mImage.ShareTexture(mPictureTexture);
    }

    FindStarSlots();
    const std::vector<const TMosaicStar*> rules = LevelStarRules(mLevel);
    for (size_t i = 0; i < mSlots.size() && i < rules.size(); ++i) {
        TStarSlot& slot = mSlots[i];
        if (slot.mLabel) {
            slot.mLabel->mKey.clear();
            slot.mLabel->mText = rules[i]->GetDescription(mStats);
        }
        slot.mShape->SetTexture(kStarShapeTexture);
        slot.mShape->SetPosition(slot.mCentreX, slot.mCentreY, true);
        slot.mStar->SetTexture(kStarTexture);
        slot.mStar->SetPosition(slot.mCentreX, slot.mCentreY, true);
        slot.mStar->SetVisible(false);
    }
    // A slot without a rule of the level stays empty: no shape, no star, no text.
    if (mSlots.size() > rules.size()) mSlots.resize(rules.size());
}

TLevelCompleteWindow::~TLevelCompleteWindow() = default;

void TLevelCompleteWindow::ShowSizeSet(int previewType)
{
    for (int size = 0; size < 3; ++size) {
        for (const char* name : {kPictureNames[size], kBackNames[size], kFrameNames[size]}) {
            TMyWindow* child = FindChild(name);
            if (!child) continue;
            child->mVisible = size == previewType;
            if (!child->mVisible) child->mHover = false;
        }
    }
}

void TLevelCompleteWindow::FindStarSlots()
{
    if (!mHolder) return;
    for (int k = 1;; ++k) {
        const std::string suffix = std::to_string(k);
        const TUIBaseBox* rect = mHolder->Find("star" + suffix);
        if (!rect) break;
        TStarSlot slot;
        slot.mCentreX = static_cast<float>(rect->mX) + static_cast<float>(rect->mWidth) * 0.5f;
        slot.mCentreY = static_cast<float>(rect->mY) + static_cast<float>(rect->mHeight) * 0.5f;
        slot.mLabel = dynamic_cast<TSimpleTextImage*>(FindChild("stardesc" + suffix));
        slot.mShape.reset(new StaticImage());
        slot.mStar.reset(new StaticImage());
        mSlots.push_back(std::move(slot));
    }
}

int32_t TLevelCompleteWindow::StarsToReveal() const
{
    const int32_t slots = static_cast<int32_t>(mSlots.size());
    return mResult.mStars < slots ? mResult.mStars : slots;
}

void TLevelCompleteWindow::OnFlyShown(TFlyWindow* /*window*/, int /*id*/)
{
    mPhase = mResult.mCompleted ? kPhaseStars : kPhaseNotCompleted;
}

void TLevelCompleteWindow::RevealNextStar()
{
    TStarSlot& slot = mSlots[static_cast<size_t>(mStarsShown)];
    slot.mStar->SetVisible(true);
    int32_t x = 0, y = 0;
    GetAbsolutePosition(&x, &y);
    const float cx = static_cast<float>(x) + slot.mCentreX;
    const float cy = static_cast<float>(y) + slot.mCentreY;
    const float cycleTimes[2] = {1.5f, 1.7f};
    const float endScales[2] = {1.5f, 2.0f};
    for (int i = 0; i < 2; ++i) {
        auto* burst = new EffectChange3One(cx, cy, cycleTimes[i], endScales[i], 0.7f, false);
        burst->SetImage(kStarTexture);
        burst->mCycleLimit = -1;
        burst->mId = mStarsShown;
        mEffects.Add(0.0f, burst);
    }
    PlaySoundByName("gotstar");
    ++mStarsShown;
    mStarTimer = mStarInterval;
}

bool TLevelCompleteWindow::Update(float dt)
{
    if (TFlyWindow::Update(dt)) return true;
    if (mPhase == kPhaseStars) {
        if (mStarTimer > 0.0f) mStarTimer -= dt;
        if (mResult.mCompleted && mStarsShown < StarsToReveal() && mStarTimer <= 0.0f) RevealNextStar();
        // Zero stars keep the window in this phase until it closes; stars without a slot to
        // show them in end the reveal at the last slot.
        if (mResult.mStars > 0 && mStarsShown >= StarsToReveal()) mPhase = kPhaseDone;
    }
    mEffects.Update(dt);
    return mClosed;
}

void TLevelCompleteWindow::DrawSelf()
{
    TClassicWindow::DrawSelf();
    mEffects.Draw();
    int32_t x = 0, y = 0;
    GetAbsolutePosition(&x, &y);
    for (int layer = 0; layer < 2; ++layer) {
        for (TStarSlot& slot : mSlots) {
            StaticImage& image = layer == 0 ? *slot.mShape : *slot.mStar;
            image.SetPosition(static_cast<float>(x) + slot.mCentreX, static_cast<float>(y) + slot.mCentreY, true);
            image.Draw(mAlpha);
        }
    }
}

void TLevelCompleteWindow::OnFlyClosing(TFlyWindow* /*window*/, int /*id*/) { mEffects.DeleteAll(); }
