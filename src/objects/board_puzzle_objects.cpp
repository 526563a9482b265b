#include "objects/board_puzzle_objects.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/random.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "rooms/scene_mouse_event.h"
#include "sound/sound_manager.h"

namespace {

constexpr float kTileSlideTime = 0.08f;
constexpr float kBallTimePerCell = 0.1f;
constexpr int kHiddenTileCell = 3;
constexpr int kActivatedHiddenCell = 12;

// A tile is drawn centred on its point, never turned or scaled; it is hit where its texture
// shows the point with some opacity.
bool TileHit(const StaticImage& image, int x, int y)
{
    const int left = TruncToInt(image.mOffsetX + image.mX - image.GetWidth() * 0.5f);
    const int top = TruncToInt(image.mOffsetY + image.mY - image.GetHeight() * 0.5f);
    return image.HitTestAlpha(ClampToInt(static_cast<long long>(x) - left),
                              ClampToInt(static_cast<long long>(y) - top), 63);
}

bool IsTileSet(const std::vector<TTagTile>& tiles)
{
    if (tiles.size() != static_cast<size_t>(TTagObject::kCells)) return false;
    bool seen[TTagObject::kCells] = {};
    for (const TTagTile& tile : tiles) {
        if (tile.mValue < 0 || tile.mValue >= TTagObject::kCells || seen[tile.mValue]) return false;
        seen[tile.mValue] = true;
    }
    return true;
}

void SwapFirstInto(std::vector<TTagTile>& tiles, int value, size_t index)
{
    for (TTagTile& tile : tiles) {
        if (tile.mValue != value) continue;
        std::swap(tile, tiles[index]);
        return;
    }
}

}  // namespace

int CountInversions(const std::vector<TTagTile>& tiles)
{
    int count = 0;
    for (size_t i = 0; i < tiles.size(); ++i)
        for (size_t j = i + 1; j < tiles.size(); ++j)
            if (tiles[j].mValue > 0 && tiles[j].mValue < tiles[i].mValue) ++count;
    return count;
}

bool DealTiles(std::vector<TTagTile>& tiles)
{
    if (!IsTileSet(tiles)) return false;
    // Every full shuffle is a fresh chance of an even count, so this ends.
    do {
        for (size_t i = 1; i < tiles.size(); ++i)
            std::swap(tiles[i], tiles[static_cast<size_t>(GameRand()) % (i + 1)]);
        SwapFirstInto(tiles, 13, kHiddenTileCell);
        SwapFirstInto(tiles, 0, tiles.size() - 1);
    } while (CountInversions(tiles) % 2 != 0);
    return true;
}

TTagObject::TTagObject()
{
    for (TTagCell& cell : mCells) cell.mListener = this;
}

TTagObject::~TTagObject() = default;

void TTagObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mMoveSound = GetAttrString(e, "move_sound", "");
    int k = 0;
    for (TiXmlElement* pos = e ? e->FirstChildElement("pos") : nullptr; pos && k < kCells;
         pos = pos->NextSiblingElement("pos"), ++k) {
        mCells[k].mX = GetAttrInt(pos, "x", 0);
        mCells[k].mY = GetAttrInt(pos, "y", 0);
    }
    std::vector<TTagTile> tiles;
    for (TiXmlElement* image = e ? e->FirstChildElement("image") : nullptr; image;
         image = image->NextSiblingElement("image"))
        tiles.push_back({GetAttrInt(image, "val", 0), GetAttrString(image, "filename", "")});
    // Any other set could never be dealt solvable, or would be read outside the board.
    if (!DealTiles(tiles)) {
        GetLogger()->LogMessage("Object %s: tile set ignored", GetName().c_str());
        tiles.assign(kCells, TTagTile());
    }
    for (k = 0; k < kCells; ++k) {
        TTagCell& cell = mCells[k];
        cell.mTarget = k + 1;
        cell.mImage.reset();
        cell.mTile = 0;
        cell.mMover = TLineMover();
        if (tiles[k].mName.empty()) continue;
        cell.mImage = std::make_unique<StaticImage>();
        cell.mImage->mTextureName = tiles[k].mName;
        cell.mImage->SetPosition(static_cast<float>(cell.mX), static_cast<float>(cell.mY), true);
        cell.mTile = tiles[k].mValue;
    }
    ShowTile(kHiddenTileCell, false);
    mCells[kCells - 1].mTarget = 0;
}

