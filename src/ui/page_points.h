// The row of page points under the level map: one point per page, the current one lit; a click
// on a point selects its page.
#pragma once
#include <vector>

#include "graphics/static_image.h"
#include "ui/window.h"

class TUIMyButton;

class TPointPageShowerListener {
public:
    virtual ~TPointPageShowerListener() = default;
    // False keeps the current page.
    virtual bool OnPageClicked() { return true; }
};

struct TPagePoint {
    int x = 0;  // centre, relative to the widget
    int y = 0;
    int w = 0;
    int h = 0;
};

class TPointPageShower : public TMyWindow {
public:
    // Joins the parent's children (the parent then owns it).
    explicit TPointPageShower(TMyWindow* parent);
    int GetKind() const override { return kKindWidget; }

    // A "button" description; a width or height of 0 is completed from the texture in it.
    void ApplyInfo(TUIMyButton* info);
    // One point per page, evenly spread, at half the height; none without pages.
    void LayoutPoints();
    // The index of the point under the local point, or -1.
    int PointAt(int x, int y) const;

    void DrawSelf() override;
    void OnMouseMove(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;

    TPointPageShowerListener* mPageListener = nullptr;
    StaticImage mImage;  // two points side by side: other pages left, the current page right
    int mCurrentPage = 0;
    int mPageCount = 0;
    std::vector<TPagePoint> mPoints;
};
