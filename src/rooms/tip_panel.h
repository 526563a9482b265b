// The tip panel: one localised tip at a time, shown by key, faded between tips and out. The
// panel is placed on no screen; a room reaches it through the application state's slot.
#pragma once
#include <string>

#include "graphics/tweens.h"
#include "ui/text_image.h"

class THopaBaseUserInfo;

// How long the panel takes to fade out or in.
const float kTipFadeSeconds = 0.25f;

class TTipPanel {
public:
    enum { kHidden = 0, kShown = 1, kFadingOut = 2 };

    // Advances the fades; a finished fade-out hides the panel.
    void Update(float dt);
    // The panel's opacity now: the fade-out's while one runs, else the fade-in's.
    float GetAlpha() const;

    std::string mKey;
    std::wstring mText;
    TSimpleTextImage mTextWidget;
    int mState = kHidden;
    bool mVisible = false;
    IncValue mFadeIn;
    IncValue mFadeOut;
};

// Shows the key's text in the application's tip panel when the profile allows tips; an empty
// key lets the shown tip fade out. The time value is taken and not used.
void ShowTip(const std::string& key, float time);
// Hides the panel at once.
void TipPanelHide();
// Fades the shown tip out and forgets it.
void TipPanelFadeOut();

// Where ShowTip finds the profile: GetHopaUserInfo unless a test points it elsewhere; null
// puts the default back.
using TTipProfileHook = THopaBaseUserInfo* (*)();
void SetTipProfileHook(TTipProfileHook hook);
