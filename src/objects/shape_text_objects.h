// Shape and text objects, the text-info panels and the two-picture switch some of them hold.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/xml_attributes.h"
#include "graphics/static_image.h"
#include "objects/object.h"

class TBaseBuffer;
class TSimpleTextImage;
class TUIInfoHolder;

// A tool of a minigame: a marker only.
class TMinigameTool {
public:
    virtual ~TMinigameTool() = default;
};

// Something with its own saved state; by default there is none.
class TSaveable {
public:
    virtual ~TSaveable() = default;
    virtual void LoadState(TBaseBuffer& /*buffer*/) {}
    virtual void SaveState(TBaseBuffer& /*buffer*/) {}
};

// Shows one of its two pictures.
class TImageSwitcher : public TMinigameTool, public TSaveable {
public:
    ~TImageSwitcher() override;
    virtual void SetSecondFlag(bool flag) { mSecondFlag = flag; }
    virtual bool GetSecondFlag() const { return mSecondFlag; }
    // The first picture's centre, its halves taken in whole pixels.
    virtual TIntPoint GetCenter() const;
    // The first "image" child gives the first picture, its next sibling "image" the second.
    virtual void LoadXml(TiXmlElement* element, const std::string& folder);
    // Switched flips; always answers true.
    virtual bool Toggle();
    void LoadState(TBaseBuffer& buffer) override;
    void SaveState(TBaseBuffer& buffer) override;
    StaticImage& Current() { return mSwitched ? mSecondImage : mFirstImage; }

    StaticImage mFirstImage;
    StaticImage mSecondImage;
    bool mSwitched = false;
    bool mSecondFlag = true;  // whether the current picture is drawn
};

// An invisible click area whose outline is a polygon in scene coordinates.
class TShapeObject : public TObject {
public:
    ~TShapeObject() override;
    int GetTypeCode() const override { return 45; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    // Whether the point lies in the outline (with fewer than three points, in the rectangle).
    bool HitTestSelf(int px, int py) override;

    std::vector<TIntPoint> mOutline;
};

// A text label laid out by the "style" and "object" children of its element.
class TTextObject : public TObject {
public:
    TTextObject();
    ~TTextObject() override;
    int GetTypeCode() const override { return 68; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void SetPosition(float x, float y, bool moveChildren) override;
    void Draw(float alphaFactor) override;
    // Shows the text as given, byte by byte, without a lookup.
    void SetText(const std::string& text);

    std::wstring mShownText;  // the last text set, widened

    std::unique_ptr<TSimpleTextImage> mText;
    std::unique_ptr<TUIInfoHolder> mLayout;
};

// Carries a text for other parts of the game.
class TTextInfoObject : public TObject {
public:
    ~TTextInfoObject() override;
    int GetTypeCode() const override { return 49; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;

    std::string mText;
};

// A text carrier with a two-picture switch and a preview picture.
class TTextInfoSwitchImageObject : public TTextInfoObject {
public:
    ~TTextInfoSwitchImageObject() override;
    int GetTypeCode() const override { return 50; }
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void LoadResources() override;
    void FreeResources() override;
    void Draw(float alphaFactor) override;
    void SaveState(TBaseBuffer& buffer) override;
    void LoadState(TBaseBuffer& buffer) override;
    // Hit where the current picture is drawn and opaque enough.
    bool HitTestSelf(int x, int y) override;

    StaticImage mPreviewImage;
    TImageSwitcher mSwitch;
};
