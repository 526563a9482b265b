// Drawing the play view: the cell-by-cell draw, and the window-sized cache that shows the same
// pixels at the cost of one copy on an unchanged frame.
//
// Every image of a cell lands inside the cell's own block of output pixels and blends only
// with the fill under it, so a cell's pixels depend on its number, paint and highlight, where
// its number glyph sits in the block and how much of the block the view's clip cuts off, and
// on nothing else. The cache keeps each such combination's pixels once, taken from a real
// draw of the cell, and builds the view from them: a pan or a zoom step writes the blocks
// anew, a stroke rewrites the cells it marked. Where the blocks would overlap by more than the
// one pixel of rounding (never at the shipped sizes), or on a GPU renderer, which places and
// samples images by its own rules, the whole view is drawn cell by cell into a target instead
// whenever anything changed.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "game/picture.h"
#include "graphics/render_origin.h"
#include "graphics/texture_cache.h"

namespace {

// What a cell's pixels depend on: its bytes, where the glyph sits in its block (in pixels)
// and the pixels the view's clip cuts off each side.
struct TTileKey {
    int32_t number, painted, highlight, glyphX, glyphY, cutLeft, cutTop, cutRight, cutBottom;
    bool operator==(const TTileKey& o) const
    {
        return number == o.number && painted == o.painted && highlight == o.highlight && glyphX == o.glyphX &&
               glyphY == o.glyphY && cutLeft == o.cutLeft && cutTop == o.cutTop && cutRight == o.cutRight &&
               cutBottom == o.cutBottom;
    }
};

struct TTileKeyHash {
    size_t operator()(const TTileKey& k) const
    {
        uint64_t h = 1469598103934665603ull;
        for (int32_t v : {k.number, k.painted, k.highlight, k.glyphX, k.glyphY, k.cutLeft, k.cutTop, k.cutRight,
                          k.cutBottom}) {
            h ^= static_cast<uint32_t>(v);
            h *= 1099511628211ull;
        }
        return static_cast<size_t>(h);
    }
};

const int64_t kMissing = -1;
const size_t kMostTilePixels = size_t(8) << 20;  // past this the kept tiles start over

// One column or row of cells as the output pixels hold it.
struct TSpan {
    int start = 0;  // where the cell's images start (its left or top edge)
    int glyph = 0;  // the glyph's offset from start
    int from = 0, to = 0;  // the block: every pixel any of the cell's images reaches
    int seenFrom = 0, seenTo = 0;  // the block within the clip; empty when it is cut away
};

struct TPatchKeyHash {
    size_t operator()(const std::vector<int32_t>& key) const
    {
        uint64_t h = 1469598103934665603ull;
        for (int32_t v : key) {
            h ^= static_cast<uint32_t>(v);
            h *= 1099511628211ull;
        }
        return static_cast<size_t>(h);
    }
};

// Pixels still to be taken from a real draw: the cells drawn, in order, and the rectangle
// kept, under a tile's or a patch's key. Jobs of one pass never touch each other's pixels.
struct TJob {
    int pass = 0;
    std::vector<int32_t> cells;
    SDL_Rect rect{};
    bool tile = true;
    TTileKey tileKey{};
    std::vector<int32_t> patchKey;
};

bool Seen(const TSpan& s)
{
    return s.seenTo > s.seenFrom;
}

}  // namespace

struct TPaintByNumber::TViewCache {
    TexturePtr cache;    // streaming: what the screen gets, written from the tiles
    TexturePtr scratch;  // a target the cells are drawn on, the fill alone between draws, or the
                         // whole frame where it is drawn cell by cell
    bool scratchClean = false;
    uint32_t resets = 0;  // the renderer's resets when the textures were made
    std::vector<double> lookKey;  // everything the pixels depend on but the pan
    int32_t place[4] = {0, 0, 0, 0};  // pan and drag of the frame in the cache
    enum { kEmpty, kComposed, kReference } state = kEmpty;
    bool prepared = false;    // clip, fill pixel and the cache outside the clip are known
    bool composable = false;  // the software renderer, and the fill under the view is one colour
    SDL_Rect area{};
    float back[4] = {0, 0, 0, 0};
    SDL_Rect clip{};     // the view's clip in output pixels
    uint32_t fill = 0;   // the fill's pixel
    std::unordered_map<TTileKey, int64_t, TTileKeyHash> tiles;  // offset into tilePixels
    // The pixels two or four overlapping cells share, by the cells' keys in drawing order.
    std::unordered_map<std::vector<int32_t>, int64_t, TPatchKeyHash> patches;
    std::vector<uint32_t> tilePixels;
    std::vector<uint32_t> fillBlock;  // the fill's pixels, to clean the scratch after a draw
    // This frame's geometry.
    int c0 = 0, r0 = 0, c1 = 0, r1 = 0;
    std::vector<TSpan> columns, rows;
    // The span that overlaps the one before it by a pixel inside the clip, or -1: where a
    // cell at a negative position rounds towards zero.
    int seamColumn = -1, seamRow = -1;
    std::vector<TJob> jobs;
    // Work lists, kept to spare allocations.
    std::vector<int32_t> changes;
    std::vector<int64_t> offsets;
    std::vector<int> seenColumns, seenRows;
};

