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
    TRoom();
    ~TRoom() override;

    virtual void ReleasePocketResources();
    virtual void PlaceFrame(TiXmlElement* /*element*/) {}
    virtual void SetListener(TGameSpaceListener* owner);
    virtual TPocket* FindPocket(const std::string& name);
    virtual bool HandleBack(int flag);
    virtual bool HasHintables();
    virtual void ShowBackHint() {}
    virtual TPocket* CreatePocket(const std::string& name, const std::string& type);
    virtual void CheckToolsToOpenPockets() {}
    virtual void CheckToolsToOpenMinigames() {}

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
    void Finish() override {}
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

    // Closes the open pocket; true when one was closed.
    bool ClosePocket(int flag);
    void ClearPockets(bool deleteAll);

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
    bool mLoading = false;

protected:
    TRoom* AsRoom() override { return this; }
    // What the room checks after updating its open pocket.
    virtual void RunCloseChecks() {}

private:
    // Objects of type "animfile" take the anim files' objects in order; what is left over
    // becomes top-level.
    void AssignAnimFiles(const std::vector<TiXmlElement*>& animRoots);
    void MarkListObjects();
    // Plain object names in the reaction lists get this room's name and the pocket that
    // holds the object.
    void ResolveObjectRefs();
    void ResolveRefsOf(TObject* object);
};
