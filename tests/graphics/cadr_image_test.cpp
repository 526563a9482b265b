#include "graphics/cadr_image.h"

#include <tinyxml.h>

#include <cmath>
#include <cstring>

#include "core/buffer.h"
#include "core/xml_document.h"
#include "drawing_fixture.h"
#include "log_watch.h"
#include "test_support.h"

namespace {

const float kHalfPi = static_cast<float>(M_PI / 2);

// Frame k of a test sheet: one solid colour per 64 x 64 cell, row by row, four to a row.
SDL_Color FrameColour(int k)
{
    return SDL_Color{Uint8(30 + 25 * k), Uint8(220 - 25 * k), Uint8(100 + (k % 2) * 100), 255};
}

class CadrImageTest : public CanvasTest {
protected:
    void SetUp() override
    {
        Open(480, 320);  // room for every fixture; a smaller frame reads back faster
        SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "0");
        SaveSheet("sheet256.png", 256, 128);
        SaveSheet("sheet32.png", 32, 64);
        MakeFolder("textures");
        SaveSheet("textures/sheet256.png", 256, 128);
        SolidPng("item_a.png", 40, 20, SDL_Color{255, 0, 0, 255});
        SolidPng("item_b.png", 40, 20, SDL_Color{0, 255, 0, 255});
        SolidPng("item_c.png", 40, 20, SDL_Color{0, 0, 255, 255});
        ASSERT_TRUE(ParseXmlText(&mDoc, ReadWholeFile(BRISALO_TEST_DATA "/anim/anims.xml")));
    }

    void SaveSheet(const std::string& name, int w, int h)
    {
        SavePng(name, MakeSurface(w, h, SDL_PIXELFORMAT_ABGR8888,
                                  [](int x, int y) { return FrameColour(x / 64 + 4 * (y / 64)); }));
    }

    TiXmlElement* Element(const char* id)
    {
        for (TiXmlElement* e = mDoc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement())
            if (e->Attribute("id") && strcmp(e->Attribute("id"), id) == 0) return e;
        ADD_FAILURE() << "no element " << id;
        return nullptr;
    }

    void Load(TCadrImage& anim, const char* id, const std::string& prefix = "")
    {
        anim.LoadXml(Element(id), true, prefix);
        if (auto* timed = dynamic_cast<TTimeCadrImage*>(&anim)) timed->LoadFrameTimes(Element(id));
    }

    // The frame whose colour is drawn 32 pixels inside the image's position; -1 for none.
    int DrawnFrame(DrawObject& anim, int x = 100, int y = 60)
    {
        Clear(0, 0, 0);
        anim.Draw(1.0f);
        TPixel p = Pixel(x + 32, y + 32);
        for (int k = 0; k < 8; ++k) {
            SDL_Color c = FrameColour(k);
            if (p.r == c.r && p.g == c.g && p.b == c.b) return k;
        }
        return -1;
    }

    // -2 while no source rectangle is set: the whole 256-wide sheet draws.
    int ShownOrWholeSheet(DrawObject& anim)
    {
        Clear(0, 0, 0);
        anim.Draw(1.0f);
        return DrawnBox(0, 0, 0).w == 256 ? -2 : DrawnFrame(anim);
    }

    // The frames shown after each of n updates of dt.
    std::vector<int> Run(TCadrImage& anim, int n, float dt)
    {
        std::vector<int> shown;
        for (int i = 0; i < n; ++i) {
            anim.Update(dt);
            shown.push_back(DrawnFrame(anim));
        }
        return shown;
    }

    TiXmlDocument mDoc;
};

std::vector<std::vector<int>> Rects(const TCadrImage& anim)
{
    std::vector<std::vector<int>> out;
    for (const TCadrRect& r : anim.GetFrameRects()) out.push_back({r.x, r.y, r.w, r.h});
    return out;
}

