#include "sound/video_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/drawing_fixture.h"
#include "graphics/texture_cache.h"

namespace {

const std::string kMosaic = std::string(BRISALO_ASSETS) + "/textures/movies/mosaicspin.ogv";
const std::string kGlow = std::string(BRISALO_ASSETS) + "/textures/movies/glowalpha.ogv";

// Remembers each completed loop with the frame count it came at.
struct TLoopSpy : TVideoWindowDataListener {
    explicit TLoopSpy(TVideoWindow* w) : window(w) {}
    void OnLoopCompleted(int loopsDone) override
    {
        loops.push_back(loopsDone);
        framesAt.push_back(window->GetFramesDecoded());
    }
    TVideoWindow* window;
    std::vector<int> loops;
    std::vector<int> framesAt;
};

class VideoWindowTest : public CanvasTest {
protected:
    // Fixtures are copied under the test's own assets/, where the movie paths resolve.
    std::string Fixture(const std::string& name)
    {
        WriteWholeFile(AssetPath(name), ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/movies/" + name));
        return name;
    }

    static TexturePtr MovieTexture(int w, int h)
    {
        return CreateBlankTexture(w, h, 1, SDL_PIXELFORMAT_ARGB8888);
    }

    void DrawOverRed(const TexturePtr& texture)
    {
        Clear(255, 0, 0);
        SDL_SetTextureBlendMode(texture->GetSdlTexture(), SDL_BLENDMODE_BLEND);
        SDL_Rect at{0, 0, texture->GetWidth(), texture->GetHeight()};
        SDL_RenderCopy(mRenderer, texture->GetSdlTexture(), nullptr, &at);
    }

    // Decodes a frame per call until the window stops or the call limit is reached.
    static int PlayFramePerCall(TVideoWindow& w, int limit, int* rewinds = nullptr)
    {
        int calls = 0;
        while (calls < limit && w.DecodeUntil(0.0f)) {
            ++calls;
            if (rewinds && w.mRewound) ++*rewinds;
            w.mRewound = false;
        }
        return calls;
    }
};

TEST_F(VideoWindowTest, OpensShippedMovieAtItsRate)
{
    TVideoWindow w;
    EXPECT_FLOAT_EQ(25.0f, w.Open(kMosaic));
    EXPECT_FLOAT_EQ(40.0f, w.GetFrameDuration());
    EXPECT_EQ(160, w.GetPictureWidth());
    EXPECT_EQ(128, w.GetPictureHeight());
    EXPECT_TRUE(w.IsPlaying());
    EXPECT_EQ(7, w.GetPostProcessingLevel());
}

TEST_F(VideoWindowTest, FindsTheoraBehindAnotherStream)
{
    TVideoWindow w;
    EXPECT_FLOAT_EQ(25.0f, w.Open(Fixture("av.ogv")));
    EXPECT_TRUE(w.DecodeUntil(0.1f));
    EXPECT_EQ(3, w.GetFramesDecoded());
}

TEST_F(VideoWindowTest, MovieThatCannotPlayFailsItsOpen)
{
    WriteWholeFile(AssetPath("empty.ogv"), "");
    const std::vector<std::string> rows = {
        "missing.ogv",
        std::string(BRISALO_ASSETS) + "/sounds/btnmousedown.ogg",
        Fixture("trunc.ogv"),
        Fixture("badsetup.ogv"),
        Fixture("bigframe.ogv"),
        "empty.ogv",
    };
    for (const std::string& path : rows) {
        TVideoWindow w;
        EXPECT_EQ(0.0f, w.Open(path)) << path;
        EXPECT_FALSE(w.IsPlaying()) << path;
        EXPECT_FALSE(w.DecodeUntil(0.0f)) << path;
        TexturePtr texture = MovieTexture(32, 32);
        w.UploadFrame(texture, true);
        EXPECT_FALSE(w.IsUploaded()) << path;
    }
}

TEST_F(VideoWindowTest, DecodesUpToTheFrameThatCoversTheTime)
{
    TVideoWindow first;
    first.Open(kMosaic);
    EXPECT_TRUE(first.DecodeUntil(0.0f));
    EXPECT_EQ(1, first.GetFramesDecoded());
    EXPECT_EQ(0, first.GetFramesSkipped());
    // Level 7 is the maximum: a lead of more than a frame asks for no higher level.
    EXPECT_TRUE(first.DecodeUntil(-1.0f));
    EXPECT_EQ(0, first.GetPendingLevelStep());

    TVideoWindow w;
    w.Open(kMosaic);
    EXPECT_TRUE(w.DecodeUntil(0.12f));
    EXPECT_EQ(3, w.GetFramesDecoded());
    EXPECT_EQ(2, w.GetFramesSkipped());
    EXPECT_EQ(5, w.GetPostProcessingLevel());
    EXPECT_EQ(-1, w.GetPendingLevelStep());
    // Far ahead of the clock: the level may rise again.
    EXPECT_TRUE(w.DecodeUntil(0.0f));
    EXPECT_EQ(4, w.GetPostProcessingLevel());
    EXPECT_EQ(1, w.GetPendingLevelStep());
}

TEST_F(VideoWindowTest, PlaysTheCountedLoopsThenStops)
{
    TVideoWindow w;
    TLoopSpy spy(&w);
    w.mListener = &spy;
    w.mLoops = 2;
    w.Open(kMosaic);
    int rewinds = 0;
    PlayFramePerCall(w, 1000, &rewinds);
    EXPECT_EQ((std::vector<int>{1, 2}), spy.loops);
    EXPECT_EQ((std::vector<int>{50, 100}), spy.framesAt);
    EXPECT_FALSE(w.IsPlaying());
    EXPECT_EQ(100, w.GetFramesDecoded());
    EXPECT_EQ(1, rewinds);
}

TEST_F(VideoWindowTest, OnePassDecodesEveryFrameThenStops)
{
    TVideoWindow w;
    w.Open(kMosaic);
    PlayFramePerCall(w, 1000);
    EXPECT_EQ(50, w.GetFramesDecoded());
    EXPECT_FALSE(w.IsPlaying());
}

TEST_F(VideoWindowTest, EndlessLoopsKeepPlayingWithAndWithoutListener)
{
    for (bool listen : {true, false}) {
        TVideoWindow w;
        TLoopSpy spy(&w);
        if (listen) w.mListener = &spy;
        w.mLoops = -1;
        w.Open(kMosaic);
        PlayFramePerCall(w, 5 * 50 + 1);
        EXPECT_TRUE(w.IsPlaying());
        EXPECT_EQ(5, w.GetLoopsDone());
        if (listen) {
            EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), spy.loops);
        }
    }
}

