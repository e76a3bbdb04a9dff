#include "editor/draft_status.h"

#include "editor/draft_file.h"
#include "world/flight_rules.h"
#include "world/level_check.h"
#include "world/level_stats.h"
#include "world/mark_level.h"

#include <algorithm>
#include <cstdint>

namespace {

const char* const SEPARATOR = " \u00b7 ";

std::string figure(uint64_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::string draft_status(const LevelDraft& draft)
{
    const std::vector<std::string> problems = check_level(draft_level_file(draft));
    if (!problems.empty())
        return problems.front() == GOAL_OUT_OF_REACH ? "no way to the goal" : problems.front();

    LevelGrid grid = draft.grid;
    const RestingShip start = take_ship_start(grid);
    const LevelStats stats = measure_level(grid, start);
    return "solvable: " + figure(stats.launches, "launch", "launches") + SEPARATOR +
           figure(stats.shortest_ways, "shortest way", "shortest ways") + SEPARATOR +
           figure(stats.resting_places, "resting place", "resting places") + SEPARATOR +
           figure(stats.dead_ends, "dead end", "dead ends");
}

SolverMarks draft_marks(const LevelDraft& draft)
{
    if (std::count(draft.grid.cells.begin(), draft.grid.cells.end(), CELL_SHIP_START) == 0)
        return {};
    LevelGrid grid = draft.grid;
    const RestingShip start = take_ship_start(grid);
    return mark_level(grid, start);
}
