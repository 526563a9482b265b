// Movie objects on a software canvas with the real test movies: starting and sizing, passes
// and loops, activation limits, interface and timed events, the end of playback with its
// clicks and replay, hits on the frame's alpha, drawing, and the saved record; the ghost seen
// through the lens, fleeing and caught; the wrapper that reacts to the end of its movie.
#include "objects/movie_objects.h"
#include "objects/scene_press.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/random.h"
#include "graphics/texture_cache.h"
#include "objects/infrared_objects.h"
#include "objects/object_scene_fixture.h"
#include "rooms/executer.h"
#include "rooms/game_event.h"
#include "rooms/game_space.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/scene_probe.h"
#include "rooms/tool.h"
#include "test_support.h"

namespace {

// What a movie and its object tell their listeners, in order.
class TMovieCalls : public TVideoObjectListener, public TObjectListener {
public:
    void OnPlaybackFinished() override { mCalls.push_back("playback finished"); }
    void OnVideoFinished(int loopsDone) override { mCalls.push_back("video finished " + std::to_string(loopsDone)); }
    bool OnObjectActivated(TObject* /*object*/) override
    {
        mCalls.push_back("activated");
        return false;
    }
    void ActivateObjects(const TObjectRefGroup* /*group*/) override { mCalls.push_back("group"); }
    bool PostObjectEventRecord(const TFlagRef& record, TObject* /*object*/) override
    {
        mCalls.push_back("flag " + record.mName);
        return false;
    }
    std::vector<std::string> mCalls;
};

class TClickCounter : public TExecuter {
public:
    bool OnClick(TObject* /*object*/, const TSceneMouseEvent& /*event*/) override
    {
        ++mClicks;
        return false;
    }
    int mClicks = 0;
};

class MovieTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        for (const char* name : {"tiny.ogv", "trunc.ogv"})
            WriteWholeFile(AssetPath(std::string("scene/") + name),
                           ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/movies/" + name));
        for (const char* name : {"mosaicspin.ogv", "glowalpha.ogv"})
            WriteWholeFile(AssetPath(std::string("scene/") + name),
                           ReadWholeFile(std::string(BRISALO_ASSETS) + "/textures/movies/" + name));
    }
    void TearDown() override
    {
        ClearGameEvents();
        SceneCanvasTest::TearDown();
    }

    template <class Kind = TVideoObject>
    std::unique_ptr<Kind> Movie(const std::string& attributes)
    {
        auto movie = LoadObjectFrom<Kind>("<object id=\"m\" " + attributes + "/>");
        movie->mMovieListener = &mHeard;
        movie->SetListener(&mHeard);
        return movie;
    }

    std::vector<std::string> Events(size_t from = 0) const
    {
        std::vector<std::string> events;
        for (size_t i = from; i < mTrace.size(); ++i)
            if (mTrace[i].rfind("event ", 0) == 0) events.push_back(mTrace[i].substr(6));
        return events;
    }

    // Updates until the movie is no longer active, at most the limit; the count.
    static int PlayToEnd(TVideoObject& movie, float dt, int limit = 1000)
    {
        int updates = 0;
        while (movie.IsActive() && updates < limit) {
            movie.Update(dt);
            ++updates;
        }
        return updates;
    }

    // Which of tiny.ogv's frames is drawn at (x0, y0): frame i puts its white square at 2i on the
    // diagonal; frame 0 has none.
    int TinyFrameAt(int x0, int y0)
    {
        for (int d = 0; d < 24; ++d)
            if (Pixel(x0 + d, y0 + d).r > 200) return (d + 1) / 2;
        return 0;
    }

    TTrace mTrace;
    TTraceRecorders mRecorders{&mTrace};
    TMovieCalls mHeard;
};

