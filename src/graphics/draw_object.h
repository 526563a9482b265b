// The base of everything that is updated once a frame with the frame time and then drawn
// with an alpha factor: sprites, animations, effects, widgets, board cells, scene objects.
#pragma once
#include <cstdint>
#include <string>

class DrawObject {
public:
    DrawObject() = default;
    DrawObject(const DrawObject&) = default;
    DrawObject& operator=(const DrawObject&) = default;
    virtual ~DrawObject() = default;

    virtual void SetParent(DrawObject* parent) { mParent = parent; }
    virtual void Draw(float /*alphaFactor*/) {}
    virtual void QueryDone() {}
    virtual bool Update(float /*dt*/) { return false; }
    virtual bool IsDone() const { return mDone; }
    virtual void SetPosition(float x, float y, bool centred);
    virtual void Reset() {}
    virtual void SetVisible(bool visible) { mVisible = visible; }
    virtual bool IsVisible() const { return mVisible; }
    virtual void EmptyHook() {}
    virtual float GetX() const { return mX; }
    virtual float GetY() const { return mY; }
    virtual void SetScale(float s) { SetScaleXY(s, s); }
    virtual void SetScaleXY(float sx, float sy);
    virtual float GetScaleX() const { return mScaleX; }
    virtual float GetScaleY() const { return mScaleY; }
    virtual void Restart() {}
    virtual void SetAngle(float radians) { mAngle = radians; }
    virtual float GetAngle() const { return mAngle; }
    virtual void SetWidth(int w) { mWidth = static_cast<float>(w); }
    virtual int GetWidth() const;
    virtual void SetHeight(int h) { mHeight = static_cast<float>(h); }
    virtual int GetHeight() const;

    const std::string& GetName() const { return mName; }
    void SetName(const std::string& name) { mName = name; }

    float mStartX = 0.0f;
    float mStartY = 0.0f;
    float mWidth = 0.0f;
    float mHeight = 0.0f;
    bool mDone = false;
    int32_t mId = 0;
    std::string mName;
    bool mVisible = true;
    float mX = 0.0f;
    float mY = 0.0f;
    float mOffsetX = 0.0f;  // added to the position when an image is drawn
    float mOffsetY = 0.0f;
    float mAlpha = 1.0f;
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mAngle = 0.0f;  // radians
    DrawObject* mParent = nullptr;
    float mTag = 0.0f;  // free for the kinds that need one more number
    int32_t mTcx = 0;   // transform centre: scene objects shift their drawn position by it
    int32_t mTcy = 0;
};
