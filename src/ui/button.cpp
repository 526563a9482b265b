#include "ui/button.h"

#include <algorithm>

#include "core/numbers.h"
#include "graphics/tweens.h"
#include "ui/cursors.h"
#include "ui/text_image.h"
#include "ui/ui_elements.h"

TMyButton::TMyButton(TMyWindow* parent)
{
    mHandCursor = true;
    mId = 0;
    mMover.SetPoint(0.0f, 0.0f);
    if (parent) parent->AddChild(this);
}

TMyButton::~TMyButton() = default;

TMyButton* CreateButton(TUIMyButton* info, TMyWindow* parent)
{
    TMyButton* button = new TMyButton(parent);
    button->ApplyInfo(info);
    return button;
}

void TMyButton::ApplyInfo(TUIMyButton* d)
{
    if (!d) return;
    mImage.SetTexture(d->mImage);
    mVAlign = d->mVAlign;
    mHAlign = d->mHAlign;
    // Below one look the sheet is read as a single look rather than divided by nothing.
    const int states = std::max(d->mLooks.mStates, 1);
    if (d->mWidth == 0) d->mWidth = mImage.GetTexture() ? mImage.GetTexture()->GetWidth() : 0;
    if (d->mHeight == 0) d->mHeight = (mImage.GetTexture() ? mImage.GetTexture()->GetHeight() : 0) / states;
    const int w = d->mWidth;
    const int h = d->mHeight;
    auto row = [h](int n) { return TruncToInt(static_cast<double>(h) * n); };
    mLooks[kLookNormal] = TUIRect{0, 0, w, h};
    mLooks[kLookOver] = TUIRect{0, states < 2 ? 0 : h, w, h};
    mLooks[kLookDown] = TUIRect{0, states > 2 ? row(2) : (states < 2 ? 0 : h), w, h};
    mLooks[kLookDisabled] = TUIRect{0, states < 4 ? mLooks[kLookDown].y : row(3), w, h};
    mHomeX = d->mX;
    mHomeY = d->mY;
    SetRect(d->mX, d->mY, w, h);
    mMover.SetPoint(static_cast<float>(mX), static_cast<float>(mY));
    if (d->mLooks.mNormalRect.w != 0) {
        mLooks[kLookNormal] = d->mLooks.mNormalRect;
        mLooks[kLookOver] = d->mLooks.mOverRect;
        mLooks[kLookDown] = d->mLooks.mDownRect;
        mLooks[kLookDisabled] = d->mLooks.mDisabledRect;
    }
    mDisabled = d->mDisabled;
    mCheckBox = d->mCheckBox;
    mId = d->mId;
    mName = d->mName;
    mTextAsHint = d->mTextAsHint;
    mHintX = d->mHintX;
    mHintY = d->mHintY;
    mCaptionOffX = d->mCaptionOffX;
    mCaptionOffY = d->mCaptionOffY;
    mEnterSound = d->mEnterSound;
    mLeaveSound = d->mLeaveSound;
    mPressSound = d->mPressSound;
    mTextRect = d->mTextRect;
    mCaptionFlags = d->mFlags;
    mMinAlpha = d->mMinAlpha;
    mHitWidth = d->mHitWidth;
    mHitHeight = d->mHitHeight;
    mVisible = d->mVisible;
    mScale = d->mScale;
    mMouseAllowed = d->mAllowMouse;
    if (!d->mText.empty()) {
        mCaption = std::make_unique<TSimpleTextImage>();
        mCaption->SetFont(d->mFont);
        mCaption->SetTextKey(d->mText);
        mCaption->RefreshText();
        if (mTextRect.w != 0)
            mCaption->SetRect(0, 0, mTextRect.w, mTextRect.h);
        else
            mCaption->SetRect(0, 0, mWidth, mHeight);
        mCaption->mAlignment = mCaptionFlags;
        mCaption->mWrapped = d->mWrapped;
        // Only red, green and blue count: a caption without "color" is black, not invisible.
        mCaption->mColor = TFloatColor{d->mColor.r, d->mColor.g, d->mColor.b, 1.0f};
    }
    mCaptionPressOffset = d->mDownTextOff;
}

int TMyButton::GetDrawState()
{
    int look = kLookNormal;
    if (mButtonListener && mButtonListener->GetButtonState(this, &look)) return look;
    const bool down = mPressed && mHover && !mDisabled;
    if (mTicked || mHighlighted || down) return kLookDown;
    if (mDisabled) return kLookDisabled;
    if (mHover || mPressed) return kLookOver;
    return kLookNormal;
}

void TMyButton::DrawStateImage(int look, int widthOverride)
{
    TUIRect r = mLooks[kLookNormal];
    TTexture* texture = mImage.GetTexture();
    if (look >= 0 && look < 4 && texture && mLooks[look].y < texture->GetHeight()) {
        r = mLooks[look];
        if (widthOverride != 0) r.w = widthOverride;
    }
    mImage.SetScale(mScale);
    mImage.SetPosition(static_cast<float>(static_cast<int64_t>(mX) + mDrawOffsetX),
                       static_cast<float>(static_cast<int64_t>(mY) + mDrawOffsetY), false);
    DrawTransform& t = mImage.mTransform;
    t.SetSourceRect(r.x, r.y, r.w, r.h);
    mImage.Draw(GetInheritedAlpha() * mAlpha);
}

