// Found items and collectibles: hidden objects, the double-score bonus, collection items,
// the note collection and the map.
#pragma once
#include "core/messages.h"
#include "objects/object.h"

class THiddenObject : public TObject {
public:
    ~THiddenObject() override;
    int GetTypeCode() const override { return 1; }
};

class TDoubleScoreObject : public TObject {
public:
    ~TDoubleScoreObject() override;
    int GetTypeCode() const override { return 67; }

    // Seconds; reading the element replaces it with the key's own default, 9.
    float mTime = 7.0f;
};

// Leaves the message dispatcher through its listener base when destroyed.
class TCollectionItemObject : public TObject, public TMyMessageListener {
public:
    ~TCollectionItemObject() override;
    int GetTypeCode() const override { return 64; }
};

class TNoteCollectionObject : public TObject {
public:
    ~TNoteCollectionObject() override;
    int GetTypeCode() const override { return 65; }
};

class TNoteCollectionItemObject : public TObject {
public:
    ~TNoteCollectionItemObject() override;
    int GetTypeCode() const override { return 66; }
};

class TMapObject : public TObject {
public:
    ~TMapObject() override;
    int GetTypeCode() const override { return 53; }
};
