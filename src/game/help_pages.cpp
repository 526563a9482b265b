#include "game/help_pages.h"

#include <tinyxml.h>

#include "core/localization.h"
#include "core/numbers.h"
#include "core/xml_document.h"

namespace {

// Page coordinates come from the file: sums are clamped, never wrapped.
int Add(int a, int b) { return ClampToInt(static_cast<long long>(a) + b); }

}  // namespace

void THelpPage::Load(TiXmlElement* element)
{
    mDX = GetAttrInt(element, "DX", 0);
    mDY = GetAttrInt(element, "DY", 0);
    for (TiXmlElement* e = element->FirstChildElement("text"); e; e = e->NextSiblingElement("text")) {
        THelpText text;
        // A partial "rect" keeps what it converted; only a width still 0 turns to x, y, w, h.
        GetAttrRect(e, "rect", &text.mX, &text.mY, &text.mW, &text.mH, ".");
        if (text.mW == 0) {
            text.mX = GetAttrInt(e, "x", 0);
            text.mY = GetAttrInt(e, "y", 0);
            text.mW = GetAttrInt(e, "w", 0);
            text.mH = GetAttrInt(e, "h", 0);
        }
        text.mX = Add(text.mX, mDX);
        text.mY = Add(text.mY, mDY);
        text.mText = GetLocalization()->GetText(GetAttrString(e, "id", ""));
        text.mColor = GetAttrColor(e, "color", TFloatColor());
        text.mAlign = GetAttrInt(e, "align", 0);
        text.mFont = GetAttrString(e, "font", "");
        text.mFontSize = GetAttrInt(e, "fontsize", 0);
        mTexts.push_back(text);
    }
    for (TiXmlElement* e = element->FirstChildElement("image"); e; e = e->NextSiblingElement("image")) {
        THelpPicture<StaticImage> image;
        image.mPicture.reset(new StaticImage());
        image.mPicture->SetTexture(GetAttrString(e, "image", ""));
        image.mX = Add(GetAttrInt(e, "x", 0), mDX);
        image.mY = Add(GetAttrInt(e, "y", 0), mDY);
        mImages.push_back(std::move(image));
    }
    for (TiXmlElement* e = element->FirstChildElement("cadrimage"); e; e = e->NextSiblingElement("cadrimage")) {
        THelpPicture<TCadrImage> animation;
        animation.mPicture.reset(new TCadrImage());
        // "filename" is a whole texture name, as an image's "image" is.
        animation.mPicture->LoadXml(e, true, "");
        animation.mX = Add(GetAttrInt(e, "x", 0), mDX);
        animation.mY = Add(GetAttrInt(e, "y", 0), mDY);
        mAnimations.push_back(std::move(animation));
    }
}

void THelpPages::Load(const std::string& file)
{
    mCurrent = 0;
    mPages.clear();
    TiXmlElement* root = LoadXmlDocument(file);
    if (!root) return;
    for (TiXmlElement* e = root->FirstChildElement("page"); e; e = e->NextSiblingElement("page")) {
        std::unique_ptr<THelpPage> page(new THelpPage());
        page->Load(e);
        mPages.push_back(std::move(page));
    }
    DeleteCurrentXmlDocument();
    mText.reset(new TSimpleTextImage());
    RestartAnimations();
}

THelpPage* THelpPages::GetPage(int index) const
{
    if (index < 0 || index >= GetPageCount()) return nullptr;
    return mPages[static_cast<size_t>(index)].get();
}

void THelpPages::RestartAnimations()
{
    THelpPage* page = GetPage(mCurrent);
    if (!page) return;
    for (auto& animation : page->mAnimations) animation.mPicture->Play(-1);
}

void THelpPages::Next()
{
    if (mCurrent + 1 < GetPageCount()) ++mCurrent;
    RestartAnimations();
}

void THelpPages::Prev()
{
    if (mCurrent > 0) --mCurrent;
    RestartAnimations();
}

void THelpPages::Update(float dt)
{
    THelpPage* page = GetPage(mCurrent);
    if (!page) return;
    for (auto& animation : page->mAnimations) animation.mPicture->Update(dt);
}

void THelpPages::Draw(int index, float alphaFactor)
{
    THelpPage* page = GetPage(index);
    if (!page) return;
    if (mText) {
        TSimpleTextImage& widget = *mText;
        for (const THelpText& text : page->mTexts) {
            widget.SetFont(text.mFont.empty() ? "default" : text.mFont);
            widget.mColor = text.mColor;
            widget.mWrapped = true;
            widget.SetRect(Add(mOriginX, text.mX), Add(mOriginY, text.mY), text.mW, text.mH);
            widget.mAlignment = text.mAlign;
            widget.mText = text.mText;
            widget.mAlpha = alphaFactor;
            widget.DrawSelf();
        }
    }
    for (auto& image : page->mImages) {
        image.mPicture->SetPosition(static_cast<float>(Add(mOriginX, image.mX)),
                                    static_cast<float>(Add(mOriginY, image.mY)), false);
        image.mPicture->Draw(alphaFactor);
    }
    // The animation's embedded image carries the picture: moving the outer object shows nothing.
    for (auto& animation : page->mAnimations) {
        animation.mPicture->GetImage().SetPosition(static_cast<float>(Add(mOriginX, animation.mX)),
                                                   static_cast<float>(Add(mOriginY, animation.mY)), false);
        animation.mPicture->Draw(alphaFactor);
    }
}
