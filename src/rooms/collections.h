// The collections catalogue: named groups of collectible items, each item with its picture,
// its points and a collected flag. The collection objects look their items up by name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct TCollectionItem {
    std::string mName;
    std::string mPicture;
    int32_t mPoints = 0;
    bool mFlag = false;  // collected
};

class TCollectionGroup {
public:
    bool HasFlaggedItem() const;

    std::string mName;
    std::string mPicture;
    std::vector<TCollectionItem> mItems;
};

class TCollectionsCatalog {
public:
    // The first match in group order, then item order; null when none.
    TCollectionItem* FindItem(const std::string& name);
    TCollectionGroup* FindGroup(const std::string& name);

    std::vector<TCollectionGroup> mGroups;
};
