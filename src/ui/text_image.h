// A text label: one localised or plain wide text in a font of the registry, aligned left,
// centred or right in its rectangle, on one line or word-wrapped, in its normal, hovered or
// selected colour. Screens, buttons, message boxes and scene objects draw their texts with it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "ui/window.h"

class ImageFont;
class TUIText;

class TSimpleTextImage : public TMyWindow {
public:
    TSimpleTextImage();
    int GetKind() const override { return kKindText; }

    // An "imagetext" description, or a plain "text" one, whose lacking wrap flag, over and
    // selected colours leave the widget's own. Null changes nothing.
    void ApplyInfo(const TUIText* info);
    void SetTextKey(const std::string& key);
    void RefreshText() override;
    // Byte by byte, without localisation; the key stays.
    void SetPlainText(const std::string& text);
    void ClearText();
    void SetFont(const std::string& id);

    // Checks the visible flag itself: scene objects call it outside any tree.
    void DrawSelf() override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;

    // The height of the text wrapped to the width, measured as it would be drawn.
    int WrappedHeight(int width);
    // The lines the text is wrapped into at that width, as they would be drawn.
    std::vector<std::wstring> WrappedLines(int width);
    // The packed colour the text draws in now.
    uint32_t TextColor() const;

    ImageFont* mFont = nullptr;  // the registry's, not owned
    std::string mKey;
    std::wstring mText;
    TFloatColor mColor{1.0f, 1.0f, 1.0f, 1.0f};
    TFloatColor mOverColor{1.0f, 1.0f, 1.0f, 1.0f};
    TFloatColor mSelectedColor;
    bool mSelected = false;
    int mAlignment = 0;  // 0 centred, 1 right, any other value left
    bool mWrapped = false;

private:
    // Walks the text in lines no wider than the width, from the top of the block at y;
    // draws them when asked and hands them to the list when there is one. Answers the
    // block's height.
    int WrapText(int x, int y, int width, uint32_t color, bool draw, std::vector<std::wstring>* lines = nullptr);
    void DrawLine(size_t start, size_t count, int x, int baseline, int width, uint32_t color);
};

// A new label appended to the parent's children, then filled from the description.
TSimpleTextImage* CreateTextImage(const TUIText* info, TMyWindow* parent);
