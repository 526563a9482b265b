// Found items and collectibles: hidden objects that fade, flip or flash when found, the
// double-score marker, collection items and their notes, and the map's room locations.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "graphics/static_image.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"
#include "objects/object.h"

class TSimpleTextImage;
class TRoom;
struct TCollectionItem;

// Animation modes of a hidden object.
enum { kHiddenFlipFlop = 0, kHiddenFadeOnce = 1, kHiddenFlash = 2, kHiddenFlashRepeat = 3 };

class THiddenObject : public TObject {
public:
    ~THiddenObject() override;
    int GetTypeCode() const override { return 1; }

    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool Update(float dt) override;
    void Activate(int count, int x, int y) override;
    void OnClickAction(int count, int x, int y) override;
    void ResetBehaviour() override;
    // After the object's record: active, mode, target alpha, the flash, the fade.
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;

    // Starts the animation of the mode; a restore keeps the stored target.
    void StartFade(bool restoring);

    int32_t mMode = kHiddenFlipFlop;
    float mFadeTime = 0.0f;
    bool mStarted = false;
    IncValue mFade;
    PulseValue mFlash;
    float mTarget = 0.0f;
    float mMaxAlpha = 1.0f;
    float mMinAlpha = 0.0f;
    float mPause = 0.0f;
    IncValue mPauseTimer;
    std::vector<std::string> mStepSounds;

private:
    bool IsFlashMode() const { return mMode == kHiddenFlash || mMode == kHiddenFlashRepeat; }
    void ShowTweenAlpha();
    void PlayStepSounds();
    // Flip-flop and repeated flash go on after their pause.
    void StartNextStep();
};

class TDoubleScoreObject : public TObject {
public:
    ~TDoubleScoreObject() override;
    int GetTypeCode() const override { return 67; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;

    // Seconds; reading the element replaces it with the key's own default, 9.
    float mTime = 7.0f;
};

// Collected by a click: the catalogue marks it, the player gets its points and the spaces
// registry flies it away. Leaves the message dispatcher through its listener base when
// destroyed.
class TCollectionItemObject : public TObject, public TMyMessageListener {
public:
    ~TCollectionItemObject() override;
    int GetTypeCode() const override { return 64; }

    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void OnMessage(SharedPtr<TMyMessage> message) override;

    std::string MessageName() const { return "CollectionEffectDone" + mItemId; }

    std::string mItemId;
};

// The alpha of a note is its own alpha times a factor that dims what is not collected yet.
// The alpha before the factor is kept, so that the factor applies once however often the
// resources are loaded again.
struct TNoteAlpha {
    float mFactor = 1.0f;
    float mBase = 1.0f;

    // The product when it lies in [0, 1]; false leaves the object as it is.
    bool Product(float* alpha) const;
    // Gives the object (and its image) the product.
    void Apply(TObject& object) const;
    // A new alpha before the factor, kept when its product is taken.
    void Set(TObject& object, float alpha);
};

class TNoteCollectionObject : public TObject {
public:
    ~TNoteCollectionObject() override;
    int GetTypeCode() const override { return 65; }

    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    void SetAlpha(float a) override;

    TNoteAlpha mNoteAlpha;
};

class TNoteCollectionItemObject : public TObject {
public:
    TNoteCollectionItemObject();
    ~TNoteCollectionItemObject() override;
    int GetTypeCode() const override { return 66; }

    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    void SetAlpha(float a) override;
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    void OnMouseEnter(int x, int y) override;
    void OnMouseLeave(int x, int y) override;

    TNoteAlpha mNoteAlpha;
    std::unique_ptr<TSimpleTextImage> mLabel;  // drawn here, never by the window manager
    IncValue mLabelFade;
    float mLabelFadeTime = 0.2f;
    TCollectionItem* mItem = nullptr;  // the catalogue's; it outlives the scenes
};

// A location on the map, linked to the room of its name: state images, a room-name label,
// and a click that leaves the map for the room.
class TMapObject : public TObject {
public:
    TMapObject();
    ~TMapObject() override;
    int GetTypeCode() const override { return 53; }

    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    void FreeResources() override;
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    void DrawExtra() override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void OnSpaceShown() override;
    void OnSpaceHidden() override;
    void SetAlpha(float a) override;

    bool mIsCurrent = false;
    bool mHasTask = false;
    bool mUnavailable = true;
    StaticImage mCurrentImage, mTaskImage, mUnavailableImage;
    AlphaStaticImage mOutlineImage, mPreviewImage;
    int32_t mLabelOffsetX = 15;
    int32_t mLabelOffsetY = 115;
    float mOutlineTime = 0.3f;
    float mPreviewTime = 0.3f;
    int32_t mPreviewOffset = 10;
    int32_t mPreviewX = 0;
    int32_t mPreviewY = 0;
    TLineMover mPreviewMover;
    std::unique_ptr<TSimpleTextImage> mLabel;  // drawn here, never by the window manager
    TRoom* mLinkedRoom = nullptr;  // not owned
    bool mHidden = false;

private:
    void ClearHoverAlphas();
};
