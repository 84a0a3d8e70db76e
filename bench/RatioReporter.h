#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Prints Google Benchmark's table, then the ratios asked for: ours against the reference
// measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration || r.aggregate_name == "median")
                times_[r.run_name.function_name] =
                    r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit) * 1e6;
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio(const std::string& ours, const std::string& reference, double target,
                    const char* what) const {
        const auto a = times_.find(ours), b = times_.find(reference);
        if (a == times_.end() || b == times_.end() || b->second <= 0)
            return;
        const double ratio = a->second / b->second;
        std::printf("%-48s %8.2fx  (target at most %.2fx) %s\n", what, ratio, target,
                    ratio <= target ? "met" : "NOT MET");
    }

    // A ratio shown for comparison, against no target.
    void PrintRatio(const std::string& ours, const std::string& reference, const char* what) const {
        const auto a = times_.find(ours), b = times_.find(reference);
        if (a != times_.end() && b != times_.end() && b->second > 0)
            std::printf("%-48s %8.2fx  (for comparison)\n", what, a->second / b->second);
    }

    // An absolute target in microseconds, with the reference's figure and the ratio beside it.
    // Times are kept in microseconds, whatever unit a benchmark reports in.
    void PrintAbsolute(const std::string& ours, const std::string& reference, double limitUs,
                       const char* what) const {
        const auto a = times_.find(ours), b = times_.find(reference);
        if (a == times_.end() || b == times_.end() || b->second <= 0)
            return;
        std::printf("%-32s %9.1f us (target under %.0f us: %s); reference %.1f us; ratio %.1fx\n",
                    what, a->second, limitUs, a->second < limitUs ? "met" : "NOT MET", b->second,
                    a->second / b->second);
    }

private:
    std::map<std::string, double> times_;
};