TPaintByNumber::TPaintByNumber()
{
    mNumbersImage.SetTexture("textures/tilesets/basenumbers20");
    mShared.mNumbersImage = &mNumbersImage;
    mShared.mFrameImage = &mFrameImage;
    mShared.mPaintedImage = &mPaintedImage;
    mShared.mUnpaintedImage = &mUnpaintedImage;
    mShared.mGreyRamp = &mGreyRamp;
    mShared.mColors = &mColors;
    mShared.mLightness = &mLightness;
    mShared.mGrid = &mGrid;
}

TPaintByNumber::~TPaintByNumber() = default;

void TPaintByNumber::ViewOffset(int* x, int* y)
{
    // The origin stays where the hit tests read it.
    mOriginX = mViewportX + mViewportWidth / 2 - TruncToInt(static_cast<float>(PictureWidth()) * mZoom * 0.5f);
    mOriginY = mViewportY + mViewportHeight / 2 - TruncToInt(static_cast<float>(PictureHeight()) * mZoom * 0.5f);
    *x = TruncToInt(static_cast<float>(mPanX + mDragX) + static_cast<float>(mOriginX) / mZoom);
    *y = TruncToInt(static_cast<float>(mPanY + mDragY) + static_cast<float>(mOriginY) / mZoom);
}

void TPaintByNumber::VisibleCells(int offsetX, int offsetY, int* c0, int* r0, int* c1, int* r1) const
{
    // Only the cells that reach into the viewport: a 300 x 300 picture at fit would
    // otherwise send 90,000 cells through four sprite draws each.
    const float cell = static_cast<float>(mCellSize) * mZoom;
    auto firstCell = [&](int view, int offset) {
        return std::max(0, TruncToInt(std::floor((static_cast<float>(view) / mZoom - offset) / mCellSize)) - 1);
    };
    *c0 = firstCell(mViewportX, offsetX);
    *r0 = firstCell(mViewportY, offsetY);
    const int cols = TruncToInt(static_cast<float>(mViewportWidth) / cell) + 3;
    const int rows = TruncToInt(static_cast<float>(mViewportHeight) / cell) + 3;
    *c1 = static_cast<int>(std::min<int64_t>(GetColumnCount(), static_cast<int64_t>(*c0) + cols));
    *r1 = static_cast<int>(std::min<int64_t>(GetRowCount(), static_cast<int64_t>(*r0) + rows));
}

void TPaintByNumber::BeginViewDraw()
{
    SDL_Renderer* renderer = GetRenderer();
    TAppState& app = GetAppState();
    // Clip first: SDL converts the clip rectangle with the scale in force when it is set.
    SDL_Rect clip{mViewportX, mViewportY, mViewportWidth, mViewportHeight};
    if (renderer) SDL_RenderSetClipRect(renderer, &clip);
    ViewOffset(&app.mOffsetX, &app.mOffsetY);
    SetRenderOrigin(0, 0, mZoom, mZoom);
}

void TPaintByNumber::EndViewDraw()
{
    TAppState& app = GetAppState();
    app.mOffsetX = app.mOffsetY = 0;
    if (SDL_Renderer* renderer = GetRenderer()) SDL_RenderSetClipRect(renderer, nullptr);
    ResetRenderOrigin();
}

void TPaintByNumber::Draw(float alpha)
{
    mDrawnImages = 0;
    if (mCells.empty() || mCellSize <= 0) return;
    TAppState& app = GetAppState();
    BeginViewDraw();
    const float fraction = mZoom / std::max(0.1f, mMaxZoom - mMinZoom);
    int col0 = 0, row0 = 0, col1 = 0, row1 = 0;
    VisibleCells(app.mOffsetX, app.mOffsetY, &col0, &row0, &col1, &row1);
    for (int r = row0; r < row1; ++r) {
        TPaintByNumberItem* row = &mCells[mGrid.IndexOf(0, r)];
        for (int c = col0; c < col1; ++c)
            if (row[c].IsVisible()) mDrawnImages += row[c].DrawCell(fraction * alpha);
    }
    EndViewDraw();
}

