// Makes new levels: seeded random levels, changed one cube at a time and
// judged by playing them with the game's own rules and solver.
#pragma once

#include "world/level_stats.h"

#include <cstdint>
#include <string>

struct GenerateOptions {
    uint64_t seed = 1;
    int32_t size = 6;       // cells along each edge, 2 to 16
    int32_t launches = 8;   // of the shortest way wanted
    int32_t max_cubes = 40;
    int32_t steps = 3000;   // changes tried, so that a run takes seconds
    bool beamers = false;   // a pair of beamers every way to the goal goes through
    bool vertical = false;  // no way to the goal without launching up or down
    bool dead_ends = false; // places to rest from which the goal is out of reach
};

struct GeneratedLevel {
    std::string text; // a level file, its figures in the opening notes
    LevelStats stats;
    bool as_asked = false; // the launches and everything else that was asked for
};

// The same options give the same level on every machine.
//
// A draft starts with the goal in line with the ship and cubes at random,
// then one change at a time is tried: a cube moved, nudged, added or taken
// away, the ship, the goal or a beamer moved. A change is kept unless it
// makes the level worse by, in this order: playable (a way to the goal, no
// endless flight), open (at least three resting places for every launch of
// the shortest way, so that the player has choices), the features asked
// for, the shortest way as near the launches asked for as it gets, and the
// resting places, which lead the search on while the shortest way stays
// the same. Changes that keep all of these let the draft wander. Last,
// every cube the level can do without, resting places apart, is taken away.
GeneratedLevel generate_level(const GenerateOptions& options);
