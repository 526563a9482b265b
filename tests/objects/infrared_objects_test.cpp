// The infrared object (lens, reveal, catch, flight) and the multi-tool object.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/buffer.h"
#include "core/numbers.h"
#include "core/random.h"
#include "graphics/texture_cache.h"
#include "objects/infrared_objects.h"
#include "objects/scene_press.h"
#include "objects/object_scene_fixture.h"
#include "rooms/room.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"
#include "rooms/sound_calls.h"

namespace {

// What GameRand gives after SeedRandom(seed): the first two values.
void FirstTwo(unsigned seed, int* first, int* second)
{
    SeedRandom(seed);
    *first = GameRand();
    *second = GameRand();
}

}  // namespace

TEST(InfraredFlight, FleePointsStayInTheirRangesAndStayHomeWithoutRoom)
{
    struct Case {
        int hx, hy, w, h;
        int xLow, xHigh, yLow, yHigh;  // an empty range: low == high == the home coordinate
    };
    const Case cases[] = {
        {500, 300, 100, 100, 300, 700, 100, 500},
        {1300, 100, 50, 50, 1100, 1316, 0, 300},
        {600, 200, 100, 400, 400, 800, 200, 200},   // twice the height passes the bottom
        {300, 568, 100, 200, 100, 500, 568, 568},   // y range [368, 368): length 0
        {1300, 300, 300, 50, 1300, 1300, 100, 500}, // too wide for the right edge
    };
    for (unsigned seed : {1u, 7u, 12345u}) {
        for (const Case& c : cases) {
            int first = 0, second = 0;
            FirstTwo(seed, &first, &second);
            SeedRandom(seed);
            const TIntPoint p = TInfraredObject::PickFleePoint(c.hx, c.hy, c.w, c.h);
            const int expectX = c.xHigh > c.xLow ? c.xLow + second % (c.xHigh - c.xLow) : c.hx;
            const int expectY = c.yHigh > c.yLow ? c.yLow + first % (c.yHigh - c.yLow) : c.hy;
            EXPECT_EQ(expectX, p.x) << c.hx << "," << c.hy;
            EXPECT_EQ(expectY, p.y) << c.hx << "," << c.hy;
            // Exactly two values were drawn.
            int third = GameRand();
            SeedRandom(seed);
            GameRand();
            GameRand();
            EXPECT_EQ(GameRand(), third);
        }
    }
}

namespace {

using TCalls = std::vector<std::string>;

// What an object tells its space, one line a call.
class TListenerLog : public TObjectListener {
public:
    TCalls mCalls;
    bool OnObjectMessage(std::string name, TObject* object) override
    {
        mCalls.push_back("Message " + name + " " + object->GetName());
        return true;
    }
    bool RunCommands(const TToolRecordList* records, TObject*, float delay) override
    {
        mCalls.push_back("RunCommands " + std::to_string(records->size()) + " " + std::to_string(delay));
        return true;
    }
    bool OnObjectToolUsed(TObject* object, TTool*, int) override
    {
        mCalls.push_back("ToolUsed " + object->GetName());
        return true;
    }
    bool OnObjectActivated(TObject* object) override
    {
        mCalls.push_back("Activated " + object->GetName());
        return true;
    }
    bool PostObjectEventRecord(const TFlagRef& record, TObject*) override
    {
        mCalls.push_back("Post " + record.mName);
        return true;
    }
    void OnObjectMouseDown(TObject* object, const TSceneMouseEvent&) override
    {
        mCalls.push_back("Down " + object->GetName());
    }
};

// A real tool, complete or not, that counts its uses.
class TCountingTool : public TTool {
public:
    TCountingTool(const std::string& id, bool complete)
    {
        mId = id;
        mOwned = complete;
        mPartCount = complete ? 1 : 2;
    }
    void Apply(int x, int y, int useNumber) override
    {
        ++mApplied;
        TTool::Apply(x, y, useNumber);
    }
    int mApplied = 0;
};

}  // namespace

