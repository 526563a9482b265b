// Image widgets and sliders as windows build them from "image" and "slider" descriptions.
#pragma once
#include "graphics/static_image.h"
#include "ui/window.h"

class TUIMyImage;
class TUIBaseSlider;
class TBaseSlider;

class TMyImage : public TMyWindow {
public:
    explicit TMyImage(TMyWindow* parent);
    int GetKind() const override { return kKindImage; }
    void ApplyInfo(const TUIMyImage* d);
    void DrawSelf() override;

    StaticImage mImage;
};

TMyImage* CreateImage(const TUIMyImage* d, TMyWindow* parent);

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
