// Shared by the benchmarks: a subject timed against its floor in alternating rounds, either
// side first in turn, and judged by the median of the rounds' own ratios, so that a change of
// the machine's load falls on both sides of a ratio alike and an odd round does not decide.
#pragma once
#include <algorithm>
#include <cmath>
#include <ctime>
#include <vector>

// The calling thread's processor time in milliseconds. CPU-bound work is timed on it: on a
// busy machine the wall clock also counts the time the thread waited for a core.
inline double BenchThreadCpuMs()
{
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) return NAN;
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The processor time of one call of work, in milliseconds.
template <typename TWork>
double BenchCpuMs(TWork&& work)
{
    const double start = BenchThreadCpuMs();
    work();
    return BenchThreadCpuMs() - start;
}

// The processor time per call of count calls of work, in milliseconds.
template <typename TWork>
double BenchCpuMsEach(int count, TWork&& work)
{
    const double ms = BenchCpuMs([&] {
        for (int i = 0; i < count; ++i) work();
    });
    return ms / std::max(count, 1);
}

// The middle value (of an even count, the upper one) of those that are numbers; NAN when
// there is none.
inline double BenchMedian(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }), values.end());
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// How many calls of a piece of work that took oneMs fill about targetMs; at least one.
inline int BenchBatchFor(double targetMs, double oneMs)
{
    if (!(oneMs > 0.0)) return 1;
    const double count = targetMs / oneMs;
    return count >= 1e6 ? 1000000 : std::max(1, static_cast<int>(count));
}

struct TRoundFigures {
    double subjectMs = NAN;  // the median of the subject's rounds
    double floorMs = NAN;    // the median of the floor's rounds
    double ratio = NAN;      // the median of the rounds' own ratios; NAN when a round failed
    // False for a failed measure as well.
    bool Within(double bound) const { return ratio <= bound; }
};

// Runs rounds of subject() and floor(), each answering its round's figure in milliseconds
// (a figure per round or per unit of work, the same unit on both sides). A negative or
// not-a-number figure, or a floor of zero, is a failed measure and makes the ratio NAN.
template <typename TSubject, typename TFloor>
TRoundFigures BenchRounds(int rounds, TSubject&& subject, TFloor&& floor)
{
    std::vector<double> subjects, floors, ratios;
    bool failed = rounds <= 0;
    for (int round = 0; round < rounds; ++round) {
        double s = 0.0, f = 0.0;
        // Either side goes first in turn: neither always meets the caches the other left.
        if (round % 2 == 0) {
            s = subject();
            f = floor();
        } else {
            f = floor();
            s = subject();
        }
        if (!(s >= 0.0) || !(f > 0.0)) failed = true;
        subjects.push_back(s);
        floors.push_back(f);
        ratios.push_back(s / f);
    }
    TRoundFigures figures;
    figures.subjectMs = BenchMedian(subjects);
    figures.floorMs = BenchMedian(floors);
    if (!failed) figures.ratio = BenchMedian(ratios);
    return figures;
}
