// The scene object: the base of every picture, button and puzzle piece a room or pocket
// shows. It holds what its "object" element says (targets, sounds, hints, reaction lists,
// tasks, flags, states, tool records, executers, frame sheet) and owns its image, its
// effect and its children.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/draw_object.h"
#include "graphics/static_image.h"
#include "objects/object_refs.h"

class TiXmlElement;
class TBaseBuffer;
class TObjectListener;
class TGameSpace;
class TPocket;
class TExecuter;
class TEffector;
class TTool;
struct TSceneMouseEvent;

// The reaction lists, in the order they are declared and saved.
enum TReactionList {
    kUnlockAfterClick,
    kUnlockAfterTool,
    kUnlockAfterEvent,
    kLockAfterClick,
    kLockAfterTool,
    kLockAfterEvent,
    kActivateAfterClick,
    kActivateAfterTool,
    kActivateAfterEvent,
    kVisibleAfterTool,
    kVisibleAfterClick,
    kVisibleAfterEvent,
    kHideAfterTool,
    kHideAfterClick,
    kHideAfterEvent,
    kVisibleAfterToolCf,
    kVisibleAfterClickCf,
    kHideAfterToolCf,
    kHideAfterClickCf,
    kEffAfterTool,
    kEffAfterClick,
    kEffAfterEvent,
    kEffsAfterEvent,
    kEffsAfterTool,
    kEffsAfterClick,
    kDeactivateAfterClick,
    kDeactivateAfterTool,
    kDeactivateAfterEvent,
    kReactionListCount
};

// Hint modes of "hint_mod".
enum { kHintDefault = 0, kHintNone = 1, kHintShow = 2 };

// Where a drawn image shows a screen point: the draw's corner, rotation centre, scales and
// turn undone. ImagePointAt gives the image's own unscaled pixels (false when the image has no
// size on screen); ImagePixelAt the texture pixel, source rectangle included.
bool ImagePointAt(const StaticImage& image, int x, int y, float* u, float* v);
bool ImagePixelAt(const StaticImage& image, int x, int y, int* px, int* py);
// Whether a picture drawn anywhere shows the screen point, at the pictures' alpha threshold 63.
bool PictureShowsPoint(const StaticImage& image, int x, int y);
// An angle attribute in degrees, answered in radians. One that is not a number, or whose
// radians a saved track's thousandths could not hold, is brought in with one line naming the
// file and the attribute.
float GetAttrAngle(const TiXmlElement* element, const char* name, float defDegrees);

class TObject : public DrawObject {
public:
    // "Unlimited" clicks and tool uses.
    static constexpr int32_t kNoLimit = 99999999;
    static constexpr int32_t kMaxDrawType = 5;  // "drawtype" 0 to 5 place the picture; see GetX

    TObject();
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    ~TObject() override;

    float GetX() const override;
    float GetY() const override;
    int GetXInt() const;
    int GetYInt() const;
    float GetOwnerOffsetX() const;
    float GetOwnerOffsetY() const;

    virtual int GetTypeCode() const { return 0; }
    virtual void LoadXml(TiXmlElement* element, const std::string& dataFolder);
    virtual void OnLoaded() {}
    virtual void DestroyContents();
    // "default", "no_hint" or "show_hint"; another text leaves the mode as it is.
    void SetHintMode(const std::string& mode);

    // The tree. AddChild takes the object over when it answers true; an object already
    // somewhere below is refused and stays with its owner.
    virtual bool AddChild(TObject* object);
    // The removed object goes back to the caller (null when it was not found).
    std::unique_ptr<TObject> RemoveChild(TObject* object);
    bool ContainsInTree(const TObject* object) const;
    TObject* FindChild(const std::string& name) const;
    TObject* FindParentOf(const TObject* object);
    void SetListener(TObjectListener* listener);
    std::string GetFullName() const;
    TGameSpace* GetRootSpace() const;
    void BindEffector(TEffector* effector);
    virtual void ChildrenHookA(int value);
    virtual void ChildrenHookB(int value);
    virtual void ChildrenHookC(int value);
    virtual void ChildrenHookD(int value);
    virtual void OnRoomNotify() {}

