#include "world/level_check.h"

#include "config/config_file.h"
#include "language/language.h"
#include "world/flight_rules.h"
#include "world/level_search.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <sstream>

const char* const GOAL_OUT_OF_REACH = "the goal cannot be reached from the ship start";

namespace {

constexpr int32_t BEAMERS_PER_PAIR = 2;

struct Entry {
    int32_t number; // counted from 1, as a designer counts lines
    int32_t x, y, z, value;
};

std::string cell_text(int32_t x, int32_t y, int32_t z)
{
    return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z);
}

// The entries the file really wrote; the zeros that pad a short list are
// reported once as a count mismatch instead.
std::vector<Entry> written_entries(const LevelFile& level)
{
    std::vector<Entry> entries;
    const int32_t complete = std::min(level.cubes, level.integers_written / INTEGERS_PER_ENTRY);
    for (int32_t k = 0; k < complete; ++k) {
        const int32_t* e = &level.list[static_cast<size_t>(k) * INTEGERS_PER_ENTRY];
        entries.push_back({k + 1, e[0], e[1], e[2], e[3]});
    }
    return entries;
}

void check_list_length(const LevelFile& level, std::vector<std::string>& problems)
{
    const int64_t wanted = int64_t{INTEGERS_PER_ENTRY} * level.cubes;
    if (level.integers_written == wanted)
        return;
    std::ostringstream line;
    line << "the level list holds " << level.integers_written << " integers, but cubes = "
         << level.cubes << " asks for " << wanted;
    if (level.integers_written < wanted)
        line << "; the missing entries read as 0 0 0 0 and empty cell 0 0 0";
    else
        line << "; the rest is ignored";
    problems.push_back(line.str());
}

void check_entries(const LevelFile& level, std::vector<std::string>& problems)
{
    LevelGrid bounds;
    bounds.size = level.size;
    std::map<std::array<int32_t, 3>, int32_t> first_entry_of_cell;
    for (const Entry& e : written_entries(level)) {
        const std::string where = cell_text(e.x, e.y, e.z);
        if (!inside_grid(bounds, e.x, e.y, e.z)) {
            problems.push_back("entry " + std::to_string(e.number) + " (" + where + " " +
                               std::to_string(e.value) + ") lies outside the grid of size " +
                               std::to_string(level.size));
            continue;
        }
        const auto [at, added] = first_entry_of_cell.emplace(std::array<int32_t, 3>{e.x, e.y, e.z}, e.number);
        if (!added)
            problems.push_back("entries " + std::to_string(at->second) + " and " +
                               std::to_string(e.number) + " both fill cell " + where);
    }
}

void check_contents(const LevelGrid& grid, std::vector<std::string>& problems, bool shown)
{
    int32_t ship_starts = 0;
    int32_t goals = 0;
    int32_t beamers = 0;
    for (const int32_t cell : grid.cells) {
        ship_starts += cell == CELL_SHIP_START;
        goals += cell == CELL_GOAL;
        beamers += cell == CELL_BEAMER;
    }
    if (ship_starts == 0)
        problems.push_back(words(shown, "no ship start (a cell with the value 5)"));
    if (ship_starts > 1)
        problems.push_back(fill(words(shown, "{count} ship starts; a level has one"),
                                {{"count", std::to_string(ship_starts)}}));
    if (goals == 0)
        problems.push_back(words(shown, "no goal (a cell with the value 6)"));
    if (beamers != 0 && beamers != BEAMERS_PER_PAIR)
        problems.push_back(fill(words_n(shown, "{count} beamer; beamers come in one pair",
                                        "{count} beamers; beamers come in one pair", static_cast<uint64_t>(beamers)),
                                {{"count", std::to_string(beamers)}}));
}

// Plays the level from its ship start, as the game would start it.
void check_play(LevelGrid grid, bool has_goal, std::vector<std::string>& problems, bool shown)
{
    const RestingShip start = take_ship_start(grid);
    const LevelSearch search = search_level(grid, start);
    if (has_goal && !search.solvable)
        problems.push_back(GOAL_OUT_OF_REACH);
    // Ships resting in one cell with their pictures in different places are
    // different states, but one problem for the designer.
    std::set<std::pair<std::array<int32_t, 3>, int>> reported;
    for (const auto& [state, heading] : search.endless) {
        const auto& cell = search.states[state].cell;
        if (!reported.emplace(cell, heading).second)
            continue;
        problems.push_back(fill(words(shown, "launching {heading} from {cell} never ends: the beamers send the ship "
                                             "round for ever"),
                                {{"heading", LAUNCH_HEADINGS[heading].name},
                                 {"cell", cell_text(cell[0], cell[1], cell[2])}}));
    }
}

} // namespace

std::vector<std::string> check_level(const LevelFile& level, bool shown)
{
    std::vector<std::string> problems;
    if (level.size == 0)
        problems.push_back("size is missing or 0, so the grid has no cells");
    if (const int32_t length = character_count(level.name); length > MAX_LEVEL_NAME_LENGTH)
        problems.push_back("the name is " + std::to_string(length) + " characters long; a title card shows " +
                           std::to_string(MAX_LEVEL_NAME_LENGTH));
    check_list_length(level, problems);
    check_entries(level, problems);

    LevelGrid grid;
    fill_level_grid(level, grid);
    check_contents(grid, problems, shown);

    const bool has_ship = std::count(grid.cells.begin(), grid.cells.end(), CELL_SHIP_START) > 0;
    const bool has_goal = std::count(grid.cells.begin(), grid.cells.end(), CELL_GOAL) > 0;
    if (has_ship)
        check_play(grid, has_goal, problems, shown);
    return problems;
}

std::vector<std::string> check_level_file(const std::string& file_name)
{
    try {
        const Result<LevelFile> level = read_level_file(file_name);
        if (!level)
            return {level.problem()};
        return check_level(level.value());
    } catch (const ConfigFile::file_not_found& unread) {
        return {unread.missing ? "cannot be opened" : unread.problem};
    }
}
