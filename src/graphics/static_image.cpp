#include "graphics/static_image.h"

#include <cmath>
#include <limits>
#include <tinyxml.h>

#include "core/app_state.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "graphics/clip_scope.h"
#include "graphics/texture_cache.h"

StaticImage::StaticImage() { mTransform.mBlendMode = kBlendAlpha; }

StaticImage::~StaticImage() { mTexture.Release(); }

void StaticImage::SetTexture(const std::string& name)
{
    FreeTexture();
    if (name.empty()) return;
    mTextureName = name;
    mTexture = GetMaskedTexture(name, name, true);
    if (!mTexture) mTexture = ::GetTexture(name);
}

void StaticImage::SetStreamingTexture(const std::string& name)
{
    FreeTexture();
    if (name.empty()) return;
    mTextureName = name;
    mTexture = GetStreamingTexture(name);
}

void StaticImage::SetPosition(float x, float y, bool centred)
{
    mX = mStartX = x;
    mY = mStartY = y;
    mCentred = centred;
}

float StaticImage::GetX() const
{
    if (mCentred && mTransform.mSrcW != 0.0f) return mX + mTransform.mSrcW / 2;
    return mX;
}

float StaticImage::GetY() const
{
    if (mCentred && mTransform.mSrcH != 0.0f) return mY + mTransform.mSrcH / 2;
    return mY;
}

int StaticImage::GetWidth() const
{
    if (mTransform.mSrcW > 0.0f) return TruncToInt(mTransform.mSrcW);
    return mTexture ? mTexture->GetWidth() : 0;
}

int StaticImage::GetHeight() const
{
    if (mTransform.mSrcH > 0.0f) return TruncToInt(mTransform.mSrcH);
    return mTexture ? mTexture->GetHeight() : 0;
}

void StaticImage::UpdateTransform()
{
    DrawTransform& t = mTransform;
    t.mMatrix.SetIdentity();
    t.mMatrix.Scale(mScaleX, mScaleY);
    t.mAngle = mAngle;
    const TAppState& app = GetAppState();
    float x = mOffsetX + mX + static_cast<float>(app.mOffsetX);
    float y = mOffsetY + mY + static_cast<float>(app.mOffsetY);
    if (mCentred) {
        if (t.mFlags & kDrawSourceRect) {
            t.mCentreX = t.mSrcW / 2;
            t.mCentreY = t.mSrcH / 2;
        } else if (mTexture && !mOwnCentre) {
            t.mCentreX = mTexture->GetWidth() / 2.0f;
            t.mCentreY = mTexture->GetHeight() / 2.0f;
            t.mFlags |= kDrawCentre;
        }
        x -= t.mCentreX * mScaleX;
        y -= t.mCentreY * mScaleY;
    } else if (!mOwnCentre) {
        t.mCentreX = t.mCentreY = 0.0f;
        t.mFlags &= ~kDrawCentre;
    } else {
        x -= (t.mCentreX - t.mSrcX) * mScaleX;
        y -= (t.mCentreY - t.mSrcY) * mScaleY;
    }
    t.mMatrix.m[6] = x;
    t.mMatrix.m[7] = y;
}

void StaticImage::Draw(float alphaFactor)
{
    if (!mTexture || mTexture->GetWidth() == 0 || !IsVisible()) return;
    UpdateTransform();
    mTransform.mAlpha = mAlpha * alphaFactor;
    if (!mCentred && mOwnCentre) {
        // The owner writes the centre in sheet coordinates; the draw turns about a point of
        // the frame, so the source origin comes off for the draw alone.
        float cx = mTransform.mCentreX, cy = mTransform.mCentreY;
        mTransform.mCentreX -= mTransform.mSrcX;
        mTransform.mCentreY -= mTransform.mSrcY;
        mTexture->Draw(mTransform);
        mTransform.mCentreX = cx;
        mTransform.mCentreY = cy;
        return;
    }
    mTexture->Draw(mTransform);
}

bool StaticImage::HitTestAlpha(int x, int y, int threshold) const
{
    if (!mTexture || x < 0 || y < 0) return false;
    if (x > mTexture->GetWidth() - 1 || y > mTexture->GetHeight() - 1) return false;
    return mTexture->GetAlphaAt(x, y) >= threshold;
}

