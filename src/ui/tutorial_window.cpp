#include "ui/tutorial_window.h"

#include <cmath>

#include "core/app_state.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "graphics/render_origin.h"
#include "ui/cursors.h"
#include "ui/ui_info_holder.h"
#include "ui/ui_screen_elements.h"
#include "ui/window_manager.h"

namespace {
TMyTutorialWindow* gTutorial = nullptr;
TTutorialProfile* gProfile = nullptr;
const char kShownKey[] = "IHelpShown";
}  // namespace

void SetTutorialProfile(TTutorialProfile* profile) { gProfile = profile; }

TTutorialArrow::TTutorialArrow(const TUITutorialArrow& d)
    : mX(d.mX),
      mY(d.mY),
      mPivotX(d.mCenterX),
      mPivotY(d.mCenterY),
      mAngle(d.mAngle),
      mScale(d.mScale),
      mScaleTime(d.mScaleTime),
      mAlphaTime(d.mAlphaTime),
      mImageName(d.mImage)
{
    if (d.mScaleMin == -1.0f || d.mScaleMax == -1.0f) {
        mScaleMin = mScaleMax = mScale;
    } else {
        mScaleMin = d.mScaleMin;
        mScaleMax = d.mScaleMax;
    }
    if (d.mAlphaMin == -1.0f || d.mAlphaMax == -1.0f) {
        mAlphaMin = mAlphaMax = 1.0f;
    } else {
        mAlphaMin = d.mAlphaMin;
        mAlphaMax = d.mAlphaMax;
    }
    mImage.SetTexture(mImageName);
    mImage.SetPosition(static_cast<float>(mX), static_cast<float>(mY), false);
    if (mPivotX != -1 && mPivotY != -1) {
        mImage.mOwnCentre = true;
        mImage.mTransform.mCentreX = static_cast<float>(mPivotX);
        mImage.mTransform.mCentreY = static_cast<float>(mPivotY);
        mImage.mTransform.mFlags |= kDrawCentre;
    }
    mImage.SetScale(mScale);
    mImage.SetAngle(static_cast<float>(mAngle) * kPi / 180.0f);
    // Minimum, middle, maximum, middle, minimum, endlessly.
    mAlphaPulse.Start(mAlphaMin, (mAlphaMin + mAlphaMax) / 2, mAlphaMax, mAlphaTime);
    mAlphaPulse.mCycleLimit = -1;
    mScalePulse.Start(mScaleMin, (mScaleMin + mScaleMax) / 2, mScaleMax, mScaleTime);
    mScalePulse.mCycleLimit = -1;
}

void TTutorialArrow::Update(float dt)
{
    mAlphaPulse.Update(dt);
    mScalePulse.Update(dt);
}

void TTutorialArrow::Draw(float alphaFactor)
{
    mImage.mAlpha = mAlphaPulse.GetValue();
    mImage.SetScale(mScalePulse.GetValue());
    mImage.Draw(alphaFactor);
}

TMyTutorialWindow::TMyTutorialWindow() : TFlyWindow(nullptr, true, "ui/tutorial.xml")
{
    mId = kTutorialId;
    mAutoDelete = false;
    mText1 = dynamic_cast<TSimpleTextImage*>(FindChild("tutorialtext1"));
    mText2 = dynamic_cast<TSimpleTextImage*>(FindChild("tutorialtext2"));
    mSkipButton = dynamic_cast<TMyButton*>(FindChild("skiptutorial"));
}

TMyTutorialWindow::~TMyTutorialWindow()
{
    if (gTutorial == this) gTutorial = nullptr;
}

