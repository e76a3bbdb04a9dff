// tirak-levels: checks, solves and shows level files with the game's own
// loader and flight rules.
//
//   tirak-levels check FILE...   every problem as "FILE: problem"
//   tirak-levels solve FILE      dead ends, then "N launches: ..." or "no solution"
//   tirak-levels show FILE       the grid as text, one y layer at a time

#include "level_check.h"

#include "game/game.h"
#include "config/config_file.h"
#include "world/level_loader.h"
#include "world/level_search.h"
#include "world/level_show.h"
#include "world/world_build.h"

#include <iostream>
#include <set>
#include <string>

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_PROBLEM = 1;
constexpr int EXIT_USAGE = 2;

int usage()
{
    std::cerr << "usage: tirak-levels check FILE... | solve FILE | show FILE" << std::endl;
    return EXIT_USAGE;
}

int check(int count, char** files)
{
    int status = EXIT_OK;
    for (int k = 0; k < count; ++k)
        for (const std::string& problem : check_level_file(files[k])) {
            std::cout << files[k] << ": " << problem << std::endl;
            status = EXIT_PROBLEM;
        }
    return status;
}

// Loads a file as the game would; on failure says why in the check's words.
bool load_world(Game& game, const std::string& file_name)
{
    try {
        build_world_from_file(game, file_name);
        return true;
    } catch (const ConfigFile::file_not_found&) {
        std::cerr << file_name << ": cannot be opened" << std::endl;
    } catch (const LevelError& error) {
        std::cerr << file_name << ": " << error.problem << std::endl;
    }
    return false;
}

int solve(const std::string& file_name)
{
    Game game;
    if (!load_world(game, file_name)) {
        std::cout << "no solution" << std::endl;
        return EXIT_PROBLEM;
    }
    const LevelSearch search = search_level(game);

    // A cell can be a dead end in either flight phase; name it once.
    std::set<std::array<int32_t, 3>> named;
    for (const int state : search.dead_ends) {
        const auto& cell = search.states[state].cell;
        if (named.insert(cell).second)
            std::cout << "dead end: " << cell[0] << ' ' << cell[1] << ' ' << cell[2] << std::endl;
    }

    if (!search.solvable) {
        std::cout << "no solution" << std::endl;
        return EXIT_PROBLEM;
    }
    std::cout << search.solution.size() << " launches:";
    for (const int heading : search.solution)
        std::cout << ' ' << LAUNCH_HEADINGS[heading].name;
    std::cout << std::endl;
    return EXIT_OK;
}

int show(const std::string& file_name)
{
    try {
        LevelGrid grid;
        fill_level_grid(read_level_file(file_name), grid);
        std::cout << show_level(grid);
        return EXIT_OK;
    } catch (const ConfigFile::file_not_found&) {
        std::cerr << file_name << ": cannot be opened" << std::endl;
    } catch (const LevelError& error) {
        std::cerr << file_name << ": " << error.problem << std::endl;
    }
    return EXIT_PROBLEM;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    if (command == "check")
        return check(argc - 2, argv + 2);
    if (command == "solve" && argc == 3)
        return solve(argv[2]);
    if (command == "show" && argc == 3)
        return show(argv[2]);
    return usage();
}
