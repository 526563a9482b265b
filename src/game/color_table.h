// The board's palette: one swatch per picture colour, four to a row in a clipped panel that
// shows a whole number of rows per page. A click selects a colour, a drag turns pages, and
// a finished colour is marked and hands the selection on to the next open one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/draw_object.h"
#include "graphics/static_image.h"
#include "graphics/texture.h"
#include "graphics/tweens.h"
#include "ui/mouse_event.h"

class TColorTableListener {
public:
    virtual ~TColorTableListener() = default;
    virtual void OnColorSelected(int /*number*/) {}
    // The selected colour was found complete.
    virtual void OnColorCompleted(int /*number*/) {}
};

class TColorsTableItem : public DrawObject {
public:
    explicit TColorsTableItem(const std::string& fillTexture = "textures/tilesets/color");
    ~TColorsTableItem() override = default;

    void Draw(float alpha) override;
    bool Update(float dt) override;

    void Select();
    void Deselect();
    void SetColor(const TRgbaF& color);

    TRgbaF mFillColor{1.0f, 1.0f, 1.0f, 1.0f};
    TRgbaF mNumberColor{1.0f, 1.0f, 1.0f, 1.0f};
    StaticImage mFillImage;
    StaticImage mNumberImage;
    StaticImage mFrameImage;
    StaticImage mCompleteImage;
    IncValue mPulse;  // scale of the number glyph
    bool mCompleted = false;
    bool mSelected = false;
    int32_t mIndex = 0;
};

class TColorsTableGrid : public DrawObject {
public:
    TColorsTableGrid();
    ~TColorsTableGrid() override = default;

    void Draw(float alpha) override;
    bool Update(float dt) override;

    void SetColors(const std::vector<TRgbaF>& colors, int count);
    void SetCompleted(const std::vector<bool>& bits);
    // True only when a swatch was selected; the board then keeps the release from the picture.
    bool MouseUp(const TMouseEvent& event);
    void ScrollPage(int delta);
    void SetItemsOffset(int y);
    void DeselectOthers(const TColorsTableItem* swatch);
    int FindNextIncomplete(int number) const;

    TColorTableListener* mListener = nullptr;
    std::vector<TColorsTableItem> mItems;
    int32_t mPageCount = 1;
    int32_t mCurrentPage = 0;
    int32_t mPressX = 0;
    int32_t mPressY = 0;
    int32_t mItemWidth = 0;
    int32_t mItemHeight = 0;
    bool mDragging = false;
    IncValue mScroll;  // the panel's scroll offset, kept in the DrawObject offset y
    int32_t mRowsPerPage = 0;
    static constexpr int32_t kColumns = 4;
    static constexpr int32_t kVerticalGap = 2;
    static constexpr int32_t kHorizontalGap = 2;
    StaticImage mBackImage;
    int32_t mBackOffsetX = 0;
    int32_t mBackOffsetY = 0;
    std::string mSwatchTexture = "textures/tilesets/color";  // what gives the swatches their size

private:
    bool InsidePanel(int x, int y) const;
    void ScrollTo(float from);
};
