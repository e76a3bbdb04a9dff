// Fuzz target: arbitrary bytes as a level file, loaded by the game's loader
// and built into a world; the file is then checked and solved by the code
// tirak-levels and the editor share, and the solution is played back.
//
// The loader's limits bound the work of one input: a grid of at most 64
// cells a side, and a list no longer than the input (run.sh keeps inputs to
// 4 KiB). The solver's flights end or repeat within a few crossings of the
// grid: the slowest inputs built by hand to be slow take under a second.
#include "fuzz_support.h"

#include "game/game.h"
#include "config/config_file.h"
#include "world/flight_rules.h"
#include "world/level_check.h"
#include "world/level_loader.h"
#include "world/level_search.h"
#include "world/level_show.h"
#include "world/world_build.h"

#include <algorithm>

namespace {

bool one_line(const std::string& text)
{
    return !text.empty() && text.find('\n') == std::string::npos;
}

// The solver's shortest way must really lead from the start to the goal.
void replay_solution(const LevelGrid& grid, const LevelSearch& search)
{
    RestingShip ship = search.states[0];
    for (size_t step = 0; step < search.solution.size(); ++step) {
        const LaunchResult result = play_launch(grid, ship, search.solution[step]);
        const bool last = step + 1 == search.solution.size();
        FUZZ_EXPECT(result.end == (last ? LaunchEnd::GOAL : LaunchEnd::RESTS),
                    "launch " + std::to_string(step + 1) + " of the solution does not do what the solver said");
        ship = result.ship;
    }
}

// Every move of the search must lead to exactly the resting ship it names:
// a ship that only looks the same to the search may fly differently.
void replay_moves(const LevelGrid& grid, const LevelSearch& search)
{
    for (size_t state = 0; state < search.states.size(); ++state)
        for (int heading = 0; heading < HEADING_COUNT; ++heading) {
            const int target = search.moves[state][heading];
            if (target < 0)
                continue;
            const LaunchResult result = play_launch(grid, search.states[state], heading);
            FUZZ_EXPECT(result.end == LaunchEnd::RESTS && result.ship == search.states[target],
                        std::string("launching ") + LAUNCH_HEADINGS[heading].name + " from state " +
                            std::to_string(state) + " does not end in state " + std::to_string(target));
        }
}

// What the loader said about the file; "" when it loaded.
void check_and_solve(const std::string& path, const std::string& rejection)
{
    const std::vector<std::string> problems = check_level_file(path);
    for (const std::string& problem : problems)
        FUZZ_EXPECT(one_line(problem), "the check reported [" + problem + "]");
    const bool loads = rejection.empty();
    FUZZ_EXPECT(loads || !problems.empty(), "the check passes a level the loader rejects: " + rejection);
    const bool no_start = std::count(problems.begin(), problems.end(), "no ship start (a cell with the value 5)") > 0;
    FUZZ_EXPECT(no_start == (rejection == "it has no ship start (a cell with the value 5)"),
                "the check and the loader disagree about the ship start");
    if (!loads)
        return;

    Game game;
    build_world_from_file(game, path);
    FUZZ_EXPECT(game.cubes.size() == game.cube_rotations.size(), "cubes without rotations");
    FUZZ_EXPECT(game.ship_index >= 0 && static_cast<size_t>(game.ship_index) < game.cubes.size(),
                "the ship is not one of the cubes");
    // The solver starts where the game puts the ship.
    LevelGrid grid;
    (void)load_level_file(path, grid);
    const RestingShip start = take_ship_start(grid);
    FUZZ_EXPECT(start.cell == game.grid_position && start.drawn == glm::vec3(game.cubes[game.ship_index]),
                "the solver and the game start the ship in different places");
    FUZZ_EXPECT(grid.cells == game.level_grid->cells, "the solver and the game play different grids");
    const LevelSearch search = search_level(grid, start);
    FUZZ_EXPECT(search.solvable == !search.solution.empty(), "solvable without a solution, or the reverse");
    FUZZ_EXPECT(search.moves.size() == search.states.size(), "a state without its moves");
    if (problems.empty())
        FUZZ_EXPECT(search.solvable, "a level that checks clean has no solution");
    replay_solution(grid, search);
    replay_moves(grid, search);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = write_fuzz_input(data, size, "fuzz.lev");

    LevelGrid grid;
    std::string rejection;
    if (const Result<int32_t> loaded = load_level_file(path, grid); !loaded) {
        FUZZ_EXPECT(one_line(loaded.problem()), "a level error says [" + loaded.problem() + "]");
        rejection = loaded.problem();
    }

    const bool loads = rejection.empty();
    if (loads) {
        FUZZ_EXPECT(grid.size > 0 && grid.cell_count == grid.size * grid.size * grid.size &&
                        grid.cells.size() == static_cast<size_t>(grid.cell_count),
                    "a loaded grid of size " + std::to_string(grid.size) + " has " +
                        std::to_string(grid.cells.size()) + " cells");
        (void)show_level(grid);
    }
    check_and_solve(path, rejection);
    return 0;
}
