// The start-up bench's clock: milliseconds on the monotonic clock, which the launcher, the
// floor and the game (core's MonotonicMs) all read, so their readings can be subtracted.
#pragma once
#include <ctime>

inline double BenchMonotonicMs()
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return -1.0;
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}
