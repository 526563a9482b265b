#include "game/picture.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/virtual_files.h"
#include "graphics/render_origin.h"
#include "graphics/texture_cache.h"

namespace {

bool IsPureWhite(const TRgbaF& c)
{
    return c.r == 1.0f && c.g == 1.0f && c.b == 1.0f && c.a == 1.0f;
}

}  // namespace

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

void TPaintByNumber::LoadCellTextures(int cellSize)
{
    ++mTextureGeneration;
    char name[64];
    snprintf(name, sizeof(name), "textures/scuare%d", cellSize);
    mFrameImage.SetTexture(name);
    snprintf(name, sizeof(name), "textures/scuare%dwhite", cellSize);
    mPaintedImage.SetTexture(name);
    mUnpaintedImage.SetTexture(name);
}

void TPaintByNumber::LoadPicture(int cellSize, const std::string& pictureName, const std::string& folder)
{
    LoadPicture(cellSize, pictureName, folder, TexturePtr());
}

void TPaintByNumber::LoadPicture(int cellSize, const std::string& pictureName, const std::string& folder,
                                 const TexturePtr& picture)
{
    ++mTextureGeneration;
    mMaxZoom = 3.0f;
    mMinZoom = 0.1f;
    mPanX = mPanY = 0;
    mPressX = mPressY = 0;
    mDragX = mDragY = 0;
    mCellSize = cellSize;
    LoadCellTextures(cellSize);

    mSelectedColor = 0;
    mProgressPath = "user:" + folder + "/" + FileNameWithoutExt(pictureName) + ".dat";

    // Only the paletted getter: the cache is shared by name, and a plain texture of the same
    // name would reach us without its palette.
    if (picture.Get()) {
        mPictureImage.FreeTexture();
        mPictureImage.mTextureName = pictureName;
        mPictureImage.mTexture = picture;
    } else {
        mPictureImage.SetStreamingTexture(pictureName);
    }
    TexturePtr texture = mPictureImage.GetTexturePtr();
    TTexture* tex = texture.Get();
    if (tex && !tex->GetPalette().empty()) {
        mColors = tex->GetPalette();
        mGreyRamp = tex->GetPalette();
    } else {
        GetLogger()->LogMessage("picture %s cannot be loaded", pictureName.c_str());
        tex = nullptr;
        mColors.clear();
        mGreyRamp.clear();
    }

    ClearCells();
    const int width = tex ? tex->GetWidth() : 0;
    const int height = tex ? tex->GetHeight() : 0;
    mGrid.Reset(width, height);
    std::vector<bool> seen(256, false);
    int distinct = 0;
    int highest = -1;
    int white = -1;
    // Cells never move once made: listeners hold pointers to them.
    mCells.reserve(mGrid.Size());
    for (int y = 0; y < mGrid.Height(); ++y) {
        for (int x = 0; x < width; ++x) {
            const int n = tex->GetAlphaAt(x, y);
            if (!seen[n]) {
                seen[n] = true;
                ++distinct;
                highest = std::max(highest, n);
            }
            mCells.emplace_back(&mShared, x, y);
            TPaintByNumberItem& cell = mCells.back();
            cell.SetPosition(static_cast<float>(x * cellSize), static_cast<float>(y * cellSize), false);
            cell.SetWidth(cellSize);
            cell.SetHeight(cellSize);
            const int index = mGrid.IndexOf(x, y);
            mGrid.mNumbers[index] = static_cast<uint8_t>(n);
            if (n < static_cast<int>(mColors.size()) && IsPureWhite(mColors[n])) {
                mGrid.mVisible[index] = 0;
                white = n;
            }
        }
    }
    if (highest >= distinct)
        GetLogger()->LogMessage("picture %s: colour numbers have gaps", pictureName.c_str());

    mColorCount = distinct;
    if (white >= 0) {
        // White leaves the colour list: the highest colour takes its number, so the numbers
        // stay 0 .. count - 1.
        const int last = mColorCount - 1;
        mColors[white] = mColors[last];
        if (last != white) {
            for (uint8_t& n : mGrid.mNumbers)
                if (n == last) n = static_cast<uint8_t>(white);
        }
        mColorCount = last;
    }

    ComputeRampAndLightness();
    ComputeFit();

    mErrors = 0;
    if (!mCells.empty() && FileExists(mProgressPath)) ReadProgressOrSetAside();
    SelectColor(0);
}

