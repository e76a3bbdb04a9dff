// The editor's status line: what a designer needs to know about the draft
// after every edit, worked out by playing it with the game's own rules.
#pragma once

#include "editor/level_draft.h"
#include "game/solver_marks.h"

#include <string>

// One of:
//   "solvable: 7 launches · 2 shortest ways · 23 resting places · 4 dead ends"
//   "no way to the goal"
//   the first problem `tirak-levels check` would report for the draft saved
// The figures are those of `tirak-levels stats`. In English, as the
// console says it, and in the player's language, for the screen.
struct DraftStatus {
    std::string english;
    std::string shown;
};
DraftStatus draft_status(const LevelDraft& draft);

// What the solver view shows of the draft, played from its ship start; no
// marks at all when it has none.
SolverMarks draft_marks(const LevelDraft& draft);
