// One scene: a room, a pocket or a mini-game screen. It owns the scene objects of its file
// and the effectors that animate them, updates them each frame, draws them layer by layer
// inside its clip rectangle, hands presses, moves and releases to them from the topmost
// down, tells which cursor the object under a point wants, and on show, hide and close runs
// its name lists: forwards to its owner, profile pairs, game events and sounds. Rooms and
// pockets derive from it and keep or extend what it does. Its scroll offset is the
// DrawObject offset pair, which its objects add to their drawn positions.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/draw_object.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/object_refs.h"
#include "rooms/scene_listeners.h"

class TiXmlElement;
class TBaseBuffer;
class TEffector;
class TTool;
struct TSceneMouseEvent;

// An "itemtofind" record of a space file. Nothing reads the records after loading.
struct ItemToFindRecord {
    std::string mId;
    StaticImage mImage;
};

// Space type bits of GetSpaceType.
enum { kSpaceRoom = 1, kSpaceMiniGame = 4, kSpacePocket = 8 };

class TGameSpace : public TGameSoundPlayer, public DrawObject, public TObjectListener {
public:
    TGameSpace();
    TGameSpace(const TGameSpace&) = delete;
    TGameSpace& operator=(const TGameSpace&) = delete;
    ~TGameSpace() override;

    using DrawObject::Draw;

    // Sounds played for the objects and the show sounds; the answer is the number of names.
    void PlaySound(const std::string& name) override;
    int PlayShowSounds() override;

    virtual int GetSpaceType() const { return 0; }
    virtual bool IsSpaceType(int mask) const;
    // Time, closed and mark flags and the effector references go; with deleteAll the
    // effectors and objects go too.
    virtual void Clear(bool deleteAll);
    virtual void UnloadResources();
    virtual int LoadResources(int mode);
    virtual void LoadState(TBaseBuffer& buffer);
    // Empty here: rooms load their file.
    virtual bool LoadFromXml(const std::string& path);
    virtual void LoadAttributes(TiXmlElement* common);
    virtual void LoadObjectsBinary(TBaseBuffer& buffer);
    virtual void LoadObjects(TiXmlElement* element, TObject* parent);
    virtual void LoadObjectStates(TiXmlElement* common);
    virtual void SaveObjectsBinary(TBaseBuffer& buffer);
    // Rooms call it as the last step of loading their file.
    virtual void OnFileLoaded() {}
    virtual void OnShow();
    virtual int OnHide();
    virtual void Finish() {}
    virtual void OnFirstShow();
    virtual std::string GetHintText() const { return mHintText; }
    virtual std::string GetRules() const { return mRules; }
    virtual std::string GetHelpFontName() const { return mHelpFontName; }
    virtual void SetMark() { mMark = true; }
    virtual bool ReservedHook24() { return true; }
    virtual void CloseMiniGame();
    virtual bool ReservedHook26() { return true; }
    virtual void Draw();
    virtual void DrawLayer1();
    virtual void DrawLayer2();
    virtual void DrawHintEffect();
    virtual void AddTime(float seconds) { mTime += seconds; }
    virtual void SaveState(TBaseBuffer& buffer);
    virtual bool OnMouseDown(const TSceneMouseEvent& event);
    virtual bool OnMouseMove(const TSceneMouseEvent& event);
    virtual bool OnMouseUp(const TSceneMouseEvent& event);
    // Rooms hand drags to their objects.
    virtual bool OnMouseDrag(const TSceneMouseEvent& /*event*/) { return false; }
    virtual void ReservedHook37() {}
    virtual void ReservedHook38() {}
    virtual void LoadObjectResources(int mode);
    virtual void FreeObjectResources();
    virtual void SaveObjectsHook() {}
    virtual int OnResourcesLoaded(int /*mode*/) { return 0; }
    virtual bool ShowHint();
    virtual bool IsHintPending() const { return mHintPending; }
    virtual void NotifyOwner(int /*value*/) {}
    virtual void LoadMusic(TiXmlElement* common);
    virtual void OpenSounds();
    virtual void LoadSound(TiXmlElement* root);
    virtual void CloseSounds();
    virtual bool CanBeOpened() const { return mCanBeOpened; }
    // Rooms ask it of their open pocket every frame.
    virtual bool ReservedHook51() { return false; }
    virtual void ReservedHook52(int /*value*/) {}
    virtual void MoveBy(int /*dx*/, int /*dy*/) {}
    // 0 when the file cannot be read.
    virtual int OpenFile(const std::string& path);
    virtual bool ReservedHook55(int /*value*/) { return false; }
    virtual void ReservedHook56() {}
    virtual void BroadcastHookC(int value);
    virtual void BroadcastHookD(int value);
    virtual void DisableInput() { mInputDisabled = true; }
    virtual void EnableInput() { mInputDisabled = false; }
    virtual TObject* TopmostFlaggedObject() const;
    virtual TObject* GetObjectAt(int x, int y);
    virtual TObject* GetObjectAtForClick(int x, int y);
    virtual TObject* FindObjectNeedingTool(const std::string& toolName) const;
    // Null outside [0, GetEffectorCount()).
    virtual TEffector* GetEffector(int index) const;
    virtual int GetEffectorCount() const { return static_cast<int>(mEffectors.size()); }
    // False with "" when nothing usable is under the point.
    virtual bool GetCursorName(int x, int y, std::string& name);
    // Stops the show sounds; the answer is the number of names, not of sounds stopped.
    virtual int StopShowSounds();
    virtual void HighlightObjects(int /*flag*/) {}
    virtual void RemoveXoEffects() {}
    // By drawing name, exact case; each top-level object's descendants before the next one.
    virtual TObject* FindObject(const std::string& name) const;
    virtual bool ContainsPoint(int x, int y) const;
    virtual void ReservedHook73() {}
    virtual void ReservedHook74() {}
    virtual int ReservedHook75() { return 0; }
    virtual void ReservedHook76() {}
    virtual void LoadEffectors(TiXmlElement* root);
    // An effector named by several objects ends targeting the last of them.
    virtual void BindEffectors();
    virtual bool IsHintAvailable() { return false; }

