#include <gtest/gtest.h>

#include "log_watch.h"
#include "ui/ui_elements.h"
#include "ui_test_layout.h"

namespace {

void ExpectRect(const TUIRect& r, int x, int y, int w, int h)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

}  // namespace

TEST(UIElements, ButtonReader)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='button'/>", kUIKindButton, [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mLooks.mStates, 3);
             EXPECT_TRUE(button.mVisible);
             EXPECT_FALSE(button.mDisabled);
             EXPECT_EQ(button.mDownTextOff, 2);
             EXPECT_FLOAT_EQ(button.mScale, 1.0f);
             EXPECT_EQ(button.mEnterSound, "btnmouseenter");
         }},
        {"<object name='o' type='button' states='1'/>", kUIKindButton,
         [](const TUIBaseBox& b) { EXPECT_EQ(As<TUIMyButton>(b).mLooks.mStates, 1); }},
        {"<object name='o' type='button' normalrect='0.0.100.40' states='2'/>", kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mLooks.mStates, 4);
             ExpectRect(button.mLooks.mNormalRect, 0, 0, 100, 40);
             ExpectRect(button.mLooks.mDisabledRect, 0, 0, 0, 0);
         }},
        {"<object name='o' type='button' normalrect='0.0.100.40' overrect='0.40.100.40' "
         "downrect='0.80.100.40' disabledrect='0.0.-1.0'/>",
         kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mLooks.mStates, 3);
             ExpectRect(button.mLooks.mOverRect, 0, 40, 100, 40);
             ExpectRect(button.mLooks.mDownRect, 0, 80, 100, 40);
         }},
        // A short normalrect writes what it read and switches to "states".
        {"<object name='o' type='button' normalrect='5.6' overrect='1.2.3.4' states='2'/>", kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mLooks.mStates, 2);
             ExpectRect(button.mLooks.mNormalRect, 5, 6, 0, 0);
             ExpectRect(button.mLooks.mOverRect, 0, 0, 0, 0);
         }},
        {"<object name='o' type='button' image='i' disabled='1' visible='0' text='k' font='f' downtextoff='5' "
         "checkbox='1' textrect='5.6' textashint='1' hintx='3' hinty='4' captionoffx='7' captionoffy='8' "
         "minalpha='0.5' vh='9' vw='10' flags='2' wrapped='1' scale='0.5'/>",
         kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mImage, "i");
             EXPECT_TRUE(button.mDisabled);
             EXPECT_FALSE(button.mVisible);
             EXPECT_EQ(button.mText, "k");
             EXPECT_EQ(button.mFont, "f");
             EXPECT_EQ(button.mDownTextOff, 5);
             EXPECT_TRUE(button.mCheckBox);
             ExpectRect(button.mTextRect, 5, 6, 0, 0);
             EXPECT_TRUE(button.mTextAsHint);
             EXPECT_EQ(button.mHintX, 3);
             EXPECT_EQ(button.mHintY, 4);
             EXPECT_EQ(button.mCaptionOffX, 7);
             EXPECT_EQ(button.mCaptionOffY, 8);
             EXPECT_FLOAT_EQ(button.mMinAlpha, 0.5f);
             EXPECT_EQ(button.mHitHeight, 9);
             EXPECT_EQ(button.mHitWidth, 10);
             EXPECT_EQ(button.mFlags, 2);
             EXPECT_TRUE(button.mWrapped);
             EXPECT_FLOAT_EQ(button.mScale, 0.5f);
         }},
    };
    CheckLayoutRows(rows);
}