// Pictures of the infrared tests: "ir/own" 8 x 8 of alpha 200, "ir/lens" 4 x 4 whose rows
// have alpha 0, 64, 128, 255, "ir/clear" 16 x 16 opaque.
class InfraredCanvasTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        MakeFolder("ir");
        SolidPng("ir/own.png", 8, 8, SDL_Color{200, 120, 40, 200});
        SavePng("ir/lens.png", MakeSurface(4, 4, SDL_PIXELFORMAT_ABGR8888, [](int, int y) {
                    const Uint8 alphas[] = {0, 64, 128, 255};
                    return SDL_Color{255, 255, 255, alphas[y]};
                }));
        SolidPng("ir/clear.png", 16, 16, SDL_Color{255, 255, 255, 255});
    }

    // Drawn onto transparent black.
    void ClearTransparent()
    {
        SDL_SetRenderDrawBlendMode(mRenderer, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(mRenderer, 0, 0, 0, 0);
        SDL_RenderClear(mRenderer);
    }

    // The alpha the revealed picture holds at a pixel.
    static int PictureAlpha(TInfraredObject& object, int x, int y)
    {
        uint32_t* pixels = nullptr;
        int pitch = 0;
        if (!object.mRevealed || !object.mRevealed->Lock(&pixels, &pitch)) return -1;
        const int a = static_cast<int>(pixels[y * pitch + x] >> 24);
        object.mRevealed->Unlock();
        return a;
    }

    // As the room does under the lens for two frames: window, lens, update, then the lens
    // byte. The byte comes after the update, so the first frame draws the last rebuild.
    static void UnderLens(TInfraredObject& object, float x, float y, float w, float h, int offsetX, int offsetY,
                          const TexturePtr& lens)
    {
        object.mRevealedX = x;
        object.mRevealedY = y;
        object.mRevealedW = w;
        object.mRevealedH = h;
        object.SetLens(offsetX, offsetY, lens);
        object.Update(0.0f);
        object.mLensActive = true;
        object.Update(0.0f);
    }
};

TEST_F(InfraredCanvasTest, LoadingKeepsPixelMapsAndForcesItsKeys)
{
    auto ir = LoadObjectFrom<TInfraredObject>(
        "<object name='pic' tool='lamp' tflags='old' soundtool='clang' findinfrared='found;again'/>");
    ASSERT_EQ(2u, ir->mToolFlags.size());
    EXPECT_EQ("found", ir->mToolFlags[0][0].mName);
    EXPECT_TRUE(ir->mSoundTool.empty());
    EXPECT_EQ(1, ir->mHoldToolAfterUse);
    ir->LoadResources();
    ASSERT_TRUE(ir->mImage && ir->mImage->GetTexture());
    TRgb rgb;
    EXPECT_TRUE(ir->mImage->GetTexture()->GetColorAt(20, 5, &rgb));
    EXPECT_EQ(0, rgb.r);
    EXPECT_EQ(255, rgb.b);
    EXPECT_EQ(255, ir->mImage->GetTexture()->GetAlphaAt(20, 5));
    ASSERT_TRUE(ir->mRevealed);
    EXPECT_EQ(32, ir->mRevealed->GetWidth());
    EXPECT_EQ(16, ir->mRevealed->GetHeight());
    EXPECT_TRUE(ir->mCheckOnlyBounds);
    ir->FreeResources();
    EXPECT_FALSE(ir->mRevealed);

    auto bare = LoadObjectFrom<TInfraredObject>("<object name='pic'/>");
    EXPECT_TRUE(bare->mToolFlags.empty());

    auto centred = LoadObjectFrom<TInfraredObject>("<object drawtype='1' x='100.7' y='50.2' w='20' h='10'/>");
    EXPECT_EQ(90, centred->mHomeX);
    EXPECT_EQ(45, centred->mHomeY);

    auto caught = LoadObjectFrom<TInfraredObject>("<object name='pic'><object name='pic'/></object>");
    caught->mCaught = true;
    caught->LoadResources();
    EXPECT_FALSE(caught->mImage);
    EXPECT_FALSE(caught->mRevealed);
    EXPECT_TRUE(caught->mCheckOnlyBounds);
}

