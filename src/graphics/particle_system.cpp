#include "graphics/particle_system.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/ini_file.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/random.h"
#include "graphics/texture_cache.h"
#include "graphics/tweens.h"

namespace {

const int kTableSize = 65536;
// Drawing positions and sizes past this are refused: SDL turns the destination into whole
// pixels without checking the range.
const float kDrawLimit = 1000000.0f;
const int kEllipseTries = 64;
const int kMaskTries = 31;
const int kPolygonTries = 20;

std::vector<int>& Table()
{
    static std::vector<int> table = [] {
        std::vector<int> values(kTableSize);
        for (int& v : values) v = GameRand();
        return values;
    }();
    return table;
}

// Touched during static initialisation, so the table is full before main whatever uses it
// first; the generator's state is constant-initialised, so it is ready by then.
[[maybe_unused]] const bool gTableFilled = !Table().empty();
uint16_t gCursor = 0;
int gRectCounter = 0;

float Uniform(float a, float b, int v) { return a + (b - a) / 32767.0f * static_cast<float>(v); }

// Reads the entry under the cursor and moves past it; the 16-bit cursor wraps by itself.
int Next(uint16_t& cursor) { return Table()[cursor++]; }

bool ReadInt(const char*& p, int* out)
{
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    char* end = nullptr;
    errno = 0;
    long v = strtol(p, &end, 10);
    if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    *out = static_cast<int>(v);
    p = end;
    return true;
}

bool Finite(float v) { return std::isfinite(v); }

bool WithinDrawLimit(float v) { return std::isfinite(v) && v >= -kDrawLimit && v <= kDrawLimit; }

}  // namespace

const std::vector<int>& GetParticleRandomTable() { return Table(); }
uint16_t GetParticleRandomCursor() { return gCursor; }
void SetParticleRandomCursor(uint16_t cursor) { gCursor = cursor; }
int GetParticleRectCounter() { return gRectCounter; }
void SetParticleRectCounter(int counter) { gRectCounter = counter; }

void ParticleSystem::Reset()
{
    mStopped = true;
    mAge = 0.0f;
    mCount = 0;
    mRemainder = 0.0f;
    mPrevX = mPrevY = mX = mY = 0.0f;
    mAreaType = 0;
    mAreaSizeX = mAreaSizeY = 0.0f;
    mBlendMode = kBlendAlpha;
    mRandomRect = true;
    mTexture.Reset();
    mImageName = "textures/fx/particles";
    mEmission = 50;
    mLifetime = -1.0f;
    mLifeMin = 1.0f;
    mLifeMax = 3.0f;
    mDirection = kPi;
    mSpread = kPi;
    mRelative = false;
    mSpeedMin = mSpeedMax = 1.0f;
    mGravityMin = mGravityMax = 0.0f;
    mRadialMin = mRadialMax = 0.0f;
    mTangentialMin = mTangentialMax = 0.0f;
    mSizeStart = mSizeEnd = 1.0f;
    mSizeVar = 0.5f;
    mSpinStart = mSpinEnd = mSpinVar = 0.0f;
    mColorStartR = mColorStartG = mColorStartB = mColorStartA = 0.0f;
    mColorEndR = mColorEndG = mColorEndB = mColorEndA = 0.0f;
    mColorVar = 0.5f;
    mAlphaVar = 0.5f;
}

void ParticleSystem::Load(const std::string& path, const TexturePtr& areaMask)
{
    for (TParticleRecord& p : mParticles) p = TParticleRecord();
    mRects.clear();
    mPolygon.clear();
    IniFile_t ini;
    const bool read = ini.Load(path, true);
    Reset();
    mAreaMask = areaMask;
    if (!read) {
        GetLogger()->LogMessage("ParticleSystem: cannot read \"%s\", nothing will show", path.c_str());
        return;
    }
    ReadInfo(ini, path);
}