void TPaintByNumber::ComputeRampAndLightness()
{
    mLightness.clear();
    if (mColorCount <= 0) return;
    const int step = 195 / mColorCount;
    for (int i = 0; i < mColorCount; ++i) {
        const float v = static_cast<float>(60 + i * step) / 255.0f;
        mGreyRamp[i] = TRgbaF{v, v, v, 1.0f};
        mLightness.push_back(ColorLightness(mColors[i]));
    }
}

int TPaintByNumber::PictureWidth() const
{
    return GetColumnCount() * mCellSize;
}

int TPaintByNumber::PictureHeight() const
{
    return GetRowCount() * mCellSize;
}

void TPaintByNumber::ComputeFit()
{
    float fit = 1.0f;
    if (!mCells.empty()) {
        fit = std::min(static_cast<float>(mViewportWidth) / static_cast<float>(PictureWidth()),
                       static_cast<float>(mViewportHeight) / static_cast<float>(PictureHeight()));
        // A viewport without area (or a cell size of 0) gives no usable fit.
        if (!std::isfinite(fit) || !(fit > 0.0f)) fit = 1.0f;
    }
    mZoom = fit;
    mFitZoom = fit;
    mMaxZoom = std::max(3.0f, fit);
    mMinZoom = std::max(0.1f, 0.5f * std::min(3.0f, fit));
}

bool TPaintByNumber::ReadProgressOrSetAside()
{
    const long expected = 4 + static_cast<long>(mGrid.Size());
    long size = -1;
    {
        TFile file;
        if (file.Open(mProgressPath, false)) size = file.Size();
    }
    if (size != expected) {
        // A short file would read as cells painted with colour 0, and the next save would
        // make that permanent: keep the file aside and start the picture afresh.
        if (size < 0) {
            GetLogger()->LogMessage("progress %s cannot be read", mProgressPath.c_str());
            return false;
        }
        KeepBadFile(mProgressPath);
        GetLogger()->LogMessage("progress %s: %ld bytes, %ld expected; kept as %s.bad", mProgressPath.c_str(),
                                size, expected, mProgressPath.c_str());
        return false;
    }
    LoadProgress(mProgressPath);
    return true;
}

void TPaintByNumber::LoadProgress(const std::string& path)
{
    TBufferBin buffer;
    buffer.LoadFromFile(path, false, 0);
    mErrors = buffer.ReadInt32();
    for (uint8_t& painted : mGrid.mPainted) painted = static_cast<uint8_t>(buffer.ReadByte());
}

bool TPaintByNumber::SaveProgress(const std::string& path)
{
    // Without a picture there is nothing to keep; a 4-byte file would replace real progress.
    if (mCells.empty()) return false;
    TBufferBin buffer;
    buffer.WriteInt32(mErrors);
    for (uint8_t painted : mGrid.mPainted) buffer.WriteByte(painted);
    return buffer.SaveToFile(path, false, 0);
}

void TPaintByNumber::ClearCells()
{
    mCells.clear();  // the storage stays for the next picture: a million cells fault in slowly
    mGrid.Clear();
}

TPaintByNumberItem* TPaintByNumber::GetCell(int column, int row)
{
    if (!mGrid.Contains(column, row)) return nullptr;
    return &mCells[mGrid.IndexOf(column, row)];
}

void TPaintByNumber::SelectColor(int number)
{
    mSelectedColor = number;
    const size_t n = mGrid.Size();
    for (size_t i = 0; i < n; ++i) mGrid.mHighlight[i] = mGrid.mNumbers[i] == number;
}

void TPaintByNumber::UpdateCompletion()
{
    mGrid.ComputeCompletion(mColorCount, &mCompletion);
}

bool TPaintByNumber::AllColorsComplete() const
{
    return std::all_of(mCompletion.begin(), mCompletion.end(), [](bool b) { return b; });
}

int TPaintByNumber::CountCompleteColors() const
{
    return static_cast<int>(std::count(mCompletion.begin(), mCompletion.end(), true));
}

void TPaintByNumber::ResetView()
{
    mZoom = mFitZoom;
    mPanX = mPanY = 0;
    mDragX = mDragY = 0;
    mPressX = mPressY = 0;
}