TEST_F(InfraredCanvasTest, LensRevealsThePictureWeighedByItsAlpha)
{
    auto ir = LoadObjectFrom<TInfraredObject>("<object name='own' x='100' y='50'/>", "ir/");
    ir->LoadResources();
    const TexturePtr lens = GetTexture("ir/lens");
    UnderLens(*ir, 102, 51, 4, 4, -2, -1, lens);
    ASSERT_TRUE(ir->mAnythingRevealed);
    ClearTransparent();
    ir->Draw(1.0f);
    const int alphaByLensRow[] = {0, 50, 100, 200};
    for (int y = 48; y < 60; ++y) {
        for (int x = 98; x < 110; ++x) {
            const bool inWindow = x >= 102 && x < 106 && y >= 51 && y < 55;
            const int a = inWindow ? alphaByLensRow[y - 51] : 0;
            if (x >= 100 && x < 108 && y >= 50 && y < 58) {
                EXPECT_EQ(a, PictureAlpha(*ir, x - 100, y - 50)) << x << "," << y;
            }
            const TPixel p = Pixel(x, y);
            // The software renderer's blend may lose one step of alpha.
            EXPECT_NEAR(a, p.a, 1) << x << "," << y;
            EXPECT_NEAR(200 * a / 255, p.r, 2) << x << "," << y;
            EXPECT_NEAR(120 * a / 255, p.g, 2) << x << "," << y;
            EXPECT_NEAR(40 * a / 255, p.b, 2) << x << "," << y;
        }
    }

    // The revealed picture carries alpha: over red, only the revealed part changes.
    Clear(255, 0, 0);
    ir->Draw(1.0f);
    EXPECT_EQ((SDL_Rect{102, 52, 4, 3}), DrawnBox(255, 0, 0));

    // At scale 2 it is still drawn unscaled at the stored position.
    ir->mScaleX = ir->mScaleY = 2.0f;
    Clear(255, 0, 0);
    ir->Draw(1.0f);
    EXPECT_EQ((SDL_Rect{102, 52, 4, 3}), DrawnBox(255, 0, 0));
    ir->mScaleX = ir->mScaleY = 1.0f;

    // Nothing without the lens byte, when hidden, or after hook D clears the picture.
    ir->mLensActive = false;
    Clear(255, 0, 0);
    ir->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(255, 0, 0).w);
    ir->mLensActive = true;
    ir->SetVisible(false);
    ir->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(255, 0, 0).w);
    ir->SetVisible(true);
    ir->ClearLens();  // keeps the picture and its flag
    EXPECT_TRUE(ir->mAnythingRevealed);
    ir->ChildrenHookD(0);
    EXPECT_FALSE(ir->mAnythingRevealed);
    ir->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(255, 0, 0).w);

    // A lens over the fully transparent row alone reveals nothing.
    UnderLens(*ir, 102, 51, 4, 1, -2, -1, lens);
    EXPECT_FALSE(ir->mAnythingRevealed);
    ir->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(255, 0, 0).w);
    ir->FreeResources();
}

TEST_F(InfraredCanvasTest, RevealStaysInsideThePictures)
{
    // The element states 16 x 16 for an 8 x 8 picture; the lens starts 4 px above and left.
    auto ir = LoadObjectFrom<TInfraredObject>("<object name='own' x='100' y='50' w='16' h='16'/>", "ir/");
    ir->LoadResources();
    UnderLens(*ir, 96, 46, 16, 16, 4, 4, GetTexture("ir/clear"));
    ClearTransparent();
    ir->Draw(1.0f);
    EXPECT_EQ((SDL_Rect{100, 50, 8, 8}), DrawnBox(0, 0, 0));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(200, PictureAlpha(*ir, x, y)) << x << "," << y;
    ir->FreeResources();

    // A picture that does not exist: nothing to write into, nothing revealed or drawn.
    auto missing = LoadObjectFrom<TInfraredObject>("<object name='nothing' x='100' y='50' w='8' h='8'/>", "ir/");
    missing->LoadResources();
    EXPECT_FALSE(missing->mRevealed);
    EXPECT_FALSE(missing->mCheckOnlyBounds);
    UnderLens(*missing, 100, 50, 8, 8, 0, 0, GetTexture("ir/clear"));
    missing->Update(0.0f);
    EXPECT_FALSE(missing->mAnythingRevealed);
    Clear(255, 0, 0);
    missing->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(255, 0, 0).w);
    missing->FreeResources();
}

