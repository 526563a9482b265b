// Decorative objects: tiled windows, clouds, emitters, the star, the veil and the stretch.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "objects/decor_objects.h"
#include "objects/object_scene_fixture.h"
#include "rooms/scene_listeners.h"

namespace {
constexpr float kFrame = 1.0f / 64.0f;  // exact in binary

template <class Kind>
void Advance(Kind& object, float seconds)
{
    for (int i = 0; i < static_cast<int>(seconds / kFrame + 0.5f); ++i) object.Update(kFrame);
}
}  // namespace

using DecorCanvasTest = SceneCanvasTest;

TEST_F(DecorCanvasTest, UvWindowTilesItsCellsInOrder)
{
    // pic is 32 x 16: red left half, blue right half.
    auto uv = LoadObjectFrom<TUVObject>("<object name='pic' u1='0.5' u2='2.5' v1='0' v2='1'/>");
    uv->LoadResources();
    uv->Draw(0.25f);
    ExpectPixel(5, 8, 0, 0, 255);   // the first cell starts mid-picture: blue
    ExpectPixel(20, 8, 255, 0, 0);  // a whole picture from dx 16
    ExpectPixel(40, 8, 0, 0, 255);
    ExpectPixel(55, 8, 255, 0, 0);  // the last half cell: red only
    ExpectPixel(70, 8, 0, 0, 0);
    EXPECT_EQ(0, uv->mImage->mTransform.mFlags & kDrawSourceRect);
    EXPECT_FLOAT_EQ(0.0f, uv->mImage->GetX());

    struct Case {
        const char* keys;
        int lastLitX;  // -1: nothing drawn
    };
    const Case cases[] = {
        {"u1='0' u2='3'", 95},
        {"u1='1' u2='1'", -1},
        {"u2='1e9'", -1},
        {"u2='inf'", -1},
        {"u2='64' v2='64'", 1365},
    };
    for (const Case& c : cases) {
        Clear(0, 0, 0);
        auto o = LoadObjectFrom<TUVObject>(std::string("<object name='pic' ") + c.keys + "/>");
        o->LoadResources();
        const auto start = std::chrono::steady_clock::now();
        o->Draw(1.0f);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.keys;
        const SDL_Rect box = DrawnBox(0, 0, 0);
        EXPECT_EQ(c.lastLitX, c.lastLitX < 0 ? (box.w == 0 ? -1 : box.x + box.w - 1) : box.x + box.w - 1) << c.keys;
    }

    Clear(0, 0, 0);
    auto hidden = LoadObjectFrom<TUVObject>("<object name='pic' visible='0'/>");
    hidden->LoadResources();
    hidden->SetVisible(false);
    hidden->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(0, 0, 0).w);
}

TEST(UvSpin, MovesTheWindowByOneHeightPerSpin)
{
    auto up = LoadObjectFrom<TUVSpinObject>("<object time='2'/>");
    auto down = LoadObjectFrom<TUVSpinObject>("<object time='2' asc='0'/>");
    auto late = LoadObjectFrom<TUVSpinObject>("<object time='2' stime='1'/>");
    up->Update(0.0f);  // the first update starts the spin
    down->Update(0.0f);
    Advance(*up, 1.0f);
    Advance(*down, 1.0f);
    Advance(*late, 1.0f);
    EXPECT_NEAR(0.5f, up->mV1, 1e-5f);
    EXPECT_NEAR(1.5f, up->mV2, 1e-5f);
    EXPECT_NEAR(-0.5f, down->mV1, 1e-5f);
    EXPECT_FLOAT_EQ(0.0f, late->mV1);  // still waiting out its delay
    Advance(*up, 1.0f);
    EXPECT_TRUE(up->mSpin.mRunning);  // started again from the base
    EXPECT_FLOAT_EQ(0.0f, up->mSpin.mCurrent);
    up->Update(kFrame);
    EXPECT_NEAR(1.0f / 128.0f, up->mV1, 1e-5f);
}

