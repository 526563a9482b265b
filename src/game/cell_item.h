// The small drawables of the play view. One cell of a mosaic picture: a sprite that draws
// itself in the play view (frame, grey, number, paint) or flat for previews; its number,
// paint and fill mark live in the picture's byte arrays, so a million cells stay cheap to
// fill and count. The navigator, whose reset centres the picture; the hint bubble.
#pragma once
#include <cstdint>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/draw_object.h"
#include "graphics/static_image.h"
#include "graphics/texture.h"
#include "graphics/tweens.h"
#include "ui/text_image.h"

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

class TPaintByNumberOffsetTable;

class TPaintByNumberOffsetTableListener {
public:
    virtual ~TPaintByNumberOffsetTableListener() = default;
    // (u, v): the point within the navigator, each 0..1.
    virtual void OnOffsetMoved(TPaintByNumberOffsetTable* /*table*/, float /*u*/, float /*v*/) {}
};

class TPaintByNumberOffsetTable : public DrawObject {
public:
    TPaintByNumberOffsetTable();
    ~TPaintByNumberOffsetTable() override = default;

    void Draw(float alpha) override;
    // Takes the back image's size, then Reset.
    void SetPosition(float x, float y, bool centred) override;
    // The point goes to the middle and the listener hears where.
    void Reset() override;

    TPaintByNumberOffsetTableListener* mListener = nullptr;  // not owned
    StaticImage mPointImage;
    StaticImage mBackImage;
    int32_t mPointOffsetX = 0;
    int32_t mPointOffsetY = 0;
};

// A bubble with a random tip: fades in over 0.5 s, stays 3 s, fades out over 0.5 s, then is
// done; its owning object list deletes it.
class TBrisaloHintText : public DrawObject {
public:
    enum { kFadingIn = 0, kStaying = 1, kFadingOut = 2, kFinished = 3 };

    // The two sizes are not used: the text has a fixed room inside the bubble.
    TBrisaloHintText(const std::vector<std::string>& keys, int x, int y, int unusedWidth, int unusedHeight,
                     const std::string& fontId, const TFloatColor& color);
    ~TBrisaloHintText() override = default;

    void Draw(float alpha) override;
    bool Update(float dt) override;

    IncValue mFade;
    IncValue mStay;
    StaticImage mBubble;
    TSimpleTextImage mText;
    int32_t mState = kFadingIn;
};
