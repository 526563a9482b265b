#include "ui/window.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/display.h"
#include "core/numbers.h"
#include "ui/cursors.h"
#include "ui/window_manager.h"

namespace {

// a - b kept inside the int range: positions come from layout files.
int Minus(int a, int b) { return ClampToInt(static_cast<long long>(a) - b); }

}  // namespace

TMyWindowContainer::TMyWindowContainer(const TMyWindowContainer& other)
    : mName(other.mName),
      mId(other.mId),
      mX(other.mX),
      mY(other.mY),
      mWidth(other.mWidth),
      mHeight(other.mHeight),
      mDrawOffsetX(other.mDrawOffsetX),
      mDrawOffsetY(other.mDrawOffsetY),
      mParent(other.mParent),
      mVisible(other.mVisible),
      mDisabled(other.mDisabled),
      mAutoDelete(other.mAutoDelete),
      mClosed(other.mClosed),
      mShowDelay(other.mShowDelay),
      mAlpha(other.mAlpha),
      mDrawn(other.mDrawn),
      mHover(other.mHover)
{
}

bool TMyWindowContainer::Update(float dt)
{
    // By index: a child's update may add children to this widget.
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->Update(dt);
    return mClosed;
}

void TMyWindowContainer::ShowChild(const std::string& name, bool show)
{
    TMyWindow* child = FindChild(name);
    if (!child) return;
    child->mVisible = show;
    if (!show) child->mHover = false;
}

float TMyWindowContainer::GetInheritedAlpha() const
{
    if (!mParent) return 1.0f;
    return mParent->GetInheritedAlpha() * mParent->mAlpha;
}

bool TMyWindowContainer::UpdateDelay(float dt)
{
    if (mShowDelay > 0.0f) {
        mShowDelay -= dt;
        if (mShowDelay < 0.0f) mShowDelay = 0.0f;
    }
    return IsDelayOver();
}

void TMyWindowContainer::ReloadTextures()
{
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->ReloadTextures();
}

void TMyWindowContainer::ReleaseTextures()
{
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->ReleaseTextures();
}

TMyWindow* TMyWindowContainer::FindChild(const std::string& name) const
{
    for (TMyWindow* child : mChildren)
        if (child->mName == name) return child;
    return nullptr;
}

TMyWindow* TMyWindowContainer::FindChildById(int32_t id) const
{
    for (TMyWindow* child : mChildren)
        if (child->mId == id) return child;
    return nullptr;
}

bool TMyWindowContainer::HasDescendant(const TMyWindow* widget) const
{
    for (TMyWindow* child : mChildren)
        if (child == widget || child->HasDescendant(widget)) return true;
    return false;
}

void TMyWindowContainer::GetAbsolutePosition(int32_t* x, int32_t* y) const
{
    int64_t ax = mX, ay = mY;
    for (const TMyWindowContainer* p = mParent; p; p = p->mParent) {
        ax += p->mX;
        ay += p->mY;
    }
    *x = ClampToInt(ax);
    *y = ClampToInt(ay);
}

void TMyWindowContainer::SetChildrenDisabled(bool disabled)
{
    for (TMyWindow* child : mChildren) {
        child->mDisabled = disabled;
        child->SetChildrenDisabled(disabled);
    }
}

void TMyWindowContainer::RemoveAllChildren(bool destroy, bool recurse)
{
    while (!mChildren.empty()) {
        TMyWindow* child = mChildren.front();
        child->mParent = nullptr;
        mChildren.erase(mChildren.begin());
        if (recurse) child->RemoveAllChildren(destroy, recurse);
        if (destroy) delete child;
    }
}

TMyWindow::~TMyWindow()
{
    // Each child leaves the list before it goes, so nothing walks a freed entry.
    while (!mChildren.empty()) {
        TMyWindow* child = mChildren.front();
        mChildren.erase(mChildren.begin());
        child->mParent = nullptr;
        delete child;
    }
    if (mHover) SetHoverCursor(false);
    // The manager may still hover, capture or wait on this widget.
    if (TMyWindowManager* manager = GetAppState().mWindowManager.get()) manager->ForgetWidget(this);
}

void TMyWindow::AddChild(TMyWindow* child)
{
    child->mParent = this;
    mChildren.push_back(child);
}

void TMyWindow::Draw()
{
    if (!mVisible) return;
    DrawSelf();
    for (size_t i = 0; i < mChildren.size(); ++i) {
        TMyWindow* child = mChildren[i];
        if (!child->mDrawn) continue;
        child->mDrawOffsetX = mX;
        child->mDrawOffsetY = mY;
        child->Draw();
        child->mDrawOffsetX = 0;
        child->mDrawOffsetY = 0;
    }
    DrawOver();
}

void TMyWindow::OnMouseDown(const TMouseEvent& event)
{
    if (mListener) mListener->OnWindowMouseDown(this, event);
    PlaySoundIfNamed(mPressSound);
    if ((mPassToParent & 2) && mParent) mParent->OnMouseDown(event);
}

void TMyWindow::OnMouseMove(const TMouseEvent& event)
{
    if (mListener) mListener->OnWindowMouseMove(this, event);
    if ((mPassToParent & 1) && mParent) mParent->OnMouseMove(event);
}

