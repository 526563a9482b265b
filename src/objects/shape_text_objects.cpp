#include "objects/shape_text_objects.h"

#include <tinyxml.h>

#include "core/buffer.h"
#include "core/numbers.h"
#include "core/text.h"
#include "graphics/tweens.h"
#include "objects/decor_objects.h"
#include "ui/text_image.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"

// ---------------------------------------------------------------- switch

TImageSwitcher::~TImageSwitcher() = default;

TIntPoint TImageSwitcher::GetCenter() const
{
    TIntPoint centre;
    centre.x = TruncToInt(mFirstImage.GetX() + mFirstImage.GetWidth() / 2);
    centre.y = TruncToInt(mFirstImage.GetY() + mFirstImage.GetHeight() / 2);
    return centre;
}

namespace {
void ReadSwitchImage(TiXmlElement* element, StaticImage& image, const std::string& folder)
{
    image.mTextureName = folder + GetAttrString(element, "filename", "");
    image.SetPosition(static_cast<float>(GetAttrInt(element, "x", 0)), static_cast<float>(GetAttrInt(element, "y", 0)),
                      false);
}
}  // namespace

void TImageSwitcher::LoadXml(TiXmlElement* element, const std::string& folder)
{
    if (!element) return;
    mSwitched = GetAttrBool(element, "flag", false);
    TiXmlElement* first = element->FirstChildElement("image");
    if (!first) return;
    ReadSwitchImage(first, mFirstImage, folder);
    TiXmlElement* second = first->NextSiblingElement("image");
    if (second) ReadSwitchImage(second, mSecondImage, folder);
}

bool TImageSwitcher::Toggle()
{
    mSwitched = !mSwitched;
    return true;
}

void TImageSwitcher::SaveState(TBaseBuffer& buffer)
{
    buffer.WriteByte(mSwitched);
    buffer.WriteByte(mSecondFlag);
}

void TImageSwitcher::LoadState(TBaseBuffer& buffer)
{
    mSwitched = buffer.ReadByte() != 0;
    mSecondFlag = buffer.ReadByte() != 0;
}

// ---------------------------------------------------------------- shape

TShapeObject::~TShapeObject() = default;

void TShapeObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mOutline = ReadDottedPoints(e, "points");
    mDummy = true;
    PointsBoundingBox(mOutline, &mX, &mY, &mWidth, &mHeight);
    // Any outline of three points or more is closed, whichever coordinate its ends share.
    if (mOutline.size() >= 3) {
        const TIntPoint first = mOutline.front(), last = mOutline.back();
        if (first.x != last.x || first.y != last.y) mOutline.push_back(first);
    }
}

bool TShapeObject::HitTestSelf(int px, int py)
{
    const float ox = GetOwnerOffsetX(), oy = GetOwnerOffsetY();
    const bool inRect = !mLocked && IsVisible() && mX + ox <= px && px < mX + ox + mWidth && mY + oy <= py &&
                        py < mY + oy + mHeight;
    if (mOutline.size() < 3 || !inRect) return inRect;
    bool inside = false;
    for (size_t i = 0; i + 1 < mOutline.size(); ++i) {
        const int64_t xi = TruncToInt(mOutline[i].x + ox), yi = TruncToInt(mOutline[i].y + oy);
        const int64_t xj = TruncToInt(mOutline[i + 1].x + ox), yj = TruncToInt(mOutline[i + 1].y + oy);
        if ((yi < py) == (yj < py)) continue;
        // In 64 bits: five-digit differences overflow an int product. Truncates towards zero.
        if (px - xi < (xj - xi) * (py - yi) / (yj - yi)) inside = !inside;
    }
    return inside;
}

// ---------------------------------------------------------------- text

TTextObject::TTextObject() : mLayout(new TUIInfoHolder()) {}

TTextObject::~TTextObject() = default;

void TTextObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mText.reset();
    mLayout.reset(new TUIInfoHolder());
    if (!e) return;
    mLayout->Load(e);
    // Only a text description makes a text; a "rect" or a button of that name does not.
    const TUIText* info = dynamic_cast<const TUIText*>(mLayout->Find("text"));
    if (!info) return;
    mText.reset(new TSimpleTextImage());
    mText->ApplyInfo(info);
    mX = static_cast<float>(mText->GetX());
    mY = static_cast<float>(mText->GetY());
}

void TTextObject::SetPosition(float x, float y, bool moveChildren)
{
    TObject::SetPosition(x, y, moveChildren);
    if (mText) mText->SetPosition(TruncToInt(mX), TruncToInt(mY));
}

void TTextObject::Draw(float /*alphaFactor*/)
{
    TObject::Draw(1.0f);
    if (IsVisible() && mText) mText->DrawSelf();
}

void TTextObject::SetText(const std::string& text)
{
    mShownText = WidenAscii(text);
    if (mText) mText->SetPlainText(text);
}

TTextInfoObject::~TTextInfoObject() = default;

void TTextInfoObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mText = GetAttrString(e, "text", "");
}

// ---------------------------------------------------------------- text with a switch

TTextInfoSwitchImageObject::~TTextInfoSwitchImageObject() = default;

void TTextInfoSwitchImageObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TTextInfoObject::LoadXml(e, dataFolder);
    mSwitch.LoadXml(e ? e->FirstChildElement("image_switcher") : nullptr, dataFolder);
    mPreviewImage.mTextureName = (dataFolder.empty() ? "textures/" : dataFolder) + GetAttrString(e, "preview", "");
    mPreviewImage.SetPosition(static_cast<float>(GetAttrInt(e, "previewx", 0)),
                              static_cast<float>(GetAttrInt(e, "previewy", 0)), false);
}

void TTextInfoSwitchImageObject::LoadResources()
{
    TObject::LoadResources();
    for (StaticImage* image : {&mSwitch.mFirstImage, &mSwitch.mSecondImage})
        if (!image->mTextureName.empty()) image->SetTexture(image->mTextureName);
    mPreviewImage.SetTexture(mPreviewImage.mTextureName);
}

void TTextInfoSwitchImageObject::FreeResources()
{
    mPreviewImage.FreeTexture();
    TObject::FreeResources();
    mSwitch.mFirstImage.FreeTexture();
    mSwitch.mSecondImage.FreeTexture();
}

void TTextInfoSwitchImageObject::Draw(float /*alphaFactor*/)
{
    TObject::Draw(1.0f);
    if (IsVisible() && mSwitch.GetSecondFlag()) mSwitch.Current().Draw(1.0f);
}

bool TTextInfoSwitchImageObject::HitTestSelf(int x, int y)
{
    // The scene point goes to the picture's own pixels first: the picture may be drawn anywhere.
    return PictureShowsPoint(mSwitch.Current(), x, y);
}

void TTextInfoSwitchImageObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    mSwitch.SaveState(buffer);
}

void TTextInfoSwitchImageObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    if (!StateRefused()) {
        mSwitch.LoadState(buffer);
        return;
    }
    TImageSwitcher standIn;  // reads the refused record's bytes past
    standIn.LoadState(buffer);
}
