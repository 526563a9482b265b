// The ghost catcher: its keys and paths, catch progress and eyes, taking, resetting and
// applying with its movie, glow and finger, the sparkle trails, its resources; and a room
// revealing a ghost through the catcher's lens where the inventory shows the catcher.
#include "rooms/ghost_catcher_tool.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <fstream>
#include <memory>
#include <string>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "objects/object_factory.h"
#include "rooms/game_event.h"
#include "rooms/inventory_panel.h"
#include "rooms/room.h"
#include "test_support.h"

namespace {

std::unique_ptr<TGhostCatcherTool> CatcherFrom(const std::string& xml)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    auto catcher = std::make_unique<TGhostCatcherTool>();
    catcher->LoadXml(doc.RootElement());
    return catcher;
}

class GhostCatcherTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        MakeFolder("textures/tools/catcher");
        WriteWholeFile(AssetPath("textures/tools/catcher/catch.ogv"),
                       ReadWholeFile(std::string(BRISALO_ASSETS) + "/textures/movies/glowalpha.ogv"));
        for (const char* name : {"lens", "target", "finger", "glow", "eye1", "eye2"})
            SolidPng(std::string("textures/tools/catcher/") + name + ".png", 64, 64, SDL_Color{0, 255, 0, 255});
    }
    void TearDown() override
    {
        ClearGameEvents();
        CanvasTest::TearDown();
    }

    std::unique_ptr<TGhostCatcherTool> Catcher(const std::string& more = std::string(),
                                               const std::string& moreEyes = std::string())
    {
        return CatcherFrom(R"(<tool id="catcher" type="ghostcatcher" folder="catcher" shape="/lens" target="/target"
            finger="/finger" glow="/glow" video="/catch.ogv" )" + more +
                           R"(><eye name="/eye1" x="1" y="2"/><eye name="/eye2"/>)" + moreEyes + "</tool>");
    }
};

