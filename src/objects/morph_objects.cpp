#include "objects/morph_objects.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "graphics/texture.h"

namespace {

// A picture name of the space's folder, joined as it is.
std::string InFolder(const std::string& folder, const std::string& name) { return name.empty() ? name : folder + name; }

// Pictures keep their alpha map for hit tests unless the object tests its bounds only.
void LoadPicture(AlphaStaticImage& image, const std::string& name, bool boundsOnly)
{
    TTextureSwitchScope alpha(KeepTextureAlpha, !boundsOnly);
    image.SetTexture(name);
}

// Left and top edges inside, right and bottom outside.
bool InBox(float x, float y, float left, float top, float right, float bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

}  // namespace

// ---- The morphing object.

TMorphingObject::TMorphingObject() { mActive = true; }

TMorphingObject::~TMorphingObject() = default;

void TMorphingObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mMorphName = InFolder(dataFolder, GetAttrString(element, "mname", ""));
    mMorphTime = GetAttrFloat(element, "time", mMorphTime);
    mMinAlpha = GetAttrFloat(element, "min_alpha", mMinAlpha);
    mMaxAlpha = GetAttrFloat(element, "max_alpha", mMaxAlpha);
    const float pause = GetAttrFloat(element, "pause", 0.0f);
    const float pause2 = GetAttrFloat(element, "pause2", pause);
    const int mx = GetAttrInt(element, "mx", -1);
    const int my = GetAttrInt(element, "my", -1);
    if (mx == -1 || my == -1)
        mMorphImage.SetPosition(static_cast<float>(TruncToInt(mX)), static_cast<float>(TruncToInt(mY)), false);
    else
        mMorphImage.SetPosition(static_cast<float>(mx), static_cast<float>(my), false);
    mScore = GetAttrInt(element, "score", mScore);
    TMorphPauses* pauses = new TMorphPauses();
    pauses->mPause[0] = pause;
    pauses->mPause[1] = pause2;
    mPauses = pauses;
    ResetAlpha();
}

void TMorphingObject::ResetAlpha() { mMorphImage.SetAlpha(mMinAlpha); }

void TMorphingObject::StartFade(bool up)
{
    if (up)
        mMorphImage.StartFade(mMinAlpha, mMaxAlpha, mMorphTime);
    else
        mMorphImage.StartFade(mMaxAlpha, mMinAlpha, mMorphTime);
}

void TMorphingObject::Start() { mMorphImage.StartFade(mMinAlpha, mMaxAlpha, mMorphTime); }

bool TMorphingObject::Update(float dt)
{
    TObject::Update(dt);
    if (!mActive) return false;
    mMorphImage.SetScaleXY(mScaleX, mScaleY);
    mMorphImage.SetPosition(GetX(), GetY(), false);
    if (mPauseTimer.IsActive()) {
        if (!mPauseTimer.Update(dt)) return false;
    } else {
        if (!mMorphImage.Update(dt)) return false;
        // The toggle is flipped at the end of every run; the pause it pointed at follows.
        if (mPauses) {
            const int32_t toggle = mPauses->mToggle;
            mPauses->mToggle = toggle == 0 ? 1 : 0;
            const float pause = mPauses->mPause[toggle == 1 ? 1 : 0];
            if (pause > 0.0f) {
                mPauseTimer.Start(pause);
                return false;
            }
        }
    }
    // A run that ended at the bottom goes up, any other comes down; exact: the fade ends on
    // its end value.
    StartFade(mMorphImage.mAlpha == mMinAlpha);
    return false;
}

void TMorphingObject::Activate(int count, int x, int y)
{
    const bool wasActive = mActive;
    TObject::Activate(count, x, y);
    if (wasActive) return;
    mActive = true;
    Start();
}

void TMorphingObject::Draw(float alphaFactor)
{
    TObject::Draw(alphaFactor);
    if (IsVisible()) mMorphImage.Draw(alphaFactor);
}

void TMorphingObject::LoadResources()
{
    TObject::LoadResources();
    LoadPicture(mMorphImage, mMorphName, mCheckOnlyBounds);
    if (mWidth == 0.0f && mMorphImage.GetWidth() > 0) mWidth = static_cast<float>(mMorphImage.GetWidth());
    if (mHeight == 0.0f && mMorphImage.GetHeight() > 0) mHeight = static_cast<float>(mMorphImage.GetHeight());
}

void TMorphingObject::FreeResources()
{
    TObject::FreeResources();
    mMorphImage.FreeTexture();
}

bool TMorphingObject::HitTestSelf(int x, int y)
{
    const float mx = mMorphImage.GetX();
    const float my = mMorphImage.GetY();
    const float left = std::min(mX, mx);
    const float top = std::min(mY, my);
    const float right = std::max(mX + mWidth, mx + static_cast<float>(mMorphImage.GetWidth()));
    const float bottom = std::max(mY + mHeight, my + static_cast<float>(mMorphImage.GetHeight()));
    return InBox(static_cast<float>(x), static_cast<float>(y), left, top, right, bottom);
}

// ---- The double morphing object.

TDoubleMorphingObject::~TDoubleMorphingObject() = default;

