// What a window needs of a game to host it: frame updates, drawing below and above the
// window's widgets, pointer and key input, pause, and a listener that hears when the player
// has finished. The mosaic board is the one game; the room window hosts it.
#pragma once
#include <cstdint>

#include "ui/mouse_event.h"

class TGameBase;

class TGameBaseListener {
public:
    virtual ~TGameBaseListener() = default;
    virtual void OnGameFinished(TGameBase* /*game*/) {}
    virtual void EmptyHookArgA(TGameBase* /*game*/) {}
    virtual void EmptyHookArgB(TGameBase* /*game*/) {}
};

class TGameBase {
public:
    TGameBase() = default;
    TGameBase(const TGameBase&) = delete;
    TGameBase& operator=(const TGameBase&) = delete;
    virtual ~TGameBase() = default;

    virtual int GetKind() const { return 0; }
    virtual void Activate();
    virtual void Setup() {}
    virtual void Deactivate() {}
    virtual void EmptyHookA() {}
    virtual void Draw() {}
    virtual void DrawOverlay() {}
    virtual void Update(float /*dt*/) {}
    virtual void MouseMove(const TMouseEvent& /*event*/) {}
    virtual void MouseUp(const TMouseEvent& /*event*/) {}
    virtual void MouseDown(const TMouseEvent& /*event*/) {}
    virtual void MouseDrag(const TMouseEvent& /*event*/) {}
    virtual void MouseWheel(const TMouseEvent& /*event*/) {}
    virtual void DoubleClick(const TMouseEvent& /*event*/) {}
    virtual void KeyUp(int /*key*/) {}
    virtual void SetPaused(bool /*paused*/) {}
    virtual void EmptyHookArg(int /*value*/) {}
    virtual void EmptyHookB() {}
    virtual void OnFirstActivate() {}
    virtual void FinishNow() { mFinished = true; }
    virtual void EmptyHookC() {}
    virtual void EmptyHookD() {}

    // Set and cleared by the host only.
    bool mActive = false;
    int32_t mActivationCount = 0;
    // Written by the game; the host leaves its own widgets alone while it is non-zero.
    int32_t mPaused = 0;
    bool mFinished = false;
    TGameBaseListener* mListener = nullptr;  // not owned
};
