// What the player's aids keep between frames: the R, U and H keys ask, the
// next frame answers; U takes back launches from a list of where each began.
#pragma once

#include "game/level_set.h"
#include "game/ship_motion.h"

#include <vector>

// Where a launch began: the resting ship and the heading the player had
// chosen, so that launching again from there does what it did before.
struct LaunchStart {
    RestingShip ship;
    int view_index = 0;
    int vertical_heading = 0;
};

// Level select: PageUp, PageDown, Home and End, and a level the menu's
// list chose by its number.
enum class LevelChoice { NONE, PREVIOUS, NEXT, FIRST, FURTHEST, NUMBER };

struct PlayerAids {
    LevelChoice level_choice = LevelChoice::NONE;
    int32_t chosen_level = 1; // for NUMBER
    LevelSet chosen_set = LevelSet::SHIPPED; // for NUMBER: the menu's list of the player's own, or ours
    bool restart_requested = false;
    bool undo_requested = false;
    bool hint_requested = false;
    std::vector<LaunchStart> launches; // oldest first
    // The launches as they were before R or a flight out, the place it
    // started from last: U right after the restart brings them back.
    std::vector<LaunchStart> before_restart;
};
