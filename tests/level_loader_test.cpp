#include "support/scratch_levels.h"

#include "config/config_file.h"
#include "world/level_show.h"
#include "world/level_loader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int32_t cell(const LevelGrid& grid, int32_t x, int32_t y, int32_t z)
{
    return grid.cells[x + grid.size * (y + grid.size * z)];
}

int32_t occupied_cells(const LevelGrid& grid)
{
    int32_t count = 0;
    for (const int32_t value : grid.cells)
        count += value != CELL_EMPTY;
    return count;
}

// The problem a level is rejected with, or "" when it loads.
std::string rejection(int number)
{
    LevelGrid grid;
    try {
        load_level(number, grid);
    } catch (const LevelError& error) {
        EXPECT_EQ(error.file_name, level_file_name(number));
        return error.problem;
    }
    return "";
}

TEST(LevelFileName, CyclesThroughThreeFilesForEver)
{
    EXPECT_EQ(level_file_name(1), "levels/1.lev");
    EXPECT_EQ(level_file_name(2), "levels/2.lev");
    EXPECT_EQ(level_file_name(3), "levels/3.lev");
    EXPECT_EQ(level_file_name(4), "levels/1.lev");
    EXPECT_EQ(level_file_name(6), "levels/3.lev");
    EXPECT_EQ(level_file_name(3001), "levels/1.lev");
    EXPECT_EQ(level_file_name(0), "levels/3.lev");
    // The remainder keeps the sign, so negative numbers name missing files.
    EXPECT_EQ(level_file_name(-1), "levels/-1.lev");
    EXPECT_EQ(level_file_name(-3), "levels/3.lev");
    EXPECT_EQ(level_file_name(-5), "levels/-2.lev");
}

TEST(LevelLoader, ReadsTheSettingsFormatWithCommentsAndContinuedLists)
{
    const ScratchLevels scratch;
    scratch.write_level(1, "# A level for the player, with notes.\n"
                           "size = 4   # cells along each edge\n"
                           "unknown = 12\n"
                           "cubes = 4\n"
                           "level = 0 0 0 5   # the ship\n"
                           "        3 0 0 1\n"
                           "# a note between the rows does not end the list\n"
                           "        1\t2 3 6\n"
                           "        2 1 3 2\n"
                           "\n"
                           "EndConfigFile\n"
                           "size = 9\n"
                           "level = 1 1 1 1\n");
    scratch.write_level(2, level_text(4, "0 0 0 5 3 0 0 1 1 2 3 6 2 1 3 2"));

    LevelGrid written_over_lines;
    EXPECT_EQ(load_level(1, written_over_lines), 4) << "nothing after the sentry counts";
    EXPECT_EQ(cube_count, 4);
    EXPECT_EQ(written_over_lines.cell_count, 64);
    EXPECT_EQ(cell(written_over_lines, 0, 0, 0), CELL_SHIP_START);
    EXPECT_EQ(cell(written_over_lines, 3, 0, 0), CELL_CUBE);
    EXPECT_EQ(cell(written_over_lines, 1, 2, 3), CELL_GOAL);
    EXPECT_EQ(cell(written_over_lines, 2, 1, 3), CELL_BEAMER);
    EXPECT_EQ(occupied_cells(written_over_lines), 4) << show_level(written_over_lines);

    LevelGrid written_on_one_line;
    load_level(2, written_on_one_line);
    EXPECT_EQ(written_on_one_line.cells, written_over_lines.cells);
}

