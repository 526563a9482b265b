// The one tutorial hint of the game: a fly window showing a "tutorial" tip of
// "ui/interface.xml" over any screen, letting every click through to the screen beneath and
// remembering in the player's profile that the tip was shown. Also the darkening shadow that
// screens fade in behind their dialogs.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "ui/classic_window.h"

class TUITutorial;
struct TUITutorialArrow;

class TMyTutorialWindowListener {
public:
    // A listener that goes while the hint still names it (a board deleted while it is the
    // active screen) is taken off, so closing the hint later never calls it.
    virtual ~TMyTutorialWindowListener();
    virtual void OnTutorialClosed(const std::string& /*name*/) {}
};

// The player's remembered pairs, as the hint reads and writes them. The profile lives on a
// higher floor: the host plugs it in at start-up and clears it at shutdown.
class TTutorialProfile {
public:
    virtual ~TTutorialProfile() = default;
    virtual bool HasPair(const std::string& key, const std::string& value) const = 0;
    virtual void AddPair(const std::string& key, const std::string& value) = 0;
};
void SetTutorialProfile(TTutorialProfile* profile);

struct TTutorialArrow {
    explicit TTutorialArrow(const TUITutorialArrow& d);
    void Update(float dt);
    void Draw(float alphaFactor);

    int mX = 0;
    int mY = 0;
    int mPivotX = -1;
    int mPivotY = -1;
    int mAngle = 0;
    float mScale = 1.0f;
    float mScaleMin = 1.0f;
    float mScaleMax = 1.0f;
    float mScaleTime = 0.0f;
    float mAlphaMin = 1.0f;
    float mAlphaMax = 1.0f;
    float mAlphaTime = 0.0f;
    PulseValue mAlphaPulse;
    PulseValue mScalePulse;
    StaticImage mImage;
    std::string mImageName;
};

class TMyTutorialWindow : public TFlyWindow, public TFlyWindowListener, public TMyWindowListener {
public:
    static constexpr int kTutorialId = 26;

    TMyTutorialWindow();
    ~TMyTutorialWindow() override;

    int GetKind() const override { return kKindFlyWindow; }
    void ApplyTutorial(const TUITutorial* d);
    void SetVisible(bool visible, bool force);
    void Reset();
    void Close(int code) override;
    void OnShown() override;
    void OnHidden() override;
    bool Update(float dt) override;
    void Draw() override;
    void DrawSelf() override;
    bool IsInside(int x, int y) const override;
    bool AcceptsMouse() const override;
    bool OnKeyUp(const TKeyEvent* key) override;
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;

    void OnMouseDown(const TMouseEvent& event) override;
    void OnMouseMove(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;

    void OnWindowMouseDown(TMyWindow* window, const TMouseEvent& event) override;
    void OnWindowMouseMove(TMyWindow* window, const TMouseEvent& event) override;
    void OnWindowMouseUp(TMyWindow* window, const TMouseEvent& event) override;

    // The window that takes the clicks through, looked up by its id at each event: the
    // manager deletes replaced screens, so no pointer to it is kept.
    TMyWindow* FindOwner() const;

    TMyTutorialWindowListener* mTutorialListener = nullptr;
    std::vector<std::unique_ptr<TTutorialArrow>> mArrows;
    TSimpleTextImage* mText1 = nullptr;
    TSimpleTextImage* mText2 = nullptr;
    bool mHasOwner = false;
    int mOwnerId = 0;
    bool mClosing = false;
    bool mFinalize = false;
    bool mHideFast = false;
    bool mPlainScale = false;
    std::string mTutorialName;
    bool mRemember = true;
    TMyButton* mSkipButton = nullptr;

private:
    void MoveFlightTo(int x, int y);
    void TellClosed();
    // The pointer in design pixels, as the cursor set last saw it.
    void PointerPosition(int* x, int* y) const;
    bool OnOwnRectangle(int x, int y) const;
    TMouseEvent EventAt(const TMouseEvent& event, int x, int y) const;
};

TMyTutorialWindow* GetTutorialWindow();
void SetTutorialListener(TMyTutorialWindowListener* listener);
void ShowTutorial(const std::string& name, bool remember, int ownerId, const std::string& sound);
// Deletes the hint when nobody else did (the window manager deletes it while it is listed).
void DestroyTutorialWindow();

class TShadow {
public:
    enum { kFadingIn = 0, kFadingOut = 1, kFinished = 2 };

    TShadow();
    virtual ~TShadow() = default;
    virtual bool Update(float dt);
    virtual void Draw();
    void FadeIn();
    void FadeOut();

    bool mStay = false;
    StaticImage mImage;
    int mState = kFadingIn;
    bool mDone = false;
    float mCurrentAlpha = 0.0f;
    float mTargetAlpha = 1.0f;
    float mFadeTime = 1.0f;
    IncValue mFade;
};