// Where SDL puts the cells' images: it scales each float position and size by the renderer's
// scale and cuts the results to whole pixels, so the same arithmetic here gives the same
// pixels; the positions are the ones the images' transforms compute.
bool TPaintByNumber::ViewGeometry(TViewCache& view)
{
    const TAppState& app = GetAppState();
    int offX = 0, offY = 0;
    ViewOffset(&offX, &offY);
    VisibleCells(offX, offY, &view.c0, &view.r0, &view.c1, &view.r1);
    const float sx = app.mScaleX * mZoom, sy = app.mScaleY * mZoom;
    int blockW = 0, blockH = 0;
    for (const StaticImage* image : {&mFrameImage, &mPaintedImage, &mUnpaintedImage}) {
        if (image->mScaleX != 1.0f || image->mScaleY != 1.0f || image->mOffsetX != 0.0f || image->mOffsetY != 0.0f)
            return false;
        const TTexture* texture = image->GetTexture();
        if (!texture) continue;
        blockW = std::max(blockW, static_cast<int>(static_cast<float>(texture->GetWidth()) * sx));
        blockH = std::max(blockH, static_cast<int>(static_cast<float>(texture->GetHeight()) * sy));
    }
    const TTexture* numbers = mNumbersImage.GetTexture();
    if (numbers && (mNumbersImage.mScaleX != 1.0f || mNumbersImage.mScaleY != 1.0f ||
                    mNumbersImage.mOffsetX != 0.0f || mNumbersImage.mOffsetY != 0.0f))
        return false;
    const int glyphSrcW = numbers ? numbers->GetWidth() : 0, glyphSrcH = 20;
    const int glyphW = static_cast<int>(static_cast<float>(glyphSrcW) * sx);
    const int glyphH = static_cast<int>(static_cast<float>(glyphSrcH) * sy);
    const int size = mCellSize;
    auto spans = [&](int first, int last, int offset, float scale, int block, int glyphSize, float glyphCentre,
                     int clipFrom, int clipTo, std::vector<TSpan>* out, int* seam) {
        out->resize(static_cast<size_t>(std::max(0, last - first)));
        *seam = -1;
        for (int i = first; i < last; ++i) {
            TSpan& s = (*out)[static_cast<size_t>(i - first)];
            const int edge = i * size;
            s.start = static_cast<int>((0.0f + static_cast<float>(edge) + static_cast<float>(offset)) * scale);
            float glyph = 0.0f + static_cast<float>(edge + size / 2) + static_cast<float>(offset);
            glyph -= glyphCentre;
            s.glyph = static_cast<int>(glyph * scale) - s.start;
            s.from = s.start;
            s.to = s.start + block;
            if (glyphSize > 0) {
                s.from = std::min(s.from, s.start + s.glyph);
                s.to = std::max(s.to, s.start + s.glyph + glyphSize);
            }
            if (i > first) {
                const int overlap = (*out)[static_cast<size_t>(i - first - 1)].to - s.from;
                if (overlap > 1) return false;
                if (overlap == 1 && s.from >= clipFrom && s.from < clipTo) {
                    if (*seam >= 0) return false;
                    *seam = i - first;
                }
            }
            s.seenFrom = std::max(s.from, clipFrom);
            s.seenTo = std::min(s.to, clipTo);
        }
        return true;
    };
    const SDL_Rect& clip = view.clip;
    return spans(view.c0, view.c1, offX, sx, blockW, glyphW, static_cast<float>(glyphSrcW) / 2.0f, clip.x,
                 clip.x + clip.w, &view.columns, &view.seamColumn) &&
           spans(view.r0, view.r1, offY, sy, blockH, glyphH, static_cast<float>(glyphSrcH) / 2.0f, clip.y,
                 clip.y + clip.h, &view.rows, &view.seamRow);
}

void TPaintByNumber::CleanScratch(TViewCache& view)
{
    SDL_Renderer* renderer = GetRenderer();
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    ResetRenderOrigin();
    GetAppState().mRenderDevice->FillRect(view.area, view.back[0], view.back[1], view.back[2], view.back[3]);
    view.scratchClean = true;
}

