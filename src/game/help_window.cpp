#include "game/help_window.h"

#include "ui/button.h"

THelpWindow::THelpWindow(TFlyWindowListener* listener) : TFlyWindow(listener, true, "ui/help.xml")
{
    mId = kId;
    mPrev = dynamic_cast<TMyButton*>(FindChild("help_prev"));
    mClose = dynamic_cast<TMyButton*>(FindChild("help_close"));
    mNext = dynamic_cast<TMyButton*>(FindChild("help_next"));
    mPages.Load("help.xml");
    UpdateButtons();
}

void THelpWindow::UpdateButtons()
{
    const int index = mPages.GetCurrent();
    if (mNext) ShowChild(mNext->mName, index < mPages.GetPageCount() - 1);
    if (mPrev) ShowChild(mPrev->mName, index > 0);
}

bool THelpWindow::Update(float dt)
{
    mPages.Update(dt);
    return TFlyWindow::Update(dt);
}

void THelpWindow::DrawSelf()
{
    TFlyWindow::DrawSelf();
    // The page flies with the dialog, and is drawn whole whatever the dialog's alpha.
    mPages.mOriginX = GetX() + mDrawOffsetX;
    mPages.mOriginY = GetY() + mDrawOffsetY;
    mPages.Draw(mPages.GetCurrent(), 1.0f);
}

void THelpWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* /*button*/)
{
    switch (buttonId) {
    case kButtonPrev:
        mPages.Prev();
        UpdateButtons();
        break;
    case kButtonClose:
        FlyOut();
        break;
    case kButtonNext:
        mPages.Next();
        UpdateButtons();
        break;
    default:
        break;
    }
}
