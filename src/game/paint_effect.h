// The main menu's small mosaic pictures: square cells that fade in one after another, wait,
// and paint again in another order, endlessly while the menu lives.
#pragma once
#include <cstdint>
#include <vector>

#include "graphics/static_image.h"
#include "graphics/tweens.h"

class TiXmlElement;

class EffectBrisaloPaint : public DrawObject {
public:
    enum { kIdle = 0, kPainting = 1, kWaiting = 2 };

    EffectBrisaloPaint() = default;
    ~EffectBrisaloPaint() override = default;

    // The palette, position, timing and rows of the root element of a picture file.
    void LoadXml(const TiXmlElement* element);
    // Order 0 paints from the last cell back, 2 from the first on, 1 in a shuffled order.
    void Start(int order);
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;

    int32_t mSpaceX = 0;
    int32_t mSpaceY = 0;
    float mCellAppearTime = 0.1f;
    float mCellDelayTime = 0.1f;
    float mPictureDelayTime = 2.0f;
    std::vector<std::vector<AlphaStaticImage>> mRows;
    IncValue mWait;
    int32_t mState = kIdle;
};