// Draws the fill on the scratch and copies it all into the cache, which keeps it outside the
// clip from then on; finds the clip's pixels by filling through it.
bool TPaintByNumber::PrepareViewCache(TViewCache& view, const SDL_Rect& area, const float back[4])
{
    SDL_Renderer* renderer = GetRenderer();
    const int outW = view.cache->GetWidth(), outH = view.cache->GetHeight();
    view.area = area;
    std::copy(back, back + 4, view.back);
    SDL_SetRenderTarget(renderer, view.scratch->GetSdlTexture());
    CleanScratch(view);
    SDL_RenderSetScale(renderer, 1.0f, 1.0f);
    SDL_RenderSetViewport(renderer, nullptr);
    void* raw = nullptr;
    int pitch = 0;
    bool ok = SDL_LockTexture(view.cache->GetSdlTexture(), nullptr, &raw, &pitch) == 0;
    if (ok) {
        ok = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, raw, pitch) == 0;
        if (!ok) SDL_UnlockTexture(view.cache->GetSdlTexture());
    }
    if (!ok) {
        SDL_SetRenderTarget(renderer, nullptr);
        ResetRenderOrigin();
        return false;
    }
    auto* pixels = static_cast<uint32_t*>(raw);
    const int stride = pitch / 4;
    const TAppState& app = GetAppState();
    const int midX = std::clamp(static_cast<int>((static_cast<float>(mViewportX) + mViewportWidth / 2.0f) * app.mScaleX),
                                0, outW - 1);
    const int midY = std::clamp(static_cast<int>((static_cast<float>(mViewportY) + mViewportHeight / 2.0f) * app.mScaleY),
                                0, outH - 1);
    view.fill = pixels[midY * stride + midX];
    view.fillBlock.clear();  // it cleans the scratch with the fill of its time
    const uint32_t rgb = view.fill & 0xFFFFFFu;

    // Through the clip, a colour the fill is not.
    ResetRenderOrigin();
    const SDL_Rect viewport{mViewportX, mViewportY, mViewportWidth, mViewportHeight};
    SDL_RenderSetClipRect(renderer, &viewport);
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_GetRenderDrawBlendMode(renderer, &mode);
    SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(~rgb >> 16), static_cast<Uint8>(~rgb >> 8),
                           static_cast<Uint8>(~rgb), 255);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_RenderFillRect(renderer, nullptr);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    SDL_SetRenderDrawBlendMode(renderer, mode);
    SDL_RenderSetClipRect(renderer, nullptr);
    SDL_RenderSetScale(renderer, 1.0f, 1.0f);
    SDL_RenderSetViewport(renderer, nullptr);
    std::vector<uint32_t> line(static_cast<size_t>(std::max(outW, outH)));
    const SDL_Rect row{0, midY, outW, 1}, column{midX, 0, 1, outH};
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    auto run = [&](int count, int* from, int* to) {
        *from = *to = 0;
        for (int i = 0; i < count; ++i) {
            if ((line[static_cast<size_t>(i)] & 0xFFFFFFu) == rgb) continue;
            if (*to == 0) *from = i;
            *to = i + 1;
        }
    };
    if (SDL_RenderReadPixels(renderer, &row, SDL_PIXELFORMAT_RGB888, line.data(), outW * 4) == 0) run(outW, &x0, &x1);
    if (SDL_RenderReadPixels(renderer, &column, SDL_PIXELFORMAT_RGB888, line.data(), 4) == 0) run(outH, &y0, &y1);
    view.clip = SDL_Rect{x0, y0, x1 - x0, y1 - y0};
    // The scratch gets its fill back where the marker went.
    if (view.clip.w > 0 && view.clip.h > 0)
        SDL_UpdateTexture(view.scratch->GetSdlTexture(), &view.clip, pixels + y0 * stride + x0, pitch);
    bool uniform = view.clip.w > 0 && view.clip.h > 0;
    for (int y = y0; uniform && y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (pixels[y * stride + x] != view.fill) {
                uniform = false;
                break;
            }
    SDL_UnlockTexture(view.cache->GetSdlTexture());
    SDL_SetRenderTarget(renderer, nullptr);
    ResetRenderOrigin();
    view.composable = uniform;
    return true;
}

void TPaintByNumber::DrawReferenceOnScratch(TViewCache& view, float alpha)
{
    SDL_Renderer* renderer = GetRenderer();
    SDL_SetRenderTarget(renderer, view.scratch->GetSdlTexture());
    CleanScratch(view);
    Draw(alpha);
    view.scratchClean = false;
    SDL_SetRenderTarget(renderer, nullptr);
    ResetRenderOrigin();
}

