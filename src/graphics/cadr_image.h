// Frame animations: equal frames cut from one texture sheet at a fixed frame time
// (TCadrImage) or each with its own duration (TTimeCadrImage), and a sequence of separate
// images at their own offsets (TCadrImage2). A frame index outside its list shows nothing new.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "graphics/draw_object.h"
#include "graphics/static_image.h"

class TBaseBuffer;
class TiXmlElement;

struct TCadrRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

class TCadrImage : public DrawObject {
public:
    // More frames than any sheet can hold; a larger "frames" is clamped where it is read.
    static constexpr int kMaxFrames = 65536;

    TCadrImage() = default;
    ~TCadrImage() override = default;

    // The picture is this embedded image: whatever places the animation moves it, because
    // SetPosition moves only the outer object.
    void Draw(float alphaFactor) override { mImage.Draw(alphaFactor); }
    void SetVisible(bool visible) override { mImage.SetVisible(visible); }
    bool IsVisible() const override { return mImage.IsVisible(); }
    float GetX() const override { return mImage.GetX(); }
    float GetY() const override { return mImage.GetY(); }
    void SetScale(float s) override { mImage.SetScale(s); }
    void SetScaleXY(float sx, float sy) override { mImage.SetScaleXY(sx, sy); }
    float GetAngle() const override { return mImage.GetAngle(); }
    bool Update(float dt) override;
    void SetAngle(float radians) override;

    virtual void LoadState(TBaseBuffer& buffer);
    virtual void Play(int loops);
    virtual void Stop() { mPlaying = false; }
    virtual void SaveState(TBaseBuffer& buffer) const;

    void LoadXml(TiXmlElement* element, bool loadTexture, const std::string& prefix);
    void SetFrameRange(float frameTime, int frames, int frameWidth, int frameHeight);
    void SetFrame(int i);

    StaticImage& GetImage() { return mImage; }
    const StaticImage& GetImage() const { return mImage; }
    const std::vector<TCadrRect>& GetFrameRects() const { return mRects; }
    bool IsPlaying() const { return mPlaying; }
    int GetCurrentFrame() const { return mCurrent; }

    bool mPlaying = false;
    int mFrameWidth = 0;
    int mFrameHeight = 0;
    int mFrames = 1;
    float mFrameTime = 0.0f;
    float mElapsed = 0.0f;
    int mCurrent = 0;
    int mStartFrame = 0;
    StaticImage mImage;
    std::string mFileName;
    int mLoops = 1;  // -1 endless
    int mLoopsDone = 0;
    int mSheetWidth = 0;  // cuts the sheet while no texture is loaded
    int mSheetHeight = 0;
    bool mHoldLast = false;

protected:
    void BuildFrames();
    // The source rectangle becomes rectangle i; an index outside the list changes nothing.
    void ShowFrame(int i);

    std::vector<TCadrRect> mRects;
};

class TTimeCadrImage : public TCadrImage {
public:
    ~TTimeCadrImage() override = default;

    bool Update(float dt) override;
    void LoadState(TBaseBuffer& buffer) override;
    void Play(int loops) override;
    void Stop() override { mTimedPlaying = false; }
    void SaveState(TBaseBuffer& buffer) const override;
    // Appends the "ctime" durations (seconds, comma-separated).
    virtual void LoadFrameTimes(TiXmlElement* element);

    bool IsTimedPlaying() const { return mTimedPlaying; }
    int GetFrameIndex() const { return mFrameIndex; }
    int GetCursor() const { return mCursor; }
    const TTimer& GetTimer() const { return mTimer; }

    std::vector<float> mDurations;

private:
    void StartFrameTimer();

    int mCursor = 0;
    TTimer mTimer;
    bool mTimedPlaying = false;  // the base's own flag stays false
    int mFrameIndex = 0;
    int mLoopsLeft = 0;
};

struct TCadrFrame {
    std::string mName;
    StaticImage mImage;
    int mX = 0;  // offset from the object's position
    int mY = 0;
    float mOffsetX = 0.0f;  // the object's position
    float mOffsetY = 0.0f;
    bool mCentred = false;
    float mAngle = 0.0f;
};

class TCadrImage2 : public DrawObject {
public:
    ~TCadrImage2() override = default;

    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    void SetPosition(float x, float y, bool centred) override;
    void SetScaleXY(float sx, float sy) override;
    void Restart() override;

    void LoadXml(TiXmlElement* element, bool loadTextures);
    void LoadTextures();
    void FreeTextures();
    void SetBlendAdditive(bool additive);
    void Clear();

    const std::vector<std::unique_ptr<TCadrFrame>>& GetFrames() const { return mFrames; }
    int GetCurrentFrame() const { return mCurrent; }
    bool IsPlaying() const { return mPlaying; }

    bool mPlaying = false;
    float mFrameTime = 0.2f;
    float mElapsed = 0.0f;
    bool mHoldLast = false;

private:
    int mCurrent = 0;
    std::vector<std::unique_ptr<TCadrFrame>> mFrames;
};