    // The drawable's part: tweens into the scroll offset, own effector, objects, effects.
    bool Update(float dt) override;
    void Reset() override {}

    // The object under the point, from the topmost down; flag is the hit test's
    // respect-lock argument.
    TObject* ObjectAt(int flag, int x, int y);
    TObject* FindOwnerObject(const TObject* object) const;
    void DestroyObjects(bool deleteAll);
    void SetObjectsListener(TObjectListener* listener);
    std::string GetFullKey() const;
    std::string GetRootName() const;
    void CollectHintables(std::vector<TObject*>& collector);
    // One entry per given object: the object of this space that hands out the first tool
    // of its "tools" records, or null.
    bool FindToolGivers(const std::vector<TObject*>& objects, std::vector<TObject*>& givers);
    // There is no inventory panel in this game: nothing is ever found.
    bool FindInventoryToolForHint(const std::vector<TObject*>& objects, int& objectIndex, int& slot);
    void LoadItemsToFind(TiXmlElement* root);
    void LoadItemToFind(TiXmlElement* element, ItemToFindRecord& record);
    void DrawObjectsOfLayer(int layer);
    TGameSpaceListener* GetOwnerListener() const { return mOwnerListener; }
    void SetOwnerListener(TGameSpaceListener* owner) { mOwnerListener = owner; }

    // What the objects report: the base space hands it on to its owner.
    bool RunCommands(const TToolRecordList* records, TObject* object, float delay) override;
    void UnlockObjects(const TObjectRefGroup* group) override;
    void LockObjects(const TObjectRefGroup* group) override;
    void ActivateObjects(const TObjectRefGroup* group) override;
    void DeactivateObjects(const TObjectRefGroup* group) override;
    void ShowObjects(const TObjectRefGroup* group) override;
    void HideObjects(const TObjectRefGroup* group) override;
    void ApplyEffList(const TObjectRefGroup* group, TObject* object) override;
    void ApplyEffsList(const TObjectRefGroup* group, TObject* object) override;
    void AddTasks(const TNameGroup* tasks, TObject* object) override;
    void RemoveTasks(const TNameGroup* tasks, TObject* object) override;
    void ApplyAobj(const TNameGroup* names, TObject* object) override;
    void ApplyRobj(const TNameGroup* names, TObject* object) override;
    void ApplyCobj(const TNameGroup* names, TObject* object) override;

    // Applies the show or hide lists' groups at the index: the six object lists through
    // this space's own listener operations, then the profile pairs, then the events.
    void ApplyIndexedGroups(const TObjectRefList* const lists[6], const TStateRefList& states,
                            const TFlagRefList& flags, int index);
    // The "robjshow", "cobjshow" and "aobjshow" lists to the owner, while never shown.
    void ApplyFirstShowNames();

