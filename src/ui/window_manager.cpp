#include "ui/window_manager.h"

#include <algorithm>
#include <cmath>

#include "core/app_state.h"
#include "core/input.h"
#include "core/logger.h"
#include "core/messages.h"
#include "core/numbers.h"

// A pointer to a widget that stays valid across calls into widgets: the widget's destructor
// clears it (ForgetWidget), so after a call the manager goes on only with what still lives.
class TMyWindowManager::TWatch {
public:
    TWatch(TMyWindowManager* manager, TMyWindow* widget) : mManager(manager), mWidget(widget)
    {
        mManager->mWatches.push_back(this);
    }
    ~TWatch()
    {
        auto& list = mManager->mWatches;
        list.erase(std::find(list.begin(), list.end(), this));
    }
    TWatch(const TWatch&) = delete;
    TWatch& operator=(const TWatch&) = delete;
    TMyWindow* Get() const { return mWidget; }

    TMyWindowManager* mManager;
    TMyWindow* mWidget;
};

namespace {

using TWindowList = std::vector<std::unique_ptr<TMyWindow>>;

int IndexIn(const TWindowList& list, const TMyWindow* window)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == window) return static_cast<int>(i);
    return -1;
}

// Takes the entry out of the list and hands back the owner.
std::unique_ptr<TMyWindow> TakeOut(TWindowList& list, int index)
{
    std::unique_ptr<TMyWindow> owned = std::move(list[index]);
    list.erase(list.begin() + index);
    return owned;
}

int32_t Shifted(int32_t value, int64_t by)
{
    return ClampToInt(static_cast<long long>(value) - by);
}

}  // namespace

TFaderShadow::TFaderShadow()
{
    mImage.SetTexture("textures/gui/sh1");
    mTween.mFinishAtOnce = true;
    mTween.SetValue(0.0f);
}

void TFaderShadow::Start()
{
    mTween.Set(0.0f, 1.0f, std::fabs(mFadeDuration * 0.5f), true);
    mState = kDarkening;
    mWaitCountdown = 0.0f;
    if (mListener) mListener->OnFadeStarted(this);
}

void TFaderShadow::FadeBetween(float from, float to, float time)
{
    mTween.Set(from, to, std::fabs(time), true);
    mState = kDarkening;
    if (mListener) mListener->OnFadeStarted(this);
}

void TFaderShadow::Update(float dt)
{
    switch (mState) {
    case kDarkening:
        if (mTween.Update(dt)) {
            if (mKeepShown) {
                mState = kIdle;
            } else {
                mState = kLightening;
                mTween.Set(mTween.mTo, mTween.mFrom, mTween.mDuration, true);
            }
            if (mListener) mListener->OnFadeFull(this);
        }
        break;
    case kLightening:
        if (mTween.Update(dt)) {
            if (mHoldTime == 0.0f) {
                mState = kIdle;
                if (mListener) mListener->OnFadeDone(this);
            } else {
                mWaitCountdown = mHoldTime;
                mState = kWaiting;
            }
        }
        break;
    case kWaiting:
        mWaitCountdown -= dt;
        if (mWaitCountdown <= 0.0f) {
            mWaitCountdown = 0.0f;
            mState = kIdle;
            if (mListener) mListener->OnFadeDone(this);
        }
        break;
    default:
        break;
    }
}

void TFaderShadow::Draw()
{
    mImage.mAlpha = mTween.mCurrent;
    mImage.Draw(1.0f);
}

void TFaderShadow::ReloadTextures()
{
    mImage.FreeTexture();
    mImage.SetTexture("textures/gui/sh1");
}

TMyWindowManager::~TMyWindowManager()
{
    // Each window leaves its list before it is deleted: its destructor calls back here.
    while (!mScreens.empty()) TakeOut(mScreens, 0);
    while (!mTopWindows.empty()) TakeOut(mTopWindows, 0);
    mActiveFader = nullptr;
    mFaders.clear();
    while (!mPending.empty()) {
        std::unique_ptr<TMyWindow> window = TakeOut(mPending, static_cast<int>(mPending.size()) - 1);
        if (!window->mAutoDelete) window.release();
    }
    if (TMyWindow* waiting = mWaiting) {
        mWaiting = nullptr;
        if (waiting->mAutoDelete) delete waiting;
    }
}