TEST_F(GhostCatcherTest, KeysJoinTheToolFolderWithoutASeparator)
{
    auto catcher = CatcherFrom(R"(<tool id="c" folder="catcher" shape="/lens" target="/target" finger="/finger"
        glow="/glow" fingerx="3" fingery="4" eyex="5" eyey="6" glowx="7" glowy="8" videox="9" videoy="10"
        video="/catch.ogv" runeffect="1"><eye name="/eye1" x="1" y="2"/><eye name="/eye2"/></tool>)");
    EXPECT_EQ(catcher->mShapeName, "textures/tools/catcher/lens");
    EXPECT_EQ(catcher->mTargetName, "textures/tools/catcher/target");
    EXPECT_EQ(catcher->mFingerName, "textures/tools/catcher/finger");
    EXPECT_EQ(catcher->mGlowName, "textures/tools/catcher/glow");
    EXPECT_EQ(catcher->GetMovie().mImagePath, "textures/tools/catcher/catch.ogv");
    ASSERT_EQ(catcher->mEyes.size(), 2u);
    EXPECT_EQ(catcher->mEyes[0]->mTextureName, "textures/tools/catcher/eye1");
    EXPECT_EQ(catcher->mEyes[0]->mOffsetX, 1);
    EXPECT_EQ(catcher->mEyes[0]->mOffsetY, 2);
    EXPECT_EQ(catcher->mEyes[1]->mOffsetX, 0);
    EXPECT_EQ((std::vector<int>{catcher->mFingerX, catcher->mFingerY, catcher->mEyeX, catcher->mEyeY,
                                catcher->mGlowX, catcher->mGlowY, catcher->mVideoX, catcher->mVideoY}),
              (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(catcher->mRunEffect);
    EXPECT_TRUE(catcher->GetMovie().mWithAlpha);
    EXPECT_FALSE(catcher->GetMovie().mStretch);
    EXPECT_EQ(catcher->GetMovie().mMaxActivations, 10000000);

    auto bare = CatcherFrom(R"(<tool id="c" shape="lens" video="catch.ogv" target=""/>)");
    EXPECT_EQ(bare->mShapeName, "lens");
    EXPECT_EQ(bare->GetMovie().mImagePath, "catch.ogv");
    EXPECT_EQ(bare->mTargetName, "");
    EXPECT_FALSE(bare->mRunEffect);
}

TEST_F(GhostCatcherTest, CatchProgressPicksTheEye)
{
    auto catcher = Catcher("", R"(<eye name="/eye1"/><eye name="/eye2"/>)");
    ASSERT_EQ(catcher->mEyes.size(), 4u);
    struct Case {
        float progress;
        int eye;
        float alpha;
    };
    for (const Case& c : {Case{0.0f, 0, 1.0f}, Case{0.5f, 2, 0.5f}, Case{0.99f, 3, 0.01f}, Case{10000.0f, 4, 0.0f}}) {
        catcher->SetCatchProgress(c.progress);
        EXPECT_EQ(catcher->GetEyeIndex(), c.eye) << c.progress;
        EXPECT_NEAR(catcher->GetTargetAlpha(), c.alpha, 1e-5) << c.progress;
    }
    auto blind = CatcherFrom(R"(<tool id="c"/>)");
    blind->SetCatchProgress(10000.0f);
    EXPECT_EQ(blind->GetEyeIndex(), 0);
}

TEST_F(GhostCatcherTest, ApplyingPlaysTheMovieCentredAndRunsFingerAndGlow)
{
    auto catcher = Catcher();
    catcher->LoadResources();
    catcher->Select(0, 0);
    catcher->Apply(600, 400, 0);
    TVideoObject& movie = catcher->GetMovie();
    EXPECT_EQ(movie.mX, 536.0f);
    EXPECT_EQ(movie.mY, 336.0f);
    EXPECT_TRUE(movie.IsActive());
    ASSERT_NE(movie.GetDecoder(), nullptr);
    EXPECT_EQ(catcher->GetTargetAlpha(), 0.0f);
    EXPECT_EQ(catcher->GetEyeIndex(), 2);
    EXPECT_FALSE(catcher->IsFingerShown());
    EXPECT_EQ(catcher->mMode, 0);
    EXPECT_EQ(catcher->GetCatchEffect(), nullptr);

    float peak = 0.0f;
    for (int i = 1; i <= 12; ++i) {
        catcher->Update(0.05f);
        peak = std::max(peak, catcher->GetGlow());
        if (i == 6) {
            EXPECT_NEAR(catcher->GetGlow(), 1.0f, 1e-4);
        }
        if (i == 9) {
            EXPECT_FALSE(catcher->IsFingerShown());
        }
        if (i == 11) {
            EXPECT_TRUE(catcher->IsFingerShown());
        }
    }
    EXPECT_NEAR(peak, 1.0f, 1e-4);
    EXPECT_EQ(catcher->GetGlow(), 0.0f);
    EXPECT_TRUE(catcher->mGlow.mFinished);

    // The frame shows where the movie was centred.
    Clear(255, 0, 0);
    catcher->DrawEffects(600, 400, 0, 0);
    const SDL_Rect box = DrawnBox(255, 0, 0);
    EXPECT_GE(box.x, 536);
    EXPECT_LE(box.x + box.w, 536 + 128);
    EXPECT_GT(box.w, 0);
}

TEST_F(GhostCatcherTest, TakingAndResettingPutEveryVisualAtRest)
{
    for (bool reset : {false, true}) {
        SCOPED_TRACE(reset);
        auto catcher = Catcher();
        catcher->LoadResources();
        catcher->SetCatchProgress(0.0f);
        catcher->Apply(600, 400, 0);
        for (int i = 0; i < 4; ++i) catcher->Update(0.05f);
        ClearGameEvents();
        if (reset)
            catcher->Reset();
        else
            catcher->Select(0, 0);
        // Only taking shows the finger again; a reset leaves it to the next take.
        EXPECT_EQ(catcher->IsFingerShown(), !reset);
        EXPECT_EQ(catcher->GetGlow(), 0.0f);
        TVideoObject& movie = catcher->GetMovie();
        EXPECT_TRUE(movie.mFinished);
        ASSERT_NE(movie.GetDecoder(), nullptr);
        EXPECT_FALSE(movie.GetDecoder()->IsUploaded());
        Clear(255, 0, 0);
        movie.DrawMovieFrame();
        EXPECT_EQ(DrawnBox(255, 0, 0).w, 0);
        EXPECT_NE(catcher->mMode, 2);
    }
    auto fresh = Catcher();
    fresh->SetCatchProgress(0.0f);
    EXPECT_EQ(fresh->GetTargetAlpha(), 1.0f);
    fresh->Reset();
    EXPECT_EQ(fresh->GetTargetAlpha(), 0.0f);
}

TEST_F(GhostCatcherTest, SparkleTrailsRunOnlyWithRunEffectAndASecondApplyReplacesThem)
{
    auto quiet = Catcher();
    quiet->Apply(600, 400, 0);
    EXPECT_EQ(quiet->GetCatchEffect(), nullptr);

    auto catcher = Catcher("runeffect=\"1\"");
    catcher->Apply(600, 400, 0);
    TEffectCatchGhostFull* first = catcher->GetCatchEffect();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->mTrails.size(), 6u);
    for (int i = 0; i < 5; ++i) catcher->Update(0.1f);
    catcher->Apply(600, 400, 0);
    ASSERT_NE(catcher->GetCatchEffect(), nullptr);
    EXPECT_EQ(catcher->GetCatchEffect()->mTrails.size(), 6u);
    EXPECT_EQ(catcher->GetCatchEffect()->mTrails[0]->SparkleCount(), 0u);

    // The trails arrive after a second; the last sparkles live 34 updates more.
    int updates = 0;
    while (catcher->GetCatchEffect() && updates < 200) {
        catcher->Update(0.1f);
        ++updates;
    }
    EXPECT_GE(updates, 10 + 34 - 1);
    EXPECT_LE(updates, 11 + 34);
}

TEST_F(GhostCatcherTest, ASparkleIsDoneOnItsThirtyFourthUpdate)
{
    TEffectCatchGhost trail(1, 100, 100, 100, 350);
    trail.Update(0.01f);
    ASSERT_EQ(trail.SparkleCount(), 1u);
    int updates = 1;
    trail.Update(5.0f);  // arrives: no more sparkles
    EXPECT_TRUE(trail.HasArrived());
    while (trail.SparkleCount() > 0 && updates < 100) {
        trail.Update(0.01f);
        ++updates;
    }
    EXPECT_EQ(updates, 34);
    EXPECT_TRUE(trail.IsDone());
}

TEST_F(GhostCatcherTest, ResourcesLoadOnceAndFreeEverything)
{
    auto catcher = Catcher();
    catcher->LoadResources();
    ASSERT_NE(catcher->GetShapeImage(), nullptr);
    TTexture* shape = catcher->GetShapeImage()->GetTexture();
    TVideoWindow* decoder = catcher->GetMovie().GetDecoder();
    ASSERT_NE(decoder, nullptr);
    catcher->LoadResources();
    EXPECT_EQ(catcher->GetShapeImage()->GetTexture(), shape);
    EXPECT_EQ(catcher->GetMovie().GetDecoder(), decoder);
    EXPECT_NE(catcher->mEyes[1]->GetTexture(), nullptr);
    catcher->FreeResources();
    EXPECT_EQ(catcher->GetShapeImage(), nullptr);
    EXPECT_EQ(catcher->mTargetImage.GetTexture(), nullptr);
    EXPECT_EQ(catcher->mEyes[0]->GetTexture(), nullptr);
    EXPECT_EQ(catcher->GetMovie().GetDecoder(), nullptr);
    EXPECT_FALSE(catcher->GetMovie().GetMovieTexture());
}

TEST_F(GhostCatcherTest, AnswersTypeThreeAndNoWrongToolHint)
{
    auto catcher = Catcher();
    EXPECT_EQ(catcher->GetType(), 3);
    TObject object;
    object.mWrongToolPressed = true;
    EXPECT_EQ(object.GetWrongToolSound(catcher.get()), "");
    EXPECT_TRUE(object.mWrongToolPressed);
}

// Past its start limit the movie opens nothing, so there is no picture to centre it by.
TEST_F(GhostCatcherTest, AMovieBeyondItsStartLimitStaysWhereItWas)
{
    auto catcher = Catcher();
    catcher->LoadResources();
    TVideoObject& movie = catcher->GetMovie();
    movie.SetPosition(12.0f, 34.0f, true);
    movie.mActivations = 10000001;
    catcher->Apply(600, 400, 0);
    EXPECT_EQ(movie.GetDecoder(), nullptr);
    EXPECT_EQ(movie.mX, 12.0f);
    EXPECT_EQ(movie.mY, 34.0f);
}

// ---- A room with an inventory panel revealing its ghost.

class GhostRoomTest : public GhostCatcherTest {
protected:
    void SetUp() override
    {
        GhostCatcherTest::SetUp();
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
        MakeFolder("scene");
        WriteWholeFile(AssetPath("scene/ghost.ogv"),
                       ReadWholeFile(std::string(BRISALO_ASSETS) + "/textures/movies/glowalpha.ogv"));
    }
    void TearDown() override
    {
        GetAppState().mInventoryPanel = nullptr;
        GetAppState().mObjectFactory = std::move(mOldFactory);
        GhostCatcherTest::TearDown();
    }
    TOwned<TObjectFactory> mOldFactory;
};

TEST_F(GhostRoomTest, TheCatchersSlotOverAGhostRevealsAndUpdatesIt)
{
    std::ofstream(AssetPath("room.xml")) << R"(<room><Common name="r" folder="scene/"/><Objects>
        <object id="g" type="ghost" name="ghost.ogv" withalpha="1" x="300" y="200" active="1"/>
        </Objects></room>)";
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("room.xml"));
    room.LoadObjectResources(0);
    auto* ghost = dynamic_cast<TGhostObject*>(room.FindObject("g"));
    ASSERT_NE(ghost, nullptr);
    ghost->Activate(0, 0, 0);
    auto catcher = Catcher();
    catcher->LoadResources();
    TInventoryPanel panel;
    panel.mScrollSlots.resize(1);
    panel.mScrollSlots[0].SetTool(catcher.get());
    panel.mScrollSlots[0].mX = 320;
    panel.mScrollSlots[0].mY = 220;
    GetAppState().mInventoryPanel = &panel;
    room.mCurrentTool = catcher.get();

    room.Update(0.04f);
    EXPECT_TRUE(ghost->mLensActive);
    ASSERT_NE(ghost->GetDecoder(), nullptr);
    EXPECT_EQ(ghost->GetDecoder()->mMask.Get(), catcher->GetShapeImage()->GetTexture());
    // The 64 x 64 lens is centred on the slot: the ghost lies 12 px right and below its corner.
    EXPECT_EQ(ghost->GetDecoder()->mMaskOffsetX, 12);
    EXPECT_EQ(ghost->GetDecoder()->mMaskOffsetY, 12);
    EXPECT_GT(ghost->mClock, 0.0f);

    panel.mScrollSlots[0].mX = 1000;
    const float clock = ghost->mClock;
    room.Update(0.04f);
    EXPECT_FALSE(ghost->mLensActive);
    EXPECT_FALSE(ghost->GetDecoder()->mMask);
    EXPECT_EQ(ghost->mClock, clock);
    room.mCurrentTool = nullptr;
    room.FreeObjectResources();
}

}  // namespace
