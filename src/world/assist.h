// The player's ways out of a tight spot: start the level again (R), take
// back launches one by one (U) and point the ship along a shortest way to
// the goal (H). The keys only ask; the next frame answers, before the
// flight step, since only the world knows where the ship rests.
#pragma once

#include "game/level_set.h"

#include <cstdint>
#include <string>

class Game;
struct Progress;

// What H says when the goal cannot be reached from where the ship rests,
// naming the key that starts the level again; the rules print it with R,
// the game's own, and the screen with the key the player chose.
std::string no_way_line(const std::string& restart_key);
extern const std::string NO_WAY_LINE;

// Answers level select, R, U and H, each if it was asked for since the last
// frame.
void answer_requests(Game& game);

// Goes over to the other set's levels, counting its files; the level number
// is the caller's to set.
void enter_level_set(Game& game, LevelSet set);

// Whether PageDown may leave a level: every level before the start level
// is open, and a solved level opens the next.
bool opens_next(const Game& game, int32_t level);

// Where End goes: as far as PageDown goes from level 1; in the player's
// own set, the last of them.
int32_t furthest_open_level(const Game& game);
// The same for our levels with this progress.
int32_t furthest_open_level(const Progress& progress, int32_t start_level, int32_t file_count);

// The flight step tells the history of launches when a launch begins and
// when the ship comes to rest again: a launch that changed nothing about
// the resting ship is not kept, so U always takes back a move.
void launch_begins(Game& game);
void launch_rests(Game& game);

// The par of the world just built, with the ship at its start: worked out
// wherever the world is built, so that it follows every saved edit.
void work_out_par(Game& game);

// Rebuilds the world from the level file for game.level_number and forgets
// the launches: after the goal, U has nothing to take back.
void start_level(Game& game);

// Starts the level again after R or a flight out, keeping the launches so
// far, and where the ship last rested at the end of them, for U.
void restart_level(Game& game);
