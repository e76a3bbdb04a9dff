// tirak-bench-status: what the editor's status line costs, which it works
// out again after every edit, for each level file named; what the solver
// view's marks cost, made with it; and what a whole edit costs, both and
// the edit itself. An edit must keep up with a designer's keys: under 2 ms
// on the largest level.
//
//   cd data && ../build/tirak-bench-status levels/*.lev ../bench/stress16.lev
//
// One line a file with the median and fastest of a number of runs (the
// fastest counts other programs on the machine least) and the status
// itself, then the slowest medians of them all.

#include "config/config_file.h"
#include "editor/draft_file.h"
#include "editor/draft_status.h"
#include "editor/level_editor.h"
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

template <typename Work>
double milliseconds_of(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The median and the fastest.
struct Times {
    double median = 0.0;
    double fastest = 0.0;
};

template <typename Work>
Times times_of(Work work)
{
    std::vector<double> times;
    for (int run = 0; run < RUNS; ++run)
        times.push_back(milliseconds_of(work));
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

// The edit timed: a cube put into the last cell that is empty, or taken
// out of it where it holds one, far from the ship start of most levels.
Cell far_cell(const LevelGrid& grid)
{
    for (int32_t at = grid.cell_count - 1; at > 0; --at)
        if (grid.cells[at] == CELL_EMPTY || grid.cells[at] == CELL_CUBE)
            return cell_at(grid, at);
    return cell_at(grid, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tirak-bench-status LEVELFILE...\n");
        return STATUS_USAGE;
    }
    double slowest = 0.0, slowest_edit = 0.0;
    std::string slowest_file, slowest_edit_file;
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
        const Times status_times = times_of([&] { status = draft_status(draft).english; });
        const Times marks_times = times_of([&] { draft_marks(draft); });
        // Each run is an edit and its undo, which is an edit too.
        LevelEditor editor(draft);
        const Cell cell = far_cell(draft.grid);
        const int32_t content = cell_value(draft.grid, cell) == CELL_CUBE ? CELL_EMPTY : CELL_CUBE;
        bool edited = true;
        Times edit_times = times_of([&] { edited = editor.place(cell, content) && editor.undo() && edited; });
        if (!edited) {
            std::fprintf(stderr, "%s: the timed edit was refused\n", argv[k]);
            return STATUS_FAILED;
        }
        edit_times.median /= 2.0;
        edit_times.fastest /= 2.0;
        std::printf("%s: status_median_ms=%.3f status_fastest_ms=%.3f marks_median_ms=%.3f "
                    "edit_median_ms=%.3f edit_fastest_ms=%.3f, %s\n",
                    argv[k], status_times.median, status_times.fastest, marks_times.median, edit_times.median,
                    edit_times.fastest, status.c_str());
        if (status_times.median >= slowest) {
            slowest = status_times.median;
            slowest_file = argv[k];
        }
        if (edit_times.median >= slowest_edit) {
            slowest_edit = edit_times.median;
            slowest_edit_file = argv[k];
        }
    }
    std::printf("slowest_status_median_ms=%.3f %s\n", slowest, slowest_file.c_str());
    std::printf("slowest_edit_median_ms=%.3f %s\n", slowest_edit, slowest_edit_file.c_str());
    return 0;
}