void TPaintByNumber::SetPanFromNavigator(float u, float v)
{
    mPanX = TruncToInt(static_cast<float>(PictureWidth() / 2) * (u - 0.5f) * 2.0f);
    mPanY = TruncToInt(static_cast<float>(PictureHeight() / 2) * (v - 0.5f) * 2.0f);
}

bool TPaintByNumber::Inside(int x, int y) const
{
    return x >= mViewportX && x < mViewportX + mViewportWidth && y >= mViewportY &&
           y < mViewportY + mViewportHeight;
}

// Errors never wrap: thousands of wrong fills of a huge picture would overflow an int.
void TPaintByNumber::AddError()
{
    if (mErrors < INT32_MAX) ++mErrors;
    if (mStrokeErrors < INT32_MAX) ++mStrokeErrors;
}

TPaintByNumberItem* TPaintByNumber::CellAt(TMouseEvent* event)
{
    event->mX = TruncToInt(static_cast<float>(event->mX - mOriginX) / mZoom) - mPanX;
    event->mY = TruncToInt(static_cast<float>(event->mY - mOriginY) / mZoom) - mPanY;
    if (mCellSize <= 0 || mCells.empty()) return nullptr;
    // The same answer as scanning the cells in order: cells tile the picture exactly.
    const int x = event->mX, y = event->mY;
    const int column = x >= 0 ? x / mCellSize : -1;
    const int row = y >= 0 ? y / mCellSize : -1;
    return GetCell(column, row);
}

// The error is counted per event: moving over a cell again, or over a right cell with
// another colour selected, counts again.
void TPaintByNumber::ApplyPaint(TPaintByNumberItem* cell, bool notify)
{
    if (mSelectedColor != cell->GetNumber()) AddError();
    if (cell->IsVisible() && cell->GetPainted() != cell->GetNumber()) {
        cell->SetPainted(mSelectedColor);
        if (notify && mListener) mListener->OnCellPainted(cell);
    }
}

bool TPaintByNumber::MouseDown(const TMouseEvent& event)
{
    mStrokeErrors = 0;
    mPressX = event.mX;
    mPressY = event.mY;
    mStrokeState = 0;
    mDragX = mDragY = 0;
    return false;
}

bool TPaintByNumber::MouseMove(const TMouseEvent& event)
{
    if (event.mButtons == 2 && mStrokeState == 0) mStrokeState = 1;
    if (mStrokeState == 1 && event.mButtons != 0) {
        mDragX = TruncToInt(static_cast<float>(event.mX - mPressX) / mZoom);
        mDragY = TruncToInt(static_cast<float>(event.mY - mPressY) / mZoom);
    }
    if (event.mButtons == 1 && mStrokeState != 1 && Inside(event.mX, event.mY)) {
        TMouseEvent e = event;
        TPaintByNumberItem* cell = CellAt(&e);
        if (!cell) return false;
        mStrokeState = 2;
        ApplyPaint(cell, true);
    }
    return false;
}

bool TPaintByNumber::MouseDrag(const TMouseEvent& /*event*/)
{
    return false;
}

bool TPaintByNumber::MouseUp(const TMouseEvent& event)
{
    if (mStrokeState != 1) {
        const bool inside = Inside(event.mX, event.mY);
        TMouseEvent e = event;
        TPaintByNumberItem* cell = CellAt(&e);
        // A release counts again: a click is one event, a stroke ends with one more.
        if (cell && inside) ApplyPaint(cell, false);
        SaveProgress(mProgressPath);
        UpdateCompletion();
        if (mStrokeErrors > 0 && mListener) mListener->OnStrokeErrors(cell, mStrokeErrors);
        if (mListener) mListener->OnStrokeFinished();
    }
    mPanX += mDragX;
    mPanY += mDragY;
    mPressX = mPressY = 0;
    mDragX = mDragY = 0;
    mStrokeState = 0;
    return false;
}

bool TPaintByNumber::DoubleClick(const TMouseEvent& event)
{
    if (event.mButtons != 1) return false;
    TMouseEvent e = event;
    TPaintByNumberItem* cell = CellAt(&e);
    if (!cell) return false;
    mStrokeErrors = 0;
    const int n = FillArea(cell);
    SaveProgress(mProgressPath);
    if (n > 0) {
        UpdateCompletion();
        if (mListener) mListener->OnAreaFilled();
    }
    return false;
}

