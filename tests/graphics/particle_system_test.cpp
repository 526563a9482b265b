#include "graphics/particle_system.h"

#include <climits>
#include <cmath>
#include <initializer_list>
#include <memory>

#include "core/numbers.h"
#include "core/random.h"
#include "graphics/texture_cache.h"
#include "particle_fixture.h"

namespace {

const float kPi = 3.14159274f;

float U(float a, float b, int v) { return a + (b - a) / 32767.0f * static_cast<float>(v); }

int E(uint16_t cursor, int k) { return GetParticleRandomTable()[static_cast<uint16_t>(cursor + k)]; }

std::string Ini(std::initializer_list<std::string> lines, const char* eol = "\r\n")
{
    std::string text = std::string("[Default]") + eol;
    for (const std::string& line : lines) text += line + eol;
    return text;
}

class ParticleSystemTest : public ParticleCanvasTest {
protected:
    void SetUp() override
    {
        ParticleCanvasTest::SetUp();
        SetParticleRectCounter(0);
        SetParticleRandomCursor(0);
    }

    std::unique_ptr<ParticleSystem> LoadText(const std::string& text, const TexturePtr& mask = TexturePtr())
    {
        EXPECT_TRUE(WriteWholeFile(AssetPath("particles/p.ini"), text));
        auto ps = std::make_unique<ParticleSystem>();
        ps->Load("particles/p.ini", mask);
        return ps;
    }

    // A white sheet, full colour and alpha: what is drawn is what the test places.
    std::unique_ptr<ParticleSystem> Load(const std::vector<std::string>& extra, const TexturePtr& mask = TexturePtr())
    {
        std::string text = Ini({"ImageFile=textures/sheet", "colColorStartR=1", "colColorStartG=1", "colColorStartB=1",
                                "colColorStartA=1", "colColorEndR=1", "colColorEndG=1", "colColorEndB=1",
                                "colColorEndA=1"});
        for (const std::string& line : extra) text += line + "\r\n";
        return LoadText(text, mask);
    }

    // One particle by hand: a red 8 x 8 square of the sheet at size 2.
    static void PlaceRed(ParticleSystem& ps, float x, float y)
    {
        TParticleRecord& p = ps.At(ps.Count() - 1);
        p.x = x;
        p.y = y;
        p.size = 2.0f;
        p.spin = 0.0f;
        p.red = 1.0f;
        p.green = p.blue = 0.0f;
        p.alpha = 1.0f;
        p.rect = TParticleRect{0, 0, 8, 8};
    }

