// The solver view's marks of a level, found by the search behind the hint
// key and `tirak-levels`, so that the view, the status line and the tools
// always agree.
#pragma once

#include "game/level_grid.h"
#include "game/ship_motion.h"
#include "game/solver_marks.h"

// Marks a level whose ship starts are cleared, from the ship at its start.
// A level whose goal is out of reach still has its resting cells and its
// dead ends, which are then all of them.
SolverMarks mark_level(const LevelGrid& grid, const RestingShip& start);
