// The book of the help dialog: pages of "help.xml" with localised texts in rectangles, still
// images and frame animations, drawn at the dialog's corner so that a page flies with it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/cadr_image.h"
#include "graphics/static_image.h"
#include "ui/text_image.h"

class TiXmlElement;

struct THelpText {
    int mX = 0;  // DX and DY included
    int mY = 0;
    int mW = 0;
    int mH = 0;
    std::wstring mText;
    int mAlign = 0;
    TFloatColor mColor;  // transparent black when the page writes none
    int mFontSize = 0;   // read, but the font's own size is drawn
    std::string mFont;
};

// A picture of a page and its place on the page (DX and DY included).
template <class T>
struct THelpPicture {
    std::unique_ptr<T> mPicture;
    int mX = 0;
    int mY = 0;
};

class THelpPage {
public:
    void Load(TiXmlElement* element);

    int mDX = 0;
    int mDY = 0;
    std::vector<THelpText> mTexts;
    std::vector<THelpPicture<StaticImage>> mImages;
    std::vector<THelpPicture<TCadrImage>> mAnimations;
};

class THelpPages {
public:
    void Load(const std::string& file);
    void Next();
    void Prev();
    void Draw(int page, float alphaFactor);
    // Only the current page's animations advance.
    void Update(float dt);

    int GetCurrent() const { return mCurrent; }
    int GetPageCount() const { return static_cast<int>(mPages.size()); }
    THelpPage* GetPage(int index) const;

    int mOriginX = 0;  // the dialog's corner, refreshed at every draw
    int mOriginY = 0;

private:
    // The current page's animations play from their start frame, endlessly.
    void RestartAnimations();

    std::vector<std::unique_ptr<THelpPage>> mPages;
    int mCurrent = 0;
    // No parent and no child of the dialog: it is placed at every item and would otherwise
    // draw twice, offset twice.
    std::unique_ptr<TSimpleTextImage> mText;
};
