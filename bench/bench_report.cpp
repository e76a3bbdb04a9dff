#include "bench_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

double nearest_rank(std::vector<double> values, double percent)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    // The rank is counted from 1; a fraction rounds up, so p99 of 100 values
    // is the 99th and p99 of 50 values is the 50th, the largest.
    const double rank = std::ceil(percent / 100.0 * static_cast<double>(values.size()));
    const size_t index = rank < 1.0 ? 0 : static_cast<size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

Spread spread_of(const std::vector<double>& values)
{
    Spread spread;
    spread.p50 = nearest_rank(values, 50.0);
    spread.p99 = nearest_rank(values, 99.0);
    spread.max = values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
    return spread;
}

std::string machine_line(const BenchFigures& f)
{
    // Start-up and memory are whole numbers: their noise is larger than a
    // millisecond or a MiB anyway.
    char line[256] = {};
    std::snprintf(line, sizeof line,
                  "fps_mean=%.2f frame_p50_ms=%.2f frame_p99_ms=%.2f frame_max_ms=%.2f "
                  "work_p50_ms=%.2f work_p99_ms=%.2f startup_ms=%.0f peak_mib=%.0f",
                  f.fps_mean, f.frame_ms.p50, f.frame_ms.p99, f.frame_ms.max, f.work_ms.p50,
                  f.work_ms.p99, f.startup_ms, f.peak_mib);
    return line;
}

long parse_vm_hwm_kib(const std::string& status_text)
{
    std::istringstream lines(status_text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("VmHWM:", 0) != 0)
            continue;
        std::istringstream fields(line.substr(6));
        long kib = -1;
        std::string unit;
        if (fields >> kib >> unit && unit == "kB" && kib >= 0)
            return kib;
        return -1;
    }
    return -1;
}
