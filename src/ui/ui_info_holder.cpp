#include "ui/ui_info_holder.h"

#include <tinyxml.h>

#include "core/display.h"
#include "ui/ui_elements.h"
#include "ui/ui_screen_elements.h"

bool ReadUIRect(const TiXmlElement* element, const char* name, TUIRect& rect)
{
    return GetAttrRect(element, name, &rect.x, &rect.y, &rect.w, &rect.h, ".");
}

bool HasColor(const TFloatColor& color)
{
    return color.r != 0.0f || color.g != 0.0f || color.b != 0.0f || color.a != 0.0f;
}

void TUIStyle::Load(TiXmlElement* element)
{
    mWidth = GetAttrInt(element, "w", 0);
    mHeight = GetAttrInt(element, "h", 0);
    mColor = GetAttrColor(element, "color", TFloatColor());
    mFinger = GetAttrBool(element, "dofinger", false);
    mFont = GetAttrString(element, "font");
    mFlags = GetAttrInt(element, "flags", 0);
    mEnterSound = GetAttrString(element, "soundmouseenter");
    mLeaveSound = GetAttrString(element, "soundmouseleave");
    mPressSound = GetAttrString(element, "soundmousedown");
    mVAlign = GetAttrInt(element, "valign", mVAlign);
    mHAlign = GetAttrInt(element, "halign", mHAlign);
}

void TUITextStyle::Load(TiXmlElement* element)
{
    TUIStyle::Load(element);
    mWrapped = GetAttrBool(element, "wrapped", false);
    mOverColor = GetAttrColor(element, "overcolor", mColor);
    mSelectedColor = GetAttrColor(element, "selectedcolor", mColor);
}

void TUIBaseBox::Load(TiXmlElement* element)
{
    TUIRect rect;
    if (ReadUIRect(element, "rect", rect)) {
        mX = rect.x;
        mY = rect.y;
        mWidth = rect.w;
        mHeight = rect.h;
    } else {
        // Fractions are of the design screen, never of the parent window.
        mX = GetAttrRelSize(element, "x", GetLayoutWidth());
        mY = GetAttrRelSize(element, "y", GetLayoutHeight());
        mWidth = GetAttrRelSize(element, "w", GetLayoutWidth());
        mHeight = GetAttrRelSize(element, "h", GetLayoutHeight());
    }
    mColor = GetAttrColor(element, "color", mColor);
    mStyleName = GetAttrString(element, "style");
    mId = GetAttrInt(element, "id", 0);
    mParam = GetAttrString(element, "param");
    mFloatParam = GetAttrFloat(element, "float_param", 0.0f);
    mEnterSound = GetAttrString(element, "soundmouseenter", "btnmouseenter");
    mLeaveSound = GetAttrString(element, "soundmouseleave");
    mPressSound = GetAttrString(element, "soundmousedown", "btnmousedown");
    mCreate = GetAttrBool(element, "create", true);
    mAllowMouse = GetAttrBool(element, "allowmousereaction", true);
    mVAlign = GetAttrInt(element, "valign", -1);
    mHAlign = GetAttrInt(element, "halign", -1);
    GetAttrPointList(element, "points", mPoints);
    mKind = kUIKindRect;
}

void TUIBaseBox::ApplyStyle(const TUIStyle* style)
{
    // A style without "w" or "h" holds 0 there, which fills nothing.
    if (mWidth == 0 && style->mWidth != TUIStyle::kUnset) mWidth = style->mWidth;
    if (mHeight == 0 && style->mHeight != TUIStyle::kUnset) mHeight = style->mHeight;
    if (style->mVAlign != TUIStyle::kUnset) mVAlign = style->mVAlign;
    if (style->mHAlign != TUIStyle::kUnset) mHAlign = style->mHAlign;
    // A transparent black style colour means "no colour", not "make it invisible".
    if (HasColor(style->mColor)) mColor = style->mColor;
    if (!style->mEnterSound.empty()) mEnterSound = style->mEnterSound;
    if (!style->mLeaveSound.empty()) mLeaveSound = style->mLeaveSound;
    if (!style->mPressSound.empty()) mPressSound = style->mPressSound;
}