TEST_F(MovieTest, ResourcesOpenTheMovieAndShowTheFirstFrameOnlyOnceActive)
{
    auto tiny = Movie("name=\"tiny.ogv\" x=\"10\" y=\"20\"");
    tiny->LoadResources();
    EXPECT_EQ(tiny->mWidth, 32.0f);
    EXPECT_EQ(tiny->mHeight, 32.0f);
    ASSERT_TRUE(tiny->GetMovieTexture());
    ASSERT_NE(tiny->GetDecoder(), nullptr);
    EXPECT_TRUE(tiny->GetDecoder()->IsUploaded());
    EXPECT_FALSE(tiny->mFinished);
    tiny->Draw(1.0f);
    ExpectPixel(20, 30, 0, 0, 0);
    tiny->Activate(0, 0, 0);
    tiny->Draw(1.0f);
    ExpectPixel(20, 30, 128, 128, 128, 8);  // frame 0 is flat grey

    auto ring = Movie("name=\"glowalpha.ogv\" withalpha=\"1\"");
    ring->LoadResources();
    EXPECT_EQ(ring->mWidth, 128.0f);
    EXPECT_EQ(ring->mHeight, 128.0f);
    EXPECT_EQ(ring->GetMovieTexture()->GetWidth(), 128);

    tiny->FreeResources();
    EXPECT_EQ(tiny->GetDecoder(), nullptr);
    EXPECT_FALSE(tiny->GetMovieTexture());
}

TEST_F(MovieTest, AMissingMovieStaysInertButActive)
{
    auto movie = Movie("name=\"none.ogv\" checkcoords=\"1\"");
    movie->LoadResources();
    movie->Activate(0, 0, 0);
    EXPECT_FALSE(movie->GetMovieTexture());
    const size_t before = mTrace.size();
    for (int i = 0; i < 30; ++i) movie->Update(0.05f);
    EXPECT_TRUE(movie->IsActive());
    EXPECT_EQ(mTrace.size(), before);
    EXPECT_EQ(movie->mClock, 0.0f);
    movie->Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0).w, 0);
    EXPECT_FALSE(movie->HitTestSelf(5, 5));
}

TEST_F(MovieTest, APlayedMovieWithoutLoadIfPlayedLoadsNothing)
{
    auto movie = Movie("name=\"tiny.ogv\" loadifplayed=\"0\"");
    movie->mPlayed = true;
    movie->LoadResources();
    EXPECT_EQ(movie->GetDecoder(), nullptr);
    EXPECT_FALSE(movie->GetMovieTexture());
}

// tiny.ogv holds eight frames at 25 per second: one pass is eight decodes of 0.04 s.
TEST_F(MovieTest, LoopCountsPlayTheDataAsOftenAsAsked)
{
    struct Case {
        const char* loop;
        int passes;
    };
    for (const Case& c : {Case{"1", 1}, Case{"0", 1}, Case{"2", 2}}) {
        SCOPED_TRACE(c.loop);
        mHeard.mCalls.clear();
        auto movie = Movie(std::string("name=\"tiny.ogv\" loop=\"") + c.loop + "\"");
        movie->LoadResources();
        movie->Activate(0, 0, 0);
        bool rewound = false;
        for (int i = 0; i < 12; ++i) {
            movie->Update(0.04f);
            // Right after a rewind the clock starts the pass again.
            if (c.passes == 2 && movie->GetDecoder() && movie->GetDecoder()->GetLoopsDone() == 1 && !rewound) {
                rewound = true;
                EXPECT_EQ(movie->mClock, 0.0f);
            }
        }
        EXPECT_EQ(c.passes == 2, rewound);
        PlayToEnd(*movie, 0.04f);
        EXPECT_TRUE(movie->mFinished);
        EXPECT_TRUE(movie->mPlayed);
        EXPECT_EQ(movie->GetDecoder(), nullptr);
        std::vector<std::string> expected;
        for (int pass = 1; pass <= c.passes; ++pass) expected.push_back("video finished " + std::to_string(pass));
        expected.push_back("playback finished");
        expected.push_back("activated");
        EXPECT_EQ(mHeard.mCalls, expected);
    }

    auto endless = Movie("name=\"tiny.ogv\" loop=\"-1\"");
    endless->LoadResources();
    endless->Activate(0, 0, 0);
    for (int i = 0; i < 5 * 9; ++i) endless->Update(0.04f);
    EXPECT_TRUE(endless->IsActive());
    ASSERT_NE(endless->GetDecoder(), nullptr);
    EXPECT_GE(endless->GetDecoder()->GetLoopsDone(), 5);
    EXPECT_TRUE(endless->GetDecoder()->IsPlaying());
}

