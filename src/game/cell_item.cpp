#include "game/cell_item.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/random.h"
#include "game/picture_grid.h"
#include "graphics/static_image.h"

const TRgbaF TPaintByNumberItem::kDarkNumberColor{0.0f, 0.0f, 0.0f, 1.0f};
const TRgbaF TPaintByNumberItem::kLightNumberColor{1.0f, 1.0f, 1.0f, 1.0f};
const TRgbaF TPaintByNumberItem::kHighlightGrey{127.0f / 255.0f, 127.0f / 255.0f, 127.0f / 255.0f, 1.0f};

namespace {

const TRgbaF kOpaqueBlack{0.0f, 0.0f, 0.0f, 1.0f};

float Quantise(float component)
{
    if (!(component > 0.0f)) return 0.0f;
    if (component >= 1.0f) return 1.0f;
    return static_cast<float>(static_cast<int>(component * 255.0f)) / 255.0f;
}


// A number or painted value past a list (a picture with gaps, a junk progress byte) draws
// in black rather than reading past the list.
const TRgbaF& Entry(const std::vector<TRgbaF>* list, int index)
{
    if (!list || index < 0 || index >= static_cast<int>(list->size())) return kOpaqueBlack;
    return (*list)[index];
}

void DrawTinted(StaticImage* image, int x, int y, const TRgbaF& color, float opacity)
{
    image->SetPosition(static_cast<float>(x), static_cast<float>(y), false);
    SetImageTint(image, color);
    image->Draw(opacity);
}

}  // namespace

TRgbaF QuantiseTint(const TRgbaF& color)
{
    return TRgbaF{Quantise(color.r), Quantise(color.g), Quantise(color.b), Quantise(color.a)};
}

void SetImageTint(StaticImage* image, const TRgbaF& color)
{
    const TRgbaF q = QuantiseTint(color);
    image->mTransform.mRed = q.r;
    image->mTransform.mGreen = q.g;
    image->mTransform.mBlue = q.b;
}

float ColorLightness(const TRgbaF& c)
{
    return (std::min({c.r, c.g, c.b}) + std::max({c.r, c.g, c.b})) * 0.5f;
}

TPaintByNumberItem::TPaintByNumberItem(TPaintByNumberCellShared* shared, int column, int row)
    : mShared(shared), mRow(row), mColumn(column)
{
}

int TPaintByNumberItem::Index() const
{
    return mShared->mGrid->IndexOf(mColumn, mRow);
}

bool TPaintByNumberItem::Update(float /*dt*/)
{
    return true;
}

void TPaintByNumberItem::Reset()
{
    SetNumber(0);
    SetPainted(0);
}

int TPaintByNumberItem::GetWidth() const
{
    return static_cast<int>(mWidth);
}

int TPaintByNumberItem::GetHeight() const
{
    return static_cast<int>(mHeight);
}

void TPaintByNumberItem::SetVisible(bool visible)
{
    mShared->mGrid->mVisible[Index()] = visible;
    mShared->mGrid->MarkChanged(Index());
}

bool TPaintByNumberItem::IsVisible() const
{
    return mShared->mGrid->mVisible[Index()] != 0;
}

int TPaintByNumberItem::GetNumber() const
{
    return mShared->mGrid->mNumbers[Index()];
}

void TPaintByNumberItem::SetNumber(int number)
{
    mShared->mGrid->mNumbers[Index()] = static_cast<uint8_t>(number);
    mShared->mGrid->MarkChanged(Index());
}

int TPaintByNumberItem::GetPainted() const
{
    return mShared->mGrid->mPainted[Index()];
}

void TPaintByNumberItem::SetPainted(int painted)
{
    mShared->mGrid->mPainted[Index()] = static_cast<uint8_t>(painted);
    mShared->mGrid->MarkChanged(Index());
}

bool TPaintByNumberItem::IsHighlighted() const
{
    return mShared->mGrid->mHighlight[Index()] != 0;
}

bool TPaintByNumberItem::IsVisited() const
{
    return mShared->mGrid->mVisited[Index()] != 0;
}