void TMyWindowManager::ForgetWidget(const TMyWindow* widget)
{
    if (mHovered == widget) mHovered = nullptr;
    if (mCaptured == widget) mCaptured = nullptr;
    if (mWaiting == widget) mWaiting = nullptr;
    if (mReplaced == widget) mReplaced = nullptr;
    for (TWatch* watch : mWatches)
        if (watch->mWidget == widget) watch->mWidget = nullptr;
    // Deleted by someone else while still listed: the list must not delete it again.
    for (TWindowList* list : {&mScreens, &mTopWindows, &mPending}) {
        int index = IndexIn(*list, widget);
        if (index >= 0) TakeOut(*list, index).release();
    }
}

bool TMyWindowManager::IsScreen(const TMyWindow* window) const { return IndexIn(mScreens, window) >= 0; }
bool TMyWindowManager::IsTopWindow(const TMyWindow* window) const { return IndexIn(mTopWindows, window) >= 0; }
bool TMyWindowManager::IsPending(const TMyWindow* window) const { return IndexIn(mPending, window) >= 0; }

TFader* TMyWindowManager::GetFader(int number) const
{
    if (number < 1 || number > FaderCount()) return nullptr;
    return mFaders[number - 1].get();
}

void TMyWindowManager::Update(float dt)
{
    UpdateScreens(dt);
    for (size_t i = mPending.size(); i-- > 0;) {
        if (i >= mPending.size()) continue;
        if (!mPending[i]->UpdateDelay(dt)) continue;
        TMyWindow* window = TakeOut(mPending, static_cast<int>(i)).release();
        AddWindow(window, 0.0f);
    }
    UpdateTopWindows(dt);
    if (TMyMessageManager* messages = FindMessageManager()) messages->Update(dt);
    if (mActiveFader) mActiveFader->Update(dt);
}

void TMyWindowManager::UpdateScreens(float dt)
{
    size_t i = mScreens.size();
    while (i > 0) {
        --i;
        if (i >= mScreens.size()) {
            if (mScreens.empty()) break;
            i = mScreens.size() - 1;
        }
        TMyWindow* window = mScreens[i].get();
        if (window->IsPaused()) continue;
        TWatch watch(this, window);
        const bool closed = window->Update(dt);
        if (!watch.Get()) continue;
        const int index = IndexIn(mScreens, window);
        if (index < 0) continue;
        i = static_cast<size_t>(index);
        if (closed) DisposeClosed(window);
    }
}

void TMyWindowManager::UpdateTopWindows(float dt)
{
    size_t i = 0;
    while (i < mTopWindows.size()) {
        TMyWindow* window = mTopWindows[i].get();
        if (window->IsPaused()) {
            ++i;
            continue;
        }
        TWatch watch(this, window);
        const bool closed = window->Update(dt);
        if (!watch.Get()) continue;  // gone from the list: its follower now stands at i
        const int index = IndexIn(mTopWindows, window);
        if (index < 0) continue;
        i = static_cast<size_t>(index);
        if (closed)
            DisposeClosed(window);
        else
            ++i;
    }
}

void TMyWindowManager::DisposeClosed(TMyWindow* window)
{
    TWatch watch(this, window);
    std::unique_ptr<TMyWindow> owned(RemoveWindow(window));
    if (watch.Get()) window->Hide();
    ForgetHoverIfGone();
    if (!watch.Get() || !window->mAutoDelete) owned.release();
}

void TMyWindowManager::ForgetHoverIfGone()
{
    if (mHovered && !Contains(mHovered)) mHovered = nullptr;
}

void TMyWindowManager::Draw()
{
    for (size_t i = 0; i < mScreens.size(); ++i)
        if (mScreens[i]->mDrawn) mScreens[i]->Draw();
    for (size_t i = 0; i < mTopWindows.size(); ++i)
        if (mTopWindows[i]->mDrawn) mTopWindows[i]->Draw();
    if (mActiveFader) mActiveFader->Draw();
}

void TMyWindowManager::AddWindow(TMyWindow* window, float delay)
{
    if (!window) return;
    if (delay > 0.0f) window->mShowDelay = delay;
    if (window->IsDelayOver()) {
        if (IsTopWindow(window)) return;
        TWatch watch(this, window);
        window->Show();
        if (!watch.Get()) return;
        mTopWindows.emplace_back(window);
        if (window->mListener) window->mListener->OnWindowAdded(window);
    } else if (!IsPending(window)) {
        mPending.emplace_back(window);
    }
}

void TMyWindowManager::AddFader(TFader* fader)
{
    if (fader) mFaders.emplace_back(fader);
}

