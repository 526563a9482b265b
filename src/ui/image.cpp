#include "ui/image.h"

#include "graphics/texture.h"
#include "ui/ui_elements.h"

TMyImage::TMyImage(TMyWindow* parent)
{
    if (parent) parent->AddChild(this);
}

void TMyImage::ApplyInfo(const TUIMyImage* d)
{
    if (!d) return;
    {
        // Images take alpha hit tests: their pixels' alpha stays readable.
        TTextureSwitchScope keep(KeepTextureAlpha, true);
        mImage.SetTexture(d->mImage);
    }
    mVAlign = d->mVAlign;
    mHAlign = d->mHAlign;
    SetRect(d->mX, d->mY, d->mWidth, d->mHeight);
    mId = d->mId;
    mName = d->mName;
    mAlpha = d->mAlpha;
}

void TMyImage::DrawSelf()
{
    mImage.SetPosition(static_cast<float>(mX + mDrawOffsetX), static_cast<float>(mY + mDrawOffsetY), false);
    mImage.Draw(GetInheritedAlpha() * mAlpha);
}

TMyImage* CreateImage(const TUIMyImage* d, TMyWindow* parent)
{
    if (!d) return nullptr;
    TMyImage* image = new TMyImage(parent);
    image->ApplyInfo(d);
    return image;
}
