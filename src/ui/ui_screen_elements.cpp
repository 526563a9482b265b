#include "ui/ui_screen_elements.h"

#include <tinyxml.h>

#include "core/display.h"

void TUIListBox::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mRows = GetAttrInt(element, "rows", 0);
    mCols = GetAttrInt(element, "cols", 0);
    mTextX = GetAttrInt(element, "tx", 0);
    mTextY = GetAttrInt(element, "ty", 0);
    mTime = GetAttrSeconds(element, "time", 1.0f);
    mFont = GetAttrString(element, "font");
    mKind = kUIKindListBox;
}

void TUIToolHolder::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mSlotCount = GetAttrInt(element, "slotcount", 0);
    mOffY = GetAttrInt(element, "offy", 0);
    mCellWidth = GetAttrInt(element, "cellw", 0);
    mCellHeight = GetAttrInt(element, "cellh", 0);
    mMaxY = GetAttrInt(element, "maxy", 0);
    ReadUIRect(element, "activebox", mActiveBox);
    mUpTime = GetAttrSeconds(element, "uptime", 0.25f);
    mHideTime = GetAttrSeconds(element, "hidetime", 1.5f);
    mFont = GetAttrString(element, "font");
    mKind = kUIKindToolHolder;
}

void TUIHintBox::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mTextX = GetAttrInt(element, "tx", 0);
    mTextY = GetAttrInt(element, "ty", 0);
    mFont = GetAttrString(element, "font");
}

void TUIBackBox::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mImage = GetAttrString(element, "image");
}

void TUITaskBox::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mFont = GetAttrString(element, "font");
}

void TUIRegenerateButton2Info::Load(TiXmlElement* element)
{
    TUIMyButton::Load(element);
    mOffX = GetAttrInt(element, "offx", 0);
    mOffY = GetAttrInt(element, "offy", 0);
    // Both times come from "time1": only their defaults differ.
    mTime1 = GetAttrSeconds(element, "time1", 5.0f);
    mTime2 = GetAttrSeconds(element, "time1", 30.0f);
    mKind = kUIKindRegenerateButton;
}

void TRegenerateVideoButton2Info::Load(TiXmlElement* element)
{
    TUIMyButton::Load(element);
    mFillImage = GetAttrString(element, "fill");
    mTopImage = GetAttrString(element, "top");
    mBackImage = GetAttrString(element, "back");
    mOver2Image = GetAttrString(element, "over2");
    mOverImage = GetAttrString(element, "over");
    mBlockedImage = GetAttrString(element, "blocked");
    mOver2X = GetAttrRelSize(element, "over2x", GetLayoutWidth());
    mOver2Y = GetAttrRelSize(element, "over2y", GetLayoutHeight());
    mOverX = GetAttrRelSize(element, "overx", GetLayoutWidth());
    mOverY = GetAttrRelSize(element, "overy", GetLayoutHeight());
    mTopX = GetAttrRelSize(element, "topx", GetLayoutWidth());
    mTopY = GetAttrRelSize(element, "topy", GetLayoutHeight());
    mBackX = GetAttrInt(element, "backx", 0);
    mBackY = GetAttrInt(element, "backy", 0);
    mBlockedX = GetAttrRelSize(element, "blockedx", GetLayoutWidth());
    mBlockedY = GetAttrRelSize(element, "blockedy", GetLayoutHeight());
    mFillAlpha = GetAttrFloat(element, "fillalpha", 1.0f);
    // Keeps the button's kind, so a window builds a plain button for it.
}

void TUILockInterfButton::Load(TiXmlElement* element)
{
    TUIMyButton::Load(element);
    mKind = kUIKindLockInterfButton;
}

namespace {
// A whole number as written; any fraction gives 0.
int ReadArrowPosition(const TiXmlElement* element, const char* name, int reference)
{
    int whole = 0;
    float fraction = 0.0f;
    return ReadWholePosition(element, name, reference, whole, fraction) ? whole : 0;
}
}  // namespace

void TUITutorialArrow::Load(TiXmlElement* element)
{
    mX = ReadArrowPosition(element, "x", GetLayoutWidth());
    mY = ReadArrowPosition(element, "y", GetLayoutHeight());
    mCenterX = GetAttrInt(element, "cx", 0);
    mCenterY = GetAttrInt(element, "cy", 0);
    mAngle = GetAttrInt(element, "a", mAngle);
    mScale = GetAttrFloat(element, "scale", mScale);
    mScaleMin = GetAttrFloat(element, "scalemin", mScaleMin);
    mScaleMax = GetAttrFloat(element, "scalemax", mScaleMax);
    mScaleTime = GetAttrSeconds(element, "scaletime", mScaleTime);
    mAlphaMin = GetAttrFloat(element, "alphamin", mAlphaMin);
    mAlphaMax = GetAttrFloat(element, "alphamax", mAlphaMax);
    mAlphaTime = GetAttrSeconds(element, "alphatime", mAlphaTime);
    mImage = GetAttrString(element, "image");
}

void TUITutorial::Load(TiXmlElement* element)
{
    TUIBaseBox::Load(element);
    mStateStr = GetAttrString(element, "statestr");
    mText1 = GetAttrString(element, "text1");
    mText2 = GetAttrString(element, "text2");
    mClickToContinue = GetAttrBool(element, "clicktocontinue", true);
    mShowSkipButton = GetAttrBool(element, "showskipbtn", true);
    mFinalize = GetAttrBool(element, "finalize", false);
    mHideFast = GetAttrBool(element, "hide_fast", false);
    mPlainScale = GetAttrBool(element, "scale", false);
    for (TiXmlElement* child = element->FirstChildElement("arrow"); child;
         child = child->NextSiblingElement("arrow")) {
        mArrows.emplace_back();
        mArrows.back().Load(child);
    }
    mKind = kUIKindTutorial;
}

void TUITutorialWindow::Load(TiXmlElement* element)
{
    mX1 = GetAttrInt(element, "x1", 0);
    mY1 = GetAttrInt(element, "y1", 0);
    // Both frames take "w2" and "h2" as their size.
    mW1 = GetAttrInt(element, "w2", 0);
    mH1 = GetAttrInt(element, "h2", 0);
    mX2 = GetAttrInt(element, "x2", 0);
    mY2 = GetAttrInt(element, "y2", 0);
    mW2 = GetAttrInt(element, "w2", 0);
    mH2 = GetAttrInt(element, "h2", 0);
    mFont = GetAttrString(element, "font");
    mFs1 = GetAttrInt(element, "fs1", 0);
    mFs2 = GetAttrInt(element, "fs2", 0);
    mKind = kUIKindTutorialWindow;
}
