#include "ui/classic_window.h"

#include <cmath>

#include "core/display.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/xml_document.h"
#include "graphics/texture.h"
#include "ui/cursors.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"

namespace {
// The flight's stop point: -1 stands for the screen's centre.
int StopPoint(int value, int layoutSize) { return value == -1 ? layoutSize / 2 : value; }
}  // namespace

TClassicWindow::TClassicWindow(const std::string& layoutFile, bool loadNow)
{
    mAutoDelete = true;
    mAlphaFade.mFinishAtOnce = true;
    mAlphaFade.SetValue(1.0f);
    FollowAlphaFade();
    if (loadNow) TClassicWindow::LoadLayout(layoutFile);
}

TClassicWindow::TClassicWindow(const std::string& elementName)
{
    mId = kElementWindowId;
    mAlphaFade.mFinishAtOnce = true;
    mAlphaFade.SetValue(1.0f);
    FollowAlphaFade();
    TUIBaseBox* found = GetInterfaceHolder()->Find(elementName);
    mElement = dynamic_cast<TUIClassicWindow*>(found);
    ApplyInfo(mElement);
    ApplySizeRule();
}

// Out of line: the holder's type is complete here.
TClassicWindow::~TClassicWindow() = default;

TUIInfoHolder* TClassicWindow::CreateInfoHolder()
{
    mHolder.reset(new TUIInfoHolder());
    return mHolder.get();
}

void TClassicWindow::LoadLayout(const std::string& layoutFile)
{
    TUIInfoHolder* holder = CreateInfoHolder();
    if (TiXmlElement* root = LoadXmlDocument(layoutFile)) holder->Load(root);
    DeleteCurrentXmlDocument();
    mAlphaFade.SetValue(1.0f);
    FollowAlphaFade();
    mElement = dynamic_cast<TUIClassicWindow*>(holder->Find("window"));
    ApplyInfo(mElement);
    // By index: a control may add descriptions of its own to the holder.
    for (size_t i = 0; i < holder->Elements().size(); ++i) CreateControl(holder->Elements()[i].get());
    ApplySizeRule();
}

void TClassicWindow::ApplySizeRule()
{
    const bool ownW = mElement && mElement->mWidth > 0;
    const bool ownH = mElement && mElement->mHeight > 0;
    int w = ownW ? mElement->mWidth : GetLayoutWidth();
    int h = ownH ? mElement->mHeight : GetLayoutHeight();
    const TTexture* image = mBackground.GetTexture();
    if (!ownW && image && image->GetWidth() > 0) w = image->GetWidth();
    if (!ownH && image && image->GetHeight() > 0) h = image->GetHeight();
    if (mElement)
        SetRect(ClampToInt(static_cast<long long>(mElement->mX) - w / 2),
                ClampToInt(static_cast<long long>(mElement->mY) - h / 2), w, h);
    else
        SetRect(0, 0, w, h);
}

TMyWindow* TClassicWindow::CreateControl(TUIBaseBox* d)
{
    if (!d || !d->mCreate) return nullptr;
    switch (d->mKind) {
    case kUIKindButton: {
        TMyButton* button = CreateButton(static_cast<TUIMyButton*>(d), this);
        button->mButtonListener = this;
        return button;
    }
    case kUIKindImageText:
        return CreateTextImage(static_cast<TUIImageText*>(d), this);
    case kUIKindSlider: {
        TBaseSlider* slider = CreateSlider(static_cast<TUIBaseSlider*>(d), this);
        slider->mSliderListener = this;
        return slider;
    }
    case kUIKindEdit: {
        TMyEditWindow* edit = CreateEditWindow(static_cast<TUIEdit*>(d), this);
        edit->SetEditListener(this);
        return edit;
    }
    case kUIKindImage:
        return CreateImage(static_cast<TUIMyImage*>(d), this);
    default:
        return nullptr;
    }
}

void TClassicWindow::ApplyInfo(TUIClassicWindow* element)
{
    if (!element) return;
    {
        // A background is never hit-tested by its alpha.
        TTextureSwitchScope scope(KeepTextureAlpha, false);
        mBackground.SetTexture(element->mImage);
    }
    mBackground.SetPosition(0.0f, 0.0f, false);
    if (element->mAlphaTime == 0.0f) {
        mAlphaFade.SetValue(1.0f);
        FollowAlphaFade();
    }
}

