// Rooms: location scenes loaded from a room file. A room owns its scene objects, pockets,
// items lists and tools, updates its objects itself (revealing ghost and infrared objects
// through the ghost catcher's lens), draws its first layer inside its clip rectangle, routes
// presses to its open pocket first and saves its state with its pockets' states. The main
// menu keeps one behind its buttons.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/objects_manager.h"
#include "rooms/game_space.h"
#include "rooms/items_list.h"
#include "rooms/show_pocket_effector.h"

class TiXmlElement;
class TObject;
class TPocket;
class TToolsList;
class TFaderShadow;
class TLensTarget;
class TInfraredObject;

struct TFloatRect {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
};

// The overlap of two rectangles; all four values 0 when they do not meet.
TFloatRect RectIntersect(const TFloatRect& a, const TFloatRect& b);

class TBaseRoom : public TGameSpace,
                  public TItemsListListener,
                  public ObjectsManagerListener,
                  public TShowPocketEffectorListener {
public:
    TBaseRoom();
    ~TBaseRoom() override;

    using TGameSpace::Draw;

    int GetSpaceType() const override { return kSpaceRoom; }
    // Updates the objects itself: ghosts and infrared objects only under the lens.
    bool Update(float dt) override;
    // The first layer inside the clip rectangle, then the effects and the overlay.
    void Draw() override;
    void OnShow() override;
    int OnHide() override;
    bool OnMouseDrag(const TSceneMouseEvent& event) override;
    void MoveBy(int dx, int dy) override;
    void NotifyOwner(int value) override;
    // The objects' records, then the show hint text.
    void SaveObjectsBinary(TBaseBuffer& buffer) override;
    void LoadObjectsBinary(TBaseBuffer& buffer) override;
    // The list at the current index, or null; also kept as the current list.
    ItemsList* GetCurrentList();

    void Signal() override;
    void OnObjectMouseEnter(TObject* object, const TSceneMouseEvent& event) override;
    void OnObjectMouseLeave(TObject* object, const TSceneMouseEvent& event) override;
    void OnObjectMouseOver(TObject* object, const TSceneMouseEvent& event) override;
    void OnObjectMouseDown(TObject* object, const TSceneMouseEvent& event) override;

    void OnShowPocketDone(TShowPocketEffector* /*effector*/) override {}

    // An object's event goes out as a game event that names the object.
    bool PostObjectEvent(const std::string& name, int value, TObject* object) override;
    bool PostObjectEventRecord(const TFlagRef& record, TObject* object) override;
    // Each top-level object is flagged when it has something to do (with the highlight option).
    void HighlightObjects(int on) override;

    // ---- As the listener of its items lists (a found entry's tool: nothing here).
    // Group 0 of the list's completion lists through the room's own operations, then its
    // events and profile pairs.
    void OnListComplete(ItemsList* list) override;
    // ---- End of the items-list answers.

    ItemsList* mCurrentList = nullptr;  // one of mLists
    int32_t mCurrentListIndex = 0;      // -1 for none
    std::vector<std::unique_ptr<ItemsList>> mLists;
    bool mListsPresent = false;
    std::string mCloseFlag;
    std::string mToolName;
    std::string mSubToolName;
    std::string mShowHintText;  // tip key shown on every show
    bool mDuplicatedCursor = false;
    ObjectsManager mOverlay;  // drawn over the objects; owns its entries

protected:
    // The room as the owner knows it (the owner's frame notice takes a room).
    virtual TRoom* AsRoom() { return nullptr; }

private:
    void UpdateUnderLens(TObject* object, TLensTarget* target, TInfraredObject* infrared, float dt);
    // A ghost shows only under the lens of the ghost catcher in hand, at the pointer.
    bool GhostSeenAtPointer(const TObject* ghost) const;
};

class TRoom : public TBaseRoom {
public:
    // Far beyond any player's shows; a saved count past it is refused.
    static constexpr int32_t kMaxShowCount = 1000000;
    TRoom();
    ~TRoom() override;

    virtual void ReleasePocketResources();
    virtual void PlaceFrame(TiXmlElement* /*element*/) {}
    virtual void SetListener(TGameSpaceListener* owner);
    virtual TPocket* FindPocket(const std::string& name);
    // With an open pocket that does not take the request itself, that pocket finishes.
    virtual bool HandleBack(int flag);
    // False while the room is already collecting (a pocket's object naming that pocket).
    virtual bool HasHintables();
    // The back arrow at the back-hint point, else at the inventory's back button; nothing
    // without either.
    virtual void ShowBackHint();
    virtual TPocket* CreatePocket(const std::string& name, const std::string& type);
    // Fills every pocket-opening object's list of tools that open its pocket.
    virtual void CheckToolsToOpenPockets();
    // Each mini-game-opening object whose mini-game space is registered takes what opens it.
    virtual void CheckToolsToOpenMinigames();