TEST(UIElements, ButtonStyleRule)
{
    const TLayoutRow rows[] = {
        // The style imposes its state count, check box, flags, scale and minimum alpha.
        {"<style name='s' type='button'/>"
         "<object name='o' type='button' style='s' states='4' checkbox='1' flags='2' scale='2' minalpha='0.5' "
         "downtextoff='7' wrapped='1' vw='100'/>",
         kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mLooks.mStates, 3);
             EXPECT_FALSE(button.mCheckBox);
             EXPECT_EQ(button.mFlags, 0);
             EXPECT_FLOAT_EQ(button.mScale, 1.0f);
             EXPECT_FLOAT_EQ(button.mMinAlpha, 0.0f);
             EXPECT_EQ(button.mDownTextOff, 2);
             EXPECT_FALSE(button.mWrapped);
             EXPECT_EQ(button.mHitWidth, 100);
         }},
        {"<style name='s' type='button' image='si' font='sf' normalrect='1.2.30.40' overrect='5.6.7.8' "
         "states='2' captionoffx='3' vw='60' vh='61' checkbox='1' flags='2' textrect='9.9.9.9' "
         "color='255.0.0.255' w='80'/>"
         "<object name='o' type='button' style='s' image='own' font='of' normalrect='0.0.10.10' "
         "captionoffx='1' captionoffy='2' textrect='1.1.1.1'/>",
         kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mImage, "si");
             EXPECT_EQ(button.mFont, "sf");
             ExpectRect(button.mLooks.mNormalRect, 1, 2, 30, 40);
             ExpectRect(button.mLooks.mOverRect, 5, 6, 7, 8);
             EXPECT_EQ(button.mLooks.mStates, 4);
             EXPECT_EQ(button.mCaptionOffX, 3);
             EXPECT_EQ(button.mCaptionOffY, 2);
             EXPECT_EQ(button.mHitWidth, 60);
             EXPECT_EQ(button.mHitHeight, 61);
             EXPECT_TRUE(button.mCheckBox);
             EXPECT_EQ(button.mFlags, 2);
             ExpectRect(button.mTextRect, 1, 1, 1, 1);
             ExpectColor(button.mColor, 1, 0, 0, 1);
             EXPECT_EQ(button.mWidth, 80);
         }},
        // Without a normal rectangle of its own, the style leaves the button's looks alone.
        {"<style name='s' type='button' image='' states='4'/>"
         "<object name='o' type='button' style='s' image='own' normalrect='0.0.10.10'/>",
         kUIKindButton,
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mImage, "own");
             ExpectRect(button.mLooks.mNormalRect, 0, 0, 10, 10);
             EXPECT_EQ(button.mLooks.mStates, 4);
         }},
    };
    CheckLayoutRows(rows);
}