void TClassicWindow::SetButtonsListener(TMyButtonListener* listener)
{
    for (TMyWindow* child : mChildren) {
        if (child->GetKind() != kKindButton) continue;
        if (TMyButton* button = dynamic_cast<TMyButton*>(child)) button->mButtonListener = listener;
    }
}

void TClassicWindow::Close(int code)
{
    mResultCode = code;
    mClosed = true;
}

void TClassicWindow::PlaceAt(int x, int y)
{
    const int w = GetWidth(), h = GetHeight();
    SetRect(x - w / 2, y - h / 2, w, h);
    mBackground.SetPosition(static_cast<float>(x), static_cast<float>(y), true);
}

bool TClassicWindow::Update(float dt)
{
    TMyWindowContainer::Update(dt);
    mAlphaFade.Update(dt);
    FollowAlphaFade();
    return mClosed;
}

void TClassicWindow::DrawSelf() { mBackground.Draw(mAlphaFade.mCurrent); }

void TClassicWindow::OnShown()
{
    TMyWindow::OnShown();
    if (mElement && mElement->mAlphaTime > 0.0f)
        mAlphaFade.Set(0.0f, 1.0f, mElement->mAlphaTime, true);
    else
        mAlphaFade.SetValue(1.0f);
    FollowAlphaFade();
    GetGameCursors()->SelectDefault();
}

void TClassicWindow::OnHidden()
{
    TMyWindow::OnHidden();
    if (mElement && mElement->mAlphaTime > 0.0f) {
        const float a = mAlpha;
        mAlphaFade.Set(a, 0.0f, a * mElement->mAlphaTime, true);
    } else {
        mAlphaFade.SetValue(0.0f);
    }
    FollowAlphaFade();
}

TFlyWindow::TFlyWindow(TFlyWindowListener* listener, bool loadNow, const std::string& layoutFile)
    : TClassicWindow(layoutFile, loadNow)
{
    mAutoDelete = true;
    mClosed = false;
    mId = 0;
    mFlyListener = listener;
    mFlightX.mFinishAtOnce = true;
    mFlightY.mFinishAtOnce = true;
    mFlightX.SetValue(0.0f);
    mFlightY.SetValue(0.0f);
    if (loadNow) TFlyWindow::LoadLayout(layoutFile, false);
    // Chosen once: a later load sets up a flight but leaves the state alone.
    mState = mFlyElement && mFlyElement->mTime > 0.0f ? kStarting : kShown;
}

void TFlyWindow::LoadLayout(const std::string& layoutFile, bool alsoClassic)
{
    if (alsoClassic) TClassicWindow::LoadLayout(layoutFile);
    TUIBaseBox* window = mHolder ? mHolder->Find("window") : nullptr;
    mFlyElement = window && window->mKind == kUIKindFlyWindow ? dynamic_cast<TUIFlyWindow*>(window) : nullptr;
    if (TUIFlyWindow* e = mFlyElement) {
        const float half = std::fabs(e->mTime * 0.5f);
        mFlightX.Set(static_cast<float>(e->mStartX), static_cast<float>(StopPoint(e->mStopX, GetLayoutWidth())),
                     half, true);
        mFlightY.Set(static_cast<float>(e->mStartY), static_cast<float>(StopPoint(e->mStopY, GetLayoutHeight())),
                     half, true);
        mBackground.SetPosition(static_cast<float>(e->mStartX), static_cast<float>(e->mStartY), true);
        mFlyInSound = e->mFlyInSound;
        mFlyOutSound = e->mFlyOutSound;
    }
    mTimeShown = 0.0f;
    OnFlyInStarted(this, mId);
    PlaySoundIfNamed(mFlyInSound);
    if (mFlyListener) mFlyListener->OnFlyInStarted(this, mId);
    mResultCode = 0;
    ApplySizeRule();
    if (TUIFlyWindow* e = mFlyElement) {
        if (e->mStartX != e->mX) mX = e->mStartX;
        if (e->mStartY != e->mY) mY = e->mStartY;
    }
}