TEST_F(InfraredCanvasTest, OnlyItsFirstToolCatchesIt)
{
    TRecordedSoundCalls sounds;
    TCountingTool lamp("lamp", true), other("other", true), halfLamp("lamp", false);
    struct Case {
        const char* keys;
        TTool* tool;
        int x;
        bool answer;
    };
    const Case cases[] = {
        {"", nullptr, 110, false},
        {"", &other, 110, false},
        {"canbecatched='0'", &lamp, 110, false},
        {"", &lamp, 10, false},  // a miss
    };
    for (const Case& c : cases) {
        auto ir = LoadObjectFrom<TInfraredObject>(
            std::string("<object name='own' x='100' y='50' tool='lamp,other' findinfrared='found' ") + c.keys + "/>",
            "ir/");
        TListenerLog log;
        ir->SetListener(&log);
        ir->LoadResources();
        EXPECT_EQ(c.answer, ir->OnMouseDown(PressAt(c.x, 52, c.tool))) << c.keys;
        EXPECT_FALSE(ir->mCaught) << c.keys;
        EXPECT_TRUE(log.mCalls.empty()) << c.keys;
        EXPECT_EQ(-1, ir->mToolCounter);
        EXPECT_EQ(-1, ir->mClickCounter);
        ir->FreeResources();
    }

    auto ir = LoadObjectFrom<TInfraredObject>(
        "<object id='ir' name='own' x='100' y='50' tool='lamp,other' findinfrared='found'/>", "ir/");
    TListenerLog log;
    ir->SetListener(&log);
    ir->LoadResources();
    sounds.mCalls.clear();
    EXPECT_TRUE(ir->OnMouseDown(PressAt(104, 52, &lamp)));
    EXPECT_TRUE(ir->mCaught);
    EXPECT_EQ(0, ir->mToolCounter);
    EXPECT_EQ(1, lamp.mApplied);
    EXPECT_EQ((TCalls{"ToolUsed ir", "Post found", "Down ir"}), log.mCalls);
    for (const std::string& call : sounds.mCalls) EXPECT_EQ(std::string::npos, call.find("play")) << call;
    ir->FreeResources();

    // An incomplete tool of the right name catches too, counting no use.
    auto second = LoadObjectFrom<TInfraredObject>("<object name='own' x='100' y='50' tool='lamp'/>", "ir/");
    second->LoadResources();
    EXPECT_TRUE(second->OnMouseDown(PressAt(104, 52, &halfLamp)));
    EXPECT_TRUE(second->mCaught);
    EXPECT_EQ(-1, second->mToolCounter);
    EXPECT_EQ(0, halfLamp.mApplied);
    second->FreeResources();

    // Without a "tool" list nothing catches it.
    auto free = LoadObjectFrom<TInfraredObject>("<object name='own' x='100' y='50'/>", "ir/");
    free->LoadResources();
    EXPECT_FALSE(free->OnMouseDown(PressAt(104, 52, &lamp)));
    EXPECT_FALSE(free->mCaught);
    free->FreeResources();
}

TEST_F(InfraredCanvasTest, FleesFromTheHoveringToolOneFlightAtATime)
{
    TCountingTool lamp("lamp", true);
    bool hover = false;
    auto still = LoadObjectFrom<TInfraredObject>("<object name='own' x='500' y='300' w='50' h='50' tool='lamp'/>", "ir/");
    still->LoadResources();
    SeedRandom(5);
    EXPECT_TRUE(still->OnMouseMove(PressAt(510, 310, &lamp), hover));
    EXPECT_FALSE(still->mFlight.mActive);
    still->Update(1.0f);
    EXPECT_FLOAT_EQ(500.0f, still->mX);
    still->FreeResources();

    for (const char* keys : {"", "canbecatched='0'"}) {
        auto ir = LoadObjectFrom<TInfraredObject>(
            std::string("<object name='own' x='500' y='300' w='50' h='50' tool='lamp' speed='1' ") + keys + "/>",
            "ir/");
        NestChild(*ir, "<object id='child' x='520' y='310'/>");
        ir->LoadResources();
        hover = false;
        EXPECT_FALSE(ir->OnMouseMove(PressAt(510, 310), hover));  // no tool, no flight
        EXPECT_FALSE(ir->mFlight.mActive);

        SeedRandom(11);
        const TIntPoint target = TInfraredObject::PickFleePoint(500, 300, 50, 50);
        const int next = GameRand();
        SeedRandom(11);
        hover = false;
        EXPECT_TRUE(ir->OnMouseMove(PressAt(510, 310, &lamp), hover)) << keys;
        ASSERT_TRUE(ir->mFlight.mActive);
        const float dx = static_cast<float>(target.x - 500), dy = static_cast<float>(target.y - 300);
        EXPECT_NEAR(std::sqrt(dx * dx + dy * dy) * 0.002f, ir->mFlight.mDuration, 1e-5f);
        EXPECT_FLOAT_EQ(static_cast<float>(target.x), ir->mFlight.mToX);
        EXPECT_FLOAT_EQ(static_cast<float>(target.y), ir->mFlight.mToY);

        // A move during the flight draws nothing.
        hover = false;
        EXPECT_TRUE(ir->OnMouseMove(PressAt(510, 310, &lamp), hover));
        EXPECT_EQ(next, GameRand());

        for (int i = 0; i < 200 && ir->mFlight.mActive; ++i) ir->Update(1.0f / 64.0f);
        EXPECT_FALSE(ir->mFlight.mActive);
        EXPECT_FLOAT_EQ(static_cast<float>(target.x), ir->mX);
        EXPECT_FLOAT_EQ(static_cast<float>(target.y), ir->mY);
        EXPECT_FLOAT_EQ(static_cast<float>(target.x + 20), ir->mChildren[0]->mX);
        EXPECT_FLOAT_EQ(static_cast<float>(target.y + 10), ir->mChildren[0]->mY);

        // The next move picks again, from home's ranges.
        SeedRandom(3);
        hover = false;
        const int x = TruncToInt(ir->mX), y = TruncToInt(ir->mY);
        EXPECT_TRUE(ir->OnMouseMove(PressAt(x + 5, y + 5, &lamp), hover));
        EXPECT_TRUE(ir->mFlight.mActive);
        ir->FreeResources();
    }
}

