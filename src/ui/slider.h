// A horizontal slider: a track and a thumb, a value from 0 to 1 set by pressing and dragging,
// reported mapped to a range (volumes, custom difficulty, the board's zoom).
#pragma once
#include "graphics/static_image.h"
#include "ui/window.h"

class TBaseSlider;
class TUIBaseSlider;

class TBaseSliderListener {
public:
    virtual ~TBaseSliderListener() = default;
    virtual void OnSliderChanged(int /*id*/, float /*value*/, TBaseSlider* /*slider*/) {}
    virtual void OnSliderReleased(int /*id*/, float /*value*/, TBaseSlider* /*slider*/) {}
};

class TBaseSlider : public TMyWindow {
public:
    // Joins the parent's children (the parent then owns it).
    explicit TBaseSlider(TMyWindow* parent);
    int GetKind() const override { return kKindWidget; }

    // Clamped to 0..1, nobody told; NaN stores 0.
    virtual void SetValue(float value);
    float GetValue() const { return mValue; }
    // The value itself when the range is empty.
    float GetRangeValue() const;
    void ApplyInfo(const TUIBaseSlider* info);

    void DrawSelf() override;
    void OnMouseDown(const TMouseEvent& event) override;
    void OnMouseMove(const TMouseEvent& event) override;
    void OnMouseDrag(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;
    void OnMouseLeave() override;

    int TrackWidth() const;
    // The thumb as drawn, in local x: from its left edge to its right edge.
    bool InGrabZone(int x, int y) const;

    TBaseSliderListener* mSliderListener = nullptr;
    float mValue = 0.0f;
    int mTrackOffY = 0;
    int mTrackInsetX = 0;
    int mThumbOffY = 0;
    StaticImage mTrack;
    StaticImage mThumb;
    bool mDragging = false;
    int mGrabOffset = 0;
    float mRangeMin = 0.0f;
    float mRangeMax = 0.0f;
    int mThumbWidth = 0;
    int mThumbHeight = 0;

private:
    // False when the track has no width to map a point onto.
    bool ValueAt(int x, float* value) const;
    int ThumbPixel() const;
};

TBaseSlider* CreateSlider(const TUIBaseSlider* info, TMyWindow* parent);