void ParticleSystem::ReadInfo(IniFile_t& ini, const std::string& path)
{
    IniSectionIterator it = ini.FindSection("Default");
    if (it.Equals(ini.SectionsEnd())) {
        GetLogger()->LogMessage("ParticleSystem: \"%s\" has no [Default] section", path.c_str());
        return;
    }
    const IniSection& s = it.Section();
    mEmission = s.GetInt("nEmission", mEmission);
    mLifetime = s.GetFloat("fLifetime", mLifetime);
    mLifeMin = s.GetFloat("fParticleLifeMin", mLifeMin);
    mLifeMax = s.GetFloat("fParticleLifeMax", mLifeMax);
    mDirection = s.GetFloat("fDirection", mDirection);
    mSpread = s.GetFloat("fSpread", mSpread);
    mRelative = s.GetInt("bRelative", mRelative ? 1 : 0) == 1;
    mSpeedMin = s.GetFloat("fSpeedMin", mSpeedMin);
    mSpeedMax = s.GetFloat("fSpeedMax", mSpeedMax);
    mGravityMin = s.GetFloat("fGravityMin", mGravityMin);
    mGravityMax = s.GetFloat("fGravityMax", mGravityMax);
    mRadialMin = s.GetFloat("fRadialAccelMin", mRadialMin);
    mRadialMax = s.GetFloat("fRadialAccelMax", mRadialMax);
    mTangentialMin = s.GetFloat("fTangentialAccelMin", mTangentialMin);
    mTangentialMax = s.GetFloat("fTangentialAccelMax", mTangentialMax);
    mSizeStart = s.GetFloat("fSizeStart", mSizeStart);
    mSizeEnd = s.GetFloat("fSizeEnd", mSizeEnd);
    mSizeVar = s.GetFloat("fSizeVar", mSizeVar);
    mSpinStart = s.GetFloat("fSpinStart", mSpinStart);
    mSpinEnd = s.GetFloat("fSpinEnd", mSpinEnd);
    mSpinVar = s.GetFloat("fSpinVar", mSpinVar);
    mColorStartR = s.GetFloat("colColorStartR", mColorStartR);
    mColorStartG = s.GetFloat("colColorStartG", mColorStartG);
    mColorStartB = s.GetFloat("colColorStartB", mColorStartB);
    mColorStartA = s.GetFloat("colColorStartA", mColorStartA);
    mColorEndR = s.GetFloat("colColorEndR", mColorEndR);
    mColorEndG = s.GetFloat("colColorEndG", mColorEndG);
    mColorEndB = s.GetFloat("colColorEndB", mColorEndB);
    mColorEndA = s.GetFloat("colColorEndA", mColorEndA);
    mColorVar = s.GetFloat("fColorVar", mColorVar);
    mAlphaVar = s.GetFloat("fAlphaVar", mAlphaVar);
    mBlendMode = s.GetInt("iDrawMode", mBlendMode == kBlendAdd ? 1 : 0) == 0 ? kBlendAlpha : kBlendAdd;
    // The image comes before the rectangles, which are checked against its size.
    s.GetString("ImageFile", mImageName, mImageName);
    mTexture = GetTexture(mImageName);
    mRandomRect = s.GetInt("bUseRandomRect", mRandomRect ? 1 : 0) == 1;
    for (int i = 0;; ++i) {
        char key[32];
        snprintf(key, sizeof key, "TextureRect%d", i);
        std::string value;
        s.GetString(key, "", value);
        if (value.empty()) break;
        TParticleRect rect;
        if (ParseTextureRect(value, &rect)) {
            mRects.push_back(rect);
        } else {
            GetLogger()->LogMessage("ParticleSystem: \"%s\" skips %s=\"%s\"", path.c_str(), key, value.c_str());
        }
    }
    mAreaSizeX = s.GetFloat("SrcAreaSizeX", mAreaSizeX);
    mAreaSizeY = s.GetFloat("SrcAreaSizeY", mAreaSizeY);
    mAreaType = s.GetInt("SrcAreaType", mAreaType);
}

