// The lenient loader: a program from a base name's source files, with every
// step reported on the console, that never ends the game and tells the
// caller through `linked`. It builds through build_program, where the
// program's record lives.
#pragma once

#include "gl/program_builder.h"

#include <string>

// Reads base + ".vert", base + ".geom" (optional) and base + ".frag",
// compiles and links them. Every file is checked before any OpenGL object is
// made. With a geometry stage, the program is the particle update's shape:
// points in, at most two points out, four outputs captured. Never ends the
// process.
ShaderProgram load_shader_program(const std::string& base);
