// One cell of a mosaic picture: a sprite that draws itself in the play view (frame, grey,
// number, paint) or flat for previews. Its number, paint and fill mark live in the
// picture's byte arrays, so a million cells stay cheap to fill and count.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/draw_object.h"
#include "graphics/texture.h"

class StaticImage;
class TPictureGrid;

// Tints go through 8-bit channels: a colour is cut to what a texture colour mod holds.
TRgbaF QuantiseTint(const TRgbaF& color);
// The image's draw colour becomes the quantised colour (its alpha is left alone).
void SetImageTint(StaticImage* image, const TRgbaF& color);
// (min + max) / 2 of red, green and blue: above 0.5 a number is drawn dark on the colour.
float ColorLightness(const TRgbaF& color);

// Owned by the picture model; every cell of the picture points at the same record.
struct TPaintByNumberCellShared {
    StaticImage* mNumbersImage = nullptr;
    StaticImage* mFrameImage = nullptr;
    StaticImage* mPaintedImage = nullptr;
    StaticImage* mUnpaintedImage = nullptr;
    const std::vector<TRgbaF>* mGreyRamp = nullptr;
    const std::vector<TRgbaF>* mColors = nullptr;
    const std::vector<float>* mLightness = nullptr;
    TPictureGrid* mGrid = nullptr;
};

class TPaintByNumberItem : public DrawObject {
public:
    static const TRgbaF kDarkNumberColor;
    static const TRgbaF kLightNumberColor;
    static const TRgbaF kHighlightGrey;

    TPaintByNumberItem(TPaintByNumberCellShared* shared, int column, int row);
    ~TPaintByNumberItem() override = default;

    bool Update(float dt) override;
    void Reset() override;  // number and paint 0
    int GetWidth() const override;
    int GetHeight() const override;
    // The visible flag lives in the picture's arrays: white cells are invisible.
    void SetVisible(bool visible) override;
    bool IsVisible() const override;

    // a: the zoom fraction times the view's alpha. Both answer how many images they drew.
    int DrawCell(float a);
    int DrawFlat();

    int GetNumber() const;
    void SetNumber(int number);
    int GetPainted() const;
    void SetPainted(int painted);
    bool IsHighlighted() const;
    bool IsVisited() const;
    int GetRow() const { return mRow; }
    int GetColumn() const { return mColumn; }

private:
    int Index() const;

    TPaintByNumberCellShared* mShared;
    int32_t mRow = 0;
    int32_t mColumn = 0;
};
