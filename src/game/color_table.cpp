#include "game/color_table.h"

#include <SDL.h>

#include <cmath>

#include "core/app_state.h"
#include "core/logger.h"
#include "game/cell_item.h"

namespace {

const float kPulseTime = 0.2f;
const float kScrollTime = 0.2f;
const int kGlyphRows = 30;  // the swatch number strip holds one glyph per colour number

}  // namespace

TColorsTableItem::TColorsTableItem(const std::string& fillTexture)
{
    mFillImage.SetTexture(fillTexture);
    mNumberImage.SetTexture("textures/tilesets/basenumbers20white");
    mFrameImage.SetTexture("textures/tilesets/frame");
    mCompleteImage.SetTexture("textures/tilesets/complete");
    mPulse.SetValue(1.0f);
    if (TTexture* fill = mFillImage.GetTexture()) {
        SetWidth(fill->GetWidth());
        SetHeight(fill->GetHeight());
    }
}

void TColorsTableItem::SetColor(const TRgbaF& color)
{
    mFillColor = color;
    mNumberColor = ColorLightness(color) > 0.5f ? TRgbaF{0.0f, 0.0f, 0.0f, 1.0f} : TRgbaF{1.0f, 1.0f, 1.0f, 1.0f};
}

void TColorsTableItem::Select()
{
    mSelected = true;
    mPulse.Set(1.0f, 1.1f, kPulseTime, true);
}

void TColorsTableItem::Deselect()
{
    mSelected = false;
    if (mPulse.mCurrent != 1.0f) mPulse.Set(mPulse.mCurrent, 1.0f, kPulseTime, true);
}

bool TColorsTableItem::Update(float dt)
{
    if (mPulse.mRunning) mPulse.Update(dt);
    return false;
}

void TColorsTableItem::Draw(float alpha)
{
    // Without its swatch texture a swatch has no size: it draws nothing and takes no click.
    if (!IsVisible() || GetWidth() <= 0 || GetHeight() <= 0) return;
    const float y = mY + mOffsetY;
    mFillImage.SetPosition(mX, y, false);
    SetImageTint(&mFillImage, mFillColor);
    mFillImage.Draw(alpha);

    if (TTexture* strip = mNumberImage.GetTexture()) {
        const int glyph = strip->GetHeight() / kGlyphRows;
        DrawTransform& t = mNumberImage.mTransform;
        t.SetSourceRect(0, mIndex * glyph, strip->GetWidth(), glyph);
        mNumberImage.SetScale(mPulse.mCurrent);
        mNumberImage.SetPosition(mX + mWidth * 0.5f, y + mHeight * 0.5f, true);
        SetImageTint(&mNumberImage, mNumberColor);
        mNumberImage.Draw(alpha);
    }
    if (mSelected) {
        mFrameImage.SetPosition(mX, y, false);
        mFrameImage.Draw(alpha);
    }
    if (mCompleted) {
        mCompleteImage.SetPosition(mX, y, false);
        mCompleteImage.Draw(alpha);
    }
}

TColorsTableGrid::TColorsTableGrid()
{
    mBackImage.SetTexture("textures/gui/gamescreen/colortableback");
    mScroll.mFinishAtOnce = true;
    mScroll.SetValue(0.0f);
}

void TColorsTableGrid::SetColors(const std::vector<TRgbaF>& colors, int count)
{
    mItems.clear();
    if (count <= 0) return;
    count = std::min(count, static_cast<int>(colors.size()));
    mItems.reserve(count);
    for (int i = 0; i < count; ++i) mItems.emplace_back(mSwatchTexture);
    mItemWidth = mItems[0].GetWidth();
    mItemHeight = mItems[0].GetHeight();
    if (mItemHeight <= 0) GetLogger()->LogMessage("colour table: %s is missing", mSwatchTexture.c_str());
    // At least one row a page: a missing swatch or a low panel must not divide by zero.
    mRowsPerPage = mItemHeight > 0 ? static_cast<int>(mHeight / static_cast<float>(mItemHeight)) : 1;
    if (mRowsPerPage < 1) mRowsPerPage = 1;
    const int perPage = kColumns * mRowsPerPage;
    mPageCount = (count + perPage - 1) / perPage;

    mScroll.SetValue(0.0f);
    mOffsetY = 0.0f;
    mCurrentPage = 0;
    for (int i = 0; i < count; ++i) {
        TColorsTableItem& item = mItems[i];
        item.SetColor(colors[i]);
        item.mIndex = i;
        item.SetPosition(mX + static_cast<float>((mItemWidth + kHorizontalGap) * (i % kColumns)),
                         mY + static_cast<float>((mItemHeight + kVerticalGap) * (i / kColumns)), false);
    }
}