void TMyButton::DrawCaption()
{
    if (!mCaption) return;
    int64_t x = mX;
    int64_t y = mY;
    if (mTextAsHint) {
        if (!mHover) return;
        x += mHintX;
        y += mHintY;
    } else {
        if (mPressed) {
            x += mCaptionPressOffset;
            y += mCaptionPressOffset;
        }
        x += mTextRect.w != 0 ? mTextRect.x : mCaptionOffX;
        y += mTextRect.w != 0 ? mTextRect.y : mCaptionOffY;
    }
    mCaption->mX = TruncToInt(static_cast<double>(x + mDrawOffsetX));
    mCaption->mY = TruncToInt(static_cast<double>(y + mDrawOffsetY));
    mCaption->mAlpha = GetInheritedAlpha() * mAlpha;
    mCaption->DrawSelf();
}

void TMyButton::DrawSelf()
{
    if (!mVisible) return;
    DrawStateImage(GetDrawState(), 0);
    DrawCaption();
}

void TMyButton::MoveTo(int x, int y, float seconds)
{
    mMover.StartSegment(static_cast<float>(mX), static_cast<float>(mY), static_cast<float>(x), static_cast<float>(y),
                        seconds, 0.0f, 0, false);
    if (mButtonListener) mButtonListener->OnButtonMoveStarted(this);
}

void TMyButton::MoveHome(float seconds)
{
    mMover.StartSegment(static_cast<float>(mX), static_cast<float>(mY), static_cast<float>(mHomeX),
                        static_cast<float>(mHomeY), seconds, 0.0f, 0, false);
}

void TMyButton::FollowMover() { SetPosition(TruncToInt(mMover.mX), TruncToInt(mMover.mY)); }

bool TMyButton::Update(float dt)
{
    if (!mMover.mActive) return false;
    const bool finished = mMover.Update(dt);
    FollowMover();
    if (finished && mButtonListener) mButtonListener->OnButtonMoveFinished(this);
    return false;
}

void TMyButton::ReleaseTextures() { mImage.FreeTexture(); }

bool TMyButton::IsInside(int px, int py) const
{
    int64_t left = mX;
    int64_t top = mY;
    int64_t w = mWidth;
    int64_t h = mHeight;
    if (mHitWidth != 0 || mHitHeight != 0) {
        const int64_t padX = std::max<int64_t>(static_cast<int64_t>(mHitWidth) - w, 0) / 2;
        const int64_t padY = std::max<int64_t>(static_cast<int64_t>(mHitHeight) - h, 0) / 2;
        left -= padX;
        top -= padY;
        w += 2 * padX;
        h += 2 * padY;
    }
    const int64_t width = TruncToInt(static_cast<double>(w) * mScale);
    const int64_t height = TruncToInt(static_cast<double>(h) * mScale);
    return left <= px && px < left + width && top <= py && py < top + height;
}

bool TMyButton::HitTestLocal(int x, int y) const
{
    if (mMinAlpha == 0.0f) return true;
    return mImage.HitTestAlpha(x, y, TruncToInt(mMinAlpha * 255.0f));
}

void TMyButton::OnMouseDown(const TMouseEvent& event)
{
    if (mButtonListener) mButtonListener->OnButtonMouseDown(this);
    if (!mVisible || mDisabled) return;
    TMyWindow::OnMouseDown(event);
    mPressed = true;
    mHover = true;
    if (mButtonListener) mButtonListener->OnButtonPressed(ParentId(), mParent, mId, this);
}

void TMyButton::OnMouseMove(const TMouseEvent& event)
{
    if (mButtonListener) mButtonListener->OnButtonMouseMove(this);
    bool stop = false;
    if (mDisabled) stop = mButtonListener ? mButtonListener->OnDisabledButtonHover(ParentId(), mParent, mId, this) : true;
    if (!mVisible || stop) return;
    if (!mHover) {
        OnMouseEnter();
        mHover = true;
    }
    if (mListener) mListener->OnWindowMouseMove(this, event);
    if ((mPassToParent & 1) && mParent) mParent->OnMouseMove(event);
}

void TMyButton::OnMouseUp(const TMouseEvent& event)
{
    if (mButtonListener) mButtonListener->OnButtonMouseUp(this);
    if (!mVisible || !mPressed) return;
    if (mListener) mListener->OnWindowMouseUp(this, event);
    if ((mPassToParent & 4) && mParent) mParent->OnMouseUp(event);
    if (!mHover) return;
    if (mDisabled) {
        if (mButtonListener) mButtonListener->OnDisabledButtonClick(ParentId(), mParent, mId, this);
        return;
    }
    bool allow = true;
    if (mButtonListener) mButtonListener->OnButtonClicking(ParentId(), mParent, mId, this, &allow);
    if (!allow) {
        mPressed = false;
        mHover = false;
        return;
    }
    if (mCheckBox) mTicked = !mTicked;
    if (mButtonListener) mButtonListener->OnButtonClick(ParentId(), mParent, mId, this);
    mPressed = false;
    mHover = false;
}

void TMyButton::OnMouseEnter()
{
    TMyWindow::OnMouseEnter();
    if (mButtonListener) mButtonListener->OnButtonEnter(ParentId(), mParent, mId, this);
    TGameCursors* cursors = GetGameCursors();
    TGameCursor* spot = cursors->Find("handspot");
    if (spot && cursors->Current() != spot) cursors->Select("handspot");
}

void TMyButton::OnMouseLeave()
{
    GetGameCursors()->SelectDefault();
    TMyWindow::OnMouseLeave();
    mPressed = false;
    mHover = false;
    if (mButtonListener) mButtonListener->OnButtonLeave(ParentId(), mParent, mId, this);
}