void TMyTutorialWindow::MoveFlightTo(int x, int y)
{
    TUIFlyWindow* e = mFlyElement;
    if (!e) return;
    const long long dx = static_cast<long long>(x) - e->mX, dy = static_cast<long long>(y) - e->mY;
    e->mX = x;
    e->mY = y;
    e->mStopX = x;
    e->mStopY = y;
    e->mStartX = ClampToInt(e->mStartX + dx);
    e->mEndX = ClampToInt(e->mEndX + dx);
    e->mStartY = ClampToInt(e->mStartY + dy);
    e->mEndY = ClampToInt(e->mEndY + dy);
    const float half = std::fabs(e->mTime * 0.5f);
    mFlightX.Set(static_cast<float>(e->mStartX), static_cast<float>(x), half, true);
    mFlightY.Set(static_cast<float>(e->mStartY), static_cast<float>(y), half, true);
    mBackground.SetPosition(static_cast<float>(e->mStartX), static_cast<float>(e->mStartY), true);
}

void TMyTutorialWindow::ApplyTutorial(const TUITutorial* d)
{
    mArrows.clear();
    if (d) {
        MoveFlightTo(d->mX, d->mY);
        mTutorialName = d->mStateStr;
        if (mText1) mText1->SetTextKey(d->mText1);
        if (mText2) mText2->SetTextKey(d->mText2);
        for (const TUITutorialArrow& arrow : d->mArrows) mArrows.emplace_back(new TTutorialArrow(arrow));
        mFinalize = d->mFinalize;
        mHideFast = d->mHideFast;
        mPlainScale = d->mPlainScale;
    }
    if (mSkipButton) {
        mSkipButton->mVisible = d && d->mShowSkipButton;
        if (!mSkipButton->mVisible) mSkipButton->mHover = false;
    }
    if (mText2) {
        mText2->mVisible = d && d->mClickToContinue;
        if (!mText2->mVisible) mText2->mHover = false;
    }
    if (mText1) mText1->SetListener(this);
    if (mText2) mText2->SetListener(this);
}

void TMyTutorialWindow::SetVisible(bool visible, bool force)
{
    if (force || mVisible != visible) mVisible = visible;
}

void TMyTutorialWindow::TellClosed()
{
    if (mTutorialListener) mTutorialListener->OnTutorialClosed(mTutorialName);
}

void TMyTutorialWindow::Reset()
{
    TellClosed();
    mAlphaFade.SetValue(0.0f);
    FollowAlphaFade();
}

void TMyTutorialWindow::Close(int code)
{
    TellClosed();
    mResultCode = code;
    FlyOut();
    mClosing = true;
}

void TMyTutorialWindow::OnShown()
{
    TFlyWindow::OnShown();
    mClosing = false;
}

void TMyTutorialWindow::OnHidden()
{
    TFlyWindow::OnHidden();
    TellClosed();
    mClosing = true;
}

bool TMyTutorialWindow::Update(float dt)
{
    for (auto& arrow : mArrows) arrow->Update(dt);
    // The hint covers everything: nothing beneath keeps the manager's hover.
    if (mVisible)
        if (TMyWindowManager* manager = GetAppState().mWindowManager.get()) manager->ClearHovered();
    const bool closed = TFlyWindow::Update(dt);
    return closed || mClosing;
}

void TMyTutorialWindow::Draw()
{
    if (!mPlainScale) {
        TFlyWindow::Draw();
        return;
    }
    ResetRenderOrigin();
    TFlyWindow::Draw();
    ResetRenderOrigin();
}

void TMyTutorialWindow::DrawSelf()
{
    for (auto& arrow : mArrows) arrow->Draw(mAlphaFade.mCurrent);
    mBackground.Draw(mAlphaFade.mCurrent);
}

bool TMyTutorialWindow::IsInside(int, int) const { return true; }

// Every click must reach the hint whatever its fly state: after a Close it stays flying out.
bool TMyTutorialWindow::AcceptsMouse() const { return TMyWindow::AcceptsMouse(); }

bool TMyTutorialWindow::OnKeyUp(const TKeyEvent*) { return false; }

void TMyTutorialWindow::OnButtonClick(int, TMyWindow*, int, TMyButton* button)
{
    if (button && button == mSkipButton) Close(0);
}

