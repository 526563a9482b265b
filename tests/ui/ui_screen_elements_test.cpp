#include <gtest/gtest.h>

#include "ui/ui_screen_elements.h"
#include "ui_test_layout.h"

TEST(UIScreenElements, BoxAndToolReaders)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='listbox'/>", kUIKindListBox,
         [](const TUIBaseBox& b) { EXPECT_FLOAT_EQ(As<TUIListBox>(b).mTime, 1.0f); }},
        {"<object name='o' type='listbox' rows='2' cols='3' tx='4' ty='5' time='0.5' font='f' x='9'/>",
         kUIKindListBox,
         [](const TUIBaseBox& b) {
             const auto& list = As<TUIListBox>(b);
             EXPECT_EQ(list.mRows, 2);
             EXPECT_EQ(list.mCols, 3);
             EXPECT_EQ(list.mTextX, 4);
             EXPECT_EQ(list.mTextY, 5);
             EXPECT_FLOAT_EQ(list.mTime, 0.5f);
             EXPECT_EQ(list.mFont, "f");
             EXPECT_EQ(list.mX, 9);
         }},
        {"<object name='o' type='toolholder'/>", kUIKindToolHolder, [](const TUIBaseBox& b) {
             EXPECT_FLOAT_EQ(As<TUIToolHolder>(b).mUpTime, 0.25f);
             EXPECT_FLOAT_EQ(As<TUIToolHolder>(b).mHideTime, 1.5f);
         }},
        {"<object name='o' type='toolholder' slotcount='6' offy='1' cellw='2' cellh='3' maxy='4' "
         "activebox='1.2.3.4' uptime='1' hidetime='2' font='f'/>",
         kUIKindToolHolder,
         [](const TUIBaseBox& b) {
             const auto& tools = As<TUIToolHolder>(b);
             EXPECT_EQ(tools.mSlotCount, 6);
             EXPECT_EQ(tools.mOffY, 1);
             EXPECT_EQ(tools.mCellWidth, 2);
             EXPECT_EQ(tools.mCellHeight, 3);
             EXPECT_EQ(tools.mMaxY, 4);
             EXPECT_EQ(tools.mActiveBox.x, 1);
             EXPECT_EQ(tools.mActiveBox.h, 4);
             EXPECT_FLOAT_EQ(tools.mUpTime, 1.0f);
             EXPECT_FLOAT_EQ(tools.mHideTime, 2.0f);
             EXPECT_EQ(tools.mFont, "f");
         }},
        {"<object name='o' type='hintbox' tx='1' ty='2' font='f' w='0.5'/>", kUIKindRect, [](const TUIBaseBox& b) {
             EXPECT_EQ(As<TUIHintBox>(b).mTextX, 1);
             EXPECT_EQ(As<TUIHintBox>(b).mTextY, 2);
             EXPECT_EQ(As<TUIHintBox>(b).mFont, "f");
             EXPECT_EQ(b.mWidth, 683);
         }},
        {"<object name='o' type='backbox' image='i'/>", kUIKindRect,
         [](const TUIBaseBox& b) { EXPECT_EQ(As<TUIBackBox>(b).mImage, "i"); }},
        {"<object name='o' type='taskbox' font='f'/>", kUIKindRect,
         [](const TUIBaseBox& b) { EXPECT_EQ(As<TUITaskBox>(b).mFont, "f"); }},
    };
    CheckLayoutRows(rows);
}