namespace {

// A cell's key; an invisible cell draws nothing and has a key of its own.
TTileKey KeyOf(const TPictureGrid& grid, int index, const TSpan& col, const TSpan& row)
{
    const size_t i = static_cast<size_t>(index);
    const bool visible = grid.mVisible[i] != 0;
    return TTileKey{visible ? grid.mNumbers[i] : -1,  visible ? grid.mPainted[i] : -1,
                    visible ? grid.mHighlight[i] : -1, col.glyph,
                    row.glyph,                        col.seenFrom - col.from,
                    row.seenFrom - row.from,          col.to - col.seenTo,
                    row.to - row.seenTo};
}

SDL_Rect SeenRect(const TSpan& col, const TSpan& row)
{
    return SDL_Rect{col.seenFrom, row.seenFrom, col.seenTo - col.seenFrom, row.seenTo - row.seenFrom};
}

void AppendKey(std::vector<int32_t>* out, const TTileKey& k)
{
    out->insert(out->end(), {k.number, k.painted, k.highlight, k.glyphX, k.glyphY, k.cutLeft, k.cutTop, k.cutRight,
                             k.cutBottom});
}

void WriteRect(SDL_Texture* texture, const SDL_Rect& rect, const uint32_t* pixels, uint32_t fill)
{
    void* raw = nullptr;
    int pitch = 0;
    if (rect.w <= 0 || rect.h <= 0 || SDL_LockTexture(texture, &rect, &raw, &pitch) != 0) return;
    for (int y = 0; y < rect.h; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(raw) + static_cast<size_t>(y) * pitch);
        if (pixels)
            std::memcpy(out, pixels + static_cast<size_t>(y) * rect.w, static_cast<size_t>(rect.w) * 4);
        else
            std::fill(out, out + rect.w, fill);
    }
    SDL_UnlockTexture(texture);
}

}  // namespace

// Draws the cells of every job on the scratch exactly as the cell-by-cell draw would, one
// pass at a time, keeps each job's rectangle and gives the scratch its fill back.
void TPaintByNumber::DrawMissingTiles(TViewCache& view, float alpha)
{
    if (view.jobs.empty()) return;
    std::stable_sort(view.jobs.begin(), view.jobs.end(), [](const TJob& a, const TJob& b) { return a.pass < b.pass; });
    SDL_Renderer* renderer = GetRenderer();
    SDL_Texture* scratch = view.scratch->GetSdlTexture();
    SDL_SetRenderTarget(renderer, scratch);
    if (!view.scratchClean) CleanScratch(view);
    const float fraction = mZoom / std::max(0.1f, mMaxZoom - mMinZoom);
    const int width = GetColumnCount();
    int drawn = 0;
    for (size_t first = 0; first < view.jobs.size();) {
        size_t last = first;
        while (last < view.jobs.size() && view.jobs[last].pass == view.jobs[first].pass) ++last;
        ResetRenderOrigin();
        BeginViewDraw();
        for (size_t j = first; j < last; ++j)
            for (int32_t index : view.jobs[j].cells) {
                TPaintByNumberItem& cell = mCells[static_cast<size_t>(index)];
                if (cell.IsVisible()) drawn += cell.DrawCell(fraction * alpha);
            }
        EndViewDraw();
        SDL_RenderSetScale(renderer, 1.0f, 1.0f);
        SDL_RenderSetViewport(renderer, nullptr);
        for (size_t j = first; j < last; ++j) {
            const TJob& job = view.jobs[j];
            const size_t count = static_cast<size_t>(job.rect.w) * static_cast<size_t>(job.rect.h);
            const int64_t offset = static_cast<int64_t>(view.tilePixels.size());
            view.tilePixels.resize(view.tilePixels.size() + count);
            SDL_RenderReadPixels(renderer, &job.rect, SDL_PIXELFORMAT_RGB888, view.tilePixels.data() + offset,
                                 job.rect.w * 4);
            if (job.tile)
                view.tiles[job.tileKey] = offset;
            else
                view.patches[job.patchKey] = offset;
        }
        for (size_t j = first; j < last; ++j)
            for (int32_t index : view.jobs[j].cells) {
                const SDL_Rect seen = SeenRect(view.columns[static_cast<size_t>(index % width - view.c0)],
                                               view.rows[static_cast<size_t>(index / width - view.r0)]);
                const size_t count = static_cast<size_t>(std::max(0, seen.w)) * static_cast<size_t>(std::max(0, seen.h));
                if (count == 0) continue;
                if (view.fillBlock.size() < count) view.fillBlock.assign(count, view.fill);
                SDL_UpdateTexture(scratch, &seen, view.fillBlock.data(), seen.w * 4);
            }
        first = last;
    }
    view.jobs.clear();
    SDL_SetRenderTarget(renderer, nullptr);
    ResetRenderOrigin();
    mDrawnImages = drawn;
}