TEST_F(MovieTest, AnFpsOverrideDecodesAtItsOwnRateAndSkipsToTheClock)
{
    auto movie = Movie("name=\"tiny.ogv\" fps=\"10\" x=\"100\" y=\"100\"");
    movie->LoadResources();
    movie->Activate(0, 0, 0);
    const int first = movie->GetDecoder()->GetFramesDecoded();
    std::vector<int> decodedAt;
    for (int i = 1; i <= 12; ++i) {
        const int before = movie->GetDecoder()->GetFramesDecoded();
        movie->Update(1.0f / 60);
        if (movie->GetDecoder()->GetFramesDecoded() != before) decodedAt.push_back(i);
        if (i == 6) {
            Clear(0, 0, 0);
            movie->Draw(1.0f);
            EXPECT_EQ(TinyFrameAt(100, 100), 2);
        }
    }
    EXPECT_EQ(decodedAt, (std::vector<int>{6, 12}));
    EXPECT_GT(movie->GetDecoder()->GetFramesDecoded(), first + 2);  // frames before the clock were skipped
}

TEST_F(MovieTest, MaxCountActiveAllowsOneStartMoreThanItSays)
{
    struct Case {
        const char* max;
        int starts;
    };
    for (const Case& c : {Case{"0", 1}, Case{"1", 2}, Case{"-1", 4}}) {
        SCOPED_TRACE(c.max);
        auto movie = Movie(std::string("name=\"tiny.ogv\" maxcountactive=\"") + c.max + "\"");
        int starts = 0;
        for (int round = 0; round < 4; ++round) {
            movie->Activate(0, 0, 0);
            EXPECT_TRUE(movie->IsActive());
            if (movie->GetDecoder()) ++starts;
            PlayToEnd(*movie, 0.04f, 20);
            movie->mActive = false;
        }
        EXPECT_EQ(starts, c.starts);
    }
}

TEST_F(MovieTest, InterfaceEventsFrameThePlayback)
{
    auto movie = Movie("name=\"tiny.ogv\" hideinterf=\"1\" locklocation=\"1\"");
    movie->LoadResources();
    movie->Activate(0, 0, 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"hideinterf 0 ", "locklocation 0 ", "showframe 0 "}));
    const size_t started = mTrace.size();
    movie->Update(0.04f);
    EXPECT_EQ(Events(started), (std::vector<std::string>{"locklocation 0 "}));
    PlayToEnd(*movie, 0.04f);
    std::vector<std::string> tail = Events(started);
    ASSERT_GE(tail.size(), 3u);
    tail.erase(tail.begin(), tail.end() - 4);
    EXPECT_EQ(tail, (std::vector<std::string>{"locklocation 0 ", "showinterf 0 ", "unlocklocation 0 ", "hideframe 0 "}));
    EXPECT_EQ(PendingGameEventCount(), 0u);

    mTrace.clear();
    auto plain = Movie("name=\"tiny.ogv\"");
    plain->LoadResources();
    plain->Activate(0, 0, 0);
    PlayToEnd(*plain, 0.04f);
    EXPECT_EQ(Events(), (std::vector<std::string>{"hideframe 0 "}));
}