TEST(UIElements, StyleOfTheWrongKindIsRefusedWithOneLine)
{
    const struct {
        const char* layout;
        const char* line;
        void (*check)(const TUIBaseBox&);
    } cases[] = {
        {"<style name='s' type='text' font='sf' color='255.0.0.255' w='9'/>"
         "<object name='o' type='button' style='s' font='f' states='2'/>",
         "TUIMyButton  wrong style conversion",
         [](const TUIBaseBox& b) {
             const auto& button = As<TUIMyButton>(b);
             EXPECT_EQ(button.mFont, "f");
             EXPECT_EQ(button.mLooks.mStates, 2);
             EXPECT_EQ(button.mWidth, 0);
             ExpectColor(button.mColor, 0, 0, 0, 0);
         }},
        {"<style name='s' type='button' font='sf' w='9' wrapped='1' color='255.0.0.255'/>"
         "<object name='o' type='imagetext' style='s' font='f' overcolor='0.0.255.255'/>",
         "TUIImageText  wrong style conversion",
         [](const TUIBaseBox& b) {
             const auto& text = As<TUIImageText>(b);
             EXPECT_EQ(text.mFont, "f");
             EXPECT_EQ(text.mWidth, 0);
             EXPECT_FALSE(text.mWrapped);
             ExpectColor(text.mOverColor, 0, 0, 1, 1);
             ExpectColor(text.mColor, 0, 0, 0, 0);
         }},
        {"<style name='s' type='text' font='sf' w='9'/>"
         "<object name='o' type='slider' style='s' image='t' value='0.25' tumbw='5'/>",
         "TUIBaseSlider  wrong style conversion",
         [](const TUIBaseBox& b) {
             const auto& slider = As<TUIBaseSlider>(b);
             EXPECT_EQ(slider.mSlider.mImage, "t");
             EXPECT_FLOAT_EQ(slider.mSlider.mValue, 0.25f);
             EXPECT_EQ(slider.mSlider.mThumbWidth, 5);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        TLogWatch log;
        TUIInfoHolder holder;
        ASSERT_TRUE(LoadLayoutText(holder, c.layout));
        ASSERT_NE(holder.Find("o"), nullptr);
        c.check(*holder.Find("o"));
        EXPECT_EQ(log.Count(c.line), 1u);
    }
}

TEST(UIElements, TextImageTextAndEditReaders)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='text' font='f' flags='2' text='k' dofinger='1'/>", kUIKindText,
         [](const TUIBaseBox& b) {
             const auto& text = As<TUIText>(b);
             EXPECT_EQ(text.mFont, "f");
             EXPECT_EQ(text.mFlags, 2);
             EXPECT_EQ(text.mText, "k");
             EXPECT_TRUE(text.mFinger);
         }},
        {"<object name='o' type='imagetext' color='ff0000'/>", kUIKindImageText, [](const TUIBaseBox& b) {
             const auto& text = As<TUIImageText>(b);
             ExpectColor(text.mOverColor, 1, 0, 0, 1);
             ExpectColor(text.mSelectedColor, 1, 0, 0, 1);
             EXPECT_FALSE(text.mWrapped);
         }},
        // The over colour defaults to the colour as written, before the style's colour.
        {"<style name='s' type='text' color='0.255.0.255' selectedcolor='0.0.255.255' wrapped='1' font='sf'/>"
         "<object name='o' type='imagetext' style='s' color='ff0000' flags='1'/>",
         kUIKindImageText,
         [](const TUIBaseBox& b) {
             const auto& text = As<TUIImageText>(b);
             ExpectColor(text.mColor, 0, 1, 0, 1);
             ExpectColor(text.mOverColor, 0, 1, 0, 1);
             ExpectColor(text.mSelectedColor, 0, 0, 1, 1);
             EXPECT_TRUE(text.mWrapped);
             EXPECT_EQ(text.mFont, "sf");
             EXPECT_EQ(text.mFlags, 1);
         }},
        {"<object name='o' type='edit'/>", kUIKindEdit,
         [](const TUIBaseBox& b) { EXPECT_TRUE(As<TUIEdit>(b).mDrawOutline); }},
        {"<object name='o' type='edit' drawoutline='0' backcolor='ff0000' outlinecolor='00ff00' "
         "hilitecolor='0000ff' hilitetextcolor='0.0.0.128' text='k'/>",
         kUIKindEdit,
         [](const TUIBaseBox& b) {
             const auto& edit = As<TUIEdit>(b);
             EXPECT_FALSE(edit.mDrawOutline);
             ExpectColor(edit.mBackColor, 1, 0, 0, 1);
             ExpectColor(edit.mOutlineColor, 0, 1, 0, 1);
             ExpectColor(edit.mHiliteColor, 0, 0, 1, 1);
             ExpectColor(edit.mHiliteTextColor, 0, 0, 0, 128 / 255.0f);
             EXPECT_EQ(edit.mText, "k");
         }},
        // Text and edit take a style of any kind: font when set, flags only where their own are 0.
        {"<style name='s' type='text' font='sf' flags='2' dofinger='1'/>"
         "<object name='o' type='edit' style='s' font='f'/>",
         kUIKindEdit,
         [](const TUIBaseBox& b) {
             const auto& edit = As<TUIEdit>(b);
             EXPECT_EQ(edit.mFont, "sf");
             EXPECT_EQ(edit.mFlags, 2);
             EXPECT_TRUE(edit.mFinger);
         }},
        {"<style name='s' type='button' font='' flags='2'/>"
         "<object name='o' type='edit' style='s' font='f' flags='1'/>",
         kUIKindEdit,
         [](const TUIBaseBox& b) {
             const auto& edit = As<TUIEdit>(b);
             EXPECT_EQ(edit.mFont, "f");
             EXPECT_EQ(edit.mFlags, 1);
             EXPECT_FALSE(edit.mFinger);
         }},
        {"<style name='s' type='slider' font='sf'/><object name='o' type='text' style='s'/>", kUIKindText,
         [](const TUIBaseBox& b) { EXPECT_EQ(As<TUIText>(b).mFont, "sf"); }},
    };
    CheckLayoutRows(rows);
}

