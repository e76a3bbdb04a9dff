#include "world/level_stats.h"

#include "world/flight_rules.h"
#include "world/level_search.h"

#include <array>
#include <deque>
#include <limits>
#include <set>
#include <vector>

namespace {

// The fewest launches from the start to every state, using only the moves
// `allowed(state, heading)` lets through; -1 where those never lead.
template <typename Allowed>
std::vector<int> launches_to(const LevelSearch& search, Allowed allowed)
{
    std::vector<int> depth(search.states.size(), -1);
    std::deque<int> queue{0};
    depth[0] = 0;
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        for (int heading = 0; heading < HEADING_COUNT; ++heading) {
            const int target = search.moves[state][heading];
            if (target >= 0 && depth[target] < 0 && allowed(state, heading)) {
                depth[target] = depth[state] + 1;
                queue.push_back(target);
            }
        }
    }
    return depth;
}

template <typename Allowed>
bool reaches_goal(const LevelSearch& search, Allowed allowed)
{
    const std::vector<int> depth = launches_to(search, allowed);
    for (size_t state = 0; state < depth.size(); ++state)
        for (int heading = 0; heading < HEADING_COUNT; ++heading)
            if (depth[state] >= 0 && search.moves[state][heading] == MOVE_GOAL && allowed(state, heading))
                return true;
    return false;
}

uint64_t add_saturated(uint64_t a, uint64_t b)
{
    return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

// The search lists states breadth first, so every state comes after all
// those one launch nearer the start: one pass counts the ways to each.
uint64_t count_shortest_ways(const LevelSearch& search)
{
    const std::vector<int> depth = launches_to(search, [](int, int) { return true; });
    const int last = static_cast<int>(search.solution.size()) - 1;
    std::vector<uint64_t> ways(search.states.size(), 0);
    ways[0] = 1;
    uint64_t total = 0;
    for (size_t state = 0; state < search.states.size(); ++state)
        for (const int target : search.moves[state]) {
            if (target >= 0 && depth[target] == depth[state] + 1)
                ways[target] = add_saturated(ways[target], ways[state]);
            if (target == MOVE_GOAL && depth[state] == last)
                total = add_saturated(total, ways[state]);
        }
    return total;
}

} // namespace

LevelStats measure_level(const LevelGrid& grid, const RestingShip& start)
{
    LevelStats stats;
    stats.size = grid.size;
    for (const int32_t cell : grid.cells) {
        stats.cubes += cell == CELL_CUBE;
        stats.beamers += cell == CELL_BEAMER;
    }

    const LevelSearch search = search_level(grid, start);
    stats.solvable = search.solvable;
    stats.endless = !search.endless.empty();
    std::set<std::array<int32_t, 3>> resting, dead;
    for (const RestingShip& ship : search.states)
        resting.insert(ship.cell);
    for (const int state : search.dead_ends)
        dead.insert(search.states[state].cell);
    stats.resting_places = static_cast<int32_t>(resting.size());
    stats.dead_ends = static_cast<int32_t>(dead.size());
    if (!search.solvable)
        return stats;

    stats.launches = static_cast<int32_t>(search.solution.size());
    stats.shortest_ways = count_shortest_ways(search);
    stats.needs_vertical =
        !reaches_goal(search, [](int, int heading) { return LAUNCH_HEADINGS[heading].axis != AXIS_Y; });
    stats.needs_beamers =
        !reaches_goal(search, [&search](int state, int heading) { return !search.beamed[state][heading]; });
    return stats;
}
