// What the level editor's solver view shows of a level: where the ship can
// rest, where it is stuck, and one shortest way to the goal. The cells are
// counted as `tirak-levels stats` counts them: a cell the ship can rest in
// in several ways (another flight phase, its picture elsewhere) is one.
#pragma once

#include "game/ship_motion.h"

#include <vector>

// One launch of the way. A launch that goes through the beamers enters one
// and leaves the other, which is where it flies on from.
struct WayLaunch {
    std::vector<Cell> beamers; // entered, then left, in the order flown
    Cell to{};                 // where the ship rests after it, or the goal
};

struct SolverMarks {
    // Both in cell order, as std::array compares them.
    std::vector<Cell> resting;   // every cell the ship can rest in, the start among them
    std::vector<Cell> dead_ends; // those from which the goal cannot be reached any more
    Cell start{};
    // A launch a step from the start; empty when the goal is out of reach.
    std::vector<WayLaunch> way;
};
