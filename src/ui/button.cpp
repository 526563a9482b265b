#include "ui/button.h"

#include "ui/ui_elements.h"

TMyButton::TMyButton(TMyWindow* parent)
{
    mHandCursor = true;
    mId = 0;
    if (parent) parent->AddChild(this);
}

void TMyButton::ApplyInfo(const TUIMyButton* d)
{
    if (!d) return;
    mImage.SetTexture(d->mImage);
    int w = d->mWidth, h = d->mHeight;
    const int states = d->mLooks.mStates > 0 ? d->mLooks.mStates : 1;
    if (w == 0) w = mImage.GetTexture() ? mImage.GetTexture()->GetWidth() : 0;
    if (h == 0) h = mImage.GetTexture() ? mImage.GetTexture()->GetHeight() / states : 0;
    mNormalW = w;
    mNormalH = h;
    mVAlign = d->mVAlign;
    mHAlign = d->mHAlign;
    SetRect(d->mX, d->mY, w, h);
    mDisabled = d->mDisabled;
    mId = d->mId;
    mName = d->mName;
    mEnterSound = d->mEnterSound;
    mLeaveSound = d->mLeaveSound;
    mPressSound = d->mPressSound;
    mVisible = d->mVisible;
    mMouseAllowed = d->mAllowMouse;
}

void TMyButton::DrawSelf()
{
    if (!mVisible) return;
    DrawTransform& t = mImage.mTransform;
    t.mSrcX = 0.0f;
    t.mSrcY = 0.0f;
    t.mSrcW = static_cast<float>(mNormalW);
    t.mSrcH = static_cast<float>(mNormalH);
    t.mFlags |= kDrawSourceRect;
    mImage.SetPosition(static_cast<float>(mX + mDrawOffsetX), static_cast<float>(mY + mDrawOffsetY), false);
    mImage.Draw(GetInheritedAlpha() * mAlpha);
}

void TMyButton::OnMouseDown(const TMouseEvent& event)
{
    if (mButtonListener) mButtonListener->OnButtonMouseDown(this);
    if (!mVisible || mDisabled) return;
    TMyWindow::OnMouseDown(event);
    mPressed = true;
    mHover = true;
    if (mButtonListener) mButtonListener->OnButtonPressed(mParent ? mParent->mId : -1, mParent, mId, this);
}

void TMyButton::OnMouseUp(const TMouseEvent& event)
{
    if (mButtonListener) mButtonListener->OnButtonMouseUp(this);
    if (!mVisible || !mPressed) return;
    TMyWindow::OnMouseUp(event);
    if (!mHover) return;
    const int parentId = mParent ? mParent->mId : -1;
    if (mDisabled) {
        if (mButtonListener) mButtonListener->OnDisabledButtonClick(parentId, mParent, mId, this);
        return;
    }
    bool allow = true;
    if (mButtonListener) mButtonListener->OnButtonClicking(parentId, mParent, mId, this, &allow);
    mPressed = false;
    mHover = false;
    if (!allow) return;
    // Last: the listener may close (and so delete) the window that holds this button.
    if (mButtonListener) mButtonListener->OnButtonClick(parentId, mParent, mId, this);
}

void TMyButton::OnMouseLeave()
{
    TMyWindow::OnMouseLeave();
    mPressed = false;
    mHover = false;
}

TMyButton* CreateButton(const TUIMyButton* d, TMyWindow* parent)
{
    TMyButton* button = new TMyButton(parent);
    button->ApplyInfo(d);
    return button;
}
