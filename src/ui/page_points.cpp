#include "ui/page_points.h"

#include "ui/cursors.h"
#include "ui/ui_elements.h"

TPointPageShower::TPointPageShower(TMyWindow* parent)
{
    if (parent) parent->AddChild(this);
}

void TPointPageShower::ApplyInfo(TUIMyButton* d)
{
    if (!d) return;
    mImage.SetTexture(d->mImage);
    mVAlign = d->mVAlign;
    mHAlign = d->mHAlign;
    if (d->mWidth == 0) d->mWidth = mImage.GetWidth();
    if (d->mHeight == 0) d->mHeight = mImage.GetHeight();
    SetRect(d->mX, d->mY, d->mWidth, d->mHeight);
    mDisabled = d->mDisabled;
    mId = d->mId;
    mName = d->mName;
    mEnterSound = d->mEnterSound;
    mLeaveSound = d->mLeaveSound;
    mPressSound = d->mPressSound;
    mVisible = d->mVisible;
    mMouseAllowed = d->mAllowMouse;
}

void TPointPageShower::LayoutPoints()
{
    if (mPageCount <= 0) {
        mPoints.clear();
        return;
    }
    mPoints.resize(static_cast<size_t>(mPageCount));
    int step = mWidth / mPageCount;
    int firstX = static_cast<int>((static_cast<int64_t>(mWidth) - static_cast<int64_t>(step) * (mPageCount - 1)) / 2);
    for (int i = 0; i < mPageCount; ++i) {
        mPoints[static_cast<size_t>(i)].x = static_cast<int>(firstX + static_cast<int64_t>(i) * step);
        mPoints[static_cast<size_t>(i)].y = mHeight / 2;
    }
}

int TPointPageShower::PointAt(int x, int y) const
{
    TTexture* texture = mImage.GetTexture();
    if (!texture || mPageCount <= 0) return -1;
    int64_t half = texture->GetWidth() / 2;
    int64_t h = texture->GetHeight();
    for (size_t i = 0; i < mPoints.size(); ++i) {
        int64_t left = static_cast<int64_t>(mPoints[i].x) - texture->GetWidth() / 4;
        int64_t top = static_cast<int64_t>(mPoints[i].y) - h / 2;
        if (left <= x && x < left + half && top <= y && y < top + h) return static_cast<int>(i);
    }
    return -1;
}

void TPointPageShower::DrawSelf()
{
    TTexture* texture = mImage.GetTexture();
    if (!mVisible || !texture) return;
    int half = texture->GetWidth() / 2;
    int h = texture->GetHeight();
    float alpha = GetInheritedAlpha() * mAlpha;
    DrawTransform& t = mImage.mTransform;
    t.mFlags |= kDrawSourceRect;
    t.mSrcY = 0.0f;
    t.mSrcW = static_cast<float>(half);
    t.mSrcH = static_cast<float>(h);
    for (size_t i = 0; i < mPoints.size(); ++i) {
        t.mSrcX = static_cast<int>(i) == mCurrentPage ? static_cast<float>(half) : 0.0f;
        float cx = static_cast<float>(static_cast<int64_t>(mX) + mPoints[i].x + mDrawOffsetX);
        float cy = static_cast<float>(static_cast<int64_t>(mY) + mPoints[i].y + mDrawOffsetY);
        mImage.SetPosition(cx - static_cast<float>(half) / 2.0f, cy - static_cast<float>(h) / 2.0f, false);
        mImage.Draw(alpha);
    }
}

void TPointPageShower::OnMouseUp(const TMouseEvent& event)
{
    if (!AcceptsMouse()) return;
    int point = PointAt(event.mX, event.mY);
    if (point >= 0 && (!mPageListener || mPageListener->OnPageClicked())) mCurrentPage = point;
    if (mListener) mListener->OnWindowMouseUp(this, event);
    if ((mPassToParent & 4) && mParent) mParent->OnMouseUp(event);
}

void TPointPageShower::OnMouseMove(const TMouseEvent& event)
{
    if (!AcceptsMouse()) return;
    if (PointAt(event.mX, event.mY) >= 0)
        GetGameCursors()->Select("hand");
    else
        GetGameCursors()->SelectDefault();
    if (mListener) mListener->OnWindowMouseMove(this, event);
    if ((mPassToParent & 1) && mParent) mParent->OnMouseMove(event);
}