    SDL_Rect RenderedBox(ParticleSystem& ps)
    {
        Clear(0, 0, 0);
        ps.Render(1.0f, 0.0f, 0.0f);
        return DrawnBox(0, 0, 0);
    }
};

TEST(ParticleRandomTable, HoldsTheGeneratorsFirstValues)
{
    const std::vector<int>& table = GetParticleRandomTable();
    ASSERT_EQ(65536u, table.size());
    SeedRandom(1);
    for (size_t i = 0; i < table.size(); ++i) {
        const int v = GameRand();
        ASSERT_EQ(v, table[i]) << "entry " << i;
        ASSERT_TRUE(v >= 0 && v <= 32767);
    }
}

TEST_F(ParticleSystemTest, LoadsEveryKeyOfTheDescription)
{
    auto ps = LoadText(Ini({"nEmission=77", "fLifetime=4.5", "fParticleLifeMin=0.25", "fParticleLifeMax=0.75",
                            "fDirection=1.5", "fSpread=0.5", "bRelative=1", "fSpeedMin=2", "fSpeedMax=3",
                            "fGravityMin=4", "fGravityMax=5", "fRadialAccelMin=6", "fRadialAccelMax=7",
                            "fTangentialAccelMin=8", "fTangentialAccelMax=9", "fSizeStart=0.1", "fSizeEnd=0.2",
                            "fSizeVar=0.3", "fSpinStart=10", "fSpinEnd=11", "fSpinVar=0.4", "colColorStartR=0.11",
                            "colColorStartG=0.12", "colColorStartB=0.13", "colColorStartA=0.14", "colColorEndR=0.21",
                            "colColorEndG=0.22", "colColorEndB=0.23", "colColorEndA=0.24", "fColorVar=0.6",
                            "fAlphaVar=0.7", "iDrawMode=5", "ImageFile=textures/sheet", "bUseRandomRect=0",
                            "TextureRect0=8,0,16,16", "SrcAreaSizeX=30", "SrcAreaSizeY=40", "SrcAreaType=2"}));
    const ParticleSystem& s = *ps;
    EXPECT_EQ(77, s.mEmission);
    const float floats[] = {s.mLifetime,     s.mLifeMin,       s.mLifeMax,       s.mDirection,   s.mSpread,
                            s.mSpeedMin,     s.mSpeedMax,      s.mGravityMin,    s.mGravityMax,  s.mRadialMin,
                            s.mRadialMax,    s.mTangentialMin, s.mTangentialMax, s.mSizeStart,   s.mSizeEnd,
                            s.mSizeVar,      s.mSpinStart,     s.mSpinEnd,       s.mSpinVar,     s.mColorStartR,
                            s.mColorStartG,  s.mColorStartB,   s.mColorStartA,   s.mColorEndR,   s.mColorEndG,
                            s.mColorEndB,    s.mColorEndA,     s.mColorVar,      s.mAlphaVar,    s.mAreaSizeX,
                            s.mAreaSizeY};
    const float want[] = {4.5f,  0.25f, 0.75f, 1.5f,  0.5f,  2.0f,  3.0f,  4.0f, 5.0f, 6.0f, 7.0f,
                          8.0f,  9.0f,  0.1f,  0.2f,  0.3f,  10.0f, 11.0f, 0.4f, 0.11f, 0.12f, 0.13f,
                          0.14f, 0.21f, 0.22f, 0.23f, 0.24f, 0.6f,  0.7f,  30.0f, 40.0f};
    for (size_t i = 0; i < sizeof want / sizeof want[0]; ++i) EXPECT_FLOAT_EQ(want[i], floats[i]) << "value " << i;
    EXPECT_TRUE(s.mRelative);
    EXPECT_EQ(kBlendAdd, s.mBlendMode);
    EXPECT_FALSE(s.mRandomRect);
    ASSERT_EQ(1u, s.mRects.size());
    EXPECT_EQ(8, s.mRects[0].x);
    EXPECT_EQ(16, s.mRects[0].w);
    EXPECT_EQ(2, s.mAreaType);
    ASSERT_NE(nullptr, s.mTexture.Get());
    EXPECT_EQ(96, s.mTexture->GetWidth());
    EXPECT_TRUE(s.mStopped);
}

TEST_F(ParticleSystemTest, UnreadableDescriptionsKeepTheDefaultsAndDrawNothing)
{
    const std::string full = Ini({"nEmission=77", "fLifetime=4.5", "ImageFile=textures/sheet", "colColorStartA=1"});
    std::string lfOnly = full;
    for (size_t at = lfOnly.find("\r\n"); at != std::string::npos; at = lfOnly.find("\r\n", at)) lfOnly.erase(at, 1);
    struct Case {
        const char* label;
        std::string text;
        bool write;
    } cases[] = {
        {"LF only: one line, the section holds no key", lfOnly, true},
        {"no [Default] section", "[Other]\r\nnEmission=77\r\nImageFile=textures/sheet\r\n", true},
        {"missing file", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        remove(AssetPath("particles/p.ini").c_str());
        std::unique_ptr<ParticleSystem> ps;
        if (c.write) {
            ps = LoadText(c.text);
        } else {
            ps = std::make_unique<ParticleSystem>();
            ps->Load("particles/p.ini", TexturePtr());
        }
        EXPECT_EQ(50, ps->mEmission);
        EXPECT_EQ(-1.0f, ps->mLifetime);
        EXPECT_EQ(1.0f, ps->mLifeMin);
        EXPECT_EQ(3.0f, ps->mLifeMax);
        EXPECT_EQ(kPi, ps->mDirection);
        EXPECT_EQ(0.5f, ps->mSizeVar);
        EXPECT_EQ(0.0f, ps->mColorStartA);
        EXPECT_EQ(kBlendAlpha, ps->mBlendMode);
        EXPECT_TRUE(ps->mRandomRect);
        EXPECT_EQ("textures/fx/particles", ps->mImageName);
        EXPECT_TRUE(ps->mStopped);
        ps->Start();
        ps->Update(1.0f);
        EXPECT_EQ(50, ps->Count());
        EXPECT_EQ(SDL_Rect({0, 0, 0, 0}), RenderedBox(*ps));
    }
}

TEST_F(ParticleSystemTest, TextureRectanglesAreCheckedAgainstTheSheet)
{
    struct Case {
        const char* value;
        bool accepted;
    } cases[] = {
        {"0,0,32,32", true},   {"0, 0, 32, 32", true}, {"64,0,32,32", true},         {"0,0,32", false},
        {"-1,0,8,8", false},   {"90,0,8,8", false},    {"0 ,0,8,8", false},          {"1,0,2147483647,8", false},
        {"0,,0,8,8", false},   {"0,0,8,99999999999", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        // The key after a skipped one is still read.
        auto ps = Load({std::string("TextureRect0=") + c.value, "TextureRect1=8,8,4,4"});
        ASSERT_EQ(c.accepted ? 2u : 1u, ps->mRects.size());
        EXPECT_EQ(8, ps->mRects.back().x);
    }
    auto ended = Load({"TextureRect0=0,0,8,8", "TextureRect1=", "TextureRect2=8,0,8,8"});
    EXPECT_EQ(1u, ended->mRects.size());
    auto noImage = Load({"ImageFile=textures/none", "TextureRect0=0,0,8,8"});
    EXPECT_EQ(0u, noImage->mRects.size());
}

TEST_F(ParticleSystemTest, EmissionCarriesTheRemainderAndStopsAtThePool)
{
    auto slow = Load({"nEmission=50"});
    slow->Start();
    slow->Update(0.016f);
    EXPECT_EQ(0, slow->Count());
    slow->Update(0.016f);
    EXPECT_EQ(1, slow->Count());

    auto fast = Load({"nEmission=100000", "fParticleLifeMin=100", "fParticleLifeMax=100"});
    fast->Start();
    for (int i = 0; i < 3; ++i) {
        fast->Update(0.016f);
        EXPECT_EQ(500, fast->Count());
    }
}

TEST_F(ParticleSystemTest, TimedEmitterStopsAndItsParticlesLiveOut)
{
    auto ps = Load({"nEmission=8", "fLifetime=2", "fParticleLifeMin=1", "fParticleLifeMax=1", "fSpeedMin=1",
                    "fSpeedMax=1"});
    ps->Start();
    for (int i = 1; i <= 7; ++i) {
        ps->Update(0.25f);
        ps->MoveParticles(0.25f);
        EXPECT_FALSE(ps->mStopped) << "update " << i;
    }
    ps->Update(0.25f);
    EXPECT_TRUE(ps->mStopped);
    const int left = ps->Count();
    ASSERT_GT(left, 0);
    const float x = ps->At(0).x, y = ps->At(0).y;
    ps->MoveParticles(0.25f);
    EXPECT_NE(std::make_pair(x, y), std::make_pair(ps->At(0).x, ps->At(0).y));
    for (int i = 0; i < 4; ++i) ps->Update(0.25f);
    EXPECT_EQ(0, ps->Count());
}

TEST_F(ParticleSystemTest, TheLastLiveRecordTakesADyingOnesPlace)
{
    struct Case {
        float lives[3];
        int count;
        float firstX;
    } cases[] = {
        {{0.05f, 1.0f, 1.0f}, 2, 300.0f},  // the last moves into slot 0
        {{0.05f, 1.0f, 0.05f}, 1, 200.0f}, // the moved one dies too: the next last follows
    };
    for (const Case& c : cases) {
        auto ps = Load({"nEmission=30"});
        ps->Start();
        ps->Update(0.1f);
        ASSERT_EQ(3, ps->Count());
        ps->mStopped = true;
        for (int i = 0; i < 3; ++i) {
            ps->At(i).life = c.lives[i];
            ps->At(i).x = 100.0f * static_cast<float>(i + 1);
        }
        ps->Update(0.1f);
        ASSERT_EQ(c.count, ps->Count());
        EXPECT_EQ(c.firstX, ps->At(0).x);
        EXPECT_FLOAT_EQ(0.1f, ps->At(0).age) << "aged once";
    }
}

TEST_F(ParticleSystemTest, EmissionDrawsEveryValueFromTheTable)
{
    for (uint16_t c : {uint16_t(1234), uint16_t(65530)}) {
        SCOPED_TRACE(c);
        auto ps = LoadText(Ini({"nEmission=1", "fParticleLifeMin=0.5", "fParticleLifeMax=2.5", "fDirection=1",
                                "fSpread=2", "fSpeedMin=1", "fSpeedMax=3", "fGravityMin=-1", "fGravityMax=4",
                                "fRadialAccelMin=2", "fRadialAccelMax=5", "fTangentialAccelMin=-3",
                                "fTangentialAccelMax=3", "fSizeStart=1", "fSizeEnd=3", "fSizeVar=0.5",
                                "fSpinStart=10", "fSpinEnd=20", "fSpinVar=1", "colColorStartR=0.2",
                                "colColorStartG=0.3", "colColorStartB=0.4", "colColorStartA=0.001",
                                "colColorEndR=0.9", "colColorEndG=0.8", "colColorEndB=0.7", "colColorEndA=0.6",
                                "fColorVar=0.8", "fAlphaVar=0.6", "ImageFile=textures/sheet",
                                "TextureRect0=0,0,8,8", "TextureRect1=8,0,8,8", "TextureRect2=16,0,16,16"}));
        ps->Start();
        ps->mPrevX = 10.0f;
        ps->mPrevY = 20.0f;
        ps->mX = 110.0f;
        ps->mY = 220.0f;
        SetParticleRandomCursor(c);
        ps->Update(1.0f);
        ASSERT_EQ(1, ps->Count());
        const TParticleRecord& p = ps->At(0);
        auto e = [c](int k) { return E(c, k); };
        const float life = U(0.5f, 2.5f, e(0));
        EXPECT_FLOAT_EQ(life, p.life);
        EXPECT_EQ(0.0f, p.age);
        const float along = static_cast<float>(e(1));
        EXPECT_FLOAT_EQ(10.0f + 100.0f * along / 32767.0f + U(-2, 2, e(2)), p.x);
        EXPECT_FLOAT_EQ(20.0f + 200.0f * along / 32767.0f + U(-2, 2, e(3)), p.y);
        const float angle = U(0, 2, e(4)) + 1.0f - kPi / 2.0f - 1.0f;
        const float speed = U(1, 3, e(5));
        EXPECT_FLOAT_EQ(std::cos(angle) * speed, p.velX);
        EXPECT_FLOAT_EQ(std::sin(angle) * speed, p.velY);
        EXPECT_FLOAT_EQ(U(-1, 4, e(6)), p.gravity);
        EXPECT_FLOAT_EQ(U(2, 5, e(7)), p.radial);
        EXPECT_FLOAT_EQ(U(-3, 3, e(8)), p.tangential);
        const float size = U(1, 1 + (3 - 1) * 0.5f, e(9));
        EXPECT_FLOAT_EQ(size, p.size);
        EXPECT_FLOAT_EQ((3 - size) / life, p.sizeDelta);
        const float spin = U(10, 20, e(10));
        EXPECT_FLOAT_EQ(spin, p.spin);
        EXPECT_FLOAT_EQ((20 - spin) / life, p.spinDelta);
        const float red = U(0.2f, 0.2f + (0.9f - 0.2f) * 0.8f, e(11));
        EXPECT_FLOAT_EQ(red, p.red);
        EXPECT_FLOAT_EQ((0.9f - red) / life, p.redDelta);
        EXPECT_FLOAT_EQ(U(0.3f, 0.3f + (0.8f - 0.3f) * 0.8f, e(12)), p.green);
        EXPECT_FLOAT_EQ(U(0.4f, 0.4f + (0.7f - 0.4f) * 0.8f, e(13)), p.blue);
        // The start alpha is raised to 0.005 first, in the description itself.
        EXPECT_EQ(0.005f, ps->mColorStartA);
        const float alpha = U(0.005f, 0.005f + (0.6f - 0.005f) * 0.6f, e(14));
        EXPECT_FLOAT_EQ(alpha, p.alpha);
        EXPECT_FLOAT_EQ((0.6f - alpha) / life, p.alphaDelta);
        const int rect = e(15) % 3;
        EXPECT_EQ(rect * 8, p.rect.x);
        EXPECT_EQ(static_cast<uint16_t>(c + 16), GetParticleRandomCursor());
        EXPECT_EQ(110.0f, ps->mPrevX);
    }
}

TEST_F(ParticleSystemTest, RectanglesInTurnShareOneCounter)
{
    const std::vector<std::string> three = {"nEmission=1", "bUseRandomRect=0", "TextureRect0=0,0,8,8",
                                                      "TextureRect1=8,0,8,8", "TextureRect2=16,0,8,8"};
    auto first = Load(three);
    auto other = Load({"nEmission=1", "bUseRandomRect=0", "TextureRect0=40,0,8,8"});
    first->Start();
    other->Start();
    auto take = [](ParticleSystem& ps) {
        const uint16_t before = GetParticleRandomCursor();
        ps.Update(1.0f);
        EXPECT_EQ(static_cast<uint16_t>(before + 15), GetParticleRandomCursor()) << "no entry for the rectangle";
        return ps.At(ps.Count() - 1).rect.x / 8;
    };
    for (int want : {1, 2, 0, 1}) EXPECT_EQ(want, take(*first));
    EXPECT_EQ(5, take(*other));
    EXPECT_EQ(1, take(*first));
}

TEST_F(ParticleSystemTest, AreasPlaceParticlesAroundTheEmitter)
{
    // 16 x 16, its left half opaque.
    SavePng("textures/mask.png", MakeSurface(16, 16, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                return SDL_Color{255, 255, 255, static_cast<Uint8>(x < 8 ? 255 : 0)};
            }));
    TexturePtr mask = GetTexture("textures/mask");
    ASSERT_EQ(16, mask->GetWidth());
    struct Case {
        const char* label;
        std::vector<std::string> keys;
        std::function<bool(float, float)> inside;
    } cases[] = {
        {"rectangle", {"SrcAreaType=1", "SrcAreaSizeX=100", "SrcAreaSizeY=50"},
         [](float x, float y) { return std::fabs(x) <= 50 && std::fabs(y) <= 25; }},
        {"ellipse", {"SrcAreaType=2", "SrcAreaSizeX=80", "SrcAreaSizeY=40"},
         [](float x, float y) { return (x / 40) * (x / 40) + (y / 20) * (y / 20) <= 1.0001f; }},
        {"mask", {"SrcAreaType=3"},
         [](float x, float y) { return x >= 0 && x < 8 && y >= 0 && y < 15 && x == std::floor(x); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto ps = Load(c.keys, mask);
        ps->Start();
        ps->mX = ps->mPrevX = 100.0f;
        ps->mY = ps->mPrevY = 100.0f;
        ps->mEmission = 200;
        ps->Update(1.0f);
        ASSERT_EQ(200, ps->Count());
        float spanX = 0;
        for (int i = 0; i < ps->Count(); ++i) {
            const float dx = ps->At(i).x - 100.0f, dy = ps->At(i).y - 100.0f;
            EXPECT_TRUE(c.inside(dx, dy)) << dx << ", " << dy;
            spanX = std::max(spanX, std::fabs(dx));
        }
        EXPECT_GT(spanX, 5.0f) << "spread over the area";
    }

    // A diamond outline, closed by repeating its first point.
    auto ps = Load({"nEmission=200"});
    ps->SetPolygonArea({{110, 50}, {120, 60}, {110, 70}, {100, 60}, {110, 50}});
    EXPECT_EQ(4, ps->mAreaType);
    EXPECT_EQ(21.0f, ps->mAreaSizeX);
    EXPECT_EQ(21.0f, ps->mAreaSizeY);
    ps->Start();
    ps->Update(1.0f);
    int outside = 0;
    for (int i = 0; i < ps->Count(); ++i)
        if (std::fabs(ps->At(i).x - 10.0f) + std::fabs(ps->At(i).y - 10.0f) > 11.0f) ++outside;
    EXPECT_EQ(0, outside);
}

TEST_F(ParticleSystemTest, AreasThatAdmitNoPointStartAtTheEmitter)
{
    SolidPng("textures/dot.png", 1, 1, SDL_Color{255, 255, 255, 255});
    SolidPng("textures/thin.png", 1, 16, SDL_Color{255, 255, 255, 255});
    for (const char* name : {"textures/dot", "textures/thin"}) {
        SCOPED_TRACE(name);
        auto ps = Load({"nEmission=5", "SrcAreaType=3"}, GetTexture(name));
        ps->Start();
        ps->mX = ps->mPrevX = 40.0f;
        SeedRandom(7);
        ps->Update(1.0f);
        ASSERT_EQ(5, ps->Count());
        for (int i = 0; i < 5; ++i) EXPECT_EQ(40.0f, ps->At(i).x);
        const int next = GameRand();
        SeedRandom(7);
        EXPECT_EQ(GameRand(), next) << "no generator value drawn";
    }

    auto noSizes = Load({"nEmission=3", "SrcAreaType=2"});
    noSizes->Start();
    const uint16_t start = GetParticleRandomCursor();
    noSizes->Update(1.0f);
    EXPECT_EQ(static_cast<uint16_t>(start + 39), GetParticleRandomCursor()) << "13 entries per particle";
    EXPECT_EQ(0.0f, noSizes->At(0).x);

    for (const char* size : {"0", "-5", "nan", "inf"}) {
        auto bad = Load({"nEmission=1", "SrcAreaType=2", "SrcAreaSizeX=10", std::string("SrcAreaSizeY=") + size});
        bad->Start();
        const uint16_t before = GetParticleRandomCursor();
        bad->Update(1.0f);
        EXPECT_EQ(static_cast<uint16_t>(before + 13), GetParticleRandomCursor()) << size;
    }

    auto tiny = Load({"nEmission=1", "SrcAreaType=2", "SrcAreaSizeX=1e-45", "SrcAreaSizeY=1e-45"});
    tiny->Start();
    tiny->mX = tiny->mPrevX = 60.0f;
    const uint16_t before = GetParticleRandomCursor();
    tiny->Update(1.0f);
    ASSERT_EQ(1, tiny->Count());
    EXPECT_LE(static_cast<uint16_t>(GetParticleRandomCursor() - before), 141);
    EXPECT_EQ(60.0f, tiny->At(0).x);
    EXPECT_EQ(0.0f, tiny->At(0).y);

    const std::vector<TIntPoint> outlines[] = {{}, {{INT_MIN, 0}, {INT_MAX, 0}}, {{0, INT_MIN}, {0, INT_MAX}}};
    for (const auto& outline : outlines) {
        auto poly = Load({"nEmission=4"});
        poly->SetPolygonArea(outline);
        EXPECT_EQ(4, poly->mAreaType);
        EXPECT_EQ(0.0f, poly->mAreaSizeX);
        EXPECT_TRUE(poly->mPolygon.empty());
        poly->Start();
        poly->mX = poly->mPrevX = 30.0f;
        poly->Update(1.0f);
        ASSERT_EQ(4, poly->Count());
        for (int i = 0; i < 4; ++i) EXPECT_EQ(30.0f, poly->At(i).x);
    }
}

TEST_F(ParticleSystemTest, OutOfRangeNumbersNeitherOverflowNorDraw)
{
    auto flood = Load({"nEmission=2147483647", "fParticleLifeMin=100", "fParticleLifeMax=100"});
    flood->Start();
    flood->Update(1.0f);
    EXPECT_EQ(500, flood->Count());
    flood->Update(1.0f);
    EXPECT_EQ(500, flood->Count());

    auto nanRate = Load({"nEmission=1"});
    nanRate->Start();
    nanRate->mRemainder = NAN;
    nanRate->Update(1.0f);
    EXPECT_EQ(0, nanRate->Count());
    nanRate->Update(1.0f);
    EXPECT_EQ(1, nanRate->Count()) << "the remainder starts over";

    // A life not above 0.01 (nan too) becomes 0.01: such particles die at the next frame.
    for (const char* life : {"0", "nan", "-3"}) {
        auto brief = Load({"nEmission=10", std::string("fParticleLifeMin=") + life, std::string("fParticleLifeMax=") + life});
        brief->Start();
        brief->Update(1.0f);
        ASSERT_EQ(10, brief->Count()) << life;
        EXPECT_EQ(0.01f, brief->At(0).life);
        brief->mStopped = true;
        brief->Update(0.016f);
        EXPECT_EQ(0, brief->Count()) << life;
    }

    auto wide = Load({"nEmission=50", "SrcAreaType=4", "SrcAreaSizeX=1e30", "SrcAreaSizeY=1e30"});
    wide->Start();
    wide->Update(1.0f);
    EXPECT_EQ(50, wide->Count());

    const std::vector<std::string> rows[] = {
        {"fSpeedMax=inf"}, {"fSpeedMin=2e6", "fSpeedMax=2e6"}, {"colColorStartR=nan"}, {"fSizeStart=inf"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        std::vector<std::string> keys = {"nEmission=20", "fSizeVar=0", "fColorVar=0"};
        keys.insert(keys.end(), row.begin(), row.end());
        auto ps = Load(keys);
        ps->Start();
        ps->mX = ps->mPrevX = 100.0f;
        ps->mY = ps->mPrevY = 100.0f;
        ps->Update(1.0f);
        ps->MoveParticles(0.01f);
        ASSERT_EQ(20, ps->Count());
        EXPECT_EQ(SDL_Rect({0, 0, 0, 0}), RenderedBox(*ps));
    }
}

TEST_F(ParticleSystemTest, MovingAddsTheVelocityOncePerCall)
{
    // Speed 4 straight to the right, gravity 10.
    auto ps = Load({"nEmission=1", "fDirection=1.5707964", "fSpread=0", "fSpeedMin=4", "fSpeedMax=4",
                    "fGravityMin=10", "fGravityMax=10", "SrcAreaType=1"});
    ps->Start();
    ps->Update(1.0f);
    const TParticleRecord before = ps->At(0);
    EXPECT_NEAR(4.0f, before.velX, 1e-5f);
    EXPECT_NEAR(0.0f, before.velY, 1e-5f);
    ps->MoveParticles(0.5f);
    const TParticleRecord& p = ps->At(0);
    EXPECT_NEAR(5.0f, p.velY, 1e-5f);
    EXPECT_NEAR(before.x + 4.0f, p.x, 1e-4f);
    EXPECT_NEAR(before.y + 5.0f, p.y, 1e-4f);

    auto radial = Load({"nEmission=2", "fSpeedMin=0", "fSpeedMax=0", "fRadialAccelMin=8", "fRadialAccelMax=8",
                        "colColorStartA=1", "colColorEndA=0", "fAlphaVar=1", "fParticleLifeMin=0.02",
                        "fParticleLifeMax=0.02"});
    radial->Start();
    radial->Update(1.0f);
    ASSERT_EQ(2, radial->Count());
    radial->At(0).x = 30.0f;
    radial->At(0).y = 0.0f;
    radial->At(1).x = 0.0f;
    radial->At(1).y = -20.0f;
    radial->MoveParticles(0.5f);
    EXPECT_NEAR(4.0f, radial->At(0).velX, 1e-5f);
    EXPECT_NEAR(34.0f, radial->At(0).x, 1e-4f);
    EXPECT_NEAR(-4.0f, radial->At(1).velY, 1e-5f);
    EXPECT_NEAR(0.0f, radial->At(1).velX, 1e-5f);
    EXPECT_EQ(0.0f, radial->At(0).alpha) << "alpha stops at 0";
}

TEST_F(ParticleSystemTest, RenderPlacesScalesTintsAndTurns)
{
    auto ps = Load({"nEmission=1"});
    ps->Start();
    ps->Update(1.0f);
    PlaceRed(*ps, 20.0f, 30.0f);
    Clear(0, 0, 0);
    ps->Render(1.0f, 5.0f, 7.0f);
    EXPECT_EQ(SDL_Rect({25, 37, 16, 16}), DrawnBox(0, 0, 0));
    ExpectPixel(30, 45, 255, 0, 0);

    Clear(0, 0, 0);
    ps->Render(0.5f, 5.0f, 7.0f);
    ExpectPixel(30, 45, 127, 0, 0, 1);

    ps->mBlendMode = kBlendAdd;
    Clear(0, 0, 100);
    ps->Render(1.0f, 5.0f, 7.0f);
    ExpectPixel(30, 45, 255, 0, 100);
    ps->mBlendMode = kBlendAlpha;

    // -(spin x age) / 100 = -pi/2 about the top-left corner: the square turns up from there.
    ps->At(0).spin = 50.0f * kPi;
    ps->At(0).age = 1.0f;
    Clear(0, 0, 0);
    ps->Render(1.0f, 5.0f, 7.0f);
    SDL_Rect box = DrawnBox(0, 0, 0);
    EXPECT_NEAR(25, box.x, 1);
    EXPECT_NEAR(21, box.y, 1);
    EXPECT_NEAR(16, box.w, 1);
    EXPECT_NEAR(16, box.h, 1);

    ps->At(0).spin = 0.0f;
    ps->At(0).rect = TParticleRect{90, 0, 8, 8};  // past the sheet's edge
    EXPECT_EQ(SDL_Rect({0, 0, 0, 0}), RenderedBox(*ps));
}

TEST_F(ParticleSystemTest, ShippedDescriptionsLoadAndShow)
{
    // The shipped data in place of the fixture's own.
    const std::string assets = mDir.Path() + "/assets";
    ASSERT_EQ(0, system(("rm -rf '" + assets + "' && ln -s '" BRISALO_ASSETS "' '" + assets + "'").c_str()));
    for (const char* name : {"sparkle", "trail", "burst"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string("particles/") + name + ".ini";
        const std::string bytes = ReadWholeFile(AssetPath(path));
        ASSERT_EQ(0u, bytes.find("[Default]\r\n"));
        size_t rects = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "LF alone at " << i;
            }
            if (bytes[i] == '\r') {
                EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "CR alone at " << i;
            }
            if (bytes.compare(i, 11, "TextureRect") == 0) ++rects;
        }
        ParticleSystem ps;
        ps.Load(path, TexturePtr());
        ASSERT_NE(nullptr, ps.mTexture.Get());
        EXPECT_EQ(128, ps.mTexture->GetWidth());
        EXPECT_GT(rects, 0u);
        EXPECT_EQ(rects, ps.mRects.size()) << "every rectangle accepted";
        ps.Start();
        ps.mX = ps.mPrevX = 160.0f;
        ps.mY = ps.mPrevY = 120.0f;
        for (int frame = 0; frame < 63; ++frame) {
            ps.Update(0.016f);
            ps.MoveParticles(0.016f);
        }
        const SDL_Rect box = RenderedBox(ps);
        EXPECT_GT(box.w * box.h, 0) << "lights pixels";
        EXPECT_EQ(std::string(name) == "burst", ps.mStopped);
    }
}

}  // namespace
