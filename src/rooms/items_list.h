// Items lists: the things to find in a hidden-object room. Each entry stands for one or
// more scene objects, counts how much of it is found and may hand out a tool when found.
// The entries come from an application-wide factory, which the game never installs.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "objects/object_refs.h"

class TiXmlElement;
class TObject;
class ItemsList;

class ItemsListItem {
public:
    virtual ~ItemsListItem() = default;
    // Finds the scene objects that stand for the entry.
    virtual void BindObjects(const std::vector<std::unique_ptr<TObject>>& /*objects*/) {}
    // True once the entry has been found.
    virtual bool Update(float /*dt*/) { return false; }
    virtual void LoadXml(TiXmlElement* /*element*/, const std::string& /*folder*/) {}
    // Neither may touch the entry's scene objects: a room destroys them before its lists.
    virtual void LoadResources() {}
    virtual void FreeResources() {}

    std::vector<TObject*> mObjects;  // not owned
    int32_t mFound = 0;
    int32_t mNeeded = 0;
    TObjectToolRecord mToolRecord;  // an empty tool name hands out nothing
    bool mAnnounced = false;
    bool mReserve = false;
    bool mFindable = false;
};

// Builds entries by the list's type name. The game installs none.
class ItemsListItemFactory {
public:
    virtual ~ItemsListItemFactory() = default;
    // None for a type it cannot build.
    virtual std::unique_ptr<ItemsListItem> Create(const std::string& type) = 0;
};

class TItemsListListener {
public:
    virtual ~TItemsListListener() = default;
    // A found entry handed out its tool.
    virtual void OnItemFound(const TObjectToolRecord& /*record*/) {}
    // The list's completion lists are to be applied.
    virtual void OnListComplete(ItemsList* /*list*/) {}
};

class ItemsList {
public:
    ItemsList();
    ItemsList(const ItemsList&) = delete;
    ItemsList& operator=(const ItemsList&) = delete;
    virtual ~ItemsList();

    virtual void LoadResources();
    virtual void FreeResources();

    void LoadXml(TiXmlElement* element);
    // Once a frame: announces entries found since the last step.
    void CheckFound(float dt);
    bool IsComplete();
    ItemsListItem* FindItemOf(const TObject* object) const;
    bool ContainsObject(const TObject* object) const;
    void Clear();
    void BindObjects(const std::vector<std::unique_ptr<TObject>>& objects);

    void SetListener(TItemsListListener* listener) { mListener = listener; }
    TItemsListListener* GetListener() const { return mListener; }
    const std::vector<std::unique_ptr<ItemsListItem>>& GetItems() const { return mItems; }
    // How many entries the reserve fills the list up to.
    int32_t GetCount() const { return mCount; }

    std::vector<std::unique_ptr<ItemsListItem>> mItems;
    TItemsListListener* mListener = nullptr;  // not owned
    TObjectToolRecord mToolRecord{"", 1, "", nullptr};
    TObjectRefList mUnlock, mLock, mActivate, mDeactivate, mVisible, mHide;
    TFlagRefList mFlags;
    TStateRefList mStates;
    TNameList mTasks, mTasksRemove;
    TNameList mDirections;
    bool mCloseAfterComplete = true;
    int32_t mRows = 3, mCols = 4;
    int32_t mSpaceRows = 0, mSpaceCols = 0;
    int32_t mOffX = -100, mOffY = -100;
    bool mRunEffect = true;
    std::vector<std::string> mConnectedItems;
    int32_t mCount = 12;
    std::string mType;
    std::string mFolder;
};
