#include "ui/ui_elements.h"

#include <cmath>

#include <tinyxml.h>

#include "core/display.h"
#include "core/logger.h"
#include "core/numbers.h"

bool ReadWholePosition(const TiXmlElement* element, const char* name, int def, int& whole, float& fraction)
{
    float v = GetAttrFloat(element, name, static_cast<float>(def));
    // Turning a NaN, an infinity or a whole float beyond int into an int is undefined; such
    // values read as the text they spell ("nan" and "inf" as 0, "3e9" as 3).
    if (!std::isfinite(v) || v == truncf(v)) {
        whole = GetAttrInt(element, name, def);
        return true;
    }
    fraction = v - truncf(v);
    return false;
}

float GetAttrSeconds(const TiXmlElement* element, const char* name, float def)
{
    const float v = GetAttrFloat(element, name, def);
    if (IsUsableSeconds(v)) return v;
    const std::string owner = GetAttrString(element, "name", element->Value());
    GetLogger()->LogMessage("%s: \"%s\" = \"%s\" is not a usable duration, taken as %g", owner.c_str(), name,
                            GetAttrString(element, name).c_str(), static_cast<double>(def));
    return def;
}

namespace {
void LogWrongStyle(const char* kind)
{
    GetLogger()->LogMessage("%s  wrong style conversion", kind);
}
}  // namespace

void TUIButtonLooks::Load(TiXmlElement* element)
{
    if (ReadUIRect(element, "normalrect", mNormalRect)) {
        ReadUIRect(element, "overrect", mOverRect);
        ReadUIRect(element, "downrect", mDownRect);
        ReadUIRect(element, "disabledrect", mDisabledRect);
        // A negative disabled width says the sheet has no disabled look.
        mStates = mDisabledRect.w < 0 ? 3 : 4;
    } else {
        mStates = GetAttrInt(element, "states", 3);
    }
}

void TUIButtonStyle::Load(TiXmlElement* element)
{
    TUIStyle::Load(element);
    mImage = GetAttrString(element, "image");
    mLooks.Load(element);
    mCaptionOffX = GetAttrInt(element, "captionoffx", 0);
    mCaptionOffY = GetAttrInt(element, "captionoffy", 0);
    ReadUIRect(element, "textrect", mTextRect);
    mMinAlpha = GetAttrFloat(element, "minalpha", 0.0f);
    mHitHeight = GetAttrInt(element, "vh", 0);
    mHitWidth = GetAttrInt(element, "vw", 0);
    mDownTextOff = GetAttrInt(element, "downtextoff", 2);
    mCheckBox = GetAttrBool(element, "checkbox", false);
    mWrapped = GetAttrBool(element, "wrapped", false);
    mScale = GetAttrFloat(element, "scale", mScale);
}

void TUISliderParts::Load(TiXmlElement* element)
{
    mImage = GetAttrString(element, "image");
    mThumbImage = GetAttrString(element, "tumb");
    mTrackOffY = GetAttrInt(element, "yoffset", 0);
    mTrackInsetX = GetAttrInt(element, "xoffset", 0);
    mValue = GetAttrFloat(element, "value", 0.0f);
    mThumbOffY = GetAttrInt(element, "ytumboffset", 0);
    mThumbWidth = GetAttrInt(element, "tumbw", 0);
    mThumbHeight = GetAttrInt(element, "tumbh", 0);
}

void TUISliderStyle::Load(TiXmlElement* element)
{
    TUIStyle::Load(element);
    mSlider.Load(element);
}