int TPaintByNumber::FillArea(TPaintByNumberItem* cell)
{
    const int count = mGrid.FillArea(cell->GetColumn(), cell->GetRow(), static_cast<uint8_t>(mSelectedColor));
    // Every filled cell carries the start cell's number: all wrong or all right.
    if (cell->GetNumber() != mSelectedColor) {
        const int64_t room = INT32_MAX;
        mErrors = static_cast<int32_t>(std::min<int64_t>(room, static_cast<int64_t>(mErrors) + count));
        mStrokeErrors = static_cast<int32_t>(std::min<int64_t>(room, static_cast<int64_t>(mStrokeErrors) + count));
    }
    return count;
}

void TPaintByNumber::Draw(float alpha)
{
    mDrawnImages = 0;
    if (mCells.empty() || mCellSize <= 0) return;
    SDL_Renderer* renderer = GetRenderer();
    TAppState& app = GetAppState();
    // Clip first: SDL converts the clip rectangle with the scale in force when it is set.
    SDL_Rect clip{mViewportX, mViewportY, mViewportWidth, mViewportHeight};
    if (renderer) SDL_RenderSetClipRect(renderer, &clip);
    ViewOffset(&app.mOffsetX, &app.mOffsetY);
    SetRenderOrigin(0, 0, mZoom, mZoom);

    const float fraction = mZoom / std::max(0.1f, mMaxZoom - mMinZoom);
    // Only the cells that reach into the viewport: a 300 x 300 picture at fit would
    // otherwise send 90,000 cells through four sprite draws each.
    const float cell = static_cast<float>(mCellSize) * mZoom;
    auto firstCell = [&](int view, int offset) {
        return std::max(0, TruncToInt(std::floor((static_cast<float>(view) / mZoom - offset) / mCellSize)) - 1);
    };
    int col0 = firstCell(mViewportX, app.mOffsetX);
    int row0 = firstCell(mViewportY, app.mOffsetY);
    const int cols = TruncToInt(static_cast<float>(mViewportWidth) / cell) + 3;
    const int rows = TruncToInt(static_cast<float>(mViewportHeight) / cell) + 3;
    int col1 = static_cast<int>(std::min<int64_t>(GetColumnCount(), static_cast<int64_t>(col0) + cols));
    int row1 = static_cast<int>(std::min<int64_t>(GetRowCount(), static_cast<int64_t>(row0) + rows));
    if (mRedrawOnly) {
        // The same cells in the same order as a whole frame, narrowed to the changed block.
        col0 = std::max(col0, mRedrawOnly->c0);
        row0 = std::max(row0, mRedrawOnly->r0);
        col1 = std::min(col1, mRedrawOnly->c1);
        row1 = std::min(row1, mRedrawOnly->r1);
    }
    for (int r = row0; r < row1; ++r) {
        TPaintByNumberItem* row = &mCells[mGrid.IndexOf(0, r)];
        for (int c = col0; c < col1; ++c)
            if (row[c].IsVisible()) mDrawnImages += row[c].DrawCell(fraction * alpha);
    }

    app.mOffsetX = app.mOffsetY = 0;
    if (renderer) SDL_RenderSetClipRect(renderer, nullptr);
    ResetRenderOrigin();
}

std::vector<double> TPaintByNumber::ViewKey(float alpha, const SDL_Rect& area, const float back[4], int outW,
                                            int outH) const
{
    const TAppState& app = GetAppState();
    return {alpha, back[0], back[1], back[2], back[3], static_cast<double>(area.x), static_cast<double>(area.y),
            static_cast<double>(area.w), static_cast<double>(area.h), static_cast<double>(outW),
            static_cast<double>(outH), app.mScaleX, app.mScaleY, mZoom, mMaxZoom, mMinZoom,
            static_cast<double>(mPanX), static_cast<double>(mPanY), static_cast<double>(mDragX),
            static_cast<double>(mDragY), static_cast<double>(mViewportX), static_cast<double>(mViewportY),
            static_cast<double>(mViewportWidth), static_cast<double>(mViewportHeight),
            static_cast<double>(mSelectedColor), static_cast<double>(mCellSize),
            static_cast<double>(mCells.size()), static_cast<double>(mTextureGeneration)};
}

