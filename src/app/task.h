// The application object and its periodic task: the window manager advances at most once
// per 16 ms with the real elapsed time, whatever the frame rate.
#pragma once
#include <cstdint>
#include <memory>

#include "ui/button.h"
#include "ui/classic_window.h"

class TMyTask {
public:
    TMyTask();
    virtual ~TMyTask() = default;
    virtual bool Execute() { return true; }
    virtual void Run();
    virtual bool IsDue() const;

    static const uint32_t kNever = 0xFFFFFFFFu;
    uint32_t mDueTick;
    int32_t mInterval = 0;
    bool mResetToNow = false;
    bool mCatchUp = false;
};

class TMyAppTask : public TMyTask {
public:
    bool Execute() override;
    uint32_t mPreviousTick = 0;  // 0: the first step spans the time since SDL started
    float mLastStep = 0.0f;
};

// Button clicks reach the application as a listener; it ignores them.
class TGameAppBase : public TMyButtonListener {
public:
    TGameAppBase();
    ~TGameAppBase() override = default;
    void OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) override {}
    virtual void Tick(int unused);
    TMyAppTask* Task() const { return mTask.get(); }

private:
    std::unique_ptr<TMyAppTask> mTask;
};

// Hears the dialogs it opens; it opens none, so every notification keeps its default.
class TGameApp : public TGameAppBase, public TFlyWindowListener {};

// The tick source of the frame loop and of the tasks; tests replace it.
using TTickSource = uint32_t (*)();
void SetTickSource(TTickSource source);
uint32_t GetTicks();
