// Runs the registered benchmarks and prints, after the usual table, each measured
// figure as a ratio against its baseline from the same run, so that the comparison
// holds on a noisy machine.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ormaline::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Each pair: (measured, baseline) benchmark names as Google Benchmark prints them.
    explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
        : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-48s %-40s %10s\n", "measured", "baseline", "ratio");
        for (const auto& [measured, baseline] : pairs_) {
            auto m = times_.find(measured);
            auto b = times_.find(baseline);
            if (m == times_.end() || b == times_.end() || b->second <= 0) {
                std::printf("%-48s %-40s %10s\n", measured.c_str(), baseline.c_str(), "n/a");
                continue;
            }
            std::printf("%-48s %-40s %10.2f\n", measured.c_str(), baseline.c_str(),
                        m->second / b->second);
        }
        std::fflush(stdout);
    }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
    std::map<std::string, double> times_;
};

// Initialises Google Benchmark from the command line and runs with the ratio report.
inline void RunWithRatios(int& argc, char** argv,
                          std::vector<std::pair<std::string, std::string>> pairs) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}

} // namespace ormaline::bench
