// Shape and text objects, the text-info panels and the two-picture switch some of them hold.
#pragma once
#include "core/xml_attributes.h"
#include "graphics/static_image.h"
#include "objects/object.h"

class TBaseBuffer;

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

    StaticImage mFirstImage;
    StaticImage mSecondImage;
    bool mSwitched = false;
    bool mSecondFlag = true;  // whether the current picture is drawn
};

class TShapeObject : public TObject {
public:
    ~TShapeObject() override;
    int GetTypeCode() const override { return 45; }
};

class TTextObject : public TObject {
public:
    ~TTextObject() override;
    int GetTypeCode() const override { return 68; }
};

class TTextInfoObject : public TObject {
public:
    ~TTextInfoObject() override;
    int GetTypeCode() const override { return 49; }
};

class TTextInfoSwitchImageObject : public TTextInfoObject {
public:
    ~TTextInfoSwitchImageObject() override;
    int GetTypeCode() const override { return 50; }

    StaticImage mPreviewImage;
    TImageSwitcher mSwitch;
};