TEST_F(MovieTest, TimedListsPostOneEntryPerUpdateOnceTheClockReachesIt)
{
    auto movie = Movie("name=\"mosaicspin.ogv\" sounds=\"a,0.5;b,0.5\" monologs=\"x;m,0.2\"");
    ASSERT_EQ(movie->mMonologs.size(), 2u);
    EXPECT_EQ(movie->mMonologs[0].mName, "");
    EXPECT_EQ(movie->mMonologs[0].mTime, 0.0f);
    movie->LoadResources();
    movie->Activate(0, 0, 0);
    std::vector<std::string> seen;
    for (int i = 1; i <= 7; ++i) {
        const size_t from = mTrace.size();
        movie->Update(0.1f);
        for (const std::string& e : Events(from)) seen.push_back(std::to_string(i) + " " + e);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1 videomonolog 0 ", "2 videomonolog 0 m", "5 play_sound 0 a",
                                              "6 play_sound 0 b"}));
}

TEST_F(MovieTest, EachPlaybackUsesTwoClicks)
{
    struct Case {
        const char* maxClicks;
        int runs;
    };
    for (const Case& c : {Case{"2", 1}, Case{"3", 2}, Case{"5", 3}}) {
        SCOPED_TRACE(c.maxClicks);
        mHeard.mCalls.clear();
        auto movie = Movie(std::string("name=\"tiny.ogv\" aae=\"other\" maxclicks=\"") + c.maxClicks + "\"");
        movie->mMovieListener = nullptr;
        TClickCounter executer;
        movie->mClickExecuter = &executer;
        for (int round = 0; round < 3; ++round) {
            movie->Activate(0, 0, 0);
            PlayToEnd(*movie, 0.04f, 20);
        }
        std::vector<std::string> expected;
        for (int i = 0; i < c.runs; ++i) expected.insert(expected.end(), {"group", "activated"});
        EXPECT_EQ(mHeard.mCalls, expected);
        EXPECT_EQ(executer.mClicks, c.runs);
        EXPECT_EQ(movie->mClickCounter, -1 + 2 * c.runs);
        // With no click left the movie stays active, without a decoder, and draws nothing.
        EXPECT_EQ(movie->IsActive(), c.runs < 3);
        if (c.runs < 3) {
            EXPECT_EQ(movie->GetDecoder(), nullptr);
        }
    }
}

TEST_F(MovieTest, ARepeatTimeReplaysAfterItsPause)
{
    auto movie = Movie("name=\"tiny.ogv\" repeattime=\"1\"");
    movie->Activate(0, 0, 0);
    PlayToEnd(*movie, 0.04f);
    ASSERT_TRUE(movie->mPlayed);
    int updates = 0;
    while (!movie->IsActive() && updates < 100) {
        movie->Update(0.05f);
        ++updates;
    }
    // The first update starts the timer and already counts: 20 steps of 0.05 s, give or take
    // the float sum.
    EXPECT_GE(updates, 20);
    EXPECT_LE(updates, 21);
    EXPECT_EQ(movie->mActivations, 2);
    EXPECT_NE(movie->GetDecoder(), nullptr);

    SeedRandom(7);
    const float delay = 1.0f + RandomFloat(-0.5f, 0.5f);
    SeedRandom(7);
    auto spread = Movie("name=\"tiny.ogv\" repeattime=\"1\" repeatrand=\"0.5\"");
    spread->Activate(0, 0, 0);
    PlayToEnd(*spread, 0.04f);
    spread->Update(0.0f);
    EXPECT_FLOAT_EQ(spread->mRepeatTimer.mDuration, delay);
}

