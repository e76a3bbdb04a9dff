#include "editor/level_draft.h"

#include "world/level_loader.h"

LevelGrid empty_grid(int32_t size)
{
    LevelGrid grid;
    grid.size = size;
    grid.cell_count = size * size * size;
    grid.cells.assign(static_cast<size_t>(grid.cell_count), CELL_EMPTY);
    return grid;
}

LevelDraft new_draft(const std::string& file_name)
{
    LevelDraft draft;
    draft.grid = empty_grid(NEW_DRAFT_SIZE);
    draft.file_name = file_name;
    draft.grid.cells[cell_index_of(draft.grid, {0, 0, 0})] = CELL_SHIP_START;
    draft.grid.cells[cell_index_of(draft.grid, {NEW_DRAFT_SIZE - 1, 0, 0})] = CELL_GOAL;
    return draft;
}

bool holds_cell(const LevelGrid& grid, const Cell& cell)
{
    return inside_grid(grid, cell[0], cell[1], cell[2]);
}

int32_t cell_index_of(const LevelGrid& grid, const Cell& cell)
{
    return cell_index(grid, cell[0], cell[1], cell[2]);
}

int32_t cell_value(const LevelGrid& grid, const Cell& cell)
{
    return grid.cells[cell_index_of(grid, cell)];
}

Cell cell_at(const LevelGrid& grid, int32_t index)
{
    return {index % grid.size, index / grid.size % grid.size, index / (grid.size * grid.size)};
}