TEST_F(DecorCanvasTest, UvSpinDrawsItsWholeWindowFrameAfterFrame)
{
    // pic is 32 x 16. A spin of a second moves the window by a quarter row a frame, so from the
    // second frame on it is cut into a lower and an upper cell that meet inside a pixel row.
    auto water = LoadObjectFrom<TUVSpinObject>("<object name='pic' u2='2' time='1'/>");
    water->LoadResources();
    for (int frame = 0; frame < 80; ++frame) {
        water->Update(kFrame);
        Clear(0, 0, 0);
        water->Draw(1.0f);
        const SDL_Rect box = DrawnBox(0, 0, 0);
        ASSERT_EQ(0, box.x) << "frame " << frame;
        ASSERT_EQ(0, box.y) << "frame " << frame;
        ASSERT_EQ(64, box.w) << "frame " << frame;
        ASSERT_EQ(16, box.h) << "frame " << frame;
        // No row left open where the cells meet: every row shows red, then blue, twice over.
        for (int y = 0; y < 16; ++y)
            for (int x : {8, 24, 40, 56}) {
                const TPixel p = Pixel(x, y);
                ASSERT_EQ(x % 32 < 16 ? 255 : 0, p.r) << "frame " << frame << " at " << x << ", " << y;
                ASSERT_EQ(x % 32 < 16 ? 0 : 255, p.b) << "frame " << frame << " at " << x << ", " << y;
            }
    }
    EXPECT_EQ(32, water->mImage->GetWidth());
    EXPECT_EQ(16, water->mImage->GetHeight());
}

TEST(Clouds, OffsetsSettleInTheirRanges)
{
    struct Case {
        const char* keys;
        float low, high;
        bool highIncluded;
    };
    // Layers are 60 x 40 (set by hand below), the rectangle 100 wide.
    const Case cases[] = {
        {"speed='30'", 100 - 60, 100, true},
        {"speed='-30'", 0, 60, false},
        {"speed='0'", 0, 0, true},
        {"up='1' speed='30'", 0, 40, true},
        {"up='1' speed='-30'", 0, 40, false},
        {"up='1' speed='0'", 0, 0, true},
    };
    for (const Case& c : cases) {
        auto clouds = LoadObjectFrom<TCloudsObject>(std::string("<object rect='0,0,100,50' ") + c.keys + "/>");
        clouds->mLayerImages[0].mTransform.SetSourceRect(0, 0, 60, 40);
        for (int i = 0; i < 10000; ++i) {
            clouds->Update(1.0f / 60.0f);
            const float o = clouds->mOffsets[0];
            if (i < 600) continue;  // settling in
            ASSERT_TRUE(o >= c.low && (c.highIncluded ? o <= c.high : o < c.high))
                << c.keys << " offset " << o << " at " << i;
        }
    }
    auto hidden = LoadObjectFrom<TCloudsObject>("<object rect='0,0,100,50' speed='30'/>");
    hidden->mLayerImages[0].mTransform.SetSourceRect(0, 0, 60, 40);
    hidden->SetVisible(false);
    hidden->Update(1.0f);
    EXPECT_FLOAT_EQ(0.0f, hidden->mOffsets[0]);
}

TEST(Clouds, ReadsItsRectangleAndFolders)
{
    auto partial = LoadObjectFrom<TCloudsObject>("<object rect='5,6' imgclouds='a' imgback='b'/>");
    EXPECT_EQ(5, partial->mRectX);
    EXPECT_EQ(6, partial->mRectY);
    EXPECT_EQ(0, partial->mRectW);
    EXPECT_EQ(0, partial->mRectH);
    EXPECT_EQ("scene/a", partial->mLayerNames[0]);
    EXPECT_EQ("scene/b", partial->mBackName);
    auto shared = LoadObjectFrom<TCloudsObject>("<object rect='0,0,1,1' udf='0' imgclouds='a' imgback='b'/>");
    EXPECT_EQ("textures/a", shared->mLayerNames[0]);
    EXPECT_EQ("scene/b", shared->mBackName);
}

TEST_F(DecorCanvasTest, CloudsTileInsideTheirRectangleAndKeepTheOuterClip)
{
    SolidPng("scene/layer.png", 60, 20, SDL_Color{255, 255, 255, 255});
    auto clouds = LoadObjectFrom<TCloudsObject>("<object rect='10,5,100,20' imgclouds='layer' speed='-25'/>");
    clouds->LoadResources();
    clouds->Update(-1.0f);  // o = 25
    ASSERT_FLOAT_EQ(25.0f, clouds->mOffsets[0]);
    const SDL_Rect outer{0, 0, 32, 64};
    SDL_RenderSetClipRect(mRenderer, &outer);
    clouds->Draw(1.0f);
    SDL_Rect after;
    SDL_RenderGetClipRect(mRenderer, &after);
    EXPECT_TRUE(after.x == 0 && after.y == 0 && after.w == 32 && after.h == 64);
    SDL_RenderSetClipRect(mRenderer, nullptr);

    Clear(0, 0, 0);
    clouds->Draw(1.0f);
    // Tiles at x 35 and -25, clipped to the rectangle: 10..109.
    const SDL_Rect box = DrawnBox(0, 0, 0);
    EXPECT_EQ(10, box.x);
    EXPECT_EQ(85, box.w);  // the tile at 35 ends at 94
    EXPECT_EQ(5, box.y);
    clouds->FreeResources();
}

