#include "objects/decor_objects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <tinyxml.h>

#include "core/buffer.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "graphics/clip_scope.h"

std::vector<TIntPoint> ReadDottedPoints(TiXmlElement* element, const char* name)
{
    std::vector<TIntPoint> points;
    for (const std::vector<std::string>& parts : SplitGroups(GetAttrString(element, name, ""), ';', '.')) {
        if (parts.size() != 2) continue;
        TIntPoint point;
        point.x = std::atoi(parts[0].c_str());
        point.y = std::atoi(parts[1].c_str());
        points.push_back(point);
    }
    return points;
}

void PointsBoundingBox(const std::vector<TIntPoint>& points, float* x, float* y, float* w, float* h)
{
    if (points.size() < 2) return;
    int minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const TIntPoint& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    *x = static_cast<float>(minX);
    *y = static_cast<float>(minY);
    // In 64 bits: points at the ends of the int range must not wrap.
    *w = static_cast<float>(static_cast<int64_t>(maxX) - minX + 1);
    *h = static_cast<float>(static_cast<int64_t>(maxY) - minY + 1);
}

// ---------------------------------------------------------------- UV window

TUVObject::~TUVObject() = default;

void TUVObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mU1 = GetAttrFloat(e, "u1", mU1);
    mV1 = GetAttrFloat(e, "v1", mV1);
    mU2 = GetAttrFloat(e, "u2", mU2);
    mV2 = GetAttrFloat(e, "v2", mV2);
}

namespace {
constexpr double kBreakTolerance = 0.000001;

// The window's edges and the integers strictly between them.
std::vector<double> BreakPoints(double from, double to)
{
    std::vector<double> breaks{from};
    double k = std::floor(from) + 1.0;
    if (std::fabs(from - std::round(from)) <= kBreakTolerance) k = std::round(from) + 1.0;
    for (; k < to; k += 1.0) {
        if (std::fabs(k - to) <= kBreakTolerance) break;
        breaks.push_back(k);
    }
    breaks.push_back(to);
    return breaks;
}

// How many breaks lie inside, counted without walking them.
double InnerBreakCount(double from, double to) { return std::max(0.0, std::ceil(to) - std::floor(from)); }

// Cells meet on whole pixels: each edge is rounded once and shared by the cells on both sides,
// where sizes truncated cell by cell would leave a row or a column open between two of them.
int UVEdge(double windowOffset, double size) { return TruncToInt(std::floor(windowOffset * size + 0.5)); }

// Where a cell of that many pixels starts in the texture, kept inside it.
int UVSourceStart(double at, double size, int cellSize)
{
    const int start = UVEdge(at - std::floor(at), size);
    return std::max(0, std::min(start, TruncToInt(size) - cellSize));
}
}  // namespace

void TUVObject::Draw(float /*alphaFactor*/)
{
    if (!IsVisible() || !mImage || !mImage->GetTexture()) return;
    const double u1 = mU1, u2 = mU2, v1 = mV1, v2 = mV2;
    if (!(u1 < u2) || !(v1 < v2)) return;
    if (!std::isfinite(u1) || !std::isfinite(u2) || !std::isfinite(v1) || !std::isfinite(v2)) return;
    if (InnerBreakCount(u1, u2) * InnerBreakCount(v1, v2) > kMaxCells) return;

    const std::vector<double> us = BreakPoints(u1, u2);
    const std::vector<double> vs = BreakPoints(v1, v2);
    StaticImage& image = *mImage;
    const float X = static_cast<float>(TruncToInt(image.GetX()));
    const float Y = static_cast<float>(TruncToInt(image.GetY()));
    const double W = image.GetWidth(), H = image.GetHeight();
    const double c = std::cos(mAngle), s = std::sin(mAngle);
    for (size_t i = 0; i + 1 < us.size(); ++i) {
        const int left = UVEdge(us[i] - u1, W), right = UVEdge(us[i + 1] - u1, W);
        const int sourceX = UVSourceStart(us[i], W, right - left);
        for (size_t j = 0; j + 1 < vs.size(); ++j) {
            const int top = UVEdge(vs[j] - v1, H), bottom = UVEdge(vs[j + 1] - v1, H);
            image.mTransform.SetSourceRect(sourceX, UVSourceStart(vs[j], H, bottom - top), right - left, bottom - top);
            const double dx = left, dy = top;
            image.SetPosition(static_cast<float>(X + dx * c - dy * s), static_cast<float>(Y + dy * c + dx * s), false);
            image.Draw(1.0f);
        }
    }
    image.mTransform.ClearSourceRect();
    image.SetPosition(X, Y, false);
}