    // Position and appearance. The third argument moves the children along.
    void SetPosition(float x, float y, bool moveChildren) override;
    virtual void MoveBy(int dx, int dy);
    int GetCenterX() const;
    int GetCenterY() const;
    // Where a hint points at the object: its centre moved by "hpx", "hpy".
    TIntPoint GetHintPoint() const;
    virtual void GetRect(float* x, float* y, float* w, float* h) const;
    // The smallest rectangle holding the children's; all zero without children.
    void GetChildrenRect(float* x, float* y, float* w, float* h) const;
    void CenterOrigin();
    void SetTextureCentre(int tcx, int tcy);
    // Object and image; a value outside [0, 1] is ignored.
    virtual void SetAlpha(float a);
    void SetVisible(bool visible) override;
    virtual bool IsMovable() const { return !mEffectorName.empty() || mMoveable; }
    void PlayEffector();
    void StopEffector();
    virtual void OnEffectorChannelFinished(int /*channel*/) {}
    void RemoveXoEffects();

    // Mouse input from the space. A move shares one "hover taken" flag among all objects.
    // The hit test's flag makes a locked object unhittable.
    virtual bool HitTest(int x, int y, bool respectLock);
    virtual bool OnMouseDown(const TSceneMouseEvent& event);
    virtual bool OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken);
    virtual bool OnMouseUp(const TSceneMouseEvent& event);
    virtual bool OnMouseDrag(const TSceneMouseEvent& event);
    // True when no further use would be accepted (with needed tools, tool uses count).
    bool IsLastAllowedUse() const;
    // Tools: whether the object takes any, whether it takes this one, which child does,
    // and which object (this or the child leading to it) needs a tool of that name.
    virtual bool HasToolUse() const;
    virtual bool AcceptsTool(TTool* tool);
    virtual TObject* FindChildAcceptingTool(TTool* tool);
    virtual TObject* FindObjectNeedingTool(const std::string& toolName);
    // Appends the hintable objects of this tree, this one first.
    virtual void CollectHintables(std::vector<TObject*>& collector);

    // Hits. The object's own test is made where its image shows; the tree's test tries the
    // object first, then its children from the last, and remembers the innermost one hit.
    virtual bool HitTestSelf(int x, int y);
    virtual bool GetLastHit(int x, int y, bool respectLock) const;
    TObject* GetHitObject();
    virtual TObject* FindChildAt(int x, int y, bool respectLock);
    virtual void OnMouseEnter(int x, int y);
    virtual void OnMouseLeave(int x, int y);

    // Uses. A counter runs -1, 0, ..., limit - 1: exactly limit uses are accepted.
    static bool IncUseCounter(int32_t& counter, int32_t limit);
    void ResetUses();
    virtual bool OnClickAccepted(const TSceneMouseEvent& event);
    virtual bool OnToolAccepted(const TSceneMouseEvent& event);
    // The click count after the freeze limit; kinds start their behaviour here.
    virtual void OnClickAction(int /*count*/, int /*x*/, int /*y*/) {}
    // Each run hands the listener the groups of its lists at the counter (or index).
    virtual void RunClickReactions(int x, int y);
    virtual void RunToolReactions(int x, int y);
    virtual void RunEventReactions(int index);
    void ApplyFlags(int index, const TFlagRefList& flags);
    void ApplyStates(int index, const TStateRefList& states);

    // Tools and their records.
    virtual bool OpensPocketWithTool(TTool* tool) const;
    virtual bool OpensMinigameWithTool(TTool* tool) const;
    // Depth first; a locked object's own names are skipped with skipLocked, not its children's.
    void CollectNeededTools(std::vector<std::string>& names, bool skipLocked) const;
    bool IsToolRecordUsed(const std::string& name) const;
    bool AllToolRecordsUsed() const;

    // Activation, lock and state flags.
    virtual bool CanRunXoEffect() const { return false; }
    virtual void StartXoEffect();
    virtual void Activate(int count, int x, int y);
    virtual void Deactivate(int count, int x, int y);
    virtual void ActivateSimple();
    void DeactivateSimple();
    virtual bool IsActive() const { return mActive; }
    virtual void Lock();
    virtual void Unlock() { mLocked = false; }
    bool IsLocked() const { return mLocked; }
    virtual bool IsGoalReached() const { return mGoalReached; }
    virtual void ResetBehaviour() {}

    // Hints.
    virtual bool IsHintable();
    virtual bool IsInert() const;
    virtual bool ProfileAllowsHint() const { return false; }
    // The pocket "pocket" names, in the room the object lies in; null in any other space.
    TPocket* GetPocketSpace() const;
    TGameSpace* FindMiniGameSpace() const;
    TGameSpace* FindRoomSpace() const;
    virtual bool LinksToRoomWithWork(bool force) const;

    // Uses, tool records and hints.
    // Sets the governing counter (tool uses with needed tools, else clicks) to its limit.
    void ExhaustUses();
    // Hands out the record at the index; false for an index outside the list.
    virtual bool UseToolRecord(int index, TToolRecordList& records);
    // The wrong-tool hint key; clears the wrong-tool flag unless the tool is a ghost catcher.
    virtual std::string GetWrongToolSound(TTool* tool);
    // The hint executer's text; empty without one, or when it is not of the hint kind.
    virtual std::string GetHintText(const TSceneMouseEvent& event);

    // Resources, update, drawing, show and hide.
    virtual void LoadResources();
    virtual void FreeResources();
    virtual void SyncImage();
    bool Update(float dt) override;
    void Draw(float alphaFactor) override;
    virtual void DrawSelf(float alphaFactor);
    virtual void DrawExtra() {}
    void DrawDebugFrame();
    virtual void OnSpaceFirstShown();
    virtual void OnSpaceShown();
    virtual void OnSpaceHidden();

    // The positional record of the object and, after it, of its children. A kind's own fields
    // follow its children's records.
    virtual void SaveState(TBaseBuffer& buffer);
    virtual void LoadState(TBaseBuffer& buffer);

    TObjectListener* mListener = nullptr;  // not owned
    int32_t mRefX = 0;  // drawn position recorded at the end of loading; movers measure from it
    int32_t mRefY = 0;
    bool mMoveable = false;
    std::string mCursorName;
    std::string mTypeName;
    std::string mStateKey;
    bool mHideAfterTakeTool = true;
    bool mLocked = false;
    bool mActive = false;
    bool mClickEnabled = true;
    bool mDummy = false;
    int32_t mClickCounter = -1;
    int32_t mToolCounter = -1;
    int32_t mFreezeClicks = 0;
    int32_t mFreezeToolClicks = 0;
    int32_t mMaxClicks = kNoLimit;
    int32_t mMaxToolUses = kNoLimit;
    int32_t mDrawType = 0;
    int32_t mAlphaThreshold = 25;
    std::vector<std::string> mNeededTools;
    mutable bool mGoalReached = false;  // kinds that measure their goal write it when asked
    bool mCheckOnlyBounds = false;
    bool mCacheColours = false;
    bool mWrongClickCountsForXo = true;
    bool mToolApplied = false;
    int32_t mHoldToolAfterUse = 0;
    bool mVisibleAfterTempTool = false;
    int32_t mBlendMode = kBlendAlpha;
    TGameSpace* mOwnerSpace = nullptr;  // not owned
    TObject* mHitDescendant = nullptr;
    bool mIgnoreSubObjects = false;
    std::string mActivationKind;
    bool mHovered = false;
    TObjectRefList mReactions[kReactionListCount];
    std::string mImagePath;
    std::vector<std::string> mHints;
    std::vector<std::string> mLockedHints;
    std::vector<std::string> mToolHints;
    std::vector<TWrongToolHint> mWrongToolHints;
    // Texts handed to the listener by use; no key fills it (a group copies its own to its parts).
    std::vector<std::string> mUseMessages;
    int32_t mHintCycle = 0;
    int32_t mReservedState = 0;
    TToolRecordList mToolRecords;
    TToolRecordList mAfterEventToolRecords;
    std::vector<std::unique_ptr<TObject>> mChildren;
    std::string mRoom, mRoomXo, mPocket, mMinigame, mDialog, mDialog2;
    TNameList mTasks, mTasksRemove;
    std::string mRoomAfterTool, mRoomXoAfterTool, mPocketAfterTool, mMinigameAfterTool, mDialogAfterTool,
        mDialogAfterTool2;
    TNameList mToolTasks, mToolTasksRemove, mEventTasks, mEventTasksRemove;
    TNameGroup mRobjAfterClick, mRobjAfterTool, mRobjAfterEvent;
    TNameGroup mAobjAfterClick, mAobjAfterTool, mAobjAfterEvent;
    TNameGroup mCobjAfterClick, mCobjAfterTool, mCobjAfterEvent;
    std::vector<std::string> mPocketTools;
    std::vector<std::string> mMinigameTools;
    bool mHideOnClick = false;
    TFlagRefList mToolFlags, mFlags, mEventFlags;
    TStateRefList mStates, mToolStates, mEventStates;
    std::unique_ptr<StaticImage> mImage;
    float mBlink = 0.0f;
    float mBlinkTimer = 0.0f;
    std::unique_ptr<DrawObject> mEffect;
    int32_t mBlinkOffsetX = 0;
    int32_t mBlinkOffsetY = 0;
    bool mLastHit = false;
    TExecuter* mClickExecuter = nullptr;  // shared prototypes of the registry
    TExecuter* mHintExecuter = nullptr;
    float mToolPower = 0.0f;
    bool mWrongToolPressed = false;
    std::string mParam1, mParam2;
    std::string mSound, mSoundTool, mSoundNeedTool, mSoundMouseEnter, mSoundMouseLeave;
    std::vector<std::string> mActivationSounds;
    std::string mEffectorName;
    TEffector* mEffector = nullptr;  // not owned
    float mClickDelay = 0.0f;
    float mClickDelayCountdown = 0.0f;
    std::vector<TFrameRect> mFrames;
    float mFrameDelay = 0.0f;
    int32_t mCurrentFrame = 0;
    float mFrameTimer = 0.0f;
    int32_t mAnimMode = 0;  // 1 "loop", 2 "noloop"
    TObject* mParentObject = nullptr;  // not owned
    bool mHintFromParent = true;
    int32_t mHintMode = kHintDefault;
    bool mHighlight = false;
    int32_t mHintPointX = 0;
    int32_t mHintPointY = 0;
    bool mSkipOwnerOffset = false;
    int32_t mClipX = 0, mClipY = 0, mClipW = 0, mClipH = 0;
    bool mCanRunXoEffect = false;
    bool mDrawChildrenFirst = false;
    int32_t mLayer = 0;
    bool mAllowClickWithTool = false;
    static constexpr bool kCentreShiftsPosition = true;  // a transform centre moves the drawn position

protected:
    // Through the root space; an object outside any space stays silent.
    void PlayThroughRootSpace(const std::string& name);
    // The last LoadState refused this object's own record. The kind's fields that follow are
    // part of that record: a kind still reads them (the records after them are found by their
    // place) but takes none of them.
    bool StateRefused() const { return mStateRefused; }

private:
    bool mStateRefused = false;

    void ReadToolRecords(const std::string& text);
    void ReadAfterEventToolRecords(const std::string& text);
    void ReadFrameSheet(TiXmlElement* element);
    void ShowCurrentFrame();
    void WriteCounter(TBaseBuffer& buffer, int32_t counter, int32_t maximum) const;
};
