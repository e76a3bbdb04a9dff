#include "world/level_show.h"

#include "world/level_loader.h"

#include <sstream>

namespace {

char cell_mark(int32_t value)
{
    switch (value) {
    case CELL_EMPTY: return '.';
    case CELL_CUBE: return '#';
    case CELL_BEAMER: return 'B';
    case CELL_SHIP_START: return 'S';
    case CELL_GOAL: return 'G';
    default: return 'X'; // blocks the ship, but is never drawn
    }
}

} // namespace

std::string show_level(const LevelGrid& grid)
{
    std::ostringstream text;
    text << "size " << grid.size << ": . empty  # cube  B beamer  S ship start  G goal  X hidden wall\n";
    for (int32_t y = 0; y < grid.size; ++y) {
        text << "y = " << y << "\n     x";
        for (int32_t x = 0; x < grid.size; ++x)
            text << ' ' << x % 10;
        text << '\n';
        for (int32_t z = 0; z < grid.size; ++z) {
            text << "  z " << z % 10 << ' ';
            for (int32_t x = 0; x < grid.size; ++x)
                text << ' ' << cell_mark(grid.cells[cell_index(grid, x, y, z)]);
            text << '\n';
        }
    }
    return text.str();
}