TEST(Particles, PointsGiveTheAreaAndItsType)
{
    auto closed = LoadObjectFrom<TParticleObject>("<object points='10.10;50.10;50.40'/>");
    EXPECT_EQ(4, closed->mAreaType);
    ASSERT_EQ(4u, closed->mPoints.size());
    EXPECT_EQ(10, closed->mPoints[3].x);
    EXPECT_FLOAT_EQ(41.0f, closed->mWidth);
    EXPECT_FLOAT_EQ(31.0f, closed->mHeight);
    EXPECT_FLOAT_EQ(10.0f, closed->mX);
    auto line = LoadObjectFrom<TParticleObject>("<object points='10.10;10.40'/>");
    EXPECT_EQ(2u, line->mPoints.size());
    EXPECT_FLOAT_EQ(1.0f, line->mWidth);
    EXPECT_EQ(4, line->mAreaType);
    auto skipped = LoadObjectFrom<TParticleObject>("<object points='1.2.3;x;4.5'/>");
    ASSERT_EQ(1u, skipped->mPoints.size());
    EXPECT_EQ(4, skipped->mPoints[0].x);
    EXPECT_EQ(5, skipped->mPoints[0].y);
    EXPECT_EQ(1, LoadObjectFrom<TParticleObject>("<object w='20' h='10'/>")->mAreaType);
    EXPECT_EQ(7, LoadObjectFrom<TParticleObject>("<object particletype='7'/>")->mAreaType);
}

TEST(Particles, ActivationMakesAnEmitterAtTheNextUpdate)
{
    auto p = LoadObjectFrom<TParticleObject>("<object x='30' y='40' w='20' h='10'/>");
    EXPECT_FALSE(p->mActive);
    p->Update(kFrame);
    EXPECT_EQ(nullptr, p->mEmitter);
    p->Activate(0, 0, 0);
    EXPECT_EQ(nullptr, p->mEmitter);
    p->Update(0.0f);
    ASSERT_NE(nullptr, p->mEmitter);
    EXPECT_FLOAT_EQ(30.0f, p->mEmitter->mX);
    EXPECT_FLOAT_EQ(40.0f, p->mEmitter->mY);
    EXPECT_EQ(1, p->mEmitter->mAreaType);
    EXPECT_FLOAT_EQ(20.0f, p->mEmitter->mAreaSizeX);
    p->ResetBehaviour();
    EXPECT_FALSE(p->mActive);
    p->Update(kFrame);
    EXPECT_NE(nullptr, p->mEmitter);  // runs on

    TBaseBuffer buffer;
    p->Activate(0, 0, 0);
    p->SaveState(buffer);
    auto restored = LoadObjectFrom<TParticleObject>("<object x='30' y='40' w='20' h='10'/>");
    restored->LoadState(buffer);
    EXPECT_TRUE(restored->mActive);
    EXPECT_TRUE(buffer.ReadAtEnd());
}

TEST(Asterix, TurnsOnceActivatedAndAgainAfterARestore)
{
    auto star = LoadObjectFrom<TAsterixObject>("<object rot_time='4'/>");
    star->mImage.reset(new StaticImage());
    Advance(*star, 1.0f);
    EXPECT_FLOAT_EQ(0.0f, star->mImage->GetAngle());
    star->Activate(0, 0, 0);
    Advance(*star, 1.0f);
    EXPECT_NEAR(90.0f, star->mImage->GetAngle() / 0.017453292f, 0.01f);
    Advance(*star, 4.0f);
    EXPECT_NEAR(90.0f, star->mImage->GetAngle() / 0.017453292f, 0.01f);

    auto back = LoadObjectFrom<TAsterixObject>("<object rot_time='4' clockwise='0'/>");
    back->mImage.reset(new StaticImage());
    back->Activate(0, 0, 0);
    Advance(*back, 1.0f);
    EXPECT_NEAR(270.0f, back->mImage->GetAngle() / 0.017453292f, 0.01f);

    TBaseBuffer buffer;
    star->SaveState(buffer);
    auto restored = LoadObjectFrom<TAsterixObject>("<object rot_time='4'/>");
    restored->LoadState(buffer);
    EXPECT_TRUE(restored->mSpinning);
    EXPECT_TRUE(restored->mSpin.mRunning);
}

