// Element descriptions and styles of a layout file under "ui/". A holder reads the file's
// "style" and "object" children; widgets and screens then look descriptions up by name.
// One global holder keeps "ui/interface.xml" and lends its styles to every other holder.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/xml_attributes.h"

class TiXmlElement;

// Kind codes of the element descriptions; windows build widgets for 0, 9, 14, 15 and 16.
enum TUIKindCode {
    kUIKindButton = 0,
    kUIKindListBox = 4,
    kUIKindToolHolder = 5,
    kUIKindRegenerateButton = 6,
    kUIKindText = 8,
    kUIKindImageText = 9,
    kUIKindTutorialWindow = 10,
    kUIKindTutorial = 11,
    kUIKindWindow = 12,
    kUIKindFlyWindow = 13,
    kUIKindSlider = 14,
    kUIKindEdit = 15,
    kUIKindImage = 16,
    kUIKindRect = 17,
    kUIKindLockInterfButton = 18,
};

// What a style was made as: descriptions that read fields of a derived style check it first.
enum class TUIStyleKind { Plain, Text, Button, Slider };

struct TUIRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// A rectangle written "x.y.w.h"; true when all four were read. A short one still writes the
// numbers it has.
bool ReadUIRect(const TiXmlElement* element, const char* name, TUIRect& rect);
bool HasColor(const TFloatColor& color);

class TUIStyle {
public:
    static constexpr int kUnset = 2147483647;

    virtual ~TUIStyle() = default;
    virtual void Load(TiXmlElement* element);
    virtual TUIStyleKind Kind() const { return TUIStyleKind::Plain; }

    int mWidth = kUnset;
    int mHeight = kUnset;
    int mVAlign = kUnset;
    int mHAlign = kUnset;
    TFloatColor mColor;
    std::string mFont;
    int mFlags = 0;
    bool mFinger = false;
    std::string mEnterSound;
    std::string mLeaveSound;
    std::string mPressSound;
};

class TUITextStyle : public TUIStyle {
public:
    void Load(TiXmlElement* element) override;
    TUIStyleKind Kind() const override { return TUIStyleKind::Text; }

    bool mWrapped = false;
    TFloatColor mOverColor;
    TFloatColor mSelectedColor;
};

// The description of a "rect" and the base of every other kind: the attributes all share.
class TUIBaseBox {
public:
    virtual ~TUIBaseBox() = default;
    virtual void Load(TiXmlElement* element);
    virtual void ApplyStyle(const TUIStyle* style);

    int mKind = 0;
    std::string mName;
    std::string mParam;
    float mFloatParam = 0.0f;
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
    int mId = 0;
    TFloatColor mColor;
    int mVAlign = -1;
    int mHAlign = -1;
    std::string mStyleName;
    std::string mEnterSound;
    std::string mLeaveSound;
    std::string mPressSound;
    bool mCreate = true;
    bool mAllowMouse = true;
    std::vector<TIntPoint> mPoints;
};

class TUIInfoHolder {
public:
    TUIInfoHolder() = default;
    TUIInfoHolder(const TUIInfoHolder&) = delete;
    TUIInfoHolder& operator=(const TUIInfoHolder&) = delete;
    virtual ~TUIInfoHolder();

    // Styles first, then objects, so an object may name a style written after it. Appends.
    bool Load(TiXmlElement* root);
    TUIBaseBox* Find(const std::string& name) const;
    TUIStyle* FindStyle(const std::string& name) const;

    virtual std::unique_ptr<TUIBaseBox> CreateElementInfo(const std::string& type);
    virtual std::unique_ptr<TUIStyle> CreateStyle(const std::string& type);

    const std::vector<std::unique_ptr<TUIBaseBox>>& Elements() const { return mElements; }
    const std::map<std::string, std::unique_ptr<TUIStyle>>& Styles() const { return mStyles; }

private:
    std::vector<std::unique_ptr<TUIBaseBox>> mElements;
    std::map<std::string, std::unique_ptr<TUIStyle>> mStyles;
};

// Lives until the process ends: windows keep pointers to its descriptions.
TUIInfoHolder* GetInterfaceHolder();
