#include "ui/edit_window.h"

#include <SDL.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/localization.h"
#include "graphics/image_font.h"
#include "ui/cursors.h"
#include "ui/ui_elements.h"

namespace {

const int kKeyBackspace = 8;
const int kKeyEnter = 13;
const int kKeyDelete = 127;

// Text input carries no control characters and nothing beyond the basic plane.
bool IsTypable(int character) { return character >= 32 && character <= 0xFFFF; }

void FillOutlineRect(int x, int y, int w, int h, const TFloatColor& c)
{
    const TRenderDevice* device = GetAppState().mRenderDevice.get();
    if (!device) return;
    device->FillRect(SDL_Rect{x, y, w, h}, c.r, c.g, c.b, c.a);
}

}  // namespace

TMyEditWindow::TMyEditWindow(TMyWindow* parent) : mRenderer(std::make_unique<TSimpleTextImage>())
{
    mWidth = 300;
    mHeight = 100;
    if (parent) parent->AddChild(this);
    mRenderer->SetFont("default");
    mRenderer->mAlignment = -1;
}

TMyEditListener* TMyEditWindow::Listener()
{
    static TMyEditListener defaults;
    return mEditListener ? mEditListener : &defaults;
}

int TMyEditWindow::ClampIndex(int index) const { return std::max(0, std::min(index, Length())); }

int TMyEditWindow::TextWidth(const std::wstring& text) const
{
    ImageFont* font = mRenderer->mFont;
    return font ? font->WStringWidth(text) : 0;
}

int TMyEditWindow::PrefixWidth(int index) const { return TextWidth(mText.substr(0, ClampIndex(index))); }

void TMyEditWindow::SetTextNarrow(const std::string& text, bool scrollToStart)
{
    SetText(GetLocalization()->Widen(text), scrollToStart);
}

void TMyEditWindow::SetText(const std::wstring& text, bool scrollToStart)
{
    mText = text;
    mCaret = Length();
    mAnchor = 0;
    if (scrollToStart)
        mScroll = 0;
    else
        ScrollToCaret(true);
}

bool TMyEditWindow::IsWordChar(int c) const
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

void TMyEditWindow::SelectWordAtCaret()
{
    mCaret = ClampIndex(mCaret);
    if (mCaret >= Length()) return;
    mAnchor = mCaret;
    while (mAnchor > 0 && IsWordChar(mText[mAnchor - 1])) --mAnchor;
    while (mCaret < Length() && IsWordChar(mText[mCaret])) ++mCaret;
    if (mCaret < Length()) ++mCaret;
}

bool TMyEditWindow::InsertCandidate(int c, bool* recordUndo)
{
    ImageFont* font = mRenderer->mFont;
    if (!IsTypable(c)) return false;
    if (!font || font->WCharWidth(c) <= 0) return false;
    if (!Listener()->AcceptChar(mId, c)) return false;
    if (HasSelection()) {
        const int lo = ClampIndex(std::min(mCaret, mAnchor));
        const int hi = ClampIndex(std::max(mCaret, mAnchor));
        mText.replace(lo, hi - lo, 1, static_cast<wchar_t>(c));
        mCaret = lo + 1;
        *recordUndo = true;
    } else {
        mCaret = ClampIndex(mCaret);
        mText.insert(static_cast<size_t>(mCaret), 1, static_cast<wchar_t>(c));
        if (mCaret != mLastEditPos + 1) *recordUndo = true;
        mLastEditPos = mCaret;
        ++mCaret;
    }
    mAnchor = -1;
    ScrollToCaret(false);
    return true;
}