TEST_F(VideoWindowTest, CutLastPageStillGivesEqualPasses)
{
    std::string data = ReadWholeFile(kMosaic);
    WriteWholeFile(AssetPath("cut.ogv"), data.substr(0, data.size() - 40));
    TVideoWindow w;
    TLoopSpy spy(&w);
    w.mListener = &spy;
    w.mLoops = 2;
    w.Open("cut.ogv");
    PlayFramePerCall(w, 1000);
    ASSERT_EQ(2u, spy.framesAt.size());
    EXPECT_GT(spy.framesAt[0], 0);
    EXPECT_EQ(spy.framesAt[0] * 2, spy.framesAt[1]);
}

TEST_F(VideoWindowTest, EndlessMovieWithoutFramesStopsAfterOnePass)
{
    TVideoWindow w;
    TLoopSpy spy(&w);
    w.mListener = &spy;
    w.mLoops = -1;
    EXPECT_FLOAT_EQ(25.0f, w.Open(Fixture("headers.ogv")));
    EXPECT_TRUE(w.DecodeUntil(1.0f));
    EXPECT_FALSE(w.IsPlaying());
    EXPECT_EQ(std::vector<int>{1}, spy.loops);
    EXPECT_EQ(0, w.GetFramesDecoded());
}

TEST(VideoPixels, ConvertsStudioRangeYcbcr)
{
    struct Row {
        int y, cb, cr;
        uint32_t argb;
    };
    const Row rows[] = {
        {128, 128, 128, 0xFF838383u},
        {255, 128, 128, 0xFFFFFFFFu},  // clamped high
        {0, 128, 128, 0xFF000000u},    // clamped low
        {235, 128, 255, 0xFFFF98FFu},
        {16, 128, 0, 0xFF006901u},
    };
    for (const Row& r : rows) EXPECT_EQ(r.argb, VideoPixel(r.y, r.cb, r.cr)) << r.y << " " << r.cr;

    struct AlphaRow {
        int luma, cr, alpha;
    };
    for (const AlphaRow& r : {AlphaRow{16, 128, 1}, AlphaRow{235, 128, 255}, AlphaRow{0, 128, 0}})
        EXPECT_EQ(r.alpha, VideoAlpha(r.luma, r.cr)) << r.luma;

    struct MaskRow {
        int alpha, mask, result;
    };
    for (const MaskRow& r : {MaskRow{200, 255, 0}, MaskRow{255, 128, 127}, MaskRow{200, 0, 200}})
        EXPECT_EQ(r.result, VideoMaskedAlpha(r.alpha, r.mask)) << r.mask;
}

TEST_F(VideoWindowTest, UploadsTheFirstFrameOfTiny)
{
    TVideoWindow w;
    w.Open(Fixture("tiny.ogv"));
    ASSERT_TRUE(w.DecodeUntil(0.0f));
    TexturePtr texture = MovieTexture(32, 32);
    w.UploadFrame(texture, true);
    EXPECT_TRUE(w.IsUploaded());
    EXPECT_FALSE(w.IsHalfWidth());
    EXPECT_EQ(255, w.AlphaAt(31, 31));
    EXPECT_EQ(0, w.AlphaAt(32, 0));
    EXPECT_EQ(0, w.AlphaAt(0, -1));
    Clear(0, 0, 0);
    SDL_Rect at{0, 0, 32, 32};
    SDL_RenderCopy(mRenderer, texture->GetSdlTexture(), nullptr, &at);
    ExpectPixel(0, 0, 131, 131, 131, 2);
    ExpectPixel(31, 31, 131, 131, 131, 2);
}

