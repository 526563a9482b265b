#include "ui/image.h"

#include "core/numbers.h"
#include "graphics/texture.h"
#include "graphics/tweens.h"
#include "ui/cursors.h"
#include "ui/ui_elements.h"

TMyImage::TMyImage(TMyWindow* parent)
{
    if (parent) parent->AddChild(this);
}

TMyImage* CreateImage(const TUIMyImage* info, TMyWindow* parent)
{
    if (!info) return nullptr;
    TMyImage* image = new TMyImage(parent);
    image->ApplyInfo(info);
    return image;
}

void TMyImage::SetImage(const std::string& name)
{
    TTextureSwitchScope keep(KeepTextureAlpha, mKeepAlpha);
    mImage.SetTexture(name);
}

void TMyImage::ApplyInfo(const TUIMyImage* d)
{
    if (!d) return;
    mId = d->mId;
    mName = d->mName;
    mVAlign = d->mVAlign;
    mHAlign = d->mHAlign;
    // The main picture comes before "needcache" is read: only later SetImage calls keep alpha.
    SetImage(d->mImage);
    mImage3.SetTexture(d->mImageChecked);
    mImage2.SetTexture(d->mImage2);
    mChecked = d->mChecked;
    mDrawThird = d->mDrawThird;
    int w = d->mWidth != 0 ? d->mWidth : mImage.GetWidth();
    int h = d->mHeight != 0 ? d->mHeight : mImage.GetHeight();
    SetRect(d->mX, d->mY, w + d->mExtraSize.w, h + d->mExtraSize.h);
    mHandCursor = d->mFinger;
    mDrawMode = d->mDrawMode;
    mCursorName = d->mCursorOver;
    mAlpha = d->mAlpha;
    mKeepAlpha = d->mNeedCache;
    mImage.SetPosition(static_cast<float>(mX), static_cast<float>(mY), false);
    mCheckedX = d->mCheckedX;
    mCheckedY = d->mCheckedY;
    mDraw1X = d->mDraw1X;
    mDraw1Y = d->mDraw1Y;
    mDraw2X = d->mDraw2X;
    mDraw2Y = d->mDraw2Y;
    mExtraSize = d->mExtraSize;
    mMouseAllowed = d->mAllowMouse;
}

void TMyImage::DrawLayer(StaticImage& image, int offsetX, int offsetY, float alpha)
{
    float x = static_cast<float>(static_cast<int64_t>(mX) + offsetX + mDrawOffsetX + mFitX);
    float y = static_cast<float>(static_cast<int64_t>(mY) + offsetY + mDrawOffsetY + mFitY);
    image.SetPosition(x, y, false);
    image.Draw(alpha);
}

void TMyImage::DrawSelf()
{
    if (!mVisible) return;
    int iw = mImage.GetWidth();
    int ih = mImage.GetHeight();
    float scale = 1.0f;
    mFitX = mFitY = 0;
    // Without a main picture there is nothing to fit: natural size, overlays still drawn.
    if (mDrawMode == 1 && iw > 0 && ih > 0) {
        float sx = static_cast<float>(mWidth) / static_cast<float>(iw);
        float sy = static_cast<float>(mHeight) / static_cast<float>(ih);
        scale = sx < sy ? sx : sy;
        mFitX = static_cast<int>((static_cast<int64_t>(mWidth) - TruncToInt(iw * scale)) / 2);
        mFitY = static_cast<int>((static_cast<int64_t>(mHeight) - TruncToInt(ih * scale)) / 2);
    }
    mImage.SetScale(scale);
    for (StaticImage* overlay : {&mImage2, &mImage3}) {
        if (mDrawMode != 1 || overlay->GetWidth() > 0) overlay->SetScale(scale);
    }
    float alpha = GetInheritedAlpha() * mAlpha;
    // The texture truncates each channel to 8 bits as it draws.
    mImage.mTransform.mRed = mColor.r;
    mImage.mTransform.mGreen = mColor.g;
    mImage.mTransform.mBlue = mColor.b;
    DrawLayer(mImage, mDraw1X, mDraw1Y, alpha);
    if (mImage2.GetWidth() > 0 && mChecked) DrawLayer(mImage2, mCheckedX, mCheckedY, alpha);
    if (mImage3.GetWidth() > 0 && mDrawThird) DrawLayer(mImage3, mDraw2X, mDraw2Y, alpha);
}

void TMyImage::OnMouseEnter()
{
    TMyWindow::OnMouseEnter();
    if (!mHandCursor) return;
    GetGameCursors()->Select(mCursorName);
}

void TMyImage::OnMouseLeave()
{
    if (mHandCursor) GetGameCursors()->SelectDefault();
    TMyWindow::OnMouseLeave();
}