int TPaintByNumberItem::DrawCell(float a)
{
    int drawn = 0;
    const int index = Index();
    const TPictureGrid& grid = *mShared->mGrid;
    const int number = grid.mNumbers[index];
    const int painted = grid.mPainted[index];
    const bool right = painted == number;
    const int x = static_cast<int>(mX), y = static_cast<int>(mY);
    const int w = static_cast<int>(mWidth), h = static_cast<int>(mHeight);

    if (!right) {
        DrawTinted(mShared->mFrameImage, x, y, kLightNumberColor, 1.0f);
        ++drawn;
    }
    if (painted == TPictureGrid::kUnpainted) {
        ++drawn;
        const bool highlighted = grid.mHighlight[index] != 0;
        float opacity = 1.0f - a;
        if (highlighted && opacity <= 0.5f) opacity = a;
        DrawTinted(mShared->mUnpaintedImage, x, y,
                   highlighted ? kHighlightGrey : Entry(mShared->mGreyRamp, number), opacity);
    }
    StaticImage* numbers = mShared->mNumbersImage;
    if (numbers->GetTexture() && !right) {
        const std::vector<float>* lightness = mShared->mLightness;
        const bool dark = number < static_cast<int>(lightness->size()) && (*lightness)[number] > 0.5f;
        DrawTransform& t = numbers->mTransform;
        t.SetSourceRect(0, number * 20, numbers->GetTexture()->GetWidth(), 20);
        const TRgbaF& color = dark ? kDarkNumberColor : kLightNumberColor;
        numbers->SetPosition(static_cast<float>(x + w / 2), static_cast<float>(y + h / 2), true);
        SetImageTint(numbers, color);
        numbers->Draw(a);
        ++drawn;
    }
    if (painted != TPictureGrid::kUnpainted) {
        DrawTinted(mShared->mPaintedImage, x, y, Entry(mShared->mColors, painted), right ? 1.0f : 0.6f);
        ++drawn;
    }
    return drawn;
}

int TPaintByNumberItem::DrawFlat()
{
    if (!IsVisible()) return 0;
    const int index = Index();
    const TPictureGrid& grid = *mShared->mGrid;
    const int painted = grid.mPainted[index];
    const int x = static_cast<int>(mX), y = static_cast<int>(mY);
    if (painted == TPictureGrid::kUnpainted)
        DrawTinted(mShared->mUnpaintedImage, x, y, Entry(mShared->mGreyRamp, grid.mNumbers[index]), 1.0f);
    else
        DrawTinted(mShared->mPaintedImage, x, y, Entry(mShared->mColors, painted), 1.0f);
    return 1;
}

TPaintByNumberOffsetTable::TPaintByNumberOffsetTable()
{
    mPointImage.SetTexture("textures/gui/gamescreen/tablepoint");
    mBackImage.SetTexture("textures/gui/gamescreen/tableback");
}

void TPaintByNumberOffsetTable::SetPosition(float x, float y, bool /*centred*/)
{
    mX = x;
    mY = y;
    const TTexture* back = mBackImage.GetTexture();
    mWidth = back ? static_cast<float>(back->GetWidth()) : 0.0f;
    mHeight = back ? static_cast<float>(back->GetHeight()) : 0.0f;
    Reset();
}

void TPaintByNumberOffsetTable::Reset()
{
    mPointOffsetX = TruncToInt(static_cast<float>(TruncToInt(mWidth * 0.5f + mX)) - mX);
    mPointOffsetY = TruncToInt(static_cast<float>(TruncToInt(mHeight * 0.5f + mY)) - mY);
    if (!mListener) return;
    // Without a back image there is no size to divide by: the point is the middle.
    const float u = mWidth != 0.0f ? static_cast<float>(mPointOffsetX) / mWidth : 0.5f;
    const float v = mHeight != 0.0f ? static_cast<float>(mPointOffsetY) / mHeight : 0.5f;
    mListener->OnOffsetMoved(this, u, v);
}

void TPaintByNumberOffsetTable::Draw(float alpha)
{
    mBackImage.SetPosition(mX, mY, false);
    mBackImage.Draw(alpha);
    mPointImage.SetPosition(mX + static_cast<float>(mPointOffsetX), mY + static_cast<float>(mPointOffsetY), true);
    mPointImage.Draw(alpha);
}

TBrisaloHintText::TBrisaloHintText(const std::vector<std::string>& keys, int x, int y, int /*unusedWidth*/,
                                   int /*unusedHeight*/, const std::string& fontId, const TFloatColor& color)
{
    mFade.Set(0.0f, 1.0f, 0.5f, true);
    mStay.Set(0.0f, 1.0f, 3.0f, true);
    // No keys, no tip: the bubble still runs its course, and the generator is left alone.
    if (!keys.empty()) mText.SetTextKey(keys[static_cast<size_t>(GameRand()) % keys.size()]);
    mText.SetPosition(x + 37, y + 37);
    mText.SetSize(1025, 44);
    mText.SetFont(fontId);
    mText.mColor = color;
    mBubble.SetTexture("textures/gui/windows/hint");
    mBubble.SetPosition(static_cast<float>(x), static_cast<float>(y), false);
}

bool TBrisaloHintText::Update(float dt)
{
    switch (mState) {
    case kFadingIn:
        if (mFade.Update(dt)) mState = kStaying;
        break;
    case kStaying:
        if (mStay.Update(dt)) {
            mFade.Set(1.0f, 0.0f, 0.5f, true);
            mState = kFadingOut;
        }
        break;
    case kFadingOut:
        if (mFade.Update(dt)) {
            mDone = true;
            mState = kFinished;
        }
        break;
    default:
        break;
    }
    return mDone;
}

void TBrisaloHintText::Draw(float alpha)
{
    const float shown = alpha * mFade.mCurrent;
    mBubble.Draw(shown);
    mText.SetAlpha(shown);
    mText.Draw();
}
