#include "editor/draft_edit.h"

#include "language/language.h"

#include <algorithm>

namespace {

constexpr int32_t BEAMERS_PER_LEVEL = 2;

Failure refused(std::string why)
{
    return {std::move(why)};
}

// An edit of cells alone, with no change yet.
DraftEdit cells_edit(const LevelDraft& draft)
{
    return {draft.grid.size, draft.grid.size, {}};
}

bool placeable(int32_t content)
{
    return content == CELL_EMPTY || content == CELL_CUBE || content == CELL_BEAMER ||
           content == CELL_SHIP_START || content == CELL_GOAL;
}

// The grid at another size, its cells where they were; those outside the
// new grid are dropped.
LevelGrid resized(const LevelGrid& grid, int32_t size)
{
    LevelGrid result = empty_grid(size);
    for (int32_t index = 0; index < grid.cell_count; ++index) {
        const Cell cell = cell_at(grid, index);
        if (holds_cell(result, cell))
            result.cells[cell_index_of(result, cell)] = grid.cells[index];
    }
    return result;
}

} // namespace

bool changes_nothing(const DraftEdit& edit)
{
    return edit.changes.empty() && edit.size_before == edit.size_after;
}

EditOutcome place_in_cell(const LevelDraft& draft, const Cell& cell, int32_t content)
{
    const LevelGrid& grid = draft.grid;
    if (!placeable(content))
        return refused(tr("only cubes, beamers, the ship start and the goal can be placed"));
    if (!holds_cell(grid, cell))
        return refused(tr("that cell is outside the grid"));
    DraftEdit edit = cells_edit(draft);
    const int32_t before = cell_value(grid, cell);
    if (before == content)
        return edit;

    if (content == CELL_BEAMER &&
        std::count(grid.cells.begin(), grid.cells.end(), CELL_BEAMER) >= BEAMERS_PER_LEVEL)
        return refused(tr("a level has one pair of beamers; empty one of them first"));
    // There is only ever one ship start and one goal: placing one moves it.
    if (content == CELL_SHIP_START || content == CELL_GOAL)
        for (int32_t index = 0; index < grid.cell_count; ++index)
            if (grid.cells[index] == content)
                edit.changes.push_back({cell_at(grid, index), content, CELL_EMPTY});
    edit.changes.push_back({cell, before, content});
    return edit;
}

EditOutcome resize_grid(const LevelDraft& draft, int32_t size)
{
    const LevelGrid& grid = draft.grid;
    if (size < MIN_DRAFT_SIZE)
        return refused(fill(tr_n("a grid is at least {count} cell a side", "a grid is at least {count} cells a side", MIN_DRAFT_SIZE), {{"count", std::to_string(MIN_DRAFT_SIZE)}}));
    if (size > MAX_DRAFT_SIZE && size > grid.size)
        return refused(fill(tr_n("a grid is at most {count} cell a side", "a grid is at most {count} cells a side", MAX_DRAFT_SIZE), {{"count", std::to_string(MAX_DRAFT_SIZE)}}));
    DraftEdit edit{grid.size, size, {}};
    const LevelGrid kept = empty_grid(size);
    for (int32_t index = 0; index < grid.cell_count; ++index) {
        const Cell cell = cell_at(grid, index);
        const int32_t value = grid.cells[index];
        if (value == CELL_EMPTY || holds_cell(kept, cell))
            continue;
        // The designer would not see them go: they must be moved in first.
        if (value == CELL_SHIP_START)
            return refused(tr("the ship start would fall outside the grid; move it in first"));
        if (value == CELL_GOAL)
            return refused(tr("the goal would fall outside the grid; move it in first"));
        edit.changes.push_back({cell, value, CELL_EMPTY});
    }
    return edit;
}

void apply_edit(LevelDraft& draft, const DraftEdit& edit)
{
    for (const CellChange& change : edit.changes)
        draft.grid.cells[cell_index_of(draft.grid, change.cell)] = change.after;
    if (edit.size_after != edit.size_before)
        draft.grid = resized(draft.grid, edit.size_after);
}

void revert_edit(LevelDraft& draft, const DraftEdit& edit)
{
    if (edit.size_after != edit.size_before)
        draft.grid = resized(draft.grid, edit.size_before);
    for (auto change = edit.changes.rbegin(); change != edit.changes.rend(); ++change)
        draft.grid.cells[cell_index_of(draft.grid, change->cell)] = change->before;
}