bool StaticImage::HitTest(int x, int y) const
{
    // A hit-test point that is not a finite int cannot be on the image.
    if (mOwnCentre) {
        int gx = 0, gy = 0;
        if (!ToIntChecked(GetX(), &gx) || !ToIntChecked(GetY(), &gy)) return false;
        float dx = static_cast<float>(static_cast<int64_t>(x) - gx);
        float dy = static_cast<float>(static_cast<int64_t>(y) - gy);
        float a = -mAngle;
        int rx = 0, ry = 0;
        if (!ToIntChecked(dx * std::cos(a) - dy * std::sin(a), &rx) ||
            !ToIntChecked(dy * std::cos(a) + dx * std::sin(a), &ry))
            return false;
        if (!ToIntChecked(GetWidth() * mScaleX * 0.5f + rx, &x) || !ToIntChecked(GetHeight() * mScaleY * 0.5f + ry, &y))
            return false;
    }
    // A zero (or tiny) scale maps the point to infinity or past the int range: no hit.
    if (mScaleX == 0.0f || mScaleY == 0.0f) return false;
    if (!ToIntChecked(x * (1.0f / mScaleX), &x) || !ToIntChecked(y * (1.0f / mScaleY), &y)) return false;
    return HitTestAlpha(x, y, 63);
}

AlphaStaticImage::AlphaStaticImage()
{
    mFade.mFinished = true;
    mFade.mFinishAtOnce = true;
}

bool AlphaStaticImage::Update(float dt)
{
    if (IsDone()) return true;
    // The hold ends without moving the fade in the same frame.
    if (mHoldTime > 0.0f) {
        mHoldTime -= dt;
        return false;
    }
    if (mFade.mRunning) mFade.Update(dt);
    mAlpha = mFade.mCurrent;
    return mFade.mFinished;
}

void AlphaStaticImage::SetAlpha(float a)
{
    mFade.SetValue(a);
    mAlpha = a;
}

void AlphaStaticImage::StartFade(float from, float to, float duration)
{
    mFade.Set(from, to, duration, true);
    mAlpha = from;
}

void TClippingImage::DrawClipped()
{
    if (mClipX == 0 && mClipY == 0 && mClipW == 0 && mClipH == 0) {
        Draw(1.0f);
        return;
    }
    // The reel's rectangle stands in for the clip it finds, which comes back afterwards.
    TClipScope clip(mClipX, mClipY, mClipW, mClipH);
    Draw(1.0f);
}

void ReadStaticImageAttrs(TiXmlElement* element, StaticImage* image, const std::string& folderPrefix)
{
    if (!element || !image) return;
    std::string name = GetAttrString(element, "filename", "");
    if (name.empty()) name = GetAttrString(element, "image", "");
    image->mTextureName = folderPrefix + name;

    bool centred = GetAttrBool(element, "pos_is_center", false, "");
    image->SetPosition(static_cast<float>(GetAttrInt(element, "x", 0, "")),
                       static_cast<float>(GetAttrInt(element, "y", 0, "")), centred);
    image->SetAngle(GetAttrInt(element, "angle", 0, "") * 0.017453292f);
    image->mAlpha = GetAttrFloat(element, "alpha", 1.0f, "");
    image->SetVisible(GetAttrBool(element, "visible", true, "v"));
    // The transform is rebuilt from these at every draw.
    image->mOffsetX = static_cast<float>(GetAttrInt(element, "trancex", 0, ""));
    image->mOffsetY = static_cast<float>(GetAttrInt(element, "trancey", 0, ""));

    float scx = GetAttrFloat(element, "scx", -1.0f, "");
    float scy = GetAttrFloat(element, "scy", -1.0f, "");
    if (scx != -1.0f && scy != -1.0f) image->SetScaleXY(scx, scy);

    int tcx = GetAttrInt(element, "tcx", -1, "");
    int tcy = GetAttrInt(element, "tcy", -1, "");
    if (tcx != -1 && tcy != -1) {
        image->mTransform.mCentreX = static_cast<float>(tcx);
        image->mTransform.mCentreY = static_cast<float>(tcy);
        image->mTransform.mFlags |= kDrawCentre;
        image->mOwnCentre = true;
    }
    if (element->Attribute("additive"))
        image->mTransform.mBlendMode = GetAttrBool(element, "additive", false, "") ? kBlendAdd : kBlendAlpha;
}