TEST_F(CadrImageTest, CuttingTheSheet)
{
    using R = std::vector<std::vector<int>>;
    const R sixFrames = {{0, 0, 64, 64}, {64, 0, 64, 64}, {128, 0, 64, 64},
                         {192, 0, 64, 64}, {0, 64, 64, 64}, {64, 64, 64, 64}};
    struct Case {
        const char* id;
        R rects;
    };
    const Case cases[] = {
        {"cut", sixFrames},
        {"cut_tw", sixFrames},  // no texture: "tw" cuts
        {"cut_narrow", {{0, 0, 64, 64}, {0, 0, 64, 64}, {0, 0, 64, 64}}},
        {"cut_w0", {{0, 0, 0, 64}, {0, 0, 0, 64}, {0, 0, 0, 64}}},
        {"cut_none", {}},
    };
    for (const Case& c : cases) {
        TCadrImage anim;
        Load(anim, c.id);
        EXPECT_EQ(c.rects, Rects(anim)) << c.id;
    }

    // A count no sheet holds is clamped where it is read, with one line.
    TLogWatch log;
    TCadrImage many;
    many.mFileName = "many";
    many.SetFrameRange(0.25f, 1000000000, 64, 64);
    EXPECT_EQ(static_cast<size_t>(TCadrImage::kMaxFrames), many.GetFrameRects().size());
    EXPECT_EQ(1u, log.Count("Animation many: frames 1000000000 clamped to 65536"));

    // Without "frames" there is nothing to play, and the whole sheet draws.
    TCadrImage none;
    Load(none, "cut_none");
    none.Play(-1);
    EXPECT_FALSE(none.IsPlaying());
    EXPECT_TRUE(none.Update(0.25f));
    Clear(0, 0, 0);
    none.Draw(1.0f);
    EXPECT_EQ((SDL_Rect{100, 60, 256, 128}), DrawnBox(0, 0, 0));
}

TEST_F(CadrImageTest, LoadXmlReadsEveryAttribute)
{
    TCadrImage anim;
    Load(anim, "every", "textures/");
    const StaticImage& image = anim.GetImage();
    EXPECT_FLOAT_EQ(30, anim.GetX());
    EXPECT_FLOAT_EQ(40, anim.GetY());
    EXPECT_FALSE(image.mCentred);
    EXPECT_EQ("textures/sheet256", anim.mFileName);
    ASSERT_NE(nullptr, image.GetTexture());
    EXPECT_EQ(kBlendAdd, image.mTransform.mBlendMode);
    EXPECT_FLOAT_EQ(2.0f, image.mScaleX);
    EXPECT_FLOAT_EQ(0.5f, image.mScaleY);
    EXPECT_FLOAT_EQ(1.0f, anim.GetScaleX());  // the outer object keeps its own
    EXPECT_FLOAT_EQ(kHalfPi, anim.GetAngle());
    EXPECT_FLOAT_EQ(10, image.mTransform.mCentreX);
    EXPECT_FLOAT_EQ(12, image.mTransform.mCentreY);
    EXPECT_TRUE(image.mTransform.mFlags & kDrawCentre);
    EXPECT_TRUE(image.mOwnCentre);
    EXPECT_EQ(2, anim.GetCurrentFrame());
    EXPECT_FLOAT_EQ(128, image.mTransform.mSrcX);
    EXPECT_TRUE(image.mTransform.mFlags & kDrawSourceRect);
    // The loaded texture is 256 wide, so "tw" 512 does not cut it.
    ASSERT_EQ(6u, anim.GetFrameRects().size());
    EXPECT_EQ(64, anim.GetFrameRects()[4].y);
}

