#include "game/front_screens.h"

#include "core/logger.h"

TMainMenu::TMainMenu() : TFrontScreen(5)
{
    GetLogger()->LogMessage("mainmenu start constructor");
    mRoom.LoadFromXml("mainmenu.xml");
    mRoom.LoadObjectResources(0);
    GetLogger()->LogMessage("mainmenu end constructor");
}

bool TMainMenu::Update(float dt)
{
    mRoom.Update(dt);
    return TFrontScreen::Update(dt);
}

void TMainMenu::DrawSelf() { mRoom.Draw(); }

void TMainMenu::OnShown()
{
    TFrontScreen::OnShown();
    mRoom.mShowRequest = true;
    mRoom.OnShow();
}

TPauseWindow::TPauseWindow() : TClassicWindow("ui/pause.xml", true)
{
    mId = kPauseWindowId;
    // Its widgets only decorate the overlay: nothing on it may react to a click.
    SetChildrenDisabled(true);
}

void TPauseWindow::OnTextInput(int32_t character)
{
    if (character == 32 || character == 27) Close(0);
}
