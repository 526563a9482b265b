// The lines of the profile window: a text that can be picked, drawn on a filled, framed
// rectangle while picked. Its layout element and style are known only to the profile
// window's own holder, which reads them from the type "textselectuser".
#pragma once
#include <memory>
#include <string>

#include "ui/text_image.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"

enum { kUIKindTextSelected = 7 };

// A plain style with the line's colours; its normal colour is its "color".
class TUISelectedTextStyle : public TUIStyle {
public:
    void Load(TiXmlElement* element) override;

    TFloatColor mOverColor;
    TFloatColor mBackColor;
    TFloatColor mSelectedColor;
    TFloatColor mFrameColor;
    TFloatColor mNormalColor;
};

class TUITextSelected : public TUIImageText {
public:
    void Load(TiXmlElement* element) override;
    // Reads a style as what it is: its own kind, a text style, or (refused) anything else.
    void ApplyStyle(const TUIStyle* style) override;

    TFloatColor mBackColor;
    TFloatColor mFrameColor;
    TFloatColor mNormalColor;
};

class TSimpleTextSelected : public TSimpleTextImage {
public:
    void ApplyLineInfo(const TUITextSelected* info);
    // The text always draws in the shown colour, whatever the hover flag says.
    void SetShownColor(const TFloatColor& color);
    void SetLineSelected(bool selected);
    // A name is plain text, not a key: a language refresh keeps it.
    void SetName(const std::wstring& name);
    void RefreshText() override;

    void DrawSelf() override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;

    TFloatColor mLineOverColor;
    TFloatColor mLineBackColor;
    TFloatColor mLineFrameColor;
    TFloatColor mLineSelectedColor;
    TFloatColor mLineNormalColor;
};

class TUIInfoHolderSelectUser : public TUIInfoHolder {
public:
    std::unique_ptr<TUIBaseBox> CreateElementInfo(const std::string& type) override;
    std::unique_ptr<TUIStyle> CreateStyle(const std::string& type) override;
};
