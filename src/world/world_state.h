// The ship's heading and flight flags, shared by the world rules, the
// controls and the renderer. They belong to the program, not to one level's
// world: a control only sets them, and the next frame's world update acts
// on them.
#pragma once

#include "world/flight_rules.h"

#include <glm/glm.hpp>

extern int heading_axis;       // AXIS_X, AXIS_Y or AXIS_Z
extern int heading_sign;       // +1 or -1 along heading_axis
extern bool launch_requested;  // Space was pressed; stays set for the whole flight
extern bool ship_flying;       // while set, every key is ignored
extern glm::mat4 marker_matrix; // turns the heading marker to the heading

// The heading the player chose. A new level points the ship along +x; the
// next key event brings this back.
constexpr int VIEW_COUNT = 4;
extern int view_index;       // round the vertical axis with A and D: 0 +x, 1 +z, 2 -x, 3 -z
extern int vertical_heading; // +1 after W, -1 after S, 0 after A or D; when set it overrides view_index

// Points the heading marker along heading_axis and heading_sign.
void update_heading_marker();

// Sets heading_axis and heading_sign to the chosen heading and turns the
// marker to it.
void apply_chosen_heading();

// Chooses the heading along an axis and sign as the keys would: W or S for
// y, which keeps the view index, or the view index with A and D, which
// clears the vertical heading. Then applies it.
void choose_heading(int axis, int sign);