TEST(UIElements, ImageReader)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='image'/>", kUIKindImage, [](const TUIBaseBox& b) {
             const auto& image = As<TUIMyImage>(b);
             EXPECT_EQ(image.mCursorOver, "handspot");
             EXPECT_FLOAT_EQ(image.mAlpha, 1.0f);
             EXPECT_FALSE(image.mFinger);
         }},
        {"<object name='o' type='image' image='a' image2='b' imagechecked='c' dofinger='1' cursorover='hand' "
         "drawmode='2' a='0.5' needcache='1' checkedx='3' checkedy='4' draw2x='0.5' draw2y='0.5' draw1x='7' "
         "draw1y='1.25' checked='1' draw2='1' vr='1.2.3.4'/>",
         kUIKindImage,
         [](const TUIBaseBox& b) {
             const auto& image = As<TUIMyImage>(b);
             EXPECT_EQ(image.mImage, "a");
             EXPECT_EQ(image.mImage2, "b");
             EXPECT_EQ(image.mImageChecked, "c");
             EXPECT_TRUE(image.mFinger);
             EXPECT_EQ(image.mCursorOver, "hand");
             EXPECT_EQ(image.mDrawMode, 2);
             EXPECT_FLOAT_EQ(image.mAlpha, 0.5f);
             EXPECT_TRUE(image.mNeedCache);
             EXPECT_EQ(image.mCheckedX, 3);
             EXPECT_EQ(image.mCheckedY, 4);
             EXPECT_EQ(image.mDraw2X, 683);
             EXPECT_EQ(image.mDraw2Y, 384);
             EXPECT_EQ(image.mDraw1X, 7);
             EXPECT_EQ(image.mDraw1Y, 192);
             EXPECT_TRUE(image.mChecked);
             EXPECT_TRUE(image.mDrawThird);
             ExpectRect(image.mExtraSize, 1, 2, 3, 4);
         }},
    };
    CheckLayoutRows(rows);
}

