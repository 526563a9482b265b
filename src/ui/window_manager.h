// The window manager owns the screens, the dialogs over them, the dialogs waiting for their
// show delay and the faders that cover a change of screen; it updates and draws them and
// routes every input event to one widget (under the pointer, captured, or the key receiver).
#pragma once
#include <memory>
#include <vector>

#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "ui/window.h"

struct TInputEvent;
class TFader;

class TFaderListener {
public:
    virtual ~TFaderListener() = default;
    virtual void OnFadeStarted(TFader* fader) = 0;
    virtual void OnFadeFull(TFader* fader) = 0;
    virtual void OnFadeDone(TFader* fader) = 0;
};

// A full-screen transition: covers the screen, tells its listener when it does, uncovers it.
class TFader {
public:
    virtual ~TFader() = default;
    virtual void Update(float /*dt*/) {}
    virtual void Draw() {}
    virtual void EmptyHookArg(int) {}
    virtual void Start() {}
    virtual void EmptyHook() {}
    virtual void ReloadTextures() {}

    TFaderListener* mListener = nullptr;  // may stay null: the fader then tells nobody
};

// Darkens with a full-screen shadow, lightens again and waits a moment before it is done.
class TFaderShadow : public TFader {
public:
    enum { kDarkening = 0, kLightening = 1, kWaiting = 2, kIdle = 3 };

    TFaderShadow();
    void Update(float dt) override;
    void Draw() override;
    void Start() override;
    void ReloadTextures() override;
    // The shadow's alpha runs from `from` to `to` and back over |time| seconds each way.
    void FadeBetween(float from, float to, float time);

    StaticImage mImage;
    int mState = kIdle;
    IncValue mTween;
    float mHoldTime = 0.2f;
    float mFadeDuration = 1.0f;
    float mWaitCountdown = 0.0f;
    // Set by a room for its pocket shadow: after the fade-in the shadow rests where it got to
    // until it is faded again, so the pocket stays dimmed behind.
    bool mKeepShown = false;
};

class TMyWindowManager : public TFaderListener {
public:
    TMyWindowManager() = default;
    TMyWindowManager(const TMyWindowManager&) = delete;
    TMyWindowManager& operator=(const TMyWindowManager&) = delete;

    void OnFadeStarted(TFader*) override {}
    void OnFadeFull(TFader* fader) override;
    void OnFadeDone(TFader* fader) override;
    ~TMyWindowManager() override;
    virtual void Update(float dt);
    virtual void Draw();
    virtual bool OnMouseDown(const TMouseEvent& event);
    virtual bool OnMouseMove(const TMouseEvent& event);
    virtual bool OnMouseUp(const TMouseEvent& event);
    virtual bool OnMouseDrag(const TMouseEvent& event);
    virtual bool OnMouseWheel(const TMouseEvent& event);
    virtual bool OnDoubleClick(const TMouseEvent& event);
    virtual void OnKeyUp(const TKeyEvent* key);
    virtual void OnKeyDown(const TKeyEvent* key);
    virtual void OnTextInput(int32_t character);
    virtual void HandleEvent(const TInputEvent& event);
    // Owns the window from here on (also while it waits for its delay).
    virtual void AddWindow(TMyWindow* window, float delay);
    virtual void AddFader(TFader* fader);
    // Owns the window from here on; fader 0 swaps at once, fader n through the n-th fader.
    virtual void ShowScreen(TMyWindow* window, bool removeTop, int fader);
    // Takes the first window with the id out and hands it back; null when none has it.
    virtual std::unique_ptr<TMyWindow> CloseWindow(int id);
    // Takes the window out of its list and hands ownership back to the caller.
    virtual TMyWindow* RemoveWindow(TMyWindow* window);
    virtual void ReloadTextures();

    TMyWindow* FindWindow(int id) const;
    // The first screen or shown top-level window with the id; windows waiting for their
    // delay are left out.
    TMyWindow* FindListedWindow(int id) const;
    TMyWindow* FindTopModal() const;
    TMyWindow* FindWindowAt(int x, int y, int* localX, int* localY) const;
    bool Contains(const TMyWindow* widget) const;
    void DeleteTopWindows();
    void SetAllPaused(bool paused);
    void BringTopWindowToFront(TMyWindow* window);
    void TrackHover(const TMouseEvent& event);
    // Called by a widget's destructor: no pointer of the manager may outlive the widget.
    void ForgetWidget(const TMyWindow* widget);

    bool IsScreen(const TMyWindow* window) const;
    bool IsTopWindow(const TMyWindow* window) const;
    bool IsPending(const TMyWindow* window) const;
    TMyWindow* TopScreen() const { return mScreens.empty() ? nullptr : mScreens.back().get(); }
    int ScreenCount() const { return static_cast<int>(mScreens.size()); }
    int TopWindowCount() const { return static_cast<int>(mTopWindows.size()); }
    int PendingCount() const { return static_cast<int>(mPending.size()); }
    int FaderCount() const { return static_cast<int>(mFaders.size()); }
    TFader* GetFader(int number) const;
    TFader* ActiveFader() const { return mActiveFader; }
    TMyWindow* Hovered() const { return mHovered; }
    // Forgets the hovered widget without telling it: the tutorial hint covers everything.
    void ClearHovered() { mHovered = nullptr; }
    TMyWindow* Captured() const { return mCaptured; }
    TMyWindow* WaitingScreen() const { return mWaiting; }
    int32_t CaptureMask() const { return mCaptureMask; }

private:
    using TWindowList = std::vector<std::unique_ptr<TMyWindow>>;

    // Updates one list by index, re-finding each window after its update: updates add,
    // close and remove windows under the walk.
    void UpdateScreens(float dt);
    void UpdateTopWindows(float dt);
    // Removes, hides and (with auto-delete) deletes a window that closed itself.
    void DisposeClosed(TMyWindow* window);
    void ForgetHoverIfGone();
    void LoseHover();
    void EnterHover(TMyWindow* widget);
    // The full-cover moment: the waiting screen comes in, the replaced one goes.
    void SwapScreens();
    // A waiting screen that another one supersedes is deleted with auto-delete.
    void SetWaiting(TMyWindow* window);
    TMouseEvent RecordFor(const TMouseEvent& event, int x, int y) const;
    void DeliveryPoint(const TMyWindow* widget, const TMouseEvent& event, TMouseEvent* out) const;

    TWindowList mScreens;
    TWindowList mTopWindows;
    TMyWindow* mHovered = nullptr;
    TMyWindow* mCaptured = nullptr;
    TMyWindow* mWaiting = nullptr;  // owned
    TMyWindow* mReplaced = nullptr;
    // Local pointers that a call into a widget may leave dangling register here.
    class TWatch;
    std::vector<TWatch*> mWatches;
    int32_t mCaptureMask = 0;
    TFader* mActiveFader = nullptr;
    std::vector<std::unique_ptr<TFader>> mFaders;
    TWindowList mPending;
    int32_t mLastX = -1;
    int32_t mLastY = -1;
};

// Created on first use and kept in the application state (GetAppState().mWindowManager
// answers it without creating one).
TMyWindowManager* GetWindowManager();
void DestroyWindowManager();
