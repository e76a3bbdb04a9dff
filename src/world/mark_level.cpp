#include "world/mark_level.h"

#include "world/flight_rules.h"
#include "world/level_search.h"

#include <set>

namespace {

// Plays one launch frame by frame, as the search does, to see which
// beamers it goes through: the search keeps only that it went through some.
WayLaunch trace_launch(const LevelGrid& grid, const RestingShip& from, int heading)
{
    const Heading along{LAUNCH_HEADINGS[heading].axis, LAUNCH_HEADINGS[heading].sign};
    ShipMotion motion = launch_from(from);
    WayLaunch launch;
    for (;;) {
        const FlightStep step = step_flight(grid, along, motion);
        motion = step.motion;
        if (step.beamed && step.end != StepEnd::ENDLESS) {
            launch.beamers.push_back(step.ahead);
            launch.beamers.push_back(step.beamer_exit);
        }
        if (step.end == StepEnd::GOAL) {
            launch.to = step.ahead;
            return launch;
        }
        if (step.end != StepEnd::NONE) {
            launch.to = motion.cell;
            return launch;
        }
    }
}

} // namespace

SolverMarks mark_level(const LevelGrid& grid, const RestingShip& start)
{
    const LevelSearch search = search_level(grid, start);
    SolverMarks marks;
    marks.start = start.cell;

    std::set<Cell> resting, dead;
    for (const RestingShip& ship : search.states)
        resting.insert(ship.cell);
    for (const int state : search.dead_ends)
        dead.insert(search.states[state].cell);
    marks.resting.assign(resting.begin(), resting.end());
    marks.dead_ends.assign(dead.begin(), dead.end());

    // Each launch of the solution but the last leads to the state the next
    // one starts from; the last leads to the goal.
    int state = 0;
    for (const int heading : search.solution) {
        marks.way.push_back(trace_launch(grid, search.states[state], heading));
        state = search.moves[state][heading];
    }
    return marks;
}
