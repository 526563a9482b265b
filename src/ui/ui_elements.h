// Descriptions of the layout kinds that windows build widgets from, the window descriptions
// themselves, and the button and slider styles with the rules by which they complete them.
#pragma once
#include <string>

#include "ui/ui_info_holder.h"

// The look rectangles of a button sheet and how many looks it stacks; buttons and their
// styles read them alike.
struct TUIButtonLooks {
    TUIRect mNormalRect;
    TUIRect mOverRect;
    TUIRect mDownRect;
    TUIRect mDisabledRect;
    int mStates = 3;

    void Load(TiXmlElement* element);
};

// The track and thumb of a slider; sliders and their styles read them alike.
struct TUISliderParts {
    std::string mImage;
    std::string mThumbImage;
    int mTrackOffY = 0;
    int mTrackInsetX = 0;
    int mThumbOffY = 0;
    int mThumbWidth = 0;
    int mThumbHeight = 0;
    float mValue = 0.0f;

    void Load(TiXmlElement* element);
};

// A whole number as written (also "nan", "inf" and whole values beyond int, which read as
// the text they spell); otherwise false, with the fractional part.
bool ReadWholePosition(const TiXmlElement* element, const char* name, int def, int& whole, float& fraction);

// Seconds from a layout; a value that is not finite, or beyond an hour either way, takes the
// default with one line naming the element and the attribute.
float GetAttrSeconds(const TiXmlElement* element, const char* name, float def);

class TUIButtonStyle : public TUIStyle {
public:
    void Load(TiXmlElement* element) override;
    TUIStyleKind Kind() const override { return TUIStyleKind::Button; }

    std::string mImage;
    TUIButtonLooks mLooks;
    int mDownTextOff = 2;
    int mCaptionOffX = 0;
    int mCaptionOffY = 0;
    float mMinAlpha = 0.0f;
    TUIRect mTextRect;  // read, but no button takes it
    int mHitWidth = 0;
    int mHitHeight = 0;
    bool mCheckBox = false;
    bool mWrapped = false;
    float mScale = 1.0f;
};

class TUISliderStyle : public TUIStyle {
public:
    void Load(TiXmlElement* element) override;
    TUIStyleKind Kind() const override { return TUIStyleKind::Slider; }

    TUISliderParts mSlider;
};

class TUIMyButton : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;
    void ApplyStyle(const TUIStyle* style) override;

    std::string mImage;
    bool mDisabled = false;
    bool mVisible = true;
    TUIButtonLooks mLooks;
    std::string mText;
    std::string mFont;
    int mDownTextOff = 2;
    bool mTextAsHint = false;
    int mHintX = 0;
    int mHintY = 0;
    int mCaptionOffX = 0;
    int mCaptionOffY = 0;
    TUIRect mTextRect;
    float mMinAlpha = 0.0f;
    bool mCheckBox = false;
    int mHitHeight = 0;
    int mHitWidth = 0;
    int mFlags = 0;
    bool mWrapped = false;
    float mScale = 1.0f;
};

class TUIMyImage : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    std::string mImage;
    std::string mImageChecked;  // the third image
    std::string mImage2;
    int mDrawMode = 0;
    bool mFinger = false;
    std::string mCursorOver = "handspot";
    float mAlpha = 1.0f;
    bool mNeedCache = false;
    int mCheckedX = 0;
    int mCheckedY = 0;
    bool mChecked = false;
    bool mDrawThird = false;
    int mDraw2X = 0;
    int mDraw2Y = 0;
    int mDraw1X = 0;
    int mDraw1Y = 0;
    TUIRect mExtraSize;
};

class TUIText : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;
    // Reads only what every style has, so it takes a style of any kind.
    void ApplyStyle(const TUIStyle* style) override;

    std::string mFont;
    int mFlags = 0;
    std::string mText;
    bool mFinger = false;
};

class TUIImageText : public TUIText {
public:
    void Load(TiXmlElement* element) override;
    // Takes a text style only; anything else is logged and left alone.
    void ApplyStyle(const TUIStyle* style) override;

    bool mWrapped = false;
    TFloatColor mOverColor;
    TFloatColor mSelectedColor;
};

class TUIEdit : public TUIText {
public:
    void Load(TiXmlElement* element) override;

    TFloatColor mBackColor;
    TFloatColor mOutlineColor;
    TFloatColor mHiliteColor;
    TFloatColor mHiliteTextColor;
    bool mDrawOutline = true;
};

class TUIClassicWindow : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    std::string mImage;
    bool mFade = false;
    float mAlphaTime = 0.0f;
};

class TUIFlyWindow : public TUIClassicWindow {
public:
    void Load(TiXmlElement* element) override;

    int mStartX = 0;
    int mStartY = 0;
    int mEndX = 0;
    int mEndY = 0;
    int mStopX = 0;  // -1 stands for the centre
    int mStopY = 0;
    float mTime = 0.0f;
    float mStay = 0.0f;
    std::string mFlyInSound = "flywindow";
    std::string mFlyOutSound = "flywindow";
};

class TUIBaseSlider : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;
    // Takes a slider style only, and none of the common style values.
    void ApplyStyle(const TUIStyle* style) override;

    TUISliderParts mSlider;
};
