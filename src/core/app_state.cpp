#include "core/app_state.h"

namespace {
TAppState gAppState;
}

TAppState& GetAppState() { return gAppState; }

SDL_Renderer* GetRenderer()
{
    return gAppState.mRenderDevice ? gAppState.mRenderDevice->mRenderer : nullptr;
}

void ResetAppState() { gAppState = TAppState(); }
