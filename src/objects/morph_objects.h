// Pictures that breathe on their own: a morph image whose alpha runs up and down over the
// object, the same with the own image running the other way (a cross-fade), and two pictures
// that take turns fading out and in.
#pragma once
#include <cstdint>
#include <string>

#include "core/SharedPtr.h"
#include "core/messages.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/object.h"

// The pauses after the runs: "pause" after a run that ends on toggle 0, "pause2" after one
// ending on toggle 1.
struct TMorphPauses {
    float mPause[2] = {0.0f, 0.0f};
    int32_t mToggle = 0;
};

class TMorphingObject : public TObject {
public:
    TMorphingObject();
    ~TMorphingObject() override;

    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 51; }
    void LoadResources() override;
    void FreeResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void Activate(int count, int x, int y) override;
    bool HitTestSelf(int x, int y) override;

    virtual void ResetAlpha();
    virtual void StartFade(bool up);
    virtual void Start();

    AlphaStaticImage mMorphImage;
    TTimer mPauseTimer;
    SharedPtr<TMorphPauses> mPauses;
    float mMorphTime = 2.0f;
    float mMinAlpha = 0.0f;
    float mMaxAlpha = 1.0f;
    int32_t mScore = 0;
    std::string mMorphName;  // the space's folder plus "mname"
};

// The own image runs the other way at the same time.
class TDoubleMorphingObject : public TMorphingObject {
public:
    ~TDoubleMorphingObject() override;

    bool Update(float dt) override;
    void ResetAlpha() override;
    void StartFade(bool up) override;
    void Start() override;

    IncValue mSecondMorph;  // the own image's fade, at rest on 0 until a run starts it
};

class TMorphingObject2 : public TObject {
public:
    TMorphingObject2();
    ~TMorphingObject2() override;

    void Draw(float alphaFactor) override;
    bool Update(float dt) override;
    int GetTypeCode() const override { return 52; }
    void LoadResources() override;
    void FreeResources() override;
    void LoadXml(TiXmlElement* element, const std::string& dataFolder) override;
    void Activate(int count, int x, int y) override;
    bool HitTestSelf(int x, int y) override;

    // In: the current image fades in. Out: it fades out and the pause before the other
    // image's fade-in starts.
    virtual void StartFade(bool in);

    AlphaStaticImage mFirstImage;
    AlphaStaticImage mSecondImage;
    AlphaStaticImage* mCurrentImage = &mFirstImage;  // one of the two
    TTimer mPauseTimer;
    bool mStarted = true;
    float mFadeTime = 2.0f;
    float mPause = 1.0f;
    int32_t mScore = 0;
    std::string mFirstName;
    std::string mSecondName;
};