TEST_F(VideoWindowTest, AlphaLayoutDrawsTheRingOverRed)
{
    TVideoWindow w;
    w.Open(kGlow);
    ASSERT_TRUE(w.DecodeUntil(0.0f));
    TexturePtr texture = MovieTexture(128, 128);
    w.UploadFrameWithAlpha(texture, true);
    EXPECT_TRUE(w.IsHalfWidth());
    DrawOverRed(texture);
    for (int c : {1, 126}) {
        ExpectPixel(c, 1, 255, 0, 0);
        ExpectPixel(c, 126, 255, 0, 0);
    }
    // The ring's core (radius 36 round the centre) is opaque and green in the first frame.
    TPixel core = Pixel(100, 64);
    EXPECT_LT(core.r, 120);
    EXPECT_GT(core.g, 180);
    EXPECT_EQ(255, w.AlphaAt(100, 64));
    EXPECT_EQ(255, w.AlphaAt(28, 64));
    EXPECT_EQ(0, w.AlphaAt(1, 1));
    EXPECT_EQ(0, w.AlphaAt(128, 64)) << "the grid covers the colour half only";
    int edge = w.AlphaAt(64 + 36 + 11, 64);
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 255);
}

TEST_F(VideoWindowTest, LensMaskHidesWhatItCovers)
{
    // Opaque left half, transparent right half.
    SavePng("lens.png", MakeSurface(128, 128, SDL_PIXELFORMAT_ABGR8888, [](int x, int) {
                return SDL_Color{255, 255, 255, static_cast<Uint8>(x < 64 ? 255 : 0)};
            }));
    TVideoWindow w;
    {
        TTextureSwitchScope keep(KeepTextureAlpha, true);
        w.mMask = TexturePtr(new TTexture());
        ASSERT_TRUE(w.mMask->LoadFromFile("lens.png"));
    }
    w.Open(kGlow);
    ASSERT_TRUE(w.DecodeUntil(0.0f));
    TexturePtr texture = MovieTexture(128, 128);
    w.UploadFrameWithAlpha(texture, true);
    EXPECT_EQ(0, w.AlphaAt(28, 64));
    EXPECT_EQ(255, w.AlphaAt(100, 64));
    EXPECT_TRUE(w.HasVisibleAlpha());
    DrawOverRed(texture);
    ExpectPixel(28, 64, 255, 0, 0);

    // Moved off the picture: nothing shows at all.
    w.mMaskOffsetX = 1000;
    w.UploadFrameWithAlpha(texture, true);
    EXPECT_EQ(0, w.AlphaAt(100, 64));
    EXPECT_FALSE(w.HasVisibleAlpha());
    DrawOverRed(texture);
    ExpectPixel(100, 64, 255, 0, 0);
}

TEST_F(VideoWindowTest, UploadsWriteOnlyWhatTheTextureHas)
{
    TVideoWindow fresh;
    TexturePtr small = MovieTexture(16, 16);
    fresh.UploadFrame(small, true);
    fresh.UploadFrameWithAlpha(small, true);
    EXPECT_FALSE(fresh.IsUploaded());
    EXPECT_EQ(0, fresh.AlphaAt(0, 0));

    TVideoWindow w;
    w.Open(kMosaic);
    ASSERT_TRUE(w.DecodeUntil(0.0f));
    w.UploadFrame(small, true);
    EXPECT_TRUE(w.IsUploaded());
    EXPECT_EQ(255, w.AlphaAt(159, 127));
    EXPECT_EQ(0, w.AlphaAt(160, 127));
    w.UploadFrameWithAlpha(TexturePtr(), true);
    EXPECT_TRUE(w.IsHalfWidth());
    EXPECT_EQ(0, w.AlphaAt(80, 0)) << "the alpha grid follows the picture even without a texture";
}

TEST_F(VideoWindowTest, WindowPlaysAgainAfterReuse)
{
    TVideoWindow w;
    w.mMask = MovieTexture(8, 8);
    w.Open(kGlow);
    PlayFramePerCall(w, 5);
    w.Close();
    w.ResetPlayback();
    EXPECT_FALSE(w.DecodeUntil(1.0f)) << "nothing left to decode";
    EXPECT_FLOAT_EQ(25.0f, w.Open(kMosaic));
    PlayFramePerCall(w, 1000);
    EXPECT_EQ(50, w.GetFramesDecoded());

    EXPECT_FLOAT_EQ(25.0f, w.Open(Fixture("tiny.ogv")));
    EXPECT_EQ(32, w.GetPictureWidth());
    PlayFramePerCall(w, 1000);
    EXPECT_EQ(8, w.GetFramesDecoded());
    EXPECT_EQ(1, w.GetLoopsDone());
}

}  // namespace