// glowalpha's first frame: a ring of radius 36 round (64, 64), its core 5 px either side.
TEST_F(MovieTest, HitsFollowTheFrameAlphaOnlyWhenTestalphaIsGiven)
{
    auto anywhere = Movie("name=\"glowalpha.ogv\" withalpha=\"1\" checkcoords=\"1\" x=\"100\" y=\"50\"");
    anywhere->LoadResources();
    EXPECT_EQ(anywhere->mAlphaThreshold, 0);
    EXPECT_TRUE(anywhere->HitTestSelf(100, 50));
    EXPECT_TRUE(anywhere->HitTestSelf(227, 177));
    EXPECT_FALSE(anywhere->HitTestSelf(228, 50));

    auto alpha = Movie("name=\"glowalpha.ogv\" withalpha=\"1\" testalpha=\"10\" x=\"100\" y=\"50\"");
    alpha->LoadResources();
    EXPECT_TRUE(alpha->mCheckCoords);
    EXPECT_EQ(alpha->mAlphaThreshold, 25);
    EXPECT_TRUE(alpha->HitTestSelf(100 + 64 + 36, 50 + 64));
    EXPECT_FALSE(alpha->HitTestSelf(101, 51));
    EXPECT_FALSE(alpha->HitTestSelf(164, 114));  // the ring's hole

    auto stretched =
        Movie("name=\"glowalpha.ogv\" withalpha=\"1\" testalpha=\"10\" stretch=\"1\" w=\"256\" h=\"256\" active=\"1\"");
    stretched->LoadResources();
    EXPECT_TRUE(stretched->HitTestSelf(2 * (64 + 36), 2 * 64));
    EXPECT_FALSE(stretched->HitTestSelf(2 * 64, 2 * 64));
    Clear(255, 0, 0);
    stretched->Draw(1.0f);
    const SDL_Rect box = DrawnBox(255, 0, 0);
    EXPECT_GT(box.w, 150);
    EXPECT_LE(box.x + box.w, 256);
}

TEST_F(MovieTest, TheRingDrawsOverTheSceneWithItsAlpha)
{
    auto ring = Movie("name=\"glowalpha.ogv\" withalpha=\"1\" x=\"100\" y=\"50\" active=\"1\"");
    ring->LoadResources();
    Clear(255, 0, 0);
    ring->Draw(1.0f);
    ExpectPixel(100, 50, 255, 0, 0);
    ExpectPixel(227, 177, 255, 0, 0);
    const TPixel core = Pixel(100 + 64 + 36, 50 + 64);
    EXPECT_LT(core.r, 200);

    // Hidden or inactive, nothing; the letterbox moves it.
    for (int step = 0; step < 2; ++step) {
        Clear(255, 0, 0);
        ring->SetVisible(step != 0);
        ring->mActive = step != 1;
        ring->Draw(1.0f);
        EXPECT_EQ(DrawnBox(255, 0, 0).w, 0) << step;
    }
    ring->mActive = true;
    GetAppState().mOffsetX = 30;
    GetAppState().mOffsetY = 7;
    Clear(255, 0, 0);
    ring->Draw(1.0f);
    const SDL_Rect moved = DrawnBox(255, 0, 0);
    Clear(255, 0, 0);
    GetAppState().mOffsetX = GetAppState().mOffsetY = 0;
    ring->Draw(1.0f);
    const SDL_Rect home = DrawnBox(255, 0, 0);
    EXPECT_EQ(moved.x, home.x + 30);
    EXPECT_EQ(moved.y, home.y + 7);
}

TEST_F(MovieTest, TheRecordRoundTripsEveryField)
{
    auto movie = Movie("name=\"tiny.ogv\" repeattime=\"2\" sounds=\"a,0\"");
    movie->mReservedFlag = true;
    movie->mFinished = false;
    movie->mPlayed = true;
    movie->mActivations = 3;
    movie->mMonologIndex = -2;
    movie->mSoundIndex = 1;
    movie->mClock = 0.25f;
    movie->mFrameAccumulator = 0.015f;
    movie->mFrameTime = 0.04f;
    movie->mRepeatTimer.Set(0.0f, 1.0f, 2.0f, true);
    movie->mRepeatTimer.Update(0.5f);
    TBaseBuffer buffer;
    movie->SaveState(buffer);

    auto back = Movie("name=\"tiny.ogv\" repeattime=\"2\" sounds=\"a,0\"");
    back->LoadState(buffer);
    EXPECT_TRUE(buffer.ReadAtEnd());
    EXPECT_TRUE(back->mReservedFlag);
    EXPECT_FALSE(back->mFinished);
    EXPECT_TRUE(back->mPlayed);
    EXPECT_EQ(back->mActivations, 3);
    EXPECT_EQ(back->mMonologIndex, -2);
    EXPECT_EQ(back->mSoundIndex, 1);
    EXPECT_FLOAT_EQ(back->mClock, 0.25f);
    EXPECT_FLOAT_EQ(back->mFrameAccumulator, 0.015f);
    EXPECT_FLOAT_EQ(back->mFrameTime, 0.04f);
    EXPECT_TRUE(back->mRepeatTimer.mRunning);
    EXPECT_FLOAT_EQ(back->mRepeatTimer.mElapsed, 0.5f);
    TBaseBuffer again;
    back->SaveState(again);
    EXPECT_EQ(Bytes(again), Bytes(buffer));

    // A count beyond its 16 bits is kept at the limit, not wrapped to a negative one.
    back->mActivations = 40000;
    TBaseBuffer large;
    back->SaveState(large);
    auto third = Movie("name=\"tiny.ogv\" repeattime=\"2\" sounds=\"a,0\"");
    third->LoadState(large);
    EXPECT_EQ(third->mActivations, 32767);
}