void TDoubleMorphingObject::ResetAlpha()
{
    TMorphingObject::ResetAlpha();
    if (mImage) mImage->mAlpha = mMaxAlpha;
}

void TDoubleMorphingObject::StartFade(bool up)
{
    TMorphingObject::StartFade(up);
    if (up)
        mSecondMorph.Set(mMaxAlpha, mMinAlpha, mMorphTime, true);
    else
        mSecondMorph.Set(mMinAlpha, mMaxAlpha, mMorphTime, true);
}

void TDoubleMorphingObject::Start()
{
    TMorphingObject::Start();
    mSecondMorph.Set(mMaxAlpha, mMinAlpha, mMorphTime, true);
}

bool TDoubleMorphingObject::Update(float dt)
{
    TMorphingObject::Update(dt);
    // Also while inactive: the own image then rests at the fade's value.
    mSecondMorph.Update(dt);
    if (mImage) mImage->mAlpha = mSecondMorph.mCurrent;
    return false;
}

// ---- The second morphing object: two pictures taking turns.

TMorphingObject2::TMorphingObject2() = default;

TMorphingObject2::~TMorphingObject2() = default;

void TMorphingObject2::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mFirstName = InFolder(dataFolder, GetAttrString(element, "mname1", ""));
    mSecondName = InFolder(dataFolder, GetAttrString(element, "mname2", ""));
    mFadeTime = GetAttrFloat(element, "time", 2.0f);
    mPause = GetAttrFloat(element, "pause", 1.0f);
    mScore = GetAttrInt(element, "score", 0);
    mStarted = GetAttrBool(element, "active", mStarted);
    const float ownX = static_cast<float>(TruncToInt(mX));
    const float ownY = static_cast<float>(TruncToInt(mY));
    const int x1 = GetAttrInt(element, "x1", -1);
    const int y1 = GetAttrInt(element, "y1", -1);
    const int x2 = GetAttrInt(element, "x2", -1);
    const int y2 = GetAttrInt(element, "y2", -1);
    mFirstImage.SetAlpha(1.0f);
    mSecondImage.SetAlpha(0.0f);
    if (x1 == -1 || y1 == -1)
        mFirstImage.SetPosition(ownX, ownY, false);
    else
        mFirstImage.SetPosition(static_cast<float>(x1), static_cast<float>(y1), false);
    if (x2 == -1 || y2 == -1)
        mSecondImage.SetPosition(ownX, ownY, false);
    else
        mSecondImage.SetPosition(static_cast<float>(x2), static_cast<float>(y2), false);
    if (mStarted) StartFade(false);
}

void TMorphingObject2::StartFade(bool in)
{
    if (in) {
        mCurrentImage->StartFade(0.0f, 1.0f, mFadeTime);
        return;
    }
    mCurrentImage->StartFade(1.0f, 0.0f, mFadeTime);
    if (mPause > 0.0f) mPauseTimer.Start(mPause);
}

bool TMorphingObject2::Update(float dt)
{
    TObject::Update(dt);
    if (mPauseTimer.IsActive() && mPauseTimer.Update(dt)) {
        mCurrentImage = mCurrentImage == &mFirstImage ? &mSecondImage : &mFirstImage;
        StartFade(true);
    }
    // Exactly 1: a fade ends on its end value.
    if (mFirstImage.Update(dt) && mFirstImage.mAlpha == 1.0f) StartFade(false);
    if (mSecondImage.Update(dt) && mSecondImage.mAlpha == 1.0f) StartFade(false);
    return false;
}

void TMorphingObject2::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mStarted = true;
    StartFade(false);
}

void TMorphingObject2::Draw(float /*alphaFactor*/)
{
    TObject::Draw(1.0f);
    if (!IsVisible()) return;
    mFirstImage.Draw(1.0f);
    mSecondImage.Draw(1.0f);
}

void TMorphingObject2::LoadResources()
{
    TObject::LoadResources();
    LoadPicture(mFirstImage, mFirstName, mCheckOnlyBounds);
    LoadPicture(mSecondImage, mSecondName, mCheckOnlyBounds);
    mX = static_cast<float>(TruncToInt(mFirstImage.GetX()));
    mY = static_cast<float>(TruncToInt(mFirstImage.GetY()));
    mWidth = static_cast<float>(mFirstImage.GetWidth());
    mHeight = static_cast<float>(mFirstImage.GetHeight());
}

void TMorphingObject2::FreeResources()
{
    TObject::FreeResources();
    mFirstImage.FreeTexture();
    mSecondImage.FreeTexture();
}

bool TMorphingObject2::HitTestSelf(int x, int y)
{
    const int64_t x1 = TruncToInt(mFirstImage.GetX()), y1 = TruncToInt(mFirstImage.GetY());
    const int64_t x2 = TruncToInt(mSecondImage.GetX()), y2 = TruncToInt(mSecondImage.GetY());
    const int64_t left = std::min(x1, x2);
    const int64_t top = std::min(y1, y2);
    const int64_t right = std::max(x1 + mFirstImage.GetWidth(), x2 + mSecondImage.GetWidth());
    const int64_t bottom = std::max(y1 + mFirstImage.GetHeight(), y2 + mSecondImage.GetHeight());
    return x >= left && x < right && y >= top && y < bottom;
}
