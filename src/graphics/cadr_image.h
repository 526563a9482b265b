// Frame animations cut from one texture sheet. Only what the scene's frame effectors set is
// here so far: the sheet size, the frame range and the embedded image.
#pragma once
#include "graphics/draw_object.h"
#include "graphics/static_image.h"

class TCadrImage : public DrawObject {
public:
    TCadrImage() = default;
    ~TCadrImage() override = default;

    void SetFrameRange(float frameTime, int frames, int frameWidth, int frameHeight)
    {
        mFrameTime = frameTime;
        mFrames = frames;
        mFrameWidth = frameWidth;
        mFrameHeight = frameHeight;
    }
    StaticImage& GetImage() { return mImage; }
    const StaticImage& GetImage() const { return mImage; }

    int mFrameWidth = 0;
    int mFrameHeight = 0;
    int mFrames = 1;
    float mFrameTime = 0.0f;
    StaticImage mImage;
    int mSheetWidth = 0;  // cuts the sheet while no texture is loaded
    int mSheetHeight = 0;
};