TEST(InfraredState, CaughtByteFollowsTheChildrenAndSurvivesARoundTrip)
{
    const std::string xml = "<object id='ir' x='500' y='300'/>";
    auto ir = LoadObjectFrom<TInfraredObject>(xml);
    NestChild(*ir, "<object id='c'/>");
    auto plain = LoadObjectFrom<TObject>(xml);
    NestChild(*plain, "<object id='c'/>");
    TBaseBuffer plainRecord;
    plain->SaveState(plainRecord);

    ir->mCaught = true;
    ir->SetPosition(700, 100, true);
    TBaseBuffer record;
    ir->SaveState(record);
    ASSERT_EQ(plainRecord.Size() + 1, record.Size());
    EXPECT_EQ(1, record.Bytes().back());

    auto back = LoadObjectFrom<TInfraredObject>(xml);
    NestChild(*back, "<object id='c'/>");
    back->LoadState(record);
    EXPECT_TRUE(back->mCaught);
    EXPECT_FLOAT_EQ(500.0f, back->mX);  // not movable: the element's position
}

namespace {

// A parent without size and its parts: A takes the hammer, B the key, C no tool.
struct TMultyToolScene {
    explicit TMultyToolScene(const std::string& keys, bool withParts = true)
    {
        object = LoadObjectFrom<TMultyToolObject>("<object id='mt' " + keys + "/>");
        if (withParts) {
            a = NestChild(*object, "<object id='A' x='100' y='100' w='50' h='50' tool='hammer' cob='1'/>");
            b = NestChild(*object, "<object id='B' x='300' y='120' w='20' h='20' tool='key' cob='1'/>");
            c = NestChild(*object, "<object id='C' x='100' y='100' w='5' h='5' cob='1'/>");
        }
        object->SetListener(&log);
    }
    std::unique_ptr<TMultyToolObject> object;
    TObject* a = nullptr;
    TObject* b = nullptr;
    TObject* c = nullptr;
    TListenerLog log;
};

}  // namespace