TEST(LevelLoader, ReadsExactlyFourIntegersPerCube)
{
    cube_count = 2;
    EXPECT_EQ(parse_level_list("1 2 3 4 5 6 7 8 9 10 11 12"),
              (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    cube_count = 3;
    EXPECT_EQ(parse_level_list("-1 +2\n3 4 5 x 7 8 9"),
              (std::vector<int32_t>{-1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0}))
        << "reading stops at the first word that is not an integer";
    EXPECT_EQ(parse_level_list("1 99999999999 3"),
              (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}))
        << "a number too large for an int stops reading too";
    cube_count = 0;
    EXPECT_TRUE(parse_level_list("1 2 3 4").empty());
    EXPECT_EQ(count_level_integers("1 2 3\n4 5 six 7"), 5);

    const ScratchLevels scratch;
    // Twelve integers for two cubes: the goal in the third entry is not read.
    scratch.write_level(1, "size = 3\ncubes = 2\nlevel = 1 0 0 5 2 0 0 1 0 2 0 6\n");
    LevelGrid grid;
    load_level(1, grid);
    EXPECT_EQ(occupied_cells(grid), 2) << show_level(grid);
    EXPECT_EQ(cell(grid, 0, 2, 0), CELL_EMPTY);

    // Eight integers for three cubes: the missing entry reads as 0 0 0 0
    // and empties cell (0, 0, 0) again.
    scratch.write_level(2, "size = 3\ncubes = 3\nlevel = 0 0 0 1 2 2 2 5\n");
    load_level(2, grid);
    EXPECT_EQ(cell(grid, 0, 0, 0), CELL_EMPTY) << show_level(grid);
    EXPECT_EQ(cell(grid, 2, 2, 2), CELL_SHIP_START);

    // Two entries for one cell: the later one wins.
    scratch.write_level(3, level_text(3, "1 1 1 6 0 0 0 5 1 1 1 1"));
    load_level(3, grid);
    EXPECT_EQ(cell(grid, 1, 1, 1), CELL_CUBE) << show_level(grid);
}

TEST(LevelLoader, MissingKeysGiveEmptyGrids)
{
    const ScratchLevels scratch;
    const std::string without_list = scratch.write("no-list.lev", "size = 2\ncubes = 2\n");
    const LevelFile level = read_level_file(without_list);
    EXPECT_EQ(level.list, std::vector<int32_t>(8, 0));
    LevelGrid grid;
    fill_level_grid(level, grid);
    EXPECT_EQ(grid.cells, std::vector<int32_t>(8, CELL_EMPTY));

    const std::string without_size = scratch.write("no-size.lev", "cubes = 1\nlevel = 0 0 0 5\n");
    fill_level_grid(read_level_file(without_size), grid);
    EXPECT_EQ(grid.size, 0);
    EXPECT_EQ(grid.cell_count, 0);
    EXPECT_TRUE(grid.cells.empty()) << "the entry at 0 0 0 must not be written";
}

TEST(LevelLoader, EntriesOutsideTheGridAreSkipped)
{
    const ScratchLevels scratch;
    // Unchecked, (5, 0, 0) would land on (0, 1, 0), (-1, 1, 0) on (4, 0, 0)
    // and (0, 0, 5) past the end of the cells.
    scratch.write_level(1, level_text(5, "2 2 2 5 5 0 0 1 -1 1 0 1 0 0 5 1 0 -1 0 6 4 4 4 6"));
    LevelGrid grid;
    EXPECT_EQ(load_level(1, grid), 5);
    EXPECT_EQ(occupied_cells(grid), 2) << show_level(grid);
    EXPECT_EQ(cell(grid, 2, 2, 2), CELL_SHIP_START);
    EXPECT_EQ(cell(grid, 4, 4, 4), CELL_GOAL);
    EXPECT_EQ(cell(grid, 0, 1, 0), CELL_EMPTY);
    EXPECT_EQ(cell(grid, 4, 0, 0), CELL_EMPTY);
}

TEST(LevelLoader, RejectsLevelsThatCannotBePlayed)
{
    const ScratchLevels scratch;
    scratch.write_level(1, "size = -3\ncubes = 1\nlevel = 0 0 0 5\n");
    EXPECT_EQ(rejection(1), "size is -3, which is negative");

    scratch.write_level(1, "size = 3\ncubes = -1\nlevel = 0 0 0 5\n");
    EXPECT_EQ(rejection(1), "cubes is -1, which is negative");

    // The largest grid loads, with its far corner in reach; one cell more
    // is a mistake. A size of 1290 once asked for 8 GB of cells.
    scratch.write_level(1, level_text(MAX_GRID_SIZE, "63 63 63 5"));
    EXPECT_EQ(rejection(1), "");
    scratch.write_level(1, "size = 65\ncubes = 1\nlevel = 0 0 0 5\n");
    EXPECT_EQ(rejection(1), "size is 65, larger than the largest grid of 64 cells a side");
    scratch.write_level(1, "size = 1290\ncubes = 1\nlevel = 0 0 0 5\n");
    EXPECT_EQ(rejection(1), "size is 1290, larger than the largest grid of 64 cells a side");

    // As many entries as the largest grid has cells is the most a list may
    // have; the list is made before it is read, and 536870911 entries once
    // asked for 8 GB.
    scratch.write_level(1, "size = 3\ncubes = 262144\nlevel = 1 1 1 5\n");
    EXPECT_EQ(rejection(1), "");
    EXPECT_EQ(cube_count, 262144);
    scratch.write_level(1, "size = 3\ncubes = 262145\nlevel = 0 0 0 5\n");
    EXPECT_EQ(rejection(1), "cubes is 262145, more entries than the largest grid has cells (262144)");
    scratch.write_level(1, "size = 3\ncubes = 536870911\nlevel = 0 0 0 5\n");
    EXPECT_EQ(rejection(1), "cubes is 536870911, more entries than the largest grid has cells (262144)");
    EXPECT_EQ(cube_count, 262144) << "a rejected count must not size the next list";

    scratch.write_level(1, level_text(3, "1 1 1 6 0 0 0 1"));
    EXPECT_EQ(rejection(1), "it has no ship start (a cell with the value 5)");

    // A ship start outside the grid is skipped, so it is no ship start.
    scratch.write_level(1, level_text(3, "3 0 0 5 1 1 1 6"));
    EXPECT_EQ(rejection(1), "it has no ship start (a cell with the value 5)");

    scratch.write_level(1, "cubes = 1\nlevel = 0 0 0 5\n");
    EXPECT_EQ(rejection(1), "it has no ship start (a cell with the value 5)") << "no size, no cells";

    scratch.write_level(1, level_text(1, "0 0 0 5"));
    EXPECT_EQ(rejection(1), "") << "a one-cell level with just the ship loads";

    LevelGrid grid;
    try {
        load_level(2, grid);
        ADD_FAILURE() << "levels/2.lev does not exist";
    } catch (const ConfigFile::file_not_found& missing) {
        EXPECT_EQ(missing.file_name, "levels/2.lev");
    }
}

} // namespace
