// The push button of every screen and dialog: one sheet holding its looks (normal, hovered,
// pressed, disabled), an optional caption or hover hint, a check-box mode, sounds, and a line
// mover that slides it to a point and back home. Everything that happens to it goes to one
// TMyButtonListener, normally the window that made it.
#pragma once
#include <memory>

#include "graphics/static_image.h"
#include "graphics/trajectories.h"
#include "ui/ui_info_holder.h"
#include "ui/window.h"

class TMyButton;
class TSimpleTextImage;
class TUIMyButton;

// Notifications that name a button pass (parent id, parent, button id, button); the parent
// id is -1 without a parent.
class TMyButtonListener {
public:
    virtual ~TMyButtonListener() = default;
    virtual int GetListenerKind() { return 0; }
    // Clearing allow cancels the click.
    virtual void OnButtonClicking(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/,
                                  bool* /*allow*/)
    {
    }
    virtual void OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
    virtual void OnDisabledButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/,
                                       TMyButton* /*button*/)
    {
    }
    // True ends the button's own move handling.
    virtual bool OnDisabledButtonHover(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/,
                                       TMyButton* /*button*/)
    {
        return true;
    }
    virtual void OnButtonPressed(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
    virtual void OnButtonEnter(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
    virtual void OnButtonLeave(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
    virtual void OnButtonMoveFinished(TMyButton* /*button*/) {}
    virtual void OnButtonMoveStarted(TMyButton* /*button*/) {}
    // These three hear every event that reaches the button, before any test.
    virtual void OnButtonMouseUp(TMyButton* /*button*/) {}
    virtual void OnButtonMouseDown(TMyButton* /*button*/) {}
    virtual void OnButtonMouseMove(TMyButton* /*button*/) {}
    // True when the listener supplied the look.
    virtual bool GetButtonState(TMyButton* /*button*/, int* /*state*/) { return false; }
};

class TMyButton : public TMyWindow {
public:
    enum { kLookNormal = 0, kLookOver = 1, kLookDown = 2, kLookDisabled = 3 };

    // Joins the parent's children (the parent then owns it).
    explicit TMyButton(TMyWindow* parent);
    ~TMyButton() override;
    int GetKind() const override { return kKindButton; }

    // Completes the description's width and height from the sheet. Null changes nothing.
    void ApplyInfo(TUIMyButton* info);

    virtual void DrawStateImage(int look, int widthOverride);
    virtual bool IsPressed() const { return mPressed && mHover && !mDisabled; }
    virtual void SetHighlighted(bool on) { mHighlighted = on; }
    virtual bool IsHighlighted() const { return mHighlighted; }
    virtual void MoveTo(int x, int y, float seconds);
    virtual void MoveHome(float seconds);
    virtual void FollowMover();
    virtual void EmptyHookArgA(int) {}
    virtual void EmptyHookArgB(int) {}
    virtual int GetDrawState();
    virtual void DrawCaption();

    bool Update(float dt) override;
    void ReleaseTextures() override;
    void DrawSelf() override;
    void OnMouseDown(const TMouseEvent& event) override;
    void OnMouseMove(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool IsInside(int x, int y) const override;
    bool HitTestLocal(int x, int y) const override;

    StaticImage mImage;
    bool mPressed = false;
    bool mHighlighted = false;
    bool mCheckBox = false;
    bool mTicked = false;
    int mHitWidth = 0;
    int mHitHeight = 0;
    TUIRect mLooks[4];  // normal, over, down, disabled
    TMyButtonListener* mButtonListener = nullptr;
    std::unique_ptr<TSimpleTextImage> mCaption;
    int mCaptionPressOffset = 2;
    int mHomeX = 0;
    int mHomeY = 0;
    bool mTextAsHint = false;
    int mHintX = 0;
    int mHintY = 0;
    int mCaptionOffX = 0;
    int mCaptionOffY = 0;
    TUIRect mTextRect;
    int mCaptionFlags = 0;
    TLineMover mMover;
    float mMinAlpha = 0.0f;
    float mScale = 1.0f;

private:
    int ParentId() const { return mParent ? mParent->mId : -1; }
};

TMyButton* CreateButton(TUIMyButton* info, TMyWindow* parent);