TEST_F(CadrImageTest, OneFramePerUpdateAtMost)
{
    struct Case {
        float speed, dt;
        std::vector<int> frames;
    };
    const Case cases[] = {
        {0.1f, 0.25f, {1, 2, 3, 0, 1}},
        {0.0f, 0.25f, {1, 2, 3, 0, 1}},
        {0.25f, 0.125f, {0, 1, 1, 2, 2}},
    };
    for (const Case& c : cases) {
        TCadrImage anim;
        Load(anim, "four");
        anim.SetFrameRange(c.speed, 4, 64, 64);
        anim.Play(-1);
        EXPECT_EQ(c.frames, Run(anim, 5, c.dt)) << "speed " << c.speed << " dt " << c.dt;
    }
}

TEST_F(CadrImageTest, CountedLoopsWithAndWithoutHoldLast)
{
    struct Case {
        bool holdLast;
        std::vector<int> frames;
    };
    const Case cases[] = {
        {false, {1, 2, 3, 0, 1, 2, 3, 0}},
        {true, {1, 2, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        TCadrImage anim;
        Load(anim, "four");
        anim.mHoldLast = c.holdLast;
        anim.Play(2);
        EXPECT_EQ(0, DrawnFrame(anim));
        size_t n = c.frames.size();
        std::vector<int> shown = Run(anim, static_cast<int>(n) - 1, 0.25f);
        EXPECT_TRUE(anim.IsPlaying()) << "hold " << c.holdLast;
        EXPECT_FALSE(anim.IsDone());
        // The finishing update still answers false; the next ones true.
        EXPECT_FALSE(anim.Update(0.25f));
        shown.push_back(DrawnFrame(anim));
        EXPECT_EQ(c.frames, shown) << "hold " << c.holdLast;
        EXPECT_FALSE(anim.IsPlaying());
        EXPECT_TRUE(anim.IsDone());
        EXPECT_TRUE(anim.Update(0.25f));
        EXPECT_EQ(c.frames.back(), DrawnFrame(anim));

        anim.Play(2);
        EXPECT_FALSE(anim.IsDone());
        EXPECT_TRUE(anim.IsPlaying());
    }
}

TEST_F(CadrImageTest, EndlessPlayAndStop)
{
    for (int loops : {-1, 0}) {
        TCadrImage anim;
        Load(anim, "four");
        anim.mHoldLast = loops == -1;  // endless play ignores it
        anim.Play(loops);
        for (int i = 0; i < 200; ++i) ASSERT_FALSE(anim.Update(0.25f)) << "loops " << loops << " update " << i;
        EXPECT_EQ(std::vector<int>({1, 2, 3, 0}), Run(anim, 4, 0.25f)) << "loops " << loops;
        EXPECT_FALSE(anim.IsDone());

        anim.Update(0.25f);
        anim.Stop();
        EXPECT_TRUE(anim.Update(0.25f));
        EXPECT_EQ(1, DrawnFrame(anim));
    }
}

TEST_F(CadrImageTest, SetAngleTurnsAboutTheShownFrame)
{
    TCadrImage anim;
    anim.mSheetWidth = 128;
    anim.SetFrameRange(0.25f, 2, 64, 64);
    anim.SetFrame(1);
    anim.SetAngle(kHalfPi);
    const DrawTransform& t = anim.GetImage().mTransform;
    EXPECT_FLOAT_EQ(96, t.mCentreX);
    EXPECT_FLOAT_EQ(32, t.mCentreY);
    EXPECT_TRUE(t.mFlags & kDrawCentre);
    EXPECT_TRUE(anim.GetImage().mOwnCentre);
    EXPECT_FLOAT_EQ(kHalfPi, anim.GetAngle());

    // Before any frame exists only the angle is stored: the picture pivots on its corner.
    for (bool fromXml : {false, true}) {
        TCadrImage fresh;
        if (fromXml)
            Load(fresh, "angle_only");
        else
            fresh.SetAngle(kHalfPi);
        EXPECT_FLOAT_EQ(kHalfPi, fresh.GetAngle());
        EXPECT_FLOAT_EQ(0, fresh.GetImage().mTransform.mCentreX);
        EXPECT_FALSE(fresh.GetImage().mTransform.mFlags & kDrawCentre);
        EXPECT_FALSE(fresh.GetImage().mOwnCentre);
    }
}

TEST_F(CadrImageTest, TimedFramesKeepTheirOwnDurations)
{
    TTimeCadrImage anim;
    Load(anim, "timed");
    ASSERT_EQ(std::vector<float>({0.5f, 1.0f, 0.5f}), anim.mDurations);
    anim.Play(1);
    EXPECT_TRUE(anim.IsTimedPlaying());
    EXPECT_FALSE(anim.mPlaying);  // the base's flag is not used
    EXPECT_EQ(0, DrawnFrame(anim));
    // 0.25 s each: frame 1 from 0.5 s, frame 2 from 1.5 s.
    EXPECT_EQ(std::vector<int>({0, 1, 1, 1, 1, 2, 2}), Run(anim, 7, 0.25f));
    EXPECT_TRUE(anim.Update(0.25f));  // 2.0 s: the one pass is over
    EXPECT_FALSE(anim.IsTimedPlaying());
    EXPECT_FALSE(anim.IsDone());
    EXPECT_EQ(2, DrawnFrame(anim));
}

TEST_F(CadrImageTest, TimedEdgeCases)
{
    // Play (0) counts passes below zero and never stops.
    TTimeCadrImage endless;
    Load(endless, "timed");
    endless.Play(0);
    for (int i = 0; i < 100; ++i) ASSERT_FALSE(endless.Update(0.5f)) << i;
    EXPECT_TRUE(endless.IsTimedPlaying());

    // A duration of 0 shows its frame for one update.
    TTimeCadrImage zero;
    Load(zero, "timed_zero");
    zero.Play(-1);
    EXPECT_EQ(std::vector<int>({0, 1, 2, 2, 0}), Run(zero, 5, 0.125f));

    // Four rectangles, three durations: the frame index and the cursor wrap on their own.
    TTimeCadrImage four;
    Load(four, "timed_four");
    four.Play(-1);
    std::vector<int> cursors;
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        four.Update(0.25f);
        frames.push_back(DrawnFrame(four));
        cursors.push_back(four.GetCursor());
    }
    EXPECT_EQ(std::vector<int>({1, 2, 3, 0, 1}), frames);
    EXPECT_EQ(std::vector<int>({1, 2, 0, 1, 2}), cursors);

    // Played again while a frame timer runs, a first duration of 0 still lasts one update.
    TTimeCadrImage replayed;
    Load(replayed, "timed_first_zero");
    replayed.Play(-1);
    EXPECT_EQ(std::vector<int>({1, 1}), Run(replayed, 2, 0.125f));
    replayed.Play(-1);
    EXPECT_EQ(std::vector<int>({1}), Run(replayed, 1, 0.125f));

    // A duration beyond the float range reads as an endless one.
    TTimeCadrImage huge;
    Load(huge, "timed_huge");
    ASSERT_EQ(2u, huge.mDurations.size());
    EXPECT_TRUE(std::isinf(huge.mDurations[0]));

    // An empty "ctime": frame 0 shows and nothing plays.
    TTimeCadrImage empty;
    Load(empty, "timed_empty");
    EXPECT_TRUE(empty.mDurations.empty());
    empty.SetFrame(2);
    empty.Play(-1);
    EXPECT_FALSE(empty.IsTimedPlaying());
    EXPECT_EQ(0, DrawnFrame(empty));
    EXPECT_TRUE(empty.Update(0.25f));
    EXPECT_EQ(0, DrawnFrame(empty));
}

TEST_F(CadrImageTest, SavedStatesRestoreFrameAndTiming)
{
    TCadrImage sheet;
    Load(sheet, "four");
    sheet.Play(3);
    Run(sheet, 6, 0.25f);  // 1, 2, 3, 0 (one pass done), 1, 2
    sheet.Update(0.125f);
    TBaseBuffer saved;
    sheet.SaveState(saved);
    EXPECT_EQ(ToHex(HexBytes("01 7D 00 00 00 02 00 00 00 01 00 00 00 03 00 00 00")),
              ToHex(std::string(saved.Bytes().begin(), saved.Bytes().end())));

    TCadrImage restored;
    Load(restored, "four");
    restored.LoadState(saved);
    EXPECT_TRUE(restored.IsPlaying());
    EXPECT_EQ(2, DrawnFrame(restored));
    sheet.Update(0.125f);
    restored.Update(0.125f);
    EXPECT_EQ(3, DrawnFrame(sheet));
    EXPECT_EQ(3, DrawnFrame(restored));

    TTimeCadrImage timed;
    Load(timed, "timed");
    timed.Play(-1);
    Run(timed, 3, 0.25f);  // frame 1 from 0.5 s, 0.25 s of its 1 s gone
    TBaseBuffer timedState;
    timed.SaveState(timedState);
    TTimeCadrImage timedRestored;
    Load(timedRestored, "timed");
    timedRestored.LoadState(timedState);
    EXPECT_TRUE(timedRestored.IsTimedPlaying());
    EXPECT_FALSE(timedRestored.mPlaying);
    // The elapsed time is not kept: the frame shows for its whole second again.
    EXPECT_EQ(std::vector<int>({1, 1, 1, 2}), Run(timedRestored, 4, 0.25f));
}

TEST_F(CadrImageTest, SequenceDrawsItsItemsInTurn)
{
    for (bool holdLast : {false, true}) {
        TCadrImage2 seq;
        seq.LoadXml(Element("items"), true);
        seq.mHoldLast = holdLast;
        ASSERT_EQ(3u, seq.GetFrames().size());
        Clear(0, 0, 0);
        seq.Draw(1.0f);
        EXPECT_EQ((SDL_Rect{0, 0, 0, 0}), DrawnBox(0, 0, 0)) << "not restarted";

        seq.Restart();
        const SDL_Rect boxes[] = {{100, 50, 40, 20}, {150, 60, 40, 20}, {200, 70, 40, 20}};
        std::vector<SDL_Rect> drawn;
        for (int i = 0; i < 4; ++i) {
            Clear(0, 0, 0);
            seq.Draw(1.0f);
            drawn.push_back(DrawnBox(0, 0, 0));
            seq.Update(0.25f);
        }
        EXPECT_EQ(boxes[0], drawn[0]);
        EXPECT_EQ(boxes[1], drawn[1]);
        EXPECT_EQ(boxes[2], drawn[2]);
        EXPECT_EQ(holdLast ? boxes[2] : boxes[0], drawn[3]) << "hold " << holdLast;

        seq.mPlaying = false;
        EXPECT_TRUE(seq.Update(0.25f));
        Clear(0, 0, 0);
        seq.Draw(1.0f);
        EXPECT_EQ((SDL_Rect{0, 0, 0, 0}), DrawnBox(0, 0, 0)) << "stopped";
    }

    // The angle reaches the shown item at the next update.
    TCadrImage2 turned;
    turned.LoadXml(Element("items"), true);
    turned.mFrameTime = 1.0f;
    turned.Restart();
    turned.SetAngle(kHalfPi);
    Clear(0, 0, 0);
    turned.Draw(1.0f);
    EXPECT_EQ(40, DrawnBox(0, 0, 0).w);
    turned.Update(0.25f);
    Clear(0, 0, 0);
    turned.Draw(1.0f);
    SDL_Rect box = DrawnBox(0, 0, 0);
    EXPECT_NEAR(20, box.w, 1);
    EXPECT_NEAR(40, box.h, 1);

    TCadrImage2 additive;
    additive.LoadXml(Element("items_additive"), false);
    ASSERT_EQ(2u, additive.GetFrames().size());
    for (const auto& frame : additive.GetFrames()) EXPECT_EQ(kBlendAdd, frame->mImage.mTransform.mBlendMode);
}

// Start frames beyond the sheet, damaged states and empty sequences read no frame outside
// their lists: the sanitizers catch any that does.
TEST_F(CadrImageTest, FrameIndexesNeverLeaveTheirLists)
{
    struct StartCase {
        const char* id;
        std::vector<int> frames;
    };
    // Until the first frame is set, no source rectangle exists and the whole sheet draws.
    const StartCase starts[] = {
        {"start6", {-2, 0, 1, 2, 3, 0}},
        {"start_neg", {-2, -2, 0, 1, 2, 3}},
    };
    for (const StartCase& c : starts) {
        TCadrImage anim;
        Load(anim, c.id);
        anim.Play(-1);
        std::vector<int> shown;
        for (int i = 0; i < 5; ++i) {
            if (i > 0) anim.Update(0.25f);
            shown.push_back(ShownOrWholeSheet(anim));
        }
        anim.Update(0.25f);
        shown.push_back(ShownOrWholeSheet(anim));
        EXPECT_EQ(c.frames, shown) << c.id;
    }

    struct StateCase {
        int current;
        std::vector<int> frames;
    };
    const StateCase states[] = {
        {99, {0, 1}},
        {-5, {2, 2, 2, 2, 0}},
    };
    for (const StateCase& c : states) {
        TBaseBuffer state;
        state.WriteByte(1);
        state.WriteMilli(0.0f);
        state.WriteInt32(c.current);
        state.WriteInt32(0);
        state.WriteInt32(-1);
        TCadrImage anim;
        Load(anim, "four");
        anim.SetFrame(2);
        anim.LoadState(state);
        EXPECT_EQ(2, DrawnFrame(anim));
        std::vector<int> shown;
        for (size_t i = 0; i < c.frames.size(); ++i) {
            anim.Update(0.25f);
            shown.push_back(DrawnFrame(anim));
        }
        EXPECT_EQ(c.frames, shown) << "current " << c.current;
    }

    // A timed state whose cursor is past the durations restarts with the first one.
    auto timedState = [](TBaseBuffer& state) {
        TCadrImage().SaveState(state);
        state.WriteInt32(1);  // frame index
        state.WriteInt32(-1);
        state.WriteByte(1);
        state.WriteInt32(7);  // cursor
    };
    TBaseBuffer state;
    timedState(state);
    TTimeCadrImage timed;
    Load(timed, "timed");
    timed.LoadState(state);
    EXPECT_EQ(0, timed.GetCursor());
    EXPECT_TRUE(timed.GetTimer().IsActive());
    EXPECT_FLOAT_EQ(0.5f, timed.GetTimer().GetDuration());
    EXPECT_EQ(1, DrawnFrame(timed));

    // A playing timed state over no durations does not play.
    TBaseBuffer again;
    timedState(again);
    TTimeCadrImage noTimes;
    Load(noTimes, "timed_empty");
    noTimes.LoadState(again);
    EXPECT_FALSE(noTimes.IsTimedPlaying());
    EXPECT_FALSE(noTimes.GetTimer().IsActive());
    EXPECT_TRUE(noTimes.Update(0.25f));

    TCadrImage2 noItems;
    noItems.LoadXml(Element("no_items"), true);
    TCadrImage2 cleared;
    cleared.LoadXml(Element("items"), true);
    cleared.Clear();
    for (TCadrImage2* seq : {&noItems, &cleared}) {
        seq->Restart();
        for (int i = 0; i < 3; ++i) EXPECT_FALSE(seq->Update(0.25f));
        Clear(0, 0, 0);
        seq->Draw(1.0f);
        EXPECT_EQ((SDL_Rect{0, 0, 0, 0}), DrawnBox(0, 0, 0));
    }
}

}  // namespace
