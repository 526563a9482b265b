// Shared by the benchmarks: a console reporter that keeps the median of every benchmark.
#pragma once
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <string>

// Medians in the benchmark's own unit, keyed "function/args".
class TMedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median")
                mMedians[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Median(const std::string& key) const
    {
        auto it = mMedians.find(key);
        return it == mMedians.end() ? NAN : it->second;
    }

private:
    std::map<std::string, double> mMedians;
};