TEST(MultyToolObject, HandsEachToolToThePartThatNeedsIt)
{
    TCountingTool hammer("hammer", true), key("key", true), saw("saw", true);
    TMultyToolScene scene("");
    EXPECT_TRUE(scene.object->HasToolUse());
    EXPECT_TRUE(scene.object->AcceptsTool(&hammer));
    EXPECT_TRUE(scene.object->AcceptsTool(&key));
    EXPECT_FALSE(scene.object->AcceptsTool(&saw));

    EXPECT_TRUE(scene.object->OnMouseDown(PressAt(120, 120, &hammer)));
    EXPECT_EQ(0, scene.a->mToolCounter);
    EXPECT_TRUE(scene.a->mToolApplied);
    EXPECT_EQ(1, hammer.mApplied);
    EXPECT_FALSE(scene.object->mAllPartsDone);

    scene.log.mCalls.clear();
    EXPECT_TRUE(scene.object->OnMouseDown(PressAt(305, 125, &key)));
    EXPECT_TRUE(scene.object->mAllPartsDone);
    EXPECT_EQ((TCalls{"ToolUsed B", "ToolUsed mt"}), scene.log.mCalls);
    EXPECT_EQ(2, key.mApplied);  // the last part's press counts for the object too
    EXPECT_FALSE(scene.object->OnMouseDown(PressAt(305, 125, &key)));
    EXPECT_FALSE(scene.object->OnMouseDown(PressAt(120, 120)));

    // In order: the key waits until A has had its hammer.
    TMultyToolScene ordered("keeporder='1'");
    EXPECT_FALSE(ordered.object->AcceptsTool(&key));
    EXPECT_TRUE(ordered.object->AcceptsTool(&hammer));
    ordered.object->OnMouseDown(PressAt(120, 120, &hammer));
    EXPECT_TRUE(ordered.object->AcceptsTool(&key));

    // With check coordinates the key goes only to a part under the pointer.
    TMultyToolScene checked("checkcoords='1'");
    const int appliedBefore = key.mApplied;
    EXPECT_TRUE(checked.object->OnMouseDown(PressAt(120, 120, &key)));
    EXPECT_FALSE(checked.b->mToolApplied);
    EXPECT_EQ(appliedBefore, key.mApplied);
    EXPECT_TRUE(checked.object->OnMouseDown(PressAt(305, 125, &key)));
    EXPECT_TRUE(checked.b->mToolApplied);

    // An accepted but incomplete tool is a wrong one.
    TCountingTool halfKey("key", false);
    TMultyToolScene partial("");
    EXPECT_TRUE(partial.object->OnMouseDown(PressAt(305, 125, &halfKey)));
    EXPECT_TRUE(partial.object->mWrongToolPressed);
    EXPECT_FALSE(partial.b->mToolApplied);
}

TEST(MultyToolObject, GroupsPassPressesOnAndNeverReachTheGoal)
{
    TCountingTool hammer("hammer", true), key("key", true);
    TMultyToolScene group("group='1'");
    EXPECT_TRUE(group.object->OnMouseDown(PressAt(102, 102)));
    // C lies over A and is asked first (last to first); A never hears the press.
    EXPECT_EQ((TCalls{"Activated mt", "Activated C", "Down C"}), group.log.mCalls);
    group.object->OnMouseDown(PressAt(120, 120, &hammer));
    group.object->OnMouseDown(PressAt(305, 125, &key));
    EXPECT_TRUE(group.a->mToolApplied);
    EXPECT_TRUE(group.b->mToolApplied);
    EXPECT_FALSE(group.object->IsGoalReached());
    EXPECT_FALSE(group.object->mAllPartsDone);
    EXPECT_TRUE(group.object->OnMouseDown(PressAt(305, 125, &key)));
}

TEST(MultyToolObject, RefusedToolsHandOutTheUseMessage)
{
    TCountingTool saw("saw", true), key("key", true);
    TMultyToolScene scene("");
    scene.object->mUseMessages = {"m0"};
    EXPECT_TRUE(scene.object->OnMouseDown(PressAt(120, 120, &saw)));
    EXPECT_TRUE(scene.object->mWrongToolPressed);
    EXPECT_EQ((TCalls{"Message m0 mt"}), scene.log.mCalls);
    scene.object->mToolCounter = 0;
    scene.log.mCalls.clear();
    scene.object->OnMouseDown(PressAt(120, 120, &saw));
    EXPECT_TRUE(scene.log.mCalls.empty());

    // Without parts the object's own tool reaches the goal at its first use.
    TMultyToolScene alone("x='0' y='0' w='10' h='10' cob='1' tool='key'", false);
    EXPECT_TRUE(alone.object->OnMouseDown(PressAt(5, 5, &key)));
    EXPECT_TRUE(alone.object->mAllPartsDone);
    EXPECT_EQ(0, alone.object->mToolCounter);
    EXPECT_EQ(1, key.mApplied);
    EXPECT_FALSE(alone.object->OnMouseDown(PressAt(5, 5, &key)));
}

