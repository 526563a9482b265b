#include "ui/text_image.h"

#include <algorithm>

#include "core/display.h"
#include "core/localization.h"
#include "core/text.h"
#include "graphics/font_manager.h"
#include "graphics/tweens.h"
#include "ui/cursors.h"
#include "ui/ui_elements.h"

namespace {

// How far right a line of this width starts inside the room; halves truncate toward zero, so
// a line wider than the room starts left of it.
int AlignOffset(int alignment, int room, int lineWidth)
{
    const int64_t spare = static_cast<int64_t>(room) - lineWidth;
    if (alignment == 0) return static_cast<int>(spare / 2);
    if (alignment == 1) return static_cast<int>(spare);
    return 0;
}

}  // namespace

TSimpleTextImage::TSimpleTextImage()
{
    mWidth = 300;
    mHeight = 30;
}

void TSimpleTextImage::ApplyInfo(const TUIText* info)
{
    if (!info) return;
    mVAlign = info->mVAlign;
    mHAlign = info->mHAlign;
    mWidth = info->mWidth;
    mHeight = info->mHeight;
    SetPosition(info->mX, info->mY);
    SetFont(info->mFont);
    mAlignment = info->mFlags;
    mColor = info->mColor;
    const TUIImageText* image = dynamic_cast<const TUIImageText*>(info);
    if (image) {
        mOverColor = image->mOverColor;
        mSelectedColor = image->mSelectedColor;
    }
    mKey = info->mText;
    RefreshText();
    if (image) mWrapped = image->mWrapped;
    mId = info->mId;
    mName = info->mName;
    mHandCursor = info->mFinger;
}

void TSimpleTextImage::SetTextKey(const std::string& key)
{
    mKey = key;
    RefreshText();
}

void TSimpleTextImage::RefreshText() { mText = GetLocalization()->GetText(mKey); }

void TSimpleTextImage::SetPlainText(const std::string& text) { mText = WidenAscii(text); }

void TSimpleTextImage::ClearText()
{
    mKey.clear();
    RefreshText();
}

void TSimpleTextImage::SetFont(const std::string& id) { mFont = TFontManager::Instance()->GetFont(id); }

uint32_t TSimpleTextImage::TextColor() const
{
    const TFloatColor& c = mSelected ? mSelectedColor : mHover ? mOverColor : mColor;
    const float alpha = GetInheritedAlpha() * mAlpha;
    return MakePackedColor(ColorByte(c.r), ColorByte(c.g), ColorByte(c.b), ColorByte(alpha)).mArgb;
}

void TSimpleTextImage::DrawSelf()
{
    if (mText.empty() || !mFont || !mVisible) return;
    const uint32_t color = TextColor();
    const int left = mX + mDrawOffsetX;
    const int top = mY + mDrawOffsetY;
    if (!mWrapped) {
        const int x = left + AlignOffset(mAlignment, mWidth, mFont->WStringWidth(mText));
        const int baseline = top + (mHeight + mFont->GetAscent()) / 2 - 1;
        mFont->DrawWString(x, baseline, mText, color, 0, true);
        return;
    }
    const int textHeight = WrappedHeight(mWidth);
    WrapText(left, top + (mHeight - textHeight) / 2 - 1, mWidth, color, true);
}

int TSimpleTextImage::WrappedHeight(int width)
{
    if (!mFont) return 0;
    return WrapText(0, 0, width, 0, false);
}

std::vector<std::wstring> TSimpleTextImage::WrappedLines(int width)
{
    std::vector<std::wstring> lines;
    if (mFont) WrapText(0, 0, width, 0, false, &lines);
    return lines;
}

int TSimpleTextImage::WrapText(int x, int y, int width, uint32_t color, bool draw, std::vector<std::wstring>* lines)
{
    const int spacing = mFont->GetLineSpacing();
    const int firstBaseline = y + mFont->GetAscent() - mFont->GetAscentPadding();
    int baseline = firstBaseline;
    const size_t n = mText.size();
    size_t lineStart = 0;
    while (lineStart < n) {
        // 64 bits: a line feed pushes the width past a room as wide as an int holds.
        int64_t lineWidth = 0;
        size_t breakAt = n;  // none
        int previous = 0;
        size_t i = lineStart;
        for (; i < n; ++i) {
            const wchar_t c = mText[i];
            if (c == L' ' || c == L'\n') breakAt = i;
            if (c == L'\n')
                lineWidth = static_cast<int64_t>(width) + 1;
            else
                lineWidth += mFont->WCharWidthKern(c, previous);
            previous = c;
            if (lineWidth > width) break;
        }
        if (i == n) {
            if (draw) DrawLine(lineStart, n - lineStart, x, baseline, width, color);
            if (lines) lines->push_back(mText.substr(lineStart, n - lineStart));
            baseline += spacing;
            break;
        }
        size_t lineEnd;
        size_t next;
        if (breakAt != n) {
            lineEnd = breakAt;
            next = breakAt + 1;
            // Spaces after a line feed stay: they indent the next line on purpose.
            if (mText[i] != L'\n')
                while (next < n && mText[next] == L' ') ++next;
        } else {
            lineEnd = std::max(i, lineStart + 1);
            next = lineEnd;
        }
        if (draw) DrawLine(lineStart, lineEnd - lineStart, x, baseline, width, color);
        if (lines) lines->push_back(mText.substr(lineStart, lineEnd - lineStart));
        baseline += spacing;
        lineStart = next;
    }
    return mFont->GetDescent() + (baseline - y - spacing);
}

void TSimpleTextImage::DrawLine(size_t start, size_t count, int x, int baseline, int width, uint32_t color)
{
    const std::wstring line = mText.substr(start, count);
    mFont->DrawWString(x + AlignOffset(mAlignment, width, mFont->WStringWidth(line)), baseline, line, color, 0, true);
}

void TSimpleTextImage::OnMouseEnter()
{
    TMyWindow::OnMouseEnter();
    if (mHandCursor) GetGameCursors()->Select("handspot");
}

void TSimpleTextImage::OnMouseLeave()
{
    if (mHandCursor) GetGameCursors()->SelectDefault();
    TMyWindow::OnMouseLeave();  // last: its listener may delete this widget
}

TSimpleTextImage* CreateTextImage(const TUIText* info, TMyWindow* parent)
{
    TSimpleTextImage* text = new TSimpleTextImage();
    if (parent) parent->AddChild(text);
    text->ApplyInfo(info);
    return text;
}