void TUIMyButton::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mImage = GetAttrString(element, "image");
    mDisabled = GetAttrBool(element, "disabled", false);
    mVisible = GetAttrBool(element, "visible", true);
    mLooks.Load(element);
    mText = GetAttrString(element, "text");
    mFont = GetAttrString(element, "font");
    mDownTextOff = GetAttrInt(element, "downtextoff", 2);
    mCheckBox = GetAttrBool(element, "checkbox", false);
    ReadUIRect(element, "textrect", mTextRect);
    mTextAsHint = GetAttrBool(element, "textashint", false);
    mHintX = GetAttrInt(element, "hintx", 0);
    mHintY = GetAttrInt(element, "hinty", 0);
    mCaptionOffX = GetAttrInt(element, "captionoffx", 0);
    mCaptionOffY = GetAttrInt(element, "captionoffy", 0);
    mMinAlpha = GetAttrFloat(element, "minalpha", 0.0f);
    mHitHeight = GetAttrInt(element, "vh", 0);
    mHitWidth = GetAttrInt(element, "vw", 0);
    mFlags = GetAttrInt(element, "flags", 0);
    mWrapped = GetAttrBool(element, "wrapped", false);
    mScale = GetAttrFloat(element, "scale", mScale);
    mKind = kUIKindButton;
}

void TUIMyButton::ApplyStyle(const TUIStyle* style)
{
    if (style->Kind() != TUIStyleKind::Button) {
        LogWrongStyle("TUIMyButton");
        return;
    }
    const TUIButtonStyle* button = static_cast<const TUIButtonStyle*>(style);
    TUIBaseBox::ApplyStyle(style);
    if (!button->mFont.empty()) mFont = button->mFont;
    mDownTextOff = button->mDownTextOff;
    if (!button->mImage.empty()) mImage = button->mImage;
    if (button->mLooks.mNormalRect.w != 0) {
        mLooks.mNormalRect = button->mLooks.mNormalRect;
        mLooks.mOverRect = button->mLooks.mOverRect;
        mLooks.mDownRect = button->mLooks.mDownRect;
        mLooks.mDisabledRect = button->mLooks.mDisabledRect;
    }
    // The style decides these whatever the button wrote: a check box needs a check-box style.
    mLooks.mStates = button->mLooks.mStates;
    if (button->mCaptionOffX != 0) mCaptionOffX = button->mCaptionOffX;
    if (button->mCaptionOffY != 0) mCaptionOffY = button->mCaptionOffY;
    mMinAlpha = button->mMinAlpha;
    if (mHitHeight == 0) mHitHeight = button->mHitHeight;
    if (mHitWidth == 0) mHitWidth = button->mHitWidth;
    mCheckBox = button->mCheckBox;
    mFlags = button->mFlags;
    mWrapped = button->mWrapped;
    mScale = button->mScale;
}

void TUIMyImage::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mImage = GetAttrString(element, "image");
    mImage2 = GetAttrString(element, "image2");
    mFinger = GetAttrBool(element, "dofinger", false);
    mCursorOver = GetAttrString(element, "cursorover", "handspot");
    mDrawMode = GetAttrInt(element, "drawmode", 0);
    mAlpha = GetAttrFloat(element, "a", 1.0f);
    mKind = kUIKindImage;
    mNeedCache = GetAttrBool(element, "needcache", false);
    mImageChecked = GetAttrString(element, "imagechecked");
    mCheckedX = GetAttrInt(element, "checkedx", 0);
    mCheckedY = GetAttrInt(element, "checkedy", 0);
    mDraw2X = GetAttrRelSize(element, "draw2x", GetLayoutWidth());
    mDraw2Y = GetAttrRelSize(element, "draw2y", GetLayoutHeight());
    mDraw1X = GetAttrRelSize(element, "draw1x", GetLayoutWidth());
    mDraw1Y = GetAttrRelSize(element, "draw1y", GetLayoutHeight());
    mChecked = GetAttrBool(element, "checked", false);
    mDrawThird = GetAttrBool(element, "draw2", false);
    ReadUIRect(element, "vr", mExtraSize);
}

void TUIText::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mFont = GetAttrString(element, "font");
    mFlags = GetAttrInt(element, "flags", 0);
    mText = GetAttrString(element, "text");
    mFinger = GetAttrBool(element, "dofinger", false);
    mKind = kUIKindText;
}

void TUIText::ApplyStyle(const TUIStyle* style)
{
    TUIBaseBox::ApplyStyle(style);
    if (!style->mFont.empty()) mFont = style->mFont;
    if (style->mFlags != 0 && mFlags == 0) mFlags = style->mFlags;
    if (style->mFinger) mFinger = true;
}

