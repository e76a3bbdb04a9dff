// Plays a level the way the game does, launch by launch, to find out where
// the ship can come to rest, how the goal is reached soonest and where the
// player gets stuck. Every flight runs the game's own flight step frame by
// frame, so the hint key and the level tools can never disagree with play.
#pragma once

#include "game/game.h"

#include <array>
#include <cstdint>
#include <vector>

// The six launch headings in the order the tools try and print them.
constexpr int HEADING_COUNT = 6;
struct LaunchHeading {
    int axis;
    int sign;
    const char* name;
};
extern const LaunchHeading LAUNCH_HEADINGS[HEADING_COUNT];

// Everything about a resting ship that the next flight depends on. The
// flight phase is part of it: a ship that stopped right after leaving a
// beamer rests at phase 1 and takes its next cell a frame early, with its
// picture a cell behind. So is the picture: the ship is lost when its
// picture passes the loss bounds, so one a cell behind flies a cell farther.
struct RestingShip {
    std::array<int32_t, 3> cell{};
    float flight_progress = 0.0f;
    glm::vec4 drawn{0.0f}; // the ship's entry in Game::cubes
};

enum class LaunchEnd {
    RESTS,   // stopped in a cell
    GOAL,    // reached the goal
    LOST,    // flew out of the level, which restarts it
    ENDLESS, // back in a state it had already been in while flying
};

struct LaunchResult {
    LaunchEnd end = LaunchEnd::RESTS;
    RestingShip ship;
    int64_t frames = 0;   // frames played until the end was known
    bool beamed = false;  // the flight went through a beamer
};

// The resting ship of a built world, and putting it back to rest as it was.
RestingShip resting_ship(const Game& game);
void place_ship(Game& game, const RestingShip& ship);
bool same_ship(const RestingShip& a, const RestingShip& b);

// Puts the ship at rest as given and launches it along heading 0..5 in the
// built world of `game`, playing frames until the flight is over or is seen
// to go round for ever. The ship, the heading and the flight flags are left
// as the flight left them.
LaunchResult play_launch(Game& game, const RestingShip& from, int heading);

// Where a move from a resting state leads: another state's index, or one of
// these.
constexpr int MOVE_GOAL = -1;
constexpr int MOVE_LOST = -2;
constexpr int MOVE_ENDLESS = -3;

struct LevelSearch {
    // Every resting state reachable from the start, in breadth-first order:
    // states[0] is the start. One cell can hold several, in different
    // flight phases or with the picture in different places.
    std::vector<RestingShip> states;
    // moves[s][h]: where heading h leads from state s.
    std::vector<std::array<int, HEADING_COUNT>> moves;
    // beamed[s][h]: that launch went through a beamer.
    std::vector<std::array<bool, HEADING_COUNT>> beamed;
    bool solvable = false;
    // The headings of one shortest way to the goal.
    std::vector<int> solution;
    // Reachable states from which the goal cannot be reached any more (a
    // flight out of the level restarts it; that is not a way forward).
    std::vector<int> dead_ends;
    // (state, heading) launches that never end.
    std::vector<std::array<int, 2>> endless;
};

// Searches the world that `game` holds from where its ship rests: as
// build_world left it, or anywhere in the middle of play. The ship, the
// level number, the heading and the flight flags are as they were after.
LevelSearch search_level(Game& game);
