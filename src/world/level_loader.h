// Level files: a level number becomes a file name, the file becomes a grid
// of cells. The game, the level tools and the tests all load levels here.
#pragma once

#include "game/level_grid.h"
#include "game/level_set.h"
#include "result/result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Integers per entry of a level's "level" list: x, y, z and the cell value.
constexpr int32_t INTEGERS_PER_ENTRY = 4;
// The largest grid a level may ask for. The ship is lost 15 cells out, so
// no level it can cross is wider than 16 cells; 64 leaves room for scenery
// around it, while a mistyped size cannot ask for gigabytes of cells.
constexpr int32_t MAX_GRID_SIZE = 64; // cells along an edge
// The most entries a "level" list may have. Levels are shared, so this
// bounds what one can cost: the cubes go to the driver as one instanced
// draw whose matrices every OpenGL 3.2 driver can hold (65,536 texels, 4 a
// matrix), and the largest such level, filled and seen close, draws in
// under half a second on the software renderer. The list is made in full
// before it is read, so a mistyped "cubes" must not ask for gigabytes.
constexpr int32_t MAX_LEVEL_ENTRIES = 16384;

// The largest level file read. The longest list the loader takes, 16,384
// entries of four numbers of up to eleven characters and a space each, is
// 768 KiB; the rest leaves room for a designer's notes.
constexpr size_t MOST_LEVEL_FILE_BYTES = size_t{2} << 20;

// The longest level name a title card shows whole, in characters.
constexpr int32_t MAX_LEVEL_NAME_LENGTH = 32;

// One level file as it is written, before it becomes a grid.
struct LevelFile {
    std::string name; // as written; empty when the file gives none
    int32_t size = 0;
    int32_t cubes = 0;
    // Exactly INTEGERS_PER_ENTRY * cubes integers, short lists padded with 0.
    std::vector<int32_t> list;
    // How many integers the "level" value really holds, so that a level
    // designer can be told when "cubes" does not match the list.
    int32_t integers_written = 0;
};

// The level files 1.lev to N.lev of a set's directory (levels/ or
// mylevels/) in the working directory; level numbers cycle through them for
// ever. N counts the files from 1.lev on without a gap, and is at least 1,
// so that a missing 1.lev is reported as missing when it is loaded.
int32_t count_level_files(LevelSet set = LevelSet::SHIPPED);

// "levels/1.lev" to "levels/N.lev" for N = file_count: N itself for a
// multiple of N. The remainder keeps C's sign, so negative numbers name
// files that do not exist (-1 gives "levels/-1.lev").
std::string level_file_name(int32_t level_number, int32_t file_count, LevelSet set = LevelSet::SHIPPED);
// The level after this one. Past the largest number the cycle goes on
// from the file that number plays, rather than overflow into numbers that
// name no file.
int32_t next_level_number(int32_t level_number, int32_t file_count);
// The N of that file name.
int32_t level_file_number(int32_t level_number, int32_t file_count);
// "levels/N.lev" (or "mylevels/N.lev") for the file number N itself.
std::string numbered_level_file(int32_t file_number, LevelSet set = LevelSet::SHIPPED);

// The first INTEGERS_PER_ENTRY * entries integers of the text. Reading
// stops at the end or at the first word that is not an integer; the rest of
// the list stays 0.
std::vector<int32_t> parse_level_list(const std::string& text, int32_t entries);

// How many integers parse_level_list could read from the text at most.
int32_t count_level_integers(const std::string& text);

// Reads a level file. Throws ConfigFile::file_not_found when the file
// cannot be opened, and fails for a negative "size" or "cubes", a "size"
// above MAX_GRID_SIZE or a "cubes" above MAX_LEVEL_ENTRIES. A failure's
// problem, here and in every level reader below, is a phrase without the
// file name, so that the game and the level tools can each frame it their
// way.
Result<LevelFile> read_level_file(const std::string& file_name);

bool inside_grid(const LevelGrid& grid, int32_t x, int32_t y, int32_t z);
int32_t cell_index(const LevelGrid& grid, int32_t x, int32_t y, int32_t z);

// Makes an empty grid of the file's size and stores its entries in list
// order, so a later entry for a cell wins. Entries outside the grid are
// skipped: nothing outside the cells is ever written.
void fill_level_grid(const LevelFile& level, LevelGrid& grid);

// Whether a grid read from a file can be played: not without a ship start.
Result<> check_playable(const LevelGrid& grid);

// Reads and fills, then insists on a ship start: without one there is no
// ship to play. Gives the grid size; the level's name goes to `name` when
// one is given.
Result<int32_t> load_level_file(const std::string& file_name, LevelGrid& grid, std::string* name = nullptr);

// Loads the file for a level number of the shipped set; gives the grid size.
Result<int32_t> load_level(int32_t level_number, int32_t file_count, LevelGrid& grid, std::string* name = nullptr);

// "Level N", or "Your level N" for one of the player's own.
std::string level_label(int32_t level_number, LevelSet set = LevelSet::SHIPPED);
// What the player sees a level called: its name, or its label without one.
std::string level_title(const std::string& name, int32_t level_number, LevelSet set = LevelSet::SHIPPED);

// How many characters a UTF-8 text shows.
int32_t character_count(const std::string& text);
