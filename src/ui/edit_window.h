// The one-line text entry of the player's name: a blinking caret, keyboard editing with a
// selection and a one-step undo, the caret placed by the mouse, horizontal scrolling, limits
// on length and pixel width, and a listener that may refuse keys, characters and results.
#pragma once
#include <memory>
#include <string>

#include "core/xml_attributes.h"
#include "ui/text_image.h"
#include "ui/window.h"

class TUIEdit;

// The defaults take everything and do nothing on Enter; a field without a listener acts so.
class TMyEditListener {
public:
    virtual ~TMyEditListener() = default;
    virtual void EmptyHook(int /*editId*/, int /*value*/) {}
    virtual void OnEditEnter(int /*editId*/, const std::wstring& /*text*/) {}
    // Asked more than once per input: no side effects.
    virtual bool AcceptKey(int /*editId*/, int /*key*/) { return true; }
    virtual bool AcceptChar(int /*editId*/, int /*character*/) { return true; }
    virtual bool AcceptText(int /*editId*/, const std::wstring& /*text*/) { return true; }
    virtual bool TrueHook(int /*editId*/, int /*value*/) { return true; }
};

class TMyEditWindow : public TMyWindow {
public:
    static const int kUndoChar = 26;

    explicit TMyEditWindow(TMyWindow* parent);
    TMyEditWindow(const TMyEditWindow&) = delete;
    TMyEditWindow& operator=(const TMyEditWindow&) = delete;

    virtual void HandleInput(int key, int character);
    virtual void SelectWordAtCaret();
    virtual void SetTextNarrow(const std::string& text, bool scrollToStart);
    // Selects the whole text, so the next character or deletion replaces it. No limit is
    // applied until the next input.
    virtual void SetText(const std::wstring& text, bool scrollToStart);
    virtual bool IsWordChar(int character) const;
    virtual int CharIndexAt(int x, int y);
    virtual void ScrollToCaret(bool bigSteps);

    bool Update(float dt) override;
    void DrawSelf() override;
    void OnMouseDown(const TMouseEvent& event) override;
    void OnMouseUp(const TMouseEvent& event) override;
    void OnMouseDrag(const TMouseEvent& event) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    // Always taken: a window offers its keys to no child after its first edit field.
    bool OnKeyDown(const TKeyEvent* key) override;
    void OnTextInput(int32_t character) override;
    // The text renderer takes the same rectangle.
    void SetRect(int x, int y, int w, int h) override;

    void ApplyInfo(const TUIEdit* info);
    void SetEditListener(TMyEditListener* listener) { mEditListener = listener; }
    TSimpleTextImage* GetTextRenderer() const { return mRenderer.get(); }
    bool HasSelection() const { return mAnchor != -1 && mAnchor != mCaret; }

    TFloatColor mBackColor;
    TFloatColor mOutlineColor;
    TFloatColor mTextColor;
    TFloatColor mHiliteColor;
    TFloatColor mHiliteTextColor;
    std::wstring mText;
    TMyEditListener* mEditListener = nullptr;  // not owned
    bool mCaretVisible = true;
    int mCaret = 0;
    int mAnchor = -1;  // -1: no selection
    float mBlinkTimer = 0.0f;
    float mBlinkPeriod = 1.0f;
    int mScroll = 0;     // the first visible character
    int mMaxLength = 10; // -1: unlimited
    int mMaxWidth = -1;  // pixels; -1: unlimited
    std::wstring mUndoText;
    int mUndoCaret = 0;
    int mUndoAnchor = 0;
    int mLastEditPos = 0;
    bool mDrawOutline = true;

private:
    TMyEditListener* Listener();
    int Length() const { return static_cast<int>(mText.size()); }
    int ClampIndex(int index) const;
    // Width of the characters before the index, in the renderer's font (0 without one).
    int PrefixWidth(int index) const;
    int TextWidth(const std::wstring& text) const;
    // A typed character: refused ones leave everything as it was (false).
    bool InsertCandidate(int character, bool* recordUndo);
    void DrawText();

    std::unique_ptr<TSimpleTextImage> mRenderer;  // owned, not a child
};

// A new field under the parent, filled from the "edit" description.
TMyEditWindow* CreateEditWindow(const TUIEdit* info, TMyWindow* parent);
