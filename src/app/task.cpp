#include "app/task.h"

#include <SDL.h>

#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "ui/window_manager.h"

namespace {
uint32_t SdlTicks() { return SDL_GetTicks(); }
TTickSource gTickSource = SdlTicks;
}

void SetTickSource(TTickSource source) { gTickSource = source ? source : SdlTicks; }

uint32_t GetTicks() { return gTickSource(); }

TMyTask::TMyTask() : mDueTick(GetTicks()) {}

bool TMyTask::IsDue() const
{
    if (mDueTick == kNever) return false;
    return static_cast<int32_t>(GetTicks() - mDueTick) >= 0;
}

void TMyTask::Run()
{
    uint32_t now = GetTicks();
    // After a long stall start afresh instead of catching up a second of steps.
    if (static_cast<int32_t>(now - mDueTick) > 1000) mDueTick = now;
    bool again;
    do {
        now = GetTicks();
        mDueTick = mResetToNow ? now + mInterval : mDueTick + mInterval;
        // Compared as IsDue does, so the tick wrap cannot look like a lag of four billion
        // ticks; without an interval there is nothing to catch up.
        again = Execute() && mCatchUp && mInterval > 0 && static_cast<int32_t>(now - mDueTick) > 0;
    } while (again);
}

bool TMyAppTask::Execute()
{
    uint32_t now = GetTicks();
    mLastStep = (now - mPreviousTick) / 1000.0f;
    if (TMyWindowManager* wm = GetAppState().mWindowManager.get()) wm->Update(mLastStep);
    mPreviousTick = now;
    return true;
}

void DeleteOwned(TGameApp* app) { delete app; }

TGameAppBase::TGameAppBase()
{
    TAppState& app = GetAppState();
    app.mScaleX = 1.0f;
    app.mScaleY = 1.0f;
    app.mActive = true;
    GetScreenSizeBeforeStart(&app.mWidthBeforeStart, &app.mHeightBeforeStart);
    GetLogger()->LogMessage("mWidthBeforeStart =  %d  mHeightBeforeStart = %d", app.mWidthBeforeStart,
                            app.mHeightBeforeStart);
    app.mRealResolutionWidth = app.mLargestModeWidth = GetLayoutWidth();
    app.mRealResolutionHeight = app.mLargestModeHeight = GetLayoutHeight();
}

void TGameAppBase::Tick(int)
{
    if (!mTask) {
        mTask.reset(new TMyAppTask());
        mTask->mInterval = 16;
        mTask->mResetToNow = true;
        mTask->mCatchUp = false;
        mTask->mDueTick = GetTicks() + 16;
    }
    if (mTask->IsDue()) mTask->Run();
}
