// Image widgets as windows build them from "image" descriptions.
#pragma once
#include "graphics/static_image.h"
#include "ui/window.h"

class TUIMyImage;

class TMyImage : public TMyWindow {
public:
    explicit TMyImage(TMyWindow* parent);
    int GetKind() const override { return kKindImage; }
    void ApplyInfo(const TUIMyImage* d);
    void DrawSelf() override;

    StaticImage mImage;
};

TMyImage* CreateImage(const TUIMyImage* d, TMyWindow* parent);