void TMyWindow::OnMouseUp(const TMouseEvent& event)
{
    if (mListener) mListener->OnWindowMouseUp(this, event);
    if ((mPassToParent & 4) && mParent) mParent->OnMouseUp(event);
}

void TMyWindow::OnMouseEnter()
{
    if (!mDisabled) PlaySoundIfNamed(mEnterSound);
    mHover = true;
    if (mListener) mListener->OnWindowMouseEnter(this);
}

void TMyWindow::OnMouseLeave()
{
    if (!mDisabled) PlaySoundIfNamed(mLeaveSound);
    mHover = false;
    if (mListener) mListener->OnWindowMouseLeave(this);
}

void TMyWindow::SetHoverCursor(bool on)
{
    TGameCursors* cursors = GetGameCursors();
    if (on)
        cursors->Select("hand");
    else
        cursors->SelectDefault();
}

void TMyWindow::OnShown()
{
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->OnShown();
}

void TMyWindow::OnHidden()
{
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->OnHidden();
}

void TMyWindow::Show()
{
    mVisible = true;
    OnShown();
}

void TMyWindow::Hide()
{
    mVisible = false;
    mHover = false;
    OnHidden();
}

bool TMyWindow::OnKeyDown(const TKeyEvent* key)
{
    for (size_t i = 0; i < mChildren.size(); ++i)
        if (mChildren[i]->OnKeyDown(key)) return true;
    return false;
}

bool TMyWindow::OnKeyUp(const TKeyEvent* key)
{
    for (size_t i = 0; i < mChildren.size(); ++i)
        if (mChildren[i]->OnKeyUp(key)) return true;
    return false;
}

void TMyWindow::OnTextInput(int32_t character)
{
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->OnTextInput(character);
}

bool TMyWindow::IsInside(int x, int y) const
{
    const int64_t x0 = GetX(), y0 = GetY();
    return x >= x0 && x < x0 + GetWidth() && y >= y0 && y < y0 + GetHeight();
}

bool TMyWindow::HitTest(int x, int y) const
{
    return IsInside(x, y) && HitTestLocal(Minus(x, GetX()), Minus(y, GetY()));
}

// Positions come from layout files: sums are taken wide and kept inside the int range.
int TMyWindow::GetCenterX() const { return ClampToInt(static_cast<long long>(mX) + mWidth / 2); }

int TMyWindow::GetCenterY() const { return ClampToInt(static_cast<long long>(mY) + mHeight / 2); }

void TMyWindow::MoveBy(int dx, int dy)
{
    mX = ClampToInt(static_cast<long long>(mX) + dx);
    mY = ClampToInt(static_cast<long long>(mY) + dy);
}

void TMyWindow::SetRectFrom(const TWindowRect& rect) { SetRect(rect.mX, rect.mY, rect.mW, rect.mH); }

void TMyWindow::SetRect(int x, int y, int w, int h)
{
    mWidth = w;
    mHeight = h;
    Align(x, y, &mX, &mY);
}

void TMyWindow::TrackChildHover(int x, int y)
{
    for (size_t i = 0; i < mChildren.size(); ++i) {
        TMyWindow* child = mChildren[i];
        if (!child->mHover || child->HitTest(Minus(x, GetX()), Minus(y, GetY()))) continue;
        child->mHover = false;
        child->OnMouseLeave();
        if (child->mHandCursor) child->SetHoverCursor(false);
    }
}

void TMyWindow::BringToFront()
{
    if (!mParent) return;
    std::vector<TMyWindow*>& list = mParent->mChildren;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.push_back(this);
}

void TMyWindow::Align(int x, int y, int* left, int* top) const
{
    const long long w = GetWidth(), h = GetHeight();
    *left = ClampToInt(mHAlign == 0 ? x - w / 2 : mHAlign == 1 ? x - w : x);
    *top = ClampToInt(mVAlign == 0 ? y - h / 2 : mVAlign == 1 ? y - h : y);
}

TMyWindow* TMyWindow::FindWidgetAt(int x, int y, int* localX, int* localY)
{
    const int lx = Minus(x, GetX()), ly = Minus(y, GetY());
    for (size_t i = mChildren.size(); i-- > 0;) {
        TMyWindow* child = mChildren[i];
        if (!child->mVisible || !child->AcceptsMouse() || child->mAlpha == 0.0f) continue;
        if (TMyWindow* found = child->FindWidgetAt(lx, ly, localX, localY)) return found;
        const int cx = Minus(lx, child->GetX()), cy = Minus(ly, child->GetY());
        if (child->HitTest(lx, ly) && (!child->mListener || child->mListener->HitTestWindow(child, lx, ly)) &&
            child->HitTestLocal(cx, cy)) {
            *localX = cx;
            *localY = cy;
            return child;
        }
    }
    const bool allowed = mListener ? mListener->HitTestWindow(this, lx, ly) : mVisible && mAlpha > 0.0f;
    if (allowed && HitTest(x, y)) {
        *localX = lx;
        *localY = ly;
        return this;
    }
    return nullptr;
}