void TMyEditWindow::HandleInput(int key, int character)
{
    const std::wstring oldText = mText;
    const int oldCaret = mCaret;
    const int oldAnchor = mAnchor;
    bool recordUndo = false;
    bool dropSelection = true;

    if (character == kUndoChar) {
        std::swap(mText, mUndoText);
        std::swap(mCaret, mUndoCaret);
        std::swap(mAnchor, mUndoAnchor);
        mLastEditPos = -1;
        dropSelection = false;
    } else {
        const bool selection = HasSelection();
        const int lo = ClampIndex(std::min(mCaret, mAnchor));
        const int hi = ClampIndex(std::max(mCaret, mAnchor));
        switch (key) {
        case SDLK_LEFT:
            mCaret = mAnchor != -1 ? lo : mCaret - 1;
            break;
        case SDLK_RIGHT:
            mCaret = mAnchor != -1 ? hi : mCaret + 1;
            break;
        case kKeyBackspace:
        case kKeyDelete:
            if (mText.empty()) break;
            if (selection) {
                mText.erase(lo, hi - lo);
                mCaret = lo;
                mAnchor = -1;
                recordUndo = true;
            } else if (key == kKeyBackspace) {
                mCaret = ClampIndex(mCaret);
                if (mCaret > 0) mText.erase(mCaret - 1, 1);
                --mCaret;
                // Backspace at 0 still records: the run of Backspaces starts here.
                if (mCaret != mLastEditPos) recordUndo = true;
                mLastEditPos = mCaret - 1;
                mAnchor = -1;
            } else {
                mCaret = ClampIndex(mCaret);
                if (mCaret < Length()) mText.erase(mCaret, 1);
                if (mCaret != mLastEditPos) recordUndo = true;
                mLastEditPos = mCaret;
            }
            break;
        case SDLK_HOME:
            mCaret = 0;
            break;
        case SDLK_END:
            mCaret = Length();
            break;
        case kKeyEnter:
            Listener()->OnEditEnter(mId, mText);
            break;
        default:
            // A key-down arrives as character 0 before its text: refusing it must not drop
            // the selection that SetText made, or the typed letter would not replace it.
            if (!InsertCandidate(character, &recordUndo)) return;
            break;
        }
    }

    if (mMaxLength >= 0 && Length() > mMaxLength) mText.resize(static_cast<size_t>(mMaxLength));
    while (mMaxWidth > 0 && !mText.empty() && TextWidth(mText) > mMaxWidth) mText.pop_back();
    mCaret = ClampIndex(mCaret);
    if (mCaret != oldCaret) {
        mBlinkTimer = 0.0f;
        mCaretVisible = true;
    }
    ScrollToCaret(true);
    if (dropSelection || mAnchor == mCaret) mAnchor = -1;
    if (!Listener()->AcceptText(mId, mText)) {
        mText = oldText;
        mCaret = oldCaret;
        mAnchor = oldAnchor;
        // The scroll was set for the refused text and may lie past the end of this one.
        ScrollToCaret(true);
    } else if (recordUndo) {
        mUndoText = oldText;
        mUndoCaret = oldCaret;
        mUndoAnchor = oldAnchor;
    }
}

void TMyEditWindow::ScrollToCaret(bool bigSteps)
{
    const int step = bigSteps ? 10 : 1;
    const int caret = ClampIndex(mCaret);
    mScroll = std::max(0, mScroll);
    while (mScroll > caret) mScroll = std::max(0, mScroll - step);
    if (mWidth < 9) return;
    const int caretWidth = PrefixWidth(caret);
    for (;;) {
        if (caretWidth - PrefixWidth(mScroll) < mWidth - 8) return;
        // A character as wide as the field never fits: stop once the scroll cannot grow.
        const int next = std::min(mScroll + step, Length() - 1);
        if (next <= mScroll) return;
        mScroll = next;
    }
}

int TMyEditWindow::CharIndexAt(int x, int /*y*/)
{
    const int scroll = ClampIndex(mScroll);
    if (scroll >= Length()) return 0;
    int answer = 0;
    int w1 = 0;
    for (int i = scroll; i < Length(); ++i) {
        const int w2 = TextWidth(mText.substr(scroll, i - scroll + 1));
        if (x >= (w1 + w2) / 2 + 5) answer = i + 1;
        w1 = w2;
    }
    return answer;
}

bool TMyEditWindow::Update(float dt)
{
    TMyWindowContainer::Update(dt);
    mBlinkTimer += dt;
    if (mBlinkTimer >= mBlinkPeriod) {
        mBlinkTimer = 0.0f;
        mCaretVisible = !mCaretVisible;
    }
    return false;
}

void TMyEditWindow::DrawText()
{
    TSimpleTextImage& renderer = *mRenderer;
    renderer.mColor = mTextColor;
    renderer.mText = mText.substr(ClampIndex(mScroll));
    renderer.mDrawOffsetX = mDrawOffsetX + 4;
    renderer.mDrawOffsetY = mDrawOffsetY;
    renderer.DrawSelf();
}