TEST_F(MovieTest, AReloadedMovieSkipsToItsSavedClock)
{
    auto movie = Movie("name=\"tiny.ogv\" x=\"50\" y=\"50\"");
    movie->LoadResources();
    movie->Activate(0, 0, 0);
    for (int i = 0; i < 5; ++i) movie->Update(0.04f);
    TBaseBuffer buffer;
    movie->SaveState(buffer);
    movie.reset();

    auto fresh = Movie("name=\"tiny.ogv\" x=\"50\" y=\"50\"");
    fresh->LoadResources();
    fresh->LoadState(buffer);
    EXPECT_TRUE(fresh->IsActive());
    fresh->Update(0.04f);
    Clear(0, 0, 0);
    fresh->Draw(1.0f);
    EXPECT_GE(TinyFrameAt(50, 50), 4);
}

TEST_F(MovieTest, ARecordCutShortPostsNothingFromOutsideTheLists)
{
    auto movie = Movie("name=\"tiny.ogv\" sounds=\"a,0\" monologs=\"b,0\"");
    TBaseBuffer full;
    movie->mSoundIndex = 7;
    movie->mMonologIndex = -1;
    movie->mActive = true;
    movie->SaveState(full);
    for (size_t keep : {size_t(0), full.Size() - 40, full.Size()}) {
        SCOPED_TRACE(keep);
        TBaseBuffer cut;
        for (size_t i = 0; i < keep; ++i) cut.WriteByte(full.Bytes()[i]);
        auto back = Movie("name=\"tiny.ogv\" sounds=\"a,0\" monologs=\"b,0\"");
        back->LoadResources();
        back->LoadState(cut);
        mTrace.clear();
        if (keep == full.Size()) back->Update(0.04f);
        for (const std::string& e : Events()) EXPECT_EQ(e.find("play_sound"), std::string::npos) << e;
        for (const std::string& e : Events()) EXPECT_EQ(e.find("videomonolog"), std::string::npos) << e;
        for (int i = 0; i < 10; ++i) back->Update(0.04f);
    }
}

// ---- The ghost.

class TCatcherTool : public TTool {
public:
    explicit TCatcherTool(const std::string& id) { mId = id; }
};

class GhostTest : public MovieTest {
protected:
    std::unique_ptr<TGhostObject> Ghost(const std::string& more = std::string())
    {
        auto ghost = Movie<TGhostObject>("type=\"ghost\" name=\"glowalpha.ogv\" withalpha=\"1\" checkcoords=\"1\" "
                                         "tool=\"catcher,net\" x=\"400\" y=\"300\" " + more);
        ghost->mMovieListener = nullptr;
        return ghost;
    }
    TCatcherTool mCatcher{"catcher"};
    TCatcherTool mNet{"net"};
};

