// Edits of a draft as values: each says which cells it changed, from what
// and to what, and the grid size before and after, so that undoing one is
// playing it backwards. Making an edit never changes the draft; a refused
// one says why in words the status line can show.
#pragma once

#include "editor/level_draft.h"
#include "result/result.h"

#include <cstdint>
#include <string>
#include <vector>

struct CellChange {
    Cell cell;
    int32_t before;
    int32_t after;
};

// The cell changes happen in the grid of size_before, then the grid takes
// size_after; a shrink empties the cut-off cells first.
struct DraftEdit {
    int32_t size_before = 0;
    int32_t size_after = 0;
    std::vector<CellChange> changes;
};

bool changes_nothing(const DraftEdit& edit);

// The edit to make, or why it is refused.
using EditOutcome = Result<DraftEdit>;

// Puts CELL_EMPTY, CELL_CUBE, CELL_BEAMER, CELL_SHIP_START or CELL_GOAL in a
// cell. A level has one ship start and one goal: placing either moves it
// (every other cell holding one is emptied). A third beamer is refused.
EditOutcome place_in_cell(const LevelDraft& draft, const Cell& cell, int32_t content);

// Grows or shrinks the grid along its far sides (the cells with the largest
// coordinates go or come). Growing is allowed up to MAX_DRAFT_SIZE and
// shrinking down to MIN_DRAFT_SIZE; a draft loaded bigger may only shrink.
// Cubes and beamers in the cut-off cells go with them, but a shrink that
// would lose the ship start or the goal is refused.
EditOutcome resize_grid(const LevelDraft& draft, int32_t size);

void apply_edit(LevelDraft& draft, const DraftEdit& edit);
void revert_edit(LevelDraft& draft, const DraftEdit& edit);