    // A file that cannot be read leaves an empty room that draws nothing.
    bool LoadFromXml(const std::string& path) override;
    void LoadAttributes(TiXmlElement* common) override;
    void LoadObjectResources(int mode) override;
    void FreeObjectResources() override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    void OnShow() override;
    int OnHide() override;
    void OnFirstShow() override;
    void Finish() override;
    void Clear(bool deleteAll) override;
    bool Update(float dt) override;
    void Draw() override;
    void DrawLayer1() override;
    void DrawHintEffect() override;
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    bool OnMouseMove(const TSceneMouseEvent& event) override;
    bool OnMouseUp(const TSceneMouseEvent& event) override;
    bool GetCursorName(int x, int y, std::string& name) override;
    TObject* FindObject(const std::string& name) const override;
    TObject* GetObjectAt(int x, int y) override;
    TObject* GetObjectAtForClick(int x, int y) override;
    TObject* TopmostFlaggedObject() const override;
    void BindEffectors() override;
    void MoveBy(int dx, int dy) override;
    void SaveObjectsHook() override;

    // Reads the "pocket" children of the element, each with its objects and sub-pockets.
    void LoadPockets(TiXmlElement* element);
    // ---- A found entry's tool goes on to the owner.
    void OnItemFound(const TObjectToolRecord& record) override;
    // ---- End of the items-list answer.

    // ---- What the objects report, acted on by the room.
    bool OnObjectToolUsed(TObject* object, TTool* tool, int flag) override;
    bool OnObjectActivated(TObject* object) override;
    bool RunCommands(const TToolRecordList* records, TObject* object, float delay) override;
    void UnlockObjects(const TObjectRefGroup* group) override;
    void LockObjects(const TObjectRefGroup* group) override;
    // ---- End of the object reports.
    // The end of a pocket's show or hide movement.
    void OnShowPocketDone(TShowPocketEffector* effector) override;

    // Shows the pocket, growing from (x, y) unless it has a start point already.
    void OpenPocket(TPocket* pocket, float x, float y);
    // Closes the innermost open pocket (flag 0: true when one was closed) or, with flag 1,
    // the whole chain; false without an open pocket.
    bool ClosePocket(int flag);
    void ClearPockets(bool deleteAll);
    bool AreAllToolsTaken();
    // Points a hint at something to do, or the back arrow; true when something was shown.
    bool ShowHint() override;
    bool IsHintAvailable() override;
    void HighlightObjects(int on) override;
    void RemoveXoEffects() override;

    std::vector<std::unique_ptr<TPocket>> mPockets;
    TPocket* mOpenPocket = nullptr;  // one of mPockets
    std::unique_ptr<TFaderShadow> mPocketShadow;
    std::vector<std::string> mToolsToClose;  // pockets: "toolstoclosepocket"
    bool mCloseAfterAllToolsTaken = false;
    bool mCloseAfterUpdate = false;
    bool GetSavedFlagA() const { return mSavedFlagA; }
    bool GetSavedFlagB() const { return mSavedFlagB; }
    void SetSavedFlagA(bool on) { mSavedFlagA = on; }
    void SetSavedFlagB(bool on) { mSavedFlagB = on; }
    bool mSavedFlagA = false;
    bool mSavedFlagB = true;  // cleared by the first show
    bool mHintsBusy = false;
    int32_t mBackHintX = 0;
    int32_t mBackHintY = 0;
    std::unique_ptr<TToolsList> mRoomTools;  // null when "globaltools" holds none
    std::vector<std::string> mLockToCloseNames;
    std::vector<TObject*> mLockToCloseObjects;  // not owned

protected:
    TRoom* AsRoom() override { return this; }
    // What the room checks after updating its open pocket.
    virtual void RunCloseChecks();
    // The outermost room of a chain dims what lies behind its pockets.
    void ShowPocketShadow();
    // The targets of a click or a tool use, the first non-empty one deciding.
    void OpenTarget(TObject* object, const std::string& pocket, const std::string& room,
                    const std::string& roomXo, const std::string& minigame, const std::string& dialog,
                    const std::string& dialog2, bool afterTool);
    // "closepocket" in a pocket, "goback" in a room, both forced.
    void PostCloseRequest();
    // True when the arrow was shown.
    bool ShowBackArrow();

private:
    // Objects of type "animfile" take the anim files' objects in order; what is left over
    // becomes top-level.
    void AssignAnimFiles(const std::vector<TiXmlElement*>& animRoots);
    void MarkListObjects();
    // Plain object names in the reaction lists get this room's name and the pocket that
    // holds the object.
    void ResolveObjectRefs();
    void ResolveRefsOf(TObject* object);

    bool mHintQueryBusy = false;
    bool mFillingToolLists = false;  // guards CheckToolsToOpenPockets against a pocket opening itself
};