void TMyWindowManager::SetWaiting(TMyWindow* window)
{
    if (mWaiting && mWaiting != window) {
        TMyWindow* superseded = mWaiting;
        mWaiting = nullptr;
        if (superseded->mAutoDelete) delete superseded;
    }
    mWaiting = window;
}

void TMyWindowManager::ShowScreen(TMyWindow* window, bool removeTop, int fader)
{
    if (!window || IsScreen(window)) return;
    if (fader == 0) {
        if (window == mWaiting) mWaiting = nullptr;
        // The old screen is taken out but neither hidden nor deleted: an immediate swap leaves
        // it to whoever asked for it. The game's own screen changes go through a fader, which
        // deletes the replaced screen.
        if (removeTop && !mScreens.empty()) RemoveWindow(TopScreen());
        ForgetHoverIfGone();
        mScreens.emplace_back(window);
        TWatch watch(this, window);
        if (window->mListener) window->mListener->OnWindowAdded(window);
        if (watch.Get()) window->Show();
        return;
    }
    TFader* chosen = GetFader(fader);
    SetWaiting(window);
    mReplaced = removeTop ? TopScreen() : nullptr;
    if (!chosen) {
        GetLogger()->LogMessage("ShowScreen: there is no fader %d, the screen changes at once", fader);
        SwapScreens();
        return;
    }
    mActiveFader = chosen;
    chosen->mListener = this;
    chosen->Start();
}

void TMyWindowManager::SwapScreens()
{
    TMyWindow* incoming = mWaiting;
    mWaiting = nullptr;
    if (incoming && !IsScreen(incoming) && !IsTopWindow(incoming) && !IsPending(incoming))
        mScreens.emplace_back(incoming);
    TWatch in(this, incoming);
    // The replaced screen is touched only while it still is one: it may have closed itself
    // (and been deleted) during the fade.
    if (mReplaced && IsScreen(mReplaced)) mReplaced->Hide();
    if (in.Get()) in.Get()->Show();
    if (mReplaced && IsScreen(mReplaced)) {
        TMyWindow* old = mReplaced;
        mReplaced = nullptr;
        TWatch watch(this, old);
        std::unique_ptr<TMyWindow> owned(RemoveWindow(old));
        if (!watch.Get() || !old->mAutoDelete) owned.release();
    }
    mReplaced = nullptr;
    ForgetHoverIfGone();
}

void TMyWindowManager::OnFadeFull(TFader* /*fader*/) { SwapScreens(); }

void TMyWindowManager::OnFadeDone(TFader* /*fader*/) { mActiveFader = nullptr; }

TMyWindow* TMyWindowManager::RemoveWindow(TMyWindow* window)
{
    for (TWindowList* list : {&mScreens, &mTopWindows, &mPending}) {
        const int index = IndexIn(*list, window);
        if (index < 0) continue;
        TakeOut(*list, index).release();
        if (window->mListener) window->mListener->OnWindowRemoved(window);
        return window;
    }
    return window;
}

std::unique_ptr<TMyWindow> TMyWindowManager::CloseWindow(int id)
{
    TMyWindow* window = FindWindow(id);
    if (!window) return nullptr;
    return std::unique_ptr<TMyWindow>(RemoveWindow(window));
}

TMyWindow* TMyWindowManager::FindWindow(int id) const
{
    for (const TWindowList* list : {&mScreens, &mTopWindows, &mPending})
        for (const auto& window : *list)
            if (window->mId == id) return window.get();
    return nullptr;
}

TMyWindow* TMyWindowManager::FindListedWindow(int id) const
{
    for (const TWindowList* list : {&mScreens, &mTopWindows})
        for (const auto& window : *list)
            if (window->mId == id) return window.get();
    return nullptr;
}

TMyWindow* TMyWindowManager::FindTopModal() const
{
    for (size_t i = mTopWindows.size(); i-- > 0;) {
        const TMyWindow* w = mTopWindows[i].get();
        if (w->mVisible && !w->mDisabled && w->mAlpha > 0.0f) return mTopWindows[i].get();
    }
    return nullptr;
}

TMyWindow* TMyWindowManager::FindWindowAt(int x, int y, int* localX, int* localY) const
{
    if (TMyWindow* modal = FindTopModal()) {
        // A dialog in flight stays modal but takes no clicks: its buttons would answer twice.
        if (!modal->AcceptsMouse()) return nullptr;
        return modal->FindWidgetAt(x, y, localX, localY);
    }
    for (size_t i = mScreens.size(); i-- > 0;)
        if (TMyWindow* found = mScreens[i]->FindWidgetAt(x, y, localX, localY)) return found;
    return nullptr;
}