bool ParticleSystem::ParseTextureRect(const std::string& text, TParticleRect* rect) const
{
    if (!mTexture || !mTexture->IsLoaded() || text.size() < 3) return false;
    int commas = 0;
    for (size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == ',' && std::isdigit(static_cast<unsigned char>(text[i - 1]))) ++commas;
    if (commas != 3) return false;
    int v[4];
    const char* p = text.c_str();
    for (int k = 0; k < 4; ++k) {
        if (!ReadInt(p, &v[k])) return false;
        if (k < 3 && *p++ != ',') return false;
    }
    if (v[0] < 0 || v[1] < 0) return false;
    if (static_cast<int64_t>(v[0]) + v[2] > mTexture->GetWidth()) return false;
    if (static_cast<int64_t>(v[1]) + v[3] > mTexture->GetHeight()) return false;
    *rect = TParticleRect{v[0], v[1], v[2], v[3]};
    return true;
}

void ParticleSystem::Start()
{
    mStopped = false;
    mAge = mLifetime == -1.0f ? -1.0f : 0.0f;
}

void ParticleSystem::Update(float dt)
{
    if (!(mAge < 0.0f)) {
        mAge += dt;
        if (mLifetime <= mAge) mStopped = true;
    }
    for (int i = 0; i < mCount;) {
        TParticleRecord& p = mParticles[i];
        p.age += dt;
        if (p.life <= p.age) {
            p = mParticles[mCount - 1];
            --mCount;
            continue;
        }
        ++i;
    }
    if (!mStopped) {
        const float n = static_cast<float>(mEmission) * dt + mRemainder;
        if (!std::isfinite(n)) {
            // A nan remainder would silence the emitter for good.
            mRemainder = 0.0f;
        } else {
            const float whole = std::trunc(n);
            mRemainder = n - whole;
            if (n > 0.0f) {
                const int room = kMaxParticles - mCount;
                // Compared as floats: a rate past the int range must not be converted.
                const int emit = whole >= static_cast<float>(room) ? room : static_cast<int>(whole);
                for (int k = 0; k < emit; ++k) Emit(mParticles[mCount++]);
            }
        }
    }
    mPrevX = mX;
    mPrevY = mY;
}

void ParticleSystem::Emit(TParticleRecord& p)
{
    uint16_t c = gCursor;
    float life = Uniform(mLifeMin, mLifeMax, Next(c));
    // Written so that nan becomes 0.01 too: such a particle would never die.
    if (!(life > 0.01f)) life = 0.01f;
    p.life = life;
    p.age = 0.0f;
    const float along = static_cast<float>(Next(c));
    p.x = mPrevX + (mX - mPrevX) * along / 32767.0f;
    p.y = mPrevY + (mY - mPrevY) * along / 32767.0f;
    float dx = 0.0f, dy = 0.0f;
    AreaOffset(c, &dx, &dy);
    p.x += dx;
    p.y += dy;

    const float angle = Uniform(0.0f, mSpread, Next(c)) + mDirection - kPi / 2.0f - mSpread / 2.0f;
    const float speed = Uniform(mSpeedMin, mSpeedMax, Next(c));
    p.velX = std::cos(angle) * speed;
    p.velY = std::sin(angle) * speed;
    p.gravity = Uniform(mGravityMin, mGravityMax, Next(c));
    p.radial = Uniform(mRadialMin, mRadialMax, Next(c));
    p.tangential = Uniform(mTangentialMin, mTangentialMax, Next(c));
    p.size = Uniform(mSizeStart, mSizeStart + (mSizeEnd - mSizeStart) * mSizeVar, Next(c));
    p.sizeDelta = (mSizeEnd - p.size) / life;
    p.spin = Uniform(mSpinStart, mSpinStart + (mSpinEnd - mSpinStart) * mSpinVar, Next(c));
    p.spinDelta = (mSpinEnd - p.spin) / life;
    p.red = Uniform(mColorStartR, mColorStartR + (mColorEndR - mColorStartR) * mColorVar, Next(c));
    p.green = Uniform(mColorStartG, mColorStartG + (mColorEndG - mColorStartG) * mColorVar, Next(c));
    p.blue = Uniform(mColorStartB, mColorStartB + (mColorEndB - mColorStartB) * mColorVar, Next(c));
    if (mColorStartA < 0.005f) mColorStartA = 0.005f;
    if (mColorEndA < 0.005f) mColorEndA = 0.005f;
    p.alpha = Uniform(mColorStartA, mColorStartA + (mColorEndA - mColorStartA) * mAlphaVar, Next(c));
    p.redDelta = (mColorEndR - p.red) / life;
    p.greenDelta = (mColorEndG - p.green) / life;
    p.blueDelta = (mColorEndB - p.blue) / life;
    p.alphaDelta = (mColorEndA - p.alpha) / life;

    const int rects = static_cast<int>(mRects.size());
    if (rects == 0) {
        p.rect = TParticleRect{0, 0, mTexture ? mTexture->GetWidth() : 0, mTexture ? mTexture->GetHeight() : 0};
    } else if (mRandomRect) {
        p.rect = mRects[static_cast<size_t>(Next(c) % rects)];
    } else {
        // Shared by every emitter: another one may have left it past this one's list.
        ++gRectCounter;
        if (gRectCounter >= rects || gRectCounter < 0) gRectCounter = 0;
        p.rect = mRects[static_cast<size_t>(gRectCounter)];
    }
    gCursor = c;
}

