#include "core/random.h"

namespace {
unsigned gState = 1;
}

void SeedRandom(unsigned seed) { gState = seed; }

int GameRand()
{
    gState = gState * 214013u + 2531011u;
    return static_cast<int>((gState >> 16) & 0x7FFF);
}
