// The widget tree: every screen, dialog and element of the interface is a TMyWindow, a node
// with a rectangle relative to its parent, owned children, alpha and the flags the window
// manager reads. Widgets draw themselves and their children, and react to the mouse and
// key events the manager hands them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ui/mouse_event.h"

class TMyWindow;

// Key press or release as the window manager passes it down.
struct TKeyEvent {
    int32_t mKey = 0;  // SDL keycode
    int32_t mModifiers = 0;
};

struct TWindowRect {
    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mW = 0;
    int32_t mH = 0;
};

// What GetKind answers; dialogs pick their buttons by it.
enum TWindowKind {
    kKindWidget = 0,
    kKindButton = 1,
    kKindScreen = 2,
    kKindText = 4,
    kKindFlyWindow = 6,
    kKindImage = 7,
};

class TMyWindowListener {
public:
    virtual ~TMyWindowListener() = default;
    virtual void OnWindowMouseEnter(TMyWindow*) {}
    virtual void OnWindowMouseLeave(TMyWindow*) {}
    virtual void OnWindowMouseDown(TMyWindow*, const TMouseEvent&) {}
    virtual void OnWindowMouseUp(TMyWindow*, const TMouseEvent&) {}
    virtual void OnWindowMouseMove(TMyWindow*, const TMouseEvent&) {}
    // May veto a hit; with a listener it alone decides whether its widget can be hit.
    virtual bool HitTestWindow(TMyWindow*, int /*x*/, int /*y*/) { return true; }
    virtual void OnWindowAdded(TMyWindow*) {}
    virtual void OnWindowRemoved(TMyWindow*) {}
};

class TMyWindowContainer {
public:
    TMyWindowContainer() = default;
    // A copy starts without children: sharing them would delete them twice.
    TMyWindowContainer(const TMyWindowContainer& other);
    TMyWindowContainer& operator=(const TMyWindowContainer&) = delete;

    virtual int GetKind() const { return kKindWidget; }
    virtual ~TMyWindowContainer() = default;
    virtual bool FalseHook(int32_t) { return false; }
    // Updates the children (their answers are ignored); answers the closed flag.
    virtual bool Update(float dt);
    virtual void ShowChild(const std::string& name, bool show);
    virtual void SetAlpha(float alpha) { mAlpha = alpha; }
    // The product of the ancestors' alphas, without the widget's own.
    virtual float GetInheritedAlpha() const;
    virtual bool IsDelayOver() const { return mShowDelay == 0.0f; }
    virtual bool UpdateDelay(float dt);
    virtual void ReloadTextures();
    virtual void ReleaseTextures();

    TMyWindow* FindChild(const std::string& name) const;
    TMyWindow* FindChildById(int32_t id) const;
    bool HasDescendant(const TMyWindow* widget) const;
    void GetAbsolutePosition(int32_t* x, int32_t* y) const;
    void SetChildrenDisabled(bool disabled);
    void RemoveAllChildren(bool destroy, bool recurse);

    std::string mName;
    int32_t mId = -1;
    int32_t mX = 0;  // relative to the parent; design pixels for the manager's windows
    int32_t mY = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    int32_t mDrawOffsetX = 0;  // the parent's position while the parent draws this widget
    int32_t mDrawOffsetY = 0;
    TMyWindow* mParent = nullptr;
    // Owned by a TMyWindow; drawn in this order, hit from the last.
    std::vector<TMyWindow*> mChildren;
    bool mVisible = true;
    bool mDisabled = false;
    bool mAutoDelete = false;
    bool mClosed = false;
    float mShowDelay = 0.0f;
    float mAlpha = 1.0f;
    bool mDrawn = true;
    bool mHover = false;
};

class TMyWindow : public TMyWindowContainer {
public:
    TMyWindow() = default;
    TMyWindow(const TMyWindow& other) = default;
    ~TMyWindow() override;

    virtual void SetListener(TMyWindowListener* listener) { mListener = listener; }
    virtual void Draw();
    virtual void DrawSelf() {}
    virtual void DrawOver() {}
    virtual void OnMouseDown(const TMouseEvent& event);
    virtual void OnMouseMove(const TMouseEvent& event);
    virtual void OnMouseUp(const TMouseEvent& event);
    virtual void OnMouseDrag(const TMouseEvent&) {}
    virtual void OnMouseWheel(const TMouseEvent&) {}
    virtual void OnDoubleClick(const TMouseEvent&) {}
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual void EmptyHook() {}
    virtual void SetHoverCursor(bool on);
    virtual void OnShown();
    virtual void OnHidden();
    virtual void Show();
    virtual void Hide();
    virtual bool OnKeyDown(const TKeyEvent* key);
    virtual bool OnKeyUp(const TKeyEvent* key);
    virtual void OnTextInput(int32_t character);
    // (x, y) in the parent's coordinates; the right and bottom edges are outside.
    virtual bool IsInside(int x, int y) const;
    // Asked possibly more than once per hit: no side effects.
    virtual bool HitTestLocal(int /*x*/, int /*y*/) const { return true; }
    virtual bool HitTest(int x, int y) const;
    virtual void SetPosition(int x, int y) { SetRect(x, y, GetWidth(), GetHeight()); }
    virtual void SetSize(int w, int h) { SetRect(GetX(), GetY(), w, h); }
    virtual int GetX() const { return mX; }
    virtual int GetY() const { return mY; }
    virtual int GetCenterX() const;
    virtual int GetCenterY() const;
    virtual int GetWidth() const { return mWidth; }
    virtual int GetHeight() const { return mHeight; }
    virtual void SetHeight(int h) { mHeight = h; }
    virtual void SetWidth(int w) { mWidth = w; }
    virtual void SetPaused(bool paused) { mPaused = paused; }
    virtual bool IsPaused() const { return mPaused; }
    virtual void MoveBy(int dx, int dy);
    virtual void PlaceAt(int x, int y) { SetRect(x, y, GetWidth(), GetHeight()); }
    virtual void SetRectFrom(const TWindowRect& rect);
    virtual void SetRect(int x, int y, int w, int h);
    virtual void RefreshText() {}
    virtual void TrackChildHover(int x, int y);
    virtual void BringToFront();
    virtual bool AcceptsMouse() const { return mMouseAllowed && mVisible && mAlpha > 0.0f; }
    // The top-left corner for the anchor point under the alignments.
    virtual void Align(int x, int y, int* left, int* top) const;

    // The deepest widget under (x, y), given in the parent's coordinates, and the point in
    // that widget's own coordinates; null when nothing is hit.
    TMyWindow* FindWidgetAt(int x, int y, int* localX, int* localY);
    // Appends the child and makes this its parent; the child is owned from then on.
    void AddChild(TMyWindow* child);

    bool mHandCursor = false;
    bool mPaused = false;
    bool mMouseAllowed = true;
    TMyWindowListener* mListener = nullptr;
    int32_t mPassToParent = 0;  // 1 moves, 2 presses, 4 releases
    std::string mEnterSound;
    std::string mLeaveSound;
    std::string mPressSound;
    int32_t mVAlign = -1;  // 0 centred on the anchor, 1 anchored at the bottom or right
    int32_t mHAlign = -1;
};