    int32_t mRectX = 0, mRectY = 0, mRectW = 0, mRectH = 0;
    int32_t mLoadedX = 0, mLoadedY = 0, mLoadedW = 0, mLoadedH = 0;  // pockets
    int32_t mShowCount = 0;
    std::string mSpaceName;  // keys the sound list, the "GSD" pair and the registry
    bool mShowRequest = false;
    bool mInputDisabled = false;
    std::string mHintText;
    std::string mRules;
    std::string mFilePath;
    float mTime = 0.0f;
    // The space this one lies in (a pocket in its room); null for an outermost space.
    TGameSpace* mParentSpace = nullptr;
    bool mMark = false;
    bool mHintUsed = false;
    bool mClosed = false;
    bool mResetButton = false;
    std::vector<std::string> mShowSounds;  // rooms: "runsounds"
    std::vector<std::string> mMusic;
    bool mStartMusicNow = true;
    int32_t mAnywayStartMusicAfterShowCount = 0;
    bool mStopPrevMusic = true;
    std::string mDataFolder;
    bool mHasLeft = false, mHasTop = false, mHasRight = false;
    std::string mLeftRoom, mTopRoom, mRightRoom;
    StaticImage mImage;
    std::vector<std::unique_ptr<TEffector>> mEffectors;
    // Each loaded object's "effector" text, nested objects' included.
    std::vector<std::string*> mEffectorRefs;
    std::unique_ptr<TEffector> mOwnEffector;
    std::string mRoomTextA, mRoomTextB;

protected:
    TGameSpaceListener* mOwnerListener = nullptr;  // not owned; rooms set it

public:
    std::string mStateKey;  // computed once, then kept
    std::string mSavedText;
    std::vector<std::string> mRoomTexts;
    bool mResourcesLoaded = false;
    bool mSaved = false;
    std::string mHelpFontName = "default16";
    int32_t mRoomValue = 0;
    std::vector<int32_t> mRoomValues;
    int32_t mHintPointX1 = 0, mHintPointY1 = 0, mHintPointX2 = 0, mHintPointY2 = 0;
    TTool* mCurrentTool = nullptr;   // the tool of the last press or move; not owned
    TObject* mPressedObject = nullptr;  // written, never read
    TObjectRefList mUnlock, mLock, mActivate, mDeactivate, mVisible, mHide;
    TObjectRefList mUnlockShow, mLockShow, mActivateShow, mDeactivateShow, mVisibleShow, mHideShow;
    TObjectRefList mUnlockHide, mLockHide, mActivateHide, mDeactivateHide, mVisibleHide, mHideHide;
    TFlagRefList mFlagsShow, mFlagsHide, mFlags;
    TStateRefList mStates, mStatesShow, mStatesHide;
    TNameGroup mAobj, mRobj, mCobj, mAobjShow, mRobjShow, mCobjShow;
    TNameList mTasks;  // "tasksshow" or "taskshide"
    TNameList mTasksShowRemove;
    TNameList mTasksRemove;  // "tasksr"
    bool mFreeze = false;
    bool mFreezeHide = false;
    std::vector<std::unique_ptr<TObject>> mObjects;  // file order; the last is the topmost
    std::vector<ItemToFindRecord> mItemsToFind;
    int32_t mClipX = 0, mClipY = 0, mClipW = 0, mClipH = 0;
    int32_t mVirtualWidth = 0, mVirtualHeight = 0;
    IncValue mOffsetTweenX;
    IncValue mOffsetTweenY;
    std::string mShowSound;
    std::string mHideSound;
    bool mUpdateObjects = true;
    bool mHintPending = false;
    std::unique_ptr<DrawObject> mEffects[3];  // the third is the hint effect
    bool mCanBeOpened = true;
    std::vector<std::string> mConnectedRooms;
    std::vector<TGameSpace*> mConnectedSpaces;  // not owned
    bool mCanShowBackHint = true;
    bool mToolsOpenPockets = true;
};

// The spaces of a game shell and the current one. This game never fills one.
class TSpacesRegistry {
public:
    virtual ~TSpacesRegistry() = default;
    // "" answers the current space; otherwise the first space of exactly that name.
    TGameSpace* FindSpace(const std::string& name) const;
    // A collected item's fly-in from (x, y); its end posts the message. Here the fly-in takes
    // no time: the message goes out at the next dispatch.
    virtual void StartCollectionEffect(int x, int y, const std::string& picture, float scale,
                                       const std::string& message, int points, const std::string& itemId);
    virtual void OnCollectionEffectDone(const std::string& /*itemId*/) {}

    std::vector<TGameSpace*> mSpaces;  // not owned
    TGameSpace* mCurrent = nullptr;
    float mGhostSpeed = 1.0f;  // ghosts flee faster above 1
};
