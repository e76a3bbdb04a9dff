// The ship's heading and flight flags, shared by the world rules, the key
// handler and the renderer. They are program-wide because the window
// library's key callback carries no pointer to the game.
#pragma once

#include <glm/glm.hpp>

// Heading axes as the key handler and the flight step number them.
constexpr int AXIS_X = 1;
constexpr int AXIS_Y = 2;
constexpr int AXIS_Z = 3;

extern int heading_axis;       // AXIS_X, AXIS_Y or AXIS_Z
extern int heading_sign;       // +1 or -1 along heading_axis
extern bool launch_requested;  // Space was pressed; stays set for the whole flight
extern bool ship_flying;       // while set, every key is ignored
extern glm::mat4 marker_matrix; // turns the heading marker to the heading
