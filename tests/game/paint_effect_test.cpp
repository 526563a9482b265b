// The self-painting mosaic picture: cells from the rows of its file, the three painting
// orders, the paint, wait and repaint cycle, and what it draws.
#include "game/paint_effect.h"

#include <tinyxml.h>

#include <algorithm>
#include <numeric>

#include "core/random.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"

namespace {

const float kStep = 1.0f / 16.0f;

class PaintEffectTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        SolidPng("a.png", 10, 8, SDL_Color{200, 30, 30, 255});
        SolidPng("b.png", 12, 12, SDL_Color{30, 30, 200, 255});
    }
    // Loads the effect from the text of a picture file.
    void Load(EffectBrisaloPaint& effect, const char* xml)
    {
        TiXmlDocument doc;
        ParseXmlText(&doc, xml);
        ASSERT_NE(nullptr, doc.RootElement());
        effect.LoadXml(doc.RootElement());
    }
    static std::vector<AlphaStaticImage*> Cells(EffectBrisaloPaint& effect)
    {
        std::vector<AlphaStaticImage*> cells;
        for (auto& row : effect.mRows)
            for (auto& cell : row) cells.push_back(&cell);
        return cells;
    }
    static bool AllShown(EffectBrisaloPaint& effect)
    {
        for (AlphaStaticImage* cell : Cells(effect))
            if (cell->mAlpha < 1.0f) return false;
        return true;
    }
    static bool NoneShown(EffectBrisaloPaint& effect)
    {
        for (AlphaStaticImage* cell : Cells(effect))
            if (cell->mAlpha > 0.0f) return false;
        return true;
    }
};

const char* kFixture = "<paint images=\"a;b\" x=\"100\" y=\"50\" spacex=\"2\" spacey=\"3\">"
                       "<line line=\"0120\"/><line line=\"21\"/><line line=\"3x1\"/></paint>";

TEST_F(PaintEffectTest, RowsPlaceCellsByColumnAndSkipGapsAndUnknownDigits)
{
    EffectBrisaloPaint effect;
    Load(effect, kFixture);
    struct TCell {
        size_t row;
        size_t index;
        int textureWidth;  // a is 10 wide, b 12
        float x, y;
    };
    const TCell expected[] = {{0, 0, 10, 112, 50}, {0, 1, 12, 124, 50}, {1, 0, 12, 100, 61},
                              {1, 1, 10, 112, 61}, {2, 0, 10, 124, 72}};
    ASSERT_EQ(effect.mRows.size(), 3u);
    EXPECT_EQ(effect.mRows[0].size(), 2u);
    EXPECT_EQ(effect.mRows[1].size(), 2u);
    EXPECT_EQ(effect.mRows[2].size(), 1u);
    for (const TCell& c : expected) {
        SCOPED_TRACE(std::to_string(c.row) + "/" + std::to_string(c.index));
        AlphaStaticImage& cell = effect.mRows[c.row][c.index];
        ASSERT_NE(nullptr, cell.GetTexture());
        EXPECT_EQ(cell.GetTexture()->GetWidth(), c.textureWidth);
        EXPECT_FLOAT_EQ(cell.GetX(), c.x);
        EXPECT_FLOAT_EQ(cell.GetY(), c.y);
    }
}

TEST_F(PaintEffectTest, MissingAttributesTakeTheirDefaults)
{
    EffectBrisaloPaint effect;
    Load(effect, "<paint/>");
    EXPECT_FLOAT_EQ(effect.mX, 0.0f);
    EXPECT_FLOAT_EQ(effect.mY, 0.0f);
    EXPECT_FLOAT_EQ(effect.mCellAppearTime, 0.1f);
    EXPECT_FLOAT_EQ(effect.mCellDelayTime, 0.1f);
    EXPECT_FLOAT_EQ(effect.mPictureDelayTime, 2.0f);
    EXPECT_TRUE(effect.mRows.empty());
}

TEST_F(PaintEffectTest, UnconfiguredEffectIsHarmlessAndDrawsNothing)
{
    EffectBrisaloPaint effect;
    effect.LoadXml(nullptr);
    effect.Start(1);
    for (int i = 0; i < 40; ++i) EXPECT_TRUE(effect.Update(kStep));
    effect.Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 0, 0}));
}

