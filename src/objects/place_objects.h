// Item place puzzles: items slid into their places, with handles that carry them.
#pragma once
#include "objects/container_objects.h"

class TPlacesObject : public TObject {
public:
    ~TPlacesObject() override;
    int GetTypeCode() const override { return 33; }
    bool IsMovable() const override { return true; }
};

// Built for a handle name and its "2" twin alike; only the type name tells them apart.
class TPlacesHandleObject : public TTransparentObject {
public:
    ~TPlacesHandleObject() override;
    int GetTypeCode() const override { return 32; }

    float mMovingTime = 0.001f;  // "moving_time", seconds per pixel
    bool mAlignToCenter = false;  // "align_to_center"
};

class TPlacesItemsObject : public TObject {
public:
    ~TPlacesItemsObject() override;
    int GetTypeCode() const override { return 33; }
    bool IsMovable() const override { return true; }
};

class TPlacesItemsHandleObject : public TTransparentObject {
public:
    ~TPlacesItemsHandleObject() override;
    int GetTypeCode() const override { return 32; }

    float mMovingTime = 0.001f;  // "moving_time", seconds per pixel
    bool mAlignToCenter = false;  // "align_to_center"
};