namespace {
// Hears which objects the reactions show.
struct TShowCounter : TObjectListener {
    int shows = 0;
    void ShowObjects(const TObjectRefGroup* /*group*/) override { ++shows; }
};
}  // namespace

TEST(Rotator, AddsOneTurnPerActivationAndReportsItsEnd)
{
    const char* xml = "<object turns='2' visibleafterevent='lamp'/>";
    auto rotator = LoadObjectFrom<TRotatorObject>(xml);
    TShowCounter heard;
    rotator->SetListener(&heard);
    rotator->Activate(0, 0, 0);
    rotator->Update(0.5f);
    rotator->Activate(0, 0, 0);  // mid-turn: nothing more
    TBaseBuffer buffer;
    rotator->SaveState(buffer);
    Advance(*rotator, 0.5f);
    rotator->Update(kFrame);
    EXPECT_NEAR(4 * 3.14159265f, rotator->mTurningImage.GetAngle(), 1e-4f);
    EXPECT_EQ(0u, rotator->mRotations.Size());
    EXPECT_EQ(1, heard.shows);  // the end of the turn, once
    Advance(*rotator, 1.0f);
    EXPECT_EQ(1, heard.shows);

    auto restored = LoadObjectFrom<TRotatorObject>(xml);
    TShowCounter restoredHeard;
    restored->SetListener(&restoredHeard);
    restored->LoadState(buffer);
    EXPECT_TRUE(restored->mFinishedOnRestore);
    restored->Update(kFrame);
    EXPECT_FALSE(restored->mFinishedOnRestore);
    EXPECT_EQ(1, restoredHeard.shows);  // a turn cut off by saving counts as ended
    restored->Update(kFrame);
    EXPECT_EQ(1, restoredHeard.shows);
}

TEST(Focuser, FadesInThenOutOneWayPerActivation)
{
    auto veil = LoadObjectFrom<TFocuserObject>("<object alpha='0.8' time='2'/>");
    EXPECT_FLOAT_EQ(0.0f, veil->mAlpha);
    veil->Activate(0, 0, 0);
    Advance(*veil, 1.0f);
    EXPECT_NEAR(0.4f, veil->mAlpha, 1e-5f);

    TBaseBuffer buffer;
    veil->SaveState(buffer);
    auto restored = LoadObjectFrom<TFocuserObject>("<object alpha='0.8' time='2'/>");
    restored->LoadState(buffer);
    EXPECT_NEAR(0.4f, restored->mAlpha, 1e-5f);
    Advance(*restored, 2.0f);  // a whole fade time towards the same target
    EXPECT_NEAR(0.8f, restored->mAlpha, 1e-5f);

    Advance(*veil, 1.0f);
    EXPECT_NEAR(0.8f, veil->mAlpha, 1e-5f);
    EXPECT_TRUE(veil->HitTestSelf(-500, 9999));  // shown, it takes every press
    veil->Activate(0, 0, 0);
    Advance(*veil, 2.0f);
    EXPECT_NEAR(0.0f, veil->mAlpha, 1e-5f);
    EXPECT_FALSE(veil->HitTestSelf(-500, 9999));
}

TEST(Flexible, StretchesUpwardsKeepingItsBottomEdge)
{
    auto flex = LoadObjectFrom<TUDFlexibleObject>("<object x='10' y='20' time='0.25' scalex='2'/>");
    EXPECT_FALSE(flex->mStretch.mRunning);  // reading a scale starts nothing
    flex->mImage.reset(new StaticImage());
    flex->mImage->mTransform.SetSourceRect(0, 0, 50, 100);
    flex->mImage->SetScaleXY(1.0f, 1.0f);
    flex->mScaleX = 1.0f;
    flex->OnSpaceShown();
    EXPECT_EQ(10, flex->mBaseX);
    EXPECT_EQ(20, flex->mBaseY);
    EXPECT_EQ(100, flex->mBaseH);
    flex->SetScaleXY(0.5f, 0.25f);
    Advance(*flex, 0.25f);
    EXPECT_FLOAT_EQ(0.5f, flex->mImage->GetScaleY());
    EXPECT_FLOAT_EQ(70.0f, flex->mY);
    EXPECT_EQ(50, flex->mCurH);
    flex->SetScaleXY(1.0f, -1.0f);  // the object's own time
    EXPECT_FLOAT_EQ(0.25f, flex->mStretch.mDuration);

    auto bare = LoadObjectFrom<TUDFlexibleObject>("<object x='10' y='20'/>");
    bare->SetScaleXY(0.5f, 0.1f);
    Advance(*bare, 0.25f);
    EXPECT_FLOAT_EQ(20.0f, bare->mY);
}