TEST(UIScreenElements, ButtonKinds)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='regenerbutton2' time1='8' offx='1' offy='2' states='4'/>", kUIKindRegenerateButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIRegenerateButton2Info>(b);
             EXPECT_FLOAT_EQ(button.mTime1, 8.0f);
             EXPECT_FLOAT_EQ(button.mTime2, 8.0f);
             EXPECT_EQ(button.mOffX, 1);
             EXPECT_EQ(button.mOffY, 2);
             EXPECT_EQ(button.mLooks.mStates, 4);
         }},
        {"<object name='o' type='regenerbutton2'/>", kUIKindRegenerateButton, [](const TUIBaseBox& b) {
             EXPECT_FLOAT_EQ(As<TUIRegenerateButton2Info>(b).mTime1, 5.0f);
             EXPECT_FLOAT_EQ(As<TUIRegenerateButton2Info>(b).mTime2, 30.0f);
         }},
        {"<object name='o' type='regenervideobutton2'/>", kUIKindButton, [](const TUIBaseBox& b) {
             EXPECT_FLOAT_EQ(As<TRegenerateVideoButton2Info>(b).mFillAlpha, 1.0f);
             EXPECT_EQ(As<TRegenerateVideoButton2Info>(b).mLooks.mStates, 3);
         }},
        {"<object name='o' type='regenervideobutton2' fill='a' top='b' back='c' over2='d' over='e' blocked='f' "
         "over2x='0.5' over2y='0.5' overx='1' overy='2' topx='3' topy='4' backx='5' backy='6' blockedx='0.25' "
         "blockedy='8' fillalpha='0.5' image='btn'/>",
         kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TRegenerateVideoButton2Info>(b);
             EXPECT_EQ(button.mFillImage, "a");
             EXPECT_EQ(button.mTopImage, "b");
             EXPECT_EQ(button.mBackImage, "c");
             EXPECT_EQ(button.mOver2Image, "d");
             EXPECT_EQ(button.mOverImage, "e");
             EXPECT_EQ(button.mBlockedImage, "f");
             EXPECT_EQ(button.mOver2X, 683);
             EXPECT_EQ(button.mOver2Y, 384);
             EXPECT_EQ(button.mOverX, 1);
             EXPECT_EQ(button.mOverY, 2);
             EXPECT_EQ(button.mTopX, 3);
             EXPECT_EQ(button.mTopY, 4);
             EXPECT_EQ(button.mBackX, 5);
             EXPECT_EQ(button.mBackY, 6);
             EXPECT_EQ(button.mBlockedX, 342);
             EXPECT_EQ(button.mBlockedY, 8);
             EXPECT_FLOAT_EQ(button.mFillAlpha, 0.5f);
             EXPECT_EQ(button.mImage, "btn");
         }},
        {"<object name='o' type='lockinterfbtn' image='i'/>", kUIKindLockInterfButton,
         [](const TUIBaseBox& b) { EXPECT_EQ(As<TUILockInterfButton>(b).mImage, "i"); }},
        // The button kinds take only button styles, like the plain button.
        {"<style name='s' type='button' states='2'/><object name='o' type='lockinterfbtn' style='s'/>",
         kUIKindLockInterfButton, [](const TUIBaseBox& b) { EXPECT_EQ(As<TUIMyButton>(b).mLooks.mStates, 2); }},
    };
    CheckLayoutRows(rows);
}

