#include "rooms/items_list.h"

#include <tinyxml.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "objects/object.h"
#include "rooms/game_event.h"

ItemsList::ItemsList() = default;

ItemsList::~ItemsList()
{
    FreeResources();
    Clear();
}

void ItemsList::LoadResources()
{
    for (auto& item : mItems) item->LoadResources();
}

void ItemsList::FreeResources()
{
    for (auto& item : mItems) item->FreeResources();
}

void ItemsList::Clear() { mItems.clear(); }

void ItemsList::LoadXml(TiXmlElement* e)
{
    Clear();
    if (!e) return;
    mToolRecord = TObjectToolRecord(GetAttrString(e, "tool", ""), 1, GetAttrString(e, "subtool", ""), nullptr);
    mType = GetAttrString(e, "type", "");
    mCloseAfterComplete = GetAttrBool(e, "closeaftercomplete", true);
    mRunEffect = GetAttrBool(e, "runeffect", mRunEffect);
    ParseObjectRefList(mUnlock, GetAttrString(e, "unlock", ""), "");
    ParseObjectRefList(mActivate, GetAttrString(e, "activate", ""), "");
    ParseObjectRefList(mDeactivate, GetAttrString(e, "deactivate", ""), "");
    ParseObjectRefList(mVisible, GetAttrString(e, "visible", ""), "");
    ParseObjectRefList(mHide, GetAttrString(e, "hide", ""), "");
    ParseObjectRefList(mLock, GetAttrString(e, "lock", ""), "");
    ParseNameList(mDirections, GetAttrString(e, "directions", ""));
    ParseNameList(mTasks, GetAttrString(e, "tasks", ""));
    ParseNameList(mTasksRemove, GetAttrString(e, "tasksr", ""));
    ParseValueRefList(mFlags, GetAttrString(e, "flags", ""));
    ParseNamePairList(mStates, GetAttrString(e, "states", ""));
    GetAttrList(e, "connecteditems", ',', mConnectedItems);
    mFolder = GetAttrString(e, "folder", "");
    mCount = GetAttrInt(e, "count", 12);
    mRows = GetAttrInt(e, "rows", 3);
    mCols = GetAttrInt(e, "cols", 4);
    if (mRows != 0 || mCols != 0) {
        const long long product = static_cast<long long>(mRows) * mCols;
        mCount = ClampToInt(product);
    }
    mSpaceRows = GetAttrInt(e, "spacerows", 0);
    mSpaceCols = GetAttrInt(e, "spacecols", 0);
    mOffX = GetAttrInt(e, "offx", -100);
    mOffY = GetAttrInt(e, "offy", -100);

    ItemsListItemFactory* factory = GetAppState().mItemsListItemFactory;
    if (!factory) return;
    std::vector<std::unique_ptr<ItemsListItem>> reserve;
    for (TiXmlElement* child = e->FirstChildElement("item"); child; child = child->NextSiblingElement("item")) {
        std::unique_ptr<ItemsListItem> item = factory->Create(mType);
        if (!item) continue;  // a type the factory cannot build
        item->LoadXml(child, mFolder);
        (item->mReserve ? reserve : mItems).push_back(std::move(item));
    }
    // The reserve fills up from its end; what is left over goes.
    while (static_cast<long long>(mItems.size()) < mCount && !reserve.empty()) {
        mItems.push_back(std::move(reserve.back()));
        reserve.pop_back();
    }
}

void ItemsList::BindObjects(const std::vector<std::unique_ptr<TObject>>& objects)
{
    for (auto& item : mItems) item->BindObjects(objects);
}

void ItemsList::CheckFound(float dt)
{
    for (size_t i = 0; i < mItems.size(); ++i) {
        ItemsListItem& item = *mItems[i];
        if (!item.Update(dt) || item.mAnnounced || item.mToolRecord.mToolName.empty()) continue;
        item.mAnnounced = true;
        GivenToolRecords().push_back(item.mToolRecord);
        PostGameEvent(TGameEvent("findtool", 500, ""), false);
        if (mListener) mListener->OnItemFound(item.mToolRecord);
    }
}

bool ItemsList::IsComplete()
{
    CheckFound(0.0f);
    return std::all_of(mItems.begin(), mItems.end(),
                       [](const std::unique_ptr<ItemsListItem>& item) { return item->mFound == item->mNeeded; });
}

ItemsListItem* ItemsList::FindItemOf(const TObject* object) const
{
    for (const auto& item : mItems) {
        if (std::find(item->mObjects.begin(), item->mObjects.end(), object) != item->mObjects.end()) return item.get();
    }
    return nullptr;
}

bool ItemsList::ContainsObject(const TObject* object) const { return FindItemOf(object) != nullptr; }
