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
