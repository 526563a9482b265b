// Descriptions that no window turns into a widget: particular screens look them up by name
// and read them (tutorial tips and their frame, recharging buttons, board and inventory boxes).
#pragma once
#include <string>
#include <vector>

#include "ui/ui_elements.h"

class TUIListBox : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    int mRows = 0;
    int mCols = 0;
    int mTextX = 0;
    int mTextY = 0;
    float mTime = 1.0f;
    std::string mFont;
};

class TUIToolHolder : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    int mSlotCount = 0;
    int mOffY = 0;
    int mCellWidth = 0;
    int mCellHeight = 0;
    int mMaxY = 0;
    TUIRect mActiveBox;
    float mUpTime = 0.25f;
    float mHideTime = 1.5f;
    std::string mFont;
};

class TUIHintBox : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    int mTextX = 0;
    int mTextY = 0;
    std::string mFont;
};

class TUIBackBox : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    std::string mImage;
};

class TUITaskBox : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    std::string mFont;
};

class TUIRegenerateButton2Info : public TUIMyButton {
public:
    void Load(TiXmlElement* element) override;

    int mOffX = 0;
    int mOffY = 0;
    float mTime1 = 0.0f;
    float mTime2 = 0.0f;
};

class TRegenerateVideoButton2Info : public TUIMyButton {
public:
    void Load(TiXmlElement* element) override;

    std::string mFillImage;
    std::string mTopImage;
    std::string mBackImage;
    std::string mOver2Image;
    std::string mOverImage;
    std::string mBlockedImage;
    int mOver2X = 0;
    int mOver2Y = 0;
    int mOverX = 0;
    int mOverY = 0;
    int mTopX = 0;
    int mTopY = 0;
    int mBlockedX = 0;
    int mBlockedY = 0;
    int mBackX = 0;
    int mBackY = 0;
    float mFillAlpha = 0.0f;
};

class TUILockInterfButton : public TUIMyButton {
public:
    void Load(TiXmlElement* element) override;
};

// One "arrow" of a tip, as written; the tutorial window builds its animated arrows from it.
struct TUITutorialArrow {
    int mX = 0;
    int mY = 0;
    int mCenterX = -1;  // the reader's default is 0: a tip that wants no pivot writes -1
    int mCenterY = -1;
    int mAngle = 0;     // "a", degrees
    float mScale = 1.0f;
    float mScaleMin = -1.0f;
    float mScaleMax = -1.0f;
    float mScaleTime = 0.2f;
    float mAlphaMin = -1.0f;
    float mAlphaMax = -1.0f;
    float mAlphaTime = 0.2f;
    std::string mImage;

    void Load(TiXmlElement* element);
};

class TUITutorial : public TUIBaseBox {
public:
    void Load(TiXmlElement* element) override;

    std::string mStateStr;  // the profile records this; it must equal the name the tip is shown by
    std::string mText1;
    std::string mText2;
    bool mClickToContinue = true;
    bool mShowSkipButton = true;
    bool mFinalize = false;
    bool mHideFast = false;
    bool mPlainScale = false;  // "scale": draw at plain scale
    std::vector<TUITutorialArrow> mArrows;
};

class TUITutorialWindow : public TUIBaseBox {
public:
    // Reads none of the common attributes: rectangle, id, sounds and style stay as constructed.
    void Load(TiXmlElement* element) override;

    int mX1 = 0;
    int mY1 = 0;
    int mW1 = 0;
    int mH1 = 0;
    int mX2 = 0;
    int mY2 = 0;
    int mW2 = 0;
    int mH2 = 0;
    int mFs1 = 0;
    int mFs2 = 0;
    std::string mFont;
};