void TTagObject::ShowTile(int cell, bool visible)
{
    if (mCells[cell].mImage) mCells[cell].mImage->SetVisible(visible);
}

bool TTagObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (mLocked || !IsVisible()) return false;
    if (event.mButton == 1) {
        for (int row = 0; row < kSide; ++row) {
            for (int col = 0; col < kSide; ++col) {
                const int k = row * kSide + col;
                // A hidden tile still takes the press.
                if (!mCells[k].mImage || !TileHit(*mCells[k].mImage, event.mX, event.mY)) continue;
                const int neighbours[4][2] = {{row - 1, col}, {row + 1, col}, {row, col - 1}, {row, col + 1}};
                int empty = -1;
                for (const auto& n : neighbours) {
                    if (n[0] < 0 || n[0] >= kSide || n[1] < 0 || n[1] >= kSide) continue;
                    if (mCells[n[0] * kSide + n[1]].mTile != 0) continue;
                    empty = n[0] * kSide + n[1];
                    break;
                }
                if (empty < 0) {
                    PlayThroughRootSpace("wrong");
                    continue;
                }
                // Played before the move is tried: a tile still sliding sounds and stays.
                PlayNamedSound(mMoveSound);
                MoveTile(k, empty);
                return TObject::OnMouseDown(event);
            }
        }
    }
    return TObject::OnMouseDown(event);
}

bool TTagObject::MoveTile(int a, int b)
{
    TTagCell& from = mCells[a];
    TTagCell& to = mCells[b];
    if (to.mTile != 0 || from.mMover.mActive || to.mMover.mActive) return false;
    to.mImage = std::move(from.mImage);
    to.mTile = from.mTile;
    from.mTile = 0;
    to.mMover.StartSegment(static_cast<float>(from.mX), static_cast<float>(from.mY), static_cast<float>(to.mX),
                           static_cast<float>(to.mY), kTileSlideTime, 0.0f, 0, false);
    return true;
}

bool TTagObject::Update(float dt)
{
    TObject::Update(dt);
    for (TTagCell& cell : mCells) {
        if (!cell.mMover.mActive) continue;
        const bool arrived = cell.mMover.Update(dt);
        if (cell.mImage) cell.mImage->SetPosition(cell.mMover.mX, cell.mMover.mY, true);
        if (arrived && cell.mListener) cell.mListener->OnTileMoved();
    }
    return false;
}

bool TTagObject::IsSolved() const
{
    for (const TTagCell& cell : mCells)
        if (cell.mTile != cell.mTarget) return false;
    return true;
}

void TTagObject::OnTileMoved()
{
    // Two tiles may slide at once: the board counts as finished when the last one arrives,
    // so one solving is reported once.
    for (const TTagCell& cell : mCells)
        if (cell.mMover.mActive) return;
    if (!IsSolved()) return;
    PlayThroughRootSpace("onwin");
    RunEventReactions(0);
}

void TTagObject::Activate(int /*count*/, int /*x*/, int /*y*/)
{
    ShowTile(kActivatedHiddenCell, false);
    if (mStage < INT32_MAX) ++mStage;
}

void TTagObject::Unlock()
{
    if (mStage < INT32_MAX) ++mStage;
    mLocked = false;
    mRevealed = true;
    ShowTile(kHiddenTileCell, true);
}

void TTagObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (mRevealed) ShowTile(kHiddenTileCell, true);
}

void TTagObject::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    for (TTagCell& cell : mCells)
        if (cell.mImage) cell.mImage->Draw(1.0f);
}

void TTagObject::LoadResources()
{
    TObject::LoadResources();
    for (TTagCell& cell : mCells) {
        if (!cell.mImage) continue;
        const std::string name = cell.mImage->mTextureName;
        cell.mImage->SetTexture(name);
    }
}

void TTagObject::FreeResources()
{
    TObject::FreeResources();
    for (TTagCell& cell : mCells)
        if (cell.mImage) cell.mImage->FreeTexture();
}

void TTagObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteInt32(mStage);
    buffer.WriteByte(mRevealed);
    for (const TTagCell& cell : mCells) {
        TBaseBuffer block;
        block.WriteInt32(cell.mTile);
        if (cell.mTile != 0) {
            block.WriteString(cell.mImage ? cell.mImage->mTextureName : std::string());
            block.WriteInt32(cell.mImage ? TruncToInt(cell.mImage->mX) : cell.mX);
            block.WriteInt32(cell.mImage ? TruncToInt(cell.mImage->mY) : cell.mY);
        }
        buffer.WriteBuffer(block);
    }
}

void TTagObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int32_t stage = buffer.ReadInt32();
    const bool revealed = buffer.ReadByte() != 0;
    if (StateRefused()) {
        // The cells' blocks are read past.
        for (size_t i = 0; i < mCells.size(); ++i) {
            TBaseBuffer block;
            buffer.ReadBuffer(block);
        }
        return;
    }
    mStage = stage;
    mRevealed = revealed;
    for (TTagCell& cell : mCells) {
        TBaseBuffer block;
        buffer.ReadBuffer(block);
        // The restored board is at rest.
        cell.mMover = TLineMover();
        cell.mTile = block.ReadInt32();
        if (cell.mTile == 0) {
            cell.mImage.reset();
            continue;
        }
        const std::string name = block.ReadStringValue();
        // A tile saved while sliding wrote a point between two cells; the restored board is
        // at rest, so the tile stands on its cell.
        block.ReadInt32();
        block.ReadInt32();
        if (!cell.mImage) cell.mImage = std::make_unique<StaticImage>();
        // The texture of the restored name comes with the next resource load.
        if (cell.mImage->mTextureName != name) cell.mImage->FreeTexture();
        cell.mImage->mTextureName = name;
        cell.mImage->SetPosition(static_cast<float>(cell.mX), static_cast<float>(cell.mY), true);
    }
}

TLabyrinthObject::~TLabyrinthObject() = default;

void TLabyrinthObject::Repaired(const char* what) const
{
    GetLogger()->LogMessage("Object %s: maze repaired (%s)", GetName().c_str(), what);
}

void TLabyrinthObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mRows = GetAttrInt(e, "rows", 0);
    mCols = GetAttrInt(e, "cols", 0);
    if (mRows < 0 || mRows > kMaxSide || mCols < 0 || mCols > kMaxSide) {
        Repaired("size");
        mRows = mCols = 0;
    }
    mBallName = GetAttrString(e, "ballobj", "");
    mBall = nullptr;
    TiXmlElement* rect = e ? e->FirstChildElement("rect") : nullptr;
    TiXmlElement* desc = rect ? rect->NextSiblingElement("map_desc") : nullptr;
    const int width = GetAttrInt(rect, "width", 0);
    const int height = GetAttrInt(rect, "height", 0);
    mRow = GetAttrInt(desc, "start_i", 0);
    mCol = GetAttrInt(desc, "start_j", 0);
    mEndRow = GetAttrInt(desc, "end_i", 0);
    mEndCol = GetAttrInt(desc, "end_j", 0);

    const size_t count = static_cast<size_t>(mRows) * static_cast<size_t>(mCols);
    mWalls.assign(count, 0);
    mCells.assign(count, TMazeCell());
    bool extra = false;
    int row = 0;
    for (TiXmlElement* map = desc ? desc->FirstChildElement("map") : nullptr; map;
         map = map->NextSiblingElement("map"), ++row) {
        if (row >= mRows) {
            extra = true;
            break;
        }
        std::vector<std::string> values;
        SplitString(GetAttrString(map, "row", ""), ' ', values);
        if (values.size() > static_cast<size_t>(mCols)) extra = true;
        for (size_t col = 0; col < values.size() && col < static_cast<size_t>(mCols); ++col)
            mWalls[static_cast<size_t>(row) * mCols + col] = ParseIntClamped(values[col].c_str()) == 1;
    }
    if (extra) Repaired("extra map");

    const long long x0 = TruncToInt(GetX());
    const long long y0 = TruncToInt(GetY());
    for (int i = 0; i < mRows; ++i)
        for (int j = 0; j < mCols; ++j)
            mCells[static_cast<size_t>(i) * mCols + j] = {ClampToInt(x0 + static_cast<long long>(j) * width),
                                                          ClampToInt(y0 + static_cast<long long>(i) * height),
                                                          width, height};

    if (count > 0 && (mRow < 0 || mRow >= mRows || mCol < 0 || mCol >= mCols)) {
        Repaired("start");
        mRow = std::min(std::max(mRow, 0), mRows - 1);
        mCol = std::min(std::max(mCol, 0), mCols - 1);
    }
    mMover = TLineMover();
}