bool TFlyWindow::AdvanceFlights(float dt)
{
    if (!mFlightX.Update(dt)) return false;
    return mFlightY.Update(dt);
}

void TFlyWindow::FollowFlights()
{
    mBackground.SetPosition(mFlightX.mCurrent, mFlightY.mCurrent, true);
    SetPosition(ClampToInt(static_cast<long long>(TruncToInt(mFlightX.mCurrent)) - GetWidth() / 2),
                ClampToInt(static_cast<long long>(TruncToInt(mFlightY.mCurrent)) - GetHeight() / 2));
}

bool TFlyWindow::Update(float dt)
{
    TMyWindowContainer::Update(dt);
    mAlphaFade.Update(dt);
    FollowAlphaFade();
    switch (mState) {
    case kStarting:
        mState = kFlyingIn;
        break;
    case kFlyingIn:
        if (AdvanceFlights(dt)) {
            mState = kShown;
            FollowFlights();
            OnFlyShown(this, mId);
            if (mFlyListener) mFlyListener->OnFlyShown(this, mId);
        }
        break;
    case kShown:
        mTimeShown += dt;
        if (mFlyElement && mFlyElement->mStay != -1.0f && mTimeShown >= mFlyElement->mStay) FlyOut();
        break;
    case kFlyingOut: {
        const bool done = AdvanceFlights(dt) && (!mFlyElement || !mFlyElement->mFade || mAlpha == 0.0f);
        mClosed = done;
        if (done) {
            mState = kClosed;
            OnFlyClosed(this, mId, mResultCode);
            if (mFlyListener) mFlyListener->OnFlyClosed(this, mId, mResultCode);
        }
        break;
    }
    default:
        break;
    }
    FollowFlights();
    if (mFlyElement && mFlyElement->mFade) return mClosed && mAlpha == 0.0f;
    return mClosed;
}

void TFlyWindow::FlyOut()
{
    mState = kFlyingOut;
    PlaySoundIfNamed(mFlyOutSound);
    if (TUIFlyWindow* e = mFlyElement) {
        const float half = std::fabs(e->mTime * 0.5f);
        mFlightX.Set(mFlightX.mCurrent, static_cast<float>(e->mEndX), half, true);
        mFlightY.Set(mFlightY.mCurrent, static_cast<float>(e->mEndY), half, true);
        if (e->mFade) {
            const float a = mAlpha;
            mAlphaFade.Set(a, 0.0f, std::fabs(e->mAlphaTime * a), true);
        }
    }
    OnFlyClosing(this, mId);
    if (mFlyListener) mFlyListener->OnFlyClosing(this, mId);
}

void TFlyWindow::Close(int code)
{
    mResultCode = code;
    FlyOut();
}

void TFlyWindow::OnShown()
{
    TClassicWindow::OnShown();
    if (mFlyListener) mFlyListener->OnFlyWindowShown(this, mId);
}

void TFlyWindow::OnHidden()
{
    TClassicWindow::OnHidden();
    if (mFlyListener) mFlyListener->OnFlyWindowHidden(this, mId);
}

bool TFlyWindow::AcceptsMouse() const { return mState == kShown && TClassicWindow::AcceptsMouse(); }

void TFlyWindow::OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button)
{
    OnFlyButton(parentId, parent, buttonId, button);
    if (mFlyListener) mFlyListener->OnFlyButton(parentId, parent, buttonId, button);
    Close(buttonId);
}

TMessageBoxWindow::TMessageBoxWindow(TFlyWindowListener* listener, const std::string& layoutFile,
                                     const std::string& captionKey, const std::string& messageKey, int id)
    : TFlyWindow(listener, true, layoutFile)
{
    mId = id;
    mCaption = dynamic_cast<TSimpleTextImage*>(FindChild("caption"));
    mMessage = dynamic_cast<TSimpleTextImage*>(FindChild("mess"));
    if (mCaption) mCaption->SetTextKey(captionKey);
    if (mMessage) mMessage->SetTextKey(messageKey);
}

void TMessageBoxWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* /*button*/)
{
    mResultCode = buttonId;
    FlyOut();
}