bool TPaintByNumber::CacheMatches(const std::vector<double>& key) const
{
    // The cells change silently (a release, a fill, a loaded progress file, a clear): their
    // bytes are compared every frame rather than trusting every path to report it.
    return key == mCacheKey && mCachePainted == mGrid.mPainted && mCacheVisible == mGrid.mVisible &&
           mCacheHighlight == mGrid.mHighlight;
}

void TPaintByNumber::ViewOffset(int* x, int* y)
{
    // The origin stays where the hit tests read it.
    mOriginX = mViewportX + mViewportWidth / 2 - TruncToInt(static_cast<float>(PictureWidth()) * mZoom * 0.5f);
    mOriginY = mViewportY + mViewportHeight / 2 - TruncToInt(static_cast<float>(PictureHeight()) * mZoom * 0.5f);
    *x = TruncToInt(static_cast<float>(mPanX + mDragX) + static_cast<float>(mOriginX) / mZoom);
    *y = TruncToInt(static_cast<float>(mPanY + mDragY) + static_cast<float>(mOriginY) / mZoom);
}

bool TPaintByNumber::ChangedCells(int* c0, int* r0, int* c1, int* r1) const
{
    const int width = GetColumnCount();
    const size_t count = mGrid.mPainted.size();
    if (width <= 0 || mCachePainted.size() != count || mCacheVisible.size() != mGrid.mVisible.size() ||
        mCacheHighlight.size() != mGrid.mHighlight.size() || mGrid.mVisible.size() != count ||
        mGrid.mHighlight.size() != count)
        return false;
    *c0 = *r0 = INT32_MAX;
    *c1 = *r1 = -1;
    for (size_t i = 0; i < count; ++i) {
        if (mCachePainted[i] == mGrid.mPainted[i] && mCacheVisible[i] == mGrid.mVisible[i] &&
            mCacheHighlight[i] == mGrid.mHighlight[i])
            continue;
        const int c = static_cast<int>(i % static_cast<size_t>(width));
        const int r = static_cast<int>(i / static_cast<size_t>(width));
        *c0 = std::min(*c0, c);
        *r0 = std::min(*r0, r);
        *c1 = std::max(*c1, c + 1);
        *r1 = std::max(*r1, r + 1);
    }
    return *c1 > 0;
}

void TPaintByNumber::RememberCells()
{
    mCachePainted = mGrid.mPainted;
    mCacheVisible = mGrid.mVisible;
    mCacheHighlight = mGrid.mHighlight;
}

