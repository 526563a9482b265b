// A picture from a layout element, optionally fitted into its rectangle, with two overlay
// pictures that screens switch on and off (the board marks a group's chosen item with them).
#pragma once
#include <string>

#include "core/xml_attributes.h"
#include "graphics/static_image.h"
#include "ui/ui_info_holder.h"
#include "ui/window.h"

class TUIMyImage;

class TMyImage : public TMyWindow {
public:
    // Joins the parent's children (the parent then owns it).
    explicit TMyImage(TMyWindow* parent);
    int GetKind() const override { return kKindImage; }

    void ApplyInfo(const TUIMyImage* info);
    // Loads the main picture, keeping its alpha mask only when "needcache" asked for it.
    void SetImage(const std::string& name);
    void DrawSelf() override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;

    StaticImage mImage;
    StaticImage mImage2;  // while "checked"
    StaticImage mImage3;  // while "draw2"
    int mDrawMode = 0;    // 1 fits the main picture into the widget
    int mFitX = 0;
    int mFitY = 0;
    TFloatColor mColor{1.0f, 1.0f, 1.0f, 1.0f};
    std::string mCursorName = "handspot";
    bool mKeepAlpha = false;
    bool mChecked = false;
    bool mDrawThird = false;
    int mCheckedX = 0;
    int mCheckedY = 0;
    int mDraw1X = 0;
    int mDraw1Y = 0;
    int mDraw2X = 0;
    int mDraw2Y = 0;
    TUIRect mExtraSize;

private:
    void DrawLayer(StaticImage& image, int offsetX, int offsetY, float alpha);
};

// Null for a null description.
TMyImage* CreateImage(const TUIMyImage* info, TMyWindow* parent);