TUVSpinObject::~TUVSpinObject() = default;

void TUVSpinObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TUVObject::LoadXml(e, dataFolder);
    mSpinTime = GetAttrFloat(e, "time", 15.0f);
    mStartDelay = GetAttrFloat(e, "stime", 0.0f);
    mAscending = GetAttrBool(e, "asc", true);
    mBaseTop = mV1;
    mBaseBottom = mV2;
    if (mStartDelay > 0.0f) mStartTimer.Start(mStartDelay);
}

void TUVSpinObject::StartSpin() { mSpin.Set(0.0f, mAscending ? 1.0f : -1.0f, std::fabs(mSpinTime), true); }

bool TUVSpinObject::Update(float dt)
{
    TObject::Update(dt);
    if (mStartTimer.IsActive()) {
        // The update that ends the delay starts the spin without advancing it.
        if (mStartTimer.Update(dt)) {
            mStartTimer.Stop();
            StartSpin();
        }
        return false;
    }
    mSpin.Update(dt);
    mV1 = mBaseTop + mSpin.mCurrent;
    mV2 = mBaseBottom + mSpin.mCurrent;
    if (mSpin.mFinished) StartSpin();
    return false;
}

// ---------------------------------------------------------------- clouds

TCloudsObject::~TCloudsObject() = default;

namespace {
// Comma-separated whole numbers; the ones missing stay 0.
void ReadCommaRect(const std::string& text, int32_t* out)
{
    const char* p = text.c_str();
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        const long value = std::strtol(p, &end, 10);
        if (end == p) return;
        out[i] = ClampToInt(value);
        p = end;
        if (*p != ',') return;
        ++p;
    }
}
}  // namespace

void TCloudsObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    int32_t rect[4] = {0, 0, 0, 0};
    ReadCommaRect(GetAttrString(e, "rect", ""), rect);
    const std::string folder = dataFolder.empty() ? "textures/" : dataFolder;
    const std::string back = GetAttrString(e, "imgback", "");
    mBackName = back.empty() ? "" : folder + back;
    const bool useFolder = GetAttrBool(e, "udf", true);
    const std::string layerFolder = useFolder ? folder : "textures/";
    const char* names[2] = {"imgclouds", "imgclouds2"};
    const char* speeds[2] = {"speed", "speed2"};
    for (int i = 0; i < 2; ++i) {
        const std::string layer = GetAttrString(e, names[i], "");
        mLayerNames[i] = layer.empty() ? "" : layerFolder + layer;
        mSpeeds[i] = GetAttrFloat(e, speeds[i], 0.0f);
    }
    mUp = GetAttrBool(e, "up", false);
    mCanUseFilter = GetAttrBool(e, "canusefilter", false);
    mClip = GetAttrBool(e, "setcliprect", true);
    mRectX = rect[0];
    mRectY = rect[1];
    mRectW = rect[2];
    mRectH = rect[3];
}

void TCloudsObject::LoadResources()
{
    mBackImage.SetTexture(mBackName);
    mBackImage.SetPosition(static_cast<float>(mRectX), static_cast<float>(mRectY), false);
    TTextureSwitchScope keepAlpha(KeepTextureAlpha, !mCheckOnlyBounds);
    for (StaticImage& layer : mLayerImages) layer.SetTexture(mLayerNames[&layer - mLayerImages]);
}

