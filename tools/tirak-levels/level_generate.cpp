#include "level_generate.h"

#include "world/flight_rules.h"
#include "world/level_loader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

// A level is open when it has this many resting places for every launch of
// its shortest way.
constexpr int32_t PLACES_PER_LAUNCH = 3;

// splitmix64: the standard library's distributions may differ between
// library versions, so the generator draws its own numbers.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int32_t below(int32_t count) { return static_cast<int32_t>(next() % static_cast<uint64_t>(count)); }

private:
    uint64_t state_;
};

struct Draft {
    Cell ship{}, goal{};
    std::vector<Cell> beamers; // none or a pair
    std::vector<Cell> cubes;
};

class Generator {
public:
    explicit Generator(const GenerateOptions& options) : options_(options), random_(options.seed) {}

    GeneratedLevel run();

private:
    // Playable, open, features asked for, launches up to those asked for;
    // then resting places, which lead the search on where the launches stay
    // the same for many changes.
    using Score = std::tuple<bool, bool, int, int32_t, int32_t>;

    bool taken(const Draft& draft, const Cell& cell) const;
    Cell random_cell()
    {
        return {random_.below(options_.size), random_.below(options_.size), random_.below(options_.size)};
    }
    Cell free_cell(const Draft& draft);
    void prune(Draft& draft, Score wanted);
    Draft first_draft();
    bool change(Draft& draft);
    LevelGrid grid_of(const Draft& draft) const;
    LevelStats measure(const Draft& draft);
    Score score_of(const LevelStats& stats) const;
    Score score(const Draft& draft) { return score_of(measure(draft)); }
    std::string text_of(const Draft& draft, const LevelStats& stats) const;

    const GenerateOptions options_;
    Random random_;
};

bool Generator::taken(const Draft& draft, const Cell& cell) const
{
    const auto in = [&cell](const std::vector<Cell>& cells) {
        return std::find(cells.begin(), cells.end(), cell) != cells.end();
    };
    return cell == draft.ship || cell == draft.goal || in(draft.beamers) || in(draft.cubes);
}

Cell Generator::free_cell(const Draft& draft)
{
    Cell cell = random_cell();
    while (taken(draft, cell))
        cell = random_cell();
    return cell;
}

// The goal a few cells from the ship along one axis, so that the first
// draft is often already playable; then the beamers and cubes at random.
Draft Generator::first_draft()
{
    Draft draft;
    draft.ship = random_cell();
    draft.goal = draft.ship;
    while (draft.goal == draft.ship) {
        draft.goal = draft.ship;
        draft.goal[random_.below(3)] = random_.below(options_.size);
    }
    if (options_.beamers)
        for (int k = 0; k < 2; ++k)
            draft.beamers.push_back(free_cell(draft));
    const int32_t cubes = std::min(options_.max_cubes, options_.size * options_.size / 2);
    while (static_cast<int32_t>(draft.cubes.size()) < cubes)
        draft.cubes.push_back(free_cell(draft));
    return draft;
}

// One random change; false when the drawn change cannot be made.
bool Generator::change(Draft& draft)
{
    const int32_t kind = random_.below(20);
    const int32_t cubes = static_cast<int32_t>(draft.cubes.size());
    if (kind < 8) { // a cube moved anywhere
        if (cubes == 0)
            return false;
        draft.cubes[random_.below(cubes)] = free_cell(draft);
    } else if (kind < 12) { // a cube nudged to a neighbour
        if (cubes == 0)
            return false;
        Cell& cube = draft.cubes[random_.below(cubes)];
        Cell moved = cube;
        moved[random_.below(3)] += random_.below(2) == 0 ? -1 : +1;
        if (std::min({moved[0], moved[1], moved[2]}) < 0 ||
            std::max({moved[0], moved[1], moved[2]}) >= options_.size || taken(draft, moved))
            return false;
        cube = moved;
    } else if (kind < 15) { // a cube more, while a cell is left for moving the others
        if (cubes >= options_.max_cubes || cubes + 5 >= options_.size * options_.size * options_.size)
            return false;
        draft.cubes.push_back(free_cell(draft));
    } else if (kind < 17) { // a cube less
        if (cubes == 0)
            return false;
        draft.cubes.erase(draft.cubes.begin() + random_.below(cubes));
    } else if (kind == 17) {
        draft.goal = free_cell(draft);
    } else if (kind == 18) {
        draft.ship = free_cell(draft);
    } else {
        if (draft.beamers.empty())
            return false;
        draft.beamers[random_.below(2)] = free_cell(draft);
    }
    return true;
}

