#include "ui/slider.h"

#include <cmath>

#include "core/numbers.h"
#include "graphics/tweens.h"
#include "ui/cursors.h"
#include "ui/ui_elements.h"

namespace {

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

void SelectCursor(const char* name)
{
    TGameCursors* cursors = GetGameCursors();
    if (name)
        cursors->Select(name);
    else
        cursors->SelectDefault();
}

}  // namespace

TBaseSlider::TBaseSlider(TMyWindow* parent)
{
    if (parent) parent->AddChild(this);
}

TBaseSlider* CreateSlider(const TUIBaseSlider* info, TMyWindow* parent)
{
    TBaseSlider* slider = new TBaseSlider(parent);
    slider->ApplyInfo(info);
    return slider;
}

void TBaseSlider::SetValue(float value) { mValue = std::isnan(value) ? 0.0f : Clamp01(value); }

float TBaseSlider::GetRangeValue() const
{
    if (mRangeMin == mRangeMax) return mValue;
    return mRangeMin + (mRangeMax - mRangeMin) * mValue;
}

void TBaseSlider::ApplyInfo(const TUIBaseSlider* d)
{
    if (!d) return;
    mId = d->mId;
    mName = d->mName;
    const TUISliderParts& s = d->mSlider;
    SetValue(s.mValue);
    mTrackOffY = s.mTrackOffY;
    mTrackInsetX = s.mTrackInsetX;
    mThumbOffY = s.mThumbOffY;
    mTrack.SetTexture(s.mImage);
    mThumb.SetTexture(s.mThumbImage);
    // x and y place the track's top-left corner as they stand: a slider ignores the alignment
    // that other widgets apply, since its size comes from the track image, not the layout.
    mX = d->mX;
    mY = d->mY;
    mWidth = mTrack.GetWidth();
    mHeight = mTrack.GetHeight();
    mThumbWidth = s.mThumbWidth;
    mThumbHeight = s.mThumbHeight;
    if (mThumbWidth > 0) {
        DrawTransform& t = mThumb.mTransform;
        t.mSrcX = t.mSrcY = 0.0f;
        t.mSrcW = static_cast<float>(mThumbWidth);
        t.mSrcH = static_cast<float>(mThumbHeight);
        t.mFlags |= kDrawSourceRect;
    }
}

int TBaseSlider::TrackWidth() const
{
    return TruncToInt(static_cast<double>(mWidth) - 2.0 * static_cast<double>(mTrackInsetX));
}

int TBaseSlider::ThumbPixel() const { return TruncToInt(static_cast<float>(TrackWidth()) * mValue); }

bool TBaseSlider::ValueAt(int x, float* value) const
{
    int track = TrackWidth();
    if (track <= 0) return false;
    *value = Clamp01(static_cast<float>(static_cast<double>(x) - mTrackInsetX) / static_cast<float>(track));
    return true;
}

bool TBaseSlider::InGrabZone(int x, int y) const
{
    int64_t left = static_cast<int64_t>(mTrackInsetX) + ThumbPixel() - mThumb.GetWidth() / 2;
    int64_t right = left + mThumb.GetWidth();
    return x >= left && x < right && y >= 0 && y < mHeight;
}

void TBaseSlider::DrawSelf()
{
    if (!mVisible) return;
    float alpha = GetInheritedAlpha() * mAlpha;
    int64_t x = static_cast<int64_t>(mX) + mDrawOffsetX;
    int64_t y = static_cast<int64_t>(mY) + mDrawOffsetY;
    mTrack.SetPosition(static_cast<float>(x), static_cast<float>(y + mTrackOffY), false);
    mTrack.Draw(alpha);
    int64_t thumbX = static_cast<int64_t>(ThumbPixel()) + mTrackInsetX + x - mThumb.GetWidth() / 2;
    mThumb.SetPosition(static_cast<float>(thumbX), static_cast<float>(y + mThumbOffY), false);
    mThumb.Draw(alpha);
}

void TBaseSlider::OnMouseDown(const TMouseEvent& event)
{
    if (InGrabZone(event.mX, event.mY)) {
        mDragging = true;
        mGrabOffset = TruncToInt(static_cast<double>(event.mX) - mTrackInsetX - ThumbPixel());
        return;
    }
    float value = 0.0f;
    if (ValueAt(event.mX, &value)) mValue = value;
}

void TBaseSlider::OnMouseDrag(const TMouseEvent& event)
{
    float value = 0.0f;
    if (!ValueAt(event.mX, &value) || value == mValue) return;
    mValue = value;
    if (mSliderListener) mSliderListener->OnSliderChanged(mId, GetRangeValue(), this);
}

void TBaseSlider::OnMouseUp(const TMouseEvent& /*event*/)
{
    mDragging = false;
    SelectCursor(nullptr);
    if (!mSliderListener) return;
    mSliderListener->OnSliderChanged(mId, GetRangeValue(), this);
    mSliderListener->OnSliderReleased(mId, GetRangeValue(), this);
}

void TBaseSlider::OnMouseMove(const TMouseEvent& event) { SelectCursor(InGrabZone(event.mX, event.mY) ? "drag" : nullptr); }

void TBaseSlider::OnMouseLeave()
{
    if (!mDragging) SelectCursor(nullptr);
}
