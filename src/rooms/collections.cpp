#include "rooms/collections.h"

bool TCollectionGroup::HasFlaggedItem() const
{
    for (const TCollectionItem& item : mItems)
        if (item.mFlag) return true;
    return false;
}

TCollectionItem* TCollectionsCatalog::FindItem(const std::string& name)
{
    for (TCollectionGroup& group : mGroups)
        for (TCollectionItem& item : group.mItems)
            if (item.mName == name) return &item;
    return nullptr;
}

TCollectionGroup* TCollectionsCatalog::FindGroup(const std::string& name)
{
    for (TCollectionGroup& group : mGroups)
        if (group.mName == name) return &group;
    return nullptr;
}
