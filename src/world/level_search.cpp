#include "world/level_search.h"

#include "world/flight.h"
#include "world/level_loader.h"
#include "world/world_state.h"

#include <algorithm>
#include <deque>
#include <map>
#include <tuple>

const LaunchHeading LAUNCH_HEADINGS[HEADING_COUNT] = {
    {AXIS_X, +1, "+x"}, {AXIS_X, -1, "-x"}, {AXIS_Y, +1, "+y"},
    {AXIS_Y, -1, "-y"}, {AXIS_Z, +1, "+z"}, {AXIS_Z, -1, "-z"},
};

namespace {

// Everything a frame of flight starts from. The flight step depends on
// nothing else, so a flight that comes back to one of these goes round for
// ever. Between beamers the ship only moves on along its heading, so a
// flight that repeats itself repeats the state it leaves a beamer in; only
// those are kept. There are few: every beamer sets the ship down on the
// first or the last beamer cell of the grid, in one of two flight phases,
// so after at most four beamers the flight is over or repeats itself.
using FlightState = std::tuple<int32_t, int32_t, int32_t, float, float, float, float, bool, bool>;

FlightState flight_state(const Game& game)
{
    const glm::vec4& drawn = game.cubes[game.ship_index];
    return {game.grid_position[0], game.grid_position[1], game.grid_position[2], game.flight_progress,
            drawn.x, drawn.y, drawn.z, launch_requested, ship_flying};
}

// Whether this frame's flight step sends the ship through a beamer.
bool beamer_ahead(const Game& game)
{
    const LevelGrid& grid = *game.level_grid;
    std::array<int32_t, 3> ahead = game.grid_position;
    ahead[heading_axis - AXIS_X] += heading_sign;
    return launch_requested && inside_grid(grid, ahead[0], ahead[1], ahead[2]) &&
           grid.cells[cell_index(grid, ahead[0], ahead[1], ahead[2])] == CELL_BEAMER;
}

// A search plays launches in the game's own world; what they change is put
// back when the search is done, so that the hint key can search mid-level.
class PlayRestorer {
public:
    explicit PlayRestorer(Game& game) : game_(game), ship_(resting_ship(game)), level_(game.level_number) {}
    ~PlayRestorer()
    {
        place_ship(game_, ship_);
        game_.level_number = level_;
        heading_axis = axis_;
        heading_sign = sign_;
        launch_requested = launch_;
        ship_flying = flying_;
    }
    PlayRestorer(const PlayRestorer&) = delete;
    PlayRestorer& operator=(const PlayRestorer&) = delete;

private:
    Game& game_;
    const RestingShip ship_;
    const int32_t level_;
    const int axis_ = heading_axis, sign_ = heading_sign;
    const bool launch_ = launch_requested, flying_ = ship_flying;
};

// Two resting ships are one state only when all of them is the same. The
// drawn position is not just a picture: the ship is lost when it passes the
// loss bounds, and a ship resting with its picture a cell behind its cell
// flies a cell farther before that happens.
using StateKey = std::tuple<int32_t, int32_t, int32_t, float, float, float, float>;

StateKey key_of(const RestingShip& ship)
{
    return {ship.cell[0], ship.cell[1], ship.cell[2], ship.flight_progress,
            ship.drawn.x, ship.drawn.y, ship.drawn.z};
}

// Marks every state from which the goal can still be reached: those with a
// goal move, then, until nothing changes, those with a move to a marked one.
std::vector<bool> states_that_can_win(const LevelSearch& search)
{
    const size_t count = search.states.size();
    std::vector<std::vector<int>> comes_from(count);
    std::vector<bool> can_win(count, false);
    std::deque<int> queue;
    for (size_t state = 0; state < count; ++state)
        for (const int target : search.moves[state]) {
            if (target >= 0)
                comes_from[target].push_back(static_cast<int>(state));
            if (target == MOVE_GOAL && !can_win[state]) {
                can_win[state] = true;
                queue.push_back(static_cast<int>(state));
            }
        }
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        for (const int before : comes_from[state])
            if (!can_win[before]) {
                can_win[before] = true;
                queue.push_back(before);
            }
    }
    return can_win;
}

} // namespace

