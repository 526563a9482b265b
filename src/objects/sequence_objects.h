// Objects that show their children one at a time, hold the objects of an animation file,
// or switch between pictures placed frame by frame.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/object.h"

// Shows one child at a time, each for "speed" seconds, for "count" passes (-1 endless),
// then reports the end through its event reactions.
class TCadrItemsObject : public TObject {
public:
    ~TCadrItemsObject() override;
    int GetTypeCode() const override { return 19; }

    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool Update(float dt) override;
    void Activate(int count, int x, int y) override;
    void OnSpaceFirstShown() override;
    // The object's record, then the shown child index.
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;

    void ShowChild(int32_t index);

    IncValue mStepTimer;  // its duration is "speed"
    int32_t mLoopLimit = 1;
    int32_t mShownIndex = 0;
    int32_t mLoopsDone = 0;
    bool mShowOnFirstDisplay = true;
};

// Takes the objects of one of the room's anim files as its children and passes them the
// mouse, last drawn first; its own click handling never runs.
class TAnimFileObject : public TObject {
public:
    ~TAnimFileObject() override;
    int GetTypeCode() const override { return 39; }

    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;
};

// A picture that cross-fades from frame to frame and stands where "poss" puts the current
// frame.
class TSwitcherObject : public TObject {
public:
    TSwitcherObject();
    ~TSwitcherObject() override;
    int GetTypeCode() const override { return 2; }

    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool Update(float dt) override;
    // Frees the textures and keeps the children and the frame names.
    void FreeResources() override;
    void DestroyContents() override;
    void OnSpaceShown() override;
    void Activate(int count, int x, int y) override;
    void OnClickAction(int count, int x, int y) override;
    void ResetBehaviour() override;

    void StartSwitch();
    void NextFrameIndex();
    // One picture per frame name, placed at the frame's point.
    void LoadFrames();
    void DrawFrames();

    int32_t mRun = 1;
    int32_t mLooped = 1;
    std::vector<std::unique_ptr<StaticImage>> mFrameImages;
    std::vector<std::string> mFrameNames;
    float mSpeed = 0.0f;
    float mDelay = 0.0f;
    IncValue mDelayTimer;
    int32_t mCurrentIndex = 0;
    int32_t mTargetIndex = 0;
    int32_t mFrameCount = 0;
    std::vector<TIntPoint> mPositions;
    IncValue mFade;
    int32_t mFading = 0;
    bool mStarted = false;
    bool mActivateOnShow = false;
    std::string mFolder;

private:
    const TIntPoint* PositionOf(int32_t index) const;
    StaticImage* FrameImage(int32_t index) const;
};

// "x,y" as the frame positions write it; what does not read stays 0.
TIntPoint ParseFramePoint(const std::string& text);