void TCloudsObject::FreeResources()
{
    mBackImage.FreeTexture();
    for (StaticImage& layer : mLayerImages) layer.FreeTexture();
}

bool TCloudsObject::Update(float dt)
{
    if (!IsVisible()) return false;
    for (int i = 0; i < 2; ++i) {
        const StaticImage& layer = mLayerImages[i];
        if (layer.GetWidth() <= 0) continue;
        const float s = mSpeeds[i];
        float& o = mOffsets[i];
        o += s * dt;
        if (mUp) {
            const float h = static_cast<float>(layer.GetHeight());
            // Standing still or rising wraps at 0, as the horizontal layers do: o stays in [0, h).
            if (s > 0.0f) {
                if (o > h) o -= h;
            } else if (o < 0.0f) {
                o += h;
            }
        } else {
            const float w = static_cast<float>(layer.GetWidth());
            if (s > 0.0f) {
                if (o > static_cast<float>(mRectW)) o -= w;
            } else if (o < 0.0f) {
                o += w;
            }
        }
    }
    return false;
}

void TCloudsObject::Draw(float alphaFactor)
{
    if (!IsVisible()) return;
    // Puts back the clip it found, so a pocket's clip holds for what is drawn after us.
    TClipScope clip(mRectX, mRectY, mClip ? mRectW : 0, mRectH);
    if (mBackImage.GetWidth() > 0) mBackImage.Draw(1.0f);
    for (int i = 0; i < 2; ++i) {
        StaticImage& layer = mLayerImages[i];
        if (layer.GetWidth() <= 0) continue;
        layer.mAlpha = mAlpha;
        layer.mTransform.mBlendMode = mBlendMode;
        if (mUp) {
            const float h = static_cast<float>(layer.GetHeight());
            for (float y = static_cast<float>(mRectY) + mOffsets[i]; y > -h; y -= h) {
                layer.SetPosition(static_cast<float>(mRectX), y, false);
                layer.Draw(alphaFactor);
            }
        } else {
            const float w = static_cast<float>(layer.GetWidth());
            for (float x = static_cast<float>(mRectX) + mOffsets[i]; x > -w; x -= w) {
                layer.SetPosition(x, static_cast<float>(mRectY), false);
                layer.Draw(alphaFactor);
            }
        }
    }
}

// ---------------------------------------------------------------- particles

TParticleObject::TParticleObject() { mActive = false; }

TParticleObject::~TParticleObject() = default;

void TParticleObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mParticleFile = GetAttrString(e, "particle", "");
    mAreaType = GetAttrInt(e, "particletype", 3);
    mPoints = ReadDottedPoints(e, "points");
    if (mPoints.size() >= 2) {
        PointsBoundingBox(mPoints, &mX, &mY, &mWidth, &mHeight);
        const TIntPoint first = mPoints.front(), last = mPoints.back();
        if (first.x != last.x && first.y != last.y) mPoints.push_back(first);
    }
    if (!mPoints.empty())
        mAreaType = 4;
    else if (mWidth > 0.0f && mHeight > 0.0f)
        mAreaType = 1;
}

void TParticleObject::MakeEmitter()
{
    mEmitter.reset(new ParticleSystem());
    mEmitter->Load(mParticleFile, mImage ? mImage->GetTexturePtr() : TexturePtr());
    if (mAreaType == 1) {
        mEmitter->mAreaType = 1;
        mEmitter->mAreaSizeX = mWidth;
        mEmitter->mAreaSizeY = mHeight;
    } else if (mAreaType == 4) {
        mEmitter->SetPolygonArea(mPoints);
    }
    mEmitter->mX = mEmitter->mPrevX = mX;
    mEmitter->mY = mEmitter->mPrevY = mY;
    mEmitter->mStopped = false;
    mEmitter->mAge = mEmitter->mLifetime == -1.0f ? -1.0f : 0.0f;
}