TMyWindow* TMyTutorialWindow::FindOwner() const
{
    if (!mHasOwner) return nullptr;
    TMyWindowManager* manager = GetAppState().mWindowManager.get();
    return manager ? manager->FindListedWindow(mOwnerId) : nullptr;
}

void TMyTutorialWindow::PointerPosition(int* x, int* y) const
{
    const TGameCursors* cursors = GetGameCursors();
    *x = cursors->MouseX();
    *y = cursors->MouseY();
}

bool TMyTutorialWindow::OnOwnRectangle(int x, int y) const
{
    const int64_t x0 = GetX(), y0 = GetY();
    return x >= x0 && x < x0 + GetWidth() && y >= y0 && y < y0 + GetHeight();
}

TMouseEvent TMyTutorialWindow::EventAt(const TMouseEvent& event, int x, int y) const
{
    TMouseEvent record = event;
    record.mX = x;
    record.mY = y;
    return record;
}

void TMyTutorialWindow::OnMouseDown(const TMouseEvent& event)
{
    int px = 0, py = 0;
    PointerPosition(&px, &py);
    TMyWindow::OnMouseDown(event);
    const int wx = px - GetX(), wy = py - GetY();
    if (mSkipButton && mSkipButton->HitTest(wx, wy))
        mSkipButton->OnMouseDown(EventAt(event, wx - mSkipButton->GetX(), wy - mSkipButton->GetY()));
    if (TMyWindow* owner = FindOwner()) {
        int lx = 0, ly = 0;
        if (TMyWindow* widget = owner->FindWidgetAt(px, py, &lx, &ly)) widget->OnMouseDown(EventAt(event, lx, ly));
    }
}

void TMyTutorialWindow::OnMouseMove(const TMouseEvent& event)
{
    int px = 0, py = 0;
    PointerPosition(&px, &py);
    if (mListener) mListener->OnWindowMouseMove(this, event);
    if ((mPassToParent & 1) && mParent) mParent->OnMouseMove(event);
    const int wx = px - GetX(), wy = py - GetY();
    const bool onSkip = mSkipButton && mSkipButton->HitTest(wx, wy);
    if (mSkipButton) {
        if (onSkip)
            mSkipButton->OnMouseMove(EventAt(event, wx - mSkipButton->GetX(), wy - mSkipButton->GetY()));
        else
            mSkipButton->OnMouseLeave();
    }
    const bool inside = OnOwnRectangle(px, py);
    TMyWindow* owner = FindOwner();
    if (inside) {
        GetGameCursors()->SelectDefault();
    } else if (owner) {
        owner->OnMouseMove(EventAt(event, px, py));
        owner = FindOwner();
    }
    if (owner) {
        int lx = 0, ly = 0;
        TMyWindow* widget = owner->FindWidgetAt(px, py, &lx, &ly);
        // Outside the hint the owner has just had this move: once is enough.
        if (widget && !(widget == owner && !inside)) widget->OnMouseMove(EventAt(event, lx, ly));
    }
    if (onSkip) GetGameCursors()->Select("active");
    if ((owner = FindOwner())) owner->TrackChildHover(px, py);
}

void TMyTutorialWindow::OnMouseUp(const TMouseEvent& event)
{
    int px = 0, py = 0;
    PointerPosition(&px, &py);
    if (mListener) mListener->OnWindowMouseUp(this, event);
    if ((mPassToParent & 4) && mParent) mParent->OnMouseUp(event);
    const int wx = px - GetX(), wy = py - GetY();
    if (mSkipButton && mSkipButton->HitTest(wx, wy))
        mSkipButton->OnMouseUp(EventAt(event, wx - mSkipButton->GetX(), wy - mSkipButton->GetY()));
    TMyWindow* owner = FindOwner();
    if (owner) owner->OnMouseUp(EventAt(event, px, py));
    if (mRemember && gProfile) gProfile->AddPair(kShownKey, mTutorialName);
    if (mFinalize)
        Close(0);
    else if (mHideFast)
        Reset();
    else
        mClosing = true;
    if ((owner = FindOwner())) {
        int lx = 0, ly = 0;
        TMyWindow* widget = owner->FindWidgetAt(px, py, &lx, &ly);
        // The owner itself has had this release already.
        if (widget && widget != owner) widget->OnMouseUp(EventAt(event, lx, ly));
    }
}