void ParticleSystem::AreaOffset(uint16_t& c, float* dx, float* dy) const
{
    switch (mAreaType) {
    case 0:
        *dx = Uniform(-2.0f, 2.0f, Next(c));
        *dy = Uniform(-2.0f, 2.0f, Next(c));
        break;
    case 1:
        *dx = Uniform(-mAreaSizeX / 2.0f, mAreaSizeX / 2.0f, Next(c));
        *dy = Uniform(-mAreaSizeY / 2.0f, mAreaSizeY / 2.0f, Next(c));
        break;
    case 2: {
        // Without a proper ellipse no point would ever be admitted; tiny ones may admit none.
        if (!(Finite(mAreaSizeX) && mAreaSizeX > 0.0f && Finite(mAreaSizeY) && mAreaSizeY > 0.0f)) break;
        const float hx = mAreaSizeX / 2.0f, hy = mAreaSizeY / 2.0f;
        for (int t = 0; t < kEllipseTries; ++t) {
            const float x = Uniform(-hx, hx, Next(c));
            const float y = Uniform(-hy, hy, Next(c));
            if ((x / hx) * (x / hx) + (y / hy) * (y / hy) <= 1.0f) {
                *dx = x;
                *dy = y;
                break;
            }
        }
        break;
    }
    case 3: {
        // Coordinates are taken modulo size - 1: a mask thinner than 2 pixels counts as none.
        const TTexture* mask = mAreaMask.Get();
        if (!mask || mask->GetWidth() < 2 || mask->GetHeight() < 2) break;
        int x = 0, y = 0;
        for (int t = 0; t < kMaskTries; ++t) {
            x = GameRand() % (mask->GetWidth() - 1);
            y = GameRand() % (mask->GetHeight() - 1);
            if (mask->GetAlphaAt(x, y) != 0) break;
        }
        *dx = static_cast<float>(x);
        *dy = static_cast<float>(y);
        break;
    }
    case 4:
        for (int t = 0; t < kPolygonTries; ++t) {
            const float x = static_cast<float>(Next(c)) * mAreaSizeX / 32767.0f;
            const float y = static_cast<float>(Next(c)) * mAreaSizeY / 32767.0f;
            if (t == kPolygonTries - 1 || InsidePolygon(x, y)) {
                *dx = x;
                *dy = y;
                break;
            }
        }
        break;
    default:
        break;
    }
}

bool ParticleSystem::InsidePolygon(float fx, float fy) const
{
    // Decided on whole pixels; a try outside the int range cannot be inside an int outline.
    const double limit = 2147483648.0;
    if (!Finite(fx) || !Finite(fy) || fx <= -limit - 1.0 || fx >= limit || fy <= -limit - 1.0 || fy >= limit)
        return false;
    const int64_t x = TruncToInt(fx), y = TruncToInt(fy);
    bool inside = false;
    for (size_t i = 0; i + 1 < mPolygon.size(); ++i) {
        const int64_t ax = mPolygon[i].x, ay = mPolygon[i].y;
        const int64_t bx = mPolygon[i + 1].x, by = mPolygon[i + 1].y;
        if ((ay > y) != (by > y)) {
            const double cross = static_cast<double>(bx - ax) * static_cast<double>(y - ay) / static_cast<double>(by - ay) +
                                 static_cast<double>(ax);
            if (static_cast<double>(x) < cross) inside = !inside;
        }
    }
    return inside;
}