bool TPaintByNumber::RedrawChangedCells(float alpha, const SDL_Rect& area, const float back[4], int c0, int r0,
                                        int c1, int r1)
{
    // A clipped, scaled image samples its texture from other texels than the whole image
    // does, so the changed cells are not drawn clipped into the cache: the block, with a
    // ring of two cells, is drawn whole over a fresh fill into a scratch target, and only
    // the changed cells and one cell round them, which every image touching them reaches
    // in that drawing, are copied over pixel for pixel.
    SDL_Renderer* renderer = GetRenderer();
    const TRenderDevice* device = GetAppState().mRenderDevice.get();
    const int outW = mViewCache->GetWidth(), outH = mViewCache->GetHeight();
    if (!mViewScratch.Get() || mViewScratch->GetWidth() != outW || mViewScratch->GetHeight() != outH) {
        mViewScratch = CreateBlankTexture(outW, outH, SDL_TEXTUREACCESS_TARGET);
        if (!mViewScratch.Get()) return false;
    }
    int offX = 0, offY = 0;
    ViewOffset(&offX, &offY);
    auto edge = [&](int offset, int cell) { return static_cast<float>(offset + cell * mCellSize) * mZoom; };
    auto span = [&](int fromCol, int fromRow, int toCol, int toRow) {
        const int x0 = TruncToInt(std::floor(edge(offX, fromCol))), y0 = TruncToInt(std::floor(edge(offY, fromRow)));
        const int x1 = TruncToInt(std::ceil(edge(offX, toCol))), y1 = TruncToInt(std::ceil(edge(offY, toRow)));
        return SDL_Rect{x0, y0, x1 - x0, y1 - y0};
    };
    const SDL_Rect inner = span(c0 - 1, r0 - 1, c1 + 1, r1 + 1);
    const SDL_Rect ring = span(c0 - 2, r0 - 2, c1 + 2, r1 + 2);
    const SDL_Rect view{mViewportX, mViewportY, mViewportWidth, mViewportHeight};
    if (!SDL_HasIntersection(&inner, &view)) {
        RememberCells();
        return true;
    }
    // Near the view's or the fill's edges the clips would decide the pixels: draw it all.
    auto within = [](const SDL_Rect& in, const SDL_Rect& out) {
        return in.x >= out.x + 2 && in.y >= out.y + 2 && in.x + in.w <= out.x + out.w - 2 &&
               in.y + in.h <= out.y + out.h - 2;
    };
    if (!within(inner, view) || !within(inner, area)) return false;

    SDL_SetRenderTarget(renderer, mViewScratch->GetSdlTexture());
    ResetRenderOrigin();
    SDL_Rect port{};
    SDL_RenderGetViewport(renderer, &port);
    float sx = 1.0f, sy = 1.0f;
    SDL_RenderGetScale(renderer, &sx, &sy);
    SDL_RenderSetClipRect(renderer, &ring);  // a solid fill comes out the same however clipped
    device->FillRect(area, back[0], back[1], back[2], back[3]);
    SDL_RenderSetClipRect(renderer, nullptr);
    const CellRange range{c0 - 2, r0 - 2, c1 + 2, r1 + 2};
    mRedrawOnly = &range;
    Draw(alpha);
    mRedrawOnly = nullptr;
    const int drawn = mDrawnImages;

    const int px0 = TruncToInt(std::floor(static_cast<float>(port.x + inner.x) * sx));
    const int py0 = TruncToInt(std::floor(static_cast<float>(port.y + inner.y) * sy));
    const int px1 = TruncToInt(std::ceil(static_cast<float>(port.x + inner.x + inner.w) * sx));
    const int py1 = TruncToInt(std::ceil(static_cast<float>(port.y + inner.y + inner.h) * sy));
    // Clipped to the target here: SDL would clip the source and the destination apart and stretch.
    const SDL_Rect block{px0, py0, px1 - px0, py1 - py0};
    const SDL_Rect target{0, 0, outW, outH};
    SDL_Rect pixels{};
    const bool onTarget = SDL_IntersectRect(&block, &target, &pixels) == SDL_TRUE;
    SDL_SetRenderTarget(renderer, mViewCache->GetSdlTexture());
    SDL_RenderSetScale(renderer, 1.0f, 1.0f);
    SDL_RenderSetViewport(renderer, nullptr);
    SDL_RenderSetClipRect(renderer, nullptr);
    SDL_SetTextureBlendMode(mViewScratch->GetSdlTexture(), SDL_BLENDMODE_NONE);
    if (onTarget) SDL_RenderCopy(renderer, mViewScratch->GetSdlTexture(), &pixels, &pixels);
    SDL_SetRenderTarget(renderer, nullptr);
    ResetRenderOrigin();
    mDrawnImages = drawn;
    RememberCells();
    return true;
}