TEST(UIScreenElements, TutorialAndItsArrows)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='tutorial' x='400' y='300'/>", kUIKindTutorial, [](const TUIBaseBox& b) {
             const auto& tip = As<TUITutorial>(b);
             EXPECT_TRUE(tip.mClickToContinue);
             EXPECT_TRUE(tip.mShowSkipButton);
             EXPECT_FALSE(tip.mFinalize);
             EXPECT_FALSE(tip.mHideFast);
             EXPECT_FALSE(tip.mPlainScale);
             EXPECT_TRUE(tip.mArrows.empty());
             EXPECT_EQ(tip.mX, 400);
         }},
        {"<object name='o' type='tutorial' statestr='s' text1='t1' text2='t2' clicktocontinue='0' "
         "showskipbtn='0' finalize='1' hide_fast='1' scale='1'>"
         "<arrow x='400' y='0.5' cx='5' cy='6' a='90' scale='2' scalemin='0.5' scalemax='1.5' scaletime='1' "
         "alphamin='0.4' alphamax='1' alphatime='0.4' image='arrow'/>"
         "<other/>"
         "<arrow/>"
         "<arrow x='inf' y='nan'/>"
         "<arrow x='3e9' y='0.5+1' scaletime='inf' alphatime='-1e9'/>"
         "</object>",
         kUIKindTutorial,
         [](const TUIBaseBox& b) {
             const auto& tip = As<TUITutorial>(b);
             EXPECT_EQ(tip.mStateStr, "s");
             EXPECT_EQ(tip.mText1, "t1");
             EXPECT_EQ(tip.mText2, "t2");
             EXPECT_FALSE(tip.mClickToContinue);
             EXPECT_FALSE(tip.mShowSkipButton);
             EXPECT_TRUE(tip.mFinalize);
             EXPECT_TRUE(tip.mHideFast);
             EXPECT_TRUE(tip.mPlainScale);
             ASSERT_EQ(tip.mArrows.size(), 4u);
             const TUITutorialArrow& first = tip.mArrows[0];
             EXPECT_EQ(first.mX, 400);
             EXPECT_EQ(first.mY, 0);
             EXPECT_EQ(first.mCenterX, 5);
             EXPECT_EQ(first.mCenterY, 6);
             EXPECT_EQ(first.mAngle, 90);
             EXPECT_FLOAT_EQ(first.mScale, 2.0f);
             EXPECT_FLOAT_EQ(first.mScaleMin, 0.5f);
             EXPECT_FLOAT_EQ(first.mScaleMax, 1.5f);
             EXPECT_FLOAT_EQ(first.mScaleTime, 1.0f);
             EXPECT_FLOAT_EQ(first.mAlphaMin, 0.4f);
             EXPECT_FLOAT_EQ(first.mAlphaMax, 1.0f);
             EXPECT_FLOAT_EQ(first.mAlphaTime, 0.4f);
             EXPECT_EQ(first.mImage, "arrow");
             const TUITutorialArrow& plain = tip.mArrows[1];
             EXPECT_EQ(plain.mX, 1366);
             EXPECT_EQ(plain.mY, 768);
             EXPECT_EQ(plain.mCenterX, 0);
             EXPECT_EQ(plain.mCenterY, 0);
             EXPECT_FLOAT_EQ(plain.mScale, 1.0f);
             EXPECT_FLOAT_EQ(plain.mScaleMin, -1.0f);
             EXPECT_FLOAT_EQ(plain.mAlphaMax, -1.0f);
             EXPECT_FLOAT_EQ(plain.mScaleTime, 0.2f);
             EXPECT_FLOAT_EQ(plain.mAlphaTime, 0.2f);
             EXPECT_EQ(tip.mArrows[2].mX, 0);
             EXPECT_EQ(tip.mArrows[2].mY, 0);
             EXPECT_EQ(tip.mArrows[3].mX, 3);
             EXPECT_EQ(tip.mArrows[3].mY, 0);
             // Pulse times that are not finite, or absurd, keep their construction value.
             EXPECT_FLOAT_EQ(tip.mArrows[3].mScaleTime, 0.2f);
             EXPECT_FLOAT_EQ(tip.mArrows[3].mAlphaTime, 0.2f);
         }},
    };
    CheckLayoutRows(rows);
}

TEST(UIScreenElements, TutorialWindowReadsNoCommonAttributes)
{
    const TLayoutRow rows[] = {
        {"<style name='s' w='50'/>"
         "<object name='o' type='tutorialwindow' x1='1' y1='2' x2='3' y2='4' w2='300' h2='100' font='f' fs1='5' "
         "fs2='6' rect='1.2.3.4' id='9' style='s' halign='1' create='0'/>",
         kUIKindTutorialWindow,
         [](const TUIBaseBox& b) {
             const auto& frame = As<TUITutorialWindow>(b);
             EXPECT_EQ(frame.mX1, 1);
             EXPECT_EQ(frame.mY1, 2);
             EXPECT_EQ(frame.mW1, 300);
             EXPECT_EQ(frame.mH1, 100);
             EXPECT_EQ(frame.mX2, 3);
             EXPECT_EQ(frame.mY2, 4);
             EXPECT_EQ(frame.mW2, 300);
             EXPECT_EQ(frame.mH2, 100);
             EXPECT_EQ(frame.mFont, "f");
             EXPECT_EQ(frame.mFs1, 5);
             EXPECT_EQ(frame.mFs2, 6);
             EXPECT_EQ(frame.mX, 0);
             EXPECT_EQ(frame.mWidth, 0);
             EXPECT_EQ(frame.mId, 0);
             EXPECT_EQ(frame.mStyleName, "");
             EXPECT_EQ(frame.mHAlign, -1);
             EXPECT_TRUE(frame.mCreate);
             EXPECT_TRUE(frame.mAllowMouse);
             EXPECT_EQ(frame.mEnterSound, "");
         }},
    };
    CheckLayoutRows(rows);
}