bool TParticleObject::Update(float dt)
{
    if (mActive && !mEmitter) MakeEmitter();
    if (mEmitter && dt != 0.0f) {
        mEmitter->Update(dt);
        mEmitter->MoveParticles(dt);
        if (mEmitter->mStopped) {
            mEmitter.reset();
            mActive = false;
        }
    }
    if (mEmitter) {
        // A second step: the emitter ages twice as fast as its particles move.
        mEmitter->Update(dt);
        if (mEmitter->mStopped) mEmitter.reset();
    }
    return false;
}

void TParticleObject::Draw(float alphaFactor)
{
    if (IsVisible() && mEmitter) mEmitter->Render(alphaFactor, 0.0f, 0.0f);
}

void TParticleObject::Activate(int /*x*/, int /*y*/, int /*flags*/)
{
    mEmitter.reset();
    mActive = true;
}

void TParticleObject::ResetBehaviour() { mActive = false; }

void TParticleObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mActive);
}

void TParticleObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool active = buffer.ReadByte() != 0;
    if (!StateRefused()) mActive = active;
}

// ---------------------------------------------------------------- asterix

TAsterixObject::~TAsterixObject() = default;

void TAsterixObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mSpinTime = GetAttrFloat(e, "rot_time", 3.0f);
    mClockwise = GetAttrBool(e, "clockwise", true);
}

void TAsterixObject::LoadResources()
{
    TObject::LoadResources();
    CenterOrigin();
}

void TAsterixObject::Restart() { mSpin.Set(0.0f, 360.0f, std::fabs(mSpinTime), true); }

void TAsterixObject::Activate(int x, int y, int flags)
{
    TObject::Activate(x, y, flags);
    mSpinning = true;
    Restart();
}

bool TAsterixObject::Update(float dt)
{
    TObject::Update(dt);
    if (mSpin.mRunning) {
        mSpin.Update(dt);
        const float degrees = mClockwise ? mSpin.mCurrent : 360.0f - mSpin.mCurrent;
        if (mImage) mImage->SetAngle(degrees * 0.017453292f);
        if (mSpin.mFinished) Restart();
    }
    return false;
}

void TAsterixObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mSpinning);
}

void TAsterixObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool spinning = buffer.ReadByte() != 0;
    if (StateRefused()) return;
    mSpinning = spinning;
    if (mSpinning) Activate(0, 0, 0);
}

// ---------------------------------------------------------------- rotator

namespace {
const char kRotationName[] = "rotator";
}

TRotatorObject::~TRotatorObject() = default;

void TRotatorObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mTurns = GetAttrFloat(e, "turns", mTurns);
    mTurnTime = GetAttrFloat(e, "time", mTurnTime);
    TiXmlElement* img = e ? e->FirstChildElement("img") : nullptr;
    if (img) ReadStaticImageAttrs(img, &mTurningImage, dataFolder);
}

void TRotatorObject::LoadResources()
{
    TObject::LoadResources();
    if (!mTurningImage.mTextureName.empty()) mTurningImage.SetTexture(mTurningImage.mTextureName);
}

void TRotatorObject::FreeResources()
{
    TObject::FreeResources();
    mTurningImage.FreeTexture();
}

void TRotatorObject::StartRotation()
{
    if (mRotations.Find(kRotationName)) return;
    const float target = mTurningImage.GetAngle() + mTurns * 6.2831855f;
    mRotations.Add(new TRotationEffect(target, std::fabs(mTurnTime), &mTurningImage, kRotationName, this));
}

void TRotatorObject::Activate(int x, int y, int flags)
{
    TObject::Activate(x, y, flags);
    StartRotation();
}

bool TRotatorObject::Update(float dt)
{
    TObject::Update(dt);
    mRotations.Update(dt);
    if (mFinishedOnRestore) {
        mFinishedOnRestore = false;
        OnRotationFinished(kRotationName);
    }
    return false;
}

