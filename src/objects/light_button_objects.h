// Light buttons, button sequences and the objects that change their picture on a click or
// an activation.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/container_objects.h"

// A button that lights on a press and goes dark on the next, or by itself after a while.
class TLightCheckButtonObject : public TObject {
public:
    ~TLightCheckButtonObject() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    void Reset() override;  // light off
    int GetTypeCode() const override { return 27; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool HitTestSelf(int x, int y) override;

    const StaticImage& ShownImage() const { return mPushed ? mPushedImage : mNormalImage; }

    StaticImage mNormalImage;
    StaticImage mPushedImage;
    float mUnpushTime = 0.0f;  // "unpushtime": above 0, the light goes off by itself
    IncValue mUnpushTimer;
    bool mPushed = false;
};

// Unlocking turns its light off.
class TLCBResetOnUnlockObject : public TLightCheckButtonObject {
public:
    ~TLCBResetOnUnlockObject() override;
    int GetTypeCode() const override { return 28; }
    void Unlock() override;
};

// Its buttons are its children, to be pressed in the right order.
class TButtonSequenceControlObject : public TObject {
public:
    ~TButtonSequenceControlObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 17; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void Unlock() override;
    bool HitTestSelf(int x, int y) override;

    bool IsSolved() const;
    // True when every button is locked (and without buttons).
    bool AllButtonsLocked() const;
    // Every button opens again and the presses so far no longer count.
    void ResetButtons();

    std::vector<std::string> mRightSequence;    // "right_seq"
    std::vector<std::string> mPressedSequence;  // child names in press order
    std::string mGameStateKey;                  // "hasgamestate"
    TTimer mUnlockTimer;
    float mUnlockTime = 0.5f;  // "unlock_time"
    std::string mErrorHint;    // "ehint"
    std::string mWrongSound;   // "wrongsound"
};

// Steps through a ring of pictures on every click, cross-fading into the next.
class TChangeOnClickObject : public TObject {
public:
    ~TChangeOnClickObject() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 70; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    bool HitTestSelf(int x, int y) override;

    bool IsCorrect() const { return mCurrent == mCorrectIndex; }

    int mCorrectIndex = 0;      // "correct_idx"
    float mMorphTime = 0.2f;    // "morphing_time"
    std::vector<std::unique_ptr<AlphaStaticImage>> mImages;
    int mCurrent = 0;
    int mPrevious = 0;

private:
    AlphaStaticImage* ImageAt(int index) const;
};

// Runs its event reactions after every press a child takes that leaves all its change-on-click
// children right.
class TChangeOnClickParentObject : public TTransparentObject {
public:
    ~TChangeOnClickParentObject() override;
    int GetTypeCode() const override { return 71; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;

    bool AllChildrenCorrect() const;
};

// Fades out and into its next picture whenever it is activated.
class TChangeOnActivateObject : public TObject {
public:
    ~TChangeOnActivateObject() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 76; }
    void LoadResources() override;
    void FreeResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void Activate(int count, int x, int y) override;

    // -1 without pictures.
    int GetShownIndex() const { return mImages.empty() ? -1 : mCurrent; }

    float mFadeTime = 0.1f;  // "alpha_time"
    std::vector<std::unique_ptr<AlphaStaticImage>> mImages;
    int mCurrent = 0;
};

// Complete, once, when its change-on-activate children stand at the "idxs" pictures.
class TChangeOnActivateParentObject : public TObject {
public:
    ~TChangeOnActivateParentObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 77; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnLoaded() override;

    bool AllAtIndex() const;

    std::vector<int> mIndices;                          // "idxs"
    std::vector<TChangeOnActivateObject*> mChangers;    // direct children, not owned
};
