// Board puzzles: the sliding-tile board and the labyrinth.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"
#include "graphics/trajectories.h"
#include "objects/object.h"

// Told by a board cell when a tile has finished sliding into it.
class TTagListener {
public:
    virtual ~TTagListener() = default;
    virtual void OnTileMoved() = 0;
};

// One of the sixteen cells of the tile board.
struct TTagCell {
    int32_t mTarget = 0;  // the tile that belongs here when solved; 0 for the gap
    int32_t mX = 0;       // where a tile in this cell is centred
    int32_t mY = 0;
    std::unique_ptr<StaticImage> mImage;  // null for the gap
    int32_t mTile = 0;                    // 0 for the gap
    TTagListener* mListener = nullptr;    // the board
    TLineMover mMover;                    // slides a tile into this cell
};

// An entry of the board's "image" list: a tile value and its picture.
struct TTagTile {
    int32_t mValue = 0;
    std::string mName;
};

// Deals the sixteen entries: shuffled with the game's generator until solvable, the tile 13
// in cell 3 and the gap last. False (nothing changed) unless the list holds 0-15 once each.
bool DealTiles(std::vector<TTagTile>& tiles);
int CountInversions(const std::vector<TTagTile>& tiles);

// The 4 x 4 sliding-tiles picture; the tile in the top-right cell stays hidden until the
// board is unlocked.
class TTagObject : public TObject, public TTagListener {
public:
    static constexpr int kSide = 4;
    static constexpr int kCells = kSide * kSide;

    TTagObject();
    ~TTagObject() override;
    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 38; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadState(TBaseBuffer& buffer) override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SaveState(TBaseBuffer& buffer) override;
    void OnSpaceShown() override;
    void Activate(int count, int x, int y) override;
    void Unlock() override;
    void OnTileMoved() override;

    // From cell a into the empty cell b; refused while either cell is still sliding.
    bool MoveTile(int a, int b);
    bool IsSolved() const;
    void ShowTile(int cell, bool visible);

    std::array<TTagCell, kCells> mCells;
    int32_t mStage = 0;
    std::string mMoveSound;  // "move_sound"
    bool mRevealed = false;  // the hidden tile has been shown
};

struct TMazeCell {
    int32_t mX = 0;
    int32_t mY = 0;
    int32_t mW = 0;
    int32_t mH = 0;
};

// A grid maze: a press on a cell in line with the ball, with no wall between, rolls the ball
// there; the exit cell completes it.
class TLabyrinthObject : public TObject {
public:
    static constexpr int kMaxSide = 256;

    ~TLabyrinthObject() override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 26; }
    bool OnMouseDown(const TSceneMouseEvent& event) override;
    void LoadResources() override;
    void FreeResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void OnLoaded() override;
    void OnSpaceShown() override;

    // Straight along a row or a column, with no wall up to and including the target.
    bool IsPathClear(int row, int col) const;
    bool IsWall(int row, int col) const;
    const TMazeCell& Cell(int row, int col) const;

    std::vector<TMazeCell> mCells;  // rows x cols, row by row
    std::vector<uint8_t> mWalls;
    int32_t mRows = 0;  // "rows", "cols"
    int32_t mCols = 0;
    int32_t mRow = 0;  // the ball's cell
    int32_t mCol = 0;
    int32_t mEndRow = 0;
    int32_t mEndCol = 0;
    std::string mBallName;     // "ballobj"
    TObject* mBall = nullptr;  // a descendant, not owned
    TLineMover mMover;

private:
    void Repaired(const char* what) const;
    void PlaceBall(float x, float y);
};
