// Sliders and spinners: a thumb slid along a track or dragged, one springing back, and
// spinners stepped through their pictures alone, in a sequence or echoing another.
#pragma once
#include <string>

#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/container_objects.h"

class TSliderObject : public TObject {
public:
    ~TSliderObject() override;
    int GetTypeCode() const override { return 35; }
    bool IsMovable() const override { return true; }
    // Back to the default value, but never under the player's hand.
    void Reset() override;

    std::string mSlideSound;
    StaticImage mTrackImage;
    StaticImage mThumbImage;
    float mValue = 0.0f;
    float mDefaultValue = 0.0f;  // "def_val"
    bool mDragging = false;
};

class TDragSliderObject : public TSliderObject {
public:
    ~TDragSliderObject() override;
    int GetTypeCode() const override { return 36; }
};

class TSpringedObject : public TDragSliderObject {
public:
    ~TSpringedObject() override;
    int GetTypeCode() const override { return 37; }

    IncValue mSpring;
};

class TSpinnerObject : public TObject {
public:
    ~TSpinnerObject() override;
    int GetTypeCode() const override { return 72; }
};

class TSpinnerSequenceObject : public TTransparentObject {
public:
    ~TSpinnerSequenceObject() override;
    int GetTypeCode() const override { return 73; }
};

class TSpinnerEchoObject : public TObject {
public:
    ~TSpinnerEchoObject() override;
    int GetTypeCode() const override { return 74; }
};
