// Plays a level launch by launch to find out where the ship can come to
// rest, how the goal is reached soonest and where the player gets stuck.
// Every flight runs the game's own flight step frame by frame, so the hint
// key and the level tools can never disagree with play. The search is a
// function of the grid and a resting ship alone.
#pragma once

#include "game/level_grid.h"
#include "game/ship_motion.h"

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

enum class LaunchEnd {
    RESTS,   // stopped in a cell
    GOAL,    // reached the goal
    LOST,    // flew out of the level, which restarts it
    ENDLESS, // would go round for ever, which restarts it too
};

struct LaunchResult {
    LaunchEnd end = LaunchEnd::RESTS;
    RestingShip ship;     // where it rests; where it started for the other ends
    int64_t frames = 0;   // frames played until the end was known
    bool beamed = false;  // the flight went through a beamer
};

// Launches a resting ship along heading 0..5 and plays frames until the
// flight is over.
LaunchResult play_launch(const LevelGrid& grid, const RestingShip& from, int heading);

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

// Searches a grid whose ship starts are cleared, from a resting ship: as
// the level starts, or anywhere in the middle of play.
LevelSearch search_level(const LevelGrid& grid, const RestingShip& from);
