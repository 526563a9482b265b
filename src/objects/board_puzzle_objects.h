// Board puzzles: the sliding-tile board and the labyrinth.
#pragma once
#include "objects/object.h"

// Told by a board cell when a tile has finished sliding into it.
class TTagListener {
public:
    virtual ~TTagListener() = default;
    virtual void OnTileMoved() = 0;
};

class TTagObject : public TObject, public TTagListener {
public:
    ~TTagObject() override;
    int GetTypeCode() const override { return 38; }
    void OnTileMoved() override;
};

class TLabyrinthObject : public TObject {
public:
    ~TLabyrinthObject() override;
    int GetTypeCode() const override { return 26; }
};
