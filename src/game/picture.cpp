#include "game/picture.h"

#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <sys/stat.h>

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
    mProgressUnread = false;
    if (!mCells.empty()) ReadProgressOrSetAside();
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
    TFile file;
    if (!file.Open(mProgressPath, false)) {
        const std::string real = MapPath(mProgressPath);
        struct stat st;
        if (real.empty() || (stat(real.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))) return false;
        // There but not readable now (too many open files, a failing disk): the player's
        // progress is in it, and the next stroke must not replace it with a blank picture.
        GetLogger()->LogMessage("progress %s cannot be read", mProgressPath.c_str());
        mProgressUnread = true;
        return false;
    }
    const long size = file.Size();
    if (size != expected) {
        file.Close();
        // A short file would read as cells painted with colour 0, and the next save would
        // make that permanent: keep the file aside and start the picture afresh.
        if (size < 0) {
            GetLogger()->LogMessage("progress %s cannot be read", mProgressPath.c_str());
            mProgressUnread = true;
            return false;
        }
        std::string kept;
        if (KeepBadFile(mProgressPath, &kept)) {
            // The same name the earlier copies were logged under: the virtual path and its suffix.
            const std::string suffix = kept.substr(std::min(kept.size(), MapPath(mProgressPath).size()));
            GetLogger()->LogMessage("progress %s: %ld bytes, %ld expected; kept as %s%s", mProgressPath.c_str(), size,
                                    expected, mProgressPath.c_str(), suffix.c_str());
        } else {
            GetLogger()->LogMessage("progress %s: %ld bytes, %ld expected; not kept", mProgressPath.c_str(), size,
                                    expected);
        }
        return false;
    }
    // Through the handle that was measured: a file renamed over the name meanwhile is not read.
    if (!ReadProgress(file, mProgressPath)) {
        mProgressUnread = true;
        return false;
    }
    return true;
}

bool TPaintByNumber::LoadProgress(const std::string& path)
{
    TFile file;
    file.Open(path, false);
    return ReadProgress(file, path);
}

bool TPaintByNumber::ReadProgress(TFile& file, const std::string& path)
{
    TBufferBin buffer;
    if (!buffer.LoadFromOpenFile(file, false, 0)) {
        // The cells and the errors stay as they were: zeros here would be saved as paint.
        GetLogger()->LogMessage("progress %s cannot be read", path.c_str());
        return false;
    }
    mErrors = buffer.ReadInt32();
    for (uint8_t& painted : mGrid.mPainted) painted = static_cast<uint8_t>(buffer.ReadByte());
    mGrid.MarkAllChanged();
    return true;
}

bool TPaintByNumber::SaveProgress(const std::string& path)
{
    // Without a picture there is nothing to keep; a 4-byte file would replace real progress.
    if (mCells.empty()) return false;
    if (mProgressUnread && path == mProgressPath) {
        GetLogger()->LogMessage("cannot save %s: it could not be read, and the player's progress is in it", path.c_str());
        return false;
    }
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
    for (size_t i = 0; i < n; ++i) {
        const uint8_t highlight = mGrid.mNumbers[i] == number;
        if (mGrid.mHighlight[i] == highlight) continue;
        mGrid.mHighlight[i] = highlight;
        mGrid.MarkChanged(static_cast<int>(i));
    }
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

    // SDL batches every copy until the target changes; a large picture's first preview would
    // grow its command pool by tens of thousands of entries. Flushing now and then keeps the
    // batch small and changes no pixel.
    constexpr size_t kCopiesPerFlush = 4096;
    size_t drawn = 0;
    for (TPaintByNumberItem& cell : mCells) {
        cell.DrawFlat();
        if (++drawn % kCopiesPerFlush == 0) SDL_RenderFlush(renderer);
    }

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
    mProgressUnread = false;
}
