// Morphing pictures: the morph image's runs and pauses, activation, the double kind's
// cross-fade, the two-picture kind's turns, hit boxes and records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/buffer.h"
#include "objects/morph_objects.h"
#include "objects/object_scene_fixture.h"

namespace {

constexpr float kMorphStep = 0.125f;  // exact in binary

std::vector<float> MorphAlphas(TMorphingObject& object, int updates, float dt = kMorphStep)
{
    std::vector<float> alphas;
    for (int i = 0; i < updates; ++i) {
        object.Update(dt);
        alphas.push_back(object.mMorphImage.mAlpha);
    }
    return alphas;
}

}  // namespace

TEST(MorphingObject, RunsUpAndDownWithItsTwoPauses)
{
    auto morph = LoadObjectFrom<TMorphingObject>(
        "<object min_alpha='0.25' max_alpha='0.75' time='0.5' pause='0.25' pause2='0.5'/>");
    EXPECT_TRUE(morph->IsActive());
    const std::vector<float> expected = {0.25f, 0.25f, 0.25f, 0.375f, 0.5f, 0.625f, 0.75f, 0.75f,
                                         0.75f, 0.75f, 0.75f, 0.625f, 0.5f, 0.375f, 0.25f};
    EXPECT_EQ(expected, MorphAlphas(*morph, 15));

    // Equal ends and no pauses: every run ends as it starts, and a new one starts each update.
    auto flat = LoadObjectFrom<TMorphingObject>("<object min_alpha='0.5' max_alpha='0.5'/>");
    const std::vector<float> alphas = MorphAlphas(*flat, 1000);
    EXPECT_EQ(std::vector<float>(1000, 0.5f), alphas);
}

TEST(MorphingObject, WaitsUntilActivatedAndThenRunsUpOnce)
{
    auto morph = LoadObjectFrom<TMorphingObject>(
        "<object active='0' x='5' y='6' mx='30' my='40' min_alpha='0.25' max_alpha='0.75' time='0.5'/>");
    EXPECT_EQ(std::vector<float>(8, 0.25f), MorphAlphas(*morph, 8));
    EXPECT_FLOAT_EQ(30.0f, morph->mMorphImage.GetX());
    EXPECT_FLOAT_EQ(40.0f, morph->mMorphImage.GetY());

    morph->Activate(0, 0, 0);
    EXPECT_TRUE(morph->IsActive());
    EXPECT_EQ((std::vector<float>{0.375f, 0.5f}), MorphAlphas(*morph, 2));
    morph->Activate(0, 0, 0);  // already running: no restart
    EXPECT_EQ((std::vector<float>{0.625f, 0.75f}), MorphAlphas(*morph, 2));
    EXPECT_FLOAT_EQ(5.0f, morph->mMorphImage.GetX());  // an active update follows the object

    auto half = LoadObjectFrom<TMorphingObject>("<object active='0' x='5.7' y='6.2' mx='30'/>");
    EXPECT_FLOAT_EQ(5.0f, half->mMorphImage.GetX());
    EXPECT_FLOAT_EQ(6.0f, half->mMorphImage.GetY());
}

using MorphCanvasTest = SceneCanvasTest;

TEST_F(MorphCanvasTest, DoubleKindFadesItsOwnImageTheOtherWay)
{
    auto pond = LoadObjectFrom<TDoubleMorphingObject>("<object name='pic' min_alpha='0.25' max_alpha='0.75' time='0.5'/>");
    pond->LoadResources();
    std::vector<float> own, morph;
    for (int i = 0; i < 20; ++i) {
        pond->Update(kMorphStep);
        own.push_back(pond->mImage->mAlpha);
        morph.push_back(pond->mMorphImage.mAlpha);
    }
    for (int n = 0; n + 1 < 20; ++n) EXPECT_FLOAT_EQ(1.0f - morph[n + 1], own[n]) << "update " << n + 1;

    auto idle = LoadObjectFrom<TDoubleMorphingObject>(
        "<object name='pic' active='0' min_alpha='0.25' max_alpha='0.75' time='0.5'/>");
    idle->LoadResources();
    for (int i = 0; i < 8; ++i) {
        idle->Update(kMorphStep);
        EXPECT_FLOAT_EQ(0.0f, idle->mImage->mAlpha);
    }
    idle->Activate(0, 0, 0);
    // The run Activate started keeps both in step; on its last update the next run starts.
    for (int i = 0; i < 3; ++i) {
        idle->Update(kMorphStep);
        EXPECT_FLOAT_EQ(1.0f, idle->mImage->mAlpha + idle->mMorphImage.mAlpha) << "update " << i + 1;
    }
    idle->Update(kMorphStep);
    EXPECT_FLOAT_EQ(0.75f, idle->mMorphImage.mAlpha);
    pond->FreeResources();
    idle->FreeResources();
}

