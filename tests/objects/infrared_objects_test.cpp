// The infrared object (lens, reveal, catch, flight) and the multi-tool object.
#include <gtest/gtest.h>

#include "core/random.h"
#include "objects/infrared_objects.h"

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
