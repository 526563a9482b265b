// Sliders as windows build them from "slider" descriptions, and the listener of their values.
#pragma once
#include "ui/window.h"

class TUIBaseSlider;
class TBaseSlider;

class TBaseSliderListener {
public:
    virtual ~TBaseSliderListener() = default;
    virtual void OnSliderChanged(int /*sliderId*/, float /*value*/, TBaseSlider* /*slider*/) {}
    virtual void OnSliderReleased(int /*sliderId*/, float /*value*/, TBaseSlider* /*slider*/) {}
};

class TBaseSlider : public TMyWindow {
public:
    explicit TBaseSlider(TMyWindow* parent);
    void ApplyInfo(const TUIBaseSlider* d);

    TBaseSliderListener* mSliderListener = nullptr;
};

TBaseSlider* CreateSlider(const TUIBaseSlider* d, TMyWindow* parent);
