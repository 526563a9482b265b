#include "game/user_name_window.h"

#include <SDL.h>

#include "core/localization.h"
#include "ui/window_manager.h"

TUserNameWindow::TUserNameWindow(TFlyWindowListener* listener) : TFlyWindow(listener, true, "ui/username.xml")
{
    mId = kId;
    mEdit = dynamic_cast<TMyEditWindow*>(FindChild("edit"));
    SDL_StartTextInput();
    if (mEdit) {
        mEdit->mMaxLength = 10;
        mEdit->SetListener(this);
        mEdit->SetText(GetLocalization()->GetText("defaultname"), true);
    }
}

TUserNameWindow::~TUserNameWindow() { SDL_StopTextInput(); }

bool TUserNameWindow::AcceptChar(int /*editId*/, int c)
{
    return (c >= 0x410 && c <= 0x44F) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

void TUserNameWindow::OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button)
{
    if (buttonId == 1 && (!mEdit || mEdit->mText.empty())) return;
    TFlyWindow::OnButtonClick(parentId, parent, buttonId, button);
}

std::string TUserNameWindow::GetName() const
{
    return mEdit ? GetLocalization()->Narrow(mEdit->mText) : std::string();
}

void ShowUserNameWindow(TFlyWindowListener* listener)
{
    GetWindowManager()->AddWindow(new TUserNameWindow(listener), 0.0f);
}