void TPaintByNumber::DrawOverFill(float alpha, const SDL_Rect& area, const float back[4])
{
    SDL_Renderer* renderer = GetRenderer();
    const TRenderDevice* device = GetAppState().mRenderDevice.get();
    int outW = 0, outH = 0;
    // A translucent fill would blend with what lies under the board: only the screen has that.
    const bool canCache = renderer && device && back[3] >= 1.0f && !SDL_GetRenderTarget(renderer) &&
                          SDL_GetRendererOutputSize(renderer, &outW, &outH) == 0 && outW > 0 && outH > 0;
    if (!canCache) {
        if (device) device->FillRect(area, back[0], back[1], back[2], back[3]);
        Draw(alpha);
        return;
    }
    std::vector<double> key = ViewKey(alpha, area, back, outW, outH);
    const bool fresh = !mViewCache.Get() || mViewCache->GetWidth() != outW || mViewCache->GetHeight() != outH;
    if (fresh) {
        mCacheKey.clear();
        mViewCache = CreateBlankTexture(outW, outH, SDL_TEXTUREACCESS_TARGET);
        if (!mViewCache.Get()) {
            GetLogger()->LogMessage("view cache: no %dx%d target, drawing cell by cell", outW, outH);
            device->FillRect(area, back[0], back[1], back[2], back[3]);
            Draw(alpha);
            return;
        }
    }
    SDL_Texture* cache = mViewCache->GetSdlTexture();
    int c0 = 0, r0 = 0, c1 = 0, r1 = 0;
    bool redrewPart = false;
    if (key == mCacheKey && ChangedCells(&c0, &r0, &c1, &r1) &&
        static_cast<int64_t>(c1 - c0) * (r1 - r0) * 4 < static_cast<int64_t>(mCells.size()))
        redrewPart = RedrawChangedCells(alpha, area, back, c0, r0, c1, r1);
    if (!CacheMatches(key)) {
        // The target gets the screen's own scale and viewport, so every draw lands on the
        // same pixels it would on the screen.
        SDL_SetRenderTarget(renderer, cache);
        Uint8 r = 0, g = 0, b = 0, a = 0;
        SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_SetRenderDrawColor(renderer, r, g, b, a);
        ResetRenderOrigin();
        device->FillRect(area, back[0], back[1], back[2], back[3]);
        Draw(alpha);
        const int drawn = mDrawnImages;
        SDL_SetRenderTarget(renderer, nullptr);
        ResetRenderOrigin();
        mDrawnImages = drawn;
        mCacheKey = std::move(key);
        RememberCells();
    } else if (!redrewPart) {
        mDrawnImages = 0;
    }
    // One unblended copy pixel for pixel: a scaled copy could sample neighbouring pixels.
    SDL_SetTextureBlendMode(cache, SDL_BLENDMODE_NONE);
    SDL_RenderSetScale(renderer, 1.0f, 1.0f);
    SDL_RenderSetViewport(renderer, nullptr);
    SDL_RenderSetClipRect(renderer, nullptr);
    SDL_RenderCopy(renderer, cache, nullptr, nullptr);
    ResetRenderOrigin();
}

void TPaintByNumber::RenderToTexture(StaticImage* image, int width, int height)
{
    TexturePtr target = CreateBlankTexture(width, height, 2);
    SDL_Renderer* renderer = GetRenderer();
    // Without a new target the preview keeps the texture it had.
    if (!target.Get() || !renderer) return;
    image->mTexture = target;
    SDL_SetRenderTarget(renderer, target->GetSdlTexture());
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    const float scale = mCells.empty() ? 0.0f
                                      : std::min(static_cast<float>(width) / static_cast<float>(PictureWidth()),
                                                 static_cast<float>(height) / static_cast<float>(PictureHeight()));
    if (!std::isfinite(scale) || !(scale > 0.0f)) {
        SDL_SetRenderTarget(renderer, nullptr);
        return;
    }

    TAppState& app = GetAppState();
    app.mOffsetX = TruncToInt(static_cast<float>(width / 2 - TruncToInt(static_cast<float>(PictureWidth()) * scale * 0.5f)) / scale);
    app.mOffsetY = TruncToInt(static_cast<float>(height / 2 - TruncToInt(static_cast<float>(PictureHeight()) * scale * 0.5f)) / scale);
    const float oldScaleX = app.mScaleX, oldScaleY = app.mScaleY;
    app.mScaleX = app.mScaleY = 1.0f;
    SetRenderOrigin(0, 0, scale, scale);
    GetLogger()->LogMessage("RENDERER SCALE  3 %f", scale);

    for (TPaintByNumberItem& cell : mCells) cell.DrawFlat();

    ResetRenderOrigin();
    SDL_RenderPresent(renderer);
    SDL_SetRenderTarget(renderer, nullptr);
    app.mScaleX = oldScaleX;
    app.mScaleY = oldScaleY;
    app.mOffsetX = app.mOffsetY = 0;
}

void TPaintByNumber::Unload()
{
    ++mTextureGeneration;
    ClearCells();
    mGrid.Reset(0, 0);
    mColors.clear();
    mGreyRamp.clear();
    mLightness.clear();
    mCompletion.clear();
    mColorCount = 0;
    mErrors = 0;
    mSelectedColor = 0;
    mProgressPath.clear();
}