void ParticleSystem::SetPolygonArea(const std::vector<TIntPoint>& points)
{
    mAreaType = 4;
    mPolygon.clear();
    mAreaSizeX = mAreaSizeY = 0.0f;
    if (points.empty()) return;
    int64_t minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const TIntPoint& p : points) {
        minX = std::min<int64_t>(minX, p.x);
        maxX = std::max<int64_t>(maxX, p.x);
        minY = std::min<int64_t>(minY, p.y);
        maxY = std::max<int64_t>(maxY, p.y);
    }
    const int64_t w = maxX - minX + 1, h = maxY - minY + 1;
    if (w > INT_MAX || h > INT_MAX) {
        GetLogger()->LogMessage("ParticleSystem: an outline of %lld x %lld is too large, particles start at the emitter",
                                static_cast<long long>(w), static_cast<long long>(h));
        return;
    }
    mAreaSizeX = static_cast<float>(w);
    mAreaSizeY = static_cast<float>(h);
    mPolygon.reserve(points.size());
    for (const TIntPoint& p : points) {
        TIntPoint rel;
        rel.x = static_cast<int>(p.x - minX);
        rel.y = static_cast<int>(p.y - minY);
        mPolygon.push_back(rel);
    }
}

void ParticleSystem::MoveParticles(float dt)
{
    for (int i = 0; i < mCount; ++i) {
        TParticleRecord& p = mParticles[i];
        float nx = p.x - mX, ny = p.y - mY;
        const float length = std::sqrt(nx * nx + ny * ny);
        if (length != 0.0f) {
            nx /= length;
            ny /= length;
        }
        p.velX += (nx * p.radial - ny * p.tangential) * dt;
        p.velY += (ny * p.radial + nx * p.tangential) * dt;
        p.velY += p.gravity * dt;
        // Once per call: speeds are pixels per update, not per second.
        p.x += p.velX;
        p.y += p.velY;
        p.spin += p.spinDelta * dt;
        p.size += p.sizeDelta * dt;
        p.red += p.redDelta * dt;
        p.green += p.greenDelta * dt;
        p.blue += p.blueDelta * dt;
        p.alpha += p.alphaDelta * dt;
        if (p.alpha < 0.0f) p.alpha = 0.0f;
    }
}

void ParticleSystem::Render(float alphaFactor, float offsetX, float offsetY)
{
    TTexture* texture = mTexture.Get();
    if (!texture || !texture->IsLoaded()) return;
    const int64_t textureW = texture->GetWidth(), textureH = texture->GetHeight();
    for (int i = 0; i < mCount; ++i) {
        const TParticleRecord& p = mParticles[i];
        const float x = p.x + offsetX, y = p.y + offsetY;
        const float turn = p.spin * p.age;
        if (!WithinDrawLimit(x) || !WithinDrawLimit(y) || !WithinDrawLimit(p.size) || !Finite(turn) ||
            !Finite(p.red) || !Finite(p.green) || !Finite(p.blue) || !Finite(p.alpha))
            continue;
        const TParticleRect& r = p.rect;
        if (r.x < 0 || r.y < 0 || r.x + static_cast<int64_t>(r.w) > textureW || r.y + static_cast<int64_t>(r.h) > textureH)
            continue;
        DrawTransform t;
        t.mMatrix.Scale(p.size, p.size);
        if (turn != 0.0f) t.mAngle = -turn / 100.0f;
        t.mMatrix.m[6] = x;
        t.mMatrix.m[7] = y;
        t.mSrcX = static_cast<float>(r.x);
        t.mSrcY = static_cast<float>(r.y);
        t.mSrcW = static_cast<float>(r.w);
        t.mSrcH = static_cast<float>(r.h);
        t.mFlags = kDrawSourceRect;
        t.mRed = p.red;
        t.mGreen = p.green;
        t.mBlue = p.blue;
        t.mColorW = p.alpha;
        t.mAlpha = p.alpha * alphaFactor;
        t.mBlendMode = mBlendMode;
        texture->Draw(t);
    }
}