LevelGrid Generator::grid_of(const Draft& draft) const
{
    LevelGrid grid;
    grid.size = options_.size;
    grid.cell_count = grid.size * grid.size * grid.size;
    grid.cells.assign(static_cast<size_t>(grid.cell_count), CELL_EMPTY);
    const auto put = [&grid](const Cell& cell, int32_t value) {
        grid.cells[cell_index(grid, cell[0], cell[1], cell[2])] = value;
    };
    for (const Cell& cube : draft.cubes)
        put(cube, CELL_CUBE);
    for (const Cell& beamer : draft.beamers)
        put(beamer, CELL_BEAMER);
    put(draft.goal, CELL_GOAL);
    put(draft.ship, CELL_SHIP_START);
    return grid;
}

LevelStats Generator::measure(const Draft& draft)
{
    LevelGrid grid = grid_of(draft);
    const RestingShip start = take_ship_start(grid);
    return measure_level(grid, start);
}

Generator::Score Generator::score_of(const LevelStats& stats) const
{
    const bool playable = stats.solvable && !stats.endless;
    const bool open = stats.resting_places >= PLACES_PER_LAUNCH * stats.launches;
    const int features = (options_.beamers && stats.needs_beamers) + (options_.vertical && stats.needs_vertical) +
                         (options_.dead_ends && stats.dead_ends > 0);
    return {playable, playable && open, features, -std::abs(stats.launches - options_.launches), stats.resting_places};
}

std::string Generator::text_of(const Draft& draft, const LevelStats& stats) const
{
    std::vector<Cell> cubes = draft.cubes;
    std::sort(cubes.begin(), cubes.end(), [](const Cell& a, const Cell& b) {
        return std::tie(a[1], a[2], a[0]) < std::tie(b[1], b[2], b[0]);
    });
    std::ostringstream text;
    text << "# Made by: tirak-levels generate --seed " << options_.seed << " --size " << options_.size
         << " --launches " << options_.launches << " --cubes " << options_.max_cubes << " --steps "
         << options_.steps << (options_.beamers ? " --beamers" : "") << (options_.vertical ? " --vertical" : "")
         << (options_.dead_ends ? " --dead-ends" : "") << "\n# " << stats.launches << " launches, "
         << stats.shortest_ways << " shortest ways, " << stats.dead_ends << " dead ends, " << stats.resting_places
         << " resting places\n\nsize = " << options_.size << "\ncubes = " << cubes.size() + draft.beamers.size() + 2
         << "\n";
    const auto entry = [&text](const char* lead, const Cell& cell, int32_t value, const char* note) {
        text << lead << cell[0] << ' ' << cell[1] << ' ' << cell[2] << ' ' << value << note << "\n";
    };
    entry("level = ", draft.ship, CELL_SHIP_START, "   # your ship");
    entry("        ", draft.goal, CELL_GOAL, "   # the goal");
    for (const Cell& beamer : draft.beamers)
        entry("        ", beamer, CELL_BEAMER, "   # a beamer");
    for (const Cell& cube : cubes)
        entry("        ", cube, CELL_CUBE, "");
    text << "\nEndConfigFile\n";
    return text.str();
}

// Takes away every cube the level can do without: all but the number of
// resting places must stay as good. Until no cube can go, since taking one
// away can make another one unneeded.
void Generator::prune(Draft& draft, Score wanted)
{
    std::get<4>(wanted) = 0;
    for (bool pruned = true; pruned;) {
        pruned = false;
        for (size_t at = 0; at < draft.cubes.size(); ++at) {
            Draft fewer = draft;
            fewer.cubes.erase(fewer.cubes.begin() + static_cast<std::ptrdiff_t>(at));
            Score tried = score(fewer);
            std::get<4>(tried) = 0;
            if (tried >= wanted) {
                draft = std::move(fewer);
                pruned = true;
            }
        }
    }
}

GeneratedLevel Generator::run()
{
    Draft best = first_draft();
    Score best_score = score(best);
    for (int32_t step = 0; step < options_.steps; ++step) {
        Draft draft = best;
        if (!change(draft))
            continue;
        const Score tried = score(draft);
        if (tried >= best_score) {
            best = std::move(draft);
            best_score = tried;
        }
    }
    prune(best, best_score);
    GeneratedLevel level;
    level.stats = measure(best);
    const Score reached = score_of(level.stats);
    const int features = options_.beamers + options_.vertical + options_.dead_ends;
    level.as_asked = std::get<1>(reached) && std::get<2>(reached) == features &&
                     std::get<3>(reached) == 0;
    level.text = text_of(best, level.stats);
    return level;
}

} // namespace

GeneratedLevel generate_level(const GenerateOptions& options)
{
    return Generator(options).run();
}
