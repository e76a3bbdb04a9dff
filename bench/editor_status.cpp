// tirak-bench-status: what the editor's status line costs, which it works
// out again after every edit, for each level file named. The status must
// keep up with a designer's keys: under 2 ms on the largest level.
//
//   cd data && ../build/tirak-bench-status levels/*.lev ../bench/stress16.lev
//
// One line a file with the median and fastest of a number of runs (the
// fastest counts other programs on the machine least) and the status
// itself, then the slowest median of them all.

#include "config/config_file.h"
#include "editor/draft_file.h"
#include "editor/draft_status.h"
#include "world/level_loader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int RUNS = 51;
constexpr int STATUS_USAGE = 2;
constexpr int STATUS_FAILED = 1;

double milliseconds_of_status(const LevelDraft& draft, std::string& status)
{
    const auto start = std::chrono::steady_clock::now();
    status = draft_status(draft);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tirak-bench-status LEVELFILE...\n");
        return STATUS_USAGE;
    }
    double slowest = 0.0;
    std::string slowest_file;
    for (int k = 1; k < argc; ++k) {
        LevelDraft draft;
        try {
            Result<LevelDraft> read = read_draft(argv[k]);
            if (!read) {
                std::fprintf(stderr, "%s: %s\n", argv[k], read.problem().c_str());
                return STATUS_FAILED;
            }
            draft = std::move(read.value());
        } catch (const ConfigFile::file_not_found& unread) {
            std::fprintf(stderr, "%s: %s\n", argv[k], unread.missing ? "cannot be opened" : unread.problem.c_str());
            return STATUS_FAILED;
        }
        std::string status;
        std::vector<double> times;
        for (int run = 0; run < RUNS; ++run)
            times.push_back(milliseconds_of_status(draft, status));
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("%s: status_median_ms=%.3f status_fastest_ms=%.3f, %s\n", argv[k], median, times.front(),
                    status.c_str());
        if (median >= slowest) {
            slowest = median;
            slowest_file = argv[k];
        }
    }
    std::printf("slowest_status_median_ms=%.3f %s\n", slowest, slowest_file.c_str());
    return 0;
}
