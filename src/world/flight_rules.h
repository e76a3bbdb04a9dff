// The rules of flight as a value: one frame's step takes the level's grid,
// the heading and the ship's motion, and gives the next motion and how the
// step ended. Nothing here knows of the running game, so the frame loop,
// the solver and the level tools all play by the very same step.
#pragma once

#include "game/level_grid.h"
#include "game/ship_motion.h"
#include "result/result.h"

#include <glm/glm.hpp>

#include <string>

// Heading axes as the key handler and the flight step number them.
constexpr int AXIS_X = 1;
constexpr int AXIS_Y = 2;
constexpr int AXIS_Z = 3;

// Where the ship is lost: once its drawn position along the heading passes
// these (cells, world values whatever the grid size) the level restarts.
constexpr float LOST_ABOVE = 15.0f;
constexpr float LOST_BELOW = -10.0f;

struct Heading {
    int axis = AXIS_X; // AXIS_X, AXIS_Y or AXIS_Z
    int sign = +1;     // +1 or -1 along the axis
};

enum class StepEnd {
    NONE,    // at rest with nothing asked, or flying on
    RESTS,   // stopped in front of a cube or a hidden wall
    GOAL,    // reached the goal
    LOST,    // flew too far out: the level starts again
    ENDLESS, // came out of a beamer it had already come out of: it would go round for ever
};

struct FlightStep {
    ShipMotion motion;
    StepEnd end = StepEnd::NONE;
    // The cell the launch check looked at: what stopped the ship when it
    // rests, the beamer it entered when it beamed.
    Cell ahead{};
    bool beamed = false;
    Cell beamer_exit{};
};

// One frame: the launch check while a launch is requested, then the motion
// while the ship flies. A launch that ends clears both flags. It does not
// depend on how long the frame took.
FlightStep step_flight(const LevelGrid& grid, Heading heading, const ShipMotion& motion);

// A resting ship asked to launch.
ShipMotion launch_from(const RestingShip& ship);
RestingShip resting_ship(const ShipMotion& motion);

enum class BeamerEnd { FIRST, LAST };

// The first or last beamer cell in cell order (x fastest, then y, then z),
// or (0, 0, 0) when the grid holds none.
glm::vec3 find_beamer(const LevelGrid& grid, BeamerEnd end);

// The ship's start: of several, the last visited with x outermost and z
// innermost. (0, 0, 0) when the grid holds none.
Cell ship_start(const LevelGrid& grid);

// Clears every ship start, which is empty for play, and returns the ship at
// rest in its start cell.
RestingShip take_ship_start(LevelGrid& grid);

// A level file as a game starts it: the grid without its ship starts, the
// ship resting at its start, and the level's name. Throws and fails as
// load_level_file does.
struct PlayLevel {
    LevelGrid grid;
    RestingShip start;
    std::string name;
};
Result<PlayLevel> load_play_level(const std::string& file_name);
