// The program the sky and the walls are drawn with: the texture as stored,
// no light. They cover most of the window, and the software rasteriser pays
// for the Phong program's lit path under a mask even where it is not taken,
// so they get a program of their own.
#pragma once

#include "game/uniform_locations.h"

#include <cstdint>

// Builds the program from sources of its own, silently: it is no file a
// player can break, and start-up prints what it always printed. Its vertex
// attributes take the Phong program's locations, so that it draws the same
// vertex arrays. Returns a program with name 0 when the driver refuses it;
// the renderer then draws the sky and the walls with the Phong program.
UnlitProgram build_unlit_program(uint32_t phong_program);