void TColorsTableGrid::SetCompleted(const std::vector<bool>& bits)
{
    int completed = -1;
    for (size_t i = 0; i < mItems.size(); ++i) {
        TColorsTableItem& item = mItems[i];
        item.mCompleted = i < bits.size() && bits[i];
        if (item.mSelected && item.mCompleted) {
            if (mListener) mListener->OnColorCompleted(static_cast<int>(i));
            completed = static_cast<int>(i);
        }
    }
    if (completed < 0) return;
    const int next = FindNextIncomplete(completed);
    if (next < 0) return;  // all done: the finished colour stays selected
    DeselectOthers(&mItems[next]);
    mItems[next].Select();
    if (mListener) mListener->OnColorSelected(next);
}

int TColorsTableGrid::FindNextIncomplete(int number) const
{
    auto open = [this](int i) { return !mItems[i].mSelected && !mItems[i].mCompleted; };
    const int n = static_cast<int>(mItems.size());
    for (int i = number + 1; i < n; ++i)
        if (i >= 0 && open(i)) return i;
    for (int i = 0; i < n; ++i)
        if (open(i)) return i;
    return -1;
}

void TColorsTableGrid::DeselectOthers(const TColorsTableItem* swatch)
{
    for (TColorsTableItem& item : mItems)
        if (&item != swatch) item.Deselect();
}

void TColorsTableGrid::SetItemsOffset(int y)
{
    for (TColorsTableItem& item : mItems) {
        item.mOffsetX = 0.0f;
        item.mOffsetY = static_cast<float>(y);
    }
}

void TColorsTableGrid::ScrollTo(float from)
{
    mScroll.Set(from, -(mHeight * static_cast<float>(mCurrentPage)), kScrollTime, true);
    // A scroll that starts at its target ends at once and no update follows it: the panel
    // and the swatches take the tween's value here.
    mOffsetY = mScroll.mCurrent;
    SetItemsOffset(static_cast<int>(mScroll.mCurrent));
}

void TColorsTableGrid::ScrollPage(int delta)
{
    mCurrentPage = std::max(0, std::min(mCurrentPage + delta, mPageCount - 1));
    ScrollTo(mOffsetY);
}

bool TColorsTableGrid::InsidePanel(int x, int y) const
{
    return x >= mX && x < mX + mWidth && y >= mY && y < mY + mHeight;
}

bool TColorsTableGrid::MouseUp(const TMouseEvent& event)
{
    const int x = event.mX, y = event.mY;
    if (mDragging) {
        const float from = mOffsetY + static_cast<float>(mPressY - y);
        SetItemsOffset(static_cast<int>(from));
        // Dragging down shows later pages: the swatches move against the pointer.
        int page = mCurrentPage;
        if (mHeight > 0.0f) page += static_cast<int>(std::lround(static_cast<float>(y - mPressY) / mHeight));
        mCurrentPage = std::max(0, std::min(page, mPageCount - 1));
        ScrollTo(from);
        return false;
    }
    // Later pages lie below the panel, clipped away: a release there chooses nothing.
    if (!InsidePanel(x, y)) return false;
    const size_t first = static_cast<size_t>(kColumns * mRowsPerPage * mCurrentPage);
    for (size_t i = first; i < mItems.size(); ++i) {
        TColorsTableItem& item = mItems[i];
        const float left = item.mX + item.mOffsetX, top = item.mY + item.mOffsetY;
        if (!item.IsVisible() || x < left || x >= left + item.mWidth || y < top || y >= top + item.mHeight)
            continue;
        if (item.mSelected || item.mCompleted) continue;
        item.Select();
        DeselectOthers(&item);
        if (mListener) mListener->OnColorSelected(item.mIndex);
        return true;
    }
    return false;
}

bool TColorsTableGrid::Update(float dt)
{
    if (mScroll.mRunning) {
        mScroll.Update(dt);
        mOffsetY = mScroll.mCurrent;
        SetItemsOffset(static_cast<int>(mScroll.mCurrent));
    }
    for (TColorsTableItem& item : mItems) item.Update(dt);
    return false;
}

void TColorsTableGrid::Draw(float alpha)
{
    mBackImage.SetPosition(mX + static_cast<float>(mBackOffsetX), mY + static_cast<float>(mBackOffsetY), false);
    mBackImage.Draw(alpha);
    SDL_Renderer* renderer = GetRenderer();
    SDL_Rect clip{static_cast<int>(mX), static_cast<int>(mY), static_cast<int>(mWidth), static_cast<int>(mHeight)};
    if (renderer) SDL_RenderSetClipRect(renderer, &clip);
    for (TColorsTableItem& item : mItems) item.Draw(alpha);
    if (renderer) SDL_RenderSetClipRect(renderer, nullptr);
}