TEST_F(GhostTest, KeysAreForcedAfterTheElement)
{
    auto ghost = Ghost("tflags=\"other;more\" holdtoolafteruse=\"0\" soundtool=\"clank\"");
    ASSERT_EQ(ghost->mToolFlags.size(), 1u);
    ASSERT_EQ(ghost->mToolFlags[0].size(), 1u);
    EXPECT_EQ(ghost->mToolFlags[0][0].mName, "findghost");
    EXPECT_EQ(ghost->mHoldToolAfterUse, 1);
    EXPECT_EQ(ghost->mSoundTool, "");
    EXPECT_EQ(ghost->mHomeX, 400);
    EXPECT_EQ(ghost->mHomeY, 300);
}

TEST_F(GhostTest, OnlyTheFirstToolOfItsListReachesIt)
{
    auto ghost = Ghost();
    ghost->LoadResources();
    bool taken = false;
    EXPECT_FALSE(ghost->OnMouseMove(PressAt(410, 310, nullptr, 0), taken));
    EXPECT_FALSE(ghost->OnMouseMove(PressAt(410, 310, &mNet, 0), taken));
    EXPECT_TRUE(ghost->OnMouseMove(PressAt(410, 310, &mCatcher, 0), taken));
    EXPECT_FALSE(ghost->OnMouseDown(PressAt(410, 310, nullptr, 0)));
    EXPECT_FALSE(ghost->OnMouseDown(PressAt(410, 310, &mNet, 0)));
    EXPECT_FALSE(ghost->IsCaught());

    auto toolless = Movie<TGhostObject>("type=\"ghost\" name=\"glowalpha.ogv\" checkcoords=\"1\"");
    taken = false;
    EXPECT_FALSE(toolless->OnMouseMove(PressAt(5, 5, &mCatcher, 0), taken));
}

TEST_F(GhostTest, AMoveWithTheCatcherStartsOneFlightToASeededPoint)
{
    auto ghost = Ghost();
    ghost->LoadResources();
    SeedRandom(11);
    const TIntPoint to = TInfraredObject::PickFleePoint(400, 300, 128, 128);
    SeedRandom(11);
    bool taken = false;
    ASSERT_TRUE(ghost->OnMouseMove(PressAt(410, 310, &mCatcher, 0), taken));
    ASSERT_TRUE(ghost->IsFleeing());
    EXPECT_EQ(ghost->mFlee.mToX, static_cast<float>(to.x));
    EXPECT_EQ(ghost->mFlee.mToY, static_cast<float>(to.y));
    const float dx = static_cast<float>(to.x - 400), dy = static_cast<float>(to.y - 300);
    EXPECT_FLOAT_EQ(ghost->mFlee.mDuration, std::sqrt(dx * dx + dy * dy) * 0.002f);
    // A move during the flight starts none.
    taken = false;
    EXPECT_TRUE(ghost->OnMouseMove(PressAt(410, 310, &mCatcher, 0), taken));
    EXPECT_EQ(ghost->mFlee.mToX, static_cast<float>(to.x));
    for (int i = 0; i < 200 && ghost->IsFleeing(); ++i) ghost->Update(0.01f);
    EXPECT_EQ(ghost->mX, static_cast<float>(to.x));
    EXPECT_EQ(ghost->mY, static_cast<float>(to.y));
    // The registry's speed factor divides the flight time; a factor of 0 counts as 1.
    TSpacesRegistry registry;
    GetAppState().mSpacesRegistry = &registry;
    for (float factor : {2.0f, 0.0f}) {
        SCOPED_TRACE(factor);
        registry.mGhostSpeed = factor;
        auto fast = Ghost();
        fast->LoadResources();
        SeedRandom(11);
        taken = false;
        EXPECT_TRUE(fast->OnMouseMove(PressAt(410, 310, &mCatcher, 0), taken));
        EXPECT_FLOAT_EQ(fast->mFlee.mDuration, ghost->mFlee.mDuration / (factor > 0.0f ? factor : 1.0f));
    }
    GetAppState().mSpacesRegistry = nullptr;
}

