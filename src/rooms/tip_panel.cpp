#include "rooms/tip_panel.h"

#include "core/app_state.h"
#include "core/localization.h"
#include "rooms/hopa_user_info.h"
#include "sound/sound_manager.h"

namespace {

TTipProfileHook gProfileHook = nullptr;

THopaBaseUserInfo* TipProfile() { return gProfileHook ? gProfileHook() : GetHopaUserInfo(); }

void RestTween(IncValue& tween, float value)
{
    tween.SetValue(value);
    tween.mDelay = 0.0f;
}

}  // namespace

void SetTipProfileHook(TTipProfileHook hook) { gProfileHook = hook; }

void TTipPanel::Update(float dt)
{
    if (!mVisible) return;
    if (mFadeOut.mRunning) {
        mFadeOut.Update(dt);
        if (mFadeOut.mFinished && mState == kFadingOut) {
            mVisible = false;
            mState = kHidden;
        }
        return;
    }
    if (mFadeIn.mRunning) mFadeIn.Update(dt);
}

float TTipPanel::GetAlpha() const
{
    if (!mVisible) return 0.0f;
    return mFadeOut.mRunning ? mFadeOut.mCurrent : mFadeIn.mCurrent;
}

void ShowTip(const std::string& key, float /*time*/)
{
    THopaBaseUserInfo* profile = TipProfile();
    if (!profile || !profile->mTipsAllowed) return;
    TTipPanel* panel = GetAppState().mTipPanel;
    if (!panel) return;
    if (key.empty()) {
        TipPanelFadeOut();
        return;
    }
    const bool changing = panel->mVisible && panel->mState == TTipPanel::kShown && panel->mKey != key;
    if (changing) {
        // The old tip fades out, then the new one fades in.
        panel->mFadeOut.Set(1.0f, 0.0f, kTipFadeSeconds, true);
        panel->mFadeIn.Set(0.0f, 1.0f, kTipFadeSeconds, true);
    } else if (panel->mState != TTipPanel::kShown) {
        RestTween(panel->mFadeOut, 1.0f);
        panel->mFadeIn.Set(0.0f, 1.0f, kTipFadeSeconds, true);
    }
    panel->mKey = key;
    panel->mText = GetLocalization()->GetText(key);
    panel->mTextWidget.SetTextKey(key);
    panel->mState = TTipPanel::kShown;
    panel->mVisible = true;
    PlayNamedSound("tip");
}

void TipPanelHide()
{
    TTipPanel* panel = GetAppState().mTipPanel;
    if (!panel) return;
    panel->mVisible = false;
    panel->mState = TTipPanel::kHidden;
    RestTween(panel->mFadeIn, 0.0f);
    RestTween(panel->mFadeOut, 1.0f);
}

void TipPanelFadeOut()
{
    TTipPanel* panel = GetAppState().mTipPanel;
    if (!panel || !panel->mVisible) return;
    panel->mFadeOut.Set(panel->GetAlpha(), 0.0f, kTipFadeSeconds, true);
    RestTween(panel->mFadeIn, 0.0f);
    panel->mState = TTipPanel::kFadingOut;
    panel->mKey.clear();
    panel->mText.clear();
    panel->mTextWidget.ClearText();
}