TEST_F(PaintEffectTest, StartHoldsEachCellByItsPlaceInTheOrder)
{
    EffectBrisaloPaint effect;
    Load(effect, kFixture);
    const float d = effect.mCellDelayTime;
    // Row-major cell k holds rank(k) x delay.
    auto holds = [&](int order) {
        effect.Start(order);
        std::vector<float> out;
        for (AlphaStaticImage* cell : Cells(effect)) {
            EXPECT_FLOAT_EQ(cell->mAlpha, 0.0f);
            EXPECT_TRUE(cell->mFade.mRunning);
            out.push_back(cell->mHoldTime);
        }
        return out;
    };
    const std::vector<float> backwards = holds(0);
    const std::vector<float> forwards = holds(2);
    for (int k = 0; k < 5; ++k) {
        EXPECT_FLOAT_EQ(backwards[static_cast<size_t>(k)], static_cast<float>(4 - k) * d);
        EXPECT_FLOAT_EQ(forwards[static_cast<size_t>(k)], static_cast<float>(k) * d);
    }

    // The shuffle draws from the game's generator, last place first.
    SeedRandom(7);
    std::vector<int> rank(5);
    std::iota(rank.begin(), rank.end(), 0);
    std::vector<int> list = rank;
    for (size_t i = list.size(); i > 1; --i) std::swap(list[i - 1], list[static_cast<size_t>(GameRand()) % i]);
    for (size_t k = 0; k < list.size(); ++k) rank[static_cast<size_t>(list[k])] = static_cast<int>(k);
    SeedRandom(7);
    const std::vector<float> shuffled = holds(1);
    for (size_t k = 0; k < 5; ++k) EXPECT_FLOAT_EQ(shuffled[k], static_cast<float>(rank[k]) * d) << k;
    EXPECT_NE(shuffled, forwards);
}

TEST_F(PaintEffectTest, PaintsWithinItsTimeThenWaitsAndPaintsAgain)
{
    EffectBrisaloPaint effect;
    Load(effect, "<paint images=\"a\" cellappeartime=\"0.1\" celldelaytime=\"0.1\"><line line=\"1111111111\"/></paint>");
    effect.Start(0);
    float t = 0.0f;
    while (!AllShown(effect) && t < 3.0f) {
        effect.Update(kStep);
        t += kStep;
    }
    EXPECT_GE(t, 1.0f - 1e-4f);
    EXPECT_LE(t, 1.0f + kStep + 1e-4f);
    EXPECT_EQ(effect.mState, EffectBrisaloPaint::kWaiting);

    float waited = 0.0f;
    while (effect.mState == EffectBrisaloPaint::kWaiting && waited < 5.0f) {
        effect.Update(kStep);
        waited += kStep;
    }
    EXPECT_EQ(effect.mState, EffectBrisaloPaint::kPainting);
    EXPECT_NEAR(waited, 2.0f, kStep + 1e-4f);
    EXPECT_TRUE(NoneShown(effect));
}

TEST_F(PaintEffectTest, NoPictureDelayRestartsInTheUpdateThatFinishes)
{
    EffectBrisaloPaint effect;
    Load(effect, "<paint images=\"a\" picturedelaytime=\"0\"><line line=\"11\"/></paint>");
    effect.Start(2);
    bool painted = false;
    float t = 0.0f;
    for (; t < 2.0f; t += kStep) {
        effect.Update(kStep);
        ASSERT_EQ(effect.mState, EffectBrisaloPaint::kPainting) << t;
        if (!NoneShown(effect)) painted = true;
        if (painted && NoneShown(effect)) break;
    }
    // Two cells: the second holds 0.1 s and fades for 0.1 s.
    EXPECT_NEAR(t, 0.2f, 2 * kStep);
    for (AlphaStaticImage* cell : Cells(effect)) EXPECT_TRUE(cell->mFade.mRunning);
}

TEST_F(PaintEffectTest, DrawsEachCellInItsColourOnceShown)
{
    EffectBrisaloPaint effect;
    Load(effect, kFixture);
    effect.Start(2);
    effect.Draw(1.0f);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{0, 0, 0, 0}));
    for (int i = 0; i < 40 && !AllShown(effect); ++i) effect.Update(kStep);
    ASSERT_TRUE(AllShown(effect));
    effect.Draw(1.0f);
    ExpectPixel(115, 53, 200, 30, 30);  // a at (112, 50)
    ExpectPixel(105, 66, 30, 30, 200);  // b at (100, 61)
    ExpectPixel(102, 53, 0, 0, 0);      // the gap of column 0
}

}  // namespace