bool TMyWindowManager::Contains(const TMyWindow* widget) const
{
    if (!widget) return false;
    for (const TWindowList* list : {&mScreens, &mTopWindows})
        for (const auto& window : *list)
            if (window.get() == widget || window->HasDescendant(widget)) return true;
    return false;
}

void TMyWindowManager::DeleteTopWindows()
{
    while (!mTopWindows.empty()) TakeOut(mTopWindows, 0);
    while (!mPending.empty()) TakeOut(mPending, 0);
}

void TMyWindowManager::SetAllPaused(bool paused)
{
    for (size_t i = 0; i < mScreens.size(); ++i) mScreens[i]->SetPaused(paused);
    for (size_t i = 0; i < mTopWindows.size(); ++i) mTopWindows[i]->SetPaused(paused);
}

void TMyWindowManager::BringTopWindowToFront(TMyWindow* window)
{
    if (!window) return;
    const int index = IndexIn(mTopWindows, window);
    std::unique_ptr<TMyWindow> owned = index >= 0 ? TakeOut(mTopWindows, index) : std::unique_ptr<TMyWindow>(window);
    mTopWindows.push_back(std::move(owned));
}

// Only a direct3d renderer loses its textures, and this game never runs on one.
void TMyWindowManager::ReloadTextures()
{
    const TAppState& app = GetAppState();
    if (!app.mRenderDevice || !app.mRenderDevice->mDirect3D) return;
    for (size_t i = 0; i < mScreens.size(); ++i) mScreens[i]->ReloadTextures();
    for (size_t i = 0; i < mTopWindows.size(); ++i) mTopWindows[i]->ReloadTextures();
}

TMouseEvent TMyWindowManager::RecordFor(const TMouseEvent& event, int x, int y) const
{
    TMouseEvent record = event;
    record.mX = x;
    record.mY = y;
    return record;
}

void TMyWindowManager::DeliveryPoint(const TMyWindow* widget, const TMouseEvent& event, TMouseEvent* out) const
{
    int32_t ax = 0, ay = 0;
    widget->GetAbsolutePosition(&ax, &ay);
    *out = RecordFor(event, Shifted(event.mX, ax), Shifted(event.mY, ay));
}

void TMyWindowManager::LoseHover()
{
    TMyWindow* old = mHovered;
    mHovered = nullptr;
    if (!old || !Contains(old)) return;
    TWatch watch(this, old);
    old->mHover = false;
    old->OnMouseLeave();
    if (watch.Get() && old->mHandCursor) old->SetHoverCursor(false);
}

void TMyWindowManager::EnterHover(TMyWindow* widget)
{
    mHovered = widget;
    if (!widget) return;
    TWatch watch(this, widget);
    widget->mHover = true;
    widget->OnMouseEnter();
    if (watch.Get() && widget->mHandCursor) widget->SetHoverCursor(true);
}

void TMyWindowManager::TrackHover(const TMouseEvent& event)
{
    const int32_t previousX = mLastX, previousY = mLastY;
    mLastX = event.mX;
    mLastY = event.mY;
    int lx = 0, ly = 0;
    TMyWindow* found = FindWindowAt(event.mX, event.mY, &lx, &ly);
    const TMouseEvent record = RecordFor(event, lx, ly);
    if (found != mHovered) {
        TWatch watch(this, found);
        LoseHover();
        if (found && !watch.Get()) return;
        EnterHover(watch.Get());
        if (watch.Get()) found->OnMouseMove(record);
    } else if (found && (event.mX != previousX || event.mY != previousY)) {
        found->OnMouseMove(record);
    }
}

bool TMyWindowManager::OnMouseDown(const TMouseEvent& event)
{
    int lx = 0, ly = 0;
    TMyWindow* found = FindWindowAt(event.mX, event.mY, &lx, &ly);
    mCaptureMask = event.mButtons;
    mCaptured = found;
    if (found) found->OnMouseDown(RecordFor(event, lx, ly));
    return true;
}

bool TMyWindowManager::OnMouseMove(const TMouseEvent& event)
{
    if (mCaptureMask == 0) {
        TrackHover(event);
        return true;
    }
    TMouseEvent record = event;
    record.mButtons = mCaptureMask;
    TrackHover(record);
    return OnMouseDrag(record);
}

