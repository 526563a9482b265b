// Push buttons made from "button" descriptions, and the listener that hears their clicks.
// Only what windows need to build dialogs from layouts: the image, the click and the looks'
// normal rectangle.
#pragma once
#include "graphics/static_image.h"
#include "ui/window.h"

class TMyButton;
class TUIMyButton;

class TMyButtonListener {
public:
    virtual ~TMyButtonListener() = default;
    virtual int GetListenerKind() { return 0; }
    virtual void OnButtonClicking(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/,
                                  bool* /*allow*/)
    {
    }
    virtual void OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
    virtual void OnDisabledButtonClick(int, TMyWindow*, int, TMyButton*) {}
    virtual bool OnDisabledButtonHover(int, TMyWindow*, int, TMyButton*) { return true; }
    virtual void OnButtonPressed(int, TMyWindow*, int, TMyButton*) {}
    virtual void OnButtonEnter(int, TMyWindow*, int, TMyButton*) {}
    virtual void OnButtonLeave(int, TMyWindow*, int, TMyButton*) {}
    virtual void OnButtonMoveFinished(TMyButton*) {}
    virtual void OnButtonMoveStarted(TMyButton*) {}
    virtual void OnButtonMouseUp(TMyButton*) {}
    virtual void OnButtonMouseDown(TMyButton*) {}
    virtual void OnButtonMouseMove(TMyButton*) {}
    virtual bool GetButtonState(TMyButton*, int* /*state*/) { return false; }
};

class TMyButton : public TMyWindow {
public:
    explicit TMyButton(TMyWindow* parent);
    int GetKind() const override { return kKindButton; }
    void ApplyInfo(const TUIMyButton* d);
    void DrawSelf() override;
    void OnMouseDown(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;
    void OnMouseLeave() override;

    StaticImage mImage;
    bool mPressed = false;
    int mNormalW = 0;
    int mNormalH = 0;
    TMyButtonListener* mButtonListener = nullptr;
};

TMyButton* CreateButton(const TUIMyButton* d, TMyWindow* parent);