TEST(MultyToolObject, ClicksHandOutTheirToolRecords)
{
    struct Case {
        const char* keys;
        TCalls calls;
        size_t given;
        bool visible;
    };
    const Case cases[] = {
        {"tools='knife'", {"Activated mt"}, 1, false},
        {"tools='knife,false'", {"RunCommands 1 0.100000", "Activated mt"}, 1, false},
        {"", {"Activated mt"}, 0, true},
        {"hideonclick='1'", {"Activated mt"}, 0, false},
    };
    for (const Case& c : cases) {
        TMultyToolScene scene(std::string("x='0' y='0' w='10' h='10' cob='1' ") + c.keys, false);
        const size_t before = GivenToolRecords().size();
        EXPECT_TRUE(scene.object->OnMouseDown(PressAt(5, 5)));
        EXPECT_EQ(c.calls, scene.log.mCalls) << c.keys;
        EXPECT_EQ(before + c.given, GivenToolRecords().size()) << c.keys;
        EXPECT_EQ(c.visible, scene.object->IsVisible()) << c.keys;
        EXPECT_EQ(c.given == 1, scene.object->IsLocked()) << c.keys;
        if (c.given == 1) {
            EXPECT_FALSE(scene.object->mToolRecords[0].mUsed) << c.keys;
        }
    }
}

TEST(MultyToolObject, RectangleAndRecord)
{
    float x, y, w, h;
    TMultyToolScene parts("");
    parts.object->GetRect(&x, &y, &w, &h);
    EXPECT_EQ((std::vector<float>{100, 100, 220, 50}), (std::vector<float>{x, y, w, h}));
    TMultyToolScene sized("x='5' y='6' w='30' h='40' drawtype='1'");
    sized.object->GetRect(&x, &y, &w, &h);
    EXPECT_EQ((std::vector<float>{5, 6, 30, 40}), (std::vector<float>{x, y, w, h}));
    TMultyToolScene none("", false);
    none.object->GetRect(&x, &y, &w, &h);
    EXPECT_EQ((std::vector<float>{0, 0, 0, 0}), (std::vector<float>{x, y, w, h}));

    TCountingTool hammer("hammer", true), key("key", true);
    TMultyToolScene scene("");
    scene.object->OnMouseDown(PressAt(120, 120, &hammer));
    scene.object->OnMouseDown(PressAt(305, 125, &key));
    TBaseBuffer record;
    scene.object->SaveState(record);
    EXPECT_EQ(1, record.Bytes().back());
    TMultyToolScene back("");
    back.object->LoadState(record);
    EXPECT_TRUE(back.object->mAllPartsDone);
    EXPECT_TRUE(back.a->mToolApplied);
    EXPECT_TRUE(back.b->mToolApplied);
    EXPECT_FALSE(back.object->mGoalReached);  // the plain record's goal byte stays 0

    back.object->mGroup = back.object->mCheckCoords = back.object->mKeepOrder = true;
    back.object->ResetBehaviour();
    EXPECT_FALSE(back.object->mAllPartsDone);
    EXPECT_FALSE(back.object->mGroup);
    EXPECT_FALSE(back.object->mCheckCoords);
    EXPECT_TRUE(back.object->mKeepOrder);
}

// Without an inventory panel the room clears the lens every frame and leaves the object be.
TEST_F(InfraredCanvasTest, RoomWithoutInventoryClearsTheLensAndNeverUpdatesIt)
{
    TRoom room;
    auto owned = LoadObjectFrom<TInfraredObject>("<object name='own' x='100' y='50' speed='1'/>", "ir/", &room);
    TInfraredObject* ir = owned.get();
    room.mObjects.push_back(std::move(owned));
    ir->LoadResources();
    UnderLens(*ir, 100, 50, 4, 4, 0, 0, GetTexture("ir/clear"));
    ASSERT_TRUE(ir->mAnythingRevealed);
    ir->mFlight.StartSegment(100, 50, 300, 50, 1.0f, 0.0f, 0, false);
    room.Update(0.5f);
    EXPECT_FALSE(ir->mLensActive);
    EXPECT_FALSE(ir->mLens);
    EXPECT_EQ(0, ir->mLensOffsetX);
    EXPECT_FLOAT_EQ(100.0f, ir->mX);  // not updated: the flight waits
    EXPECT_TRUE(ir->mAnythingRevealed);
    ir->FreeResources();
}