namespace {

// The tile of a cell, or the missing mark (and a job to draw it), or the fill.
int64_t TileFor(const TPictureGrid& grid, std::unordered_map<TTileKey, int64_t, TTileKeyHash>* tiles,
                std::vector<TJob>* jobs, int index, int column, int row, const TSpan& col, const TSpan& rowSpan)
{
    if (!grid.mVisible[static_cast<size_t>(index)]) return kMissing - 1;
    const TTileKey key = KeyOf(grid, index, col, rowSpan);
    auto found = tiles->find(key);
    if (found != tiles->end()) return found->second;
    tiles->emplace(key, kMissing);
    TJob job;
    job.pass = (column & 1) + 2 * (row & 1);
    job.cells.push_back(index);
    job.rect = SeenRect(col, rowSpan);
    job.tileKey = key;
    jobs->push_back(std::move(job));
    return kMissing;
}

}  // namespace

// Where two cells overlap by a pixel the later one blends over the earlier: those pixels
// come from a draw of both (of all four where a column's and a row's overlap cross).
void TPaintByNumber::ComposeSeams(TViewCache& view, float alpha)
{
    if (view.seamColumn < 0 && view.seamRow < 0) return;
    const int width = GetColumnCount();
    struct TPlaced {
        SDL_Rect rect;
        std::vector<int32_t> key;
    };
    std::vector<TPlaced> placed;
    auto add = [&](int kind, int pass, const std::vector<int32_t>& cells, const SDL_Rect& rect) {
        std::vector<int32_t> key{kind};
        for (int32_t index : cells)
            AppendKey(&key, KeyOf(mGrid, index, view.columns[static_cast<size_t>(index % width - view.c0)],
                                  view.rows[static_cast<size_t>(index / width - view.r0)]));
        if (view.patches.find(key) == view.patches.end()) {
            view.patches.emplace(key, kMissing);
            TJob job;
            job.pass = pass;
            job.cells = cells;
            job.rect = rect;
            job.tile = false;
            job.patchKey = key;
            view.jobs.push_back(std::move(job));
        }
        placed.push_back(TPlaced{rect, std::move(key)});
    };
    auto at = [&](int c, int r) { return (view.r0 + r) * width + view.c0 + c; };
    const int a = view.seamColumn - 1, b = view.seamColumn, j = view.seamRow;
    if (view.seamColumn >= 0) {
        const int x = view.columns[static_cast<size_t>(b)].from;
        for (size_t r = 0; r < view.rows.size(); ++r) {
            const TSpan& row = view.rows[r];
            if (!Seen(row)) continue;
            const int ri = static_cast<int>(r);
            add(1, 4 + (ri & 1), {at(a, ri), at(b, ri)}, SDL_Rect{x, row.seenFrom, 1, row.seenTo - row.seenFrom});
        }
    }
    if (view.seamRow >= 0) {
        const int y = view.rows[static_cast<size_t>(j)].from;
        for (size_t c = 0; c < view.columns.size(); ++c) {
            const TSpan& col = view.columns[c];
            if (!Seen(col)) continue;
            const int ci = static_cast<int>(c);
            add(2, 6 + (ci & 1), {at(ci, j - 1), at(ci, j)}, SDL_Rect{col.seenFrom, y, col.seenTo - col.seenFrom, 1});
        }
    }
    if (view.seamColumn >= 0 && view.seamRow >= 0)
        add(3, 8, {at(a, j - 1), at(b, j - 1), at(a, j), at(b, j)},
            SDL_Rect{view.columns[static_cast<size_t>(b)].from, view.rows[static_cast<size_t>(j)].from, 1, 1});
    DrawMissingTiles(view, alpha);
    for (const TPlaced& p : placed) {
        auto found = view.patches.find(p.key);
        if (found != view.patches.end() && found->second >= 0)
            WriteRect(view.cache->GetSdlTexture(), p.rect, view.tilePixels.data() + found->second, 0);
    }
}