TUIInfoHolder::~TUIInfoHolder()
{
    for (auto& element : mElements) element.reset();
    mElements.clear();
    for (auto& style : mStyles) style.second.reset();
    mStyles.clear();
}

bool TUIInfoHolder::Load(TiXmlElement* root)
{
    if (!root) return false;
    for (TiXmlElement* e = root->FirstChildElement("style"); e; e = e->NextSiblingElement("style")) {
        std::unique_ptr<TUIStyle> style = CreateStyle(GetAttrString(e, "type"));
        if (!style) continue;
        style->Load(e);
        // The first style of a name wins; a later one is dropped here.
        mStyles.try_emplace(GetAttrString(e, "name"), std::move(style));
    }
    TUIInfoHolder* global = GetInterfaceHolder();
    for (TiXmlElement* e = root->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
        std::unique_ptr<TUIBaseBox> info = CreateElementInfo(GetAttrString(e, "type"));
        if (!info) continue;
        info->Load(e);
        if (!info->mStyleName.empty()) {
            TUIStyle* style = FindStyle(info->mStyleName);
            if (!style && this != global) style = global->FindStyle(info->mStyleName);
            if (style) info->ApplyStyle(style);
        }
        info->mName = GetAttrString(e, "name");
        mElements.push_back(std::move(info));
    }
    return true;
}

TUIBaseBox* TUIInfoHolder::Find(const std::string& name) const
{
    for (const auto& element : mElements) {
        if (element->mName == name) return element.get();
    }
    return nullptr;
}

TUIStyle* TUIInfoHolder::FindStyle(const std::string& name) const
{
    auto it = mStyles.find(name);
    return it == mStyles.end() ? nullptr : it->second.get();
}

std::unique_ptr<TUIBaseBox> TUIInfoHolder::CreateElementInfo(const std::string& type)
{
    if (type == "button") return std::make_unique<TUIMyButton>();
    if (type == "regenervideobutton2") return std::make_unique<TRegenerateVideoButton2Info>();
    if (type == "listbox") return std::make_unique<TUIListBox>();
    if (type == "toolholder") return std::make_unique<TUIToolHolder>();
    if (type == "regenerbutton2") return std::make_unique<TUIRegenerateButton2Info>();
    if (type == "text") return std::make_unique<TUIText>();
    if (type == "imagetext") return std::make_unique<TUIImageText>();
    if (type == "tutorialwindow") return std::make_unique<TUITutorialWindow>();
    if (type == "tutorial") return std::make_unique<TUITutorial>();
    if (type == "window") return std::make_unique<TUIClassicWindow>();
    if (type == "flywindow") return std::make_unique<TUIFlyWindow>();
    if (type == "slider") return std::make_unique<TUIBaseSlider>();
    if (type == "edit") return std::make_unique<TUIEdit>();
    if (type == "image") return std::make_unique<TUIMyImage>();
    if (type == "rect" || type.empty()) return std::make_unique<TUIBaseBox>();
    if (type == "hintbox") return std::make_unique<TUIHintBox>();
    if (type == "backbox") return std::make_unique<TUIBackBox>();
    if (type == "taskbox") return std::make_unique<TUITaskBox>();
    if (type == "lockinterfbtn") return std::make_unique<TUILockInterfButton>();
    return nullptr;
}

std::unique_ptr<TUIStyle> TUIInfoHolder::CreateStyle(const std::string& type)
{
    if (type.empty()) return std::make_unique<TUIStyle>();
    if (type == "text") return std::make_unique<TUITextStyle>();
    if (type == "button") return std::make_unique<TUIButtonStyle>();
    if (type == "slider") return std::make_unique<TUISliderStyle>();
    return nullptr;
}

TUIInfoHolder* GetInterfaceHolder()
{
    static TUIInfoHolder holder;
    return &holder;
}