void TMyEditWindow::DrawSelf()
{
    if (!mVisible) return;
    const TAppState& app = GetAppState();
    const int x = mX + mDrawOffsetX + app.mOffsetX;
    const int y = mY + mDrawOffsetY + app.mOffsetY;
    // The text goes under and over the caret: the double blend is the look of the field.
    DrawText();
    const int caretX = std::max(0, std::min(PrefixWidth(mCaret) - PrefixWidth(mScroll), mWidth - 8));
    if (mCaretVisible && y + 5 > 0) FillOutlineRect(x + caretX + 4, y + 5, 1, mHeight - 10, mOutlineColor);
    DrawText();
    if (!mDrawOutline) return;
    // The bottom and right lines lie one pixel outside the field.
    if (y > 0) FillOutlineRect(x, y, mWidth, 1, mOutlineColor);
    if (y + mHeight > 0) FillOutlineRect(x, y + mHeight, mWidth, 1, mOutlineColor);
    if (y > 0) FillOutlineRect(x, y, 1, mHeight, mOutlineColor);
    if (y > 0) FillOutlineRect(x + mWidth, y, 1, mHeight, mOutlineColor);
}

void TMyEditWindow::OnMouseDown(const TMouseEvent& event)
{
    TMyWindow::OnMouseDown(event);
    mAnchor = -1;
    mCaret = CharIndexAt(event.mX, event.mY);
    ScrollToCaret(false);
}

void TMyEditWindow::OnMouseDrag(const TMouseEvent& event)
{
    if (!HasSelection()) mAnchor = mCaret;
    mCaret = CharIndexAt(event.mX, event.mY);
    ScrollToCaret(false);
}

void TMyEditWindow::OnMouseUp(const TMouseEvent& event)
{
    TMyWindow::OnMouseUp(event);
    if (mAnchor == mCaret) mAnchor = -1;
}

void TMyEditWindow::OnMouseEnter()
{
    TMyWindow::OnMouseEnter();
    GetGameCursors()->Select("text");
}

void TMyEditWindow::OnMouseLeave()
{
    GetGameCursors()->SelectDefault();
    TMyWindow::OnMouseLeave();  // last: its listener may delete this widget
}

bool TMyEditWindow::OnKeyDown(const TKeyEvent* key)
{
    if (Listener()->AcceptKey(mId, key->mKey)) HandleInput(key->mKey, 0);
    return true;
}

void TMyEditWindow::OnTextInput(int32_t character)
{
    if (!IsTypable(character)) return;
    if (Listener()->AcceptChar(mId, character)) HandleInput(0, character);
}

void TMyEditWindow::SetRect(int x, int y, int w, int h)
{
    TMyWindow::SetRect(x, y, w, h);
    mRenderer->mX = mX;
    mRenderer->mY = mY;
    mRenderer->mWidth = mWidth;
    mRenderer->mHeight = mHeight;
}

void TMyEditWindow::ApplyInfo(const TUIEdit* info)
{
    if (!info) return;
    mX = info->mX;
    mY = info->mY;
    mWidth = info->mWidth;
    mHeight = info->mHeight;
    TSimpleTextImage& renderer = *mRenderer;
    renderer.mX = info->mX;
    renderer.mY = info->mY;
    renderer.mWidth = info->mWidth;
    renderer.mHeight = info->mHeight;
    renderer.SetFont(info->mFont);
    renderer.mAlignment = info->mFlags;
    renderer.mColor = info->mColor;
    mId = info->mId;
    mName = info->mName;
    mHandCursor = info->mFinger;
    mDrawOutline = info->mDrawOutline;
    mBackColor = info->mBackColor;
    mOutlineColor = info->mOutlineColor;
    mTextColor = info->mColor;
    mHiliteColor = info->mHiliteColor;
    mHiliteTextColor = info->mHiliteTextColor;
}

TMyEditWindow* CreateEditWindow(const TUIEdit* info, TMyWindow* parent)
{
    TMyEditWindow* field = new TMyEditWindow(parent);
    field->ApplyInfo(info);
    return field;
}
