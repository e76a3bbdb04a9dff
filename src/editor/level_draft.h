// A level as the editor holds it while it is being made: the grid with
// everything in it, and what its file says besides the cells.
#pragma once

#include "game/level_grid.h"
#include "game/ship_motion.h"

#include <cstdint>
#include <string>
#include <vector>

// Grids the editor makes. The ship is lost 15 cells out, so it could not
// cross a grid wider than 16; a grid of 1 leaves it nowhere to fly.
constexpr int32_t MIN_DRAFT_SIZE = 2;  // cells along an edge
constexpr int32_t MAX_DRAFT_SIZE = 16; // cells along an edge
constexpr int32_t NEW_DRAFT_SIZE = 6;  // as most shipped levels are

// What the designer wrote at one entry of the list: the note after it,
// with the spaces before it (`   # stops you at the far end of the first
// row`), and whole note lines above it (`# the wall`), each ended by a line
// feed.
struct EntryNote {
    Cell cell;
    int32_t value = 0;
    std::string after; // empty for the usual `# your ship` and such
    std::string lines_above;
};

struct LevelDraft {
    // Everything placed, the ship start included; a draft may hold what the
    // game would refuse, such as no ship start or a lone beamer.
    LevelGrid grid;
    std::string name; // empty for none: the game then calls it "Level N"
    // The comment lines at the top of its file, each ended by a line feed:
    // what the designer wrote about the level, kept above everything else.
    std::string notes;
    std::string file_name; // where it came from and is saved to
    // The beamers in the order its file listed them, so that a level saved
    // unchanged keeps its bytes; which one comes first is only a matter of
    // text, since the game pairs them by their cells.
    std::vector<Cell> beamer_order;
    // Written again after their entries for as long as the cell holds what
    // it held; an entry without one gets the usual `# your ship` and such.
    std::vector<EntryNote> entry_notes;
};

// An empty grid of the size.
LevelGrid empty_grid(int32_t size);

// A new level to be saved as `file_name`: a NEW_DRAFT_SIZE grid with the
// ship in a corner of the floor and the goal at the far end of its row. It
// is solvable from the start, as a designer expects, with one launch; the
// designer moves both where the puzzle wants them.
LevelDraft new_draft(const std::string& file_name);

// Cells of a grid by their coordinates; those of the last two must lie
// inside it.
bool holds_cell(const LevelGrid& grid, const Cell& cell);
int32_t cell_index_of(const LevelGrid& grid, const Cell& cell);
int32_t cell_value(const LevelGrid& grid, const Cell& cell);
// The cell at an index of the grid's cells.
Cell cell_at(const LevelGrid& grid, int32_t index);