void TPaintByNumber::ComposeAll(TViewCache& view, float alpha)
{
    if (view.tilePixels.size() > kMostTilePixels) {
        view.tiles.clear();
        view.patches.clear();
        view.tilePixels.clear();
    }
    view.seenColumns.clear();
    view.seenRows.clear();
    for (size_t i = 0; i < view.columns.size(); ++i)
        if (Seen(view.columns[i])) view.seenColumns.push_back(static_cast<int>(i));
    for (size_t i = 0; i < view.rows.size(); ++i)
        if (Seen(view.rows[i])) view.seenRows.push_back(static_cast<int>(i));
    const size_t nCols = view.seenColumns.size();
    view.offsets.resize(nCols * view.seenRows.size());
    view.jobs.clear();
    const int width = GetColumnCount();
    auto resolve = [&](bool missingOnly) {
        for (size_t r = 0; r < view.seenRows.size(); ++r) {
            const int row = view.seenRows[r];
            for (size_t c = 0; c < nCols; ++c) {
                int64_t& offset = view.offsets[r * nCols + c];
                if (missingOnly && offset != kMissing) continue;
                const int col = view.seenColumns[c];
                offset = TileFor(mGrid, &view.tiles, &view.jobs, (view.r0 + row) * width + view.c0 + col, col, row,
                                 view.columns[static_cast<size_t>(col)], view.rows[static_cast<size_t>(row)]);
            }
        }
    };
    resolve(false);
    mDrawnImages = 0;
    // A missing mark then has its tile: every cell of one combination shares it.
    DrawMissingTiles(view, alpha);
    resolve(true);

    const SDL_Rect& clip = view.clip;
    void* raw = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(view.cache->GetSdlTexture(), &clip, &raw, &pitch) != 0) return;
    const uint32_t fill = view.fill;
    size_t r = 0;
    for (int y = clip.y; y < clip.y + clip.h; ++y) {
        uint32_t* out =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(raw) + static_cast<size_t>(y - clip.y) * pitch) - clip.x;
        while (r < view.seenRows.size() && view.rows[static_cast<size_t>(view.seenRows[r])].seenTo <= y) ++r;
        const TSpan* row = r < view.seenRows.size() ? &view.rows[static_cast<size_t>(view.seenRows[r])] : nullptr;
        if (!row || y < row->seenFrom) {
            std::fill(out + clip.x, out + clip.x + clip.w, fill);
            continue;
        }
        const int line = y - row->seenFrom;
        int x = clip.x;
        const int64_t* offsets = view.offsets.data() + r * nCols;
        for (size_t c = 0; c < nCols; ++c) {
            const TSpan& col = view.columns[static_cast<size_t>(view.seenColumns[c])];
            // A cell overlapping the one before by a pixel starts before x: its patch mends it.
            const int from = std::max(col.seenFrom, x);
            std::fill(out + x, out + from, fill);
            const int w = col.seenTo - col.seenFrom;
            if (offsets[c] >= 0)
                std::memcpy(out + from,
                            view.tilePixels.data() + offsets[c] + static_cast<int64_t>(line) * w + (from - col.seenFrom),
                            static_cast<size_t>(col.seenTo - from) * 4);
            else
                std::fill(out + from, out + col.seenTo, fill);
            x = col.seenTo;
        }
        std::fill(out + x, out + clip.x + clip.w, fill);
    }
    SDL_UnlockTexture(view.cache->GetSdlTexture());
    ComposeSeams(view, alpha);
}

void TPaintByNumber::ComposeCells(TViewCache& view, float alpha)
{
    const int width = GetColumnCount();
    // The marked cells the view shows; the marks may repeat a cell.
    std::vector<int32_t>& cells = view.changes;
    bool onSeam = false;
    cells.erase(std::remove_if(cells.begin(), cells.end(),
                               [&](int32_t index) {
                                   if (index < 0 || static_cast<size_t>(index) >= mGrid.Size()) return true;
                                   const int c = index % width - view.c0, r = index / width - view.r0;
                                   if (c < 0 || r < 0 || c >= view.c1 - view.c0 || r >= view.r1 - view.r0 ||
                                       !Seen(view.columns[static_cast<size_t>(c)]) ||
                                       !Seen(view.rows[static_cast<size_t>(r)]))
                                       return true;
                                   if ((view.seamColumn >= 0 && (c == view.seamColumn || c == view.seamColumn - 1)) ||
                                       (view.seamRow >= 0 && (r == view.seamRow || r == view.seamRow - 1)))
                                       onSeam = true;
                                   return false;
                               }),
                cells.end());
    if (onSeam) {
        ComposeAll(view, alpha);
        return;
    }
    mDrawnImages = 0;
    if (cells.empty()) return;
    if (view.tilePixels.size() > kMostTilePixels) {
        view.tiles.clear();
        view.patches.clear();
        view.tilePixels.clear();
    }
    view.jobs.clear();
    auto tileOf = [&](int32_t index) {
        const int c = index % width - view.c0, r = index / width - view.r0;
        return TileFor(mGrid, &view.tiles, &view.jobs, index, c, r, view.columns[static_cast<size_t>(c)],
                       view.rows[static_cast<size_t>(r)]);
    };
    for (int32_t index : cells) tileOf(index);
    DrawMissingTiles(view, alpha);
    for (int32_t index : cells) {
        const int64_t offset = tileOf(index);
        const SDL_Rect seen = SeenRect(view.columns[static_cast<size_t>(index % width - view.c0)],
                                       view.rows[static_cast<size_t>(index / width - view.r0)]);
        WriteRect(view.cache->GetSdlTexture(), seen, offset >= 0 ? view.tilePixels.data() + offset : nullptr,
                  view.fill);
    }
}

