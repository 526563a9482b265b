// A made-up entry kind for items lists: it names its scene objects in "objects", takes
// "reserve", "findable", "needed", "tool" and "label" from its element, and reports itself
// found when the test says so.
#pragma once
#include <tinyxml.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/xml_attributes.h"
#include "objects/object.h"
#include "rooms/items_list.h"

class TFakeEntry : public ItemsListItem {
public:
    ~TFakeEntry() override { DestroyedLabels().push_back(mLabel); }

    void LoadXml(TiXmlElement* element, const std::string& folder) override
    {
        GetAttrList(element, "objects", ',', mNames);
        mReserve = GetAttrBool(element, "reserve", false);
        mFindable = GetAttrBool(element, "findable", false);
        mNeeded = GetAttrInt(element, "needed", 0);
        mToolRecord.mToolName = GetAttrString(element, "tool", "");
        mLabel = GetAttrString(element, "label", "");
        mFolder = folder;
    }
    void BindObjects(const std::vector<std::unique_ptr<TObject>>& objects) override
    {
        for (const std::string& name : mNames) {
            for (const auto& object : objects) {
                if (object->GetName() == name) mObjects.push_back(object.get());
            }
        }
    }
    bool Update(float /*dt*/) override
    {
        ++mUpdates;
        return mReportFound;
    }
    void LoadResources() override { ++mResourceLoads; }
    void FreeResources() override { ++mResourceFrees; }

    static std::vector<std::string>& DestroyedLabels()
    {
        static std::vector<std::string> labels;
        return labels;
    }

    std::vector<std::string> mNames;
    std::string mLabel;
    std::string mFolder;
    bool mReportFound = false;
    int mUpdates = 0;
    int mResourceLoads = 0;
    int mResourceFrees = 0;
};

// Knows the "fake" type only.
class TFakeEntryFactory : public ItemsListItemFactory {
public:
    std::unique_ptr<ItemsListItem> Create(const std::string& type) override
    {
        if (type != "fake") return nullptr;
        return std::make_unique<TFakeEntry>();
    }
};

// Installs the fake factory for the life of the scope.
class TFakeEntryFactoryScope {
public:
    TFakeEntryFactoryScope()
    {
        GetAppState().mItemsListItemFactory = &mFactory;
        TFakeEntry::DestroyedLabels().clear();
    }
    ~TFakeEntryFactoryScope() { GetAppState().mItemsListItemFactory = nullptr; }
    TFakeEntryFactoryScope(const TFakeEntryFactoryScope&) = delete;
    TFakeEntryFactoryScope& operator=(const TFakeEntryFactoryScope&) = delete;

private:
    TFakeEntryFactory mFactory;
};

inline TFakeEntry* FakeEntry(const ItemsList& list, size_t index)
{
    return static_cast<TFakeEntry*>(list.GetItems().at(index).get());
}
