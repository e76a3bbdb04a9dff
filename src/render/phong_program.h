// The program every model is drawn with.
#pragma once

#include "gl/shader_program.h"

// Where the program's sources lie: ".vert" and ".frag" appended.
constexpr const char* PHONG_SHADER_BASE = "Shaders/phong";

// Builds the Phong program and binds its colour output to draw buffer 0.
// When it does not compile or link, everything is deleted and FatalError
// raised: nothing can be drawn without it.
void load_phong_program(ShaderProgram& program);