TEST(MorphingObject2, TakesTurnsFadingOutAndIn)
{
    auto balloon = LoadObjectFrom<TMorphingObject2>("<object/>");
    std::vector<float> first, second;
    for (int i = 0; i < 22; ++i) {
        balloon->Update(0.25f);
        first.push_back(balloon->mFirstImage.mAlpha);
        second.push_back(balloon->mSecondImage.mAlpha);
    }
    EXPECT_FLOAT_EQ(0.5f, first[3]);
    for (int n = 8; n <= 14; ++n) EXPECT_FLOAT_EQ(0.0f, first[n - 1]) << n;
    EXPECT_FLOAT_EQ(0.125f, first[14]);
    EXPECT_FLOAT_EQ(1.0f, first[21]);
    for (int n = 1; n <= 3; ++n) EXPECT_FLOAT_EQ(0.0f, second[n - 1]) << n;
    EXPECT_FLOAT_EQ(0.125f, second[3]);
    EXPECT_FLOAT_EQ(1.0f, second[10]);
    EXPECT_FLOAT_EQ(0.0f, second[18]);

    auto still = LoadObjectFrom<TMorphingObject2>("<object pause='0'/>");
    for (int i = 0; i < 20; ++i) still->Update(0.25f);
    EXPECT_FLOAT_EQ(0.0f, still->mFirstImage.mAlpha);
    EXPECT_FLOAT_EQ(0.0f, still->mSecondImage.mAlpha);

    auto late = LoadObjectFrom<TMorphingObject2>("<object active='0'/>");
    EXPECT_FALSE(late->mFirstImage.mFade.mRunning);
    late->Update(0.25f);  // the first update starts the fade-out
    EXPECT_TRUE(late->mFirstImage.mFade.mRunning);
    EXPECT_FLOAT_EQ(1.0f, late->mFirstImage.mAlpha);
    late->Update(0.25f);
    EXPECT_FLOAT_EQ(0.875f, late->mFirstImage.mAlpha);
}

TEST_F(MorphCanvasTest, HitBoxesCoverObjectAndPictures)
{
    MakeFolder("m");
    SolidPng("m/clear.png", 10, 10, SDL_Color{0, 0, 0, 0});
    SolidPng("m/wide.png", 20, 10, SDL_Color{0, 255, 0, 255});
    SolidPng("m/flat.png", 30, 5, SDL_Color{0, 0, 255, 255});
    auto morph = LoadObjectFrom<TMorphingObject>("<object w='10' h='10' mname='clear' mx='20' my='20'/>", "m/");
    morph->LoadResources();
    EXPECT_TRUE(morph->HitTestSelf(29, 29));  // a transparent pixel: bounds only
    EXPECT_TRUE(morph->HitTestSelf(0, 0));
    EXPECT_FALSE(morph->HitTestSelf(30, 5));
    EXPECT_FALSE(morph->HitTestSelf(29, 30));

    auto two = LoadObjectFrom<TMorphingObject2>(
        "<object mname1='wide' mname2='flat' x1='10' y1='20' x2='50' y2='60'/>", "m/");
    two->LoadResources();
    EXPECT_FLOAT_EQ(10.0f, two->mX);
    EXPECT_FLOAT_EQ(20.0f, two->mY);
    EXPECT_FLOAT_EQ(20.0f, two->mWidth);
    EXPECT_FLOAT_EQ(10.0f, two->mHeight);
    EXPECT_TRUE(two->HitTestSelf(10, 20));
    EXPECT_TRUE(two->HitTestSelf(79, 64));
    EXPECT_FALSE(two->HitTestSelf(80, 30));
    EXPECT_FALSE(two->HitTestSelf(30, 65));
    EXPECT_FALSE(two->HitTestSelf(9, 30));

    // Both pictures drawn over the object, at full strength whatever the factor.
    Clear(0, 0, 0);
    two->Draw(0.25f);
    ExpectPixel(15, 25, 0, 255, 0);
    ExpectPixel(55, 62, 0, 0, 0);  // the second picture rests at alpha 0
    morph->FreeResources();
    two->FreeResources();
}

TEST(MorphingObject, RecordIsThePlainObjectsAndRereadingLeaksNothing)
{
    const std::string xml = "<object id='m' x='3' y='4' mname='a' mname1='a' mname2='b' pause='1'/>";
    auto plain = LoadObjectFrom<TObject>(xml);
    TBaseBuffer expected;
    plain->SaveState(expected);
    std::unique_ptr<TObject> kinds[] = {LoadObjectFrom<TMorphingObject>(xml), LoadObjectFrom<TDoubleMorphingObject>(xml),
                                        LoadObjectFrom<TMorphingObject2>(xml)};
    for (auto& kind : kinds) {
        kind->mActive = plain->mActive;  // the morphing kinds start active
        TBaseBuffer record;
        kind->SaveState(record);
        EXPECT_EQ(Bytes(expected), Bytes(record)) << kind->GetTypeCode();
    }
    auto twice = LoadObjectFrom<TMorphingObject>(xml);
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    twice->LoadXml(doc.RootElement(), "scene/");
    EXPECT_FLOAT_EQ(1.0f, twice->mPauses->mPause[1]);
}
