// Windows that build themselves from a layout file under "ui/": the classic screen window,
// the fly window every dialog is (it flies in, waits and flies out, telling its listener),
// and the two ready-made message boxes.
#pragma once
#include <memory>
#include <string>

#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "ui/button.h"
#include "ui/image.h"
#include "ui/slider.h"
#include "ui/edit_window.h"
#include "ui/text_image.h"
#include "ui/window.h"

class TUIBaseBox;
class TUIClassicWindow;
class TUIFlyWindow;
class TUIInfoHolder;
class TFlyWindow;

class TClassicWindow : public TMyWindow, public TMyButtonListener, public TBaseSliderListener, public TMyEditListener {
public:
    // The id of every window described by an element of the global holder: the room window's.
    static constexpr int kElementWindowId = 4;

    TClassicWindow(const std::string& layoutFile, bool loadNow);
    // A window described by an element of the global holder; it creates no children.
    explicit TClassicWindow(const std::string& elementName);
    ~TClassicWindow() override;

    int GetKind() const override { return kKindScreen; }
    bool Update(float dt) override;
    void DrawSelf() override;
    void OnShown() override;
    void OnHidden() override;
    void PlaceAt(int x, int y) override;

    virtual void LoadLayout(const std::string& layoutFile);
    virtual TMyWindow* CreateControl(TUIBaseBox* d);
    virtual TUIInfoHolder* CreateInfoHolder();
    virtual void ApplyInfo(TUIClassicWindow* element);
    virtual void SetButtonsListener(TMyButtonListener* listener);
    virtual void Close(int code);

    int GetListenerKind() override { return GetKind(); }

    TUIInfoHolder* Holder() const { return mHolder.get(); }

    IncValue mAlphaFade;
    TUIClassicWindow* mElement = nullptr;  // owned by the holder that read it
    float mTimeShown = 0.0f;
    StaticImage mBackground;
    int mResultCode = -1;

protected:
    // The window's size from its element, the screen layout and the background image, and
    // its top-left corner from the element's centre.
    void ApplySizeRule();
    void FollowAlphaFade() { mAlpha = mAlphaFade.mCurrent; }

    std::unique_ptr<TUIInfoHolder> mHolder;
};

class TFlyWindowListener {
public:
    virtual ~TFlyWindowListener() = default;
    virtual void OnFlyInStarted(TFlyWindow* /*window*/, int /*id*/) {}
    virtual void OnFlyShown(TFlyWindow* /*window*/, int /*id*/) {}
    virtual void OnFlyClosed(TFlyWindow* /*window*/, int /*id*/, int /*result*/) {}
    virtual void OnFlyButton(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
    virtual void OnFlyClosing(TFlyWindow* /*window*/, int /*id*/) {}
    virtual void OnFlyWindowShown(TFlyWindow* /*window*/, int /*id*/) {}
    virtual void OnFlyWindowHidden(TFlyWindow* /*window*/, int /*id*/) {}
};

class TFlyWindow : public TClassicWindow {
public:
    enum { kStarting = 0, kFlyingIn = 1, kShown = 2, kFlyingOut = 3, kClosed = 4 };

    TFlyWindow(TFlyWindowListener* listener, bool loadNow, const std::string& layoutFile);

    int GetKind() const override { return kKindFlyWindow; }
    bool Update(float dt) override;
    void OnShown() override;
    void OnHidden() override;
    bool AcceptsMouse() const override;
    void LoadLayout(const std::string& layoutFile) override { LoadLayout(layoutFile, true); }
    // Sets up the flight; runs the classic load first only when asked.
    virtual void LoadLayout(const std::string& layoutFile, bool alsoClassic);
    void Close(int code) override;

    // Hooks for dialogs, each told just before the listener operation of the same name.
    virtual void OnFlyShown(TFlyWindow* /*window*/, int /*id*/) {}
    virtual void OnFlyClosed(TFlyWindow* /*window*/, int /*id*/, int /*result*/) {}
    virtual void OnFlyButton(int /*parentId*/, TMyWindow* /*parent*/, int /*buttonId*/, TMyButton* /*button*/) {}
    virtual void OnFlyInStarted(TFlyWindow* /*window*/, int /*id*/) {}
    virtual void OnFlyClosing(TFlyWindow* /*window*/, int /*id*/) {}

    int GetListenerKind() override { return kKindFlyWindow; }
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;

    void FlyOut();
    int GetState() const { return mState; }

    TFlyWindowListener* mFlyListener = nullptr;
    IncValue mFlightX;
    IncValue mFlightY;
    TUIFlyWindow* mFlyElement = nullptr;
    int mState = kShown;
    std::string mFlyInSound = "flywindow";
    std::string mFlyOutSound = "flywindow";

protected:
    // Flies the x flight, and the y flight once x has arrived; true when both have.
    bool AdvanceFlights(float dt);
    void FollowFlights();
};

// A caption, a message and buttons; the button that closes the box is its result.
class TMessageBoxWindow : public TFlyWindow {
public:
    TMessageBoxWindow(TFlyWindowListener* listener, const std::string& layoutFile, const std::string& captionKey,
                      const std::string& messageKey, int id);
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;

    TSimpleTextImage* mCaption = nullptr;
    TSimpleTextImage* mMessage = nullptr;
};

class TMessageBoxOkWindow : public TMessageBoxWindow {
public:
    TMessageBoxOkWindow(TFlyWindowListener* listener, const std::string& captionKey, const std::string& messageKey,
                        int id)
        : TMessageBoxWindow(listener, "ui/mbok.xml", captionKey, messageKey, id)
    {
    }
};

class TMessageBoxOkCancelWindow : public TMessageBoxWindow {
public:
    TMessageBoxOkCancelWindow(TFlyWindowListener* listener, const std::string& captionKey,
                              const std::string& messageKey, int id)
        : TMessageBoxWindow(listener, "ui/mbokcancel.xml", captionKey, messageKey, id)
    {
    }
};
