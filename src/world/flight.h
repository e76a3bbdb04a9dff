// The flight of the ship: one step per frame. A launch looks at the cell
// ahead; the ship then crosses one cell every two frames until a cube stops
// it, a beamer sends it on, the goal ends the level or it flies too far out.
#pragma once

class Game;

// Where the ship is lost: once its drawn position along the heading passes
// these (cells, world values whatever the grid size) the level restarts.
constexpr float LOST_ABOVE = 15.0f;
constexpr float LOST_BELOW = -10.0f;

// What a flight step asks of the world beyond the ship's own state.
enum class WorldChange {
    NONE,
    NEXT_LEVEL,    // the goal was reached; level_number has already grown
    RESTART_LEVEL, // the ship was lost
};

// The rules of one frame of flight, without rebuilding the world. They do
// not depend on how long the frame took. The level tools play flights with
// this so that they can stop at the goal or a loss instead of loading the
// next level.
WorldChange advance_flight(Game& game);

// One frame of flight as the game plays it: first the answers to R, U and
// H, then advance_flight, then the next level or the same one again when it
// asks for that. Launches are told to the history that U takes back.
void flight_step(Game& game);
