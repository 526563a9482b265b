#include "ui/text_widgets.h"

#include "core/localization.h"
#include "ui/ui_elements.h"

void TSimpleTextImage::ApplyInfo(const TUIImageText* d)
{
    if (!d) return;
    mVAlign = d->mVAlign;
    mHAlign = d->mHAlign;
    mWidth = d->mWidth;
    mHeight = d->mHeight;
    SetPosition(d->mX, d->mY);
    mWrapped = d->mWrapped;
    mId = d->mId;
    mName = d->mName;
    mHandCursor = d->mFinger;
    SetTextKey(d->mText);
}

void TSimpleTextImage::SetTextKey(const std::string& key)
{
    mKey = key;
    RefreshText();
}

void TSimpleTextImage::RefreshText() { mText = mKey.empty() ? std::wstring() : GetLocalization()->GetText(mKey); }

TSimpleTextImage* CreateTextImage(const TUIImageText* d, TMyWindow* parent)
{
    TSimpleTextImage* text = new TSimpleTextImage();
    if (parent) parent->AddChild(text);
    text->ApplyInfo(d);
    return text;
}

TMyEditWindow::TMyEditWindow(TMyWindow* parent)
{
    if (parent) parent->AddChild(this);
}

void TMyEditWindow::ApplyInfo(const TUIEdit* d)
{
    if (!d) return;
    SetRect(d->mX, d->mY, d->mWidth, d->mHeight);
    mId = d->mId;
    mName = d->mName;
}

TMyEditWindow* CreateEditWindow(const TUIEdit* d, TMyWindow* parent)
{
    TMyEditWindow* edit = new TMyEditWindow(parent);
    edit->ApplyInfo(d);
    return edit;
}
