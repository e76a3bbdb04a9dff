// The program every model is drawn with.
#pragma once

#include "render/shader_program.h"

// Where the program's sources lie: ".vert" and ".frag" appended.
constexpr const char* PHONG_SHADER_BASE = "Shaders/phong";

// Builds the Phong program and binds its colour output to draw buffer 0.
// Returns false, with the reason printed and everything deleted, when it
// does not compile or link.
bool load_phong_program(ShaderProgram& program);
