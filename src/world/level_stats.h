// What makes a level hard or easy, measured by playing it: the figures of
// `tirak-levels stats` and of the editor's status line, which the level
// generator also steers by.
#pragma once

#include "game/level_grid.h"
#include "game/ship_motion.h"

#include <cstdint>

struct LevelStats {
    int32_t size = 0;
    int32_t cubes = 0;   // cells holding a cube
    int32_t beamers = 0; // cells holding a beamer
    bool solvable = false;
    bool endless = false;         // some launch goes round the beamers for ever
    int32_t launches = 0;         // of a shortest way to the goal
    uint64_t shortest_ways = 0;   // different launch sequences of that length
    int32_t dead_ends = 0;        // cells the ship can rest in with no way to the goal left
    int32_t resting_places = 0;   // cells the ship can come to rest in, the start included
    bool needs_vertical = false;  // no way to the goal keeps to the four level headings
    bool needs_beamers = false;   // every way to the goal goes through the beamers
};

// Measures a level whose ship starts are cleared, from the ship at its start.
LevelStats measure_level(const LevelGrid& grid, const RestingShip& start);
