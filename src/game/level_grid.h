#pragma once

#include <cstdint>
#include <vector>

// Cell values of a level grid.
constexpr int32_t CELL_EMPTY = 0;
constexpr int32_t CELL_CUBE = 1;
constexpr int32_t CELL_BEAMER = 2;
constexpr int32_t CELL_SHIP_START = 5;
constexpr int32_t CELL_GOAL = 6;

// A cubic grid of cells; cell (x, y, z) is at x + size * (y + size * z).
struct LevelGrid {
    std::vector<int32_t> cells;
    int32_t size = 0;
    int32_t cell_count = 0;
};
