// Slide rotators (picture bands rolled by a click) and the case lock that opens when its
// rotators show the right combination.
#pragma once
#include <cstdint>
#include <vector>

#include "core/messages.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/container_objects.h"

// Told when a slide rotator has come to rest; nothing happens by default.
class TSlideRotatorListener {
public:
    virtual ~TSlideRotatorListener() = default;
    virtual void OnRotatorStopped() {}
};

// A number wheel: a tall strip of stacked bands seen through a window one band high. A click
// rolls it on by one band; after the last band it rolls back to the first.
class TSlideImageRotator : public TObject {
public:
    ~TSlideImageRotator() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 43; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;

    // False for a band outside the strip; otherwise the window shows it at once.
    bool SetBand(int band);
    // False while a roll is under way.
    bool Roll();

    StaticImage mStrip;
    float mRollTime = 0.15f;  // "rtime", seconds per band
    IncValue mRoll;           // the strip offset in pixels
    int32_t mWindowX = 0;     // "vis_rect"; y is the current offset into the strip
    int32_t mWindowY = 0;
    int32_t mWindowW = 0;
    int32_t mWindowH = 0;
    int32_t mBand = 0;       // "cur_image"
    int32_t mBandCount = 0;  // "num_of_images"
    bool mRolling = false;
    TSlideRotatorListener* mRotatorListener = nullptr;  // not owned; the case lock

private:
    void ShowWindow();
};

class TCaseLockObject : public TTransparentObject, public TSlideRotatorListener {
public:
    ~TCaseLockObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 44; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnLoaded() override;
    void Unlock() override;
    void Lock() override;
    void OnRotatorStopped() override;

    // Every wheel among the children shows its entry of the combination; false when the
    // combination has fewer entries than there are wheels.
    bool Matches() const;

    std::vector<int32_t> mCombination;  // "combination"
    float mDelay = 1.0f;                // "delay", seconds
    TTimer mDelayTimer;
};
