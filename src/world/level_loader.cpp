#include "world/level_loader.h"

#include "config/config_file.h"
#include "language/language.h"

#include <algorithm>
#include <limits>
#include <sstream>

namespace {

constexpr int64_t INT32_LIMIT = std::numeric_limits<int32_t>::max();

// Reads integers the way a formatted stream does, up to `limit` of them or
// until the first word that is not one. A number too large for an int is
// not an int: reading stops there too. Returns how many were read.
int32_t extract_integers(const std::string& text, int64_t limit, std::vector<int32_t>* out)
{
    std::istringstream stream(text);
    int32_t read = 0;
    for (int32_t value = 0; read < limit && stream >> value; ++read)
        if (out)
            (*out)[read] = value;
    return read;
}

std::string describe(const std::string& key, int32_t value, const std::string& why)
{
    return key + " is " + std::to_string(value) + ", " + why;
}

} // namespace

std::string numbered_level_file(int32_t file_number, LevelSet set)
{
    return std::string(level_directory(set)) + "/" + std::to_string(file_number) + ".lev";
}

int32_t count_level_files(LevelSet set)
{
    int32_t count = 0;
    while (path_exists(numbered_level_file(count + 1, set)))
        ++count;
    return std::max(count, 1);
}

int32_t level_file_number(int32_t level_number, int32_t file_count)
{
    const int32_t file_number = level_number % file_count;
    return file_number == 0 ? file_count : file_number;
}

int32_t next_level_number(int32_t level_number, int32_t file_count)
{
    if (level_number < std::numeric_limits<int32_t>::max())
        return level_number + 1;
    return level_file_number(level_number, file_count) % file_count + 1;
}

std::string level_file_name(int32_t level_number, int32_t file_count, LevelSet set)
{
    return numbered_level_file(level_file_number(level_number, file_count), set);
}

std::vector<int32_t> parse_level_list(const std::string& text, int32_t entries)
{
    const int64_t length = int64_t{INTEGERS_PER_ENTRY} * entries;
    std::vector<int32_t> list(static_cast<size_t>(length > 0 ? length : 0), 0);
    extract_integers(text, length, &list);
    return list;
}

int32_t count_level_integers(const std::string& text)
{
    return extract_integers(text, INT32_LIMIT, nullptr);
}

Result<LevelFile> read_level_file(const std::string& file_name)
{
    const ConfigFile config(file_name, "=", "#", "EndConfigFile", MOST_LEVEL_FILE_BYTES, "a level file");
    LevelFile level;
    level.name = config.find_value("name").value_or("");

    level.cubes = config.read_int("cubes", 0);
    if (level.cubes < 0)
        return Failure{describe("cubes", level.cubes, "which is negative")};
    if (level.cubes > MAX_LEVEL_ENTRIES)
        return Failure{describe("cubes", level.cubes, "more than the " +
                                                                      std::to_string(MAX_LEVEL_ENTRIES) +
                                                                      " entries a level may have")};
    level.size = config.read_int("size", 0);
    if (level.size < 0)
        return Failure{describe("size", level.size, "which is negative")};
    if (level.size > MAX_GRID_SIZE)
        return Failure{describe("size", level.size, "larger than the largest grid of " +
                                                                    std::to_string(MAX_GRID_SIZE) + " cells a side")};

    if (const auto text = config.find_value("level")) {
        // Only a count that passed the checks above may size the list.
        level.list = parse_level_list(*text, level.cubes);
        level.integers_written = count_level_integers(*text);
    } else {
        level.list.assign(static_cast<size_t>(INTEGERS_PER_ENTRY) * level.cubes, 0);
    }
    return level;
}

bool inside_grid(const LevelGrid& grid, int32_t x, int32_t y, int32_t z)
{
    return x >= 0 && x < grid.size && y >= 0 && y < grid.size && z >= 0 && z < grid.size;
}

int32_t cell_index(const LevelGrid& grid, int32_t x, int32_t y, int32_t z)
{
    return x + grid.size * (y + grid.size * z);
}

void fill_level_grid(const LevelFile& level, LevelGrid& grid)
{
    grid.size = level.size;
    grid.cell_count = level.size * level.size * level.size;
    grid.cells.assign(static_cast<size_t>(grid.cell_count), CELL_EMPTY);

    for (size_t at = 0; at + INTEGERS_PER_ENTRY <= level.list.size(); at += INTEGERS_PER_ENTRY) {
        const int32_t x = level.list[at];
        const int32_t y = level.list[at + 1];
        const int32_t z = level.list[at + 2];
        if (inside_grid(grid, x, y, z))
            grid.cells[cell_index(grid, x, y, z)] = level.list[at + 3];
    }
}

Result<int32_t> load_level_file(const std::string& file_name, LevelGrid& grid, std::string* name)
{
    const Result<LevelFile> level = read_level_file(file_name);
    if (!level)
        return Failure{level.problem()};
    fill_level_grid(level.value(), grid);
    if (name != nullptr)
        *name = level->name;

    if (const Result<> playable = check_playable(grid); !playable)
        return Failure{playable.problem()};
    return grid.size;
}

Result<> check_playable(const LevelGrid& grid)
{
    for (const int32_t cell : grid.cells)
        if (cell == CELL_SHIP_START)
            return Done{};
    return Failure{"it has no ship start (a cell with the value 5)"};
}

Result<int32_t> load_level(int32_t level_number, int32_t file_count, LevelGrid& grid, std::string* name)
{
    return load_level_file(level_file_name(level_number, file_count), grid, name);
}

std::string level_label(int32_t level_number, LevelSet set)
{
    return fill(set == LevelSet::OWN ? tr("Your level {number}") : tr("Level {number}"),
                {{"number", std::to_string(level_number)}});
}

std::string level_title(const std::string& name, int32_t level_number, LevelSet set)
{
    if (name.empty())
        return level_label(level_number, set);
    // Our names are in the catalogue; the player's own stay as written.
    return set == LevelSet::SHIPPED ? tr(name.c_str()) : name;
}

int32_t character_count(const std::string& text)
{
    // Every character has exactly one byte that does not continue another.
    constexpr unsigned char CONTINUATION_MASK = 0xC0;
    constexpr unsigned char CONTINUATION = 0x80;
    int32_t count = 0;
    for (const char byte : text)
        count += (static_cast<unsigned char>(byte) & CONTINUATION_MASK) != CONTINUATION;
    return count;
}
