#include "game/selected_text.h"

#include "core/app_state.h"
#include "core/display.h"
#include "core/xml_attributes.h"

namespace {
const char kType[] = "textselectuser";

void TakeIfOpaque(const TFloatColor& from, TFloatColor* to)
{
    if (from.a != 0.0f) *to = from;
}
}  // namespace

void TUISelectedTextStyle::Load(TiXmlElement* element)
{
    TUIStyle::Load(element);
    mOverColor = GetAttrColor(element, "overcolor", TFloatColor());
    mBackColor = GetAttrColor(element, "backcolor", TFloatColor());
    mSelectedColor = GetAttrColor(element, "selectedcolor", TFloatColor());
    mFrameColor = GetAttrColor(element, "framecolor", TFloatColor());
    mNormalColor = mColor;
}

void TUITextSelected::Load(TiXmlElement* element)
{
    TUIImageText::Load(element);
    // Read again without the image text's fallback to "color": a line without an over
    // colour turns black on hover.
    mOverColor = GetAttrColor(element, "overcolor", TFloatColor());
    mBackColor = GetAttrColor(element, "backcolor", TFloatColor());
    mSelectedColor = GetAttrColor(element, "selectedcolor", TFloatColor());
    mFrameColor = GetAttrColor(element, "framecolor", TFloatColor());
    mNormalColor = mColor;
    mKind = kUIKindTextSelected;
}

void TUITextSelected::ApplyStyle(const TUIStyle* style)
{
    if (const TUISelectedTextStyle* own = dynamic_cast<const TUISelectedTextStyle*>(style)) {
        TUIText::ApplyStyle(own);
        TakeIfOpaque(own->mOverColor, &mOverColor);
        TakeIfOpaque(own->mBackColor, &mBackColor);
        TakeIfOpaque(own->mFrameColor, &mFrameColor);
        TakeIfOpaque(own->mSelectedColor, &mSelectedColor);
        TakeIfOpaque(own->mNormalColor, &mNormalColor);
        return;
    }
    if (style->Kind() != TUIStyleKind::Text) {
        TUIImageText::ApplyStyle(style);  // refuses it and says so
        return;
    }
    // The image text takes any colour with a component set; a line takes opaque ones only.
    const TFloatColor over = mOverColor;
    const TFloatColor selected = mSelectedColor;
    TUIImageText::ApplyStyle(style);
    mOverColor = over;
    mSelectedColor = selected;
    const TUITextStyle* text = static_cast<const TUITextStyle*>(style);
    TakeIfOpaque(text->mOverColor, &mOverColor);
    TakeIfOpaque(text->mSelectedColor, &mSelectedColor);
    TakeIfOpaque(text->mColor, &mNormalColor);
}

void TSimpleTextSelected::ApplyLineInfo(const TUITextSelected* info)
{
    ApplyInfo(info);
    if (!info) return;
    mLineOverColor = info->mOverColor;
    mLineBackColor = info->mBackColor;
    mLineFrameColor = info->mFrameColor;
    mLineSelectedColor = info->mSelectedColor;
    mLineNormalColor = info->mNormalColor;
    SetShownColor(mLineNormalColor);
}

void TSimpleTextSelected::SetShownColor(const TFloatColor& color)
{
    mColor = color;
    mOverColor = color;
    mSelectedColor = color;
}

void TSimpleTextSelected::SetLineSelected(bool selected)
{
    mSelected = selected;
    SetShownColor(selected ? mLineSelectedColor : mLineNormalColor);
}

void TSimpleTextSelected::SetName(const std::wstring& name)
{
    mKey.clear();
    mText = name;
}

void TSimpleTextSelected::RefreshText()
{
    if (!mKey.empty()) TSimpleTextImage::RefreshText();
}

void TSimpleTextSelected::DrawSelf()
{
    if (mSelected && mVisible) {
        const int x = mX + mDrawOffsetX;
        const int y = mY + mDrawOffsetY;
        const TRenderDevice* device = GetAppState().mRenderDevice.get();
        const TFloatColor& back = mLineBackColor;
        if (device && back.a != 0.0f && x >= 0 && y >= 0)
            device->FillRect(SDL_Rect{x, y, mWidth, mHeight}, back.r, back.g, back.b, back.a);
        const TFloatColor& frame = mLineFrameColor;
        if (frame.a != 0.0f) DrawRectOutline(x, y, mWidth, mHeight, frame.r, frame.g, frame.b, frame.a);
    }
    TSimpleTextImage::DrawSelf();
}

// No sound, no listener: only the colour follows the pointer.
void TSimpleTextSelected::OnMouseEnter()
{
    if (!mSelected) SetShownColor(mLineOverColor);
}

void TSimpleTextSelected::OnMouseLeave()
{
    if (!mSelected) SetShownColor(mLineNormalColor);
}

std::unique_ptr<TUIBaseBox> TUIInfoHolderSelectUser::CreateElementInfo(const std::string& type)
{
    if (type == kType) return std::make_unique<TUITextSelected>();
    return TUIInfoHolder::CreateElementInfo(type);
}

std::unique_ptr<TUIStyle> TUIInfoHolderSelectUser::CreateStyle(const std::string& type)
{
    if (type == kType) return std::make_unique<TUISelectedTextStyle>();
    return TUIInfoHolder::CreateStyle(type);
}
