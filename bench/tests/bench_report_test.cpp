#include "bench_report.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

TEST(NearestRank, MedianOfAnOddSetIsItsMiddleValue)
{
    EXPECT_DOUBLE_EQ(nearest_rank({5.0, 1.0, 3.0, 2.0, 4.0}, 50.0), 3.0);
}

TEST(NearestRank, MedianOfAnEvenSetIsTheLowerMiddleValue)
{
    // Nearest rank reports a duration that really occurred, never an average.
    EXPECT_DOUBLE_EQ(nearest_rank({4.0, 1.0, 3.0, 2.0}, 50.0), 2.0);
}

TEST(NearestRank, P99OfAHundredValuesIsTheSecondLargest)
{
    std::vector<double> values;
    for (int k = 100; k >= 1; --k)
        values.push_back(k);
    EXPECT_DOUBLE_EQ(nearest_rank(values, 99.0), 99.0);
}

TEST(NearestRank, P99OfFewerThanAHundredValuesIsTheLargest)
{
    std::vector<double> values;
    for (int k = 1; k <= 50; ++k)
        values.push_back(k);
    EXPECT_DOUBLE_EQ(nearest_rank(values, 99.0), 50.0);
}

TEST(NearestRank, OneLateFrameInAThousandStaysOutOfP99)
{
    std::vector<double> values(999, 16.67);
    values.push_back(40.0);
    const Spread spread = spread_of(values);
    EXPECT_DOUBLE_EQ(spread.p50, 16.67);
    EXPECT_DOUBLE_EQ(spread.p99, 16.67);
    EXPECT_DOUBLE_EQ(spread.max, 40.0);
}

TEST(NearestRank, TwentyLateFramesInAThousandReachP99)
{
    std::vector<double> values(980, 16.67);
    values.insert(values.end(), 20, 18.0);
    EXPECT_DOUBLE_EQ(spread_of(values).p99, 18.0);
}

TEST(NearestRank, AnEmptySetGivesZeros)
{
    const Spread spread = spread_of({});
    EXPECT_EQ(spread.p50, 0.0);
    EXPECT_EQ(spread.p99, 0.0);
    EXPECT_EQ(spread.max, 0.0);
}

TEST(MachineLine, HasExactlyTheAgreedFieldsInOrder)
{
    BenchFigures figures;
    figures.fps_mean = 60.014;
    figures.frame_ms = {16.666, 16.904, 17.8};
    figures.work_ms = {3.1, 3.996, 9.0};
    figures.startup_ms = 209.6;
    figures.peak_mib = 84.7;
    EXPECT_EQ(machine_line(figures),
              "fps_mean=60.01 frame_p50_ms=16.67 frame_p99_ms=16.90 frame_max_ms=17.80 "
              "work_p50_ms=3.10 work_p99_ms=4.00 startup_ms=210 peak_mib=85");
}

TEST(MachineLine, SlowFramesKeepTheForm)
{
    BenchFigures figures;
    figures.fps_mean = 7.5;
    figures.frame_ms = {133.3, 150.25, 1234.5};
    figures.work_ms = {132.0, 149.0, 1233.0};
    figures.startup_ms = 1500.0;
    figures.peak_mib = 140.0;
    const std::regex form("fps_mean=[0-9]+\\.[0-9]{2} frame_p50_ms=[0-9]+\\.[0-9]{2} "
                          "frame_p99_ms=[0-9]+\\.[0-9]{2} frame_max_ms=[0-9]+\\.[0-9]{2} "
                          "work_p50_ms=[0-9]+\\.[0-9]{2} work_p99_ms=[0-9]+\\.[0-9]{2} "
                          "startup_ms=[0-9]+ peak_mib=[0-9]+");
    const std::string line = machine_line(figures);
    EXPECT_TRUE(std::regex_match(line, form)) << line;
    EXPECT_NE(line.find("frame_max_ms=1234.50 "), std::string::npos) << line;
}

TEST(VmHwm, IsReadFromItsOwnLine)
{
    const std::string status = "Name:\ttirak-bench\nVmPeak:\t  912340 kB\nVmSize:\t  900000 kB\n"
                               "VmHWM:\t   87040 kB\nVmRSS:\t   86000 kB\n";
    EXPECT_EQ(parse_vm_hwm_kib(status), 87040);
}

TEST(VmHwm, MissingOrMalformedGivesMinusOne)
{
    EXPECT_EQ(parse_vm_hwm_kib("VmRSS:\t 86000 kB\n"), -1);
    EXPECT_EQ(parse_vm_hwm_kib("VmHWM:\t lots\n"), -1);
    EXPECT_EQ(parse_vm_hwm_kib("VmHWM:\t 87040 pages\n"), -1);
    EXPECT_EQ(parse_vm_hwm_kib(""), -1);
}