TEST(UIElements, WindowAndFlyWindowReaders)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='window' fade='1' image='bg' alphatime='0.3'/>", kUIKindWindow,
         [](const TUIBaseBox& b) {
             const auto& window = As<TUIClassicWindow>(b);
             EXPECT_TRUE(window.mFade);
             EXPECT_EQ(window.mImage, "bg");
             EXPECT_FLOAT_EQ(window.mAlphaTime, 0.3f);
         }},
        {"<object name='o' type='flywindow'/>", kUIKindFlyWindow, [](const TUIBaseBox& b) {
             const auto& fly = As<TUIFlyWindow>(b);
             EXPECT_EQ(fly.mStopX, 1366);
             EXPECT_EQ(fly.mStopY, 768);
             EXPECT_EQ(fly.mX, 0);
             EXPECT_EQ(fly.mFlyInSound, "flywindow");
             EXPECT_EQ(fly.mFlyOutSound, "flywindow");
         }},
        // "x" and "y" are read twice: into the rectangle and into the stop point.
        {"<object name='o' type='flywindow' x='0.5' y='0.5' x1='0.5' y1='-100' x2='100+20' y2='0.25' "
         "time='0.7' stay='-1' flyinsound='in' flyoutsound='' fade='1'/>",
         kUIKindFlyWindow,
         [](const TUIBaseBox& b) {
             const auto& fly = As<TUIFlyWindow>(b);
             EXPECT_EQ(fly.mStopX, -1);
             EXPECT_EQ(fly.mStopY, -1);
             EXPECT_EQ(fly.mX, 683);
             EXPECT_EQ(fly.mY, 384);
             EXPECT_EQ(fly.mStartX, 683);
             EXPECT_EQ(fly.mStartY, -100);
             EXPECT_EQ(fly.mEndX, 120);
             EXPECT_EQ(fly.mEndY, 192);
             EXPECT_FLOAT_EQ(fly.mTime, 0.7f);
             EXPECT_FLOAT_EQ(fly.mStay, -1.0f);
             EXPECT_EQ(fly.mFlyInSound, "in");
             EXPECT_EQ(fly.mFlyOutSound, "");
             EXPECT_TRUE(fly.mFade);
         }},
        {"<object name='o' type='flywindow' x='683' y='0.3'/>", kUIKindFlyWindow, [](const TUIBaseBox& b) {
             EXPECT_EQ(As<TUIFlyWindow>(b).mStopX, 683);
             EXPECT_EQ(As<TUIFlyWindow>(b).mStopY, 0);
         }},
        // Not numbers, or whole beyond int: read as the text they spell, never cast.
        {"<object name='o' type='flywindow' x='nan' y='inf'/>", kUIKindFlyWindow, [](const TUIBaseBox& b) {
             EXPECT_EQ(As<TUIFlyWindow>(b).mStopX, 0);
             EXPECT_EQ(As<TUIFlyWindow>(b).mStopY, 0);
         }},
        {"<object name='o' type='flywindow' x='3e9' y='-1e39'/>", kUIKindFlyWindow, [](const TUIBaseBox& b) {
             EXPECT_EQ(As<TUIFlyWindow>(b).mStopX, 3);
             EXPECT_EQ(As<TUIFlyWindow>(b).mStopY, -1);
         }},
    };
    CheckLayoutRows(rows);
}

TEST(UIElements, SliderReaderAndStyleRule)
{
    const TLayoutRow rows[] = {
        {"<object name='o' type='slider' image='t' tumb='h' yoffset='1' xoffset='2' value='0.5' ytumboffset='3' "
         "tumbw='4' tumbh='5'/>",
         kUIKindSlider,
         [](const TUIBaseBox& b) {
             const TUISliderParts& s = As<TUIBaseSlider>(b).mSlider;
             EXPECT_EQ(s.mImage, "t");
             EXPECT_EQ(s.mThumbImage, "h");
             EXPECT_EQ(s.mTrackOffY, 1);
             EXPECT_EQ(s.mTrackInsetX, 2);
             EXPECT_FLOAT_EQ(s.mValue, 0.5f);
             EXPECT_EQ(s.mThumbOffY, 3);
             EXPECT_EQ(s.mThumbWidth, 4);
             EXPECT_EQ(s.mThumbHeight, 5);
         }},
        // Names only when set; value, offsets and thumb size always; nothing of the common style.
        {"<style name='s' type='slider' image='st' tumb='' xoffset='14' w='232' h='28' color='255.0.0.255' "
         "soundmouseenter='tick' halign='1'/>"
         "<object name='o' type='slider' style='s' image='t' tumb='h' value='0.5' tumbw='4' yoffset='9'/>",
         kUIKindSlider,
         [](const TUIBaseBox& b) {
             const auto& slider = As<TUIBaseSlider>(b);
             EXPECT_EQ(slider.mSlider.mImage, "st");
             EXPECT_EQ(slider.mSlider.mThumbImage, "h");
             EXPECT_EQ(slider.mSlider.mTrackInsetX, 14);
             EXPECT_EQ(slider.mSlider.mTrackOffY, 0);
             EXPECT_FLOAT_EQ(slider.mSlider.mValue, 0.0f);
             EXPECT_EQ(slider.mSlider.mThumbWidth, 0);
             EXPECT_EQ(slider.mWidth, 0);
             EXPECT_EQ(slider.mHeight, 0);
             ExpectColor(slider.mColor, 0, 0, 0, 0);
             EXPECT_EQ(slider.mEnterSound, "btnmouseenter");
             EXPECT_EQ(slider.mHAlign, -1);
         }},
    };
    CheckLayoutRows(rows);
}
