// Item place puzzles: places that hold items, handed out with tools and dropped on other
// places, and the handles that hold the places of one puzzle and see when each holds its own.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/static_image.h"
#include "graphics/trajectories.h"
#include "objects/container_objects.h"

class TPlacesHandleBase;

// What both kinds of place share: the item image shown once the place is set, the take
// sound, the lock after set, and the tool that carries its item away.
class TPlaceObjectBase : public TObject {
public:
    TPlaceObjectBase();
    // No tool keeps pointing at a place that is gone.
    ~TPlaceObjectBase() override;
    void Draw(float alphaFactor) override;
    int GetTypeCode() const override { return 33; }
    void LoadResources() override;
    void FreeResources() override;
    void Activate(int count, int x, int y) override;
    void Unlock() override;
    bool UseToolRecord(int index, TToolRecordList& records) override;
    bool IsMovable() const override { return true; }
    std::string GetWrongToolSound(TTool* tool) override;

    virtual bool IsInPlace() const = 0;
    // Set once; with lock after set the place locks and shows its item image.
    void MarkSet();

    bool mTaken = false;
    TPlacesHandleBase* mHandle = nullptr;  // not owned; set when the space is shown
    bool mActivated = false;
    bool mSet = false;
    bool mLockAfterSet = false;  // "lock_after_set"
    std::unique_ptr<StaticImage> mItemImage;
    std::string mTakeSound;  // "soundtake"

protected:
    void LoadPlaceXml(TiXmlElement* element, const std::string& dataFolder);
    // The restored set flag locks the place again and shows its item image.
    void RestoreSet();
    // The texture the carried tool shows under the cursor; "" for none.
    virtual std::string CursorTextureName() const = 0;
    virtual bool CentresItemImage() const = 0;
};

// Shows one of its child variants, chosen by its index; two places exchange their indexes.
class TPlacesItemsObject : public TPlaceObjectBase {
public:
    ~TPlacesItemsObject() override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceShown() override;
    bool IsInPlace() const override;

    // Shows variant n and takes its position and size; the correct one sets the place.
    void SelectIndex(int n);

    int32_t mIndex = 0;         // "index"
    int32_t mCorrectIndex = 0;  // "correctindex"

protected:
    std::string CursorTextureName() const override;
    bool CentresItemImage() const override { return mDrawType == 1; }
};

// Shows its own image; two places exchange their images and the displaced one slides over.
class TPlacesObject : public TPlaceObjectBase {
public:
    ~TPlacesObject() override;
    bool Update(float dt) override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    bool IsInPlace() const override;

    void ExchangeWith(TPlacesObject& source);
    bool IsSliding() const { return mMover.mActive; }

    std::string mNeededImage;  // "needed_image", with the folder in front
    TLineMover mMover;

protected:
    std::string CursorTextureName() const override;
    bool CentresItemImage() const override { return false; }
};

// Holds the places of one puzzle as its children, passes them the mouse first to last, locks
// and unlocks them together and runs its reactions when every place holds its own.
class TPlacesHandleBase : public TTransparentObject {
public:
    ~TPlacesHandleBase() override;
    // Drawn as a plain object; a place sliding its image is drawn once more on top.
    void Draw(float alphaFactor) override;
    int GetTypeCode() const override { return 32; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnSpaceShown() override;
    void Unlock() override;
    void Lock() override;

    // The child as a place of this handle's kind, or null.
    virtual TPlaceObjectBase* AsPlace(TObject* child) const = 0;
    // Marks every place found in place; true when all are.
    bool CheckComplete();
    // The check, then the reactions when it succeeds and the handle is unlocked.
    void CheckAndReact();

    float mMovingTime = 0.001f;   // "moving_time", seconds per pixel
    bool mAlignToCenter = false;  // "align_to_center"
};

// Built for a handle name and its "2" twin alike; only the type name tells them apart.
class TPlacesItemsHandleObject : public TPlacesHandleBase {
public:
    ~TPlacesItemsHandleObject() override;
    void OnSpaceFirstShown() override;
    TPlaceObjectBase* AsPlace(TObject* child) const override;
};

class TPlacesHandleObject : public TPlacesHandleBase {
public:
    ~TPlacesHandleObject() override;
    TPlaceObjectBase* AsPlace(TObject* child) const override;
};
