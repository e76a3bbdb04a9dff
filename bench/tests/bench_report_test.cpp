#include "bench_report.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BenchReport, NearestRankReportsADurationThatOccurred)
{
    // n durations, the first `late` of them `slow` and the rest `fast`.
    auto frames = [](int n, double fast, int late, double slow) {
        std::vector<double> values(late, slow);
        values.resize(n, fast);
        return values;
    };
    struct Row { const char* name; std::vector<double> values; double percent, expected; };
    const Row rows[] = {
        {"median of an odd set", {5, 1, 3, 2, 4}, 50, 3}, {"median of an even set: the lower", {4, 1, 3, 2}, 50, 2},
        {"p0 is the smallest", {4, 1, 3, 2}, 0, 1}, {"p100 is the largest", {4, 1, 3, 2}, 100, 4},
        {"p99 of 100 is the 99th", frames(100, 1, 1, 2), 99, 1}, {"p99 of 50 is the largest", frames(50, 1, 1, 2), 99, 2},
        {"20 late frames in 1000 reach p99", frames(1000, 16.67, 20, 18), 99, 18}, {"an empty set", {}, 50, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(nearest_rank(row.values, row.percent), row.expected);
    }
    // One late frame in a thousand stays out of p99.
    for (const auto& [values, p50, p99, max] : {std::tuple{frames(1000, 16.67, 1, 40), 16.67, 16.67, 40.0},
                                               std::tuple{std::vector<double>{}, 0.0, 0.0, 0.0}}) {
        const Spread spread = spread_of(values);
        EXPECT_EQ(std::tuple(spread.p50, spread.p99, spread.max), std::tuple(p50, p99, max));
    }
}

TEST(BenchReport, LastLineHasTheAgreedFieldsInOrder)
{
    const BenchFigures figures{60.014, {16.666, 16.904, 1234.5}, {3.1, 3.996, 9.0}, 209.6, 84.7};
    EXPECT_EQ(machine_line(figures), "fps_mean=60.01 frame_p50_ms=16.67 frame_p99_ms=16.90 frame_max_ms=1234.50 "
                                     "work_p50_ms=3.10 work_p99_ms=4.00 startup_ms=210 peak_mib=85");
}

TEST(BenchReport, PeakMemoryComesFromTheVmHwmLine)
{
    const std::pair<const char*, long> rows[] = {
        {"Name:\ttirak-bench\nVmPeak:\t  912340 kB\nVmHWM:\t   87040 kB\nVmRSS:\t   86000 kB\n", 87040},
        {"VmHWM:87040 kB", 87040}, {"VmHWM:\t 0 kB\n", 0}, {"VmRSS:\t 86000 kB\n", -1}, {"VmHWM:\t lots\n", -1},
        {"VmHWM:\t 87040 pages\n", -1}, {"VmHWM:\t -5 kB\n", -1}, {"", -1},
    };
    for (const auto& [status, kib] : rows)
        EXPECT_EQ(parse_vm_hwm_kib(status), kib) << status;
}

} // namespace
