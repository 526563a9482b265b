// One sprite spark with a frame strip: it drifts by its velocity once per update and fades
// as its life runs out; the room effects scatter these by hand.
#pragma once
#include <string>

#include "graphics/draw_object.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"

class Particle : public DrawObject {
public:
    Particle(float startX, float startY, float velocityY, const std::string& imageName, int stripX, int stripY,
             int frameWidth, int frameHeight);
    ~Particle() override;

    void Draw(float alphaFactor) override;
    // Counts updates, not time: the step is the owner's frame.
    bool Update(float dt) override;
    bool IsDone() const override { return mLife <= 0.0f; }

    float mVelX = 0.0f;
    float mVelY = 0.0f;
    float mFadeStep = 0.1f;
    int mFrame = 0;
    float mLife = 1.0f;  // also the alpha
    int mCounter = 0;
    StaticImage mImage;
    TPackedColor mColor{0xFFFFFFFFu};
    float mScale = 1.0f;
    bool mAdditive = true;
    int mFrameDelay = 2;  // updates per frame
    int mFrameCount = 0;  // 0: no frame cycling
    int mStripX = 0;
    int mStripY = 0;
    int mFrameWidth = 0;
    int mFrameHeight = 0;
    bool mCentred = false;
};
