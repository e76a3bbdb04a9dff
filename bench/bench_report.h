// The benchmark's figures and the way it prints them. Kept apart from the
// program so that the arithmetic and the last line can be tested without a
// window.
#pragma once

#include <string>
#include <vector>

// Median, 99th percentile and maximum of a set of durations.
struct Spread {
    double p50 = 0.0;
    double p99 = 0.0;
    double max = 0.0;
};

// Nearest rank: the smallest value that at least `percent` of the values do
// not exceed, so every figure is a duration that really occurred. An empty
// set gives 0.
double nearest_rank(std::vector<double> values, double percent);

// The three figures of a set of durations, in the set's own unit.
Spread spread_of(const std::vector<double>& values);

// Everything the last line reports.
struct BenchFigures {
    double fps_mean = 0.0;
    Spread frame_ms;     // frame_time, sleep included
    Spread work_ms;      // work_time: the frame's cost before its sleep
    double startup_ms = 0.0;
    double peak_mib = 0.0;
};

// The machine-readable last line, without a newline:
// "fps_mean=60.01 frame_p50_ms=16.67 ... startup_ms=210 peak_mib=85".
std::string machine_line(const BenchFigures& figures);

// The "VmHWM:" value of a /proc/<pid>/status text in KiB, or -1 when the
// text has none.
long parse_vm_hwm_kib(const std::string& status_text);