bool TMyWindowManager::OnMouseDrag(const TMouseEvent& event)
{
    mLastX = event.mX;
    mLastY = event.mY;
    if (mHovered && mHovered != mCaptured) LoseHover();
    if (!mCaptured) return true;
    if (Contains(mCaptured)) {
        TMouseEvent record;
        DeliveryPoint(mCaptured, event, &record);
        mCaptured->OnMouseDrag(record);
    } else {
        mCaptured = nullptr;
    }
    int lx = 0, ly = 0;
    TMyWindow* found = FindWindowAt(event.mX, event.mY, &lx, &ly);
    if (found && found == mCaptured && !mHovered)
        EnterHover(found);
    else if (found != mCaptured && mHovered)
        LoseHover();
    return true;
}

bool TMyWindowManager::OnMouseUp(const TMouseEvent& event)
{
    if (mCaptured && (mCaptureMask & event.mButtons)) {
        TMyWindow* widget = mCaptured;
        const bool found = Contains(widget);
        mCaptureMask &= ~event.mButtons;
        if (mCaptureMask == 0) mCaptured = nullptr;
        if (found) {
            TMouseEvent record;
            DeliveryPoint(widget, event, &record);
            widget->OnMouseUp(record);
        }
    } else {
        mCaptureMask &= ~event.mButtons;
    }
    return true;
}

bool TMyWindowManager::OnMouseWheel(const TMouseEvent& event)
{
    int lx = 0, ly = 0;
    if (TMyWindow* found = FindWindowAt(mLastX, mLastY, &lx, &ly)) {
        TMouseEvent record = RecordFor(event, lx, ly);
        record.mScreenX = mLastX;
        record.mScreenY = mLastY;
        found->OnMouseWheel(record);
    }
    return true;
}

bool TMyWindowManager::OnDoubleClick(const TMouseEvent& event)
{
    int lx = 0, ly = 0;
    if (TMyWindow* found = FindWindowAt(event.mX, event.mY, &lx, &ly)) found->OnDoubleClick(RecordFor(event, lx, ly));
    mCaptureMask &= ~event.mButtons;
    return true;
}

void TMyWindowManager::OnKeyDown(const TKeyEvent* key)
{
    TMyWindow* receiver = FindTopModal();
    if (!receiver) receiver = TopScreen();
    if (receiver) receiver->OnKeyDown(key);
}

void TMyWindowManager::OnKeyUp(const TKeyEvent* key)
{
    TMyWindow* receiver = FindTopModal();
    if (!receiver) receiver = TopScreen();
    if (receiver) receiver->OnKeyUp(key);
}

void TMyWindowManager::OnTextInput(int32_t character)
{
    TMyWindow* receiver = FindTopModal();
    if (!receiver) receiver = TopScreen();
    if (receiver) receiver->OnTextInput(character);
}

void TMyWindowManager::HandleEvent(const TInputEvent& event)
{
    TMouseEvent mouse;
    mouse.mX = mouse.mScreenX = event.mX;
    mouse.mY = mouse.mScreenY = event.mY;
    mouse.mButtons = event.mParam;
    mouse.mModifiers = event.mMods;
    TKeyEvent key;
    key.mKey = event.mParam;
    key.mModifiers = event.mMods;
    switch (event.mType) {
    case kInputLeftDown:
        mouse.mButtons = 1;
        OnMouseDown(mouse);
        break;
    case kInputRightButton:
        mouse.mButtons = 2;
        if (event.mParam == 1)
            OnMouseDown(mouse);
        else if (event.mParam == 0)
            OnMouseUp(mouse);
        break;
    case kInputDoubleClick:
        OnDoubleClick(mouse);
        break;
    case kInputWheel:
        mouse.mX = mouse.mScreenX = mLastX;
        mouse.mY = mouse.mScreenY = mLastY;
        mouse.mButtons = event.mParam > 0 ? 1 : -1;
        OnMouseWheel(mouse);
        break;
    case kInputLeftUp:
        OnMouseUp(mouse);
        break;
    case kInputMove:
        OnMouseMove(mouse);
        break;
    case kInputKeyDown:
        OnKeyDown(&key);
        break;
    case kInputKeyUp:
        OnKeyUp(&key);
        break;
    case kInputText:
        OnTextInput(event.mParam);
        break;
    default:
        break;
    }
}

void DeleteOwned(TMyWindowManager* windows) { delete windows; }

TMyWindowManager* GetWindowManager()
{
    TAppState& app = GetAppState();
    if (!app.mWindowManager) app.mWindowManager.reset(new TMyWindowManager());
    return app.mWindowManager.get();
}

void DestroyWindowManager() { GetAppState().mWindowManager.reset(); }