void TUIImageText::Load(TiXmlElement* element)
{
    TUIText::Load(element);
    mWrapped = GetAttrBool(element, "wrapped", false);
    mOverColor = GetAttrColor(element, "overcolor", mColor);
    mSelectedColor = GetAttrColor(element, "selectedcolor", mColor);
    mKind = kUIKindImageText;
}

void TUIImageText::ApplyStyle(const TUIStyle* style)
{
    if (style->Kind() != TUIStyleKind::Text) {
        LogWrongStyle("TUIImageText");
        return;
    }
    const TUITextStyle* text = static_cast<const TUITextStyle*>(style);
    TUIText::ApplyStyle(style);
    mWrapped = text->mWrapped;
    if (HasColor(text->mOverColor)) mOverColor = text->mOverColor;
    if (HasColor(text->mSelectedColor)) mSelectedColor = text->mSelectedColor;
}

void TUIEdit::Load(TiXmlElement* element)
{
    TUIText::Load(element);
    mBackColor = GetAttrColor(element, "backcolor", mBackColor);
    mOutlineColor = GetAttrColor(element, "outlinecolor", mOutlineColor);
    mHiliteColor = GetAttrColor(element, "hilitecolor", mHiliteColor);
    mHiliteTextColor = GetAttrColor(element, "hilitetextcolor", mHiliteTextColor);
    mDrawOutline = GetAttrBool(element, "drawoutline", true);
    mKind = kUIKindEdit;
}

void TUIClassicWindow::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mFade = GetAttrBool(element, "fade", false);
    mImage = GetAttrString(element, "image");
    mAlphaTime = GetAttrSeconds(element, "alphatime", 0.0f);
    mKind = kUIKindWindow;
}

namespace {
// The stop point: a whole number as written; a fraction f gives the nearest integer to -f,
// so 0.5 gives -1, which the fly window reads as "centred".
int ReadStopPosition(const TiXmlElement* element, const char* name, int reference)
{
    int whole = 0;
    float fraction = 0.0f;
    if (ReadWholePosition(element, name, reference, whole, fraction)) return whole;
    return static_cast<int>(roundf(-fraction));
}
}  // namespace

void TUIFlyWindow::Load(TiXmlElement* element)
{
    TUIClassicWindow::Load(element);
    mStartX = GetAttrRelSize(element, "x1", GetLayoutWidth());
    mStartY = GetAttrRelSize(element, "y1", GetLayoutHeight());
    mEndX = GetAttrRelSize(element, "x2", GetLayoutWidth());
    mEndY = GetAttrRelSize(element, "y2", GetLayoutHeight());
    mStopX = ReadStopPosition(element, "x", GetLayoutWidth());
    mStopY = ReadStopPosition(element, "y", GetLayoutHeight());
    mTime = GetAttrSeconds(element, "time", 0.0f);
    mStay = GetAttrSeconds(element, "stay", 0.0f);
    mFlyInSound = GetAttrString(element, "flyinsound", "flywindow");
    mFlyOutSound = GetAttrString(element, "flyoutsound", "flywindow");
    mKind = kUIKindFlyWindow;
}

void TUIBaseSlider::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mSlider.Load(element);
    mKind = kUIKindSlider;
}

void TUIBaseSlider::ApplyStyle(const TUIStyle* style)
{
    if (style->Kind() != TUIStyleKind::Slider) {
        LogWrongStyle("TUIBaseSlider");
        return;
    }
    const TUISliderParts& from = static_cast<const TUISliderStyle*>(style)->mSlider;
    if (!from.mImage.empty()) mSlider.mImage = from.mImage;
    if (!from.mThumbImage.empty()) mSlider.mThumbImage = from.mThumbImage;
    mSlider.mTrackOffY = from.mTrackOffY;
    mSlider.mTrackInsetX = from.mTrackInsetX;
    mSlider.mThumbOffY = from.mThumbOffY;
    mSlider.mThumbWidth = from.mThumbWidth;
    mSlider.mThumbHeight = from.mThumbHeight;
    mSlider.mValue = from.mValue;
}
