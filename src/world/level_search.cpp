#include "world/level_search.h"

#include "world/flight_rules.h"

#include <deque>
#include <map>
#include <tuple>

const LaunchHeading LAUNCH_HEADINGS[HEADING_COUNT] = {
    {AXIS_X, +1, "+x"}, {AXIS_X, -1, "-x"}, {AXIS_Y, +1, "+y"},
    {AXIS_Y, -1, "-y"}, {AXIS_Z, +1, "+z"}, {AXIS_Z, -1, "-z"},
};

namespace {

// Two resting ships are one state only when all of them is the same. The
// drawn position is not just a picture: the ship is lost when it passes the
// loss bounds, and a ship resting with its picture a cell behind its cell
// flies a cell farther before that happens.
using StateKey = std::tuple<int32_t, int32_t, int32_t, float, float, float, float>;

StateKey key_of(const RestingShip& ship)
{
    return {ship.cell[0], ship.cell[1], ship.cell[2], ship.flight_progress,
            ship.drawn.x, ship.drawn.y, ship.drawn.z};
}

// Marks every state from which the goal can still be reached: those with a
// goal move, then, until nothing changes, those with a move to a marked one.
std::vector<bool> states_that_can_win(const LevelSearch& search)
{
    const size_t count = search.states.size();
    std::vector<std::vector<int>> comes_from(count);
    std::vector<bool> can_win(count, false);
    std::deque<int> queue;
    for (size_t state = 0; state < count; ++state)
        for (const int target : search.moves[state]) {
            if (target >= 0)
                comes_from[target].push_back(static_cast<int>(state));
            if (target == MOVE_GOAL && !can_win[state]) {
                can_win[state] = true;
                queue.push_back(static_cast<int>(state));
            }
        }
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        for (const int before : comes_from[state])
            if (!can_win[before]) {
                can_win[before] = true;
                queue.push_back(before);
            }
    }
    return can_win;
}

} // namespace

LaunchResult play_launch(const LevelGrid& grid, const RestingShip& from, int heading)
{
    const Heading along{LAUNCH_HEADINGS[heading].axis, LAUNCH_HEADINGS[heading].sign};
    ShipMotion motion = launch_from(from);
    bool beamed = false;
    // Every flight ends: without beamers it is lost within a few dozen cells
    // of the grid, and the step ends one that comes out of a beamer twice.
    for (int64_t frame = 1;; ++frame) {
        const FlightStep step = step_flight(grid, along, motion);
        beamed = beamed || step.beamed;
        motion = step.motion;
        switch (step.end) {
        case StepEnd::NONE: break;
        case StepEnd::RESTS: return {LaunchEnd::RESTS, resting_ship(motion), frame, beamed};
        case StepEnd::GOAL: return {LaunchEnd::GOAL, from, frame, beamed};
        case StepEnd::LOST: return {LaunchEnd::LOST, from, frame, beamed};
        case StepEnd::ENDLESS: return {LaunchEnd::ENDLESS, from, frame, beamed};
        }
    }
}

LevelSearch search_level(const LevelGrid& grid, const RestingShip& from)
{
    LevelSearch search;
    std::map<StateKey, int> known;
    std::vector<int> parent{-1};
    std::vector<int> parent_heading{-1};

    search.states.push_back(from);
    known[key_of(search.states[0])] = 0;

    // States are appended in the order they are first reached, so walking
    // the list in order is a breadth-first search.
    for (size_t state = 0; state < search.states.size(); ++state) {
        std::array<int, HEADING_COUNT> moves{};
        std::array<bool, HEADING_COUNT> beamed{};
        for (int heading = 0; heading < HEADING_COUNT; ++heading) {
            const LaunchResult result = play_launch(grid, search.states[state], heading);
            beamed[heading] = result.beamed;
            switch (result.end) {
            case LaunchEnd::GOAL: moves[heading] = MOVE_GOAL; break;
            case LaunchEnd::LOST: moves[heading] = MOVE_LOST; break;
            case LaunchEnd::ENDLESS:
                moves[heading] = MOVE_ENDLESS;
                search.endless.push_back({static_cast<int>(state), heading});
                break;
            case LaunchEnd::RESTS: {
                const auto [at, added] =
                    known.emplace(key_of(result.ship), static_cast<int>(search.states.size()));
                if (added) {
                    search.states.push_back(result.ship);
                    parent.push_back(static_cast<int>(state));
                    parent_heading.push_back(heading);
                }
                moves[heading] = at->second;
                break;
            }
            }
        }
        search.moves.push_back(moves);
        search.beamed.push_back(beamed);
    }

    // The first state in breadth-first order with a move to the goal is one
    // of the nearest to the start.
    for (size_t state = 0; state < search.states.size() && !search.solvable; ++state)
        for (int heading = 0; heading < HEADING_COUNT; ++heading)
            if (search.moves[state][heading] == MOVE_GOAL) {
                search.solvable = true;
                search.solution.push_back(heading);
                for (int at = static_cast<int>(state); parent[at] >= 0; at = parent[at])
                    search.solution.insert(search.solution.begin(), parent_heading[at]);
                break;
            }

    const std::vector<bool> can_win = states_that_can_win(search);
    for (size_t state = 0; state < search.states.size(); ++state)
        if (!can_win[state])
            search.dead_ends.push_back(static_cast<int>(state));
    return search;
}