void TPaintByNumber::DrawOverFill(float alpha, const SDL_Rect& area, const float back[4])
{
    SDL_Renderer* renderer = GetRenderer();
    const TRenderDevice* device = GetAppState().mRenderDevice.get();
    int outW = 0, outH = 0;
    // A translucent fill would blend with what lies under the board: only the screen has that.
    const bool canCache = renderer && device && back[3] >= 1.0f && !SDL_GetRenderTarget(renderer) &&
                          SDL_GetRendererOutputSize(renderer, &outW, &outH) == 0 && outW > 0 && outH > 0;
    if (!mView) mView = std::make_unique<TViewCache>();
    TViewCache& view = *mView;
    const bool all = mGrid.TakeChanges(&view.changes);
    auto direct = [&] {
        if (device) device->FillRect(area, back[0], back[1], back[2], back[3]);
        Draw(alpha);
        view.state = TViewCache::kEmpty;
    };
    if (!canCache) {
        direct();
        return;
    }
    // After a reset the scratch target (with a lost device every texture) holds nothing of
    // what was drawn: the cache starts over on new textures.
    if (!view.cache.Get() || view.cache->GetWidth() != outW || view.cache->GetHeight() != outH ||
        view.resets != device->mResets) {
        view = TViewCache();
        view.resets = device->mResets;
        view.cache = CreateBlankTexture(outW, outH, SDL_TEXTUREACCESS_STREAMING);
        view.scratch = CreateBlankTexture(outW, outH, SDL_TEXTUREACCESS_TARGET);
        if (!view.cache.Get() || !view.scratch.Get()) {
            GetLogger()->LogMessage("view cache: no %dx%d textures, drawing cell by cell", outW, outH);
            view.cache.Reset();
            view.scratch.Reset();
            direct();
            return;
        }
    }
    const TAppState& app = GetAppState();
    std::vector<double> look = {alpha, back[0], back[1], back[2], back[3], static_cast<double>(area.x),
                                static_cast<double>(area.y), static_cast<double>(area.w),
                                static_cast<double>(area.h), app.mScaleX, app.mScaleY, mZoom, mMaxZoom, mMinZoom,
                                static_cast<double>(mViewportX), static_cast<double>(mViewportY),
                                static_cast<double>(mViewportWidth), static_cast<double>(mViewportHeight),
                                static_cast<double>(mCellSize), static_cast<double>(mCells.size()),
                                static_cast<double>(mTextureGeneration)};
    if (look != view.lookKey) {
        view.lookKey = std::move(look);
        view.tiles.clear();
        view.patches.clear();
        view.tilePixels.clear();
        view.prepared = false;
        view.state = TViewCache::kEmpty;
    }
    if (!view.prepared) {
        // The tiles rest on the software renderer's arithmetic: a GPU places and samples
        // images by its own rules, so there the whole frame is drawn when anything changed.
        SDL_RendererInfo info{};
        const bool software = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
        view.area = area;
        std::copy(back, back + 4, view.back);
        view.composable = false;
        if (software && !PrepareViewCache(view, area, back)) {
            direct();
            return;
        }
        view.prepared = true;
    }
    const int32_t place[4] = {mPanX, mPanY, mDragX, mDragY};
    const bool moved = !std::equal(place, place + 4, view.place);
    std::copy(place, place + 4, view.place);
    const bool composable = view.composable && !mCells.empty() && mCellSize > 0 && ViewGeometry(view);
    if (!composable) {
        if (view.state != TViewCache::kReference || moved || all || !view.changes.empty()) {
            DrawReferenceOnScratch(view, alpha);
            view.state = TViewCache::kReference;
        } else {
            mDrawnImages = 0;
        }
    } else if (view.state != TViewCache::kComposed || moved || all) {
        ComposeAll(view, alpha);
        view.state = TViewCache::kComposed;
    } else if (!view.changes.empty()) {
        ComposeCells(view, alpha);
    } else {
        mDrawnImages = 0;
    }
    // One unblended copy pixel for pixel: a scaled copy could sample neighbouring pixels.
    SDL_Texture* cache = (view.state == TViewCache::kReference ? view.scratch : view.cache)->GetSdlTexture();
    SDL_SetTextureBlendMode(cache, SDL_BLENDMODE_NONE);
    SDL_RenderSetScale(renderer, 1.0f, 1.0f);
    SDL_RenderSetViewport(renderer, nullptr);
    SDL_RenderSetClipRect(renderer, nullptr);
    SDL_RenderCopy(renderer, cache, nullptr, nullptr);
    ResetRenderOrigin();
}
