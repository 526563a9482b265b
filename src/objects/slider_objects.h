// Sliders and spinners: a thumb slid along a track or dragged, one springing back, and
// spinners stepped through their pictures alone, in a sequence or echoing another.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/container_objects.h"

// A thumb on a track: a press on the thumb picks it up and the pointer carries it along until
// the next left press puts it down.
class TSliderObject : public TObject {
public:
    ~TSliderObject() override;
    void Draw(float alphaFactor) override;
    // Back to the default value, but never under the player's hand.
    void Reset() override;
    int GetTypeCode() const override { return 35; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    bool HitTest(int x, int y, bool respectLock) override;
    bool IsMovable() const override { return true; }

    // Values outside 0..1, and a value that is not a number, change nothing.
    void SetValue(float value);

    std::string mSlideSound;
    int32_t mGrabOffset = 0;
    int32_t mLength = 0;
    float mValue = 0.0f;
    float mDefaultValue = 0.0f;  // "def_val"
    bool mDragging = false;
    bool mHorizontal = true;
    StaticImage mTrackImage;
    StaticImage mThumbImage;

protected:
    // The thumb follows the pointer while dragging.
    void DragTo(const TSceneMouseEvent& event);
};

// The thumb moves only while the button is held on it.
class TDragSliderObject : public TSliderObject {
public:
    ~TDragSliderObject() override;
    int GetTypeCode() const override { return 36; }
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;
};

// A drag slider that slides back to its default value after every release.
class TSpringedObject : public TDragSliderObject {
public:
    ~TSpringedObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 37; }
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;

    void StartSpringBack();

    IncValue mSpring;
    float mSpringTime = 0.1f;  // seconds, "time"
};

// A reel of pictures inside one clip rectangle: each press slides the previous picture of the
// list down into view while the shown one slides out below.
class TSpinnerObject : public TObject {
public:
    ~TSpinnerObject() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 72; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    bool HitTestSelf(int x, int y) override;

    void Step();
    // The leaving picture while a step is under way, else the current one; -1 without one.
    int GetShownIndex() const;
    bool IsStepping() const { return mLeaving >= 0; }

    int32_t mStepHeight = 0;  // "dy"
    float mStepTime = 0.2f;   // "time"
    IncValue mStep;           // the y of the entering picture
    std::vector<std::unique_ptr<TClippingImage>> mImages;
    int mCurrent = -1;
    int mLeaving = -1;

private:
    TClippingImage* ImageAt(int index) const;
};

// Complete when its spinner children show the "correct" pictures.
class TSpinnerSequenceObject : public TTransparentObject {
public:
    ~TSpinnerSequenceObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 73; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnLoaded() override;

    bool IsSolved() const;

    std::vector<int> mCorrect;
    std::vector<TSpinnerObject*> mSpinners;  // direct children, not owned
};

// Shows elsewhere the picture a spinner shows, from its own set of pictures.
class TSpinnerEchoObject : public TObject {
public:
    ~TSpinnerEchoObject() override;
    void Draw(float alphaFactor) override;
    int GetTypeCode() const override { return 74; }
    void LoadResources() override;
    void FreeResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnSpaceShown() override;

    std::string mSourceName;  // "objname": pocket names and the object name joined by '.'
    std::vector<std::unique_ptr<StaticImage>> mImages;
    TSpinnerObject* mSource = nullptr;  // not owned

private:
    void FindSource();
};