TEST_F(GhostTest, APressWithTheCatcherCatchesIt)
{
    auto ghost = Ghost();
    ghost->LoadResources();
    mCatcher.mOwned = true;
    EXPECT_TRUE(ghost->OnMouseDown(PressAt(410, 310, &mCatcher, 0)));
    EXPECT_TRUE(ghost->IsCaught());
    EXPECT_NE(std::find(mHeard.mCalls.begin(), mHeard.mCalls.end(), "flag findghost"), mHeard.mCalls.end());
    TBaseBuffer buffer;
    ghost->SaveState(buffer);
    EXPECT_EQ(buffer.Bytes().back(), 1);

    auto again = Ghost();
    again->LoadState(buffer);
    EXPECT_TRUE(again->IsCaught());
    again->LoadResources();
    EXPECT_EQ(again->GetDecoder(), nullptr);
}

// A lens picture 128 x 128: its left half opaque (hides the ghost), its right half clear.
TEST_F(GhostTest, TheLensMaskDecidesWhatShows)
{
    SDL_Surface* lensImage = MakeSurface(128, 128, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
        return x < 64 ? SDL_Color{0, 0, 0, 255} : SDL_Color{0, 0, 0, 0};
    });
    SavePng("scene/lens.png", lensImage);
    TexturePtr lens = GetTexture("scene/lens");
    ASSERT_TRUE(lens);
    auto ghost = Ghost("active=\"1\"");
    ghost->LoadResources();
    ghost->SetLens(0, 0, lens);
    ghost->mLensActive = true;
    ghost->Update(0.04f);
    ASSERT_TRUE(ghost->GetDecoder()->HasVisibleAlpha());
    Clear(255, 0, 0);
    ghost->Draw(1.0f);
    const SDL_Rect shown = DrawnBox(255, 0, 0);
    EXPECT_GE(shown.x, 400 + 64);
    EXPECT_GT(shown.w, 0);

    ghost->ClearLens();
    ghost->mLensActive = false;
    EXPECT_FALSE(ghost->GetDecoder()->HasVisibleAlpha());
    Clear(255, 0, 0);
    ghost->Draw(1.0f);
    EXPECT_EQ(DrawnBox(255, 0, 0).w, 0);
    lens.Reset();
}

// ---- The wrapper.

class TEventGroups : public TObjectListener {
public:
    void ActivateObjects(const TObjectRefGroup* /*group*/) override { ++mGroups; }
    int mGroups = 0;
};

TEST_F(MovieTest, TheWrapperFiresOncePerActivationAtTheEndOfItsMoviesData)
{
    auto wrapper = LoadObjectFrom<TFinishVideoWrapperObject>("<object id=\"w\" aae=\"x\"/>");
    auto* movie = NestChild<TVideoObject>(*wrapper, "<object id=\"m\" type=\"video\" name=\"tiny.ogv\" loop=\"2\"/>");
    wrapper->OnLoaded();
    TEventGroups groups;
    wrapper->mListener = &groups;
    movie->LoadResources();
    movie->Activate(0, 0, 0);
    wrapper->Update(0.04f);  // not armed yet: the movie plays on unheard
    wrapper->Activate(0, 0, 0);
    std::vector<int> firedAt;
    for (int i = 1; i <= 30; ++i) {
        const int before = groups.mGroups;
        wrapper->Update(0.04f);
        if (groups.mGroups != before) firedAt.push_back(movie->GetDecoder() ? movie->GetDecoder()->GetLoopsDone() : -1);
    }
    EXPECT_EQ(firedAt, (std::vector<int>{1}));
    movie->Activate(0, 0, 0);
    wrapper->Activate(0, 0, 0);
    for (int i = 0; i < 30; ++i) wrapper->Update(0.04f);
    EXPECT_EQ(groups.mGroups, 2);

    auto other = LoadObjectFrom<TFinishVideoWrapperObject>("<object id=\"w\" aae=\"x\"/>");
    NestChild<TObject>(*other, "<object id=\"p\"/>");
    other->OnLoaded();
    TEventGroups none;
    other->mListener = &none;
    other->Activate(0, 0, 0);
    for (int i = 0; i < 10; ++i) other->Update(0.04f);
    EXPECT_EQ(none.mGroups, 0);
}

}  // namespace
