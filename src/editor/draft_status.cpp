#include "editor/draft_status.h"

#include "editor/draft_file.h"
#include "language/language.h"
#include "world/flight_rules.h"
#include "world/level_check.h"
#include "world/level_stats.h"
#include "world/mark_level.h"

#include <algorithm>
#include <cstdint>

namespace {

const char* const SEPARATOR = " \u00b7 ";

std::string count_words(bool shown, uint64_t count, const char* one, const char* many)
{
    return fill(words_n(shown, one, many, count), {{"count", std::to_string(count)}});
}

} // namespace

namespace {

std::string stats_status(const LevelStats& stats, bool shown)
{
    // TRANSLATORS: the editor's verdict on a level being built; {launches}
    // reads "7 launches", the launches of a shortest way.
    return fill(words(shown, "solvable: {launches}"),
                {{"launches", count_words(shown, stats.launches, "{count} launch", "{count} launches")}}) +
           SEPARATOR + count_words(shown, stats.shortest_ways, "{count} shortest way", "{count} shortest ways") + SEPARATOR +
           count_words(shown, stats.resting_places, "{count} resting place", "{count} resting places") + SEPARATOR +
           count_words(shown, stats.dead_ends, "{count} dead end", "{count} dead ends");
}

std::string problem_status(const std::string& problem, bool shown)
{
    return problem == GOAL_OUT_OF_REACH ? words(shown, "no way to the goal") : problem;
}

} // namespace

DraftStatus draft_status(const LevelDraft& draft)
{
    const LevelFile level = draft_level_file(draft);
    const std::vector<std::string> problems = check_level(level);
    if (!problems.empty()) {
        // Checked again for the player's words: only a level with a fault
        // pays for it.
        const std::string english = problem_status(problems.front(), false);
        return {english, translating() ? problem_status(check_level(level, true).front(), true) : english};
    }
    LevelGrid grid = draft.grid;
    const RestingShip start = take_ship_start(grid);
    const LevelStats stats = measure_level(grid, start);
    return {stats_status(stats, false), stats_status(stats, true)};
}

SolverMarks draft_marks(const LevelDraft& draft)
{
    if (std::count(draft.grid.cells.begin(), draft.grid.cells.end(), CELL_SHIP_START) == 0)
        return {};
    LevelGrid grid = draft.grid;
    const RestingShip start = take_ship_start(grid);
    return mark_level(grid, start);
}
