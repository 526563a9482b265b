#include "ui/slider.h"

#include "ui/ui_elements.h"

TBaseSlider::TBaseSlider(TMyWindow* parent)
{
    if (parent) parent->AddChild(this);
}

void TBaseSlider::ApplyInfo(const TUIBaseSlider* d)
{
    if (!d) return;
    SetRect(d->mX, d->mY, d->mWidth, d->mHeight);
    mId = d->mId;
    mName = d->mName;
}

TBaseSlider* CreateSlider(const TUIBaseSlider* d, TMyWindow* parent)
{
    TBaseSlider* slider = new TBaseSlider(parent);
    slider->ApplyInfo(d);
    return slider;
}