void TMyTutorialWindow::OnWindowMouseDown(TMyWindow*, const TMouseEvent& event)
{
    int px = 0, py = 0;
    PointerPosition(&px, &py);
    OnMouseDown(EventAt(event, px - GetX(), py - GetY()));
}

void TMyTutorialWindow::OnWindowMouseMove(TMyWindow*, const TMouseEvent& event)
{
    int px = 0, py = 0;
    PointerPosition(&px, &py);
    OnMouseMove(EventAt(event, px - GetX(), py - GetY()));
}

void TMyTutorialWindow::OnWindowMouseUp(TMyWindow*, const TMouseEvent& event)
{
    int px = 0, py = 0;
    PointerPosition(&px, &py);
    OnMouseUp(EventAt(event, px - GetX(), py - GetY()));
}

TMyTutorialWindow* GetTutorialWindow()
{
    if (!gTutorial) {
        gTutorial = new TMyTutorialWindow();
        gTutorial->Reset();
    }
    return gTutorial;
}

void SetTutorialListener(TMyTutorialWindowListener* listener) { GetTutorialWindow()->mTutorialListener = listener; }

TMyTutorialWindowListener::~TMyTutorialWindowListener()
{
    // Never makes the hint: at shutdown it is gone before the board.
    if (gTutorial && gTutorial->mTutorialListener == this) gTutorial->mTutorialListener = nullptr;
}

void ShowTutorial(const std::string& name, bool remember, int ownerId, const std::string& sound)
{
    TMyTutorialWindow* window = GetTutorialWindow();
    if (window->mVisible && window->mAlpha != 0.0f) return;
    if (gProfile && gProfile->HasPair(kShownKey, name)) return;
    GetLogger()->LogMessage("show tutorial %s", name.c_str());
    PlaySoundIfNamed(sound);
    window->ApplyTutorial(dynamic_cast<const TUITutorial*>(GetInterfaceHolder()->Find(name)));
    TMyWindowManager* manager = GetWindowManager();
    manager->AddWindow(window, 0.0f);
    window->mRemember = remember;
    manager->BringTopWindowToFront(window);
    // Without a window holding the id now, the hint has no owner at all, even if one comes.
    const int id = ownerId == -1 ? 4 : ownerId;
    window->mOwnerId = id;
    window->mHasOwner = manager->FindListedWindow(id) != nullptr;
}

void DestroyTutorialWindow() { delete gTutorial; }

TShadow::TShadow()
{
    mImage.SetTexture("textures/gui/sh1");
    mFade.mFinishAtOnce = true;
    mFade.SetValue(0.0f);
}

void TShadow::FadeIn() { mFade.Set(0.0f, mTargetAlpha, std::fabs(mFadeTime), true); }

void TShadow::FadeOut()
{
    mState = kFadingOut;
    mFade.Set(mCurrentAlpha, 0.0f, std::fabs(mFadeTime), true);
}

bool TShadow::Update(float dt)
{
    if (mState == kFadingIn && mCurrentAlpha >= mTargetAlpha) {
        mCurrentAlpha = mTargetAlpha;
        if (mStay)
            mState = kFinished;
        else
            FadeOut();
        return false;
    }
    if (mState == kFadingOut && mCurrentAlpha <= 0.0f) {
        mState = kFinished;
        mDone = true;
        mCurrentAlpha = 0.0f;
        return true;
    }
    mFade.Update(dt);
    mCurrentAlpha = mFade.mCurrent;
    return false;
}

void TShadow::Draw() { mImage.Draw(mCurrentAlpha); }