void TLabyrinthObject::OnLoaded()
{
    TObject::OnLoaded();
    if (mBallName.empty() || !FindChild(mBallName)) Repaired("no ball");
}

const TMazeCell& TLabyrinthObject::Cell(int row, int col) const
{
    return mCells[static_cast<size_t>(row) * mCols + col];
}

bool TLabyrinthObject::IsWall(int row, int col) const { return mWalls[static_cast<size_t>(row) * mCols + col] != 0; }

bool TLabyrinthObject::IsPathClear(int row, int col) const
{
    if (row == mRow && col == mCol) return false;
    if (row == mRow) {
        const int step = col < mCol ? 1 : -1;
        for (int j = col; j != mCol; j += step)
            if (IsWall(row, j)) return false;
        return true;
    }
    if (col == mCol) {
        const int step = row < mRow ? 1 : -1;
        for (int i = row; i != mRow; i += step)
            if (IsWall(i, col)) return false;
        return true;
    }
    return false;
}

namespace {
float CentreX(const TMazeCell& cell) { return static_cast<float>(static_cast<long long>(cell.mX) + cell.mW / 2); }
float CentreY(const TMazeCell& cell) { return static_cast<float>(static_cast<long long>(cell.mY) + cell.mH / 2); }
}  // namespace

void TLabyrinthObject::PlaceBall(float x, float y)
{
    if (mBall) mBall->SetPosition(static_cast<float>(TruncToInt(x)), static_cast<float>(TruncToInt(y)), true);
}

bool TLabyrinthObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (mLocked || !IsVisible()) return false;
    if (event.mButton == 1 && mBall) {
        const long long px = event.mX;
        const long long py = event.mY;
        for (int i = 0; i < mRows; ++i) {
            for (int j = 0; j < mCols; ++j) {
                const TMazeCell& cell = Cell(i, j);
                if (px < cell.mX || px >= cell.mX + static_cast<long long>(cell.mW) || py < cell.mY ||
                    py >= cell.mY + static_cast<long long>(cell.mH))
                    continue;
                if (!IsPathClear(i, j)) {
                    PlayNamedSound("need_tool");
                    continue;
                }
                const TMazeCell& current = Cell(mRow, mCol);
                const int cells = std::max(std::abs(i - mRow), std::abs(j - mCol));
                mMover.StartSegment(CentreX(current), CentreY(current), CentreX(cell), CentreY(cell),
                                    kBallTimePerCell * static_cast<float>(cells), 0.0f, 0, false);
                mRow = i;
                mCol = j;
                mBall->ActivateSimple();
                if (GetRootSpace())
                    PlayThroughRootSpace("move");
                else
                    PlayNamedSound(mSound);
                return TObject::OnMouseDown(event);
            }
        }
    }
    return TObject::OnMouseDown(event);
}

bool TLabyrinthObject::Update(float dt)
{
    TObject::Update(dt);
    if (!mMover.mActive) return false;
    const bool arrived = mMover.Update(dt);
    PlaceBall(mMover.mX, mMover.mY);
    if (!arrived) return false;
    if (mBall) mBall->DeactivateSimple();
    if (mRow == mEndRow && mCol == mEndCol) {
        mGoalReached = true;
        RunEventReactions(0);
    }
    return false;
}

void TLabyrinthObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (mCells.empty()) return;
    const TMazeCell& cell = Cell(mRow, mCol);
    PlaceBall(CentreX(cell), CentreY(cell));
}

void TLabyrinthObject::LoadResources()
{
    TObject::LoadResources();
    if (!mBall && !mBallName.empty()) mBall = FindChild(mBallName);
    // Loaded once more by the maze, as its ball.
    if (mBall) mBall->LoadResources();
}

void TLabyrinthObject::FreeResources()
{
    TObject::FreeResources();
    if (mBall) mBall->FreeResources();
}
