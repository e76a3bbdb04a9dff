#include "support/scratch_levels.h"

#include "config/config_file.h"
#include "world/level_loader.h"
#include "world/level_show.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A level file whose "cubes" need not match its list.
std::string file(int size, int cubes, const std::string& list)
{
    return "size = " + std::to_string(size) + "\ncubes = " + std::to_string(cubes) + "\nlevel = " + list + "\n";
}

// "size: x y z value; ..." for the occupied cells in cell order, or why the
// level could not be loaded.
std::string load(int number)
{
    LevelGrid grid;
    try {
        std::string text = std::to_string(load_level(number, grid)) + ":";
        for (int32_t at = 0, n = grid.size; at < grid.cell_count; ++at)
            if (grid.cells[at] != CELL_EMPTY)
                text += " " + std::to_string(at % n) + " " + std::to_string(at / n % n) + " " +
                        std::to_string(at / n / n) + " " + std::to_string(grid.cells[at]) + ";";
        return text;
    } catch (const LevelError& error) {
        EXPECT_EQ(error.file_name, level_file_name(number));
        return error.problem;
    } catch (const ConfigFile::file_not_found& error) {
        return "cannot open " + error.file_name;
    }
}

TEST(LevelLoader, NamesThreeFilesForEver)
{
    const std::pair<int, const char*> names[] = {{1, "levels/1.lev"}, {3, "levels/3.lev"}, {4, "levels/1.lev"},
        {3001, "levels/1.lev"}, {0, "levels/3.lev"}, {-1, "levels/-1.lev"}, {-3, "levels/3.lev"}, {-5, "levels/-2.lev"}};
    for (const auto& [number, name] : names)
        EXPECT_EQ(level_file_name(number), name) << number;
}

TEST(LevelLoader, AcceptsAndRejects)
{
    const char* const no_start = "it has no ship start (a cell with the value 5)";
    const struct { const char* name; std::string text, result; } rows[] = {
        {"notes, unknown keys, a list over lines, a sentry",
         "# A level.\nsize = 4   # cells\nunknown = 12\ncubes = 4\nlevel = 0 0 0 5   # ship\n  3 0 0 1\n"
         "# a note between the rows\n  1\t2 3 6\n  2 1 3 2\n\nEndConfigFile\nsize = 9\nlevel = 1 1 1 1\n",
         "4: 0 0 0 5; 3 0 0 1; 2 1 3 2; 1 2 3 6;"},
        {"four integers a cube, no more", file(3, 2, "1 0 0 5 2 0 0 1 0 2 0 6"), "3: 1 0 0 5; 2 0 0 1;"},
        {"a missing entry reads as 0 0 0 0", file(3, 3, "0 0 0 1 2 2 2 5"), "3: 2 2 2 5;"},
        {"a last entry cut short still counts", file(3, 2, "1 1 1 5 1 1 1"), no_start},
        {"reading stops at a word", file(3, 2, "1 1 1 5 2 x 2 6"), "3: 1 1 1 5;"},
        {"and at a number too large", file(3, 2, "1 1 1 5 2 99999999999 2 6"), "3: 1 1 1 5;"},
        {"a later entry wins", level_text(3, "1 1 1 6 0 0 0 5 1 1 1 1"), "3: 0 0 0 5; 1 1 1 1;"},
        // Unchecked, (5, 0, 0) would land on (0, 1, 0) and (0, 0, 5) past the cells.
        {"entries outside are skipped", level_text(5, "2 2 2 5 5 0 0 1 -1 1 0 1 0 0 5 1 0 -1 0 6 4 4 4 6"),
         "5: 2 2 2 5; 4 4 4 6;"},
        {"a ship start outside is none", level_text(3, "3 0 0 5 1 1 1 6"), no_start},
        {"the largest grid", level_text(MAX_GRID_SIZE, "63 63 63 5"), "64: 63 63 63 5;"},
        {"one cell", level_text(1, "0 0 0 5"), "1: 0 0 0 5;"},
        {"an entry for every cell of the largest grid", file(3, 262144, "1 1 1 5"), "3: 1 1 1 5;"},
        {"negative size", file(-3, 1, "0 0 0 5"), "size is -3, which is negative"},
        {"negative count", file(3, -1, "0 0 0 5"), "cubes is -1, which is negative"},
        {"too wide", file(65, 1, "0 0 0 5"), "size is 65, larger than the largest grid of 64 cells a side"},
        {"too many", file(3, 262145, ""), "cubes is 262145, more entries than the largest grid has cells (262144)"},
        {"no size, no cells", "cubes = 1\nlevel = 0 0 0 5\n", no_start},
        {"no entries", file(3, 0, "1 1 1 5"), no_start},
        {"no list", "size = 2\ncubes = 2\n", no_start},
    };
    const ScratchLevels scratch;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        scratch.write("levels/1.lev", row.text);
        EXPECT_EQ(load(1), row.result);
    }
    EXPECT_EQ(load(2), "cannot open levels/2.lev");
}

TEST(LevelShow, DrawsOneLayerAtATime)
{
    LevelGrid grid;
    grid.size = 2;
    grid.cell_count = 8;
    grid.cells = {CELL_SHIP_START, CELL_CUBE, CELL_EMPTY, CELL_BEAMER, 7, CELL_GOAL, CELL_BEAMER, CELL_EMPTY};
    EXPECT_EQ(show_level(grid), "size 2: . empty  # cube  B beamer  S ship start  G goal  X hidden wall\n"
                                "y = 0\n     x 0 1\n  z 0  S #\n  z 1  X G\ny = 1\n     x 0 1\n  z 0  . B\n  z 1  B .\n");
    grid.size = 11; // columns and rows are numbered with one digit
    grid.cells.assign(grid.cell_count = 1331, CELL_EMPTY);
    EXPECT_NE(show_level(grid).find("     x 0 1 2 3 4 5 6 7 8 9 0\n  z 0  . . . . . . . . . . .\n"), std::string::npos);
    EXPECT_NE(show_level(grid).find("  z 9  . . . . . . . . . . .\n  z 0  . . . . . . . . . . .\ny = 1"), std::string::npos);
}

} // namespace