RestingShip resting_ship(const Game& game)
{
    return {game.grid_position, game.flight_progress, game.cubes[game.ship_index]};
}

void place_ship(Game& game, const RestingShip& ship)
{
    game.grid_position = ship.cell;
    game.flight_progress = ship.flight_progress;
    game.cubes[game.ship_index] = ship.drawn;
}

bool same_ship(const RestingShip& a, const RestingShip& b)
{
    return a.cell == b.cell && a.flight_progress == b.flight_progress && a.drawn == b.drawn;
}

LaunchResult play_launch(Game& game, const RestingShip& from, int heading)
{
    place_ship(game, from);
    heading_axis = LAUNCH_HEADINGS[heading].axis;
    heading_sign = LAUNCH_HEADINGS[heading].sign;
    ship_flying = false;
    launch_requested = true;

    std::vector<FlightState> left_beamers;
    bool beamed = false;
    for (int64_t frame = 1;; ++frame) {
        const bool beams = beamer_ahead(game);
        beamed = beamed || beams;
        switch (advance_flight(game)) {
        case WorldChange::NEXT_LEVEL:
            return {LaunchEnd::GOAL, from, frame, beamed};
        case WorldChange::RESTART_LEVEL:
            return {LaunchEnd::LOST, from, frame, beamed};
        case WorldChange::NONE:
            break;
        }
        if (!launch_requested && !ship_flying)
            return {LaunchEnd::RESTS, resting_ship(game), frame, beamed};
        if (!beams)
            continue;
        const FlightState state = flight_state(game);
        if (std::find(left_beamers.begin(), left_beamers.end(), state) != left_beamers.end()) {
            ship_flying = false;
            launch_requested = false;
            return {LaunchEnd::ENDLESS, from, frame, beamed};
        }
        left_beamers.push_back(state);
    }
}

LevelSearch search_level(Game& game)
{
    const PlayRestorer restorer(game);
    LevelSearch search;
    std::map<StateKey, int> known;
    std::vector<int> parent{-1};
    std::vector<int> parent_heading{-1};

    search.states.push_back(resting_ship(game));
    known[key_of(search.states[0])] = 0;

    // States are appended in the order they are first reached, so walking
    // the list in order is a breadth-first search.
    for (size_t state = 0; state < search.states.size(); ++state) {
        std::array<int, HEADING_COUNT> moves{};
        std::array<bool, HEADING_COUNT> beamed{};
        for (int heading = 0; heading < HEADING_COUNT; ++heading) {
            const LaunchResult result = play_launch(game, search.states[state], heading);
            beamed[heading] = result.beamed;
            switch (result.end) {
            case LaunchEnd::GOAL: moves[heading] = MOVE_GOAL; break;
            case LaunchEnd::LOST: moves[heading] = MOVE_LOST; break;
            case LaunchEnd::ENDLESS:
                moves[heading] = MOVE_ENDLESS;
                search.endless.push_back({static_cast<int>(state), heading});
                break;
            case LaunchEnd::RESTS: {
                const auto [at, added] =
                    known.emplace(key_of(result.ship), static_cast<int>(search.states.size()));
                if (added) {
                    search.states.push_back(result.ship);
                    parent.push_back(static_cast<int>(state));
                    parent_heading.push_back(heading);
                }
                moves[heading] = at->second;
                break;
            }
            }
        }
        search.moves.push_back(moves);
        search.beamed.push_back(beamed);
    }

    // The first state in breadth-first order with a move to the goal is one
    // of the nearest to the start.
    for (size_t state = 0; state < search.states.size() && !search.solvable; ++state)
        for (int heading = 0; heading < HEADING_COUNT; ++heading)
            if (search.moves[state][heading] == MOVE_GOAL) {
                search.solvable = true;
                search.solution.push_back(heading);
                for (int at = static_cast<int>(state); parent[at] >= 0; at = parent[at])
                    search.solution.insert(search.solution.begin(), parent_heading[at]);
                break;
            }

    const std::vector<bool> can_win = states_that_can_win(search);
    for (size_t state = 0; state < search.states.size(); ++state)
        if (!can_win[state])
            search.dead_ends.push_back(static_cast<int>(state));
    return search;
}
