#include "game/game_base.h"

void TGameBase::Activate()
{
    if (mActivationCount == 0) OnFirstActivate();
    ++mActivationCount;
}