void TRotatorObject::OnRotationFinished(const std::string& /*name*/) { RunEventReactions(0); }

void TRotatorObject::Draw(float alphaFactor)
{
    (void)alphaFactor;  // both parts draw at full strength
    TObject::Draw(1.0f);
    if (IsVisible()) mTurningImage.Draw(1.0f);
}

void TRotatorObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mRotations.Find(kRotationName) != nullptr);
}

void TRotatorObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool finished = buffer.ReadByte() != 0;
    if (!StateRefused()) mFinishedOnRestore = finished;
}

// ---------------------------------------------------------------- focuser

TFocuserObject::~TFocuserObject() = default;

void TFocuserObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mTime = GetAttrFloat(e, "time", 1.0f);
    mFullAlpha = mAlpha;
    mAlpha = 0.0f;
    mFade.Set(0.0f, 0.0f, 0.0f, false);
}

void TFocuserObject::Activate(int x, int y, int flags)
{
    TObject::Activate(x, y, flags);
    mFade.Set(mFade.mCurrent, mFadeInNext ? mFullAlpha : 0.0f, std::fabs(mTime), true);
}

bool TFocuserObject::Update(float dt)
{
    if (mFade.mRunning) {
        mFade.Update(dt);
        mAlpha = mFade.mCurrent;
        if (mFade.mFinished) mFadeInNext = !mFadeInNext;
    }
    return TObject::Update(dt);
}

void TFocuserObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteMilli(mFade.mCurrent);
    buffer.WriteByte(mFadeInNext);
    buffer.WriteByte(mFade.mRunning);
}

void TFocuserObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const float alpha = buffer.ReadMilli();
    const bool fadeInNext = buffer.ReadByte() != 0;
    const bool fading = buffer.ReadByte() != 0;
    if (StateRefused()) return;
    mFade.Set(alpha, alpha, 0.0f, false);  // at rest on the saved alpha
    mAlpha = alpha;
    mFadeInNext = fadeInNext;
    // An interrupted fade goes on towards its target.
    if (fading) ActivateSimple();
}

bool TFocuserObject::HitTestSelf(int /*x*/, int /*y*/) { return mAlpha > 0.0f; }

// ---------------------------------------------------------------- flexible

TFlexibleObject::~TFlexibleObject() = default;

void TFlexibleObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mStretchTime = GetAttrFloat(e, "time", 0.1f);
}

void TFlexibleObject::SetScaleXY(float target, float seconds)
{
    mStretch.Set(mScale, target, seconds < 0.0f ? mStretchTime : seconds, true);
}

bool TFlexibleObject::Update(float dt)
{
    if (mStretch.mRunning) {
        mStretch.Update(dt);
        ApplyScale(mStretch.mCurrent);
    }
    return false;
}

void TFlexibleObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (!mImage) return;
    mScale = 1.0f;
    mBaseX = mCurX = TruncToInt(mImage->GetX());
    mBaseY = mCurY = TruncToInt(mImage->GetY());
    mBaseW = mCurW = mImage->GetWidth();
    mBaseH = mCurH = mImage->GetHeight();
}

TUDFlexibleObject::~TUDFlexibleObject() = default;

int32_t TUDFlexibleObject::ScaledHeight(float scale) { return TruncToInt(static_cast<float>(mBaseH) * scale); }

float TUDFlexibleObject::HeightRatio(float height) { return static_cast<float>(mBaseH) / height; }

void TUDFlexibleObject::ApplyScale(float scale)
{
    if (!mImage) return;
    mScale = scale;
    const int32_t h = ScaledHeight(scale);
    mImage->SetScaleXY(1.0f, scale);
    const int64_t y = static_cast<int64_t>(mBaseY) + mBaseH - h;
    TObject::SetPosition(static_cast<float>(mBaseX), static_cast<float>(y), true);
    mCurX = mBaseX;
    mCurY = ClampToInt(y);
    mCurW = mImage->GetWidth();
    mCurH = h;
}
